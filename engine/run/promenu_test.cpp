// The main menu and run control on the scripted console: the main screen and its cells, the key and
// mouse dispatch, the output-folder question, the one-shot run and the end.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "engine/frame/console.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/run/promenu.h"
#include "engine/run/run.h"
#include "engine/run/run_fixture.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "platform/console.h"
#include "platform/console_scripted.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

// The scripted console that keeps the screen as it was at every key wait.
class RecordingConsole : public platform::ScriptedConsole {
 public:
  RecordingConsole() : ScriptedConsole(25) {}
  std::string wait_key() override {
    std::vector<std::string> rows;
    for (int r = 1; r <= this->rows(); ++r) rows.push_back(row_text(r));
    seen.push_back(rows);
    return ScriptedConsole::wait_key();
  }
  // Row r (from 1) of the screen at key wait n (from 0; -1 the last).
  std::string at(int n, int r) const {
    const auto& s = n < 0 ? seen.back() : seen.at(static_cast<size_t>(n));
    return s.at(static_cast<size_t>(r - 1));
  }
  std::vector<std::vector<std::string>> seen;
};

class MenuTest : public RunFixture {
 protected:
  void SetUp() override {
    RunFixture::SetUp();
    auto c = std::make_unique<RecordingConsole>();
    con = c.get();
    platform::set_console(std::move(c));
    rt::set_exit_code(0);
    VERSION = "7022";
    STATUSROW = CONROWS = 25;
    std::string prompts = (data_dir() / "prompts.eng").string();
    FETCHPRO(prompts);
    dir.write("procolor.cus", "7005,0,0,0,5,0,0\r\n7,0\r\n12,0\r\n10,0\r\n15,3\r\n1,3\r\n");
    FETCHCOL("procolor.cus");
    SETUPNAME = "STANDARD.SET";
    VOCABNAME = "PROVOCAB.ENG";
    dir.write("STANDARD.SET", "x");
    dir.write("PROVOCAB.ENG", "x");
    DATADIR = "C:\\VLXFILES";
    OUTDEV = 1;
    CHARWIDTH(3, 255) = 2;  // tables built for PDF
    auto& h = menu_hand_over();
    h.getsetup = [this] { calls.push_back("getsetup"); };
    h.widthtab = [this](std::int32_t n) {
      calls.push_back("widthtab " + std::to_string(n));
      CHARWIDTH(n, 255) = 1 + OUTDEV;
    };
    h.proshow = [this] {
      calls.push_back("proshow dev " + std::to_string(OUTDEV) + " mode " + std::to_string(SHEETMODE));
    };
    h.protest = [this] { calls.push_back("protest dev " + std::to_string(OUTDEV)); };
    h.prosetup = [this] { calls.push_back("prosetup"); };
  }
  void TearDown() override {
    rt::set_command_tail("");
    rt::set_exit_code(0);
    reset_setup_globals();
    RunFixture::TearDown();
  }
  void run(const std::string& tail = "") {
    rt::set_command_tail(tail);
    PROMENU();
  }
  // Cell i's line j (0 label, 1 caption, 2 choice) at key wait n.
  std::string cell(int n, int i, int j) const { return con->at(n, 23 + j).substr(static_cast<size_t>(16 * (i - 1)), 15); }
  bool exists(const char* name) const { return std::filesystem::exists(dir.path() / name); }

  RecordingConsole* con = nullptr;
  std::vector<std::string> calls;
};

constexpr std::uint8_t attr(int fg, int bg) { return static_cast<std::uint8_t>(fg | (bg << 4)); }

