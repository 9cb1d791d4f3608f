// launcher-pack as a function: what main runs, and what the tests run
// without starting a process.
#pragma once

#include <ostream>
#include <span>
#include <string>

// `args` without the program's name, in UTF-8. Returns the exit status.
int RunLauncherPack(std::span<const std::string> args, std::ostream& out, std::ostream& err);
