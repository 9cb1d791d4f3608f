// Branding: the launcher's program file with a skin package appended.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where the program's image ends, which is where the launcher looks for its
// package; nothing when the file is not a whole 32-bit Windows program
// ("MZ" and "PE" signatures, a section table, sections inside the file).
std::optional<std::uint64_t> ProgramImageEnd(std::string_view program);

// The program followed by `zip`. With `replace`, whatever already follows
// the image is cut first, so that branding again does not grow the exe;
// without, the new archive goes after the old one, and being last it is the
// one read.
std::string AppendPackage(std::string_view program, std::uint64_t imageEnd, std::string_view zip, bool replace);
