// The SET file reader: the standard file into the globals (also from a folder with a blank in its
// name), the forms of single items, a missing file, and files that end early.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/setup/setup_fixture.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using testing_support::data_dir;
using testing_support::read_file;

namespace {

// The engine's name of a native folder: "\" separators and a trailing "\".
std::string engine_folder(const fs::path& p) {
  std::string s = p.string();
  std::replace(s.begin(), s.end(), '/', '\\');
  return s + "\\";
}

std::vector<std::string> standard_lines() {
  std::vector<std::string> lines;
  const std::string bytes = read_file(data_dir() / "STANDARD.SET");
  for (size_t from = 0; from < bytes.size();) {
    const size_t end = bytes.find("\r\n", from);
    lines.push_back(bytes.substr(from, end - from));
    from = end + 2;
  }
  return lines;
}

std::string joined(const std::vector<std::string>& lines, size_t count = std::string::npos) {
  std::string out;
  for (size_t i = 0; i < lines.size() && i < count; ++i) out += lines[i] + "\r\n";
  return out;
}

// The standard file with line i (from 0) replaced.
std::string standard_with(size_t i, const std::string& line) {
  auto lines = standard_lines();
  lines[i] = line;
  return joined(lines);
}

class SetFileTest : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    copy_data({"STANDARD.SET", "prompts.eng", "PROVOCAB.ENG", "PROLIB.DAT", "pdffonts.dat", "LJ4"});
    OUTDEV = 1;
    COLOURCOUNT = 5;
  }
  void read(const std::string& name) {
    SETUPNAME = name;
    GETSETUP();
  }
};

