// PROFORMA: the layout of one hole's sheet (or the summary sheet) from the sheet data the coder left.
//
// STAND-IN until the sheet layout is built: one console line per call, with the hole code, the hole
// name, its layers and attributes, and "no sheet drawn yet". The sheet layout replaces it.
#include "engine/convert/globals.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/select/globals.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

void PROFORMA() {
  RT_TRAP(trap, "PROFORMA");
  const std::string line = rt::LEFT(PROFILECODE, 6) + " " + HEADER(20) + ":" +
                           rt::STR(static_cast<std::int64_t>(LAYERCOUNT)) + " layers," +
                           rt::STR(static_cast<std::int64_t>(ATTRCOUNT)) + " attributes; no sheet drawn yet.";
  platform::console().print(line, true);
}