TEST_F(MenuTest, MainScreenAndCells) {
  con->push_key("\x1b");
  run();
  ASSERT_EQ(con->seen.size(), 1u);
  EXPECT_EQ(con->at(0, 2), std::string(30, ' ') + " V e l t r a x " + std::string(35, ' '));
  EXPECT_EQ(con->at(0, 3).substr(28, 19), " ================= ");
  EXPECT_NE(con->at(0, 5).find(" Soil profiles and borehole logs "), std::string::npos);
  EXPECT_EQ(con->at(0, 7).substr(21, 34), " Version 7022  (Max Samples: 140) ");
  EXPECT_NE(con->at(0, 9).find(" F1 starts a run"), std::string::npos);
  // The two names, each with the "=" of its prompt in column 62.
  EXPECT_EQ(con->at(0, 19).substr(50, 26), "Vocabulary = PROVOCAB.ENG ");
  EXPECT_EQ(con->at(0, 20).substr(50, 26), "Setup file = STANDARD.SET ");
  const char* const want[3][5] = {
      {"      <F1>     ", "      <F2>     ", "      <F3>     ", "      <F4>     ", "      <F5>     "},
      {"      Run      ", "    Activity   ", " Output device ", "    Folder     ", "     Setup     "},
      {"               ", "    Profiles   ", "      PDF      ", "  C:\\VLXFILES  ", "    Editor     "}};
  for (int j = 0; j < 3; ++j)
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(cell(0, i, j), want[j][i - 1]) << "cell " << i << " line " << j;
  EXPECT_EQ(calls, std::vector<std::string>{"getsetup"});
  EXPECT_EQ(con->screen(), std::string(24, '\n'));  // the end clears the window
  EXPECT_EQ(rt::exit_code(), 0);
  EXPECT_FALSE(exists("lastrun"));
  EXPECT_EQ(log(), "");
  // A name that the path search does not find leaves the prompt and a blank.
  VOCABNAME = "NOSUCH.ENG";
  con->push_key("\x1b");
  run();
  EXPECT_EQ(con->at(-1, 19).substr(50, 14), "Vocabulary =  ");
}

TEST_F(MenuTest, CellColoursAndWidths) {
  struct Case {
    int length;
    std::string shown;
  } cases[] = {
      {0, std::string(15, ' ')},   {1, "       a       "}, {2, "      ab       "}, {4, "      abcd     "},
      {5, "     abcde     "},      {9, "   abcdefghi   "}, {13, " abcdefghijklm "}, {14, "abcdefghijklmn "},
      {15, "abcdefghijklmno"},     {16, "...efghijklmnop"}, {17, "...fghijklmnopq"},
  };
  for (const auto& c : cases) {
    DATADIR = std::string("abcdefghijklmnopq").substr(0, static_cast<size_t>(c.length));
    con->seen.clear();
    con->push_key("\x1b");
    run();
    EXPECT_EQ(cell(0, 4, 2), c.shown) << c.length;
  }
  // A longer folder shows its last folders after a mark, or the end of its last one; a folder of this
  // system with "/" throughout.
  struct Folder {
    std::string folder, shown;
  } folders[] = {
      {"C:\\VLXFILES\\JOB123\\SUB", "...\\JOB123\\SUB "},
      {"C:\\VLXFILES\\second_phase_boreholes", "...se_boreholes"},
      {"/home/ann/results/job", ".../results/job"},
      {"/home/ann/results\\631", ".../results/631"},
      // Letters of a name count one column each: "C:\Jobs\Größe\Süß" keeps its last two folders (the
      // row reads back as the CP437 bytes of the letters).
      {"C:\\Jobs\\Gr\xC3\xB6\xC3\x9F" "e\\S\xC3\xBC\xC3\x9F", "...\\Gr\x94\xE1" "e\\S\x81\xE1  "},
  };
  platform::set_names_in_utf8(true);
  for (const auto& f : folders) {
    DATADIR = f.folder;
    con->seen.clear();
    con->push_key("\x1b");
    run();
    EXPECT_EQ(cell(0, 4, 2), f.shown) << f.folder;
  }
  // The cells are in colour pair 4; the columns between them keep the cleared screen's pair 1.
  const std::uint8_t pair4 = attr(COLOURS(4, 1), COLOURS(4, 2)), pair1 = attr(COLOURS(1, 1), COLOURS(1, 2));
  ASSERT_NE(pair4, pair1);
  std::vector<std::uint8_t> colours;
  menu_hand_over().prosetup = [&] {
    for (int col : {1, 15, 16, 17, 79, 80}) colours.push_back(con->attr_at(25, col));
  };
  con->push_scan(63);
  con->push_key("\x1b");
  run();
  EXPECT_EQ(colours, (std::vector<std::uint8_t>{pair4, pair4, pair1, pair4, pair4, pair1}));
}

