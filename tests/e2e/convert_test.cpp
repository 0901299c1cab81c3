// A one-shot run hands its input file to the conversion: the work files of the last conversion go, the
// vocabularies load, every hole becomes one coded hole file, and a run that cannot convert says why and
// ends with exit code 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "testsupport.h"

using namespace testing_support;

namespace {

// The run file of a one-shot profile run on the input file.
std::string run_file(const std::string& input) {
  return "0/   setupfile = STANDARD.SET\r\n1/   inputfile = " + input +
         "\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n";
}

// The coded hole files (".TRX") of the engine folder, sorted.
std::vector<std::string> coded_files(const EngineFolder& ef) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(ef.path()))
    if (e.path().extension() == ".TRX") names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The coded hole files of the engine folder in a form to read and compare: each file's name, then its
// lines with every byte below 32, "<" and every byte from 127 up written as "<code>". A line that does
// not end with CR LF is marked.
std::string coded_files_text(const EngineFolder& ef) {
  std::string out;
  for (const auto& name : coded_files(ef)) {
    out += "== " + name + "\n";
    const std::string text = ef.read(name);
    size_t from = 0;
    while (from < text.size()) {
      size_t end = text.find("\r\n", from);
      const bool ended = end != std::string::npos;
      if (!ended) end = text.size();
      for (size_t i = from; i < end; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 32 || c == '<' || c >= 127) out += "<" + std::to_string(c) + ">";
        else out += static_cast<char>(c);
      }
      out += ended ? "\n" : "<no CR LF>\n";
      from = ended ? end + 2 : end;
    }
  }
  return out;
}

const char* const kTwoHoles =
    "Client        : Riverside Developments Ltd\r\n"
    "Hole Number   : BH01\r\n/\r\n0.30  TOPSOIL\r\n1.20  Firm brown CLAY\r\n/\r\nNOTES:\r\n"
    "Water strike at 1.10m\r\n//\r\n"
    "Hole Number   : TP02\r\n/\r\n0.50  Sandy GRAVEL\r\n/\r\n//\r\n///\r\n";

// The work channels' files are gone when the run has ended; the other files of the folder stay.
TEST(Conversion, WorkChannelFilesGoAtTheEndOfTheRun) {
  EngineFolder ef;
  ef.write("holes.txt", kTwoHoles);
  ef.write("Dwork.txt", "a user's file");
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 20);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_EQ(coded_files(ef).size(), 2u);
  for (const char* base : {"Dwork.1", "Dwork.2", "Awork.1", "Awork.2"})
    for (const char* part : {"R", "B"}) EXPECT_FALSE(ef.exists(std::string(base) + part)) << base << part;
  EXPECT_EQ(ef.read("holes.txt"), kTwoHoles);
  EXPECT_EQ(ef.read("Dwork.txt"), "a user's file");
}

TEST(Conversion, OneShotRunConvertsItsInputFile) {
  EngineFolder ef;
  ef.write("holes.txt", kTwoHoles);
  for (const char* stale : {"J12BH1.TRX", "work-lay.1", "work-att.1"}) ef.write(stale, "from the last run");
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 20);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("Converting the input file"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Coded hole files: 2"), std::string::npos) << r.out;
  for (const char* stale : {"J12BH1.TRX", "work-lay.1", "work-att.1"}) EXPECT_FALSE(ef.exists(stale)) << stale;
  EXPECT_EQ(coded_files(ef), (std::vector<std::string>{"000H01.TRX", "000P02.TRX"}));
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
}

TEST(Conversion, RunsThatCannotConvertSayWhyAndFail) {
  struct Case {
    const char* name;
    const char* input;
    const char* remove;  // a file of the engine folder to remove first
    const char* says;
  } cases[] = {
      {"missing input file", "missing.txt", nullptr, "missing.txt - file not found"},
      {"no conversion vocabulary", "holes.txt", "CONVOCAB.ENG", "No conversion vocabulary could be loaded"},
      {"no word-processor signature", "holes.txt", "wordpad.sig", "File not found : wordpad.sig"},
  };
  for (const auto& k : cases) {
    EngineFolder ef;
    ef.write("holes.txt", kTwoHoles);
    if (k.remove) std::filesystem::remove(ef.file(k.remove));
    ef.write("@runfile.dat", run_file(k.input));
    const RunResult r = ef.run({"@runfile.dat"}, 20);
    EXPECT_FALSE(r.timed_out) << k.name;
    EXPECT_EQ(r.exit_code, 1) << k.name << "\n" << r.out << r.err;
    EXPECT_NE(r.out.find(k.says), std::string::npos) << k.name << "\n" << r.out;
    EXPECT_EQ(r.out.find("Coded hole files"), std::string::npos) << k.name;
  }
}

}  // namespace

