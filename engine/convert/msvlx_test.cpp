// The running text of word-processor documents: what "workfile.txt" holds for synthetic compound
// documents, and that a document converts to the same holes as the same text typed as plain text.
#include <gtest/gtest.h>

#include <map>

#include "engine/convert/holepass_fixture.h"

namespace {

const std::string kNuls(6, '\0');

// A compound document as the signature file announces it: the 512-byte header that begins with the
// signature, two sectors before the text (the text starts at byte 1536), the text, the six NUL bytes
// that end it, and the rest of the last sector. With late, the sector at 1536 is a block of NUL bytes
// and the text starts at 2560.
std::string document(const std::string& signature, const std::string& text, bool late = false, bool ended = true) {
  std::string doc = signature;
  doc.resize(1536, '\0');
  for (size_t i = 512; i < 1536; i += 7) doc[i] = 'x';  // the sectors before the text are not all NUL bytes
  if (late) doc += std::string(1024, '\0');
  doc += text;
  if (ended) doc += kNuls;
  doc.resize((doc.size() + 511) / 512 * 512, '\0');
  if (!ended) doc.erase(doc.find_last_not_of('\0') + 1);
  return doc;
}

// What the text of a document becomes when no paragraph is longer than a line: every paragraph end
// CR LF, every tab six blanks.
std::string plain(const std::string& text) {
  std::string out = "WORDPAD\r\n";
  for (char c : text) {
    if (c == '\r') out += "\r\n";
    else if (c == '\t') out += std::string(6, ' ');
    else out += c;
  }
  return out;
}

// Paragraphs of 49 letters each, as many as fill n characters.
std::string short_paragraphs(size_t n) {
  std::string text;
  for (int i = 0; text.size() < n; ++i) text += std::string(49, static_cast<char>('a' + i % 26)) + "\r";
  return text.substr(0, n);
}

class WordProcessorText : public HolePass {
 protected:
  void SetUp() override {
    HolePass::SetUp();
    signature = dir.read("wordpad.sig");
  }
  // The running text of the document with the given text, as MSVLX writes it.
  std::string extract(const std::string& doc) {
    dir.write("report.doc", doc);
    SOURCENAME = "report.doc";
    MSVLX();
    EXPECT_EQ(rt::FREEFILE(), 1);  // every file closed
    return dir.read("workfile.txt");
  }
  std::string signature;
};

TEST_F(WordProcessorText, FieldsTabsAndParagraphs) {
  const std::string f19 = "\x13", f20 = "\x14", f21 = "\x15";
  struct Case {
    const char* what;
    std::string text, workfile;  // the document's text; what follows the "WORDPAD" line
    bool late = false;
  } cases[] = {
      {"paragraphs", "Hole: BH1\r/\r1.0 Clay\r", "Hole: BH1\r\n/\r\n1.0 Clay\r\n"},
      {"a tab", "1.0\tClay\r", "1.0      Clay\r\n"},
      {"a field: its code goes, its result stays",
       "See " + f19 + " HYPERLINK \"plan.pdf\" " + f20 + "the site plan" + f21 + " first.\r", "See the site plan first.\r\n"},
      {"two fields in a row", f19 + "A" + f20 + "one" + f21 + f19 + "B" + f20 + "two" + f21 + "\r", "onetwo\r\n"},
      // The search goes on one character after each change: of two field ends in a row the second stays.
      {"field ends in a row", "a" + f21 + f21 + "b\r", "a" + f21 + "b\r\n"},
      {"an embedded object goes whole", "Log " + f19 + " EMBED x " + f20 + "\x01" + f21 + "ends\r", "Log ends\r\n"},
      {"NUL bytes inside the text", std::string("a\0b\r", 4), "ab\r\n"},
      {"text after a block of NUL bytes", "Late text\r", "Late text\r\n", true},
  };
  // A text starts with a title line: the 32 bytes at its start must hold fewer than six NUL bytes.
  const std::string title = "Riverside Business Park, phase 2\r";
  for (const auto& k : cases) {
    EXPECT_EQ(extract(document(signature, title + k.text, k.late)), "WORDPAD\r\n" + plain(title).substr(9) + k.workfile)
        << k.what;
  }
}

// A paragraph longer than a line is broken after blanks, which the lines keep: lines of at most 75
// characters, then lines of a tab and at most 67; a word longer than a line stays whole.
TEST_F(WordProcessorText, LongParagraphsAreBrokenAtBlanks) {
  std::string paragraph;
  for (int i = 0; i < 40; ++i) paragraph += "word" + std::to_string(i) + " ";
  const std::string long_word(90, 'w');
  const std::string text = paragraph + "end\r" + long_word + " x\r";
  const std::string out = extract(document(signature, text));
  std::vector<std::string> lines;
  for (size_t from = 0, end; from < out.size(); from = end + 2) {
    end = out.find("\r\n", from);
    if (end == std::string::npos) end = out.size();
    lines.push_back(out.substr(from, end - from));
  }
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "WORDPAD");
  std::string joined = lines[1];
  EXPECT_LE(lines[1].size(), 75u);
  EXPECT_EQ(lines[1].back(), ' ');
  size_t i = 2;
  for (; i < lines.size() && lines[i][0] == '\t'; ++i) {
    EXPECT_LE(lines[i].size(), 68u) << lines[i];
    if (i + 1 < lines.size() && lines[i + 1][0] == '\t') {  // a line broken after its blank
      EXPECT_EQ(lines[i].back(), ' ') << lines[i];
    }
    joined += lines[i].substr(1);
  }
  EXPECT_EQ(joined + " ", paragraph + "end ");  // nothing lost, nothing doubled
  EXPECT_EQ(lines.at(i), long_word + " ");  // whole, and broken after the first blank after it
  EXPECT_EQ(lines.at(i + 1), "\tx");
}

