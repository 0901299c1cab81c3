// Font width tables: pitch fonts, both metric file forms, the scale factors, the device mark, and a
// missing metric file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "platform/console.h"
#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

const std::string kFont1 = "/027(10U/027(s1p10v0s0b4148T";  // the standard SET file's three fonts
const std::string kFont2 = "/027(10U/027(s1p10v0s3b4148T";
const std::string kFont3 = "/027)10U/027)s1p8v1s0b4148T";

struct Entry {
  std::string key, name, metric;
};

// pdffonts.dat with one table entry per line and no difference lines.
std::string pdffonts(const std::vector<Entry>& entries) {
  std::string out = std::to_string(entries.size()) + " /Encoding\r\n";
  for (const auto& e : entries) {
    std::string key = e.key, metric = e.metric;
    key.resize(6, ' ');
    metric.resize(10, ' ');
    out += key + e.name + ":" + metric + "\r\n";
  }
  return out + "0\r\n";
}

// A binary metric file: the blank is `blank` units wide, every other code `other`.
std::string binary_met(int blank, int other, size_t length = 534) {
  std::string out = "\x1b)s80W" + std::string(80, '\0');
  for (int c = 32; c <= 254; ++c) {
    int w = c == 32 ? blank : other;
    out += static_cast<char>(w & 0xFF);
    out += static_cast<char>((w >> 8) & 0xFF);
  }
  out.resize(length, '\0');
  return out;
}

class WidthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_frame_globals();
    reset_setup_globals();
    platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
    PRODIM();
    FONTDIR = "LJ4";
    OUTDEV = 1;
    fs::create_directory(dir.path() / "LJ4");
  }
  void TearDown() override {
    rt::close_all();
    reset_setup_globals();
    reset_frame_globals();
    platform::set_console(nullptr);
  }
  bool logged() const { return fs::exists(dir.path() / "ERROR.LOG"); }
  TempDir dir;
  ScopedCwd cwd{dir.path()};
  BoxRecorder box;
};

