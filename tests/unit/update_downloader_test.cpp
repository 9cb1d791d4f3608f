#include <gtest/gtest.h>

#include "update/url_downloader.h"
#include "update_test_fakes.h"

using namespace updatefakes;

namespace {

constexpr char kUrl[] = "http://h:80/v.txt";
constexpr char kPath[] = "C:\\w\\917v.txt";

// What a download left at its local path; a file with content must hold
// exactly the body.
Left Outcome(const MemoryFileSystem& files, const std::string& body) {
  const Left left = WhatIsLeft(files, kPath);
  if (left == Left::kContent) {
    EXPECT_EQ(files.files.at(kPath), body);
  }
  return left;
}

}  // namespace

TEST(UrlDownloader, LeavesTheFileEachOutcomeCallsFor) {
  const std::string body(3000, 'x');
  Answer noAnswer;
  noAnswer.connects = false;
  Answer noStatus = Ok(body);
  noStatus.status = std::nullopt;
  Answer breaks = Ok(body);
  breaks.breakAfter = 1500;
  Answer cutShort = Ok(body);  // the server announced 3000 and closed after 2046
  cutShort.endAfter = 2046;
  Answer noLength = Ok(body);
  noLength.contentLength = std::nullopt;
  Answer oddLength = Ok(body);
  oddLength.contentLength = "3000; x";
  Answer status299 = Ok(body);
  status299.status = 299;
  Answer status300 = Ok(body);
  status300.status = 300;
  Answer emptyBody = Ok("");

  struct Case {
    const char* what;
    Answer answer;
    bool succeeds;
    Left left;
    std::string expectedBody;
  } cases[] = {
      {"200 with the whole body", Ok(body), true, Left::kContent, body},
      {"an empty 200 body", emptyBody, true, Left::kEmpty, ""},
      {"299 is still a success", status299, true, Left::kContent, body},
      {"no answer", noAnswer, false, Left::kNeverCreated, ""},
      {"status unreadable", noStatus, false, Left::kNeverCreated, ""},
      {"404", WithStatus(404), false, Left::kEmpty, ""},
      {"500", WithStatus(500), false, Left::kEmpty, ""},
      {"199", WithStatus(199), false, Left::kEmpty, ""},
      {"300", status300, false, Left::kEmpty, ""},
      {"the transfer breaks", breaks, false, Left::kRemoved, ""},
      {"the body ends before its announced length", cutShort, false, Left::kRemoved, ""},
      {"no Content-Length: the end of the body is the end", noLength, true, Left::kContent, body},
      {"an unreadable Content-Length announces nothing", oddLength, true, Left::kContent, body},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHttp http;
    http.answers[kUrl] = c.answer;
    MemoryFileSystem files;
    UrlDownloader downloader(http, files, kUrl, kPath);
    EXPECT_EQ(downloader.Download(), c.succeeds);
    EXPECT_EQ(Outcome(files, c.expectedBody), c.left);
    EXPECT_EQ(http.requests, std::vector<std::string>{kUrl});
  }
}

TEST(UrlDownloader, FailuresOfTheLocalFileNeverLeaveAPartialFile) {
  const std::string body(5000, 'y');
  struct Case {
    const char* what;
    bool notCreatable;
    std::optional<std::size_t> writeLimit;
    bool failClose;
    Left left;
  } cases[] = {
      {"the file cannot be created", true, std::nullopt, false, Left::kNeverCreated},
      {"the disk fills up midway", false, 2500, false, Left::kRemoved},
      {"closing fails", false, std::nullopt, true, Left::kRemoved},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHttp http;
    http.answers[kUrl] = Ok(body);
    MemoryFileSystem files;
    if (c.notCreatable) files.notCreatable.insert(kPath);
    files.writeLimit = c.writeLimit;
    files.failClose = c.failClose;
    UrlDownloader downloader(http, files, kUrl, kPath);
    EXPECT_FALSE(downloader.Download());
    EXPECT_EQ(Outcome(files, body), c.left);
  }
}

TEST(UrlDownloader, CopiesTheBodyInPiecesOfAtMost1023Bytes) {
  const std::string body(3 * 1023 + 1, 'z');
  FakeHttp http;
  http.answers[kUrl] = Ok(body);
  MemoryFileSystem files;
  UrlDownloader downloader(http, files, kUrl, kPath);
  ASSERT_TRUE(downloader.Download());
  EXPECT_EQ(files.files.at(kPath), body);
  EXPECT_EQ(files.largestWrite, 1023u);
  EXPECT_EQ(files.writeCalls, 4);
}

TEST(UrlDownloader, ASecondCallAfterSuccessFetchesNothing) {
  FakeHttp http;
  http.answers[kUrl] = Ok("1.02");
  MemoryFileSystem files;
  UrlDownloader downloader(http, files, kUrl, kPath);
  ASSERT_TRUE(downloader.Download());
  files.files.clear();
  EXPECT_TRUE(downloader.Download());
  EXPECT_EQ(http.requests.size(), 1u);
  EXPECT_FALSE(files.Has(kPath));

  // A failed download is tried again on the next call.
  FakeHttp failing;
  failing.answers[kUrl] = Ok("1.02");
  failing.answers[kUrl].breakAfter = 2;
  UrlDownloader retried(failing, files, kUrl, kPath);
  EXPECT_FALSE(retried.Download());
  failing.answers[kUrl].breakAfter = std::nullopt;
  EXPECT_TRUE(retried.Download());
  EXPECT_EQ(failing.requests.size(), 2u);
}

TEST(ParseContentLength, AcceptsDecimalDigitsOnly) {
  struct Case {
    const char* text;
    std::optional<std::uint64_t> length;
  } cases[] = {
      {"3000", 3000},
      {"0", 0},
      {" 42 ", 42},
      {"4294967296", 4294967296ull},
      {"9999999999999999999", 9999999999999999999ull},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"-1", std::nullopt},
      {"+1", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseContentLength(c.text), c.length) << '"' << c.text << '"';
}

TEST(UrlDownloader, ABodyBeyondTheLimitFailsAndLeavesNothing) {
  // The limit is 2500 bytes; the body arrives in pieces of 1023.
  struct Case {
    const char* what;
    std::size_t size;
    bool announced;
    std::optional<std::string> announcement;  // overrides the true length
    Left left;
  } cases[] = {
      {"exactly the limit", 2500, true, std::nullopt, Left::kContent},
      {"exactly the limit, unannounced", 2500, false, std::nullopt, Left::kContent},
      {"one byte more", 2501, true, std::nullopt, Left::kRemoved},
      {"one byte more, unannounced", 2501, false, std::nullopt, Left::kRemoved},
      {"announced beyond, body within", 100, true, "2501", Left::kRemoved},
      {"far beyond, unannounced", 100000, false, std::nullopt, Left::kRemoved},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string body(c.size, 'x');
    Answer answer = Ok(body);
    if (!c.announced) answer.contentLength = std::nullopt;
    if (c.announcement) answer.contentLength = c.announcement;
    FakeHttp http;
    http.answers[kUrl] = answer;
    MemoryFileSystem files;
    UrlDownloader downloader(http, files, kUrl, kPath, 2500);
    EXPECT_EQ(downloader.Download(), c.left == Left::kContent);
    EXPECT_EQ(Outcome(files, body), c.left);
    // Nothing beyond the limit ever reaches the disk; an announcement beyond
    // it is refused before the first byte is fetched.
    EXPECT_LE(files.largestWrite, 1023u);
    if (c.announcement) {
      EXPECT_EQ(files.writeCalls, 0);
    }
  }
}
