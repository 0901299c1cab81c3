// The console SET editor on the scripted console: its screens, storing values into the lines, the
// layout bounds, the conversion vocabulary marks, switching and saving, and what the SET reader reads
// back from a saved file.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <variant>

#include "engine/frame/console.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/frame/pikbar.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/setup/setup_fixture.h"
#include "platform/console_scripted.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using testing_support::data_dir;
using testing_support::read_file;

namespace {

constexpr int kUp = 72, kDown = 80, kRight = 77;


// Item line n of the first block of the standard file (n from 1), as a 0-based line index.
constexpr size_t kBegin1 = 7;  // "BEGIN" is line 8
size_t item(int n) { return kBegin1 + static_cast<size_t>(n); }

class SetEditorTest : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    auto c = std::make_unique<platform::ScriptedConsole>(25);
    sc = c.get();
    platform::set_console(std::move(c));
    copy_data({"STANDARD.SET", "prompts.eng", "CONVOCAB.ENG"});
    OUTDEV = 1;
    COLOURCOUNT = 5;
    VERSION = "7022";
    dir.write("procolor.cus", "7022,0,1,0,5,0,0\r\n7,0\r\n12,0\r\n10,0\r\n15,3\r\n1,3\r\n");
    FETCHCOL("procolor.cus");
    PROMPTNAME = "prompts.eng";
    FETCHPRO(PROMPTNAME);
    for (int i = 1; i <= COLOURCOUNT; ++i) COLOURNAME(i) = PROMPT(69 + i);
    FETCHMENUS();
    SETUPNAME = "STANDARD.SET";
    standard = split_lines(read_file(data_dir() / "STANDARD.SET"));
  }
  void TearDown() override {
    pickbar_hand_over() = PickBarHandOver{};
    SetupFixture::TearDown();
  }
  // The tables as the editor's start creates them, and the file read.
  void open_table() {
    dim_editor_tables();
    ASSERT_TRUE(READSETU());
  }
  std::string held(size_t index) const { return SETUPLINE[index + 1]; }
  std::vector<std::string> file(const std::string& name) const { return split_lines(dir.read(name)); }
  void keys(std::initializer_list<std::variant<int, const char*>> events) {
    for (const auto& e : events) {
      if (std::holds_alternative<int>(e)) sc->push_scan(std::get<int>(e));
      else sc->type(std::get<const char*>(e));
    }
  }

  platform::ScriptedConsole* sc = nullptr;
  std::vector<std::string> standard;
};

TEST_F(SetEditorTest, MainScreen) {
  EXPECT_THROW(PROSETUP(), platform::ScriptExhausted);
  const std::string shade(80, '\xB1');
  EXPECT_EQ(sc->visible_page(), 2);
  EXPECT_EQ(sc->row_text(1), shade);
  // The title above the box, the file name at column 66.
  EXPECT_NE(sc->row_text(2).find(" Setup File Editor "), std::string::npos);
  EXPECT_EQ(sc->row_text(2).substr(65, 14), " STANDARD.SET ");
  // The MAIN items in capitals; "< " and the value beside the highlighted one.
  EXPECT_EQ(sc->row_text(4).substr(2, 15), "\xBA" "FONTS        " "\xBA");
  EXPECT_EQ(sc->row_text(4).substr(17, 28), "< the three printing fonts  ");
  EXPECT_EQ(sc->row_text(5).substr(2, 18), "\xBAPROMPT FILE  \xBA \xB0\xB1");
  EXPECT_EQ(sc->row_text(12).substr(2, 15), "\xBASWITCH SETUP \xBA");
  EXPECT_NE(sc->row_text(24).find(" " + PROMPT(74) + " "), std::string::npos);
}