// Keys and clicks, each sequence ended by Esc unless it ends the loop itself.
TEST_F(MenuTest, KeyAndMouseDispatch) {
  using platform::kMouseDouble;
  using platform::kMousePress;
  struct Event {
    int scan = 0;          // F-key scan code, or 0
    int row = 0, col = 0;  // a left press at row, col
    int event = kMousePress;
  };
  auto F = [](int n) { return Event{58 + n}; };
  auto click = [](int row, int col, int event = kMousePress) { return Event{0, row, col, event}; };
  struct Case {
    const char* name;
    std::vector<Event> events;
    bool esc;                     // an Esc follows
    std::vector<std::string> calls;  // after the start's getsetup
    std::string activity, device;    // cell 2 and 3 choices at the last key wait
  } cases[] = {
      {"F2 cycles the activity", {F(2)}, true, {}, "   Test-Symb   ", "      PDF      "},
      {"F2 three times wraps", {F(2), F(2), F(2)}, true, {}, "    Profiles   ", "      PDF      "},
      {"F3 cycles the device", {F(3)}, true, {}, "    Profiles   ", "      PGL      "},
      {"a double click is two clicks", {click(25, 40), click(25, 40, kMouseDouble)}, true, {},
       "    Profiles   ", "      DXF      "},
      {"a click on cell 2", {click(23, 17)}, true, {}, "   Test-Symb   ", "      PDF      "},
      {"columns between cells do nothing",
       {click(24, 16), click(24, 32), click(24, 48), click(24, 64), click(24, 80)}, true, {}, "    Profiles   ",
       "      PDF      "},
      {"F1 goes", {F(1)}, true, {"proshow dev 1 mode 0"}, "    Profiles   ", "      PDF      "},
      {"a click on cell 1 goes", {click(24, 15)}, true, {"proshow dev 1 mode 0"}, "    Profiles   ",
       "      PDF      "},
      {"activity 1 is the symbol test", {F(2), F(1)}, true, {"protest dev 1"}, "   Test-Symb   ", "      PDF      "},
      {"DXF rebuilds the tables", {F(3), F(3), F(2), F(2), F(1)}, true,
       {"widthtab 1", "widthtab 2", "widthtab 3", "proshow dev 3 mode 2"}, "    One-Page   ", "      DXF      "},
      {"F5 edits and reads the SET file", {F(5)}, true, {"prosetup", "getsetup"}, "    Profiles   ",
       "      PDF      "},
      {"a click on cell 5", {click(25, 79)}, true, {"prosetup", "getsetup"}, "    Profiles   ", "      PDF      "},
      {"the exit field ends", {F(3), click(2, 70)}, false, {}, "    Profiles   ", "      PGL      "},
      {"its corners too", {click(1, 65)}, false, {}, "    Profiles   ", "      PDF      "},
      {"below it nothing", {click(4, 70), click(3, 80), click(3, 64)}, true, {}, "    Profiles   ",
       "      PDF      "},
      {"other keys nothing", {F(6), Event{72}}, true, {}, "    Profiles   ", "      PDF      "},
  };
  for (const auto& c : cases) {
    calls.clear();
    con->seen.clear();
    OUTDEV = 1;
    CHARWIDTH(3, 255) = 2;
    for (const auto& e : c.events) {
      if (e.scan) con->push_scan(e.scan);
      else con->push_mouse(e.row, e.col, e.event);
    }
    if (c.esc) con->push_key("\x1b");
    run();
    std::vector<std::string> want{"getsetup"};
    want.insert(want.end(), c.calls.begin(), c.calls.end());
    EXPECT_EQ(calls, want) << c.name;
    EXPECT_EQ(con->queued(), 0u) << c.name;
    EXPECT_EQ(cell(-1, 2, 2), c.activity) << c.name;
    EXPECT_EQ(cell(-1, 3, 2), c.device) << c.name;
    EXPECT_EQ(STATUSROW, 25) << c.name;
  }
  EXPECT_EQ(log(), "");
}

TEST_F(MenuTest, GoWritesLastrunAndRepaints) {
  SETUPNAME = "Clay.SET";
  con->push_scan(61);  // F3: PGL
  con->push_scan(59);  // F1
  con->push_key("\x1b");
  menu_hand_over().proshow = [this] {
    calls.push_back("proshow");
    // "lastrun" is written before the run starts; the main screen is still there.
    EXPECT_EQ(dir.read("lastrun"), " 2 \r\nClay.SET\r\n");
    EXPECT_NE(con->row_text(2).find("V e l t r a x"), std::string::npos);
    con->cls();
  };
  run();
  EXPECT_EQ(calls, (std::vector<std::string>{"getsetup", "widthtab 1", "widthtab 2", "widthtab 3", "proshow"}));
  EXPECT_EQ(OUTDEV, 2);
  EXPECT_EQ(SHEETMODE, 0);
  // After the go the whole main screen comes back, the choices kept.
  ASSERT_EQ(con->seen.size(), 3u);
  EXPECT_NE(con->at(2, 2).find("V e l t r a x"), std::string::npos);
  EXPECT_EQ(cell(2, 3, 2), "      PGL      ");
}

