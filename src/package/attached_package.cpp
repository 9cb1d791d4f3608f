#include "package/attached_package.h"

#include <unzip.h>

#include <cstring>
#include <new>

#include "package/image_end.h"

namespace {

// minizip reads through these callbacks from a byte range in memory; no file
// is opened and nothing is copied.
struct MemoryStream {
  const std::uint8_t* data = nullptr;
  uLong size = 0;
  uLong position = 0;
};

voidpf ZCALLBACK StreamOpen(voidpf opaque, const char*, int) { return opaque; }

uLong ZCALLBACK StreamRead(voidpf, voidpf stream, void* buffer, uLong size) {
  auto* s = static_cast<MemoryStream*>(stream);
  const uLong count = size < s->size - s->position ? size : s->size - s->position;
  std::memcpy(buffer, s->data + s->position, count);
  s->position += count;
  return count;
}

uLong ZCALLBACK StreamWrite(voidpf, voidpf, const void*, uLong) { return 0; }

long ZCALLBACK StreamTell(voidpf, voidpf stream) { return static_cast<long>(static_cast<MemoryStream*>(stream)->position); }

long ZCALLBACK StreamSeek(voidpf, voidpf stream, uLong offset, int origin) {
  auto* s = static_cast<MemoryStream*>(stream);
  uLong base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = s->position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = s->size; break;
    default: return -1;
  }
  if (offset > s->size - base) return -1;  // never past the end of the bytes
  s->position = base + offset;
  return 0;
}

int ZCALLBACK StreamClose(voidpf, voidpf) { return 0; }
int ZCALLBACK StreamError(voidpf, voidpf) { return 0; }

// Names of 256 bytes or more are never looked up; a longer name in the
// archive is read one byte past that so that it can never compare equal.
constexpr std::size_t kMaxNameLength = 256;

}  // namespace

struct AttachedPackage::Archive {
  struct Entry {
    unz_file_pos position;
    uLong compressedSize;
    uLong uncompressedSize;
    uLong method;

  };
  MemoryStream stream;
  unzFile zip = nullptr;
  std::vector<Entry> entries;  // those listed in names_

  ~Archive() {
    if (zip != nullptr) unzClose(zip);
  }
};

bool MemberSizeIsPlausible(std::uint32_t method, std::uint64_t compressedSize, std::uint64_t uncompressedSize,
                           std::uint64_t packageSize) {
  constexpr std::uint64_t kMaxDeflateRatio = 1032;
  if (compressedSize > packageSize) return false;
  return uncompressedSize <= (method == 0 ? compressedSize : (compressedSize + 1) * kMaxDeflateRatio);
}

AttachedPackage::AttachedPackage() = default;
AttachedPackage::~AttachedPackage() = default;

PackageOpenResult AttachedPackage::Open(std::span<const std::uint8_t> file) {
  archive_.reset();
  names_.clear();
  currentMember_ = -1;

  const auto imageEnd = FindImageEnd(file);
  if (!imageEnd) return PackageOpenResult::kNotAnArchive;
  if (*imageEnd >= file.size()) return PackageOpenResult::kNothingAppended;

  auto archive = std::make_unique<Archive>();
  archive->stream.data = file.data() + *imageEnd;
  archive->stream.size = static_cast<uLong>(file.size() - *imageEnd);

  zlib_filefunc_def functions{};
  functions.zopen_file = StreamOpen;
  functions.zread_file = StreamRead;
  functions.zwrite_file = StreamWrite;
  functions.ztell_file = StreamTell;
  functions.zseek_file = StreamSeek;
  functions.zclose_file = StreamClose;
  functions.zerror_file = StreamError;
  functions.opaque = &archive->stream;
  archive->zip = unzOpen2("package", &functions);
  if (archive->zip == nullptr) return PackageOpenResult::kNotAnArchive;

  // Walk the central directory once. A damaged entry ends the walk: it and
  // the entries after it are simply never found.
  char name[kMaxNameLength + 2];
  for (int status = unzGoToFirstFile(archive->zip); status == UNZ_OK; status = unzGoToNextFile(archive->zip)) {
    unz_file_info info{};
    unz_file_pos position{};
    if (unzGetCurrentFileInfo(archive->zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    if (unzGetFilePos(archive->zip, &position) != UNZ_OK) break;
    names_.emplace_back(name, info.size_filename < sizeof name - 1 ? info.size_filename : sizeof name - 1);
    archive->entries.push_back({position, info.compressed_size, info.uncompressed_size, info.compression_method});
  }
  archive_ = std::move(archive);
  return PackageOpenResult::kOpened;
}

bool AttachedPackage::FindMember(const char* name, int* index, std::uint32_t* size) {
  *index = -1;
  if (archive_ == nullptr) return false;
  const std::size_t length = std::strlen(name);
  if (length >= kMaxNameLength) return false;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i].size() != length || std::memcmp(names_[i].data(), name, length) != 0) continue;
    CloseCurrentMember();
    *index = static_cast<int>(i);
    *size = static_cast<std::uint32_t>(archive_->entries[i].uncompressedSize);
    return true;
  }
  return false;
}

long AttachedPackage::ExtractMember(int index, void* buffer, std::uint32_t size) {
  if (archive_ == nullptr) return -1;
  if (index != currentMember_) {
    CloseCurrentMember();
    if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) return -1;
    // minizip checks the local header against the central directory and
    // accepts only stored and deflated data.
    if (unzGoToFilePos(archive_->zip, &archive_->entries[index].position) != UNZ_OK ||
        unzOpenCurrentFile(archive_->zip) != UNZ_OK)
      return -1;
    currentMember_ = index;
  }
  const int written = unzReadCurrentFile(archive_->zip, buffer, size);
  if (written > 0) return written;
  CloseCurrentMember();
  return written == 0 ? 0 : -1;
}

AttachedPackage::ReadResult AttachedPackage::ReadMember(const char* name, std::vector<char>* content) {
  int index = -1;
  std::uint32_t size = 0;
  if (!FindMember(name, &index, &size)) return ReadResult::kMissing;
  const Archive::Entry& entry = archive_->entries[index];
  if (!MemberSizeIsPlausible(entry.method, entry.compressedSize, entry.uncompressedSize, archive_->stream.size))
    return ReadResult::kMissing;
  // A plausible size can still be a bomb: 1 MB of deflate data may inflate
  // to a gigabyte. Nothing read whole is ever that large.
  if (size > kMaxWholeMemberBytes) return ReadResult::kNoMemory;
  try {
    content->assign(size, '\0');
  } catch (const std::bad_alloc&) {
    return ReadResult::kNoMemory;
  }
  if (size == 0) return ReadResult::kRead;
  // One call fills the buffer; a member whose data ends early or does not
  // inflate is not used.
  const long written = ExtractMember(index, content->data(), size);
  CloseCurrentMember();
  return written == static_cast<long>(size) ? ReadResult::kRead : ReadResult::kMissing;
}

void AttachedPackage::CloseCurrentMember() {
  if (currentMember_ >= 0 && archive_ != nullptr) unzCloseCurrentFile(archive_->zip);
  currentMember_ = -1;
}
