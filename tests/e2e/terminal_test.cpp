// The engine on a real terminal (a tmux pane of 80 x 25): the main menu, keys and mouse clicks reaching
// its cells, the two ways out, and the terminal put back at the end. Skipped when tmux is not installed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <thread>
#include <tuple>

#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// How long a wait for the engine or tmux holds before the test fails: it only ends a test whose engine
// hangs, and is far above the normal time, also under sanitizers on a loaded 2-core machine (every wait
// ends as soon as what it waits for is there).
constexpr int kWaitMs = 60000;

std::string find_program(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  std::string d;
  while (std::getline(dirs, d, ':'))
    if (!d.empty() && access((fs::path(d) / name).c_str(), X_OK) == 0) return (fs::path(d) / name).string();
  return {};
}

// A tmux server of its own, its socket in the test's folder; ended with the test.
class Tmux {
 public:
  explicit Tmux(fs::path cwd) : tmux_(find_program("tmux")), cwd_(std::move(cwd)) {
    socket_ = (cwd_ / "tmux.sock").string();
  }
  ~Tmux() {
    if (!tmux_.empty()) cmd({"kill-server"});
  }
  bool available() const { return !tmux_.empty(); }
  RunResult cmd(std::vector<std::string> args) const {
    args.insert(args.begin(), {tmux_, "-S", socket_});
    return run_program(args, cwd_, 30);
  }
  std::string screen() const { return cmd({"capture-pane", "-p"}).out; }
  // Waits until the screen shows the text; the last screen seen goes into shown. The limit only ends a
  // test whose engine hangs: it is far above the normal time, also under sanitizers on a busy machine.
  bool wait_for(const std::string& text, std::string& shown, int ms = kWaitMs) const {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      shown = screen();
      if (shown.find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }

 private:
  std::string tmux_;
  fs::path cwd_;
  std::string socket_;
};

// Holds until the engine has read every byte sent to its terminal: keys sent are taken before what the
// test does next (a resize, say) can change the screen they act on.
bool wait_until_keys_read(const Tmux& tmux, int ms = kWaitMs) {
  std::string tty = tmux.cmd({"display-message", "-p", "#{pane_tty}"}).out;
  while (!tty.empty() && (tty.back() == '\n' || tty.back() == '\r')) tty.pop_back();
  const int fd = open(tty.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  bool read_all = false;
  do {
    int waiting = 0;
    read_all = ioctl(fd, FIONREAD, &waiting) == 0 && waiting == 0;
    if (!read_all) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (!read_all && std::chrono::steady_clock::now() < until);
  close(fd);
  return read_all;
}

bool wait_for_file(const fs::path& p, int ms = kWaitMs) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < until) {
    if (fs::exists(p) && !read_file(p).empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// True when stty -a lists the setting switched on ("echo", not "-echo").
bool stty_on(const std::string& stty, const std::string& name) {
  std::stringstream s(stty);
  std::string word;
  while (s >> word) {
    if (!word.empty() && word.back() == ';') word.pop_back();
    if (word == name) return true;
  }
  return false;
}

std::vector<std::string> lines_of(const std::string& screen) {
  std::vector<std::string> rows;
  std::stringstream lines(screen);
  for (std::string l; std::getline(lines, l);) rows.push_back(l);
  return rows;
}

// Holds until the screen passes the test (the screen last seen in shown); false after ms.
bool wait_for_screen(const Tmux& tmux, const std::function<bool(const std::string&)>& passes, std::string& shown,
                     int ms = kWaitMs) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    shown = tmux.screen();
    if (passes(shown)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (std::chrono::steady_clock::now() < until);
  return false;
}

// Messages that stand a second (the engine pauses, then goes on) are read while the engine is held: from
// hold() to end() each of its pauses of a second or more is held until release() lets it go
// (tests/support/holdshim.cpp, preloaded into every engine start_engine starts). So a test never misses
// such a message because a loaded machine kept it from looking for a second.
class PauseHold {
 public:
  explicit PauseHold(const EngineFolder& ef) : file_(ef.file("hold")), held_(ef.file("hold.held")) {}
  ~PauseHold() { end(); }
  void hold() const { write_file(file_, ""); }
  // Lets the pause go that the engine is held in, once it is held there (false when it never is).
  bool release() const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (!fs::exists(held_)) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::error_code ec;
    fs::remove(held_, ec);
    return true;
  }
  void end() const {
    std::error_code ec;
    fs::remove(file_, ec);
  }

 private:
  fs::path file_, held_;
};

// Starts the engine in a session of its own; when it has ended, rc.txt holds its exit code, stty.txt
// the terminal settings it left and stderr.txt its standard error. stty.txt comes last and whole (made
// beside and renamed), so once it is there the other two are complete. Returns the main screen once it
// shows, answering the key wait of a data file the folder lacks.
std::string start_engine(const Tmux& tmux, const EngineFolder& ef, const std::string& env = "") {
  const std::string hold = "LD_PRELOAD=" VLX_HOLDSHIM_LIBRARY " VLX_HOLD_FILE=$PWD/hold ";
  RunResult r = tmux.cmd({"new-session", "-d", "-x", "80", "-y", "25", "-c", ef.path().string(),
                          env + hold + "VLX_DRIVE_C=$PWD ./profile 2> stderr.txt; echo $? > rc.txt; stty -a > stty.new; mv stty.new stty.txt"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  std::string shown;
  // The cells are painted last; the last of them is the setup cell's "Editor". A key wait that is still
  // shown a second after its key is answered again: a Space on the main screen does nothing.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
  for (int answered = 0; !tmux.wait_for("Editor", shown, 1000) && std::chrono::steady_clock::now() < until;) {
    if (shown.find("File not found : ") != std::string::npos && answered++ < 5) tmux.cmd({"send-keys", "Space"});
  }
  return shown;
}

// The engine ended with exit code 0 and no ERROR.LOG, or (given logged, a line of ERROR.LOG) with 1.
void expect_clean_end(const EngineFolder& ef, const Tmux& tmux, const char* logged = nullptr) {
  ASSERT_TRUE(wait_for_file(ef.file("stty.txt"))) << tmux.screen();
  EXPECT_EQ(ef.read("rc.txt"), logged ? "1\n" : "0\n");
  std::string stty = ef.read("stty.txt");
  EXPECT_TRUE(stty_on(stty, "echo")) << stty;
  EXPECT_TRUE(stty_on(stty, "icanon")) << stty;
  if (logged) {
    EXPECT_NE(ef.read("ERROR.LOG").find(logged), std::string::npos) << ef.read("ERROR.LOG");
  } else {
    EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
  }
  const std::string err = ef.read("stderr.txt");
  EXPECT_EQ(sanitizer_report(err), "") << err;
}

TEST(EngineTerminal, MainMenuKeysAndMouse) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  std::string shown = start_engine(tmux, ef);
  std::vector<std::string> rows = lines_of(shown);
  ASSERT_GE(rows.size(), 20u) << shown;
  EXPECT_EQ(rows[1], std::string(31, ' ') + "V e l t r a x") << shown;
  EXPECT_EQ(rows[6], std::string(22, ' ') + "Version 7022  (Max Samples: 140)") << shown;
  // The names of the vocabulary and SET files, each "=" in column 62, on rows 19 and 20 of 25.
  ASSERT_EQ(rows.size(), 25u) << shown;
  const size_t n = rows.size();
  EXPECT_EQ(rows[18], std::string(50, ' ') + "Vocabulary = PROVOCAB.ENG") << shown;
  EXPECT_EQ(rows[19], std::string(50, ' ') + "Setup file = STANDARD.SET") << shown;
  // The five cells on the last three rows.
  EXPECT_EQ(rows[n - 3], "      <F1>            <F2>            <F3>            <F4>            <F5>") << shown;
  EXPECT_EQ(rows[n - 2], "      Run           Activity     Output device      Folder           Setup") << shown;
  EXPECT_EQ(rows[n - 1], "                    Profiles          PDF         C:\\VLXFILES       Editor") << shown;

  struct Input {
    std::vector<std::string> send;  // send-keys arguments
    std::string shows;               // what the cells show then
  } inputs[] = {
      {{"F2"}, "Test-Symb"},
      {{"F3"}, "PGL"},
      // Clicks on cell 2 (row 24, column 20) and cell 3 (row 25, column 40), as press and release.
      {{"-l", "\x1b[<0;20;24M\x1b[<0;20;24m"}, "One-Page"},
      {{"-l", "\x1b[<0;40;25M\x1b[<0;40;25m"}, "DXF"},
  };
  for (const auto& in : inputs) {
    std::vector<std::string> args{"send-keys"};
    args.insert(args.end(), in.send.begin(), in.send.end());
    tmux.cmd(args);
    EXPECT_TRUE(tmux.wait_for(in.shows, shown)) << in.shows << "\n" << shown;
  }
  tmux.cmd({"send-keys", "Escape"});
  expect_clean_end(ef, tmux);
}

TEST(EngineTerminal, ClickOnTheExitFieldEnds) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  std::string shown = start_engine(tmux, ef);
  ASSERT_NE(shown.find("Editor"), std::string::npos) << shown;
  tmux.cmd({"send-keys", "-l", "\x1b[<0;70;2M\x1b[<0;70;2m"});
  expect_clean_end(ef, tmux);
}

// A one-shot run draws on the alternate screen, which the terminal drops at the end; what it did stays
// on the normal screen as the lines a batch run prints.
TEST(EngineTerminal, OneShotRunLeavesItsLinesOnTheScreen) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  ef.write("holes.txt",
           "Hole Number   : BH01\r\n/\r\n0.30  TOPSOIL\r\n1.20  Firm brown CLAY\r\n/\r\n//\r\n"
           "Hole Number   : TP02\r\n/\r\n0.50  Sandy GRAVEL\r\n/\r\n//\r\n///\r\n");
  ef.write("@runfile.dat", "0/   setupfile = STANDARD.SET\r\n1/   inputfile = holes.txt\r\n2/      output = PDF\r\n"
                           "3/    holelist = ALL\r\n4/    activity = 0\r\n");
  // The shell stays in the pane after the run, so that the screen can be read.
  RunResult r = tmux.cmd({"new-session", "-d", "-x", "80", "-y", "25", "-c", ef.path().string(),
                          "mkdir -p drive_c; VLX_DRIVE_C=$PWD/drive_c ./profile @runfile.dat 2> stderr.txt; echo $? > rc.txt; "
                          "stty -a > stty.new; mv stty.new stty.txt; sleep 600"});  // the results go into the test's folder, not the home folder
  ASSERT_EQ(r.exit_code, 0) << r.err;
  expect_clean_end(ef, tmux);
  // tmux paints what the engine wrote last in its own time, perhaps after the shell has gone on: the
  // lines are awaited, not read once.
  const std::vector<std::string> lines{"Converting the input file", "Coded hole files: 2", "BH01", "TP02"};
  std::string shown;
  wait_for_screen(tmux, [&](const std::string& s) {
    return std::all_of(lines.begin(), lines.end(), [&](const std::string& l) { return s.find(l) != std::string::npos; });
  }, shown);
  for (const std::string& line : lines) EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
}

// Below the screen's 80 x 25 the window only asks to be enlarged; back at the size the whole main
// screen is there again.
TEST(EngineTerminal, SmallWindowSaysSoAndTheScreenComesBack) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  std::string shown = start_engine(tmux, ef);
  const std::string whole = shown;
  ASSERT_EQ(lines_of(whole).size(), 25u) << whole;
  tmux.cmd({"resize-window", "-x", "60", "-y", "20"});
  EXPECT_TRUE(tmux.wait_for("Please enlarge the window to 80 x 25", shown)) << shown;
  EXPECT_EQ(shown.find("Editor"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("V e l t r a x"), std::string::npos) << shown;
  tmux.cmd({"resize-window", "-x", "80", "-y", "25"});
  EXPECT_TRUE(tmux.wait_for("Editor", shown)) << shown;
  EXPECT_EQ(shown, whole);
  tmux.cmd({"send-keys", "Escape"});
  expect_clean_end(ef, tmux);
}

// Holds until no text of the list shows on the screen (the screen in shown).
bool wait_until_gone(const Tmux& tmux, const std::vector<std::string>& texts, std::string& shown, int ms = kWaitMs) {
  return wait_for_screen(tmux, [&](const std::string& s) {
    return std::none_of(texts.begin(), texts.end(), [&](const std::string& t) { return s.find(t) != std::string::npos; });
  }, shown, ms);
}

// Presses the key once for each description and, after each press, waits until the menu shows that
// description beside its highlighted item: each key is sent only once the screen it acts on is up, so
// none goes past its item however slowly the menu is painted. The screen last seen goes into shown.
bool step_through_menu(const Tmux& tmux, const std::string& key, const std::vector<std::string>& descriptions,
                       std::string& shown) {
  for (const std::string& d : descriptions) {
    tmux.cmd({"send-keys", key});
    if (!tmux.wait_for("\u2551< " + d, shown)) return false;
  }
  return true;
}

// Holds until row (from 0) of the screen holds the text, or, given a test, until the row passes it (the
// screen in shown).
bool wait_for_row(const Tmux& tmux, size_t row, const std::string& text, std::string& shown,
                  const std::function<bool(const std::string&)>& passes = {}, int ms = kWaitMs) {
  return wait_for_screen(tmux, [&](const std::string& s) {
    const std::vector<std::string> rows = lines_of(s);
    return rows.size() > row && (passes ? passes(rows[row]) : rows[row].find(text) != std::string::npos);
  }, shown, ms);
}

size_t pdf_files(const fs::path& folder) {
  size_t n = 0;
  std::error_code ec;
  if (!fs::exists(folder)) return 0;
  for (const auto& e : fs::recursive_directory_iterator(folder, ec))
    if (e.path().extension() == ".pdf" || e.path().extension() == ".PDF") ++n;
  return n;
}

// From the main menu: the file picker, the conversion of the example, the selection screen with its
// answers and questions, the holes drawn, and back; the picked file is remembered.
TEST(EngineTerminal, PickTheInputAndChooseHoles) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  std::string shown = start_engine(tmux, ef);
  ASSERT_FALSE(ef.exists("memofile"));
  tmux.cmd({"send-keys", "F1"});
  ASSERT_TRUE(tmux.wait_for("SELECT [drive:\\][path\\]filename", shown)) << shown;
  // The box and its entries are painted after the heading.
  ASSERT_TRUE(tmux.wait_for("\u2551C:\\ ", shown)) << shown;
  std::vector<std::string> rows = lines_of(shown);
  ASSERT_GE(rows.size(), 22u) << shown;
  EXPECT_EQ(rows[12].rfind("\u2592\u2551C:\\ ", 0), 0u) << shown;  // the first place offered in the box
  // Enter takes the row, Enter lists the folder: names with their folder part.
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("Filemask = C:\\", shown)) << shown;
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(wait_until_gone(tmux, {"Filemask"}, shown)) << shown;
  // The box's rows are painted one after the other: the screen is read once its eighth row is listed.
  ASSERT_TRUE(wait_for_row(tmux, 19, "\u2551C:\\", shown)) << shown;
  EXPECT_NE(lines_of(shown)[12].find("C:\\"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("C:\\.") , std::string::npos) << shown;  // no hidden names
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("Filemask = ", shown)) << shown;
  tmux.cmd({"send-keys", "Home"});
  tmux.cmd({"send-keys", "-l", "C:\\Examples\\Examples.TXT"});
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown, 60000)) << shown;
  rows = lines_of(shown);
  EXPECT_EQ(rows[0].rfind("Holes converted from  \"", 0), 0u) << shown;
  EXPECT_NE(rows[0].find("Examples.TXT\""), std::string::npos) << shown;
  const char* codes[] = {"631BH1", "631BH2", "631BH3", "631TP1", "631TP2", "631TP3"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(rows[2 + i].substr(9, 6), codes[i]) << shown;

  struct Answer {
    const char* typed;
    std::vector<std::pair<int, std::string>> marks;  // (row from 1, the text from column 10)
  } answers[] = {
      {"ALL", {{3, "631BH1 <=1"}, {4, "631BH2 <=2"}, {8, "631TP3 <=6"}}},
      {"631BH2", {{3, "631BH1 <=1"}, {4, "631BH2     "}, {5, "631BH3 <=2"}, {8, "631TP3 <=5"}}},
      {"0", {{3, "631BH1     "}, {8, "631TP3     "}}},
      {"BH1,BH3", {{3, "631BH1 <=1"}, {4, "631BH2 <=2"}, {5, "631BH3 <=3"}, {6, "631TP1     "}}},
  };
  for (const auto& a : answers) {
    tmux.cmd({"send-keys", "-l", a.typed});
    tmux.cmd({"send-keys", "Enter"});
    bool all = false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!all && std::chrono::steady_clock::now() < until) {
      shown = tmux.screen();
      rows = lines_of(shown);
      all = rows.size() >= 8;
      for (const auto& [row, text] : a.marks)
        all = all && (rows[static_cast<size_t>(row - 1)] + std::string(30, ' ')).substr(9, text.size()) == text;
      if (!all) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(all) << a.typed << "\n" << shown;
  }
  // Draw: Enter, then the scale, the summary and the join questions with Enter each.
  tmux.cmd({"send-keys", "Enter"});
  for (const char* question : {"Scale 1:n", "Draw a legend", "(Y="}) {
    ASSERT_TRUE(tmux.wait_for(question, shown, 60000)) << question << "\n" << shown;
    tmux.cmd({"send-keys", "Enter"});
  }
  // The screen comes back for the next pass, without marks; three sheets were drawn.
  ASSERT_TRUE(wait_until_gone(tmux, {"<=", "(Y="}, shown, 60000)) << shown;
  ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown, 60000)) << shown;
  EXPECT_EQ(pdf_files(ef.path() / "VLXFILES"), 3u);
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("Editor", shown)) << shown;
  tmux.cmd({"send-keys", "Escape"});
  expect_clean_end(ef, tmux);
  EXPECT_EQ(ef.read("memofile").substr(0, 26), "C:\\Examples\\Examples.TXT\r\n");  // on top of the list
}

