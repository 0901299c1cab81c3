// Damaged files from outside the engine (the reproducers of the fuzz corpora): the engine starts, or
// runs, with each of them in its engine folder, says once what is wrong with the file, and ends with
// exit code 1 (what the damage cost is left out or replaced by a default), never with the 255 of an
// untrapped error or a crash. A run-file item whose number is no item number is ignored as any such
// item is, and ends with 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
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
    const char* logged;   // in the first ERROR.LOG line; nullptr: no ERROR.LOG
    const char* said;     // on the console; nullptr: nothing in particular
    const char* then = nullptr;  // the second ERROR.LOG line, a loss the damage caused; nullptr: none
  } cases[] = {
      {"prompts/two-texts-above-250", "prompts.eng", "", 1,
       "getpromp.cpp @ prompts.eng line 4  Error  9 -Subscript/Pointer out of range", nullptr},
      {"prompts/text-above-250-without-end", "prompts.eng", "", 1,
       "getpromp.cpp @ prompts.eng line 3  Error  9 -Subscript/Pointer out of range", nullptr},
      {"prompts/menu-count-overflow", "prompts.eng", "", 1, "PROMPTS.eng line 4  Error  6 -Overflow", nullptr},
      {"prompts/menu-count-exponent", "prompts.eng", "", 1, "PROMPTS.eng line 4  Error  6 -Overflow", nullptr},
      {"setfile/overflow-and-short", "STANDARD.SET", "", 1,
       "getsetup.cpp @ 0005 STANDARD.SET line 9  Error  6 -Overflow", nullptr},
      // The SET file's lines after the damage are not read: its font lines too, so the fonts are measured
      // without their metric files.
      {"setfile/two-overflows", "STANDARD.SET", "", 1, "getsetup.cpp @ 0005 STANDARD.SET line 10  Error  6 -Overflow",
       nullptr, "widthtab.cpp @   File not found : /027(10U/027(s1p10v0s0b4148T\\.MET"},
      {"vocabulary/word-51-without-library-line", "PROVOCAB.ENG", "", 1,
       "PROVOCAB.ENG line 4  Error  9 -Subscript/Pointer out of range", nullptr},
      {"widths/overflow-and-short", "LJ4/HELVMU.MET", "", 1, "widthtab.cpp @ LJ4\\HELVMU.MET line 1  Error  6 -Overflow",
       nullptr},
      {"colours/count-overflow", "procolor.cus", "", 1, "fetchcol.cpp @ procolor.cus line 1  Error  6 -Overflow",
       nullptr},
      {"colours/pair-overflow-and-short", "procolor.cus", "", 1,
       "fetchcol.cpp @ procolor.cus line 3  Error  6 -Overflow", nullptr},
      // The item is left out: said, and the run ends with 1.
      {"runfile/item-beyond-32-bits", "@runfile.dat", "", 1, "cmdline.cpp  @   Error  6 -Overflow", nullptr},
      {"input/utf16-le-with-mark", "holes.txt", "INPUT", 1,
       "proconv.cpp  @ 0002  holes.txt is UTF-16 little-endian (\"Unicode\") text: save it as ANSI or UTF-8 text",
       "holes.txt is UTF-16 little-endian (\"Unicode\") text: save it as ANSI or UTF-8 text"},
      {"input/utf16-be-without-mark", "holes.txt", "INPUT", 1, "proconv.cpp  @ 0002  holes.txt is UTF-16 big-endian",
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
    ASSERT_EQ(log.size(), c.then ? 2u : 1u) << ef.read("ERROR.LOG");
    EXPECT_NE(log[0].find(c.logged), std::string::npos) << ef.read("ERROR.LOG");
    if (c.then) {
      EXPECT_NE(log[1].find(c.then), std::string::npos) << ef.read("ERROR.LOG");
    }
    if (std::string(c.logged).find(" Error ") != std::string::npos) {
      EXPECT_NE(r.out.find(" Error "), std::string::npos) << r.out;
    }
  }
}

