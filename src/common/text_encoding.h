// The encoding of a skin's texts. The configuration has always been GBK; a
// skin for players beyond Chinese declares UTF-8 ([global] textEncoding), so
// that it can spell any language. Everything the launcher does with a text
// (cutting it to its field, showing it, comparing it with an address a
// page gives) follows the skin's encoding.
#pragma once

#include <optional>
#include <string_view>

enum class TextEncoding { kGbk, kUtf8 };

// The value of [global] textEncoding: "utf-8" in any letter case is UTF-8,
// "gbk" in any letter case or nothing is GBK. Any other value is none of
// them.
std::optional<TextEncoding> ParseTextEncoding(std::string_view value);
// The encoding a skin with `value` gets. A value that names no encoding
// leaves the texts GBK, as every skin before the key was: the launcher
// shows what such a skin has always shown.
TextEncoding TextEncodingOf(std::string_view value);
