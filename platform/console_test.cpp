// The console model: printing, wrapping, scrolling, colours and pages.
#include "platform/console.h"
#include "platform/console_scripted.h"
#include "platform/msgbox.h"

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

TEST(ConsoleTest, SnapshotPutsAPageBack) {
  platform::BatchConsole con(5, false);
  con.locate(2, 3);
  con.color(12, 1);
  con.print("keep", false);
  auto saved = con.snapshot(1);
  con.color(7, 0);
  con.cls();
  con.print("over", false);
  con.cursor(false);
  con.restore(saved);
  EXPECT_EQ(con.row_text(2).substr(2, 4), "keep");
  EXPECT_EQ(con.char_at(1, 1), ' ');
  EXPECT_EQ(con.cursor_row(), 2);
  EXPECT_EQ(con.cursor_col(), 7);
  EXPECT_EQ(con.foreground(), 12);
  EXPECT_TRUE(con.cursor_visible());
}

TEST(ConsoleTest, Cp437PicturesAndReverse) {
  EXPECT_EQ(platform::cp437_glyph(16), "\u25BA");
  EXPECT_EQ(platform::cp437_glyph(0), " ");
  EXPECT_EQ(platform::cp437_glyph(201), "\u2554");
  EXPECT_EQ(platform::cp437_to_utf8("\x10"), "\x10");  // text streams keep control codes
  EXPECT_EQ(platform::unicode_to_cp437(U'\u2591'), 176);
  EXPECT_EQ(platform::unicode_to_cp437(U'\u20AC'), -1);
}

// Names in the terminal's encoding: with UTF-8 each character of a name takes one cell, shows as
// itself and reads back as its bytes; broken sequences, wide and combining characters show byte by
// byte through CP437, as does everything in another locale.
TEST(ConsoleTest, NamesInTheTerminalsEncoding) {
  struct Case {
    const char* what;
    bool utf8;
    std::string text;
    size_t cells;
    std::string glyphs;  // what the cells show, as UTF-8
    std::string cp437;   // the cells' bytes
  } cases[] = {
      {"letters beyond ASCII", true, "\xC3\x84rger s\xC3\xBC" "d", 9, "\u00C4rger s\u00FC" "d", "\x8E" "rger s\x81" "d"},
      {"a letter CP437 lacks", true, "\xC5\x81\xC3\xB3" "d\xC5\xBA", 4, "\u0141\u00F3" "d\u017A", "?\xA2" "d?"},
      {"a four-byte letter", true, "\xF0\x9D\x90\x80", 1, "\U0001D400", "?"},
      {"a broken sequence", true, "a\xC3", 2, "a\u251C", "a\xC3"},
      {"an overlong form", true, "\xC0\x80", 2, "\u2514\u00C7", "\xC0\x80"},
      {"a wide letter", true, "\xE6\x97\xA5", 3, "\u00B5\u00F9\u00D1", "\xE6\x97\xA5"},
      {"a combining mark", true, "e\xCC\x81", 3, "e\u2560\u00FC", "e\xCC\x81"},
      {"another locale", false, "\xC3\x84", 2, "\u251C\u00E4", "\xC3\x84"},
  };
  for (const auto& c : cases) {
    platform::set_names_in_utf8(c.utf8);
    platform::ScriptedConsole con(3);
    con.locate(1, 1);
    con.print_text(c.text, false);
    EXPECT_EQ(platform::text_cells(c.text), c.cells) << c.what;
    EXPECT_EQ(con.cursor_col(), static_cast<int>(c.cells) + 1) << c.what;
    std::string glyphs, bytes, back;
    for (int col = 1; col <= static_cast<int>(c.cells); ++col) {
      glyphs += platform::cell_glyph(con.cell(1, 1, col));
      bytes += static_cast<char>(con.char_at(1, col));
      back += con.text_at(1, col);
    }
    EXPECT_EQ(glyphs, c.glyphs) << c.what;
    EXPECT_EQ(bytes, c.cp437) << c.what;
    EXPECT_EQ(back, c.text) << c.what;  // the name's bytes, unchanged
    EXPECT_EQ(con.char_at(1, static_cast<int>(c.cells) + 1), ' ') << c.what;
  }
  platform::set_names_in_utf8(true);
  // Cut and tail by cells, never inside a letter; the UTF-8 of a line mixes names and CP437.
  const std::string name = "\xC3\x84rger s\xC3\xBC" "d.txt";
  EXPECT_EQ(platform::cut_text(name, 1), "\xC3\x84");
  EXPECT_EQ(platform::cut_text(name, 8), "\xC3\x84rger s\xC3\xBC");
  EXPECT_EQ(platform::tail_text(name, 6), "\xC3\xBC" "d.txt");
  EXPECT_EQ(platform::text_to_utf8("\xC9 " + name), "\u2554 \u00C4rger s\u00FC" "d.txt");
  // A print of engine text is unchanged: its bytes are CP437 (a frame's corner and line).
  platform::ScriptedConsole con(3);
  con.print("\xCD\xBB", false);
  EXPECT_EQ(platform::cell_glyph(con.cell(1, 1, 1)) + platform::cell_glyph(con.cell(1, 1, 2)), "\u2550\u2557");
  // A typed letter CP437 lacks ("ł" as its UTF-8 bytes) reaches only a name entry that takes it:
  // elsewhere a key of two characters is a scan code.
  const std::string l = "\xC5\x82";
  EXPECT_TRUE(platform::is_letter_key(l));
  EXPECT_FALSE(platform::is_letter_key(platform::key_scan(72)));
  EXPECT_FALSE(platform::is_letter_key(platform::mouse_key(platform::kMousePress, platform::kMouseLeft)));
  con.push_key(l);
  con.type("a");
  EXPECT_EQ(con.wait_key(), "a");
  {
    const platform::LetterEntry entry(con);
    con.push_key(l);
    EXPECT_EQ(con.wait_key(), l);
  }
  con.push_key(l);
  EXPECT_FALSE(con.key_pending());
}

