// Tests of the engine's version text and the search for engine folders.
#include "version.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testing/fakes.h"
#include "testing/standin.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace quorvel {
namespace {

// size bytes of filler with each (offset, text) written in; offsets are 0-based.
std::string bytes_with(size_t size, std::vector<std::pair<size_t, std::string>> texts) {
  std::string b(size, '\xff');
  for (auto& [at, text] : texts) b.replace(at, text.size(), text);
  return b;
}

TEST(Version, TextComparison) {
  struct Case {
    std::string a, b;
    int sign;
  } cases[] = {
      {"7001", "7001.16", -1}, {"7001.16", "7002", -1}, {"7022", "7022", 0},   {"NOT found", "6008", 1},
      {"(not found)", "6008", -1}, {"<7000 not found>", "6008", -1}, {"6007", "6008", -1}, {"abc", "ABC", 0},
  };
  for (const Case& c : cases) {
    int r = CompareVersionText(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
  }
}

TEST(Version, GetEngineVersion) {
  struct Case {
    const char* what;
    std::string menu;     // PROMENU.TBC, none when empty
    std::string program;  // profile, none when empty
    std::string version;
  } cases[] = {
      {"menu file shorter than 46500", bytes_with(46000, {{100, "Version 7022"}}), "7022", "(not found)"},
      {"menu file: four characters", bytes_with(47000, {{46600, "Version 7001.16"}}), "", "7001"},
      {"menu file: word split across blocks", bytes_with(47000, {{46499 + 250, "Version 7010"}}), "", "7010"},
      {"menu file without the word", bytes_with(47000, {}), "", "(not found)"},
      {"program: after 710000", "", bytes_with(720000, {{50000, "7019"}, {711000, "7022"}}), "7022"},
      {"program: 0701x skipped", "", bytes_with(720000, {{711000, "0701x...7022"}}), "7022"},
      {"program: from 46500 when nothing later", "", bytes_with(60000, {{40000, "7010"}, {47000, "7022"}}), "7022"},
      {"program: digits before 46500 only", "", bytes_with(60000, {{40000, "7022"}}), "<7000 not found>"},
      {"program of one byte", "", "x", "<7000 not found>"},
      {"neither file", "", "", "NOT found"},
  };
  for (const Case& c : cases) {
    TempDir t;
    if (!c.menu.empty()) t.write("PROMENU.TBC", c.menu);
    if (!c.program.empty()) t.write("profile", c.program);
    std::string folder = t.str();
    EXPECT_EQ(GetEngineVersion(folder), c.version) << c.what;
    EXPECT_EQ(folder, t.str() + "/") << c.what;  // the caller's folder gets its final "/"
  }
}

TEST(Version, CheckInstalledListsTheNewestFirst) {
  for (bool older_first : {true, false}) {
    TempDir home;
    ScopedEnv drive_c("VLX_DRIVE_C", home.str());
    if (older_first) fakes::write_standin_engine(home.path() / "vlx6000", "6008");
    fakes::write_standin_engine(home.path() / "vlx7000", "7022");
    if (!older_first) fakes::write_standin_engine(home.path() / "vlx6000", "6008");
    fs::create_directory(home.path() / "vlx5000");  // no engine in it
    fakes::ScriptedMessageBox box;
    Ports ports;
    ports.msgbox = &box;
    EXPECT_TRUE(CheckInstalled("", ports));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "On " + home.str() + "/vlxX000 folders on this PC, you have:\n\n" + home.str() +
                                     "/vlx7000/\tVersion 7022\n" + home.str() +
                                     "/vlx6000/\tVersion 6008\n\nDo you want to search ALL top-level folders on "
                                     "drive letters you specify?");
    EXPECT_EQ(box.shown[0].title, "Search more Locations or Drives?");
  }
}

TEST(Version, CheckInstalledSearchesTheDrivesTyped) {
  TempDir home, d;
  ScopedEnv drive_c("VLX_DRIVE_C", home.str());
  ScopedEnv drive_d("VLX_DRIVE_D", d.str());
  ScopedEnv drive_q("VLX_DRIVE_Q", "");
  fakes::write_standin_engine(d.path() / "engines", "7022");
  fakes::ScriptedMessageBox box;
  box.answers = {Answer::Yes, Answer::No};
  fakes::ScriptedInputBox input;
  input.answers = {std::string("dQ")};
  WindowHost host;
  host.set_caption("Quorvel");
  Ports ports;
  ports.msgbox = &box;
  ports.inputbox = &input;
  ports.host = &host;
  EXPECT_TRUE(CheckInstalled("", ports));
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].text.rfind("No Veltrax exists on a " + home.str() + "/vlxX000 folder on this PC.", 0), 0u);
  EXPECT_EQ(box.shown[1].text.rfind("On top-level folders on the drives you specified, you have:\n\n" + d.str() +
                                        "/engines/\tVersion 7022\n\n",
                                    0),
            0u);
  EXPECT_EQ(host.caption(), "Quorvel");
}

}  // namespace
}  // namespace quorvel
