// Fuzz harness: a tube include of the borehole log: a record "[D tube.inc]" whose file's lines join
// the record text and are scanned for hatches, shades, tubes and further includes, on the device the
// first byte chooses (PDF, HP-GL/2, DXF or the printer); the rest is the file.
#include "engine/frame/globals.h"
#include "engine/log/globals.h"
#include "engine/log/prolog.h"
#include "engine/sheet/globals.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::fresh_engine();
  fuzz::write("tube.inc", data + 1, size - 1);
  const std::int32_t device = 1 + data[0] % 4;
  fuzz::run([&] {
    fuzz::log_column(device);
    rt::Trap trap("prolog.cpp", "PROLOG");
    LogDraw log(trap);
    log.LEFTX = 1000, log.RIGHTX = 1600, log.TUBEEND = 0;
    ZONETOP = 1.0, ZONEBOTTOM = 2.0;
    log.RECTEXT = "[2.00] casing [D tube.inc]";
    fuzz::draw(device, [&] { log.XHATCH(); });
  });
  return 0;
}
