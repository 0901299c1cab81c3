// Fuzz harness: the prompt file, read for its texts at start-up and for its menus by the SET file.
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("fuzz.eng", data, size);
  fuzz::run([] {
    PROMPTNAME = "fuzz.eng";
    FETCHPRO(PROMPTNAME);
    FETCHMENUS();
  });
  return 0;
}
