// REPLAZE: every occurrence of one text replaced by another, in place.
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

void REPLAZE(std::string& text, const std::string& old_text, const std::string& new_text) {
  RT_TRAP(trap, "REPLAZE");
  trap.step("0001");
  if (old_text.empty()) return;
  std::string out;
  size_t start = 0;
  for (size_t p = text.find(old_text); p != std::string::npos; p = text.find(old_text, start)) {
    out.append(text, start, p - start);
    out += new_text;
    start = p + old_text.size();
  }
  if (start == 0) return;
  out.append(text, start, std::string::npos);
  text = std::move(out);
}
