// A one-shot run hands its input file to the conversion: the work files of the last conversion go, the
// vocabularies load, and a run that cannot convert says why and ends with exit code 1.
#include <gtest/gtest.h>

#include <filesystem>

#include "testsupport.h"

using namespace testing_support;

namespace {

// The run file of a one-shot profile run on the input file.
std::string run_file(const std::string& input) {
  return "0/   setupfile = STANDARD.SET\r\n1/   inputfile = " + input +
         "\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n";
}

const char* const kTwoHoles =
    "Client        : Riverside Developments Ltd\r\n"
    "Hole Number   : BH01\r\n/\r\n0.30  TOPSOIL\r\n1.20  Firm brown CLAY\r\n/\r\nNOTES:\r\n"
    "Water strike at 1.10m\r\n//\r\n"
    "Hole Number   : TP02\r\n/\r\n0.50  Sandy GRAVEL\r\n/\r\n//\r\n///\r\n";

TEST(Conversion, OneShotRunConvertsItsInputFile) {
  EngineFolder ef;
  ef.write("holes.txt", kTwoHoles);
  for (const char* stale : {"J12BH1.TRX", "work-lay.1", "work-att.1"}) ef.write(stale, "from the last run");
  ef.write("@runfile.dat", run_file("holes.txt"));
  const RunResult r = ef.run({"@runfile.dat"}, 20);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("Converting the input file"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Coded hole files:"), std::string::npos) << r.out;
  for (const char* stale : {"J12BH1.TRX", "work-lay.1", "work-att.1"}) EXPECT_FALSE(ef.exists(stale)) << stale;
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
