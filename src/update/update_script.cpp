#include "update/update_script.h"

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
  const std::string exe = Quoted(exePath);
  const std::string fresh = Quoted(newPath);
  std::string script = "@ping 127.0.0.1 -n 2 -w 1000 > nul ";
  script += kLineEnd;
  script += EscapeForScript("move /y " + fresh + " " + exe + " || attrib -r " + exe, isLeadByte);
  script += kLineEnd;
  script += EscapeForScript("if exist " + fresh + " move /y " + fresh + " " + exe, isLeadByte);
  script += kLineEnd;
  script += EscapeForScript(exe, isLeadByte);
  script += kLineEnd;
  return script;
}
