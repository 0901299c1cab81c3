// PROPRINT: the drawing of the sheet PROFORMA laid out.
//
// STAND-IN until the sheet is drawn: one console line per sheet with the hole, its pages and scale.
#include "engine/convert/globals.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"
#include "engine/sheet/globals.h"
#include "engine/sheet/sheet.h"
#include "platform/console.h"

void PROPRINT() {
  RT_TRAP(trap, "PROPRINT");
  platform::console().print(rt::LEFT(PROFILECODE, 6) + " " + HEADER(20) + ":" +
                                rt::STR(static_cast<std::int64_t>(PAGECOUNT)) + " page(s) at 1:" +
                                rt::STR_TRIM(static_cast<std::int64_t>(SCALEDENOM)) + "; no sheet drawn yet.",
                            true);
}
