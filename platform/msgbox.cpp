// Message box on the console (terminal) or standard error (batch), and the process end.
#include "msgbox.h"

#include <cstdio>
#include <cstdlib>

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

BoxAnswer message_box(std::string_view text) {
  if (box_hook()) return box_hook()(text);
  Console& con = console();
  std::string shown = cp437_to_utf8(text);
  if (!con.interactive()) {
    std::fprintf(stderr, "%s\n", shown.c_str());
    std::fflush(stderr);
    return BoxAnswer::Cancel;
  }
  // On a terminal: show the text on the console and ask; Enter or O is OK, Esc or C is Cancel.
  con.print("", true);
  std::string line;
  for (char ch : text) {
    if (ch == '\n' || ch == '\r') {
      if (ch == '\n') {
        con.print(line, true);
        line.clear();
      }
    } else {
      line += ch;
    }
  }
  if (!line.empty()) con.print(line, true);
  con.print("[O]K / [C]ancel ? ", false);
  con.flush();
  for (;;) {
    std::string k = con.wait_key();
    if (k.size() != 1) continue;
    char c = k[0];
    if (c == 13 || c == 'o' || c == 'O') return BoxAnswer::Ok;
    if (c == 27 || c == 'c' || c == 'C') return BoxAnswer::Cancel;
  }
}

void set_message_box(std::function<BoxAnswer(std::string_view)> handler) { box_hook() = std::move(handler); }

void end_process(int code) {
  if (end_hook()) end_hook()(code);
  std::fflush(nullptr);
  std::exit(code);
}

void set_end_process(std::function<void(int)> handler) { end_hook() = std::move(handler); }

}  // namespace platform
