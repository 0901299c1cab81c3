// The borehole log's pieces: the column split of the compress code, the suppress digits and scale
// strips, the column widths, the title font and rows, the scales, the label layout, and the drawing
// primitives on each device. Values worked out by hand.
#include <regex>

#include "engine/convert/globals.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/log/globals.h"
#include "engine/log/log.h"
#include "engine/log/prolog.h"
#include "engine/pdf/pdf_fixture.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "platform/console_scripted.h"

namespace {

class LogTest : public PdfTest {
 protected:
  void SetUp() override {
    PdfTest::SetUp();
    reset_sheet_globals();
    reset_select_globals();
    reset_devices_globals();
    reset_log_globals();
    forget_log_records();
    TEXTDEPTH.dim(0, 3000);
    ATTRSTART.dim(0, 25);
    OUTDEV = 1;
    PAGELENGTH = 3200, HEADDOTS = 300, FOOTDOTS = 300;
    DOTSPERUNIT = 100, UNITSPERLINE = 4;
    PAGECOUNT = 1;
    PAGEDEPTH(1) = 0, PAGESTART(1) = 0;
  }
  // The bytes a drawing writes into a plot stream of device dev (HP-GL/2, DXF or the printer), after the
  // stream's head.
  std::string plotted(std::int32_t dev, const std::function<void()>& draw) {
    auto whole = [&](const std::function<void()>& d) {
      OUTDEV = dev;
      XSCALE = 1, YSCALE = 1, XOFFSET = 0, YOFFSET = 0;
      DXFXSCALE = 1, DXFYSCALE = 1, DXFXOFF = 0, DXFYOFF = 0;
      PLOTFILE = PAGEFILE = rt::FREEFILE();
      GOOPEN("plot");
      d();
      rt::close_file(PLOTFILE);
      plot_open = false;
      return dir.read("plot");
    };
    const size_t head = whole([] {}).size();
    return whole(draw).substr(head);
  }
  std::string drawn(std::int32_t dev, const std::function<void()>& draw) {
    if (dev == 1) {
      OUTDEV = 1;
      reset_pdf_globals();
      const std::string pdf = one_stream(draw);
      reset_pdf_globals();
      return first_stream(pdf);
    }
    return plotted(dev, draw);
  }
};

TEST_F(LogTest, CompressCodeSplitsTheColumns) {
  struct Case {
    std::int32_t code, attributes;
    std::int16_t mode, first, rest;
    std::int32_t right_margin;  // ATTRRMARGIN during the log (the SET file's is 80)
  } cases[] = {
      {0, 3, 0, 0, 3, 80},
      {600, 3, 1, 3, 0, 0},
      {603, 5, 2, 3, 2, 0},
      {607, 2, 2, 2, 0, 0},
      {-3, 3, 0, 0, 3, 80},  // the layout has turned a negative code into 0 already; here it counts as 0 too
  };
  for (const auto& c : cases) {
    rt::Trap trap("prolog.cpp", "PROLOG");
    LogDraw log(trap);
    COMPRESSLOG = c.code, ATTRCOUNT = c.attributes, ATTRRMARGIN = 80;
    log.split_columns();
    EXPECT_EQ(log.LOGMODE, c.mode) << c.code;
    EXPECT_EQ(log.FIRSTCOLS, c.first) << c.code;
    EXPECT_EQ(log.RESTCOLS, c.rest) << c.code;
    EXPECT_EQ(ATTRRMARGIN, c.right_margin) << c.code;
  }
}

// A whole call gives back the code and the right margin it changed, so a later hole keeps the SET file's
// margin; with 603 and 5 columns pass 2 draws attributes 1 and 2 with the code at 0.
TEST_F(LogTest, CompressedHoleRestoresCodeAndMargin) {
  OUTDEV = 4;  // the printer without an open stream: nothing is written
  LAYERCOUNT = 0;
  COMPRESSLOG = 603, ATTRCOUNT = 5, ATTRRMARGIN = 80;
  for (int i = 1; i <= 5; ++i) ATTRNAME(i) = "Column", ATTRWIDTH(i) = 0;
  rt::Trap trap("prolog.cpp", "PROLOG");
  LogDraw log(trap);
  log.run();
  EXPECT_EQ(COMPRESSLOG, 603);
  EXPECT_EQ(ATTRRMARGIN, 80);
  EXPECT_EQ(log.LOGPASS, 2);
  EXPECT_EQ(log.FROMCOL, 1);
  EXPECT_EQ(log.TOCOL, 2);
}

TEST_F(LogTest, SuppressDigitsAndScaleStrips) {
  struct Case {
    std::int32_t suppress, s1, s10, s100;
    std::int16_t left, right;
    bool swapped;
  } cases[] = {
      {5, 5, 0, 0, 220, 220, false},    // reduced level left, depth right
      {110, 0, 1, 1, 0, 220, false},    // no reduced-level scale
      {300, 0, 0, 3, 0, 0, false},      // no scales
      {400, 0, 0, 4, 220, 220, true},   // depth left, reduced level right
      {500, 0, 0, 5, 220, 0, true},     // swapped without reduced levels: the depth strip alone, left
  };
  for (const auto& c : cases) {
    rt::Trap trap("prolog.cpp", "PROLOG");
    LogDraw log(trap);
    SUPPRESS = c.suppress;
    ATTRCOUNT = 1;
    log.PRELIM();
    log.LOGPASS = 2, log.LOGMODE = 0;
    log.MARGINSE();
    EXPECT_EQ(LOGSUPPRESS1, c.s1) << c.suppress;
    EXPECT_EQ(LOGSUPPRESS10, c.s10) << c.suppress;
    EXPECT_EQ(LOGSUPPRESS100, c.s100) << c.suppress;
    EXPECT_EQ(log.LEFTSCALEW, c.left) << c.suppress;
    EXPECT_EQ(log.RIGHTSCALEW, c.right) << c.suppress;
    EXPECT_EQ(log.SWAPSCALES, c.swapped) << c.suppress;
    // The frame of a separate page: left line 250, scale line 376, band from 250 + strip + 20 to 2250 -
    // strip, the right scale line at 2124.
    EXPECT_EQ(SHEETX0, 270 + c.left) << c.suppress;
    EXPECT_EQ(SHEETX2, 2250 - c.right) << c.suppress;
    EXPECT_EQ(SHEETX1, 376);
    EXPECT_EQ(LOGRIGHT, 2124);
  }
}

TEST_F(LogTest, ColumnWidths) {
  struct Case {
    std::vector<std::string> names;
    std::int32_t band;
    std::vector<double> widths;
  } cases[] = {
      {{"A", "B", "C"}, 1500, {500, 500, 500}},
      {{"Fixed [M=300]", "Shared"}, 1000, {300, 700}},
      {{"Shared", "fixed [m=300]"}, 1000, {700, 300}},           // a width marker in any letter case
      {{"Three [C=3]", "lower [c=3]"}, 1000, {750, 250}},        // a share marker in capitals only
      {{"[M=800]", "[M=600]", "Shared"}, 1000, {800 * 500.0 / 1400, 600 * 500.0 / 1400, 500}},  // too wide
      {{"[M=700]", "[M=300]", "Shared"}, 1000, {350, 150, 500}}, // the band used up exactly
      {{"[M=1500]", "[M=500]"}, 1000, {750, 250}},               // all fixed: they fill the band
  };
  for (const auto& c : cases) {
    rt::Trap trap("prolog.cpp", "PROLOG");
    LogDraw log(trap);
    for (size_t i = 0; i < c.names.size(); ++i) ATTRNAME(static_cast<long>(i + 1)) = c.names[i];
    log.FROMCOL = 1, log.TOCOL = static_cast<std::int16_t>(c.names.size());
    SHEETX0 = 100, SHEETX2 = 100 + c.band;
    log.FINDCOLU();
    double x = 100;
    for (size_t i = 0; i < c.names.size(); ++i) {
      const double w = log.COLUNIT * log.COLSHARE[i + 1];
      EXPECT_NEAR(w, c.widths[i], 0.01) << c.names[i];
      x += w;
    }
    EXPECT_EQ(SHEETX2, 100 + c.band) << c.names[0];
  }
}

TEST_F(LogTest, TitleFontAndRows) {
  struct Case {
    std::string font3;
    std::vector<std::string> names;
    std::int16_t points;
    std::int32_t rows;
  } cases[] = {
      {"\x1b)10U\x1b)s1p8v1s0b4148T", {"[M=200] Two words [G=50]", "One"}, 8, 2},
      {"\x1b)s1p12h0s0b4148T", {"Three words here"}, 10, 3},  // no size: 10 pt
      {"10v", {""}, 10, 0},                                   // no letter before the digits
  };
  for (const auto& c : cases) {
    rt::Trap trap("prolog.cpp", "PROLOG");
    LogDraw log(trap);
    LOGPOINTSIZE = 0;
    FONTSPEC(3) = c.font3;
    ATTRCOUNT = static_cast<std::int32_t>(c.names.size());
    for (size_t i = 0; i < c.names.size(); ++i) ATTRNAME(static_cast<long>(i + 1)) = c.names[i];
    log.PRELIM();
    EXPECT_EQ(LOGPOINTSIZE, c.points) << c.names[0];
    EXPECT_DOUBLE_EQ(LAYOUTPITCH, 5.0 * c.points);
    EXPECT_EQ(NAMEROWS, c.rows) << c.names[0];
  }
}

// The scale labels of a page starting at depth 0, 100 dots a metre, the body from row 300 down.
std::vector<std::string> scale_labels(const std::string& stream) {
  std::vector<std::string> out;
  static const std::regex text(R"(\(([^)]*)\) Tj)");
  for (auto it = std::sregex_iterator(stream.begin(), stream.end(), text); it != std::sregex_iterator(); ++it)
    out.push_back(rt::TRIM((*it)[1].str()));
  return out;
}

TEST_F(LogTest, ReducedLevelScale) {
  struct Case {
    double ground, deepest;
    std::int16_t inclination;
    std::int32_t tick;
    std::vector<std::string> labels;
  } cases[] = {
      // 15 stands above the hole's top; the scale ends 0.05 below the hole at -7.45.
      {12.6, 20, 0, 5, {"10", "5", "0", "-5"}},
      // 30 degrees: 10 m along the hole fall 8.7 m; the end value is about 91.3.
      {100, 10, 30, 1, {"99", "98", "97", "96", "95", "94", "93", "92"}},
      // 90 degrees or more leaves the factor at 1.
      {5, 3, 90, 1, {"4", "3", "2"}},
  };
  for (const auto& c : cases) {
    rt::Trap trap("prolog.cpp", "PROLOG");
    LogDraw log(trap);
    TOPDEPTH = 0, PAGEORIGIN = 0, PAGEENDDOT = 2800, PAGEENDROW = 3100;
    SCALESTEP = 0.5, SCALETICK = c.tick;
    log.GROUNDLEVEL = c.ground, log.INCLINATION = c.inclination, log.DEEPEST = c.deepest;
    log.SETREDLE();
    log.SCALESIDE = -1, log.TICKLEN = -8, log.SCALEXLINE = 400;
    SCALEX = 280;
    const std::string stream = drawn(1, [&] { log.SCALE2(); });
    EXPECT_EQ(scale_labels(stream), c.labels) << c.ground;
  }
  // No interval and no division: nothing drawn, no endless loop.
  rt::Trap trap("prolog.cpp", "PROLOG");
  LogDraw log(trap);
  SCALESTEP = 0, SCALETICK = 0;
  log.DEEPEST = 10;
  log.SETDEPLE();
  EXPECT_EQ(drawn(3, [&] { log.SCALE2(); }), "");
}

// A label at the top of a page that starts at 5 m may rise only to the page's top, not above it.
TEST_F(LogTest, MovedLabelsStayOnTheirPage) {
  struct Case {
    double t1, up, down;
  } cases[] = {
      {5.1, 0.1, 0.4},   // 0.1 m of room above the label
      {4.9, 0.0, 0.5},   // the label stands above the page's top already: it is not raised
      {7.0, 0.25, 0.25}, // room enough: half up, half down
  };
  for (const auto& c : cases) {
    rt::Trap trap("prolog.cpp", "PROLOG");
    LogDraw log(trap);
    TOPDEPTH = 5, PAGEORIGIN = 0, DOTSPERUNIT = 100, QUARTERLINE = 0.05;
    TEXTDEPTH(1) = 6, TEXTDEPTH(2) = 6.2;
    log.MOVETEXT(1, 0.4, c.t1);
    EXPECT_NEAR(TEXTDEPTH(1), 6 - c.up, 1e-9) << c.t1;
    EXPECT_NEAR(TEXTDEPTH(2), 6.2 + c.down, 1e-9) << c.t1;
    EXPECT_EQ(log.AGAIN, 1);
  }
}

TEST_F(LogTest, ThickRulesAndDottedLines) {
  struct Case {
    std::int32_t dev;
    std::function<void()> draw;
    std::string bytes;
  } cases[] = {
      {4, [] { RULE4(100, 200, 500); }, "\x1b*p98x500Y\x1b*c105a5b0P"},
      {4, [] { BORDER4(100, 700, 500); }, "\x1b*p100x500Y\x1b*c5a200b0P"},
      {4, [] { DOTLINE(100, 700, 500); }, "\x1b*p100x500Y\x1b*c2a200b1g3P"},
      {2, [] { DOTLINE(100, 700, 500); }, "PW 0.08PUPA100,500PDPA100,700"},
      {2, [] { BORDER4(10, 30, 20); }, "PUPA10,20PDPA10,30PUPA11,20PDPA11,30PUPA12,20PDPA12,30PUPA13,20PDPA13,30"},
      {1, [] { BORDER4(10, 30, 20); }, ""},  // filled in below: PDF keeps the caller's order
  };
  for (auto& c : cases) {
    if (c.dev == 1) continue;
    EXPECT_EQ(drawn(c.dev, c.draw), c.bytes) << c.dev << " " << c.bytes;
  }
  // PDF: the thick vertical rule from y1 to y2 as given; the thick horizontal one 2 dots longer each side.
  const std::string up = drawn(1, [] { BORDER4(10, 30, 20); });
  const std::string down = drawn(1, [] { BORDER4(10, 20, 30); });
  EXPECT_NE(up, down);
  EXPECT_NE(up.find(".96 w"), std::string::npos) << up;
  // A dotted line with equal ends draws nothing, and swapped ends draw the same line, on every device.
  for (std::int32_t dev : {1, 2, 3, 4}) {
    const std::string none = drawn(dev, [] { DOTLINE(100, 500, 500); });
    const std::string empty = drawn(dev, [] {});
    EXPECT_EQ(none, empty) << dev;
    EXPECT_EQ(drawn(dev, [] { DOTLINE(100, 700, 500); }), drawn(dev, [] { DOTLINE(100, 500, 700); })) << dev;
  }
  EXPECT_NE(drawn(1, [] { DOTLINE(100, 700, 500); }).find("[1 3] 0 d"), std::string::npos);
}

// A column whose labels still overlap after 100 rounds is said; a run from a run file goes on at once
// (the scripted console fails the test on any key wait), an interactive run waits for a key.
TEST_F(LogTest, OverlapRoundsEndWithoutAKeyWaitInARunFileRun) {
  for (std::int32_t runflags : {1, 0}) {
    auto console = std::make_unique<platform::ScriptedConsole>();
    auto* con = console.get();
    if (runflags == 0) con->push_key("\r");
    platform::set_console(std::move(console));
    PROMPT(42) = ": labels still overlap after 100 tries.";
    RUNFLAGS = runflags;
    LAYERCOUNT = 1, LAYERDEPTH(1) = 10;
    ATTRCOUNT = 1, ATTRNAME(1) = "Crowded";
    constexpr int kRecords = 400;
    ATTRWIDTH(1) = kRecords;
    std::vector<std::string> records;
    for (int j = 1; j <= kRecords; ++j) {
      records.push_back("[" + std::to_string(j * 0.26) + "] w");  // labels 0.25 m high, 0.26 m apart
      ATTRROWFIELDS(j) = 1;
    }
    set_log_records(records);
    rt::Trap trap("prolog.cpp", "PROLOG");
    LogDraw log(trap);
    log.PRELIM();
    log.FINDSTAR();
    log.FROMCOL = 1, log.TOCOL = 1;
    log.COLSHARE[1] = 1, log.COLUNIT = 100;
    ASSERT_NO_THROW(log.FORMATLO());
    EXPECT_NE(con->screen().find("Crowded: labels still overlap"), std::string::npos) << runflags;
    EXPECT_EQ(con->queued(), 0u) << runflags;
  }
}

}  // namespace
