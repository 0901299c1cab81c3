// Main menu and run control.
#include "engine/frame/console.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/command.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "platform/console.h"

namespace {

// An input event in words, for the stand-in below.
std::string describe(const std::string& k, const platform::Console& con) {
  if (platform::is_mouse_key(k))
    return "mouse: event " + rt::STR_TRIM(static_cast<unsigned char>(k[2])) + ", button " +
           rt::STR_TRIM(static_cast<unsigned char>(k[3])) + ", row " + rt::STR_TRIM(con.mouse_row()) + ", column " +
           rt::STR_TRIM(con.mouse_col());
  std::string s = "key:";
  for (char c : k) s += " " + rt::STR_TRIM(static_cast<unsigned char>(c));
  if (k.size() == 1 && static_cast<unsigned char>(k[0]) >= 32) s += " (" + k + ")";
  return s;
}

}  // namespace

// STAND-IN until the main menu is built: the run settings of the command tail are read; then, on a
// terminal and without a one-shot run, it shows each key and mouse event it receives on the message
// line, until Esc. Without a terminal it ends at once.
void PROMENU() {
  RT_TRAP(trap, "PROMENU");
  std::string cmd = rt::COMMAND();
  if (!cmd.empty()) READRUNS(cmd);
  auto& con = platform::console();
  if (!con.interactive() || (RUNFLAGS & 1)) return;
  SETCOLOR(1);
  ROWCENTR(19, "Main menu not built yet: press keys or click; Esc ends");
  con.mouse_on(platform::kMouseLeft | platform::kMouseRight, platform::kMousePress | platform::kMouseDouble);
  for (;;) {
    std::string k = con.wait_key();
    MESSAGE(describe(k, con), 0);
    if (k == platform::kKeyEsc) break;
  }
  con.cls();
}
