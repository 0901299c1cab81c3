// The drawing primitives on PDF: what each writes into the page's content stream, the rules of no
// length, bars from any corner, the draft mark's bars and colours, text alignment and blank texts.
#include <cmath>
#include <iterator>
#include <regex>

#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/helpers.h"
#include "engine/pdf/pdf_fixture.h"
#include "engine/runtime/text.h"

namespace {

class DevicesTest : public PdfTest {
 protected:
  void SetUp() override {
    PdfTest::SetUp();
    reset_devices_globals();
    OUTDEV = 1;
  }
  std::string stream_of(const std::function<void()>& draw) {
    reset_pdf_globals();
    reset_pdf_input_globals();
    return first_stream(one_stream(draw));
  }
};

TEST_F(DevicesTest, RulesAndCursor) {
  struct Case {
    const char* what;
    std::function<void()> draw;
    std::string want;
  } cases[] = {
      {"a rule in the caller's order", [] { RULE(200, 100, 0); }, ".12 w\r\n 66.00  807.00 m\r\n 42.00  807.00 l\r\nS\r\n"},
      {"a rule of no length", [] { RULE(100, 100, 50); }, ""},
      {"a border from the lower end up", [] { BORDIR(100, 0, 10); }, ".12 w\r\n 42.00  804.60 m\r\n 42.00  807.00 l\r\nS\r\n"},
      {"either order the same", [] { BORDIR(100, 10, 0); }, ".12 w\r\n 42.00  804.60 m\r\n 42.00  807.00 l\r\nS\r\n"},
      {"16-bit borders widened", [] { BORDER(100, 0, 10); }, ".12 w\r\n 42.00  804.60 m\r\n 42.00  807.00 l\r\nS\r\n"},
      {"a border of no length", [] { BORDER(100, 7, 7); }, ""},
      {"the cursor", [] { TABXY(0, 0); }, " 18.00  807.00 m\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(stream_of(c.draw), c.want) << c.what;
}

TEST_F(DevicesTest, BarsAndDraftMark) {
  // A bar given from its bottom right corner is the bar from its top left corner.
  EXPECT_EQ(stream_of([] { SHADEBAR(100, 200, -40, -30); }), stream_of([] { SHADEBAR(60, 170, 40, 30); }));
  std::int32_t w = -40;
  stream_of([&] { SHADEBAR(100, 200, w, w); });
  EXPECT_EQ(w, -40);  // the caller's values stay

  PATTERNNAME = "/Hatch3";
  LOGBARFLAG1 = 2;
  LOGBARRGB1 = "1 0 0";
  std::string pattern = PATTERNNAME, rgb = LOGBARRGB1;
  const std::string s = [&] {
    open_leaf();
    NEWSTREA();
    PATTERNNAME = pattern, LOGBARRGB1 = rgb, LOGBARFLAG1 = 2;
    DRAFTMAR();
    EXPECT_EQ(PATTERNNAME, "/Hatch3");  // the log's fill is put back
    EXPECT_EQ(LOGBARRGB1, "1 0 0");
    EXPECT_EQ(LOGBARFLAG1, 2);
    CLOSESTR();
    CLOSELEA();
    PAGECOUNT = 1;
    ASSEMBLE();
    return first_stream(dir.read("out.pdf"));
  }();
  EXPECT_EQ(BARSHADE, 15);
  // 18 solid grey bars, no pattern; together they cover x 1140..1940 and y 485..2825.
  const std::regex bar(R"(q\r\n0\.85 0\.85 0\.85 rg\r\n *(-?[\d.]+) +(-?[\d.]+) +([\d.]+) +([\d.]+) re\r\nf\r\nQ\r\n)");
  int bars = 0;
  double left = 1e9, right = -1e9, top = -1e9, bottom = 1e9;  // in points, y upwards
  for (auto it = std::sregex_iterator(s.begin(), s.end(), bar); it != std::sregex_iterator(); ++it) {
    ++bars;
    const double x = std::stod((*it)[1]), y = std::stod((*it)[2]), bw = std::stod((*it)[3]), bh = std::stod((*it)[4]);
    left = std::min(left, x), right = std::max(right, x + bw);
    bottom = std::min(bottom, y), top = std::max(top, y + bh);
  }
  EXPECT_EQ(bars, 18) << s;
  EXPECT_EQ(s.find("scn"), std::string::npos);
  // Dots to points: x / 300 * 72 + 18; y: 807 - y / 300 * 72.
  EXPECT_DOUBLE_EQ(left, 1140 * 0.24 + 18);
  EXPECT_DOUBLE_EQ(right, 1940 * 0.24 + 18);
  EXPECT_NEAR(top, 807 - 485 * 0.24, 1e-9);
  EXPECT_NEAR(bottom, 807 - 2825 * 0.24, 1e-9);
}

TEST_F(DevicesTest, TextAlignment) {
  struct Case {
    std::int32_t origin, x, y;
  } cases[] = {{0, 100, 100}, {1, 100, 100}, {2, 100, 95}, {3, 100, 90}, {4, 80, 100}, {5, 80, 95},
               {6, 80, 90},   {7, 60, 100},  {8, 60, 95},  {9, 60, 90},  {10, 100, 100}, {-1, 100, 100}};
  for (const auto& c : cases) {
    TEXTORIGIN = c.origin;
    std::int32_t x = 100, y = 100;
    TEXTLORG(x, y, 40, 10);
    EXPECT_EQ(x, c.x) << c.origin;
    EXPECT_EQ(y, c.y) << c.origin;
  }
}

TEST_F(DevicesTest, Texts) {
  // Blank texts draw nothing and keep the font; a right-aligned text ends at x.
  EXPECT_EQ(stream_of([] {
              std::string t = "   ";
              CURFONT = 2;
              PRINTEXT(100, 100, t);
            }),
            "");
  EXPECT_EQ(CURFONT, 2);
  const std::string s = stream_of([] {
    TEXTORIGIN = 7;
    CURFONT = 1;
    std::string t = "abcd";  // 40 dots
    PRINTEXT(100, 100, t);
  });
  EXPECT_NE(s.find("(abcd) Tj"), std::string::npos) << s;
  EXPECT_NE(s.find(" 32.40 "), std::string::npos) << s;  // x = 60 dots: 60 * 0.24 + 18

  // Font switches: kept for the PDF writer; carried out and removed on the other devices.
  std::string t = "a\x13" "b\x13" "c\x13";
  CURFONT = 1;
  FIXFONTS(t);
  EXPECT_EQ(t, "a\x13" "b\x13" "c\x13");
  OUTDEV = 4;
  FIXFONTS(t);
  EXPECT_EQ(t, "abc");
  EXPECT_EQ(CURFONT, 2);
  CURFONT = 3;
  t = "x\x13";
  FIXFONTS(t);
  EXPECT_EQ(CURFONT, 1);
  FSETFONT(3);
  EXPECT_EQ(CURFONT, 3);
}

}  // namespace

namespace {

// The plot file of the pen devices and DXF, as a sheet opens it (A4, page length 3200).
class PlotTest : public DevicesTest {
 protected:
  void open_plot(std::int32_t device) {
    OUTDEV = device;
    PAPERX = 7918, PAPERY = 10837;
    DXFUNIT = static_cast<double>(25.4f) * 40 / 300;
    double x0 = 0, x1 = 100, y0 = 0, y1 = 100;
    GOVIEWPO(x0, x1, y0, y1);
    GOSCALE(0, PAPERX / DXFUNIT, 3200, 3200 - PAPERY / DXFUNIT);
    PLOTFILE = PAGEFILE = rt::FREEFILE();
    GOOPEN("PLOTFILE");
    GOHPGL();
  }
  std::string close_plot() {
    GOCLOSE();
    GOCLOSE();  // a second end writes nothing
    return dir.read("PLOTFILE");
  }
};

TEST_F(PlotTest, DxfFile) {
  open_plot(3);
  std::string text = "two\r\nlines";
  FONTHEIGHT(1) = 10;
  CURFONT = 1;
  DXFLINE(300, 100, 2338, 0);
  DXFTEXT(0, 3201, text);
  const std::string dxf = close_plot();
  EXPECT_EQ(dxf.substr(0, 27), " 0\r\nSECTION\r\n 2\r\nENTITIES\r\n");
  EXPECT_NE(dxf.find(" 10\r\n 1016.000\r\n 20\r\n 10498.667\r\n 11\r\n 7918.027\r\n 21\r\n 10837.333\r\n"), std::string::npos) << dxf;
  EXPECT_NE(dxf.find(" 20\r\n-3.387\r\n"), std::string::npos) << dxf;
  EXPECT_NE(dxf.find(" 41\r\n0.8\r\n 1\r\ntwo  lines\r\n"), std::string::npos) << dxf;  // a line break never breaks the file
  EXPECT_EQ(dxf.substr(dxf.size() - 21), " 0\r\nENDSEC\r\n 0\r\nEOF\r\n");
  EXPECT_EQ(dxf.find("ENDSEC"), dxf.rfind("ENDSEC"));
}

// The DXF writer formats its numbers itself; they must read as FNFIXN writes them: halves to even, a
// blank or minus sign, no digit before the point below 1, a minus kept on a value that rounds to 0, and
// values from 10^6 on left to FNFIXN.
TEST_F(PlotTest, DxfNumbers) {
  const struct {
    double r;
    const char* text;
  } cases[] = {
      {0, " .000"},           {0.001, " .001"},        {0.012, " .012"},         {0.9996, " 1.000"},
      {1.0625, " 1.062"},     {1.1875, " 1.188"},      {-1.0625, "-1.062"},      {-0.0001, "-.000"},
      {-0.0625, "-.062"},     {123.456, " 123.456"},   {-7918.027, "-7918.027"}, {999999.9999, " 1000000.000"},
      {1e6, " 1000000.000"},  {-2e6, "-2000000.000"},  {2147483.647, " 2147483.647"},
  };
  open_plot(3);
  for (const auto& c : cases) DXFCIRCL(0, 0, c.r);
  const std::string dxf = close_plot();
  const auto found = testing_support::find_all_regex(dxf, " 40\r\n([^\r]*)\r\n");
  ASSERT_EQ(found.size(), std::size(cases));
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i][1], cases[i].text) << cases[i].r;
    EXPECT_EQ(found[i][1], FNFIXN(cases[i].r, 3)) << cases[i].r;
  }
}

