// The worker thread against a loopback server: its result arrives as a
// message posted to the target window while that window's thread goes on.
#include <gtest/gtest.h>

#include "package/launcher_config.h"
#include "update/update_worker_win.h"
#include "update_test_server.h"
#include "win/process.h"

using testkit::Bytes;
using testkit::UpdateTestServer;

namespace {

constexpr UINT kPing = WM_APP + 1;

// A message-only window that records what the worker posts to it: the
// identifier is the result and wParam the worker's state.
class ResultSink {
 public:
  ResultSink() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "UpdateResultSink";
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    hwnd_ = CreateWindowExA(0, "UpdateResultSink", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                            nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ResultSink() { DestroyWindow(hwnd_); }
  ResultSink(const ResultSink&) = delete;
  ResultSink& operator=(const ResultSink&) = delete;

  HWND Handle() const { return hwnd_; }

  struct Post {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  // The first result posted for `state`, once it has come.
  std::optional<Post> WaitForResult(const UpdateWorker* state, DWORD timeoutMs = 30000) {
    std::optional<Post> found;
    testkit::PumpUntil(
        [&] {
          for (const Post& post : posts_)
            if (post.wParam == reinterpret_cast<WPARAM>(state)) found = post;
          return found.has_value();
        },
        timeoutMs);
    return found;
  }
  bool HasResultFor(const UpdateWorker* state) const {
    for (const Post& post : posts_)
      if (post.wParam == reinterpret_cast<WPARAM>(state)) return true;
    return false;
  }
  int pings = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* sink = reinterpret_cast<ResultSink*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (sink != nullptr && message == kPing) ++sink->pings;
    // Results are WM_NULL (up to date) or 10003 and above; wParam tells them
    // from the system's own WM_NULL.
    if (sink != nullptr && (message == WM_NULL || message >= 10003) && wParam != 0)
      sink->posts_.push_back({message, wParam, lParam});
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }

  HWND hwnd_ = nullptr;
  std::vector<Post> posts_;
};

class UpdateWorkerThread : public ::testing::Test {
 protected:
  // A state that checks `server` into the test program's own folder (an
  // update is fetched only where it could replace the program); the thread
  // keeps it. None of the cases leaves a file there.
  UpdateWorker* Start(int port) {
    auto state = std::make_unique<UpdateWorker>();
    const std::string program = win::ProgramPath().value_or("");
    state->settings = {
        "/version.txt", "/Launcher_new.exe", "127.0.0.1", "1.01", port, program.substr(0, program.rfind('\\')), ""};
    state->targetWindow = sink.Handle();
    UpdateWorker* raw = state.get();
    EXPECT_TRUE(StartUpdateWorker(std::move(state)));
    return raw;
  }

  UpdateTestServer server;
  ResultSink sink;
};

UINT Message(UpdateResult result) { return static_cast<UINT>(result); }

}  // namespace

void PrintTo(const UpdateSettings& settings, std::ostream* out) {
  *out << "{" << settings.versionUrl << ", " << settings.exeUrl << ", " << settings.server << ", " << settings.version
       << ", " << settings.port << ", " << settings.workDir << ", key of " << settings.updateKey.size() << " bytes}";
}

TEST_F(UpdateWorkerThread, PostsEachResultAsTheMessageIdentifier) {
  ASSERT_TRUE(server.Started());
  const Bytes html = testkit::ToBytes("<html><body>Sign in to continue</body></html>");
  const std::vector<std::string> versionOnly{"/version.txt"}, both{"/version.txt", "/Launcher_new.exe"};
  struct Case {
    const char* what;
    testkit::Route version;
    testkit::Route launcher;
    bool refused;  // nothing listens on the port
    UpdateResult result;
    std::vector<std::string> asked;
  } cases[] = {
      {"up to date", {200, testkit::ToBytes("1.01")}, {}, false, UpdateResult::UpToDate, versionOnly},
      {"the server is older", {200, testkit::ToBytes("1.00")}, {}, false, UpdateResult::UpToDate, versionOnly},
      {"a newer version, the launcher missing",
       {200, testkit::ToBytes("1.02")},
       {404, {}},
       false,
       UpdateResult::LauncherDownloadFailed,
       both},
      {"a newer version, the server failing",
       {200, testkit::ToBytes("1.02")},
       {500, {}},
       false,
       UpdateResult::LauncherDownloadFailed,
       both},
      {"a newer version, an HTML page for the launcher",
       {200, testkit::ToBytes("1.02")},
       {200, html},
       false,
       UpdateResult::LauncherDownloadFailed,
       both},
      {"no version file on the server",
       {404, testkit::ToBytes("not found")},
       {},
       false,
       UpdateResult::VersionDownloadFailed,
       versionOnly},
      {"a refused port", {}, {}, true, UpdateResult::VersionDownloadFailed, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::optional<UpdateTestServer> gone;  // started and stopped again: a port where nothing listens
    if (c.refused) {
      ASSERT_TRUE(gone.emplace().Started() && gone->Stop());
    }
    server.Serve("/version.txt", c.version);
    server.Serve("/Launcher_new.exe", c.launcher);
    const std::size_t before = server.Requests().size();
    const UpdateWorker* state = Start(gone ? gone->Port() : server.Port());
    const auto post = sink.WaitForResult(state);
    ASSERT_TRUE(post.has_value());
    EXPECT_EQ(post->message, Message(c.result));
    EXPECT_EQ(post->lParam, 0);
    std::vector<std::string> asked;
    const auto requests = server.Requests();
    for (std::size_t i = before; i < requests.size(); ++i) {
      asked.push_back(requests[i].path);
      EXPECT_EQ(requests[i].userAgent, "win32_tests");  // the program's file title
    }
    EXPECT_EQ(asked, c.asked);
  }
}

TEST_F(UpdateWorkerThread, AStalledServerDoesNotHoldUpTheWindowsThread) {
  ASSERT_TRUE(server.Started());
  testkit::Route stall;
  stall.stall = true;
  server.Serve("/version.txt", stall);
  const UpdateWorker* state = Start(server.Port());
  ASSERT_TRUE(server.WaitForRequest("/version.txt"));
  // The request hangs on the worker; this thread's window still serves
  // its messages.
  PostMessageA(sink.Handle(), kPing, 0, 0);
  EXPECT_TRUE(testkit::PumpUntil([&] { return sink.pings == 1; }));
  EXPECT_FALSE(sink.HasResultFor(state));
  // Once the server gives up, so does the worker.
  ASSERT_TRUE(server.Stop());
  const auto post = sink.WaitForResult(state);
  ASSERT_TRUE(post.has_value());
  EXPECT_EQ(post->message, Message(UpdateResult::VersionDownloadFailed));
}

TEST(MakeUpdateWorker, TakesTheSettingsAndTheCurrentDirectory) {
  LauncherConfig config;
  config.versionUrl = "/v/version.txt";
  config.exeUrl = "/v/Launcher_new.exe";
  config.server = "127.0.0.1";
  config.port = -1;
  config.version = "1.01";
  config.updateKey = std::string(64, 'b');
  config.title = "not copied";
  testkit::TempDir dir;
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof previous, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
  const auto state = MakeUpdateWorker(config, HWND_MESSAGE);
  SetCurrentDirectoryA(previous);
  ASSERT_NE(state, nullptr);
  const UpdateSettings expected{"/v/version.txt", "/v/Launcher_new.exe", "127.0.0.1", "1.01", -1,
                                dir.Path(),       std::string(64, 'b')};
  EXPECT_EQ(state->settings, expected);
  EXPECT_EQ(state->targetWindow, HWND_MESSAGE);
}
