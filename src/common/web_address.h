// Rules for addresses that come from a configuration or a page and leave the
// launcher: handed to the game window, or to the shell to open.
#pragma once

#include <string>
#include <string_view>

// Whether `text` begins with `prefix`, ASCII letters compared without case.
// `prefix` is given in lower case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// A web page's address: "http://" or "https://" in any letter case. Only
// such addresses may come from a page to the game window or the shell: a
// "file:", "javascript:" or UNC address would run or open something local.
bool IsWebAddress(std::string_view address);

// Whether the shell may be given `link` at all: never with a control
// character, which could end the text a command line sees (a line break)
// wherever it stands. Nothing else is changed or refused: a configured link
// is the operator's and goes to the shell as written, a local file or a
// program under a folder whose name holds spaces included.
bool ShellMayOpen(std::wstring_view link);

// An address a page supplies, as a button keeps it for the shell: spaces and
// double quotes percent-encoded, so that a program the shell starts for it
// never splits it or ends its quoting early. Every other character, beyond
// ASCII too, is kept as it is (control characters are refused when the
// link is opened).
std::wstring EncodePageAddress(std::wstring_view address);
