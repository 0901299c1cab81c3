// The file picker's remembered files and its boxes.
#include <filesystem>

#include "engine/frame/globals.h"
#include "engine/run/picker.h"
#include "engine/run/run_fixture.h"
#include "engine/runtime/text.h"
#include "platform/console.h"
#include "platform/console_scripted.h"

namespace {

class PickerTest : public RunFixture {};

TEST_F(PickerTest, RememberedFiles) {
  std::vector<std::string> list;
  std::int32_t count = -1;
  POPFILES(list, count);  // no memofile yet
  ASSERT_GE(count, 1);
  EXPECT_EQ(list[1], "C:\\");
  {
    // Drive C mapped elsewhere: the home folder is offered too, as a folder to list.
    dir.write("home/x", "x");
    dir.write("drive_c/x", "x");
    testing_support::ScopedEnv home("HOME", (dir.path() / "home").string());
    testing_support::ScopedEnv drive_c("VLX_DRIVE_C", (dir.path() / "drive_c").string());
    POPFILES(list, count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(list[1], "C:\\");
    EXPECT_EQ(list[2], (dir.path() / "home").string() + "/");
  }

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

// The picker's input field: row 22 from column 3 with "Filemask = " and the default hint, so the field
// runs from column 14 to 69 (56 columns) and the hint from column 70.
TEST_F(PickerTest, LineEditor) {
  const std::string hint = std::string{'\x11', '\xC4', '\xD9'} + " Enter";
  const std::string up{'\0', 72}, down{'\0', 80}, left{'\0', 75}, right{'\0', 77}, home{'\0', 71}, end{'\0', 79},
      ins{'\0', 82}, del{'\0', 83}, f3{'\0', 61}, shift_f6{'\0', 89}, shift_tab{'\0', 15};
  const std::string path70 = "C:\\PROJECTS\\2026\\GROUND INVESTIGATION\\NORTH SITE\\TRIAL PITS\\PIT3.TXT";
  ASSERT_EQ(path70.size(), 68u);
  const std::string a54(54, 'A'), name60(60, 'N');
  // 80 letters in 86 bytes: "C:\Prüfungen\Längsschnitt Süd\Bohrungen Ägerten Nörd\Bohrkern Nr 4\Lägerdorf.txt".
  const std::string umlauts80 = "C:\\Pr\xC3\xBC" "fungen\\L\xC3\xA4ngsschnitt S\xC3\xBC" "d\\Bohrungen \xC3\x84gerten N\xC3\xB6rd"
                                "\\Bohrkern Nr 4\\L\xC3\xA4gerdorf.txt";
  struct Case {
    const char* what;
    std::string proposed;
    std::vector<std::string> keys;  // a key of one character, two (scan code) or four (a click)
    std::string result;
    std::string shown;  // the start of the field (column 14 on), when it matters
  } cases[] = {
      {"short text comes back", "C:\\DATA\\A.TXT", {"\r"}, "C:\\DATA\\A.TXT", "C:\\DATA\\A.TXT  "},
      {"the first key appends", "C:\\", {"X", "\r"}, "C:\\X", ""},
      {"after Home the first key clears", "ABC", {home, "Z", "\r"}, "Z", ""},
      {"Backspace cancels the clearing", "ABCD", {left, "\b", "Z", "\r"}, "ABZ", ""},
      {"Backspace at the start deletes", "ABC", {home, "\b", ins, "X", "\r"}, "XBC", ""},
      {"Backspace stops at an inner blank", "AB CD", {home, "\b", "\r"}, "B  CD", ""},
      {"Del shifts the whole rest", "AB CD", {home, del, del, del, "\r"}, "CD", ""},
      {"Shift+F6 blanks to the end", "ABCDEF", {home, right, right, shift_f6, "\r"}, "AB", ""},
      {"Tab goes to the next comma", "A,B,C", {home, "\t", "X", "\r"}, "AX", ""},
      {"Shift+Tab back to the comma before", "A,B,C", {shift_tab, "X", "\r"}, "A,BX", ""},
      {"Esc on a short text cancels", "ABC", {"\x1B"}, "", ""},
      {"Up ends with E", "ABC", {up}, "E", ""},
      {"Down ends with P", "ABC", {down}, "P", ""},
      {"a click ends with character 255", "ABC", {platform::mouse_key(platform::kMousePress, 1)}, "\xFF", ""},
      {"a long path shows its tail and comes back whole", path70, {"\r"}, path70, "...\\NORTH SITE\\TRIAL"},
      {"a long path: Esc gives its head", path70, {"\x1B"}, "C:\\PROJECTS\\2026\\GROUND INVESTIGATION\\", ""},
      {"a long path: a typed drive replaces it", path70, {home, "D", ":", "\\", "X", "\r"}, "D:\\X", ""},
      {"a long name without a backslash comes back whole", name60, {"\r"}, name60, "...\\NNNN"},
      {"a rest of width - 3 after the prefix still fits", "DIR\\" + std::string(53, 'R'), {"\r"},
       "DIR\\" + std::string(53, 'R'), ""},
      {"Backspace on a full field takes no hint", a54, {end, "B", "C", home, "\b", "\r"}, a54.substr(1) + "BC", ""},
      {"End on a full field stays in it", a54, {end, "B", "C", end, "Z", "\r"}, a54 + "BZ", ""},
      {"F3 before any Enter: the next key ends with the head", "ABC", {f3, "Q"}, "", ""},
      // Typed letters go into the name as UTF-8: one the code page has (the decoder's CP437 byte of
      // "ó") and ones it lacks ("ł", "Œ": their UTF-8 bytes), each one cell; Backspace takes a whole one.
      {"letters beyond CP437 typed as UTF-8", "C:\\", {"\xC5\x82", "\xA2", "d", "\xC5\x92", "\b", "*", "\r"},
       "C:\\\xC5\x82\xC3\xB3" "d*", ""},
      {"a letter CP437 lacks inserted", "ABC", {home, "\b", ins, "\xC5\x82", "\r"}, "\xC5\x82" "BC", ""},
      // Tab and Shift+Tab count letters: "ä" before a comma is one column, though two bytes.
      {"Tab passes a letter of two bytes", "\xC3\xA4,B,C", {home, "\t", "X", "\r"}, "\xC3\xA4X", ""},
      {"Tab after a letter of two bytes", "\xC3\xA4,B,C", {home, "\t", "\t", "X", "\r"}, "\xC3\xA4,BX", ""},
      {"Shift+Tab back over a letter of two bytes", "A,\xC3\xA4,C", {shift_tab, "X", "\r"}, "A,\xC3\xA4X", ""},
      // A long path of such letters fills the 54 columns a shortened path has with "...\" and its end.
      {"a long path of letters beyond ASCII shows its end in its room", umlauts80, {"\r"}, umlauts80,
       "...\\Bohrungen \xC3\x84gerten N\xC3\xB6rd\\Bohrkern Nr 4\\L\xC3\xA4gerdorf.txt  "},
      {"a long path of letters beyond ASCII: Esc gives its head", umlauts80, {"\x1B"},
       "C:\\Pr\xC3\xBC" "fungen\\L\xC3\xA4ngsschnitt S\xC3\xBC" "d\\", ""},
  };
  platform::set_names_in_utf8(true);
  for (const auto& c : cases) {
    auto scripted = std::make_unique<platform::ScriptedConsole>(25);
    auto* con = scripted.get();
    platform::set_console(std::move(scripted));
    con->mouse_on(3, platform::kMousePress);  // as the list leaves it
    for (const auto& k : c.keys) con->push_key(k);
    SCOPED_TRACE(c.what);
    RECALLTEXT.clear();
    std::string text = c.proposed, h;
    try {
      PICKPUT1(22, 3, "Filemask = ", text, h);
    } catch (const platform::ScriptExhausted&) {
      ADD_FAILURE() << c.what << ": the field waits for more keys";
      continue;
    }
    EXPECT_EQ(text, c.result) << c.what;
    EXPECT_EQ(h, hint) << c.what;
    const std::string row = con->row_text(22);
    EXPECT_EQ(row.substr(2, 11), "Filemask = ") << c.what;
    EXPECT_EQ(row.substr(69, 9), hint) << c.what;  // no edit reaches the hint
    if (!c.shown.empty()) {
      std::string field;  // the field's cells from column 14, each as it reads back (a letter as its bytes)
      for (int col = 14; col <= 69 && field.size() < c.shown.size(); ++col) field += con->text_at(22, col);
      EXPECT_EQ(field, c.shown) << c.what;
    }
    EXPECT_EQ(con->queued(), 0u) << c.what;
  }

  // F3 brings back the text of the last Enter, as much as the field holds.
  auto scripted = std::make_unique<platform::ScriptedConsole>(25);
  auto* con = scripted.get();
  platform::set_console(std::move(scripted));
  RECALLTEXT = std::string(60, 'R');
  con->push_key(std::string{'\0', 61});
  con->push_key("\r");
  std::string text = "X", h;
  PICKPUT1(22, 3, "Filemask = ", text, h);
  EXPECT_EQ(text, std::string(56, 'R'));
  EXPECT_EQ(con->row_text(22).substr(69, 9), hint);
  EXPECT_EQ(RECALLTEXT, std::string(56, 'R'));

  // Without a person at the console the field ends as Esc does.
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  text = path70;
  PICKPUT1(22, 3, "Filemask = ", text, h);
  EXPECT_EQ(text, "C:\\PROJECTS\\2026\\GROUND INVESTIGATION\\");
}

// The picker over the remembered files and the listings of masks and folders. "C:\" is the folder
// drive_c of the test's folder; the current folder is the test's folder.
TEST_F(PickerTest, FilePicker) {
  testing_support::ScopedEnv drive_c("VLX_DRIVE_C", (dir.path() / "drive_c").string());
  dir.write("drive_c/Examples/Examples.TXT", "x");
  dir.write("drive_c/.hidden", "x");
  dir.write("a.TXT", "x");
  const std::string up{'\0', 72}, down{'\0', 80}, home{'\0', 71}, end{'\0', 79};
  std::string thirty, three = "F01\r\nF02\r\nF03\r\n";
  for (int i = 1; i <= 30; ++i) thirty += (i < 10 ? "F0" : "F") + std::to_string(i) + "\r\n";
  const std::string click2 = "click 14", click_outside = "click 5";
  struct Case {
    const char* what;
    const char* memofile;  // nullptr: none
    std::vector<std::string> keys;
    std::string result;
    std::string field;  // what the input row shows at the end (from column 3), when it matters
  } cases[] = {
      {"Esc in the list cancels", nullptr, {"\x1B"}, "NIL", ""},
      {"the drive, its folder, its file", nullptr, {"\r", "\r", "\r", "\r", "\r", "\r"}, "C:\\Examples\\Examples.TXT", ""},
      {"End in a long list", thirty.c_str(), {end, "\r", "\x1B"}, "NIL", "Filemask = F30"},
      {"Down scrolls past the last row", thirty.c_str(), {down, down, down, down, down, down, down, down, down, "\r", "\x1B"},
       "NIL", "Filemask = F10"},
      {"Up scrolls back from the first row", thirty.c_str(), {end, up, up, up, up, up, up, up, up, "\r", "\x1B"}, "NIL",
       "Filemask = F22"},
      {"Home after End", thirty.c_str(), {end, home, "\r", "\x1B"}, "NIL", "Filemask = F01"},
      {"End in a short list takes its last entry", three.c_str(), {end, "\r", "\x1B"}, "NIL", "Filemask = F03"},
      {"an empty row gives an empty field", three.c_str(), {down, down, down, down, "\r", "\r"}, "NIL", "Filemask =   "},
      {"a click takes its row", three.c_str(), {click2, "\x1B"}, "NIL", "Filemask = F02"},
      {"a click outside the rows does nothing", three.c_str(), {click_outside, "\r", "\x1B"}, "NIL", "Filemask = F01"},
      {"a name that is nowhere", "NOPE.TXT\r\n", {"\r", "\r", "x", "\x1B"}, "NIL", "          "},
      {"a mask in the current folder", nullptr, {"\r", home, "*", ".", "T", "X", "T", "\r", "\r", "\r"}, "a.TXT", ""},
      {"a folder and \"..\" list its parent", nullptr,
       {"\r", "E", "x", "a", "m", "p", "l", "e", "s", "\\", ".", ".", "\r", "\r", "\x1B"}, "NIL",
       "Filemask = C:\\Examples\\..\\Examples "},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir.path() / "memofile");
    if (c.memofile) dir.write("memofile", c.memofile);
    auto scripted = std::make_unique<platform::ScriptedConsole>(25);
    auto* con = scripted.get();
    platform::set_console(std::move(scripted));
    for (const auto& k : c.keys) {
      if (k.rfind("click ", 0) == 0) con->push_mouse(std::stoi(k.substr(6)), 10);
      else con->push_key(k);
    }
    std::string result = "something";
    PICKFTCH(result);
    EXPECT_EQ(result, c.result) << c.what;
    EXPECT_EQ(con->queued(), 0u) << c.what;
    EXPECT_EQ(con->row_text(11).substr(23, 31), "SELECT [drive:\\][path\\]filename") << c.what;
    if (!c.field.empty()) {
      EXPECT_EQ(con->row_text(22).substr(2, c.field.size()), c.field) << c.what;
    }
    if (c.result != "NIL") {
      EXPECT_EQ(dir.read("memofile").substr(0, c.result.size() + 2), c.result + "\r\n") << c.what;
    }
    if (c.result == "NIL" && c.memofile) {
      EXPECT_EQ(dir.read("memofile"), c.memofile) << c.what;
    }
  }

  // A folder of more entries than the list holds: the first 90 by name (f0, f1, f10 .. f19, f2, ...,
  // f89, f9), so End shows f9 last.
  for (int i = 0; i < 100; ++i) dir.write("drive_c/many/f" + std::to_string(i), "x");
  auto scripted = std::make_unique<platform::ScriptedConsole>(25);
  auto* con = scripted.get();
  platform::set_console(std::move(scripted));
  dir.write("memofile", "C:\\many\r\n");
  for (const std::string& k : std::vector<std::string>{"\r", "\r", end, "\x1B"}) con->push_key(k);
  std::string result;
  PICKFTCH(result);
  EXPECT_EQ(BARCOUNT, 90);
  EXPECT_EQ(con->row_text(20).substr(2, 11), "C:\\many\\f9 ") << con->screen();
  // The list says that it is cut, and how to narrow it; the key row has the list's keys.
  EXPECT_EQ(rt::TRIM(con->row_text(10)), "Only the first 90 names are listed: narrow the file mask (e.g. B*.TXT)");
  EXPECT_EQ(rt::TRIM(con->row_text(24)), "Up Down Home End: move   Enter: take the name   Esc: back");
  // 90 names fit: no word of a cut; in the Filemask field the key row has the field's keys.
  for (int i = 90; i < 100; ++i) std::filesystem::remove(dir.path() / "drive_c" / "many" / ("f" + std::to_string(i)));
  scripted = std::make_unique<platform::ScriptedConsole>(25);
  con = scripted.get();
  platform::set_console(std::move(scripted));
  for (const std::string& k : std::vector<std::string>{"\r", "\r", "\r", "\x1B"}) con->push_key(k);
  PICKFTCH(result);
  EXPECT_EQ(BARCOUNT, 90);
  EXPECT_EQ(rt::TRIM(con->row_text(10)), "");
  EXPECT_EQ(rt::TRIM(con->row_text(24)), "Enter: open the file, or list a folder or mask (*, ?)   F3: last   Esc: back");

  // A folder deeper than a row: each entry shows its end, so the entries differ on the screen.
  const std::string deep = "C:\\" + std::string(40, 'd') + "\\" + std::string(40, 'e');
  dir.write("drive_c/" + std::string(40, 'd') + "/" + std::string(40, 'e') + "/a.txt", "x");
  dir.write("drive_c/" + std::string(40, 'd') + "/" + std::string(40, 'e') + "/b.txt", "x");
  scripted = std::make_unique<platform::ScriptedConsole>(25);
  con = scripted.get();
  platform::set_console(std::move(scripted));
  dir.write("memofile", deep + "\r\n");
  for (const std::string& k : std::vector<std::string>{"\r", "\r", "\x1B"}) con->push_key(k);
  PICKFTCH(result);
  EXPECT_EQ(con->row_text(13).substr(2, 76), rt::LSET("...\\" + std::string(40, 'e') + "\\a.txt", 76)) << con->screen();
  EXPECT_EQ(con->row_text(14).substr(2, 76), rt::LSET("...\\" + std::string(40, 'e') + "\\b.txt", 76)) << con->screen();

  // Without a person at the console the list is left at once.
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  PICKFTCH(result);
  EXPECT_EQ(result, "NIL");
}

}  // namespace