TEST_F(SetEditorTest, NewSetupStoresWholeValues) {
  open_table();
  struct Case {
    const char* what;
    int item;      // first-block item
    std::int32_t device;
    std::string typed;
    std::string line;  // the whole line afterwards; empty: unchanged
    bool changed;
    const char* prior = nullptr;  // a value stored before
  } cases[] = {
      {"a drive's root keeps its backslash", 4, 1, "C:\\", "C:\\" + std::string(37, ' ') + "= Default path for Print-to-File", true},
      {"a trailing backslash goes", 4, 1, "C:\\DATA\\", "C:\\DATA" + std::string(33, ' ') + "= Default path for Print-to-File", true},
      {"a trailing point goes", 1, 1, "PROMPTS.", "PROMPTS" + std::string(33, ' ') + "= Default Prompts file extension", true},
      {"a backslash alone stores nothing", 4, 1, "\\", "", false},
      {"a point alone stores nothing", 4, 1, ".", "", false},
      {"blanks store nothing", 4, 1, "   ", "", false},
      {"a 50-character folder moves the =", 4, 1, "C:\\" + std::string(47, 'F'),
       "C:\\" + std::string(47, 'F') + " = Default path for Print-to-File", true},
      {"a value with = is refused", 4, 1, "C:\\A=B", "", false},
      {"the logo name of PDF", 18, 1, "ab", "LOGOJ    AB" + std::string(29, ' ') + "= Default LOGO macro ID.", true},
      {"the logo name of the printer", 18, 2, "ab", "   AB LOGO0" + std::string(29, ' ') + "= Default LOGO macro ID.", true},
      {"a 6-character logo name whole", 18, 1, "LOGO10", "LOGOJ LOGO10" + std::string(28, ' ') + "= Default LOGO macro ID.", true},
      {"a 7-character logo name is refused", 18, 1, "LOGO100", "", false},
      {"a short logo name after a long one", 18, 1, "AB", "LOGOJ    AB" + std::string(29, ' ') + "= Default LOGO macro ID.", true},
      {"logo X of PDF", 19, 1, "-150", "-200   -150" + std::string(29, ' ') + "= Default LOGO X reference point.", true},
      {"logo X of the printer", 19, 2, "-150", " -150     0" + std::string(29, ' ') + "= Default LOGO X reference point.", true},
      {"the same value again changes nothing", 5, 1, "1", "", false},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(READSETU());
    OUTDEV = c.device;
    if (c.prior) {
      std::string prior = c.prior;
      NEWSETUP(prior, SETBEGIN1 + c.item);
      SETCHANGED = 0;
    }
    const int beeps = sc->beeps();
    std::string value = c.typed;
    NEWSETUP(value, SETBEGIN1 + c.item);
    EXPECT_EQ(held(item(c.item)), c.line.empty() ? standard[item(c.item)] : c.line) << c.what;
    EXPECT_EQ(SETCHANGED, c.changed ? 1 : 0) << c.what;
    const bool refused = c.typed.find('=') != std::string::npos || c.typed.size() == 7;
    EXPECT_EQ(sc->beeps() - beeps, refused ? 1 : 0) << c.what;
  }
}

