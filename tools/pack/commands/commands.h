// The tool's commands, each given its parsed command line and the streams
// for its report (out) and its complaints (err); each returns an ExitStatus.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "commands/command_line.h"
#include "commands/exit_status.h"

int RunPack(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunRelease(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunVerifyServer(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunCheck(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunInspect(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunPreview(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunKeys(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunSchema(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunInit(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunKeygen(const CommandLine& line, std::ostream& out, std::ostream& err);
int RunSign(const CommandLine& line, std::ostream& out, std::ostream& err);

struct OperatorKey;
// Writes `exe` + ".sig" with the signature of `bytes` (the exe's content).
bool WriteSignatureFile(const std::string& exe, std::string_view bytes, const OperatorKey& key, std::ostream& out,
                        std::string* error);
