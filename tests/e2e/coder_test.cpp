// A one-shot run goes on from the coded hole files to the hole coder: the catalogue, the run file's hole
// list, and each chosen hole read into the sheet data (shown by the test program codedump).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "testsupport.h"

using namespace testing_support;

namespace {

std::string run_file(const std::string& input, const std::string& holes = "ALL") {
  return "0/   setupfile = STANDARD.SET\r\n1/   inputfile = " + input + "\r\n2/      output = PDF\r\n3/    holelist = " +
         holes + "\r\n4/    activity = 0\r\n";
}

// The lines of a text that contain a word (begin with it, when start is set).
std::vector<std::string> lines_with(const std::string& text, const std::string& word, bool start = false) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    const size_t at = line.find(word);
    if (at != std::string::npos && (!start || at == 0)) out.push_back(line);
  }
  return out;
}

// The holes drawn by a run, in the order the coder handed them to the sheet: the pages of the run's
// joined PDF in the job folder, each headed "Hole" and the hole's name.
std::vector<std::string> drawn_holes(const EngineFolder& ef, const std::string& job) {
  const auto combined = ef.file("drive_c/VLXFILES/" + job + "/combined.pdf");
  if (!std::filesystem::exists(combined)) return {};
  const RunResult t = run_program({"/usr/bin/pdftotext", "-layout", combined.string(), "-"}, ef.path(), 60);
  std::vector<std::string> names;
  for (const auto& m : find_all_regex(t.out, R"(Hole +(\S+))")) names.push_back(m[1]);
  return names;
}

// The holes' result PDFs of the example's job folder.
int sheets_of(const EngineFolder& ef) {
  int n = 0;
  const auto job = ef.file("drive_c/VLXFILES/GE2631");
  if (!std::filesystem::exists(job)) return 0;
  for (const auto& e : std::filesystem::directory_iterator(job)) n += e.path().filename() != "combined.pdf";
  return n;
}

RunResult codedump(const EngineFolder& ef, const std::vector<std::string>& args = {}) {
  std::vector<std::string> argv{VLX_CODEDUMP_PROGRAM};
  argv.insert(argv.end(), args.begin(), args.end());
  return run_program(argv, ef.path(), 60);
}

// Converts and codes an input in a fresh engine folder.
RunResult run_input(const EngineFolder& ef, const std::string& input, const std::string& holes = "ALL") {
  ef.write("holes.txt", input);
  ef.write("@runfile.dat", run_file("holes.txt", holes));
  return ef.run({"@runfile.dat"}, 30);
}

TEST(Coder, ExampleRunCodesEveryHole) {
  EngineFolder ef;
  ef.write("@runfile.dat", run_file(ef.file("Examples/Examples.TXT").string()));
  const RunResult r = ef.run({"@runfile.dat"}, 20);
  EXPECT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
  EXPECT_EQ(sheets_of(ef), 6) << r.out;

  const RunResult d = codedump(ef);
  ASSERT_EQ(d.exit_code, 0) << d.err;
  EXPECT_EQ(lines_with(d.out, "hole ", true),
            (std::vector<std::string>{"hole 631BH1 BH1", "hole 631BH2 BH2", "hole 631BH3 BH3", "hole 631TP1 TP1",
                                      "hole 631TP2 TP2", "hole 631TP3 TP3"}));
  const std::string bh1 = d.out.substr(0, d.out.find("hole 631BH2"));
  EXPECT_NE(bh1.find("\nlayers 6\n"), std::string::npos) << bh1;
  EXPECT_NE(bh1.find("\nattributes 2 records 7\n"), std::string::npos) << bh1;  // SPT N and the moisture file
}

