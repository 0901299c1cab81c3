// PDF font equivalents from pdffonts.dat, and the two binary font-file readers.
#include <gtest/gtest.h>

#include <filesystem>

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

class PdfEquivTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_frame_globals();
    reset_setup_globals();
    auto c = std::make_unique<platform::BatchConsole>(25, false);
    con = c.get();
    platform::set_console(std::move(c));
    PRODIM();
    PROMPT(38) = "Cannot find";
  }
  void TearDown() override {
    rt::close_all();
    platform::set_console(nullptr);
  }
  // The console lines printed so far, joined.
  std::string screen() const {
    std::string s;
    for (int r = 1; r <= con->rows(); ++r) {
      std::string row = con->row_text(r);
      s += row.back() == ' ' ? rt_trim(row) + "|" : row;  // a full row goes on in the next one
    }
    return s;
  }
  static std::string rt_trim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
  void lookup(std::string spec) {
    size = "unchanged";
    name = "unchanged";
    PDFEQUIV(spec, size, name);
  }

  platform::Console* con = nullptr;
  TempDir dir;
  ScopedCwd cwd{dir.path()};
  BoxRecorder box;
  std::string size, name;
};

const std::string kEsc = "\x1b";

TEST_F(PdfEquivTest, ReadsTheTable) {
  dir.write("pdffonts.dat",
            "4 /Encoding /WinAnsiEncoding\r\n"
            "m4148 Helvetica           :HELVMU.MET\r\n"
            "s4148 Helvetica-Oblique   :HELVMI.MET\r\n"
            "b4148 Helvetica-Bold      :HELVBU.MET\r\n"
            "B4148 Helvetica-BoldOblique:HELVBI.MET\r\n"
            "2\r\n128 /Ccedilla\r\n129 /udieresis\r\nnot read\r\n");
  struct Case {
    std::string spec, name, size;
  } cases[] = {
      {kEsc + "(10U" + kEsc + "(s1p10v0s0b4148T", "Helvetica", "HELVMU.MET"},
      {kEsc + ")10U" + kEsc + ")s1p8v1s0b4148T", "Helvetica-Oblique", "HELVMI.MET"},
      {kEsc + "(10U" + kEsc + "(s1p10v0s3b4148T", "Helvetica-Bold", "HELVBU.MET"},
      {kEsc + "(10U" + kEsc + "(s1p10v1s3b4148T", "Helvetica-BoldOblique", "HELVBI.MET"},
      {"/027(10U/027(s1p10v0s0b4148T", "Helvetica", "HELVMU.MET"},  // the "/" notation works too
  };
  for (const auto& c : cases) {
    lookup(c.spec);
    EXPECT_EQ(name, c.name) << c.spec;
    EXPECT_EQ(size, c.size) << c.spec;
  }
  EXPECT_EQ(PDFFONTREC, "/Encoding /WinAnsiEncoding");
  EXPECT_EQ(PDFWIDTHS, "128 /Ccedilla\r\n129 /udieresis\r\n");
  EXPECT_EQ(screen().find("pdffonts"), std::string::npos) << screen();
}

TEST_F(PdfEquivTest, LayoutEdges) {
  // The key is searched over the joined table: its first occurrence wins, even inside another entry;
  // a metric field without its blank padding runs into the next line; a comma ends the first item,
  // and the rest of its line is the first table line.
  dir.write("pdffonts.dat",
            "4, /Encoding /X\r\n"
            "m4101 Times-Roman:TIMSMU.MET\r\n"
            "m9m4148 Courier :COUR\r\n"
            "m4148 Helvetica :HELVMU.MET\r\n"
            "0\r\n");
  lookup(kEsc + "(s0s0b4148T");
  EXPECT_EQ(name, "Courier");  // the key inside "m9m4148"
  EXPECT_EQ(size, "COURm4148");
  EXPECT_EQ(PDFFONTREC, "");  // "/Encoding /X" stood after the comma
  EXPECT_EQ(PDFWIDTHS, "");
}

