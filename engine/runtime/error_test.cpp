// The error convention: screen line, ERROR.LOG line, one log line then the box, ZADATE.
#include "engine/runtime/error.h"

#include <gtest/gtest.h>

#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/console_scripted.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class ErrorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
    platform::set_clock([] {
      platform::LocalTime t;
      t.year = 2026, t.month = 12, t.day = 7, t.hour = 9, t.minute = 5, t.second = 3;
      return t;
    });
    rt::set_error_prompt([] { return std::string("Press a key"); });
  }
  void TearDown() override {
    platform::set_clock(nullptr);
    rt::set_error_prompt(nullptr);
    rt::close_all();
    platform::set_console(nullptr);
  }
  TempDir dir;
  ScopedCwd cwd{dir.path()};
};

void fail_once(const std::string& module, const std::string& marker, int n) {
  rt::Trap t(module, "TESTPROC");
  t.step(marker);
  rt::raise(n);
}

TEST_F(ErrorTest, LogLineLayout) {
  struct Case {
    std::string module, marker;
    int error;
    std::string expected;
  } cases[] = {
      {"profile.cpp", "0001", 53, "07/12/2026 09:05:03 profile.cpp  @ 0001  Error  53 -File not found\r\n"},
      {"averylongname.cpp", "0002", 62,
       "07/12/2026 09:05:03 averylongnam @ 0002  Error  62 -Input past end\r\n"},
      {"cmdline.cpp", "", 9, "07/12/2026 09:05:03 cmdline.cpp  @   Error  9 -Subscript/Pointer out of range\r\n"},
      {"x.cpp", "0030 opening LASTRUN", 200, "07/12/2026 09:05:03 x.cpp        @ 0030 opening LASTRUN  Error  200 -\r\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir.path() / "ERROR.LOG");
    BoxRecorder box;
    rt::set_exit_code(0);
    fail_once(c.module, c.marker, c.error);
    EXPECT_EQ(dir.read("ERROR.LOG"), c.expected) << c.module;
    EXPECT_TRUE(box.texts.empty());
    EXPECT_EQ(rt::exit_code(), 1) << "a trapped error leaves something undone";
    rt::set_exit_code(0);
  }
}

TEST_F(ErrorTest, NoteLineLeavesTheTrapOn) {
  BoxRecorder box;
  rt::Trap t("promenu.cpp", "PROMENU");
  t.step("0004");
  rt::log_note("Activity 12 cannot be run");
  EXPECT_EQ(dir.read("ERROR.LOG"), "07/12/2026 09:05:03 promenu.cpp  @ 0004  Activity 12 cannot be run\r\n");
  EXPECT_TRUE(t.on());
  EXPECT_EQ(t.error_count(), 0);
  EXPECT_EQ(platform::console().row_text(1), std::string(80, ' '));  // nothing on the screen, no key wait
}

TEST_F(ErrorTest, ScreenLineThenPrompt) {
  BoxRecorder box;
  fail_once("getpromp.cpp", "", 53);
  auto& con = platform::console();
  // The screen line is printed at the cursor and ends the line; without a person at the console no
  // prompt asks for a key.
  EXPECT_EQ(con.row_text(1).substr(0, 44), "getpromp.cpp @   Error  53  - File not found");
  EXPECT_EQ(rt::TRIM(con.row_text(2)), "");
  // At a console with a person, prompt 110 follows on the next row, and a key is waited for.
  auto scripted = std::make_unique<platform::ScriptedConsole>();
  scripted->push_key("x");
  platform::set_console(std::move(scripted));
  fail_once("getpromp.cpp", "", 53);
  EXPECT_EQ(platform::console().row_text(2).substr(0, 11), "Press a key");
}

TEST_F(ErrorTest, SecondErrorInOneCallIsUntrapped) {
  BoxRecorder box(platform::BoxAnswer::Ok);
  {
    rt::Trap t("proc.cpp", "READLOOP");
    rt::raise(62);
    rt::raise(62);
    EXPECT_EQ(t.error_count(), 2);
  }
  std::string log = dir.read("ERROR.LOG");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1);
  ASSERT_EQ(box.texts.size(), 1u);
  EXPECT_EQ(box.texts[0],
            "Untrapped Error #62 (Input past end)\nhas occurred following execution of PERROR  \n\n"
            "Press OK to continue, Cancel to terminate");
  // The same failure in the next call of the procedure is logged again.
  fail_once("proc.cpp", "", 62);
  log = dir.read("ERROR.LOG");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2);
}