TEST_F(PlotTest, HpglStream) {
  double a = -5, b = 120, c = 10, d = 90;
  PAPERX = 7918, PAPERY = 10837;
  GOVIEWPO(a, b, c, d);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 100);
  EXPECT_EQ(P1Y, 1084);
  EXPECT_EQ(P2Y, 9753);
  dir.write("PLOTFILE", std::string(5000, 'x'));  // an earlier, longer plot
  open_plot(2);
  PENSTATE = 0;
  RULE(0, 2338, 3200);
  std::int32_t origin = 0;
  PLORG(origin);
  EXPECT_EQ(origin, 1);
  EXPECT_EQ(FNC(-7), "-7,");
  EXPECT_EQ(FNZ(0), "0");
  const std::string pgl = close_plot();
  EXPECT_EQ(pgl.rfind("\x1b" "E\x1b%-12345X@PJL COMMENT \r\n@PJL ENTER LANGUAGE=HP-GL/2\r\n\x1b%0BINSP1PUPA0,0DT\x1fPW0IP0,0,7918,10837", 0), 0u) << pgl;
  EXPECT_NE(pgl.find("PUPA0,0PDPA7918,0"), std::string::npos) << pgl;
  EXPECT_NE(pgl.find("LO1"), std::string::npos);
  EXPECT_EQ(pgl.substr(pgl.size() - 16), ";\x1b%1A\x1b" "E\x1b%-12345X");
  EXPECT_EQ(pgl.find('x'), std::string::npos);  // nothing of the earlier plot
}

