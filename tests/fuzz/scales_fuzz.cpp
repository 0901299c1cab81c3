// Fuzz harness: the scales file scales.MET, read as the layout chooses the scale of a hole 7.5 m deep
// (a sheet of fixed-pitch fonts, as the layout tests draw it; the drawing itself is left out).
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/select/globals.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::fresh_engine();
  fuzz::write("scales.MET", data, size);
  fuzz::run([] {
    fuzz::fixed_pitch_sheet();
    sheet_hand_over().proprint = [] {};
    PIOPEN("Dwork.1", WORKFIRST + DWORKBASE);
    PIINIT(WORKFIRST + DWORKBASE);
    std::string layer = "[2.5] Firm brown CLAY.";
    PIWRITE(layer, 1, WORKFIRST + DWORKBASE);
    layer = "[7.5] Dense SAND.";
    PIWRITE(layer, 2, WORKFIRST + DWORKBASE);
    LAYERCOUNT = 2;
    PROFORMA();
  });
  sheet_hand_over() = SheetHandOver{};
  fuzz::restore("scales.MET");
  return 0;
}
