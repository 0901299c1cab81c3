// Fuzz harness: the scales file scales.MET, in a one-shot run on each device in turn (PDF, HP-GL/2, DXF,
// the printer) of two holes, 7.5 m and 60 m deep: the scale of each is chosen from the file, and its
// sheet and log are drawn with the scale's ticks, so that a record that does harm only when drawn is
// found too.
#include <cstring>
#include <filesystem>

#include "fuzz_support.h"

namespace {

const char kHoles[] =
    "Job Number : J-56\r\nHole Number : BH1\r\n/\r\n2.50  Firm brown CLAY.\r\n7.50  Dense SAND.\r\n/\r\n"
    "ATTRIBUTE: SPT N [GRAPH 50]\r\n 1.00: 12\r\n 5.00: 31\r\n//\r\n"
    "Hole Number : BH2\r\n/\r\n1.20  Made ground.\r\n60.00  Stiff grey CLAY.\r\n/\r\n//\r\n///\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const char* device : fuzz::kDevices) {
    fuzz::fresh_engine();
    fuzz::write("holes.txt", reinterpret_cast<const std::uint8_t*>(kHoles), std::strlen(kHoles));
    fuzz::write("scales.MET", data, size);
    fuzz::one_shot("holes.txt", device);
  }
  fuzz::restore("scales.MET");
  for (const auto& e : std::filesystem::directory_iterator("."))
    if (e.path().extension() == ".TRX") std::filesystem::remove(e.path());
  return 0;
}
