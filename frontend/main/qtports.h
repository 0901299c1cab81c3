// Qt implementations of the front end's ports (frontend/core/ports.h).
//
// Text crosses between Qt and the logic as UTF-8 bytes (file names on this system are bytes; the
// front end's own texts are ASCII).
#pragma once

#include <QComboBox>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "frontend/core/modgeneral.h"
#include "frontend/core/ports.h"

namespace quorvel {

inline QString qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string ss(const QString& s) { return s.toUtf8().toStdString(); }

// A caption without its access-key marks ("&&" stays one "&"), trimmed: the accessible name of the box
// a label names.
QString PlainCaption(const QString& caption);
// Shows a list of the logic in a combo box: its items, the current item (by index, or by its text when
// the index is -1) and, for an editable box, the typed text. Changes only what differs.
void ShowList(QComboBox* box, const ListState& list);

// QSettings in INI format: $XDG_CONFIG_HOME/quorvel/quorvel.ini, one group per section.
class QtSettingsStore : public SettingsStore {
 public:
  std::string get(const std::string& section, const std::string& key, const std::string& fallback = "") override;
  bool contains(const std::string& section, const std::string& key) override;
  void set(const std::string& section, const std::string& key, const std::string& value) override;
  void remove(const std::string& section, const std::string& key) override;
};

// Dialogs stand over a parent window, set once the window exists.
class QtDialogParent {
 public:
  void set_parent(QWidget* w) { parent_ = w; }

 protected:
  QWidget* parent() const { return parent_; }

 private:
  QPointer<QWidget> parent_;
};

class QtMessageBox : public MessageBoxPort, public QtDialogParent {
 public:
  Answer show(const Message& m) override;
};

class QtInputBox : public InputBoxPort, public QtDialogParent {
 public:
  std::optional<std::string> ask(const std::string& prompt, const std::string& title,
                                 const std::string& default_text) override;
};

class QtFileDialog : public FileDialogPort, public QtDialogParent {
 public:
  std::optional<std::string> choose(const FileDialogRequest& r) override;
};

class QtPrinterList : public PrinterListPort {
 public:
  std::vector<std::string> printers() override;
};

class QtClipboard : public ClipboardPort {
 public:
  std::string text() override;
  void set_text(const std::string& t) override;
};

// Starts helper programs with QProcess, never through a shell.
class QtLauncher : public LauncherPort {
 public:
  void start(const std::vector<std::string>& argv, const std::string& folder,
             std::function<void(const ProgramEnd&)> done) override;
  bool available(const std::string& program) override;
};

// The engine process with QProcess: output as it comes, the end through the finished signal.
class QtProcess : public ProcessPort {
 public:
  ~QtProcess() override;
  void start(const std::vector<std::string>& argv, const std::string& folder, Callbacks cb) override;
  bool running() override;
  void stop() override;

 private:
  QPointer<QProcess> process_;
};

// The print dialog of Qt print support: printer, copies, pages.
class QtPrintDialog : public PrintDialogPort, public QtDialogParent {
 public:
  std::optional<PrintChoice> ask(const std::string& file) override;
};

// A window as the logic's host: show, hide, events, busy pointer, caption.
class QtWindowHost : public WindowHost {
 public:
  explicit QtWindowHost(QWidget* w) : window_(w) {}
  ~QtWindowHost() override;
  void show_window() override;
  void hide_window() override;
  void process_events() override;
  void set_busy(bool busy) override;
  std::string caption() override;
  void set_caption(const std::string& c) override;
  void start_wait_timer(int milliseconds) override;
  // Called before the window is shown (a window places itself there).
  std::function<void()> before_show;
  // The caption ends in the window-modified mark "[*]" (shown as "*" while the window's text is changed).
  bool modified_mark = false;

 private:
  QPointer<QWidget> window_;
  bool busy_ = false;
};

// The set of Qt ports a program uses; the windows take Ports from here.
class QtPorts {
 public:
  QtPorts();
  Ports ports();
  void set_parent(QWidget* w);

  QtSettingsStore settings;
  QtMessageBox msgbox;
  QtInputBox inputbox;
  QtFileDialog files;
  QtPrinterList printers;
  QtClipboard clipboard;
  SystemClock clock;
  QtLauncher launcher;
  SystemOsFacts os;
  QtProcess process;
  QtPrintDialog printdialog;
};

// True when a top-level window of that object name (case-sensitive) exists.
bool IsFormLoaded(const std::string& name);

}  // namespace quorvel
