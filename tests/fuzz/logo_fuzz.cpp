// Fuzz harness: the logo's PDF file, imported into a one-page document.
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("LOGO0.PDF", data, size);
  fuzz::run([] {
    fuzz::pdf_fonts();
    LOGOMACRO = "LOGO0";
    PAGEFILE = rt::FREEFILE();
    OPENLEAF("fuzz.pdf");
    PDFLOGO();
    NEWSTREA();
    PDFMOVE(0, 0);
    CLOSESTR();
    CLOSELEA();
    PAGECOUNT = 1;
    ASSEMBLE();
  });
  fuzz::restore("LOGO0.PDF");
  return 0;
}
