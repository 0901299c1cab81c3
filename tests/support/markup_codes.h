// The one-character mark-up codes of converted text, as the engine's main program sets them at its
// start; for tests and test programs that run parts of the engine without the main program.
#pragma once

#include "engine/frame/globals.h"

inline void set_markup_codes() {
  SYMULCODE = "\x01";
  CTRL2 = "\x02";
  SYMCODE = "\x03";
  BREAKCODE = "\x04";
  HARDSPCODE = "\x05";
  INDONCODE = "\x06";
  INDOFFCODE = "\x07";
  COLUMNCODE = "\x08";
  FONTSWCODE = "\x13";
  ULWORDCODE = "_";
  NOSYMCODE = "\x17";
  CTRL25 = "\x19";
  LF = "\n";
  CRLF = "\r\n";
}