// The symbol test at the console: the catalogue of the keyword table, a range without its comma said,
// the legend of a range drawn, and back at the main menu.
TEST(EngineTerminal, SymbolTest) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  std::string shown = start_engine(tmux, ef);
  tmux.cmd({"send-keys", "F2"});
  ASSERT_TRUE(tmux.wait_for("Test-Symb", shown)) << shown;
  tmux.cmd({"send-keys", "F1"});
  ASSERT_TRUE(tmux.wait_for("First and last symbol", shown)) << shown;
  for (const char* text : {"Symbol test: draws symbols", "CLAY", "SAND", "\u2502"})
    EXPECT_NE(shown.find(text), std::string::npos) << text << "\n" << shown;
  PauseHold pauses(ef);  // the message stands until the test has read it
  pauses.hold();
  tmux.cmd({"send-keys", "-l", "CLAY"});
  tmux.cmd({"send-keys", "Enter"});
  EXPECT_TRUE(tmux.wait_for("(comma ?)", shown)) << shown;
  EXPECT_TRUE(pauses.release());
  pauses.end();
  ASSERT_TRUE(wait_until_gone(tmux, {"(comma ?)"}, shown)) << shown;
  ASSERT_TRUE(tmux.wait_for("First and last symbol", shown)) << shown;
  // The question comes back on a line of its own: nothing of the message stands before it.
  EXPECT_EQ(lines_of(shown).at(23).find_first_not_of(' '), lines_of(shown).at(23).find("First and last")) << shown;
  tmux.cmd({"send-keys", "-l", "CLAY,SAND"});
  tmux.cmd({"send-keys", "Enter"});
  // Back at the main menu, the line above the cells says where the legend went.
  ASSERT_TRUE(tmux.wait_for("The run wrote", shown, 60000)) << shown;
  ASSERT_TRUE(tmux.wait_for("Editor", shown, 60000)) << shown;
  EXPECT_EQ(lines_of(shown).at(20), "The run wrote C:\\VLXFILES\\000\\LEGEND.pdf") << shown;
  tmux.cmd({"send-keys", "Escape"});
  expect_clean_end(ef, tmux);
  fs::path pdf;
  for (const auto& e : fs::recursive_directory_iterator(ef.path() / "VLXFILES"))
    if (e.path().extension() == ".PDF" || e.path().extension() == ".pdf") pdf = e.path();
  ASSERT_FALSE(pdf.empty());
  RunResult check = run_program({find_program("qpdf"), "--check", pdf.string()}, ef.path(), 60);
  EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
  RunResult text = run_program({find_program("pdftotext"), pdf.string(), "-"}, ef.path(), 60);
  EXPECT_NE(text.out.find("CLAY"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("SAND"), std::string::npos) << text.out;
}

