// The common ground of the frame's unit tests: fresh globals and arrays, a console without a terminal,
// a temporary current folder and recorded message boxes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "testsupport.h"

class FrameFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_frame_globals();
    platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
    PRODIM();
  }
  void TearDown() override {
    rt::close_all();
    reset_frame_globals();
    platform::set_clock(nullptr);
    platform::set_console(nullptr);
  }
  // ERROR.LOG of the current folder, empty when there is none.
  std::string log() const {
    return std::filesystem::exists(dir.path() / "ERROR.LOG") ? dir.read("ERROR.LOG") : std::string();
  }
  void clear_log() const { std::filesystem::remove(dir.path() / "ERROR.LOG"); }
  testing_support::TempDir dir;
  testing_support::ScopedCwd cwd{dir.path()};
  testing_support::BoxRecorder box;
};
