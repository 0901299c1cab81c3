// The engine program starts and ends in an engine folder without a terminal.
#include <gtest/gtest.h>

#include "testsupport.h"

using namespace testing_support;

// Without a terminal every key wait answers Esc, so the menus end at once. The time limit only catches
// a run that waits for a key with no one there; it is far above the normal time, also under sanitizers.
TEST(EngineStart, EndsWithoutWaitingWithoutTerminal) {
  EngineFolder ef;
  RunResult r = ef.run({}, 30);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
}