// The text is read in windows of 2048 bytes: a paragraph end, a field or a match across a window's
// end is handled once, and nothing is lost or written twice, also when the document has no run of
// NUL bytes at the end of its text.
TEST_F(WordProcessorText, WindowEnds) {
  std::string at_window_end = short_paragraphs(2047) + "\r";  // the paragraph end is the window's last byte
  at_window_end += short_paragraphs(3000);
  std::string field_across = short_paragraphs(2040) + "\x13 PAGE  \\* MERGEFORMAT \x14" + "7" + "\x15" + short_paragraphs(1000);
  std::string expected_field = plain(short_paragraphs(2040) + "7" + short_paragraphs(1000));
  std::string tab_at_end = short_paragraphs(2047) + "\t" + short_paragraphs(600);
  const std::string no_end = short_paragraphs(4500);
  EXPECT_EQ(extract(document(signature, at_window_end)), plain(at_window_end));
  EXPECT_EQ(extract(document(signature, field_across)), expected_field);
  EXPECT_EQ(extract(document(signature, tab_at_end)), plain(tab_at_end));
  EXPECT_EQ(extract(document(signature, no_end, false, false)), plain(no_end));
  EXPECT_EQ(log(), "");
}

// A document and its plain-text twin give the same coded hole files; the remap of word-processor text
// is on for the document's conversion only.
TEST_F(WordProcessorText, DocumentConvertsLikeItsPlainTextTwin) {
  const std::vector<std::string> lines = {
      "Client        : Riverside Developments Ltd",
      "Hole Number   : BH1",
      "/",
      "0.30  MADE GROUND: dark brown sandy gravelly TOPSOIL with brick fragments and roots, over a thin layer of ash.",
      "1.20      Firm brown CLAY.",
      "/",
      "NOTES:",
      "Water strike at 1.10m",
      "Disturbed sample DS01 0.5--0.7m",
      "ATTRIBUTE: SPT N [GRAPH 50]",
      " 1.00: 12",
      "//",
      "Hole Number   : TP2",
      "/",
      "0.50  Sandy GRAVEL",
      "/",
      "//",
      "///"};
  auto coded = [&] {
    std::map<std::string, std::string> files;
    for (const auto& name : trx_files()) files[name] = dir.read(name);
    return files;
  };
  convert(lines);
  const auto twin = coded();
  EXPECT_EQ(WPMODE, 0);
  ASSERT_EQ(twin.size(), 2u);

  // The same text in a document: paragraphs end with CR; a tab (six blanks) parts a depth from its
  // description, and the second hole's name is a field whose result is the name.
  std::string text;
  for (std::string l : lines) {
    if (l.rfind("1.20  ", 0) == 0) l = "1.20\tFirm brown CLAY.";
    if (l == "Hole Number   : TP2") l = "Hole Number   : \x13 SEQ hole \x14TP2\x15";
    text += l + "\r";
  }
  dir.write("holes.doc", document(signature, text));
  SOURCENAME = "holes.doc";
  take_printed();
  PROCONV();
  EXPECT_EQ(WPMODE, 1);
  // The long layer line is broken after a blank, which the broken line keeps: the reader's join adds
  // one more there. Apart from that blank the holes are the same.
  auto one_blank = [](std::map<std::string, std::string> files) {
    for (auto& entry : files)
      for (size_t p; (p = entry.second.find("fragments  and")) != std::string::npos;) entry.second.erase(p + 9, 1);
    return files;
  };
  const auto from_document = coded();
  EXPECT_NE(from_document.at("000BH1.TRX").find("fragments  and"), std::string::npos);
  EXPECT_EQ(one_blank(from_document), twin);
  EXPECT_EQ(log(), "");

  // The next conversion of plain text in the same run remaps nothing.
  convert(lines);
  EXPECT_EQ(WPMODE, 0);
}

}  // namespace
