// Fuzz harness: a SET file, read as the start-up reads the one the last run used (with the prompt file,
// vocabulary and width tables it names, from the engine folder).
#include "engine/frame/globals.h"
#include "engine/setup/setup.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("FUZZ.SET", data, size);
  fuzz::run([] {
    OUTDEV = 1;
    SETUPNAME = "FUZZ.SET";
    GETSETUP();
  });
  return 0;
}
