// Fuzz harness: a PDF file merged into combined.pdf (twice, as two documents of one run).
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/sheet/globals.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("fuzz.pdf", data, size);
  fuzz::run([] {
    OUTDIR = ".";
    RUNFLAGS = 0x81;
    OUTLIST = "|fuzz.pdf|fuzz.pdf";
    RESULTNAME.clear();
    COMBINE();
  });
  return 0;
}
