// The file picker's remembered files and its boxes.
#include "engine/frame/globals.h"
#include "engine/run/picker.h"
#include "engine/run/run_fixture.h"
#include "platform/console.h"

namespace {

class PickerTest : public RunFixture {};

TEST_F(PickerTest, RememberedFiles) {
  std::vector<std::string> list;
  std::int32_t count = -1;
  POPFILES(list, count);  // no memofile yet
  ASSERT_EQ(count, 1);
  EXPECT_EQ(list[1], "C:\\");

  struct Case {
    const char* what;
    std::vector<std::string> old;
    std::string chosen;
    std::string written;
  } cases[] = {
      {"the chosen file on top", {"C:\\A.TXT", "C:\\B.TXT"}, "C:\\B.TXT", "C:\\B.TXT\r\nC:\\A.TXT\r\n"},
      {"letter case ignored", {"c:\\data\\pit3.txt"}, "C:\\DATA\\PIT3.TXT", "C:\\DATA\\PIT3.TXT\r\n"},
      {"a relative name drops its full path", {"c:\\data\\pit3.txt", "x"}, "pit3.txt", "pit3.txt\r\nx\r\n"},
      {"a name that only ends alike stays", {"C:\\JOBS\\DATA.TXT"}, "A.TXT", "A.TXT\r\nC:\\JOBS\\DATA.TXT\r\n"},
      {"an empty line stays an empty entry", {"", "y"}, "z", "z\r\n\r\ny\r\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> l{""};
    for (const auto& e : c.old) l.push_back(e);
    PUSHFILE(l, static_cast<std::int32_t>(c.old.size()), c.chosen);
    EXPECT_EQ(dir.read("memofile"), c.written) << c.what;
  }
  // 20 entries and a new one: 20 lines; a memofile of 95 lines (made by hand) is read up to 90.
  std::vector<std::string> twenty{""};
  for (int i = 1; i <= 20; ++i) twenty.push_back("F" + std::to_string(i));
  PUSHFILE(twenty, 20, "NEW");
  POPFILES(list, count);
  ASSERT_EQ(count, 20);
  EXPECT_EQ(list[1], "NEW");
  EXPECT_EQ(list[20], "F19");
  std::string many;
  for (int i = 1; i <= 95; ++i) many += "L" + std::to_string(i) + "\r\n";
  dir.write("memofile", many);
  POPFILES(list, count);
  EXPECT_EQ(count, 90);
  EXPECT_EQ(list[90], "L90");
}

TEST_F(PickerTest, Boxes) {
  auto& con = platform::console();
  struct Case {
    std::int32_t top, left, height, width;
    std::int32_t top_after, height_after, width_after;
    int first_row, last_row, first_col, last_col;
  } cases[] = {
      {5, 2, 4, 78, 5, 4, 78, 5, 8, 2, 79},
      {5, 2, 4, 80, 5, 4, 79, 5, 8, 2, 80},   // cut to column 80
      {24, 10, 5, 10, 23, 2, 10, 23, 24, 10, 19},  // moved up to row 23, two rows
      {3, 10, 0, 0, 3, 0, 0, 3, 4, 10, 11},   // edges and corners only
  };
  for (const auto& c : cases) {
    con.cls();
    std::int32_t top = c.top, left = c.left, height = c.height, width = c.width;
    DRAW1BOX(top, left, height, width);
    EXPECT_EQ(top, c.top_after);
    EXPECT_EQ(height, c.height_after);
    EXPECT_EQ(width, c.width_after);
    EXPECT_EQ(con.char_at(c.first_row, c.first_col), 201) << c.top;
    EXPECT_EQ(con.char_at(c.first_row, c.last_col), 187) << c.top;
    EXPECT_EQ(con.char_at(c.last_row, c.first_col), 200) << c.top;
    EXPECT_EQ(con.char_at(c.last_row, c.last_col), 188) << c.top;
  }
  // The bar: recoloured, characters kept; a negative entry paints the inverse pair and comes back positive.
  COLOURS(2, 1) = 14, COLOURS(2, 2) = 1;
  con.cls();
  con.locate(13, 1);
  con.print("   picked row", false);
  std::int32_t entry = -2;
  PAINTBOX(1, 1, 1, 76, 12, 2, entry);
  EXPECT_EQ(entry, 2);
  EXPECT_EQ(con.row_text(13).substr(0, 13), "   picked row");
  EXPECT_EQ(con.attr_at(13, 3), (14 << 4) | 1);  // foreground 1 on background 14
  EXPECT_EQ(con.attr_at(13, 79), 0x07);          // beyond column 78 untouched
  PAINTBOX(1, 1, 1, 76, 12, 2, entry);
  EXPECT_EQ(con.attr_at(13, 3), (1 << 4) | 14);
  std::int32_t same = 2;
  PAINTBOX(2, 1, 1, 76, 12, 2, same);  // last row before the first: nothing
}

}  // namespace
