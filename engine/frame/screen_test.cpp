// The message line, screen primitives, colour pairs and start screen, driven on the scripted console.
#include <gtest/gtest.h>

#include "engine/frame/console.h"
#include "engine/frame/frame_fixture.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "platform/console.h"
#include "platform/console_scripted.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

constexpr std::uint8_t attr(int fg, int bg) { return static_cast<std::uint8_t>(fg | (bg << 4)); }

class ScreenTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    auto c = std::make_unique<platform::ScriptedConsole>(25);
    con = c.get();
    platform::set_console(std::move(c));
    rt::set_command_tail("");
    VERSION = "7022";
    STATUSROW = 25;
    dir.write("procolor.cus", "7005,0,0,0,5,0,0\r\n7,0\r\n12,0\r\n10,0\r\n15,3\r\n1,3\r\n");
    FETCHCOL("procolor.cus");
  }
  // Characters of a row from a column.
  std::string row(int r, int from = 1, int n = 80) const { return con->row_text(r).substr(from - 1, n); }
  // Fills the screen with dots, so that written blanks show.
  void dots() {
    for (int r = 1; r <= con->rows(); ++r) {
      con->locate(r, 1);
      con->print(std::string(r == con->rows() ? 79 : 80, '.'), false);
    }
  }

  platform::ScriptedConsole* con = nullptr;
};

TEST_F(ScreenTest, MessageLine) {
  std::string hundred(100, 'x');
  for (int i = 0; i < 100; ++i) hundred[i] = static_cast<char>('a' + i % 26);
  con->color(2, 5);
  MESSAGE(hundred, 1);
  EXPECT_EQ(row(24, 1, 80), hundred.substr(0, 78) + "  ");
  EXPECT_EQ(con->attr_at(24, 1), attr(15, 0));
  EXPECT_EQ(con->attr_at(24, 78), attr(15, 0));
  EXPECT_EQ(con->attr_at(24, 79), attr(7, 0));  // column 79 is not part of the line
  EXPECT_EQ(con->foreground(), 7);
  EXPECT_EQ(con->background(), 0);
  EXPECT_EQ(con->beeps(), 1);
  MESSAGE("", 2);  // only 1 beeps
  EXPECT_EQ(con->beeps(), 1);
  EXPECT_EQ(row(24, 1, 78), std::string(78, ' '));
  EXPECT_EQ(con->attr_at(24, 40), attr(15, 0));
  MESSAGE("gone soon", 0);
  MESSOFF();
  EXPECT_EQ(row(24, 1, 78), std::string(78, ' '));
  EXPECT_EQ(con->attr_at(24, 1), attr(7, 0));
  // Callers may lower the status row for a while; every primitive reads it afresh.
  STATUSROW = 22;
  MESSAGE("higher", 0);
  EXPECT_EQ(row(21, 1, 6), "higher");
  con->color(1, 3);
  CLEARPRO();
  EXPECT_EQ(row(21, 1, 6), "      ");
  EXPECT_EQ(con->attr_at(21, 1), attr(1, 3));
}

TEST_F(ScreenTest, RowCentr) {
  struct Case {
    std::string text;
    int col;  // column of the leading blank
    size_t shown;
  } cases[] = {
      {"abcdefghijklmno", 30, 17}, {"12345678", 34, 10}, {"", 38, 2},
      {std::string(75, 'w'), 1, 77}, {std::string(100, 'w'), 1, 78},
  };
  for (const auto& c : cases) {
    con->cls();
    ROWCENTR(2, c.text);
    std::string t = (" " + c.text + " ").substr(0, c.shown);
    EXPECT_EQ(row(2, c.col, c.shown), t) << c.text.size();
    if (c.col > 1) {
      EXPECT_EQ(con->char_at(2, c.col - 1), ' ');
    }
  }
}

