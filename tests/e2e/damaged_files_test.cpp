// Damaged files from outside the engine (the reproducers of the fuzz corpora): the engine starts, or
// runs, with each of them in its engine folder, says once what is wrong with the file, and ends with
// exit code 0 or 1, never with the 255 of an untrapped error or a crash.
#include <gtest/gtest.h>

#include <sstream>

#include "testsupport.h"

using namespace testing_support;

namespace {

std::string fixture(const std::string& name) { return read_file(source_dir() / "tests/fuzz/corpus" / name); }

// The run file of a one-shot PDF run of an input file.
std::string pdf_run_file(const std::string& input) {
  return "0/   setupfile = STANDARD.SET\r\n1/   inputfile = " + input +
         "\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n";
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

TEST(DamagedFiles, SaidOnceAndTheRunGoesOn) {
  struct Case {
    const char* fixture;  // under tests/fuzz/corpus/
    const char* target;   // its place in the engine folder
    const char* run;      // "": the start-up alone; "INPUT": a one-shot run of the fixture as the input file
    int exit_code;
    const char* logged;   // in the one ERROR.LOG line; nullptr: no ERROR.LOG
    const char* said;     // on the console; nullptr: nothing in particular
  } cases[] = {
      {"prompts/two-texts-above-250", "prompts.eng", "", 0,
       "getpromp.cpp @ prompts.eng line 4  Error  9 -Subscript/Pointer out of range", nullptr},
      {"prompts/text-above-250-without-end", "prompts.eng", "", 0,
       "getpromp.cpp @ prompts.eng line 3  Error  9 -Subscript/Pointer out of range", nullptr},
      {"prompts/menu-count-overflow", "prompts.eng", "", 0, "PROMPTS.eng line 4  Error  6 -Overflow", nullptr},
      {"prompts/menu-count-exponent", "prompts.eng", "", 0, "PROMPTS.eng line 4  Error  6 -Overflow", nullptr},
      {"setfile/overflow-and-short", "STANDARD.SET", "", 0,
       "getsetup.cpp @ 0005 STANDARD.SET line 9  Error  6 -Overflow", nullptr},
      {"setfile/two-overflows", "STANDARD.SET", "", 0, "getsetup.cpp @ 0005 STANDARD.SET line 10  Error  6 -Overflow",
       nullptr},
      {"vocabulary/word-51-without-library-line", "PROVOCAB.ENG", "", 0,
       "PROVOCAB.ENG line 4  Error  9 -Subscript/Pointer out of range", nullptr},
      {"widths/overflow-and-short", "LJ4/HELVMU.MET", "", 0, "widthtab.cpp @ LJ4\\HELVMU.MET line 1  Error  6 -Overflow",
       nullptr},
      {"colours/count-overflow", "procolor.cus", "", 0, "fetchcol.cpp @ procolor.cus line 1  Error  6 -Overflow",
       nullptr},
      {"colours/pair-overflow-and-short", "procolor.cus", "", 0,
       "fetchcol.cpp @ procolor.cus line 3  Error  6 -Overflow", nullptr},
      {"runfile/item-beyond-32-bits", "@runfile.dat", "", 0, "cmdline.cpp  @   Error  6 -Overflow", nullptr},
      {"input/utf16-le-with-mark", "holes.txt", "INPUT", 1, nullptr,
       "holes.txt is UTF-16 little-endian (\"Unicode\") text: save it as ANSI or UTF-8 text"},
      {"input/utf16-be-without-mark", "holes.txt", "INPUT", 1, nullptr,
       "holes.txt is UTF-16 big-endian (\"Unicode\") text"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    EngineFolder ef;
    ef.write(c.target, fixture(c.fixture));
    std::vector<std::string> args;
    if (std::string(c.target) == "@runfile.dat") args = {"@runfile.dat"};
    if (std::string(c.run) == "INPUT") {
      ef.write("@run.dat", pdf_run_file(c.target));
      args = {"@run.dat"};
    }
    const RunResult r = ef.run(args, 60);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_code, c.exit_code) << r.out << r.err;
    EXPECT_EQ(r.err.find("Untrapped"), std::string::npos) << r.err;
    if (c.said) {
      EXPECT_NE(r.out.find(c.said), std::string::npos) << r.out;
    }
    if (!c.logged) {
      EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
      continue;
    }
    // One line that names the file and the line (also when start-up reads the file twice); the error
    // on the console too.
    const std::vector<std::string> log = lines_of(ef.read("ERROR.LOG"));
    ASSERT_EQ(log.size(), 1u) << ef.read("ERROR.LOG");
    EXPECT_NE(log[0].find(c.logged), std::string::npos) << ef.read("ERROR.LOG");
    EXPECT_NE(r.out.find(" Error "), std::string::npos) << r.out;
  }
}

// A run-file item whose number is too large for a number names no item: its value is not taken for
// the SET file (item 0).
TEST(DamagedFiles, RunFileItemBeyondRangeIsNoSetFile) {
  EngineFolder ef;
  ef.write("@runfile.dat", fixture("runfile/two-items-beyond-32-bits"));
  const RunResult r = ef.run({"@runfile.dat"}, 20);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_EQ(r.out.find("setup file cannot be found"), std::string::npos) << r.out;
  EXPECT_EQ(lines_of(ef.read("ERROR.LOG")).size(), 2u) << ef.read("ERROR.LOG");
}

}  // namespace
