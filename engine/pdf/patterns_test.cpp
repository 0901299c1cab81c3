// Hatch and shade patterns and the symbol images of the PDF writer.
#include <gtest/gtest.h>

#include <string>

#include "engine/pdf/pdf_fixture.h"

using namespace testing_support;

namespace {

// The text of object n of a file (from its label to its "endobj").
std::string object(const std::string& pdf, int n) {
  std::string label = "\r\n" + std::to_string(n) + " 0 obj\r\n";
  size_t a = pdf.find(label);
  if (a == std::string::npos) return {};
  size_t b = pdf.find("endobj", a);
  return pdf.substr(a + 2, b - a - 2);
}

// The data of the stream that object n holds.
std::string stream_data(const std::string& pdf, int n) {
  std::string o = object(pdf, n);
  size_t a = o.find("stream\r\n");
  size_t b = o.rfind("endstream");
  return a == std::string::npos ? "" : o.substr(a + 8, b - a - 8);
}

TEST_F(PdfTest, PatternRegistration) {
  open_leaf();
  for (const char* name : {"/Hatch3", "/Hatch3", "/Shade28", "/Shade2", "/Shade28"}) {
    PATTERNNAME = name;
    ADDPDFSH();
  }
  EXPECT_EQ(CURFILL, "/Hatch3 \r\n/Shade28 \r\n/Shade2 \r\n");
  open_leaf();
  EXPECT_EQ(CURFILL, "");
}

TEST_F(PdfTest, PatternObjects) {
  struct Case {
    const char* name;
    const char* frame;  // the three tile lines
    const char* data;   // the stream data
  } cases[] = {
      {"/Hatch5", "/BBox [-1 -1 17 17]\r\n/XStep 16\r\n/YStep 16\r\n",
       "1.00 w\r\n8 0 m\r\n8 16 l\r\n0 8 m\r\n16 8 l\r\nS\r\n"},
      {"/Hatch1", "/BBox [-1 -1 17 17]\r\n/XStep 16\r\n/YStep 16\r\n", "1.00 w\r\n0 8 m\r\n16 8 l\r\nS\r\n"},
      {"/Shade2", "/BBox [0 0 8 16]\r\n/XStep  8\r\n/YStep 16\r\n", "0 0 .5 .5 re\r\n4 8 .5 .5 re\r\nf\r\n"},
      {"/Shade75", "/BBox [0 0 9 9]\r\n/XStep  8\r\n/YStep  8\r\n", "0 0 5 5 re\r\n4 4 5 5 re\r\nf\r\n"},
      {"/Shade100", "/BBox [0 0 9 9]\r\n/XStep  8\r\n/YStep  8\r\n", "0 0 8 8 re\r\nf\r\n"},
      {"/Shade3", "/BBox [0 0 9 9]\r\n/XStep  8\r\n/YStep  8\r\n", "f\r\n"},
      {"/Dots", "/BBox [-1 -1 17 17]\r\n/XStep 16\r\n/YStep 16\r\n", ""},
  };
  for (const auto& c : cases) {
    reset_pdf_globals();
    open_leaf();
    PDFOBJECT = 20;
    PAGEPATRES = "/P0 3 0 R\r\n";
    FILLNAME = c.name;
    WRITESHA();
    EXPECT_EQ(PDFOBJECT, 23) << c.name;
    EXPECT_EQ(PAGEPATRES, std::string("/P0 3 0 R\r\n") + c.name + " 21 0 R\r\n");
    CLOSELEA();
    PAGECOUNT = 1;
    ASSEMBLE();
    std::string pdf = dir.read("out.pdf");
    EXPECT_EQ(object(pdf, 21), std::string("21 0 obj\r\n<<\r\n/Type /Pattern\r\n/PatternType 1\r\n/PaintType 2\r\n"
                                           "/TilingType 1\r\n/ImageMask true\r\n") +
                                   c.frame + "/Resources 23 0 R\r\n/Matrix [0.24 0 0 0.24 0 0 ]\r\n" +
                                   "/Length 22 0 R\r\n>>\r\nstream\r\n" + c.data + "endstream\r\n")
        << c.name;
    EXPECT_EQ(object(pdf, 22), "22 0 obj\r\n" + std::to_string(std::string(c.data).size()) + "\r\n");
    EXPECT_EQ(object(pdf, 23), "23 0 obj\r\n<<\r\n/ProcSet [ /PDF ]\r\n>>\r\n");
  }
  EXPECT_EQ(std::string("1.00 w\r\n8 0 m\r\n8 16 l\r\n0 8 m\r\n16 8 l\r\nS\r\n").size(), 41u);
}

// The patterns a page's leaves registered are written before its page object and named in its
// resources once each, however many of its leaves use them.
TEST_F(PdfTest, PatternsOfAPage) {
  PAPER = "A3";
  ATTRCOUNT = 1;
  PAGECOUNT = 1;
  for (const char* names : {"/Hatch3 /Shade16", "/Hatch3 /Hatch3"}) {  // sheet leaf, then log leaf
    open_leaf();
    NEWSTREA();
    for (const std::string& name : {std::string(names).substr(0, 7), std::string(names).substr(8)}) {
      PATTERNNAME = name;
      ADDPDFSH();
      PDFBAR(100, 100, 200, 50);
    }
    CLOSESTR();
    CLOSELEA();
  }
  ASSEMBLE();
  std::string pdf = dir.read("out.pdf");
  expect_consistent(pdf);
  size_t hatch = pdf.find("/Hatch3 5 0 R\r\n");
  ASSERT_NE(hatch, std::string::npos) << pdf;
  EXPECT_EQ(pdf.find("/Hatch3 ", hatch + 1), std::string::npos);
  EXPECT_NE(pdf.find("/Pattern <<\r\n/Hatch3 5 0 R\r\n/Shade16 8 0 R\r\n>>"), std::string::npos);
  EXPECT_LT(pdf.find("\r\n5 0 obj\r\n"), pdf.find("/Type /Page\r\n"));
  EXPECT_NE(pdf.find("0 0 0 /Hatch3 scn"), std::string::npos);
}

class SymbolTest : public PdfTest {
 protected:
  void SetUp() override {
    PdfTest::SetUp();
    SYMBITS.dim(0, 241);
    // Row slot s: word 0 = s, word 3 = 0x8001 (its leftmost pixel and pixel 7 of the first byte).
    for (int s = 0; s < 60; ++s) {
      SYMBITS(2 + 4 * s) = s;
      SYMBITS(5 + 4 * s) = 0x8001;
    }
    RASTERSTEP = 2;
    HEADDOTS = 0;
    RASTERX = 100;
    SYMFILL = " 0  0  0  rg";
    open_leaf();
  }
  // Ends the document; returns the file.
  std::string finish() {
    CLOSELEA();
    PAGECOUNT = 1;
    ASSEMBLE();
    return dir.read("out.pdf");
  }
  // The 8 bytes of a row slot as the image holds them.
  static std::string row(int slot) {
    unsigned w0 = ~static_cast<unsigned>(slot) & 0xFFFF;
    return std::string{static_cast<char>(w0 & 0xFF), static_cast<char>(w0 >> 8), '\xFF', '\xFF', '\xFF', '\xFF',
                       '\xFE', '\x7F'};
  }
};

TEST_F(SymbolTest, BandImage) {
  RASTEREND = 100;
  RASTERY = 219;
  WRITESYM();
  EXPECT_EQ(SYMBOLNAME, "/Symbol1");
  EXPECT_EQ(CURXOBJECT, "/Symbol1 1 0 R\r\n");
  std::string pdf = finish();
  expect_consistent(pdf);
  EXPECT_NE(object(pdf, 1).find("<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Name /Symbol1\r\n/Width 64\r\n"
                                "/Height 60\r\n/ImageMask true\r\n/Decode [0 1]\r\n/BitsPerComponent 1\r\n"
                                "/Length 2 0 R\r\n>>\r\nstream\r\n"),
            std::string::npos);
  // Raster rows 50 to 109: slots 50 to 59, then 0 to 49; then CR LF.
  std::string want;
  for (int r = 50; r <= 109; ++r) want += row(r % 60);
  EXPECT_EQ(stream_data(pdf, 1), want + "\r\n");
  EXPECT_EQ(object(pdf, 2), "2 0 obj\r\n482\r\n");
  EXPECT_NE(pdf.find("/XObject <<\r\n/Symbol1 1 0 R\r\n>>"), std::string::npos);
}

// /Height is the number of rows the image holds, a whole number; a sample holds 61 rows.
TEST_F(SymbolTest, ImageHeightsAreWholeRows) {
  struct Case {
    int end, y, headdots;
    bool sample;
    const char* height;
    size_t length;
  } cases[] = {
      {100, 219, 0, false, "/Height 60\r\n", 482},
      {100, 220, 0, false, "/Height 61\r\n", 490},   // 60.5 rows of dots: 61 rows of pixels
      {301, 301, 300, false, "/Height 1\r\n", 10},    // a one-dot band
      {100, 220, 0, true, "/Height 61\r\n", 490},    // a sample: rows 0 to 60 whatever the band
      {0, 59, 30, false, "/Height 30\r\n", 242},     // starts above the raster top: rows -15 to 14
  };
  for (const auto& c : cases) {
    reset_pdf_globals();
    open_leaf();
    RASTEREND = c.end;
    RASTERY = c.y;
    HEADDOTS = c.headdots;
    if (c.sample)
      WRITESAM();
    else
      WRITESYM();
    std::string pdf = finish();
    EXPECT_NE(object(pdf, 1).find(c.height), std::string::npos) << c.end << " " << object(pdf, 1);
    EXPECT_EQ(object(pdf, 2), "2 0 obj\r\n" + std::to_string(c.length) + "\r\n") << c.end;
    if (c.headdots == 30) {
      EXPECT_EQ(stream_data(pdf, 1).substr(0, 8), row(45));  // slot -15 is slot 45
    }
  }
  EXPECT_FALSE(dir.read("ERROR.LOG").size());
}

TEST_F(SymbolTest, RowEncoding) {
  for (int s = 0; s < 60; ++s)
    for (int k = 0; k < 4; ++k) SYMBITS(2 + 4 * s + k) = 0;
  SYMBITS(2) = 1;           // pixel 7 of word 0
  SYMBITS(3) = -32768;      // stored sign-extended: only the low 16 bits count (pixel 8 of word 1)
  RASTEREND = 0;
  RASTERY = 1;
  WRITESYM();
  std::string data = stream_data(finish(), 1);
  EXPECT_EQ(data, std::string("\xFE\xFF\xFF\x7F\xFF\xFF\xFF\xFF\r\n", 10));
}

TEST_F(SymbolTest, Placement) {
  struct Case {
    std::int32_t rgb;
    const char* kind;
    const char* lines;
  } cases[] = {
      {0, "SOIL", "q\r\n30.72 0 0  28.80  42.00  760.44 cm\r\n/Symbol1 Do\r\nQ\r\n"},
      // Flag 1: the band filled, no symbol.
      {0x010000FF, "SOIL", " 1.000 .000 .000 rg\r\n 42.00  760.44 30.72  28.80 re \r\nf\r\n0.0 g\r\n"},
      // Flag 2: the symbol in the colour.
      {0x0200FF00, "SOIL", " .000 1.000 .000 rg\r\nq\r\n30.72 0 0  28.80  42.00  760.44 cm\r\n/Symbol1 Do\r\nQ\r\n0.0 g\r\n"},
      // Flag 3: the band filled, the symbol black over it.
      {0x03FF0000, "SOIL",
       " .000 .000 1.000 rg\r\n 42.00  760.44 30.72  28.80 re \r\nf\r\nq\r\n0.0 g\r\n"
       "30.72 0 0  28.80  42.00  760.44 cm\r\n/Symbol1 Do\r\nQ\r\n0.0 g\r\n"},
      // Any other kind, even "soil": a sample in SYMFILL, y not moved by the page origin.
      {0x010000FF, "soil", "q\r\n 0  0  0  rg\r\n30.72 0 0  28.80  42.00  754.44 cm\r\n/Symbol1 Do\r\nQ\r\n"},
  };
  for (const auto& c : cases) {
    reset_pdf_globals();
    open_leaf();
    SYMBOLRGB(3) = c.rgb;
    SYMFILL = " 0  0  0  rg";
    PAGEORIGIN = 25;
    RASTEREND = 100;
    RASTERY = 219;
    WRITESYM();
    WRITESYMUSE(3, c.kind);
    EXPECT_EQ(CURCONTENT, "3 0 R\r\n");
    EXPECT_EQ(stream_data(finish(), 3), c.lines) << c.rgb << " " << c.kind;
  }
}

// Images are numbered through the file and again from 1 in the next; a band without rows makes no
// image and no placement.
TEST_F(SymbolTest, NamesAndEmptyBands) {
  RASTEREND = 0;
  RASTERY = 9;
  WRITESYM();
  WRITESAM();
  EXPECT_EQ(SYMBOLNAME, "/Symbol2");
  EXPECT_EQ(CURXOBJECT, "/Symbol1 1 0 R\r\n/Symbol2 3 0 R\r\n");
  RASTEREND = 50;
  RASTERY = 40;
  WRITESYM();
  EXPECT_EQ(SYMBOLNAME, "");
  WRITESYMUSE(1, "SOIL");
  EXPECT_EQ(PDFOBJECT, 4);
  EXPECT_EQ(CURCONTENT, "");
  RASTERSTEP = 0;
  RASTERY = 99;
  WRITESYM();
  EXPECT_EQ(PDFOBJECT, 4);
  expect_consistent(finish());

  RASTERSTEP = 2;
  open_leaf();
  WRITESAM();
  EXPECT_EQ(SYMBOLNAME, "/Symbol1");
}

}  // namespace
