// The common ground of the setup subsystem's reader tests: the frame's fixture (fresh globals, a
// temporary current folder, recorded message boxes) with fresh setup globals and a console that counts
// beeps and key waits.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/frame/frame_fixture.h"
#include "engine/setup/globals.h"
#include "platform/console.h"
#include "testsupport.h"

using testing_support::CountingConsole;

// The lines of a text whose lines end with CR LF, and back.
inline std::vector<std::string> split_lines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (size_t from = 0; from < bytes.size();) {
    size_t end = bytes.find("\r\n", from);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(from, end - from));
    from = end + 2;
  }
  return lines;
}
inline std::string joined_lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

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
