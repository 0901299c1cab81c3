// The terminal console on a pseudo-terminal: what it sends, what it decodes, and that the terminal is
// put back afterwards, also after a fatal signal.
#include "platform/console_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A pseudo-terminal of 25 rows and 80 columns; the test plays the terminal on the master side.
class Pty {
 public:
  Pty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
    winsize ws{};
    ws.ws_row = 25;
    ws.ws_col = 80;
    ioctl(slave_, TIOCSWINSZ, &ws);
  }
  ~Pty() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
  }
  bool ok() const { return master_ >= 0 && slave_ >= 0; }
  int slave() const { return slave_; }
  // Everything the program sent until it stays quiet for a moment.
  std::string drain(int quiet_ms = 100) {
    std::string out;
    char buf[4096];
    pollfd p{master_, POLLIN, 0};
    while (poll(&p, 1, quiet_ms) > 0) {
      ssize_t n = read(master_, buf, sizeof buf);
      if (n <= 0) break;
      out.append(buf, static_cast<size_t>(n));
    }
    return out;
  }
  void type(const std::string& bytes) { ASSERT_EQ(write(master_, bytes.data(), bytes.size()), (ssize_t)bytes.size()); }
  termios attrs() const {
    termios t{};
    tcgetattr(slave_, &t);
    return t;
  }

 private:
  int master_ = -1, slave_ = -1;
};

TEST(TerminalConsoleTest, PaintsDecodesAndPutsTheTerminalBack) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  ASSERT_TRUE(pty.attrs().c_lflag & ECHO);
  {
    auto con = platform::TerminalConsole::open(pty.slave(), pty.slave());
    ASSERT_TRUE(con);
    EXPECT_EQ(con->rows(), 25);
    std::string start = pty.drain();
    EXPECT_NE(start.find("\x1b[?1049h"), std::string::npos);  // alternate screen
    EXPECT_FALSE(pty.attrs().c_lflag & (ECHO | ICANON));

    con->locate(3, 5);
    con->color(12, 1);
    con->print("\xC9\xCD\xBB", false);  // a frame corner and line in CP437
    std::string painted = pty.drain();
    EXPECT_NE(painted.find("\x1b[3;5H"), std::string::npos) << painted;
    EXPECT_NE(painted.find("\x1b[0;91;44m\u2554\u2550\u2557"), std::string::npos) << painted;
    con->locate(3, 5);  // the same cells again: only changed cells are sent
    con->print("\xC9\xCD\xBB", false);
    EXPECT_EQ(pty.drain().find("\u2554"), std::string::npos);

    pty.type("\x1b[A" "x");
    EXPECT_EQ(con->wait_key(), platform::key_scan(72));
    EXPECT_EQ(con->wait_key(), "x");
    pty.type("\x1b");
    EXPECT_EQ(con->wait_key(), "\x1b");  // a lone Esc after a short wait

    pty.type("\x1b[<0;10;5M");  // mouse input is off: not an event
    pty.drain(50);
    EXPECT_FALSE(con->key_pending());
    con->mouse_on(platform::kMouseLeft | platform::kMouseRight, platform::kMousePress | platform::kMouseDouble);
    EXPECT_NE(pty.drain().find("\x1b[?1006h"), std::string::npos);
    pty.type("\x1b[<0;12;6M\x1b[<0;12;6m\x1b[<0;12;6M");
    pty.drain(50);
    EXPECT_TRUE(con->key_pending());
    EXPECT_EQ(con->wait_key(), platform::mouse_key(platform::kMousePress, platform::kMouseLeft));
    EXPECT_EQ(con->mouse_row(), 6);
    EXPECT_EQ(con->mouse_col(), 12);
    EXPECT_EQ(con->wait_key(), platform::mouse_key(platform::kMouseDouble, platform::kMouseLeft));
    EXPECT_FALSE(con->key_pending());
  }
  std::string leave = pty.drain();
  EXPECT_NE(leave.find("\x1b[?1049l"), std::string::npos);
  EXPECT_NE(leave.find("\x1b[?1000l"), std::string::npos);
  EXPECT_TRUE(pty.attrs().c_lflag & ECHO);
  EXPECT_TRUE(pty.attrs().c_lflag & ICANON);
}

TEST(TerminalConsoleTest, FatalSignalPutsTheTerminalBack) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    auto con = platform::TerminalConsole::open(pty.slave(), pty.slave());
    if (!con) _exit(3);
    con->print("busy", false);
    kill(getpid(), SIGTERM);
    _exit(4);
  }
  std::string out = pty.drain(300);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_NE(out.find("\x1b[?1049l"), std::string::npos);
  EXPECT_TRUE(pty.attrs().c_lflag & ECHO);
}

TEST(TerminalConsoleTest, ColourOrder) {
  // The PC console counts blue 1, green 2, red 4; ANSI counts red 1, green 2, blue 4.
  EXPECT_EQ(platform::TerminalConsole::sgr(0x07), "\x1b[0;37;40m");
  EXPECT_EQ(platform::TerminalConsole::sgr(0x3F), "\x1b[0;97;46m");
  EXPECT_EQ(platform::TerminalConsole::sgr(0xE1), "\x1b[0;34;103m");
  EXPECT_EQ(platform::TerminalConsole::sgr(0x4C), "\x1b[0;91;41m");
}

}  // namespace
