#include "update_test_server.h"

#include <wininet.h>

#include <cstdlib>
#include <functional>

#include "win/proc_address.h"

namespace testkit {
namespace {

// The host's own path of a directory in the Wine prefix, for the python side.
std::string UnixPath(const std::string& windowsPath) {
  // Wine's own export, declared by no Windows header.
  const auto toUnix =
      win::ProcAddress<char* CDECL(LPCWSTR)>(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
  if (toUnix == nullptr) return {};
  std::wstring wide(windowsPath.size() + 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  char* unix = toUnix(wide.c_str());
  if (unix == nullptr) return {};
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

UpdateTestServer::UpdateTestServer() { Start(""); }

UpdateTestServer::UpdateTestServer(const std::string& tlsHost) : tlsHost_(tlsHost) {
  Start(" --tls \"" + tlsHost + "\"");
}

void UpdateTestServer::Start(const std::string& arguments) {
  WriteRoutes();
  // Wine starts a host program when given its path; it returns no handle
  // to it, so the server is ended through its control directory instead.
  std::string commandLine =
      "Z:\\usr\\bin\\python3 \"" UPDATE_TEST_SERVER "\" \"" + UnixPath(control_.Path()) + "\"" + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return;
  if (info.hThread != nullptr) CloseHandle(info.hThread);
  if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  // Making a key and a certificate takes the https server a moment more.
  if (!PumpUntil([&] { return control_.Exists("port"); }, 20000)) return;
  port_ = std::atoi(AsText(ReadFileBytes(control_.File("port"))).c_str());
}

UpdateTestServer::~UpdateTestServer() { Stop(); }

std::string UpdateTestServer::Url(const std::string& path) const {
  if (!tlsHost_.empty()) return "https://" + tlsHost_ + ":" + std::to_string(port_) + path;
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

Bytes UpdateTestServer::Certificate() const {
  return tlsHost_.empty() ? Bytes{} : ReadFileBytes(control_.File("cert.der"));
}

void UpdateTestServer::Serve(const std::string& path, Route route) {
  routes_[path] = std::move(route);
  WriteRoutes();
}

void UpdateTestServer::Release(const std::string& path) {
  int index = 0;
  for (const auto& [routePath, route] : routes_) {
    ++index;
    if (routePath == path) control_.Write("release-" + std::to_string(index), {});
  }
}

void UpdateTestServer::WriteRoutes() const {
  std::string json = "{";
  int index = 0;
  for (const auto& [path, route] : routes_) {
    const std::string bodyName = "body" + std::to_string(++index);
    control_.Write(bodyName, route.body);
    if (index > 1) json += ",";
    json += JsonString(path) + ":{\"status\":" + std::to_string(route.status) + ",\"body\":" + JsonString(bodyName);
    if (route.announcedLength) json += ",\"length\":" + std::to_string(*route.announcedLength);
    if (route.sentBytes) json += ",\"cut\":" + std::to_string(*route.sentBytes);
    if (route.stall) json += ",\"stall\":true";
    if (route.spreadOverMs != 0) json += ",\"spread\":" + std::to_string(route.spreadOverMs);
    if (route.heldUntilReleased) json += ",\"hold\":" + JsonString("release-" + std::to_string(index));
    json += "}";
  }
  json += "}";
  // Written beside and moved into place: the server never reads half a file.
  control_.Write("routes.tmp", ToBytes(json));
  MoveFileExA(control_.File("routes.tmp").c_str(), control_.File("routes.json").c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::vector<UpdateTestServer::Request> UpdateTestServer::Requests() const {
  std::vector<Request> requests;
  const std::string log = AsText(ReadFileBytes(control_.File("requests.log")));
  std::size_t start = 0;
  for (std::size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = log.substr(start, end - start);
    const std::size_t tab = line.find('\t');
    requests.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
  }
  return requests;
}

bool UpdateTestServer::WaitForRequest(const std::string& path, DWORD timeoutMs) const {
  return PumpUntil(
      [&] {
        for (const Request& request : Requests())
          if (request.path == path) return true;
        return false;
      },
      timeoutMs);
}

namespace {

// Whether answers.log tells that the `number`th answer for `path` has got
// as far as `reached` says of one of its lines ("done", or a byte count).
bool AnswerReached(const std::string& log, const std::string& path, int number,
                   const std::function<bool(const std::string&)>& reached) {
  const std::string start = path + "\t" + std::to_string(number) + "\t";
  std::size_t lineStart = 0;
  for (std::size_t end; (end = log.find('\n', lineStart)) != std::string::npos; lineStart = end + 1) {
    const std::string line = log.substr(lineStart, end - lineStart);
    if (line.starts_with(start) && reached(line.substr(start.size()))) return true;
  }
  return false;
}

}  // namespace

bool UpdateTestServer::WaitForAnswer(const std::string& path, int number, DWORD timeoutMs) const {
  return PumpUntil(
      [&] {
        return AnswerReached(AsText(ReadFileBytes(control_.File("answers.log"))), path, number,
                             [](const std::string& progress) { return progress == "done"; });
      },
      timeoutMs);
}

bool UpdateTestServer::WaitForBodySent(const std::string& path, int number, std::uint64_t bytes,
                                       DWORD timeoutMs) const {
  return PumpUntil(
      [&] {
        return AnswerReached(AsText(ReadFileBytes(control_.File("answers.log"))), path, number,
                             [&](const std::string& progress) {
                               return progress == "done" || std::strtoull(progress.c_str(), nullptr, 10) >= bytes;
                             });
      },
      timeoutMs);
}

bool UpdateTestServer::Stop() {
  if (!Started() || stopped_) return stopped_;
  // The stop file ends a server whose certificate this process does not
  // trust; the request ends it sooner.
  control_.Write("stop", ToBytes("stop"));
  HINTERNET session = InternetOpenA("test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (session != nullptr) {
    HINTERNET request = InternetOpenUrlA(session, Url("/__stop").c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0);
    if (request != nullptr) InternetCloseHandle(request);
    InternetCloseHandle(session);
  }
  // Should the request be lost, the server still ends once the control
  // directory is removed with this object.
  stopped_ = PumpUntil([&] { return control_.Exists("stopped"); }, 10000);
  return stopped_;
}

}  // namespace testkit
