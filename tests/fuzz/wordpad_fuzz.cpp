// Fuzz harness: the character remap of word-processor text, wordpad.dat, loaded as the conversion of a
// word-processor file loads it and applied to a line of every character.
#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/runtime/error.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("wordpad.dat", data, size);
  fuzz::run([] {
    RT_TRAP(trap, "PROCONV");
    WPMODE = 1;
    load_remap_table();
    std::string line;
    for (int c = 1; c < 256; ++c) line += static_cast<char>(c);
    REMAP(line);
  });
  fuzz::restore("wordpad.dat");
  return 0;
}
