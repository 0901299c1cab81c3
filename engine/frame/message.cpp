// The message line: MESSAGE shows a text there, MESSOFF blanks it.
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

void MESSAGE(const std::string& text, std::int16_t beep) {
  RT_TRAP(trap, "MESSAGE");
  auto& con = platform::console();
  if (beep == 1) con.beep();
  con.locate(STATUSROW - 1, 1);
  std::string line = rt::LSET(text, 78);
  con.color(15, 0);
  con.print(line, false);
  con.color(7, 0);
}

void MESSOFF() {
  RT_TRAP(trap, "MESSOFF");
  auto& con = platform::console();
  con.locate(STATUSROW - 1, 1);
  con.print(rt::SPACE(78), false);
}
