// Versions of the launcher as the configuration and the server's version file
// write them: dotted decimal numbers ("1.01") of which the first two count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct Version {
  std::int32_t major = 0;
  std::int32_t minor = 0;
  bool operator==(const Version&) const = default;
};

// The version file's first line is read from at most this many bytes.
inline constexpr std::size_t kVersionLineLimit = 126;

// The first line of a version file from its first bytes: at most 126 bytes,
// cut at the first carriage return or line feed.
std::string_view VersionLine(std::string_view fileStart);

// Splits the text at dots (a run of dots is one separator, dots at either end
// give no empty token) and reads the first two tokens as decimal numbers the
// way atoi does: leading white space, one sign, digits up to the first other
// byte; a token without digits, and a missing token, give 0. The text ends at
// its first zero byte, as a C string would.
Version ParseVersion(std::string_view text);

// Whether `remote` is newer: a greater major, or an equal major and a
// greater minor, compared as signed whole numbers: 1.30 is newer than 1.4,
// and 1.01 is the same as 1.1.
bool IsNewerVersion(const Version& local, const Version& remote);
