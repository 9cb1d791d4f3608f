#include "skins/skin_pictures.h"

#include "formats/png_codec.h"

const SkinPicture& SkinPictures::Get(const std::string& name) {
  auto found = cache_.find(name);
  if (found != cache_.end()) return found->second;
  SkinPicture picture;
  if (auto bytes = skin_.Read(name)) {
    picture.present = true;
    picture.image = DecodePng(*bytes, &picture.error);
  }
  return cache_.emplace(name, std::move(picture)).first->second;
}
