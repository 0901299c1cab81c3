// The engine's error convention.
//
// Every engine procedure opens a Trap at its start; the trap holds the procedure's module name (the
// source file name with its extension) and the current step marker. A failing primitive calls
// rt::raise(n) and returns a neutral result, and the procedure simply goes on with its next statement
// ("resume next"). No C++ exception crosses a procedure.
//
// The first error reported to a trap that is on:
//   - prints "module @ marker  Error  n - text" on the console,
//   - appends "dd/mm/yyyy hh:mm:ss module______ @ marker  Error  n -text" to ERROR.LOG,
//   - prints the text shown after an error (prompt 110), waits for a key,
//   - and switches the trap off for the rest of the call;
//   - the run then ends with exit code 1 (the statement that failed was left undone).
// An error while the trap is off (a second error in the same call), inside the handler, or in a
// procedure opened with Trap::kNoHandler shows the message box "Untrapped Error #..." instead; Cancel
// ends the process with exit code 255. Errors 241 and 242 always end the process with 255.
//
// A reader of a file the engine did not write (prompts, SET file, vocabulary, colours, width tables)
// marks its trap with reading(): its first error names the file and line after the step marker, and
// every later error of the call is only counted. A damaged file is said once (also when it is read
// again in the same process), the reader stops at damaged() (or skips the bad item) and keeps its
// defaults, and the run goes on; it ends with exit code 1, since something of the file was lost.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rt {

class Trap;
namespace detail {
// The innermost trap of this thread (constant-initialised, so reached without a guard).
inline thread_local Trap* innermost = nullptr;
}  // namespace detail

// A trap costs a few stores when nothing goes wrong: it keeps views of its module name, section and
// step marker (literals, or texts that outlive the trap) and copies a text only when it must own it.
class Trap {
 public:
  enum HandlerKind { kHandler, kNoHandler };

  // module: e.g. "startup.cpp"; section: the procedure's name (shown by the untrapped-error box).
  Trap(std::string_view module, std::string_view section, HandlerKind kind = kHandler)
      : module_(module), section_(section), on_(kind == kHandler), outer_(detail::innermost) {
    detail::innermost = this;
  }
  ~Trap() { detail::innermost = outer_; }
  Trap(const Trap&) = delete;
  Trap& operator=(const Trap&) = delete;

  // Sets the step marker shown in the error lines ("0001", "0030 opening LASTRUN"). The trap keeps a
  // view: the text must outlive the trap (a literal does); step_copy keeps a copy of a marker made at
  // run time.
  void step(std::string_view marker) { marker_ = marker; }
  void step_copy(std::string marker) {
    owned_marker_ = std::move(marker);
    marker_ = owned_marker_;
  }
  // Names the labelled section entered last (kept after it returns; a literal).
  void section(std::string_view name) { section_ = name; }
  // This trap reads the text file open as number file, known to the user as name (see above).
  void reading(int file, std::string_view name);
  // True once an error was reported in this call: a reader stops reading its file.
  bool damaged() const { return error_count_ > 0; }

  std::string_view module() const { return module_; }
  std::string_view marker() const { return marker_; }
  bool on() const { return on_; }
  // The number of the last error reported in this call (0 when none).
  int error() const { return last_error_; }
  // How many errors were reported in this call.
  int error_count() const { return error_count_; }

 private:
  friend void raise(int);
  std::string_view module_;
  std::string_view marker_;
  std::string_view section_;
  bool on_;
  int last_error_ = 0;
  int error_count_ = 0;
  int reading_file_ = 0;
  Trap* outer_;
  std::string owned_marker_;  // the marker when the trap owns it (step_copy, a reader's error)
  std::string reading_name_;
};

// Reports a run-time error to the innermost trap of this thread.
void raise(int error_number);

// The text of an error number ("File not found"); empty for a number not in the table.
std::string error_text(int error_number);

// The innermost trap, or nullptr.
inline Trap* current_trap() { return detail::innermost; }

// The text printed after the error lines (prompt 110); the frame installs it once prompts exist.
void set_error_prompt(std::function<std::string()> provider);
// How fault() and a log that cannot be written show their text: the engine installs its message line,
// which leaves a console screen as it is (the paths that stand in the text shortened to fit); without
// one the text is a console line of its own.
using FaultDisplay = std::function<void(const std::string& text, const std::vector<std::string>& paths)>;
void set_fault_display(FaultDisplay display);

// Appends a line to ERROR.LOG that reports a fault which is no run-time error (a run that cannot be
// done): date, time, the innermost trap's module field and step marker as in an error line, two blanks
// and the text.
void log_note(std::string_view text);

// Says a loss of the run (a hole, layer, page, record or file left out, a substitution, a refused or
// failed write): the text shown by the fault display (paths: the file names that stand in it, in
// order) and an ERROR.LOG note (log_note); the process then ends with exit code 1.
void fault(std::string_view text, const std::vector<std::string>& paths = {});
// The same for a text the caller has shown on the console already: the ERROR.LOG note and exit code 1.
void fault_logged(std::string_view text);
// fault_logged once per text (and current folder) in a process: for a file that every start of a run
// looks for again.
void fault_logged_once(std::string_view text);

// The module field of the last log line (the handler's own field, 12 characters).
const std::string& log_module_field();

// ZADATE: today's local date as dd/mm/yyyy.
std::string ZADATE();

}  // namespace rt

// Opens the trap of the enclosing procedure with this source file's name as module name.
#define RT_TRAP(var, proc) ::rt::Trap var(::rt::detail_base_name(__FILE__), proc)
#define RT_TRAP_NONE(var, proc) ::rt::Trap var(::rt::detail_base_name(__FILE__), proc, ::rt::Trap::kNoHandler)

namespace rt {
// The file name without its folder, found when compiling (a trap opens on every procedure call).
consteval std::string_view detail_base_name(std::string_view path) {
  size_t p = path.find_last_of("/\\");
  return p == std::string_view::npos ? path : path.substr(p + 1);
}
}  // namespace rt
