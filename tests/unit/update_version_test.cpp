#include "update/update_version.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string kBom = "\xEF\xBB\xBF";  // UTF-8's byte-order mark
}  // namespace

TEST(ParseVersion, SplitsAtDotsAndReadsTheFirstTwoNumbersLikeAtoi) {
  using namespace std::string_literals;
  struct Case {
    std::string text;
    Version version;
  } cases[] = {
      {"1.01", {1, 1}},
      {"1.30", {1, 30}},
      {"1.4", {1, 4}},
      {"2", {2, 0}},
      {".5", {5, 0}},    // a leading dot gives no empty token
      {"1..2", {1, 2}},  // a run of dots is one separator
      {"1.2.", {1, 2}},
      {"1.2.3.4", {1, 2}},
      {"...", {0, 0}},
      {"", {0, 0}},
      {kBom + "1.02", {0, 2}},  // a byte-order mark is not a digit
      {"v1.2", {0, 2}},
      {" 3. +4", {3, 4}},  // white space and a sign before each number
      {"-1.-2", {-1, -2}},
      {"1x.2y", {1, 2}},
      {"1\0.5"s, {1, 0}},  // the text ends at a zero byte
      {"99999999999.1", {2147483647, 1}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseVersion(c.text), c.version) << '"' << c.text << '"';
}

TEST(IsNewerVersion, ComparesMajorThenMinorAsSignedNumbers) {
  struct Case {
    std::string local;
    std::string remote;
    bool newer;
  } cases[] = {
      {"1.30", "1.4", false},  // 4 < 30
      {"1.01", "1.1", false},  // the same version
      {"1.01", "1.02", true},       {"1.99", "2", true},
      {"2", "1.99", false},         {"1.01", kBom + "1.02", false},  // the mark makes major 0
      {"0.0", kBom + "1.02", true}, {"", "0.1", true},
      {"1.-1", "1.0", true},        {"-1.0", "0.0", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsNewerVersion(ParseVersion(c.local), ParseVersion(c.remote)), c.newer) << c.local << " -> " << c.remote;
}

TEST(VersionLine, IsTheFirstLineOfAtMost126Bytes) {
  const std::string long128(128, '7');
  struct Case {
    std::string fileStart;
    std::string line;
  } cases[] = {
      {"1.02\r\n", "1.02"},
      {"1.02\n2.00\n", "1.02"},
      {"1.02\r", "1.02"},
      {"\r\n1.02", ""},
      {"", ""},
      {"1.02", "1.02"},
      {long128, std::string(126, '7')},
      {std::string(125, ' ') + "1\r\n", std::string(125, ' ') + "1"},
  };
  for (const Case& c : cases) EXPECT_EQ(VersionLine(c.fileStart), c.line) << '"' << c.fileStart << '"';
  EXPECT_EQ(ParseVersion(VersionLine("1.02\r\n")), (Version{1, 2}));
}
