// Terminal bytes to event strings: keys, escape sequences, UTF-8 and xterm mouse reports.
#include "platform/keydecode.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/console.h"

namespace {

using platform::KeyDecoder;

std::string scan(int s) { return platform::key_scan(s); }

// Everything the bytes decode into, the held rest taken as it stands at the end.
std::vector<std::string> decode(const std::string& bytes) {
  KeyDecoder d;
  d.feed(bytes, 0);
  d.timeout();
  std::vector<std::string> out;
  while (auto e = d.next()) out.push_back(e->key);
  return out;
}

TEST(KeyDecoderTest, KeysAndSequences) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> events;
  } cases[] = {
      {"letters and Enter", "ab\r", {"a", "b", "\r"}},
      {"DEL and BS are Backspace", std::string("\x7f\x08"), {"\x08", "\x08"}},
      {"lone Esc", "\x1b", {"\x1b"}},
      {"Esc Esc", "\x1b\x1b", {"\x1b", "\x1b"}},
      {"arrows CSI", "\x1b[A\x1b[B\x1b[C\x1b[D", {scan(72), scan(80), scan(77), scan(75)}},
      {"arrows SS3", "\x1bOA\x1bOD", {scan(72), scan(75)}},
      {"Home End xterm", "\x1b[H\x1b[F", {scan(71), scan(79)}},
      {"Home End vt220", "\x1b[1~\x1b[4~\x1b[7~\x1b[8~", {scan(71), scan(79), scan(71), scan(79)}},
      {"Ins Del PgUp PgDn", "\x1b[2~\x1b[3~\x1b[5~\x1b[6~", {scan(82), scan(83), scan(73), scan(81)}},
      {"F1-F4 SS3", "\x1bOP\x1bOQ\x1bOR\x1bOS", {scan(59), scan(60), scan(61), scan(62)}},
      {"F1 F5 F6 F10 CSI", "\x1b[11~\x1b[15~\x1b[17~\x1b[21~", {scan(59), scan(63), scan(64), scan(68)}},
      {"F1-F5 linux console", "\x1b[[A\x1b[[E", {scan(59), scan(63)}},
      {"Shift+F6 Ctrl+F6 Alt+F1", "\x1b[17;2~\x1b[17;5~\x1b[1;3P", {scan(89), scan(99), scan(104)}},
      {"Ctrl+Left Ctrl+Right Shift+Up", "\x1b[1;5D\x1b[1;5C\x1b[1;2A", {scan(115), scan(116), scan(72)}},
      {"Shift+Tab", "\x1b[Z", {scan(15)}},
      {"Alt+letter and digit", "\x1b" "a\x1bQ\x1b" "1", {scan(30), scan(16), scan(120)}},
      {"UTF-8 to CP437", "\xc3\xa9\xc2\xa3\xe2\x96\x91", {"\x82", "\x9c", "\xb0"}},
      {"character without CP437 code (names not UTF-8)", "\xe2\x82\xac" "x", {"x"}},
      {"unknown sequence dropped", "\x1b[99~\x1b[?5hx", {"x"}},
      {"cut-off sequence dropped", "\x1b[1;", {}},
      {"wheel ignored", "\x1b[<64;3;4M", {}},
  };
  platform::set_names_in_utf8(false);
  for (const auto& c : cases) EXPECT_EQ(decode(c.bytes), c.events) << c.what;
  platform::set_names_in_utf8(true);
}

// Where names are UTF-8, a typed letter CP437 lacks comes as its UTF-8 bytes, for a name entry to
// take; one the cells cannot show in one column (wide, combining) is dropped, as is everything else
// CP437 lacks in another locale.
TEST(KeyDecoderTest, LettersTheCodePageLacks) {
  struct Case {
    const char* what;
    bool utf8;
    std::string bytes;
    std::vector<std::string> events;
  } cases[] = {
      {"two-byte letters", true, "\xc5\x82\xc5\x91\xc5\x92", {"\xc5\x82", "\xc5\x91", "\xc5\x92"}},
      {"a three-byte sign, then a letter the code page has", true, "\xe2\x82\xac\xc3\xa9", {"\xe2\x82\xac", "\x82"}},
      {"a four-byte letter", true, "\xf0\x9d\x90\x80", {"\xf0\x9d\x90\x80"}},
      {"a wide letter is dropped", true, "\xe6\x97\xa5" "x", {"x"}},
      {"a combining mark is dropped", true, "e\xcc\x81", {"e"}},
      {"another locale drops them", false, "\xc5\x82" "x", {"x"}},
  };
  for (const auto& c : cases) {
    platform::set_names_in_utf8(c.utf8);
    EXPECT_EQ(decode(c.bytes), c.events) << c.what;
    for (const auto& e : decode(c.bytes))
      EXPECT_EQ(platform::is_letter_key(e), e.size() > 1) << c.what;  // never read as a scan code
  }
  platform::set_names_in_utf8(true);
}

TEST(KeyDecoderTest, EscWaitsForTheRestOfASequence) {
  KeyDecoder d;
  d.feed("\x1b", 0);
  EXPECT_TRUE(d.incomplete());
  EXPECT_FALSE(d.next());
  d.feed("[", 1);
  d.feed("A", 2);  // a sequence split over reads is one key
  ASSERT_EQ(d.next()->key, scan(72));
  EXPECT_FALSE(d.incomplete());
}

TEST(KeyDecoderTest, MouseReportsAndDoubleClicks) {
  using platform::mouse_key;
  struct Step {
    std::string bytes;
    std::int64_t at_ms;
    std::string key;  // empty: nothing
    int row, col;
  } steps[] = {
      {"\x1b[<0;10;5M", 1000, mouse_key(4, 1), 5, 10},   // press left at column 10, row 5
      {"\x1b[<0;10;5m", 1050, mouse_key(8, 1), 5, 10},   // release
      {"\x1b[<0;10;5M", 1200, mouse_key(2, 1), 5, 10},   // second press in time: double click
      {"\x1b[<0;10;5M", 1300, mouse_key(4, 1), 5, 10},   // a third press starts again
      {"\x1b[<0;11;5M", 1400, mouse_key(4, 1), 5, 11},   // other cell: a press
      {"\x1b[<0;11;5M", 2000, mouse_key(4, 1), 5, 11},   // too late: a press
      {"\x1b[<2;11;5M", 2100, mouse_key(4, 2), 5, 11},   // right button
      {"\x1b[<0;11;5M", 2200, mouse_key(4, 1), 5, 11},   // other button in between: a press
      {"\x1b[<35;1;2M", 2300, mouse_key(1, 0), 2, 1},    // move without a button
      {"\x1b[<32;1;3M", 2400, mouse_key(1, 1), 3, 1},    // move with the left button held
  };
  KeyDecoder d;
  for (const auto& s : steps) {
    d.feed(s.bytes, s.at_ms);
    auto e = d.next();
    ASSERT_TRUE(e) << s.at_ms;
    EXPECT_EQ(e->key, s.key) << s.at_ms;
    EXPECT_EQ(e->row, s.row) << s.at_ms;
    EXPECT_EQ(e->col, s.col) << s.at_ms;
    EXPECT_FALSE(d.next());
  }
}

}  // namespace
