#include "package/package_images_win.h"

#include <cstring>
#include <vector>

#include "package/attached_package.h"
#include "package/picture_size.h"

namespace {

// A stream over a movable copy of the bytes; the stream frees the copy.
win::ComPtr<IStream> MakeStream(const std::vector<char>& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (block == nullptr) return {};
  if (void* target = GlobalLock(block)) {
    if (!bytes.empty()) std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  win::ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, stream.Put()))) {
    GlobalFree(block);
    return {};
  }
  return stream;
}

// The member's bytes. A member that cannot be extracted whole counts as
// missing.
LoadOutcome ReadImageMember(AttachedPackage* package, const char* path, std::vector<char>* bytes) {
  switch (package->ReadMember(path, bytes)) {
    case AttachedPackage::ReadResult::kRead: return LoadOutcome::kLoaded;
    case AttachedPackage::ReadResult::kMissing: return LoadOutcome::kPictureMissing;
    case AttachedPackage::ReadResult::kNoMemory: return LoadOutcome::kPictureNoMemory;
  }
  return LoadOutcome::kPictureMissing;
}

std::span<const std::uint8_t> AsBytes(const std::vector<char>& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

bool IsPaletteFormat(Gdiplus::PixelFormat format) { return (format & PixelFormatIndexed) != 0; }

// Copies the decoded pixels, converted by GDI+ to `format`, into the DIB.
bool CopyPixels(Gdiplus::Bitmap& source, Gdiplus::PixelFormat format, DibImage* image) {
  Gdiplus::Rect all(0, 0, image->Width(), image->Height());
  Gdiplus::BitmapData data{};
  if (source.LockBits(&all, Gdiplus::ImageLockModeRead, format, &data) != Gdiplus::Ok) return false;
  const std::size_t rowBytes = (static_cast<std::size_t>(image->Width()) * image->BitsPerPixel() + 7) / 8;
  for (int y = 0; y < image->Height(); ++y)
    std::memcpy(image->Row(y), static_cast<const std::uint8_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                rowBytes);
  source.UnlockBits(&data);
  return true;
}

bool DecodePalette(Gdiplus::Bitmap& source, DibImage* image) {
  const INT size = source.GetPaletteSize();
  if (size < static_cast<INT>(sizeof(Gdiplus::ColorPalette))) return false;
  std::vector<std::uint8_t> storage(size);
  auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(storage.data());
  if (source.GetPalette(palette, size) != Gdiplus::Ok || palette->Count == 0 || palette->Count > 256) return false;
  RGBQUAD table[256] = {};
  for (UINT i = 0; i < palette->Count; ++i) {
    const Gdiplus::ARGB colour = palette->Entries[i];
    // The fourth byte stays 0: a palette entry's transparency is dropped.
    table[i] = {static_cast<BYTE>(colour), static_cast<BYTE>(colour >> 8), static_cast<BYTE>(colour >> 16), 0};
  }
  const Gdiplus::PixelFormat format = source.GetPixelFormat();
  return image->Create(static_cast<int>(source.GetWidth()), static_cast<int>(source.GetHeight()),
                       Gdiplus::GetPixelFormatSize(format), table, static_cast<int>(palette->Count)) &&
         CopyPixels(source, format, image);
}

bool Decode(IStream* stream, DibImage* image) {
  Gdiplus::Bitmap source(stream, FALSE);
  if (source.GetLastStatus() != Gdiplus::Ok) return false;
  const Gdiplus::PixelFormat format = source.GetPixelFormat();
  if (IsPaletteFormat(format)) return DecodePalette(source, image);
  const int width = static_cast<int>(source.GetWidth());
  const int height = static_cast<int>(source.GetHeight());
  if (format == PixelFormat24bppRGB) return image->Create(width, height, 24) && CopyPixels(source, format, image);
  // Everything else becomes 32 bits: straight alpha where the picture has
  // alpha, a fourth byte without meaning where it has none.
  const bool alpha = Gdiplus::IsAlphaPixelFormat(format) != FALSE;
  if (!image->Create(width, height, 32)) return false;
  image->SetHasAlpha(alpha);
  return CopyPixels(source, alpha ? PixelFormat32bppARGB : PixelFormat32bppRGB, image);
}

// Too large to decode counts as not decoding.
bool DecodeBytes(const std::vector<char>& bytes, DibImage* image) {
  if (PictureTooLarge(AsBytes(bytes))) return false;
  const win::ComPtr<IStream> stream = MakeStream(bytes);
  return stream && Decode(stream.Get(), image);
}

}  // namespace

