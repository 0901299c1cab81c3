// Definitions of the sheet subsystem's shared state.
#include "engine/sheet/globals.h"

std::int32_t PAGEFILE = 0;
std::int32_t PAGECOUNT = 0;

rt::Array<std::int32_t> SYMBITS;
std::int32_t RASTEREND = 0;
std::int32_t RASTERY = 0;
std::int32_t RASTERX = 0;
double RASTERSTEP = 0;
std::string SYMFILL;
std::string OUTDIR, OUTLIST;

void reset_sheet_globals() {
  PAGEFILE = 0;
  PAGECOUNT = 0;
  SYMBITS.reset();
  RASTEREND = RASTERY = RASTERX = 0;
  RASTERSTEP = 0;
  SYMFILL.clear();
  OUTDIR.clear();
  OUTLIST.clear();
}
