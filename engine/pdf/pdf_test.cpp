// The PDF writer: object layer, page assembly, resources, cross-reference table, paths and text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "engine/pdf/pdf_fixture.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

TEST_F(PdfTest, TextForms) {
  EXPECT_EQ(FNOBJLAB(12), "12 0 obj");
  EXPECT_EQ(FNOBJREF(12), "12 0 R");
  struct Z {
    int width, value;
    const char* want;
  } zs[] = {{10, 0, "0000000000"}, {5, 65535, "65535"}, {5, 123456, "23456"}, {10, 82, "0000000082"}, {5, -42, "00042"}, {3, 0, "000"}};
  for (const auto& z : zs) EXPECT_EQ(FNZEROFI(z.width, z.value), z.want);
  struct O {
    const char* key;
    int want;
  } os[] = {{"/Root", 5}, {"/Info", 0}, {"/Size", 37}};
  for (const auto& o : os) EXPECT_EQ(FNOID("/Size 37 /Root 5 0 R", o.key), o.want) << o.key;
  EXPECT_EQ(FNOID("/Length\r\n\t 12", "/Length"), 12);
  EXPECT_EQ(FNOID("<< /Length", "/Length"), 0);                   // nothing after the key
  EXPECT_EQ(FNOID("/Length 99999999999 >>", "/Length "), -1);     // beyond an object number
  EXPECT_EQ(FNOID("/Length \x01 -3.5e1x", "/Length "), -35);
  EXPECT_EQ(FNPOINTS("\x1b(s1p12.5v0s"), "12.5");
  EXPECT_EQ(FNPOINTS("(s0p10h"), "");
}

TEST_F(PdfTest, HeaderOffsetsAndStreams) {
  open_leaf();
  EXPECT_EQ(PDFBYTES, 80);
  NEWSTREA();
  EXPECT_EQ(PDFOFFSET(1), 82);
  CLOSESTR();
  NEWSTREA();
  FPRINT("0 0 m");
  CLOSESTR();
  SPRINT("");
  CLOSELEA();
  open_leaf("ignored.pdf");  // a second leaf writes nothing and ignores the name
  EXPECT_EQ(LEAFCOUNT, 2);
  EXPECT_TRUE(CURCONTENT.empty());
  EXPECT_EQ(LEAFCONTENT(1), "1 0 R\r\n3 0 R\r\n");
  CLOSELEA();
  PAGECOUNT = 2;
  ASSEMBLE();
  EXPECT_EQ(PDFBYTES, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "ignored.pdf"));
  std::string pdf = dir.read("out.pdf");
  std::string head = "%PDF-1.3\r\n\x25\xD2\xD2\xC9\xCD\xBB\xD2        \r\n\x25\xBA\xBA\xCC\xCD\xBC\xBA \xDB\xDB TRAX\r\n"
                     "\x25\xC8\xBC\xC8\xCD\xCD\xC8        \r\n% 7022 ";
  EXPECT_EQ(pdf.substr(0, head.size()), head);
  EXPECT_EQ(pdf.substr(80, 20), "\r\n1 0 obj\r\n<<\r\n/Leng");
  EXPECT_NE(pdf.find("/Length 2 0 R\r\n>>\r\nstream\r\nendstream\r\nendobj\r\n\r\n2 0 obj\r\n0\r\nendobj"),
            std::string::npos);
  EXPECT_NE(pdf.find("stream\r\n0 0 m\r\nendstream\r\nendobj\r\n\r\n4 0 obj\r\n7\r\nendobj"), std::string::npos);
  expect_consistent(pdf);
}

