// The line reader of the hole pass (FETCHNEX), the continuation lines (FETCHAST), the line kinds
// (GETLINE), the keyword and date steps, the remap of word-processor text and the SET reader AIN.
#include <gtest/gtest.h>

#include "engine/convert/convert_fixture.h"
#include "engine/setup/globals.h"

namespace {

const std::string k180(1, static_cast<char>(180));

class LineReading : public ConvertFixture {
 protected:
  void SetUp() override {
    ConvertFixture::SetUp();
    standard_characters();
  }
};

TEST_F(LineReading, MarkUpCodes) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"Firm ~CLAY", "Firm \x03" "CLAY"},
      {"`SAND and |GRAVEL", "\x01SAND and \x17GRAVEL"},
      {"line\\break {indent} here", "line\x04" "break \x06indent\x07 here"},
      {"hard^space $bold$ #cols _word", "hard\x05space \x13" "bold\x13 \x08" "cols _word"},
      {"escaped \"~ tilde and \"\\ slash", "escaped ~ tilde and \\ slash"},
      {"**Brown** clay", "\x19" "Brown\x19 clay"},
      {"two \"** stars", "two \"\x19 stars"},  // the escape character does not protect "**"
      {"  \\\\  ", "   \x14"},                   // a line of two breaks: a forced page break
      {"\\\\ more", "\x04\x04 more"},
  };
  for (const auto& k : cases) {
    open_input(std::string(k.in) + "\r\n");
    std::string line;
    FETCHNEX(CONVCHAN, line);
    EXPECT_EQ(line, k.out) << k.in;
    rt::close_all();
  }
}

TEST_F(LineReading, StarsOnOtherDevices) {
  for (std::int32_t device : {2, 3, 0}) {
    OUTDEV = device;
    open_input("**Brown** clay\r\n");
    std::string line;
    FETCHNEX(CONVCHAN, line);
    EXPECT_EQ(line, "Brown clay") << device;
    rt::close_all();
  }
}

TEST_F(LineReading, SlashLinesBecomeMarkers) {
  open_input(
      "Hole: BH1\r\n"
      "  /  \r\n"
      "1.0 Clay\r\n"
      "\t/\x1a\r\n"          // a tab and a control character round it: trimmed as the pre-scan trims
      "/ and text\r\n"
      "//\n"
      "///\r"
      "after\r\n");
  EXPECT_EQ(fetch_all(), (std::vector<std::string>{"Hole: BH1", k180, "1.0 Clay", k180, "/ and text", k180 + k180,
                                                   k180 + k180 + k180, "after"}));
}

TEST_F(LineReading, BlankLinesAreSkipped) {
  open_input("\r\n   \r\n\x0c\r\nfirst\r\n\r\n\t\r\nsecond\r\n\r\n\r\n");
  EXPECT_EQ(fetch_all(), (std::vector<std::string>{"first", "second", ""}));
  EXPECT_EQ(LINECOUNT, INFILELEN);
}

TEST_F(LineReading, VerbatimBlocks) {
  open_input(
      "Layer text\r\n"
      "    ^\r\n"
      "    a  b\r\n"
      "\r\n"
      "  cut\r\n"
      "    / kept \\ {x}\r\n"
      "    ^\r\n"
      "after ^ block\r\n");
  EXPECT_EQ(fetch_all(), (std::vector<std::string>{
                             "Layer text",
                             "   \x04" "a\x05\x05" "b\x04",  // the block's first line starts a line of its own
                             "   \x04",
                             "   t\x04",                                  // indented less: loses its start
                             "   /\x05kept\x05\\\x05{x}\x04",             // no slash marker, break and indents kept
                             "after \x05 block",
                         }));
  EXPECT_EQ(VERBATIM, 0);
}

TEST_F(LineReading, VerbatimBlockStaysOpenAcrossCalls) {
  open_input("^\r\nx y\r\n^\r\n");  // the block is closed by the last line, which is never read as text
  EXPECT_EQ(fetch_all(), (std::vector<std::string>{"   \x04x\x05y\x04", ""}));
  EXPECT_EQ(VERBATIM, 0);
  open_input("^\r\nx y\r\n");
  EXPECT_EQ(fetch_all(), (std::vector<std::string>{"   \x04x\x05y\x04"}));
  EXPECT_EQ(VERBATIM, 1);
  EXPECT_EQ(VERBATIMCOL, 1);
}

