// Fakes of the front end's ports for tests: they record what the logic asked and answer from a script.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frontend/core/ports.h"

namespace quorvel::fakes {

// Settings kept in memory.
class MemorySettings : public SettingsStore {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::string get(const std::string& section, const std::string& key, const std::string& fallback = "") override {
    auto it = values.find({section, key});
    return it == values.end() ? fallback : it->second;
  }
  bool contains(const std::string& section, const std::string& key) override { return values.count({section, key}) > 0; }
  void set(const std::string& section, const std::string& key, const std::string& value) override {
    values[{section, key}] = value;
  }
  void remove(const std::string& section, const std::string& key) override { values.erase({section, key}); }
};

// Answers message boxes from a queue; with the queue empty, the closing answer (Cancel, or No for a
// Yes/No box). Every box shown is kept.
class ScriptedMessageBox : public MessageBoxPort {
 public:
  std::vector<Message> shown;
  std::deque<Answer> answers;
  Answer show(const Message& m) override {
    shown.push_back(m);
    if (!answers.empty()) {
      Answer a = answers.front();
      answers.pop_front();
      return a;
    }
    if (m.buttons == Buttons::Ok) return Answer::Ok;
    if (m.buttons == Buttons::AbortRetryIgnore) return Answer::Abort;
    return m.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (const Message& m : shown) t.push_back(m.title);
    return t;
  }
};

class ScriptedInputBox : public InputBoxPort {
 public:
  std::deque<std::optional<std::string>> answers;
  std::vector<std::string> prompts;
  std::optional<std::string> ask(const std::string& prompt, const std::string&, const std::string&) override {
    prompts.push_back(prompt);
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

// Answers file dialogs from a queue (empty queue or nullopt: cancelled) and keeps the requests.
class ScriptedFileDialog : public FileDialogPort {
 public:
  std::deque<std::optional<std::string>> answers;
  std::vector<FileDialogRequest> requests;
  std::optional<std::string> choose(const FileDialogRequest& r) override {
    requests.push_back(r);
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

class FixedPrinters : public PrinterListPort {
 public:
  std::vector<std::string> names;
  int calls = 0;
  std::vector<std::string> printers() override {
    ++calls;
    return names;
  }
};

class FixedClock : public ClockPort {
 public:
  std::chrono::sys_days day{std::chrono::year(2026) / 12 / 10};
  std::chrono::sys_days today() override { return day; }
};

class FixedOs : public OsFactsPort {
 public:
  OsFacts facts;
  OsFacts read() override { return facts; }
};

class MemoryClipboard : public ClipboardPort {
 public:
  std::string value;
  std::string text() override { return value; }
  void set_text(const std::string& t) override { value = t; }
};

// Records started programs; each ends at once with the scripted end (default: exit code 0).
class RecordingLauncher : public LauncherPort {
 public:
  struct Start {
    std::vector<std::string> argv;
    std::string folder;
  };
  std::vector<Start> started;
  std::deque<ProgramEnd> ends;
  std::vector<std::string> installed;  // programs that available() finds
  void start(const std::vector<std::string>& argv, const std::string& folder,
             std::function<void(const ProgramEnd&)> done) override {
    started.push_back({argv, folder});
    ProgramEnd e;
    if (!ends.empty()) {
      e = ends.front();
      ends.pop_front();
    }
    if (done) done(e);
  }
  bool available(const std::string& program) override {
    for (const std::string& p : installed)
      if (p == program) return true;
    return false;
  }
};

}  // namespace quorvel::fakes
