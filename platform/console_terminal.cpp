// The console on a terminal: raw mode, alternate screen, ANSI colours, decoded keys and mouse.
#include "console_terminal.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "clock.h"

namespace platform {
namespace {

// What puts the terminal back; kept where a signal handler can reach it without allocating.
constexpr char kLeaveSequence[] =
    "\x1b[0m\x1b[?1003l\x1b[?1002l\x1b[?1000l\x1b[?1006l\x1b[?7h\x1b[0 q\x1b[?25h\x1b[?1049l";

struct SavedTerminal {
  volatile sig_atomic_t active = 0;
  int in_fd = 0, out_fd = 1;
  termios attrs{};
};
SavedTerminal g_saved;
// Set when the window changed size: the terminal may have reflowed or cleared what it showed.
volatile sig_atomic_t g_resized = 0;
struct sigaction g_old_winch;

void on_resize(int) { g_resized = 1; }

const int kFatalSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};
struct sigaction g_old_actions[std::size(kFatalSignals)];

void put_back_terminal() {
  if (!g_saved.active) return;
  g_saved.active = 0;
  ssize_t ignored = write(g_saved.out_fd, kLeaveSequence, sizeof kLeaveSequence - 1);
  (void)ignored;
  tcsetattr(g_saved.in_fd, TCSANOW, &g_saved.attrs);
}

void on_fatal_signal(int sig) {
  put_back_terminal();
  signal(sig, SIG_DFL);
  raise(sig);
}

void at_exit_put_back() { put_back_terminal(); }

std::int64_t steady_ms() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// PC console colour (blue bit 1, green 2, red 4, bright 8) to the ANSI colour index (red 1, green 2,
// blue 4).
int ansi_index(int c) { return ((c & 1) << 2) | (c & 2) | ((c & 4) >> 2); }

}  // namespace

std::string TerminalConsole::sgr(std::uint8_t attr) {
  int fg = attr & 0x0F, bg = (attr >> 4) & 0x0F;
  return "\x1b[0;" + std::to_string((fg & 8 ? 90 : 30) + ansi_index(fg)) + ";" +
         std::to_string((bg & 8 ? 100 : 40) + ansi_index(bg)) + "m";
}