// The text between the box's edges on a row of the picker (the name with its folder), blanks trimmed.
std::string box_row(const std::string& row) {
  const std::string edge = "\u2551";
  const size_t a = row.find(edge);
  const size_t b = a == std::string::npos ? a : row.find(edge, a + edge.size());
  if (b == std::string::npos) return {};
  std::string t = row.substr(a + edge.size(), b - a - edge.size());
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}

// Types the text and Enter.
void answer(const Tmux& tmux, const std::string& text) {
  if (!text.empty()) tmux.cmd({"send-keys", "-l", text});
  tmux.cmd({"send-keys", "Enter"});
}

// True when the rows from 3 on show the six example holes at their places: nothing scrolled them.
bool codes_in_place(const std::vector<std::string>& rows) {
  const char* codes[] = {"631BH1", "631BH2", "631BH3", "631TP1", "631TP2", "631TP3"};
  if (rows.size() < 8) return false;
  for (size_t i = 0; i < 6; ++i)
    if (rows[2 + i].size() < 15 || rows[2 + i].substr(0, 15) != std::string(9, ' ') + codes[i]) return false;
  return true;
}

// From the main menu to the selection screen of the remembered input file (the first in "memofile").
bool choose_remembered_input(const Tmux& tmux, std::string& shown) {
  tmux.cmd({"send-keys", "F1"});
  if (!tmux.wait_for("SELECT [drive:\\][path\\]filename", shown)) return false;
  answer(tmux, "");
  if (!tmux.wait_for("Filemask = ", shown)) return false;
  answer(tmux, "");
  return tmux.wait_for("Holes (code, first,last", shown, 60000);
}

// Back at the main menu, Esc ends the engine cleanly.
void end_at_the_main_menu(const EngineFolder& ef, const Tmux& tmux, const char* logged = nullptr) {
  std::string shown;
  ASSERT_TRUE(tmux.wait_for("Editor", shown)) << shown;
  tmux.cmd({"send-keys", "Escape"});
  expect_clean_end(ef, tmux, logged);
}

