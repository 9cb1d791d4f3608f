// Addresses on the update server and the local names of what is fetched
// from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Everything after the last "/" or "\" of `path`, byte by byte; the whole
// path when it has neither.
std::string_view LastPathComponent(std::string_view path);

// "http://" + server + ":" + port + path, without the scheme when `server`
// already begins with "http://" or "https://" in any letter case. The port is always
// written, 80 too, in signed decimal as configured (-1 gives ":-1"); the path
// is taken as it is. Nothing when `server` is empty.
std::optional<std::string> BuildServerUrl(std::string_view server, std::int32_t port, std::string_view path);

// The prefix that keeps one check's files apart from another's and that
// nobody can guess ahead: the tick count read as a signed number (negative
// after ~24.8 days of uptime), then "-", the unguessable number in 16
// lower-case hexadecimal digits, and "-": "917-00c0ffee12345678-". A file
// planted under a name the launcher would write is never written through.
std::string DownloadPrefix(std::uint32_t tickCount, std::uint64_t unguessable);

// Where a file fetched from `serverPath` is kept: workDir + "\" + prefix +
// its last path component. Nothing when that is too long for a path buffer.
std::optional<std::string> DownloadPath(std::string_view workDir, std::string_view prefix, std::string_view serverPath);

// Whether `fileName` is what an earlier check called the file it fetched
// from `serverPath`: a prefix of DownloadPrefix's form, or the bare signed
// decimal that launchers before it used, and the path's last component.
// An empty last component matches nothing, since bare numbers could be
// anyone's files.
bool IsEarlierDownload(std::string_view fileName, std::string_view serverPath);
