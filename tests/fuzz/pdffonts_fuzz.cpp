// Fuzz harness: the PDF font table pdffonts.dat, read for the width table of each of the SET file's
// three fonts (PDFEQUIV, then the metric file it names in LJ4) and again for the fonts of a one-page PDF.
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("pdffonts.dat", data, size);
  fuzz::run([] {
    OUTDEV = 1;
    FONTDIR = "LJ4";
    const char* const specs[] = {"/027(10U/027(s1p10v0s0b4148T", "/027(10U/027(s1p10v0s3b4148T",
                                 "/027)10U/027)s1p8v1s0b4148T"};
    for (std::int32_t n = 1; n <= 3; ++n) {
      FONTSPEC(n) = specs[n - 1];
      WIDTHTAB(n);
    }
    PDFFONTCOUNT = 3;
    CURFONT = 1;
    PAPER = "A4";
    PAGEFILE = rt::FREEFILE();
    OPENLEAF("fuzz.pdf");
    NEWSTREA();
    std::string text = "Firm brown CLAY";
    PDFPRINT(100, 100, text);
    CLOSESTR();
    CLOSELEA();
    PAGECOUNT = 1;
    ASSEMBLE();
  });
  fuzz::restore("pdffonts.dat");
  return 0;
}
