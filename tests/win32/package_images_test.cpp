#include "package/package_images_win.h"

#include <gtest/gtest.h>

#include "common/texts.h"
#include "launcher_driver.h"
#include "package/attached_package.h"
#include "package/load_outcome_win.h"
#include "png_writer.h"

using testkit::Bytes;
using testkit::PngSpec;

namespace {

// A package built in memory that keeps its bytes, with one member per picture.
class Pictures {
 public:
  explicit Pictures(const std::vector<std::pair<std::string, Bytes>>& members) {
    testkit::ZipBuilder zip;
    for (const auto& [name, content] : members) zip.Add(name, std::string(content.begin(), content.end()));
    file_ = testkit::Concat({testkit::MakePeImage(), zip.Build()});
    EXPECT_EQ(package_.Open(file_), PackageOpenResult::kOpened);
  }
  AttachedPackage* Package() { return &package_; }

 private:
  Bytes file_;
  AttachedPackage package_;
};

// The bytes of the DIB section as they lie in memory, first row first.
struct DibLayout {
  int width = 0, height = 0, bitsPerPixel = 0;
  const std::uint8_t* bits = nullptr;
  int pitch = 0;
  const std::uint8_t* MemoryRow(int row) const { return bits + row * pitch; }
};

DibLayout Layout(HBITMAP bitmap) {
  DIBSECTION section{};
  EXPECT_EQ(GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section)) << "not a DIB section";
  return {section.dsBmih.biWidth, section.dsBmih.biHeight, section.dsBmih.biBitCount,
          static_cast<const std::uint8_t*>(section.dsBm.bmBits), section.dsBm.bmWidthBytes};
}

class PackageImages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testkit::StartGdiplus(); }
};

}  // namespace

TEST_F(PackageImages, RgbaKeepsStraightAlphaBottomUp) {
  // Top row: (255, 0, 0, 128) then opaque green; bottom row: transparent blue, then black at 7.
  const Bytes png = testkit::RgbaPng(2, 2, [](int x, int y) -> std::uint32_t {
    const std::uint32_t pixels[2][2] = {{0x80FF0000, 0xFF00FF00}, {0x000000FF, 0x07000000}};
    return pixels[y][x];
  });
  Pictures pictures({{"config/style.png", png}});
  DibImage image;
  ASSERT_EQ(LoadPackageImage(pictures.Package(), "config/style.png", &image), LoadOutcome::kLoaded);
  EXPECT_TRUE(image.HasAlpha());
  const DibLayout dib = Layout(image.Get());
  EXPECT_EQ(dib.bitsPerPixel, 32);
  EXPECT_EQ(dib.height, 2);  // positive: bottom-up
  const std::uint8_t* top = dib.MemoryRow(1);
  const std::uint8_t* bottom = dib.MemoryRow(0);
  EXPECT_EQ(Bytes(top, top + 8), (Bytes{0, 0, 255, 128, 0, 255, 0, 255}));
  EXPECT_EQ(Bytes(bottom, bottom + 8), (Bytes{255, 0, 0, 0, 0, 0, 0, 7}));
}

TEST_F(PackageImages, FormatsKeepOrConvertTheirDepth) {
  const Bytes palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
  struct Case {
    const char* what;
    PngSpec png;
    int bitsPerPixel;
    bool alpha;
  } cases[] = {
      {"RGB", {2, 1, 2, 8, {10, 20, 30, 40, 50, 60}, {}, {}}, 24, false},
      {"8-bit palette", {2, 1, 3, 8, {2, 1}, palette, {}}, 8, false},
      {"4-bit palette", {2, 1, 3, 4, {0x21}, palette, {}}, 4, false},
      {"palette with transparency", {2, 1, 3, 8, {2, 1}, palette, {0}}, 32, true},
      {"16-bit RGBA", {1, 1, 6, 16, {0xFF, 0xFF, 0, 0, 0, 0, 0x80, 0x00}, {}, {}}, 32, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pictures pictures({{"p.png", testkit::EncodePng(c.png)}});
    DibImage image;
    ASSERT_EQ(LoadPackageImage(pictures.Package(), "p.png", &image), LoadOutcome::kLoaded);
    EXPECT_EQ(Layout(image.Get()).bitsPerPixel, c.bitsPerPixel);
    EXPECT_EQ(image.HasAlpha(), c.alpha);
  }
}

TEST_F(PackageImages, PaletteBecomesTheColourTableWithItsFourthByteZero) {
  const PngSpec png{3, 1, 3, 8, {0, 1, 2}, {255, 0, 0, 0, 128, 0, 1, 2, 3}, {}};
  Pictures pictures({{"p.png", testkit::EncodePng(png)}});
  DibImage image;
  ASSERT_EQ(LoadPackageImage(pictures.Package(), "p.png", &image), LoadOutcome::kLoaded);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, image.Get());
  RGBQUAD table[256];
  const UINT count = GetDIBColorTable(dc, 0, 256, table);
  SelectObject(dc, old);
  DeleteDC(dc);
  ASSERT_GE(count, 3u);
  EXPECT_EQ((std::vector<int>{table[0].rgbRed, table[0].rgbGreen, table[0].rgbBlue, table[0].rgbReserved}),
            (std::vector<int>{255, 0, 0, 0}));
  EXPECT_EQ((std::vector<int>{table[2].rgbRed, table[2].rgbGreen, table[2].rgbBlue, table[2].rgbReserved}),
            (std::vector<int>{1, 2, 3, 0}));
  EXPECT_EQ(Bytes(Layout(image.Get()).MemoryRow(0), Layout(image.Get()).MemoryRow(0) + 3), (Bytes{0, 1, 2}));
}