TEST_F(SetFileTest, StandardFileFillsTheGlobalsFromAnyFolder) {
  const fs::path elsewhere = dir.path() / "my setups";
  fs::create_directory(elsewhere);
  fs::copy_file(data_dir() / "STANDARD.SET", elsewhere / "Job 1.set");
  struct Case {
    std::string given, setupname;
  } cases[] = {
      {"STANDARD.SET", "STANDARD.SET"},
      {(elsewhere / "Job 1.set").string(), (elsewhere / "Job 1.SET").string()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    reset_setup_globals();
    PROMPTNAME.clear();
    LOGOMATRIX = "kept";
    PAGELENGTH = 1;
    read(c.given);
    EXPECT_EQ(SETUPNAME, c.setupname);
    EXPECT_EQ(PROMPTNAME, engine_folder(dir.path()) + "PROMPTS.eng");
    EXPECT_EQ(VOCABSETNAME, engine_folder(dir.path()) + "PROVOCAB.ENG");
    EXPECT_EQ(VOCABNAME, VOCABSETNAME);
    EXPECT_EQ(DATADIR, "C:\\VLXFILES");
    EXPECT_EQ(SCALEOPT, 1);
    EXPECT_EQ(PAPER, "A4");
    EXPECT_EQ(A3SHIFT, 0);
    EXPECT_EQ(PAGEOFFSET, 0);
    EXPECT_EQ(PAGELENGTH, 3200);
    EXPECT_EQ(ATTRLMARGIN + ATTRRMARGIN + PROFLMARGIN + PROFRMARGIN, 0);
    EXPECT_EQ(HEADDOTS, 300);
    EXPECT_EQ(FOOTDOTS, 300);
    EXPECT_EQ(SUPPRESS, 110);
    EXPECT_EQ(TITLEOFFSET, 575);
    EXPECT_EQ(FOOTOFFSET1, 0);
    EXPECT_EQ(FOOTOFFSET2, 790);
    EXPECT_EQ(INDENT, 4);
    EXPECT_EQ(LOGOMACRO, "LOGO0");
    EXPECT_EQ(LOGOX, 0);
    EXPECT_EQ(LOGOY, 0);
    EXPECT_EQ(COMPRESSLOG, 0);
    EXPECT_EQ(COMPRESSSET, 0);
    EXPECT_DOUBLE_EQ(LINEPITCH, 50);
    EXPECT_EQ(FONTDIR, "LJ4");
    EXPECT_EQ(FONTSPEC(1), "\x1b(10U\x1b(s1p10v0s0b4148T");
    EXPECT_EQ(FONTSPEC(2), "\x1b(10U\x1b(s1p10v0s3b4148T");
    EXPECT_EQ(FONTSPEC(3), "\x1b)10U\x1b)s1p8v1s0b4148T");
    EXPECT_EQ(CHARWIDTH(1, 255), 2) << "width table built for PDF";
    EXPECT_GT(CHARWIDTH(3, 32), 0);
    EXPECT_EQ(PDFFONTCOUNT, 3);
    EXPECT_EQ(PRINTERCODES, "");
    EXPECT_EQ(LOGOMATRIX, "kept") << "the standard file has no matrix line";
    EXPECT_EQ(LOGFIRST, 0);
    // Prompts, menus, colour names and the vocabulary came with it.
    EXPECT_EQ(PROMPT(59), "Sample");
    EXPECT_GT(MENUCOUNT(1), 0);
    EXPECT_EQ(REVERSEWORD, "REVERSE");
    EXPECT_EQ(COLOURNAME(1), PROMPT(70));
    EXPECT_EQ(VOCAB(26), "Page");
    EXPECT_EQ(LIBNAME, "PROLIB.DAT");
    EXPECT_EQ(log(), "");
    EXPECT_TRUE(box.texts.empty());
  }
}

TEST_F(SetFileTest, ReadingTheSameFileAgainReloadsOnlyTheFontTables) {
  read("STANDARD.SET");
  PROMPT(59) = "not reloaded";
  VOCAB(26) = "not reloaded";
  CHARWIDTH(1, 65) = 0;
  read("STANDARD.SET");
  EXPECT_EQ(PROMPT(59), "not reloaded");
  EXPECT_EQ(VOCAB(26), "not reloaded");
  EXPECT_GT(CHARWIDTH(1, 65), 0);
}

TEST_F(SetFileTest, ItemForms) {
  fs::create_directory(dir.path() / "My Fonts");
  fs::copy(dir.path() / "LJ4", dir.path() / "My Fonts");
  // Line numbers from 0: item n of the first block is line 7 + n.
  struct Case {
    const char* what;
    size_t line;
    std::string text;
    std::function<void()> check;
  } cases[] = {
      {"page a4 in small letters", 13, "a4    = page size", [] {
         EXPECT_EQ(PAGELENGTH, 3200);
         EXPECT_EQ(A3SHIFT, 7);
       }},
      {"page A3", 13, "A3", [] {
         EXPECT_EQ(A3SHIFT, 2333);
         EXPECT_EQ(PAGEOFFSET, 0);
         EXPECT_EQ(PAGELENGTH, 3200);
       }},
      {"page length 4200", 13, "4200 = page", [] { EXPECT_EQ(PAGELENGTH, 4200); }},
      {"page length 850", 13, "850 = page", [] { EXPECT_EQ(PAGELENGTH, 3200); }},
      {"print folder with blanks and a backslash", 11, "  C:\\MY DATA\\   = Default path",
       [] { EXPECT_EQ(DATADIR, "C:\\MY DATA"); }},
      {"font folder with a blank", 31, "My Fonts    = Path to Font files", [] {
         EXPECT_EQ(FONTDIR, "My Fonts");
         EXPECT_GT(CHARWIDTH(1, 65), 0);
       }},
      {"no lines per inch", 29, "   = Lines per inch", [] { EXPECT_DOUBLE_EQ(LINEPITCH, 50); }},
      {"8 lines per inch", 29, "8", [] { EXPECT_DOUBLE_EQ(LINEPITCH, 37.5); }},
      {"logo pair", 26, "-200  -35     = Default LOGO X", [] { EXPECT_EQ(LOGOX, -35); }},
      {"short logo line", 25, "LOGO", [] { EXPECT_EQ(LOGOMACRO, ""); }},
      {"margins and suppress code", 20, "101   = Suppress", [] { EXPECT_EQ(SUPPRESS, 101); }},
      {"compression", 28, "3", [] {
         EXPECT_EQ(COMPRESSLOG, 3);
         EXPECT_EQ(COMPRESSSET, 3);
       }},
      {"printer code", 38, "/027E  = reset", [] { EXPECT_EQ(PRINTERCODES, "\x1b" "E"); }},
      {"end in small letters does not end the codes", 38, "end", [] { EXPECT_EQ(PRINTERCODES, "end"); }},
      {"END written with blanks ends the codes", 38, "E N D = comment", [] { EXPECT_EQ(PRINTERCODES, ""); }},
      {"matrix line", 43, "  1 0 0 1 10 20 cm   = Logo transform matrix (1 0 0 1 0 0 = Unchanged)",
       [] { EXPECT_EQ(LOGOMATRIX, "1 0 0 1 10 20 cm"); }},
      {"page order 1", 98, "1   = Page Output Sequence", [] { EXPECT_EQ(LOGFIRST, -1); }},
      {"page order word", 98, "reverse", [] { EXPECT_EQ(LOGFIRST, -1); }},
      {"page order 0", 98, "0", [] { EXPECT_EQ(LOGFIRST, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    A3SHIFT = 7;
    LOGFIRST = 5;
    dir.write("CASE.SET", standard_with(c.line, c.text));
    read("CASE.SET");
    c.check();
    EXPECT_EQ(SETUPNAME, "CASE.SET");
    EXPECT_EQ(log(), "");
  }
}

TEST_F(SetFileTest, MissingFileFallsBackToTheStandardFile) {
  for (std::string name : {"NOSUCH.SET", "prompts.eng"}) {
    SCOPED_TRACE(name);
    con->beeps = 0;
    SUPPRESS = 0;
    read(name);
    const std::string shown = name == "NOSUCH.SET" ? "NOSUCH.SET" : "prompts.SET";
    EXPECT_NE(con->screen().find(shown + " setup file cannot be found; defaulting to STANDARD.SET"), std::string::npos)
        << con->screen();
    EXPECT_EQ(con->beeps, 1);
    EXPECT_EQ(con->keys, 0) << "nothing is asked";
    EXPECT_EQ(SETUPNAME, "STANDARD.SET");
    EXPECT_EQ(SUPPRESS, 110);
  }
}

TEST_F(SetFileTest, FileEndingEarlyIsReportedOnceAndKeepsWhatWasRead) {
  const auto lines = standard_lines();
  struct Case {
    const char* what;
    size_t lines;  // the file holds this many lines of the standard file
    std::int32_t suppress, compress;
    std::string codes_before;
  } cases[] = {
      {"no BEGIN", 7, 0, 9, "x"},
      {"after item 13", 21, 110, 9, "x"},
      {"in the printer codes", 41, 110, 0, ""},
      {"before the matrix line", 43, 110, 0, ""},
      {"without the second block", 97, 110, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    clear_log();
    SUPPRESS = 0;
    COMPRESSLOG = 9;
    PRINTERCODES = "x";
    LOGFIRST = 5;
    dir.write("CUT.SET", joined(lines, c.lines));
    read("CUT.SET");
    EXPECT_EQ(SUPPRESS, c.suppress);
    EXPECT_EQ(COMPRESSLOG, c.compress);
    EXPECT_EQ(PRINTERCODES, c.codes_before);
    EXPECT_EQ(LOGFIRST, 5);
    const std::string l = log();
    EXPECT_EQ(std::count(l.begin(), l.end(), '\n'), 1) << l;
    EXPECT_NE(l.find("getsetup.cpp"), std::string::npos) << l;
    EXPECT_NE(l.find("Error  62 "), std::string::npos) << l;
    EXPECT_FALSE(rt::is_open(1));
  }
  EXPECT_TRUE(box.texts.empty());
}

TEST(SplitLog, TwoColumnsOfSix) {
  struct Case {
    std::string line, first, second;
  } cases[] = {
      {"LOGOJ LOGO0                             = Default LOGO macro ID.", "LOGOJ", "LOGO0"},
      {"-200      0                             = Default LOGO X reference point.", "-200", "0"},
      {"100       0", "100", "0"},
      {"LOGO", "LOGO", ""},
      {" ab   cdefghijklm", "ab", "cdefgh"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    std::string first = "x", second = "y";
    SPLITLOG(c.line, first, second);
    EXPECT_EQ(first, c.first) << c.line;
    EXPECT_EQ(second, c.second) << c.line;
  }
}

}  // namespace
