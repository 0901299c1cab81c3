// Trap stack, the error handler, the ERROR.LOG line and the untrapped-error box.
#include "error.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include "engine/runtime/command.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/wholefile.h"

namespace rt {
namespace {

std::function<std::string()>& prompt_provider() {
  static std::function<std::string()> f;
  return f;
}

FaultDisplay& fault_display() {
  static FaultDisplay f;
  return f;
}

// A fault's text as the installed display shows it, else as a console line.
void show_fault_text(const std::string& text, const std::vector<std::string>& paths) {
  if (fault_display()) fault_display()(text, paths);
  else platform::console().print(text, true);
}

// The damaged files said so far: native path, size and the line of the damage.
std::set<std::string>& damages_said() {
  static std::set<std::string> said;
  return said;
}

std::string& module_field() {
  static std::string m;
  return m;
}

std::string two(int v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", v);
  return b;
}

// The start of an ERROR.LOG line: date, time, the module field and the step marker.
std::string log_head(std::string_view module, std::string_view marker) {
  std::string& field = module_field();
  field.assign(12, ' ');
  field.replace(0, std::min<size_t>(12, module.size()), module.substr(0, std::min<size_t>(12, module.size())));
  platform::LocalTime now = platform::now();
  return ZADATE() + " " + two(now.hour) + ":" + two(now.minute) + ":" + two(now.second) + " " + field + " @ " +
         std::string(marker);
}

bool& log_refused() {
  static bool refused = false;
  return refused;
}

// Appends one line to ERROR.LOG in the current folder, opened and closed for the line. A log that
// cannot be written (a read-only folder, a full disk, a folder of that name) raises no error, which
// would end the run: it is said once on the console, the run goes on and ends with exit code 1.
void append_log(const std::string& line) {
  const std::string bytes = line + "\r\n";
  const platform::MappedPath m = platform::map_for_create("ERROR.LOG");
  int e = m.error ? ENOENT : 0;
  if (e == 0) {
    const int fd = ::open(m.path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) e = errno;
    for (size_t done = 0; fd >= 0 && e == 0 && done < bytes.size();) {
      const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) e = w < 0 ? errno : ENOSPC;
      else done += static_cast<size_t>(w);
    }
    if (fd >= 0 && ::close(fd) != 0 && e == 0) e = errno;
  }
  if (e == 0) return;
  set_exit_code(1);
  if (log_refused()) return;
  log_refused() = true;
  show_fault_text("ERROR.LOG cannot be written (" + platform::failure_reason(e) +
                      "): what goes wrong in this run is said on the screen only.",
                  {});
}

[[noreturn]] void fatal(int) { platform::end_process(255); }

// The platform box for an error that no handler takes. OK continues; Cancel ends with 255.
void untrapped(int n, std::string_view section) {
  std::string sec(section);
  sec.resize(8, ' ');
  std::string text = "Untrapped Error #" + std::to_string(n) + " (" + error_text(n) + ")\n" +
                     "has occurred following execution of " + sec + "\n\n" +
                     "Press OK to continue, Cancel to terminate";
  if (platform::message_box(text) == platform::BoxAnswer::Cancel || n == 241 || n == 242) fatal(n);
}

}  // namespace

void Trap::reading(int file, std::string_view name) {
  reading_file_ = file;
  reading_name_ = name;
}

void set_error_prompt(std::function<std::string()> provider) { prompt_provider() = std::move(provider); }
void set_fault_display(FaultDisplay display) { fault_display() = std::move(display); }

const std::string& log_module_field() { return module_field(); }

std::string error_text(int n) {
  switch (n) {
    case 0: return "No Error";
    case 5: return "Illegal function call";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript/Pointer out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 24: return "Device timeout";
    case 51: return "Internal error";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 54: return "Bad file mode";
    case 55: return "File is open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case 61: return "Disk full";
    case 62: return "Input past end";
    case 63: return "Bad record number";
    case 64: return "Bad file name";
    case 67: return "Too many files";
    case 68: return "Device unavailable";
    case 69: return "Comm error";
    case 70: return "Permission denied";
    case 71: return "Disk not ready";
    case 72: return "Disk media error";
    case 74: return "Rename across disks";
    case 75: return "Path/file access error";
    case 76: return "Path not found";
    case 98: return "XPrint Preview error";
    case 99: return "Object error";
    case 241: return "Global memory corrupt";
    case 242: return "String space corrupt";
    default: return {};
  }
}


void log_note(std::string_view text) {
  Trap* t = detail::innermost;
  append_log(log_head(t ? t->module() : std::string_view(), t ? t->marker() : std::string_view()) + "  " +
             std::string(text));
}

void fault(std::string_view text, const std::vector<std::string>& paths) {
  show_fault_text(std::string(text), paths);
  fault_logged(text);
}

void fault_logged(std::string_view text) {
  log_note(text);
  set_exit_code(1);
}

void fault_logged_once(std::string_view text) {
  // Keyed by the current folder too: the names in such texts are those of the engine folder's files.
  static std::set<std::string> said;
  std::error_code ec;
  if (said.insert(std::filesystem::current_path(ec).string() + '\n' + std::string(text)).second) fault_logged(text);
}

void raise(int n) {
  Trap* t = detail::innermost;
  if (t) {
    t->last_error_ = n;
    ++t->error_count_;
  }
  // A reader said its file is damaged at the first error; what follows from the same damage is not
  // said again, and never ends the run.
  if (t && !t->on_ && t->reading_file_ != 0 && t->error_count_ > 1) return;
  if (!t || !t->on_) {
    untrapped(n, t ? t->section_ : std::string_view("PBMAIN"));
    return;
  }
  if (n == 241 || n == 242) fatal(n);

  // Step 1: the trap is off for the rest of this call; anything failing below is untrapped.
  t->on_ = false;
  t->section_ = "PERROR";
  platform::Console& con = platform::console();
  // A reader's error names the file and the line it was reading. A damage at the same line of the same
  // file met again in this process (start-up reads the prompt file for its texts twice and for its
  // menus) is not said again. The reader skips the damaged item or keeps its defaults for the rest of
  // the file: something of the file is left out or replaced, so the run ends with exit code 1.
  // A trapped error leaves the statement it met undone, and the run goes on without it: what the run
  // makes is not all it was asked for, so it ends with exit code 1.
  set_exit_code(1);
  if (t->reading_file_ != 0) {
    const std::int64_t line = line_number(t->reading_file_);
    const std::int64_t size = is_open(t->reading_file_) ? LOF(t->reading_file_) : 0;
    std::error_code ec;
    const std::string damage = std::filesystem::weakly_canonical(file_path(t->reading_file_), ec).string() + '\n' +
                               std::to_string(size) + '\n' + std::to_string(line);
    if (!damages_said().insert(damage).second) return;
    std::string marker(t->marker_);
    if (!marker.empty()) marker += ' ';
    marker += t->reading_name_;
    if (line > 0) marker += " line " + std::to_string(line);
    t->step_copy(std::move(marker));
  }

  // Step 2: the screen line.
  con.print(std::string(t->module_) + " @ " + std::string(t->marker_) + "  Error " + print_number(n) + " - " +
                error_text(n),
            true);

  // Steps 3-6: one line appended to ERROR.LOG in the current folder.
  append_log(log_head(t->module_, t->marker_) + "  Error " + print_number(n) + "-" + error_text(n));

  // Steps 7-8: the text after an error, and a key; the text only where a person can press one.
  if (prompt_provider() && con.interactive()) con.print(prompt_provider()(), false);
  con.flush();
  con.wait_key();
}

}  // namespace rt
