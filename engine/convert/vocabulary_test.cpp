// The shipped conversion vocabulary CONVOCAB.ENG and paint library PAINTLIB.ENG: they load without a
// report, and they recognise what the front end's skeleton and templates write (header keywords,
// notes and samples, attribute options, colour markers) and what field engineers commonly write.
#include <gtest/gtest.h>

#include <set>

#include "engine/convert/convert_fixture.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"

namespace {

class ShippedVocabulary : public ConvertFixture {
 protected:
  void SetUp() override {
    ConvertFixture::SetUp();
    copy_data({"CONVOCAB.ENG", "PAINTLIB.ENG", "PROVOCAB.ENG", "PROLIB.DAT"});
    READVOCB("PROVOCAB.ENG");
    st = state();
    st.CONVEXTS = "ENG";
    FETCHVOC(st);
  }
  // The header field a header line fills, found as the job header finds it: the keyword (FINDKEYW)
  // as a whole entry of the keyword block, then the number after the next "<". 0 when unknown.
  int field_of(const std::string& line) {
    CONVLINE = line;
    FINDKEYW(st);
    if (st.COLONPOS < 1) return -1;
    const long p = rt::INSTR(st.CONVBLOCK, "/" + rt::LCASE(PRESWORD) + "/");
    if (p == 0) return 0;
    const long lt = rt::INSTR(p, st.CONVBLOCK, "<");
    return lt > 0 ? static_cast<int>(rt::VAL(rt::MID(st.CONVBLOCK, lt + 1, 2))) : 0;
  }
  // The kind mark a note gets as a sample note, by the rules of the sample scan; "-" when the note is
  // no sample note at all.
  std::string note_kind(const std::string& note) {
    const std::string low = rt::LCASE(note);
    const auto& L = st.CONVLIST;
    if (FNPRES(low, VOCABNAME) > 0) return "-";
    if (FNPRES(low, L[5]) == 0 && FNPRES(low, st.CONVALL) == 0) return "-";
    std::string kind = PRESSYMB;
    if (FNPRES(low, L[3]) > 0) {
      kind = "[SYMB1]";
      if (FNPRES(low, L[4]) > 0) kind = "[SYMB2]";
    } else if (FNPRES(low, L[5]) > 0) {
      kind = "[SYMB4]";
      if (FNPRES(low, L[6]) > 0) kind = "[SYMB3]";
      else if (FNPRES(low, L[7]) > 0) kind = "[SYMB5]";
    } else if (FNPRES(low, st.CONVALL) > 0 && FNPRES(low, L[17]) > 0) {
      kind = "[SYMB9]";
    }
    return kind;
  }
  ConvState st;
};

TEST_F(ShippedVocabulary, LoadsWithoutAReport) {
  EXPECT_EQ(log(), "");
  EXPECT_EQ(st.WARNFLAG, 0);
  EXPECT_EQ(printed->transcript.find("not found"), std::string::npos);
  // The fields emptied before every hole: ground level, inclination, hole type, top depth, X and Y.
  std::set<int> codes;
  for (int i = 1; i <= st.CONVCODECOUNT; ++i) codes.insert(st.CONVCODE(i));
  EXPECT_EQ(codes, (std::set<int>{8, 19, 21, 58, 60, 61}));
  EXPECT_EQ(rt::INSTR(st.CONVBLOCK, "//"), 0) << "an empty keyword would find an entry";
  for (int n : {1, 2, 5, 8, 9, 10, 11, 12, 13, 18, 19, 20}) {
    ASSERT_FALSE(st.CONVLIST[static_cast<size_t>(n)].empty()) << n;
    EXPECT_EQ(st.CONVLIST[static_cast<size_t>(n)].front(), '/') << n;
    EXPECT_EQ(st.CONVLIST[static_cast<size_t>(n)].back(), '/') << n;
  }
  EXPECT_EQ(CONVWORDS, "/[rgb/[paint/[colour/[color/");
}

TEST_F(ShippedVocabulary, HeaderKeywords) {
  struct Case {
    const char* line;
    int field;
  } cases[] = {
      // the front end's skeleton and header template
      {"Client        : ", 5},       {"Job Title     : ", 1},     {"Job Number    : ", 22},
      {"Contractor    : ", 2},       {"Drilling Machine: ", 13},  {"Machine       : ", 13},
      {"Date Drilled  : ", 11},      {"Profiled by   : ", 14},    {"Date profiled : ", 54},
      {"Diameter      : ", 4},       {"Typed by      : ", 55},    {"Hole Number   : BH01", 20},
      {"Ground level  : ", 8},       {"Orientation   : ", 19},    {"Y-Coord       : ", 61},
      {"X-Coord       : ", 60},
      // other common ways to write them
      {"Job No.: 1234", 22},         {"Job-No : 1234", 22},       {"JOBNO: 1234", 22},
      {"Hole No: TP3", 20},          {"Borehole: BH12", 20},      {"Trial pit: TP1", 20},
      {"BH No.: BH12", 20},          {"TP No: TP3", 20},          {"WS No.: WS1", 20},
      {"Hole ref: BH4", 20},         {"Exploratory hole: TP2", 20},
      {"Site: Riverside", 6},        {"Location: north bank", 7}, {"Logged by: AB", 14},
      {"Checked by: CD", 17},        {"Approved by: EF", 18},     {"Date: 12/05/2026", 11},
      {"Date started: 1 May", 11},   {"Date completed: 3 May", 12}, {"Method: cable percussion", 13},
      {"Inclination: 90", 19},       {"Elevation: 12.5", 8},      {"GL: 12.5 mOD", 8},
      {"Easting: 512300", 60},       {"Northing: 180200", 61},    {"Status: DRAFT", 9},
      {"Type: Trial pit", 21},       {"Scale: 50", 3},            {"Top depth: 10.5", 58},
      {"Project: Highway works", 1}, {"Bezier: 3", 62},           {"Colour: [rgb 0 0 255]", 63},
      {"Profile left margin: 100", 45}, {"Log right margin: 20", 44}, {"Suppress: 101", 49},
      {"Indent: 4", 53},             {"Compress: 2", 57},         {"Symbol dpi: 300", 59},
      {"Vocabulary: PROVOCAB.AFR", 38},
      // not keywords
      {"Weather: fine", 0},          {": value only", 0},         {"The next / marks the end of the header block", -1},
  };
  for (const auto& k : cases) EXPECT_EQ(field_of(k.line), k.field) << k.line;
}

TEST_F(ShippedVocabulary, NotesAndSamples) {
  struct Case {
    const char* note;
    const char* kind;
  } cases[] = {
      // the front end's skeleton and notes template
      {"Water table encountered at 1.0m", "[SYMB7]"},
      {"Perched water table at 2m.", "[SYMB7]"},
      {"Water strike at 1m, 21/12.", "[SYMB6]"},
      {"Chemical sample CS01 taken at 2.3m", "[SYMB4]"},
      {"Sample US1 taken at ", "[SYMB3]"},
      {"Undisturbed Sample US1 taken at ", "[SYMB3]"},
      {"Disturbed sample DS01 at ", "[SYMB1]"},
      {"Disturbed sample DS01 3.1--3.4m", "[SYMB1]"},
      // other common notes
      {"Small disturbed sample D4 at 0.5m", "[SYMB1]"},
      {"Bulk sample B1 at 1.50m", "[SYMB2]"},
      {"Bulk disturbed sample B2 1.0--1.5m", "[SYMB2]"},
      {"U100 sample U1 at 2.0--2.45m", "[SYMB3]"},
      {"Water sample W1 at 2.1m", "[SYMB5]"},
      {"Seepage at 1.2m", "[SYMB8]"},
      {"Standing water level 1.1m after 20 minutes", "[SYMB7]"},
      {"Core run 1 from 2.0--3.5m", "[SYMB9]"},
      {"Pit walls stable; no groundwater encountered", "-"},
      {"Hole terminated at 3.4m on rock", "-"},
      {"Excavated with a JCB 3CX", "-"},
      {"SAMPLES: BIND FILE: bh1samples.txt", "-"},  // the attached-file line
  };
  for (const auto& k : cases) EXPECT_EQ(note_kind(k.note), k.kind) << k.note;

  // The notes heading, and the words that start the blocks of the notes part.
  std::string heading = "NOTES: ";
  heading = rt::TRIM(heading);
  STRIPPLU(heading);
  EXPECT_GT(FNPRES(rt::UCASE(heading), st.CONVLIST[1]), 0);
  EXPECT_EQ(FNPRES(rt::UCASE("water table at 1.0m"), st.CONVLIST[1]), 0);
  struct Start {
    const char* line;
    int list;  // the list the line begins with, 0 for none
  } starts[] = {
      {"ATTRIBUTE: SPT N [WIDTH 1.2]", 8},
      {"ATTRIBUTE ::", 8},
      {"SAMPLES:", 2},
      {"Samples: BIND FILE: bh1samples.txt", 2},
      {"ABBREVIATIONS:", 13},
      {"NOTES:", 0},
      {"Samples taken at 1.0m and 2.0m", 0},
      {"To add Borehole Log columns, select this line and use Insert (menu) > Borehole Log Attribute.", 0},
  };
  for (const auto& k : starts) {
    int found = 0;
    for (int n : {8, 2, 13})
      if (FNPRES(rt::UCASE(k.line), st.CONVLIST[static_cast<size_t>(n)]) == 1) found = n;
    EXPECT_EQ(found, k.list) << k.line;
  }
  EXPECT_GT(FNPRES("Samples: BIND FILE: bh1samples.txt", VOCABNAME), 0);
}

TEST_F(ShippedVocabulary, AttributeOptionsAndColours) {
  // For each declaration: the options its words name, as the attribute pass appends them, in the
  // fixed order graph (with its value), inverse, log, file, width (with its value), drawing, numbers.
  auto options = [&](const std::string& line) {
    std::string out;
    const auto& L = st.CONVLIST;
    std::string value;
    if (const std::int32_t f = FNPRES(line, L[9]); f > 0) {
      NEXTVALU(f, line, value);
      out += "G=" + value + " ";
      if (FNPRES(line, L[10]) > 0) out += "I ";
      if (FNPRES(line, L[20]) > 0) out += "LOG ";
    }
    if (FNPRES(line, VOCABNAME) > 0) out += "FILE ";
    if (const std::int32_t f = FNPRES(line, L[12]); f > 0) {
      NEXTVALU(f, line, value);
      out += (FNPRES(line, L[19]) > 0 ? "M=" : "C=") + value + " ";
    }
    if (FNPRES(line, L[18]) > 0) out += "DR ";
    if (FNPRES(line, L[11]) > 0) out += "+N ";
    if (FNPRES(line, CONVWORDS) > 0) out += "colour ";
    return rt::TRIM(out);
  };
  struct Case {
    const char* line;
    const char* options;
  } cases[] = {
      {"ATTRIBUTE: SPT N [WIDTH 1.2]", "C=1.2"},
      {"ATTRIBUTE: %^CORE RECO- VERED [GRAPH][PAINT cyan]", "G=0 colour"},
      {"ATTRIBUTE: % RQD [WIDTH=,8] [GRAPH 100 PLUS NUMBERS]", "G=100 C=.8 +N"},
      {"WEA: WEATH- ERING       [GRAPH = 100 ] [ WIDTH 0.8] [INVERSE]", "G=100 I C=.8"},
      {"FIL: JOINT FILLING      [COL WIDTH 1.4]", "C=1.4"},
      {"HAR: ROCK HARD- NESS      [ WIDTH ,8]", "C=.8"},
      {"ATTRIBUTE: CPT qc [GRAPH 20 LOGARITHMIC] [DATA FILE]", "G=20 LOG FILE"},
      {"ATTRIBUTE: Casing [WIDTH 300 DOTS] [DRAWING]", "M=300 DR"},
      {"ATTRIBUTE: Moisture [rgb 0 0 255]", "colour"},
      {"ATTRIBUTE: SPT N", ""},
      {"ATTRIBUTE: Weathering grade", ""},
  };
  for (const auto& k : cases) EXPECT_EQ(options(k.line), k.options) << k.line;

  struct Marker {
    const char* in;
    const char* out;
  } markers[] = {
      {"[PAINT cyan]", "[RGB .000 1.000 1.000]"},
      {"Firm [paint brown] CLAY", "Firm [rgb .588 .294 .000] CLAY"},
      {"SAND [Paint light grey]", "SAND [Rgb .827 .827 .827]"},
      {"[colour water]", "[rgb .000 .502 1.000]"},
      {"[Color 250]", "[Rgb .373 .373 .373]"},
      {"[rgb 255 128 0]", "[rgb 1.000 .502 .000]"},
      {"[COL WIDTH 1.4]", "[COL WIDTH 1.4]"},
  };
  for (const auto& k : markers) {
    std::string t = k.in;
    if (FNPRES(t, CONVWORDS) > 0) INSERTRG(t);
    EXPECT_EQ(t, k.out) << k.in;
  }
}

TEST_F(ShippedVocabulary, EveryPaintIsAColour) {
  // Each entry: "/" name "=" three numbers 0..255 or one index 1..255, ".".
  std::string paints = PAINTWORDS;
  int count = 0;
  for (long p = rt::INSTR(paints, "/"); p > 0; p = rt::INSTR(p + 1, paints, "/")) {
    const long eq = rt::INSTR(p, paints, "=");
    const long dot = rt::INSTR(eq, paints, ".");
    ASSERT_GT(eq, p);
    ASSERT_GT(dot, eq);
    const std::string name = rt::MID(paints, p + 1, eq - p - 1);
    EXPECT_EQ(name.find(' '), std::string::npos) << name;
    std::string value = rt::MID(paints, eq + 1, dot - eq - 1);
    std::string delims = " ,-";
    PARSVARS(value, delims);
    ASSERT_TRUE(PARSEDCOUNT == 3 || PARSEDCOUNT == 1) << name;
    for (long i = 1; i <= PARSEDCOUNT; ++i) {
      const double v = rt::VAL(PARSED(i));
      EXPECT_TRUE(v >= (PARSEDCOUNT == 1 ? 1 : 0) && v <= 255) << name;
    }
    std::string marker = "[paint " + name + "]";
    INSERTRG(marker);
    EXPECT_EQ(rt::LEFT(marker, 5), "[rgb ") << name;
    ++count;
  }
  EXPECT_GE(count, 40);
}

}  // namespace
