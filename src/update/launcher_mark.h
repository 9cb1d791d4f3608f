// The mark that only the launcher's own image carries: a section of its own
// in the program file, made by the launcher's entry file and by nothing else
// built from these sources (launcher-pack and the test programs share the
// core, and so these bytes, but not the section). An update must carry it:
// another program with a launcher's package appended, a console tool
// uploaded in the launcher's place, is never installed.
#pragma once

#include <array>

// A section header's name holds 8 bytes; a longer one would live in the
// symbol table, which the stripped product has not.
inline constexpr char kLauncherMarkSection[] = ".lmark";

// What the section's raw data begins with.
inline constexpr std::array<char, 16> kLauncherMark = {'b', 'r', 'o', 'w', 's', 'e', 'r', '-',
                                                       'l', 'a', 'u', 'n', 'c', 'h', 'e', 'r'};
