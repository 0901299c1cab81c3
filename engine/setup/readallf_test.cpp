// The font library of the SET editor and its font menus: records from PCL font headers and from
// FONTLIB.CUS, the SET's fonts found in it, the menus that narrow the choice, and a font picked into a
// saved SET file that the SET reader then reads.
#include <gtest/gtest.h>

#include <functional>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/frame/pikbar.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/setup/setup_fixture.h"
#include "platform/console_scripted.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using testing_support::data_dir;
using testing_support::read_file;

namespace {

// The font descriptor fields the library reads.
struct Header {
  int format = 0;  // 0 bitmapped
  int orientation = 0;
  int spacing = 1;
  int symbols = 341;
  int pitch = 0, height = 200;
  int style = 0, weight = 0, typeface = 4148;
  std::string name = "HELVETICA";
  int length = 80;      // descriptor bytes announced
  size_t file_size = 0;  // padded to this many bytes (0: none)
};

std::string metric_file(const Header& h) {
  std::string d(static_cast<size_t>(std::max(h.length, 64)), '\0');
  auto put = [&](size_t pos, int v) { d[pos - 1] = static_cast<char>(v & 0xFF); };
  put(3, h.format);
  put(13, h.orientation);
  put(14, h.spacing);
  put(15, h.symbols >> 8), put(16, h.symbols);
  put(17, h.pitch >> 8), put(18, h.pitch);
  put(19, h.height >> 8), put(20, h.height);
  put(24, h.style);
  put(25, h.weight);
  put(26, h.typeface), put(27, h.typeface >> 8);
  for (size_t i = 0; i < 16; ++i) d[48 + i] = i < h.name.size() ? h.name[i] : ' ';
  std::string f = "\x1b)s" + std::to_string(h.length) + "W" + d.substr(0, static_cast<size_t>(h.length));
  if (h.file_size > f.size()) f.resize(h.file_size, '\0');
  return f;
}


constexpr size_t kBegin1 = 7;  // index of the first "BEGIN" line of the standard file
const std::string kFontlibLine =
    "COURIER  Med   Norm   12  pt  10          R   /027(10U/027(s0p10h12v0s0b4099T";

class FontLibraryTest : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    auto c = std::make_unique<platform::ScriptedConsole>(25);
    sc = c.get();
    platform::set_console(std::move(c));
    copy_data({"STANDARD.SET", "prompts.eng", "LJ4", "FONTLIB.CUS", "pdffonts.dat"});
    OUTDEV = 1;
    COLOURCOUNT = 5;
    PROMPTNAME = "prompts.eng";
    FETCHPRO(PROMPTNAME);
    FETCHMENUS();
    SETUPNAME = "STANDARD.SET";
    standard = split_lines(read_file(data_dir() / "STANDARD.SET"));
  }
  void TearDown() override {
    pickbar_hand_over() = PickBarHandOver{};
    SetupFixture::TearDown();
  }
  // STANDARD.SET with the font folder and the font lines given, read into the editor's table.
  void set_file(const std::string& folder, const std::string& code1 = "/027(10U/027(s1p10v0s0b4148T") {
    auto lines = standard;
    lines[kBegin1 + 24] = folder + std::string(folder.size() < 40 ? 40 - folder.size() : 1, ' ') + "= Path to Font files";
    lines[kBegin1 + 26] = code1 + std::string(40 - code1.size(), ' ') + "=    codes to set font-1 as primary";
    dir.write("STANDARD.SET", joined_lines(lines));
    SETUPNAME = "STANDARD.SET";
    dim_editor_tables();
    pickbar_hand_over() = PickBarHandOver{WRITEMEN, PROGRAMC};
    ASSERT_TRUE(READSETU());
  }
  // The library records after the slots.
  std::vector<std::string> library() const {
    std::vector<std::string> v;
    for (std::int32_t i = 4; i <= FONTRECCOUNT; ++i) v.push_back(FONTREC(i));
    return v;
  }
  platform::ScriptedConsole* sc = nullptr;
  std::vector<std::string> standard;
};

