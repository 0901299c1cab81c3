// The pick-bar menu, the menu stack and the colour chooser, driven on the scripted console.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "engine/frame/console.h"
#include "engine/frame/frame_fixture.h"
#include "engine/frame/globals.h"
#include "engine/frame/pikbar.h"
#include "platform/console.h"
#include "platform/console_scripted.h"

namespace {

constexpr std::uint8_t attr(int fg, int bg) { return static_cast<std::uint8_t>(fg | (bg << 4)); }

// A screen row with the frame and shade characters shown as plain ones: corners "+", double lines
// "=" and "|", light shade ":", medium shade "%", the bar "!".
std::string plain(std::string row) {
  for (char& c : row) {
    switch (static_cast<unsigned char>(c)) {
      case 0xC9: case 0xBB: case 0xC8: case 0xBC: c = '+'; break;
      case 0xCD: c = '='; break;
      case 0xBA: c = '|'; break;
      case 0xB0: c = ':'; break;
      case 0xB1: c = '%'; break;
      case 0xB3: c = '!'; break;
      default: break;
    }
  }
  return row;
}

std::string rep(int n, char c) { return std::string(n, c); }

class PickBarTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    auto c = std::make_unique<platform::ScriptedConsole>(25);
    con = c.get();
    platform::set_console(std::move(c));
    STATUSROW = 25;
    dir.write("procolor.cus", "7022,0,1,0,5,0,0\r\n7,0\r\n12,0\r\n10,0\r\n15,3\r\n1,3\r\n");
    FETCHCOL("procolor.cus");
    BARTEXT.dim(0, 100);
    BARVALUE.dim(0, 100);
    BARSTACK.dim(0, 7, 0, 10);
    BARMENUS.dim(0, 7, 0, 5);
    pickbar_hand_over() = PickBarHandOver{[this] { build(); }, [this] { picked(); }};
  }
  void TearDown() override {
    pickbar_hand_over() = PickBarHandOver{};
    FrameFixture::TearDown();
  }
  void dots() {
    for (int r = 1; r <= con->rows(); ++r) {
      con->locate(r, 1);
      con->print(std::string(r == con->rows() ? 79 : 80, '.'), false);
    }
  }
  // The menu builder: items[i - 1] with the value "v" + i.
  void build() {
    BARCOUNT = static_cast<std::int32_t>(items.size());
    for (std::int32_t i = 1; i <= BARCOUNT; ++i) {
      BARTEXT(i) = items[i - 1];
      BARVALUE(i) = value_of(i);
    }
  }
  std::string value_of(std::int32_t i) const { return long_values ? rep(100, 'w') : "v" + std::to_string(i); }
  void picked() {
    picks.push_back(BARITEM);
    if (on_pick) on_pick();
  }
  // A menu at the editor's main geometry.
  void menu(std::vector<std::string> texts, std::int32_t level = 2) {
    items = std::move(texts);
    BARMENU = "TEST";
    BARTOP = 3, BARLEFT = 3, BARWIDTH = 13, BARITEM = 1, BARLEVEL = level, BARACTION = 0;
  }
  std::string row(int r) const { return plain(con->row_text(r)); }

  platform::ScriptedConsole* con = nullptr;
  std::vector<std::string> items;
  bool long_values = false;
  std::vector<std::int32_t> picks;
  std::function<void()> on_pick;
};

std::vector<std::string> numbered(int n, const std::string& stem = "Item") {
  std::vector<std::string> v;
  for (int i = 1; i <= n; ++i) v.push_back(stem + std::to_string(i));
  return v;
}

TEST_F(PickBarTest, DrawsFrameItemsValueAndShade) {
  dots();
  menu({"Fonts", "Paths", "Layout"});
  con->push_scan(80);  // Down
  con->push_key("\x1b");
  PIKBARM();
  EXPECT_EQ(BARITEM, 0);
  EXPECT_EQ(BARACTION, 0);
  EXPECT_EQ(BARRIGHT, 16);
  EXPECT_EQ(BARBOTTOM, 6);
  const std::string strip = " :" + rep(60, '%');
  EXPECT_EQ(row(3), "..+" + rep(13, '=') + "+ " + rep(62, '.'));
  EXPECT_EQ(row(4), "..|FONTS        |" + strip + ".");
  EXPECT_EQ(row(5), "..|PATHS        |< v2" + rep(58, ' ') + ".");
  EXPECT_EQ(row(6), "..|LAYOUT       |" + strip + ".");
  EXPECT_EQ(row(7), "..+" + rep(13, '=') + "+ :" + rep(61, '.'));
  EXPECT_EQ(row(8), "..." + rep(16, ':') + rep(61, '.'));
  EXPECT_EQ(con->attr_at(5, 4), attr(15, 3));   // highlighted item: pair 4
  EXPECT_EQ(con->attr_at(4, 4), attr(7, 0));    // other items: pair 1
  EXPECT_EQ(con->attr_at(5, 18), attr(7, 0));   // the value: pair 1
  EXPECT_TRUE(con->mouse_enabled());            // stays on after the menu
}

