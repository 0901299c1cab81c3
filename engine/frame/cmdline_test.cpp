// The command tail and the run file of the front end.
#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "platform/console.h"
#include "engine/frame/frame_fixture.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

// The run settings that the items reach.
struct Settings {
  std::string setup = "STANDARD.SET", source, holes, result, summary;
  std::int32_t outdev = 7, sheetmode = 0, scale = 0, flags = 0;
  std::int16_t debug = 0;
  auto tie() const { return std::tie(setup, source, holes, result, summary, outdev, sheetmode, scale, flags, debug); }
  bool operator==(const Settings& o) const { return tie() == o.tie(); }
  static Settings current() {
    Settings s;
    s.setup = SETUPNAME, s.source = SOURCENAME, s.holes = RUNLINE, s.result = RESULTNAME, s.summary = SUMMARYKEY;
    s.outdev = OUTDEV, s.sheetmode = SHEETMODE, s.scale = FORCEDSCALE, s.flags = RUNFLAGS, s.debug = DEBUGRUN;
    return s;
  }
};
std::ostream& operator<<(std::ostream& o, const Settings& s) {
  return o << "{setup=" << s.setup << " source=" << s.source << " holes=" << s.holes << " result=" << s.result
           << " summary=" << s.summary << " outdev=" << s.outdev << " sheetmode=" << s.sheetmode
           << " scale=" << s.scale << " flags=0x" << std::hex << s.flags << std::dec << " debug=" << s.debug << "}";
}

const char* const kActivities = "Activity: Profiles Symbols Both";
const char* const kDevices = "Output Device: PDF HP-GL/2 DXF";

class RunFileTest : public FrameFixture {
 protected:
  void SetUp() override {
    FrameFixture::SetUp();
    auto c = std::make_unique<CountingConsole>();
    con = c.get();
    platform::set_console(std::move(c));
  }
  // The state start-up leaves ("lastrun" gave device 7) and the prompt texts of the word lists.
  void start(const char* activities = kActivities, const char* devices = kDevices) {
    reset_frame_globals();
    PRODIM();
    SETUPNAME = "STANDARD.SET";
    OUTDEV = 7;
    PROMPT(28) = activities;
    PROMPT(33) = devices;
  }
  CountingConsole* con = nullptr;
};

Settings with(std::function<void(Settings&)> f) {
  Settings s;
  f(s);
  return s;
}

TEST_F(RunFileTest, FrontEndRunFile) {
  const std::string front_end =
      "0/   setupfile = Clay\r\n"
      "1/   inputfile = C:\\DATA\\MY HOLES.TXT\r\n"
      "2/      output = PDF\r\n"
      "3/    holelist = ALL\r\n"
      "4/    activity = 2\r\n"
      "5/ output-addr = \r\n"
      "6/       scale = 50.4\r\n"
      "7/     summary = \r\n"
      "8/  targetcopy = C:\\OUT\\My Result.pdf\r\n"
      "9/       debug = YES\r\n";
  struct Case {
    const char* name;
    std::string file;
    Settings want;
  } cases[] = {
      {"front end", front_end, with([](Settings& s) {
         s.setup = "Clay.SET", s.source = "C:\\DATA\\MY HOLES.TXT", s.outdev = 1, s.holes = "ALL", s.sheetmode = 2,
         s.scale = 50, s.result = "C:\\OUT\\My Result.pdf", s.debug = -1, s.flags = 0x1AF;
       })},
      {"SET name with extension and blank", "0/ setupfile = my clay.set\r\n",
       with([](Settings& s) { s.setup = "my clay.set"; })},
      {"SET name with blank", "0/ setupfile = My Clay\r\n", with([](Settings& s) { s.setup = "My Clay.SET"; })},
      {"summary no", "7/ summary = NO\r\n", with([](Settings& s) { s.flags = 0x40; })},
      {"summary and debug in lower case", "7/ summary = yes\r\n9/ debug = yes\r\n",
       with([](Settings& s) { s.summary = "|SUMMARY|", s.debug = -1, s.flags = 0x140; })},
      {"debug no", "9/ debug = NO\r\n", with([](Settings& s) { s.flags = 0x100; })},
      // Byte 200 is an ordinary character of a value, as is every other byte but the line ends.
      {"value holding byte 200", "1/ inputfile = A\xC8 B\xC8.txt\r\n",
       with([](Settings& s) { s.source = "A\xC8 B\xC8.txt", s.flags = 1; })},
      {"blanks inside kept, outside dropped", "1/ inputfile =   a  b   \r\n",
       with([](Settings& s) { s.source = "a  b", s.flags = 1; })},
      {"indented line loses its number", " 1/ inputfile = a.txt\r\n",
       with([](Settings& s) { s.setup = "1a.txt.SET"; })},
      {"later item wins", "1/ inputfile = a.txt\n1/ inputfile = b.txt\n",
       with([](Settings& s) { s.source = "b.txt", s.flags = 1; })},
      {"line without = ignored", "1/ inputfile a.txt\r\n\r\n", Settings{}},
      {"value with = and /", "8/ targetcopy = x=y/z.pdf\r\n",
       with([](Settings& s) { s.result = "x=y/z.pdf", s.flags = 0x80; })},
      {"empty file", "", Settings{}},
  };
  for (const auto& c : cases) {
    start();
    dir.write("@runfile.dat", c.file);
    std::string cmd = "@runfile.dat";
    READRUNS(cmd);
    EXPECT_EQ(Settings::current(), c.want) << c.name;
  }
  EXPECT_TRUE(box.texts.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "ERROR.LOG"));
  EXPECT_EQ(con->keys, 0);
}