// Two draws of one hole in one session: first at a scale typed for the run (1:25), then with Enter
// for the best fitting scale, which is 1:10 for this hole of 2 m, as in a session of its own; the
// first draw's scale does not stay for the second.
TEST(EngineTerminal, EachDrawStartsFromItsOwnScale) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  ef.write("holes.txt", "Job Number : J-1\r\nHole Number : B\r\n/\r\n1.00 Firm brown CLAY.\r\n2.00 Dense SAND.\r\n/\r\n//\r\n///\r\n");
  std::string shown = start_engine(tmux, ef);
  tmux.cmd({"send-keys", "F1"});
  ASSERT_TRUE(tmux.wait_for("SELECT [drive:\\][path\\]filename", shown)) << shown;
  ASSERT_TRUE(tmux.wait_for("\u2551C:\\ ", shown)) << shown;
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("Filemask = C:\\", shown)) << shown;
  tmux.cmd({"send-keys", "Home"});
  tmux.cmd({"send-keys", "-l", "C:\\holes.txt"});
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown, 60000)) << shown;
  // The second draw's result does not replace the first's: B_2.pdf.
  for (const auto& [scale, drawn, name] : {std::tuple<std::string, int, const char*>{"25", 25, "B.pdf"}, {"", 10, "B_2.pdf"}}) {
    const fs::path sheet = ef.path() / "VLXFILES" / "J1" / name;
    answer(tmux, "ALL");
    ASSERT_TRUE(tmux.wait_for("<=1", shown)) << shown;
    tmux.cmd({"send-keys", "Enter"});
    ASSERT_TRUE(tmux.wait_for("Scale 1:n", shown, 60000)) << shown;
    answer(tmux, scale);
    for (const char* question : {"Draw a legend", "(Y="}) {
      ASSERT_TRUE(tmux.wait_for(question, shown, 60000)) << question << "\n" << shown;
      tmux.cmd({"send-keys", "Enter"});
    }
    ASSERT_TRUE(wait_until_gone(tmux, {"<=", "(Y="}, shown, 60000)) << shown;
    ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown, 60000)) << shown;
    ASSERT_TRUE(fs::exists(sheet)) << sheet << "\n" << shown;
    EXPECT_EQ(drawn_scale(sheet), drawn) << "scale answered: \"" << scale << "\"";
  }
  tmux.cmd({"send-keys", "Enter"});
  end_at_the_main_menu(ef, tmux);
}

// The picker lists a folder by name without regard to letter case, so the engine folder's Examples is
// among the first rows at once, as users of the engine know it.
TEST(EngineTerminal, PickerListsAFolderByName) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  std::string shown = start_engine(tmux, ef);
  tmux.cmd({"send-keys", "F1"});
  ASSERT_TRUE(tmux.wait_for("SELECT [drive:\\][path\\]filename", shown)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Filemask = C:\\", shown)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(wait_until_gone(tmux, {"Filemask"}, shown)) << shown;
  // The engine folder is drive C here: its entries, by name with capitals for small letters.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(ef.path())) {
    const std::string n = e.path().filename().string();
    if (n[0] != '.') names.push_back(n);
  }
  auto upper = [](std::string t) {
    for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t;
  };
  std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) { return upper(a) < upper(b); });
  // The box's rows are painted one after the other: the screen is read once its last row shows.
  ASSERT_GE(names.size(), 8u);
  EXPECT_TRUE(tmux.wait_for("\u2551C:\\" + names[7] + " ", shown)) << shown;
  const std::vector<std::string> rows = lines_of(shown);
  ASSERT_GE(rows.size(), 20u) << shown;
  std::vector<std::string> listed, want;
  for (size_t i = 0; i < 8 && i < names.size(); ++i) {
    listed.push_back(box_row(rows[12 + i]));
    want.push_back("C:\\" + names[i]);
  }
  EXPECT_EQ(listed, want) << shown;
  EXPECT_NE(shown.find("C:\\Examples "), std::string::npos) << shown;
  tmux.cmd({"send-keys", "Escape"});
  // A run left in the picker made nothing, and says so.
  ASSERT_TRUE(tmux.wait_for("The run made nothing; no file was written.", shown)) << shown;
  end_at_the_main_menu(ef, tmux);
}

// The picker before any file was chosen offers the engine folder's examples beside drive C; it has a
// key row, and a folder of more names than it lists says so and how to narrow the list.
TEST(EngineTerminal, PickerSaysWhatItOffersAndWhereItIsCut) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  for (int i = 0; i < 95; ++i) ef.write("many/n" + std::to_string(100 + i) + ".txt", "x");
  std::string shown = start_engine(tmux, ef);
  tmux.cmd({"send-keys", "F1"});
  ASSERT_TRUE(tmux.wait_for("Esc: back", shown)) << shown;
  ASSERT_TRUE(tmux.wait_for("\u2551C:\\ ", shown)) << shown;
  // The entries are painted one row after the other: the second row is read once it holds a name.
  const auto named = [](const std::string& row) { return !box_row(row).empty(); };
  ASSERT_TRUE(wait_for_row(tmux, 13, "", shown, named)) << shown;
  std::vector<std::string> rows = lines_of(shown);
  ASSERT_GE(rows.size(), 24u) << shown;
  EXPECT_EQ(box_row(rows[13]), (ef.path() / "Examples").string() + "/") << shown;
  EXPECT_NE(rows[23].find("Up Down Home End: move   Enter: take the name   Esc: back"), std::string::npos) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("F3: last", shown)) << shown;
  tmux.cmd({"send-keys", "End"});
  answer(tmux, "many");
  ASSERT_TRUE(tmux.wait_for("Only the first 90 names are listed: narrow the file mask (e.g. B*.TXT)", shown)) << shown;
  ASSERT_TRUE(tmux.wait_for("Enter: take the name", shown)) << shown;
  // The box's entries are painted after the key row.
  ASSERT_TRUE(wait_for_row(tmux, 12, "", shown, [](const std::string& row) { return box_row(row).rfind("C:\\many\\", 0) == 0; }))
      << shown;
  EXPECT_EQ(box_row(lines_of(shown).at(12)), "C:\\many\\n100.txt") << shown;
  tmux.cmd({"send-keys", "Escape"});
  end_at_the_main_menu(ef, tmux);
}