TEST_F(ScreenTest, PutoneEditsAndRestoresTheLine) {
  struct Case {
    const char* what;
    std::string hint;      // prompt 74
    std::string keys;      // typed, Enter at the end
    std::string answer;    // the caller's value before
    std::string expected;
    std::int32_t keep = 24;  // a name question keeps 255
  } cases[] = {
      {"backspace", std::string(20, 'h'), "abc\bd\r", "old", "abd"},
      {"Enter alone keeps", "", "\r", "default", "default"},
      {"30 characters give 24", "12345", "abcdefghijklmnopqrstuvwxyz1234\r", "", "abcdefghijklmnopqrstuvwx"},
      {"Esc and Tab are ignored", "1234567", "\x1b" "a\tb\r", "", "ab"},
      {"backspace on nothing", "1234567890", "\b\bz\r", "", "z"},
      {"a folder keeps a whole path", std::string(62, 'h'), "/home/engineer/projects/riverside/phase2/logs\r", "", "/home/engineer/projects/riverside/phase2/logs", kNameLength},
      {"a name keeps 255 characters", "", std::string(300, 'n') + "\r", "", std::string(255, 'n'), kNameLength},
      {"backspace in a scrolled name", "", std::string(100, 'n') + "\bm\r", "", std::string(99, 'n') + "m", kNameLength},
  };
  for (const auto& c : cases) {
    PROMPT(74) = c.hint;
    dots();
    con->locate(24, 1);
    con->print("ab(message line)", false);
    con->type(c.keys);
    con->push_scan(59);  // an extended key in the middle of nothing: ignored
    con->type("\r");
    std::string answer = c.answer;
    // The F1 and the extra Enter belong to the next question: the first Enter ends this one.
    PUTONE("Folder?", answer, c.keep);
    EXPECT_EQ(answer, c.expected) << c.what;
    EXPECT_EQ(con->queued(), 2u) << c.what;
    std::string second = "x";
    PUTONE("Again?", second);
    EXPECT_EQ(second, "x");
    // Columns 3..78 come back, in pair 1; columns 1 and 2 are left as the question left them.
    EXPECT_EQ(row(24, 3, 76), "(message line)" + std::string(62, '.')) << c.what;
    EXPECT_EQ(con->attr_at(24, 3), attr(7, 0));
    EXPECT_EQ(row(24, 1, 2), "ab");
  }
  // While it waits: the question stands where the hint (prompt 74) was centred, over the blanked
  // hint, and typing is echoed in pair 2.
  struct Where {
    size_t hint_len;
    int col;
  } where[] = {{20, 29}, {10, 34}, {5, 36}, {7, 36}, {0, 39}};
  for (const auto& w : where) {
    PROMPT(74) = std::string(w.hint_len, 'h');
    dots();
    con->type("q");
    std::string a;
    EXPECT_THROW(PUTONE("Folder?", a), platform::ScriptExhausted);
    EXPECT_EQ(row(24, w.col - 1, 11), ".Folder? q" + std::string(w.hint_len >= 10 ? " " : "."))
        << w.hint_len;
    EXPECT_EQ(con->attr_at(24, w.col + 8), attr(12, 0));
  }
}

TEST_F(ScreenTest, PutoneTakesTheLongestEntryAsked) {
  const std::string folder = "C:\\Survey data\\2026\\Borehole logs\\Site A";
  for (std::int32_t longest : {kWholeEntry, 10}) {
    con->type(folder + "\r");
    std::string answer;
    PUTONE("Folder?", answer, longest);
    EXPECT_EQ(answer, folder.substr(0, static_cast<size_t>(longest)));
  }
}

// A name longer than its field scrolls inside the message line: its end is shown, nothing goes past
// column 78 or onto the row below.
TEST_F(ScreenTest, PutoneScrollsALongName) {
  PROMPT(74) = std::string(10, 'h');
  dots();
  std::string path;
  for (int i = 0; path.size() < 120; ++i) path += "/folder" + std::to_string(i);
  con->type(path);
  std::string a;
  EXPECT_THROW(PUTONE("Folder?", a, kNameLength), platform::ScriptExhausted);
  // The question at column 34, the field from 42 to 78, its last column left for the cursor.
  EXPECT_EQ(row(24, 34, 8), "Folder? ");
  EXPECT_EQ(row(24, 42, 37), path.substr(path.size() - 36) + " ");
  EXPECT_EQ(row(24, 79, 2), "..");
  EXPECT_EQ(row(25, 1, 79), std::string(79, '.'));
  EXPECT_EQ(con->cursor_row(), 24);
  EXPECT_EQ(con->cursor_col(), 78);
}

