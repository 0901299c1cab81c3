// The borehole log's pieces: the column split of the compress code, the suppress digits and scale
// strips, the column widths, the title font and rows, the scales, the label layout, and the drawing
// primitives on each device. Values worked out by hand.
#include <regex>

#include "engine/convert/globals.h"
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/log/globals.h"
#include "engine/log/log.h"
#include "engine/log/prolog.h"
#include "engine/pdf/pdf_fixture.h"
#include "engine/runtime/command.h"
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
    for (size_t i = 0; i < c.names.size(); ++i) {
      const double w = log.COLUNIT * log.COLSHARE[i + 1];
      EXPECT_NEAR(w, c.widths[i], 0.01) << c.names[i];
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

namespace {

// The printer stream of a drawing as operations: "rule x y w", "border x y h", "bar x y w h", "text x y
// word" (the cursor as the rectangle or text starts).
std::vector<std::string> pcl_ops(const std::string& b) {
  std::vector<std::string> ops;
  long x = 0, y = 0;
  size_t i = 0;
  static const std::regex cursor(R"(^\x1b\*p(\d+)x(\d+)Y)"), rect(R"(^\x1b\*c(\d+)a(\d+)b(\d+)([gP])(?:2P)?)");
  std::string run;
  auto flush = [&] {
    if (!run.empty()) ops.push_back("text " + std::to_string(x) + " " + std::to_string(y) + " " + run), run.clear();
  };
  while (i < b.size()) {
    std::smatch m;
    const std::string rest = b.substr(i, 40);
    if (std::regex_search(rest, m, cursor)) {
      flush();
      x = std::stol(m[1]), y = std::stol(m[2]);
      i += m.length(0);
    } else if (std::regex_search(rest, m, rect)) {
      flush();
      const std::string w = m[1], h = m[2], at = std::to_string(x) + " " + std::to_string(y) + " ";
      if (m[4] == "g") ops.push_back("bar " + at + w + " " + h);
      else if (h == "1") ops.push_back("rule " + at + w);
      else if (w == "1") ops.push_back("border " + at + h);
      else ops.push_back("rect " + at + w + " " + h);
      i += m.length(0);
    } else if (b[i] == '\x1b') {
      flush();
      size_t j = i + 2;
      while (j < b.size() && !(b[j] >= 'A' && b[j] <= 'Z')) ++j;
      i = j + 1;
    } else if (b[i] == 14 || b[i] == 15) {
      ++i;
    } else {
      run += b[i++];
    }
  }
  flush();
  return ops;
}

std::vector<std::string> only(const std::vector<std::string>& ops, const std::string& kind) {
  std::vector<std::string> out;
  for (const auto& op : ops)
    if (op.rfind(kind + " ", 0) == 0) out.push_back(op);
  return out;
}

// A column from 1000 to 1600 dots on a page from depth 0, 100 dots a metre, its body from row 300 to 2801;
// two text lines a metre (a quarter line 0.125 m).
class ColumnTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    TOPDEPTH = 0, PAGEORIGIN = 0, PAGEENDDOT = 2500, PAGEENDROW = 2801;
    PAGENO = 1, PAGECOUNT = 1;
    UNITSPERLINE = 2, QUARTERLINE = 0.125, LINEPITCH = 50, FIRSTPAGEDEPTH = 0;
    SHEETX1 = 376, SHEETX0 = 490, SHEETX2 = 2030, LOGRIGHT = 2124;
    LAYERCOUNT = 1, LAYERDEPTH(1) = 12;
    SCALETICK = 5;
    HEADER(20) = "BH";
    auto console = std::make_unique<platform::ScriptedConsole>();
    con = console.get();
    platform::set_console(std::move(console));
  }
  platform::ScriptedConsole* con = nullptr;
  std::vector<std::string> ops(const std::function<void()>& draw) { return pcl_ops(drawn(4, draw)); }
  rt::Trap trap{"prolog.cpp", "PROLOG"};
  LogDraw log{trap};
};

