// SUBSTUTE: the first occurrence of one text in another replaced, in place.
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"

void SUBSTUTE(std::string& text, const std::string& old_text, const std::string& new_text) {
  RT_TRAP(trap, "SUBSTUTE");
  const size_t at = text.find(old_text);
  if (at != std::string::npos) text.replace(at, old_text.size(), new_text);
}
