// REPLAZE: every occurrence of one text replaced by another, in place.
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

void REPLAZE(std::string& text, std::string_view old_text, std::string_view new_text) {
  RT_TRAP(trap, "REPLAZE");
  trap.step("0001");
  if (old_text.empty()) return;
  // Nothing to replace, nothing copied (most texts hold none of the codes replaced in them).
  size_t p = text.find(old_text);
  if (p == std::string::npos) return;
  std::string out;
  size_t start = 0;
  for (; p != std::string::npos; p = text.find(old_text, start)) {
    out.append(text, start, p - start);
    out += new_text;
    start = p + old_text.size();
  }
  out.append(text, start, std::string::npos);
  text = std::move(out);
}