// The pen moves with decimals read as TRIM(FNFIXN()) of the plotter units; one beyond the 32-bit range
// of hundredths is left to FNFIXN.
TEST_F(PlotTest, HpglMovesWithDecimals) {
  const struct {
    std::int32_t units, places;
    const char* text;
  } cases[] = {
      {0, 2, ".00"},  {0, 0, "0"},        {5, 2, "5.00"},           {-5, 2, "-5.00"},
      {123, 0, "123"}, {-1, 3, "-1.000"}, {21474836, 2, "21474836.00"}, {-2, 9, "-2.000000000"},
  };
  open_plot(2);
  XSCALE = YSCALE = 1, XOFFSET = YOFFSET = 0;
  for (const auto& c : cases) PMOVEDEC(c.units, -c.units, c.places);
  const std::string pgl = close_plot();
  const auto found = testing_support::find_all_regex(pgl, "PA(-?[0-9.]+),(-?[0-9.]+)");
  ASSERT_GE(found.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const auto& f = found[found.size() - std::size(cases) + i];
    EXPECT_EQ(f[1], c.text) << c.units;
    EXPECT_EQ(f[1], rt::TRIM(FNFIXN(c.units, c.places))) << c.units;
    EXPECT_EQ(f[2], rt::TRIM(FNFIXN(-c.units, c.places))) << c.units;
  }
  EXPECT_EQ(FNC(-2147483647 - 1), "-2147483648,");
  EXPECT_EQ(FNZ(2147483647), "2147483647");
}