// A question holding a name's letters beyond ASCII (as the output folder's question does) is measured
// in cells: one that fits stands on the message line though it has more bytes than its room; one that
// does not stands on the row above, blanked to column 78 by cells.
TEST_F(ScreenTest, PutoneMeasuresAQuestionInCells) {
  platform::set_names_in_utf8(true);
  PROMPT(74) = "";  // the question from column 39: 20 columns for it, 40 to column 78 on the row above
  const std::string letters = "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F";  // "ÄÖÜäöüß"
  struct Case {
    std::string question;
    int row;  // where it stands while the entry waits
  } cases[] = {
      {"Ordner " + letters + " ok?", 24},  // 18 letters in 25 bytes, and the blank after it
      {"Ordner " + letters + " nicht?", 23},
  };
  for (const auto& c : cases) {
    dots();
    con->type("q");
    std::string a;
    EXPECT_THROW(PUTONE(c.question, a, kNameLength), platform::ScriptExhausted);
    // On the message line the typed "q" follows the question and a blank; on the row above, blanks.
    const int cells = static_cast<int>(platform::text_cells(c.question));
    const std::string rest = c.row == 24 ? " q" : std::string(static_cast<size_t>(40 - cells), ' ');
    std::string shown;
    for (int col = 39; col < 39 + cells + static_cast<int>(rest.size()); ++col) shown += con->text_at(c.row, col);
    EXPECT_EQ(shown, c.question + rest) << c.question;
    EXPECT_EQ(row(c.row - 1, 1, 80), std::string(80, '.')) << c.question;  // nothing above it
    if (c.row == 23) {
      EXPECT_EQ(row(23, 79, 1), ".");
    }
  }
}

TEST_F(ScreenTest, PutoneWithoutTerminalReturnsAtOnce) {
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  PROMPT(74) = "hint";
  std::string answer = "keep";
  PUTONE("Question?", answer);
  EXPECT_EQ(answer, "keep");
}

// A terminal whose input closes while a question waits (the person is gone): from then on every key
// wait answers Esc at once and nobody is at the console, as on the terminal back end.
class ClosingConsole : public platform::ScriptedConsole {
 public:
  std::string wait_key() override {
    if (queued() > 0) return ScriptedConsole::wait_key();
    closed = true;
    if (++waits_after_close > 1000) throw std::runtime_error("still waiting for a key that cannot come");
    return platform::kKeyEsc;
  }
  bool interactive() const override { return !closed; }
  bool closed = false;
  int waits_after_close = 0;
};

TEST_F(ScreenTest, PutoneEndsWhenTheTerminalInputCloses) {
  auto c = std::make_unique<ClosingConsole>();
  ClosingConsole* closing = c.get();
  platform::set_console(std::move(c));
  PROMPT(74) = "hint";
  closing->type("ab");  // typed, but never ended with Enter
  std::string answer = "keep";
  EXPECT_NO_THROW(PUTONE("Question?", answer));
  EXPECT_EQ(answer, "keep");  // an entry nobody ended is no answer
  EXPECT_LE(closing->waits_after_close, 1);
}

TEST_F(ScreenTest, AreadReadsCharactersBack) {
  con->locate(5, 3);
  con->color(14, 1);
  con->print("text  with blanks", false);
  std::string t = "old";
  AREAD(t, 5, 3, 76);
  EXPECT_EQ(t, "text  with blanks" + std::string(59, ' '));
  AREAD(t, 5, 3, 0);
  EXPECT_EQ(t, "");
  AREAD(t, 5, 79, 4);  // cells past the right edge read as blanks
  EXPECT_EQ(t, "    ");
}

TEST_F(ScreenTest, BoxClampsAndDraws) {
  struct Case {
    std::int32_t top, left, height, width;
    std::int32_t want_top, want_left, want_height, want_width;
  } cases[] = {
      {3, 75, 4, 10, 3, 75, 4, 6},
      {24, 1, 5, 10, 23, 1, 2, 10},
      {2, 85, 3, 5, 2, 79, 3, 2},
      {5, 5, 4, 1, 5, 5, 4, 1},
  };
  for (const auto& c : cases) {
    std::int32_t top = c.top, left = c.left, height = c.height, width = c.width;
    BOX(top, left, height, width);
    EXPECT_EQ(top, c.want_top);
    EXPECT_EQ(left, c.want_left);
    EXPECT_EQ(height, c.want_height);
    EXPECT_EQ(width, c.want_width);
  }
  // Width 1: the corners with nothing between them.
  EXPECT_EQ(row(5, 5, 2), "\xC9\xBB");
  EXPECT_EQ(row(6, 5, 2), "\xBA\xBA");
  EXPECT_EQ(row(8, 5, 2), "\xC8\xBC");

  con->cls();
  dots();
  std::int32_t top = 2, left = 3, height = 4, width = 6;
  BOX(top, left, height, width);
  DROPSHAD(top, left, height, width);
  EXPECT_EQ(row(1, 1, 12), "............");
  EXPECT_EQ(row(2, 1, 12), "..\xC9\xCD\xCD\xCD\xCD\xBB ...");
  EXPECT_EQ(row(3, 1, 12), "..\xBA    \xBA \xB0..");
  EXPECT_EQ(row(4, 1, 12), "..\xBA    \xBA \xB0..");
  EXPECT_EQ(row(5, 1, 12), "..\xC8\xCD\xCD\xCD\xCD\xBC \xB0..");
  EXPECT_EQ(row(6, 1, 12), "...\xB0\xB0\xB0\xB0\xB0\xB0\xB0..");
  EXPECT_EQ(row(7, 1, 12), "............");
}

