// The hole catalogue (PROCAT) and the run file's hole list (FITFILES).
#include <filesystem>

#include "engine/select/coder_fixture.h"

namespace {

class Catalogue : public CoderFixture {};

std::string entries(const std::vector<std::string>& codes) {
  std::string s;
  for (const auto& c : codes) s += rt::LSET(c, 10);
  return s;
}

TEST_F(Catalogue, ListsSixCharacterCodedFilesSortedInByteOrder) {
  for (const char* name : {"631TP1.TRX", "631BH2.TRX", "ABCDEF.trx", "631BH1.TRX", "000_01.TRX", "AB.TRX", "1234567.TRX",
                           "631BH3.TXT"})
    dir.write(name, "");
  std::filesystem::create_directory(dir.path() / "FOLDER.TRX");
  RUNFLAGS = 0;  // no one-shot run: the catalogue only
  PROCAT();
  EXPECT_EQ(HOLECATALOG, entries({"000_01", "631BH1", "631BH2", "631TP1", "ABCDEF"}));
  EXPECT_EQ(CATALOGMARK, "okOkOK");
  EXPECT_TRUE(sheets.empty());
}

TEST_F(Catalogue, HasNoLimitOnHoles) {
  for (int i = 125; i >= 1; --i) dir.write("A" + rt::RIGHT("0000" + std::to_string(i), 5) + ".TRX", "");
  RUNFLAGS = 0;
  PROCAT();
  ASSERT_EQ(HOLECATALOG.size(), 1250u);
  EXPECT_EQ(HOLECATALOG.substr(0, 10), "A00001    ");
  EXPECT_EQ(HOLECATALOG.substr(1240), "A00125    ");
}

TEST_F(Catalogue, HoleListOfTheRunFile) {
  struct Case {
    const char* list;
    std::vector<std::string> catalogue, chosen;
    const char* says;  // a line the console and ERROR.LOG hold, or ""
  } cases[] = {
      {"ALL", {"ALLBH1", "ALLBH2", "ALLBH3"}, {"ALLBH1", "ALLBH2", "ALLBH3"}, ""},
      {" all ", {"631BH1", "631BH2"}, {"631BH1", "631BH2"}, ""},
      {"BH2", {"ALLBH1", "ALLBH2", "ALLBH3"}, {"ALLBH2"}, ""},
      // A list that names no hole draws none (never every hole in its place).
      {"BH9", {"ALLBH1", "ALLBH2", "ALLBH3"}, {}, "BH9 matches no hole"},
      {"BH9,XY", {"ALLBH1", "ALLBH2"}, {}, "XY matches no hole"},
      {",", {"631BH1", "631BH2"}, {"631BH1", "631BH2"}, ""},  // no name: every hole
      // A hole's full name of four characters or more: its code keeps the last three.
      {"TP02", {"631101", "631P02"}, {"631P02"}, ""},
      {"bh101,TP-02", {"631101", "631P02"}, {"631101", "631P02"}, ""},
      {"BH101,XBH101", {"631101", "631P02"}, {"631101"}, ""},
      {"BH-1,B-2", {"631BH1", "6310B2"}, {"631BH1", "6310B2"}, ""},  // punctuation is no part of a code
      {"TP03", {"631101", "631P02"}, {}, "TP03 matches no hole"},
      {"BH3,BH9,BH1", {"631BH1", "631BH3"}, {"631BH3", "631BH1"}, "BH9 matches no hole"},
      {"BH1,BH1", {"631BH1", "631BH2"}, {"631BH1"}, ""},
      {"A12BH2,BH", {"A12BH1", "A12BH2"}, {"A12BH2"}, ""},  // a name inside a chosen entry adds nothing
      {"1", {"631BH1", "631BH2"}, {"631BH1"}, ""},                // names are parts of codes
      {"BH9", {}, {}, ""},                                        // nothing to draw, nothing more to say
      // Whole codes and ALL together: a hole chosen once, in the order first chosen.
      {"631BH2,ALL,631BH1", {"631BH1", "631BH2", "631BH3"}, {"631BH2", "631BH1", "631BH3"}, ""},
      {"631BH3,631BH3,ALL,ALL", {"631BH1", "631BH3"}, {"631BH3", "631BH1"}, ""},
  };
  for (const auto& k : cases) {
    HOLECATALOG = entries(k.catalogue);
    RUNLINE = k.list;
    clear_log();
    take_printed();
    FITFILES();
    EXPECT_EQ(INFILE, entries(k.chosen)) << k.list;
    const std::string out = take_printed();
    if (*k.says) {
      EXPECT_NE(out.find(k.says), std::string::npos) << k.list << "\n" << out;
      EXPECT_NE(log().find(k.says), std::string::npos) << k.list;
    }
    const bool none_said = out.find("nothing is drawn") != std::string::npos;
    EXPECT_EQ(none_said, k.chosen.empty() && !k.catalogue.empty()) << k.list << "\n" << out;
  }
}

}  // namespace
