// Arrays with bounds: error 9, the scratch element and the lost store.
#include "engine/runtime/array.h"

#include <gtest/gtest.h>

#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;

TEST(ArrayTest, BoundsAndScratch) {
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  TempDir dir;
  ScopedCwd cwd(dir.path());
  BoxRecorder box;
  rt::Array<std::string> a;
  rt::Array2<int> b;
  {
    rt::Trap t("test.cpp", "T");
    a(0) = "lost";  // before the array exists
    EXPECT_EQ(t.error(), 9);
  }
  a.dim(1, 50);
  a.dim(0, 7);  // a second dim changes nothing
  EXPECT_EQ(a.lbound(), 1);
  EXPECT_EQ(a.ubound(), 50);
  b.dim(1, 3, 32, 255);
  struct Case {
    long i, j;
    bool ok;
  } cases[] = {{1, 32, true}, {3, 255, true}, {1, 31, false}, {4, 32, false}, {0, 100, false}};
  for (const auto& c : cases) {
    rt::Trap t("test.cpp", "T");
    b(c.i, c.j) = 7;
    EXPECT_EQ(b(c.i, c.j), c.ok ? 7 : 0) << c.i << "," << c.j;
    EXPECT_EQ(t.error(), c.ok ? 0 : 9);
  }
  {
    rt::Trap t("test.cpp", "T");
    a(51) = "x";
    EXPECT_EQ(a(51), "");
    EXPECT_EQ(a(50), "");
    a(50) = "kept";
  }
  EXPECT_EQ(a(50), "kept");
  platform::set_console(nullptr);
}