TEST_F(ScreenTest, QuikputAnswersWithOneKey) {
  struct Case {
    std::string key, answer;
  } cases[] = {
      {"y", "y"},
      {platform::key_scan(59), ";"},  // F1: its scan code 59 alone
      {"\x1b", "\x1b"},
  };
  for (const auto& c : cases) {
    dots();
    con->push_key(c.key);
    std::string answer;
    QUIKPUT(24, 1, "Save it", answer, "Y/N");
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(row(24, 1, 78), std::string(77, ' ') + ".");  // 78 - column blanks
    EXPECT_EQ(con->attr_at(24, 1), attr(7, 0));
  }
  // While it waits: the question, the "?" in pair 4 and the hint, cursor on the "?".
  con->cls();
  std::string answer;
  EXPECT_THROW(QUIKPUT(10, 5, "Save it", answer, "Y/N"), platform::ScriptExhausted);
  EXPECT_EQ(row(10, 5, 12), "Save it?<Y/N");
  EXPECT_EQ(con->attr_at(10, 12), attr(15, 3));
  EXPECT_EQ(con->attr_at(10, 13), attr(12, 0));
  EXPECT_EQ(con->cursor_col(), 12);
}

TEST_F(ScreenTest, SetcolorPairs) {
  con->color(9, 9);
  SETCOLOR(-4);
  EXPECT_EQ(con->foreground(), 3);
  EXPECT_EQ(con->background(), 15);
  SETCOLOR(0);
  EXPECT_EQ(con->foreground(), 3);
  SETCOLOR(2);
  EXPECT_EQ(con->foreground(), 12);
  EXPECT_EQ(con->background(), 0);
  COLOURS(3, 1) = 16;  // outside 0..15: that half stays
  COLOURS(3, 2) = 4;
  SETCOLOR(3);
  EXPECT_EQ(con->foreground(), 12);
  EXPECT_EQ(con->background(), 4);
}

