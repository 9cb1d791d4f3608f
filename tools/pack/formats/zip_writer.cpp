#include "formats/zip_writer.h"

#include <zip.h>

#include <cstring>

namespace {

// minizip writes through these callbacks into a string; it seeks back to
// fill in each member's sizes after its data.
struct MemorySink {
  std::string bytes;
  std::size_t position = 0;
};

voidpf ZCALLBACK SinkOpen(voidpf opaque, const char*, int) { return opaque; }

uLong ZCALLBACK SinkRead(voidpf, voidpf, void*, uLong) { return 0; }

uLong ZCALLBACK SinkWrite(voidpf, voidpf stream, const void* buffer, uLong size) {
  auto* sink = static_cast<MemorySink*>(stream);
  if (sink->position + size > sink->bytes.size()) sink->bytes.resize(sink->position + size);
  std::memcpy(sink->bytes.data() + sink->position, buffer, size);
  sink->position += size;
  return size;
}

long ZCALLBACK SinkTell(voidpf, voidpf stream) { return static_cast<long>(static_cast<MemorySink*>(stream)->position); }

long ZCALLBACK SinkSeek(voidpf, voidpf stream, uLong offset, int origin) {
  auto* sink = static_cast<MemorySink*>(stream);
  std::size_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = sink->position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = sink->bytes.size(); break;
    default: return -1;
  }
  if (base + offset > sink->bytes.size()) return -1;
  sink->position = base + offset;
  return 0;
}

int ZCALLBACK SinkClose(voidpf, voidpf) { return 0; }
int ZCALLBACK SinkError(voidpf, voidpf) { return 0; }

bool AddMember(zipFile zip, const SkinFile& file) {
  zip_fileinfo info{};
  info.tmz_date = {0, 0, 12, 1, 0, 2024};  // noon, 1 January 2024 (months count from 0)
  if (zipOpenNewFileInZip(zip, file.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                          Z_BEST_COMPRESSION) != ZIP_OK)
    return false;
  const bool written =
      zipWriteInFileInZip(zip, file.content.data(), static_cast<unsigned>(file.content.size())) == ZIP_OK;
  return zipCloseFileInZip(zip) == ZIP_OK && written;
}

}  // namespace

std::optional<std::string> BuildZip(const std::vector<SkinFile>& files) {
  MemorySink sink;
  zlib_filefunc_def functions{};
  functions.zopen_file = SinkOpen;
  functions.zread_file = SinkRead;
  functions.zwrite_file = SinkWrite;
  functions.ztell_file = SinkTell;
  functions.zseek_file = SinkSeek;
  functions.zclose_file = SinkClose;
  functions.zerror_file = SinkError;
  functions.opaque = &sink;
  zipFile zip = zipOpen2("package", APPEND_STATUS_CREATE, nullptr, &functions);
  if (zip == nullptr) return std::nullopt;
  bool ok = true;
  for (const SkinFile& file : files) ok = ok && AddMember(zip, file);
  if (zipClose(zip, nullptr) != ZIP_OK || !ok) return std::nullopt;
  return sink.bytes;
}
