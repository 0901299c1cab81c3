// Helpers shared by the unit and end-to-end tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/msgbox.h"

namespace testing_support {

// A fresh temporary folder, removed with everything in it at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  // Writes a file (bytes as given) under the folder and returns its path.
  std::filesystem::path write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Makes a folder the current folder for the scope.
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::filesystem::path& p);
  ~ScopedCwd();

 private:
  std::filesystem::path old_;
};

// Sets an environment variable for the scope.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const std::string& value);
  ~ScopedEnv();

 private:
  std::string name_;
  bool had_;
  std::string old_;
};

// Limits the size of the files this process writes for the scope (RLIMIT_FSIZE; SIGXFSZ ignored): a
// write past the limit fails with EFBIG, as a write to a full disk fails. Works without privileges.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(unsigned long bytes);
  ~ScopedFileSizeLimit();

 private:
  unsigned long old_cur_ = 0;
};

// Records every message box and answers it; ending the process throws ProcessEnded instead.
struct ProcessEnded {
  int code;
};
class BoxRecorder {
 public:
  explicit BoxRecorder(platform::BoxAnswer answer = platform::BoxAnswer::Ok);
  ~BoxRecorder();
  std::vector<std::string> texts;

 private:
  platform::BoxAnswer answer_;
};

// A console without a terminal (key waits answer Esc at once, nothing goes to standard output) that
// counts the key waits and beeps.
class CountingConsole : public platform::BatchConsole {
 public:
  CountingConsole() : BatchConsole(25, false) {}
  std::string wait_key() override {
    ++keys;
    return BatchConsole::wait_key();
  }
  void beep() override { ++beeps; }
  // Every row of the screen, one after another.
  std::string screen() const {
    std::string s;
    for (int r = 1; r <= rows(); ++r) s += row_text(r) + "\n";
    return s;
  }
  int keys = 0, beeps = 0;
};

std::string read_file(const std::filesystem::path& p);
void write_file(const std::filesystem::path& p, const std::string& bytes);

struct RunResult {
  int exit_code = -1;  // -1 when killed by the time limit
  std::string out;
  std::string err;
  bool timed_out = false;
};

// Runs a program in a folder with standard input from /dev/null (or the given text), no terminal, and
// a time limit; captures standard output and standard error. A sanitizer report in the program's
// standard error fails the test that ran it (a sanitized program may end with a code the test expects).
RunResult run_program(const std::vector<std::string>& argv, const std::filesystem::path& cwd,
                      int timeout_seconds = 60, const std::vector<std::string>& extra_env = {});

// How often part stands in text (occurrences that do not overlap).
std::size_t count_of(const std::string& text, const std::string& part);

// Regular expressions (ECMAScript) are matched here, in one source file: a test that includes <regex>
// takes seconds more to compile.
// The groups of the first match of the pattern in the text, group 0 the whole match; empty when none.
std::vector<std::string> find_regex(const std::string& text, const std::string& pattern);
// The groups of every match, in order.
std::vector<std::vector<std::string>> find_all_regex(const std::string& text, const std::string& pattern);

// The scale 1:N a profile sheet (PDF) is drawn at, read from where its last two layer-depth labels
// stand (pdftotext): their depths apart in millimetres of ground over their distance on paper; 0 when
// the sheet has fewer than two.
int drawn_scale(const std::filesystem::path& pdf);

// Hole names prefix + a three-digit number, 001 to count (BH001, BH002, ...).
std::vector<std::string> numbered(const std::string& prefix, int count);

// The first line of an AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer report in a
// program's standard error; empty when there is none.
std::string sanitizer_report(const std::string& err);

// A temporary engine folder: the engine program and the files of data/, as an install makes it.
class EngineFolder {
 public:
  EngineFolder();
  const std::filesystem::path& path() const { return dir_.path(); }
  std::filesystem::path file(const std::string& name) const { return dir_.path() / name; }
  void write(const std::string& name, const std::string& bytes) const { dir_.write(name, bytes); }
  std::string read(const std::string& name) const { return dir_.read(name); }
  bool exists(const std::string& name) const { return std::filesystem::exists(dir_.path() / name); }
  // Runs ./profile with the arguments in the engine folder, without a terminal; the engine's drive C
  // is the folder drive_c in it.
  RunResult run(const std::vector<std::string>& args = {}, int timeout_seconds = 60) const;

 private:
  TempDir dir_;
};

// Where the source tree's data/ and the built programs are.
std::filesystem::path source_dir();
std::filesystem::path data_dir();
std::filesystem::path profile_program();

}  // namespace testing_support
