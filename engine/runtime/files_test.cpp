// The numbered files: line ends, modes, errors, records, free numbers.
#include "engine/runtime/files.h"

#include <gtest/gtest.h>

#include "engine/runtime/error.h"
#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::set_console(std::make_unique<platform::BatchConsole>(25, false)); }
  void TearDown() override {
    rt::close_all();
    platform::set_console(nullptr);
  }
  TempDir dir;
  ScopedCwd cwd{dir.path()};
  BoxRecorder box;
};

TEST_F(FilesTest, LineInputAcceptsEveryLineEnd) {
  dir.write("mixed.txt", "one\r\ntwo\nthree\rfour\r\n\r\nlast");
  rt::Trap t("test.cpp", "T");
  int f = rt::FREEFILE();
  ASSERT_TRUE(rt::open_file(f, "MIXED.TXT", rt::FileMode::Input));  // found without regard to case
  std::vector<std::string> lines;
  std::string line;
  while (!rt::at_eof(f) && rt::line_input(f, line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four", "", "last"}));
  line = "unchanged";
  EXPECT_FALSE(rt::line_input(f, line));
  EXPECT_EQ(line, "unchanged");
  EXPECT_EQ(t.error(), 62);
}

TEST_F(FilesTest, InputItemsAreCommaSeparated) {
  // A quoted item holds commas and drops what follows its closing quote; a line end ends an item as a
  // comma does, so an empty line (or a comma at a line end) gives an empty item.
  dir.write("items.txt", "3\r\n\"a, b\" ,x\r\n  c,\r\n\r\nlast");
  rt::Trap t("test.cpp", "T");
  ASSERT_TRUE(rt::open_file(1, "items.txt", rt::FileMode::Input));
  std::vector<std::string> items;
  std::string item;
  while (rt::input_item(1, item)) items.push_back(item);
  EXPECT_EQ(items, (std::vector<std::string>{"3", "a, b", "x", "c", "", "", "last"}));
  EXPECT_EQ(item, "last");  // the failed read left it unchanged
  EXPECT_EQ(t.error(), 62);
  EXPECT_EQ(t.error_count(), 1);
}

TEST_F(FilesTest, OutputAppendAndErrors) {
  rt::Trap t("test.cpp", "T");
  int f = rt::FREEFILE();
  EXPECT_EQ(f, 1);
  ASSERT_TRUE(rt::open_file(f, "out.txt", rt::FileMode::Output));
  EXPECT_EQ(rt::FREEFILE(), 2);
  rt::print_line(f, "a");
  rt::close_file(f);
  ASSERT_TRUE(rt::open_file(f, "OUT.TXT", rt::FileMode::Append));  // appends to out.txt
  rt::print_line(f, "b", false);
  rt::close_file(f);
  EXPECT_EQ(dir.read("out.txt"), "a\r\nb");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "OUT.TXT"));

  struct Case {
    const char* name;
    rt::FileMode mode;
    int error;
  } cases[] = {{"missing.txt", rt::FileMode::Input, 53},
               {"nofolder\\x.txt", rt::FileMode::Output, 76},
               {"Q:\\x.txt", rt::FileMode::Input, 71}};
  for (const auto& c : cases) {
    rt::Trap inner("test.cpp", "T");
    EXPECT_FALSE(rt::open_file(3, c.name, c.mode));
    EXPECT_EQ(inner.error(), c.error) << c.name;
  }
  {
    rt::Trap inner("test.cpp", "T");
    ASSERT_TRUE(rt::open_file(4, "out.txt", rt::FileMode::Input));
    EXPECT_FALSE(rt::open_file(4, "out.txt", rt::FileMode::Input));
    EXPECT_EQ(inner.error(), 55);
  }
}

TEST_F(FilesTest, BinaryAndRandomRecords) {
  rt::Trap t("test.cpp", "T");
  ASSERT_TRUE(rt::open_file(1, "idx", rt::FileMode::Random, 4));
  rt::put_record(1, 3, "ABCD");
  rt::put_record(1, 1, "xy");
  std::string r;
  rt::get_record(1, 1, r);
  EXPECT_EQ(r, std::string("xy\0\0", 4));
  EXPECT_EQ(rt::LOF(1), 12);
  rt::close_file(1);
  ASSERT_TRUE(rt::open_file(1, "idx", rt::FileMode::Binary));
  rt::seek(1, 9);
  EXPECT_EQ(rt::get_bytes(1, 10), "ABCD");
  rt::seek(1, 2);
  rt::put_bytes(1, "Z");
  rt::seek(1, 1);
  EXPECT_EQ(rt::get_bytes(1, 2), "xZ");
  EXPECT_EQ(t.error(), 0);
}

}  // namespace
