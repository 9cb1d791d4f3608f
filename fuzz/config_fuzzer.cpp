// The input is a configuration file: parsed, then built into the model, then
// every lookup the launcher makes is repeated on the document.
#include <cstdint>

#include "package/ini_document.h"
#include "package/launcher_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IniDocument document;
  if (!document.Load(reinterpret_cast<const char*>(data), size)) return 0;
  LauncherConfig config;
  BuildConfig(document, &config);
  for (const KeyInfo& key : ConfigKeys()) {
    document.GetString(key.section, key.key, "");
    document.GetInt(key.section, key.key, 0);
  }
  return 0;
}
