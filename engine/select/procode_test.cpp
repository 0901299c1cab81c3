// The hole coder: the driver over INFILE, the sections of a coded hole file, and the per-hole settings.
#include "engine/pdf/globals.h"
#include "engine/select/coder_fixture.h"
#include "engine/setup/globals.h"
#include "platform/console_scripted.h"

namespace {

class Coder : public CoderFixture {};

TEST_F(Coder, ReadsEverySectionIntoTheSheetData) {
  Hole h;
  h.name = "BH1";
  h.scale = "100";
  h.colour = ".000 .000 .627";
  h.samples1 = {"[SYMB1]D1", "[SYMB2]B_2"};
  h.samples2 = {"0.50", "1.00--1.50"};
  h.notes = {"  First  note  ", "Two columns\x08\x08here"};
  h.layers = {"[0.30]   TOPSOIL  with  roots", "\xb4", "", "[1.20] Firm _CLAY \x03X [rgb 1.000 .502 .000]"};
  h.layers_count = 3;  // the slash line does not count
  h.attributes = {"SPT N", "_W"};
  h.widths = {2, 1};
  h.records = {"[1.20]  12", "[2.00] 8 [x] 9", "[1.00] 30"};
  h.abbreviations = {"ABBREVIATIONS:", "D  Small disturbed sample"};
  write_hole("631BH1", h);
  code({"631BH1"});

  EXPECT_EQ(sheets, (std::vector<std::string>{"631BH1 BH1", "combine"}));
  EXPECT_EQ(HEADER(22), "J-631");
  EXPECT_EQ(TEXTRGB, ".000 .000 .627");
  EXPECT_EQ(SCALEDIV, 100);
  ASSERT_EQ(DSAMPCOUNT, 2);
  EXPECT_EQ(DSAMP1(2), "[SYMB2]B\x01" "2");  // underline marks become symbol-underline marks
  EXPECT_EQ(DSAMP2(2), "1.00--1.50");
  ASSERT_EQ(NOTECOUNT, 2);
  EXPECT_EQ(NOTE(1), "First note");
  EXPECT_EQ(NOTE(2), "Two columns\x04\x08\x04here");
  EXPECT_EQ(NOTECOLUMNS, 2);
  // The slash line is skipped, the empty line uses up a count: two layers of three.
  EXPECT_EQ(DESCRCOUNT, 3);
  ASSERT_EQ(LAYERCOUNT, 2);
  std::string text;
  PIOPEN("Dwork.1", 0);
  PIREAD(text, 1, 0);
  EXPECT_EQ(text, "[0.30] TOPSOIL with roots");
  PIREAD(text, 2, 0);
  // A forced line: only the marked word X is looked up; the underline mark becomes a symbol-underline
  // mark, and the blanks before both marks go.
  EXPECT_EQ(text, "[1.20] Firm\x01" "CLAY\x03X [rgb 1.000 .502 .000]");
  EXPECT_EQ(SYMBOLRGB(1), 0);
  EXPECT_EQ(SYMBOLRGB(2), 255 + 256 * 128 + 3 * 16777216);
  ASSERT_EQ(ATTRCOUNT, 2);
  EXPECT_EQ(ATTRNAME(2), "\x01W");
  EXPECT_EQ(ATTRTOTAL, 3);
  EXPECT_EQ(ATTRROWFIELDS(1), 1);
  EXPECT_EQ(ATTRROWFIELDS(2), 2);  // the bracket groups are not counted
  PIOPEN("Awork.2", 6);
  PIREAD(text, 2, 6);
  EXPECT_EQ(text, "[2.00] 8 [x] 9");  // but kept
  EXPECT_EQ(ABBRCOUNT, 1);
  EXPECT_EQ(ABBREV(1), "D  Small disturbed sample");
  EXPECT_EQ(INFILE, "");
  EXPECT_EQ(done, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(RUNFLAGS & 0x1000, 0x1000);  // a one-shot run is marked as started
  EXPECT_EQ(rt::exit_code(), 0);
  EXPECT_EQ(log(), "");
}

// "##" in any hole of the run puts every hole's texts in two columns, those coded before it too.
TEST_F(Coder, TwoColumnMarkHoldsForTheWholeRun) {
  Hole plain, marked;
  plain.notes = {"A note"};
  marked.name = "BH2";
  marked.notes = {"Every text\x08\x08 in two columns"};
  write_hole("631BH1", plain);
  write_hole("631BH2", marked);
  write_hole("631BH3", plain);
  std::vector<std::int32_t> columns;
  coder_hand_over().proforma = [&] { columns.push_back(NOTECOLUMNS); };
  code({"631BH1", "631BH2", "631BH3"});
  EXPECT_EQ(columns, (std::vector<std::int32_t>{2, 2, 2}));
  columns.clear();
  code({"631BH1", "631BH3"});  // a run without the mark: one column
  EXPECT_EQ(columns, (std::vector<std::int32_t>{0, 0}));
}

TEST_F(Coder, DriverEdgeCases) {
  write_hole("631BH1", Hole{});
  Hole h2;
  h2.name = "BH2";
  h2.notes = {"one", "\xb4\xb4"};  // the count promises more notes than come before "//"
  h2.notes_count = 5;
  h2.layers = {"[1.00] SAND"};
  write_hole("631BH2", h2);
  HOLELIST = rt::LSET("631BH2", 10) + rt::LSET("631BH1", 10);
  SUMMARYKEY = "|SUMMARY|";

  code({"631BH1", "631BH2", "631BH1", "631XYZ"}, 1);
  EXPECT_EQ(sheets, (std::vector<std::string>{"631BH1 BH1", "631BH2 BH2", "631BH1 BH1", "summary data", "631XYZ BH1",
                                              "combine"}));
  EXPECT_EQ(done, (std::vector<std::int32_t>{2, 1, 2}));
  EXPECT_NE(take_printed().find("<631XYZ.TRX> not found"), std::string::npos);
  EXPECT_EQ(rt::exit_code(), 1);  // a listed hole was not drawn
  EXPECT_NE(log().find("<631XYZ.TRX> not found"), std::string::npos);

  // The notes of BH2 ended at "//", and the layers were read from the line after it.
  code({"631BH2"});
  EXPECT_EQ(NOTECOUNT, 1);
  EXPECT_EQ(LAYERCOUNT, 1);
  EXPECT_EQ(DESCRCOUNT, 1);
  // A code not on the grid list is hole 1.
  HOLELIST.clear();
  code({"631BH2"});
  EXPECT_EQ(done, (std::vector<std::int32_t>{1}));
}

TEST_F(Coder, EmptyListMakesNothingAndAOneShotRunFails) {
  // No legend of no symbols and no joined file: either would stand in place of the target of an
  // earlier run. Nor when every listed coded file is missing.
  SUMMARYKEY = "|SUMMARY|";
  code({});
  EXPECT_TRUE(sheets.empty());
  EXPECT_NE(take_printed().find("No hole was coded"), std::string::npos);
  EXPECT_EQ(rt::exit_code(), 1);
  code({"631XYZ"});
  EXPECT_TRUE(sheets.empty());
  EXPECT_NE(take_printed().find("<631XYZ.TRX> not found"), std::string::npos);
}

TEST_F(Coder, ProgressMarksOnTheGrid) {
  // A console of 5 rows: one row per grid column (no division by zero).
  CONROWS = 5;
  PICKGRIDROW = 3, PICKGRIDCOL = 10, PICKCOLW = 14, PICKCOLX = 7;
  write_hole("631BH1", Hole{});
  write_hole("631END", Hole{});
  HOLELIST = rt::LSET("631BH1", 10) + rt::LSET("631END", 10);
  OUTDEV = 2;
  code({"631BH1", "631END"}, 0);
  EXPECT_EQ(con->row_text(3).substr(16, 5), "<   -");  // hole 1: row 3, column 10 + 7
  EXPECT_EQ(con->row_text(3).substr(30, 5), "<   -");  // hole 2: the next grid column
  EXPECT_EQ(sheets.size(), 2u);
  EXPECT_EQ(DONECOUNT, 0);
  INFILE = "631BH1 END";  // an entry ending in END is marked when opened, not when done
  PROCODE();
  EXPECT_EQ(con->row_text(3).substr(16, 5), "<====");
  EXPECT_EQ(sheets.size(), 3u);

  // The sheet works PROFILECODE out again from the header: for TP101 beside BH101 (coded file 0J1_01)
  // that is BH101's code, 0J1101. TP101 is still the hole marked done, and its number the one kept.
  write_hole("0J1101", Hole{});
  write_hole("0J1_01", Hole{});
  HOLELIST = rt::LSET("0J1101", 10) + rt::LSET("0J1_01", 10);
  coder_hand_over().proforma = [] { PROFILECODE = "0J1101"; };
  con->cls();
  DONELIST(1) = 0;
  code({"0J1_01"}, 0);
  EXPECT_EQ(con->row_text(3).substr(16, 5), "     ");
  EXPECT_EQ(con->row_text(3).substr(30, 5), "<   -");
  EXPECT_EQ(DONELIST(1), 2);
}

TEST_F(Coder, CombineQuestionFromTheMenu) {
  struct Case {
    std::string question;
    std::string typed;  // keys typed at the question
    bool joined;
  } cases[] = {
      {"Join? (Y=yes, N=no)", "y\r", true},
      {"Join? (Y=yes, N=no)", "n\r", false},
      {"Join? (Y=yes, N=no)", "\r", false},
      {"Join? (=yes)", "\r", true},  // an empty answer joins only when the question holds "(="
  };
  write_hole("631BH1", Hole{});
  for (const auto& k : cases) {
    auto c = std::make_unique<platform::ScriptedConsole>(25);
    for (char ch : k.typed) c->push_key(std::string(1, ch));
    platform::set_console(std::move(c));
    PROMPT(147) = k.question;
    sheets.clear();
    OUTLIST.clear();
    code({"631BH1"}, 0);
    EXPECT_EQ(!sheets.empty() && sheets.back() == "combine", k.joined) << k.question << " " << k.typed;
  }
  // A pass that made no PDF (no hole, or a plot file) asks nothing: the key stays unread.
  for (std::int32_t device : {1, 2}) {
    auto c = std::make_unique<platform::ScriptedConsole>(25);
    c->push_key("y");
    auto* keys = c.get();
    platform::set_console(std::move(c));
    OUTDEV = device;
    sheets.clear();
    OUTLIST.clear();
    code(device == 1 ? std::vector<std::string>{} : std::vector<std::string>{"631BH1"}, 0);
    EXPECT_EQ(keys->queued(), 1u) << device;
    EXPECT_TRUE(sheets.empty() || sheets.back() != "combine") << device;
  }
}

TEST_F(Coder, PerHoleSettings) {
  struct Case {
    const char* what;
    std::int32_t forced;
    std::string scale;
    std::vector<std::string> other;  // items 43..46, 49, 53..61
    std::int32_t scalediv, proflmargin, compress;
  } cases[] = {
      {"forced scale wins", 200, "100", {}, 200, 150, 0},
      {"scale as written", 0, "1:50", {}, 50, 150, 0},
      {"scale with blanks", 0, " 1 : 1250 ", {}, 1250, 150, 0},
      {"plain scale", 0, "75.5", {}, 76, 150, 0},
      {"no scale: the best fitting, not the last hole's", 0, "", {}, 0, 150, 0},
      {"a forced scale for a hole without one", 250, "", {}, 250, 150, 0},
      {"compression 300 moves the margin", 0, "", {"", "", "", "", "", "", "", "", "", "300"}, 0, 300, 300},
      {"compression 1300 does not", 0, "", {"", "", "", "", "", "", "", "", "", "1300"}, 0, 150, 1300},
      {"a margin beyond 32 bits keeps its value", 0, "", {"", "", "1e12", "", "", "", "", "", "", "0"}, 0, 150, 0},
  };
  PROFLMARGIN = 150;
  for (const auto& k : cases) {
    Hole h;
    h.scale = k.scale;
    for (size_t i = 0; i < k.other.size(); ++i) h.other[i] = k.other[i];
    write_hole("631BH1", h);
    FORCEDSCALE = k.forced;
    PROFLMARGIN = 150;
    take_printed();
    code({"631BH1"});
    EXPECT_EQ(SCALEDIV, k.scalediv) << k.what;
    EXPECT_EQ(PROFLMARGIN, k.proflmargin) << k.what;
    EXPECT_EQ(COMPRESSLOG, k.compress) << k.what;
    EXPECT_EQ(take_printed().find("left out") != std::string::npos, k.other.size() > 2 && k.other[2] == "1e12") << k.what;
  }
  // The setting left out is the one line of ERROR.LOG.
  const std::string logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
  EXPECT_NE(logged.find("631BH1.TRX holds more than a sheet takes; left out: setting 45\r\n"), std::string::npos) << logged;
}

TEST_F(Coder, AbbreviationsOfAHoleStayWithThatHole) {
  load_vocabulary();
  const std::string vocab_first = ABBREV(1);
  ASSERT_EQ(ABBRCOUNT, 4);
  struct Case {
    std::vector<std::string> lines;
    std::int32_t count;
    std::string first;
    bool vocab_kept;
  } cases[] = {
      {{}, 4, vocab_first, true},
      {{"TITLE"}, 1, "", false},
      {{"TITLE", "A  one", "B  two"}, 2, "A  one", false},
  };
  for (const auto& k : cases) {
    Hole own;
    own.abbreviations = k.lines;
    write_hole("631BH1", own);
    write_hole("631BH2", Hole{});
    code({"631BH1"});
    EXPECT_EQ(ABBRCOUNT, k.count);
    EXPECT_EQ(ABBREV(1), k.first);
    EXPECT_EQ(VOCABNAME.empty(), !k.vocab_kept);
    // The hole after it shows the vocabulary's table again.
    code({"631BH1", "631BH2"});
    EXPECT_EQ(ABBRCOUNT, 4);
    EXPECT_EQ(ABBREV(1), vocab_first);
    EXPECT_EQ(VOCABNAME, "PROVOCAB.ENG");
    code({});  // a fresh call: nothing of the holes before is in force
    VOCABNAME = "PROVOCAB.ENG";
    READVOCB(VOCABNAME);
  }
}

TEST_F(Coder, MissingVocabularyOfAHoleFallsBackToTheSetFiles) {
  rt::set_exit_code(0);
  load_vocabulary();
  Hole h;
  h.vocab = "XYZ";
  write_hole("631BH1", h);
  code({"631BH1"});
  const std::string out = take_printed();
  // The message line holds 78 columns of it.
  EXPECT_NE(out.find("Vocabulary file PROVOCAB.XYZ  not found; the run goes on with what it has: PRO"),
            std::string::npos)
      << out;
  EXPECT_EQ(VOCABNAME, "PROVOCAB.ENG");
  EXPECT_EQ(HEADER(38), "");
  EXPECT_EQ(con->beeps, 1);
  // The hole is not drawn as its input asks: ERROR.LOG says so, and the run ends with 1.
  EXPECT_NE(log().find("Hole BH1: Vocabulary file PROVOCAB.XYZ  not found; the run goes on with what it has: PROVOCAB.ENG"),
            std::string::npos)
      << log();
  EXPECT_EQ(rt::exit_code(), 1);
}

TEST_F(Coder, SplitfilAndCutstrin) {
  struct Split {
    std::string name, want_name, want_ext;
  } splits[] = {
      {"ENG", "PROVOCAB", "ENG"}, {"MY.VOC", "MY", "VOC"}, {"A.B.C", "A", "B.C"}, {"MINE.", "MINE", ""},
      {"", "", ""},               {" X . Y ", "X", "Y"},
  };
  for (auto k : splits) {
    std::string ext = "old";
    SPLITFIL("PROVOCAB", k.name, ext);
    EXPECT_EQ(k.name, k.want_name);
    EXPECT_EQ(ext, k.want_ext);
  }
  struct Cut {
    std::string line, want;
  } cuts[] = {
      {"[1.20]  12", "12"}, {"12 [x] 13", "12  13"}, {"[a][b] 1 [c", "1 [c"}, {"1 ]x[ 2", "1 ]x[ 2"}, {"9 ]", "9 ]"},
  };
  for (auto k : cuts) {
    CUTSTRIN(k.line);
    EXPECT_EQ(k.line, k.want);
  }
}

TEST_F(Coder, DamagedCodedFileTakesWhatFits) {
  Hole h;
  h.name = "BH1";
  for (int i = 1; i <= 150; ++i) h.samples1.push_back("[SYMB1]D" + std::to_string(i));
  for (int i = 1; i <= 150; ++i) h.samples2.push_back(std::to_string(i) + ".00");
  for (int i = 1; i <= 52; ++i) h.notes.push_back("note " + std::to_string(i));
  for (int i = 1; i <= 205; ++i) h.layers.push_back("[" + std::to_string(i) + ".00] CLAY");
  for (int i = 1; i <= 32; ++i) h.attributes.push_back("A" + std::to_string(i));
  for (int i = 1; i <= 32; ++i) h.widths.push_back(i == 1 ? 1999 : 1);
  for (int i = 1; i <= 2030; ++i) h.records.push_back("[1] " + std::to_string(i));
  h.abbreviations = {"TITLE"};
  for (int i = 1; i <= 33; ++i) h.abbreviations.push_back("X" + std::to_string(i));
  h.other[2] = "77";
  write_hole("631BH1", h);
  Hole next;
  next.name = "BH2";
  next.layers = {"[1.00] SAND"};
  write_hole("631BH2", next);

  code({"631BH1"});
  EXPECT_EQ(DSAMPCOUNT, 140);
  EXPECT_EQ(DSAMP2(140), "140.00");
  EXPECT_EQ(NOTECOUNT, 50);
  EXPECT_EQ(LAYERCOUNT, 200);
  EXPECT_EQ(ATTRCOUNT, 2);  // the first 2000 records belong to the first two attributes
  EXPECT_EQ(ATTRWIDTH(2), 1);
  EXPECT_EQ(ATTRTOTAL, 2000);
  EXPECT_EQ(ATTRROWFIELDS(2000), 1);
  EXPECT_EQ(ABBRCOUNT, 30);
  EXPECT_EQ(ABBREV(30), "X30");
  EXPECT_EQ(PROFLMARGIN, 77);  // the settings after the surplus lines are read in step
  const std::string out = take_printed();
  // Once, on the message line (78 columns of it).
  const std::string said = "631BH1.TRX holds more than a sheet takes; left out: samples, notes, layers, at";
  ASSERT_NE(out.find(said), std::string::npos) << out;
  EXPECT_EQ(out.find(said, out.find(said) + 1), std::string::npos) << out;
  // Written down whole, once; what is left out ends the run with 1.
  const std::string logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
  EXPECT_NE(logged.find("631BH1.TRX holds more than a sheet takes; left out: samples, notes, layers, attributes, attribute "
                        "lines, abbreviations\r\n"),
            std::string::npos)
      << logged;
  EXPECT_EQ(rt::exit_code(), 1);

  code({"631BH1", "631BH2"});
  EXPECT_EQ(sheets.back(), "combine");
  EXPECT_EQ(sheets[sheets.size() - 2], "631BH2 BH2");
  EXPECT_EQ(LAYERCOUNT, 1);
  EXPECT_EQ(box.texts.size(), 0u);  // no untrapped error
}

TEST_F(Coder, ColourMarkers) {
  struct Case {
    std::string line;
    std::int16_t flag;
    std::int32_t rgb;  // red + 256 green + 65536 blue
  } cases[] = {
      {"[1.00] CLAY [RGB 1 0 0]", 1, 255},
      {"[1.00] CLAY [Rgb .5,.5,.5]", 2, 128 + 256 * 128 + 65536 * 128},  // 127.5 rounds to the even 128
      {"[1.00] CLAY [rgb .000 .502 1.000]", 3, 256 * 128 + 65536 * 255},
      {"[1.00] CLAY [rgb 0 0 1", 3, 65536 * 255},      // unclosed: the rest of the line
      {"[1.00] CLAY", 0, 0},
      {"[1.00] CLAY [RGB]", 0, 0},                     // left as written by the conversion: no colour
      {"[1.00] CLAY [rgb 1 2]", 0, 0},
      {"[1.00] CLAY [rgb 40000 0 0]", 3, 255},         // clamped, nothing spills into green
      {"[1.00] CLAY [rgb 90 90 100 (left open) [SYMB1] x", 0, 0},
  };
  for (const auto& k : cases) {
    rt::Trap trap("procode.cpp", "PROCODE");
    CoderState st(trap);
    st.L = k.line;
    st.layer = 7;
    GETRGB(st);
    EXPECT_EQ(RGBFLAG, k.flag) << k.line;
    EXPECT_EQ(SYMBOLRGB(7), k.rgb + 16777216 * k.flag) << k.line;
    const std::int32_t packed = SYMBOLRGB(7);
    EXPECT_EQ(RGBTEXT, std::string({static_cast<char>(packed & 255), static_cast<char>((packed >> 8) & 255),
                                    static_cast<char>((packed >> 16) & 255), static_cast<char>(packed >> 24)}))
        << k.line;
    EXPECT_EQ(trap.error_count(), 0) << k.line;
  }
  std::string four = "a    b";
  EXBLANK(four, "  ");
  EXPECT_EQ(four, "a b");
  EXBLANK(four, "");
  EXPECT_EQ(four, "a b");
}

}  // namespace