// Messages of a run stay on the message line of the selection screen: the title, the codes and the
// marks keep their rows while a folder is made and while a hole drawn before goes to a second name;
// a refused scale stays in view before the question comes back.
TEST(EngineTerminal, RunMessagesKeepTheSelectionScreen) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  ef.write("memofile", "C:\\Examples\\Examples.TXT\r\n");
  std::string shown = start_engine(tmux, ef);
  ASSERT_TRUE(choose_remembered_input(tmux, shown)) << shown;
  ASSERT_TRUE(codes_in_place(lines_of(shown))) << shown;

  // First pass: BH1 and BH3, a scale out of range first.
  answer(tmux, "BH1");
  answer(tmux, "BH3");
  ASSERT_TRUE(tmux.wait_for("631BH3 <=2", shown)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Scale 1:n", shown, 60000)) << shown;
  // Each message stands until the test has read it.
  PauseHold pauses(ef);
  pauses.hold();
  answer(tmux, "10001");
  EXPECT_TRUE(tmux.wait_for("The scale must lie between 0 (automatic) and 10000.", shown)) << shown;
  EXPECT_TRUE(pauses.release());
  pauses.end();
  ASSERT_TRUE(tmux.wait_for("Scale 1:n", shown)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Draw a legend", shown)) << shown;
  pauses.hold();
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Creating the missing folder", shown, 60000)) << shown;
  std::vector<std::string> rows = lines_of(shown);
  EXPECT_TRUE(codes_in_place(rows)) << shown;
  ASSERT_EQ(rows.size(), 25u) << shown;
  EXPECT_EQ(rows[23], "Creating the missing folder C:\\VLXFILES (Output path)") << shown;
  EXPECT_EQ(rows[0].rfind("Holes converted from  \"", 0), 0u) << shown;
  EXPECT_TRUE(pauses.release());
  pauses.end();
  ASSERT_TRUE(tmux.wait_for("(Y=", shown, 60000)) << shown;
  answer(tmux, "");

  // Second pass: BH3 again and TP2; BH3's result goes to a second name, said on the message line. A
  // folder stands where TP2's result goes: that it cannot be written is said there too.
  ASSERT_TRUE(wait_until_gone(tmux, {"<", "(Y="}, shown, 60000)) << shown;
  fs::path job;
  for (const auto& e : fs::recursive_directory_iterator(ef.path() / "VLXFILES"))
    if (e.path().filename() == "BH3.pdf") job = e.path().parent_path();
  ASSERT_FALSE(job.empty());
  fs::create_directory(job / "TP2.pdf");
  ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown, 60000)) << shown;
  answer(tmux, "BH3");
  answer(tmux, "TP2");
  ASSERT_TRUE(tmux.wait_for("631TP2 <=2", shown)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Scale 1:n", shown, 60000)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Draw a legend", shown)) << shown;
  pauses.hold();
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("was written in this run already", shown, 60000)) << shown;
  rows = lines_of(shown);
  EXPECT_TRUE(codes_in_place(rows)) << shown;
  ASSERT_EQ(rows.size(), 25u) << shown;
  // The two paths do not fit the line whole: their names show.
  EXPECT_EQ(rows[23], "Result BH3.pdf was written in this run already; this hole goes to BH3_2.pdf") << shown;
  EXPECT_TRUE(pauses.release());
  ASSERT_TRUE(tmux.wait_for("cannot be written", shown, 60000)) << shown;
  rows = lines_of(shown);
  EXPECT_TRUE(codes_in_place(rows)) << shown;
  ASSERT_EQ(rows.size(), 25u) << shown;
  EXPECT_EQ(rows[23], "TP2.pdf cannot be written (a folder has that name); the earlier file is kept.") << shown;
  EXPECT_TRUE(pauses.release());
  pauses.end();
  // Both holes drawn: each mark on its hole's row.
  ASSERT_TRUE(tmux.wait_for("(Y=", shown, 60000)) << shown;
  rows = lines_of(shown);
  EXPECT_TRUE(codes_in_place(rows)) << shown;
  EXPECT_EQ(rows[4].substr(9, 12), "631BH3 <   -") << shown;
  EXPECT_EQ(rows[6].substr(9, 12), "631TP2 <   -") << shown;
  EXPECT_EQ(rows[0].rfind("Holes converted from  \"", 0), 0u) << shown;
  answer(tmux, "");
  ASSERT_TRUE(wait_until_gone(tmux, {"(Y="}, shown, 60000)) << shown;
  ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown, 60000)) << shown;
  answer(tmux, "");
  // The result not written is in ERROR.LOG, and the session ends with exit code 1.
  end_at_the_main_menu(ef, tmux, "TP2.pdf cannot be written (a folder has that name); the earlier file is kept.");
  // BH3 of the second pass went to a name of its own.
  std::vector<std::string> results;
  for (const auto& e : fs::recursive_directory_iterator(ef.path() / "VLXFILES")) results.push_back(e.path().filename().string());
  EXPECT_NE(std::find(results.begin(), results.end(), "BH3.pdf"), results.end());
  EXPECT_NE(std::find(results.begin(), results.end(), "BH3_2.pdf"), results.end());
}

// An input file whose path takes 150 characters: the selection screen's title shows its end on row 1,
// the rule below it stays on row 2, and the codes keep their rows.
TEST(EngineTerminal, LongInputPathKeepsToItsRow) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  const std::string name = "Examples.TXT";
  const size_t base = ef.path().string().size() + 1;
  ASSERT_LT(base + name.size() + 40, 150u);
  std::string folders;  // folders of 20 characters and one to make up the rest
  while (base + folders.size() + 21 + name.size() + 21 <= 150) folders += std::string(19, 'f') + std::to_string(folders.size() / 21 % 10) + "/";
  folders += std::string(150 - base - folders.size() - name.size() - 1, 'g') + "/";
  const std::string rel = folders + name;
  ASSERT_EQ(base + rel.size(), 150u);
  fs::create_directories(ef.path() / folders);
  fs::copy_file(ef.path() / "Examples" / name, ef.path() / rel);
  std::string windows = "C:\\" + rel;
  for (char& c : windows) c = c == '/' ? '\\' : c;
  ef.write("memofile", windows + "\r\n");

  std::string shown = start_engine(tmux, ef);
  ASSERT_TRUE(choose_remembered_input(tmux, shown)) << shown;
  const std::vector<std::string> rows = lines_of(shown);
  ASSERT_EQ(rows.size(), 25u) << shown;
  EXPECT_EQ(rows[0].rfind("Holes converted from  \"", 0), 0u) << shown;
  EXPECT_NE(rows[0].find("g/Examples.TXT\""), std::string::npos) << shown;
  EXPECT_LE(rows[0].size(), 80u) << shown;
  EXPECT_EQ(rows[1], std::string(rows[0].size(), '=')) << shown;
  EXPECT_TRUE(codes_in_place(rows)) << shown;
  answer(tmux, "");
  end_at_the_main_menu(ef, tmux);
}

