// FNUNDERL: underline start marks become underlined words.
//
// Each start mark opens a word that runs to the first blank, force-a-symbol mark, line break, ",", ".",
// ":" or ";" after it, where an end mark is put (or at the end of the text). A mark right after a
// printable character gets a blank before it, so the underlined word stands on its own.
#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "engine/sheet/sheet.h"

void FNUNDERL(std::string& text, std::int32_t& count) {
  RT_TRAP(trap, "FNUNDERL");
  if (SYMULCODE.empty()) return;
  const char symul = SYMULCODE[0];
  REPLAZE(text, FONTSWCODE + SYMULCODE, SYMULCODE + FONTSWCODE);
  REPLAZE(text, SYMULCODE + " ", SYMULCODE);
  const std::string ends = SYMCODE + BREAKCODE + " ,.:;";
  for (size_t p = text.find(symul); p != std::string::npos; p = text.find(symul)) {
    const unsigned char before = p > 0 ? static_cast<unsigned char>(text[p - 1]) : 0;
    if (before >= 33 && before <= 127) {
      text.replace(p, 1, " \n");
      ++p;
    } else {
      text[p] = '\n';
    }
    ++count;
    size_t q = p + 1;
    for (; q < text.size(); ++q) {
      if (text[q] == symul) text[q] = ' ';
      if (ends.find(text[q]) != std::string::npos) break;
    }
    text.insert(q, CTRL2);
  }
  for (char& c : text) {
    if (c == '\n') c = symul;
  }
}
