// Fixtures for launcher-pack's tests: a small skin that checks clean, built
// in memory, with its pictures in distinct colours so that previews can be
// read pixel by pixel; temporary folders; the tool run in-process.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "rgba_image.h"
#include "zip_writer.h"

namespace packtest {

// Colours of the clean skin's pictures.
inline constexpr Rgba kBackground{10, 20, 30, 255};
inline constexpr Rgba kButtonNormal{200, 0, 0, 255};
inline constexpr Rgba kButtonPressed{100, 0, 0, 255};
inline constexpr Rgba kGameButtonNormal{0, 200, 0, 255};
inline constexpr Rgba kLogo{250, 250, 0, 255};
inline constexpr Rgba kLoginFill{1, 2, 3, 255};  // loginCenterColor=197121
Rgba PieceColour(int piece);                     // frame piece 1..8

std::string SolidPng(int width, int height, Rgba colour);

// The clean skin: a 100 x 80 login window with a browser area at (10, 10)
// of 60 x 40 and one button (link 2) at (70, 10) of 20 x 20; a sprite sheet
// with the eight frame pieces and one close button (sprite 9, 10 x 8,
// interval 1) at x -14, y 2; a logo of 8 x 8 at (1, 1).
std::string CleanConfig();
std::vector<SkinFile> CleanSkin();
// The clean skin with config/cg.txt replaced.
std::vector<SkinFile> SkinWithConfig(const std::string& config);
// The clean skin with one member replaced, or removed when `content` is empty.
std::vector<SkinFile> SkinWithMember(const std::string& name, const std::string& content);

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, const std::string& content);
std::string ReadFile(const std::filesystem::path& path);
void WriteSkin(const std::filesystem::path& folder, const std::vector<SkinFile>& files);
// A launcher stand-in: a PE image of `size` bytes with nothing appended.
std::string LauncherImage(std::uint32_t size = 4096);

struct RunResult {
  int status = -1;
  std::string out, err;
};
RunResult Run(const std::vector<std::string>& args);

}  // namespace packtest
