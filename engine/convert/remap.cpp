// REMAP: the character remap of word-processor text, and the loading of its table "wordpad.dat".
#include <algorithm>

#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"

void REMAP(std::string& text) {
  RT_TRAP(trap, "REMAP");
  trap.step("0001");
  // Every position is judged on the text as it came in, so no character is mapped twice; of two
  // pairs for one character the last wins.
  std::string out = text;
  const size_t pairs = std::min(REMAPFROM.size(), REMAPTO.size());
  for (size_t i = 0; i < pairs; ++i)
    for (size_t k = 0; k < text.size(); ++k)
      if (text[k] == REMAPFROM[i]) out[k] = REMAPTO[i];
  text = std::move(out);
}

void load_remap_table() {
  REMAPFROM.clear();
  REMAPTO.clear();
  if (!rt::file_exists("wordpad.dat")) return;
  const int f = rt::FREEFILE();
  if (!rt::open_file(f, "wordpad.dat", rt::FileMode::Binary)) return;
  rt::engine_file(f);
  const std::string count = rt::get_bytes(f, 1);
  const size_t n = count.empty() ? 0 : static_cast<unsigned char>(count[0]);
  rt::get_bytes(f, 2);
  REMAPFROM = rt::get_bytes(f, n);
  rt::get_bytes(f, 2);
  REMAPTO = rt::get_bytes(f, n);
  rt::close_file(f);
}
