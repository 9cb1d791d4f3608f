// The downloader over WinINet against a loopback server that the test runs:
// what each answer leaves on disk.
#include <gtest/gtest.h>
#include <winsock2.h>

#include "update/file_system_win.h"
#include "update/internet_client_win.h"
#include "update/url_downloader.h"
#include "update_test_server.h"
#include "win/text.h"

using testkit::Bytes;
using testkit::Route;
using testkit::UpdateTestServer;

namespace {

// Every byte value, more than a few 1023-byte pieces.
Bytes BinaryBody() {
  Bytes body(5000);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  return body;
}

// A loopback port on which nothing listens: one the system handed out and
// that was closed again.
int ClosedPort() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(s);
  WSACleanup();
  return ntohs(address.sin_port);
}

enum class Left { kNothing, kEmpty, kBody };

}  // namespace

TEST(UpdateDownload, LeavesWhatEachAnswerCallsFor) {
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes body = BinaryBody();
  server.Serve("/ok.bin", {200, body});
  server.Serve("/created.bin", {201, body});
  server.Serve("/missing.bin", {404, testkit::ToBytes("<html>not here</html>")});
  server.Serve("/error.bin", {500, testkit::ToBytes("<html>oops</html>")});
  server.Serve("/redirect.bin", {302, {}});
  server.Serve("/short.bin", {200, body, std::nullopt, 3000});  // 5000 announced, 3000 sent
  server.Serve("/empty.bin", {200, {}});

  struct Case {
    const char* what;
    std::string url;
    bool succeeds;
    Left left;
  } cases[] = {
      {"200", server.Url("/ok.bin"), true, Left::kBody},
      {"201", server.Url("/created.bin"), true, Left::kBody},
      {"an empty 200", server.Url("/empty.bin"), true, Left::kEmpty},
      {"404", server.Url("/missing.bin"), false, Left::kEmpty},
      {"500", server.Url("/error.bin"), false, Left::kEmpty},
      {"a redirection without a target", server.Url("/redirect.bin"), false, Left::kEmpty},
      {"a body cut short", server.Url("/short.bin"), false, Left::kNothing},
      {"a refused port", "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/ok.bin", false, Left::kNothing},
  };
  testkit::TempDir dir;
  WinInetClient http("UpdateTest");
  Win32FileSystem files;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.File("917file.bin");
    UrlDownloader downloader(http, files, c.url, path);
    EXPECT_EQ(downloader.Download(), c.succeeds);
    const bool exists = dir.Exists("917file.bin");
    const Bytes content = testkit::ReadFileBytes(path);
    EXPECT_EQ(exists, c.left != Left::kNothing);
    if (c.left == Left::kEmpty) {
      EXPECT_TRUE(content.empty());
    }
    if (c.left == Left::kBody) {
      EXPECT_EQ(content, body);
    }
    DeleteFileA(path.c_str());
  }
}

// A file planted under the name a download would take keeps its owner and
// rights if reused; it is never written through. While a download is open,
// nobody else may write, rename or remove it, and its inspection reads the
// bytes through the handle that wrote them.
TEST(UpdateDownload, MakesItsFileNewAndClosedToWritersUntilChecked) {
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes body = BinaryBody();
  server.Serve("/ok.bin", {200, body});
  testkit::TempDir dir;
  WinInetClient http("UpdateTest");
  Win32FileSystem files;

  ASSERT_TRUE(dir.Write("planted.bin", testkit::ToBytes("planted")));
  UrlDownloader planted(http, files, server.Url("/ok.bin"), dir.File("planted.bin"));
  EXPECT_FALSE(planted.Download());
  EXPECT_EQ(testkit::ReadFileBytes(dir.File("planted.bin")), testkit::ToBytes("planted"));

  UrlDownloader downloader(http, files, server.Url("/ok.bin"), dir.File("fresh.bin"));
  std::unique_ptr<WritableFile> file = downloader.DownloadOpen();
  ASSERT_NE(file, nullptr);
  const std::wstring path = win::WideFromUtf8(dir.File("fresh.bin"));
  HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  EXPECT_FALSE(MoveFileW(path.c_str(), (path + L".moved").c_str()));
  EXPECT_FALSE(DeleteFileW(path.c_str()));
  Bytes inspected;
  EXPECT_TRUE(file->Inspect([&](std::span<const std::uint8_t> bytes) {
    inspected.assign(bytes.begin(), bytes.end());
    return true;
  }));
  EXPECT_EQ(inspected, body);
  EXPECT_TRUE(file->Close());
  EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(UpdateDownload, SendsTheUserAgentItIsGiven) {
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  server.Serve("/v.txt", {200, testkit::ToBytes("1.01")});
  testkit::TempDir dir;
  WinInetClient http("MyGame");
  Win32FileSystem files;
  UrlDownloader downloader(http, files, server.Url("/v.txt"), dir.File("v.txt"));
  ASSERT_TRUE(downloader.Download());
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/v.txt");
  EXPECT_EQ(requests[0].userAgent, "MyGame");
}

TEST(UpdateDownload, AsksTheServerEveryTimeInsteadOfTheCache) {
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  testkit::TempDir dir;
  WinInetClient http("UpdateTest");
  Win32FileSystem files;
  for (const char* version : {"1.01", "1.02"}) {
    server.Serve("/v.txt", {200, testkit::ToBytes(version)});
    UrlDownloader downloader(http, files, server.Url("/v.txt"), dir.File("v.txt"));
    ASSERT_TRUE(downloader.Download());
    EXPECT_EQ(testkit::ReadFileBytes(dir.File("v.txt")), testkit::ToBytes(version));
    DeleteFileA(dir.File("v.txt").c_str());
  }
  EXPECT_EQ(server.Requests().size(), 2u);
}