TEST_F(ColumnTest, Zones) {
  set_log_records({"[1.00] a", "[1.50@] p", "[2.00] b", "[1.80] c", "[0.50@] p", "[1.00] q"});
  ATTRSTART(1) = 0, ATTRSTART(2) = 4;
  struct Case {
    std::int16_t attribute, rec;
    double first_page_depth, top, bottom;
  } cases[] = {
      {1, 1, 0.2, 0.2, 1.0},  // the first record starts at the first page's depth
      {1, 1, 1.5, 1.0, 1.0},  // ... unless that lies deeper
      {1, 2, 0.2, 1.5, 1.5},  // a point
      {1, 3, 0.2, 1.0, 2.0},  // an earlier point is skipped
      {1, 4, 0.2, 1.8, 1.8},  // a depth above the one before: an empty zone at its own depth
      {2, 6, 0.2, 0.2, 1.0},  // only points before it in its column
  };
  for (const auto& c : cases) {
    ATTRNO = c.attribute;
    FIRSTPAGEDEPTH = c.first_page_depth;
    double top = -1, bottom = -1;
    ZONELINE(top, bottom, c.rec);
    EXPECT_DOUBLE_EQ(top, c.top) << c.rec;
    EXPECT_DOUBLE_EQ(bottom, c.bottom) << c.rec;
  }
}

TEST_F(ColumnTest, ZoneBoxes) {
  const std::vector<std::string> frame400 = {"rule 376 400 114", "rule 2030 400 94", "rule 1000 400 10", "rule 1590 400 10"};
  struct Case {
    const char* what;
    double zone_top, zone_bottom, text_top, text_bottom;
    std::string first_word;
    std::int16_t graph, s10, s100;
    std::vector<std::string> top_ops;  // the operations of the zone's top end
  } cases[] = {
      {"text inside its zone", 1.0, 2.0, 1.3, 1.7, "[2.00]", 0, 0, 0,
       {"rule 376 400 114", "rule 2030 400 94", "rule 1000 400 10", "rule 1590 400 10", "rule 1010 400 580"}},
      {"text above its zone", 1.0, 2.0, 0.5, 0.9, "[2.00]", 0, 0, 0,
       {"rule 376 400 114", "rule 2030 400 94", "rule 1000 400 10", "rule 1590 400 10", "rule 1010 350 580",
        "border 1010 350 50", "border 1590 350 50"}},
      {"a boundary above the body", -1.0, 1.0, 0.2, 0.6, "[1.00]", 0, 0, 0, {}},
      // A point: its own text band at both ends, joined to the point's row (both ends listed).
      {"a point uses its own text band", 1.0, 1.0, 0.8, 1.2, "[1.00@]", 0, 0, 0,
       {"rule 376 400 114", "rule 2030 400 94", "rule 1000 400 10", "rule 1590 400 10", "rule 1010 380 580",
        "border 1010 380 20", "border 1590 380 20", "rule 376 400 114", "rule 2030 400 94", "rule 1000 400 10",
        "rule 1590 400 10", "rule 1010 420 580", "border 1010 400 20", "border 1590 400 20"}},
      {"a graph column: ticks and frame rules", 1.0, 2.0, 1.3, 1.7, "[2.00]", 1, 0, 0, frame400},
      {"suppress tens: no frame rules", 1.0, 2.0, 1.3, 1.7, "[2.00]", 1, 1, 0, {"rule 1000 400 10", "rule 1590 400 10"}},
      {"suppress hundreds: the left strip stays free", 1.0, 2.0, 1.3, 1.7, "[2.00]", 1, 0, 1,
       {"rule 2030 400 94", "rule 1000 400 10", "rule 1590 400 10"}},
  };
  for (const auto& c : cases) {
    ZONETOP = c.zone_top, ZONEBOTTOM = c.zone_bottom;
    GRAPHPOS = c.graph, log.DRPOS = 0, log.TUBEEND = 0;
    LOGSUPPRESS10 = c.s10, LOGSUPPRESS100 = c.s100;
    ATTRNO = 1, ATTRSTART(1) = 0, ATTRWIDTH(1) = 1;
    // The record's own text band, made by TEXTLINE from its label depth and one word.
    ATTRROWFIELDS(1) = 1;
    const std::vector<std::string> got = ops([&] {
      log.TEXTTOP = c.text_top, log.TEXTBOTTOM = c.text_bottom;
      log.BARATTS(1000, 1600, 1, c.first_word);
    });
    // The top end's operations come first; the bottom end's follow at the zone's bottom row.
    std::vector<std::string> top;
    const std::string bottom_row = " " + std::to_string(FNZDOT(c.zone_bottom)) + " ";
    for (const auto& op : got) {
      if (op.find(bottom_row) != std::string::npos && c.zone_top != c.zone_bottom) break;
      top.push_back(op);
    }
    EXPECT_EQ(top, c.top_ops) << c.what;
  }
  // After a tube item of the column, no zone box at all.
  log.TUBEEND = 1;
  EXPECT_TRUE(ops([&] { log.BARATTS(1000, 1600, 1, "[2.00]"); }).empty());
}

