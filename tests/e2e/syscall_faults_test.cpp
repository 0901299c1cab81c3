// A real run with its system calls made to fail one at a time (a preloaded library, tests/support/
// faultshim.cpp): an open, read, write, copy, sync, rename, link, close or chmod of the engine's own
// files fails with the error a full disk, a damaged disk or a refusing file system gives. After each
// case the run never ends with 255, ends with 0 only when every file is new and complete, leaves every
// file the user keeps whole (the earlier file or a complete new one), and says in ERROR.LOG what it lost.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

// Three holes of one job, with notes and a layer description that runs over several lines. The later
// run draws other layers, so that a new result differs from the earlier one.
std::string holes(const std::string& soil) {
  std::string s = "Job Number : F-55\r\n";
  for (const char* hole : {"BH1", "BH2", "TP3"}) {
    s += std::string("Hole Number : ") + hole + "\r\n/\r\n";
    s += "0.40 TOPSOIL: dark brown sandy silt.\r\n";
    s += "2.50 Firm brown " + soil + " with occasional fine to medium subrounded flint gravel and\r\n"
         "     rare rootlets.\r\n/\r\nNOTES:\r\n1. Groundwater was not met.\r\n2. Backfilled on completion.\r\n//\r\n";
  }
  return s + "///\r\n";
}

const std::string kRunFile =
    "0/   setupfile = STANDARD.SET\r\n1/   inputfile = holes.txt\r\n2/      output = PDF\r\n"
    "3/    holelist = ALL\r\n4/    activity = 0\r\n8/      result = target.pdf\r\n";
const std::vector<std::string> kHoles = {"BH1", "BH2", "TP3"};

// The error each kind of call fails with: what a full disk, a damaged disk or a file system that
// refuses the operation gives.
int error_of(const std::string& kind) {
  if (kind == "open") return EACCES;
  if (kind == "write" || kind == "copy") return ENOSPC;
  if (kind == "link" || kind == "chmod") return EPERM;
  return EIO;  // read, fsync, rename, close
}

bool pdf_complete(const fs::path& f, std::string* why) {
  const RunResult r = run_program({"/usr/bin/qpdf", "--check", f.string()}, f.parent_path(), 60);
  if (why) *why = r.out + r.err;
  return r.exit_code == 0;
}

std::string pdf_text(const fs::path& f) {
  return run_program({"/usr/bin/pdftotext", f.string(), "-"}, f.parent_path(), 60).out;
}

// The last lines a run printed, for a failure's message.
std::string last_lines(const std::string& text, int count = 12) {
  size_t p = text.size();
  for (int i = 0; i <= count && p != std::string::npos && p > 0; ++i) p = text.rfind('\n', p - 1);
  return p == std::string::npos ? text : text.substr(p + 1);
}

struct Call {
  std::string kind;
  long ordinal;
};

}  // namespace

