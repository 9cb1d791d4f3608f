// The browser cache cleaner, against WinINet's own cache of this user and
// against a cache played by the test, whose entries outgrow the buffer; and
// the settings menu's question before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/url_cache_win.h"
#include "game_fixture.h"
#include "launcher_driver.h"
#include "win_testkit.h"

namespace {

// Puts `url` into the user's URL cache with a small body.
bool CacheEntry(const std::string& url) {
  char file[MAX_PATH] = {};
  if (!CreateUrlCacheEntryA(url.c_str(), 0, "txt", file, 0)) return false;
  if (!testkit::WriteFileBytes(file, testkit::ToBytes("cached body"))) return false;
  const FILETIME never{};
  return CommitUrlCacheEntryA(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, "txt", nullptr) != FALSE;
}

bool InCache(const std::string& url) {
  DWORD size = 0;
  GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size);
  return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// A cache the test plays: entries whose records need the given sizes; a
// record only comes out into a buffer of that size or more.
struct PlayedCache {
  std::vector<DWORD> sizes;
  std::size_t stuckFrom = SIZE_MAX;  // from this entry on, a short buffer's own size is reported back
  std::size_t next = 0;
  int firstCalls = 0, closes = 0;
  std::vector<std::string> deleted;
  std::vector<std::string> names;  // the record texts handed out
};
PlayedCache* played = nullptr;
const HANDLE kEnumeration = reinterpret_cast<HANDLE>(0x4321);

BOOL HandOut(LPINTERNET_CACHE_ENTRY_INFOA entry, LPDWORD size) {
  const DWORD needed = played->sizes[played->next];
  if (entry == nullptr || *size < needed) {
    if (played->next < played->stuckFrom) *size = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  // The record's texts lie behind it, in the caller's buffer.
  played->names.push_back("http://played/" + std::to_string(played->next));
  ZeroMemory(entry, needed);
  char* text = reinterpret_cast<char*>(entry) + sizeof(INTERNET_CACHE_ENTRY_INFOA);
  lstrcpyA(text, played->names.back().c_str());
  entry->lpszSourceUrlName = text;
  ++played->next;
  return TRUE;
}

HANDLE WINAPI PlayedFirst(LPCSTR, LPINTERNET_CACHE_ENTRY_INFOA entry, LPDWORD size) {
  ++played->firstCalls;
  if (played->sizes.empty()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return nullptr;
  }
  return HandOut(entry, size) ? kEnumeration : nullptr;
}

BOOL WINAPI PlayedNext(HANDLE enumeration, LPINTERNET_CACHE_ENTRY_INFOA entry, LPDWORD size) {
  EXPECT_EQ(enumeration, kEnumeration);
  if (played->next >= played->sizes.size()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  return HandOut(entry, size);
}

BOOL WINAPI PlayedDelete(LPCSTR url) {
  played->deleted.emplace_back(url);
  return TRUE;
}

BOOL WINAPI PlayedClose(HANDLE enumeration) {
  EXPECT_EQ(enumeration, kEnumeration);
  ++played->closes;
  return TRUE;
}

const UrlCacheFunctions kPlayed{PlayedFirst, PlayedNext, PlayedDelete, PlayedClose};

constexpr DWORD kRecord = sizeof(INTERNET_CACHE_ENTRY_INFOA) + 64;

}  // namespace

TEST(UrlCacheCleaner, EmptiesTheUsersCacheAndThenFindsNothing) {
  const std::vector<std::string> urls = {"http://game.example/a.swf", "http://game.example/b.png",
                                         "http://cdn.example/c.js?v=1"};
  for (const std::string& url : urls) ASSERT_TRUE(CacheEntry(url)) << url;
  for (const std::string& url : urls) ASSERT_TRUE(InCache(url)) << url;
  EXPECT_GE(ClearUrlCache(), urls.size());
  for (const std::string& url : urls) EXPECT_FALSE(InCache(url)) << url;
  EXPECT_EQ(ClearUrlCache(), 0u);  // an empty cache: nothing asked
}

TEST(UrlCacheCleaner, AnEmptyCacheStopsAtTheFirstQuestion) {
  PlayedCache cache;
  played = &cache;
  EXPECT_EQ(ClearUrlCache(kPlayed), 0u);
  EXPECT_EQ(cache.firstCalls, 1);
  EXPECT_TRUE(cache.deleted.empty());
  EXPECT_EQ(cache.closes, 0);
  played = nullptr;
}

TEST(UrlCacheCleaner, EntriesThatOutgrowTheBufferAreAskedForAgainWithALargerOne) {
  PlayedCache cache;
  cache.sizes = {kRecord, kRecord + 300, kRecord + 100, kRecord + 1000, kRecord};
  played = &cache;
  EXPECT_EQ(ClearUrlCache(kPlayed), 5u);
  EXPECT_EQ(cache.deleted, cache.names);  // each entry once, in the cache's order
  EXPECT_EQ(cache.names.size(), 5u);
  EXPECT_EQ(cache.firstCalls, 2);  // the size, then the first entry
  EXPECT_EQ(cache.closes, 1);
  played = nullptr;
}

TEST(UrlCacheCleaner, ASizeThatDoesNotGrowEndsTheWalkInsteadOfAskingForever) {
  PlayedCache cache;
  cache.sizes = {kRecord, kRecord + 300, kRecord};
  cache.stuckFrom = 1;
  played = &cache;
  EXPECT_EQ(ClearUrlCache(kPlayed), 1u);
  EXPECT_EQ(cache.deleted.size(), 1u);
  EXPECT_EQ(cache.closes, 1);
  played = nullptr;
}

// The menu's clear command asks with its own texts and clears only on OK:
// an entry put in the user's cache before survives Cancel.
TEST_F(GameWindowTest, TheClearCacheQuestionKeepsTheCacheOnCancelAndEmptiesItOnOk) {
  LoadSkin();
  const std::string url = "http://game.example/asked-first.png";
  ASSERT_TRUE(CacheEntry(url));
  CGameDialog game(TestSkin());
  bool afterCancel = false, afterOk = true;
  RunGameWindow(game, [&] {
    testkit::MessageBoxView question;
    testkit::AnswerMessageBox(IDCANCEL, &question);
    SendMessageA(game.Handle(), WM_COMMAND, 2036, 0);
    EXPECT_TRUE(testkit::IsQuestion(question, "Clear it?", "Clear cache", game.Handle()));
    afterCancel = InCache(url);
    testkit::AnswerMessageBox(IDOK);
    SendMessageA(game.Handle(), WM_COMMAND, 2036, 0);
    afterOk = InCache(url);
    EndSoon(game);
  });
  EXPECT_TRUE(afterCancel) << "Cancel cleared the cache";
  EXPECT_FALSE(afterOk) << "OK left the entry";
}
