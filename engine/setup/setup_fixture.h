// The common ground of the setup subsystem's reader tests: the frame's fixture (fresh globals, a
// temporary current folder, recorded message boxes) with fresh setup globals and a console that counts
// beeps and key waits.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/frame/frame_fixture.h"
#include "engine/setup/globals.h"
#include "platform/console.h"
#include "testsupport.h"

class CountingConsole : public platform::BatchConsole {
 public:
  CountingConsole() : BatchConsole(25, false) {}
  std::string wait_key() override {
    ++keys;
    return BatchConsole::wait_key();
  }
  void beep() override { ++beeps; }
  // Every row of the screen, one after another.
  std::string screen() const {
    std::string s;
    for (int r = 1; r <= rows(); ++r) s += row_text(r) + "\n";
    return s;
  }
  int keys = 0, beeps = 0;
};

class SetupFixture : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    reset_setup_globals();
    STATUSROW = 25;  // the message line is row 24
    auto c = std::make_unique<CountingConsole>();
    con = c.get();
    platform::set_console(std::move(c));
  }
  void TearDown() override {
    FrameFixture::TearDown();
    reset_setup_globals();
  }
  // Copies files of the engine folder (data/) into the current folder.
  void copy_data(std::initializer_list<const char*> names) const {
    for (const char* n : names)
      std::filesystem::copy(testing_support::data_dir() / n, dir.path() / n,
                            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
  }
  CountingConsole* con = nullptr;
};
