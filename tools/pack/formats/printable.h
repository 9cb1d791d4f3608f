// Texts that come from a skin or a package (member names, configuration
// values) reach the operator's terminal. An exe from elsewhere could carry
// escape sequences in them that drive the terminal, so they are printed with
// every control character written out as \xNN.
#pragma once

#include <string>
#include <string_view>

// The text with C0 controls, DEL and the C1 controls (U+0080 to U+009F, as
// UTF-8) escaped; everything else, backslashes included, as it is.
std::string Escaped(std::string_view utf8);
