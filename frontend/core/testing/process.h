// A process port for tests that runs the program for real (a stand-in engine script), without Qt:
// at start, or later when the test calls finish(), so that a test can act while "the engine runs".
#pragma once

#include <string>
#include <vector>

#include "frontend/core/ports.h"
#include "testsupport.h"

namespace quorvel::fakes {

class ScriptProcess : public ProcessPort {
 public:
  bool deferred = false;  // when true, the program runs only at finish()
  std::vector<std::vector<std::string>> started;
  std::vector<std::string> folders;
  int stops = 0;

  void start(const std::vector<std::string>& argv, const std::string& folder, Callbacks cb) override {
    started.push_back(argv);
    folders.push_back(folder);
    argv_ = argv;
    folder_ = folder;
    cb_ = std::move(cb);
    running_ = true;
    if (!deferred) finish();
  }
  bool running() override { return running_; }
  void stop() override {
    ++stops;
    running_ = false;
    ProgramEnd e;
    e.crashed = true;
    if (cb_.finished) cb_.finished(e);
  }
  // Runs the program now and reports its output and end.
  void finish() {
    if (!running_) return;
    testing_support::RunResult r = testing_support::run_program(argv_, folder_, 60);
    running_ = false;
    if (cb_.output) cb_.output(r.out + r.err);
    ProgramEnd e;
    e.exit_code = r.exit_code;
    if (cb_.finished) cb_.finished(e);
  }

 private:
  std::vector<std::string> argv_;
  std::string folder_;
  Callbacks cb_;
  bool running_ = false;
};

// A stand-in engine: a script named "profile" that records its folder and arguments in "args.txt",
// writes the run file's target as a small PDF (unless the file "no-target" is in its folder), and
// carries the version text where the front end looks for it.
inline void write_standin_script(const std::filesystem::path& folder, const std::string& version = "7022") {
  std::filesystem::create_directories(folder);
  std::string script =
      "#!/bin/sh\n"
      "# Stand-in engine for tests.\n"
      "{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > args.txt\n"
      "echo \"stand-in engine: $*\"\n"
      "[ -e no-target ] && exit 0\n"
      "target=$(sed -n 's/^8\\/  targetcopy = //p' @runfile.dat | tr -d '\\r')\n"
      "printf '%%PDF-1.3\\n%%%%EOF\\n' > \"$target\"\n"
      "exit 0\n";
  script += "#" + std::string(47000 - script.size(), ' ') + version + "\n";
  testing_support::write_file(folder / "profile", script);
  std::filesystem::permissions(folder / "profile", std::filesystem::perms::owner_all);
  // The program file's version is found only when it begins "701" or "702"; other engines say theirs
  // in their menu file.
  std::error_code ec;
  std::filesystem::remove(folder / "PROMENU.TBC", ec);
  if (version.rfind("701", 0) != 0 && version.rfind("702", 0) != 0)
    testing_support::write_file(folder / "PROMENU.TBC", std::string(46600, ' ') + "Version " + version);
}

}  // namespace quorvel::fakes
