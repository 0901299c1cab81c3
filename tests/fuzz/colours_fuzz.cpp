// Fuzz harness: the colour file procolor.cus, read at every start.
#include "engine/frame/frame.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("procolor.cus", data, size);
  fuzz::run([] { FETCHCOL("procolor.cus"); });
  return 0;
}
