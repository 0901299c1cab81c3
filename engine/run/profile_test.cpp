// The main program: the constants and settings it leaves before the main menu.
#include <gtest/gtest.h>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/run/promenu.h"
#include "engine/run/run.h"
#include "engine/runtime/files.h"
#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class ProfileTest : public ::testing::Test {
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

TEST_F(ProfileTest, MainProgramSetsConstants) {
  menu_hand_over().getsetup = [] {};  // no SET file here
  PBMAIN();
  menu_hand_over() = MenuHandOver{};
  EXPECT_EQ(VERSION, "7022");
  EXPECT_EQ(STATUSROW, 30);
  EXPECT_EQ(CONROWS, 30);
  EXPECT_EQ(AWORKBASE, 4);
  EXPECT_EQ(WORKSECOND, 2);
  EXPECT_EQ(FONTSWCODE, "\x13");
  EXPECT_EQ(NOSYMCODE, "\x17");
  EXPECT_EQ(ULWORDCODE, "_");
  EXPECT_EQ(SETUPNAME, "STANDARD.SET");
}

}  // namespace
