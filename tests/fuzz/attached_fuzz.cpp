// Fuzz harness: the text file attached to a hole, made a PDF of its own as the end of a plot makes it.
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/proprint.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("notes.txt", data, size);
  fuzz::run([] {
    fuzz::log_column(1);
    LOGOFAIL = -1;
    PDFBYTES = 0, ATTRCOUNT = 0;
    TEXT2PDF(".", "notes.txt");
  });
  return 0;
}