// The output folder question (F4) with long folders: the question shows the folder's end, a folder
// that does not exist is said on the row below it, and Esc leaves the question with the folder as it
// was; the cells below stay as they were.
TEST(EngineTerminal, OutputFolderQuestionKeepsToItsRows) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  const std::string long_folder = "results_of_the_school_extension_site_investigation\\second_phase_boreholes";
  fs::create_directories(ef.path() / "results_of_the_school_extension_site_investigation" / "second_phase_boreholes");
  std::string shown = start_engine(tmux, ef);
  const std::vector<std::string> main_rows = lines_of(shown);
  ASSERT_EQ(main_rows.size(), 25u) << shown;
  const std::vector<std::string> cell_rows(main_rows.end() - 3, main_rows.end() - 1);

  // An existing long folder is taken: cell 4 shows its end.
  tmux.cmd({"send-keys", "F4"});
  ASSERT_TRUE(tmux.wait_for("Output folder (Enter keeps", shown)) << shown;
  answer(tmux, "C:\\" + long_folder);
  ASSERT_TRUE(tmux.wait_for("...se_boreholes", shown)) << shown;
  ASSERT_TRUE(wait_until_gone(tmux, {"Output folder"}, shown)) << shown;

  // Again: the question shows that folder's end; a long folder that does not exist is said.
  tmux.cmd({"send-keys", "F4"});
  ASSERT_TRUE(tmux.wait_for("Output folder (Enter keeps", shown)) << shown;
  std::vector<std::string> rows = lines_of(shown);
  ASSERT_EQ(rows.size(), 25u) << shown;
  EXPECT_NE(rows[20].find("Output folder (Enter keeps ...\\"), std::string::npos) << shown;
  EXPECT_NE(rows[20].find("_boreholes )"), std::string::npos) << shown;
  EXPECT_EQ(std::vector<std::string>(rows.end() - 3, rows.end() - 1), cell_rows) << shown;
  const std::string missing = "C:\\" + long_folder + "\\not_made_yet\\and_a_folder_below_it_that_is_missing";
  answer(tmux, missing);
  ASSERT_TRUE(tmux.wait_for("Folder not found : ", shown)) << shown;
  rows = lines_of(shown);
  ASSERT_EQ(rows.size(), 25u) << shown;
  EXPECT_EQ(rows[21].rfind("Folder not found : ", 0), 0u) << shown;
  EXPECT_NE(rows[21].find("below_it_that_is_missing"), std::string::npos) << shown;
  EXPECT_LE(rows[21].size(), 78u) << shown;
  EXPECT_EQ(std::vector<std::string>(rows.end() - 3, rows.end() - 1), cell_rows) << shown;
  // A key: the question again, the message gone; Esc leaves it with the folder as it was.
  tmux.cmd({"send-keys", "Space"});
  ASSERT_TRUE(wait_until_gone(tmux, {"Folder not found"}, shown)) << shown;
  ASSERT_TRUE(tmux.wait_for("Output folder (Enter keeps", shown)) << shown;
  tmux.cmd({"send-keys", "Escape"});
  // Leaving the question puts its row back cell by cell, blanks the rows below and paints the cells
  // again: the screen is read once all of that is done (or the wait is over).
  wait_for_screen(tmux, [&](const std::string& s) {
    const std::vector<std::string> r = lines_of(s);
    return r.size() == 25 && r[20].empty() && r[21].empty() && r[24].find("...se_boreholes") != std::string::npos &&
           std::vector<std::string>(r.end() - 3, r.end() - 1) == cell_rows;
  }, shown);
  EXPECT_EQ(shown.find("Output folder"), std::string::npos) << shown;
  rows = lines_of(shown);
  ASSERT_EQ(rows.size(), 25u) << shown;
  EXPECT_EQ(std::vector<std::string>(rows.end() - 3, rows.end() - 1), cell_rows) << shown;
  EXPECT_NE(rows[24].find("...se_boreholes"), std::string::npos) << shown;  // the end after a mark
  for (size_t r = 20; r < 22; ++r) EXPECT_EQ(rows[r], "") << r << "\n" << shown;
  tmux.cmd({"send-keys", "Escape"});
  expect_clean_end(ef, tmux);
}

// Started in a window of 80 x 20 (fewer rows than the screens take) the engine asks for a larger window
// and keys do nothing until it has one; the same while a smaller window hides the setup editor.
TEST(EngineTerminal, StartInASmallWindowWaitsForALargerOne) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  RunResult r = tmux.cmd({"new-session", "-d", "-x", "80", "-y", "20", "-c", ef.path().string(),
                          "VLX_DRIVE_C=$PWD ./profile 2> stderr.txt; echo $? > rc.txt; stty -a > stty.new; mv stty.new stty.txt"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  std::string shown;
  ASSERT_TRUE(tmux.wait_for("Please enlarge the window to 80 x 25", shown)) << shown;
  tmux.cmd({"send-keys", "F2"});  // would change the activity
  tmux.cmd({"send-keys", "F5"});  // would open the setup editor
  ASSERT_TRUE(wait_until_keys_read(tmux));
  ASSERT_TRUE(tmux.wait_for("Please enlarge the window to 80 x 25", shown)) << shown;
  tmux.cmd({"resize-window", "-x", "80", "-y", "25"});
  ASSERT_TRUE(tmux.wait_for("Editor", shown)) << shown;
  std::vector<std::string> rows = lines_of(shown);
  ASSERT_EQ(rows.size(), 25u) << shown;
  EXPECT_EQ(rows[24], "                    Profiles          PDF         C:\\VLXFILES       Editor") << shown;

  // In the setup editor: Down and Enter while the window is small open nothing.
  tmux.cmd({"send-keys", "F5"});
  // The editor paints its shaded background first and the menu last, its last row at the end.
  ASSERT_TRUE(tmux.wait_for("SWITCH SETUP \u2551 \u2591", shown)) << shown;
  const std::string editor = shown;
  tmux.cmd({"resize-window", "-x", "80", "-y", "20"});
  ASSERT_TRUE(tmux.wait_for("Please enlarge the window to 80 x 25", shown)) << shown;
  tmux.cmd({"send-keys", "Down"});
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(wait_until_keys_read(tmux));
  ASSERT_TRUE(tmux.wait_for("Please enlarge the window to 80 x 25", shown)) << shown;
  tmux.cmd({"resize-window", "-x", "80", "-y", "25"});
  // The screen is painted again whole from the top, in more bytes than the terminal takes at once: the
  // menu shows before the rows below it. The whole screen is awaited.
  wait_for_screen(tmux, [&](const std::string& s) { return s == editor; }, shown);
  EXPECT_EQ(shown, editor);
  tmux.cmd({"send-keys", "Escape"});
  end_at_the_main_menu(ef, tmux);
}


// The console SET editor at 80 x 25: the LAYOUT box below the title, a long description folded, a value
// out of range said inside the screen's shaded edge and the key row back after it, the page-order
// question whole, and a save under a new name said and shown in the title.
TEST(EngineTerminal, SetEditorRowsFitTheirPlaces) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  const std::string key_row = "Arrow keys move - Enter or mouse click chooses - Esc goes back";
  const std::string shade = "\u2592\u2592";
  std::string shown = start_engine(tmux, ef);
  tmux.cmd({"send-keys", "F5"});
  ASSERT_TRUE(tmux.wait_for(key_row, shown)) << shown;
  // LAYOUT (the sixth item); its eighth item has a description longer than its row. Each key waits
  // for the screen it acts on.
  ASSERT_TRUE(tmux.wait_for("\u2551< the three printing fonts", shown)) << shown;
  ASSERT_TRUE(step_through_menu(tmux, "Down",
                                {"language of", "soil words", "vocabularies for", "output folder, page order",
                                 "page size, margins"},
                                shown))
      << shown;
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("\u2551< scale units", shown)) << shown;
  ASSERT_TRUE(step_through_menu(tmux, "Down",
                                {"page size (", "left margin of log", "right margin of log", "left margin of profile",
                                 "right margin of profile", "height of the page head", "height of the page foot",
                                 "log options code"},
                                shown))
      << shown;
  // The description's second row is painted after its first.
  ASSERT_TRUE(tmux.wait_for("< log options code", shown)) << shown;
  ASSERT_TRUE(tmux.wait_for("  400)", shown)) << shown;
  std::vector<std::string> rows = lines_of(shown);
  ASSERT_EQ(rows.size(), 25u) << shown;
  EXPECT_NE(rows[1].find("Setup File Editor"), std::string::npos) << shown;
  EXPECT_NE(rows[11].find("< log options code (add 1, 10, 100, 200,"), std::string::npos) << shown;
  EXPECT_NE(rows[12].find("  400)"), std::string::npos) << shown;
  // A value out of range: the message keeps off the shaded edge, then the key row is back.
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("Set log options code", shown)) << shown;
  answer(tmux, "99999");
  ASSERT_TRUE(tmux.wait_for("Value out of range", shown)) << shown;
  EXPECT_EQ(lines_of(shown).at(23).rfind(shade + "Value out of range", 0), 0u) << shown;
  ASSERT_TRUE(tmux.wait_for(key_row, shown)) << shown;
  tmux.cmd({"send-keys", "Escape"});
  ASSERT_TRUE(wait_until_gone(tmux, {"SCALE UNITS"}, shown)) << shown;
  // PATHS (the fifth item), its second item: the page-order question stands whole on the row above
  // its entry.
  ASSERT_TRUE(step_through_menu(tmux, "Up", {"output folder, page order"}, shown)) << shown;
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("\u2551< folder for output files", shown)) << shown;
  ASSERT_TRUE(step_through_menu(tmux, "Down", {"page order: 0"}, shown)) << shown;
  // The menu row's description holds the question's words too: the question is awaited on its own row.
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(wait_for_row(tmux, 22, "page order: 0 profile first, REVERSE logs first", shown)) << shown;
  answer(tmux, "REVERSE");
  ASSERT_TRUE(wait_for_row(tmux, 22, "", shown, [](const std::string& row) { return row.find("REVERSE logs first") == std::string::npos; }))
      << shown;
  ASSERT_TRUE(tmux.wait_for(key_row, shown)) << shown;
  tmux.cmd({"send-keys", "Escape"});
  ASSERT_TRUE(wait_until_gone(tmux, {"\u2551REVERSE"}, shown)) << shown;
  // SAVE (the eighth item) under a new name.
  ASSERT_TRUE(step_through_menu(tmux, "Down", {"page size, margins", "colours of the", "save the setup file"}, shown))
      << shown;
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(tmux.wait_for("Save setup file as", shown)) << shown;
  answer(tmux, "SITE");
  ASSERT_TRUE(tmux.wait_for("Setup file saved as SITE.SET", shown)) << shown;
  EXPECT_NE(lines_of(shown).at(1).find(" SITE.SET "), std::string::npos) << shown;
  ASSERT_TRUE(tmux.wait_for(key_row, shown)) << shown;
  EXPECT_NE(lines_of(shown).at(1).find(" SITE.SET "), std::string::npos) << shown;
  EXPECT_NE(ef.read("SITE.SET").find("REVERSE"), std::string::npos);
  tmux.cmd({"send-keys", "Escape"});
  end_at_the_main_menu(ef, tmux);
}

