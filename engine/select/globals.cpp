// Definitions of the select subsystem's shared state.
#include "engine/select/globals.h"

std::int32_t ATTRCOUNT = 0;
std::string TEXTRGB;
std::int16_t LOGOFAIL = 0;
std::int32_t SCALEDIV = 0;
std::string RGBLIST;
std::int32_t PICKGRIDROW = 0, PICKGRIDCOL = 0, PICKCOLW = 0, PICKCOLX = 0;
std::string HOLECATALOG, CATALOGMARK, HOLELIST, INFILE;
std::int32_t DSAMPCOUNT = 0, NOTECOUNT = 0, LAYERCOUNT = 0, NOTECOLUMNS = 0, DONECOUNT = 0;
std::string MARKCHARS;

void reset_select_globals() {
  ATTRCOUNT = 0;
  TEXTRGB.clear();
  LOGOFAIL = 0;
  SCALEDIV = 0;
  RGBLIST.clear();
  PICKGRIDROW = PICKGRIDCOL = PICKCOLW = PICKCOLX = 0;
  HOLECATALOG.clear();
  CATALOGMARK.clear();
  HOLELIST.clear();
  INFILE.clear();
  DSAMPCOUNT = NOTECOUNT = LAYERCOUNT = NOTECOLUMNS = DONECOUNT = 0;
  MARKCHARS.clear();
}
