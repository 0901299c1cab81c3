// Fuzz harness: the symbol library's name list, read when the shipped vocabulary names the library.
#include "engine/setup/setup.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("PROLIB.DAT", data, size);
  fuzz::run([] { READVOCB("PROVOCAB.ENG"); });
  fuzz::restore("PROLIB.DAT");
  return 0;
}