// One pass of the selection screen from the main menu: the remembered input, the answers, Enter at the
// scale, legend and join questions, and back at the main menu.
void menu_run(const Tmux& tmux, const std::vector<std::string>& answers, std::string& shown) {
  ASSERT_TRUE(choose_remembered_input(tmux, shown)) << shown;
  for (const auto& a : answers) answer(tmux, a);
  answer(tmux, "");
  for (const char* question : {"Scale 1:n", "Draw a legend", "(Y="}) {
    ASSERT_TRUE(tmux.wait_for(question, shown, 120000)) << question << "\n" << shown;
    answer(tmux, "");
  }
  ASSERT_TRUE(wait_until_gone(tmux, {"(Y="}, shown, 120000)) << shown;
  ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown, 120000)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Editor", shown)) << shown;
}

// The names of the files in a job folder of the output folder.
std::vector<std::string> job_files(const fs::path& folder) {
  std::vector<std::string> names;
  if (fs::is_directory(folder))
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Two runs from the menu in one session: each is a run of its own, so the second replaces the first's
// results of the same names (no BH1_2.pdf beside them).
TEST(EngineTerminal, EachRunFromTheMenuReplacesTheRunBefore) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  ef.write("memofile", "C:\\Examples\\Examples.TXT\r\n");
  std::string shown = start_engine(tmux, ef);
  menu_run(tmux, {"BH1", "TP2"}, shown);
  const fs::path job = ef.path() / "VLXFILES/GE2631";
  const std::vector<std::string> first{"BH1.pdf", "TP2.pdf"};
  EXPECT_EQ(job_files(job), first);
  const auto written = fs::last_write_time(job / "BH1.pdf");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  menu_run(tmux, {"BH1", "TP2"}, shown);
  EXPECT_EQ(job_files(job), first) << shown;
  EXPECT_NE(fs::last_write_time(job / "BH1.pdf"), written);
  tmux.cmd({"send-keys", "Escape"});
  expect_clean_end(ef, tmux);
}

// ALL on the selection screen of a file of 240 holes, of which the grid shows 100: every hole is drawn.
TEST(EngineTerminal, AllDrawsTheHolesTheGridHasNoRoomFor) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  std::string input = "Job Number : J-1\r\n";
  for (int i = 1; i <= 240; ++i) input += "Hole Number : H" + std::to_string(1000 + i).substr(1) + "\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n";
  ef.write("holes.txt", input + "///\r\n");
  ef.write("memofile", "C:\\holes.txt\r\n");
  std::string shown = start_engine(tmux, ef);
  menu_run(tmux, {"ALL"}, shown);
  const std::vector<std::string> files = job_files(ef.path() / "VLXFILES/J1");
  EXPECT_EQ(files.size(), 240u) << shown;
  EXPECT_NE(std::find(files.begin(), files.end(), "H240.pdf"), files.end());
  tmux.cmd({"send-keys", "Escape"});
  expect_clean_end(ef, tmux);
}