TEST_F(SetEditorTest, LayoutBounds) {
  struct Case {
    const char* what;
    int i;  // layout item
    std::string typed;
    bool stored;
    std::vector<std::pair<int, std::string>> before;  // layout items typed first (all accepted)
  } cases[] = {
      {"lines per inch 8", 18, "8", true, {}},
      {"lines per inch 3", 18, "3", true, {}},
      {"lines per inch 9", 18, "9", true, {}},
      {"lines per inch 10", 18, "10", false, {}},
      {"lines per inch 2", 18, "2", false, {}},
      {"head 2000 on A4 with foot 300", 7, "2000", true, {}},
      {"head 2001 on A4 with foot 300", 7, "2001", false, {}},
      {"head 2000 on A3", 7, "2000", true, {{2, "A3"}}},
      {"page size 3500", 2, "3500", false, {}},
      {"page size A3", 2, "a3", true, {}},
      {"log left margin -201", 3, "-201", false, {}},
      {"logo name", 14, "LOGO2", true, {}},
  };
  for (const auto& c : cases) {
    open_table();
    BARMENU = "LAYOUT";
    WRITEMEN();
    for (const auto& [i, v] : c.before) {
      BARITEM = i;
      sc->type(v + "\r");
      PROGRAMC();
    }
    const int beeps = sc->beeps();
    const std::string old = held(item(4 + c.i));
    BARITEM = c.i;
    sc->type(c.typed + "\r");
    PROGRAMC();
    EXPECT_EQ(sc->queued(), 0u) << c.what;
    if (c.stored) {
      EXPECT_NE(held(item(4 + c.i)), old) << c.what;
      EXPECT_EQ(sc->beeps(), beeps) << c.what;
    } else {
      EXPECT_EQ(held(item(4 + c.i)), old) << c.what;
      EXPECT_EQ(sc->beeps(), beeps + 1) << c.what;
      EXPECT_EQ(sc->paused_ms() % 2000, 0) << c.what;
    }
  }
  // The stored value is shown right-aligned; the page size as "   A4".
  open_table();
  BARMENU = "LAYOUT";
  WRITEMEN();
  EXPECT_EQ(BARTEXT(2), "   A4\xB3Page size");
  EXPECT_EQ(BARTEXT(15), "    0\xB3Logo X");  // PDF's half of "-200      0"
  BARITEM = 18;
  sc->type("8\r");
  PROGRAMC();
  EXPECT_EQ(BARTEXT(18), "    8\xB3Lines per inch");
  EXPECT_EQ(held(item(22)), "8" + std::string(39, ' ') + "= Lines per inch line spacing");
  // The logo items are pre-filled with the device's own half: Enter alone changes nothing.
  SETCHANGED = 0;
  for (std::int32_t device : {1, 2}) {
    OUTDEV = device;
    for (int i : {14, 15, 16}) {
      BARITEM = i;
      sc->type("\r");
      PROGRAMC();
      EXPECT_EQ(held(item(4 + i)), standard[item(4 + i)]) << i;
    }
  }
  EXPECT_EQ(SETCHANGED, 0);
}

TEST_F(SetEditorTest, ConversionVocabularyMarks) {
  dir.write("CONVOCAB.DE", "");
  dir.write("CONVOCAB.FR", "");
  struct Case {
    const char* what;
    std::string value;       // second-block line 2 before
    std::string marked;      // marks of the listed files (DE, ENG, FR) as built
    int toggle;              // item toggled
    std::string after;       // the line's value afterwards
  } cases[] = {
      {"two extensions mark both", "ENG,DE", "xx.", 3, "DE,ENG,FR"},
      {"unmarking one of two", "ENG,DE", "xx.", 1, "ENG"},
      {"unmarking the only one keeps the line", "ENG", ".x.", 2, "ENG"},
  };
  for (const auto& c : cases) {
    auto lines = standard;
    const size_t conv = 98;  // second BEGIN is line 98 (index 97)
    ASSERT_EQ(rt::TRIM(lines[conv - 1]), "BEGIN");
    lines[conv + 1] = rt::LSET(c.value, 36) + "= Conversion Vocabulary File Name";
    dir.write("STANDARD.SET", joined_lines(lines));
    open_table();
    BARMENU = "CONVOCAB";
    WRITEMEN();
    ASSERT_EQ(BARCOUNT, 3);
    std::string marks;
    for (int i = 1; i <= 3; ++i) marks += BARTEXT(i)[12] == '\x04' ? 'x' : '.';
    EXPECT_EQ(marks, c.marked) << c.what;
    EXPECT_EQ(BARTEXT(2), "CONVOCAB.ENG" + std::string(1, c.marked[1] == 'x' ? '\x04' : ' ')) << c.what;
    BARITEM = c.toggle;
    PROGRAMC();
    EXPECT_EQ(BARACTION, 0);
    EXPECT_EQ(FNSTRIP(held(conv + 1)), c.after) << c.what;
  }
}

