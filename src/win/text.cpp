#include "win/text.h"

#include <windows.h>

#include "common/text.h"
#include "update/update_files.h"

namespace win {

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

std::string ProgramFileTitle() {
  char path[kMaxPath] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return {};
  return ProgramTitle(std::string_view(path, length), IsSystemLeadByte);
}

}  // namespace win
