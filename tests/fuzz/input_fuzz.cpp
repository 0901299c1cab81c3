// Fuzz harness: an input text of trial pits and boreholes, in a one-shot run on each device in turn
// (PDF, HP-GL/2, DXF, the printer): converted, laid out and drawn, so that a value that does harm only
// when a sheet or log is drawn is found too.
#include <filesystem>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const char* device : fuzz::kDevices) {
    fuzz::fresh_engine();
    fuzz::write("fuzz.txt", data, size);
    fuzz::one_shot("fuzz.txt", device);
  }
  // The coded hole files of this input, so that the folder does not fill up.
  for (const auto& e : std::filesystem::directory_iterator("."))
    if (e.path().extension() == ".TRX") std::filesystem::remove(e.path());
  return 0;
}