TEST_F(SetEditorTest, SwitchThenSaveKeepsEachFilesLines) {
  auto a = standard, b = standard;
  a[1] = "A.SET";
  b[1] = "B.SET";
  b[4] = "The second file's own comment.";
  dir.write("A.SET", joined_lines(a));
  dir.write("B.SET", joined_lines(b));
  fs::remove(dir.path() / "STANDARD.SET");
  SETUPNAME = "A.SET";
  keys({kDown, kDown, kDown, kDown, kDown, "\r",  // LAYOUT
        kUp, "\r", "8\r",                         // lines per inch 8
        "\x1b", kDown, kDown, kDown, "\r",        // back to MAIN, SWITCH SETUP
        kDown, "\r",                              // B.SET
        "y", "\r", "y",                           // save A.SET's changes to A.SET
        kDown, kDown, kDown, kDown, kDown, kDown, kDown, "\r",  // SAVE of B.SET
        "\r", "y", "\x1b"});
  PROSETUP();
  EXPECT_EQ(sc->queued(), 0u);
  EXPECT_EQ(SETUPNAME, "B.SET");
  auto a_saved = a;
  a_saved[item(22)] = "8" + std::string(39, ' ') + "= Lines per inch line spacing";
  EXPECT_EQ(file("A.SET"), a_saved);
  EXPECT_EQ(file("B.SET"), b);
  EXPECT_EQ(sc->visible_page(), 1);
  EXPECT_EQ(BARLEVEL, 1);
}

TEST_F(SetEditorTest, SaveWritesBackWhereTheFileWasRead) {
  // The front end passes full paths: Enter at the name question writes that file, not a copy here.
  testing_support::TempDir other;
  const std::string path = (other.path() / "SITE.SET").string();
  auto lines = standard;
  lines[1] = "SITE.SET";
  other.write("SITE.SET", joined_lines(lines));
  SETUPNAME = path;
  open_table();
  std::string v = "2";
  NEWSETUP(v, SETBEGIN1 + 5);
  sc->type("\ry");
  SAVESETU();
  lines[item(5)] = "2" + std::string(39, ' ') + "= Scale option (1=metric  2=Imperial)";
  EXPECT_EQ(split_lines(other.read("SITE.SET")), lines);
  EXPECT_FALSE(fs::exists(dir.path() / "SITE.SET"));
  EXPECT_EQ(SETUPNAME, path);
  // A typed name goes to the current folder, upper-cased, with the extension .SET.
  sc->type("c:\\x\\copy.txt\r");
  SAVESETU();
  EXPECT_EQ(split_lines(dir.read("COPY.SET"))[1], "COPY.SET");
  EXPECT_EQ(SETUPNAME, "COPY.SET");
}

// The name line the front end's editor writes (its whole name and a description) stays when the file
// is saved under its own name; saved under another name, the line takes that name and keeps the
// description.
TEST_F(SetEditorTest, SaveKeepsTheFrontEndsNameLine) {
  struct Case {
    const char* what;
    std::string line;  // line 2 of JOB.SET
    const char* typed;
    const char* saved;
    std::string after;
  } cases[] = {
      {"whole name and description", "C:\\VLX7000\\JOB.SET  Logs on A3", "\ry", "JOB.SET",
       "C:\\VLX7000\\JOB.SET  Logs on A3"},
      {"the name alone", "JOB.SET", "\ry", "JOB.SET", "JOB.SET"},
      {"the name and a description", "JOB.SET  Logs on A3", "\ry", "JOB.SET", "JOB.SET  Logs on A3"},
      {"saved under another name", "/home/u/vlx7000/JOB.SET  Logs on A3", "copy\r", "COPY.SET",
       "COPY.SET  Logs on A3"},
  };
  for (const Case& c : cases) {
    auto lines = standard;
    lines[1] = c.line;
    dir.write("JOB.SET", joined_lines(lines));
    fs::remove(dir.path() / "COPY.SET");
    SETUPNAME = "JOB.SET";
    open_table();
    std::string v = "2";
    NEWSETUP(v, SETBEGIN1 + 5);
    sc->type(c.typed);
    SAVESETU();
    EXPECT_EQ(sc->queued(), 0u) << c.what;
    auto after = lines;
    after[1] = c.after;
    after[item(5)] = "2" + std::string(39, ' ') + "= Scale option (1=metric  2=Imperial)";
    EXPECT_EQ(file(c.saved), after) << c.what;
  }
}

