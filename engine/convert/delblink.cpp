// DELBLINK: the blanks of the name parts of "name = value." entries removed, as the paint library's
// lines are read. A segment runs from the start of the text, or from the "." that ends a value, up to
// the next "="; its blanks go. Text between an "=" and the "." after it (a value) is never changed.
#include "engine/convert/convert.h"
#include "engine/runtime/error.h"

void DELBLINK(std::string& text) {
  RT_TRAP(trap, "DELBLINK");
  size_t start = 0;
  while (true) {
    const size_t eq = text.find('=', start);
    if (eq == std::string::npos) return;  // no "=" follows: the pass ends
    std::string name = text.substr(start, eq - start);
    std::erase(name, ' ');
    text.replace(start, eq - start, name);
    const size_t after = start + name.size() + 1;  // just past the "="
    const size_t dot = text.find('.', after);
    if (dot == std::string::npos) return;  // the last value has no "." after it: nothing more to do
    start = dot;
  }
}
