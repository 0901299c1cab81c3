// The editor's tools: wrapping, shifting, plaintext layers, character sets, spreadsheet tables, find and
// replace.
#include "frontend/core/edittools.h"

#include <gtest/gtest.h>

#include "frontend/core/editcheck.h"
#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/textbox.h"

namespace quorvel {
namespace {

using Box = fakes::EditBox;

TEST(EditTools, WrapUnwrapAndShift) {
  const std::string line70 = "2.50  Firm brown slightly sandy CLAY with rare subangular fine gravel.";
  ASSERT_EQ(line70.size(), 70u);
  const std::string wrapped = WrapDescriptions(line70, 30);
  EXPECT_EQ(wrapped,
            "2.50  Firm brown slightly\r\n    sandy CLAY with rare\r\n    subangular fine gravel.\r\n");
  for (const std::string& l : SelectionLines(wrapped)) EXPECT_LE(l.size(), 30u) << l;
  EXPECT_EQ(UnwrapDescriptions(wrapped), "2.50  Firm brown slightly sandy CLAY with rare subangular fine gravel.\r\n");
  // A word longer than the width stays whole.
  // No blank from column 5 to W + 1: the line stays whole.
  EXPECT_EQ(WrapDescriptions("1.0 " + std::string(40, 'X') + " end", 30), "1.0 " + std::string(40, 'X') + " end\r\n");
  EXPECT_EQ(WrapDescriptions("1.0  " + std::string(40, 'X'), 30), "1.0 \r\n    " + std::string(40, 'X') + "\r\n");
  // The engine passes blank lines over: a continuation after one still belongs to the layer before it.
  // A selection that stops before its last line end gets none (no empty line after it).
  EXPECT_EQ(UnwrapDescriptions("    lone\r\n1.0 a\r\n\r\n    b"), "lone\r\n1.0 a b\r\n");
  EXPECT_EQ(UnwrapDescriptions("1.0 a\r\n    b"), "1.0 a b");
  EXPECT_EQ(UnwrapDescriptions("1.0 a\r\n    b\r\n"), "1.0 a b\r\n");

  struct Case {
    const char* what;
    std::string text;
    long start, length;
    bool indent;
    std::string result;
  } cases[] = {
      {"indent: a note line, not a depth", "Head\r\nNote one\r\n2.5  SAND\r\nnote two\r\n", 0, 38, true,
       "Head\r\n    Note one\r\n2.5  SAND\r\n    note two\r\n"},
      {"indent: the first line never", "first\r\nsecond", 0, 13, true, "first\r\n    second"},
      {"outdent: at most four blanks", "a\r\n      six\r\n  two\r\n", 0, 19, false, "a\r\n  six\r\ntwo\r\n"},
      {"outdent: the line of the selection start", "top\r\n    x\r\n    y", 9, 2, false, "top\r\nx\r\n    y"},
  };
  for (const auto& c : cases) {
    const ShiftedBlock b = ShiftBlock(c.text, c.start, c.length, c.indent);
    std::string t = c.text;
    t.replace(static_cast<size_t>(b.start), static_cast<size_t>(b.old_length), b.block);
    EXPECT_EQ(t, c.result) << c.what;
  }
  EXPECT_EQ(AsciiCodesText("A\xE9"), "Character \"A\" = ASCII Code 65\nCharacter \"\xE9\" = ASCII Code 233");
}

// One continuation rule, the engine's: a line that begins with three blanks (a Tab counting as four)
// continues the layer before it, for the checker, Unwrap, Wrap and Next Plaintext Layer alike.
TEST(EditTools, ContinuationLinesAsTheEngineReadsThem) {
  struct Line {
    const char* line;
    bool continues;
  } lines[] = {{"   gravel", true}, {"    gravel", true}, {"\tgravel", true}, {" \tgravel", true},
               {"  gravel", false}, {"2.0  CLAY", false}, {"     ", false}, {"", false}};
  for (const Line& l : lines) EXPECT_EQ(IsContinuationLine(l.line), l.continues) << "[" << l.line << "]";

  const std::string hole = "Hole Number : BH1\r\n/\r\n1.0  ~SAND~ with\r\n   gravel and more\r\n"
                           "2.0  ~CLAY~ firm\r\n\t with cobbles\r\n/\r\nNOTES:\r\n//\r\n///\r\n";
  const BlockCheck check = CheckBlockStructure(hole);
  EXPECT_FALSE(check.fault) << check.message;
  EXPECT_EQ(check.unnumbered, "");
  EXPECT_EQ(NextPlaintextLayer(hole, 0, 0).kind, PlaintextResult::kNoneFound);
  const std::string layers = "1.0  ~SAND~ with\r\n   gravel and more\r\n2.0  ~CLAY~ firm\r\n\t with cobbles\r\n";
  EXPECT_EQ(UnwrapDescriptions(layers), "1.0  ~SAND~ with gravel and more\r\n2.0  ~CLAY~ firm with cobbles\r\n");
  // A plain layer with a three-blank continuation is reported whole, under its own depth.
  const PlaintextResult plain = NextPlaintextLayer("/\r\n1.0  ~SAND~\r\n2.0  CLAY with\r\n   gravel\r\n/\r\n//\r\n", 0, 0);
  EXPECT_EQ(plain.kind, PlaintextResult::kFound);
  EXPECT_NE(plain.box.text.find("Layer 2 at Depth 2.0:\n\n2.0  CLAY with gravel"), std::string::npos) << plain.box.text;
  for (const std::string& l : SelectionLines(WrapDescriptions("3.0  " + std::string(60, 'w') + " end of a long line", 30)))
    if (l.compare(0, 3, "3.0") != 0) {
      EXPECT_TRUE(IsContinuationLine(l)) << l;
    }
}

TEST(EditTools, NextPlaintextLayer) {
  const std::string hole =
      "Hole Number : BH1\r\n/\r\n0.5  ~Silty SAND.\r\n1.2  Firm `CLAY.\r\n2.0  Stiff CLAY with\r\n    gravel.\r\n"
      "3.0  [X2] Rock.\r\n/\r\nNOTES:\r\n//\r\n";
  const std::string marked = "Hole Number : BH2\r\n/\r\n0.5  ~SAND.\r\n1.0  [S1] CLAY.\r\n/\r\n//\r\n///\r\n";
  struct Case {
    const char* what;
    std::string text;
    long caret;
    PlaintextResult::Kind kind;
    std::string title;
    std::string selected;  // the text selected, when something is
  } cases[] = {
      {"the plain layer of two lines", hole + marked, 0, PlaintextResult::kFound, "Warning: Plaintext Found!",
       "2.0  Stiff CLAY with gravel."},
      {"every layer marked", marked, 0, PlaintextResult::kNoneFound, "No More Plaintext Found.", ""},
      {"after the last //", hole + marked, static_cast<long>((hole + marked).size()), PlaintextResult::kNoHole,
       "Hole Not Found!", ""},
  };
  for (const auto& c : cases) {
    const PlaintextResult r = NextPlaintextLayer(c.text, c.caret, 0);
    EXPECT_EQ(r.kind, c.kind) << c.what;
    EXPECT_EQ(r.box.title, c.title) << c.what;
    if (!c.selected.empty()) {
      EXPECT_EQ(r.select_length, static_cast<long>(c.selected.size())) << c.what;
      EXPECT_NE(r.box.text.find("Layer 3 at Depth 2.0:"), std::string::npos) << r.box.text;
      EXPECT_NE(r.box.text.find(c.selected), std::string::npos) << r.box.text;
    }
  }
  // A misplaced slash line ends the walk; the none-found box says which.
  const PlaintextResult bad = NextPlaintextLayer("/\r\n0.5  ~SAND.\r\n//\r\n", 0, 0);
  EXPECT_EQ(bad.kind, PlaintextResult::kNoneFound);
  EXPECT_NE(bad.box.text.find("Unexpected Double Slash // at cursor!"), std::string::npos) << bad.box.text;
}

TEST(EditTools, CharacterSetsAndTables) {
  std::string s = "caf\xE9 \x80";
  EXPECT_EQ(ConvertCharacterSet(s, true), 1);
  EXPECT_EQ(s, "caf\x82 \x80");  // e acute 233 -> 130; the euro sign stays
  std::string dos = "caf\x82";
  EXPECT_EQ(ConvertCharacterSet(dos, false), 1);
  EXPECT_EQ(dos, "caf\xE9");
  std::string bar = "\xB3|";
  EXPECT_EQ(ConvertCharacterSet(bar, false), 1);
  EXPECT_EQ(bar, "||");
  EXPECT_EQ(ConvertCharacterSet(bar, true), 0);
  std::string plain = "plain";
  EXPECT_EQ(ConvertCharacterSet(plain, true), 0);

  // Copy for a spreadsheet, and paste back.
  EXPECT_EQ(BarTableToClipboard("|one  |two |\r\n|three|four|\r\n", "\n"), "one\ttwo\nthree\tfour");
  struct Case {
    const char* what;
    std::string clipboard;
    std::string table;  // empty: refused
  } cases[] = {
      {"two rows", "one\ttwo\r\nthree\tfour", "|one  |two |\r\n|three|four|\r\n"},
      {"LF only, final line end", "one\ttwo\nthree\tfour\n", "|one  |two |\r\n|three|four|\r\n"},
      {"rows of 3, 1 and 2 cells", "a\tbb\tccc\nd\ne\tf\n", "|a|bb|ccc|\r\n|d|  |   |\r\n|e|f |   |\r\n"},
      {"a trailing Tab adds no cell", "a\t\nb\tc", "|a| |\r\n|b|c|\r\n"},
      {"one row only", "a\tb", ""},
      {"no Tab", "a\nb", ""},
      {"21 columns", std::string(20, '\t') + "x\ny", ""},
  };
  for (const auto& c : cases) {
    const PastedTable p = ClipboardToBarTable(c.clipboard);
    EXPECT_EQ(p.table, c.table) << c.what;
    EXPECT_EQ(p.refusal.has_value(), c.table.empty()) << c.what;
  }
  EXPECT_EQ(ClipboardToBarTable(std::string(20, '\t') + "x\ny").refusal->text, "Too many columns (Maximum=20)");
  // The example through the clipboard and back: each column as wide as its longest entry.
  const PastedTable back = ClipboardToBarTable(BarTableToClipboard(ExampleAttributeTable(), "\n"));
  const std::vector<std::string> rows = SelectionLines(back.table);
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[0], "|DEPTH|FAB:|SET:|INC: |SPA:|ROU:|FIL:   |FRA:|HAR:|WEA:|");
  EXPECT_EQ(rows[10], "|19,76|MF  |2   |20-30|MJ  |RJ  |-      |3   |HR  |20  |");
}

TEST(EditTools, FindAndReplace) {
  fakes::ScriptedMessageBox boxes;
  Ports ports;
  ports.msgbox = &boxes;
  {
    Box box("abcabc");
    FindReplaceForm f(ports, box);
    f.FindReplace("F");
    f.txtFind = "abc";
    box.select(0, 3);
    f.cmdFind_Click();  // the selected match is passed over
    EXPECT_EQ(box.sel_start(), 3);
    EXPECT_EQ(f.lblFound, "Found at 4");
    f.cmdFind_Click();  // nothing after: the question, No hides the box and puts the caret at the start
    EXPECT_EQ(boxes.shown.back().title, "Not Found after Character 3");
    EXPECT_FALSE(f.visible);
    EXPECT_EQ(box.sel_start(), 0);
    // From the caret at the start the match there is found only after Yes.
    boxes.answers = {Answer::Yes};
    f.cmdFind_Click();
    EXPECT_EQ(box.sel_start(), 3);  // the first pass found the second group
    box.select(4, 0);
    f.txtFind = "zz";
    boxes.shown.clear();
    boxes.answers = {Answer::Yes};
    f.cmdFind_Click();  // asked once; the pass from the start finds nothing and says so once
    EXPECT_EQ(boxes.titles(), (std::vector<std::string>{"Not Found after Character 4", "Not Found."}));
    EXPECT_EQ(f.lblFound, "Not Found.");
    // Replace in find mode only switches the mode.
    f.cmdReplace_Click();
    EXPECT_EQ(f.caption, "Replace");
    EXPECT_EQ(box.text_, "abcabc");
  }
  struct Case {
    const char* what;
    std::string text, find, replacement;
    bool match_case, in_selection;
    long sel_start, sel_length;
    std::string result;
    long count;
  } cases[] = {
      {"letter case ignored", "Sand SAND sand", "sand", "x", false, false, 0, 0, "x x x", 3},
      {"match case", "Sand SAND sand", "sand", "x", true, false, 0, 0, "Sand SAND x", 1},
      {"a by aa at the end", "banana", "a", "aa", false, false, 0, 0, "baanaanaa", 3},
      {"a by ba at the end", "aaa", "a", "ba", false, false, 0, 0, "bababa", 3},
      {"end of line and a code", "ab\r\ncd", "^p", "\\065", false, false, 0, 0, "abAcd", 1},
      {"in selection", "a a a a", "a", "bb", false, true, 2, 3, "a bb bb a", 2},
  };
  for (const auto& c : cases) {
    Box box(c.text);
    FindReplaceForm f(ports, box);
    f.FindReplace("R");
    f.txtFind = c.find;
    f.txtReplace = c.replacement;
    f.chkMatchCase = c.match_case;
    box.select(c.sel_start, c.sel_length);
    f.Form_Activate();
    EXPECT_EQ(f.chkInSelection, c.in_selection) << c.what;
    f.cmdReplaceAll_Click();
    EXPECT_EQ(box.text_, c.result) << c.what;
    EXPECT_EQ(f.ReplaceReport.substr(0, f.ReplaceReport.find(" replaced")),
              c.count == 1 ? std::string("One item") : std::to_string(c.count) + " items")
        << c.what;
    EXPECT_EQ(box.steps, 1) << c.what;  // one Undo brings the text back
    if (c.in_selection) {
      EXPECT_EQ(box.sel_start(), 2) << c.what;
      EXPECT_EQ(box.sel_length(), 5) << c.what;  // the grown selection stays selected
    }
  }
  // Nothing to find, and an escape beyond 255: boxes, no change.
  Box box("text");
  FindReplaceForm f(ports, box);
  f.FindReplace("R");
  boxes.shown.clear();
  f.cmdReplaceAll_Click();
  f.txtFind = "\\999";
  f.cmdReplaceAll_Click();
  EXPECT_EQ(boxes.titles(), (std::vector<std::string>{"Can't Replace All!", "Error in Sub cmdReplaceAll"}));
  EXPECT_EQ(box.text_, "text");
}

}  // namespace
}  // namespace quorvel
