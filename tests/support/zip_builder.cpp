#include "zip_builder.h"

#include <zlib.h>

#include <cstring>
#include <stdexcept>

#include "update/launcher_mark.h"

namespace testkit {
namespace {

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutText(Bytes& out, const std::string& s) { out.insert(out.end(), s.begin(), s.end()); }

std::string RawDeflate(const std::string& data) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&z, data.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

}  // namespace

ZipBuilder& ZipBuilder::Add(std::string name, std::string content, bool deflate) {
  members_.push_back({std::move(name), std::move(content), deflate});
  return *this;
}

ZipBuilder& ZipBuilder::Comment(std::string comment) {
  comment_ = std::move(comment);
  return *this;
}

Bytes ZipBuilder::Build() const {
  Bytes out, directory;
  for (const ZipMember& m : members_) {
    const std::string data = m.deflate ? RawDeflate(m.content) : m.content;
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(m.content.data()), static_cast<uInt>(m.content.size())));
    const auto offset = static_cast<std::uint32_t>(out.size());
    const std::uint16_t method = m.deflate ? 8 : 0;
    Put32(out, 0x04034b50);
    Put16(out, 20);  // version needed
    Put16(out, 0);   // flags
    Put16(out, method);
    Put32(out, 0);  // time and date
    Put32(out, crc);
    Put32(out, static_cast<std::uint32_t>(data.size()));
    Put32(out, static_cast<std::uint32_t>(m.content.size()));
    Put16(out, static_cast<std::uint32_t>(m.name.size()));
    Put16(out, 0);
    PutText(out, m.name);
    PutText(out, data);

    Put32(directory, 0x02014b50);
    Put16(directory, 20);
    Put16(directory, 20);
    Put16(directory, 0);
    Put16(directory, method);
    Put32(directory, 0);
    Put32(directory, crc);
    Put32(directory, static_cast<std::uint32_t>(data.size()));
    Put32(directory, static_cast<std::uint32_t>(m.content.size()));
    Put16(directory, static_cast<std::uint32_t>(m.name.size()));
    Put16(directory, 0);  // extra
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, offset);
    PutText(directory, m.name);
  }
  const auto directoryOffset = static_cast<std::uint32_t>(out.size());
  out.insert(out.end(), directory.begin(), directory.end());
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<std::uint32_t>(members_.size()));
  Put16(out, static_cast<std::uint32_t>(members_.size()));
  Put32(out, static_cast<std::uint32_t>(directory.size()));
  Put32(out, directoryOffset);
  Put16(out, static_cast<std::uint32_t>(comment_.size() & 0xFFFF));
  PutText(out, comment_);
  return out;
}

Bytes MakePeImage(std::uint32_t imageEnd, std::uint16_t sections, bool marked) {
  constexpr std::uint32_t kNt = 0x80;
  Bytes image(imageEnd, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) image.at(at + i) = (v >> (8 * i)) & 0xFF;
  };
  image.at(0) = 'M';
  image.at(1) = 'Z';
  put32(0x3C, kNt);
  put32(kNt, 0x00004550);  // "PE\0\0"
  image.at(kNt + 4) = 0x4C;  // i386
  image.at(kNt + 5) = 0x01;
  image.at(kNt + 6) = sections & 0xFF;
  image.at(kNt + 7) = sections >> 8;
  // Sections of 0x100 bytes each from 0x200; the last one runs to imageEnd.
  for (std::uint32_t i = 0; i < sections; ++i) {
    const std::size_t header = kNt + 248 + 40 * i;
    const std::uint32_t rawOffset = 0x200 + 0x100 * i;
    const std::uint32_t rawSize = i + 1 == sections ? imageEnd - rawOffset : 0x100;
    std::memcpy(&image.at(header), ".sect", 5);
    put32(header + 16, rawSize);
    put32(header + 20, rawOffset);
  }
  if (marked) {
    std::memcpy(&image.at(kNt + 248), kLauncherMarkSection, sizeof kLauncherMarkSection);
    std::memcpy(&image.at(0x200), kLauncherMark.data(), kLauncherMark.size());
  }
  return image;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string MinimalConfig(const std::string& extraGlobalLines) {
  // A game header that no page in the tests navigates to: with an empty
  // one, the login area's first navigation would hand itself over.
  return "[global]\r\nlinkCount=1\r\ngameheader=test-game-header|\r\n" + extraGlobalLines +
         "[link1]\r\ntype=4\r\nwidth=100\r\nheight=100\r\nurl=about:blank\r\n";
}

}  // namespace testkit
