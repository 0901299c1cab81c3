// The notes part of a hole as it reaches the coded hole file: samples and water levels of notes and
// sample blocks, the attached sample file, attribute declarations and records, and tabulations. Each
// test converts a small input with the engine folder's own SET file and vocabularies.
#include <gtest/gtest.h>

#include <numeric>

#include "engine/convert/holepass_fixture.h"

namespace {

// A hole with one layer, deep enough for every level of the tests, and the given notes part.
std::vector<std::string> hole(const std::string& name, const std::vector<std::string>& notes,
                              const std::string& layer = "150.0 Clay") {
  std::vector<std::string> lines = {"Hole: " + name, "/", layer, "/"};
  lines.insert(lines.end(), notes.begin(), notes.end());
  lines.push_back("//");
  return lines;
}

size_t count_of(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

class NotesPart : public HolePass {
 protected:
  // Converts the holes, one after the other, and returns what the conversion printed.
  std::string convert_holes(const std::vector<std::vector<std::string>>& holes) {
    std::vector<std::string> input;
    for (const auto& h : holes) input.insert(input.end(), h.begin(), h.end());
    input.push_back("///");
    return convert(input);
  }
  // The sample entries of a coded hole file as "text | depth".
  std::vector<std::string> samples(const std::string& file) const {
    const Sections s = sections(file);
    std::vector<std::string> out;
    for (size_t i = 0; i < s.samples.size(); ++i) out.push_back(s.samples[i] + " | " + s.depths[i]);
    return out;
  }
};

// The sample scan: a kind mark from the sample words (or the keyword's own mark for water levels),
// one entry per level (any number but the line's first word, no date), named by the words in
// capitals in order, or by the level itself.
TEST_F(NotesPart, SampleNotesAndBlocks) {
  struct Case {
    std::vector<std::string> notes;
    std::vector<std::string> entries;
    bool mismatch = false;  // names and levels do not match up
  } cases[] = {
      {{"Disturbed sample DS01 3.1--3.4m"}, {"[SYMB1]DS01 | 3.1--3.4m"}},
      {{"Water table encountered at 1.0m"}, {"[SYMB7]1.0m | 1.0m"}},
      {{"Water strike at 1m, 21/12."}, {"[SYMB6]21/12 | 1m"}},
      {{"Chemical sample CS01 taken at 2.3m"}, {"[SYMB4]CS01 | 2.3m"}},
      {{"Undisturbed Sample US1 taken at 1.5--1.95m"}, {"[SYMB3]US1 | 1.5--1.95m"}},
      {{"Bulk sample B1 at 2.0--2.5m"}, {"[SYMB2]B1 | 2.0--2.5m"}},
      {{"Core run C1 to 4.5"}, {"[SYMB9]C1 | 4.5"}},
      {{"Samples DS1 at 1.0 and 2.0"}, {"[SYMB1]DS1 | 1.0", "[SYMB1]2.0 | 2.0"}, true},
      {{"Sample Ds1 at -1.5 and 0.0 (DS2) A"}, {"[SYMB1]0.0 | 0.0"}},  // no names: Ds1, (DS2), A
      {{"2.3 water table"}, {}},                                       // the first word is never a level
      {{"Pit walls stable at 1.2 m"}, {}},                              // no sample word: a note only
      // A sample word found at the start of a line as after a blank.
      {{"SAMPLES:", "D1 0.5", "W1 water sample at 3.0m", "Undisturbed U3 2.0", "Samples: B2 4.0"},
       {"[SYMB1]D1 | 0.5", "[SYMB5]W1 | 3.0m", "[SYMB3]U3 | 2.0", "[SYMB2]B2 | 4.0"}},
      {{"D1 0.5"}, {"[SYMB1]D1 | 0.5"}},
      {{"B2 1.00-1.50"}, {"[SYMB2]B2 | 1.00-1.50"}},
      {{"Disturbed sample at 0.5m"}, {"[SYMB1]0.5m | 0.5m"}},
      // A duration or a share is no level.
      {{"Water strike at 2.40m, rising to 2.10m after 20 minutes."}, {"[SYMB6]2.40m | 2.40m", "[SYMB6]2.10m | 2.10m"}},
      {{"Standing water level 0.6m after 2 hours"}, {"[SYMB7]0.6m | 0.6m"}},
      {{"Seepage at 1.5m (10% of the inflow) after 30mins, 2 Hrs, 5 sec, 1 day and 15 %"}, {"[SYMB8]1.5m | 1.5m"}},
      // A water level in a sample block keeps its own kind.
      {{"SAMPLES:", "Water strike at 2.0m", "Standing water 1.2", "D2 at 2.5"},
       {"[SYMB6]2.0m | 2.0m", "[SYMB7]1.2 | 1.2", "[SYMB1]D2 | 2.5"}},
  };
  std::vector<std::vector<std::string>> holes;
  for (size_t i = 0; i < std::size(cases); ++i) holes.push_back(hole("A" + std::to_string(10 + i), cases[i].notes));
  const std::string out = convert_holes(holes);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string file = "000A" + std::to_string(10 + i) + ".TRX";
    EXPECT_EQ(samples(file), cases[i].entries) << cases[i].notes[0];
    const bool mismatch = out.find(PROMPT(91) + " <" + cases[i].notes[0] + ">") != std::string::npos;
    EXPECT_EQ(mismatch, cases[i].mismatch) << cases[i].notes[0] << "\n" << out;
  }
  // The name that matches no level is left out: written down with the hole and its line (each hole
  // here has six lines), and so is the depth that began a note; the run ends with 1.
  std::string logged = log();
  EXPECT_EQ(count_of(logged, "\n"), 2u) << logged;
  EXPECT_NE(logged.find("Hole 10 (A19) of holes.txt line 59: The first word of a note is its number, never a depth; 2.3 "
                        "is left out"),
            std::string::npos)
      << logged;
  EXPECT_NE(logged.find("Hole 8 (A17) of holes.txt line 47: " + PROMPT(91) + " <Samples DS1 at 1.0 and 2.0>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_EQ(rt::exit_code(), 1);
  clear_log();

  // A level below the deepest layer is said, with the hole and the line, on the console and in
  // ERROR.LOG, and left out; a name keeps its own level.
  const std::string deep = convert_holes({hole("TP1", {"Water strike at 2.40m, rising to 20 m", "B1 3.5 D2 2.0"}, "3.00 Clay")});
  EXPECT_EQ(samples("000TP1.TRX"), (std::vector<std::string>{"[SYMB6]2.40m | 2.40m", "[SYMB2]D2 | 2.0"}));
  const std::string said = "Level below the bottom of the hole, left out: 20 (TP1) <Water strike at 2.40m, rising to 20 m>";
  EXPECT_NE(deep.find(said + "\n"), std::string::npos) << deep;
  logged = log();
  EXPECT_EQ(count_of(logged, "\n"), 2u) << logged;
  EXPECT_NE(logged.find("Hole 1 (TP1) of holes.txt line 5: Level below the bottom of the hole, left out: 20 <Water strike at "
                        "2.40m, rising to 20 m>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_NE(logged.find("Hole 1 (TP1) of holes.txt line 6: Level below the bottom of the hole, left out: 3.5 <B1 3.5 D2 2.0>"),
            std::string::npos)
      << logged;
}

// The sample words that field engineers write and the front end's templates use, with the shipped
// vocabulary: the kind of a sample-block line and of a note that begins with them, and of the
// headings of an attached sample file.
TEST_F(NotesPart, SampleWordsOfFieldForms) {
  struct Case {
    const char* line;
    const char* in_block;  // the kind mark in a sample block
    const char* as_note;   // the kind mark as a note; "" when the note names no sample
  } cases[] = {
      {"D1 0.5", "[SYMB1]", "[SYMB1]"},       {"B2 0.5", "[SYMB2]", "[SYMB2]"},
      {"U100 0.5", "[SYMB3]", ""},            {"ES3 0.5", "[SYMB4]", ""},
      {"W1 0.5", "[SYMB5]", ""},              {"SPT 0.5", "[SYMB4]", ""},
      {"Bulk 0.5", "[SYMB2]", "[SYMB2]"},     {"Undisturbed 0.5", "[SYMB3]", ""},
      {"Water strike 0.5", "[SYMB6]", "[SYMB6]"}, {"Disturbed sample 0.5", "[SYMB1]", "[SYMB1]"},
      {"Small disturbed 0.5", "[SYMB1]", "[SYMB1]"},
  };
  std::vector<std::vector<std::string>> holes;
  for (size_t i = 0; i < std::size(cases); ++i) {
    holes.push_back(hole("B" + std::to_string(10 + i), {"SAMPLES:", cases[i].line}));
    holes.push_back(hole("N" + std::to_string(10 + i), {cases[i].line}));
  }
  dir.write("fs.txt", crlf({"Disturbed samples", "0.5 a", "Bulk samples", "1.0 b", "Undisturbed samples", "1.5 c",
                            "Water samples", "2.0 d", "Rock core", "2.5 e", "Other samples", "3.0 f"}));
  holes.push_back(hole("FF1", {"SAMPLES: FILE: fs.txt"}));
  convert_holes(holes);
  auto kind_of = [&](const std::string& file) {
    const auto entries = samples(file);
    return entries.empty() ? std::string() : entries[0].substr(0, entries[0].find(']') + 1);
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(kind_of("000B" + std::to_string(10 + i) + ".TRX"), cases[i].in_block) << cases[i].line;
    EXPECT_EQ(kind_of("000N" + std::to_string(10 + i) + ".TRX"), cases[i].as_note) << cases[i].line;
  }
  EXPECT_EQ(samples("000FF1.TRX"),
            (std::vector<std::string>{"[SYMB1]a | 0.5", "[SYMB2]b | 1.0", "[SYMB3]c | 1.5", "[SYMB5]d | 2.0",
                                      "[SYMB9]e | 2.5", "[SYMB4]f | 3.0"}));
  EXPECT_EQ(log(), "");
}

// A hole has room for 140 samples: more levels in one line, or more entries in the hole, are said
// and left out.
TEST_F(NotesPart, SampleLimits) {
  std::string levels = "Levels";
  for (int n = 1; n <= 145; ++n) levels += " " + std::to_string(n);
  std::vector<std::string> block = {"SAMPLES:"};
  for (int n = 1; n <= 145; ++n) block.push_back("D" + std::to_string(n) + " " + std::to_string(n) + ".0");
  const std::string out = convert_holes({hole("SL1", {"SAMPLES:", levels}), hole("SL2", block)});
  const auto one_line = samples("000SL1.TRX");
  ASSERT_EQ(one_line.size(), 140u);
  EXPECT_EQ(one_line.back(), "[SYMB4]140 | 140");
  EXPECT_NE(out.find("\n 145 Sample Levels! > 140 \n"), std::string::npos) << out;
  const auto many = samples("000SL2.TRX");
  ASSERT_EQ(many.size(), 140u);
  EXPECT_EQ(many.back(), "[SYMB1]D140 | 140.0");
  EXPECT_EQ(count_of(out, ": " + PROMPT(94) + " > 140 "), 5u);
  EXPECT_NE(out.find("D141: " + PROMPT(94)), std::string::npos);
  // Written down with the hole and the line: the levels cut once, each sample left out (SL1 has seven
  // lines, so SL2's 141st sample stands at line 7 + 5 + 141).
  const std::string logged = log();
  EXPECT_EQ(count_of(logged, "\n"), 6u) << logged;
  EXPECT_NE(logged.find("Hole 1 (SL1) of holes.txt line 6:  145 Sample Levels! > 140 \r\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("Hole 2 (SL2) of holes.txt line 153: D141: " + PROMPT(94) + " > 140 \r\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("Hole 2 (SL2) of holes.txt line 157: D145: " + PROMPT(94) + " > 140 \r\n"), std::string::npos) << logged;
  EXPECT_EQ(rt::exit_code(), 1);
}

// The attached sample file: a line that begins with a depth is a sample of the kind named by the last
// line without one, and of no named kind (other samples) before such a line. A file that is missing is
// said; the hole and the holes after it still convert. Within a sample block a line that names a file
// has it read, be it a BIND FILE line or a further SAMPLES: FILE line.
TEST_F(NotesPart, AttachedSampleFile) {
  dir.write("two.txt", crlf({"2.0 D9"}));
  dir.write("bh1samples.txt",
            crlf({"1,50 Sand, grey", "Small disturbed samples", "1.0: bag sample", "2.0 : jar", "Undisturbed",
                  "  3.0 U100 at 3.0", "0 is no depth", "0,5 neither", "Water samples", "4.0m\tW1", "Rock core",
                  "5.0 run 1", "Bulk disturbed sample B", "6.0 B1"}));
  const std::string out = convert_holes({
      hole("AF1", {"NOTES:", "Water strike at 1.5m", "SAMPLES: BIND FILE: bh1samples.txt", "W2 water sample at 2.5m"}),
      hole("AF2", {"SAMPLES: FILE: missing.txt", "D1 0.5"}),
      hole("AF3", {"SAMPLES: FILE: bh1samples.txt"}),
      hole("AF4", {"SAMPLES:", "D1 0.5", "BIND FILE: bh1samples.txt", "D2 0.6", "SAMPLES: FILE: bh1samples.txt", "D3 0.7"}),
      hole("AF5", {"SAMPLES: BIND FILE: bh1samples.txt", "SAMPLES: BIND FILE: two.txt"})});
  // The file's samples come first (read at its line), then the sample block's, then the notes'.
  EXPECT_EQ(samples("000AF1.TRX"),
            (std::vector<std::string>{"[SYMB4]Sand, grey | 1.50", "[SYMB1]bag sample | 1.0", "[SYMB1]: jar | 2.0",
                                      "[SYMB3]U100 at 3.0 | 3.0", "[SYMB5]W1 | 4.0m", "[SYMB9]run 1 | 5.0",
                                      "[SYMB2]B1 | 6.0", "[SYMB5]W2 | 2.5m", "[SYMB6]1.5m | 1.5m"}));
  EXPECT_EQ(sections("000AF1.TRX").notes,
            (std::vector<std::string>{"Water strike at 1.5m", "SAMPLES: BIND FILE: bh1samples.txt"}));
  EXPECT_EQ(samples("000AF2.TRX"), (std::vector<std::string>{"[SYMB1]D1 | 0.5"}));
  // The kind is never the one the last hole left.
  EXPECT_EQ(samples("000AF3.TRX").at(0), "[SYMB4]Sand, grey | 1.50");
  const std::vector<std::string> af4 = samples("000AF4.TRX");
  ASSERT_EQ(af4.size(), 17u);
  EXPECT_EQ(af4[0], "[SYMB1]D1 | 0.5");
  EXPECT_EQ(af4[1], "[SYMB4]Sand, grey | 1.50");
  EXPECT_EQ(af4[8], "[SYMB1]D2 | 0.6");
  EXPECT_EQ(af4[9], "[SYMB4]Sand, grey | 1.50");
  EXPECT_EQ(af4[16], "[SYMB1]D3 | 0.7");
  // A hole prints one file with it, the last one bound: a second one is said.
  EXPECT_EQ(samples("000AF5.TRX").size(), 8u);
  EXPECT_EQ(NOTELIST, "|000AF1bh1samples.txt||000AF4bh1samples.txt||000AF5two.txt|");
  EXPECT_EQ(count_of(out, "One file a hole is printed with BIND: bh1samples.txt is not printed, two.txt is"), 1u) << out;
  EXPECT_NE(out.find("File not found : missing.txt\n<SAMPLES: FILE: missing.txt>\n"), std::string::npos) << out;
  EXPECT_NE(out.find(rt::UCASE(PROMPT(22))), std::string::npos);
  EXPECT_TRUE(handed_over);
  EXPECT_EQ(trx_files().size(), 5u);
  // The samples of the missing file are lost: written down with its line, and the run ends with 1.
  std::string logged = log();
  EXPECT_EQ(count_of(logged, "\n"), 2u) << logged;
  EXPECT_NE(logged.find("(AF5) of holes.txt line 39: One file a hole is printed with BIND: bh1samples.txt is not printed, "
                        "two.txt is <SAMPLES: BIND FILE: two.txt>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_NE(logged.find("Hole 2 (AF2) of holes.txt line 14: File not found : missing.txt <SAMPLES: FILE: missing.txt>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_EQ(rt::exit_code(), 1);
  clear_log();

  // The notes table holds 50: 36 notes and attached-file lines; one more is said and left out (its
  // file is read all the same). An abbreviation line ends each sample block.
  std::vector<std::string> notes;
  for (int n = 1; n <= 36; ++n) notes.push_back("Item " + std::to_string(n));
  for (int n = 1; n <= 15; ++n) notes.insert(notes.end(), {"SAMPLES: FILE: bh1samples.txt", "ABBREVIATIONS:"});
  const std::string full = convert_holes({hole("NT1", notes)});
  EXPECT_EQ(sections("000NT1.TRX").notes.size(), 50u);
  EXPECT_EQ(count_of(full, PROMPT(95) + "\n<SAMPLES: FILE: bh1samples.txt>"), 1u);
  EXPECT_EQ(sections("000NT1.TRX").samples.size(), 15 * 7u);
  // The 15th attached-file line: after the 36 notes (lines 5 to 40) at line 41 + 2 * 14.
  logged = log();
  EXPECT_EQ(count_of(logged, "\n"), 1u) << logged;
  EXPECT_NE(logged.find("Hole 1 (NT1) of holes.txt line 69: " + PROMPT(95) + " <SAMPLES: FILE: bh1samples.txt>\r\n"),
            std::string::npos)
      << logged;
}

// Attribute declarations get their option marks in a fixed order; records get their depth in front;
// the record counts add up to the records written.
TEST_F(NotesPart, AttributesAndRecords) {
  convert_holes({hole("AT1", {
      "ATTRIBUTE: SPT N [NUMBERS] [WIDTH 1,2] [LOGARITHMIC] [INVERSE] [GRAPH 50]",
      "1.2 very dense",
      "0,5 1,8: loose",
      "@ 3,25 N=12",
      "12 blows at 1.5",
      "no recovery",
      "0 to 1.5 firm",
      "ATTRIBUTE RQD [INVERSE]",
      "ATTRIBUTE: CORE [WIDTH 300 DOTS] [DRAWING] [DATA FILE core.dat] [paint red] [GRAPH]",
      " 2.0: 80 [rgb 0 0 255] blue",
      "NOTES: a note after the records",
      "ATTRIBUTE: LAST"})});
  const Sections s = sections("000AT1.TRX");
  EXPECT_EQ(s.attributes,
            (std::vector<std::string>{
                " SPT N [NUMBERS] [WIDTH 1,2] [LOGARITHMIC] [INVERSE] [GRAPH 50][G=50][I][LOG][C=1.2][+N]",
                "ATTRIBUTE RQD [INVERSE]",
                " CORE [WIDTH 300 DOTS] [DRAWING] [DATA FILE core.dat] [rgb 1.000 .000 .000] [GRAPH][G=0][FILE][M=300][DR]",
                " LAST"}));
  EXPECT_EQ(s.counts, (std::vector<std::string>{" 6", " 0", " 2", " 0"}));
  EXPECT_EQ(s.records, (std::vector<std::string>{"[1.2] very dense", "[1.8]  loose", "[3.25@] N=12",
                                                 "[12] blows at 1.5", "no recovery", "[1.5] firm",
                                                 "[2.0]  80 [rgb .000 .000 1.000] blue",
                                                 "NOTES: a note after the records"}));
  EXPECT_TRUE(s.notes.empty());  // a line of an attribute block is no note
  EXPECT_EQ(log(), "");
}

// 25 attributes and 2000 records a hole: a further declaration is said and its records count for the
// 25th; records after the 2000th are said once and left out.
TEST_F(NotesPart, AttributeLimits) {
  std::vector<std::string> many;
  for (int n = 1; n <= 27; ++n) many.insert(many.end(), {"ATTRIBUTE: A" + std::to_string(n), std::to_string(n) + ".0: x"});
  std::vector<std::string> long_log = {"ATTRIBUTE: N"};
  for (int n = 1; n <= 2003; ++n) long_log.push_back(std::to_string(n) + ".0: " + std::to_string(n));
  const std::string out = convert_holes({hole("AL1", many), hole("AL2", long_log)});
  const Sections m1 = sections("000AL1.TRX");
  ASSERT_EQ(m1.attributes.size(), 25u);
  EXPECT_EQ(m1.attributes.back(), " A25");
  EXPECT_EQ(m1.counts.back(), " 3");
  EXPECT_EQ(m1.records.size(), 27u);
  EXPECT_EQ(count_of(out, PROMPT(97) + "\n"), 2u);
  const Sections m2 = sections("000AL2.TRX");
  EXPECT_EQ(m2.counts, (std::vector<std::string>{" 2000"}));
  EXPECT_EQ(m2.records.back(), "[2000.0]  2000");
  EXPECT_EQ(count_of(out, "More than 2000 attribute records in this hole"), 1u);
  EXPECT_NE(out.find("left out from this one on:\n<[2001.0]  2001>\n"), std::string::npos) << out;
  // Written down with the hole and the line each came from (the declarations and records are turned
  // after the hole end): hole 1's notes start on line 5, two lines an attribute; hole 2 starts on line
  // 60, its records after the declaration on line 64.
  const std::string logged = log();
  EXPECT_EQ(count_of(logged, "\n"), 3u) << logged;
  EXPECT_NE(logged.find("Hole 1 (AL1) of holes.txt line 57: " + PROMPT(97) + " <ATTRIBUTE: A27>\r\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("Hole 2 (AL2) of holes.txt line 2065: More than 2000 attribute records in this hole; left out from "
                        "this one on: <[2001.0]  2001>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_EQ(rt::exit_code(), 1);
}

// A tabulation: column definitions, the heading row and the data rows become, column by column, the
// declarations and records a hand-written attribute block would give.
TEST_F(NotesPart, Tabulations) {
  std::vector<std::string> wide = {"ATTRIBUTE ::"};
  std::string heading = "|KEY|";
  for (int c = 1; c <= 21; ++c) {
    wide.push_back("C" + std::to_string(c) + ": column " + std::to_string(c));
    heading += "C" + std::to_string(c) + ":|";
  }
  wide.push_back(heading);
  for (int r = 1; r <= 302; ++r) {
    std::string row = "|" + std::to_string(r) + ".0|";
    for (int c = 1; c <= 21; ++c) row += "v" + std::to_string(c) + "|";
    wide.push_back(row);
  }
  const std::string out = convert_holes({
      hole("TB1", {"ATTRIBUTE ::",
                   "Moisture: Water content %",
                   "Density : Bulk density",
                   "Plain",
                   "| Depth | Moisture: | Density : | Plain |",
                   "| | first | x | y |",
                   "1,0 | 12 | 1.8 | a",
                   "| 2.0 | stiff | 2.0 | b |",
                   "| | very | | c |",
                   "|@3,5|14|1.9|d|",
                   "|3.6|16|",  // a row over two lines
                   "|2.1|e|",
                   "|3.8|17|1.7|",  // the second line with an empty depth cell
                   "||f|",
                   "|4.0|15|",
                   "ABBREVIATIONS:",
                   "X  an abbreviation"}),
      hole("TB2", {"ATTRIBUTE ::", "A: first", "B: second", "SAMPLES:", "D1 0.5"}),
      hole("TB3", wide)});

  const Sections tb1 = sections("000TB1.TRX");
  EXPECT_EQ(tb1.attributes, (std::vector<std::string>{" Water content % first", " Bulk density x", " y"}));
  EXPECT_EQ(tb1.counts, (std::vector<std::string>{" 6", " 6", " 6"}));
  EXPECT_EQ(tb1.records, (std::vector<std::string>{"[1.0]  12", "[2.0]  stiff very", "[3.5@]  14", "[3.6]  16", "[3.8]  17", "[4.0]  ?",
                                                   "[1.0]  1.8", "[2.0]  2.0 ", "[3.5@]  1.9", "[3.6]  2.1", "[3.8]  1.7", "[4.0]  ?",
                                                   "[1.0]  a", "[2.0]  b c", "[3.5@]  d", "[3.6]  e", "[3.8]  f", "[4.0]  ?"}));
  EXPECT_EQ(tb1.abbreviations, (std::vector<std::string>{"ABBREVIATIONS:", "X  an abbreviation"}));
  EXPECT_EQ(count_of(out, " <Tabulation>"), 1u);  // the row with too few cells, once
  EXPECT_NE(out.find(PROMPT(89) + "  "), std::string::npos);
  EXPECT_EQ(out.find(PROMPT(100)), std::string::npos);  // "Density :" is found as "Density:"

  // Without a heading row the table ends at the next block, and says so; the block is read.
  const Sections tb2 = sections("000TB2.TRX");
  EXPECT_TRUE(tb2.attributes.empty());
  EXPECT_EQ(tb2.samples, (std::vector<std::string>{"[SYMB1]D1"}));
  EXPECT_NE(out.find(PROMPT(99) + "\n<ATTRIBUTE ::>\n"), std::string::npos) << out;

  // 20 columns and 300 rows a table, 2000 records a hole: the rest is said once each and left out.
  const Sections tb3 = sections("000TB3.TRX");
  ASSERT_EQ(tb3.attributes.size(), 20u);
  EXPECT_EQ(tb3.attributes.back(), " column 20");
  std::vector<std::string> counts(20, " 0");
  std::fill(counts.begin(), counts.begin() + 6, " 300");
  counts[6] = " 200";
  EXPECT_EQ(tb3.counts, counts);
  EXPECT_EQ(tb3.records.at(299), "[300.0]  v1");
  EXPECT_EQ(tb3.records.at(1999), "[200.0]  v7");
  EXPECT_EQ(count_of(out, "More than 20 columns in this table; left out:\n<C21: column 21>\n"), 1u);
  EXPECT_EQ(count_of(out, "Tabular line-count > 300\nReduce the text."), 1u);
  EXPECT_EQ(count_of(out, "More than 2000 attribute records in this hole"), 1u);
  // Each written down with the hole and the line it stands at, the rows as typed: TB1's short row at
  // line 19, TB2's table at 27, TB3 (from line 33) its 21st column at 58 and its 301st row at 360.
  const std::string logged = log();
  EXPECT_EQ(count_of(logged, "\n"), 5u) << logged;
  for (const std::string& said : std::vector<std::string>{
           "Hole 1 (TB1) of holes.txt line 19: row 8 of the table has not as many cells as its heading row; its cells read "
           "\"?\": |4.0|15|\r\n",
           "Hole 2 (TB2) of holes.txt line 27: " + PROMPT(99) + " <ATTRIBUTE ::>\r\n",
           "Hole 3 (TB3) of holes.txt line 58: More than 20 columns in this table; left out: <C21: column 21>\r\n",
           "Hole 3 (TB3) of holes.txt line 360: Tabular line-count > 300: the rows from this one on are left out. "
           "<|301.0|v1|v2|v3|v4|v5|v6|v7|v8|v9|v10|v11|v12|v13|v14|v15|v16|v17|v18|v19|v20|v21|>\r\n",
           "Hole 3 (TB3) of holes.txt: More than 2000 attribute records in this hole; left out from this one on: "
           "<[201.0]  v7>\r\n"})
    EXPECT_NE(logged.find(said), std::string::npos) << said << "\n" << logged;
  EXPECT_EQ(rt::exit_code(), 1);
}

}  // namespace
