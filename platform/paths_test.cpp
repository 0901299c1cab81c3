// Path mapping: separators, drive letters, letter case of existing names, the search path.
#include "platform/paths.h"

#include "platform/console.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

TEST(PathsTest, MapsWindowsNames) {
  TempDir home;
  ScopedEnv c("VLX_DRIVE_C", home.str());
  ScopedEnv d("VLX_DRIVE_D", "");
  ScopedCwd cwd(home.path());
  home.write("vlx7000/Examples/Examples.TXT", "x");
  home.write("vlx7000/STANDARD.SET", "x");
  fs::create_symlink("nowhere.pdf", home.path() / "vlx7000/link.pdf");
  struct stat folder {};
  ASSERT_EQ(::stat((home.path() / "vlx7000").c_str(), &folder), 0);

  struct Case {
    std::string name;
    bool create;
    int error;
    std::string want;  // relative to home; empty: do not compare
    int free = -1;     // 1: nothing at all stands under the name (known to the lookup), 0: something does
  } cases[] = {
      {"C:\\vlx7000\\standard.set", false, 0, "vlx7000/STANDARD.SET", 0},
      {"c:/VLX7000/examples\\EXAMPLES.txt", false, 0, "vlx7000/Examples/Examples.TXT"},
      {"vlx7000\\Examples\\Examples.TXT", false, 0, "vlx7000/Examples/Examples.TXT"},
      {"C:\\vlx7000\\missing.set", false, 53, "", 1},
      {"C:\\nofolder\\x.set", false, 76, "", 0},
      {"D:\\x.set", false, 71, ""},
      {"C:\\VLX7000\\New.pdf", true, 0, "vlx7000/New.pdf"},
      {"C:\\vlx7000\\New.pdf", true, 0, "vlx7000/New.pdf", 1},
      {"C:\\vlx7000\\Standard.Set", true, 0, "vlx7000/STANDARD.SET", 0},
      {"C:\\vlx7000\\LINK.pdf", true, 0, "vlx7000/link.pdf", 0},
      {"C:\\nofolder\\New.pdf", true, 76, "", 0},
  };
  for (const auto& k : cases) {
    platform::MappedPath m = k.create ? platform::map_for_create(k.name) : platform::map_existing(k.name);
    EXPECT_EQ(m.error, k.error) << k.name;
    if (k.free >= 0) {
      EXPECT_EQ(m.free, k.free == 1) << k.name;
    }
    if (m.free) {
      EXPECT_EQ(m.folder_device, static_cast<std::uint64_t>(folder.st_dev)) << k.name;
    }
    if (k.want.empty()) continue;
    fs::path want = k.name[1] == ':' ? home.path() / k.want : fs::path(k.want);  // relative stays relative
    EXPECT_EQ(fs::path(m.path), want) << k.name;
  }
  EXPECT_TRUE(platform::exists("VLX7000\\STANDARD.SET"));
  EXPECT_FALSE(platform::exists(""));
}

TEST(PathsTest, SearchPathFindsCurrentFolderThenPath) {
  TempDir a, b;
  b.write("tool.dat", "b");
  ScopedEnv path("PATH", b.str());
  {
    ScopedCwd cwd(a.path());
    EXPECT_EQ(fs::path(platform::search_path("TOOL.DAT")), b.path() / "tool.dat");
    a.write("Tool.Dat", "a");
    EXPECT_EQ(fs::path(platform::search_path("tool.dat")), a.path() / "Tool.Dat");
    EXPECT_EQ(platform::search_path("nothing.dat"), "");
  }
}

