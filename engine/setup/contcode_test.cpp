// The "/nnn" notation of printer control codes.
#include "engine/setup/contcode.h"

#include <gtest/gtest.h>

#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

TEST(Controlc, ConvertsSlashNotation) {
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  BoxRecorder box;
  struct Case {
    std::string source;
    std::string want;
  } cases[] = {
      {"/027E/038", "\x1b" "E&"},
      {"/013", "\r"},
      {"/27(", std::string("\x1b")},          // the bracket is swallowed as the third character
      {"ab/07", std::string("ab\x07")},       // only the characters that remain
      {"ab/", std::string("ab") + '\0'},      // none left: code 0
      {"/300x", std::string(",x")},           // low 8 bits: 300 - 256 = 44
      {"/abc/065", std::string("\0A", 2)},   // no number: code 0
      {"\x1b" "E&", "\x1b" "E&"},             // already converted: unchanged
      {"", ""},
  };
  for (const auto& c : cases) {
    std::string result = "old";
    CONTROLC(result, c.source);
    EXPECT_EQ(result, c.want) << c.source;
  }
  // The same variable as source and result converts as well.
  std::string s = "/027&l1O";
  CONTROLC(s, s);
  EXPECT_EQ(s, "\x1b&l1O");
  EXPECT_TRUE(box.texts.empty());
  platform::set_console(nullptr);
}

}  // namespace
