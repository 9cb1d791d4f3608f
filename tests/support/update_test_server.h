// Starts the loopback HTTP server of the update tests (update_test_server.py,
// run by the machine's python3 next to Wine) and ends it again. The test says
// per path what the server answers: a status, a body, a Content-Length that
// lies, a body cut short, or no answer at all until the server stops.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "win_testkit.h"

namespace testkit {

struct Route {
  int status = 200;
  Bytes body;
  std::optional<std::uint64_t> announcedLength{};  // Content-Length; the body's size when not given
  std::optional<std::size_t> sentBytes{};          // send only this much of the body, then close
  bool stall = false;                              // answer nothing until the server stops
  DWORD spreadOverMs = 0;                          // send the body in 50 even pieces over this long
  bool heldUntilReleased = false;                  // answer once the test calls Release for the path
};

class UpdateTestServer {
 public:
  UpdateTestServer();
  // An https server with a new certificate made for `tlsHost` alone, which
  // nothing trusts until the test says so (see Certificate).
  explicit UpdateTestServer(const std::string& tlsHost);
  ~UpdateTestServer();
  UpdateTestServer(const UpdateTestServer&) = delete;
  UpdateTestServer& operator=(const UpdateTestServer&) = delete;

  bool Started() const { return port_ != 0; }
  int Port() const { return port_; }
  // http://127.0.0.1:<port><path>, or https://<tlsHost>:<port><path>
  std::string Url(const std::string& path) const;
  // The https server's certificate (DER); empty for http.
  Bytes Certificate() const;

  void Serve(const std::string& path, Route route);
  // Lets the held answers for `path` go, those waiting and those to come.
  void Release(const std::string& path);
  struct Request {
    std::string path;
    std::string userAgent;
  };
  // The requests so far, in order.
  std::vector<Request> Requests() const;
  bool WaitForRequest(const std::string& path, DWORD timeoutMs = 10000) const;
  // Waits until the server has sent the whole answer to the `number`th
  // request for `path` (counted from 1) and closed its connection: then
  // the client has all it will get. False when the time is up first.
  bool WaitForAnswer(const std::string& path, int number = 1, DWORD timeoutMs = 30000) const;
  // Waits until at least `bytes` of that answer's body have been sent.
  bool WaitForBodySent(const std::string& path, int number, std::uint64_t bytes, DWORD timeoutMs = 30000) const;
  // Ends the server (and with it every stalled answer); true once it is gone.
  bool Stop();

 private:
  void WriteRoutes() const;
  void Start(const std::string& arguments);

  TempDir control_;
  std::map<std::string, Route> routes_;
  std::string tlsHost_;
  int port_ = 0;
  bool stopped_ = false;
};

}  // namespace testkit
