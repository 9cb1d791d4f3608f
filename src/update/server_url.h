// Addresses on the update server and the local names of what is fetched
// from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text.h"

// Everything after the last "/" or "\" of `path`, byte by byte; the whole
// path when it has neither.
std::string_view LastPathComponent(std::string_view path);

// "http://" + server + ":" + port + path, without the scheme when `server`
// already begins with "http://" or "https://" in any letter case. The port is always
// written, 80 too, in signed decimal as configured (-1 gives ":-1"); the path
// is taken as it is. Nothing when `server` is empty.
std::optional<std::string> BuildServerUrl(std::string_view server, std::int32_t port, std::string_view path);

// A path on the server without its query ("?" on) or fragment ("#" on),
// which name no part of the file: "/game/Launcher.exe?v=102" is
// "/game/Launcher.exe".
std::string_view PathWithoutQuery(std::string_view serverPath);

// The local name of what is fetched from `serverPath`: the last component of
// its path, query and fragment left out, so that addresses made unique for
// a cache ("/v/version.txt?nocache=1") fetch into a file Windows can hold.
// Nothing when that component still cannot name a file there: it holds one
// of < > : " | ? * or a control character, or ends in a dot or a space,
// which the system would cut off the name it creates. Empty for a path
// that ends in "/". The scan steps over the double-byte characters of
// `isLeadByte`: a configuration's GBK text may hold trail bytes equal to
// "\" or "|"; the launcher's own paths are UTF-8, which has none.
std::optional<std::string> LocalFileName(std::string_view serverPath, LeadByteRule isLeadByte = NoLeadBytes);

// Where the signature of the launcher at `exeUrl` is: ".sig" after its
// path, before its query and fragment ("/L.exe?v=2" gives "/L.exe.sig?v=2"),
// so that a cache-busting query still names the signature's file.
std::string SignatureServerPath(std::string_view exeUrl);

// The prefix that keeps one check's files apart from another's and that
// nobody can guess ahead: the tick count read as a signed number (negative
// after ~24.8 days of uptime), then "-", the unguessable number in 16
// lower-case hexadecimal digits, and "-": "917-00c0ffee12345678-". A file
// planted under a name the launcher would write is never written through.
std::string DownloadPrefix(std::uint32_t tickCount, std::uint64_t unguessable);

// What a check fetches, named by a letter in the compact form of its file.
enum class DownloadKind : char { kVersionFile = 'v', kLauncher = 'e', kSignature = 's' };

// The two numbers that name one check's files.
struct CheckNumbers {
  std::uint32_t tickCount = 0;
  std::uint64_t unguessable = 0;
};

// The file's name where the long form would not fit a path buffer: the
// unguessable number in 16 hexadecimal digits, "." and the letter of what
// it holds ("00c0ffee12345678.e"), 18 characters, shorter than
// "Launcher_update.bat": wherever the script fits, so does every download.
std::string CompactDownloadName(std::uint64_t unguessable, DownloadKind what);

// Where a file fetched from `serverPath` is kept: workDir + "\" +
// DownloadPrefix + its local name, or, where that passes a path buffer
// (a program folder of some 220 characters), workDir + "\" + the compact
// name. Nothing when the path names no file (LocalFileName) or not even the
// compact name fits.
std::optional<std::string> DownloadPath(std::string_view workDir, const CheckNumbers& numbers,
                                        std::string_view serverPath, DownloadKind what);

// Whether `fileName` is what an earlier check called a file it fetched from
// `serverPath`: a prefix of DownloadPrefix's form, or the bare signed
// decimal that launchers before it used, and the path's local name; or a
// compact name of any kind. An empty local name matches nothing, since bare
// numbers could be anyone's files.
bool IsEarlierDownload(std::string_view fileName, std::string_view serverPath);
