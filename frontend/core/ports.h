// The front end's ports: everything the front-end logic asks of the desktop and the operating system.
//
// The logic in frontend/core is plain C++ on std::string text (bytes, as the file system and the engine
// see them); it never touches a widget. What it needs from outside goes through one of the small
// interfaces below. The program implements them with Qt (frontend/main/qtports.*); tests answer them
// with the fakes of frontend/core/testing/fakes.h, so every question, dialog and started program can be
// scripted and checked without a display.
//
// Texts of message boxes break lines with a single "\n".
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

// Per-user settings store: one value per section and key, kept as text.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored value, or fallback when the key is missing.
  virtual std::string get(const std::string& section, const std::string& key, const std::string& fallback = "") = 0;
  virtual bool contains(const std::string& section, const std::string& key) = 0;
  virtual void set(const std::string& section, const std::string& key, const std::string& value) = 0;
  // Removing a key that does not exist does nothing.
  virtual void remove(const std::string& section, const std::string& key) = 0;
};

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

struct Message {
  std::string text;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  std::string title;
  std::optional<Answer> default_answer;  // empty: the first button

  Message() = default;
  Message(std::string t, Buttons b, Icon i, std::string ti, std::optional<Answer> d = {})
      : text(std::move(t)), buttons(b), icon(i), title(std::move(ti)), default_answer(d) {}
};

// Modal message box; closing it without a button counts as Cancel (or No where there is no Cancel, Abort
// for Abort/Retry/Ignore).
class MessageBoxPort {
 public:
  virtual ~MessageBoxPort() = default;
  virtual Answer show(const Message& m) = 0;
};

// Modal one-line input box; empty when cancelled.
class InputBoxPort {
 public:
  virtual ~InputBoxPort() = default;
  virtual std::optional<std::string> ask(const std::string& prompt, const std::string& title,
                                         const std::string& default_text) = 0;
};

// A file dialog. The filter is a list of "description|pattern" pairs joined by "|", patterns separated
// by ";" ("Setup File (*.SET)|*.SET"); patterns match without regard to letter case.
struct FileDialogRequest {
  std::string initial_name;  // a file name or a folder followed by a pattern
  std::string title;
  std::string default_ext;
  std::string filter;
  bool save = false;         // a save dialog (may name a new file) rather than an open dialog
};

class FileDialogPort {
 public:
  virtual ~FileDialogPort() = default;
  // The chosen full name, or empty when the user cancelled.
  virtual std::optional<std::string> choose(const FileDialogRequest& r) = 0;
};

// The installed printers, in the order the print system lists them.
class PrinterListPort {
 public:
  virtual ~PrinterListPort() = default;
  virtual std::vector<std::string> printers() = 0;
};

// The clipboard's text.
class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  virtual std::string text() = 0;
  virtual void set_text(const std::string& t) = 0;
};

// Today's date (local time).
class ClockPort {
 public:
  virtual ~ClockPort() = default;
  virtual std::chrono::sys_days today() = 0;
};

// How a started program ended. started false: it could not be started at all (error_text says why).
struct ProgramEnd {
  bool started = true;
  bool crashed = false;
  int exit_code = 0;
  std::string error_text;  // what the program wrote to its standard error, or why it did not start
};

// Starts helper programs (document viewer, printing, mail, a text editor, a terminal) from an argument
// list, never through a shell, without waiting; done, when given, is called once the program has ended.
class LauncherPort {
 public:
  virtual ~LauncherPort() = default;
  virtual void start(const std::vector<std::string>& argv, const std::string& folder,
                     std::function<void(const ProgramEnd&)> done) = 0;
  // True when a program of this name is found on PATH (or the name is a path to one).
  virtual bool available(const std::string& program) = 0;
};

// The one long-running child: the engine. Output arrives while it runs; finished is called once.
class ProcessPort {
 public:
  virtual ~ProcessPort() = default;
  struct Callbacks {
    std::function<void(const std::string& bytes)> output;  // standard output and error, as they come
    std::function<void(const ProgramEnd&)> finished;
  };
  virtual void start(const std::vector<std::string>& argv, const std::string& folder, Callbacks cb) = 0;
  virtual bool running() = 0;
  // Ends the running process (by its process id).
  virtual void stop() = 0;
};

// What the print dialog asked for: a printer, copies, pages ("1-3"; empty for all).
struct PrintChoice {
  std::string printer;
  int copies = 1;
  std::string pages;
};

// The print dialog (printer, copies, pages) for a file; empty when cancelled.
class PrintDialogPort {
 public:
  virtual ~PrintDialogPort() = default;
  virtual std::optional<PrintChoice> ask(const std::string& file) = 0;
};

// The "Veltrax run" window: shows what the engine writes while it runs, offers Stop (which calls stop),
// and stays open after the run only when asked to.
class RunWindowPort {
 public:
  virtual ~RunWindowPort() = default;
  virtual void open(const std::string& heading, std::function<void()> stop) = 0;
  virtual void append(const std::string& text) = 0;
  virtual void finished(const std::string& closing_line, bool keep_open) = 0;
};

// Facts about the computer, read from the system; the default implementation reads /etc/os-release,
// uname and the online processor count.
struct OsFacts {
  std::string os_release;      // contents of /etc/os-release
  std::string kernel_release;  // uname -r
  std::string machine;         // uname -m
  long processors = 0;         // online processors
  bool ok = true;
  std::string error_text;      // why the facts could not be read
};

class OsFactsPort {
 public:
  virtual ~OsFactsPort() = default;
  virtual OsFacts read() = 0;
};

// Things a window does for the logic while it works: show itself, let pending events run, show the
// busy pointer, change its caption. Logic that has no window uses the do-nothing default.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  virtual void show_window() {}
  virtual void hide_window() {}
  virtual void process_events() {}
  virtual void set_busy(bool) {}
  virtual std::string caption() { return caption_; }
  virtual void set_caption(const std::string& c) { caption_ = c; }
  // Arms the window's one-shot timer, which only lets pending events run when it fires.
  virtual void start_wait_timer(int /*milliseconds*/) {}

 private:
  std::string caption_;
};

// The ports one window's logic is given. Any may be null where that logic does not use it.
struct Ports {
  SettingsStore* settings = nullptr;
  MessageBoxPort* msgbox = nullptr;
  InputBoxPort* inputbox = nullptr;
  FileDialogPort* files = nullptr;
  PrinterListPort* printers = nullptr;
  ClipboardPort* clipboard = nullptr;
  ClockPort* clock = nullptr;
  LauncherPort* launcher = nullptr;
  ProcessPort* process = nullptr;
  OsFactsPort* os = nullptr;
  PrintDialogPort* printdialog = nullptr;
  RunWindowPort* runwindow = nullptr;
  WindowHost* host = nullptr;
};

// The real system's facts (no Qt needed).
class SystemOsFacts : public OsFactsPort {
 public:
  OsFacts read() override;
};

// The system clock.
class SystemClock : public ClockPort {
 public:
  std::chrono::sys_days today() override;
};

}  // namespace quorvel