namespace {

// The front end's default example: one coded hole file per hole, nothing to report.
TEST(Conversion, ExampleInputGivesOneCodedFilePerHole) {
  EngineFolder ef;
  ASSERT_TRUE(ef.exists("Examples/Examples.TXT"));
  ef.write("@runfile.dat", run_file(ef.file("Examples/Examples.TXT").string()));
  const RunResult r = ef.run({"@runfile.dat"}, 20);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  // As many holes as "//" lines before the end of the data.
  std::istringstream in(ef.read("Examples/Examples.TXT"));
  size_t holes = 0;
  for (std::string line; std::getline(in, line) && line != "///\r";) holes += line == "//\r";
  EXPECT_EQ(holes, 6u);
  const auto files = coded_files(ef);
  EXPECT_EQ(files.size(), holes);
  EXPECT_EQ(files.front(), "631BH1.TRX");
  EXPECT_NE(r.out.find("Coded hole files: 6"), std::string::npos) << r.out;
  // The boreholes carry their samples (from the notes and the SAMPLES block) and their SPT column.
  const std::string bh3 = ef.read("631BH3.TRX");
  for (const char* line : {"[SYMB1]D1", "[SYMB3]U3", "[SYMB2]B4", "[SYMB8]2.40", "[SYMB6]4.10", "2.50--2.95",
                           " SPT N [WIDTH 1.2] [GRAPH 50 PLUS NUMBERS][G=50][C=1.2][+N]", "[4.50]  19"})
    EXPECT_NE(bh3.find(std::string("\r\n") + line + "\r\n"), std::string::npos) << line;
  // "Water strike at 4.10 m, rising to 3.60 m after 20 minutes.": two levels, the duration none.
  for (const char* hole : {"631BH1.TRX", "631BH2.TRX", "631BH3.TRX"}) {
    const std::string coded = ef.read(hole);
    EXPECT_EQ(coded.find("\r\n[SYMB6]20\r\n"), std::string::npos) << hole;
    EXPECT_EQ(coded.find("\r\n20\r\n"), std::string::npos) << hole;
  }
  EXPECT_NE(bh3.find("\r\n[SYMB6]3.60\r\n"), std::string::npos);
  EXPECT_EQ(r.out.find("???"), std::string::npos) << r.out;              // every header keyword known
  EXPECT_EQ(r.out.find("WARNING"), std::string::npos) << r.out;          // nothing to read
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
}

// The coded hole files of inputs, byte for byte: a two-hole input, and an input made from the front
// end's templates (the full block of a hole, the notes block, attribute columns with their options, a
// tabulation, an abbreviation block, an attached sample file). After a deliberate change of the
// conversion, run the test with VLX_UPDATE_GOLDEN=1 to write the golden files anew, and read the
// difference before committing it.
TEST(Conversion, InputsMatchTheirGoldenFiles) {
  struct Case {
    const char* input;
    const char* golden;
    std::vector<std::pair<const char*, const char*>> files;  // further files of the engine folder: from, as
  } cases[] = {
      {"example.txt", "example.trx", {}},
      {"templates.txt", "templates.trx", {{"templates-samples.txt", "bh2samples.txt"}}},
  };
  for (const auto& k : cases) {
    EngineFolder ef;
    const auto dir = source_dir() / "tests" / "convert";
    ef.write("holes.txt", read_file(dir / k.input));
    for (const auto& [from, as] : k.files) ef.write(as, read_file(dir / from));
    ef.write("@runfile.dat", run_file("holes.txt"));
    const RunResult r = ef.run({"@runfile.dat"}, 20);
    ASSERT_EQ(r.exit_code, 0) << k.input << "\n" << r.out << r.err;
    EXPECT_EQ(r.out.find("WARNING"), std::string::npos) << k.input << "\n" << r.out;
    EXPECT_FALSE(ef.exists("ERROR.LOG")) << k.input;
    const std::string text = coded_files_text(ef);
    if (const char* update = std::getenv("VLX_UPDATE_GOLDEN"); update && *update == '1') write_file(dir / k.golden, text);
    EXPECT_EQ(text, read_file(dir / k.golden)) << k.input;
  }
}

// A file saved as UTF-8 by a modern editor starts with a byte-order mark; its first header line is still
// read as a keyword line.
TEST(Conversion, ByteOrderMarkIsSkipped) {
  EngineFolder ef;
  ef.write("holes.txt", "\xEF\xBB\xBFHole: BH1\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n///\r\n");
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 20);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_EQ(coded_files(ef), (std::vector<std::string>{"000BH1.TRX"}));
  EXPECT_EQ(r.out.find("???"), std::string::npos) << r.out;
}

