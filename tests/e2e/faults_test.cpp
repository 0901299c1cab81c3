// Ordinary faults of a machine and of a job, met by real runs in a temporary engine folder: nothing is
// lost silently, no file the user keeps is left cut, and no run ends with 255.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <chrono>
#include <functional>
#include <sstream>
#include <thread>

#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// One-layer holes named prefix + number (three digits) for each prefix, numbers 1..count.
std::string holes(const std::vector<std::string>& names) {
  std::string s;
  for (const auto& n : names) s += "Hole: " + n + "\r\n/\r\n1.0 Clay\r\n/\r\n//\r\n";
  return s + "///\r\n";
}

std::string run_file(const std::string& setup = "STANDARD.SET") {
  return "0/   setupfile = " + setup +
         "\r\n1/   inputfile = holes.txt\r\n2/      output = PDF\r\n3/    holelist = ALL\r\n4/    activity = 0\r\n"
         "8/      result = target.pdf\r\n";
}

std::string tool(const std::string& name, const std::vector<std::string>& args, const fs::path& cwd, int* code = nullptr) {
  std::vector<std::string> argv{"/usr/bin/" + name};
  argv.insert(argv.end(), args.begin(), args.end());
  const RunResult r = run_program(argv, cwd, 60);
  if (code) *code = r.exit_code;
  return r.out + r.err;
}

