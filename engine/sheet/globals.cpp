// Definitions of the sheet subsystem's shared state.
#include "engine/sheet/globals.h"

std::int32_t SHAREDPAGE = 0;
std::int32_t LEFTEDGE = 0, RIGHTEDGE = 0, SHEETX0 = 0, SHEETX1 = 0, SHEETX2 = 0, TEXTX = 0, SCALEX = 0,
             SCALEXLONG = 0;
double LAYOUTPITCH = 0;
std::int32_t LOGHEADDOTS = 0, LOGHEADROWS = 0;
std::int32_t SCALEDENOM = 0;
std::string SCALEUNIT;
std::int32_t SCALETICK = 0;
double SCALESTEP = 0, UNITSPERLINE = 0, UNITDOTS = 0, DEPTHSPAN = 0;
std::string BREAKCHARS;
std::int32_t FOLDLIMIT = 0;
rt::Array<std::int32_t> GAPWIDTH;
std::int32_t GAPCOUNT = 0;
bool sheet_not_drawn = false;
bool drawing_summary = false;
std::int32_t PAGENO = 0, LOGSUPPRESS1 = 0, LOGSUPPRESS10 = 0, LOGSUPPRESS100 = 0, LABELWIDTH = 0;

void reset_sheet_globals() {
  LEFTEDGE = RIGHTEDGE = SHEETX0 = SHEETX1 = SHEETX2 = TEXTX = SCALEX = SCALEXLONG = 0;
  LAYOUTPITCH = 0;
  LOGHEADDOTS = LOGHEADROWS = 0;
  SCALEDENOM = 0;
  SCALEUNIT.clear();
  SCALETICK = 0;
  SCALESTEP = UNITSPERLINE = UNITDOTS = DEPTHSPAN = 0;
  BREAKCHARS.clear();
  FOLDLIMIT = 0;
  GAPWIDTH.reset();
  GAPCOUNT = 0;
  sheet_not_drawn = false;
  drawing_summary = false;
  PAGENO = LOGSUPPRESS1 = LOGSUPPRESS10 = LOGSUPPRESS100 = LABELWIDTH = 0;
}
