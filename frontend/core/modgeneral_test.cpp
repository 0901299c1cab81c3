// Tests of the front end's shared procedures.
#include "modgeneral.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "globals.h"
#include "testing/fakes.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using testing_support::ScopedCwd;
using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace quorvel {
namespace {

TEST(ModGeneral, FileAndFolderTests) {
  TempDir t;
  t.write("empty.pdf", "");
  t.write("one.pdf", "x");
  t.write("prompts.eng", "BEGIN");
  fs::create_directory(t.path() / "sub");
  ScopedEnv drive_c("VLX_DRIVE_C", t.str());
  struct Case {
    std::string path;
    bool exists, exist_dir;
  } cases[] = {
      {t.str() + "/empty.pdf", false, false},  // a zero-byte PDF counts as not created
      {t.str() + "/one.pdf", true, false},
      {t.str() + "/PROMPTS.ENG", true, false},  // existing names match without regard to case
      {"C:\\prompts.eng", true, false},         // drive letters as the engine maps them
      {t.str() + "/sub", false, true},
      {t.str() + "/sub/", false, true},
      {t.str() + "/missing", false, false},
      {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Exists(c.path), c.exists) << c.path;
    EXPECT_EQ(ExistDir(c.path), c.exist_dir) << c.path;
  }
  fs::path before = fs::current_path();
  ExistDir(t.str() + "/sub");
  EXPECT_EQ(fs::current_path(), before);
}

TEST(ModGeneral, ShortPathIsTheAbsoluteUnresolvedPath) {
  TempDir t;
  t.write("Job.txt", "x");
  fs::create_directory_symlink(t.path(), t.path() / "link");
  ScopedCwd cwd(t.path());
  EXPECT_EQ(ShortPath("Job.txt"), t.str() + "/Job.txt");
  EXPECT_EQ(ShortPath("JOB.TXT"), t.str() + "/Job.txt");
  EXPECT_EQ(ShortPath(t.str() + "/link/Job.txt"), t.str() + "/link/Job.txt");
  EXPECT_EQ(ShortPath(t.str() + "/link/"), t.str() + "/link/");
  EXPECT_EQ(ShortPath("missing.txt"), "");
  EXPECT_EQ(ShortPath(""), "");
}

TEST(ModGeneral, PathSplitting) {
  struct Case {
    std::string path, folder, title;
  } cases[] = {
      {"Job.txt", "", "Job.txt"},
      {"C:\\Job.txt", "C:\\", "Job.txt"},
      {"C:\\A\\Job.txt", "C:\\A\\", "Job.txt"},
      {"C:\\A\\", "C:\\", "A"},
      {"/home/u/vlx7000/profile", "/home/u/vlx7000/", "profile"},
      {"/home/u/out/", "/home/u/", "out"},
      {"/Job.txt", "/", "Job.txt"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(FileTitleOf(c.path), c.title) << c.path;
  }
}

TEST(ModGeneral, Tokens) {
  std::string source = " a , b";
  EXPECT_EQ(NextTokenTrim(source, ","), "a");
  EXPECT_EQ(source, " b");
  EXPECT_EQ(NextTokenTrim(source, ","), "b");
  EXPECT_EQ(source, "");
  source = " a ;b";
  EXPECT_EQ(NextToken(source, ";"), " a ");
  EXPECT_EQ(source, "b");
}

TEST(ModGeneral, PluralAndStripAndShorten) {
  EXPECT_EQ(Plural(1, "file"), "One file");
  EXPECT_EQ(Plural(-1, " file "), "One file");
  EXPECT_EQ(Plural(0, "file"), "0 files");
  EXPECT_EQ(Plural(2, "box", std::string("boxes")), "2 boxes");

  EXPECT_EQ(StripEngineFolder("/home/u/VLX7000/MY.SET", "/home/u/vlx7000"), "MY.SET");
  EXPECT_EQ(StripEngineFolder("/elsewhere/MY.SET", "/home/u/vlx7000/"), "/elsewhere/MY.SET");

  std::string eighty = "/" + std::string(70, 'a') + "/job.txt0";
  ASSERT_EQ(eighty.size(), 80u);
  std::string copy = eighty;
  EXPECT_EQ(ShortenForDisplay(copy), eighty);
  std::string longer = "/" + std::string(71, 'a') + "/job.txt0";
  std::string shown = ShortenForDisplay(longer);
  EXPECT_EQ(shown.size(), 80u);
  EXPECT_EQ(shown, "/" + std::string(67, 'a') + ".../job.txt0");
  EXPECT_EQ(longer, shown);  // the caller's text changes too
  std::string long_name = "/d/" + std::string(100, 'n');
  EXPECT_EQ(ShortenForDisplay(long_name), "/d/nnnn..." + std::string(70, 'n'));
}

TEST(ModGeneral, ExpandEscapes) {
  struct Case {
    std::string in;
    std::optional<std::string> out;
  } cases[] = {
      {"\\065", "A"},
      {"\\n", "\\n"},
      {"\\12a", "\\12a"},
      {"x^py", "x\r\ny"},
      {"x^Py", "x^Py"},
      {"a^tb", "a\tb"},
      {"\\065\\066", "AB"},
      {"\\\\065", "\\A"},
      {"\\-12", std::nullopt},  // no such character
      {"\\300", std::nullopt},
      {"end\\", "end\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandEscapes(c.in), c.out) << c.in;
}

TEST(ModGeneral, OutputFileName) {
  TempDir t;
  struct Case {
    std::string input, folder, version, out;
  } cases[] = {
      {"/jobs/Job12.txt", "", "7022", "/jobs/Job12.PDF"},
      {"/jobs/Job12", "", "7022", "/jobs/Job12.PDF"},
      {"/jobs.v2/Job12", "", "7022", "/jobs.v2/Job12.PDF"},
      {"/jobs/Job12.txt", "/out/pdfs/", "7022", "/out/pdfs/Job12.PDF"},
      {"/jobs/Job12.txt", t.str() + "/", "7000", t.str() + "/Job12.PDF"},
      {"/jobs/Job12.txt", "/missing/", "7000", "Job12.PDF"},
  };
  for (const Case& c : cases) EXPECT_EQ(OutputFileName(c.input, c.folder, c.version), c.out) << c.input;
}

TEST(ModGeneral, RecentFileLists) {
  struct Case {
    std::vector<std::string> before;
    std::string file;
    std::vector<std::string> after;
  } cases[] = {
      {{"a", "b", "c", "d"}, "c", {"c", "a", "b", "d"}},
      {{"a", "b", "c"}, "A", {"a", "b", "c"}},  // found at the top: unchanged
      {{"a", "b"}, "new", {"new", "a", "b"}},
      {{}, "new", {"new"}},
  };
  for (const Case& c : cases) {
    ListState l{c.before, "", -1};
    AddFileToList(c.file, l);
    EXPECT_EQ(l.items, c.after) << c.file;
    EXPECT_EQ(l.text, c.file);
  }
  EXPECT_EQ(CurrentStep, "Inserting new in File List");

  ListState l{{"Alpha", "Beta", "Gamma"}, "", -1};
  EXPECT_EQ(SelectListItem("beta", l), 1);
  EXPECT_EQ(l.index, 1);
  EXPECT_EQ(SelectListItem("Gam", l, true), 2);
  EXPECT_EQ(SelectListItem("zeta", l), -1);  // no match with a selection below the top
  EXPECT_EQ(l.index, 2);
  l.index = 0;
  EXPECT_EQ(SelectListItem("zeta", l), 0);
}

TEST(ModGeneral, DeleteTempFilesOnlyInAnEngineFolder) {
  const std::vector<std::string> work = {"@runfile.dat", "TRXFILES", "BH1.TRX", "bh2.trx", "X.TMP", "Dwork.1",
                                         "Awork.2",      "PAGER.3",  "FILESB",  "WORK-LAY.1"};
  const std::vector<std::string> kept = {"STANDARD.SET", "Examples.TXT", "prompts.eng", "PAGER"};
  auto fill = [&](const TempDir& d) {
    for (const auto& n : work) d.write(n, "w");
    for (const auto& n : kept) d.write(n, "k");
  };
  auto count = [](const TempDir& d) {
    return std::distance(fs::directory_iterator(d.path()), fs::directory_iterator());
  };
  TempDir no_engine;
  fill(no_engine);
  {
    ScopedCwd cwd(no_engine.path());
    EXPECT_EQ(DeleteTempFiles(""), 0);
    EXPECT_EQ(DeleteTempFiles("\\"), 0);  // the box of a first start without an engine
    EXPECT_EQ(DeleteTempFiles("/"), 0);
    EXPECT_EQ(DeleteTempFiles(no_engine.str()), 0);
  }
  EXPECT_EQ(count(no_engine), static_cast<long>(work.size() + kept.size()));

  TempDir engine;
  fill(engine);
  engine.write("profile", "engine");
  EXPECT_EQ(DeleteTempFiles(engine.str()), static_cast<int>(work.size()));
  for (const auto& n : kept) EXPECT_TRUE(fs::exists(engine.path() / n)) << n;
  EXPECT_TRUE(fs::exists(engine.path() / "profile"));
}

}  // namespace
}  // namespace quorvel