TEST(PathsTest, ListsTheEntriesThatMatchAMask) {
  TempDir d;
  ScopedCwd cwd(d.path());
  d.write("J12BH1.TRX", "x");
  d.write("j12bh2.trx", "x");
  d.write("notes.trx.bak", "x");
  d.write("work-lay.1", "x");
  d.write("work-lay", "x");
  d.write("sub/inner.trx", "x");
  fs::create_directory(d.path() / "folder.trx");
  auto names = [](std::string_view mask) {
    std::vector<std::string> v;
    for (const auto& e : platform::list_matching(mask)) v.push_back(e.name + (e.folder ? "/" : ""));
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ(names("*.trx"), (std::vector<std::string>{"J12BH1.TRX", "folder.trx/", "j12bh2.trx"}));
  EXPECT_EQ(names("work-lay.*"), (std::vector<std::string>{"work-lay.1"}));
  EXPECT_EQ(names("J12BH?.TRX"), (std::vector<std::string>{"J12BH1.TRX", "j12bh2.trx"}));
  EXPECT_EQ(names("SUB\\*.TRX"), (std::vector<std::string>{"inner.trx"}));
  EXPECT_TRUE(names("missing\\*.trx").empty());
  EXPECT_TRUE(names("*.pdf").empty());
  // "*.*" lists every entry, with or without a point; hidden names only when asked for.
  d.write(".hidden", "x");
  EXPECT_EQ(names("SUB\\*.*"), (std::vector<std::string>{"inner.trx"}));
  EXPECT_EQ(names("*.*").size(), 8u);
  EXPECT_EQ(platform::list_matching("*.*", 100, false).size(), 7u);
  EXPECT_EQ(platform::list_matching("*", 3).size(), 3u);
}

// A folder's listing is kept between lookups and follows every change to the folder at once, whoever
// makes it: a name created, renamed or deleted right after a lookup is found or missed without regard
// to letter case on the very next one.
TEST(PathsTest, KeptListingsFollowTheFolder) {
  TempDir d;
  ScopedCwd cwd(d.path());
  d.write("sub/Keep.txt", "x");
  struct Step {
    const char* change;  // "write NAME", "rename FROM TO", "replace NAME", "remove NAME", "folder FROM TO" or ""
    const char* lookup;
    int error;
    const char* found;
  } steps[] = {
      {"", "SUB\\NEW.TXT", 53, nullptr},
      {"write sub/New.Txt", "SUB\\NEW.TXT", 0, "sub/New.Txt"},
      {"rename sub/New.Txt sub/Other.txt", "sub\\new.txt", 53, nullptr},
      {"", "sub\\OTHER.TXT", 0, "sub/Other.txt"},
      {"remove sub/Other.txt", "sub\\OTHER.TXT", 53, nullptr},
      {"write sub/other.TXT", "sub\\OTHER.TXT", 0, "sub/other.TXT"},
      // Saved whole twice (a new file renamed onto the name: seen only as a name moved in), then deleted.
      {"replace sub/other.TXT", "sub\\OTHER.TXT", 0, "sub/other.TXT"},
      {"replace sub/other.TXT", "sub\\Other.txt", 0, "sub/other.TXT"},
      {"remove sub/other.TXT", "sub\\OTHER.TXT", 53, nullptr},
      {"write sub/other.TXT", "sub\\OTHER.TXT", 0, "sub/other.TXT"},
      // The folder itself replaced by another of the same name.
      {"folder sub gone", "SUB\\KEEP.TXT", 76, nullptr},
      {"write sub/KEEP.txt", "Sub\\keep.TXT", 0, "sub/KEEP.txt"},
  };
  for (const auto& s : steps) {
    std::istringstream words(s.change);
    std::string what, a, b;
    words >> what >> a >> b;
    if (what == "write") d.write(a, "x");
    if (what == "rename" || what == "folder") fs::rename(d.path() / a, d.path() / b);
    if (what == "replace") {
      d.write(a + ".new", "y");
      fs::rename(d.path() / (a + ".new"), d.path() / a);
    }
    if (what == "remove") fs::remove(d.path() / a);
    const platform::MappedPath m = platform::map_existing(s.lookup);
    EXPECT_EQ(m.error, s.error) << s.change << " / " << s.lookup;
    if (s.found) {
      EXPECT_EQ(fs::path(m.path), fs::path(s.found)) << s.change << " / " << s.lookup;
    }
  }
}

// A kept listing of a folder of thousands of names, changed many times over: every name is found under
// any letter case while it is there and not after it is gone, and of two names equal but for their
// case the one made first is found until it is removed.
TEST(PathsTest, KeptListingsOfManyNames) {
  TempDir d;
  ScopedCwd cwd(d.path());
  d.write("a/Keep.txt", "x");
  EXPECT_EQ(platform::map_existing("A\\KEEP.TXT").error, 0);  // the listing is kept from here on
  d.write("a/Dup.txt", "x");
  d.write("a/DUP.TXT", "x");
  const auto found = [](const std::string& name) {
    const platform::MappedPath m = platform::map_existing(name);
    return m.error == 0 ? fs::path(m.path).filename().string() : std::string("-");
  };
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 1500; ++i) d.write("a/Hole" + std::to_string(i) + ".trx", "x");
    EXPECT_EQ(found("a\\HOLE1499.TRX"), "Hole1499.trx") << round;
    EXPECT_EQ(found("a\\hole17.TRX"), "Hole17.trx") << round;
    EXPECT_EQ(found("a\\dup.txt"), "Dup.txt") << round;
    for (int i = 0; i < 1500; ++i) fs::remove(d.path() / ("a/Hole" + std::to_string(i) + ".trx"));
    EXPECT_EQ(found("a\\HOLE17.TRX"), "-") << round;
    EXPECT_EQ(found("a\\keep.TXT"), "Keep.txt") << round;
  }
  fs::remove(d.path() / "a/Dup.txt");
  EXPECT_EQ(found("a\\dup.txt"), "DUP.TXT");
}