// A borehole whose sheet draws symbols of the library (soils, a sample and a water strike), whose log has
// a drawing column with a tube include (casing.tub), a zone column and a curve column of data files
// (moist.txt).
const char* const kLogHole =
    "Job Number : J-46\r\nHole Number : BH46\r\nSuppress : 0\r\n/\r\n"
    "1.50  Firm brown sandy CLAY with some gravel.\r\n3.00  Dense SAND and GRAVEL.\r\n5.00  Stiff grey CLAY.\r\n/\r\n"
    "NOTES:\r\n1. Undisturbed sample U1 at 2.00 m\r\n2. Water strike at 2.60 m.\r\n"
    "ATTRIBUTE: Standpipe [DRAWING]\r\n 1.00: seal [D 20 28]\r\n 4.00: casing [D casing.tub]\r\n"
    "ATTRIBUTE: Moisture [GRAPH 40] [FILE]\r\n 5.00: moist.txt\r\n"
    "ATTRIBUTE: Curve [GRAPH 40] [FILE] [HPGL1200]\r\n 5.00: moist.txt\r\n//\r\n///\r\n";

// The symbol library's pictures, the tube includes and the data files of a log, each damaged as a copy
// may be (cut short, numbers too large for any place, fields missing, bytes of another file): a one-shot
// run never ends with 255 nor a hang; a damage that loses anything is said once, naming the file, and
// ends the run with 1; one that loses nothing it can tell ends it with 0.
TEST(DamagedFiles, LibraryPicturesTubeIncludesAndDataFiles) {
  const std::string library = read_file(data_dir() / "PROLIB.DAT");
  std::string binary;
  for (int i = 0; i < 600; ++i) binary += static_cast<char>((i * 73 + 11) % 256);
  std::string scrambled = library;
  for (size_t i = 2000; i < scrambled.size(); i += 7) scrambled[i] = static_cast<char>(i % 251);
  std::string list_length = library;
  list_length[260] = '\xff', list_length[261] = '\xff';  // the list's length, bytes 261 and 262 from 1
  struct Case {
    const char* what;
    const char* target;  // the damaged file in the engine folder
    std::string bytes;
    const char* said;  // said once on the console and in ERROR.LOG; nullptr: nothing is lost
    int exit_code;     // 1: a one-shot run that left part of a drawing out
  } cases[] = {
      {"library cut inside its pictures", "PROLIB.DAT", library.substr(0, library.size() - 5000), "PROLIB.DAT", 1},
      {"library cut inside its name list", "PROLIB.DAT", library.substr(0, 300), "PROLIB.DAT", 1},
      {"library with a name list 65535 bytes long", "PROLIB.DAT", list_length, "PROLIB.DAT", 1},
      {"library pictures of other bytes", "PROLIB.DAT", scrambled, nullptr, 0},
      {"tube include cut short", "casing.tub", "[D 30 50 S3] [D 60 9", "without its \"]\"", 1},
      {"tube include of huge numbers", "casing.tub", "[D 1e300 99999999999 -99999999999 S3] [X99999999999]", nullptr, 0},
      {"tube include of missing fields", "casing.tub", "[D ] [D] [X] [S] []", nullptr, 0},
      {"tube include of binary bytes", "casing.tub", binary, nullptr, 0},
      {"tube include that includes itself", "casing.tub", "[D 10 14] [D casing.tub]\r\n", "includes of a record stop", 1},
      {"data file with a depth beyond 32 bits", "moist.txt", "0.50: 21\r\n99999999999: 20\r\n1.50: 23\r\n",
       "moist.txt line 2", 1},
      {"data file with a huge value", "moist.txt", "0.50: 1e300\r\n1.00: -99999999999\r\n", nullptr, 0},
      {"data file cut short", "moist.txt", "0.50: 21\r\n1.00", nullptr, 0},
      {"data file of missing fields", "moist.txt", ":\r\n,\r\n : : \r\n\r\n", nullptr, 0},
      {"data file of binary bytes", "moist.txt", binary, nullptr, 0},
  };
  // Each case on one device, the devices in turn.
  const char* const devices[] = {"PDF", "PGL", "DXF", "PCL"};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const std::string device = devices[i % 4];
    {
      SCOPED_TRACE(std::string(c.what) + " on " + device);
      EngineFolder ef;
      ef.write("holes.txt", kLogHole);
      ef.write("casing.tub", "[D 36 90 0 S3]\r\n");
      ef.write("moist.txt", "0.50: 21.4\r\n1.00: 19.8\r\n2.50: 27.3\r\n4.00: 12.9\r\n");
      ef.write(c.target, c.bytes);
      std::string run = pdf_run_file("holes.txt");
      run.replace(run.find("PDF"), 3, device);
      ef.write("@run.dat", run);
      const RunResult r = ef.run({"@run.dat"}, 60);
      ASSERT_FALSE(r.timed_out);
      EXPECT_TRUE(r.exit_code == 0 || r.exit_code == 1) << r.exit_code << r.out << r.err;
      EXPECT_EQ(r.err.find("Untrapped"), std::string::npos) << r.err;
      EXPECT_EQ(sanitizer_report(r.err), "");
      const std::string log = ef.exists("ERROR.LOG") ? ef.read("ERROR.LOG") : std::string();
      EXPECT_EQ(r.exit_code, c.exit_code) << r.out << log;
      if (!c.said) continue;
      EXPECT_EQ(find_all_regex(log, c.said).size(), 1u) << log;
      EXPECT_EQ(find_all_regex(r.out, c.said).size(), 1u) << r.out;
    }
  }
}

