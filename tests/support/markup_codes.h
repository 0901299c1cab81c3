// The one-character mark-up codes of converted text, as the engine's main program sets them at its
// start; for tests and test programs that run parts of the engine without the main program.
#pragma once

#include <string>

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

// text with every byte below 32, "<" and every byte from 127 up written as "<code>".
inline std::string visible_codes(const std::string& text) {
  std::string out;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 32 || c == '<' || c >= 127) out += "<" + std::to_string(c) + ">";
    else out += ch;
  }
  return out;
}
