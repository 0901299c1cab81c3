// Fuzz harness: the front end's run file, named on the command line with "@".
#include "engine/frame/frame.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("@runfile.dat", data, size);
  fuzz::run([] {
    std::string cmd = "@runfile.dat";
    READRUNS(cmd);
  });
  return 0;
}