TEST_F(WidthTest, PitchAndMetricFiles) {
  std::string text_met;
  for (int c = 32; c <= 254; ++c) text_met += (c == 32 ? "1226" : c == 33 ? "2.5" : "100") + std::string(c % 10 ? ", " : "\r\n");
  dir.write("LJ4/TEXT.MET", text_met);
  dir.write("LJ4/W278.MET", binary_met(278, 500));
  dir.write("LJ4/DOTS.MET", binary_met(40, 35));
  dir.write("LJ4/LONG.MET", binary_met(278, 500, 535));
  const double unit10 = 10 / 1058.4000244140625;
  struct Case {
    const char* what;
    std::string metric, spec;
    double size, width;
    int blank, other;
  } cases[] = {
      {"pitch 10", "10", kFont1, 1, 30, 30, 30},
      {"pitch 12", "12", kFont1, 1, 25, 25, 25},
      {"pitch 16.67", "16.67", kFont1, 1, 300 / 16.67, 18, 18},
      {"binary, height 10 points", "W278.MET", kFont1, unit10, 278 * unit10, 278, 500},
      {"binary, pitch 12 and no height", "W278.MET", "/027(10U/027(s0p12h0s0b4148T", 25.0 / 278, 25, 278, 500},
      {"binary, widths already in dots", "DOTS.MET", kFont1, 1, 40, 40, 35},
      {"text form", "TEXT.MET", kFont1, unit10, 1226 * unit10, 1226, 100},
  };
  for (const auto& c : cases) {
    dir.write("pdffonts.dat", pdffonts({{"m4148", "Helvetica", c.metric}}));
    FONTSPEC(1) = c.spec;
    WIDTHTAB(1);
    EXPECT_DOUBLE_EQ(FONTSIZE(1), c.size) << c.what;
    EXPECT_NEAR(FONTWIDTH(1), c.width, 1e-9) << c.what;
    EXPECT_EQ(CHARWIDTH(1, 32), c.blank) << c.what;
    EXPECT_EQ(CHARWIDTH(1, 65), c.other) << c.what;
    EXPECT_EQ(CHARWIDTH(1, 254), c.other) << c.what;
    EXPECT_EQ(CHARWIDTH(1, 255), 2) << c.what << ": device mark for PDF";
    EXPECT_EQ(FONTPDFNAME, "Helvetica") << c.what;
  }
  EXPECT_EQ(CHARWIDTH(1, 33), 2) << "2.5 in a text metric file rounds to even";
  EXPECT_EQ(FONTSPEC(1), "\x1b(10U\x1b(s1p10v0s0b4148T") << "left in its converted form";
  EXPECT_FALSE(logged());

  // 535 bytes that begin like a binary file are read as text, and its first item is no number.
  dir.write("pdffonts.dat", pdffonts({{"m4148", "Helvetica", "LONG.MET"}}));
  WIDTHTAB(1);
  EXPECT_TRUE(logged());
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(WidthTest, DeviceMarkFollowsTheOutputDevice) {
  dir.write("pdffonts.dat", pdffonts({{"m4148", "Helvetica", "W278.MET"}, {"b4148", "Helvetica-Bold", "12"},
                                      {"s4148", "Helvetica-Oblique", "W278.MET"}}));
  dir.write("LJ4/W278.MET", binary_met(278, 500));
  FONTSPEC(1) = kFont1, FONTSPEC(2) = kFont2, FONTSPEC(3) = kFont3;
  for (std::int32_t device : {1, 3, 2, 0}) {
    OUTDEV = device;
    for (std::int32_t n = 1; n <= 3; ++n) WIDTHTAB(n);  // the second round sees converted specs
    for (std::int32_t n = 1; n <= 3; ++n) EXPECT_EQ(CHARWIDTH(n, 255), 1 + device) << "font " << n;
  }
  EXPECT_EQ(CHARWIDTH(2, 32), 25);
  EXPECT_DOUBLE_EQ(FONTSIZE(3), 8 / 1058.4000244140625);
  EXPECT_FALSE(logged());
}

TEST_F(WidthTest, MissingMetricFile) {
  rt::set_exit_code(0);
  FONTSPEC(1) = kFont1;
  // No pdffonts.dat either: the metric field stays empty and names no file.
  WIDTHTAB(1);
  std::string screen;
  for (int r = 1; r <= platform::console().rows(); ++r) screen += platform::console().row_text(r);
  EXPECT_NE(screen.find("File not found : LJ4\\.MET"), std::string::npos) << screen;
  // Measured as a 10-point fixed-pitch font (12 characters per inch) instead of with zero widths.
  EXPECT_EQ(CHARWIDTH(1, 32), 25);
  EXPECT_EQ(CHARWIDTH(1, 200), 25);
  EXPECT_DOUBLE_EQ(FONTWIDTH(1), 25);
  EXPECT_DOUBLE_EQ(FONTSIZE(1), 1);
  EXPECT_EQ(CHARWIDTH(1, 255), 0) << "no device mark, so the next run tries again";

  // With an earlier table the widths stay as they were.
  dir.write("pdffonts.dat", pdffonts({{"m4148", "Helvetica", "10"}}));
  WIDTHTAB(1);
  ASSERT_EQ(CHARWIDTH(1, 65), 30);
  dir.write("pdffonts.dat", pdffonts({{"m4148", "Helvetica", "GONE.MET"}}));
  OUTDEV = 3;
  WIDTHTAB(1);
  EXPECT_EQ(CHARWIDTH(1, 65), 30);
  EXPECT_EQ(CHARWIDTH(1, 255), 2);
  // Each missing file written down once (GONE.MET, found by no search, is the same name "LJ4\.MET"):
  // the run that measures with them ends with 1.
  const std::string log = dir.read("ERROR.LOG");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
  EXPECT_NE(log.find("pdfequiv.cpp @ 0002   " + (dir.path() / "pdffonts.dat").string() + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("widthtab.cpp @   File not found : LJ4\\.MET\r\n"), std::string::npos) << log;
  EXPECT_EQ(rt::exit_code(), 1);
  rt::set_exit_code(0);
}

// The shipped width tables and pdffonts.dat against the standard metrics of the fonts, narrowed to the
// 94.482 % at which PDF text is shown: "Hello" is 722 + 556 + 222 + 222 + 556 thousandths of an em in
// Helvetica, 722 + 556 + 278 + 278 + 611 in its bold, 722 + 444 + 278 + 278 + 500 in Times and 5 * 600
// in Courier; the blank 278, 250 and 600.
TEST_F(WidthTest, ShippedTablesMeasureLikeTheShownFonts) {
  fs::copy(data_dir() / "LJ4", dir.path() / "LJ4", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::copy_file(data_dir() / "pdffonts.dat", dir.path() / "pdffonts.dat");
  struct Case {
    std::string spec;
    int ems, blank;  // thousandths of an em
    double points;
  } cases[] = {
      {kFont1, 2278, 278, 10},
      {kFont2, 2445, 278, 10},
      {kFont3, 2278, 278, 8},
      {"/027(10U/027(s1p12v0s0b4101T", 2222, 250, 12},
      {"/027(10U/027(s0p10h12v1s3b4099T", 3000, 600, 12},
  };
  for (const auto& c : cases) {
    FONTSPEC(1) = c.spec;
    WIDTHTAB(1);
    long units = 0;
    for (char ch : std::string("Hello")) units += CHARWIDTH(1, static_cast<unsigned char>(ch));
    const double dots = std::round(FONTSIZE(1) * units);
    const double shown = 0.94482 * c.points / 72 * 300 / 1000;  // dots per thousandth of an em
    EXPECT_NEAR(dots, c.ems * shown, 1) << c.spec;
    EXPECT_NEAR(FONTWIDTH(1), c.blank * shown, 0.01) << c.spec;
    EXPECT_EQ(CHARWIDTH(1, 255), 2);
  }
  EXPECT_FALSE(logged());
}

}  // namespace