std::unique_ptr<TerminalConsole> TerminalConsole::open(int in_fd, int out_fd) {
  termios saved{};
  if (!isatty(in_fd) || !isatty(out_fd) || tcgetattr(in_fd, &saved) != 0) return nullptr;
  winsize ws{};
  int rows = kLeastRows, cols = 80;
  if (ioctl(out_fd, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0) {
    rows = ws.ws_row;
    if (ws.ws_col > 0) cols = ws.ws_col;
  }
  // The screens take 25 rows at least: a smaller window is asked to grow until it has them (render).
  return std::unique_ptr<TerminalConsole>(
      new TerminalConsole(in_fd, out_fd, std::max(rows, kLeastRows), cols, saved));
}

TerminalConsole::TerminalConsole(int in_fd, int out_fd, int rows, int cols, const termios& saved)
    : Console(rows), in_fd_(in_fd), out_fd_(out_fd), term_rows_(rows), term_cols_(cols), saved_(saved) {
  winsize ws{};
  if (ioctl(out_fd_, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0) term_rows_ = ws.ws_row;
  termios raw = saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | IEXTEN);
  raw.c_lflag |= ISIG;  // Ctrl+C ends the program, as on the PC console
  raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
  raw.c_cflag |= CS8;
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  raw.c_cc[VSUSP] = _POSIX_VDISABLE;  // Ctrl+Z is a key (26)
  raw.c_cc[VQUIT] = _POSIX_VDISABLE;  // Ctrl+\ is a key (28)

  g_saved.in_fd = in_fd;
  g_saved.out_fd = out_fd;
  g_saved.attrs = saved;
  g_saved.active = 1;
  static bool exit_hook = false;
  if (!exit_hook) {
    std::atexit(at_exit_put_back);
    exit_hook = true;
  }
  struct sigaction sa{};
  sa.sa_handler = on_fatal_signal;
  sigemptyset(&sa.sa_mask);
  for (size_t i = 0; i < std::size(kFatalSignals); ++i) sigaction(kFatalSignals[i], &sa, &g_old_actions[i]);
  struct sigaction winch{};
  winch.sa_handler = on_resize;
  sigemptyset(&winch.sa_mask);
  sigaction(SIGWINCH, &winch, &g_old_winch);

  tcsetattr(in_fd_, TCSADRAIN, &raw);
  write_out("\x1b[?1049h\x1b[?7l\x1b[0m\x1b[H\x1b[2J");
  shown_.assign(static_cast<size_t>(this->rows()) * kCols, Cell{});
  render();
}

TerminalConsole::~TerminalConsole() { restore_terminal(); }

void TerminalConsole::restore_terminal() {
  if (!active_) return;
  active_ = false;
  put_back_terminal();
  for (size_t i = 0; i < std::size(kFatalSignals); ++i) sigaction(kFatalSignals[i], &g_old_actions[i], nullptr);
  sigaction(SIGWINCH, &g_old_winch, nullptr);
  // Back on the normal screen, which the terminal keeps after the program.
  if (keep_lines_ && keep_decided_ && !lines_.empty()) {
    if (line_open_) end_kept_line();
    write_out(lines_);
  }
  lines_.clear();
}

void TerminalConsole::keep_lines_after_exit(bool keep) {
  keep_lines_ = keep;
  keep_decided_ = true;
  if (!keep) lines_.clear();
}

// The lines as the batch back end writes them: text placed elsewhere on the screen starts a new line.
// Blanks alone clear part of the screen and are no output; blanks at the end of a line are dropped.
void TerminalConsole::on_print(std::string_view text, bool newline) {
  if (keep_lines_ && active_) {
    if (text.find_first_not_of(' ') != std::string_view::npos) {
      lines_ += text_is_utf8_ ? text_to_utf8(text) : cp437_to_utf8(text);
      line_open_ = true;
    }
    if (newline) end_kept_line();
  }
  render();
}

void TerminalConsole::end_kept_line() {
  while (!lines_.empty() && lines_.back() == ' ') lines_.pop_back();
  lines_ += '\n';
  line_open_ = false;
}

void TerminalConsole::on_locate(int, int) {
  if (keep_lines_ && line_open_) end_kept_line();
}

void TerminalConsole::write_out(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(out_fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the terminal is gone; nothing more to show
    done += static_cast<size_t>(n);
  }
}

void TerminalConsole::render() {
  if (!active_ || !g_saved.active) return;  // after the exit hook the terminal is no longer ours
  std::string out;
  if (g_resized) {
    // The model keeps the rows read at start; everything is painted again.
    g_resized = 0;
    winsize ws{};
    if (ioctl(out_fd_, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0) {
      term_rows_ = ws.ws_row;
      term_cols_ = ws.ws_col;
    }
    shown_valid_ = false;
    too_small_ = false;
    out += "\x1b[0m\x1b[2J";
    term_attr_ = term_cursor_row_ = term_cursor_col_ = term_cursor_visible_ = -1;
  }
  if (term_rows_ < rows() || term_cols_ < kCols) {
    // The terminal would put the lower rows onto its last row: say what is needed until it fits.
    if (!too_small_) {
      out += "\x1b[0m\x1b[?25l\x1b[H\x1b[2JPlease enlarge the window to " + std::to_string(kCols) + " x " +
             std::to_string(rows());
      too_small_ = true;
      term_attr_ = term_cursor_row_ = term_cursor_col_ = term_cursor_visible_ = -1;
    }
    write_out(out);
    return;
  }
  const int page = visible_page();
  for (int r = 1; r <= rows(); ++r) {
    for (int c = 1; c <= kCols && c <= term_cols_; ++c) {
      const Cell& want = cell(page, r, c);
      Cell& have = shown_[static_cast<size_t>(r - 1) * kCols + static_cast<size_t>(c - 1)];
      if (shown_valid_ && want == have) continue;
      if (term_cursor_visible_ != 0) {
        out += "\x1b[?25l";  // no cursor flicker while painting
        term_cursor_visible_ = 0;
      }
      if (term_cursor_row_ != r || term_cursor_col_ != c)
        out += "\x1b[" + std::to_string(r) + ";" + std::to_string(c) + "H";
      if (term_attr_ != want.attr) {
        out += sgr(want.attr);
        term_attr_ = want.attr;
      }
      out += cell_glyph(want);
      have = want;
      term_cursor_row_ = r;
      // After the last column the terminal's cursor stays there (no wrap): its column is not known.
      term_cursor_col_ = c < term_cols_ ? c + 1 : -1;
    }
  }
  shown_valid_ = true;

  // The cursor belongs to the page that receives output; it is shown when that page is the shown one.
  bool visible = cursor_visible() && active_page() == visible_page();
  int row = cursor_row(), col = std::min(cursor_col(), std::min(kCols, term_cols_));
  if (visible) {
    int shape = cursor_size() >= 50 ? 2 : 4;  // block, or underline for a thin cursor
    if (shape != term_cursor_shape_) {
      out += "\x1b[" + std::to_string(shape) + " q";
      term_cursor_shape_ = shape;
    }
    if (term_cursor_row_ != row || term_cursor_col_ != col) {
      out += "\x1b[" + std::to_string(row) + ";" + std::to_string(col) + "H";
      term_cursor_row_ = row;
      term_cursor_col_ = col;
    }
    if (term_cursor_visible_ != 1) {
      out += "\x1b[?25h";
      term_cursor_visible_ = 1;
    }
  } else if (term_cursor_visible_ != 0) {
    out += "\x1b[?25l";
    term_cursor_visible_ = 0;
  }
  if (!out.empty()) write_out(out);
}

bool TerminalConsole::read_input(int timeout_ms) {
  if (input_closed_) return false;
  pollfd p{in_fd_, POLLIN, 0};
  int r = poll(&p, 1, timeout_ms);
  if (r < 0) return errno == EINTR;
  if (r == 0) return false;
  char buf[512];
  ssize_t n = read(in_fd_, buf, sizeof buf);
  if (n < 0) {
    if (errno == EINTR || errno == EAGAIN) return true;
    input_closed_ = true;  // the terminal is gone: from now on every key wait answers Esc at once
    return false;
  }
  if (n == 0) {
    input_closed_ = true;
    return false;
  }
  decoder_.feed(std::string_view(buf, static_cast<size_t>(n)), steady_ms());
  return true;
}

bool TerminalConsole::have_event() {
  while (auto e = decoder_.next()) queue_.push_back(std::move(*e));
  return drop_unwanted_mouse(queue_);
}

std::string TerminalConsole::wait_key() {
  render();
  for (;;) {
    if (g_resized) render();
    if (too_small_) {
      // Only the request to enlarge the window shows: keys and clicks would act on a screen no one
      // sees, so they are dropped until the window is large enough again.
      drop_input();
      if (input_closed_) return kKeyEsc;
      read_input(250);  // a resize between the check above and the wait is seen at the next round
      // What came while the request showed is dropped too, also when the window grew meanwhile: it was
      // typed before the screen it would act on was painted again.
      drop_input();
      continue;
    }
    if (have_event()) {
      InputEvent e = std::move(queue_.front());
      queue_.pop_front();
      if (is_mouse_key(e.key)) set_mouse_position(e.row, e.col);
      return e.key;
    }
    if (input_closed_) return kKeyEsc;
    if (g_resized) render();
    // A lone Esc is the Esc key unless the rest of a sequence follows at once.
    bool partial = decoder_.incomplete();
    if (!read_input(partial ? 40 : -1) && partial) decoder_.timeout();
  }
}

bool TerminalConsole::key_pending() {
  render();
  while (read_input(0)) {
  }
  if (too_small_) {
    drop_input();
    return false;
  }
  return have_event() || decoder_.incomplete();
}

void TerminalConsole::drop_input() {
  while (decoder_.next()) {
  }
  queue_.clear();
}

void TerminalConsole::mouse_on(int buttons, int events) {
  Console::mouse_on(buttons, events);
  // Press and release reports in the SGR form; every motion only when moves are wanted.
  write_out(std::string("\x1b[?1000h\x1b[?1006h") + (events & kMouseMove ? "\x1b[?1003h" : "\x1b[?1003l"));
}

void TerminalConsole::mouse_off() {
  Console::mouse_off();
  write_out("\x1b[?1003l\x1b[?1000l\x1b[?1006l");
}

void TerminalConsole::beep() { write_out("\a"); }

void TerminalConsole::pause_ms(int ms) {
  render();
  sleep_ms(ms);
}

}  // namespace platform
