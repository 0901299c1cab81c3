// The engine on a real terminal (a tmux pane of 80 x 25): the start screen, keys and mouse clicks
// reaching the engine, and the terminal put back at the end. Skipped when tmux is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include "testsupport.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

std::string find_program(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  std::string d;
  while (std::getline(dirs, d, ':'))
    if (!d.empty() && access((fs::path(d) / name).c_str(), X_OK) == 0) return (fs::path(d) / name).string();
  return {};
}

// A tmux server of its own, its socket in the test's folder; ended with the test.
class Tmux {
 public:
  explicit Tmux(fs::path cwd) : tmux_(find_program("tmux")), cwd_(std::move(cwd)) {
    socket_ = (cwd_ / "tmux.sock").string();
  }
  ~Tmux() {
    if (!tmux_.empty()) cmd({"kill-server"});
  }
  bool available() const { return !tmux_.empty(); }
  RunResult cmd(std::vector<std::string> args) const {
    args.insert(args.begin(), {tmux_, "-S", socket_});
    return run_program(args, cwd_, 10);
  }
  std::string screen() const { return cmd({"capture-pane", "-p"}).out; }
  // Waits until the screen shows the text; the last screen seen goes into shown.
  bool wait_for(const std::string& text, std::string& shown, int ms = 5000) const {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      shown = screen();
      if (shown.find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }

 private:
  std::string tmux_;
  fs::path cwd_;
  std::string socket_;
};

bool wait_for_file(const fs::path& p, int ms = 5000) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < until) {
    if (fs::exists(p) && !read_file(p).empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// True when stty -a lists the setting switched on ("echo", not "-echo").
bool stty_on(const std::string& stty, const std::string& name) {
  std::stringstream s(stty);
  std::string word;
  while (s >> word) {
    if (!word.empty() && word.back() == ';') word.pop_back();
    if (word == name) return true;
  }
  return false;
}

TEST(EngineTerminal, StartScreenKeysAndMouse) {
  EngineFolder ef;
  Tmux tmux(ef.path());
  if (!tmux.available()) GTEST_SKIP() << "tmux is not installed";
  // After the engine: its exit code and the terminal settings it left behind.
  RunResult r = tmux.cmd({"new-session", "-d", "-x", "80", "-y", "25", "-c", ef.path().string(),
                          "./profile; echo $? > rc.txt; stty -a > stty.txt"});
  ASSERT_EQ(r.exit_code, 0) << r.err;

  // A data file the folder lacks (the engine says "File not found" and waits for a key) is answered.
  std::string shown;
  for (int answered = 0; !tmux.wait_for("Version 7022", shown, 1000) && answered < 5; ++answered) {
    ASSERT_NE(shown.find("File not found : "), std::string::npos) << shown;
    tmux.cmd({"send-keys", "Space"});
  }
  ASSERT_NE(shown.find("Version 7022"), std::string::npos) << shown;
  std::vector<std::string> rows;
  std::stringstream lines(shown);
  for (std::string l; std::getline(lines, l);) rows.push_back(l);
  ASSERT_GE(rows.size(), 6u);
  EXPECT_EQ(rows[1], std::string(31, ' ') + "V e l t r a x") << shown;
  EXPECT_EQ(rows[5], std::string(32, ' ') + "Version 7022") << shown;

  struct Input {
    std::vector<std::string> send;  // send-keys arguments
    std::string shows;               // what the engine reports on the message line
  } inputs[] = {
      {{"F1"}, "key: 0 59"},
      {{"Down"}, "key: 0 80"},
      {{"-l", "\x1b[<0;10;5M\x1b[<0;10;5m"}, "mouse: event 4, button 1, row 5, column 10"},
      {{"-l", "\x1b[<2;30;8M\x1b[<2;30;8m\x1b[<2;30;8M\x1b[<2;30;8m"}, "mouse: event 2, button 2, row 8, column 30"},
      {{"Enter"}, "key: 13"},
  };
  for (const auto& in : inputs) {
    std::vector<std::string> args{"send-keys"};
    args.insert(args.end(), in.send.begin(), in.send.end());
    tmux.cmd(args);
    EXPECT_TRUE(tmux.wait_for(in.shows, shown)) << in.shows << "\n" << shown;
  }

  tmux.cmd({"send-keys", "Escape"});
  ASSERT_TRUE(wait_for_file(ef.file("stty.txt"))) << tmux.screen();
  EXPECT_EQ(ef.read("rc.txt"), "0\n");
  std::string stty = ef.read("stty.txt");
  EXPECT_TRUE(stty_on(stty, "echo")) << stty;
  EXPECT_TRUE(stty_on(stty, "icanon")) << stty;
  EXPECT_FALSE(ef.exists("ERROR.LOG")) << ef.read("ERROR.LOG");
}

}  // namespace