// A font the table lacks gets the same style of the standard typeface, else the table's first
// entry, and a name that is no standard PDF font is replaced: each with a message.
TEST_F(PdfEquivTest, MissingFontsFallBackToStandardFonts) {
  dir.write("pdffonts.dat",
            "3 /Encoding /WinAnsiEncoding\r\n"
            "m4148 Helvetica             :HELVMU.MET\r\n"
            "b4148 Helvetica-Bold        :HELVBU.MET\r\n"
            "m4197 Garamond              :GARAMU.MET\r\n"
            "0\r\n");
  struct Case {
    std::string spec, name, size, message;
  } cases[] = {
      {kEsc + "(s0s3b4113T", "Helvetica-Bold", "HELVBU.MET", "Font b4113 not in pdffonts.dat - using Helvetica-Bold"},
      {kEsc + "(s1s0b4113T", "Helvetica", "HELVMU.MET", "Font s4113 not in pdffonts.dat - using Helvetica"},
      {kEsc + "(s0s0b4197T", "Helvetica", "GARAMU.MET",
       "Font m4197: Garamond is no standard PDF font - using Helvetica"},
  };
  for (const auto& c : cases) {
    con->cls();
    lookup(c.spec);
    EXPECT_EQ(name, c.name) << c.spec;
    EXPECT_EQ(size, c.size) << c.spec;
    EXPECT_NE(screen().find(c.message), std::string::npos) << screen();
  }
  EXPECT_TRUE(box.texts.empty());
}

TEST_F(PdfEquivTest, MissingOrShortTable) {
  // Missing: the message with the path; the metric field, the font name and the encoding stay.
  PDFFONTREC = "/Encoding /Old";
  lookup(kEsc + "(s0s3b4101T");
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(size, "unchanged");
  EXPECT_EQ(PDFFONTREC, "/Encoding /Old");
  EXPECT_NE(screen().find("Cannot find " + (dir.path() / "pdffonts.dat").string()), std::string::npos) << screen();

  // Fewer lines than announced: one error in the log, no endless reading, no untrapped error.
  dir.write("pdffonts.dat", "900 /Encoding /WinAnsiEncoding\r\nm4148 Helvetica :HELVMU.MET\r\n");
  lookup(kEsc + "(s0s0b4148T");
  EXPECT_EQ(name, "Helvetica");
  EXPECT_EQ(size, "HELVMU.MET");
  EXPECT_EQ(PDFWIDTHS, "");
  EXPECT_NE(dir.read("ERROR.LOG").find("pdfequiv.cpp"), std::string::npos);
  EXPECT_TRUE(box.texts.empty());
}

// The table is read at the first lookup of a run; the next run reads it as it is then.
TEST_F(PdfEquivTest, TheNextRunReadsAChangedTable) {
  const std::string spec = kEsc + "(s0s0b4148T";
  dir.write("pdffonts.dat", "1 /Encoding /WinAnsiEncoding\r\nm4148 Helvetica :HELVMU.MET\r\n0\r\n");
  lookup(spec);
  EXPECT_EQ(name, "Helvetica");
  EXPECT_EQ(size, "HELVMU.MET");
  dir.write("pdffonts.dat", "1 /Encoding /MacRomanEncoding\r\nm4148 Courier   :COURMU.MET\r\n1\r\n128 /Adieresis\r\n");
  forget_pdf_fonts();  // as a run begins
  lookup(spec);
  EXPECT_EQ(name, "Courier");
  EXPECT_EQ(size, "COURMU.MET");
  EXPECT_EQ(PDFFONTREC, "/Encoding /MacRomanEncoding");
  EXPECT_EQ(PDFWIDTHS, "128 /Adieresis\r\n");
}