// A go ends with one line above the cells that says where its files went, or that it made none; the
// next key takes it away. Every go starts with no files of its own.
TEST_F(MenuTest, GoEndsWithWhereItsFilesWent) {
  struct Case {
    std::vector<std::string> files;
    std::string line;
  } cases[] = {
      {{}, "The run made nothing; no file was written."},
      {{"C:\\VLXFILES\\000000\\LEGEND.pdf"}, "The run wrote C:\\VLXFILES\\000000\\LEGEND.pdf"},
      {{"C:\\VLXFILES\\631\\BH1.pdf", "C:\\VLXFILES\\631\\BH3.pdf", "C:\\VLXFILES\\631\\combined.pdf"},
       "The run wrote 3 files in C:\\VLXFILES\\631"},
      {{"C:\\VLXFILES\\631\\BH1.pdf", "C:\\VLXFILES\\632\\TP1.pdf"}, "The run wrote 2 files in 2 folders of C:\\VLXFILES"},
      {{"/home/ann/out\\631\\BH1.dxf"}, "The run wrote /home/ann/out/631/BH1.dxf"},
      // A path too long for the line shows its end.
      {{"C:\\" + std::string(70, 'f') + "\\631\\BH1.pdf"}, "The run wrote ...\\631\\BH1.pdf"},
  };
  for (const auto& c : cases) {
    con->seen.clear();
    run_results = {"C:\\EARLIER\\RUN.pdf"};
    menu_hand_over().proshow = [&] {
      EXPECT_TRUE(run_results.empty());
      run_results = c.files;
    };
    con->push_scan(59);
    con->push_key("x");
    con->push_key("\x1b");
    run();
    ASSERT_EQ(con->seen.size(), 3u);
    EXPECT_EQ(con->at(1, 21), rt::LSET(c.line, 80)) << c.line;
    EXPECT_EQ(con->at(2, 21), std::string(80, ' ')) << c.line;
    EXPECT_EQ(cell(1, 4, 2), "  C:\\VLXFILES  ");
  }
  // The symbol test too.
  con->seen.clear();
  menu_hand_over().protest = [] { run_results = {"C:\\VLXFILES\\000000\\LEGEND.pdf"}; };
  con->push_scan(60);
  con->push_scan(59);
  con->push_key("\x1b");
  run();
  EXPECT_EQ(con->at(-1, 21), rt::LSET("The run wrote C:\\VLXFILES\\000000\\LEGEND.pdf", 80));
}

TEST_F(MenuTest, FirstStartWithoutLastrunOffersPdf) {
  for (std::int32_t start : {0, -3, 5}) {
    OUTDEV = start;
    calls.clear();
    con->seen.clear();
    con->push_scan(59);
    con->push_key("\x1b");
    run();
    EXPECT_EQ(cell(0, 3, 2), "      PDF      ") << start;
    EXPECT_EQ(calls.at(1), "proshow dev 1 mode 0") << start;
    EXPECT_EQ(dir.read("lastrun"), " 1 \r\nSTANDARD.SET\r\n") << start;
  }
}