// Whether the job folder holds a result of the hole (a file named after it, on any device).
bool has_result(const EngineFolder& ef, const std::string& job, const std::string& hole) {
  const std::filesystem::path folder = ef.file("drive_c/VLXFILES/" + job);
  if (!std::filesystem::is_directory(folder)) return false;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().stem() == hole) return true;
  return false;
}

// Two holes of one job: BH1 with the damage put in at its place (head: a header line, layer: a layer
// line, log: the lines of its log) and a file of samples, BH2 whole.
std::string two_holes(const std::string& head, const std::string& layer, const std::string& log) {
  return "Job Number : J56\r\nHole Number : BH1\r\n" + head + "/\r\n1.50  Firm brown CLAY.\r\n" + layer +
         "4.00  Stiff grey CLAY.\r\n/\r\nATTRIBUTE: SPT N [GRAPH 50]\r\n 1.00: 12\r\n" + log +
         "SAMPLES: FILE: samples.txt\r\n//\r\nHole Number : BH2\r\n/\r\n1.20  Made ground.\r\n6.00  Dense SAND.\r\n/\r\n//\r\n///\r\n";
}

// A depth or top depth beyond what a sheet can draw, and a scales record whose ticks would stand closer
// than a page can show (found by a campaign of damaged files: an overflow ended the run with 255, the
// sheet's depth scale never ended or wrote a PDF of 94 MB). Each is said once, naming the file and the
// line; a hole whose layer or top depth is beyond gets no result (the other hole does), a record or
// table row beyond is left out of its log, a sample of a file of samples beyond is left out, an unusable scales record is not used (the next fitting
// scale is). Exit code 1, never 255, a sanitizer report or a hang; on each device in turn.
TEST(DamagedFiles, DepthsAndTickIntervalsBeyondASheet) {
  const std::string shipped_scales = read_file(data_dir() / "scales.MET");
  const auto scales_with = [&](const std::string& record) {
    std::string s = shipped_scales;
    const std::string first = "10,\"metres\",1,0.05";
    s.replace(s.find(first), first.size(), record);
    return s;
  };
  const std::string nines(100, '9');
  const std::string table =
      "ATTRIBUTE ::\r\nMC: Moisture content % [GRAPH 40]\r\n| Depth | MC: |\r\n| 1.20 | 21.4 |\r\n| 2000000 | 26.1 |\r\n";
  struct Case {
    const char* what;
    const char* target;  // holes.txt (the input) or scales.MET
    std::string bytes;
    const char* said;    // said once on the console and in ERROR.LOG
    bool bh1_drawn;      // false: BH1 is left out
  } cases[] = {
      {"layer depth 2000000", "holes.txt", two_holes("", "2000000  Soft CLAY.\r\n", ""),
       "holes\\.txt line 5: Depth 2000000 is beyond what a sheet can draw", false},
      {"layer depth 4294967296", "holes.txt", two_holes("", "4294967296  Soft CLAY.\r\n", ""),
       "holes\\.txt line 5: Depth 4294967296 is beyond", false},
      {"layer depth of a hundred nines", "holes.txt", two_holes("", nines + "  Soft CLAY.\r\n", ""),
       "holes\\.txt line 5: Depth 1E\\+100 is beyond", false},
      {"top depth 2000000", "holes.txt", two_holes("Top depth : 2000000\r\n", "", ""),
       "holes\\.txt line 3: Depth 2000000 is beyond", false},
      {"log record at 2000000", "holes.txt", two_holes("", "", " 2000000: 7\r\n"),
       "holes\\.txt line 9: Depth 2000000 is beyond .*the record is left out", true},
      {"point record at @2000000", "holes.txt", two_holes("", "", " @2000000: 7\r\n"),
       "holes\\.txt line 9: Depth 2000000 is beyond .*the record is left out", true},
      {"table row at 2000000", "holes.txt", two_holes("", "", table),
       "holes\\.txt line 13: Depth 2000000 is beyond .*the row is left out", true},
      {"sample of a file at 2000000", "samples.txt", "Undisturbed samples\r\n1.20 Sand, grey\r\n2000000 Clay\r\n",
       "holes\\.txt line 9: Depth 2000000 is beyond .*the sample is left out", true},
      {"tick interval 1e-300", "scales.MET", scales_with("10,\"metres\",1,1e-300"),
       "SCALES\\.MET line 11: scale record 10,metres,1,1e-300 skipped", true},
      {"tick interval 1e-6", "scales.MET", scales_with("10,\"metres\",1,1e-6"),
       "SCALES\\.MET line 11: scale record 10,metres,1,1e-6 skipped", true},
      {"tick interval 0.1e-308", "scales.MET", scales_with("10,\"metres\",1,0.1e-308"),
       "SCALES\\.MET line 11: scale record 10,metres,1,0.1e-308 skipped", true},
  };
  const char* const devices[] = {"PDF", "PGL", "DXF", "PCL"};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const std::string device = devices[i % 4];
    SCOPED_TRACE(std::string(c.what) + " on " + device);
    EngineFolder ef;
    ef.write("holes.txt", two_holes("", "", ""));
    ef.write("samples.txt", "Undisturbed samples\r\n1.20 Sand, grey\r\n");
    ef.write(c.target, c.bytes);
    std::string run = pdf_run_file("holes.txt");
    run.replace(run.find("PDF"), 3, device);
    ef.write("@run.dat", run);
    const RunResult r = ef.run({"@run.dat"}, 120);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
    EXPECT_EQ(r.err.find("Untrapped"), std::string::npos) << r.err;
    EXPECT_EQ(sanitizer_report(r.err), "");
    const std::string log = ef.exists("ERROR.LOG") ? ef.read("ERROR.LOG") : std::string();
    EXPECT_EQ(find_all_regex(log, c.said).size(), 1u) << log;
    // The console says it without the file and line that ERROR.LOG adds.
    const std::string said = c.said;
    EXPECT_EQ(find_all_regex(r.out, said.substr(said.find(": ") + 2)).size(), 1u) << r.out;
    EXPECT_EQ(has_result(ef, "J56", "BH1"), c.bh1_drawn) << r.out << log;
    EXPECT_TRUE(has_result(ef, "J56", "BH2")) << r.out << log;
    // Every result of a sane size (an interval of 1e-6 drew a PDF of 94 MB).
    for (const auto& e : std::filesystem::recursive_directory_iterator(ef.file("drive_c"))) {
      if (e.is_regular_file()) {
        EXPECT_LT(e.file_size(), 2'000'000u) << e.path();
      }
    }
  }
}

// A run-file item whose number is too large for a number names no item: its value is not taken for
// the SET file (item 0). Both items are left out, so the run ends with 1.
TEST(DamagedFiles, RunFileItemBeyondRangeIsNoSetFile) {
  EngineFolder ef;
  ef.write("@runfile.dat", fixture("runfile/two-items-beyond-32-bits"));
  const RunResult r = ef.run({"@runfile.dat"}, 20);
  EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
  EXPECT_EQ(r.out.find("setup file cannot be found"), std::string::npos) << r.out;
  EXPECT_EQ(lines_of(ef.read("ERROR.LOG")).size(), 2u) << ef.read("ERROR.LOG");
}

}  // namespace
