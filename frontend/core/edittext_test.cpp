// Tests of the text editor's pieces without a form: the bytes and the box, the block-structure check,
// the templates and the menus' texts.
#include "edittext.h"

#include <gtest/gtest.h>

#include <sstream>

#include "editcheck.h"
#include "edittemplates.h"
#include "testsupport.h"

namespace quorvel {
namespace {

TEST(EditText, BytesAndTheBoxMapBothWays) {
  // a \n b \r c \r\n d: a lone LF and a lone CR show as their marks, the pair as a line break.
  const std::string bytes = "a\nb\rc\r\nd";
  const std::u16string shown = u"a\u240Ab\u240Dc\nd";
  EXPECT_EQ(ToDisplay(bytes), shown);
  BoxBytes back = FromDisplay(shown);
  EXPECT_EQ(back.bytes, bytes);
  EXPECT_FALSE(back.foreign);
  // The box's paragraph separator is a line break too; every byte 1..255 but CR LF survives.
  EXPECT_EQ(FromDisplay(u"x\u2029y").bytes, "x\r\ny");
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(FromDisplay(ToDisplay(all)).bytes, all);
  EXPECT_EQ(ToDisplay("\x80\x92\xE9"), u"\u20AC\u2019\u00E9");

  struct Pos {
    long display, byte;
  } positions[] = {{0, 0}, {1, 1}, {4, 4}, {5, 5}, {6, 7}, {7, 8}};
  for (const Pos& p : positions) {
    EXPECT_EQ(DisplayToByte(bytes, p.display), p.byte) << p.display;
    EXPECT_EQ(ByteToDisplay(bytes, p.byte), p.display) << p.byte;
  }
  EXPECT_EQ(ByteToDisplay(bytes, 6), 5);  // between CR and LF: the line break's place

  // A character the code page cannot hold becomes "?" and is reported with its line.
  BoxBytes f = FromDisplay(u"ok\nsee \u0105 and \u4E2D");
  EXPECT_EQ(f.bytes, "ok\r\nsee ? and ?");
  ASSERT_TRUE(f.foreign);
  EXPECT_EQ(*f.foreign, U'\u0105');
  EXPECT_EQ(f.foreign_line, 2);
}

// UTF-8 text (input-box answers, the front end's own strings) as Windows-1252 bytes: a character the
// code page cannot hold, and a byte that is no UTF-8, each become one "?".
TEST(EditText, Utf8ToWindows1252) {
  struct Case {
    const char* what;
    std::string utf8, bytes;
  } cases[] = {
      {"ASCII", "SAND 0.5", "SAND 0.5"},
      {"Latin-1 and the euro", "caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 \x80"},
      {"beyond the code page", "\xE2\x86\x92x", "?x"},
      {"beyond 16 bits is one character", "a\xF0\x9F\x98\x80" "b", "a?b"},
      {"a lone continuation byte", "a\x80" "b", "a?b"},
      {"cut short at the end", "a\xC3", "a?"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToCp1252(c.utf8), c.bytes) << c.what;
}

TEST(EditText, NameCase) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"2nd", "2Nd"},
               {"o'neil", "O'neil"},
               {"SMITH-JONES mc", "Smith-Jones Mc"},
               {"\xE9" "COLE \xC9T\xC9", "\xC9" "cole \xC9t\xE9"},
               {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(Proper(c.in), c.out) << c.in;
}

TEST(EditCheck, LayerLineNumbers) {
  struct Case {
    const char* line;
    bool number;
  } cases[] = {{"2.5  SAND", true}, {" 2.5 x", true}, {"10 y", true}, {"2,5 z", true}, {"4+ end", true},
               {"3.4+ end", true},  {"-1 x", true},   {".5 x", true},  {"Sand", false}, {"+ x", false},
               {". x", false},      {"1-2", false},   {"10m", false}};
  for (const Case& c : cases) EXPECT_EQ(StartsWithNumber(c.line), c.number) << c.line;
}

TEST(EditCheck, FaultsAndWhereTheCursorGoes) {
  struct Case {
    const char* name;
    std::string text;
    std::string message;
    std::string label;
    long sel_start;
  } cases[] = {
      {"empty text", "", "End-of-data Triple Slash /// not found before end of file.", "Hole 1", 0},
      {"third slash", "H\r\n/\r\n1 a\r\n/\r\nn\r\n/\r\n",
       "Unexpected Single Slash / at cursor!\nWe expected an End-of-hole Double Slash // next.", "Hole 1", 17},
      {"double slash after the header", "H\r\n//\r\n",
       "Unexpected Double Slash // at cursor!\nWe expected a Start-of-layers Single Slash / next.", "Hole 1", 3},
      {"double slash after the layers", "H\r\n/\r\n//",
       "Unexpected Double Slash // at cursor!\nWe expected a Start-of-Notes Single Slash / next.", "Hole 1", 6},
      {"triple slash in the notes", "/\r\n/\r\n///\r\n",
       "Unexpected End-of-data Triple Slash /// at cursor!\nWe expected an End-of-hole Double Slash // next.",
       "Hole 1", 6},
      {"triple slash with blanks in the layers", "/\r\n  ///  \r\n",
       "Unexpected End-of-data Triple Slash /// at cursor!\nWe expected a Start-of-Notes Single Slash / next.",
       "Hole 1", 7},
      {"hole named by its header", "Hole No : BH 12\r\n//",
       "Unexpected Double Slash // at cursor!\nWe expected a Start-of-layers Single Slash / next.", "Hole No : BH 12",
       17},
      {"second hole", "/\r\n/\r\n//\r\nHole Number   : BH02\r\n/\r\n",
       "Start-of-Notes second Single Slash / not found before end of file.", "Hole Number : BH02", 33},
      {"end in the layers", "/\r\n1 x\r\n", "Start-of-Notes second Single Slash / not found before end of file.",
       "Hole 1", 6},
      {"end in the notes", "/\r\n/\r\nnote", "End-of-hole Double Slash // not found before end of file.", "Hole 1",
       10},
  };
  for (const Case& c : cases) {
    BlockCheck r = CheckBlockStructure(c.text);
    EXPECT_TRUE(r.fault) << c.name;
    EXPECT_EQ(r.message, c.message) << c.name;
    EXPECT_EQ(r.hole_label, c.label) << c.name;
    EXPECT_EQ(r.sel_start, c.sel_start) << c.name;
  }
}

TEST(EditCheck, CorrectStructures) {
  struct Case {
    const char* name;
    std::string text;
    long holes;
    std::string unnumbered;
  } cases[] = {
      {"only the end of data", "///", 0, ""},
      {"the skeleton", Skeleton(), 1, ""},
      {"lines after the end are not read", "///\r\n/\r\n//\r\n", 0, ""},
      {"a slash with blanks", "  /  \r\n/\r\n//\r\n///", 1, ""},
      {"layer lines", "/\r\nSand\r\n\tcont\r\n   three\r\n 2.5 x\r\n10 y\r\n\r\n2,5 z\r\n4+ end\r\n"
                      "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\r\n  two\r\n/\r\n//\r\n///",
       1, "\nHole 1, Line 2: Sand\nHole 1, Line 10: ABCDEFGHIJKLMNOPQRSTUVWXYZ0123\nHole 1, Line 11: two"},
      {"three holes, named", "Hole Number : A\r\n/\r\n/\r\n//\r\nHoleNo: B\r\n/\r\nx\r\n/\r\n//\r\n/\r\n/\r\n//\r\n///",
       3, "\nHoleNo: B, Line 7: x"},
  };
  for (const Case& c : cases) {
    BlockCheck r = CheckBlockStructure(c.text);
    EXPECT_FALSE(r.fault) << c.name << ": " << r.message;
    EXPECT_EQ(r.state, 3) << c.name;
    EXPECT_EQ(r.holes, c.holes) << c.name;
    EXPECT_EQ(r.unnumbered, c.unnumbered) << c.name;
  }
}

// What the check takes for input of a hole after "///", and what for a comment.
TEST(EditCheck, HoleInputAndComments) {
  struct Case {
    const char* line;
    bool input;
  } cases[] = {
      {"/", true},
      {"  // ", true},
      {"///", false},  // a second end of data loses nothing
      {"2.5   Firm CLAY.", true},
      {"10 Rock", true},
      {"3.4+  Refusal.", true},
      {"Hole Number   : BH02", true},
      {"Job No. : 1234", true},
      {"Y-Coord: 10", true},
      {"\tClient\t:", true},
      {"NOTES: ", true},
      {"Remarks", true},
      {"ATTRIBUTE: SPT N", true},
      {"attribute ::", true},
      {"SAMPLES: BIND FILE: s.txt", true},
      {"Abbreviations", true},
      {"", false},
      {"   ", false},
      {"The /// above marks the end of the File.", false},
      {"Further text is not processed.", false},
      {"Comments and the name of the text file may be placed here for reference: ", false},
      {"Examples.TXT - the example input file of the front end.", false},
      {"Notes on this job: see the report", false},
      {"File: job.txt", false},
      {"   2.5 indented", false},
      {"-- a rule", false},
      {"/ and // end the blocks", false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeHoleInput(c.line), c.input) << c.line;
}

// Every header keyword of the shipped conversion vocabulary reads as a header line after "///".
TEST(EditCheck, HeaderKeywordsAreTheVocabularys) {
  std::istringstream in(testing_support::read_file(testing_support::data_dir() / "CONVOCAB.ENG"));
  std::string line;
  while (std::getline(in, line) && line.rfind("BEGIN", 0) != 0) {
  }
  int words = 0;
  while (std::getline(in, line) && line.rfind("END", 0) != 0) {
    std::istringstream entry(line.substr(0, line.find('<')));
    std::string word;
    while (std::getline(entry, word, '/')) {
      if (word.empty()) continue;
      ++words;
      EXPECT_TRUE(LooksLikeHoleInput(word + " : x")) << word;
    }
  }
  EXPECT_GT(words, 100);
}

TEST(EditCheck, OrphanLineEnds) {
  EXPECT_FALSE(HasOrphanLineEnds("a\r\nb\r\n"));
  EXPECT_TRUE(HasOrphanLineEnds("a\nb"));
  EXPECT_TRUE(HasOrphanLineEnds("a\r"));
  EXPECT_EQ(RemoveOrphanLineEnds("a\nb\r\nc\rd\n\r\n\r"), "ab\r\ncd\r\n");
}

TEST(EditTemplates, SkeletonAndBlocks) {
  const std::string sk = Skeleton();
  EXPECT_EQ(std::count(sk.begin(), sk.end(), '\n'), 43);  // 44 lines, none after the last
  EXPECT_EQ(sk.rfind("In the header block any line without a colon can be used as a comment.\r\n" + std::string(69, '-') +
                        "\r\nClient        : \r\n",
                    0),
            0u);
  EXPECT_NE(sk.find("\r\n0.5   Silty SAND.\r\n2     Second Layer ~as~above.\r\n"), std::string::npos);
  const std::string last = "\r\nComments and the name of the text file may be placed here for reference: ";
  EXPECT_EQ(sk.substr(sk.size() - last.size()), last);

  struct Case {
    int index;
    std::string before;
    std::string starts;
    std::string ends;
    int lines;  // line ends in the template
  } cases[] = {
      {0, "", "In the header block any line without a colon", "\r\nthen add /// to mark the end of the File.\r\n", 44},
      {1, "", "In the header block any line without a colon can be used as a comment.\r\n" + std::string(69, '-') +
                  "\r\nComplete the lines that end in a colon\r\nClient        : \r\n",
       "start of the Notes block.\r\n/ \r\n", 24},
      {1, "x\r\n//\r\n", "\r\nHole Number   : BH02\r\nGround level  : \r\n", "\r\n/ \r\n", 10},
      {2, "", "", "", 0},
      {3, "", "\r\n/ \r\nNOTES: \r\nWater table encountered at 3.0m\r\n", "Disturbed sample DS01 3.1--3.4m\r\n", 9},
      {4, "", "", "", 0},
      {5, "", "\r\nATTRIBUTE ::\r\n\r\nFAB: ROCK FABRIC AND GRAIN\r\n",
       "|      |MG  |    |40-60  |WJ  |RJ  |Stained |    |    |    |\r\n", 25},
      {6, "", "\r\n//\r\nThe // above marks the end of the Hole.\r\n",
       "Repeat the block structure above for as many holes as required.\r\n", 4},
      {7, "", "\r\n/// \r\nThe /// above marks the end of the File.\r\nFurther text is not processed.\r\n",
       "may be placed here for reference: \r\n", 5},
      {8, "", "", "", 0},
  };
  for (const Case& c : cases) {
    std::string t = BlockTemplate(c.index, c.before);
    EXPECT_EQ(t.substr(0, c.starts.size()), c.starts) << c.index;
    EXPECT_GE(t.size(), c.ends.size()) << c.index;
    if (t.size() >= c.ends.size()) {
      EXPECT_EQ(t.substr(t.size() - c.ends.size()), c.ends) << c.index;
    }
    EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), c.lines) << c.index;
  }
  // "Typed by" stands twice in the full block; the full block and the end-of-file marker make one hole.
  std::string full = BlockTemplate(0, "");
  EXPECT_NE(full.find("Typed by      : \r\nContractor"), std::string::npos);
  EXPECT_NE(full.find("Diameter      : \r\nTyped by      : \r\n\r\n"), std::string::npos);
  BlockCheck r = CheckBlockStructure(full + BlockTemplate(7, full));
  EXPECT_FALSE(r.fault) << r.message;
  EXPECT_EQ(r.holes, 1);
  EXPECT_EQ(r.unnumbered, "");
}

TEST(EditTemplates, DialogueLinesBeginWithTheDepth) {
  struct Case {
    const char* depth;
    const char* text;
    std::string layer, attribute;
  } cases[] = {
      {"1", "Clay", "1     Clay.\r\n", "1     : Clay\r\n"},
      {"10", "Sand.", "10    Sand.\r\n", "10    : Sand.\r\n"},
      {"1.5", " Gravel ", "1.5   Gravel.\r\n", "1.5   :  Gravel \r\n"},
      {"4+", "End", "4+    End.\r\n", "4+    : End\r\n"},
      {"1.2", "12", "1.2   12.\r\n", "1.2   : 12\r\n"},
      {"@1.2", "5", "@1.2  5.\r\n", "@1.2  : 5\r\n"},
      {" 12.50 ", "x", "12.50 x.\r\n", "12.50 : x\r\n"},
      {"123456", "x", "123456 x.\r\n", "123456: x\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayerLine(c.depth, c.text), c.layer) << c.depth;
    EXPECT_EQ(AttributeLine(c.depth, c.text), c.attribute) << c.depth;
    // Never a continuation line: no three leading blanks.
    EXPECT_NE(c.layer.substr(0, 3), "   ");
  }
  EXPECT_EQ(AttributeName("^1"), "SPT N [WIDTH 1.2]");
  EXPECT_EQ(AttributeName("^3"), "% RQD [WIDTH=,8] [GRAPH 100 PLUS NUMBERS]");
  EXPECT_EQ(AttributeName("Moisture %"), "Moisture %");
}

TEST(EditTemplates, CharactersByCode) {
  struct Case {
    const char* answer;
    std::optional<std::string> text;
  } cases[] = {
      {"65", std::string("A")},
      {"65-70", std::string("ABCDE\r\nF")},
      {"233", std::string("\xE9")},
      {"255", std::string("\xFF")},
      {"32", std::string(" ")},
      {"118-121", std::string("vw\r\nxy")},
      {"31", std::nullopt},
      {"256", std::nullopt},
      {"300", std::nullopt},
      {"1-999999999", std::nullopt},
      {"65-256", std::nullopt},
      {"abc", std::nullopt},
      {"0", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(CharactersByCode(c.answer), c.text) << c.answer;
}

TEST(EditTemplates, SetFileMarkupCharacters) {
  const std::string head = "A comment\r\nBEGIN\r\nPROMPTS.ENG = prompts\r\nEND\r\n1 0 0 1 0 0 cm = logo\r\nmore\r\nBEGIN\r\n"
                           "0 = sequence\r\nENG = vocabularies\r\n";
  struct Case {
    const char* name;
    std::string second_block;  // from item 2 on
    std::string captions;      // first character of items 0..12, "-" for a disabled item
  } cases[] = {
      {"the standard characters", "`\r\n~\r\n\\\r\n^\r\n{\r\n}\r\n\"\r\n$\r\n#\r\n_\r\n|\r\nEND\r\n", "|_`~\\^{}\"$#[^"},
      {"other characters", "@ = sym\r\n*\r\n/\r\n+\r\n<\r\n>\r\n'\r\n%\r\n&\r\n=\r\n!\r\nEND\r\n", "!=@*/+<>'%&[^"},
      {"an old file without items 11 and 12", "`\r\n~\r\n\\\r\n^\r\n{\r\n}\r\n\"\r\n$\r\n#\r\nEND\r\n",
       "--`~\\^{}\"$#[^"},
      {"blank items", "`\r\n~\r\n\\\r\n\r\n{\r\n}\r\n  \r\n$\r\n#\r\n_\r\n\r\nEND\r\n", "-_`~\\-{}-$#[^"},
      {"the file ends early", "`\r\n~", "|_`~\\^{}\"$#[^"},
  };
  for (const Case& c : cases) {
    auto items = DesignSymbolItems();
    ReadSetFileSymbols(head + c.second_block, items);
    std::string got;
    for (const SymbolItem& s : items) got += s.enabled ? s.caption.substr(0, 1) : "-";
    EXPECT_EQ(got, c.captions) << c.name;
  }
  auto items = DesignSymbolItems();
  ReadSetFileSymbols(head + "@\r\n", items);
  EXPECT_EQ(items[2].caption, "@ = Underline next &Keyword");
  EXPECT_EQ(SymbolInsertText(11, items[11].caption), "[ ]");
  EXPECT_EQ(SymbolInsertText(12, items[12].caption), "\r\n    ^\r\n");
  EXPECT_EQ(SpecialLetterCaptions().size(), 31u);
  EXPECT_EQ(SpecialLetterCaptions()[27], "\x87 (used for not-equal)");
}

}  // namespace
}  // namespace quorvel