TEST(Faults, EachSystemCallFailingInTurn) {
  const fs::path shim = fs::path(VLX_FAULTSHIM_LIBRARY);
  ASSERT_TRUE(fs::exists(shim)) << shim;
  // The earlier run: results, combined.pdf and the target that the faulty runs replace.
  EngineFolder earlier;
  earlier.write("holes.txt", holes("CLAY"));
  earlier.write("@runfile.dat", kRunFile);
  ASSERT_EQ(earlier.run({"@runfile.dat"}, 60).exit_code, 0);
  earlier.write("holes.txt", holes("SAND"));
  const fs::path job_rel = "drive_c/VLXFILES/F55";
  // A result its user made private: its replacement takes that mode with a chmod (a replaced file
  // whose mode the new file has already needs none).
  fs::permissions(earlier.file((job_rel / "BH2.pdf").string()), fs::perms::owner_read | fs::perms::owner_write);
  std::map<std::string, std::string> before;  // file name in the job folder -> bytes
  for (const auto& e : fs::directory_iterator(earlier.file(job_rel.string()))) before[e.path().filename()] = read_file(e.path());
  ASSERT_EQ(before.size(), kHoles.size() + 1) << "one result per hole and combined.pdf";
  const std::string target_before = earlier.read("target.pdf");

  // One run in a copy of the earlier engine folder, with the environment given.
  TempDir work;
  int serial = 0;
  auto run_case = [&](const std::vector<std::string>& env, fs::path* folder) {
    *folder = work.path() / ("case" + std::to_string(++serial));
    fs::copy(earlier.path(), *folder, fs::copy_options::recursive);
    std::vector<std::string> all = {"VLX_DRIVE_C=" + (*folder / "drive_c").string(), "LD_PRELOAD=" + shim.string(),
                                    "VLX_FAULT_ROOT=" + folder->string()};
    all.insert(all.end(), env.begin(), env.end());
    return run_program({(*folder / "profile").string(), "@runfile.dat"}, *folder, 120, all);
  };

  // The calls of a run without a fault, each with the place in the program it came from.
  fs::path folder;
  const fs::path record = work.path() / "calls.txt";
  const RunResult clean = run_case({"VLX_FAULT_RECORD=" + record.string()}, &folder);
  ASSERT_EQ(clean.exit_code, 0) << clean.out << clean.err;
  ASSERT_FALSE(fs::exists(folder / "ERROR.LOG"));
  fs::remove_all(folder);
  // One case for the first call of each kind from each place (a place met again later fails the same
  // way): the runs stay few, and every distinct call of the run fails once.
  std::vector<Call> calls;
  std::set<std::string> places;
  std::map<std::string, int> per_kind;
  {
    std::istringstream in(read_file(record));
    std::string kind, site;
    long ordinal = 0;
    while (in >> kind >> ordinal >> site) {
      if (places.insert(kind + " " + site).second) {
        calls.push_back({kind, ordinal});
        ++per_kind[kind];
      }
    }
  }
  for (const char* kind : {"open", "read", "write", "fsync", "rename", "link", "close", "chmod"})
    EXPECT_GT(per_kind[kind], 0) << "the run made no " << kind << " call the shim saw";
  std::printf("[          ] %zu cases:", calls.size());
  for (const auto& [kind, n] : per_kind) std::printf(" %s %d", kind.c_str(), n);
  std::printf("\n");

  int fired = 0;
  for (const Call& c : calls) {
    const std::string name = c.kind + ":" + std::to_string(c.ordinal) + ":" + std::to_string(error_of(c.kind));
    SCOPED_TRACE("call " + name);
    const fs::path hit = work.path() / "hit";
    fs::remove(hit);
    const RunResult r = run_case({"VLX_FAULT=" + name, "VLX_FAULT_HIT=" + hit.string()}, &folder);
    const std::string said = r.out + r.err;
    const std::string shown = last_lines(said);
    ASSERT_FALSE(r.timed_out) << shown;
    fired += fs::exists(hit);
    EXPECT_TRUE(r.exit_code == 0 || r.exit_code == 1) << "exit " << r.exit_code << "\n" << shown;
    const fs::path job = folder / job_rel;
    // No pages of a hole go anywhere but the job folder.
    for (const auto& e : fs::directory_iterator(folder / "drive_c/VLXFILES"))
      EXPECT_EQ(e.path().filename(), "F55") << "a job folder of its own\n" << shown;
    // Every file the user keeps is whole: the earlier one or a complete new one.
    std::set<std::string> lost;  // holes (and combined.pdf, the target) without a new complete file
    for (const auto& [file, bytes] : before) {
      const fs::path f = job / file;
      const std::string hole = fs::path(file).stem();
      std::string why;
      if (!fs::exists(f)) {
        ADD_FAILURE() << file << " is gone\n" << shown;
        continue;
      }
      EXPECT_TRUE(pdf_complete(f, &why)) << file << " " << why;
      if (read_file(f) == bytes) lost.insert(hole);
      else if (hole != "combined") {
        // A new result is the hole's whole sheet, never a blank one nor one without its layers or notes.
        const std::string text = pdf_text(f);
        for (const std::string& word : {hole, std::string("TOPSOIL"), std::string("SAND"), std::string("Backfilled")})
          EXPECT_NE(text.find(word), std::string::npos) << file << " lacks " << word << "\n" << shown;
      }
    }
    std::string why;
    EXPECT_TRUE(pdf_complete(folder / "target.pdf", &why)) << "target.pdf " << why;
    // The target is the new combined.pdf, or the earlier target where combined.pdf was not made anew:
    // never a part of the run (the last hole's result), never a target of other holes.
    const std::string target = read_file(folder / "target.pdf");
    if (target == target_before) lost.insert("target.pdf");
    if (lost.count("combined")) {
      EXPECT_TRUE(target == target_before) << "combined.pdf was not made, but the target was replaced\n" << shown;
    } else {
      EXPECT_TRUE(target == target_before || target == read_file(job / "combined.pdf"))
          << "the target is neither the earlier one nor the new combined.pdf\n" << shown;
    }
    for (const auto& e : fs::directory_iterator(job))
      if (!before.count(e.path().filename())) ADD_FAILURE() << "a stray file " << e.path().filename() << "\n" << shown;

    const std::string log = fs::is_regular_file(folder / "ERROR.LOG") ? read_file(folder / "ERROR.LOG") : "";
    const bool log_refused = said.find("ERROR.LOG cannot be written") != std::string::npos;
    if (r.exit_code == 0) {
      EXPECT_TRUE(lost.empty()) << "ends with 0 but left earlier files: " << *lost.begin() << "\n" << shown;
    } else if (r.exit_code == 1) {
      EXPECT_TRUE(!log.empty() || log_refused) << "ends with 1 and says nothing in ERROR.LOG\n" << shown;
      // A run that made some of its files names each one it could not make; one that made none said
      // why at its start.
      const bool made_some = lost.size() < before.size() + 1;
      for (const std::string& what : lost) {
        const std::string& where = log_refused ? said : log;
        if (made_some) {
          EXPECT_NE(where.find(what), std::string::npos) << what << " kept its earlier file without a word\n" << log << shown;
        }
      }
    }
    fs::remove_all(folder);
  }
  // Most calls are met again when the run goes the same way; a fault that turns the run aside early
  // may leave a later call unmade.
  EXPECT_GT(fired, static_cast<int>(calls.size()) / 2);
}

