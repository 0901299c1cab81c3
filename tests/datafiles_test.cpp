// The engine folder's hand-written data files: the standard SET file and the prompt file, checked by
// their layouts and against what the engine's code uses of them.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "testsupport.h"
#include "tools/embedded_data.h"

namespace fs = std::filesystem;
using testing_support::data_dir;
using testing_support::read_file;
using testing_support::source_dir;

namespace {

// The lines of a file whose every line ends in CR LF (a bare LF or CR, or a last line without its end,
// fails the test).
std::vector<std::string> crlf_lines(const std::string& bytes, const std::string& what) {
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < bytes.size()) {
    size_t end = bytes.find("\r\n", from);
    if (end == std::string::npos) {
      ADD_FAILURE() << what << ": last line without CR LF";
      break;
    }
    std::string line = bytes.substr(from, end - from);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << what << " line " << lines.size() + 1;
    lines.push_back(line);
    from = end + 2;
  }
  return lines;
}

TEST(StandardSet, IsTheTemplateByteForByte) {
  const std::string bytes = read_file(data_dir() / "STANDARD.SET");
  EXPECT_EQ(embedded_data::kStandardSet, bytes) << "the built-in copy is made from the file";
  const auto lines = crlf_lines(bytes, "STANDARD.SET");
  ASSERT_EQ(lines.size(), 116u);
  const std::string rule(76, '-');
  for (int i : {0, 2, 5, 44, 71, 91, 113, 115}) EXPECT_EQ(lines[static_cast<size_t>(i)], rule) << i;
  for (int i : {6, 41, 43, 45, 49, 51, 62, 68, 70, 72, 74, 79, 86, 90, 92, 96, 112})
    EXPECT_EQ(lines[static_cast<size_t>(i)], "") << i;
  EXPECT_EQ(lines[1], "STANDARD.SET");
  EXPECT_EQ(lines[114], "END OF STANDARD.SET");
  for (int i : {7, 97}) EXPECT_EQ(lines[static_cast<size_t>(i)], "BEGIN");
  for (int i : {42, 111}) EXPECT_EQ(lines[static_cast<size_t>(i)], "END");
  // Item lines: the "=" column and the value before it.
  auto eq_column = [&](int i) { return lines[static_cast<size_t>(i)].find('=') + 1; };
  for (int i = 8; i <= 40; ++i) EXPECT_EQ(eq_column(i), 41u) << "line " << i;
  for (int i : {98, 99}) EXPECT_EQ(eq_column(i), 37u) << "line " << i;
  for (int i = 100; i <= 110; ++i) EXPECT_EQ(eq_column(i), i == 106 ? 35u : 36u) << "line " << i;
  const std::map<int, std::string> values{
      {8, "PROMPTS .ENG"}, {9, "PROVOCAB.ENG"}, {11, "C:\\VLXFILES"}, {13, "A4"}, {25, "LOGOJ LOGO0"},
      {26, "-200      0"}, {31, "LJ4"}, {32, "HELVMU.MET"}, {33, "/027(10U/027(s1p10v0s0b4148T"},
      {35, "/027(10U/027(s1p10v0s3b4148T"}, {36, "HELVMI.MET"}, {37, "/027)10U/027)s1p8v1s0b4148T"},
      {99, "ENG"}, {100, "`"}, {106, "\""}, {110, "|"}};
  for (const auto& [i, v] : values) {
    const std::string& line = lines[static_cast<size_t>(i)];
    std::string value = line.substr(0, line.find('='));
    value.erase(value.find_last_not_of(' ') + 1);
    EXPECT_EQ(value, v) << "line " << i;
  }
  // The font files it names are in its font folder.
  for (const char* met : {"HELVMU.MET", "HELVBU.MET", "HELVMI.MET"}) EXPECT_TRUE(fs::exists(data_dir() / "LJ4" / met));
}

}  // namespace
