#include "browser/page_arguments.h"

std::vector<std::string> SplitPageArguments(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= text.size() && pieces.size() < kMaxPageArguments) {
    std::size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) pieces.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

std::optional<std::string> PageEventText(int code, int x, int y) {
  if (y < 0) return std::nullopt;
  return std::to_string(code) + "," + std::to_string(x) + "," + std::to_string(y);
}