TEST_F(ScreenTest, FetchcolReadsTheColourFile) {
  struct Case {
    const char* what;
    const char* file;  // nullptr: no file
    std::int32_t count;
    std::vector<std::pair<int, int>> pairs;  // pairs 1..5 afterwards
    bool error;                              // "Input past end" logged
  } cases[] = {
      {"four pairs", "7022,0,1,0,4,0,0\r\n1,2\r\n3,4\r\n5,6\r\n7,8\r\n", 5, {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {1, 3}}, false},
      {"count 0", "7005,0,0,0,0,0,0\r\n9,9\r\n", 5, {{7, 0}, {12, 0}, {10, 0}, {15, 3}, {1, 3}}, false},
      {"count 3, blanks and a fraction", "7005, 0,0,0, 3 ,0,0\n 1 , 1\n2,2.6\n3,3\n", 5,
       {{1, 1}, {2, 3}, {3, 3}, {15, 3}, {1, 3}}, false},
      {"line end or comma alike", "7005,0,0,0,5,0,0,1,1,2,2\r\n3,3\r\n4\r\n4\r\n5,5\r\n", 5,
       {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}, false},
      {"ends early", "7005,0,0,0,5,0,0\r\n1,1\r\n2\r\n", 5, {{1, 1}, {2, 0}, {10, 0}, {15, 3}, {1, 3}}, true},
      {"nine pairs", "7005,0,0,0,9,0,0\r\n1,1\r\n2,2\r\n3,3\r\n4,4\r\n5,5\r\n6,6\r\n7,7\r\n8,8\r\n9,9\r\n", 8,
       {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}, false},
      {"header cut short", "7005,0,0\r\n", 5, {{7, 0}, {12, 0}, {10, 0}, {15, 3}, {1, 3}}, true},
  };
  for (const auto& c : cases) {
    clear_log();
    dir.write("colours.cus", c.file);
    COLOURS.clear();
    COLOURCOUNT = 0;
    if (c.error) con->type(" ");  // the error handler waits for a key
    FETCHCOL("colours.cus");
    EXPECT_EQ(COLOURCOUNT, c.count) << c.what;
    for (int i = 1; i <= 5; ++i) {
      EXPECT_EQ(COLOURS(i, 1), c.pairs[i - 1].first) << c.what << " pair " << i;
      EXPECT_EQ(COLOURS(i, 2), c.pairs[i - 1].second) << c.what << " pair " << i;
    }
    EXPECT_EQ(!log().empty(), c.error) << c.what;
    if (c.error) {
      EXPECT_NE(log().find("fetchcol.cpp"), std::string::npos);
    }
    EXPECT_EQ(con->queued(), 0u) << c.what;
  }
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(ScreenTest, FetchcolWritesTheDefaultFile) {
  con->type(" ");  // the key that "File not found" waits for
  COLOURS(2, 1) = 5;
  FETCHCOL("missing.cus");
  EXPECT_EQ(con->queued(), 0u);
  EXPECT_NE(con->screen().find("File not found : missing.cus"), std::string::npos);
  EXPECT_EQ(dir.read("missing.cus"), "7005,0,0,0,5,0,0\r\n7,0\r\n12,0\r\n10,0\r\n15,3\r\n1,3\r\n");
  EXPECT_EQ(COLOURS(2, 1), 12);
  EXPECT_EQ(COLOURCOUNT, 5);
  FETCHCOL("missing.cus");  // the next start reads it silently
  EXPECT_EQ(COLOURCOUNT, 5);
  EXPECT_EQ(log(), "");
}

TEST_F(ScreenTest, StartScreen) {
  dots();
  con->color(7, 0);
  STARTSCR();
  EXPECT_EQ(row(1), std::string(80, ' '));
  EXPECT_EQ(row(2, 31, 15), " V e l t r a x ");
  EXPECT_EQ(row(3, 31, 15), " ============= ");
  EXPECT_EQ(row(6, 32, 14), " Version 7022 ");
  EXPECT_EQ(row(7), std::string(80, ' '));
  for (int r = 9; r <= 14; ++r) EXPECT_NE(row(r), std::string(80, ' ')) << r;
  EXPECT_EQ(con->cursor_row(), 17);
  EXPECT_EQ(con->cursor_col(), 1);
  EXPECT_EQ(con->queued(), 0u);  // no pause
}

// A message of a run's stages on a console screen stands on the message line, its path showing its
// end, and a second passes before anything can overwrite it; the rows around it, the cursor and the
// colour stay. Without a screen (a one-shot run, or no terminal) it is a line with the whole path.
TEST_F(ScreenTest, ShowMessageKeepsTheScreen) {
  const std::string folder = "C:\\Survey data\\2026\\Meadowbank Primary School Extension\\Boreholes\\Second phase";
  const std::string text = "Creating the missing folder " + folder + " (Output path)";
  dots();
  con->locate(5, 10);
  con->color(2, 5);
  show_message(text, 0, {folder});
  EXPECT_EQ(row(24, 1, 80), rt::LSET("Creating the missing folder ...\\Boreholes\\Second phase (Output path)", 78) + "..");
  EXPECT_EQ(row(23), std::string(80, '.'));
  EXPECT_EQ(row(25, 1, 79), std::string(79, '.'));
  EXPECT_EQ(con->cursor_row(), 5);
  EXPECT_EQ(con->cursor_col(), 10);
  EXPECT_EQ(con->foreground(), 2);
  EXPECT_EQ(con->background(), 5);
  EXPECT_EQ(con->paused_ms(), 1000);
  EXPECT_EQ(con->beeps(), 0);
  // Held until a key instead: no pause.
  con->push_key("x");
  show_message("Press a key", 1, {}, MessageHold::kKey);
  EXPECT_EQ(row(24, 1, 12), "Press a key ");
  EXPECT_EQ(con->queued(), 0u);
  EXPECT_EQ(con->paused_ms(), 1000);
  EXPECT_EQ(con->beeps(), 1);

  // A one-shot run: a line of its own at the cursor, the path whole, no pause.
  RUNFLAGS = 1;
  con->locate(10, 1);
  show_message(text, 0, {folder});
  EXPECT_EQ(row(10, 1, 80) + row(11, 1, static_cast<int>(text.size()) - 80), text);
  EXPECT_EQ(con->cursor_row(), 12);
  EXPECT_EQ(con->paused_ms(), 1000);
}

}  // namespace
