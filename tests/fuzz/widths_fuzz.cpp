// Fuzz harness: a font's width table (metric file, binary or text form) as the SET file's first font
// names it through pdffonts.dat.
#include "engine/frame/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("LJ4/HELVMU.MET", data, size);
  fuzz::run([] {
    OUTDEV = 1;
    FONTDIR = "LJ4";
    FONTSPEC(1) = "/027(10U/027(s1p10v0s0b4148T";
    WIDTHTAB(1);
  });
  fuzz::restore("LJ4/HELVMU.MET");
  return 0;
}
