// The run's target and the job folder, met by real runs in temporary engine folders: a target that would
// replace a file the run reads or the engine keeps is refused before anything is drawn; the target is a
// file of its own; an earlier target is replaced only by a whole joined PDF; a result never takes the
// name of the joined PDF or the legend; two runs never write into one job folder at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// One-layer holes of job J-1 (job folder J1), one for each name.
std::string holes(const std::vector<std::string>& names) {
  std::string s = "Job Number : J-1\r\n";
  for (const auto& n : names) s += "Hole Number : " + n + "\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n";
  return s + "///\r\n";
}

std::string run_file(const std::string& target, const std::string& input = "holes.txt", bool summary = false,
                     const std::string& device = "PDF") {
  return "0/   setupfile = STANDARD.SET\r\n1/   inputfile = " + input + "\r\n2/      output = " + device +
         "\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n" +
         (summary ? "7/     summary = YES\r\n" : "") + "8/      result = " + target + "\r\n";
}

std::string tool(const std::string& name, const std::vector<std::string>& args, const fs::path& cwd, int* code = nullptr) {
  std::vector<std::string> argv{"/usr/bin/" + name};
  argv.insert(argv.end(), args.begin(), args.end());
  const RunResult r = run_program(argv, cwd, 60);
  if (code) *code = r.exit_code;
  return r.out + r.err;
}

int pages(const fs::path& pdf) {
  const auto m = find_regex(tool("pdfinfo", {pdf.string()}, pdf.parent_path()), "Pages: +([0-9]+)");
  return m.empty() ? -1 : std::stoi(m[1]);
}

bool whole_pdf(const fs::path& pdf) {
  int q = -1;
  tool("qpdf", {"--check", pdf.string()}, pdf.parent_path(), &q);
  return q == 0;
}

// Every file under folder with its bytes (links as the text of the link).
std::map<std::string, std::string> tree_of(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    const std::string name = fs::relative(e.path(), folder).string();
    if (e.is_symlink()) files[name] = "-> " + fs::read_symlink(e.path()).string();
    else if (e.is_regular_file()) files[name] = read_file(e.path());
    else files[name + "/"] = std::string();
  }
  return files;
}

