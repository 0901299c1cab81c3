// The symbol test: the range of the keyword table the user gives becomes the legend's entries; answers
// without a comma or with an unknown symbol ask again; without a person a one-shot run fails.
#include "engine/select/coder_fixture.h"
#include "engine/run/run.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"
#include "platform/console_scripted.h"

namespace {

class SymbolTest : public CoderFixture {
 protected:
  void SetUp() override {
    CoderFixture::SetUp();
    load_vocabulary();
    for (std::int32_t f = 1; f <= 3; ++f) {
      FONTWIDTH(f) = 25, FONTSIZE(f) = 1;
      for (std::int32_t c = 32; c <= 255; ++c) CHARWIDTH(f, c) = 25;
    }
    PAGELENGTH = PAGELENGTHSET = 3200, HEADDOTS = 600, FOOTDOTS = 300, LINEPITCH = 50, SCALEOPT = 1;
    copy_data({"scales.MET"});
    RUNFLAGS = 0;
    sheet_hand_over().proprint = [this] {
      PIOPEN("Dwork.1", WORKFIRST + DWORKBASE);
      for (std::int32_t i = 1; i <= LAYERCOUNT; ++i) {
        std::string r;
        PIREAD(r, i, WORKFIRST + DWORKBASE);
        lines.push_back(r);
      }
    };
  }
  void TearDown() override {
    sheet_hand_over() = SheetHandOver{};
    CoderFixture::TearDown();
  }
  std::vector<std::string> lines;
};

TEST_F(SymbolTest, RangeOfTheKeywordTable) {
  auto c = std::make_unique<platform::ScriptedConsole>();
  auto* keys = c.get();
  platform::set_console(std::move(c));
  keys->type("clay");  // no comma: asked again
  keys->push_key("\r");
  keys->type("CLAY,XYZZY");  // unknown: asked again
  keys->push_key("\r");
  keys->type("sand , clay");  // backwards and in lower case
  keys->push_key("\r");
  PROTEST();
  EXPECT_EQ(keys->queued(), 0u);
  EXPECT_GE(keys->beeps(), 2);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NE(lines.front().find("{CLAY}"), std::string::npos) << lines.front();
  EXPECT_NE(lines.back().find("{SAND}"), std::string::npos) << lines.back();
  EXPECT_EQ(HEADER(20), VOCAB(24));
}

// The symbol test's input that the front end names (Examples/Symbol01.txt) lists the first words of
// the standard vocabulary's keyword table in its order, and the range it gives as an example draws.
TEST_F(SymbolTest, TheShippedExampleListsTheCatalogue) {
  std::vector<std::string> catalogue;
  for (size_t p = KEYWORDS.find("./"); p != std::string::npos; p = KEYWORDS.find("./", p + 2))
    catalogue.push_back(KEYWORDS.substr(p + 2, KEYWORDS.find('/', p + 2) - p - 2));
  const std::string text = testing_support::read_file(testing_support::data_dir() / "Examples" / "Symbol01.txt");
  const size_t table = text.find("keyword table:\r\n");
  ASSERT_NE(table, std::string::npos);
  std::vector<std::string> listed;
  for (size_t p = text.find("\r\n", table) + 2; p < text.size();) {
    const size_t end = text.find("\r\n", p);
    const std::string row = text.substr(p, end - p);
    for (size_t c = 0; c < row.size(); c += 20) {
      const std::string cell = rt::TRIM(row.substr(c, 20));
      if (!cell.empty()) listed.push_back(cell);
    }
    p = end + 2;
  }
  EXPECT_EQ(listed, catalogue);
  const size_t example = text.find("\r\n    ");
  ASSERT_NE(example, std::string::npos);
  const std::string range = rt::TRIM(text.substr(example + 2, text.find("\r\n", example + 2) - example - 2));
  EXPECT_EQ(range, "CLAY,GRAVELLY");
  auto c = std::make_unique<platform::ScriptedConsole>();
  auto* keys = c.get();
  platform::set_console(std::move(c));
  keys->type(range);
  keys->push_key("\r");
  PROTEST();
  ASSERT_EQ(lines.size(), 8u);  // CLAY to GRAVELLY: eight symbols of the table
  EXPECT_NE(lines.front().find("{CLAY}"), std::string::npos) << lines.front();
  EXPECT_NE(lines.back().find("{GRAVELLY}"), std::string::npos) << lines.back();
}

TEST_F(SymbolTest, OneShotRunWithoutAPersonFails) {
  RUNFLAGS = 1;
  rt::set_exit_code(0);
  PROTEST();
  EXPECT_EQ(rt::exit_code(), 1);
  EXPECT_NE(log().find("symbol test takes its range"), std::string::npos);
  EXPECT_TRUE(lines.empty());
}

}  // namespace
