// The message line: MESSAGE shows a text there, MESSOFF blanks it; show_message puts the messages of
// a run's stages there while a console screen is up.
#include "engine/frame/console.h"

#include <cerrno>

#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"
#include "platform/wholefile.h"

void MESSAGE(const std::string& text, std::int16_t beep) {
  RT_TRAP(trap, "MESSAGE");
  auto& con = platform::console();
  if (beep == 1) con.beep();
  con.locate(STATUSROW - 1, 1);
  // The paths in a message show as the user wrote them (print_text): the line is measured in cells.
  const std::string line = platform::cut_text(text, 78);
  con.color(15, 0);
  con.print_text(line + std::string(78 - platform::text_cells(line), ' '), false);
  con.color(7, 0);
}

void MESSOFF() {
  RT_TRAP(trap, "MESSOFF");
  auto& con = platform::console();
  con.locate(STATUSROW - 1, 1);
  con.print(rt::SPACE(78), false);
}

bool on_console_screen() { return platform::console().interactive() && (RUNFLAGS & 1) == 0; }

void show_message(const std::string& text, std::int16_t beep, const std::vector<std::string>& paths,
                  MessageHold hold) {
  RT_TRAP(trap, "MESSAGE");
  auto& con = platform::console();
  if (!on_console_screen()) {
    if (beep == 1) con.beep();
    con.print(text, true);
    if (hold == MessageHold::kKey) {
      con.flush();
      con.wait_key();
    }
    return;
  }
  const int row = con.cursor_row(), col = con.cursor_col(), fg = con.foreground(), bg = con.background();
  MESSAGE(fit_paths(text, paths, 78), beep);
  con.color(fg, bg);
  con.locate(row, col);
  con.flush();
  if (hold == MessageHold::kKey) con.wait_key();
  else con.pause_ms(1000);
}

void show_fault(const std::string& text, const std::vector<std::string>& paths) {
  show_message(text, 0, paths);
  rt::fault_logged(text);
}

void show_unreadable(const std::string& name, int errno_value) {
  const bool refused = errno_value == EACCES || errno_value == EPERM;
  show_fault(name + " cannot be read (" + platform::failure_reason(errno_value) + ")" +
                 (refused ? ": give read access to it and start the run again." : "."),
             {name});
}