TEST_F(ColumnTest, RecordTexts) {
  struct Case {
    std::string record;
    double label;
    std::vector<std::string> texts;
  } cases[] = {
      {"[1.00] Two words [R]", 1.0, {"text 1570 391 Two", "text 1550 441 words"}},  // right-aligned
      {"[1.00] Two words [L]", 1.0, {"text 1000 391 Two", "text 1000 441 words"}},
      {"[1.00] [R] Two words [L]", 1.0, {"text 1000 391 Two", "text 1000 441 words"}},  // the later one wins
      {"[1.00] Two words", 1.0, {"text 1285 391 Two", "text 1275 441 words"}},          // centred
      {"[0.00] Two words", 0.0, {"text 1275 341 words"}},                                // above the body: left out
      {"[25.00] Two words", 25.0, {"text 1285 2791 Two"}},                               // below the last page
  };
  for (const auto& c : cases) {
    log.RECTEXT = c.record;
    log.LABELDEPTH = c.label, log.TEXTTOP = c.label - 0.5, log.TEXTBOTTOM = c.label + 0.5;
    ZONEBOTTOM = c.label;
    log.LEFTX = 1000, log.RIGHTX = 1600, log.CENTREX = 1300;
    ATTRNO = 1, ATTRNAME(1) = "Samples";
    EXPECT_EQ(only(ops([&] { log.WRITEATT(); }), "text"), c.texts) << c.record;
  }
  // The words below the last page were said once, with the column and the depth.
  EXPECT_NE(con->screen().find("in column \"Samples\" the text of the record at 25"), std::string::npos) << con->screen();
}

}  // namespace