bool DibImage::Create(int width, int height, int bitsPerPixel, const RGBQUAD* palette, int paletteSize) {
  bitmap_.Reset();
  bits_ = nullptr;
  if (width <= 0 || height <= 0) return false;
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * 256);
  auto* header = reinterpret_cast<BITMAPINFO*>(info.data());
  header->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header->bmiHeader.biWidth = width;
  header->bmiHeader.biHeight = height;  // positive: rows bottom-up
  header->bmiHeader.biPlanes = 1;
  header->bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  header->bmiHeader.biCompression = BI_RGB;
  header->bmiHeader.biClrUsed = static_cast<DWORD>(paletteSize);
  if (palette != nullptr) std::memcpy(header->bmiColors, palette, sizeof(RGBQUAD) * paletteSize);
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, header, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) return false;
  bits_ = static_cast<std::uint8_t*>(bits);
  width_ = width;
  height_ = height;
  bitsPerPixel_ = bitsPerPixel;
  hasAlpha_ = false;
  return true;
}

namespace {

// Pictures are made and deleted on the main thread only.
int livePictures = 0;

}  // namespace

PackagePicture::PackagePicture(win::ComPtr<IStream> stream, std::unique_ptr<Gdiplus::Image> image)
    : stream_(std::move(stream)), image_(std::move(image)) {
  ++livePictures;
}

PackagePicture::~PackagePicture() {
  image_.reset();  // before the stream it reads from
  --livePictures;
}

int PackagePicture::LiveCount() { return livePictures; }

UINT PackagePicture::Width() const { return image_->GetLastStatus() == Gdiplus::Ok ? image_->GetWidth() : 0; }
UINT PackagePicture::Height() const { return image_->GetLastStatus() == Gdiplus::Ok ? image_->GetHeight() : 0; }

bool PictureDecodes(std::span<const std::uint8_t> bytes) {
  DibImage image;
  return DecodeBytes(std::vector<char>(bytes.begin(), bytes.end()), &image);
}

LoadOutcome LoadPackageImage(AttachedPackage* package, const char* path, DibImage* image) {
  std::vector<char> bytes;
  if (const LoadOutcome read = ReadImageMember(package, path, &bytes); read != LoadOutcome::kLoaded) return read;
  return DecodeBytes(bytes, image) ? LoadOutcome::kLoaded : LoadOutcome::kPictureUndecodable;
}

LoadOutcome LoadPackagePicture(AttachedPackage* package, const char* path, std::unique_ptr<PackagePicture>* picture) {
  std::vector<char> bytes;
  if (const LoadOutcome read = ReadImageMember(package, path, &bytes); read != LoadOutcome::kLoaded) return read;
  // Too large to decode: the picture of 0 by 0 that bytes which do not
  // decode give.
  if (PictureTooLarge(AsBytes(bytes))) bytes.clear();
  win::ComPtr<IStream> stream = MakeStream(bytes);
  if (!stream) return LoadOutcome::kPictureNoMemory;
  std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromStream(stream.Get(), FALSE));
  if (image == nullptr) return LoadOutcome::kPictureNoMemory;
  *picture = std::make_unique<PackagePicture>(std::move(stream), std::move(image));
  return LoadOutcome::kLoaded;
}

HBITMAP CutBitmap(HBITMAP source, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  win::UniqueDc sourceDc(CreateCompatibleDC(nullptr));
  win::UniqueDc pieceDc(CreateCompatibleDC(nullptr));
  if (!sourceDc || !pieceDc) return nullptr;
  win::SelectedObject selectedSource(sourceDc.Get(), source);
  // Compatible with a context that holds the source: a DIB source gives a
  // DIB piece of the same format.
  win::UniqueBitmap piece(CreateCompatibleBitmap(sourceDc.Get(), width, height));
  if (!piece) return nullptr;
  {
    win::SelectedObject selectedPiece(pieceDc.Get(), piece.Get());
    BitBlt(pieceDc.Get(), 0, 0, width, height, sourceDc.Get(), x, y, SRCCOPY);
  }
  return piece.Release();
}