std::set<std::string> files_in(const fs::path& folder) {
  std::set<std::string> names;
  if (fs::is_directory(folder))
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

// A target that names a file the run reads or the engine keeps: the run is refused before anything is
// converted or drawn (no coded hole file, no job folder), ends with 1 and says why in one line, on the
// console and in ERROR.LOG; the file is as it was. So is one that names a result of the run itself (a
// hole's file, on any device, or the PDF of a text a hole is printed with), found once the input is
// converted: by its name in any letter case, through a link, or as the same file under another name;
// nothing of the output folder changes.
TEST(Target, RefusedWhereItWouldReplaceAFileOfTheRun) {
  // BH1.pdf and BH2.pdf of an earlier run in the job folder J1.
  const auto earlier_results = [](const EngineFolder& ef) {
    fs::create_directories(ef.file("drive_c/VLXFILES/J1"));
    ef.write("drive_c/VLXFILES/J1/BH1.pdf", "an earlier run's BH1");
    ef.write("drive_c/VLXFILES/J1/BH2.pdf", "an earlier run's BH2");
  };
  struct Case {
    const char* what;
    std::string target;  // as the run file names it
    const char* file;    // the file that must stay, in the engine folder
    const char* why;
    std::function<void(const EngineFolder&)> set_up;
    bool converted = false;  // refused once the input is converted (the coded hole files are made)
    std::vector<std::string> holes = {"BH1", "BH2"};
    const char* device = "PDF";
    std::string input = std::string();  // the input file when not the holes above
  } cases[] = {
      {"the input file", "holes.txt", "holes.txt", "is the input file", nullptr},
      {"the input file in another letter case", "HOLES.TXT", "holes.txt", "is the input file", nullptr},
      {"the input file through a symbolic link", "link.pdf", "holes.txt", "is the input file",
       [](const EngineFolder& ef) { fs::create_symlink("holes.txt", ef.file("link.pdf")); }},
      {"the SET file", "STANDARD.SET", "STANDARD.SET", "is the SET file", nullptr},
      {"the run file", "@runfile.dat", "@runfile.dat", "is the run file", nullptr},
      {"ERROR.LOG", "error.log", "ERROR.LOG", "is the engine's ERROR.LOG",
       [](const EngineFolder& ef) { ef.write("ERROR.LOG", "an earlier line\r\n"); }},
      {"a file of the engine folder", "PROLIB.DAT", "PROLIB.DAT", "is a file of the engine folder", nullptr},
      {"a work file of the engine not made yet", "lastrun", nullptr, "is a file of the engine folder", nullptr},
      {"an example of the engine folder", "Examples/Examples.TXT", "Examples/Examples.TXT",
       "is a file of the engine folder", nullptr},
      {"the joined PDF of the job folder", "C:\\VLXFILES\\J1\\Combined.PDF", "drive_c/VLXFILES/J1/combined.pdf",
       "is the joined PDF of a job folder",
       [](const EngineFolder& ef) {
         fs::create_directories(ef.file("drive_c/VLXFILES/J1"));
         ef.write("drive_c/VLXFILES/J1/combined.pdf", "an earlier run's joined PDF");
       }},
      {"the legend of a job folder not made yet", "C:\\VLXFILES\\J1\\legend.pdf", nullptr,
       "is the legend of a job folder", [](const EngineFolder& ef) { fs::create_directories(ef.file("drive_c/VLXFILES")); }},
      {"a hole's result", "C:\\VLXFILES\\J1\\BH2.pdf", "drive_c/VLXFILES/J1/BH2.pdf", "is the result of hole BH2",
       earlier_results, true},
      {"a hole's result in another letter case, its job folder not made yet", "c:\\vlxfiles\\j1\\bh1.PDF", nullptr,
       "is the result of hole BH1", [](const EngineFolder& ef) { fs::create_directories(ef.file("drive_c/VLXFILES")); },
       true},
      {"a hole's result through a symbolic link", "link.pdf", "drive_c/VLXFILES/J1/BH1.pdf",
       "is the result of hole BH1",
       [&](const EngineFolder& ef) {
         earlier_results(ef);
         fs::create_symlink(ef.file("drive_c/VLXFILES/J1/BH1.pdf"), ef.file("link.pdf"));
       },
       true},
      {"a hole's result under another name (a hard link)", "C:\\VLXFILES\\both.pdf", "drive_c/VLXFILES/J1/BH2.pdf",
       "is the result of hole BH2",
       [&](const EngineFolder& ef) {
         earlier_results(ef);
         fs::create_hard_link(ef.file("drive_c/VLXFILES/J1/BH2.pdf"), ef.file("drive_c/VLXFILES/both.pdf"));
       },
       true},
      {"the result of the second of two holes of one name", "C:\\VLXFILES\\J1\\BH1_2.pdf", nullptr,
       "is the result of hole BH-1", earlier_results, true, {"BH1", "BH-1"}},
      {"a hole's drawing", "C:\\VLXFILES\\J1\\bh2.DXF", nullptr, "is the result of hole BH2", earlier_results, true,
       {"BH1", "BH2"}, "DXF"},
      {"a hole's plot", "C:\\VLXFILES\\J1\\BH1.pgl", nullptr, "is the result of hole BH1", earlier_results, true,
       {"BH1", "BH2"}, "PGL"},
      {"the PDF of the text a hole is printed with", "C:\\VLXFILES\\J1\\Driller.pdf", nullptr,
       "is the PDF of the text driller.txt printed with hole BH2",
       [&](const EngineFolder& ef) {
         earlier_results(ef);
         ef.write("driller.txt", "The log of BH2 as the driller wrote it.\r\n");
       },
       true, {}, "PDF",
       "Job Number : J-1\r\nHole Number : BH1\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n"
       "Hole Number : BH2\r\n/\r\n1.0 Sand\r\n/\r\n"
       "NOTES:\r\n1. A note.\r\nSAMPLES: BIND FILE: driller.txt\r\n//\r\n///\r\n"},
      // TP101's code is BH101's (0J1101), so it got one of its own (0J1_01): its text is still its own.
      {"the PDF of the text of a hole whose code another hole had", "C:\\VLXFILES\\J1\\tp.pdf", nullptr,
       "is the PDF of the text tp.txt printed with hole TP101",
       [](const EngineFolder& ef) {
         ef.write("bh.txt", "The log of BH101.\r\n");
         ef.write("tp.txt", "The log of TP101.\r\n");
       },
       true, {}, "PDF",
       "Job Number : J-1\r\nHole Number : BH101\r\n/\r\n1.0 Clay\r\n/\r\nSAMPLES: BIND FILE: bh.txt\r\n//\r\n"
       "Hole Number : TP101\r\n/\r\n1.0 Sand\r\n/\r\nSAMPLES: BIND FILE: tp.txt\r\n//\r\n///\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EngineFolder ef;
    ef.write("holes.txt", c.input.empty() ? holes(c.holes) : c.input);
    ef.write("@runfile.dat", run_file(c.target, "holes.txt", false, c.device));
    if (c.set_up) c.set_up(ef);
    const std::string before = c.file ? ef.read(c.file) : std::string();
    const auto output_before = tree_of(ef.file("drive_c"));
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
    const std::string line = "The run's target " + c.target + " " + c.why + ", which the run must not replace; nothing is drawn.";
    EXPECT_NE(r.out.find(line + "\n"), std::string::npos) << r.out;
    const std::string log = ef.read("ERROR.LOG");
    EXPECT_NE(log.find(line), std::string::npos) << log;
    EXPECT_EQ(count_of(log, line), 1u) << log;
    EXPECT_EQ(count_of(r.out, "The run's target"), 1u) << r.out;
    if (c.file) {
      EXPECT_EQ(ef.read(c.file).substr(0, before.size()), before);  // ERROR.LOG has the line at its end
      if (std::string(c.file) != "ERROR.LOG") {
        EXPECT_EQ(ef.read(c.file), before);
      }
    }
    EXPECT_EQ(tree_of(ef.file("drive_c")), output_before);  // no result, no job folder made, no lock
    if (!c.converted) {
      for (const auto& e : fs::directory_iterator(ef.path())) EXPECT_NE(e.path().extension(), ".TRX") << e.path();
    }
  }
}

// Holes whose results would take the name of the joined PDF or of the legend (in any letter case) get
// the next free name, as two holes of one name do; the run makes everything (exit 0). The target, in
// the job folder under a name no result has, is a copy of combined.pdf, a file of its own: one link,
// and a program that writes into it in place leaves combined.pdf as it was.
TEST(Target, AFileOfItsOwnThatNoResultTakes) {
  EngineFolder ef;
  ef.write("holes.txt", holes({"combined", "Legend", "BH1"}));
  ef.write("@runfile.dat", run_file("C:\\VLXFILES\\J1\\ge2631.pdf", "holes.txt", true));
  fs::create_directories(ef.file("drive_c/VLXFILES/J1"));
  ef.write("drive_c/VLXFILES/J1/GE2631.pdf", "an earlier target");  // the target, spelt another way
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  const fs::path job = ef.file("drive_c/VLXFILES/J1");
  EXPECT_EQ(files_in(job), (std::set<std::string>{"COMBINED_2.pdf", "LEGEND_2.pdf", "BH1.pdf", "LEGEND.pdf",
                                                  "combined.pdf", "GE2631.pdf"}));
  for (const char* said : {"Result C:\\VLXFILES\\J1\\COMBINED.pdf is the name of the joined PDF; this hole goes to "
                           "C:\\VLXFILES\\J1\\COMBINED_2.pdf",
                           "Result C:\\VLXFILES\\J1\\LEGEND.pdf is the name of the legend; this hole goes to "
                           "C:\\VLXFILES\\J1\\LEGEND_2.pdf"})
    EXPECT_NE(r.out.find(said), std::string::npos) << said << "\n" << r.out;
  for (const auto& f : files_in(job)) EXPECT_TRUE(whole_pdf(job / f)) << f;
  // Three holes and the legend, one page each, joined; the legend is the summary, not the hole.
  EXPECT_EQ(pages(job / "combined.pdf"), 4);
  EXPECT_NE(tool("pdftotext", {"COMBINED_2.pdf", "-"}, job).find("combined"), std::string::npos);
  const fs::path target = job / "GE2631.pdf";
  ASSERT_EQ(read_file(target), read_file(job / "combined.pdf"));
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_nlink, 1u);
  const std::string joined = read_file(job / "combined.pdf");
  {
    // A reader that saves the target in place: truncated and written anew.
    std::FILE* f = std::fopen(target.c_str(), "r+");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(::ftruncate(::fileno(f), 0), 0);
    std::fputs("%PDF-1.4 saved by a reader", f);
    std::fclose(f);
  }
  EXPECT_EQ(read_file(job / "combined.pdf"), joined);
}

// The PDF of an attached text is a result of the run too: a text named as a hole's result or as the
// joined PDF gets the next free name, so neither the hole's sheet nor combined.pdf replaces it.
TEST(Target, AttachedTextsTakeNoNameOfAnotherResult) {
  EngineFolder ef;
  ef.write("BH1.txt", "The log of BH1 as the driller wrote it.\r\n");
  ef.write("combined.txt", "A text named as the joined PDF.\r\n");
  ef.write("holes.txt", "Job Number : J-1\r\nHole Number : BH1\r\n/\r\n1.00 Clay.\r\n/\r\nNOTES:\r\n1. A note.\r\n"
                        "SAMPLES: BIND FILE: BH1.txt\r\n//\r\nHole Number : BH2\r\n/\r\n1.00 Sand.\r\n/\r\nNOTES:\r\n"
                        "1. A note.\r\nSAMPLES: BIND FILE: combined.txt\r\n//\r\n///\r\n");
  ef.write("@runfile.dat", run_file("target.pdf"));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  const fs::path job = ef.file("drive_c/VLXFILES/J1");
  EXPECT_EQ(files_in(job), (std::set<std::string>{"BH1.pdf", "BH1_2.PDF", "BH2.pdf", "combined_2.PDF", "combined.pdf"}));
  EXPECT_NE(tool("pdftotext", {"BH1_2.PDF", "-"}, job).find("as the driller wrote it"), std::string::npos);
  EXPECT_NE(tool("pdftotext", {"combined_2.PDF", "-"}, job).find("A text named as the joined PDF"), std::string::npos);
  EXPECT_EQ(pages(job / "combined.pdf"), 4);
}

// combined.pdf cannot be made (a folder has its name): the earlier target stays as it was, never the
// last hole's result; the run ends with 1 and ERROR.LOG says the target is not replaced.
TEST(Target, EarlierTargetStaysWhenTheJoinFails) {
  EngineFolder ef;
  ef.write("holes.txt", holes({"BH1", "BH2"}));
  ef.write("@runfile.dat", run_file("target.pdf"));
  ASSERT_EQ(ef.run({"@runfile.dat"}, 60).exit_code, 0);
  const std::string earlier = ef.read("target.pdf");
  ASSERT_EQ(pages(ef.file("target.pdf")), 2);
  const fs::path job = ef.file("drive_c/VLXFILES/J1");
  fs::remove(job / "combined.pdf");
  fs::create_directory(job / "combined.pdf");
  ef.write("holes.txt", holes({"BH1", "BH2", "BH3"}));
  const RunResult r = ef.run({"@runfile.dat"}, 60);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
  EXPECT_EQ(ef.read("target.pdf"), earlier);
  EXPECT_NE(ef.read("ERROR.LOG").find("The joined PDF C:\\VLXFILES\\J1\\combined.pdf is not made; the run's target "
                                      "target.pdf is not replaced."),
            std::string::npos)
      << ef.read("ERROR.LOG");
  EXPECT_TRUE(whole_pdf(job / "BH3.pdf"));
}

// Two engine folders run the same job into one job folder at once (two users of one output folder).
// Each run ends whole: made everything (0), or refused the job folder the other was writing into (1,
// naming it). Nothing of a run that ended with 0 is replaced by the other: its results and its target
// hold its own holes only, and combined.pdf holds the holes of one run.
TEST(JobFolder, TwoEngineFoldersIntoOneJobFolderAtOnce) {
  TempDir drive;
  EngineFolder ef[2];
  const char* prefix[2] = {"A", "B"};
  for (int i = 0; i < 2; ++i) {
    ef[i].write("holes.txt", holes(numbered(prefix[i], 80)));
    ef[i].write("@runfile.dat", run_file("target.pdf"));
  }
  RunResult r[2];
  {
    std::thread runs[2];
    for (int i = 0; i < 2; ++i)
      runs[i] = std::thread([&, i] {
        r[i] = run_program({ef[i].file("profile").string(), "@runfile.dat"}, ef[i].path(), 120,
                           {"VLX_DRIVE_C=" + drive.path().string()});
      });
    for (auto& t : runs) t.join();
  }
  const fs::path job = drive.path() / "VLXFILES/J1";
  int made = 0;
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(prefix[i]);
    ASSERT_FALSE(r[i].timed_out);
    const char* other = prefix[1 - i];
    if (r[i].exit_code == 1) {
      EXPECT_NE(r[i].out.find("Another run is writing into the job folder C:\\VLXFILES\\J1; no hole of this run goes "
                              "there."),
                std::string::npos)
          << r[i].out;
      // Refused at its first hole, for the whole run: nothing of it is in the job folder.
      EXPECT_FALSE(fs::exists(job / (std::string(prefix[i]) + "001.pdf")));
      EXPECT_FALSE(fs::exists(job / (std::string(prefix[i]) + "080.pdf")));
      EXPECT_FALSE(fs::exists(ef[i].file("target.pdf")));
      continue;
    }
    ASSERT_EQ(r[i].exit_code, 0) << r[i].out << r[i].err;
    ++made;
    for (const auto& name : numbered(prefix[i], 80)) {
      EXPECT_TRUE(whole_pdf(job / (name + ".pdf"))) << name;
    }
    const fs::path target = ef[i].file("target.pdf");
    EXPECT_EQ(pages(target), 80);
    const std::string text = tool("pdftotext", {target.string(), "-"}, ef[i].path());
    EXPECT_NE(text.find(std::string(prefix[i]) + "080"), std::string::npos);
    EXPECT_EQ(text.find(std::string(other) + "001"), std::string::npos);
  }
  EXPECT_GE(made, 1);
  ASSERT_TRUE(whole_pdf(job / "combined.pdf"));
  EXPECT_EQ(pages(job / "combined.pdf"), 80);
  const std::string joined = tool("pdftotext", {(job / "combined.pdf").string(), "-"}, job);
  EXPECT_NE(joined.find("A001") == std::string::npos, joined.find("B001") == std::string::npos);
  for (const auto& f : files_in(job)) EXPECT_TRUE(whole_pdf(job / f)) << f;
}

