// Fuzz harness: an input text of trial pits and boreholes, converted as a one-shot run converts it.
#include <filesystem>

#include "engine/convert/convert.h"
#include "engine/frame/globals.h"
#include "engine/setup/setup.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("fuzz.txt", data, size);
  fuzz::run([] {
    OUTDEV = 1;
    SETUPNAME = "STANDARD.SET";
    GETSETUP();
    RUNFLAGS = 1;
    SOURCENAME = "fuzz.txt";
    PROCONV();
  });
  // The coded hole files of this input, so that the folder does not fill up.
  for (const auto& e : std::filesystem::directory_iterator("."))
    if (e.path().extension() == ".TRX") std::filesystem::remove(e.path());
  return 0;
}
