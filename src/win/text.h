// The launcher's texts and the system. Every text of the configuration and
// of the package is GBK (code page 936) whatever the system's own code page
// is, or UTF-8 where the skin declares it ([global] textEncoding); the
// program's own texts are GBK. They are converted here, explicitly, to the
// UTF-16 of the wide functions and back: a player on an English, Korean or
// Japanese Windows sees the same Chinese as one on a Chinese Windows, and a
// UTF-8 skin shows any language on any Windows. Paths
// are taken from and given to the system in UTF-16 too, and carried as UTF-8
// by the platform-free code, so that a folder in letters the ANSI code page
// lacks works like any other.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "common/text_encoding.h"

namespace win {

inline constexpr UINT kGbkCodePage = 936;

// GBK bytes as UTF-16. A byte sequence that is no GBK character becomes
// the replacement character; the text never shrinks to nothing for it.
std::wstring WideFromGbk(std::string_view text);
// UTF-16 as GBK bytes. A character GBK lacks becomes its default character
// "?", never a look-alike ("best fit"): a page's division slash must not
// turn into a slash that changes what an address does.
std::string GbkFromWide(std::wstring_view text);
std::string GbkFromWide(std::u16string_view text);
// The number of bytes GbkFromWide gives for `text`.
std::size_t GbkLength(std::u16string_view text);

// UTF-8 as UTF-16 and back; text that is not UTF-8 (or not UTF-16) gives
// the empty text: a path must never name another file.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
// A skin's text as UTF-16, from the encoding the skin declares: GBK as
// WideFromGbk, UTF-8 with a replacement character for each bad run of
// bytes (Utf16FromUtf8). This is the one way a configured text reaches the
// screen.
std::wstring WideFromSkin(std::string_view text, TextEncoding encoding);
// UTF-16 from a page or the browser as a skin's text bytes, to compare with
// or join to the configured texts: GbkFromWide, or UTF-8 with nothing lost.
std::string SkinFromWide(std::wstring_view text, TextEncoding encoding);
std::string SkinFromWide(std::u16string_view text, TextEncoding encoding);

// A configuration text (GBK) as UTF-8, for a file name taken from it.
std::string Utf8FromGbk(std::string_view text);

// The lead-byte rule of the system's ANSI code page.
bool IsSystemLeadByte(unsigned char byte);

// The program file's name without directory and extension ("Launcher") in
// the system's ANSI code page: the HTTP user agent.
std::string ProgramFileTitle();
// The same name as the system holds it, in UTF-16: the caption of the
// launcher's questions, so that a Chinese file name shows on any system.
std::wstring ProgramCaption();

// Asks `text` with OK and Cancel, Cancel the default, system- and
// task-modal (style 0x3101), as every question of the launcher does; true
// when the answer is OK.
bool AskOkCancel(HWND owner, std::wstring_view text, std::wstring_view caption);

// A message box with the GBK `text` and `caption`.
int ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT style);

}  // namespace win
