// The symbol-word pass of the hole coder: the words of a line looked up in the keyword table, the
// pairs "[" name "]" code appended, and the run's symbols recorded for the summary and the images.
#include "engine/select/coder_fixture.h"
#include "engine/setup/globals.h"

namespace {

class SymbolWords : public CoderFixture {
 protected:
  void SetUp() override {
    CoderFixture::SetUp();
    load_vocabulary();
    st.marks = SYMCODE + BREAKCODE + HARDSPCODE + INDONCODE + INDOFFCODE + FONTSWCODE + COLUMNCODE + NOSYMCODE + ULWORDCODE;
    MARKCHARS = st.marks;
    RGBTEXT.assign(4, '\0');
    SUMMARYKEY = "|SUMMARY|";
  }
  // The line after the pass.
  std::string worked(const std::string& line) {
    st.L = line;
    KEYWORDS_PASS(st);
    return st.L;
  }
  rt::Trap trap{"procode.cpp", "PROCODE"};
  CoderState st{trap};
};

TEST_F(SymbolWords, LooksUpTheWordsOfALine) {
  struct Case {
    const char* what;
    std::string line, want;
  } cases[] = {
      {"plain words: each after a blank is a candidate", "[1.00] Firm CLAY and SAND.",
       "[1.00] Firm CLAY and SAND.[CLAY/CLAYS][CLAY][SAND/SANDS][SAND]"},
      {"a force mark: only the marked word", "[1.00]\x03" "CLAY and SAND.", "[1.00]\x03" "CLAY and SAND.[CLAY/CLAYS][CLAY]"},
      {"force and underline", "[1.00] Firm \x01" "SAND with CLAY.", "[1.00] Firm \x01" "SAND with CLAY.[SAND/SANDS][SAND]"},
      {"no symbols", "[1.00] Firm _CLAY [*] \x17SAND.", "[1.00] Firm \x01" "CLAY [*] \x17SAND."},
      {"an omit mark", "[1.00] Firm \x17" "CLAY and SAND.", "[1.00] Firm  CLAY and SAND.[SAND/SANDS][SAND]"},
      {"the first word has no mark before it", "CLAY and SAND.", "CLAY and SAND.[SAND/SANDS][SAND]"},
      {"the last word ends the line", "[1.00] Dense SANDS and GRAVELS",
       "[1.00] Dense SANDS and GRAVELS[SANDS][SAND][GRAVELS][GRAVEL]"},
      {"a word that begins a library name is a keyword", "[1.00] Weak SANDSTONES and SILTS.",
       "[1.00] Weak SANDSTONES and SILTS.[SANDSTONES][SANDSTONE][SILTS][SILT]"},
      {"words joined by a slash", "[1.00] SAND/GRAVEL.", "[1.00] SAND/GRAVEL.[SAND/SANDS][SAND][GRAVEL/GRAVELS][GRAVEL]"},
      {"a keyword of two words", "[1.00] MADE GROUND of CLAY.", "[1.00] MADE GROUND of CLAY.[MADE GROUND][FILL][CLAY/CLAYS][CLAY]"},
      {"bracketed, its blanks made marks", "[1.00] Brown [MADE GROUND] with SILT.",
       "[1.00] Brown [MADE GROUND] with SILT.[SILT/SILTS][SILT]"},
      {"bracketed in a forced line", "[1.00] Brown [MADE GROUND] with \x03SILT.",
       "[1.00] Brown [MADE GROUND] with \x03SILT.[MADE GROUND][FILL][SILT/SILTS][SILT]"},
      {"the repeat phrase in a forced line is no phrase", "[1.00] As above \x03SILT.",
       "[1.00] As above \x03SILT.[SILT/SILTS][SILT]"},
      {"a library name followed by words", "[1.00] CLAY CLAY CLAY PEAT.",
       "[1.00] CLAY CLAY CLAY PEAT.[CLAY/CLAYS][CLAY][PEAT/PEATS][PEAT]"},
      {"a sample line", "[SYMB1]DS01", "[SYMB1]DS01[SYMB1][S-DIST]"},
  };
  for (const auto& k : cases) {
    st.repeat_text.clear();
    EXPECT_EQ(worked(k.line), k.want) << k.what;
  }
  EXPECT_EQ(trap.error_count(), 0);
}

TEST_F(SymbolWords, RepeatPhraseGivesThePairsOfTheLayerAbove) {
  worked("[1.00] Firm CLAY.");
  const std::string second = worked("[2.00] As above.");
  EXPECT_NE(second.find("[CLAY/CLAYS][CLAY]"), std::string::npos) << second;
  worked("[3.00] Loose SAND.");
  EXPECT_EQ(st.repeat_text, "[SAND/SANDS][SAND]");  // a layer without the phrase starts the repeat text afresh
}

TEST_F(SymbolWords, RunSymbolsForTheSummaryAndTheImages) {
  RGBFLAG = 1;
  RGBTEXT = std::string("\xff\0\0\x01", 4);
  worked("[1.00] Red CLAY with SANDS.");
  RGBFLAG = 3;
  RGBTEXT = std::string("\0\0\xff\x03", 4);
  worked("[2.00] Blue CLAY.");
  worked("[3.00] Blue SAND.");  // SAND found as a library name: its keyword list is already there
  EXPECT_EQ(SUMMARYKEY, "|SUMMARY|CLAY/CLAYS [CLAY]|SANDS [SAND]|");
  EXPECT_EQ(RGBLIST, "[CLAY]" + std::string("\xff\0\0\x01", 4) + "|1[SAND]" + std::string("\xff\0\0\x01", 4) + "|2");
  EXPECT_EQ(SYMBOLUSED(1), 0);  // met in two colours
  EXPECT_EQ(SYMBOLUSED(2), 0);
  worked("[4.00] Green SILTS.");
  EXPECT_EQ(SYMBOLUSED(3), 3);
  EXPECT_EQ(SUMMARYKEY, "|SUMMARY|CLAY/CLAYS [CLAY]|SANDS [SAND]|SILTS [SILT]|");
  worked("[5.00] SILT.");  // found by the library name (found 2): the entry stays as it was
  worked("[6.00] CLAYS.");  // a keyword the entry holds already
  EXPECT_EQ(SUMMARYKEY, "|SUMMARY|CLAY/CLAYS [CLAY]|SANDS [SAND]|SILTS [SILT]|");

  // Without a summary the pairs are still appended, but nothing is recorded.
  SUMMARYKEY.clear();
  RGBLIST.clear();
  EXPECT_EQ(worked("[7.00] PEAT."), "[7.00] PEAT.[PEAT/PEATS][PEAT]");
  EXPECT_EQ(RGBLIST, "");
  EXPECT_EQ(SUMMARYKEY, "");
}

TEST_F(SymbolWords, MoreThan99SymbolsAreDrawnButNotRecorded) {
  std::string table = "AS ABOVE.", line = "[1.00]";
  VOCABLIST = "|CLAY      ";
  for (int i = 1; i <= 120; ++i) {
    table += "/W" + std::to_string(i) + "X/[S" + std::to_string(i) + "].";
    line += " W" + std::to_string(i) + "X";
  }
  KEYWORDS = table + "/NOBRACKET/FOO.";  // a hand-made entry without its bracketed name
  const std::string out = worked(line + " NOBRACKET.");
  EXPECT_NE(out.find("[W120X][S120]"), std::string::npos);  // every layer still draws its symbols
  EXPECT_EQ(out.find("[NOBRACKET]"), std::string::npos);
  EXPECT_EQ(st.symbol_number, 99);
  EXPECT_NE(SUMMARYKEY.find("|W99X [S99]|"), std::string::npos);
  EXPECT_EQ(SUMMARYKEY.find("[S100]"), std::string::npos);
  EXPECT_EQ(RGBLIST.find("[S100]"), std::string::npos);
  EXPECT_EQ(SYMBOLUSED(100), 0);
  worked(line);
  EXPECT_EQ(printed->transcript.find("More than 99 soil symbols"),
            printed->transcript.rfind("More than 99 soil symbols"));  // said once
  EXPECT_NE(printed->transcript.find("More than 99 soil symbols"), std::string::npos);
  EXPECT_EQ(con->beeps, 1);
  EXPECT_EQ(trap.error_count(), 0);
  // The legend leaves symbols out: written down once.
  const std::string logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
  EXPECT_NE(logged.find("More than 99 soil symbols in this run; the legend leaves out from: [S100]\r\n"), std::string::npos)
      << logged;
}


// A layer line as long as a work-channel record holds keeps the pairs of its symbols: the text gives way.
TEST_F(SymbolWords, LongLayerKeepsItsPairs) {
  Hole h;
  h.layers = {("[1.00] Dense SAND " + std::string(40000, 'x')).substr(0, 32767)};
  write_hole("631BH1", h);
  code({"631BH1"});
  std::string text;
  PIOPEN("Dwork.1", 0);
  PIREAD(text, 1, 0);
  EXPECT_EQ(text.size(), 32767u);
  EXPECT_EQ(text.substr(text.size() - 18), "[SAND/SANDS][SAND]");
  // The end of the text that gave way is written down.
  EXPECT_NE(log().find("631BH1.TRX holds more than a sheet takes; left out: the end of long layer lines\r\n"),
            std::string::npos)
      << log();
}

}  // namespace