// A one-page document: the object numbers, the resources object and the closing part, line by line.
TEST_F(PdfTest, OnePageDocument) {
  std::string pdf = one_stream([] { FPRINT("0 0 m"); });
  expect_consistent(pdf);
  const char* parts[] = {
      "\r\n3 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 4 0 R\r\n/Resources 5 0 R\r\n/Contents [\r\n1 0 R\r\n] %\r\n>>\r\nendobj\r\n",
      "\r\n5 0 obj\r\n<<\r\n/ProcSet [/PDF /Text /ImageB /ImageC \r\n ]\r\n/ExtGState <<>>\r\n"
      "/ColorSpace << /Catch 12 0 R>>\r\n/Pattern <<\r\n>>\r\n/Shading <<>>\r\n/XObject <<\r\n>>\r\n"
      "/Font <<\r\n\r\n/Ff1 6 0 R\r\n/Ff2 7 0 R\r\n/Ff3 8 0 R\r\n>>\r\n>>\r\nendobj\r\n",
      "\r\n6 0 obj\r\n<< /Type /Font\r\n/Subtype /Type1\r\n/BaseFont /Helvetica\r\n/FirstChar 32\r\n/LastChar 255\r\n"
      "/Encoding 9 0 R\r\n>>\r\nendobj\r\n",
      "/BaseFont /Helvetica-Bold\r\n", "/BaseFont /Helvetica-Oblique\r\n",
      "\r\n9 0 obj\r\n<< /Type /Encoding\r\n/BaseEncoding /WinAnsiEncoding\r\n/Differences [\r\n128 /Ccedilla",
      "/filledbox /space\r\n]\r\n>>\r\nendobj\r\n",
      "\r\n12 0 obj\r\n[/Pattern /DeviceRGB \r\n ]\r\nendobj\r\n",
      "\r\n4 0 obj\r\n<<\r\n/Type /Pages\r\n/Count  1\r\n/Kids [\r\n3 0 R\r\n]\r\n/MediaBox [ 0  0  595.00  841.00 ]\r\n>>\r\nendobj\r\n",
      "\r\n13 0 obj\r\n<<\r\n/Type /Outlines\r\n/Count 0\r\n>>\r\nendobj\r\n",
      "\r\n14 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 4 0 R\r\n/Outlines 13 0 R\r\n\r\n>>\r\nendobj\r\n\r\nxref\r\n0 15 \r\n"
      "0000000000 65535 f\r\n0000000082 00000 n\r\n",
      "trailer\r\n<<\r\n/Size 15 \r\n/Root 14 0 R\r\n>>\r\n%logolist \r\n%fontlist 6    7    8    \r\nstartxref\r\n"};
  for (const char* p : parts) EXPECT_NE(pdf.find(p), std::string::npos) << p;
  // The page tree follows the last page's objects although its number is lower.
  EXPECT_LT(pdf.find("\r\n12 0 obj"), pdf.find("\r\n4 0 obj"));
}

