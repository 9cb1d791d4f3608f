// Rules for addresses that come from a configuration or a page and leave the
// launcher: handed to the game window, or to the shell to open.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Whether `text` begins with `prefix`, ASCII letters compared without case.
// `prefix` is given in lower case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// A web page's address: "http://" or "https://" in any letter case. Only
// such addresses may come from a page to the game window or the shell: a
// "file:", "javascript:" or UNC address would run or open something local.
bool IsWebAddress(std::string_view address);

// The address as the shell gets it: nothing when it holds a control
// character (a line break could end the text a command line sees), and
// spaces and double quotes percent-encoded, so the shell never splits it or
// ends its quoting early. Other bytes, GBK included, are kept as they are.
std::optional<std::string> ShellAddress(std::string_view address);
// The same for an address in UTF-16, as a page gives it: characters beyond
// ASCII are kept as they are.
std::optional<std::wstring> ShellAddress(std::wstring_view address);