TEST_F(MenuTest, OutputFolderQuestion) {
  std::filesystem::create_directory(dir.path() / "out");
  std::filesystem::create_directory(dir.path() / "other");
  const std::string out = "out", other = "other";  // the current folder's (an entry holds 24 characters)
  DATADIR = out;
  // A missing folder: the message, a key, the question again; then an existing folder.
  con->push_scan(62);
  con->type("nothere\r");
  con->push_key(" ");  // the key after "File not found"
  con->type(other + "\r");
  con->push_key("\x1b");
  run();
  EXPECT_EQ(DATADIR, other);
  EXPECT_EQ(STATUSROW, 25);
  // The question stands on row 21, above the cells; the message below it.
  // Key waits: 0 the menu, 1..8 the typed "nothere" and Enter, 9 the message, 10 the question again.
  ASSERT_EQ(con->seen.size(), 17u);
  EXPECT_NE(con->at(1, 21).find("Output folder (Enter keeps " + out + " )"), std::string::npos) << con->at(1, 21);
  EXPECT_EQ(con->at(9, 22), rt::LSET("Folder not found : nothere", 80));
  EXPECT_NE(con->at(10, 21).find("Output folder (Enter keeps " + out + " )"), std::string::npos) << con->at(10, 21);
  EXPECT_EQ(con->at(10, 22), std::string(80, ' '));
  EXPECT_EQ(cell(-1, 4, 2), "     other     ");

  // Enter alone keeps the folder and ends the question, also when the SET file's folder is missing.
  for (const std::string& start : {other, std::string("C:\\NOSUCHFOLDER")}) {
    DATADIR = start;
    con->seen.clear();
    con->push_scan(62);
    con->type("\r");
    con->push_key("\x1b");
    run();
    EXPECT_EQ(DATADIR, start);
    EXPECT_EQ(con->queued(), 0u);
    EXPECT_EQ(con->seen.size(), 3u) << start;  // the menu, the question, the menu
  }

  // Esc leaves the question, or the message of a missing folder, with the folder as it was.
  for (const std::vector<std::string>& keys : {std::vector<std::string>{"\x1b"},
                                               std::vector<std::string>{"x", "\x1b"},
                                               std::vector<std::string>{"nothere\r", "\x1b"}}) {
    DATADIR = other;
    con->seen.clear();
    con->push_scan(62);
    for (const std::string& k : keys) con->type(k);
    con->push_key("\x1b");
    run();
    EXPECT_EQ(DATADIR, other) << keys.front();
    EXPECT_EQ(STATUSROW, 25);
    EXPECT_EQ(con->queued(), 0u) << keys.front();
    EXPECT_EQ(cell(-1, 4, 2), "     other     ") << keys.front();
    EXPECT_EQ(con->at(static_cast<int>(con->seen.size()) - 1, 22), std::string(80, ' ')) << keys.front();
  }
}

// The setup cell reads the SET file again, which sets its output folder: that folder is taken unless
// one was chosen with F4, which stays.
TEST_F(MenuTest, SetupCellKeepsTheFolderChosenWithF4) {
  std::filesystem::create_directory(dir.path() / "other");
  menu_hand_over().getsetup = [] { DATADIR = "C:\\FROMSET"; };
  struct Case {
    bool choose;
    std::string folder;
  } cases[] = {{false, "C:\\FROMSET"}, {true, "other"}};
  for (const auto& c : cases) {
    con->seen.clear();
    if (c.choose) {
      con->push_scan(62);
      con->type("other\r");
    }
    con->push_scan(63);
    con->push_key("\x1b");
    run();
    EXPECT_EQ(DATADIR, c.folder) << c.choose;
    EXPECT_NE(cell(-1, 4, 2).find(c.folder), std::string::npos) << c.choose << cell(-1, 4, 2);
  }
}

TEST_F(MenuTest, OneShotRun) {
  FONTSPEC(1) = "\x1b(s1p12h0s0b4148T";  // a pitch and no height
  FONTSPEC(2) = "\x1b(s1p9v0s3b4148T";   // a height of 9 points
  menu_hand_over().proshow = [this] {
    calls.push_back("proshow dev " + std::to_string(OUTDEV) + " mode " + std::to_string(SHEETMODE));
    EXPECT_DOUBLE_EQ(FONTWIDTH(1), 25.0);
    EXPECT_DOUBLE_EQ(FONTWIDTH(2), 20.0);
  };
  run("0/Clay 1/in.txt 2/DXF 3/ALL 4/2 6/50");
  EXPECT_EQ(calls, (std::vector<std::string>{"getsetup", "widthtab 1", "widthtab 2", "widthtab 3",
                                             "proshow dev 3 mode 2"}));
  EXPECT_TRUE(con->seen.empty());  // no screen, no key
  EXPECT_EQ(con->screen(), std::string(24, '\n'));
  EXPECT_EQ(FORCEDSCALE, 50);
  EXPECT_EQ(dir.read("lastrun"), " 3 \r\nClay.SET\r\n");
  EXPECT_EQ(rt::exit_code(), 0);
  EXPECT_EQ(log(), "");

  // The symbol test writes no "lastrun" and clears the window first.
  std::filesystem::remove(dir.path() / "lastrun");
  calls.clear();
  run("1/in.txt 4/1");
  EXPECT_EQ(calls, (std::vector<std::string>{"getsetup", "protest dev 3"}));
  EXPECT_FALSE(exists("lastrun"));
}