TEST_F(PickBarTest, Geometry) {
  struct Case {
    const char* what;
    std::vector<std::string> texts;
    std::int32_t top, left, width;
    std::int32_t want_top, want_count, want_right;
  } cases[] = {
      {"19 items move up a row", numbered(19), 3, 3, 13, 2, 19, 16},
      {"18 items stay at row 3", numbered(18), 3, 3, 13, 3, 18, 16},
      {"nested from item 9, 12 items", numbered(12), 13, 8, 13, 9, 12, 21},
      {"a 20-character item 25 widens the column", [] {
         auto v = numbered(30);
         v[24] = rep(20, 'x');
         return v;
       }(), 3, 3, 13, 2, 19, 23},
      {"a 70-character item is cut to keep 10 columns of value", {rep(70, 'y'), "b"}, 3, 3, 13, 3, 2, 68},
  };
  for (const auto& c : cases) {
    dots();
    menu(c.texts);
    BARTOP = c.top, BARLEFT = c.left, BARWIDTH = c.width;
    con->push_key("\x1b");
    PIKBARM();
    EXPECT_EQ(BARTOP, c.want_top) << c.what;
    EXPECT_EQ(BARROW, c.want_top) << c.what;
    EXPECT_EQ(BARCOUNT, c.want_count) << c.what;
    EXPECT_EQ(BARBOTTOM, c.want_top + c.want_count) << c.what;
    EXPECT_LE(BARBOTTOM, 21) << c.what;
    EXPECT_EQ(BARRIGHT, c.want_right) << c.what;
    // The value field ends at column 79 on every item row.
    EXPECT_EQ(con->row_text(c.want_top + 2)[78], '\xB1') << c.what;
    EXPECT_EQ(con->row_text(c.want_top + 2)[79], '.') << c.what;
  }
  // The placing of a nested menu: from item 9 of the menu at row 3, the frame's top border is on row
  // 13 and its left border 5 columns further right.
  menu(numbered(12));
  BARITEM = 9;
  ASSERT_TRUE(PUSHSCRE());
  EXPECT_EQ(BARTOP, 13);
  EXPECT_EQ(BARLEFT, 8);
  EXPECT_EQ(BARLEVEL, 3);
}

TEST_F(PickBarTest, KeysAndClicks) {
  struct Case {
    const char* what;
    std::int32_t level;
    std::function<void(platform::ScriptedConsole&)> keys;
    std::int32_t outcome;              // BARACTION set by the pick (-1: no pick expected)
    std::vector<std::int32_t> picks;
    std::int32_t item_after;
    std::int32_t action_after;
  } cases[] = {
      {"Up on the first item picks the last", 2, [](auto& c) { c.push_scan(72); c.type("\r\x1b"); }, 0, {5}, 0, 0},
      {"Down on the last picks the first", 2, [](auto& c) { c.push_scan(72); c.push_scan(80); c.type("\r\x1b"); }, 0, {1}, 0, 0},
      {"Esc at level 2 keeps the outcome", 2, [](auto& c) { c.type("\x1b"); }, 0, {}, 0, 0},
      {"Esc at level 4 gives outcome 3", 4, [](auto& c) { c.type("\x1b"); }, 0, {}, 0, 3},
      {"outcome 3 at level 3 leaves", 3, [](auto& c) { c.type("\r"); }, 3, {1}, 1, 3},
      {"outcome 3 in the main menu is reset", 2, [](auto& c) { c.type("\r\x1b"); }, 3, {1}, 0, 0},
      {"outcome 2 leaves at any level", 2, [](auto& c) { c.type("\r"); }, 2, {1}, 1, 2},
      {"outcome 1 leaves above level 1", 2, [](auto& c) { c.type("\r"); }, 1, {1}, 1, 1},
      {"a click picks the item under it", 2, [](auto& c) { c.push_mouse(6, 5); c.type("\x1b"); }, 0, {3}, 0, 0},
      {"a double click picks twice", 2, [](auto& c) { c.push_double_click(5, 10); c.type("\x1b"); }, 0, {2, 2}, 0, 0},
      {"clicks on the frame, the value column and below do nothing", 2,
       [](auto& c) { c.push_mouse(4, 3); c.push_mouse(4, 17); c.push_mouse(4, 30); c.push_mouse(9, 5); c.push_mouse(3, 5);
                     c.type("\x1b"); }, 0, {}, 0, 0},
      {"letters, Home and Right do nothing", 2, [](auto& c) { c.type("ab"); c.push_scan(71); c.push_scan(77); c.type("\x1b"); },
       0, {}, 0, 0},
  };
  for (const auto& c : cases) {
    dots();
    menu(numbered(5), c.level);
    picks.clear();
    on_pick = [&] { BARACTION = c.outcome; };
    c.keys(*con);
    PIKBARM();
    EXPECT_EQ(picks, c.picks) << c.what;
    EXPECT_EQ(BARITEM, c.item_after) << c.what;
    EXPECT_EQ(BARACTION, c.action_after) << c.what;
    EXPECT_EQ(con->queued(), 0u) << c.what;
  }
}