// A tmpfs mounted on a folder for the scope (root only).
struct Mount {
  fs::path at;
  bool ok = false;
  Mount(const fs::path& p, const std::string& options) : at(p) {
    ok = ::mount("tmpfs", p.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  bool remount(const std::string& options, unsigned long flags = 0) {
    return ::mount("tmpfs", at.c_str(), "tmpfs", MS_REMOUNT | flags, options.c_str()) == 0;
  }
  ~Mount() {
    if (ok) ::umount2(at.c_str(), MNT_DETACH);
  }
};

// Moves the engine folder's files onto a tmpfs mounted over it.
bool engine_folder_on_tmpfs(const EngineFolder& ef, std::unique_ptr<Mount>& m) {
  const fs::path stage = ef.path().string() + ".stage";
  fs::rename(ef.path(), stage);
  fs::create_directory(ef.path());
  m = std::make_unique<Mount>(ef.path(), "size=256m");
  if (!m->ok) {
    fs::remove(ef.path());
    fs::rename(stage, ef.path());
    return false;
  }
  const RunResult cp = run_program({"/bin/cp", "-a", stage.string() + "/.", ef.path().string()}, stage.parent_path(), 60);
  fs::remove_all(stage);
  return cp.exit_code == 0;
}

std::size_t used_bytes(const fs::path& p) {
  std::size_t n = 0;
  for (const auto& e : fs::recursive_directory_iterator(p))
    if (e.is_regular_file()) n += (e.file_size() + 4095) / 4096 * 4096;
  return n;
}

TEST(Faults, EveryCaseSaidNothingLost) {
  const bool root = ::geteuid() == 0;
  struct Case {
    const char* name;
    std::function<std::string(const EngineFolder&)> input;  // the holes; may set the folder up
    int exit_code;
    const char* says;    // on the console (or standard error)
    const char* logged;  // in ERROR.LOG; nullptr: no ERROR.LOG
    int results;         // result PDFs in the job folder (-1: not counted)
    int pages;           // of combined.pdf, which the target is a copy of (0: none made)
    bool needs_root;
  } cases[] = {
      // 150 pit and 150 borehole numbers end in the same three digits: 150 clashes, more than the 99
      // first spare codes.
      {"300 holes whose numbers clash in pairs",
       [](const EngineFolder&) {
         auto names = numbered("TP", 150);
         auto bh = numbered("BH", 150);
         names.insert(names.end(), bh.begin(), bh.end());
         return holes(names);
       },
       0, "000150 -> ", "(hole BH150)", 300, 300, false},
      {"102 holes of one number", [](const EngineFolder&) { return holes(std::vector<std::string>(102, "TP1")); }, 0,
       "TP1_102.pdf", "(hole TP1)", 102, 102, false},
      {"ERROR.LOG is a folder",
       [](const EngineFolder& ef) {
         fs::create_directory(ef.file("ERROR.LOG"));
         return holes({"TP001", "BH001"});  // a code of its own is written down
       },
       1, "ERROR.LOG cannot be written (a folder has that name)", nullptr, 2, 2, false},
      {"a SET file that does not exist",
       [](const EngineFolder&) { return holes({"BH1"}); },
       1, "NOSUCH.SET setup file cannot be found; defaulting to STANDARD.SET",
       "NOSUCH.SET setup file cannot be found; defaulting to STANDARD.SET", 1, 1, false},
      {"a second run holds the lock",
       [](const EngineFolder& ef) {
         const int fd = ::open(ef.file("profile.lock").c_str(), O_RDWR | O_CREAT, 0666);
         ::flock(fd, LOCK_EX);  // held by this test process until it ends: the descriptor stays open
         return holes({"BH1"});
       },
       1, "Another run is using this engine folder", "main.cpp     @ 0001  Another run is using this engine folder", -1, 0,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EngineFolder ef;
    ef.write("holes.txt", c.input(ef));
    ef.write("@runfile.dat", run_file(std::string(c.name).find("SET") != std::string::npos ? "NOSUCH.SET" : "STANDARD.SET"));
    const RunResult r = ef.run({"@runfile.dat"}, 120);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_code, c.exit_code) << r.out << r.err;
    EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << r.out << r.err;
    const bool log_file = fs::is_regular_file(ef.file("ERROR.LOG"));
    EXPECT_EQ(log_file, c.logged != nullptr);
    if (c.logged && log_file) {
      EXPECT_NE(ef.read("ERROR.LOG").find(c.logged), std::string::npos) << ef.read("ERROR.LOG");
    }
    const fs::path job = ef.file("drive_c/VLXFILES/000");
    if (c.results < 0) {  // the locked-out run touched nothing
      EXPECT_FALSE(fs::exists(job));
      EXPECT_FALSE(ef.exists("lastrun"));
      continue;
    }
    int pdfs = 0;
    for (const auto& e : fs::directory_iterator(job)) pdfs += e.path().extension() == ".pdf" && e.path().filename() != "combined.pdf";
    EXPECT_EQ(pdfs, c.results);
    int q = -1;
    const std::string check = tool("qpdf", {"--check", "combined.pdf"}, job, &q);
    EXPECT_EQ(q, 0) << check;
    EXPECT_NE(tool("pdfinfo", {"combined.pdf"}, job).find("Pages:           " + std::to_string(c.pages) + "\n"),
              std::string::npos);
    EXPECT_EQ(read_file(ef.file("target.pdf")), read_file(job / "combined.pdf"));
  }

  // The disk fills up (a tmpfs of the engine folder with a few dozen KB left) in a run that replaces
  // the results of an earlier one: every result, combined.pdf and the target stay whole (the earlier
  // file or the new one), the run says what it could not write and ends with 1, never 255.
  // A read-only engine folder: the run says so and ends with 1.
  if (!root) {
    std::printf("[  SKIPPED ] the full disk and the read-only folder need a tmpfs, which only root can mount\n");
    return;
  }
  for (const bool read_only : {false, true}) {
    SCOPED_TRACE(read_only ? "read-only engine folder" : "full disk");
    EngineFolder ef;
    std::unique_ptr<Mount> m;
    ASSERT_TRUE(engine_folder_on_tmpfs(ef, m));
    ef.write("holes.txt", holes(numbered("BH", 6)));
    ef.write("@runfile.dat", run_file());
    ASSERT_EQ(ef.run({"@runfile.dat"}, 60).exit_code, 0);
    const fs::path job = ef.file("drive_c/VLXFILES/000");
    ef.write("holes.txt", holes(numbered("BH", 12)));  // more and other results this time
    if (read_only) {
      ASSERT_TRUE(m->remount("", MS_RDONLY));
    } else {
      ASSERT_TRUE(m->remount("size=" + std::to_string(used_bytes(ef.path()) + 64 * 1024)));
    }
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
    EXPECT_NE(r.out.find(read_only ? "cannot be written (the file system is read-only)" : "(the disk is full)"),
              std::string::npos)
        << r.out;
    for (const auto& e : fs::directory_iterator(job)) {
      int q = -1;
      const std::string check = tool("qpdf", {"--check", e.path().string()}, job, &q);
      EXPECT_EQ(q, 0) << e.path() << check;
    }
    int q = -1;
    tool("qpdf", {"--check", "target.pdf"}, ef.path(), &q);
    EXPECT_EQ(q, 0);
    m->remount("size=256m", 0);
  }
}

// Starts ./profile @runfile.dat in the engine folder without a terminal and kills it (SIGKILL) after
// the given time, or lets it end first. True when the kill met a running engine.
bool run_killed_after(const EngineFolder& ef, std::chrono::milliseconds after) {
  const std::string program = ef.file("profile").string();
  const std::string drive_c = "VLX_DRIVE_C=" + ef.file("drive_c").string();
  fs::create_directories(ef.file("drive_c"));
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(ef.path().c_str()) != 0) ::_exit(127);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    ::putenv(const_cast<char*>(drive_c.c_str()));
    ::execl(program.c_str(), program.c_str(), "@runfile.dat", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  std::this_thread::sleep_for(after);
  const bool running = ::kill(pid, SIGKILL) == 0;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return running && WIFSIGNALED(status);
}

// A run killed at any moment (SIGKILL: no handler runs) leaves every file the user keeps whole: each
// result, combined.pdf and the target is the earlier run's file or the new one, never a cut one; the
// next run is not locked out, and makes every result.
TEST(Faults, KilledRunLeavesEveryFileWhole) {
  EngineFolder ef;
  ef.write("holes.txt", holes(numbered("BH", 30)));
  ef.write("@runfile.dat", run_file());
  ASSERT_EQ(ef.run({"@runfile.dat"}, 120).exit_code, 0);
  const fs::path job = ef.file("drive_c/VLXFILES/000");
  ef.write("holes.txt", holes(numbered("BH", 200)));  // more and other results this time
  // A PDF cut anywhere lacks its end: the trailer's "%%EOF" closes every whole one.
  const auto whole = [](const fs::path& f) {
    const std::string b = read_file(f);
    return b.rfind("%PDF-", 0) == 0 && b.find("%%EOF", b.size() > 8 ? b.size() - 8 : 0) != std::string::npos;
  };
  // Kills spread over the run from its start to its end (a run takes longer in a sanitized build).
  int killed = 0;
  for (double ms = 1; ms < 1500; ms *= 1.35) {
    SCOPED_TRACE("killed after " + std::to_string(static_cast<int>(ms)) + " ms");
    killed += run_killed_after(ef, std::chrono::milliseconds(static_cast<int>(ms)));
    for (const auto& e : fs::directory_iterator(job)) {
      if (e.path().extension() == ".pdf") {
        EXPECT_TRUE(whole(e.path())) << e.path();
      }
    }
    for (const fs::path& f : {job / "combined.pdf", ef.file("target.pdf")}) {
      int q = -1;
      const std::string check = tool("qpdf", {"--check", f.string()}, job, &q);
      EXPECT_EQ(q, 0) << f << check;
    }
  }
  EXPECT_GT(killed, 0) << "every run ended before its kill: the test saw no killed run";
  const RunResult r = ef.run({"@runfile.dat"}, 120);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  int pdfs = 0;
  for (const auto& e : fs::directory_iterator(job)) pdfs += e.path().extension() == ".pdf" && e.path().filename() != "combined.pdf";
  EXPECT_EQ(pdfs, 200);
  EXPECT_NE(tool("pdfinfo", {"combined.pdf"}, job).find("Pages:           200\n"), std::string::npos);
  EXPECT_EQ(read_file(ef.file("target.pdf")), read_file(job / "combined.pdf"));
}

// Stands for the engine folder's path in an expected ERROR.LOG line.
const std::string kEngineFolder = "<engine folder>";

// The files of the engine folder that a run needs, missing or damaged, in a one-shot run of the example
// input: the run goes on and makes every sheet, says once what is missing or wrong, writes it in
// ERROR.LOG (each line below, no other) and ends with 1, since the sheets are not what was asked (no
// soil symbols, another library, fonts measured without their widths, colour words not taken). The files
// that are optional by design (the colour file, which is written anew; the user additions; the editor's
// font library) change nothing: 0 and no ERROR.LOG, as for the example as shipped.
TEST(Faults, MissingAndDamagedEngineFiles) {
  const std::string library = read_file(data_dir() / "PROLIB.DAT");
  struct Case {
    const char* name;
    std::function<void(const EngineFolder&)> set_up;
    int exit_code;
    std::vector<std::string> logged;  // the lines of ERROR.LOG, without date and time, in order
  } cases[] = {
      {"the example as shipped", [](const EngineFolder&) {}, 0, {}},
      // The user additions (usercat.dat, userprov.dat, userconv.dat) are not shipped.
      {"no colour file, no font library",
       [](const EngineFolder& ef) {
         fs::remove(ef.file("procolor.cus"));
         fs::remove(ef.file("FONTLIB.CUS"));
       },
       0, {}},
      {"no symbol library", [](const EngineFolder& ef) { fs::remove(ef.file("PROLIB.DAT")); }, 1,
       {"readvocb.cpp @ 0004  File not found : PROLIB.DAT"}},
      {"the library the vocabulary names is not there",
       [](const EngineFolder& ef) {
         std::string v = ef.read("PROVOCAB.ENG");
         v.replace(v.rfind("PROLIB.DAT"), 10, "PROLIB2.DAT");
         ef.write("PROVOCAB.ENG", v);
       },
       1, {"readvocb.cpp @ 0004  PROLIB2.DAT not found; the run goes on with what it has:PROLIB.DAT"}},
      {"a library cut inside its pictures",
       [&library](const EngineFolder& ef) { ef.write("PROLIB.DAT", library.substr(0, 3000)); }, 1,
       {"proprint.cpp @   Symbol library PROLIB.DAT is cut short: symbol 18 has no picture in it, and is drawn blank as "
        "any other it lacks."}},
      {"no vocabulary", [](const EngineFolder& ef) { fs::remove(ef.file("PROVOCAB.ENG")); }, 1,
       {"readvocb.cpp @   File not found : PROVOCAB"}},
      // Without the font list no metric file is named either.
      {"no PDF font list", [](const EngineFolder& ef) { fs::remove(ef.file("pdffonts.dat")); }, 1,
       {"pdfequiv.cpp @ 0002  PDF font list not found: " + kEngineFolder + "/pdffonts.dat",
        "widthtab.cpp @   File not found : LJ4\\.MET"}},
      {"a base encoding that is no PDF name",
       [](const EngineFolder& ef) {
         std::string t = ef.read("pdffonts.dat");
         t.replace(t.find("/WinAnsiEncoding"), 16, "/WinAnsi Encoding");
         ef.write("pdffonts.dat", t);
       },
       1, {"pdfequiv.cpp @ 0003  pdffonts.dat line 1: the base encoding is no PDF name; /WinAnsiEncoding is used."}},
      // Cut inside its first font line: said once, though every font looks the table up.
      {"a font list cut short",
       [](const EngineFolder& ef) { ef.write("pdffonts.dat", ef.read("pdffonts.dat").substr(0, 60)); }, 1,
       {"pdfequiv.cpp @ 0004 pdffonts.dat line 2  Error  62 -Input past end", "widthtab.cpp @   File not found : LJ4\\.MET"}},
      {"a metric file missing", [](const EngineFolder& ef) { fs::remove(ef.file("LJ4/HELVBU.MET")); }, 1,
       {"widthtab.cpp @   File not found : LJ4\\.MET"}},
      {"no paint library", [](const EngineFolder& ef) { fs::remove(ef.file("PAINTLIB.ENG")); }, 1,
       {"proconv.cpp  @ 0001  PAINTLIB.ENG - file not found"}},
      // The SET file names LOGO0; every sheet is drawn without it, said once.
      {"no logo file", [](const EngineFolder& ef) { fs::remove(ef.file("LOGO0.PDF")); }, 1,
       {"pdfblock.cpp @ 0001  Cannot find logofile LOGO0.PDF; the sheets are drawn without the logo"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EngineFolder ef;
    c.set_up(ef);
    ef.write("holes.txt", ef.read("Examples/Examples.TXT"));
    ef.write("@runfile.dat", run_file());
    const RunResult r = ef.run({"@runfile.dat"}, 60);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_code, c.exit_code) << r.out << r.err;
    int pdfs = 0;
    for (const auto& e : fs::directory_iterator(ef.file("drive_c/VLXFILES/GE2631")))
      pdfs += e.path().extension() == ".pdf" && e.path().filename() != "combined.pdf";
    EXPECT_EQ(pdfs, 6);
    if (c.logged.empty()) {
      EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
      continue;
    }
    std::vector<std::string> lines;
    std::istringstream log(ef.read("ERROR.LOG"));
    for (std::string l; std::getline(log, l);) lines.push_back(l.substr(20, l.size() - 21));  // date, time, CR
    std::vector<std::string> want = c.logged;
    for (auto& w : want)
      if (const size_t p = w.find(kEngineFolder); p != std::string::npos) w.replace(p, kEngineFolder.size(), ef.path().string());
    EXPECT_EQ(lines, want) << ef.read("ERROR.LOG");
  }
}

}  // namespace
