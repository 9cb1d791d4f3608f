#include "game/url_cache_win.h"

#include <vector>

namespace {

// An entry record and the texts after it, aligned for the record.
class EntryBuffer {
 public:
  explicit EntryBuffer(DWORD size) { Resize(size); }
  void Resize(DWORD size) {
    words_.assign((size + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    size_ = size;
  }
  INTERNET_CACHE_ENTRY_INFOA* Entry() { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(words_.data()); }
  DWORD Size() const { return size_; }

 private:
  std::vector<DWORD> words_;
  DWORD size_ = 0;
};

}  // namespace

const UrlCacheFunctions& SystemUrlCache() {
  static const UrlCacheFunctions functions{FindFirstUrlCacheEntryA, FindNextUrlCacheEntryA, DeleteUrlCacheEntryA,
                                           FindCloseUrlCache};
  return functions;
}

std::size_t ClearUrlCache(const UrlCacheFunctions& cache) {
  DWORD size = 0;
  SetLastError(ERROR_SUCCESS);
  if (HANDLE unexpected = cache.findFirst(nullptr, nullptr, &size)) {
    cache.findClose(unexpected);  // no entry fits no buffer: nothing sensible to walk
    return 0;
  }
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return 0;
  EntryBuffer buffer(size);
  HANDLE enumeration = cache.findFirst(nullptr, buffer.Entry(), &size);
  if (enumeration == nullptr) return 0;
  std::size_t deleted = 0;
  for (;;) {
    cache.deleteEntry(buffer.Entry()->lpszSourceUrlName);
    ++deleted;
    // The next entry; one that does not fit is asked for again with a
    // buffer of the size it reported.
    for (;;) {
      size = buffer.Size();
      if (cache.findNext(enumeration, buffer.Entry(), &size)) break;
      // A size that is no larger than what failed would ask forever.
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.Size()) {
        cache.findClose(enumeration);
        return deleted;
      }
      buffer.Resize(size);
    }
  }
}