TEST_F(LineReading, EveryReadEndsAtTheEndOfTheInput) {
  struct Case {
    const char* hardsp;
    const char* break_char;
    const char* text;
  } cases[] = {
      {"", "\\", "a\r\n\r\n\r\n"},       // an empty hard-space character never toggles
      {"^", "", "a\r\n   \r\n"},         // nor does an empty break character make page breaks
      {"^", "\\", "a\r\n^\r\n"},         // the input ends with a toggle line
      {"^", "\\", "a\r\n^\r\nb\r\n^"},
      {"^", "\\", "a\r\n\x1a"},          // ends after a control character
  };
  for (const auto& k : cases) {
    HARDSPCHAR = k.hardsp;
    BREAKCHAR = k.break_char;
    VERBATIM = 0;
    open_input(k.text);
    const auto lines = fetch_all();
    EXPECT_LT(lines.size(), 5u) << k.text;
    EXPECT_EQ(LINECOUNT, INFILELEN);
    std::string line = "x";
    FETCHNEX(CONVCHAN, line);  // at the end: an empty line, also inside an open verbatim block
    EXPECT_EQ(line, "") << k.text;
    rt::close_all();
  }
  // A length that the file does not reach (a stale INFILELEN) does not make the reader spin.
  HARDSPCHAR = "^";
  VERBATIM = 0;
  open_input("a\r\n");
  INFILELEN = 1000;
  std::string line;
  FETCHNEX(CONVCHAN, line);
  FETCHNEX(CONVCHAN, line);
  EXPECT_EQ(line, "");
  ConvState st = state();
  FETCHAST(st);
  EXPECT_EQ(CONVLINE, "");
}

TEST_F(LineReading, RemapOfWordProcessorText) {
  REMAPFROM = "ab\x82";
  REMAPTO = "ba\xe9";
  std::string t = "abba \x82t\x82";
  REMAP(t);
  EXPECT_EQ(t, "baab \xe9t\xe9");
  REMAPFROM = "aa";
  REMAPTO = "xy";  // the last pair of a character wins
  t = "banana";
  REMAP(t);
  EXPECT_EQ(t, "bynyny");
  REMAPFROM = "ab";
  REMAPTO = "x";  // no partner: no change
  t = "ab";
  REMAP(t);
  EXPECT_EQ(t, "xb");

  // The reader remaps only word-processor text, after the mark-up of the break and indent characters.
  REMAPFROM = "a~";
  REMAPTO = "b!";
  open_input("a~\r\n");
  std::string line;
  FETCHNEX(CONVCHAN, line);
  EXPECT_EQ(line, "a\x03");
  rt::close_all();
  WPMODE = 1;
  open_input("a~\r\n");
  FETCHNEX(CONVCHAN, line);
  EXPECT_EQ(line, "b!");
}

TEST_F(LineReading, RemapTableFile) {
  load_remap_table();  // missing: the table stays empty
  EXPECT_EQ(REMAPFROM, "");
  dir.write("wordpad.dat", std::string("\x03\r\nabc\r\nxyz-rest", 15));
  load_remap_table();
  EXPECT_EQ(REMAPFROM, "abc");
  EXPECT_EQ(REMAPTO, "xyz");
  dir.write("wordpad.dat", std::string("\x05\r\nabc", 6));  // shorter than its count
  load_remap_table();
  EXPECT_EQ(REMAPFROM, "abc");
  EXPECT_EQ(REMAPTO, "");
  EXPECT_EQ(log(), "");
}

TEST_F(LineReading, ContinuationLines) {
  open_input(
      "1.0 Firm brown\r\n"
      "   sandy CLAY\r\n"
      "\r\n"
      "      with gravel\r\n"
      "  two blanks only\r\n"
      "2.0 Sand\r\n"
      "\tafter a tab\r\n"
      "3.0 Rock\r\n"
      "   at the end");
  ConvState st = state();
  std::vector<std::string> logical;
  while (LINECOUNT < INFILELEN && logical.size() < 10) {
    FETCHAST(st);
    logical.push_back(CONVLINE);
  }
  EXPECT_EQ(logical, (std::vector<std::string>{"1.0 Firm brown sandy CLAY with gravel", "  two blanks only",
                                               "2.0 Sand after a tab", "3.0 Rock at the end"}));
}