// Inputs with faults: each is reported; those the conversion cannot go on with end the run as failed
// and leave no coded hole file, the others are converted all the same. Anything of the input left out
// or drawn otherwise than typed is written in ERROR.LOG with the file, the hole and the line, and ends
// the run with 1; a hole given a code of its own loses nothing and ends it with 0.
TEST(Conversion, FaultyInputsAreReported) {
  struct Case {
    const char* name;
    const char* input;
    int exit_code;
    std::vector<std::string> files;
    const char* says;
    const char* logged;  // the one ERROR.LOG line (without its date and time); nullptr: as said
  } cases[] = {
      {"missing //", "Hole: BH1\r\n/\r\n1.0 Clay\r\n/\r\nHole: BH2\r\n/\r\n2.0 Clay\r\n/\r\n//\r\n///\r\n", 1, {},
       "Hole 1 (BH1) of holes.txt: its // line is missing before line 5: Hole: BH2\n", nullptr},
      {"missing ///", "Hole: BH1\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n", 1, {}, "No /// line ends the data.", nullptr},
      {"no slash line", "Hole: BH1\r\n1.0 Clay\r\n", 1, {}, "holes.txt ??? has no / or // lines",
       "holes.txt ??? has no / or // lines - is it an input file of holes?"},
      {"decreasing depths", "Hole: BH1\r\n/\r\n2.0 Clay\r\n1.0 Sand\r\n/\r\n//\r\n///\r\n", 1, {"000BH1.TRX"},
       "depth is missing or less than the one above **\n<1.0 Sand>",
       "proconv.cpp  @ 0005  Hole 1 (BH1) of holes.txt line 4: ** Check this layer line: its depth is missing or less than "
       "the one above ** <1.0 Sand>"},
      {"unknown header keyword", "Hole: BH1\r\nWeather: rain\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n///\r\n", 1,
       {"000BH1.TRX"}, "Weather: rain ???\n",
       "proconv.cpp  @ 0001  Hole 1 (BH1) of holes.txt line 2: Weather: rain ??? (no header keyword of the vocabulary: the "
       "line is left out)"},
      {"empty layer block", "Hole: BH1\r\n/\r\n/\r\n//\r\n///\r\n", 1, {"000BH1.TRX"}, "No layer lines in this hole.",
       "proconv.cpp  @ 0006  Hole 1 (BH1) of holes.txt line 3: No layer lines in this hole."},
      // A note names a level below the hole; a blank line is a line too.
      {"level below the hole", "Hole: BH1\r\n/\r\n1.0 Clay\r\n/\r\n\r\nWater strike at 3.0m\r\n//\r\n///\r\n", 1,
       {"000BH1.TRX"}, "Level below the bottom of the hole, left out: 3.0m (BH1) <Water strike at 3.0m>\n",
       "proconv.cpp  @ 0003  Hole 1 (BH1) of holes.txt line 6: Level below the bottom of the hole, left out: 3.0m <Water "
       "strike at 3.0m>"},
      {"attached file not there", "Hole: BH1\r\n/\r\n1.0 Clay\r\n/\r\nSAMPLES: FILE: nowhere.txt\r\n//\r\n///\r\n", 1,
       {"000BH1.TRX"}, "File not found : nowhere.txt\n",
       "proconv.cpp  @ 0021  Hole 1 (BH1) of holes.txt line 5: File not found : nowhere.txt <SAMPLES: FILE: nowhere.txt>"},
      // The hard-space character alone on a line opens a verbatim block: the holes after it are its text.
      {"verbatim block not closed",
       "Hole: BH1\r\n/\r\n1.0 Clay\r\n^\r\n2.0 Sand\r\n/\r\n//\r\nHole: BH2\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n///\r\n", 1,
       {"000BH1.TRX"}, "Verbatim block not closed",
       "proconv.cpp  @ 0001  Hole 1 (BH1) of holes.txt line 4: Verbatim block not closed: the rest of the input (also / "
       "and //) is its text."},
      {"one code twice", "Hole: BH1\r\n/\r\n1 Clay\r\n/\r\n//\r\nHole: BH-1\r\n/\r\n1 Sand\r\n/\r\n//\r\n///\r\n", 0,
       {"000BH1.TRX", "000_01.TRX"}, "Hole code used twice; this hole gets a code of its own: 000BH1 -> 000_01 (hole BH-1)\n",
       "Hole code used twice; this hole gets a code of its own: 000BH1 -> 000_01 (hole BH-1) in holes.txt"},
  };
  for (const auto& k : cases) {
    EngineFolder ef;
    ef.write("holes.txt", k.input);
    ef.write("@runfile.dat", run_file("holes.txt"));
    const RunResult r = ef.run({"@runfile.dat"}, 20);
    EXPECT_FALSE(r.timed_out) << k.name;
    EXPECT_EQ(r.exit_code, k.exit_code) << k.name << "\n" << r.out << r.err;
    EXPECT_EQ(coded_files(ef), k.files) << k.name;
    EXPECT_NE(r.out.find(k.says), std::string::npos) << k.name << "\n" << r.out;
    EXPECT_EQ(r.out.find("Coded hole files") != std::string::npos, !k.files.empty()) << k.name;
    // Each case is one line of ERROR.LOG: the structure fault or the loss, or the code a hole got.
    const std::string log = ef.exists("ERROR.LOG") ? ef.read("ERROR.LOG") : "";
    std::string said = k.logged ? k.logged : k.says;
    if (!said.empty() && said.back() == '\n') said.pop_back();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << k.name << "\n" << log;
    EXPECT_NE(log.find(said + "\r\n"), std::string::npos) << k.name << "\n" << log;
  }
}

}  // namespace
