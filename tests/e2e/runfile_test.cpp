// The engine started with a command tail, without a terminal.
#include <gtest/gtest.h>

#include "testsupport.h"

using namespace testing_support;

TEST(EngineRunFile, MissingRunFileNeverWaits) {
  EngineFolder ef;
  RunResult r = ef.run({"@runfile.dat"}, 10);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("File not found : @runfile.dat"), std::string::npos) << r.out;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
}