TEST_F(LineReading, ContinuationThroughAVerbatimBlock) {
  open_input(
      "1.0 Clay, see table:\r\n"
      "^\r\n"
      "A  B\r\n"
      "^\r\n"
      "2.0 Sand\r\n");
  ConvState st = state();
  FETCHAST(st);
  EXPECT_EQ(CONVLINE, "1.0 Clay, see table: \x04" "A\x05\x05" "B\x04");
  FETCHAST(st);  // the closing toggle line is read once only
  EXPECT_EQ(CONVLINE, "2.0 Sand");
  EXPECT_EQ(VERBATIM, 0);
}

TEST_F(LineReading, LineKinds) {
  ConvState st = state();
  st.CONVLIST[8] = "/ATTRIBUTE/";
  st.CONVLIST[2] = "/SAMPLES:/";
  st.CONVLIST[13] = "/ABBREVIATION/";
  KEYWORDS = "/ABBREVIATION/SYMB4/";
  open_input(
      "ATTRIBUTE: SPT N [WIDTH 1.2]\r\n"
      "samples: BIND FILE: x.txt\r\n"
      "Abbreviations\r\n"
      "Samples of clay: the attribute\r\n"
      "//\r\n"
      "///\r\n");
  struct Kinds {
    std::int32_t l8, l2, l13, slash2;
  } want[] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 0}, {0, 0, 0, 1}, {0, 0, 0, 1}};
  for (const auto& w : want) {
    GETLINE(st);
    EXPECT_EQ(st.ISLIST8, w.l8) << CONVLINE;
    EXPECT_EQ(st.ISLIST2, w.l2) << CONVLINE;
    EXPECT_EQ(st.ISLIST13, w.l13) << CONVLINE;
    EXPECT_EQ(st.SLASH2POS, w.slash2) << CONVLINE;
  }
}

TEST_F(LineReading, KeywordsAndDates) {
  ConvState st = state();
  struct Case {
    const char* line;
    const char* keyword;
    std::int32_t colon;
    const char* trimmed;
  } cases[] = {
      {"Job No.: 1234", "JobNo", 8, "Job No.: 1234"},
      {"  Client - name: X  ", "Clientname", 14, "Client - name: X"},
      {"Time: 10:30", "Time", 5, "Time: 10:30"},
      {"  no colon here ", "", 0, "no colon here"},
      {"a:", "", 0, "a:"},
      {" Y-Coord : 123", "YCoord", 9, "Y-Coord : 123"},
  };
  for (const auto& k : cases) {
    CONVLINE = k.line;
    PRESWORD = "old";
    FINDKEYW(st);
    EXPECT_EQ(PRESWORD, k.keyword) << k.line;
    EXPECT_EQ(st.COLONPOS, k.colon) << k.line;
    EXPECT_EQ(CONVLINE, k.trimmed) << k.line;
  }
  DATEWORD(st, "12/05/99");
  EXPECT_EQ(st.SLASHPOS, 3);
  DATEWORD(st, "1.50");
  EXPECT_EQ(st.SLASHPOS, 0);
  // A slash beyond the 16-bit range (a long pasted word) still marks the word, without an overflow.
  DATEWORD(st, std::string(40000, 'x') + "/1.0");
  EXPECT_GT(st.SLASHPOS, 0);
  EXPECT_EQ(log(), "");
}

TEST_F(LineReading, AinReadsTheValueColumns) {
  dir.write("x.set", "  ENG" + std::string(30, ' ') + "= vocabulary\r\n" + std::string(28, ' ') + "late = value\r\n" +
                         "abcdefghijklmnopqrstuvwxyz0123456789\r\n");
  SETCHAN = rt::FREEFILE();
  ASSERT_TRUE(rt::open_file(SETCHAN, "x.set", rt::FileMode::Input));
  std::string v;
  std::int32_t counter = 0;
  EXPECT_TRUE(AIN(v, counter));
  EXPECT_EQ(v, "ENG");
  EXPECT_TRUE(AIN(v, counter));
  EXPECT_EQ(v, "");  // a value in column 29 or later reads as empty
  EXPECT_TRUE(AIN(v, counter));
  EXPECT_EQ(v, "abcdefghijklmnopqrstuvwxyz01");
  EXPECT_EQ(counter, 3);
  EXPECT_FALSE(AIN(v, counter));  // the end: reported, value and counter unchanged
  EXPECT_EQ(counter, 3);
  EXPECT_NE(log().find("Error  62"), std::string::npos);
}

}  // namespace