TEST_F(PlotTest, HatchedBars) {
  struct Case {
    std::int32_t shade;
    std::vector<std::string> ys;  // the strokes' dot rows, in the order written
  } cases[] = {
      {0, {"100", "110", "120"}},
      {15, {"100", "110", "120", "101", "111", "121", "102", "112", "122"}},
      {5, {"100", "110", "120"}},  // 0.5 rounds to 0
  };
  for (const auto& c : cases) {
    open_plot(3);
    BARSHADE = c.shade;
    SHADEBAR(10, 95, 20, 30);  // from y 95 to 125: the grid starts at 90
    const std::string dxf = close_plot();
    std::vector<std::string> ys;
    for (const auto& m : testing_support::find_all_regex(dxf, R"( 20\r\n *(-?[\d.]+)\r\n)")) {
      // Back from plotter units to dot rows: (3200 - y) / DXFUNIT.
      ys.push_back(std::to_string(static_cast<long>(std::lround(3200 - std::stod(m[1]) / DXFUNIT))));
    }
    EXPECT_EQ(ys, c.ys) << c.shade;
  }
  // The draft mark draws nothing on HP-GL/2 and leaves the shade alone.
  open_plot(2);
  BARSHADE = 35;
  const auto before = rt::LOF(PLOTFILE);
  DRAFTMAR();
  EXPECT_EQ(rt::LOF(PLOTFILE), before);
  EXPECT_EQ(BARSHADE, 35);
  close_plot();
}

TEST_F(PlotTest, PrinterStream) {
  struct Case {
    const char* what;
    std::function<void()> draw;
    std::string bytes;
  } cases[] = {
      {"a rule", [] { RULE(400, 100, 200); }, "\x1b*p100x200Y\x1b*c300a1b0P"},
      {"a border from its top", [] { BORDER(50, 900, 300); }, "\x1b*p50x300Y\x1b*c1a600b0P"},
      {"rules of no length", [] { RULE(5, 5, 5), BORDIR(5, 6, 6); }, ""},
      {"a point left of the page", [] { TABXY(-40, 10); }, "\x1b*p0x10Y"},
      {"a primary and a secondary font", [] { FSETFONT(1), FSETFONT(3); },
       "\x1b(s12h\x0f\x1b)s8v\x0e"},
      {"a right-aligned text with its codes", [] {
         TEXTORIGIN = 7;
         CURFONT = 1;
         std::string t = "ab\x1b*p+5Xc\x05";
         PRINTEXT(100, 50, t);
       }, "\x1b*p60x50Yab\x1b*p+5Xc"},  // 40 dots wide with the hard space, which prints as nothing
      {"bars shaded within 1..100", [] {
         BARSHADE = 0, SHADEBAR(1, 2, 3, 4);
         BARSHADE = 150, SHADEBAR(1, 2, 3, 4);
       }, "\x1b*p1x2Y\x1b*c3a4b1g2P\x1b*p1x2Y\x1b*c3a4b100g2P"},
  };
  FONTSPEC(1) = "\x1b(s12h";
  FONTSPEC(3) = "\x1b)s8v";
  for (const auto& c : cases) {
    OUTDEV = 4;
    PLOTFILE = PAGEFILE = rt::FREEFILE();
    GOOPEN("PLOTFILE");
    const auto head = static_cast<size_t>(rt::LOF(PLOTFILE));
    c.draw();
    const std::string pcl = close_plot();
    EXPECT_EQ(pcl.substr(0, 34), "\x1b%-12345X@PJL ENTER LANGUAGE=PCL\r\n") << c.what;
    EXPECT_EQ(pcl.substr(head, pcl.size() - head - 11), c.bytes) << c.what;
    EXPECT_EQ(pcl.substr(pcl.size() - 11), "\x1b" "E\x1b%-12345X") << c.what;
  }
}