TEST_F(SetEditorTest, FailedWriteKeepsTheOldFile) {
  open_table();
  std::string v = "A3";
  NEWSETUP(v, SETBEGIN1 + 6);
  sc->type("\ry");
  sc->type("x");  // the key after the error report
  {
    testing_support::ScopedFileSizeLimit full(1000);  // a SET file is larger: the data written at close fails
    SAVESETU();
  }
  EXPECT_EQ(split_lines(dir.read("STANDARD.SET")), standard);
  EXPECT_EQ(SETCHANGED, 1);
  EXPECT_NE(log().find("STANDARD.SET cannot be written (File too large); the earlier file is kept."), std::string::npos)
      << log();
}

// A console that keeps the message line and the title row as they stood at each pause.
class PausingConsole : public platform::ScriptedConsole {
 public:
  PausingConsole() : ScriptedConsole(25) {}
  void pause_ms(int ms) override {
    ScriptedConsole::pause_ms(ms);
    if (!seen.empty() && seen.back().line == row_text(24)) seen.back().ms += ms;
    else seen.push_back({row_text(24), row_text(2), ms});
  }
  struct Seen {
    std::string line, title;
    long ms;
  };
  std::vector<Seen> seen;
};

// A save says that it saved, long enough to be read, and the title shows the new name; a save that
// fails leaves its reason on the message line as long. Afterwards the key row is back.
TEST_F(SetEditorTest, SaveSaysWhatBecameOfIt) {
  auto c = std::make_unique<PausingConsole>();
  auto* pc = c.get();
  platform::set_console(std::move(c));
  rt::set_fault_display([](const std::string& text, const std::vector<std::string>& paths) { show_message(text, 0, paths); });
  BARLEVEL = 2;
  pc->set_active_page(2);
  pc->set_visible_page(2);
  const std::string key_row = "\xB1\xB1  Arrow keys move";
  pc->locate(24, 1);
  pc->print(key_row, false);
  open_table();
  std::string v = "2";
  NEWSETUP(v, SETBEGIN1 + 5);
  pc->type("copy\r");
  SAVESETU();
  EXPECT_TRUE(fs::exists(dir.path() / "COPY.SET"));
  const auto saved = std::find_if(pc->seen.begin(), pc->seen.end(), [](const auto& s) {
    return s.line.find("Setup file saved as COPY.SET") != std::string::npos;
  });
  ASSERT_NE(saved, pc->seen.end());
  EXPECT_EQ(saved->line.substr(0, 2), "\xB1\xB1");  // the shaded edge stays
  EXPECT_GE(saved->ms, 4000);
  EXPECT_EQ(saved->title.substr(63, 16), std::string(6, '\xB1') + " COPY.SET ");  // ending in column 79
  EXPECT_EQ(pc->row_text(24).substr(0, key_row.size()), key_row);

  pc->seen.clear();
  NEWSETUP(v = "A3", SETBEGIN1 + 6);
  pc->type("\ry");
  {
    testing_support::ScopedFileSizeLimit full(1000);
    SAVESETU();
  }
  const auto failed = std::find_if(pc->seen.begin(), pc->seen.end(), [](const auto& s) {
    return s.line.find("COPY.SET cannot be written") != std::string::npos;
  });
  ASSERT_NE(failed, pc->seen.end());
  EXPECT_GE(failed->ms, 4000);
  EXPECT_EQ(pc->row_text(24).substr(0, key_row.size()), key_row);
  rt::set_fault_display(nullptr);
}

