// The conversion from the input text to coded hole files: the pre-scan of the slash blocks, the header
// fields, the hole header's settings, the layer records, the notes, and the coded hole file with its
// name. Each test converts a small input with the engine folder's own SET file and vocabularies.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>

#include "engine/convert/holepass_fixture.h"

namespace fs = std::filesystem;

namespace {

// A console with a person at it, who answers the key waits from a list (then Esc).
class AnsweringConsole : public TranscriptConsole {
 public:
  std::deque<std::string> answers;
  bool interactive() const override { return true; }
  std::string wait_key() override {
    ++keys;
    if (answers.empty()) return "\x1b";
    std::string k = answers.front();
    answers.pop_front();
    return k;
  }
};

// Every hole block needs exactly two "/" lines before its "//", and "///" must end the data; a
// wrong structure converts nothing and ends the one-shot run as failed, saying why.
TEST_F(HolePass, PrescanChecksTheSlashBlocks) {
  const std::vector<std::string> hole = {"Hole Number: BH1", "/", "1.0 Clay", "/", "//"};
  auto holes = [&](std::vector<std::string> extra) {
    std::vector<std::string> all = hole;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
  };
  struct Case {
    const char* what;
    std::vector<std::string> input;
    int files;             // coded hole files written
    const char* says;      // printed
    const char* not_says;  // not printed
  } cases[] = {
      {"two holes", holes({"Hole Number: BH2", "/", "2.0 Sand", "/", "Notes", "//", "///", "/"}), 2,
       "// 1 \n", nullptr},
      {"slash lines with blanks and tabs", {"Hole: BH1", " /\t", "1.0 Clay", "\t/", "  //  ", " /// "}, 1, "// 1 \n", nullptr},
      {"a slash with text is text", {"Hole: BH1", "/ a comment", "/", "1.0 Clay", "/", "//", "///"}, 1, nullptr, "viz"},
      {"three / in hole 1", {"Hole: BH1", "/", "/", "1.0 Clay", "/", "//", "Hole: BH2", "/", "2.0 Sand", "/", "//", "///"},
       0, "\nHole 1 of holes.txt: 3 / lines before its // line at line 6; a hole has two (after its header and after "
          "its layers)\n", nullptr},
      // A missing "//" is said as such, with the line where the next hole starts; the holes after it
      // keep their numbers.
      {"the // of hole 1 missing",
       {"Hole: BH1", "/", "1.0 Clay", "/", "Notes: x", "Hole: BH2", "/", "2.0 Sand", "/", "//", "///"}, 0,
       "\nHole 1 (BH1) of holes.txt: its // line is missing before line 6: Hole: BH2\n", "viz"},
      {"the // of hole 2 of 3 missing",
       holes({"Hole: BH2", "/", "2.0 Sand", "/", "Hole Number: BH3", "/", "3.0 Sand", "/", "//", "///"}), 0,
       "\nHole 2 (BH2) of holes.txt: its // line is missing before line 10: Hole Number: BH3\n", "viz"},
      {"the // of the last hole missing", holes({"Hole: BH2", "/", "2.0 Sand", "/", "///"}), 0,
       "Hole 2 (BH2) of holes.txt: its // line is missing before line 10: ///\n", "viz"},
      {"a third / without a hole named is no missing //",
       {"Hole: BH1", "/", "1.0 Clay", "/", "Notes", "/", "//", "///"}, 0, "viz  1\n", "missing"},
      {"no /// line", holes({}), 0, "No /// line ends the data.", "viz"},
      {"no slash line at all", {"Hole: BH1", "1.0 Clay", "///"}, 0, "holes.txt ??? has no / or // lines", nullptr},
  };
  for (const auto& k : cases) {
    for (const auto& f : trx_files()) fs::remove(dir.path() / f);
    RUNFLAGS = 1;
    WPMODE = 0;
    rt::set_exit_code(0);
    const std::string out = convert(k.input);
    const bool passed = out.find(PROMPT(80)) != std::string::npos;
    EXPECT_EQ(trx_files().size(), static_cast<size_t>(k.files)) << k.what << "\n" << out;
    EXPECT_EQ(rt::exit_code(), passed ? 0 : 1) << k.what;
    // The stop mark tells the hole selection to code nothing; a file without any slash line is no
    // input of holes at all and leaves it. A conversion that passed leaves it clear (the hole coder,
    // which the run calls next, sets it as it opens the first hole of the one-shot run).
    const bool stop = (RUNFLAGS & 0x1000) != 0;
    EXPECT_EQ(stop, !passed && std::string(k.what) != "no slash line at all") << k.what;
    if (k.says) {
      const size_t at = out.find(k.says);
      EXPECT_NE(at, std::string::npos) << k.what << "\n" << out;
      // Said once, where it was met: the summary after the scan does not repeat it.
      if (at != std::string::npos && !passed) {
        EXPECT_EQ(out.find(k.says, at + 1), std::string::npos) << k.what << "\n" << out;
      }
    }
    if (k.not_says) {
      EXPECT_EQ(out.find(k.not_says), std::string::npos) << k.what << "\n" << out;
    }
    if (!passed) {
      EXPECT_FALSE(handed_over) << k.what;
    }
    EXPECT_EQ(WPMODE, 0) << k.what;
  }
  // A line that marks word-processor text, in any letter case, switches the remap on; after the
  // "///" line it is not read.
  convert({"Typed in WordPad", "Hole: BH1", "/", "1.0 Clay", "/", "//", "///"});
  EXPECT_EQ(WPMODE, 1);
  convert({"Hole: BH1", "/", "1.0 Clay", "/", "//", "///", "WORDPAD"});
  EXPECT_EQ(WPMODE, 0);
  // Every structure fault is in ERROR.LOG too, with the file and the hole.
  for (const char* logged : {"Hole 1 (BH1) of holes.txt: its // line is missing before line 6: Hole: BH2",
                             "Hole 1 of holes.txt: 3 / lines before its // line at line 6; a hole has two",
                             "holes.txt: No /// line ends the data.", "holes.txt ??? has no / or // lines"})
    EXPECT_NE(log().find(logged), std::string::npos) << logged << "\n" << log();
}

// A header line's keyword names its field in the vocabulary, without its points, hyphens and blanks
// and in any letter case; the first entry counts and must match whole.
TEST_F(HolePass, ParzeFindsTheFieldOfAKeyword) {
  ConvState st = state();
  st.CONVBLOCK = "/jobno/job/<22/site/<06/a/<05/a/<07/nofield/";
  struct Case {
    const char* line;
    std::int32_t field;
    const char* value;  // from the value position on
  } cases[] = {
      {"Job No.: 1234", 22, " 1234"},   {"Job-No : 1234", 22, " 1234"}, {"  JOBNO: 1234", 22, " 1234"},
      {"Site: Plot 4: north", 6, " Plot 4: north"}, {"A: first entry", 5, " first entry"},
      {"Jo: part of a keyword", 0, ": part of a keyword"}, {"nofield: x", 0, ": x"},
      {"A comment without a colon", 0, ""}, {"x:", 0, ""},
  };
  for (const auto& k : cases) {
    CONVLINE = k.line;
    PARZE(st);
    EXPECT_EQ(st.FIELDNO, k.field) << k.line;
    EXPECT_EQ(st.VALUEPOS > 0 ? rt::MID(CONVLINE, st.VALUEPOS) : std::string(), k.value) << k.line;
  }
}

// The header of each hole fills its fields; the fields the vocabulary marks as per hole (ground level,
// coordinates...) and the hole itself are emptied before each hole, the job's fields are kept.
TEST_F(HolePass, HeaderFieldsAndHoleSettings) {
  const std::string out = convert({
      "Hole Number   : BH1",  // the first line: never looked at for a colour
      "Job No.       : J-12",
      "Client        : Riverside Developments Ltd",
      "Site          : Plot 4: north corner",
      "Drilling Machine: Dando 2000,",
      "      150 mm casing",
      "   to 4.0 m",
      "Ground level  : 12.45",
      "Profile left margin: -400",
      "Right margin  : 1200",
      "Colour        : [rgb 0 0 255]",
      "Bezier        : 3",
      "Favourite colour of the driller: blue",
      "Ground level was taken from the survey drawing of March",  // a comment: a sentence
      "Site investigation report",                                // a comment: a keyword of one word, two more
      "/", "1.0 Clay", "/", "//",
      "Type          : Trial pit [rgb 0 255 0]",  // the first line: its colour is not the hole's
      "Hole Number   : TP-7",
      "Ground Level 11.90",  // a header line whose colon was forgotten
      "Hole TP-8",           // and another: each is said
      "/", "1.0 Sand", "/", "//",
      "/", "1.0 Gravel", "/", "//",
      "///"});
  EXPECT_EQ(trx_files(), (std::vector<std::string>{"J12000.TRX", "J12BH1.TRX", "J12TP7.TRX"}));
  const Sections bh1 = sections("J12BH1.TRX");
  EXPECT_EQ(bh1.header[0], "7022");
  EXPECT_EQ(bh1.header[5], "Riverside Developments Ltd");
  EXPECT_EQ(bh1.header[6], "Plot 4: north corner");  // the value keeps the colons after the first
  EXPECT_EQ(bh1.header[8], "12.45");
  EXPECT_EQ(bh1.header[13], "Dando 2000, 150 mm casing to 4.0 m");  // continuation lines joined
  EXPECT_EQ(bh1.header[20], "BH1");
  EXPECT_EQ(bh1.header[22], "J-12");
  EXPECT_EQ(bh1.colour, ".000 .000 1.000");
  EXPECT_EQ(bh1.other[2], "-400");  // kept though out of range
  EXPECT_EQ(bh1.other[3], "1200");

  const Sections tp7 = sections("J12TP7.TRX");
  EXPECT_EQ(tp7.header[5], "Riverside Developments Ltd");  // a job field goes on
  EXPECT_EQ(tp7.header[8], "");                            // a per-hole field does not
  EXPECT_EQ(tp7.header[20], "TP-7");
  EXPECT_EQ(tp7.header[21], "Trial pit [rgb 0 255 0]");
  EXPECT_EQ(tp7.colour, ".000 .000 1.000");  // a colour on the first line is not the hole's: kept from BH1

  // A block that begins with its "/" has an empty header: the hole is named by its code.
  const Sections none = sections("J12000.TRX");
  EXPECT_EQ(none.header[20], "000");
  EXPECT_EQ(none.header[22], "J-12");

  EXPECT_EQ(BEZIER, 3);
  EXPECT_NE(out.find("Favourite colour of the driller: blue ???\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("to 4.0 m ???"), std::string::npos) << out;
  EXPECT_NE(out.find(PROMPT(82)), std::string::npos);  // -400 is out of range
  EXPECT_EQ(out.find(PROMPT(83)), std::string::npos);  // 1200 is not
  EXPECT_NE(out.find("(BH1)"), std::string::npos);
  // The line of the unknown keyword is left out: written down with its hole and line (continuation
  // lines counted as the lines they are), and the run ends with 1. The margins, kept, are no loss.
  // A line that begins with a keyword and a short value but has no colon is said too, once.
  EXPECT_NE(out.find("Header line without a colon after its keyword, left out:\n<Ground Level 11.90>\n"), std::string::npos)
      << out;
  EXPECT_EQ(out.find("<Ground level was taken"), std::string::npos) << out;
  const std::string logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 3) << logged;
  EXPECT_NE(logged.find("Hole 2 (TP-7) of holes.txt line 22: Header line without a colon after its keyword, left out: "
                        "<Ground Level 11.90>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_NE(logged.find("Hole 2 (TP-7) of holes.txt line 23: Header line without a colon after its keyword, left out: "
                        "<Hole TP-8>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_EQ(out.find("<Site investigation report>"), std::string::npos) << out;
  EXPECT_NE(logged.find("proconv.cpp  @ 0001  Hole 1 (BH1) of holes.txt line 13: Favourite colour of the driller: blue ??? "
                        "(no header keyword of the vocabulary: the line is left out)\r\n"),
            std::string::npos)
      << logged;
  EXPECT_EQ(rt::exit_code(), 1);
}

// Without a colour line in any hole every hole has the default; a hole without a header gets none.
TEST_F(HolePass, HoleColourDefault) {
  convert({"/", "1.0 Clay", "/", "//", "Hole: BH2", "Bezier 7", "/", "1.0 Clay", "/", "//", "///"});
  EXPECT_EQ(sections("000000.TRX").colour, "");  // a block without a header line has no look-ahead
  EXPECT_EQ(sections("000BH2.TRX").colour, "1.000  0.000  0.000");
  EXPECT_EQ(BEZIER, 0);  // a Bezier line without a colon changes nothing
}

// One record per layer line: the depth in brackets, the description after the depth word; a line
// without a depth, or with one above the line before, is reported and its record says so.
TEST_F(HolePass, LayerRecords) {
  const std::string out = convert({
      "Hole: BH1", "/",
      "1.50 Brown sandy CLAY",
      "1,8 Clay",
      "2. Clay",
      "1.0 - 2.5 Clay",
      "2.5 to 2.50+ End of the pit",
      "2.0 Firm CLAY",
      "Soft CLAY without a depth",
      "3.0 Grey CLAY with [paint red] stains",
      "4.0 Stiff CLAY",
      "    with a second line",
      "4.0 to 4.50 Firm CLAY with 2 cobbles",
      "5.20 Stiff CLAY with 3 cobbles",
      "5.20 6.00 Clay",
      "6.00 -- 6.50 Clay 7",
      "0 - 7.0 Clay",
      "Clay 8.0",
      "From 8.00 to 9.20 Clay",
      "9.20 - 20 Topsoil",  // the rest follows the depth word, not the "20" of "9.20"
      "Base of pit 20.50",
      "20.5 Clay with 21 stones",
      "/", "//", "///"});
  const std::string bad = PROMPT(90);
  EXPECT_EQ(sections("000BH1.TRX").layers,
            (std::vector<std::string>{"[1.50]  Brown sandy CLAY", "[1.8]  Clay", "[2]  Clay", "[2.5]  Clay",
                                      "[2.50+]  End of the pit", bad, bad,
                                      "[3.0]  Grey CLAY with [rgb 1.000 .000 .000] stains",
                                      "[4.0]  Stiff CLAY with a second line", "[4.50]  Firm CLAY with 2 cobbles",
                                      "[5.20]  Stiff CLAY with 3 cobbles", "[6.00]  Clay", "[6.50]  Clay 7",
                                      "[7.0]  Clay", "[8.0] ", "[9.20]  Clay", "[20]  Topsoil", "[20.50] ",
                                      "[21]  stones"}));
  EXPECT_NE(out.find(bad + "\n<2.0 Firm CLAY>\n"), std::string::npos) << out;
  EXPECT_NE(out.find(bad + "\n<Soft CLAY without a depth>\n"), std::string::npos) << out;
  // The depth is the rightmost number among the first four words, also after a word.
  EXPECT_EQ(out.find("<Clay 8.0>"), std::string::npos) << out;
  EXPECT_EQ(out.find("<5.20 Stiff CLAY with 3 cobbles>"), std::string::npos) << out;
  EXPECT_NE(out.find(rt::UCASE(PROMPT(22))), std::string::npos);  // the warning waits for the reader
  // Each layer drawn as the warning is written down with its hole and line, and so is (once) a layer
  // below the "+" that marks the bottom of the hole; the run ends with 1.
  std::string logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 3) << logged;
  EXPECT_NE(logged.find("Hole 1 (BH1) of holes.txt line 10: Layer below the bottom of the hole (2.50+); move the + to the "
                        "last layer: <3.0 Grey CLAY with [paint red] stains>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_NE(logged.find("Hole 1 (BH1) of holes.txt line 8: " + bad + " <2.0 Firm CLAY>\r\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("Hole 1 (BH1) of holes.txt line 9: " + bad + " <Soft CLAY without a depth>\r\n"), std::string::npos)
      << logged;
  EXPECT_EQ(rt::exit_code(), 1);
  clear_log();

  // No layer lines at all; and more layers than a sheet holds.
  std::vector<std::string> deep = {"Hole: BH1", "/"};
  for (int n = 1; n <= 203; ++n) deep.push_back(std::to_string(n) + ".0 Clay");
  deep.insert(deep.end(), {"/", "//", "Hole: BH2", "/", "/", "//", "///"});
  const std::string out2 = convert(deep);
  const Sections bh1 = sections("000BH1.TRX");
  ASSERT_EQ(bh1.layers.size(), 200u);
  EXPECT_EQ(bh1.layers.back(), "[200.0]  Clay");
  EXPECT_NE(out2.find(PROMPT(93) + "\n<201.0 Clay>\n"), std::string::npos) << out2;
  EXPECT_EQ(out2.find("<202.0 Clay>"), std::string::npos);
  EXPECT_TRUE(sections("000BH2.TRX").layers.empty());
  EXPECT_NE(out2.find(PROMPT(92)), std::string::npos);

  // A range written with the dash a word processor puts in (en or em dash, in Windows-1252 or UTF-8)
  // joins the depths as "-" does.
  convert({"Hole: BH1", "/", "0.00 \x96 1.20 Firm CLAY", "1.20 \x97 2.50 Sand", "2.50 \xe2\x80\x93 3.00 Gravel",
           "3.00 \xe2\x80\x94 4.00 Chalk", "/", "//", "///"});
  EXPECT_EQ(sections("000BH1.TRX").layers,
            (std::vector<std::string>{"[1.20]  Firm CLAY", "[2.50]  Sand", "[3.00]  Gravel", "[4.00]  Chalk"}));
  // The layers left out are one line of ERROR.LOG, with the hole, the file and the first one; the hole
  // without layers the other, at the "/" that ends its empty block.
  logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 2) << logged;
  EXPECT_NE(logged.find("Hole 1 (BH1) of holes.txt line 203: " + PROMPT(93) + " <201.0 Clay>\r\n"), std::string::npos)
      << logged;
  EXPECT_NE(logged.find("Hole 2 (BH2) of holes.txt line 210: " + PROMPT(92) + "\r\n"), std::string::npos) << logged;
}

// The slash markers are whole lines: the acute accent of Windows-1252 (the byte 180 they are made of),
// typed for an apostrophe or as ditto marks, is text in a layer line, a note and a table row.
TEST_F(HolePass, AcuteAccentsAreText) {
  const std::string out = convert({"Hole: BH1", "/", "0.30 TOPSOIL", "1.20 Firm CLAY, it\xb4s stiff", "2.50 Sand", "/",
                                   "NOTES:", "Water strike at 1.0m", "Seepage \xb4\xb4 at 2.0m", "ATTRIBUTE ::",
                                   "A: one", "|D|A:|", "|1.0|x\xb4\xb4|", "|2.0|y|", "//", "///"});
  const Sections s = sections("000BH1.TRX");
  EXPECT_EQ(s.layers, (std::vector<std::string>{"[0.30]  TOPSOIL", "[1.20]  Firm CLAY, it\xb4s stiff", "[2.50]  Sand"}));
  EXPECT_EQ(s.notes, (std::vector<std::string>{"Water strike at 1.0m", "Seepage \xb4\xb4 at 2.0m"}));
  EXPECT_EQ(s.records, (std::vector<std::string>{"[1.0]  x\xb4\xb4", "[2.0]  y"}));
  EXPECT_EQ(out.find(rt::UCASE(PROMPT(22))), std::string::npos) << out;
  EXPECT_EQ(log(), "");
}

// A work channel holds texts of 32767 characters at most: a longer layer or attribute line (a long
// run of continuation lines, a pasted text) is cut there and said once per hole, not refused with a
// run-time error and lost.
TEST_F(HolePass, OverlongLinesAreCut) {
  const std::string words(40000, 'x');
  const std::string out = convert({"Hole: BH1", "/", "0.5 Clay", "1.0 Sand " + words, "/", "ATTRIBUTE: SPT N",
                                   "1.0: " + words, "2.0: 12", "//", "///"});
  // Written down once too, with the line of the first: what is cut is lost.
  const std::string logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
  EXPECT_NE(logged.find("Hole 1 (BH1) of holes.txt line 4: Lines longer than 32767 characters are cut there: <[1.0]  Sand xxx"),
            std::string::npos)
      << logged.substr(0, 300);
  EXPECT_EQ(rt::exit_code(), 1);
  const Sections s = sections("000BH1.TRX");
  ASSERT_EQ(s.layers.size(), 2u);
  EXPECT_EQ(s.layers[0], "[0.5]  Clay");
  EXPECT_EQ(s.layers[1], ("[1.0]  Sand " + words).substr(0, 32767));
  ASSERT_EQ(s.records.size(), 2u);
  EXPECT_EQ(s.records[0].size(), 32767u);
  EXPECT_EQ(s.records[0].substr(0, 10), "[1.0]  xxx");
  EXPECT_EQ(s.records[1], "[2.0]  12");
  const std::string said = "Lines longer than 32767 characters are cut there; the first in this hole:\n<[1.0]  Sand xxx";
  ASSERT_NE(out.find(said), std::string::npos) << out.substr(0, 2000);
  EXPECT_EQ(out.find(said, out.find(said) + 1), std::string::npos);  // once per hole
}

// The notes part: the heading and the numbers of numbered notes go; sample blocks and attribute
// blocks are no notes; an abbreviation block keeps its heading and 14 lines more; 36 notes at most.
TEST_F(HolePass, NotesReachTheCodedFile) {
  std::vector<std::string> input = {
      "Hole: BH1", "/", "3.0 Clay", "/",
      "NOTES:",
      "1. Water strike at 2.10m, rising to 1.85m",
      "   after 20 minutes.",
      "2) Second note",
      "(3) Third note",
      "3.0 m water",
      "Notes on the casing are kept",
      "SAMPLES:",
      "D1 0.5",
      "B2 1.0--1.5",
      "ABBREVIATIONS:",
      "D   Small disturbed sample",
      "ATTRIBUTE: SPT N [WIDTH 1.2]",
      " 1.20: 12",
      "//",
      "Hole: BH2", "/", "1.0 Clay", "/",
      "Remark on the first line is the heading",
      "ABBREVIATIONS:"};
  for (int n = 1; n <= 20; ++n) input.push_back("A" + std::to_string(n) + "  abbreviation");
  input.push_back("//");
  input.insert(input.end(), {"Hole: BH3", "/", "1.0 Clay", "/"});
  for (int n = 1; n <= 40; ++n) input.push_back("Item " + std::to_string(n));
  input.insert(input.end(), {"//", "///"});
  const std::string out = convert(input);

  const Sections bh1 = sections("000BH1.TRX");
  EXPECT_EQ(bh1.notes, (std::vector<std::string>{"Water strike at 2.10m, rising to 1.85m after 20 minutes.",
                                                 "Second note", "(3) Third note", "m water",
                                                 "Notes on the casing are kept"}));
  EXPECT_EQ(bh1.abbreviations, (std::vector<std::string>{"ABBREVIATIONS:", "D   Small disturbed sample"}));
  // The sample block's lines first, then the notes that name samples or water levels.
  // The duration of the water note is no level.
  EXPECT_EQ(bh1.samples, (std::vector<std::string>{"[SYMB1]D1", "[SYMB2]B2", "[SYMB6]2.10m", "[SYMB6]1.85m"}));
  EXPECT_EQ(bh1.depths, (std::vector<std::string>{"0.5", "1.0--1.5", "2.10m", "1.85m"}));
  EXPECT_EQ(bh1.attributes, (std::vector<std::string>{" SPT N [WIDTH 1.2][C=1.2]"}));
  EXPECT_EQ(bh1.records, (std::vector<std::string>{"[1.20]  12"}));

  const Sections bh2 = sections("000BH2.TRX");
  EXPECT_TRUE(bh2.notes.empty());
  ASSERT_EQ(bh2.abbreviations.size(), 15u);
  EXPECT_EQ(bh2.abbreviations.back(), "A14  abbreviation");

  const Sections bh3 = sections("000BH3.TRX");
  ASSERT_EQ(bh3.notes.size(), 36u);
  EXPECT_EQ(bh3.notes.back(), "Item 36");
  size_t warnings = 0;
  for (size_t p = out.find(PROMPT(95)); p != std::string::npos; p = out.find(PROMPT(95), p + 1)) ++warnings;
  EXPECT_EQ(warnings, 4u);
  // What is left out is written down once a hole, at its first line: the 16th abbreviation line (said
  // on the console too) and the 37th note.
  EXPECT_NE(out.find("More than 15 abbreviation lines in this hole; left out from this one on:\n<A15  abbreviation>\n"),
            std::string::npos)
      << out;
  // A note that begins with a depth loses it as the note's number: said with the note's line.
  const std::string logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 3) << logged;
  EXPECT_NE(logged.find("Hole 1 (BH1) of holes.txt line 10: The first word of a note is its number, never a depth; 3.0 "
                        "is left out (write \"Water strike at 3.0 m\"): <3.0 m water>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_NE(logged.find("Hole 2 (BH2) of holes.txt line 40: More than 15 abbreviation lines in this hole; left out from "
                        "this one on: <A15  abbreviation>\r\n"),
            std::string::npos)
      << logged;
  EXPECT_NE(logged.find("Hole 3 (BH3) of holes.txt line 87: " + PROMPT(95) + " <Item 37>\r\n"), std::string::npos) << logged;
  EXPECT_EQ(rt::exit_code(), 1);
}

// The coded hole file: its name from the job and the hole, its fixed layout, the list of bound files.
TEST_F(HolePass, CodedHoleFile) {
  dir.write("extra.txt", "D1 0.5\r\n");
  convert({"/", "/", "//",
           "Job No.: J-12", "Hole: BH 3", "/", "1.0 Clay", "/", "SAMPLES: BIND FILE: extra.txt", "//",
           "Hole: Borehole 12", "/", "1.0 Clay", "/", "SAMPLES: BIND FILE: missing.txt", "//",
           "///"});
  EXPECT_EQ(trx_files(), (std::vector<std::string>{"000000.TRX", "J12BH3.TRX", "J12E12.TRX"}));
  // A hole with nothing: 24 header lines, the colour, five empty sections and 14 lines of other data.
  std::vector<std::string> empty(24, "");
  empty[0] = "7022";
  empty[20] = empty[22] = "000";
  empty.insert(empty.end(), {"", " 0", " 0", " 0", " 0", " 0"});
  empty.insert(empty.end(), 14, "");
  empty.insert(empty.end(), {kMark2, kMark3});
  EXPECT_EQ(trx("000000.TRX"), empty);
  // An attached-file line is a note too; "BIND" binds an existing file to the hole's output.
  EXPECT_EQ(sections("J12BH3.TRX").notes, (std::vector<std::string>{"SAMPLES: BIND FILE: extra.txt"}));
  EXPECT_EQ(NOTELIST, "|J12BH3extra.txt|");
  // The hole without layers and the attached file that is not there are written down.
  const std::string logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 2) << logged;
  EXPECT_NE(logged.find("Hole 1 (000) of holes.txt line 2: " + PROMPT(92) + "\r\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("Hole 3 (Borehole 12) of holes.txt line 15: File not found : missing.txt <SAMPLES: BIND FILE: "
                        "missing.txt>\r\n"),
            std::string::npos)
      << logged;
}

// Two holes with one code must not share a coded file: the later gets a code of its own and the user
// is told; a run from the run file asks nothing.
TEST_F(HolePass, HolesWithOneCode) {
  const std::vector<std::string> input = {"Hole: BH-1", "/", "1.0 Clay", "/", "//",
                                          "Hole: BH1", "/", "2.0 Sand", "/", "//",
                                          "Hole: XBH1", "/", "3.0 Gravel", "/", "//", "///"};
  const std::string out = convert(input);
  EXPECT_EQ(trx_files(), (std::vector<std::string>{"000BH1.TRX", "000_01.TRX", "000_02.TRX"}));
  EXPECT_EQ(sections("000BH1.TRX").layers.at(0), "[1.0]  Clay");
  EXPECT_EQ(sections("000_01.TRX").layers.at(0), "[2.0]  Sand");
  EXPECT_EQ(sections("000_02.TRX").header[20], "XBH1");  // the hole keeps its name
  EXPECT_NE(out.find(PROMPT(21) + " 000BH1 -> 000_01 (hole BH1)\n"), std::string::npos) << out;
  EXPECT_NE(out.find(PROMPT(21) + " 000BH1 -> 000_02 (hole XBH1)\n"), std::string::npos) << out;
  EXPECT_EQ(con->keys, 1);  // only the closing warning's key wait, which a batch console answers at once
  EXPECT_EQ(rt::exit_code(), 0);

  // At the console the user is asked: any key goes on, Esc stops the conversion before the catalogue.
  struct Case {
    std::deque<std::string> answers;
    std::vector<std::string> files;
    bool catalogued;
  } cases[] = {
      {{"y", "y", "\r"}, {"000BH1.TRX", "000_01.TRX", "000_02.TRX"}, true},
      {{"y", "\x1b"}, {"000BH1.TRX", "000_01.TRX"}, false},
  };
  for (const auto& k : cases) {
    auto c = std::make_unique<AnsweringConsole>();
    c->answers = k.answers;
    printed = c.get();
    con = c.get();
    platform::set_console(std::move(c));
    RUNFLAGS = 0;
    const std::string asked = convert(input);
    EXPECT_EQ(trx_files(), k.files);
    EXPECT_NE(asked.find(PROMPT(20)), std::string::npos);
    EXPECT_EQ(handed_over, k.catalogued) << asked;
  }
  // Each code given is written down with its hole; nothing was lost, so the exit code stays 0.
  EXPECT_NE(log().find(PROMPT(21) + " 000BH1 -> 000_02 (hole XBH1) in holes.txt\r\n"), std::string::npos) << log();
}

// Every loop over lines ends at the end of the input, also where the pre-scan counted slash lines that
// the hole pass reads as text (inside a verbatim block); and an input file whose name fits a work-file
// mask is not deleted with the work files.
TEST_F(HolePass, ConversionAlwaysEnds) {
  std::string out = convert({"Hole: BH1", "/", "1.0 Clay", "^", "/", "//", "///"}, "holes.trx");
  EXPECT_EQ(trx_files(), (std::vector<std::string>{"000BH1.TRX", "holes.trx"}));
  EXPECT_EQ(sections("000BH1.TRX").layers.size(), 1u);
  // A verbatim block that no line closes takes in the holes after it; that is said, not passed over,
  // and written down with the line that opened it: the run ends with 1.
  const std::string unclosed = PROMPT(96) + "\n" + rt::UCASE(PROMPT(22));
  EXPECT_NE(out.find(unclosed), std::string::npos) << out;
  EXPECT_EQ(rt::exit_code(), 1);
  EXPECT_NE(log().find("Hole 1 (BH1) of holes.trx line 4: " + PROMPT(96) + "\r\n"), std::string::npos) << log();
  clear_log();
  out = convert({"Hole: BH1", "/", "1.0 Clay", "^", "2.0 Sand", "/", "//", "Hole: BH2", "/", "1.0 Clay", "/", "//", "///"});
  EXPECT_EQ(trx_files(), (std::vector<std::string>{"000BH1.TRX"}));
  EXPECT_NE(out.find(unclosed), std::string::npos) << out;
  const std::string logged = log();
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
  EXPECT_NE(logged.find("Hole 1 (BH1) of holes.txt line 4: " + PROMPT(96) + "\r\n"), std::string::npos) << logged;
  clear_log();
  out = convert({"Hole: BH1", "/", "1.0 Clay", "^", "2.0 Sand", "^", "/", "//", "///"});
  EXPECT_EQ(out.find(PROMPT(96)), std::string::npos) << out;

  // An input that was saved shorter after the pre-scan measured it: the hole pass ends where the
  // file ends, inside a header too.
  for (const char* rest : {"Hole: BH2\r\n", "Hole: BH2\r\n/\r\n1.0 Clay\r\n", "Hole: BH2\r\n/\r\n1.0 Clay\r\n/\r\nA note\r\n"}) {
    dir.write("holes.txt", crlf({"Hole: BH1", "/", "1.0 Clay", "/", "//", "///"}));
    SOURCENAME = "holes.txt";
    ConvState st = state();
    PRELIMIN(st);
    CHECKWOR(st);
    ENTERFIL(st);
    BLOCKSLA(st);
    dir.write("holes.txt", rest);
    JOBHEADE(st);
    HOLEDETA(st);
    EXPECT_EQ(LINECOUNT, static_cast<std::int32_t>(std::string(rest).size())) << rest;
    EXPECT_LE(trx_files().size(), 1u) << rest;
    rt::close_all();
  }
  EXPECT_EQ(log(), "");
}

}  // namespace
