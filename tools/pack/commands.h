// The tool's commands, each given its parsed command line and the streams
// for its report (out) and its complaints (err); each returns an ExitStatus.
#pragma once

#include <ostream>

#include "command_line.h"
#include "exit_status.h"

int RunPack(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunCheck(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunInspect(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunPreview(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunKeys(const CommandLine& line, std::ostream& out, std::ostream& err);
