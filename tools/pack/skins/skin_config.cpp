#include "skins/skin_config.h"

std::unique_ptr<SkinConfig> ReadSkinConfig(SkinSource& skin) {
  auto text = skin.Read(kConfigMember);
  if (!text) return nullptr;
  auto config = std::make_unique<SkinConfig>();
  config->text = std::move(*text);
  if (!config->document.Load(config->text.data(), config->text.size())) return nullptr;
  config->accepted = BuildConfig(config->document, &config->model);
  return config;
}
