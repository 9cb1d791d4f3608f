// The operator's own command run as a step of a release (Authenticode
// signing: "osslsigncode sign ... -in {in} -out {out}"). It is split into
// words here and started directly, without a shell, so that a path with
// spaces or quotes in it stays one argument.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Words separated by white space; double quotes group words and are
// dropped; {in} and {out} anywhere in a word become the two paths. Nothing
// when a quote is left open or the command is empty.
std::optional<std::vector<std::string>> HookWords(const std::string& command, const std::string& in,
                                                  const std::string& out);

// Runs the program (looked up on the PATH when it names no folder) and
// waits for it; its exit status, or nothing with `error` when it could not
// be started or did not end normally. Its output goes where the tool's does.
std::optional<int> RunHook(const std::vector<std::string>& words, std::string* error);