TEST(ScriptedConsoleTest, QueueMouseFilterAndExhaustion) {
  platform::ScriptedConsole con(25);
  con.push_mouse(3, 4);  // mouse input is off: dropped
  con.type("a");
  con.push_scan(59);
  EXPECT_TRUE(con.key_pending());
  EXPECT_EQ(con.wait_key(), "a");
  EXPECT_EQ(con.wait_key(), platform::key_scan(59));
  con.mouse_on(platform::kMouseLeft | platform::kMouseRight, platform::kMousePress | platform::kMouseDouble);
  con.push_double_click(7, 9);            // press, release, double, release: releases are not wanted
  con.push_mouse(1, 1, platform::kMousePress, 4);  // middle button: not wanted
  EXPECT_EQ(con.wait_key(), platform::mouse_key(4, 1));
  EXPECT_EQ(con.mouse_row(), 7);
  EXPECT_EQ(con.mouse_col(), 9);
  EXPECT_EQ(con.wait_key(), platform::mouse_key(2, 1));
  EXPECT_FALSE(con.key_pending());
  con.locate(2, 1);
  con.print("waiting here", false);
  try {
    con.wait_key();
    FAIL() << "an empty queue must not wait";
  } catch (const platform::ScriptExhausted& e) {
    EXPECT_NE(std::string(e.what()).find("\nwaiting here"), std::string::npos) << e.what();
  }
}

TEST(MessageBoxTest, OkCancelQuestionInAFrame) {
  auto owned = std::make_unique<platform::ScriptedConsole>(25);
  platform::ScriptedConsole* con = owned.get();
  platform::set_console(std::move(owned));
  for (int r = 1; r <= 24; ++r) {
    con->locate(r, 1);
    con->print(std::string(80, static_cast<char>('a' + r % 26)), false);
  }
  con->locate(3, 7);
  con->color(14, 1);
  const std::string before = con->screen();
  const std::string text = "Untrapped Error #62 (Input past end)\nhas occurred following execution of PERROR  \n\n"
                           "Press OK to continue, Cancel to terminate";
  struct Case {
    std::vector<std::string> keys;
    platform::BoxAnswer answer;
  } cases[] = {
      {{"\r"}, platform::BoxAnswer::Ok},
      {{"\x1b"}, platform::BoxAnswer::Cancel},
      {{"\t", "\r"}, platform::BoxAnswer::Cancel},
      {{platform::key_scan(77), platform::key_scan(75), "\r"}, platform::BoxAnswer::Ok},
      {{"x", "C"}, platform::BoxAnswer::Cancel},
      {{"o"}, platform::BoxAnswer::Ok},
  };
  for (const auto& c : cases) {
    for (const auto& k : c.keys) con->push_key(k);
    EXPECT_EQ(platform::message_box(text), c.answer) << c.keys.size();
    EXPECT_EQ(con->queued(), 0u);
    // The screen, cursor and colour are as they were.
    EXPECT_EQ(con->screen(), before);
    EXPECT_EQ(con->cursor_row(), 3);
    EXPECT_EQ(con->cursor_col(), 7);
    EXPECT_EQ(con->foreground(), 14);
  }
  // While it asks: the text and both buttons inside a frame.
  EXPECT_THROW(platform::message_box(text), platform::ScriptExhausted);
  std::string shown = con->screen();
  for (const char* part : {"Untrapped Error #62 (Input past end)", "Press OK to continue, Cancel to terminate",
                           "   OK   ", " Cancel ", "\xDA\xC4\xC4", "\xC4\xD9"})
    EXPECT_NE(shown.find(part), std::string::npos) << part << "\n" << shown;
  platform::set_console(nullptr);
}
