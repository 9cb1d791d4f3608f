// The package appended to the program file: one or more zip archives after
// the executable image, of which the last is read. The archive is read
// straight out of the caller's bytes (the mapped program file), which must
// stay valid while the package is open.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

enum class PackageOpenResult {
  kOpened,
  kNothingAppended,  // no bytes after the executable image
  kNotAnArchive,     // the appended bytes (or the image headers) cannot be read
};

// A member's data lies inside the package; deflate cannot expand data by
// more than about 1032 to 1, and stored data is its own size. A member that
// claims more is damaged or hostile, and no buffer of that size is allocated.
bool MemberSizeIsPlausible(std::uint32_t method, std::uint64_t compressedSize, std::uint64_t uncompressedSize,
                           std::uint64_t packageSize);

class AttachedPackage {
 public:
  AttachedPackage();
  ~AttachedPackage();
  AttachedPackage(const AttachedPackage&) = delete;
  AttachedPackage& operator=(const AttachedPackage&) = delete;

  // `file` is the whole program file. Opens the last archive appended to it.
  PackageOpenResult Open(std::span<const std::uint8_t> file);
  // The bytes are read long after Open: a temporary would be gone by then.
  PackageOpenResult Open(std::vector<std::uint8_t>&&) = delete;

  // Exact, case-sensitive lookup of a member name ("/" and "\" differ); the
  // first of equal names wins. Names of 256 bytes or more are never found.
  // On success gives the member's index and its uncompressed size; a
  // successful lookup ends any extraction in progress.
  bool FindMember(const char* name, int* index, std::uint32_t* size);

  // Writes up to `size` uncompressed bytes of member `index` into `buffer`.
  // Returns the count written or -1. While bytes come out, the member stays
  // open and a further call goes on where this one stopped.
  long ExtractMember(int index, void* buffer, std::uint32_t size);

  // The member's whole uncompressed content, found and extracted once into a
  // buffer of its size. A member that cannot be inflated whole counts as
  // missing: its callers then say so instead of using a damaged file.
  // Members larger than kMaxWholeMemberBytes are not read: kNoMemory.
  enum class ReadResult { kRead, kMissing, kNoMemory };
  static constexpr std::uint32_t kMaxWholeMemberBytes = 64u << 20;
  ReadResult ReadMember(const char* name, std::vector<char>* content);

  // Names of the readable members, in the central directory's order.
  const std::vector<std::string>& MemberNames() const { return names_; }

 private:
  struct Archive;
  void CloseCurrentMember();

  std::unique_ptr<Archive> archive_;
  std::vector<std::string> names_;
  int currentMember_ = -1;
};
