// The engine's main program.
#include "engine/frame/console.h"
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/run/run.h"
#include "engine/runtime/error.h"
#include "platform/console.h"

void PBMAIN() {
  RT_TRAP(trap, "PBMAIN");
  VERSION = "7022";
  // The text after an error is prompt 110, once the prompt texts exist.
  rt::set_error_prompt([] { return PROMPT.in_bounds(110) ? PROMPT(110) : std::string(); });
  // A file that cannot be written is said on the message line while a screen is up, as every message
  // of a run's stages (a line of its own otherwise).
  rt::set_fault_display(
      [](const std::string& text, const std::vector<std::string>& paths) { show_message(text, 0, paths); });

  trap.step("0001");
  STATUSROW = platform::console().rows();
  trap.step("0002");
  CONROWS = STATUSROW;
  SYMULCODE = std::string(1, '\x01');
  CTRL2 = std::string(1, '\x02');
  SYMCODE = std::string(1, '\x03');
  BREAKCODE = std::string(1, '\x04');
  HARDSPCODE = std::string(1, '\x05');
  INDONCODE = std::string(1, '\x06');
  INDOFFCODE = std::string(1, '\x07');
  COLUMNCODE = std::string(1, '\x08');
  FONTSWCODE = std::string(1, '\x13');
  ULWORDCODE = "_";
  NOSYMCODE = std::string(1, '\x17');
  CTRL25 = std::string(1, '\x19');
  LF = "\n";
  CRLF = "\r\n";
  trap.step("0003");
  PROCOM();
  trap.step("0004");
  PRODIM();
  trap.step("0005");
  STARTUP();
  trap.step("0006");
  PROMENU();
}