// Damaged scales files: each said on the console and in ERROR.LOG, the holes that can be laid out are,
// and the run ends with exit code 1: a record skipped, or a hole that got no sheet.
TEST(Coder, DamagedScalesFiles) {
  struct Case {
    const char* what;
    std::string scales;
    int laid_out;
    int exit_code;
    std::string said;
  } cases[] = {
      {"a record of zeros before the good ones", "BEGIN\r\n0,metres,0,0\r\n10,metres,1,0.05\r\n20,metres,1,0.1\r\n"
       "50,metres,1,0.1\r\n100,metres,1,0.1\r\n", 6, 1, "skipped"},
      {"no scale fits the deep holes", "BEGIN\r\n10,metres,1,0.05\r\n", 1, 1, "No scale in the scales file fits"},
      {"no BEGIN line", "10,metres,1,0.05\r\n", 0, 1, "no BEGIN line"},
  };
  for (const auto& c : cases) {
    EngineFolder ef;
    ef.write("scales.MET", c.scales);
    ef.write("@runfile.dat", run_file(ef.file("Examples/Examples.TXT").string()));
    const RunResult r = ef.run({"@runfile.dat"}, 30);
    EXPECT_FALSE(r.timed_out) << c.what;
    EXPECT_EQ(r.exit_code, c.exit_code) << c.what << r.out << r.err;
    EXPECT_EQ(sheets_of(ef), c.laid_out) << c.what << r.out;
    EXPECT_NE(r.out.find(c.said), std::string::npos) << c.what << r.out;
    ASSERT_TRUE(ef.exists("ERROR.LOG")) << c.what;
    EXPECT_NE(ef.read("ERROR.LOG").find(c.said), std::string::npos) << c.what;
  }
}

// The sheet data of inputs, as codedump shows them. After a deliberate change of the coder, run the
// test with VLX_UPDATE_GOLDEN=1 to write the golden files anew, and read the difference before
// committing it.
TEST(Coder, SheetDataMatchesGoldenFiles) {
  struct Case {
    std::string input;
    const char* golden;
  } cases[] = {
      {(data_dir() / "Examples" / "Examples.TXT").string(), "Examples.dump"},
      {(source_dir() / "tests" / "convert" / "example.txt").string(), "example.dump"},
  };
  for (const auto& k : cases) {
    EngineFolder ef;
    const RunResult r = run_input(ef, read_file(k.input));
    ASSERT_EQ(r.exit_code, 0) << k.input << "\n" << r.out << r.err;
    const RunResult d = codedump(ef, {"--summary"});
    ASSERT_EQ(d.exit_code, 0) << d.err;
    const auto golden = source_dir() / "tests" / "select" / k.golden;
    if (const char* update = std::getenv("VLX_UPDATE_GOLDEN"); update && *update == '1') write_file(golden, d.out);
    EXPECT_EQ(d.out, read_file(golden)) << k.golden;
  }
}

std::string hall_input() {
  std::string s = "Job Title : Town Hall\r\nJob Number : HALL\r\n";
  for (const char* hole : {"BH1", "BH2", "BH3"})
    s += std::string("Hole Number : ") + hole + "\r\n/\r\n1.00 Firm CLAY\r\n/\r\n//\r\n";
  return s + "///\r\n";
}

TEST(Coder, HoleListOfTheRunFile) {
  struct Case {
    const char* list;
    std::vector<std::string> coded;
    const char* says;
  } cases[] = {
      {"ALL", {"BH1", "BH2", "BH3"}, nullptr},
      {"BH2", {"BH2"}, nullptr},
      {"BH9", {}, "BH9 matches no hole of the input file."},
  };
  for (const auto& k : cases) {
    EngineFolder ef;
    const RunResult r = run_input(ef, hall_input(), k.list);
    // A hole asked for that is not there is no run as asked: nothing is drawn in its place.
    EXPECT_EQ(r.exit_code, k.says ? 1 : 0) << k.list << "\n" << r.out << r.err;
    EXPECT_EQ(drawn_holes(ef, "HALL"), k.coded) << k.list << "\n" << r.out;
    if (k.says) {
      EXPECT_NE(r.out.find(k.says), std::string::npos) << r.out;
      EXPECT_NE(r.out.find("No name of the hole list matches a hole: nothing is drawn."), std::string::npos) << r.out;
      EXPECT_NE(ef.read("ERROR.LOG").find(k.says), std::string::npos);
      // Nothing means nothing: with a legend asked for, no legend of no symbols is drawn, and the
      // target keeps the result of the earlier run.
      ef.write("holes.PDF", "the earlier result");
      ef.write("@runfile.dat", run_file("holes.txt", k.list) + "7/     summary = YES\r\n8/  targetcopy = " +
                                   ef.file("holes.PDF").string() + "\r\n");
      const RunResult again = ef.run({"@runfile.dat"}, 30);
      EXPECT_EQ(again.exit_code, 1) << again.out;
      EXPECT_EQ(ef.read("holes.PDF"), "the earlier result") << again.out;
      EXPECT_FALSE(ef.exists("drive_c/VLXFILES/HALL/LEGEND.pdf"));
      EXPECT_FALSE(ef.exists("drive_c/VLXFILES/HALL/combined.pdf"));
    } else {
      EXPECT_FALSE(ef.exists("ERROR.LOG")) << k.list;
    }
  }
}