TEST_F(SetEditorTest, Listings) {
  for (int i = 1; i <= 25; ++i) dir.write("S" + std::to_string(100 + i) + ".SET", "");
  dir.write("A LONG SETUP NAME.SET", "");
  open_table();
  SETUPNAME = "a long setup name.set";
  BARMENU = "SWITCHSETUP";
  sc->type("x");  // the key after the message
  WRITEMEN();
  EXPECT_EQ(sc->queued(), 0u);
  EXPECT_EQ(BARCOUNT, 19);
  EXPECT_EQ(BARTEXT(1), "A LONG SETUP NAME.SET");
  EXPECT_EQ(BARITEM, 1);  // the whole long name is marked
  EXPECT_EQ(BARVALUE(1), PROMPT(109));
  EXPECT_EQ(BARVALUE(2), PROMPT(106));
  // A name with two blanks in a row becomes the SET file's name with one.
  std::string name = "  TWO  BLANKS.SET ";
  EXPECT_EQ(FNCULL(name), "TWO BLANKS.SET");
  EXPECT_EQ(name, "TWO BLANKS.SET");
}

TEST_F(SetEditorTest, LongFileIsSavedWhole) {
  auto lines = standard;
  while (lines.size() < 200) lines.push_back("comment " + std::to_string(lines.size() + 1));
  dir.write("STANDARD.SET", joined_lines(lines));
  open_table();
  EXPECT_EQ(SETLINECOUNT, 200);
  std::string v = "A3";
  NEWSETUP(v, SETBEGIN1 + 6);
  sc->type("\ry");
  SAVESETU();
  lines[item(6)] = "A3" + std::string(38, ' ') + "= page size";
  EXPECT_EQ(file("STANDARD.SET"), lines);
  EXPECT_EQ(SETCHANGED, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "STANDARD.SET.NEW"));
}

TEST_F(SetEditorTest, FileWithoutBeginIsNotEdited) {
  const std::string text = "NOBEGIN.SET\r\nPROMPTS.ENG = prompts\r\n";
  dir.write("NOBEGIN.SET", text);
  SETUPNAME = "NOBEGIN.SET";
  sc->type("x");  // the key after the message
  PROSETUP();
  EXPECT_EQ(sc->queued(), 0u);
  EXPECT_EQ(dir.read("NOBEGIN.SET"), text);
  EXPECT_EQ(sc->visible_page(), 1);
  EXPECT_EQ(BARLEVEL, 1);
  // Without a second BEGIN: the page order says so and stores nothing.
  auto lines = standard;
  lines.resize(96);
  dir.write("STANDARD.SET", joined_lines(lines));
  SETUPNAME = "STANDARD.SET";
  open_table();
  EXPECT_EQ(SETBEGIN2, 0);
  BARMENU = "PATHS";
  WRITEMEN();
  EXPECT_EQ(BARTEXT(2), "");
  BARITEM = 2;
  const int beeps = sc->beeps();
  PROGRAMC();
  EXPECT_EQ(sc->beeps(), beeps + 1);
  EXPECT_EQ(SETCHANGED, 0);
}

