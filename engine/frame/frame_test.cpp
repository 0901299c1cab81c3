// Start-up: the arrays of PRODIM and the previous run's "lastrun".
#include <gtest/gtest.h>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_frame_globals();
    platform::set_console(std::make_unique<platform::BatchConsole>(30, false));
  }
  void TearDown() override {
    rt::close_all();
    reset_frame_globals();
    platform::set_console(nullptr);
  }
  TempDir dir;
  ScopedCwd cwd{dir.path()};
  BoxRecorder box;
};

TEST_F(FrameTest, ProdimBounds) {
  PRODIM();
  PRODIM();  // a second call changes nothing
  EXPECT_EQ(MAXSAMPLES, 140);
  struct Case {
    const char* what;
    bool in;
  } cases[] = {
      {"NOTE(0)", NOTE.in_bounds(0)},          {"NOTE(50)", NOTE.in_bounds(50)},
      {"CHARWIDTH(1,31)", CHARWIDTH.in_bounds(1, 31)}, {"CHARWIDTH(4,32)", CHARWIDTH.in_bounds(4, 32)},
      {"CHARWIDTH(3,255)", CHARWIDTH.in_bounds(3, 255)}, {"DSAMP1(140)", DSAMP1.in_bounds(140)},
      {"DSAMP1(141)", DSAMP1.in_bounds(141)}, {"PDFOFFSET(4200)", PDFOFFSET.in_bounds(4200)},
  };
  bool want[] = {false, true, false, false, true, true, false, true};
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].in, want[i]) << cases[i].what;
}

TEST_F(FrameTest, LastrunChoosesDeviceAndSetFile) {
  dir.write("prompts.eng", "BEGIN\r\nEND\r\n");
  dir.write("STANDARD.SET", "x");
  dir.write("Clay.set", "x");
  struct Case {
    const char* name;
    const char* lastrun;  // nullptr: no file
    std::int32_t outdev;
    std::string setup;
  } cases[] = {
      {"missing", nullptr, 0, "STANDARD.SET"},
      {"pdf", " 1 \r\nClay.set\r\n", 1, "Clay.set"},
      {"device 4 becomes PDF", " 4 \r\nClay.set\r\n", 1, "Clay.set"},
      {"zero stays", " 0 \r\nClay.set\r\n", 0, "Clay.set"},
      {"three stays", "3\r\nClay.set\r\n", 3, "Clay.set"},
      {"empty first line", "\r\nClay.set\r\n", 0, "Clay.set"},
      {"SET file gone", " 2 \r\ngone.set\r\n", 2, "STANDARD.SET"},
      {"one line", " 2 \r\n", 2, "STANDARD.SET"},
      {"empty file", "", 0, "STANDARD.SET"},
  };
  for (const auto& c : cases) {
    reset_frame_globals();
    std::filesystem::remove(dir.path() / "lastrun");
    std::filesystem::remove(dir.path() / "ERROR.LOG");
    if (c.lastrun) dir.write("lastrun", c.lastrun);
    PRODIM();
    STARTUP();
    EXPECT_EQ(OUTDEV, c.outdev) << c.name;
    EXPECT_EQ(SETUPNAME, c.setup) << c.name;
    EXPECT_TRUE(PROMPTNAME.empty());
    // A short "lastrun" is no reason for an error line or the message box at every start.
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "ERROR.LOG")) << c.name;
  }
  EXPECT_TRUE(box.texts.empty());
}

}  // namespace