// A folder search lists names by name without regard to letter case, whatever order the file system
// keeps, and the limit keeps the first ones by name: the picker and the SET editor's listings rely on it.
TEST(PathsTest, ListsByNameWithoutRegardToCase) {
  TempDir d;
  ScopedCwd cwd(d.path());
  for (const char* name : {"_work", "Zeta", "PROVOCAB.ENG", "prompts.eng", "procolor.cus", "LOGO0.PDF", "b", "B",
                           "A2", "a10"})
    d.write(name, "x");
  fs::create_directory(d.path() / "Examples");
  struct Case {
    const char* mask;
    size_t limit;
    std::vector<std::string> want;
  } cases[] = {
      {"*.*", 100,
       {"a10", "A2", "B", "b", "Examples/", "LOGO0.PDF", "procolor.cus", "prompts.eng", "PROVOCAB.ENG", "Zeta",
        "_work"}},
      {"*", 3, {"a10", "A2", "B"}},
      {"PRO*", 2, {"procolor.cus", "prompts.eng"}},
  };
  for (const auto& k : cases) {
    std::vector<std::string> got;
    for (const auto& e : platform::list_matching(k.mask, k.limit)) got.push_back(e.name + (e.folder ? "/" : ""));
    EXPECT_EQ(got, k.want) << k.mask;
  }
}

// A mask matches letters beyond ASCII without regard to case where names are UTF-8 ("ä*" finds
// "Ärger süd.txt"; "?" is one letter, whatever its bytes); in another locale such bytes match only
// themselves.
TEST(PathsTest, MasksIgnoreTheCaseOfLettersBeyondAscii) {
  TempDir d;
  ScopedCwd cwd(d.path());
  const std::string aerger = "\xC3\x84rger s\xC3\xBC" "d.txt", lodz = "\xC5\x81\xC3\xB3" "d\xC5\xBA.txt",
                    oel = "\xC3\x96L.TXT", greek = "\xCE\xA3\xCE\xB9.txt";
  for (const std::string& name : {aerger, lodz, oel, greek, std::string("plain.txt")}) d.write(name, "x");
  struct Case {
    bool utf8;
    std::string mask;
    std::vector<std::string> want;
  } cases[] = {
      {true, "\xC3\xA4*", {aerger}},                       // ä*
      {true, "\xC3\x84RGER S\xC3\x9C" "D.TXT", {aerger}},  // ÄRGER SÜD.TXT
      {true, "\xC5\x82*", {lodz}},                         // ł*
      {true, "*\xC5\xB9.TXT", {lodz}},                     // *Ź.TXT
      {true, "\xC3\xB6?.txt", {oel}},                      // ö?.txt
      {true, "\xCF\x83*", {greek}},                        // σ*
      {true, "?rger*", {aerger}},                          // "?" is the one letter Ä
      {false, "\xC3\xA4*", {}},
      {false, "\xC3\x84*", {aerger}},
      {false, "??rger*", {aerger}},
  };
  for (const auto& c : cases) {
    platform::set_names_in_utf8(c.utf8);
    std::vector<std::string> got;
    for (const auto& e : platform::list_matching(c.mask)) got.push_back(e.name);
    EXPECT_EQ(got, c.want) << c.mask << (c.utf8 ? " (UTF-8)" : " (another locale)");
  }
  platform::set_names_in_utf8(true);
}

// One key for every name of one file: another letter case, a folder reached through a link, a symbolic
// link at the name, a name not made yet; a name whose folder is not there has none.
TEST(PathsTest, FileKeyNamesOneFileOneWay) {
  TempDir home;
  ScopedEnv c("VLX_DRIVE_C", home.str());
  ScopedCwd cwd(home.path());
  home.write("engine/holes.txt", "x");
  fs::create_directory_symlink("engine", home.path() / "alias");
  fs::create_symlink("holes.txt", home.path() / "engine/link.pdf");
  char* real = ::realpath(home.path().c_str(), nullptr);
  ASSERT_NE(real, nullptr);
  const std::string root = real;
  std::free(real);
  struct Case {
    std::string name;
    std::string key;  // after the real path of the temporary folder; "-": none
  } cases[] = {
      {"C:\\engine\\holes.txt", "/engine/HOLES.TXT"},
      {"engine/HOLES.TXT", "/engine/HOLES.TXT"},
      {"C:\\alias\\holes.txt", "/engine/HOLES.TXT"},
      {"C:\\engine\\link.pdf", "/engine/HOLES.TXT"},
      {"C:\\engine\\new.pdf", "/engine/NEW.PDF"},
      {"C:\\nofolder\\new.pdf", "-"},
      {"", "-"},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(platform::file_key(k.name), k.key == "-" ? std::string() : root + k.key) << k.name;
  }
}
