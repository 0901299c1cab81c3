// The console model: printing, wrapping, scrolling, colours and pages.
#include "platform/console.h"

#include <gtest/gtest.h>

TEST(ConsoleTest, PrintWrapScrollAndColours) {
  platform::BatchConsole con(5, false);
  con.color(14, 1);
  con.color(-1, 20);  // outside 0..15 leaves both halves
  EXPECT_EQ(con.foreground(), 14);
  EXPECT_EQ(con.background(), 1);
  con.locate(1, 79);
  con.print("abc", false);  // wraps after column 80
  EXPECT_EQ(con.char_at(1, 80), 'b');
  EXPECT_EQ(con.char_at(2, 1), 'c');
  EXPECT_EQ(con.attr_at(2, 1), 0x1E);
  con.locate(0, 99);  // both outside: cursor stays
  EXPECT_EQ(con.cursor_row(), 2);
  EXPECT_EQ(con.cursor_col(), 2);
  con.locate(5, 1);
  con.print("bottom", true);  // a line end on the last row scrolls the page
  EXPECT_EQ(con.row_text(4).substr(0, 6), "bottom");
  EXPECT_EQ(con.char_at(1, 1), 'c');
  con.copy_page(1, 3);
  con.set_active_page(3);
  EXPECT_EQ(con.row_text(4).substr(0, 6), "bottom");
  con.cls();
  EXPECT_EQ(con.char_at(4, 1), ' ');
  con.set_active_page(1);
  EXPECT_EQ(con.char_at(4, 1), 'b');
  EXPECT_EQ(con.wait_key(), "\x1b");
}
