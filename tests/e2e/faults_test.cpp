// Ordinary faults of a machine and of a job, met by real runs in a temporary engine folder: nothing is
// lost silently, no file the user keeps is left cut, and no run ends with 255.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

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

std::vector<std::string> numbered(const std::string& prefix, int count) {
  std::vector<std::string> names;
  for (int i = 1; i <= count; ++i) {
    char b[16];
    std::snprintf(b, sizeof b, "%03d", i);
    names.push_back(prefix + b);
  }
  return names;
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
       1, "Another run is using this engine folder", nullptr, -1, 0, false},
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

}  // namespace
