// Definitions of the setup subsystem's shared state.
#include "engine/setup/globals.h"

#include "engine/setup/setup.h"

std::string FONTDIR;

std::string VOCABSETNAME;
std::string DATADIR;
std::int32_t SCALEOPT = 0;
std::int32_t A3SHIFT = 0;
std::int32_t PAGEOFFSET = 0;
std::int32_t PAGELENGTH = 0;
std::int32_t PAGELENGTHSET = 0;
std::int32_t ATTRLMARGIN = 0;
std::int32_t ATTRRMARGIN = 0;
std::int32_t PROFLMARGIN = 0;
std::int32_t PROFRMARGIN = 0;
std::int32_t FOOTDOTS = 0;
std::int32_t SUPPRESS = 0;
std::int32_t TITLEOFFSET = 0;
std::int32_t FOOTOFFSET1 = 0;
std::int32_t FOOTOFFSET2 = 0;
std::int32_t INDENT = 0;
std::string LOGOMACRO;
std::int32_t LOGOX = 0;
std::int32_t LOGOY = 0;
std::int32_t COMPRESSSET = 0;
double LINEPITCH = 0;
std::string PRINTERCODES;
std::string LOGOMATRIX;

std::string VOCABNAME;
std::int32_t ABBRCOUNT = 0;
std::string KEYWORDS;
std::string VOCABLIST;
std::string LIBNAME;
std::string LIBRARYLIST;

namespace {
constexpr std::array<std::int32_t, 10> kUnknownCounts{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
}

std::array<std::int32_t, 10> PITEXTCOUNT = kUnknownCounts;
std::array<std::string, 10> PIFAILED;

std::string PAPER;
std::int32_t COMPRESSLOG = 0;
std::int16_t LOGFIRST = 0;

std::int32_t PDFFONTCOUNT = 0;
std::string FONTPDFNAME;
std::string FONTPDFSIZE;
std::string PDFFONTREC;
std::string PDFWIDTHS;

std::string RGBTEXT;
std::int16_t RGBFLAG = 0;

std::vector<std::string> SETUPLINE;
std::int32_t SETLINECOUNT = 0, SETBEGIN1 = 0, SETBEGIN2 = 0, SETNAMELINE = 0, SETCHANGED = 0;
std::string SETREADNAME;
rt::Array<std::int32_t> LAYOUTVAL;
rt::Array<std::string> BARNOTE, LAYOUTNAME, LAYOUTHELP;
std::string SHADE;
std::int32_t LISTMAX = 0, LISTHIT = 0;

rt::Array<std::string> FONTREC, FONTFILES;
std::int32_t FONTRECCOUNT = 0, FONTPICKCOUNT = 0, SETFONT1 = 0, SETFONT2 = 0, SETFONT3 = 0, FONTCUR = 0;
std::int32_t seteditor::CURFONT = 0;
rt::Array<std::int32_t> FONTPICK;
std::string SETFONTNAME1, SETFONTNAME2, SETFONTNAME3, FONTLISTDIR;

std::string CONVWORDS, PAINTWORDS;
std::string PRESWORD, PRESSYMB;

void reset_setup_globals() {
  forget_pdf_fonts();
  FONTREC.reset();
  FONTFILES.reset();
  FONTPICK.reset();
  FONTRECCOUNT = FONTPICKCOUNT = SETFONT1 = SETFONT2 = SETFONT3 = FONTCUR = seteditor::CURFONT = 0;
  SETFONTNAME1.clear();
  SETFONTNAME2.clear();
  SETFONTNAME3.clear();
  FONTLISTDIR.clear();
  SETUPLINE.clear();
  SETLINECOUNT = SETBEGIN1 = SETBEGIN2 = SETNAMELINE = SETCHANGED = 0;
  SETREADNAME.clear();
  LAYOUTVAL.reset();
  BARNOTE.reset();
  LAYOUTNAME.reset();
  LAYOUTHELP.reset();
  SHADE.clear();
  LISTMAX = LISTHIT = 0;
  FONTDIR.clear();
  VOCABSETNAME.clear();
  DATADIR.clear();
  SCALEOPT = A3SHIFT = PAGEOFFSET = PAGELENGTH = PAGELENGTHSET = 0;
  ATTRLMARGIN = ATTRRMARGIN = PROFLMARGIN = PROFRMARGIN = 0;
  FOOTDOTS = SUPPRESS = TITLEOFFSET = FOOTOFFSET1 = FOOTOFFSET2 = INDENT = 0;
  LOGOMACRO.clear();
  LOGOX = LOGOY = 0;
  COMPRESSSET = 0;
  LINEPITCH = 0;
  PRINTERCODES.clear();
  LOGOMATRIX.clear();
  VOCABNAME.clear();
  ABBRCOUNT = 0;
  KEYWORDS.clear();
  VOCABLIST.clear();
  LIBNAME.clear();
  LIBRARYLIST.clear();
  PITEXTCOUNT = kUnknownCounts;
  PIFAILED = {};
  PAPER.clear();
  COMPRESSLOG = 0;
  LOGFIRST = 0;
  PDFFONTCOUNT = 0;
  FONTPDFNAME.clear();
  FONTPDFSIZE.clear();
  PDFFONTREC.clear();
  PDFWIDTHS.clear();
  RGBTEXT.clear();
  RGBFLAG = 0;
  CONVWORDS.clear();
  PAINTWORDS.clear();
  PRESWORD.clear();
  PRESSYMB.clear();
}