namespace {

TEST_F(ColumnTest, GraphBars) {
  struct Case {
    std::string name, value;
    std::vector<std::string> bars;
  } cases[] = {
      {"[G=60]", "60", {"bar 1000 400 600 100"}},   // the maximum fills the column
      {"[G=60]", "0", {"bar 1000 400 0 100"}},      // 0: no width
      {"[G=60]", "90", {"bar 1000 400 600 100"}},   // above the maximum: cut at the right edge
      {"[G=60]", "-30", {}},                         // below the origin: nothing in the column
      {"[G=60][LOG]", "60", {"bar 1000 400 600 100"}},
      {"[G=60][LOG]", "1", {"bar 1000 400 0 100"}},  // 1 at the left edge on a logarithmic scale
      {"[G=60][LOG]", "0", {"bar 1000 400 0 100"}},
      {"[G=60][I]", "15", {"bar 1150 400 450 100"}},  // from the value to the right edge
      {"[G=60][I]", "-15", {"bar 1000 400 600 100"}},  // from the left edge, not before it
      {"[G=60][I]", "90", {}},                        // beyond the right edge: nothing
      {"[G=60][h]", "90", {"bar 1000 400 600 1"}},    // a hollow column's step ends at the edge, its line is left out
      {"[G=60][h]", "60", {"bar 1000 400 600 1", "bar 1600 400 1 100"}},  // the line on the right edge stays
      {"[G=60]", "6000000", {"bar 1000 400 600 100"}},  // far beyond the maximum
      {"[G=0]", "50", {"bar 1000 400 300 100"}},     // no maximum: 100
  };
  for (const auto& c : cases) {
    ATTRNO = 1, ATTRNAME(1) = "Graph " + c.name;
    log.column_markers();
    log.LEFTX = 1000, log.RIGHTX = 1600, log.PREVOFFSET = 0;
    log.WORDS = {"", "[2.00]", c.value};
    ZONETOP = 1.0, ZONEBOTTOM = 2.0;
    EXPECT_EQ(only(ops([&] { log.GRAPHATT(); }), "bar"), c.bars) << c.name << " " << c.value;
  }
}

// "[H]" hatches the bar written onto the value or as a word of its own after it, as the other record
// marks are written.
TEST_F(ColumnTest, HatchedBarWhereverTheMarkStands) {
  struct Case {
    std::vector<std::string> words;
    bool hatched;
  } cases[] = {
      {{"", "[2.00]", "12[H]"}, true},
      {{"", "[2.00]", "12", "[H]"}, true},
      {{"", "[2.00]", "12", "firm", "[H]"}, true},
      {{"", "[2.00]", "12"}, false},
      {{"", "[2.00]", "12", "[h]"}, false},  // the column's outline option is no record mark
  };
  for (const auto& c : cases) {
    ATTRNO = 1, ATTRNAME(1) = "Graph [G=60]";
    log.column_markers();
    log.LEFTX = 1000, log.RIGHTX = 1600, log.PREVOFFSET = 0;
    log.WORDS = c.words;
    ZONETOP = 1.0, ZONEBOTTOM = 2.0;
    PATTERNNAME.clear();
    const auto bars = only(ops([&] { log.GRAPHATT(); }), "bar");
    EXPECT_EQ(PATTERNNAME == "/Hatch3", c.hatched) << c.words.back();
    EXPECT_EQ(bars, std::vector<std::string>{"bar 1000 400 120 100"}) << c.words.back();  // 12 of 60
  }
}

// Two columns drawn by PRINTATT: what one column's name says never reaches the next.
TEST_F(ColumnTest, ColumnsKeepTheirOwnMarkers) {
  struct Case {
    std::string first, second;
    std::vector<std::string> texts, bars;
  } cases[] = {
      // A hollow column's outline starts from 0 in each column: the step of the second from its left edge.
      {"A [G=60][h]", "B [G=60][h]", {}, {"bar 1000 400 300 1", "bar 1300 400 1 100", "bar 1600 400 300 1", "bar 1900 400 1 100"}},
      // "[+N]" of a graph column does not make the drawing column after it write its texts ... (the
      // value 30, centred at 1300, stands on the end of its bar, which leaves it room: 1286 to the
      // bar's end, 423 to 481 about its baseline at 466)
      {"A [G=60][+N]", "B [DR]", {"text 1290 466 30"}, {"bar 1000 400 300 23", "bar 1000 423 286 58", "bar 1000 481 300 19"}},
      // ... and a drawing column with "[+N]" writes them after a graph column without it.
      {"A [G=60]", "B [DR][+N]", {"text 1890 466 30"}, {"bar 1000 400 300 100"}},
  };
  for (const auto& c : cases) {
    ATTRCOUNT = 2, ATTRNAME(1) = c.first, ATTRNAME(2) = c.second;
    ATTRWIDTH(1) = 1, ATTRWIDTH(2) = 1, ATTRSTART(1) = 0, ATTRSTART(2) = 1;
    ATTRROWFIELDS(1) = 1, ATTRROWFIELDS(2) = 1;
    set_log_records({"[2.00] 30", "[2.00] 30"});
    TEXTDEPTH(1) = 1.5, TEXTDEPTH(2) = 1.5;
    SHEETX0 = 1000;
    log.FROMCOL = 1, log.TOCOL = 2;
    log.COLX[1] = 1600, log.COLX[2] = 2200;
    log.COLSHARE[1] = log.COLSHARE[2] = 1, log.COLUNIT = 600;
    FIRSTPAGEDEPTH = 1.0;
    LOGRESERVE = 303, NAMEROWS = 1;
    const std::vector<std::string> got = ops([&] { log.PRINTATT(); });
    EXPECT_EQ(only(got, "text"), c.texts) << c.first << " | " << c.second;
    EXPECT_EQ(only(got, "bar"), c.bars) << c.first << " | " << c.second;
  }
}

TEST_F(ColumnTest, SubDivisions) {
  rt::set_exit_code(0);
  struct Case {
    std::string marker;
    std::vector<std::string> borders, texts;
  } cases[] = {
      {"[S=10 sand 20]", {"border 1100 300 2595", "border 1200 300 2595"},
       {"text 1070 2891 10", "text 1130 2877 sand", "text 1170 2891 20"}},
      {"[S=10  20]", {"border 1100 300 2595", "border 1200 300 2595"}, {"text 1070 2891 10"}},  // 20 is silent
      // Numbers too close to be written apart: the one that would run into the number before it is
      // left unwritten ("5" and "10" would read "510"), and so is one that would stand left of the
      // column; their lines stay.
      {"[S=5 6 10]", {"border 1050 300 2595", "border 1060 300 2595", "border 1100 300 2595"},
       {"text 1035 2891 5", "text 1070 2891 10"}},
      {"[S=0.5 4 10]", {"border 1005 300 2595", "border 1040 300 2595", "border 1100 300 2595"},
       {"text 1025 2891 4", "text 1070 2891 10"}},
      // A value beyond the scale (50 in a column to 40) would stand in the next column: left out, line
      // and number; the label after it goes between the last line and the edge.
      {"[S=20 50 hard]", {"border 1200 300 2595"}, {"text 1170 2891 20", "text 1280 2877 hard"}},
  };
  for (const auto& c : cases) {
    ATTRNO = 1, ATTRNAME(1) = "Graph [G=40]" + c.marker;
    log.column_markers();
    log.LEFTX = 1000, log.RIGHTX = 1400;
    log.COLSHARE[1] = 1, log.COLUNIT = 400;
    log.SUBBASE = 2895;
    const std::vector<std::string> got = ops([&] { log.SUBDIVID(); });
    EXPECT_EQ(only(got, "border"), c.borders) << c.marker;
    EXPECT_EQ(only(got, "text"), c.texts) << c.marker;
  }
  EXPECT_NE(con->screen().find("the sub-division 50 of column \"Graph\" lies outside"), std::string::npos)
      << con->screen();
  EXPECT_EQ(rt::exit_code(), 1);
}

TEST_F(ColumnTest, Grids) {
  ATTRNO = 1, ATTRNAME(1) = "Graph [G=10][r=1]";
  log.column_markers();
  log.LEFTX = 1000, log.RIGHTX = 1600;
  const std::vector<std::string> got = ops([&] { log.RASTERRO(); });
  // Solid lines at the multiples of the scale division (0, 5, 10 m), dotted bars between, to 12 m.
  EXPECT_EQ(only(got, "rule"), (std::vector<std::string>{"rule 1000 300 600", "rule 1000 800 600", "rule 1000 1300 600"}));
  EXPECT_EQ(only(got, "bar").size(), 10u);
  // A grid without a step is not drawn, and said once.
  for (const char* marker : {"[R=0]", "[r=]", "[R=0.001]"}) {
    ATTRNAME(1) = std::string("Graph [G=10]") + marker;
    log.column_markers();
    EXPECT_TRUE(ops([&] { log.RASTERRO(); }).empty()) << marker;
  }
  EXPECT_NE(con->screen().find("has no step"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(ColumnTest, HatchAndShadeCodes) {
  struct Case {
    std::string code;
    std::int16_t hatch, hatch_shade, shade;
  } cases[] = {
      {"[X1]", 1, 17, 0}, {"[X3]", 3, 50, 0}, {"[X6]", 6, 100, 0}, {"[X9]", 0, 0, 0}, {"[X0]", 0, 0, 0},
      {"[S1]", 0, 0, 2},  {"[S4]", 0, 0, 28}, {"[S8]", 0, 0, 100}, {"[S9]", 0, 0, 0}, {"[San", 0, 0, 0},
      {"X1][", 0, 0, 0},  // a code must start a table entry
  };
  for (const auto& c : cases) {
    EXPECT_EQ(log.FINDHATC(c.code), c.hatch) << c.code;
    EXPECT_EQ(BARSHADE, c.hatch_shade) << c.code;
    EXPECT_EQ(log.FINDSHAD(c.code), c.shade) << c.code;
    EXPECT_EQ(BARSHADE, c.shade) << c.code;
  }
  // A code outside the tables draws no bar, on the pen devices either.
  log.LEFTX = 1000, log.RIGHTX = 1600;
  ZONETOP = 1.0, ZONEBOTTOM = 2.0;
  log.RECTEXT = "[2.00] x [X9] [Sand]";
  EXPECT_EQ(drawn(3, [&] { log.XHATCH(); }), "");
  log.RECTEXT = "[2.00] x [X3] [S4]";  // the hatch first, the shade over it
  EXPECT_EQ(only(ops([&] { log.XHATCH(); }), "bar"),
            (std::vector<std::string>{"bar 1000 400 600 100", "bar 1000 400 600 100"}));
}

TEST_F(ColumnTest, Tubes) {
  struct Case {
    std::string item;
    std::vector<std::string> bars;
    std::int32_t shade;
  } cases[] = {
      {"[D 40]", {"bar 1279 400 1 100", "bar 1320 400 1 100"}, 100},         // 20 to 21 dots either side
      {"[D 60 40]", {"bar 1270 400 10 100", "bar 1320 400 10 100"}, 100},    // swapped
      {"[D 50 50]", {"bar 1274 400 1 100", "bar 1325 400 1 100"}, 100},      // outer = inner + 2
      {"[D 40 60 290]", {"bar 1560 400 10 100"}, 100},                       // the right wall leaves the column
      {"[D 40 60 -290]", {"bar 1030 400 10 100"}, 100},                      // the left wall leaves it
      {"[D 40 60 S3]", {"bar 1270 400 10 100", "bar 1320 400 10 100"}, 16},  // a pattern in the shift's place
      {"[D 40 60 0 X2]", {"bar 1270 400 10 100", "bar 1320 400 10 100"}, 33},
      {"[D 40 60 0 S9]", {"bar 1270 400 10 100", "bar 1320 400 10 100"}, 100},  // outside the table: plain
  };
  for (const auto& c : cases) {
    log.LEFTX = 1000, log.RIGHTX = 1600, log.TUBEEND = 0;
    ZONETOP = 1.0, ZONEBOTTOM = 2.0;
    log.RECTEXT = "[2.00] pipe " + c.item;
    EXPECT_EQ(only(ops([&] { log.XHATCH(); }), "bar"), c.bars) << c.item;
    EXPECT_EQ(BARSHADE, c.shade) << c.item;
    EXPECT_GT(log.TUBEEND, 0) << c.item;
  }
  // An item without its "]" is left out and ends the scan (said once); an include that includes itself
  // stops.
  dir.write("self.tub", "[D 10 14] [D self.tub]\r\n");
  for (const auto& [text, said] : {std::pair{"[2.00] open [D 40 60", "without its \"]\""},
                                  std::pair{"[2.00] [D self.tub]", "includes of a record stop"}}) {
    log.RECTEXT = text;
    log.TUBEEND = 0;
    const std::vector<std::string> bars = only(ops([&] { log.XHATCH(); }), "bar");
    EXPECT_EQ(bars.size(), std::string(text).find("self") != std::string::npos ? 16u : 0u) << text;
    EXPECT_NE(con->screen().find(said), std::string::npos) << con->screen();
  }
}

TEST_F(ColumnTest, DataFiles) {
  dir.write("curve.txt", "1.0, 5\r\n2,0: 4.5\r\n");
  dir.write("single.txt", "1.0\r\n2.0\r\n");
  log.LEFTX = 1000, log.RIGHTX = 1600;
  ATTRNO = 1, ATTRSTART(1) = 0, ATTRWIDTH(1) = 1;
  log.REC = 1;
  // The plot frame as it stood is given back on every device.
  for (std::int32_t dev : {1, 2, 3, 4}) {
    ATTRNAME(1) = "Curve [G=10][FILE][HPGL1200]";
    log.column_markers();
    log.WORDS = {"", "[5.00]", "curve.txt"};
    const std::string bytes = drawn(dev, [&] {
      PAPERY = 10837, XSCALE = 0.5, YSCALE = -0.7, XOFFSET = 11, YOFFSET = 22;
      log.DATAFILE();
      EXPECT_EQ(PAPERY, 10837) << dev;
      EXPECT_DOUBLE_EQ(XSCALE, 0.5) << dev;
      EXPECT_DOUBLE_EQ(YSCALE, -0.7) << dev;
      EXPECT_DOUBLE_EQ(XOFFSET, 11) << dev;
      EXPECT_DOUBLE_EQ(YOFFSET, 22) << dev;
    });
    if (dev == 3) {
      EXPECT_EQ(bytes.find('\x1b'), std::string::npos);
    } else if (dev == 2) {
      EXPECT_EQ(bytes.find("IN"), std::string::npos) << bytes;
    } else if (dev == 4) {
      EXPECT_NE(bytes.find("\x1b%0BINSP1PUPA0,0DT"), std::string::npos);
    }
  }
  // Zones: a line of one field draws nothing; "2,0: 4.5" is the zone from 1.0 to 2.0 m of value 4.5.
  ATTRNAME(1) = "Zones [G=10][FILE]";
  log.column_markers();
  log.WORDS = {"", "[5.00]", "single.txt"};
  EXPECT_TRUE(only(ops([&] { log.DATAFILE(); }), "bar").empty());
  log.WORDS = {"", "[5.00]", "curve.txt"};
  EXPECT_EQ(only(ops([&] { log.DATAFILE(); }), "bar"),
            (std::vector<std::string>{"bar 1000 300 300 100", "bar 1000 400 270 100"}));
  // A missing file is said once per hole and file.
  log.WORDS = {"", "[5.00]", "gone.txt"};
  for (int i = 0; i < 3; ++i) ops([&] { log.DATAFILE(); });
  EXPECT_EQ(testing_support::find_all_regex(con->screen(), "gone.txt").size(), 1u) << con->screen();
  // Depths no sheet can hold are said once, naming the file and the first such line, and left out; the
  // other lines are drawn, and a one-shot run ends with exit code 1. No untrapped error.
  dir.write("deep.txt", "1.0: 5\r\n99999999999: 6\r\n2,0: 4.5\r\n-1e300: 1\r\n");
  RUNFLAGS = 1;
  rt::set_exit_code(0);
  con->push_key(" ");  // the one key wait of the error line
  for (int i = 0; i < 2; ++i) {
    log.WORDS = {"", "[5.00]", "deep.txt"};
    EXPECT_EQ(only(ops([&] { log.DATAFILE(); }), "bar"),
              (std::vector<std::string>{"bar 1000 300 300 100", "bar 1000 400 270 100"}));
  }
  EXPECT_EQ(testing_support::find_all_regex(con->screen(), "deep.txt line 2  Error  6").size(), 1u) << con->screen();
  EXPECT_EQ(rt::exit_code(), 1);
  rt::set_exit_code(0);
  EXPECT_EQ(con->queued(), 0u);
  EXPECT_TRUE(box.texts.empty());

  // Points below the bottom of the hole are left out, said once per hole and file with the first
  // such line and their count.
  dir.write("below.txt", "1.0: 5\r\n2,0: 4.5\r\n3.0: 7\r\n4.0: 8\r\n");
  LAYERCOUNT = 1, LAYERDEPTH(1) = 2.5;
  for (int i = 0; i < 2; ++i) {
    log.WORDS = {"", "[5.00]", "below.txt"};
    EXPECT_EQ(only(ops([&] { log.DATAFILE(); }), "bar"),
              (std::vector<std::string>{"bar 1000 300 300 100", "bar 1000 400 270 100"}));
  }
  const std::string said = "data file below.txt line 3: 2 points below the bottom of the hole at 2.5 left out <3.0: 7>";
  EXPECT_EQ(testing_support::find_all_regex(con->screen(), "below.txt line 3: 2 points").size(), 1u) << con->screen();
  const std::string logged = std::filesystem::exists(dir.path() / "ERROR.LOG") ? dir.read("ERROR.LOG") : "";
  EXPECT_NE(logged.find(said), std::string::npos) << logged;
  EXPECT_EQ(rt::exit_code(), 1);
  rt::set_exit_code(0);
  LAYERCOUNT = 0;
}

}  // namespace
