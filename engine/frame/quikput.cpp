// QUIKPUT: a one-key question.
#include "engine/frame/console.h"
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "platform/console.h"

void QUIKPUT(std::int16_t row, std::int16_t col, const std::string& question, std::string& answer,
             const std::string& hint) {
  RT_TRAP(trap, "QUIKPUT");
  auto& con = platform::console();
  con.locate(row, col);
  SETCOLOR(1);
  con.print(rt::SPACE(78 - col), false);
  // GCC 12 at -O2 inlines this one-character assignment and then reports an overlap (-Wrestrict) inside
  // the standard library's string code that cannot happen: a known false positive of that compiler.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
  answer = "?";
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
  con.locate(row, col);
  SETCOLOR(2);
  con.print(question, false);
  SETCOLOR(4);
  con.print(answer, false);
  SETCOLOR(2);
  con.print("<" + hint, false);
  // The question once more, so that the cursor stands on the "?".
  con.locate(row, col);
  con.print(question, false);
  std::string key = con.wait_key();
  // An extended key answers with its scan code alone.
  answer = key.size() == 2 ? rt::RIGHT(key, 1) : key;
  con.locate(row, col);
  SETCOLOR(1);
  con.print(rt::SPACE(78 - col), false);
}
