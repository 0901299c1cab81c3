// Work channels: the bytes on disk, reading back, rewriting, and the 16-bit limits.
#include <gtest/gtest.h>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_frame_globals();
    reset_setup_globals();
    platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
    PRODIM();
  }
  void TearDown() override {
    rt::close_all();
    reset_setup_globals();
    reset_frame_globals();
    platform::set_console(nullptr);
  }
  std::string read(std::int32_t record, std::int32_t channel = 0) {
    std::string t = "stale";
    PIREAD(t, record, channel);
    return t;
  }
  int log_lines() {
    if (!std::filesystem::exists(dir.path() / "ERROR.LOG")) return 0;
    std::string log = dir.read("ERROR.LOG");
    return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
  }
  TempDir dir;
  ScopedCwd cwd{dir.path()};
  BoxRecorder box;
};

std::string le32(std::initializer_list<std::uint32_t> values) {
  std::string out;
  for (auto v : values)
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

TEST_F(ChannelTest, TwoTextsGiveTheDocumentedBytes) {
  PIOPEN("Dwork.1", 0);
  PIINIT(0);
  PIWRITE("AB", 1, 0);
  PIWRITE("DEF", 2, 0);
  EXPECT_EQ(PINEXT(0), le32({9}));
  EXPECT_EQ(read(1), "AB");
  EXPECT_EQ(read(2), "DEF");
  EXPECT_EQ(read(3), "");  // its index records lie beyond the end of the index file
  rt::close_file(PIFILE(0));
  rt::close_file(PIFILE(1));
  EXPECT_EQ(dir.read("Dwork.1R"), le32({0, 4, 9}));
  EXPECT_EQ(dir.read("Dwork.1B"), "AB\r\nDEF\r\n");
  EXPECT_EQ(log_lines(), 0);
}

TEST_F(ChannelTest, ReadingBack) {
  PIOPEN("Dwork.1", 0);
  PIOPEN("Dwork.2", 2);
  PIINIT(0);
  EXPECT_EQ(read(1), "") << "after PIINIT";
  PIWRITE("", 1, 0);
  EXPECT_EQ(PINEXT(0), le32({2})) << "an empty text stores just the line end";
  EXPECT_EQ(read(1), "");
  PIWRITE("line one\r\nline two", 2, 0);
  EXPECT_EQ(read(2), "line one\r\nline two") << "texts are read by their offsets, not by line ends";
  PIINIT(2);
  PIWRITE("other channel", 1, 2);
  EXPECT_EQ(PINEXT(2), le32({15}));
  EXPECT_EQ(read(1, 2), "other channel");
  EXPECT_EQ(read(2), "line one\r\nline two");
  EXPECT_EQ(PINEXT(0), le32({22})) << "each channel keeps its own record buffer";

  // A channel opened again still holds its texts until PIINIT.
  rt::close_all();
  PIOPEN("Dwork.1", 0);
  EXPECT_EQ(read(2), "line one\r\nline two");
  PIINIT(0);
  EXPECT_EQ(read(1), "");
  EXPECT_EQ(log_lines(), 0);
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(ChannelTest, WritingAnEarlierTextAgainKeepsTheLaterOnes) {
  PIOPEN("Awork.2", 6);
  PIINIT(6);
  const std::vector<std::string> texts{"first", "second", "third", "fourth"};
  for (size_t i = 0; i < texts.size(); ++i) PIWRITE(texts[i], static_cast<std::int32_t>(i + 1), 6);
  struct Case {
    std::int32_t record;
    std::string text;
  } cases[] = {
      {2, "second, now a good deal longer than before"},
      {1, "1"},
      {4, "the last text, longer"},
      {3, ""},
      {2, "second"},
  };
  std::vector<std::string> want = texts;
  for (const auto& c : cases) {
    PIWRITE(c.text, c.record, 6);
    want[static_cast<size_t>(c.record - 1)] = c.text;
    for (size_t i = 0; i < want.size(); ++i)
      EXPECT_EQ(read(static_cast<std::int32_t>(i + 1), 6), want[i]) << "after rewriting text " << c.record;
  }
  PIWRITE("fifth", 5, 6);
  EXPECT_EQ(read(5, 6), "fifth");
  EXPECT_EQ(read(4, 6), "the last text, longer");
  EXPECT_EQ(log_lines(), 0);
}

TEST_F(ChannelTest, LimitsAreRefusedWithOneReportEach) {
  PIOPEN("Dwork.1", 0);
  PIINIT(0);
  const std::string longest(32767, 'x');
  PIWRITE(longest, 1, 0);
  EXPECT_EQ(read(1), longest);
  EXPECT_EQ(log_lines(), 0);

  struct Case {
    const char* what;
    std::function<void()> act;
  } cases[] = {
      {"text of 32768 bytes", [] { PIWRITE(std::string(32768, 'y'), 2, 0); }},
      {"record 0", [] { PIWRITE("zero", 0, 0); }},
      {"record 40000", [] { PIWRITE("far", 40000, 0); }},
      {"read record -1", [] { std::string t; PIREAD(t, -1, 0); }},
      {"channel 9", [] { PIWRITE("x", 1, 9); }},
      {"channel never opened", [] { PIWRITE("x", 1, 4); }},
  };
  int expected = 0;
  for (const auto& c : cases) {
    c.act();
    EXPECT_EQ(log_lines(), ++expected) << c.what;
  }
  EXPECT_TRUE(box.texts.empty()) << "no call reported more than one error";

  // The refused text reads back empty and the list goes on after it.
  EXPECT_EQ(read(2), "");
  PIWRITE("third", 3, 0);
  EXPECT_EQ(read(3), "third");
  EXPECT_EQ(read(1), longest);

  // The highest record number works: its end lies in index record 32768.
  PIINIT(0);
  PIWRITE("top", 32767, 0);
  EXPECT_EQ(read(32767), "top");
  EXPECT_EQ(rt::LOF(PIFILE(0)), 32768 * 4);
  EXPECT_EQ(log_lines(), expected);
}

TEST_F(ChannelTest, AnIndexClaimingAnOverlongTextReadsEmpty) {
  dir.write("Dwork.1R", le32({0, 40002}));
  dir.write("Dwork.1B", std::string(40002, 'z'));
  PIOPEN("Dwork.1", 0);
  EXPECT_EQ(read(1), "");
  EXPECT_EQ(log_lines(), 1);
  EXPECT_TRUE(box.texts.empty());
}

}  // namespace