// A file system that refuses every chmod (a FAT drive through FUSE): a second run replaces every result,
// combined.pdf and the target of the first, whose modes are those the new files have already; a chmod
// that would change nothing is not asked for, so nothing fails (strace makes every chmod fail).
TEST(Replace, OnAFileSystemThatRefusesEveryChmod) {
  if (!fs::exists("/usr/bin/strace")) GTEST_SKIP() << "strace is not installed";
  EngineFolder ef;
  ef.write("holes.txt", holes({"BH1", "BH2"}));
  ef.write("@runfile.dat", run_file("target.pdf"));
  ASSERT_EQ(ef.run({"@runfile.dat"}, 60).exit_code, 0);
  ef.write("holes.txt", holes({"BH1", "BH2", "BH3"}));
  fs::create_directories(ef.file("drive_c"));
  const RunResult r = run_program({"/usr/bin/strace", "-f", "-o", "/dev/null", "-e", "trace=chmod,fchmod,fchmodat",
                                   "-e", "inject=chmod,fchmod,fchmodat:error=EPERM", ef.file("profile").string(),
                                   "@runfile.dat"},
                                  ef.path(), 120,
                                  // The leak check of a sanitized build cannot run under ptrace.
                                  {"VLX_DRIVE_C=" + ef.file("drive_c").string(), "LSAN_OPTIONS=detect_leaks=0",
                                   "ASAN_OPTIONS=detect_leaks=0"});
  ASSERT_FALSE(r.timed_out);
  if (r.err.find("ptrace") != std::string::npos) GTEST_SKIP() << r.err;
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
  const fs::path job = ef.file("drive_c/VLXFILES/J1");
  EXPECT_EQ(pages(job / "combined.pdf"), 3);
  EXPECT_EQ(pages(ef.file("target.pdf")), 3);
}

}  // namespace