TEST_F(PickBarTest, EnterWithoutHighlightWaitsForOne) {
  dots();
  menu(numbered(4));
  BARITEM = 0;  // a file menu whose current file is not listed
  con->type("\r");
  con->push_scan(80);
  con->type("\r\x1b");
  PIKBARM();
  EXPECT_EQ(picks, std::vector<std::int32_t>{1});
  // No row is highlighted before Down.
  dots();
  menu(numbered(4));
  BARITEM = 0;
  con->type("\x1b");
  PIKBARM();
  for (int r = 4; r <= 7; ++r) EXPECT_EQ(con->attr_at(r, 4), attr(7, 0)) << r;
}

// A value longer than its row goes on over the rows below it; on the last row it is cut with a mark.
// Nothing passes column 78.
TEST_F(PickBarTest, ValueFoldsOrIsCutWithAMark) {
  dots();
  long_values = true;
  menu({"A", "B"});
  con->type("\x1b");
  PIKBARM();
  EXPECT_EQ(row(4), "..|A            |< " + rep(60, 'w') + ".");
  EXPECT_EQ(row(5), "..|B            |  " + rep(40, 'w') + rep(20, ' ') + ".");
  dots();
  menu({"A", "B"});
  BARITEM = 2;
  con->type("\x1b");
  PIKBARM();
  EXPECT_EQ(row(5), "..|B            |< " + rep(56, 'w') + " ....");
}

TEST_F(PickBarTest, PushAndPopGiveBackThePage) {
  dots();
  menu(numbered(6));
  BARITEM = 2;
  con->set_active_page(2);
  con->set_visible_page(2);
  con->copy_page(1, 2);
  on_pick = [&] {
    ASSERT_TRUE(PUSHSCRE());
    BARMENU = "NESTED";
    BARITEM = 1;
    items = numbered(3, "Sub");
    con->type("\x1b");
    PIKBARM();
    EXPECT_EQ(con->visible_page(), 3);
    EXPECT_EQ(plain(con->row_text(7)).substr(7, 6), "|SUB1 ");
    POPSCREE();
    items = numbered(6);
    build();  // the caller rebuilds the enclosing menu's items
  };
  // The page as the menu shows it with item 2 highlighted, then Enter opens the nested menu.
  con->type("\x1b");
  PIKBARM();
  const auto before = con->snapshot(2).cells;
  menu(numbered(6));
  BARITEM = 2;
  con->type("\r\x1b");
  PIKBARM();
  EXPECT_EQ(picks, std::vector<std::int32_t>{2});
  EXPECT_EQ(BARLEVEL, 2);
  EXPECT_EQ(con->visible_page(), 2);
  EXPECT_EQ(con->active_page(), 2);
  EXPECT_EQ(BARMENU, "TEST");
  EXPECT_EQ(BARTOP, 3);
  EXPECT_EQ(BARLEFT, 3);
  EXPECT_EQ(BARCOUNT, 6);
  EXPECT_EQ(con->snapshot(2).cells, before);
  // No level beyond 7: the push is refused and nothing changes.
  BARLEVEL = 8;
  BARTOP = 3;
  EXPECT_FALSE(PUSHSCRE());
  EXPECT_EQ(BARLEVEL, 8);
  EXPECT_EQ(BARTOP, 3);
}

