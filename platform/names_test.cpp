// The compact set of file names: found without regard to letter case, the first of names equal but for
// their case, each name held once, through growth of the table and the clean-up of removed names.
#include "platform/names.h"

#include <gtest/gtest.h>

#include <string>

TEST(NameSetTest, FindsNamesWithoutRegardToCaseThroughEveryChange) {
  platform::NameSet names;
  std::string found;
  EXPECT_FALSE(names.find("x", found));  // empty
  names.add("Dup.txt");
  names.add("DUP.TXT");
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 5000; ++i) names.add("Hole" + std::to_string(i) + ".trx");
    ASSERT_TRUE(names.find("HOLE4999.TRX", found)) << round;
    EXPECT_EQ(found, "Hole4999.trx");
    EXPECT_TRUE(names.contains("hole0.TRX")) << round;
    ASSERT_TRUE(names.find("dup.txt", found)) << round;
    EXPECT_EQ(found, "Dup.txt") << round;  // the one added first, also after the table grew
    names.remove("HOLE1.TRX");             // another letter case: not this name
    EXPECT_TRUE(names.contains("Hole1.trx")) << round;
    for (int i = 0; i < 5000; ++i) names.remove("Hole" + std::to_string(i) + ".trx");
    EXPECT_FALSE(names.contains("hole17.trx")) << round;
    ASSERT_TRUE(names.find("DUP.txt", found)) << round;
    EXPECT_EQ(found, "Dup.txt") << round;  // and after the removed names were cleaned up
  }
  // A name added again as written is held once: one removal forgets it.
  for (int i = 0; i < 3; ++i) names.add("Twice.txt");
  names.remove("Twice.txt");
  EXPECT_FALSE(names.contains("twice.txt"));
  names.remove("Dup.txt");
  ASSERT_TRUE(names.find("dup.TXT", found));
  EXPECT_EQ(found, "DUP.TXT");
  names.remove("DUP.TXT");
  EXPECT_FALSE(names.contains("dup.txt"));
}