TEST_F(MenuTest, GoThatCannotRun) {
  struct Case {
    const char* tail;
    const char* logged;
  } cases[] = {
      {"1/in.txt 4/12", "  Activity 12 cannot be run: no sheet is made\r\n"},
      {"1/in.txt 4/4", "  Run file: activity \"4\" is no word of \"Activity Profiles Test-Symb One-Page\"\r\n"},
      {"1/in.txt 4/drawings", "  Run file: activity \"drawings\" is no word of"},
      {"1/in.txt 2/PS", "  Run file: output \"PS\" is no word of \"Output device PDF PGL DXF PCL\"\r\n"},
  };
  for (const auto& c : cases) {
    calls.clear();
    clear_log();
    rt::set_exit_code(0);
    SHEETMODE = 0;
    con->push_key(" ");  // the report waits for a key
    run(c.tail);
    EXPECT_EQ(con->queued(), 0u) << c.tail;
    EXPECT_EQ(calls, std::vector<std::string>{"getsetup"}) << c.tail;
    EXPECT_EQ(rt::exit_code(), 1) << c.tail;
    EXPECT_NE(log().find(c.logged), std::string::npos) << c.tail << "\n" << log();
    EXPECT_FALSE(exists("lastrun")) << c.tail;
  }
  // In the menu (a run file without an input file) the go says so above the cells and waits for a key.
  clear_log();
  rt::set_exit_code(0);
  calls.clear();
  con->seen.clear();
  con->push_scan(59);
  con->push_key(" ");
  con->push_key("\x1b");
  run("4/12");
  EXPECT_EQ(calls, std::vector<std::string>{"getsetup"});
  EXPECT_EQ(con->at(1, 21).substr(0, 45), "Activity 12 cannot be run: no sheet is made  ");
  EXPECT_EQ(STATUSROW, 25);
  EXPECT_EQ(rt::exit_code(), 0);
  EXPECT_NE(log().find(" promenu.cpp  @   Activity 12 cannot be run"), std::string::npos) << log();
}

TEST_F(MenuTest, ItemNinePause) {
  struct Case {
    const char* tail;
    bool pause;
  } cases[] = {{"1/in.txt 9/YES", true}, {"1/in.txt 9/no", false}, {"1/in.txt", false}};
  for (const auto& c : cases) {
    DEBUGRUN = 0;
    con->seen.clear();
    if (c.pause) con->push_key("x");
    run(c.tail);  // a key wait the test did not give would throw
    EXPECT_EQ(con->queued(), 0u) << c.tail;
    ASSERT_EQ(con->seen.size(), c.pause ? 1u : 0u) << c.tail;
    if (c.pause) {
      bool shown = false;
      for (const auto& r : con->seen[0]) shown |= r.rfind("Press any key to exit Veltrax", 0) == 0;
      EXPECT_TRUE(shown) << c.tail;
    }
    EXPECT_EQ(con->screen(), std::string(24, '\n')) << c.tail;
  }
  // Without a person at the console the pause does not wait.
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  run("1/in.txt 9/YES");
  EXPECT_EQ(rt::exit_code(), 0);
}

// Two identical goes lay out alike: the go takes the device of its menu cell before it measures.
TEST_F(MenuTest, ConvertdUsesTheDeviceOfTheGo) {
  FONTSPEC(1) = "\x1b(s1p12h0s0b4148T";
  FONTSIZE(1) = 0.5;
  CHARWIDTH(1, 32) = 30;
  std::vector<double> widths;
  menu_hand_over().proshow = [&] { widths.push_back(FONTWIDTH(1)); };
  con->push_scan(61);
  con->push_scan(61);  // DXF
  con->push_scan(59);  // first go after the switch: DXF's rule already
  con->push_scan(59);  // second go: the same
  con->push_key("\x1b");
  run();
  EXPECT_EQ(widths, (std::vector<double>{25.0, 25.0}));
}

TEST_F(MenuTest, Flushrig) {
  struct Case {
    std::string text;
    int col;  // where the text starts; 0: the cursor's column is kept
  } cases[] = {{"Vocabulary = X", 51}, {"no equals sign", 63}, {std::string(19, 'a') + "=b", 43},
               {std::string(61, 'a') + "=", 1}, {std::string(62, 'a') + "=", 0}};
  for (const auto& c : cases) {
    con->cls();
    con->locate(3, 7);
    FLUSHRIG(10, c.text);
    const int col = c.col ? c.col : 7;
    EXPECT_EQ(con->row_text(10).substr(static_cast<size_t>(col - 1), std::min<size_t>(c.text.size(), 81 - col)),
              c.text.substr(0, std::min<size_t>(c.text.size(), 81 - col)))
        << c.text;
  }
}

}  // namespace