TEST_F(PdfTest, LaterPagesShareTheFonts) {
  for (int i = 0; i < 2; ++i) {
    open_leaf();
    NEWSTREA();
    CLOSESTR();
    CLOSELEA();
  }
  PAGECOUNT = 2;
  ASSEMBLE();
  std::string pdf = dir.read("out.pdf");
  expect_consistent(pdf);
  // First page: page 5, tree 6, resources 7, fonts 8-10, encodings 11-13, colour space 14; then
  // the second page 15 with resources 16 and colour space 17.
  EXPECT_NE(pdf.find("\r\n16 0 obj\r\n<<\r\n/ProcSet"), std::string::npos);
  EXPECT_NE(pdf.find("/ColorSpace << /Catch 17 0 R>>"), std::string::npos);
  auto count = [&](const std::string& what) {
    int n = 0;
    for (size_t at = pdf.find(what); at != std::string::npos; at = pdf.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("/Ff1 8 0 R\r\n/Ff2 9 0 R\r\n/Ff3 10 0 R\r\n"), 2);
  EXPECT_EQ(count("<< /Type /Font\r\n"), 3);
  EXPECT_EQ(count("<< /Type /Encoding\r\n"), 3);
  EXPECT_EQ(pdf.find("/Type /Font\r\n", pdf.find("\r\n15 0 obj")), std::string::npos);
  EXPECT_NE(pdf.find("/Count  2\r\n/Kids [\r\n5 0 R\r\n15 0 R\r\n]"), std::string::npos);
}

// Which leaves make each page, by log option, paper and log order.
TEST_F(PdfTest, PageOrder) {
  struct Case {
    int attrs, compress, logfirst;
    const char* paper;
    int leaves;  // leaves drawn: 2 sheet pages, then the log passes
    std::vector<std::vector<int>> pages;
  } cases[] = {
      {0, 0, 0, "A4", 3, {{1}, {2}}},
      {1, 0, 0, "A4", 4, {{1}, {3}, {2}, {4}}},
      {1, 0, -1, "A4", 4, {{3}, {1}, {4}, {2}}},
      {1, 0, 0, "A3", 4, {{3, 1}, {4, 2}}},
      {1, 0, 0, "a3", 4, {{1}, {3}, {2}, {4}}},
      {1, 10, 0, "A4", 4, {{3, 1}, {4, 2}}},
      {1, 20, -1, "A3", 4, {{3, 1}, {4, 2}}},
      {1, 3, 0, "A4", 6, {{3, 1}, {5}, {4, 2}, {6}}},
      {1, 3, -1, "A4", 6, {{5}, {3, 1}, {6}, {4, 2}}},
      {1, 3, 0, "A3", 6, {{3, 5, 1}, {4, 6, 2}}},
      // The second log pass had nothing to draw: no blank log-only pages.
      {1, 3, 0, "A4", 4, {{3, 1}, {4, 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.compress) + " " + c.paper + " " + std::to_string(c.logfirst));
    reset_pdf_globals();
    ATTRCOUNT = c.attrs;
    COMPRESSLOG = c.compress;
    LOGFIRST = static_cast<std::int16_t>(c.logfirst);
    PAPER = c.paper;
    PAGECOUNT = 2;
    std::map<std::string, int> leaf_of;  // content reference -> leaf
    for (int leaf = 1; leaf <= c.leaves; ++leaf) {
      open_leaf();
      NEWSTREA();
      leaf_of[FNOBJREF(PDFOBJECT)] = leaf;
      CLOSESTR();
      CLOSELEA();
    }
    ASSEMBLE();
    std::string pdf = dir.read("out.pdf");
    expect_consistent(pdf);
    std::vector<std::vector<int>> pages;
    for (const auto& contents : find_all_regex(pdf, "/Contents \\[\r\n((?:\\d+ 0 R\r\n)*)\\] %")) {
      std::vector<int> leaves;
      for (const auto& ref : find_all_regex(contents[1], "(\\d+ 0 R)\r\n")) leaves.push_back(leaf_of[ref[1]]);
      pages.push_back(leaves);
    }
    EXPECT_EQ(pages, c.pages);
    EXPECT_EQ(PAGEDONE, static_cast<int>(c.pages.size()));
    EXPECT_NE(pdf.find(std::string("/MediaBox [ 0  0  ") + (c.paper == std::string("A3") ? "1190.0" : "595.00")),
              std::string::npos);
  }
}

TEST_F(PdfTest, LogOnlyPagesCarryNoLogo) {
  ATTRCOUNT = 1;
  PAGECOUNT = 1;
  for (int leaf = 1; leaf <= 2; ++leaf) {
    open_leaf();
    LOGOCONTENT = "90 0 R";  // as the logo import of the document leaves it
    CLOSELEA();
  }
  ASSEMBLE();
  std::string pdf = dir.read("out.pdf");
  EXPECT_NE(pdf.find("/Contents [90 0 R\r\n] %"), std::string::npos);
  EXPECT_NE(pdf.find("/Contents [\r\n] %"), std::string::npos);
}

// Numbers that no object took (the logo import keeps the logo's own numbers) are free entries.
TEST_F(PdfTest, UnusedNumbersAreFree) {
  open_leaf();
  NEWSTREA();
  CLOSESTR();
  PDFOBJECT += 3;  // as if three numbers had gone to objects of another file
  CLOSELEA();
  PAGECOUNT = 1;
  ASSEMBLE();
  std::string pdf = dir.read("out.pdf");
  expect_consistent(pdf);
  EXPECT_NE(pdf.find("0 18 \r\n0000000003 65535 f\r\n"), std::string::npos);
  EXPECT_EQ(pdf.find("0000000000 00000 n"), std::string::npos);
}

TEST_F(PdfTest, Paths) {
  struct Case {
    std::function<void()> draw;
    const char* want;
  } cases[] = {
      {[] { PDFMOVE(0, 0); }, " 18.00  807.00 m\r\n"},
      {[] { PDFLINE(2475, 3362); }, " 612.00  0.12 l\r\n"},
      {[] { PDFMOVE(-100, 3400); }, "-6.00 -9.00 m\r\n"},
      {[] { PDFRULE(100, 200, 0); }, ".12 w\r\n 42.00  807.00 m\r\n 66.00  807.00 l\r\nS\r\n"},
      {[] { PDFBORDE(100, 0, 10); }, ".12 w\r\n 42.00  807.00 m\r\n 42.00  804.60 l\r\nS\r\n"},
      {[] { PDFRULE4(100, 200, 0, 4); }, " 0.96 w\r\n 42.00  807.00 m\r\n 66.00  807.00 l\r\nS\r\n"},
      {[] { PDFBORDE4(100, 0, 10, 0); }, " 0.00 w\r\n 42.00  807.00 m\r\n 42.00  804.60 l\r\nS\r\n"},
      {[] { PDFARROW(100, 0, 30); }, " 42.00  807.00 m\r\n 45.60  807.00 l\r\n 43.92  799.80 l\r\nb\r\n"},
      {[] { PDFARROW(101, 0, -30); }, " 42.24  807.00 m\r\n 45.84  807.00 l\r\n 43.92  814.20 l\r\nb\r\n"},
      // Flag 1 in the second colour: a solid bar.
      {[] {
         LOGBARFLAG2 = 1;
         LOGBARRGB2 = "1 0 0";
         PDFBAR(100, 800, 100, 10);
       },
       "q\r\n1 0 0 rg\r\n 42.00 612.60 24.00 2.40 re\r\nf\r\nQ\r\n"},
      // No colour: a black pattern; a bar reaching below the page keeps its numbers apart.
      {[] {
         PATTERNNAME = "/Hatch3";
         PDFBAR(-100, 3390, 100, 10);
       },
       "q\r\n/Catch cs\r\n0 0 0 /Hatch3 scn\r\n-6.00 -9.00 24.00 2.40 re\r\nf\r\nQ\r\n"},
      // Both bits: the solid colour, then the pattern over it in black.
      {[] {
         LOGBARFLAG1 = 3;
         LOGBARRGB1 = "0 0 1";
         PATTERNNAME = "/Shade28";
         PDFBAR(0, 0, 10, 10);
       },
       "q\r\n0 0 1 rg\r\n 18.00 804.60 2.40 2.40 re\r\nf\r\n/Catch cs\r\n0 0 0 /Shade28 scn\r\n 18.00 804.60 2.40 2.40 re\r\nf\r\nQ\r\n"},
  };
  for (const auto& c : cases) {
    reset_pdf_globals();
    reset_pdf_input_globals();
    EXPECT_EQ(first_stream(one_stream(c.draw)), c.want);
  }
  EXPECT_EQ(LOGBARFLAG1, 3);
  reset_pdf_input_globals();
  reset_pdf_globals();
  one_stream([] { PDFBAR(0, 0, 1, 1); });
  EXPECT_EQ(LOGBARFLAG1, 2);
  EXPECT_EQ(LOGBARRGB1, "0 0 0");
  EXPECT_EQ(RGBFLAG, 2);

  std::string out;
  std::int16_t flag = -1;
  RGB2PDF(0x030080FF, out, flag);
  EXPECT_EQ(out, " 1.000 .502 .000 rg");
  EXPECT_EQ(flag, 3);
  RGB2PDF(0, out, flag);
  EXPECT_EQ(out, " .000 .000 .000 rg");
  EXPECT_EQ(flag, 0);
}

TEST_F(PdfTest, Text) {
  const std::string esc = "\x1b";
  struct Case {
    std::int32_t font_before, last_font;
    std::string rgb, text, want;
    std::int32_t font_after;
    std::string left;  // what the caller's variable holds afterwards
  } cases[] = {
      {1, 1, "", "A(b)", "BT\r\n 42.00  807.00 Td\r\n 94.482 Tz\r\n(A\\(b\\)) Tj\r\nET\r\n", 1, "A\\(b\\)"},
      // Whatever the text holds, every backslash and parenthesis is escaped.
      {1, 1, "", "a\\(b", "BT\r\n 42.00  807.00 Td\r\n 94.482 Tz\r\n(a\\\\\\(b) Tj\r\nET\r\n", 1, "a\\\\\\(b"},
      {1, 0, "", "x", "BT\r\n/Ff1 12.00 Tf \r\n 42.00  807.00 Td\r\n 94.482 Tz\r\n(x) Tj\r\nET\r\n", 1, "x"},
      {1, 1, "", "\x13xyz", "BT\r\n/Ff2 12 Tf \r\n 42.00  807.00 Td\r\n 94.482 Tz\r\n(xyz) Tj\r\nET\r\n", 2, "xyz"},
      // Two marks at the start: both switch, and neither stays in the string.
      {1, 1, "", "\x13\x13xyz", "BT\r\n/Ff2 12 Tf \r\n/Ff1 12 Tf \r\n 42.00  807.00 Td\r\n 94.482 Tz\r\n(xyz) Tj\r\nET\r\n", 1,
       "xyz"},
      {3, 3, "", "ab\x13" "cd", "BT\r\n 42.00  807.00 Td\r\n 94.482 Tz\r\n(ab) Tj /Ff1 12 Tf (cd) Tj\r\nET\r\n", 1,
       "ab) Tj /Ff1 12 Tf (cd"},
      {1, 1, "", "\x15" "80\x15" "wide", "BT\r\n 42.00  807.00 Td\r\n 75.59 Tz\r\n(wide) Tj\r\nET\r\n", 1, "wide"},
      {1, 1, "1 0 0", "a\x19" "b\x19" "c", "BT\r\n 42.00  807.00 Td\r\n 94.482 Tz\r\n(a) Tj 1 0 0 rg (b) Tj 0.0 g (c) Tj\r\nET\r\n",
       1, "a) Tj 1 0 0 rg (b) Tj 0.0 g (c"},
      // The printer's cursor moves and underline codes are gone from the string.
      {1, 1, "", "a" + esc + "*p120X" + esc + "&dDb" + esc + "&d@c",
       "BT\r\n 42.00  807.00 Td\r\n 94.482 Tz\r\n(abc) Tj\r\nET\r\n", 1, "abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    reset_pdf_globals();
    TEXTRGB = c.rgb;
    CURFONT = c.font_before;
    std::string text = c.text;
    EXPECT_EQ(first_stream(one_stream([&] {
                PDFLASTFONT = c.last_font;
                PDFPRINT(100, 0, text);
              })),
              c.want);
    EXPECT_EQ(CURFONT, c.font_after);
    EXPECT_EQ(text, c.left);
  }
}

// A colour run that goes on over several texts colours each of them, and no colour stays in force
// after a text object: not for later drawing, not in the next leaf.
TEST_F(PdfTest, ColourRunsStayInTheirText) {
  TEXTRGB = "1 0 0";
  std::string a = "open\x19red", b = "still red\x19" "black", c = "black";
  open_leaf();
  NEWSTREA();
  PDFPRINT(0, 0, a);
  PDFRULE(0, 10, 0);
  CLOSESTR();
  CLOSELEA();
  open_leaf();
  NEWSTREA();
  PDFPRINT(0, 0, b);
  PDFPRINT(0, 0, c);
  CLOSESTR();
  CLOSELEA();
  PAGECOUNT = 2;
  ASSEMBLE();
  std::string pdf = dir.read("out.pdf");
  expect_consistent(pdf);
  EXPECT_NE(pdf.find("(open) Tj 1 0 0 rg (red) Tj 0.0 g\r\nET\r\n.12 w"), std::string::npos);
  EXPECT_NE(pdf.find("1 0 0 rg (still red) Tj 0.0 g (black) Tj\r\nET"), std::string::npos);
  EXPECT_NE(pdf.find("\r\n(black) Tj\r\nET"), std::string::npos);
  EXPECT_EQ(TEXTRGBON, 0);

  // A run left open by one document does not carry into the next.
  std::string d = "\x19open";
  one_stream([&] { PDFPRINT(0, 0, d); });
  EXPECT_EQ(TEXTRGBON, -1);
  reset_pdf_globals();
  TEXTRGBON = -1;
  std::string e = "plain";
  EXPECT_EQ(first_stream(one_stream([&] { PDFPRINT(0, 0, e); })).find("rg"), std::string::npos);
}

TEST_F(PdfTest, Underlines) {
  const std::string on = "\x1b&dD", off = "\x1b&d@";
  std::string text = "ab" + on + "cd" + off + "e" + on + "fg";
  std::string plain = "none";
  open_leaf();
  NEWSTREA();
  PDFPRINT(100, 200, text);
  CLOSESTR();
  PDFUNDER();
  CLOSELEA();
  EXPECT_EQ(UNDERCOUNT, 2);
  EXPECT_EQ(UNDERLINE(1), 200);
  EXPECT_EQ(UNDERLINE(2), 120);  // after "ab", 10 dots a character
  EXPECT_EQ(UNDERLINE(3), 140);
  EXPECT_EQ(UNDERLINE(5), 150);
  EXPECT_EQ(UNDERLINE(6), 170);  // no off-code: to the end of the text
  EXPECT_EQ(text, "abcdefg");
  open_leaf();
  NEWSTREA();
  PDFPRINT(0, 0, plain);
  CLOSESTR();
  PDFUNDER();  // a leaf without underlines gets no stream for them
  CLOSELEA();
  EXPECT_EQ(LEAFCONTENT(1), "1 0 R\r\n3 0 R\r\n");
  EXPECT_EQ(LEAFCONTENT(2), "5 0 R\r\n");
  PAGECOUNT = 2;
  ASSEMBLE();
  std::string pdf = dir.read("out.pdf");
  EXPECT_NE(pdf.find("stream\r\n 0.96 w\r\n 46.80  757.80 m\r\n 51.60  757.80 l\r\nS\r\n"
                     " 0.96 w\r\n 54.00  757.80 m\r\n 58.80  757.80 l\r\nS\r\nendstream"),
            std::string::npos);

  // More runs than the table holds: the rest are not recorded, nothing is written out of bounds.
  reset_pdf_globals();
  std::string many;
  for (int i = 0; i < 90; ++i) many += on + "x" + off;
  open_leaf();
  NEWSTREA();
  PDFPRINT(0, 0, many);
  CLOSESTR();
  EXPECT_EQ(UNDERCOUNT, 83);
  EXPECT_FALSE(fs::exists(dir.path() / "ERROR.LOG"));
}

// A document that needs more leaves than the leaf table holds is refused with a message and leaves no
// broken file behind; the object table has no such limit: it grows with the document.
TEST_F(PdfTest, RefusesMoreLeavesThanTheTableHoldsButNotMoreObjects) {
  for (int i = 0; i < 71; ++i) {
    open_leaf();
    NEWSTREA();
    CLOSESTR();
    CLOSELEA();
  }
  EXPECT_TRUE(pdf_refused);
  PAGECOUNT = 71;
  ASSEMBLE();
  EXPECT_EQ(PDFBYTES, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "out.pdf"));

  // 2101 streams of two objects each: beyond the 4200 objects the table once held, written whole.
  reset_pdf_globals();
  open_leaf();
  for (int i = 0; i < 2101; ++i) {
    NEWSTREA();
    std::string text = "s" + std::to_string(i);
    PDFPRINT(0, 0, text);
    CLOSESTR();
  }
  CLOSELEA();
  EXPECT_FALSE(pdf_refused);
  PAGECOUNT = 1;
  ASSEMBLE();
  ASSERT_TRUE(fs::exists(dir.path() / "out.pdf"));
  const std::string pdf = dir.read("out.pdf");
  expect_consistent(pdf);
  EXPECT_GT(PDFOBJECT, 4202);
  // Every stream is on the page, the last one too.
  const size_t contents = pdf.find("/Contents [");
  ASSERT_NE(contents, std::string::npos);
  EXPECT_EQ(std::count(pdf.begin() + static_cast<long>(contents),
                       pdf.begin() + static_cast<long>(pdf.find(']', contents)), 'R'),
            2101);
  EXPECT_NE(pdf.find("(s2100) Tj"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.path() / "ERROR.LOG"));
  EXPECT_TRUE(box.texts.empty());

  // The next document is written again.
  reset_pdf_globals();
  expect_consistent(one_stream([] { PDFMOVE(0, 0); }));
}

// Without pdffonts.dat the font names stay as they were; a font that has none yet is the standard
// Helvetica, so the fonts are still standard fonts with a valid encoding.
TEST_F(PdfTest, FontsWithoutTheFontTable) {
  fs::remove(dir.path() / "pdffonts.dat");
  FONTPDFNAME.clear();
  std::string pdf = one_stream([] {});
  expect_consistent(pdf);
  EXPECT_EQ(pdf.find("/BaseFont /\r\n"), std::string::npos);
  size_t fonts = 0;
  for (size_t p = pdf.find("/BaseFont /Helvetica\r\n"); p != std::string::npos; p = pdf.find("/BaseFont /Helvetica\r\n", p + 1))
    ++fonts;
  EXPECT_EQ(fonts, 3u);
  EXPECT_NE(pdf.find("/BaseEncoding /WinAnsiEncoding\r\n/Differences [\r\n]"), std::string::npos);
}

}  // namespace