TEST_F(SetEditorTest, ScreensAndFilesOfAWholeRun) {
  // Layout: lines per inch 8, Esc, Esc, save as MYTEST.
  keys({kDown, kDown, kDown, kDown, kDown, "\r", kUp, "\r", "8\r", "\r", "10\r", "\x1b", "\x1b", "y", "MYTEST\r"});
  PROSETUP();
  EXPECT_EQ(sc->queued(), 0u);
  EXPECT_EQ(SETUPNAME, "MYTEST.SET");
  const std::string bytes = dir.read("MYTEST.SET");
  auto saved = split_lines(bytes);
  ASSERT_EQ(saved.size(), standard.size());
  std::vector<size_t> differ;
  for (size_t i = 0; i < saved.size(); ++i)
    if (saved[i] != standard[i]) differ.push_back(i);
  EXPECT_EQ(differ, (std::vector<size_t>{1, item(22)}));
  EXPECT_EQ(saved[1], "MYTEST.SET");
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r'));

  // Colours: COLOURS, Enter, Right, Enter, Esc.
  keys({kDown, kDown, kDown, kDown, kDown, kDown, "\r", "\r", kRight, "\r", "\x1b", "\x1b"});
  PROSETUP();
  EXPECT_EQ(sc->queued(), 0u);
  auto colours = file("procolor.cus");  // the colour file there is, whatever its letter case
  ASSERT_GE(colours.size(), 2u);
  EXPECT_EQ(colours[0], "7022,0,1,0,5,0,0");
  EXPECT_EQ(colours[1], "7,1");
  EXPECT_EQ(colours.size(), 6u);

  // A folder with a blank keeps it after PATHS, Enter, Enter and a save.
  auto lines = split_lines(dir.read("MYTEST.SET"));
  lines[item(4)] = rt::LSET("C:\\MY DATA", 40) + "= Default path for Print-to-File";
  dir.write("MYTEST.SET", joined_lines(lines));
  keys({kDown, kDown, kDown, kDown, "\r", "\r", "\r", "\x1b", kDown, kDown, kDown, "\r", "\r", "y", "\x1b"});
  PROSETUP();
  EXPECT_EQ(sc->queued(), 0u);
  EXPECT_EQ(file("MYTEST.SET"), lines);
}

TEST_F(SetEditorTest, ReaderReadsBackWhatTheEditorStored) {
  copy_data({"PROVOCAB.ENG", "PROLIB.DAT", "pdffonts.dat", "LJ4"});
  fs::create_directory(dir.path() / "MY FONTS");
  for (const auto& e : fs::directory_iterator(dir.path() / "LJ4")) fs::copy(e.path(), dir.path() / "MY FONTS" / e.path().filename());
  open_table();
  OUTDEV = 1;
  const std::vector<std::pair<int, std::string>> values = {
      {4, "C:\\OUT FILES\\PDF"}, {5, "2"}, {6, "A3"}, {7, "-150"}, {8, "120"}, {9, "-300"}, {10, "100"},
      {11, "400"}, {12, "350"}, {13, "600"}, {14, "-500"}, {15, "-400"}, {16, "1100"}, {17, "7"},
      {18, "LOGOX2"}, {19, "123"}, {20, "-45"}, {21, "603"}, {22, "8"}, {24, "MY FONTS"}};
  for (auto [k, v] : values) {
    std::string value = v;
    ASSERT_TRUE(NEWSETUP(value, SETBEGIN1 + k)) << k;
  }
  std::string order = "REVERSE";
  NEWSETUP(order, SETBEGIN2 + 1);
  sc->type("SAVED\r");
  SAVESETU();
  ASSERT_TRUE(fs::exists(dir.path() / "SAVED.SET"));
  ASSERT_EQ(SETUPNAME, "SAVED.SET");
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  GETSETUP();
  EXPECT_EQ(DATADIR, "C:\\OUT FILES\\PDF");
  EXPECT_EQ(SCALEOPT, 2);
  EXPECT_EQ(PAPER, "A3");
  EXPECT_EQ(A3SHIFT, 2333);
  EXPECT_EQ(std::vector<std::int32_t>({ATTRLMARGIN, ATTRRMARGIN, PROFLMARGIN, PROFRMARGIN, HEADDOTS, FOOTDOTS, SUPPRESS,
                                       TITLEOFFSET, FOOTOFFSET1, FOOTOFFSET2, INDENT}),
            std::vector<std::int32_t>({-150, 120, -300, 100, 400, 350, 600, -500, -400, 1100, 7}));
  EXPECT_EQ(LOGOMACRO, "LOGOX2");
  EXPECT_EQ(LOGOX, 123);
  EXPECT_EQ(LOGOY, -45);
  EXPECT_EQ(COMPRESSLOG, 603);
  EXPECT_DOUBLE_EQ(LINEPITCH, 37.5);
  EXPECT_EQ(FONTDIR, "MY FONTS");
  EXPECT_EQ(LOGFIRST, -1);
}

}  // namespace