// What goes into every PDF as it stands: a base encoding that is no PDF name and a difference line of
// more than codes and names are said once each (file and line) and not used.
TEST_F(PdfEquivTest, BaseEncodingAndDifferencesThatWouldBreakThePdf) {
  rt::set_exit_code(0);
  dir.write("pdffonts.dat",
            "1 /Encoding /WinAnsi Encoding >>\r\n"
            "m4148 Helvetica :HELVMU.MET\r\n"
            "3\r\n128 /Ccedilla\r\n129 ] >> endobj (x\r\n130 /eacute\r\n");
  for (int i = 0; i < 2; ++i) lookup(kEsc + "(s0s0b4148T");
  EXPECT_EQ(name, "Helvetica");
  EXPECT_EQ(PDFFONTREC, "/Encoding /WinAnsiEncoding");
  EXPECT_EQ(PDFWIDTHS, "128 /Ccedilla\r\n130 /eacute\r\n");
  const std::string log = dir.read("ERROR.LOG");
  EXPECT_EQ(find_all_regex(log, "pdffonts.dat line 1: the base encoding is no PDF name").size(), 1u) << log;
  EXPECT_EQ(find_all_regex(log, "pdffonts.dat line 5: a /Differences line").size(), 1u) << log;
  EXPECT_TRUE(box.texts.empty());
  EXPECT_EQ(rt::exit_code(), 1);  // what the PDFs were to carry is replaced or left out
  rt::set_exit_code(0);
}

// The shipped table names a standard font for every typeface and style the SET files use, and
// maps codes 128 to 255 for the code-page characters.
TEST_F(PdfEquivTest, ShippedTable) {
  fs::copy_file(data_dir() / "pdffonts.dat", dir.path() / "pdffonts.dat");
  struct Case {
    std::string typeface;
    const char* names[4];
  } cases[] = {
      {"4148", {"Helvetica", "Helvetica-Oblique", "Helvetica-Bold", "Helvetica-BoldOblique"}},
      {"4101", {"Times-Roman", "Times-Italic", "Times-Bold", "Times-BoldItalic"}},
      {"4099", {"Courier", "Courier-Oblique", "Courier-Bold", "Courier-BoldOblique"}},
      {"4102", {"Courier", "Courier-Oblique", "Courier-Bold", "Courier-BoldOblique"}},
      {"4362", {"Helvetica", "Helvetica-Oblique", "Helvetica-Bold", "Helvetica-BoldOblique"}},
  };
  const char* styles[4] = {"0s0b", "1s0b", "0s3b", "1s3b"};
  for (const auto& c : cases) {
    for (int v = 0; v < 4; ++v) {
      lookup(kEsc + "(10U" + kEsc + "(s1p10v" + styles[v] + c.typeface + "T");
      EXPECT_EQ(name, c.names[v]) << c.typeface << " " << styles[v];
      EXPECT_EQ(size.size(), 10u) << size;
    }
  }
  lookup(kEsc + "(10U" + kEsc + "(s1p10v0s0b4148T");
  EXPECT_EQ(size, "HELVMU.MET");
  EXPECT_EQ(PDFFONTREC, "/Encoding /WinAnsiEncoding");
  EXPECT_EQ(PDFWIDTHS.find("128 /Ccedilla /udieresis"), 0u);
  EXPECT_NE(PDFWIDTHS.find("/degree"), std::string::npos);
  EXPECT_EQ(PDFWIDTHS.substr(PDFWIDTHS.size() - 19), "/filledbox /space\r\n");
  EXPECT_EQ(screen().find("pdffonts"), std::string::npos) << screen();
}

TEST_F(PdfEquivTest, BinaryReaders) {
  EXPECT_EQ(FNQD2INT(std::string("\x01,", 2)), 300);
  EXPECT_EQ(FNQD2INT(""), -257);
  EXPECT_EQ(FNQD2INT("A"), 256 * 65 - 1);
  EXPECT_EQ(FNQD2INT("\xFF\xFF"), 65535);

  struct Case {
    std::string bytes;
    int want;
  } cases[] = {
      {kEsc + ")s80W" + std::string(80, 'x'), 80},
      {"0123456789ab" + kEsc + ")s12W", 12},                // the code ends within 17 bytes
      {"0123456789abcde" + kEsc + ")s12W", 0},             // too late
      {kEsc + ")s0123456789012345W", 0},                    // no stop within 16 bytes
      {kEsc + ")s", 0},                                       // the file ends
  };
  for (const auto& c : cases) {
    dir.write("font.bin", c.bytes);
    int f = rt::FREEFILE();
    ASSERT_TRUE(rt::open_file(f, "font.bin", rt::FileMode::Binary));
    std::int32_t value = -1;
    READCODE(kEsc + ")s", value, "W", f);
    rt::close_file(f);
    EXPECT_EQ(value, c.want) << c.bytes;
  }
}

}  // namespace
