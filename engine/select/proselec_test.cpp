// The selection screen of an interactive run: the grid, the answers that choose holes, the scale and
// summary questions, and passes until an answer chooses nothing.
#include <memory>

#include "engine/select/coder_fixture.h"
#include "platform/console_scripted.h"

namespace {

// A scripted console that keeps the screen as it was at every key wait.
class SnapshotConsole : public platform::ScriptedConsole {
 public:
  explicit SnapshotConsole(int rows) : ScriptedConsole(rows) {}
  std::string wait_key() override {
    screens.push_back(screen());
    return ScriptedConsole::wait_key();
  }
  std::vector<std::string> screens;
};

class Selection : public CoderFixture {
 protected:
  // Six coded holes, a console of the given rows with the answers queued, then the catalogue and the
  // screen; returns the holes coded, in order.
  std::vector<std::string> run(const std::vector<std::string>& lines, int rows = 25) {
    auto c = std::make_unique<SnapshotConsole>(rows);
    screen = c.get();
    printed = nullptr;
    platform::set_console(std::move(c));
    STATUSROW = CONROWS = rows;
    for (const auto& l : lines) {
      screen->type(l);
      screen->push_key("\r");
    }
    RUNFLAGS = 0;
    sheets.clear();
    PROCAT();
    std::vector<std::string> coded;
    for (const auto& s : sheets)
      if (s != "combine") coded.push_back(s.substr(0, 6));
    return coded;
  }
  void six_holes() {
    for (const char* code : {"631BH1", "631BH2", "631BH3", "631TP1", "631TP2", "631TP3"}) write_hole(code, Hole{});
  }
  SnapshotConsole* screen = nullptr;
};

using Codes = std::vector<std::string>;

TEST_F(Selection, AnswersChooseHoles) {
  load_vocabulary();
  six_holes();
  const Codes all{"631BH1", "631BH2", "631BH3", "631TP1", "631TP2", "631TP3"};
  struct Case {
    Codes answers;  // the answers of the first pass; Enter, the two questions and the empty pass follow
    Codes coded;
    const char* message = "";  // a text that stood on the answer line at a key wait
  } cases[] = {
      {{"ALL"}, all},
      {{"all", "631BH2"}, {"631BH1", "631BH3", "631TP1", "631TP2", "631TP3"}},
      {{"BH1,BH3"}, {"631BH1", "631BH2", "631BH3"}},
      {{"BH3,BH1"}, {"631BH1", "631BH2", "631BH3"}},  // a range backwards
      {{"BH1,X,TP1"}, {"631BH1", "631BH2", "631BH3", "631TP1"}},  // three parts: first to last
      {{",TP1"}, {"631BH1", "631BH2", "631BH3", "631TP1"}},       // an empty end is the first hole
      {{"TP2", "BH1"}, {"631TP2", "631BH1"}},                     // in the order chosen
      {{"BH1", "BH3", "BH1"}, {"631BH3"}},                        // a code again unchooses
      {{"ALL", "TP1,TP3"}, {"631BH1", "631BH2", "631BH3"}},       // a range inverts
      {{"BH1,ZZ", "TP1"}, {"631TP1"}, "ZZ is not one of the holes shown"},
  };
  for (const auto& c : cases) {
    Codes lines = c.answers;
    if (*c.message) lines[1] = "x" + lines[1];  // the key that ends the message, then the next answer
    for (const char* l : {"", "", "", "", ""}) lines.push_back(l);  // draw, scale, summary, combine, leave
    const Codes coded = run(lines);
    EXPECT_EQ(coded, c.coded) << c.answers[0];
    EXPECT_EQ(screen->queued(), 0u) << c.answers[0];
    if (*c.message) {
      bool seen = false;
      for (const auto& s : screen->screens) seen = seen || s.find(c.message) != std::string::npos;
      EXPECT_TRUE(seen) << c.answers[0];
    }
  }

  // Nothing chosen: Enter leaves at once, nothing is coded and nothing asked.
  for (const Codes& lines : {Codes{""}, Codes{"ALL", "ALL", ""}, Codes{"ALL", "0", ""}, Codes{"ZZ", "", ""}}) {
    EXPECT_TRUE(run(lines).empty()) << lines[0];
    EXPECT_EQ(screen->queued(), 0u) << lines[0];
  }
}

TEST_F(Selection, MarksOnTheGrid) {
  load_vocabulary();
  six_holes();
  run({"ALL", "631BH2", "", "", "", "", ""});
  std::vector<std::string> at_answers;
  for (const auto& s : screen->screens)
    if (s.find("Holes (code, first,last") != std::string::npos) at_answers.push_back(s);
  ASSERT_GE(at_answers.size(), 4u);
  // Before any answer, then the screen as the first keys of the second answer are read.
  const std::string& head = at_answers.front();
  EXPECT_EQ(head.substr(0, head.find('\n')), "Holes converted from  \"" + SOURCENAME + "\"");
  auto line = [](const std::string& s, int row) {
    size_t at = 0;
    for (int r = 1; r < row; ++r) at = s.find('\n', at) + 1;
    return s.substr(at, s.find('\n', at) - at);
  };
  EXPECT_EQ(line(head, 3), "         631BH1");
  EXPECT_EQ(line(head, 8), "         631TP3");
  // The screen after "ALL": marks in the order chosen.
  std::string after_all;
  for (const auto& s : at_answers)
    if (s.find("<=6") != std::string::npos) { after_all = s; break; }
  ASSERT_FALSE(after_all.empty());
  EXPECT_EQ(line(after_all, 3), "         631BH1 <=1");
  EXPECT_EQ(line(after_all, 8), "         631TP3 <=6");
  // After "631BH2": BH2 unmarked and the later marks one lower.
  std::string after_bh2;
  for (const auto& s : at_answers)
    if (s.find("<=5") != std::string::npos && s.find("<=6") == std::string::npos) { after_bh2 = s; break; }
  ASSERT_FALSE(after_bh2.empty());
  EXPECT_EQ(line(after_bh2, 4), "         631BH2");
  EXPECT_EQ(line(after_bh2, 5), "         631BH3 <=2");
}

TEST_F(Selection, ScaleAndSummaryQuestions) {
  load_vocabulary();
  write_hole("631BH1", Hole{});
  struct Case {
    Codes scale;  // answers to the scale question until one is taken
    const char* summary;
    std::int32_t forced;
    const char* key;
  } cases[] = {
      {{""}, "", 0, ""},         {{"0"}, "y", 0, "|SUMMARY|"},    {{"10000"}, "Y", 10000, "|SUMMARY|"},
      {{"10001", "5"}, "N", 5, ""}, {{"-1", "50"}, "YES", 50, ""}, {{"2.6"}, "", 3, ""},
  };
  for (const auto& c : cases) {
    Codes lines{"BH1", ""};
    lines.insert(lines.end(), c.scale.begin(), c.scale.end());
    lines.push_back(c.summary);
    lines.push_back("");  // the join of the PDF files
    lines.push_back("");
    FORCEDSCALE = -7;
    // With the summary the coder lays out the legend after the hole.
    const Codes legend{"631BH1", "summar", "631BH1"};
    EXPECT_EQ(run(lines), *c.key ? legend : Codes{"631BH1"}) << c.scale[0];
    EXPECT_EQ(FORCEDSCALE, c.forced) << c.scale[0];
    EXPECT_EQ(SUMMARYKEY, c.key) << c.scale[0];
    EXPECT_EQ(screen->queued(), 0u) << c.scale[0];
  }
  // Activity 2 asks nothing and keeps the run's values.
  SHEETMODE = 2;
  FORCEDSCALE = 250;
  SUMMARYKEY = "|SUMMARY|";
  EXPECT_EQ(run({"BH1", "", "", ""}), (Codes{"631BH1", "summar", "631BH1"}));
  EXPECT_EQ(FORCEDSCALE, 250);
  EXPECT_EQ(SUMMARYKEY, "|SUMMARY|");
  EXPECT_EQ(screen->queued(), 0u);
}

TEST_F(Selection, GridOfShortAndTallConsoles) {
  load_vocabulary();
  for (int i = 1; i <= 130; ++i) write_hole("H" + rt::RIGHT("0000" + std::to_string(i), 5), Hole{});
  struct Case {
    int rows;
    int last_row, last_col;  // where the last shown hole stands
    const char* last;
    const char* message;     // the capacity message, or ""
  } cases[] = {
      {25, 22, 66, "H00100", " 100 holes fit on this screen"},
      {5, 3, 66, "H00005", " 5 holes fit on this screen"},
      {60, 22, 38, "H00130", ""},
  };
  for (const auto& c : cases) {
    run({""}, c.rows);
    ASSERT_FALSE(screen->screens.empty());
    const std::string& s = screen->screens.front();
    size_t at = 0;
    for (int r = 1; r < c.last_row; ++r) at = s.find('\n', at) + 1;
    EXPECT_EQ(s.substr(at + static_cast<size_t>(c.last_col) - 1, 6), c.last) << c.rows;
    // The capacity message beeps and stays a second before the answer line takes its row.
    EXPECT_EQ(screen->beeps(), *c.message ? 1 : 0) << c.rows;
    EXPECT_EQ(screen->paused_ms(), *c.message ? 1000 : 0) << c.rows;
    EXPECT_EQ(HOLELIST.size(), 10u * (c.rows == 60 ? 130 : c.rows == 25 ? 100 : 5)) << c.rows;
  }
}

TEST_F(Selection, AnswerLineKeepsALongAnswerOnItsRow) {
  load_vocabulary();
  six_holes();
  const std::string long_answer(120, 'Q');
  run({long_answer, "", ""});
  // The answer row shows the end of the text up to column 79 and nothing reached the last row.
  for (const auto& s : screen->screens) {
    const size_t last_row = s.rfind('\n');
    EXPECT_EQ(s.find('Q', last_row == std::string::npos ? 0 : last_row), std::string::npos);
  }
  EXPECT_EQ(screen->queued(), 0u);

  // Without a person at the console the screen is left at once.
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  RUNFLAGS = 0;
  sheets.clear();
  PROCAT();
  EXPECT_TRUE(sheets.empty());
}

}  // namespace
