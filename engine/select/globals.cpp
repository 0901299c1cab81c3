// Definitions of the select subsystem's shared state.
#include "engine/select/globals.h"

std::int32_t SCALEDIV = 0;
std::string RGBLIST;
std::string HOLECATALOG, CATALOGMARK, HOLELIST, INFILE;
std::int32_t DSAMPCOUNT = 0, NOTECOUNT = 0, LAYERCOUNT = 0, NOTECOLUMNS = 0, DONECOUNT = 0;
std::string MARKCHARS;
std::string hole_file_code;
std::string TYPEDTEXT;
std::int16_t TYPEDCOL = 0;

void reset_select_globals() {
  SCALEDIV = 0;
  RGBLIST.clear();
  HOLECATALOG.clear();
  CATALOGMARK.clear();
  HOLELIST.clear();
  INFILE.clear();
  DSAMPCOUNT = NOTECOUNT = LAYERCOUNT = NOTECOLUMNS = DONECOUNT = 0;
  MARKCHARS.clear();
  hole_file_code.clear();
  TYPEDTEXT.clear();
  TYPEDCOL = 0;
}