TEST_F(FontLibraryTest, RecordsFromFontHeaders) {
  struct Case {
    const char* what;
    Header h;
    std::string record;  // empty: not listed
  } cases[] = {
      {"bitmapped proportional 12 pt", {},
       "HELVETICA      Med   Norm12  pt  F.MET       B/027(10U/027(s1p12v0s0b4148T"},
      {"bitmapped fixed 10 cpi", {.spacing = 0, .pitch = 120},
       "HELVETICA      Med   Norm12  pt  F.MET       B/027(10U/027(s0p10h12v0s0b4148T"},
      {"scalable proportional", {.format = 10, .height = 0},
       "HELVETICA      Med   Norm#   pt  F.MET       S/027(10U/027(s1p#v0s0b4148T"},
      {"scalable fixed", {.format = 10, .spacing = 0, .height = 0, .typeface = 4099, .name = "COURIER"},
       "COURIER        Med   Norm#   pt  F.MET       S/027(10U/027(s0p#h#v0s0b4099T"},
      {"weight byte 253, italic", {.style = 1, .weight = 253, .name = "times  new roman"},
       "TIMES NEW ROMANLight Ital12  pt  F.MET       B/027(10U/027(s1p12v1s-3b4148T"},
      {"landscape", {.orientation = 1}, ""},
      {"a header of 63 bytes", {.length = 63}, ""},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir.path() / "F");
    fs::create_directory(dir.path() / "F");
    dir.write("F/F.MET", metric_file(c.h));
    dir.write("FONTLIB.CUS", "");
    set_file("F");
    FONTRECCOUNT = 0;
    READALLF();
    const std::vector<std::string> want =
        c.record.empty() ? std::vector<std::string>{} : std::vector<std::string>{rt::LSET(c.record, 85)};
    EXPECT_EQ(library(), want) << c.what;
    EXPECT_EQ(FONTDIR, "F\\") << c.what;
  }
}