// A console waiting at its main menu holds no lock: a one-shot run in the same engine folder (the front
// end's) runs beside it. While another run holds the engine folder, a go from the menu is refused on the
// message line and in ERROR.LOG; once it has ended, the go works.
TEST(EngineTerminal, MenuWaitsWithoutTheEngineFolderLock) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  std::string shown = start_engine(tmux, ef);
  ef.write("holes.txt", "Job Number : J-1\r\nHole Number : BH1\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n///\r\n");
  ef.write("@runfile.dat", "0/   setupfile = STANDARD.SET\r\n1/   inputfile = holes.txt\r\n2/      output = PDF\r\n"
                           "3/    holelist = ALL\r\n4/    activity = 0\r\n8/      result = target.pdf\r\n");
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_TRUE(ef.exists("target.pdf"));
  {
    const int fd = ::open(ef.file("profile.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);  // the menu holds nothing now
    tmux.cmd({"send-keys", "F1"});
    ASSERT_TRUE(tmux.wait_for("Another run is using this engine folder; try again when it has ended.", shown)) << shown;
    EXPECT_EQ(shown.find("SELECT [drive:"), std::string::npos) << shown;
    tmux.cmd({"send-keys", "Space"});
    ASSERT_TRUE(wait_until_gone(tmux, {"Another run"}, shown)) << shown;
    ::close(fd);
  }
  tmux.cmd({"send-keys", "F1"});
  ASSERT_TRUE(tmux.wait_for("SELECT [drive:\\][path\\]filename", shown)) << shown;
  tmux.cmd({"send-keys", "Escape"});
  // The go that was refused is written down; the session ends with 1.
  end_at_the_main_menu(ef, tmux, "Another run is using this engine folder; try again when it has ended.");
}

// A file whose name has letters beyond ASCII, in a UTF-8 terminal: the picker lists it as written, a
// mask typed with such a letter finds it, the name taken from the list opens the file (its bytes
// unchanged: the selection screen's title and the remembered list hold it as it is).
TEST(EngineTerminal, NamesInTheTerminalsOwnLetters) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  const std::string name = "\xC3\x84rger s\xC3\xBC" "d.txt";  // "Ärger süd.txt" in UTF-8
  fs::copy_file(ef.path() / "Examples" / "Examples.TXT", ef.path() / name);
  // Letters CP437 lacks, typed too: "Łódź.txt".
  const std::string other = "\xC5\x81\xC3\xB3" "d\xC5\xBA.txt";
  fs::copy_file(ef.path() / "Examples" / "Examples.TXT", ef.path() / other);
  std::string shown = start_engine(tmux, ef, "LANG=C.UTF-8 ");
  tmux.cmd({"send-keys", "F1"});
  ASSERT_TRUE(tmux.wait_for("\u2551C:\\ ", shown)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Filemask = C:\\", shown)) << shown;
  tmux.cmd({"send-keys", "Home"});
  answer(tmux, "C:\\\xC5\x81\xC3\xB3" "d\xC5\xBA*");  // typed: C:\Łódź*
  ASSERT_TRUE(tmux.wait_for("\u2551C:\\" + other + " ", shown)) << shown;
  ASSERT_TRUE(wait_until_gone(tmux, {"Filemask"}, shown)) << shown;
  EXPECT_EQ(box_row(lines_of(shown).at(12)), "C:\\" + other) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Filemask = C:\\" + other, shown)) << shown;
  tmux.cmd({"send-keys", "Home"});
  answer(tmux, "C:\\\xC3\xA4*");  // typed: C:\ä* (the mask ignores the case of letters beyond ASCII)
  ASSERT_TRUE(tmux.wait_for("\u2551C:\\" + name + " ", shown)) << shown;
  ASSERT_TRUE(wait_until_gone(tmux, {"Filemask"}, shown)) << shown;
  EXPECT_EQ(box_row(lines_of(shown).at(12)), "C:\\" + name) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Filemask = C:\\" + name, shown)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown, 60000)) << shown;
  const std::vector<std::string> rows = lines_of(shown);
  const std::string title = "Holes converted from  \"" + (ef.path() / name).string() + "\"";
  EXPECT_EQ(rows.at(0), title) << shown;
  EXPECT_EQ(rows.at(1), std::string(title.size() - 2, '=')) << shown;  // one column for each of the two letters
  answer(tmux, "");
  end_at_the_main_menu(ef, tmux);
  EXPECT_EQ(ef.read("memofile").substr(0, name.size() + 5), "C:\\" + name + "\r\n");
}

// Tab in the Filemask field goes to the next comma counting letters, not bytes: in
// "C:\Läge,Nord.txt" it stops on the comma after the two-byte "ä", where the typed "*" (the first
// key clears the rest) makes the mask "C:\Läge*", which lists both files of that start.
TEST(EngineTerminal, TabInTheFilemaskFieldCountsLetters) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  const std::string north = "L\xC3\xA4ge,Nord.txt", south = "L\xC3\xA4ge S\xC3\xBC" "d.txt";  // Läge,Nord / Läge Süd
  ef.write(north, "x\r\n");
  ef.write(south, "x\r\n");
  ef.write("memofile", "C:\\" + north + "\r\n");
  std::string shown = start_engine(tmux, ef, "LANG=C.UTF-8 ");
  tmux.cmd({"send-keys", "F1"});
  ASSERT_TRUE(tmux.wait_for("\u2551C:\\" + north + " ", shown)) << shown;
  answer(tmux, "");
  // The field row: "Filemask = " from column 3, the field, then the key hint.
  const auto field_is = [](const std::string& text) {
    return [text](const std::string& row) { return row.find("Filemask = " + text + std::string(20, ' ')) != std::string::npos; };
  };
  ASSERT_TRUE(wait_for_row(tmux, 21, "", shown, field_is("C:\\" + north), 60000)) << shown;
  tmux.cmd({"send-keys", "Home"});
  tmux.cmd({"send-keys", "Tab"});
  tmux.cmd({"send-keys", "-l", "*"});
  ASSERT_TRUE(wait_for_row(tmux, 21, "", shown, field_is("C:\\L\xC3\xA4ge*"), 60000)) << shown;
  tmux.cmd({"send-keys", "Enter"});
  ASSERT_TRUE(wait_until_gone(tmux, {"Filemask"}, shown, 60000)) << shown;
  ASSERT_TRUE(tmux.wait_for("\u2551C:\\" + south + " ", shown, 60000)) << shown;
  ASSERT_TRUE(wait_for_row(tmux, 13, "\u2551C:\\", shown, {}, 60000)) << shown;
  const std::vector<std::string> rows = lines_of(shown);
  std::vector<std::string> listed{box_row(rows.at(12)), box_row(rows.at(13))};
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (std::vector<std::string>{"C:\\" + south, "C:\\" + north})) << shown;
  EXPECT_EQ(box_row(rows.at(14)), "") << shown;
  tmux.cmd({"send-keys", "Escape"});
  end_at_the_main_menu(ef, tmux);
}

// Two holes of one job whose codes collide: TP101 beside BH101 gets a coded file of its own (0J1_01).
// Each hole drawn is marked done on its own row of the selection screen; TP101 was marked on BH101's
// row, its own still showing it in progress.
TEST(EngineTerminal, EachHoleDrawnIsMarkedDoneOnItsOwnRow) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  ef.write("holes.txt", "Job Number : J-1\r\nHole Number : BH101\r\n/\r\n1.00 CLAY\r\n/\r\n//\r\n"
                        "Hole Number : TP101\r\n/\r\n2.00 SAND\r\n/\r\n//\r\n///\r\n");
  ef.write("memofile", "C:\\holes.txt\r\n");
  std::string shown = start_engine(tmux, ef);
  tmux.cmd({"send-keys", "F1"});
  ASSERT_TRUE(tmux.wait_for("SELECT [drive:\\][path\\]filename", shown)) << shown;
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Filemask = ", shown)) << shown;
  answer(tmux, "");
  // The conversion says the code it gave TP101 and waits for a key, then for one after its warning.
  for (const char* wait : {"Esc stops the conversion, any other key goes on.", "Press any key to continue."}) {
    ASSERT_TRUE(tmux.wait_for(wait, shown)) << shown;
    ASSERT_TRUE(wait_until_keys_read(tmux));
    tmux.cmd({"send-keys", "Space"});
  }
  ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown)) << shown;
  struct Pass {
    const char* typed;
    const char* bh101;  // row 3 from column 10 once the holes are drawn
    const char* tp101;  // row 4
  } passes[] = {
      {"0J1_01", "0J1101      ", "0J1_01 <   -"},
      {"ALL", "0J1101 <   -", "0J1_01 <   -"},
  };
  for (const auto& p : passes) {
    SCOPED_TRACE(p.typed);
    answer(tmux, p.typed);
    ASSERT_TRUE(tmux.wait_for("0J1_01 <=", shown)) << shown;
    answer(tmux, "");
    for (const char* question : {"Scale 1:n", "Draw a legend"}) {
      ASSERT_TRUE(tmux.wait_for(question, shown)) << question << "\n" << shown;
      answer(tmux, "");
    }
    const auto at = [](const std::vector<std::string>& rows, size_t row, const std::string& text) {
      return rows.size() > row && (rows[row] + std::string(30, ' ')).substr(9, text.size()) == text;
    };
    // The marks are made before the join question; a grid row is read once it is painted whole.
    const bool marked = wait_for_screen(tmux, [&](const std::string& s) {
      const std::vector<std::string> rows = lines_of(s);
      return s.find("(Y=") != std::string::npos && at(rows, 2, p.bh101) && at(rows, 3, p.tp101);
    }, shown);
    EXPECT_TRUE(marked) << shown;
    ASSERT_TRUE(tmux.wait_for("(Y=", shown)) << shown;
    answer(tmux, "");
    ASSERT_TRUE(wait_until_gone(tmux, {"<", "(Y="}, shown)) << shown;
    ASSERT_TRUE(tmux.wait_for("Holes (code, first,last", shown)) << shown;
  }
  answer(tmux, "");
  ASSERT_TRUE(tmux.wait_for("Editor", shown)) << shown;
  tmux.cmd({"send-keys", "Escape"});
  // The session ends with 0; ERROR.LOG holds the conversion's note of the code it gave.
  ASSERT_TRUE(wait_for_file(ef.file("stty.txt"))) << tmux.screen();
  EXPECT_EQ(ef.read("rc.txt"), "0\n");
  EXPECT_NE(ef.read("ERROR.LOG").find("0J1101 -> 0J1_01 (hole TP101)"), std::string::npos) << ef.read("ERROR.LOG");
  EXPECT_TRUE(fs::exists(ef.path() / "VLXFILES" / "J1" / "TP101.pdf"));
}

}  // namespace
