// Fuzz harness: a vocabulary file (words, abbreviations, keywords, the name of the symbol library).
#include "engine/setup/setup.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("FUZZVOC.ENG", data, size);
  fuzz::run([] { READVOCB("FUZZVOC.ENG"); });
  return 0;
}