// Two holes whose names end alike share a code, and the second gets one of its own (631_01), which no
// part of its name finds: each is chosen by its name all the same, and each is printed with the text it
// binds, right after its sheet. The sheet works the code out again from the header (631101 for both), so
// the text is looked up by the code of the hole's coded file: TP101 was printed with BH101's text.
TEST(Coder, HoleListNamesHolesWhoseNamesEndAlike) {
  const std::string input = "Job Number : GE-2631\r\nHole Number : BH101\r\n/\r\n1.00+ CLAY\r\n/\r\n"
                            "SAMPLES: BIND FILE: bh.txt\r\n//\r\n"
                            "Hole Number : TP101\r\n/\r\n2.00+ SAND\r\n/\r\nSAMPLES: BIND FILE: tp.txt\r\n//\r\n///\r\n";
  // The text each hole binds, and the name of its PDF in the job folder.
  const std::map<std::string, std::pair<std::string, std::string>> texts = {{"BH101", {"bh.txt", "bh.PDF"}},
                                                                            {"TP101", {"tp.txt", "tp.PDF"}}};
  struct Case {
    const char* list;
    std::vector<std::string> pages;  // of combined.pdf: a hole's sheet by its name, a text's page by its words
  } cases[] = {
      {"ALL", {"BH101", "log of BH101", "TP101", "log of TP101"}},
      {"TP101", {"TP101", "log of TP101"}},
      {"BH101", {"BH101", "log of BH101"}},
      {"tp-101,BH101", {"TP101", "log of TP101", "BH101", "log of BH101"}},
      {"631101", {"BH101", "log of BH101"}},  // a whole code is that hole
      {"631_01", {"TP101", "log of TP101"}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.list);
    EngineFolder ef;
    for (const auto& [hole, text] : texts) ef.write(text.first, "The log of " + hole + "\r\n");
    const RunResult r = run_input(ef, input, k.list);
    EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    const auto job = ef.file("drive_c/VLXFILES/GE2631");
    const RunResult joined = run_program({"/usr/bin/pdftotext", (job / "combined.pdf").string(), "-"}, ef.path(), 60);
    std::vector<std::string> pages;
    for (const auto& m : find_all_regex(joined.out, R"(Hole +(\S+)|The (log of \S+))")) pages.push_back(m[1] + m[2]);
    EXPECT_EQ(pages, k.pages) << joined.out;
    // Each text has a PDF of its own that holds it, made only with its hole; no text is made twice.
    std::set<std::string> files{"combined.pdf"};
    for (const auto& page : k.pages) {
      if (page.rfind("log of ", 0) != 0) {
        files.insert(page + ".pdf");
        continue;
      }
      const std::string hole = page.substr(7), pdf = texts.at(hole).second;
      files.insert(pdf);
      const RunResult t = run_program({"/usr/bin/pdftotext", (job / pdf).string(), "-"}, ef.path(), 60);
      EXPECT_NE(t.out.find("The log of " + hole), std::string::npos) << pdf << "\n" << t.out;
      EXPECT_NE(t.out.find(texts.at(hole).first), std::string::npos) << pdf << "\n" << t.out;  // its page head
      EXPECT_EQ(count_of(t.out, "The log of"), 1u) << pdf << "\n" << t.out;
    }
    std::set<std::string> made;
    if (std::filesystem::is_directory(job))
      for (const auto& e : std::filesystem::directory_iterator(job)) made.insert(e.path().filename().string());
    EXPECT_EQ(made, files) << r.out;
  }
}

