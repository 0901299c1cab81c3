// The internal form of an example input, as the hole pass reads it, against its golden file. After a
// deliberate change of the line reader or the vocabulary, run the test with VLX_UPDATE_GOLDEN=1 to
// write the golden file anew, and read the difference before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "testsupport.h"

using namespace testing_support;

// The test example (mark-up characters, verbatim blocks, colour lines) and the example input that
// ships in the engine folder.
TEST(InternalForm, ExampleInputsMatchTheirGoldenFiles) {
  const auto dir = source_dir() / "tests" / "convert";
  const std::pair<std::filesystem::path, std::filesystem::path> cases[] = {
      {dir / "example.txt", dir / "example.lines"},
      {source_dir() / "data" / "Examples" / "Examples.TXT", dir / "Examples.lines"},
  };
  for (const auto& [input, golden] : cases) {
    EngineFolder engine;
    const RunResult r = run_program({VLX_SHOWLINES_PROGRAM, "STANDARD.SET", input.string()}, engine.path());
    ASSERT_EQ(r.exit_code, 0) << input << "\n" << r.err;
    if (const char* update = std::getenv("VLX_UPDATE_GOLDEN"); update && *update == '1') write_file(golden, r.out);
    EXPECT_EQ(r.out, read_file(golden)) << input;
  }
}

TEST(InternalForm, StarsLeaveNoCodeOffThePdf) {
  EngineFolder engine;
  engine.write("in.txt", "1.0 **Wet** clay\r\n///\r\n");
  const RunResult r = run_program({VLX_SHOWLINES_PROGRAM, "STANDARD.SET", "in.txt", "3"}, engine.path());
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "    1.0 Wet clay\n    <180><180><180>\n");
}
