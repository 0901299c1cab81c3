// The remap table of word-processor text: the shipped file is made from its source, and it turns
// the characters of Windows-1252 into those of code page 437 without putting in any mark-up.
#include <gtest/gtest.h>

#include <stdexcept>

#include "remapfile.h"
#include "testsupport.h"

using testing_support::data_dir;
using testing_support::read_file;

namespace {

TEST(RemapFile, ShippedTableIsMadeFromItsSource) {
  const std::string table = remapfile::remap_table(read_file(data_dir() / "src" / "wordpad.txt"));
  EXPECT_EQ(table, read_file(data_dir() / "wordpad.dat")) << "run build/tools/makeremap";

  // The layout the engine reads: a count, two bytes, the codes to replace, two bytes, their partners.
  ASSERT_GE(table.size(), 5u);
  const size_t n = static_cast<unsigned char>(table[0]);
  ASSERT_EQ(table.size(), 1 + 2 + n + 2 + n);
  const std::string from = table.substr(3, n), to = table.substr(3 + n + 2, n);
  auto remapped = [&](unsigned char c) {
    const size_t i = from.find(static_cast<char>(c));
    return i == std::string::npos ? c : static_cast<unsigned char>(to[i]);
  };
  // Quotes and dashes to plain characters; letters and signs to their code-page 437 codes.
  const struct {
    unsigned char windows, cp437;
  } pairs[] = {{0x93, '"'}, {0x94, '"'}, {0x91, '\''}, {0x92, '\''}, {0x96, '-'}, {0x97, '-'},
               {0x85, '.'}, {0x95, 0xF9}, {0xB0, 0xF8}, {0xE9, 0x82}, {0xE8, 0x8A}, {0xFC, 0x81},
               {0xDF, 0xE1}, {0xC7, 0x80}, {0xF1, 0xA4}, {0xC0, 'A'}, {0xB4, '\''}, {0xA0, ' '}};
  for (const auto& p : pairs) EXPECT_EQ(remapped(p.windows), p.cp437) << std::hex << int(p.windows);
  // Plain ASCII is never touched, and nothing becomes a mark-up or control character.
  for (unsigned char c : from) EXPECT_GE(c, 0x80) << int(c);
  for (unsigned char c : to) {
    EXPECT_GE(c, 0x20) << int(c);
    EXPECT_EQ(std::string("^~`|_{}#$\\").find(static_cast<char>(c)), std::string::npos) << int(c);
  }
}

TEST(RemapFile, MalformedSources) {
  for (const char* source : {"93\n", "9 22\n", "93 2G\n", "93 22\n93 27\n"})
    EXPECT_THROW(remapfile::remap_table(source), std::runtime_error) << source;
}

}  // namespace
