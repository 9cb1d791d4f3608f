// The central directory of the archive the launcher reads, walked by the
// tool itself for what minizip does not tell the launcher's reader: how each
// member was compressed and whether it is encrypted. The archive is found as
// the launcher finds it: the last end record in the package's last 65,535
// bytes, its offsets counted from where that archive begins.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ZipDirectoryEntry {
  std::string name;
  std::uint16_t method = 0;
  std::uint16_t flags = 0;
};

// The entries in stored order; as many as could be read.
std::vector<ZipDirectoryEntry> ReadZipDirectory(std::string_view package);

// Why the launcher cannot read the member ("compressed with BZip2 (method
// 12)", "encrypted"), or empty when it can: it inflates only stored and
// deflated members and knows no password.
std::string UnreadableBecause(const ZipDirectoryEntry& entry);
