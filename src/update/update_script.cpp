#include "update/update_script.h"

#include "update/update_files.h"

namespace {

constexpr char kLineEnd[] = "\r\n";

// Doubles backslashes, and percent signs so that cmd.exe does not expand
// them; the bytes of a double-byte character are copied as they are.
std::string EscapeForScript(std::string_view text, LeadByteRule isLeadByte) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (isLeadByte(static_cast<unsigned char>(c)) && pos + 1 < text.size()) {
      out += c;
      out += text[++pos];
      continue;
    }
    if (c == '\\' || c == '%') out += c;
    out += c;
  }
  return out;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  out += text;
  out += '"';
  return out;
}

}  // namespace

std::string BuildUpdateScript(std::string_view exePath, std::string_view newPath, LeadByteRule isLeadByte) {
  const std::size_t slash = LastCharacter(exePath, '\\', isLeadByte);
  const std::string_view exeName = slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
  std::string backupPath;
  if (slash != std::string_view::npos) backupPath.assign(exePath.substr(0, slash + 1));
  backupPath += kBackupExeName;

  // The new file replaces the program in one step, so that a script stopped
  // anywhere (killed, the machine switched off) leaves a program that
  // starts. A program file still in use (a second launcher open) cannot be
  // replaced, only renamed: then the old file is renamed away and the new one
  // takes its name, and when that is refused too (a virus scanner still
  // reading the download) the old file gets its name back. On the first path
  // the third line finds nothing to rename and does nothing.
  std::string script = "@ping 127.0.0.1 -n 2 -w 1000 > nul ";
  script += kLineEnd;
  script += EscapeForScript("move /y " + Quoted(newPath) + " " + Quoted(exePath) + " || rename " + Quoted(exePath) +
                                " " + Quoted(kBackupExeName),
                            isLeadByte);
  script += kLineEnd;
  script += EscapeForScript("rename  " + Quoted(newPath) + " " + Quoted(exeName) + " || rename " + Quoted(backupPath) +
                                " " + Quoted(exeName),
                            isLeadByte);
  script += kLineEnd;
  script += EscapeForScript(Quoted(exePath), isLeadByte);
  script += kLineEnd;
  return script;
}