TEST(Coder, ManyHolesAreCodedInByteOrder) {
  std::string input = "Job Number : J1\r\n";
  for (int i = 125; i >= 1; --i) {
    // Names that give codes of letters and of digits: A1..A63, then 1..62 as the last three.
    const std::string name = i <= 63 ? "A" + std::to_string(i) : std::to_string(i - 63);
    input += "Hole Number : " + name + "\r\n/\r\n1.00 CLAY\r\n/\r\n//\r\n";
  }
  input += "///\r\n";
  EngineFolder ef;
  const RunResult r = run_input(ef, input);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  // The coded files sort by their codes ("0J1" + the last three of the name, padded with "0"):
  // digits before letters.
  const std::vector<std::string> drawn = drawn_holes(ef, "J1");
  ASSERT_EQ(drawn.size(), 125u);
  EXPECT_EQ(drawn.front(), "1");
  EXPECT_EQ(drawn[61], "62");
  EXPECT_EQ(drawn[62], "A1");
  std::vector<std::string> codes;
  for (const auto& name : drawn) codes.push_back(std::string(3 - std::min<size_t>(3, name.size()), '0') + name);
  EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
}

TEST(Coder, ScaleAsWritten) {
  EngineFolder ef;
  const RunResult r = run_input(ef, "Hole Number : BH1\r\nScale : 1:50\r\n/\r\n1.00 CLAY\r\n/\r\n//\r\n///\r\n");
  ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
  const RunResult d = codedump(ef);
  EXPECT_NE(d.out.find("\nheader 3: 1:50\n"), std::string::npos) << d.out;
  EXPECT_NE(d.out.find("\nscale 50\n"), std::string::npos) << d.out;
}


// The symbol words of a small input, as the coder leaves them in the layer records, the summary key
// and the run's symbol list.
TEST(Coder, SymbolWordsOfTheDescriptions) {
  EngineFolder ef;
  const RunResult r = run_input(ef,
                                "Hole Number : BH1\r\n/\r\n"
                                "1.00 Dense SANDS and GRAVELS\r\n"
                                "2.00 As above\r\n"
                                "3.00 Firm ~CLAY with sand\r\n"
                                "4.00 Made ground [*] of brick and CLAY\r\n"
                                "5.00 Soft PEAT [rgb 255 0 0]\r\n"
                                "6.00 Firm PEAT [rgb 0 0 255]\r\n"
                                "7.00 Stiff SILT [rgb 0 255 0]\r\n"
                                "/\r\n//\r\n///\r\n");
  ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
  const RunResult d = codedump(ef, {"--summary"});
  ASSERT_EQ(d.exit_code, 0) << d.err;
  const auto layers = lines_with(d.out, "layer ", true);
  ASSERT_EQ(layers.size(), 7u) << d.out;
  auto pairs = [](const std::string& layer) { return layer.substr(layer.find(": [") + 2); };
  EXPECT_EQ(pairs(layers[0]), "[1.00] Dense SANDS and GRAVELS[SANDS][SAND][GRAVELS][GRAVEL]");
  EXPECT_NE(pairs(layers[1]).find("[SANDS][SAND]"), std::string::npos) << layers[1];
  EXPECT_NE(pairs(layers[1]).find("[GRAVELS][GRAVEL]"), std::string::npos) << layers[1];
  EXPECT_EQ(pairs(layers[2]), "[3.00] Firm<3>CLAY with sand[CLAY/CLAYS][CLAY]");  // only the marked word
  EXPECT_EQ(pairs(layers[3]), "[4.00] Made ground [*] of brick and CLAY");
  EXPECT_NE(layers[4].find("[PEAT/PEATS][PEAT]"), std::string::npos) << layers[4];
  EXPECT_NE(layers[5].find("[PEAT/PEATS][PEAT]"), std::string::npos) << layers[5];
  EXPECT_NE(d.out.find("\nsummary |SUMMARY|SANDS [SAND]|GRAVELS [GRAVEL]|CLAY/CLAYS [CLAY]|PEAT/PEATS [PEAT]|SILT/SILTS [SILT]|\n"),
            std::string::npos)
      << d.out;
  // PEAT met in red and in blue: one entry in the run's list, no single colour kind; SILT keeps the
  // kind of its one marker ("[rgb": 3).
  const auto rgblist = lines_with(d.out, "rgblist ", true);
  ASSERT_EQ(rgblist.size(), 1u);
  EXPECT_EQ(rgblist[0].find("[PEAT]"), rgblist[0].rfind("[PEAT]"));
  EXPECT_EQ(lines_with(d.out, "symbolused ", true), (std::vector<std::string>{"symbolused 0 0 0 0 3"}));
}

}  // namespace
