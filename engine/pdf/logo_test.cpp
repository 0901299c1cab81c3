// The logo import and the reader of the logo's PDF file.
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <string>
#include <vector>

#include "engine/pdf/pdf_fixture.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"

using namespace testing_support;

namespace {

class LogoTest : public PdfTest {
 protected:
  void SetUp() override {
    PdfTest::SetUp();
    LOGOMACRO = "LOGO0";
  }
  void write_logo(const std::string& bytes) { dir.write("LOGO0.PDF", bytes); }
  // A document of one leaf: the logo import, then a content stream; returns the file.
  std::string document() {
    open_leaf();
    PDFLOGO();
    NEWSTREA();
    PDFMOVE(0, 0);
    CLOSESTR();
    CLOSELEA();
    PAGECOUNT = 1;
    ASSEMBLE();
    return dir.read("out.pdf");
  }
  // The console row the cursor stands in.
  std::string console_row() {
    return platform::console().row_text(platform::console().cursor_row());
  }
};

TEST_F(LogoTest, ImportsTheObjectsWithTheirNumbers) {
  PdfMaker logo = example_logo();
  logo.section("/Size 7 /Root 1 0 R");
  write_logo(logo.bytes);
  open_leaf();
  PDFLOGO();
  EXPECT_EQ(LOGOFAIL, 0);
  EXPECT_EQ(LOGODONE, -1);
  EXPECT_EQ(LOGOLASTOBJ, 10);
  EXPECT_EQ(PDFOBJECT, 10);
  EXPECT_EQ(LOGOCONTENT, " 7 0 R  4 0 R  9 0 R");
  EXPECT_EQ(LOGOFONT, " /F1 5 0 R ");
  EXPECT_EQ(LOGOPROCSET, "/PDF /Text");
  EXPECT_EQ(CURCONTENT, "");
  // A later page of the file takes nothing more.
  PDFLOGO();
  EXPECT_EQ(PDFOBJECT, 10);
  NEWSTREA();
  EXPECT_EQ(PDFOBJECT, 11);
  CLOSESTR();
  CLOSELEA();
  PAGECOUNT = 1;
  ASSEMBLE();
  std::string pdf = dir.read("out.pdf");
  expect_consistent(pdf);

  // The copy is byte for byte, between the two comment lines; the engine's streams follow.
  const std::string objects = logo.bytes.substr(10, logo.bytes.find("xref") - 10);
  EXPECT_NE(pdf.find("%LOGO start ----------\r\n" + objects + "\r\n7 0 obj\r\n<<\r\n/Length 8 0 R\r\n>>\r\nstream\r\n"
                     " q\r\n1 0 0 1  0.00 0.00 cm\r\nendstream"),
            std::string::npos);
  EXPECT_NE(pdf.find("9 0 obj\r\n<<\r\n/Length 10 0 R\r\n>>\r\nstream\r\n Q\r\n/DeviceRGB cs\r\n0 0 0 rg\r\nendstream"),
            std::string::npos);
  EXPECT_NE(pdf.find("%LOGO END ---------\r\n%LogoContents = 7 0 R  4 0 R  9 0 R<\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/Contents [ 7 0 R  4 0 R  9 0 R\r\n11 0 R\r\n] %"), std::string::npos);
  EXPECT_NE(pdf.find("/Font <<\r\n /F1 5 0 R \r\n/Ff1 "), std::string::npos);
  EXPECT_NE(pdf.find("/ProcSet [/PDF /Text /ImageB /ImageC \r\n/PDF /Text ]"), std::string::npos);
}

// How far right the logo draws, in points of its page, where its content stream tells it (rectangles,
// path points, texts at three quarters of their size a character); -1 where it does not (a
// compressed stream, a transformation, an image).
TEST_F(LogoTest, InkOfTheLogo) {
  struct Case {
    const char* what;
    std::string content, dictionary;
    double right;
  } cases[] = {
      {"a rectangle", kContent, "", 30},
      {"a path and a text", "0 0 1 rg 5 5 m 40 8 l 12 30 l f BT /F1 10 Tf 20 50 Td (Logo) Tj ET", "", 50},
      {"a text moved twice", "BT /F1 8 Tf 10 10 Td 30 0 Td (ab\\)c) Tj ET", "", 40 + 4 * 6},
      {"a curve", "10 10 m 20 30 70 30 80 10 c S", "", 80},
      {"a transformation", "q 2 0 0 2 0 0 cm 10 10 20 20 re f Q", "", -1},
      {"an image", "q 20 0 0 20 0 0 cm /Im1 Do Q", "", -1},
      {"a compressed stream", kContent, " /Filter /FlateDecode", -1},
  };
  for (const auto& c : cases) {
    PdfMaker m;
    m.add(1, "<< /Type /Catalog /Pages 2 0 R >>");
    m.add(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    m.add(3, "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> /ProcSet [/PDF /Text] >> >>");
    m.add(4, "<< /Length 6 0 R" + c.dictionary + " >>\r\nstream\r\n" + c.content + "\r\nendstream");
    m.add(5, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    m.add(6, std::to_string(c.content.size() + 2));
    m.section("/Size 7 /Root 1 0 R");
    write_logo(m.bytes);
    open_leaf();
    PDFLOGO();
    EXPECT_EQ(LOGOFAIL, 0) << c.what;
    EXPECT_DOUBLE_EQ(LOGOINKRIGHT, c.right) << c.what;
    CLOSELEA();
    reset_pdf_globals();
    LOGOMACRO = "LOGO0";
  }
}

TEST_F(LogoTest, Matrix) {
  struct Case {
    const char* matrix;
    std::int32_t x, y, shift;
    const char* want;
  } cases[] = {
      {"", 0, 0, 0, "1 0 0 1  0.00 0.00 cm"},
      {"", 100, 50, 0, "1 0 0 1  24.00 -12.00 cm"},
      {"", 0, 0, 2333, "1 0 0 1  559.92 0.00 cm"},
      {"  0.5 0 0 0.5 10 700 cm ", 100, 100, 0, "0.5 0 0 0.5  34.00 676.00 cm"},
      {"1 0 0 cm", 100, 0, 0, "1 0 0 1  24.00 0.00 cm"},        // fewer than six numbers
      {"2 1 0 0 1 0 0 cm", 0, 0, 0, "1 0 0 1  0.00 0.00 cm"},   // more than six
      {"1 0 0 1 a b cm", 0, 0, 0, "1 0 0 1  0.00 0.00 cm"},     // not numbers
      {"1 0 0 1 0 0", 0, 0, 0, "1 0 0 1  0.00 0.00 cm"},        // no operator
  };
  for (const auto& c : cases) {
    LOGOMATRIX = c.matrix;
    LOGOX = c.x;
    LOGOY = c.y;
    A3SHIFT = c.shift;
    reset_pdf_globals();
    open_leaf();
    LOGOCONTENT = " 4 0 R ";  // the logo's own content streams
    PDFLOGOH();
    EXPECT_EQ(LOGOCONTENT, " 1 0 R  4 0 R ") << c.matrix;
    CLOSELEA();
    PAGECOUNT = 1;
    ASSEMBLE();
    EXPECT_NE(dir.read("out.pdf").find("stream\r\n q\r\n" + std::string(c.want) + "\r\nendstream"), std::string::npos)
        << c.matrix << " " << c.x;
  }
}

TEST_F(LogoTest, LineReader) {
  std::string long_line(300, 'a'), too_long(40000, 'b');
  dir.write("lines", "xref\nxref\r\n" + long_line + "\r" + "last");
  dir.write("long", too_long + "\n");
  PDFINFILE = rt::FREEFILE();
  ASSERT_TRUE(rt::open_file(PDFINFILE, "lines", rt::FileMode::Binary));
  std::int32_t pos = 0;
  std::string line;
  struct Step {
    std::int32_t pos;
    std::string line;
  } steps[] = {{5, "xref"}, {11, "xref"}, {312, long_line}, {316, "last"}};
  for (const auto& s : steps) {
    EXPECT_TRUE(GETNEXTL(pos, line));
    EXPECT_EQ(pos, s.pos);
    EXPECT_EQ(line, s.line);
  }
  EXPECT_FALSE(GETNEXTL(pos, line));  // the end of the file
  EXPECT_EQ(pos, 316);
  rt::close_file(PDFINFILE);
  ASSERT_TRUE(rt::open_file(PDFINFILE, "long", rt::FileMode::Binary));
  pos = 0;
  EXPECT_FALSE(GETNEXTL(pos, line));  // no line end within 32767 bytes
  EXPECT_EQ(pos, 0);
}

TEST_F(LogoTest, ValueFinder) {
  // Object 12 holds a dictionary without references, 13 an array of references, 14 a stream.
  PdfMaker m;
  m.add(12, "<< /ProcSet [/PDF] /ExtGState << /G1 << /ca 0.5 >> >> >>");
  m.add(13, "[4 0 R 5 0 R]");
  m.add(14, "<< /Length 3 /Filter [/FlateDecode] >>\r\nstream\r\n[(x\r\nendstream");
  m.section("/Size 15 /Root 12 0 R");
  dir.write("f.pdf", m.bytes);
  PDFINFILE = rt::FREEFILE();
  ASSERT_TRUE(rt::open_file(PDFINFILE, "f.pdf", rt::FileMode::Binary));
  for (rt::Array<std::int32_t>* a : {&XREFOFFSET, &XREFORDER, &OBSTART, &OBLENG}) a->dim(0, 700);
  XREFCOUNT = 15;
  for (int n : {12, 13, 14}) {
    OBSTART(n) = static_cast<std::int32_t>(m.bytes.find("\n" + std::to_string(n) + " 0 obj") + 1);
    OBLENG(n) = static_cast<std::int32_t>(m.bytes.find("endobj", OBSTART(n)) + 8 - OBSTART(n));
  }
  struct Case {
    const char* text;
    const char* key;
    const char* open;
    const char* close;
    const char* want;
  } cases[] = {
      {"/Kids [3 0 R 4 0 R]", "/Kids", "[", "]", "3 0 R 4 0 R"},
      {"/Resources << /Font << /F1 5 0 R >> >>", "/Resources", "<<", ">>", " /Font << /F1 5 0 R >> "},
      {"<</Resources<</Font<</F1 5 0 R>>>>>>", "/Resources", "<<", ">>", "/Font<</F1 5 0 R>>"},
      {"/Resources << /ID <ab12> /N (a>>b) >>", "/Resources", "<<", ">>", " /ID <ab12> /N (a>>b) "},
      {"/Font << /F1 5 0 R >>", "/Pattern", "<<", ">>", ""},
      {"/FontFile 7 0 R /Font << /F2 8 0 R >>", "/Font", "<<", ">>", " /F2 8 0 R "},
      {"/Contents [4 0 R 12 0 R]", "/Contents", "[", "]", "4 0 R 12 0 R"},
      {"/Contents 13 0 R", "/Contents", "[", "]", "4 0 R 5 0 R"},
      {"/Contents 14 0 R", "/Contents", "[", "]", " 14 0 R "},      // a stream: the reference
      {"/Contents\r\n14 0 R", "/Contents", "[", "]", " 14 0 R "},   // a line end before it
      {"/Resources 12 0 R", "/Resources", "<<", ">>", " /ProcSet [/PDF] /ExtGState << /G1 << /ca 0.5 >> >> "},
      {"/Resources 99 0 R", "/Resources", "<<", ">>", " 99 0 R "},  // not in the table
      {"/Kids [3 0 R", "/Kids", "[", "]", ""},                       // no closing bracket
  };
  for (const auto& c : cases) {
    std::string out = "stale";
    READRESO(c.text, c.key, c.open, c.close, out);
    EXPECT_EQ(out, c.want) << c.text;
  }
}

// The newest section's entries and /Root count; an older section's entry for the same number, and
// an object the newer one frees, do not.
TEST_F(LogoTest, NewestSectionWins) {
  PdfMaker logo = example_logo();
  logo.add(7, "(old 7)");
  long first = logo.section("/Size 8 /Root 1 0 R");
  // The update: a new content stream 4 (its length direct) and a new catalogue 9 (a copy of 1).
  const std::string newer = "1 1 0 rg 30 30 40 40 re f";
  logo.add(4, "<< /Length " + std::to_string(newer.size() + 2) + " >>\r\nstream\r\n" + newer + "\r\nendstream");
  logo.add(9, "<< /Type /Catalog /Pages 2 0 R >>");
  long at = static_cast<long>(logo.bytes.size());
  logo.bytes += "xref\r\n0 1\r\n0000000000 65535 f\r\n4 1\r\n" + std::string(10 - std::to_string(logo.offsets[4]).size(), '0') +
                std::to_string(logo.offsets[4]) + " 00000 n\r\n7 1\r\n0000000000 00001 f\r\n9 1\r\n" +
                std::string(10 - std::to_string(logo.offsets[9]).size(), '0') + std::to_string(logo.offsets[9]) +
                " 00000 n\r\ntrailer\r\n<< /Size 10 /Root 9 0 R /Prev " + std::to_string(first) +
                " >>\r\nstartxref\r\n" + std::to_string(at) + "\r\n%%EOF\r\n";
  write_logo(logo.bytes);
  std::string pdf = document();
  EXPECT_EQ(LOGOFAIL, 0);
  EXPECT_EQ(ROOTOBJ, 9);
  EXPECT_EQ(XREFCOUNT, 10);
  expect_consistent(pdf);
  EXPECT_NE(pdf.find(newer), std::string::npos);
  EXPECT_EQ(pdf.find("(old 7)"), std::string::npos);  // freed by the update
  // Nothing is copied of the stream 4 that the update replaced, nor of a cross-reference section.
  EXPECT_EQ(pdf.find(kContent), std::string::npos);
  size_t start = pdf.find("%LOGO start"), end = pdf.find("%LOGO END");
  EXPECT_EQ(pdf.substr(start, end - start).find("trailer"), std::string::npos);
  EXPECT_EQ(pdf.substr(start, end - start).find("%%EOF"), std::string::npos);
}

// An empty line between the last entry and "trailer", as some programs write their tables, is read
// like any other table.
TEST_F(LogoTest, EmptyLineBeforeTheTrailer) {
  PdfMaker logo = example_logo();
  logo.section("/Size 7 /Root 1 0 R");
  logo.bytes.insert(logo.bytes.rfind("trailer"), "\r\n");
  write_logo(logo.bytes);
  std::string pdf = document();
  EXPECT_EQ(LOGOFAIL, 0) << console_row();
  EXPECT_EQ(LOGOLASTOBJ, 10);
  EXPECT_NE(pdf.find(kContent), std::string::npos);
  expect_consistent(pdf);
}

// A logo file the reader cannot take is refused with its message; the document is still whole and
// carries nothing of the logo.
TEST_F(LogoTest, RefusedLogoFiles) {
  auto base = [] {
    PdfMaker m = example_logo();
    m.section("/Size 7 /Root 1 0 R");
    return m.bytes;
  };
  auto with_trailer = [](const std::string& trailer) {
    PdfMaker m = example_logo();
    m.section(trailer);
    return m.bytes;
  };
  // PDF 1.5: the table is a stream object.
  std::string xref_stream = [] {
    PdfMaker m = example_logo();
    long at = static_cast<long>(m.bytes.size());
    m.add(7, "<< /Type /XRef /Size 8 /W [1 2 1] /Root 1 0 R /Length 0 >>\r\nstream\r\n\r\nendstream");
    return m.bytes + "startxref\r\n" + std::to_string(at) + "\r\n%%EOF\r\n";
  }();
  // A section whose /Prev names itself.
  std::string loop = [] {
    PdfMaker m = example_logo();
    long at = static_cast<long>(m.bytes.size());
    m.section("/Size 7 /Root 1 0 R /Prev " + std::to_string(at));
    return m.bytes;
  }();
  std::string whole = base();
  std::string moved = whole;  // object 3's entry points 4 bytes into the object
  {
    size_t e = moved.find("xref\r\n0 7\r\n") + 11 + 3 * 20;
    long off = std::stol(moved.substr(e, 10)) + 4;
    std::string digits = std::to_string(off);
    moved.replace(e, 10, std::string(10 - digits.size(), '0') + digits);
  }
  std::string long_line = whole;
  long_line.insert(long_line.find("xref\r\n") + 6, std::string(40000, ' '));  // "xref" itself stays put
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"cross-reference stream", xref_stream, "LOGO FAILED - Cannot read cross-reference stream in LOGO0.PDF"},
      {"/Prev loop", loop, "LOGO FAILED - Xref /Prev chain loops in LOGO0.PDF"},
      {"truncated", whole.substr(0, whole.size() / 2), "LOGO FAILED - Cannot find Xrefstart in LOGO0.PDF"},
      {"no number after startxref", whole.substr(0, whole.rfind("startxref") + 11) + "%%EOF\r\n",
       "LOGO FAILED - Cannot find Xrefstart in LOGO0.PDF"},
      {"startxref past the end", whole.substr(0, whole.rfind("startxref") + 11) + "99999\r\n%%EOF\r\n",
       "LOGO FAILED - Cannot read Xref table in LOGO0.PDF"},
      {"too many objects", with_trailer("/Size 800 /Root 1 0 R"),
       "LOGO FAILED - Too many objects (more than 700) in LOGO0.PDF"},
      {"no catalogue", with_trailer("/Size 7"), "LOGO FAILED - Cannot find Root object in LOGO0.PDF"},
      {"entry beside its object", moved, "LOGO FAILED - Cannot read Xref table in LOGO0.PDF"},
      {"line without an end", long_line, "LOGO FAILED - Cannot read Xref table in LOGO0.PDF"},
      {"encrypted", with_trailer("/Size 7 /Root 1 0 R /Encrypt 5 0 R"),
       "LOGO FAILED - Cannot copy the encrypted file LOGO0.PDF"},
  };
  rt::set_exit_code(0);
  for (const auto& c : cases) {
    reset_pdf_globals();
    platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
    write_logo(c.bytes);
    std::string pdf = document();
    SCOPED_TRACE(c.what);
    EXPECT_NE(console_row().find(c.message), std::string::npos) << console_row();
    EXPECT_EQ(LOGOFAIL, -1);
    EXPECT_EQ(LOGODONE, 0);
    EXPECT_EQ(LOGOCONTENT, "");
    EXPECT_EQ(pdf.find("%LOGO"), std::string::npos);
    EXPECT_NE(pdf.find("/Contents [\r\n1 0 R\r\n] %"), std::string::npos);
    expect_consistent(pdf);
  }
  // The sheets lose their logo: said in ERROR.LOG, and the run ends with 1.
  EXPECT_NE(dir.read("ERROR.LOG").find("LOGO FAILED - "), std::string::npos);
  EXPECT_EQ(rt::exit_code(), 1);
}

TEST_F(LogoTest, ResourceNamesOfTheEngineAreRefused) {
  // A name of tens of thousands of digits is scanned without recursion on its length.
  const std::string long_name = "/Font << /Ff" + std::string(50000, '7') + " 5 0 R >>";
  for (const std::string& resources : {std::string("/Font << /Ff1 5 0 R >>"), std::string("/ColorSpace << /Catch [/Pattern] >>"),
                                       std::string("/XObject << /Symbol3 5 0 R >>"), std::string("/Pattern << /Shade28 5 0 R >>"), long_name}) {
    PdfMaker m;
    m.add(1, "<< /Type /Catalog /Pages 2 0 R >>");
    m.add(2, "<< /Type /Pages /Kids [] /Count 0 /Resources << " + resources + " >> >>");
    m.add(5, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    m.section("/Size 6 /Root 1 0 R");
    write_logo(m.bytes);
    reset_pdf_globals();
    platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
    std::string pdf = document();
    EXPECT_NE(console_row().find("LOGO FAILED - Resource names of the engine used in LOGO0.PDF"), std::string::npos)
        << resources.substr(0, 40);
    EXPECT_EQ(pdf.find("%LOGO"), std::string::npos);
  }
  // Names that only begin like the engine's are the logo's own.
  PdfMaker m;
  m.add(1, "<< /Type /Catalog /Pages 2 0 R >>");
  m.add(2, "<< /Type /Pages /Kids [] /Count 0 /Resources << /Font << /Ffa 3 0 R >> /XObject << /SymbolX 3 0 R >> >> >>");
  m.add(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
  m.section("/Size 4 /Root 1 0 R");
  write_logo(m.bytes);
  reset_pdf_globals();
  document();
  EXPECT_EQ(LOGOFAIL, 0);
  EXPECT_EQ(LOGOFONT, " /Ffa 3 0 R ");
}

// The logo of one file is not carried into the next, nor kept after a failed import.
TEST_F(LogoTest, ResultsClearedForEachFile) {
  PdfMaker logo = example_logo();
  logo.section("/Size 7 /Root 1 0 R");
  write_logo(logo.bytes);
  document();
  EXPECT_EQ(LOGOLASTOBJ, 10);

  // The next file makes no import (a reduced sheet): no page names the logo's objects.
  open_leaf();
  EXPECT_EQ(LOGOCONTENT, "");
  EXPECT_EQ(LOGOLASTOBJ, 0);
  EXPECT_EQ(LOGOFONT, "");
  NEWSTREA();
  CLOSESTR();
  CLOSELEA();
  ASSEMBLE();
  std::string pdf = dir.read("out.pdf");
  expect_consistent(pdf);
  EXPECT_NE(pdf.find("/Contents [\r\n1 0 R\r\n] %"), std::string::npos);

  // A successful import, then a failed one in the same file (its first attempt failed, the results
  // of the earlier file are gone).
  document();
  write_logo("not a pdf");
  open_leaf();
  LOGOCONTENT = " 7 0 R  4 0 R  9 0 R";  // as an earlier import would leave them
  LOGOFONT = " /F1 5 0 R ";
  PDFLOGO();
  EXPECT_EQ(LOGOFAIL, -1);
  EXPECT_EQ(LOGOCONTENT, "");
  EXPECT_EQ(LOGOFONT, "");
}

// A missing file: the message is shown, then blanked; no logo.
TEST_F(LogoTest, MissingFile) {
  LOGOMACRO = "NOLOGO";
  platform::console().locate(5, 1);
  std::string pdf = document();
  EXPECT_EQ(LOGOFAIL, -1);
  EXPECT_EQ(platform::console().row_text(5), std::string(80, ' '));
  EXPECT_EQ(platform::console().cursor_col(), 21 + 10 + 1);
  expect_consistent(pdf);
}

// A linearized file's parameter dictionary is left out; numbers that the file leaves free stay free;
// a file with line feeds alone reads as well. The import comes first or not at all.
TEST_F(LogoTest, LinearizedFreeAndLateImports) {
  PdfMaker m = example_logo("\n");
  PdfMaker lin("\n");
  lin.add(8, "<< /Linearized 1 /L 9999 /O 3 >>");
  // Put the parameter dictionary first, as linearized files have it.
  std::string objects = m.bytes.substr(9);
  m.bytes = "%PDF-1.3\n" + lin.bytes.substr(9) + objects;
  for (auto& [n, off] : m.offsets) off += static_cast<long>(lin.bytes.size()) - 9;
  m.offsets[8] = 9;
  m.section("/Size 10 /Root 1 0 R");  // 7 and 9 are free
  write_logo(m.bytes);
  std::string pdf = document();
  EXPECT_EQ(LOGOFAIL, 0) << console_row();
  EXPECT_EQ(pdf.find("/Linearized"), std::string::npos);
  expect_consistent(pdf, 6);
  for (int n : {7, 8, 9}) EXPECT_EQ(PDFOFFSET(n), 0) << n;
  EXPECT_EQ(LOGOCONTENT, " 10 0 R  4 0 R  12 0 R");

  // A file that holds other objects already cannot take the logo's numbers.
  open_leaf();
  NEWSTREA();
  CLOSESTR();
  LOGOFAIL = 0;
  PDFLOGO();
  EXPECT_EQ(PDFOBJECT, 2);
  EXPECT_EQ(LOGOCONTENT, "");
  CLOSELEA();
  ASSEMBLE();
  expect_consistent(dir.read("out.pdf"));
}

}  // namespace
