// Message box on the console (a framed OK/Cancel question) or standard error (batch), and the process end.
#include "msgbox.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "console.h"

namespace platform {
namespace {
std::function<BoxAnswer(std::string_view)>& box_hook() {
  static std::function<BoxAnswer(std::string_view)> f;
  return f;
}
std::function<void(int)>& end_hook() {
  static std::function<void(int)> f;
  return f;
}
}  // namespace

namespace {

// Splits the text into lines of at most width characters (at "\n", then at blanks where one is near).
std::vector<std::string> box_lines(std::string_view text, size_t width) {
  std::vector<std::string> lines;
  std::string cur;
  auto flush_line = [&] {
    while (cur.size() > width) {
      size_t cut = cur.rfind(' ', width);
      if (cut == std::string::npos || cut < width / 2) cut = width;
      lines.push_back(cur.substr(0, cut));
      cur.erase(0, cut == width ? cut : cut + 1);
    }
    lines.push_back(cur);
    cur.clear();
  };
  for (char ch : text) {
    if (ch == '\r') continue;
    if (ch == '\n') flush_line();
    else cur += ch;
  }
  flush_line();
  return lines;
}

// The question in a framed box over the shown page; the screen comes back as it was afterwards.
// Enter takes the marked button, Tab and the arrow keys move the mark, O and C choose directly, Esc is
// Cancel, and a click on a button (while the mouse is on) chooses it.
BoxAnswer ask_in_box(Console& con, std::string_view text) {
  constexpr std::uint8_t kFrame = 0x1F, kButton = 0x70, kMarked = 0x2F;
  const int old_active = con.active_page();
  con.set_active_page(con.visible_page());
  Console::Snapshot saved = con.snapshot(con.visible_page());

  std::vector<std::string> lines = box_lines(text, 70);
  size_t inner = 30;
  for (const auto& l : lines) inner = std::max(inner, l.size());
  int width = static_cast<int>(inner) + 4;
  int height = static_cast<int>(lines.size()) + 5;
  int top = std::max(1, (con.rows() - height) / 2 + 1);
  int left = (Console::kCols - width) / 2 + 1;
  auto paint = [&](int row, int col, std::uint8_t attr, const std::string& s) {
    con.color(attr & 0x0F, attr >> 4);
    con.locate(row, col);
    con.print(s, false);
  };
  con.cursor(false);
  paint(top, left, kFrame, "\xDA" + std::string(static_cast<size_t>(width - 2), '\xC4') + "\xBF");
  for (int r = 1; r < height - 1; ++r) {
    std::string body(static_cast<size_t>(width - 2), ' ');
    if (r >= 2 && r - 2 < static_cast<int>(lines.size())) body.replace(2, lines[r - 2].size(), lines[r - 2]);
    paint(top + r, left, kFrame, "\xB3" + body + "\xB3");
  }
  paint(top + height - 1, left, kFrame, "\xC0" + std::string(static_cast<size_t>(width - 2), '\xC4') + "\xD9");

  const std::string ok = "   OK   ", cancel = " Cancel ";
  const int brow = top + height - 2;
  const int ok_col = left + width / 2 - static_cast<int>(ok.size()) - 2;
  const int cancel_col = left + width / 2 + 2;
  bool ok_marked = true;
  BoxAnswer answer = BoxAnswer::Cancel;
  for (;;) {
    paint(brow, ok_col, ok_marked ? kMarked : kButton, ok);
    paint(brow, cancel_col, ok_marked ? kButton : kMarked, cancel);
    con.flush();
    std::string k = con.wait_key();
    if (is_mouse_key(k)) {
      int ev = static_cast<unsigned char>(k[2]);
      if ((ev == kMousePress || ev == kMouseDouble) && con.mouse_row() == brow) {
        int c = con.mouse_col();
        if (c >= ok_col && c < ok_col + static_cast<int>(ok.size())) {
          answer = BoxAnswer::Ok;
          break;
        }
        if (c >= cancel_col && c < cancel_col + static_cast<int>(cancel.size())) break;
      }
      continue;
    }
    if (k.size() == 2 && k[0] == '\0') {
      int scan = static_cast<unsigned char>(k[1]);
      if (scan == 75 || scan == 77 || scan == 15) ok_marked = !ok_marked;
      continue;
    }
    if (k.size() != 1) continue;
    char c = k[0];
    if (c == 9) ok_marked = !ok_marked;
    else if (c == 13) {
      answer = ok_marked ? BoxAnswer::Ok : BoxAnswer::Cancel;
      break;
    } else if (c == 'o' || c == 'O') {
      answer = BoxAnswer::Ok;
      break;
    } else if (c == 27 || c == 'c' || c == 'C') {
      break;
    }
  }
  con.restore(saved);
  con.set_active_page(old_active);
  con.flush();
  return answer;
}

}  // namespace

BoxAnswer message_box(std::string_view text) {
  if (box_hook()) return box_hook()(text);
  Console& con = console();
  if (!con.interactive()) {
    std::string shown = cp437_to_utf8(text);
    con.flush();  // what was printed before comes first
    std::fprintf(stderr, "%s\n", shown.c_str());
    std::fflush(stderr);
    return BoxAnswer::Cancel;
  }
  return ask_in_box(con, text);
}

void set_message_box(std::function<BoxAnswer(std::string_view)> handler) { box_hook() = std::move(handler); }

void end_process(int code) {
  if (end_hook()) end_hook()(code);
  std::fflush(nullptr);
  std::exit(code);
}

void set_end_process(std::function<void(int)> handler) { end_hook() = std::move(handler); }

}  // namespace platform
