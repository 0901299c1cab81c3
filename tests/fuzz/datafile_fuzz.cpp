// Fuzz harness: a data file of a "[FILE]" column of the borehole log, read as the log draws it. The
// first byte chooses the device (PDF, HP-GL/2, DXF or the printer) and whether the column draws a curve
// or zones; the rest is the file.
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/globals.h"
#include "engine/log/globals.h"
#include "engine/log/prolog.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/setup/globals.h"
#include "engine/sheet/globals.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::fresh_engine();
  fuzz::write("data.txt", data + 1, size - 1);
  const std::int32_t device = 1 + data[0] % 4;
  const bool curve = (data[0] & 4) != 0;
  fuzz::run([&] {
    fuzz::log_column(device);
    rt::Trap trap("prolog.cpp", "PROLOG");
    LogDraw log(trap);
    log.LEFTX = 1000, log.RIGHTX = 1600;
    ATTRNO = 1, ATTRSTART(1) = 0, ATTRWIDTH(1) = 1;
    ATTRNAME(1) = curve ? "Curve [G=10][FILE][HPGL1200]" : "Zones [G=10][FILE]";
    log.REC = 1;
    log.column_markers();
    log.WORDS = {"", "[5.00]", "data.txt"};
    fuzz::draw(device, [&] { log.DATAFILE(); });
  });
  return 0;
}
