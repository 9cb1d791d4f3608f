// The browser cache cleaner behind the settings menu: it deletes every
// entry of the current user's WinINet URL cache, the cache of the platform
// browser that holds the game page's downloaded files.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstddef>

// The cache functions the cleaner walks the cache with: WinINet's, or a
// test's own.
struct UrlCacheFunctions {
  decltype(&FindFirstUrlCacheEntryA) findFirst;
  decltype(&FindNextUrlCacheEntryA) findNext;
  decltype(&DeleteUrlCacheEntryA) deleteEntry;
  decltype(&FindCloseUrlCache) findClose;
};
const UrlCacheFunctions& SystemUrlCache();

// Deletes every entry, by its source address; an entry that cannot be
// deleted (one in use) stays. Asks first for the size of the first entry
// and stops at once when there is none (an empty cache) or the cache cannot
// be read; the entry buffer grows whenever an entry needs more. Answers how
// many entries it asked to delete.
std::size_t ClearUrlCache(const UrlCacheFunctions& cache = SystemUrlCache());
