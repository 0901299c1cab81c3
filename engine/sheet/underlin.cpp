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
  // One pass: each start mark (a blank before it after a printable character), the word after it (a
  // start mark inside it becomes a blank, which ends it) and the end mark after the word. A line feed of
  // the text stands for a start mark afterwards, as the marks did while they were being placed.
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (size_t i = 0; i < text.size();) {
    if (text[i] != symul) {
      out += text[i] == '\n' ? symul : text[i];
      ++i;
      continue;
    }
    const unsigned char before = i > 0 ? static_cast<unsigned char>(text[i - 1]) : 0;
    if (before >= 33 && before <= 127) out += ' ';
    out += symul;
    ++count;
    size_t q = i + 1;
    for (; q < text.size(); ++q) {
      if (text[q] == symul) text[q] = ' ';
      if (ends.find(text[q]) != std::string::npos) break;
      out += text[q] == '\n' ? symul : text[q];
    }
    out += CTRL2;
    i = q;
  }
  text = std::move(out);
}
