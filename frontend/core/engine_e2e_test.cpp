// The front end's logic against the built engine program, installed in a temporary engine folder.
#include <gtest/gtest.h>

#include "modgeneral.h"
#include "osinfo.h"
#include "testsupport.h"
#include "version.h"

namespace quorvel {
namespace {

TEST(EngineProgram, VersionTextAndWordSize) {
  testing_support::EngineFolder engine;
  EXPECT_EQ(GetEngineVersion(engine.path().string()), "7022");
  EXPECT_EQ(ProgramWordSize(engine.path().string() + "/profile"), sizeof(void*) == 8 ? "64-bit" : "32-bit");
  EXPECT_TRUE(Exists(engine.path().string() + "/PROMPTS.ENG"));  // the data files, names in any case
}

}  // namespace
}  // namespace quorvel