class ColourMapTest : public PickBarTest {
 protected:
  void SetUp() override {
    PickBarTest::SetUp();
    COLOURCOUNT = 4;
    for (int i = 1; i <= 5; ++i) COLOURNAME(i) = "Pair" + std::to_string(i);
    PROMPT(74) = "keys";
  }
  std::pair<int, int> pair(int i) const { return {COLOURS(i, 1), COLOURS(i, 2)}; }
};

TEST_F(ColourMapTest, PairsAndGrid) {
  using P = std::pair<int, int>;
  struct Case {
    const char* what;
    std::function<void(platform::ScriptedConsole&)> keys;
    int pair;
    P want;
  } cases[] = {
      {"Enter, Right, Enter stores pair 1", [](auto& c) { c.type("\r"); c.push_scan(77); c.type("\r\x1b"); }, 1, {7, 1}},
      {"Up on pair 1 selects pair 4", [](auto& c) { c.push_scan(72); c.type("\r"); c.push_scan(77); c.type("\r\x1b"); },
       4, {15, 4}},
      {"Down on pair 4 selects pair 1", [](auto& c) { for (int i = 0; i < 4; ++i) c.push_scan(80);
                                                      c.type("\r"); c.push_scan(80); c.type("\r\x1b"); }, 1, {8, 0}},
      {"Left and Up stop at 0", [](auto& c) { c.type("\r"); for (int i = 0; i < 9; ++i) { c.push_scan(72); c.push_scan(75); }
                                              c.type("\r\x1b"); }, 1, {0, 0}},
      {"Down and Right stop at 15", [](auto& c) { c.push_scan(80); c.type("\r"); for (int i = 0; i < 17; ++i) { c.push_scan(80); c.push_scan(77); }
                                                  c.type("\r\x1b"); }, 2, {15, 15}},
      {"Esc in the grid keeps the pair", [](auto& c) { c.type("\r"); c.push_scan(77); c.type("\x1b\x1b"); }, 1, {7, 0}},
      {"letters and clicks do nothing", [](auto& c) { c.type("x\r7"); c.push_scan(59); c.push_mouse(1, 3); c.type("\r\x1b"); },
       1, {7, 0}},
  };
  for (const auto& c : cases) {
    FETCHCOL("procolor.cus");
    COLOURCOUNT = 4;
    c.keys(*con);
    COLORMAP();
    EXPECT_EQ(pair(c.pair), c.want) << c.what;
    EXPECT_EQ(pair(5), P(1, 3)) << c.what;  // pair 5 is neither listed nor changed
    EXPECT_EQ(con->queued(), 0u) << c.what;
    // The screen is cleared in pair 1's colours.
    EXPECT_EQ(con->row_text(3), rep(80, ' ')) << c.what;
    EXPECT_EQ(con->attr_at(3, 27), attr(COLOURS(1, 1), COLOURS(1, 2))) << c.what;
  }
}

TEST_F(ColourMapTest, Screen) {
  COLOURS(2, 1) = 20;  // a stored colour outside 0..15
  con->push_scan(80);
  con->type("\r");
  EXPECT_THROW(COLORMAP(), platform::ScriptExhausted);
  // The grid: foreground by row, background by column; the cursor (character 8) on pair 2's cell.
  EXPECT_EQ(con->row_text(1).substr(0, 20), "  0000000000000000  ");
  EXPECT_EQ(con->attr_at(5, 3 + 6), attr(4, 6));
  // The list: pair 2 marked "->" and previewed; names from column 27.
  EXPECT_EQ(con->row_text(3).substr(24, 7), "  Pair1");
  EXPECT_EQ(con->row_text(4).substr(24, 7), "->Pair2");
  EXPECT_EQ(con->row_text(7).substr(24, 7), rep(7, ' '));  // pair 5 is not listed
  EXPECT_EQ(con->row_text(24).substr(4, 6), " keys ");
  // Enter as the first key of the grid stores the clamped colour.
  con->push_scan(80);
  con->type("\r\r\x1b");
  COLORMAP();  // starts again with pair 1
  EXPECT_EQ(pair(2), std::make_pair(15, 0));
}

TEST_F(ColourMapTest, EndsWhenNobodyIsThere) {
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  COLORMAP();
  EXPECT_EQ(pair(1), std::make_pair(7, 0));
}

}  // namespace