TEST_F(PackageImages, BytesThatAreNoPngFailQuietlyAndAMissingMemberSaysSo) {
  Pictures pictures({{"config/logo.png", testkit::ToBytes("GIF89a not a png")}});
  DibImage image;
  EXPECT_EQ(LoadPackageImage(pictures.Package(), "config/logo.png", &image), LoadOutcome::kPictureUndecodable);
  std::unique_ptr<PackagePicture> picture;
  ASSERT_EQ(LoadPackagePicture(pictures.Package(), "config/logo.png", &picture), LoadOutcome::kLoaded);
  EXPECT_EQ(picture->Width(), 0u);
  EXPECT_EQ(picture->Height(), 0u);

  for (bool asPicture : {false, true}) {
    testkit::MessageBoxView box;
    testkit::AnswerMessageBox(IDOK, &box);
    const LoadOutcome loaded = asPicture ? LoadPackagePicture(pictures.Package(), "config/Logo.png", &picture)
                                         : LoadPackageImage(pictures.Package(), "config/Logo.png", &image);
    EXPECT_EQ(loaded, LoadOutcome::kPictureMissing);
    EXPECT_FALSE(ReportLoad(loaded));
    EXPECT_EQ(box.text, texts::kReadImageFailed);
    EXPECT_EQ(box.caption, texts::kStartupFailedCaption);
    EXPECT_EQ(box.owner, nullptr);
  }
}

TEST_F(PackageImages, APictureOfMoreThanAnEightKScreenIsTreatedAsNotDecoding) {
  // One bit a pixel keeps the file at a few megabytes; decoded it would be
  // four bytes a pixel.
  PngSpec huge{7681, 4320, 0, 1, Bytes(961 * 4320, 0xA5)};
  Pictures pictures({{"config/main1.png", testkit::EncodePng(huge)}});
  DibImage image;
  EXPECT_EQ(LoadPackageImage(pictures.Package(), "config/main1.png", &image), LoadOutcome::kPictureUndecodable);
  std::unique_ptr<PackagePicture> picture;
  ASSERT_EQ(LoadPackagePicture(pictures.Package(), "config/main1.png", &picture), LoadOutcome::kLoaded);
  EXPECT_EQ(picture->Width(), 0u);
  EXPECT_EQ(picture->Height(), 0u);
}

TEST_F(PackageImages, PictureHasThePngsSize) {
  Pictures pictures({{"config/main1.png", testkit::RgbaPng(30, 20, [](int, int) { return 0xFF102030u; })}});
  std::unique_ptr<PackagePicture> picture;
  ASSERT_EQ(LoadPackagePicture(pictures.Package(), "config/main1.png", &picture), LoadOutcome::kLoaded);
  EXPECT_EQ(picture->Width(), 30u);
  EXPECT_EQ(picture->Height(), 20u);
}

TEST(CutBitmap, CopiesTheRectangleExactlyWithAlpha) {
  testkit::StartGdiplus();
  auto source = [](int x, int y) -> std::uint32_t { return (x * 7 + y * 13) << 24 | x << 16 | y << 8 | (x ^ y); };
  Pictures pictures({{"s.png", testkit::RgbaPng(16, 12, source)}});
  DibImage image;
  ASSERT_EQ(LoadPackageImage(pictures.Package(), "s.png", &image), LoadOutcome::kLoaded);
  const int x = 3, y = 4, w = 5, h = 6;
  win::UniqueBitmap piece(CutBitmap(image.Get(), x, y, w, h));
  ASSERT_TRUE(piece);
  const DibLayout dib = Layout(piece.Get());
  ASSERT_EQ(dib.bitsPerPixel, 32);
  ASSERT_EQ(dib.width, w);
  ASSERT_EQ(std::abs(dib.height), h);
  for (int j = 0; j < h; ++j) {
    const std::uint8_t* row = dib.MemoryRow(dib.height > 0 ? h - 1 - j : j);
    for (int i = 0; i < w; ++i) {
      const std::uint32_t expected = source(x + i, y + j);
      const std::uint8_t* p = row + 4 * i;
      EXPECT_EQ(std::uint32_t{p[3]} << 24 | p[2] << 16 | p[1] << 8 | p[0], expected) << i << "," << j;
    }
  }
  EXPECT_EQ(CutBitmap(image.Get(), 0, 0, 0, 5), nullptr);
}