namespace {

// A tmpfs mounted on a folder for the scope (root only).
struct TmpfsMount {
  fs::path at;
  bool ok = false;
  TmpfsMount(const fs::path& p, const std::string& options) : at(p) {
    ok = ::mount("tmpfs", p.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  bool remount(const std::string& options, unsigned long flags = 0) {
    return ::mount("tmpfs", at.c_str(), "tmpfs", MS_REMOUNT | flags, options.c_str()) == 0;
  }
  ~TmpfsMount() {
    if (ok) ::umount2(at.c_str(), MNT_DETACH);
  }
};

}  // namespace

// The engine folder or the input file fails the run before it draws anything: the run ends with 1
// (never 255) and one line that says what to do, changes no file of the earlier run, and writes the
// line in ERROR.LOG where it can.
TEST(Faults, EngineFolderAndInputFaultsSayWhatToDo) {
  const fs::path shim = fs::path(VLX_FAULTSHIM_LIBRARY);
  const bool root = ::geteuid() == 0;
  enum Fault { kFolderNamed, kUnreadableInput, kUnreadableRunFile, kUnreadableTarget, kEngineFileUnread, kReadOnly, kFull };
  struct Case {
    Fault fault;
    const char* name;
    const char* says;
    bool logged;     // the line is in ERROR.LOG (the folder can be written)
    bool needs_root;  // a tmpfs of its own
    const char* unread = nullptr;  // every read of this file of the engine folder fails (a damaged disk)
    bool draws = false;  // the run draws all the same (the prompt texts are the screens' only)
    const char* soil = "SAND";  // of the later run's input
  } cases[] = {
      {kFolderNamed, "a folder has a work file's name", "A folder named Dwork.1B stands in the engine folder", true, false},
      {kUnreadableInput, "an input file the user may not read", "holes.txt cannot be read (permission denied): give read access to it",
       true, false},
      {kUnreadableRunFile, "a run file the user may not read",
       "@runfile.dat cannot be read (permission denied): give read access to it", true, false},
      // Not known to be an earlier result of a run: kept, and the reason said as it is.
      {kUnreadableTarget, "a target in the engine folder that cannot be read",
       "The run's target target.pdf cannot be read (permission denied) to see that it is an earlier result; nothing is drawn.",
       true, false},
      // Read at more than one stage of the run: said once, after the reader's own error line.
      {kEngineFileUnread, "the run's SET file cannot be read",
       "STANDARD.SET cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "STANDARD.SET"},
      {kEngineFileUnread, "the conversion vocabulary cannot be read",
       "CONVOCAB.ENG cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "CONVOCAB.ENG"},
      {kEngineFileUnread, "the prompt file cannot be read",
       "prompts.eng cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "prompts.eng", true},
      // The run goes on with the standard PDF fonts measured as fixed-pitch ones.
      {kEngineFileUnread, "the PDF font list cannot be read",
       "pdffonts.dat cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "pdffonts.dat", true},
      {kEngineFileUnread, "a font's width table cannot be read",
       "LJ4\\HELVMU.MET cannot be read (a device input/output error): check the disk or install the engine folder "
       "again.",
       true, false, "HELVMU.MET", true},
      {kEngineFileUnread, "the scales file cannot be read",
       "scales.MET cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "scales.MET"},
      {kEngineFileUnread, "the colour file cannot be read",
       "procolor.cus cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "procolor.cus", true},
      {kEngineFileUnread, "the pattern library cannot be read",
       "PAINTLIB.ENG cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "PAINTLIB.ENG", true},
      {kEngineFileUnread, "the word-processor signature cannot be read",
       "wordpad.sig cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "wordpad.sig", true},
      // Read only for an input of word-processor text (a line that says so).
      {kEngineFileUnread, "the word-processor character table cannot be read",
       "wordpad.dat cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "wordpad.dat", true, "SAND as typed in WordPad"},
      {kEngineFileUnread, "the symbol library cannot be read",
       "PROLIB.DAT cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "PROLIB.DAT", true},
      {kEngineFileUnread, "the logo cannot be read",
       "LOGO0.PDF cannot be read (a device input/output error): check the disk or install the engine folder again.", true,
       false, "LOGO0.PDF", true},
      {kReadOnly, "a read-only engine folder", "cannot be written (the file system is read-only): make the folder writable", false,
       true},
      {kFull, "an engine folder on a full disk", "cannot be written (the disk is full): free some space on its disk", false,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needs_root && !root) {
      std::printf("[  SKIPPED ] %s: a tmpfs of its own needs root\n", c.name);
      continue;
    }
    TempDir top;
    const fs::path ef = top.path() / "engine";
    fs::create_directory(ef);
    std::unique_ptr<TmpfsMount> mount;
    if (c.needs_root) {
      mount = std::make_unique<TmpfsMount>(ef, "size=64m");
      ASSERT_TRUE(mount->ok);
    }
    fs::copy(data_dir(), ef, fs::copy_options::recursive);
    fs::copy_file(profile_program(), ef / "profile");
    const fs::path drive_c = top.path() / "drive_c";  // the job folder lies outside the engine folder
    fs::create_directory(drive_c);
    write_file(ef / "holes.txt", holes("CLAY"));
    write_file(ef / "@runfile.dat", kRunFile);
    const std::vector<std::string> env = {"VLX_DRIVE_C=" + drive_c.string()};
    ASSERT_EQ(run_program({(ef / "profile").string(), "@runfile.dat"}, ef, 60, env).exit_code, 0);
    std::map<fs::path, std::string> before;
    for (const auto& e : fs::recursive_directory_iterator(drive_c))
      if (e.is_regular_file()) before[e.path()] = read_file(e.path());
    const std::string target_before = read_file(ef / "target.pdf");
    write_file(ef / "holes.txt", holes(c.soil));

    std::vector<std::string> run_env = env;
    switch (c.fault) {
      case kFolderNamed: fs::create_directory(ef / "Dwork.1B"); break;
      case kUnreadableInput:  // every open of it refused, as for a file of another user without read access
      case kUnreadableRunFile:
      case kUnreadableTarget:
        run_env.insert(run_env.end(), {"LD_PRELOAD=" + shim.string(), "VLX_FAULT_ROOT=" + ef.string(),
                                       "VLX_FAULT=open:0:" + std::to_string(EACCES),
                                       c.fault == kUnreadableInput    ? "VLX_FAULT_NAME=holes.txt"
                                       : c.fault == kUnreadableTarget ? "VLX_FAULT_NAME=target.pdf"
                                                                      : "VLX_FAULT_NAME=@runfile.dat"});
        break;
      case kEngineFileUnread:
        run_env.insert(run_env.end(), {"LD_PRELOAD=" + shim.string(), "VLX_FAULT_ROOT=" + ef.string(),
                                       "VLX_FAULT=read:0:" + std::to_string(EIO), std::string("VLX_FAULT_NAME=") + c.unread});
        break;
      case kReadOnly: ASSERT_TRUE(mount->remount("", MS_RDONLY)); break;
      case kFull:  // whatever room is left is taken by one file
        run_program({"/bin/dd", "if=/dev/zero", "of=" + (ef / "fill").string(), "bs=64k"}, ef, 60);
        break;
    }
    const RunResult r = run_program({(ef / "profile").string(), "@runfile.dat"}, ef, 60, run_env);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_code, 1) << r.out << r.err;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out << r.err;
    if (c.logged && c.unread) {
      // The reader's error line stays; the file is named once with what to do, and not said again.
      const std::string log = read_file(ef / "ERROR.LOG");
      EXPECT_EQ(count_of(log, c.says), 1u) << log;
      EXPECT_EQ(count_of(r.out, c.says), 1u) << r.out;
      EXPECT_EQ(count_of(log, "cannot be read whole"), 0u) << log;
    } else if (c.logged) {
      std::string log = read_file(ef / "ERROR.LOG");
      EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
      EXPECT_NE(log.find(c.says), std::string::npos) << log;
    }
    if (!c.draws) {
      for (const auto& [file, bytes] : before) EXPECT_TRUE(read_file(file) == bytes) << file << " changed";
      EXPECT_TRUE(read_file(ef / "target.pdf") == target_before);
    }
    if (mount) mount->remount("size=64m", 0);
  }
}
