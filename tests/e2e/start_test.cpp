// The engine program starts and ends in an engine folder without a terminal.
#include <gtest/gtest.h>

#include <chrono>

#include "testsupport.h"

using namespace testing_support;

TEST(EngineStart, EndsAtOnceWithoutTerminal) {
  EngineFolder ef;
  auto t0 = std::chrono::steady_clock::now();
  RunResult r = ef.run({}, 10);
  auto took = std::chrono::steady_clock::now() - t0;
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 1000);
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
}
