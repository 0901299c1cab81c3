// Definitions of the convert subsystem's shared state.
#include "engine/convert/globals.h"

std::string SYMULCHAR, SYMCHAR, BREAKCHAR, HARDSPCHAR, INDONCHAR, INDOFFCHAR, ESCCHAR, FONTSWCHAR, COLUMNCHAR,
    ULWORDCHAR, NOSYMCHAR, STARS;

std::string CONVLINE;
std::int32_t SETCHAN = 0, INCHAN = 0, VOCCHAN = 0, CONVCHAN = 0;
std::int32_t LINECOUNT = 0, INFILELEN = 0, LOOKBACK = 0;

std::int16_t VERBATIM = 0, VERBATIMCOL = 0;
std::int32_t WPMODE = 0;
std::string REMAPFROM, REMAPTO;

std::string CONVWORDS, PAINTWORDS;
std::string PRESWORD, PRESSYMB;
std::string NOTELIST;

std::int16_t BEZIER = 0;
std::int32_t SYMBOLDPI = 0;

void reset_convert_globals() {
  for (std::string* s : {&SYMULCHAR, &SYMCHAR, &BREAKCHAR, &HARDSPCHAR, &INDONCHAR, &INDOFFCHAR, &ESCCHAR,
                         &FONTSWCHAR, &COLUMNCHAR, &ULWORDCHAR, &NOSYMCHAR, &STARS, &CONVLINE, &REMAPFROM,
                         &REMAPTO, &CONVWORDS, &PAINTWORDS, &PRESWORD, &PRESSYMB, &NOTELIST})
    s->clear();
  SETCHAN = INCHAN = VOCCHAN = CONVCHAN = 0;
  LINECOUNT = INFILELEN = LOOKBACK = 0;
  VERBATIM = VERBATIMCOL = 0;
  WPMODE = 0;
  BEZIER = 0;
  SYMBOLDPI = 0;
}
