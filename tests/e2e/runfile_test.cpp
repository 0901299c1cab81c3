// The engine started with a command tail, without a terminal.
#include <gtest/gtest.h>

#include <algorithm>

#include "testsupport.h"

using namespace testing_support;

// A run file that is not there: nothing it asks for is made, so the run is written down and ends with 1.
TEST(EngineRunFile, MissingRunFileNeverWaits) {
  EngineFolder ef;
  RunResult r = ef.run({"@runfile.dat"}, 30);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
  EXPECT_NE(r.out.find("File not found : @runfile.dat"), std::string::npos) << r.out;
  const std::string log = ef.read("ERROR.LOG");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  EXPECT_NE(log.find("cmdline.cpp  @   File not found : @runfile.dat\r\n"), std::string::npos) << log;
}

// The run file as the front end writes it: nine (or ten) numbered lines, each the item number, "/", the
// key right-aligned in 12 characters, " = " and the value, ended by CR LF.
std::string front_end_run_file(const EngineFolder& ef, const std::string& setup, const std::string& output,
                               const std::string& activity, bool debug = false) {
  const std::string lines[] = {
      "0/   setupfile = " + setup,
      "1/   inputfile = " + ef.file("Examples/Examples.TXT").string(),
      "2/      output = " + output,
      "3/    holelist = ALL",
      "4/    activity = " + activity,
      "5/ output-addr = " + ef.path().string() + "/",
      "6/       scale = ",
      "7/     summary = YES",
      "8/  targetcopy = " + ef.file("Examples.PDF").string(),
  };
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  if (debug) text += "9/       debug = YES\r\n";
  return text;
}

TEST(EngineRunFile, OneShotRuns) {
  struct Case {
    const char* name;
    std::string setup, output, activity;
    bool debug;
    int exit_code;
    const char* device;   // line 1 of "lastrun", whose line 2 is the SET file as given; nullptr: none written
    const char* logged;   // nullptr: no ERROR.LOG
  } cases[] = {
      {"profiles as PDF", "STANDARD.SET", "PDF", "0", false, 0, " 1 ", nullptr},
      {"SET file with its folder", "", "DXF", "0", false, 0, " 3 ", nullptr},
      {"pause asked for, no one there", "STANDARD.SET", "PGL", "0", true, 0, " 2 ", nullptr},
      {"symbol test without a person", "STANDARD.SET", "PDF", "1", false, 1, nullptr, "The symbol test takes its range"},
      {"activity 12", "STANDARD.SET", "PDF", "12", false, 1, nullptr, "  Activity 12 cannot be run"},
      {"activity word unknown", "STANDARD.SET", "PDF", "LOGS", false, 1, nullptr, "  Run file: activity \"LOGS\""},
      {"output word unknown", "STANDARD.SET", "PS", "0", false, 1, nullptr, "  Run file: output \"PS\""},
  };
  for (const auto& c : cases) {
    EngineFolder ef;
    const std::string setup = c.setup.empty() ? ef.file("STANDARD.SET").string() : c.setup;
    ef.write("@runfile.dat", front_end_run_file(ef, setup, c.output, c.activity, c.debug));
    RunResult r = ef.run({"@runfile.dat"}, 20);
    EXPECT_FALSE(r.timed_out) << c.name;
    EXPECT_EQ(r.exit_code, c.exit_code) << c.name << "\n" << r.out << r.err;
    if (c.device) {
      EXPECT_EQ(ef.read("lastrun"), std::string(c.device) + "\r\n" + setup + "\r\n") << c.name;
    } else {
      EXPECT_FALSE(ef.exists("lastrun")) << c.name;
    }
    const std::string log = ef.exists("ERROR.LOG") ? ef.read("ERROR.LOG") : std::string();
    if (c.logged) {
      EXPECT_NE(log.find(c.logged), std::string::npos) << c.name << "\n" << log;
    } else {
      EXPECT_EQ(log, "") << c.name;
    }
    if (c.debug) {
      EXPECT_NE(r.out.find("Press any key to exit Veltrax"), std::string::npos) << r.out;
    }
    // The main screen is never painted in a one-shot run.
    EXPECT_EQ(r.out.find("Max Samples"), std::string::npos) << c.name << "\n" << r.out;
  }
}
