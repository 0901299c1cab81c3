// Trimming of blanks and control characters.
#include <gtest/gtest.h>
#include "engine/frame/helpers.h"


TEST(Fnatrim, TrimsControlsAtBothEndsOnly) {
  EXPECT_EQ(FNATRIM("\t\r\n a\tb \r\n"), "a\tb");
  EXPECT_EQ(FNATRIM(" \x01\x1f "), "");
  EXPECT_EQ(FNATRIM("\xE9t\xE9"), "\xE9t\xE9");  // codes above 127 are text
}