TEST_F(FontLibraryTest, Equivalence) {
  struct Case {
    std::string pattern, spec;
    std::int32_t fits;
  } cases[] = {
      {"/027(10U/027(s1p#v0s0b4148T", "/027(10U/027(s1p10v0s0b4148T", -1},
      {"/027(10U/027(s1p#v0s0b4148T", "/027(10U/027(s1p10v1s1b4148T", 0},
      {"/027(10U/027(s1p#v1s0b4148T", "/027)10U/027)s1p8v1s0b4148T", -1},
      {"/027(10U/027(s0p#h#v0s0b4099T", "/027(10U/027(s0p16.67h8.5v0s0b4099T", -1},
      {"/027(10U/027(s1p#v0s0b4148T", "/027(10U/027(s1p", -1},  // a spec that stops early
      {"/027)10U", "/027(10U", 0},                               // ")" does not stand for "("
      {"/027(10U/027(s1p12v0s0b4148T", "/027(10U/027(s1p10v0s0b4148T", 0},
      {"/027(10U/027(s1p#v0s0b4148T" + std::string(12, ' '), "/027(10U/027(s1p10v0s0b4148T", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(FNEQUIVA(c.pattern, c.spec), c.fits) << c.pattern << " " << c.spec;
}

TEST_F(FontLibraryTest, SlotsAndNamesOfTheSetFonts) {
  set_file("LJ4");
  READALLF();
  EXPECT_EQ(FONTRECCOUNT, 15);  // 3 slots, 12 metric files; FONTLIB.CUS is not read
  EXPECT_EQ(SETFONT1, 1);
  EXPECT_EQ(SETFONT2, 2);
  EXPECT_EQ(SETFONT3, 3);
  EXPECT_EQ(SETFONTNAME1, "HELVETICA 10U Med Norm 10 pt");
  EXPECT_EQ(SETFONTNAME2, "HELVETICA 10U Bold Norm 10 pt");
  EXPECT_EQ(SETFONTNAME3, "HELVETICA 10U Med Ital 8 pt");
  EXPECT_EQ(FONTREC(1), rt::LSET("HELVETICA      Med   Norm10  pt  HELVMU.MET  S/027(10U/027(s1p10v0s0b4148T", 85));
  EXPECT_EQ(FONTPICKCOUNT, 15);
  // A short SET code fits the library's longer one; the slot holds exactly the SET's code.
  set_file("LJ4", "/027(10U/027(s1p10v");
  READALLF();
  EXPECT_EQ(SETFONT1, 1);
  EXPECT_EQ(rt::MID(FONTREC(1), 47), rt::LSET("/027(10U/027(s1p10v", 39));
  // A second build with the same folder keeps the records and renews only the slots.
  FONTREC(4) = rt::LSET("KEPT", 85);
  set_file("LJ4", "/027(10U/027(s1p9v0s0b4148T");
  READALLF();
  EXPECT_EQ(FONTREC(4), rt::LSET("KEPT", 85));
  EXPECT_EQ(SETFONTNAME1, "HELVETICA 10U Med Norm 9 pt");
  // A SET font that no record fits has no slot and no name.
  set_file("LJ4", "/027(10U/027(s1p9v0s0b9999T");
  READALLF();
  EXPECT_EQ(SETFONT1, 0);
  EXPECT_EQ(SETFONTNAME1, "");
}

TEST_F(FontLibraryTest, FontlibWhenNoCompleteMetricFile) {
  struct Case {
    const char* what;
    size_t size;           // of the one metric file
    bool fontlib;          // FONTLIB.CUS there
    size_t records;        // after the slots
    int beeps;
  } cases[] = {
      {"534 bytes: complete, FONTLIB.CUS not read", 534, true, 1, 0},
      {"535 bytes: FONTLIB.CUS read as well", 535, true, 2, 0},
      {"FONTLIB.CUS missing: said once, the records kept", 535, false, 1, 1},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir.path() / "F");
    fs::create_directory(dir.path() / "F");
    dir.write("F/HELV.MET", metric_file({.file_size = c.size}));
    fs::remove(dir.path() / "FONTLIB.CUS");
    if (c.fontlib)
      dir.write("FONTLIB.CUS", "comment\r\n" + kFontlibLine + "\r\n" + kFontlibLine.substr(1) + "\r\n" +
                                   "COURIER  Med   Norm   12  pt  0           R   /027(10U/027(s0p10h12v0s0b4099T\r\n");
    set_file("F");
    FONTRECCOUNT = 0;
    const int beeps = sc->beeps();
    READALLF();
    EXPECT_EQ(library().size(), c.records) << c.what;
    EXPECT_EQ(sc->beeps() - beeps, c.beeps) << c.what;
    if (c.records == 2) {
      EXPECT_EQ(library()[1], rt::LSET("COURIER        Med   Norm12  pt  10          R/027(10U/027(s0p10h12v0s0b4099T", 85));
    }
  }
  // A FONTLIB.CUS font in a slot takes its size and pitch from the SET's code.
  set_file("F", "/027(10U/027(s0p12h10v0s0b4099T");
  dir.write("FONTLIB.CUS", "COURIER  Med   Norm   #   pt  10          R   /027(10U/027(s0p#h#v0s0b4099T\r\n");
  FONTRECCOUNT = 0;
  READALLF();
  EXPECT_EQ(SETFONT1, 1);
  EXPECT_EQ(rt::MID(FONTREC(1), 26, 20), "10  pt  12          ");
}

TEST_F(FontLibraryTest, MenusNarrowAndComeBack) {
  set_file("LJ4");
  READALLF();
  FONTCUR = SETFONT2;
  seteditor::CURFONT = 27;
  BARLEVEL = 3;
  BARMENU = PROMPT(117);
  WRITEMEN();
  std::vector<std::string> typefaces;
  for (int i = 1; i <= BARCOUNT; ++i) typefaces.push_back(BARTEXT(i));
  EXPECT_EQ(typefaces, (std::vector<std::string>{"HELVETIC", "COURIER ", "TIMES   "}));
  EXPECT_EQ(BARITEM, 1);  // the font of the slot
  auto pick = [&](const std::string& item, int next_prompt) {
    for (int i = 1; i <= BARCOUNT; ++i)
      if (rt::TRIM(BARTEXT(i)) == item) BARITEM = i;
    BARMENU = PROMPT(next_prompt);
    WRITEMEN();
  };
  pick("TIMES", 118);
  pick("10U", 119);
  std::vector<std::string> weights;
  for (int i = 1; i <= BARCOUNT; ++i) weights.push_back(BARTEXT(i));
  const std::vector<std::string> times_weights = {"Bold  Ital", "Bold  Norm", "Med   Ital", "Med   Norm"};
  EXPECT_EQ(weights, times_weights);
  EXPECT_EQ(FONTPICKCOUNT, 4);
  // Esc in the size menu: the weight menu gets its own fonts and items back.
  BARLEVEL = 6;
  BARITEM = 4;
  sc->type("\x1b");
  PROGRAMC();
  EXPECT_EQ(sc->queued(), 0u);
  EXPECT_EQ(BARACTION, 3);
  EXPECT_EQ(BARLEVEL, 6);
  EXPECT_EQ(BARMENU, PROMPT(119));
  weights.clear();
  for (int i = 1; i <= BARCOUNT; ++i) weights.push_back(BARTEXT(i));
  EXPECT_EQ(weights, times_weights);
  EXPECT_EQ(FONTPICKCOUNT, 4);
  // A size out of range stores nothing and keeps the size menu open.
  const std::string code2 = SETUPLINE[SETBEGIN1 + 28];
  const int beeps = sc->beeps();
  BARITEM = 4;
  sc->type("\r20\r\x1b");
  PROGRAMC();
  EXPECT_EQ(sc->queued(), 0u);
  EXPECT_EQ(sc->beeps(), beeps + 1);
  EXPECT_EQ(SETUPLINE[SETBEGIN1 + 28], code2);
  EXPECT_EQ(SETCHANGED, 0);
}

TEST_F(FontLibraryTest, FontPickedIntoTheSavedFile) {
  fs::create_directory(dir.path() / "MY FONTS");
  for (const auto& e : fs::directory_iterator(dir.path() / "LJ4")) fs::copy(e.path(), dir.path() / "MY FONTS" / e.path().filename());
  for (const std::string folder : {"LJ4", "MY FONTS"}) {
    set_file(folder);
    FONTRECCOUNT = 0;
    constexpr int kDown = 80;
    sc->type("\r");                        // FONTS
    sc->push_scan(kDown);
    sc->type("\r");                        // font 2
    sc->push_scan(kDown), sc->push_scan(kDown);
    sc->type("\r\r");                      // TIMES, 10U
    sc->push_scan(kDown), sc->push_scan(kDown), sc->push_scan(kDown);
    sc->type("\r\r");                      // medium upright, size "#"
    sc->type("10\r");                      // the size
    for (int i = 0; i < 7; ++i) sc->push_scan(kDown);
    sc->type("\rFONTT\r");                 // SAVE as FONTT
    if (folder != "LJ4") sc->type("y");   // it exists from the first round
    sc->type("\x1b");
    PROSETUP();
    EXPECT_EQ(sc->queued(), 0u) << folder;
    const auto saved = split_lines(dir.read("FONTT.SET"));
    EXPECT_EQ(rt::TRIM(rt::LEFT(saved[kBegin1 + 27], 39)), "TIMSMU.MET") << folder;
    EXPECT_EQ(FNSTRIP(saved[kBegin1 + 28]), "/027(10U/027(s1p10v0s0b4101T") << folder;
    EXPECT_EQ(FNSTRIP(saved[kBegin1 + 30]), "/027)10U/027)s1p8v1s0b4148T") << folder;
    EXPECT_EQ(saved[kBegin1 + 28].find('='), 40u) << folder;
  }
  // The SET reader gives font 2 the PDF font Times-Roman.
  platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
  copy_data({"PROVOCAB.ENG", "PROLIB.DAT"});
  SETUPNAME = "FONTT.SET";
  GETSETUP();
  std::string size, name;
  PDFEQUIV(FONTSPEC(2), size, name);
  EXPECT_EQ(name, "Times-Roman");
  EXPECT_EQ(FONTSPEC(3).substr(0, 2), "\x1b)");
}

}  // namespace
