// Text and number helpers: the values that go into every output file, field splitting, line reading.
#include "engine/frame/helpers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/files.h"
#include "platform/console.h"
#include "engine/frame/frame_fixture.h"
#include "testsupport.h"

using namespace testing_support;

namespace {

class HelpersTest : public FrameFixture {};

TEST_F(HelpersTest, Fnrandce) {
  struct Case {
    double x;
    const char* want;
  } cases[] = {{0, " 0.00"},       {0.004, " 0.00"},   {-0.004, " 0.00"}, {0.005, " 0.01"},   {-0.005, "-0.01"},
               {-0.006, "-0.01"},  {0.125, " 0.13"},   {-0.125, "-0.12"}, {0.05, " 0.05"},    {0.5, " 0.50"},
               {807, " 807.00"},   {-3.14159, "-3.14"}, {-12, "-12.00"},  {2480, " 2480.00"}, {0.0009, " 0.00"},
               {-0.07, "-0.07"},   {0.12, " 0.12"}};
  for (const auto& c : cases) EXPECT_EQ(FNRANDCE(c.x), c.want) << c.x;
  // A value that is no number still gives a number text, after one report.
  EXPECT_EQ(FNRANDCE(std::nan("")), " 0.00");
  EXPECT_EQ(FNRANDCE(1e300), " 0.00");
  EXPECT_NE(dir.read("ERROR.LOG").find("randcent.cpp @ 0002  Error  6 -Overflow"), std::string::npos);
  EXPECT_TRUE(box.texts.empty());
}

// A depth label rounds the depth as it was typed, half up: 0.945 is 0.95 (FNRANDCE, working on the
// binary value 0.94499..., gives 0.94).
TEST_F(HelpersTest, DepthLabel) {
  struct Case {
    double x;
    const char* want;
  } cases[] = {{0.945, " 0.95"},  {0.155, " 0.16"},   {1.675, " 1.68"},   {2.5, " 2.50"},     {0.944999, " 0.94"},
               {12.345, " 12.35"}, {40, " 40.00"},    {0.0009, " 0.00"},  {-0.945, "-0.95"},  {-0.2, "-0.20"},
               {0.005, " 0.01"},   {1234.5, " 1234.50"}, {0.30, " 0.30"}, {3.999, " 4.00"},   {0.125, " 0.13"}};
  for (const auto& c : cases) EXPECT_EQ(depth_label(c.x), c.want) << c.x;
  EXPECT_EQ(FNRANDCE(0.945), " 0.94");  // coordinates keep their rounding
}

TEST_F(HelpersTest, Fnfixn) {
  struct Case {
    double x;
    int n;
    const char* want;
  } cases[] = {{1, 3, " 1.000"},       {128.0 / 255, 3, " .502"}, {0, 3, " .000"},  {-1.5, 3, "-1.500"},
               {12.3456, 3, " 12.346"}, {0.125, 2, " .12"},       {-0.001, 2, "-.00"}, {12.6, 0, " 13"},
               {-0.3, 0, "-0"},         {0.5, 1, " .5"},          {1, 1, " 1.0"},     {-0.25, 1, "-.2"},
               {2.5, 0, " 2"},          {3.5, 0, " 4"},           {255.0 / 255, 3, " 1.000"},
               {64.0 / 255, 3, " .251"}, {1015.99998, 3, " 1016.000"}, {0.05, 2, " .05"}};
  for (const auto& c : cases) EXPECT_EQ(FNFIXN(c.x, c.n), c.want) << c.x << " " << c.n;
}

TEST_F(HelpersTest, DotPositions) {
  HEADDOTS = 450;
  PAGEORIGIN = 3000;
  TOPDEPTH = 2.0;
  DOTSPERUNIT = 118.11;
  EXPECT_EQ(FNPDOT(3000), 450);
  EXPECT_EQ(FNZDOT(2.0), 450 - 3000);
  PAGEORIGIN = 0;
  EXPECT_EQ(FNZDOT(2.0), 450);
  EXPECT_EQ(FNZDOT(3.0), 568);
}

TEST_F(HelpersTest, FindValueAndAlphnum) {
  struct Case {
    const char* text;
    const char* key;
    const char* want;
  } cases[] = {{"12.5v 10h", "v", "12.5"}, {"12.5v 10h", "h", "10"}, {"12.5v", "p", ""},
               {"v", "v", ""},             {"3v 7v", "v", "7"},      {"-5v", "v", "5"},
               {"#9v", "v", "#9"},         {"abc", "", ""}};
  for (const auto& c : cases) EXPECT_EQ(FNFINDV(c.text, c.key), c.want) << c.text << " / " << c.key;
  EXPECT_EQ(ALPHNUM("Bh-12 a/b"), "BH12AB");
  EXPECT_EQ(ALPHNUM("-/."), "");
}

TEST_F(HelpersTest, Parsvars) {
  auto fields = [] {
    std::vector<std::string> f;
    for (int i = 1; i <= PARSEDCOUNT; ++i) f.push_back(PARSED(i));
    return f;
  };
  using V = std::vector<std::string>;
  std::string d = ",";
  PARSVARS("a, b,,c", d);
  EXPECT_EQ(fields(), (V{"a", "b", "c"}));
  d = ",blanksok";
  PARSVARS("a, b,,c", d);
  EXPECT_EQ(fields(), (V{"a", "b", "", "c"}));
  EXPECT_EQ(d, ",");
  d = ",blanksok";
  PARSVARS("a,b,", d);
  EXPECT_EQ(fields(), (V{"a", "b"}));
  d = " ";
  PARSVARS("", d);
  EXPECT_EQ(PARSEDCOUNT, 0);
  PARSVARS("one two three four five", d);
  EXPECT_EQ(PARSEDCOUNT, 5);
  PARSVARS("x y", d);
  EXPECT_EQ(PARSED(3), "");
  EXPECT_EQ(PARSED(5), "");
  PARSEDMAX = 4;
  PARSVARS("1 2 3 4 5 6", d);
  EXPECT_EQ(PARSEDCOUNT, 4);
  PARSVARS("1 2 3 4 5 6", d);
  EXPECT_EQ(PARSEDMAX, 4);
  d.clear();
  PARSVARS("  whole line  ", d);
  EXPECT_EQ(fields(), (V{"whole line"}));
  EXPECT_EQ(PARSED(0), "");
}

TEST_F(HelpersTest, LineinpuLineEnds) {
  std::string long_line(2000, 'x');
  dir.write("a.txt", std::string("ab\r\ncd\nef"));
  dir.write("b.txt", "t\tx\rnext\r\r\n" + long_line + "\r\nz\r");
  ASSERT_TRUE(rt::open_file(1, "a.txt", rt::FileMode::Binary));
  std::string line;
  std::int32_t pos = 0;
  struct Step {
    const char* line;
    int pos;
  } steps[] = {{"ab", 4}, {"cd", 7}, {"ef", 9}, {"", 9}};
  for (const auto& s : steps) {
    LINEINPU(1, line, pos);
    EXPECT_EQ(line, s.line);
    EXPECT_EQ(pos, s.pos);
  }
  ASSERT_TRUE(rt::open_file(2, "b.txt", rt::FileMode::Binary));
  pos = 0;
  std::vector<std::string> got;
  line.clear();
  while (rt::LOF(2) > pos) {
    LINEINPU(2, line, pos);
    got.push_back(line);
  }
  EXPECT_EQ(got, (std::vector<std::string>{"t    x", "next", "", long_line, "z"}));
  // Raw mode: only CR LF ends a line and tabs stay.
  pos = 0;
  line = "\r\n";
  LINEINPU(2, line, pos);
  EXPECT_EQ(line, "t\tx\rnext\r");
}

// The line and the block length left in BLOCKPOS at the edges of a 4096-byte block: a line that
// ends in the first block leaves 512 or its end rounded up to 256, a longer one its end rounded up.
TEST_F(HelpersTest, LineinpuBlockLengths) {
  const std::string x4094(4094, 'x'), x4095(4095, 'x'), x5000(5000, 'x');
  struct Case {
    std::string text;
    std::string line;
    std::int32_t pos, blockpos;
    bool raw = false;  // only CR LF ends the line
  } cases[] = {
      {"ab\r\ncd", "ab", 4, 512},
      {std::string(600, 'y') + "\n", std::string(600, 'y'), 601, 768},
      {x4094 + "\r\nz", x4094, 4096, 4096},
      {x4095 + "\r\nz", x4095, 4097, 4096},
      {x4095 + "\rz", x4095, 4096, 4096},
      {x4095 + "\r", x4095, 4096, 4096},
      {x5000, x5000, 5000, 5120},
      {x5000 + "\n", x5000, 5001, 5120},
      {std::string(512, 'w'), std::string(512, 'w'), 512, 768},
      {std::string(255, 'v') + "\r\nz", std::string(255, 'v'), 257, 512},
      {std::string(255, 'v') + "\rz", std::string(255, 'v'), 256, 512},
      {std::string(767, 'v') + "\r\nz", std::string(767, 'v'), 769, 768},
      {std::string(255, 'r') + "\rx\ty\r\nz", std::string(255, 'r') + "\rx\ty", 261, 512, true},
      {std::string(255, 'r') + "\r\nz", std::string(255, 'r'), 257, 512, true},
      {"a\rb\r", "a\rb\r", 4, 512, true},
  };
  int n = 3;
  for (const auto& c : cases) {
    const std::string name = "c" + std::to_string(n) + ".txt";
    dir.write(name, c.text);
    ASSERT_TRUE(rt::open_file(n, name, rt::FileMode::Binary));
    std::string line = c.raw ? "\r\n" : "";
    std::int32_t pos = 0;
    LINEINPU(n, line, pos);
    EXPECT_EQ(line, c.line) << n;
    EXPECT_EQ(pos, c.pos) << n;
    EXPECT_EQ(BLOCKPOS, c.blockpos) << n;
    rt::close_file(n);
    ++n;
  }
}

TEST_F(HelpersTest, ReplazeAndNofile) {
  std::string t = "axbx";
  REPLAZE(t, "x", "xx");
  EXPECT_EQ(t, "axxbxx");
  REPLAZE(t, "", "y");
  EXPECT_EQ(t, "axxbxx");
  auto& con = platform::console();
  con.locate(3, 5);
  con.print("abc", false);
  NOFILE("PROLIB.DAT");
  EXPECT_EQ(con.row_text(4).substr(0, 28), "File not found : PROLIB.DAT ");
}

// A path on a row shows its end: whole folders give way to "...\" first, the last part only when it
// alone is too long; in a message the longest path gives way first, then the paths show their last
// parts alone when that is enough, else the ends of their last parts; the text is cut last. Where names
// are UTF-8 the room is counted in letters (cells), and no letter is split; elsewhere in bytes.
TEST_F(HelpersTest, PathsShowTheirEnds) {
  // "C:\Prüfung\Bohrkern\Lägerdorf.txt": 33 letters in 35 bytes; "C:\Łódź-Süd.txt": 15 in 19.
  const std::string site = "C:\\Pr\xC3\xBC" "fung\\Bohrkern\\L\xC3\xA4" "gerdorf.txt";
  const std::string town = "C:\\\xC5\x81\xC3\xB3" "d\xC5\xBA-S\xC3\xBC" "d.txt";
  struct End {
    std::string path;
    long room;
    std::string shown;
    bool utf8 = true;
  } ends[] = {
      {"C:\\VLXFILES\\GE2631\\BH3.pdf", 80, "C:\\VLXFILES\\GE2631\\BH3.pdf"},
      {"C:\\a\\bb\\ccc\\name.txt", 16, "...\\ccc\\name.txt"},
      {"C:\\a\\bb\\ccc\\name.txt", 15, "...\\name.txt"},
      {"/home/user/name.txt", 12, ".../name.txt"},
      {"C:\\averyveryverylongname.txt", 10, "...\\me.txt"},
      {"C:\\averyveryverylongname.txt", 2, "...\\t"},
      {site, 33, site},
      {site, 26, "...\\Bohrkern\\L\xC3\xA4" "gerdorf.txt"},
      {site, 25, "...\\L\xC3\xA4" "gerdorf.txt"},
      // Inside the last part: six letters stay, the first of them whole.
      {town, 10, "...\\\xC3\xBC" "d.txt"},
      {"C:\\\xC5\x81\xC3\xB3" "d\xC5\xBA", 2, "...\\\xC5\xBA"},
      // In another locale every byte is a cell.
      {site, 33, "...\\Bohrkern\\L\xC3\xA4" "gerdorf.txt", false},
      {site, 26, "...\\L\xC3\xA4" "gerdorf.txt", false},
  };
  for (const auto& e : ends) {
    platform::set_names_in_utf8(e.utf8);
    EXPECT_EQ(path_end(e.path, e.room), e.shown) << e.path << " " << e.room << " " << e.utf8;
    EXPECT_EQ(path_cut(e.path, e.room), e.shown == e.path ? 0 : e.path.size() - (e.shown.size() - 4)) << e.path;
  }
  platform::set_names_in_utf8(true);

  const std::string first = "C:\\VLXFILES\\GE2631\\BH3.pdf", second = "C:\\VLXFILES\\GE2631\\BH3_2.pdf";
  const std::string twice = "Result " + first + " was written in this run already; this hole goes to " + second;
  const std::string folder = "C:\\Survey data\\2026\\Meadowbank Primary School Extension\\Boreholes\\Second phase";
  struct Fit {
    std::string text;
    std::vector<std::string> paths;
    long width;
    std::string shown;
  } fits[] = {
      {twice, {first, second}, 200, twice},
      {twice, {first, second}, 94,
       "Result ...\\GE2631\\BH3.pdf was written in this run already; this hole goes to ...\\BH3_2.pdf"},
      {twice, {first, second}, 78, "Result BH3.pdf was written in this run already; this hole goes to BH3_2.pdf"},
      {"Output folder (Enter keeps C:\\results\\second_phase_boreholes )", {"C:\\results\\second_phase_boreholes"}, 50,
       "Output folder (Enter keeps ...\\d_phase_boreholes )"},
      {"abc " + second, {second}, 5, "abc ."},
      {"Creating the missing folder " + folder + " (Output path)", {folder}, 78,
       "Creating the missing folder ...\\Boreholes\\Second phase (Output path)"},
      // A path that the text does not hold is passed over.
      {"Folder not found : C:\\x", {"D:\\y"}, 78, "Folder not found : C:\\x"},
      // Letters of names: 52 cells fit 52 columns (in 54 bytes); in 45 the path shows its end. A text
      // cut at the width keeps its letters whole ("Grü" of "Grüße").
      {"Folder not found : " + site, {site}, 52, "Folder not found : " + site},
      {"Folder not found : " + site, {site}, 45, "Folder not found : ...\\Bohrkern\\L\xC3\xA4" "gerdorf.txt"},
      {"Gr\xC3\xBC\xC3\x9F" "e C:\\x", {"C:\\x"}, 3, "Gr\xC3\xBC"},
  };
  for (const auto& f : fits) {
    EXPECT_EQ(fit_paths(f.text, f.paths, f.width), f.shown) << f.width;
    EXPECT_LE(static_cast<long>(platform::text_cells(fit_paths(f.text, f.paths, f.width))), f.width);
  }
}

}  // namespace