TEST_F(RunFileTest, DeviceAndActivityWords) {
  struct Case {
    const char* name;
    const char* item;
    const char* activities;  // nullptr: the usual words
    const char* devices;
    std::int32_t outdev, sheetmode;
    std::int32_t refused;  // the item reported as naming nothing, 0 none
  } cases[] = {
      {"device word", "2/dxf", nullptr, nullptr, 3, 0, 0},
      {"device part of a word", "2/hp", nullptr, nullptr, 2, 0, 0},
      {"unknown device: reported, device kept", "2/plotter", nullptr, nullptr, 7, 0, 2},
      {"caption word leaves the device", "2/output", nullptr, nullptr, 7, 0, 0},
      {"two blanks give an empty piece", "2/pdf", nullptr, "Out  dev PDF", 2, 0, 0},
      {"no device words: device kept", "2/pdf", nullptr, "", 7, 0, 0},
      {"activity digit", "4/2", nullptr, nullptr, 7, 2, 0},
      {"activity 12 is a number", "4/12", nullptr, nullptr, 7, 12, 0},
      {"activity 01", "4/01", nullptr, nullptr, 7, 1, 0},
      {"activity word", "4/symbols", nullptr, nullptr, 7, 1, 0},
      {"activity last word", "4/Both", nullptr, nullptr, 7, 2, 0},
      {"unknown activity: reported, activity kept", "4/logs", nullptr, nullptr, 7, 0, 4},
      {"activity caption", "4/activity", nullptr, nullptr, 7, 0, 0},
      {"activity 4 is no digit and no word", "4/4", nullptr, nullptr, 7, 0, 4},
      {"activity 3: the reduced sheet", "4/3", nullptr, nullptr, 7, 3, 0},
      {"no activity words: activity 0", "4/symbols", "", nullptr, 7, 0, 0},
      {"the first refused item is kept", "2/zz 4/zz", nullptr, nullptr, 7, 0, 2},
  };
  for (const auto& c : cases) {
    start(c.activities ? c.activities : kActivities, c.devices ? c.devices : kDevices);
    clear_log();
    con->keys = con->beeps = 0;
    std::string cmd = c.item;
    READRUNS(cmd);
    EXPECT_EQ(OUTDEV, c.outdev) << c.name;
    EXPECT_EQ(SHEETMODE, c.sheetmode) << c.name;
    EXPECT_EQ(run_item_refused, c.refused) << c.name;
    if (c.refused) {
      EXPECT_NE(log().find(c.refused == 2 ? "  Run file: output \"" : "  Run file: activity \""), std::string::npos)
          << c.name << ": " << log();
      EXPECT_GE(con->beeps, 1) << c.name;
      EXPECT_GE(con->keys, 1) << c.name;
    } else {
      EXPECT_EQ(log(), "") << c.name;
    }
  }
  EXPECT_TRUE(box.texts.empty());
  // The report names the word and the list it was looked for in.
  start();
  std::string cmd = "2/plotter";
  READRUNS(cmd);
  const std::string said = "Run file: output \"plotter\" is no word of \"" + std::string(kDevices) + "\"";
  EXPECT_EQ(con->row_text(1).substr(0, said.size() + 1), said + " ");
}

TEST_F(RunFileTest, CommandTailWithoutRunFile) {
  struct Case {
    const char* tail;
    Settings want;
  } cases[] = {
      {"CLAY 1/A.TXT", with([](Settings& s) { s.setup = "CLAY.SET", s.source = "A.TXT", s.flags = 1; })},
      {"3/ALL 2/", with([](Settings& s) { s.holes = "ALL", s.flags = 4; })},
      {"0/a.set -2/b", with([](Settings& s) { s.setup = "b.SET"; })},
      {"5/x 10/x 31/x", with([](Settings& s) { s.flags = 0x40000210; })},
      // Item numbers beyond the 32 flag bits are ignored.
      {"32/x 33/x 99/x 1000/x", Settings{}},
      {"6/abc", with([](Settings& s) { s.flags = 0x20; })},
  };
  for (const auto& c : cases) {
    start();
    std::string cmd = c.tail;
    READRUNS(cmd);
    EXPECT_EQ(Settings::current(), c.want) << c.tail;
  }
  EXPECT_TRUE(box.texts.empty());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "ERROR.LOG"));
}

TEST_F(RunFileTest, MissingRunFile) {
  start();
  SOURCENAME = "kept";
  std::string cmd = "@nothere.dat";
  READRUNS(cmd);
  EXPECT_EQ(cmd, "");
  EXPECT_EQ(RUNFLAGS, 0);
  EXPECT_EQ(SOURCENAME, "kept");
  EXPECT_EQ(con->beeps, 1);
  EXPECT_EQ(con->keys, 2);
  EXPECT_EQ(con->row_text(2).substr(0, 30), "File not found : @nothere.dat ");
}

TEST_F(RunFileTest, Breakout) {
  struct Case {
    const char* token;
    std::int32_t number;
    const char* value;
  } cases[] = {{"1/a/b", 1, "a/b"}, {"CLAY", -1, "CLAY"}, {"/x", 0, "x"}, {"2.5/x", 2, "x"}, {"7/", 7, ""}};
  for (const auto& c : cases) {
    std::int32_t n = 99;
    std::string value = "old";
    BREAKOUT(c.token, n, value);
    EXPECT_EQ(n, c.number) << c.token;
    EXPECT_EQ(value, c.value) << c.token;
  }
}

}  // namespace
