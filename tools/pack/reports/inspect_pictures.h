// The package's pictures and their @2x forms, with the sizes their headers
// announce, as inspect lists them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "package/picture_size.h"
#include "skins/skin_source.h"

struct DoubleSizeForm {
  std::string name;                 // "config/logo@2x.png"
  std::optional<PictureSize> size;  // nothing when its header cannot be read
  bool fits = false;                // exactly twice the 1x picture each way: the launcher can show it
};

struct PictureForms {
  std::string name;  // the 1x picture's, "config/logo.png"
  bool present = false;
  std::optional<PictureSize> size;
  std::optional<DoubleSizeForm> doubleSize;
};

// Every picture of the package (a member named "*.png") with its @2x form,
// each @2x form listed with its 1x picture, or alone, in the package's
// order.
std::vector<PictureForms> ListPictureForms(SkinSource& skin);
