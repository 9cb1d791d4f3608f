// How long opening the package and reading config/cg.txt takes, on a small
// package and on a large one (a big unrelated member inside). The launcher
// reads its directory and one member straight out of the mapped file, so
// the cost must not grow with the package.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "package/attached_package.h"
#include "zip_builder.h"

namespace {

testkit::Bytes ProgramWithPackage(std::size_t filler) {
  std::string noise(filler, '\0');
  std::mt19937 random(42);
  for (char& c : noise) c = static_cast<char>(random());
  const std::string config = testkit::MinimalConfig("title=bench\r\n");
  return testkit::Concat({testkit::MakePeImage(),
                          testkit::ZipBuilder().Add("data/big.bin", noise, false).Add("config/cg.txt", config).Build()});
}

// Median, minimum and maximum in microseconds of `runs` opens and reads.
void Measure(const char* label, std::size_t filler, int runs) {
  const testkit::Bytes file = ProgramWithPackage(filler);
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    AttachedPackage package;
    std::vector<char> content;
    if (package.Open(file) != PackageOpenResult::kOpened ||
        package.ReadMember("config/cg.txt", &content) != AttachedPackage::ReadResult::kRead) {
      std::printf("%s: the package did not open\n", label);
      return;
    }
    times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  std::printf("%-24s %10zu bytes   median %8.1f us   min %8.1f us   max %8.1f us\n", label, file.size(),
              times[times.size() / 2], times.front(), times.back());
}

}  // namespace

int main() {
  std::printf("OpenPackage + config/cg.txt, %d runs each\n", 51);
  Measure("1 MB package", 1u << 20, 51);
  Measure("200 MB package", 200u << 20, 51);
  return 0;
}