// A reader's trap names the file and the line it was reading; what follows from the same damage is
// counted, not said again, and no box ends the run, which ends with exit code 1.
TEST_F(ErrorTest, ReaderSaysItsDamagedFileOnce) {
  BoxRecorder box(platform::BoxAnswer::Cancel);
  rt::set_exit_code(0);
  dir.write("colours.txt", "1,2\r\n99999999999,4\r\n");
  // Read twice, as start-up reads the prompt file: said the first time only.
  for (int reading = 1; reading <= 2; ++reading) {
    rt::Trap t("fetchcol.cpp", "FETCHCOL");
    const int f = rt::FREEFILE();
    ASSERT_TRUE(rt::open_file(f, "colours.txt", rt::FileMode::Input));
    t.reading(f, "colours.txt");
    std::string item;
    std::int32_t n = 0;
    while (rt::input_item(f, item)) rt::let(n, rt::VAL(item));  // overflow at line 2, then past the end
    rt::raise(9);
    EXPECT_TRUE(t.damaged());
    EXPECT_EQ(t.error_count(), 3);
    EXPECT_EQ(t.error(), 9);
    rt::close_file(f);
  }
  EXPECT_EQ(dir.read("ERROR.LOG"), "07/12/2026 09:05:03 fetchcol.cpp @ colours.txt line 2  Error  6 -Overflow\r\n");
  EXPECT_TRUE(box.texts.empty());
  EXPECT_EQ(rt::exit_code(), 1);
  rt::set_exit_code(0);
}

TEST_F(ErrorTest, CancelAndFatalErrorsEndWith255) {
  {
    BoxRecorder box(platform::BoxAnswer::Cancel);
    rt::Trap t("proc.cpp", "PROC", rt::Trap::kNoHandler);
    try {
      rt::raise(5);
      FAIL() << "Cancel must end the process";
    } catch (const ProcessEnded& e) {
      EXPECT_EQ(e.code, 255);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "ERROR.LOG"));
  }
  for (int n : {241, 242}) {
    BoxRecorder box(platform::BoxAnswer::Ok);
    rt::Trap t("proc.cpp", "PROC");
    try {
      rt::raise(n);
      FAIL() << n;
    } catch (const ProcessEnded& e) {
      EXPECT_EQ(e.code, 255);
    }
  }
}

// An ERROR.LOG that cannot be written (here a folder of that name) is said once; no error of the log
// itself reaches the box (which would end a batch run with 255), and the run ends with exit code 1.
TEST_F(ErrorTest, LogThatCannotBeWrittenIsSaidOnceAndTheRunGoesOn) {
  auto owned = std::make_unique<CountingConsole>();
  CountingConsole* con = owned.get();
  platform::set_console(std::move(owned));
  BoxRecorder box(platform::BoxAnswer::Cancel);
  std::filesystem::create_directory(dir.path() / "ERROR.LOG");
  rt::set_exit_code(0);
  fail_once("proc.cpp", "0001", 53);
  fail_once("proc.cpp", "0002", 62);
  EXPECT_TRUE(box.texts.empty());
  const std::string screen = con->screen();
  const std::string said = "ERROR.LOG cannot be written (a folder has that name)";
  EXPECT_NE(screen.find(said), std::string::npos) << screen;
  EXPECT_EQ(screen.find(said, screen.find(said) + 1), std::string::npos) << screen;
  EXPECT_NE(screen.find("proc.cpp @ 0002  Error  62  - Input past end"), std::string::npos) << screen;
  EXPECT_EQ(rt::exit_code(), 1);
  rt::set_exit_code(0);
}

TEST_F(ErrorTest, Zadate) { EXPECT_EQ(rt::ZADATE(), "07/12/2026"); }

}  // namespace
