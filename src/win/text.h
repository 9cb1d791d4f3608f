// The launcher's texts and the system. Every text of the configuration, of
// the package and of the program itself is GBK (code page 936) whatever the
// system's own code page is, so it is converted here, explicitly, to the
// UTF-16 of the wide functions and back: a player on an English, Korean or
// Japanese Windows sees the same Chinese as one on a Chinese Windows. Paths
// are taken from and given to the system in UTF-16 too, and carried as UTF-8
// by the platform-free code, so that a folder in letters the ANSI code page
// lacks works like any other.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

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

// Asks `text` (GBK) with OK and Cancel, Cancel the default, system- and
// task-modal (style 0x3101), as every question of the launcher does; true
// when the answer is OK.
bool AskOkCancel(HWND owner, std::string_view text, std::wstring_view caption);

// A message box with the GBK `text` and `caption`.
int ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT style);

}  // namespace win