// A text set smaller (the labels of a crowded samples column), then one in the font's own size again:
// each device sets the size its own way, and only the text set smaller is smaller.
TEST_F(PlotTest, TextInSmallerType) {
  const std::string spec = "\x1b)10U\x1b)s1p8v1s0b4148T";  // 8 points, proportional, secondary
  auto draw = [] {
    std::string small = "D1", own = "D2";
    set_font_size(3, 6);
    PRINTEXT(100, 100, small);
    FSETFONT(3);
    PRINTEXT(100, 200, own);
  };
  FONTSPEC(3) = spec;
  CONVERTF(FONTSPEC, HPGLFONT, 3);
  const std::string pdf = stream_of(draw);
  EXPECT_NE(pdf.find("/Ff3 6.00 Tf \r\n"), std::string::npos) << pdf;
  EXPECT_LT(pdf.find("/Ff3 6.00 Tf"), pdf.find("(D1) Tj"));
  EXPECT_NE(pdf.find("/Ff3 8.00 Tf", pdf.find("(D1) Tj")), std::string::npos) << pdf;  // selected again
  // HP-GL/2: the height times 0.75, the pitch (135 / 8 characters an inch) divided by it.
  open_plot(2);
  draw();
  const std::string pgl = close_plot();
  const size_t small = pgl.find("AD1,341,2,0,3,22.50,4,6.00,5,1,6,0,7,48SA;SL0.3;");
  ASSERT_NE(small, std::string::npos) << pgl;
  EXPECT_LT(small, pgl.find("LBD1"));
  EXPECT_NE(pgl.find(HPGLFONT(3) + ";", small), std::string::npos);
  EXPECT_LT(pgl.find(HPGLFONT(3) + ";", small), pgl.find("LBD2"));
  // DXF: the text height.
  open_plot(3);
  draw();
  const std::string dxf = close_plot();
  std::vector<double> heights;
  const std::regex height(" 40\r\n *([0-9.]+)\r\n");
  for (auto m = std::sregex_iterator(dxf.begin(), dxf.end(), height); m != std::sregex_iterator(); ++m)
    heights.push_back(std::stod((*m)[1]));
  ASSERT_EQ(heights.size(), 2u) << dxf;
  EXPECT_NEAR(heights[0] / heights[1], 0.75, 0.001);
  // The printer: the selection code with 6 points, then the font's own code again.
  OUTDEV = 4;
  PLOTFILE = PAGEFILE = rt::FREEFILE();
  GOOPEN("PLOTFILE");
  draw();
  const std::string pcl = close_plot();
  const size_t code = pcl.find("\x1b)10U\x1b)s1p6.00v1s0b4148T\x0e");
  ASSERT_NE(code, std::string::npos);
  EXPECT_LT(code, pcl.find("D1"));
  EXPECT_NE(pcl.find(spec + "\x0e", code), std::string::npos);
  EXPECT_LT(pcl.find(spec + "\x0e", code), pcl.find("D2"));
  // A pitch in the code is divided as the height is multiplied.
  EXPECT_EQ(printer_font_code("\x1b(s0p16.67h8.5v0s0b3T", 0.5), "\x1b(s0p33.34h4.25v0s0b3T");
  EXPECT_EQ(printer_font_code(spec, 1), spec);
}

TEST_F(PlotTest, PlotterFonts) {
  struct Case {
    std::string spec, code;
    double slant;
  } cases[] = {
      {"\x1b(s0p10h0s0b3T", "SD1,341,2,0,3,10.00,4,13.50,5,0,6,0,7,48SS;SL0", 0},
      {"\x1b)s0p12v1s3b4148T", "AD1,341,2,0,3,11.25,4,12.00,5,1,6,3,7,48SA;SL0.3", 17},
      {"\x1b(s0p0s0b3T", "SD1,341,2,0,3,13.50,4,10.00,5,0,6,0,7,48SS;SL0", 0},  // no pitch, no height: 10 pt
  };
  for (const auto& c : cases) {
    FONTSPEC(1) = c.spec;
    CONVERTF(FONTSPEC, HPGLFONT, 1);
    EXPECT_EQ(HPGLFONT(1), c.code) << c.spec;
    EXPECT_EQ(FONTSLANT(1), c.slant) << c.spec;
  }
}

}  // namespace
