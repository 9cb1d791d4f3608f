// The input is a configuration file: parsed, then built into the model, then
// every lookup the launcher makes is repeated on the document. The title, as
// a UTF-8 skin shows it, becomes UTF-16 and, where it is UTF-8 throughout,
// the same bytes again.
#include <cstdint>

#include "common/utf8.h"
#include "package/ini_document.h"
#include "package/launcher_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IniDocument document;
  if (!document.Load(reinterpret_cast<const char*>(data), size)) return 0;
  LauncherConfig config;
  BuildConfig(document, &config);
  const std::u16string shown = Utf16FromUtf8(config.title);
  if (!FirstInvalidUtf8(config.title) && Utf8FromUtf16(shown) != config.title) __builtin_trap();
  if (shown.size() > config.title.size()) __builtin_trap();
  for (const KeyInfo& key : ConfigKeys()) {
    document.GetString(key.section, key.key, "");
    document.GetInt(key.section, key.key, 0);
  }
  return 0;
}
