#include "release/command_hook.h"

#ifdef _WIN32
#include <windows.h>

#include "branding/version_resource.h"
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

std::optional<std::vector<std::string>> HookWords(const std::string& command, const std::string& in,
                                                  const std::string& out) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (const char c : command) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) return std::nullopt;
  if (inWord) words.push_back(word);
  if (words.empty()) return std::nullopt;
  for (std::string& w : words)
    for (const auto& [mark, path] : {std::pair<std::string, const std::string&>{"{in}", in}, {"{out}", out}})
      for (std::size_t at = w.find(mark); at != std::string::npos; at = w.find(mark, at + path.size()))
        w.replace(at, mark.size(), path);
  return words;
}

#ifdef _WIN32
namespace {

// One argument as the C runtime's parser reads it back: as it is when it
// holds no white space or quote (so that cmd's own commands stay
// recognisable), else quoted, with backslashes before a quote doubled.
std::u16string Quoted(const std::u16string& arg) {
  if (!arg.empty() && arg.find_first_of(u" \t\"") == std::u16string::npos) return arg;
  std::u16string quoted = u"\"";
  std::size_t backslashes = 0;
  for (const char16_t c : arg) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, u'\\');
  return quoted + u"\"";
}

}  // namespace

std::optional<int> RunHook(const std::vector<std::string>& words, std::string* error) {
  std::u16string line;
  for (const std::string& word : words) {
    const auto wide = Utf8ToUtf16(word);
    if (!wide) {
      *error = "the command is not UTF-8 text";
      return std::nullopt;
    }
    line += (line.empty() ? u"" : u" ") + Quoted(*wide);
  }
  std::wstring buffer(line.begin(), line.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    *error = "\"" + words[0] + "\" could not be started (error " + std::to_string(GetLastError()) + ")";
    return std::nullopt;
  }
  WaitForSingleObject(process.hProcess, INFINITE);  // the operator's own signing step: it takes what it takes
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}
#else
std::optional<int> RunHook(const std::vector<std::string>& words, std::string* error) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (const int failed = posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ); failed != 0) {
    *error = "\"" + words[0] + "\" could not be started (" + std::to_string(failed) + ")";
    return std::nullopt;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) {
      *error = "\"" + words[0] + "\" could not be waited for";
      return std::nullopt;
    }
  if (!WIFEXITED(status)) {
    *error = "\"" + words[0] + "\" ended without an exit status (a signal)";
    return std::nullopt;
  }
  return WEXITSTATUS(status);
}
#endif
