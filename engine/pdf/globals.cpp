// Definitions of the pdf subsystem's shared state.
#include "engine/pdf/globals.h"

std::int32_t PDFFILE = 0;
std::int32_t PDFBYTES = 0;
std::int32_t PDFOBJECT = 0;
std::int32_t STREAMSTART = 0;
std::int32_t LEAFCOUNT = 0;
std::string KIDSLIST;
std::int32_t PAGESOBJ = 0;
std::int32_t LOGODONE = 0;
std::int32_t SYMBOLCOUNT = 0;
std::string BLANKLINE;

std::string CURCONTENT, CURXOBJECT, CURFILL, CUREXTRA;
std::int32_t FONTSDONE = 0;
std::int32_t UNDERCOUNT = 0;
std::int32_t PDFLASTFONT = 0;

std::string PAGECONTENT, PAGEPATTERN, PAGEFILL, PAGEEXTRA;
std::int16_t LOGPAGE = 0;
std::int32_t PAGEDONE = 0;
std::string PAGEPATRES, FILLNAME, PAGESREF, OUTLINESREF, ROOTREF;
std::int32_t STARTXREF = 0;

std::string FONTENTRIES, FONTLIST;
std::string LOGOPROCSET, LOGOEXTGSTATE, LOGOCOLORSPACE, LOGOPATTERN, LOGOSHADING, LOGOXOBJECT, LOGOFONT;
std::string LOGOCONTENT;

std::string SYMBOLNAME;

std::string LOGORESOURCES;
std::int32_t LOGOPAGESOBJ = 0;
std::int32_t LOGOLASTOBJ = 0;
double LOGOINKRIGHT = -1;

std::int32_t PDFINFILE = 0;
rt::Array<std::int32_t> XREFOFFSET, XREFORDER, OBSTART, OBLENG;
std::int32_t XREFCOUNT = 0;
std::int32_t ROOTOBJ = 0;
std::int32_t READPOS = 0;
std::string READLINE;
std::string xref_error;
std::vector<std::int32_t> xref_marks;

std::int32_t INSTARTXREF = 0;
std::int32_t MERGECOUNT = 0;
rt::Array<std::int32_t> MERGEOFFSET, MERGEORDER;
std::int32_t INPAGES = 0, INOUTLINES = 0, INGRAY = 0, INRGB = 0, INDEVICE = 0;
std::string INMEDIABOX, MERGEMEDIABOX;
std::int32_t INLOGOLAST = 0, MERGELOGOLAST = 0;
std::int32_t NEXTNO = 0;
rt::Array<std::int32_t> NEWNO;
rt::Array<std::int32_t> PAGELIST;
std::int32_t PAGELISTCOUNT = 0;
std::int32_t STREAMLEN = 0;

std::int32_t TEXTRGBON = 0;
std::string ULINEON, ULINEOFF;

bool pdf_refused = false;
std::string pdf_document_name;
std::string pdf_refusal;
std::string run_target_source;

std::int32_t CURFONT = 0;
double TEXTPOINTS = 0;
std::int32_t PAGEFILE = 0;
std::int32_t PAGECOUNT = 0;
rt::Array<std::int32_t> SYMBITS;
std::int32_t RASTEREND = 0;
std::int32_t RASTERY = 0;
std::int32_t RASTERX = 0;
double RASTERSTEP = 0;
std::string SYMFILL;
std::string OUTDIR, OUTLIST;
std::vector<std::string> run_results;
std::int32_t ATTRCOUNT = 0;
std::string TEXTRGB;
std::int16_t LOGOFAIL = 0;
std::int32_t PICKGRIDROW = 0, PICKGRIDCOL = 0, PICKCOLW = 0, PICKCOLX = 0;
std::string PATTERNNAME;
std::string LOGBARRGB1;
std::string LOGBARRGB2;
std::int16_t LOGBARFLAG1 = 0;
std::int16_t LOGBARFLAG2 = 0;

void reset_pdf_globals() {
  PDFFILE = PDFBYTES = PDFOBJECT = STREAMSTART = LEAFCOUNT = PAGESOBJ = LOGODONE = SYMBOLCOUNT = 0;
  FONTSDONE = UNDERCOUNT = PDFLASTFONT = PAGEDONE = STARTXREF = TEXTRGBON = 0;
  LOGOPAGESOBJ = LOGOLASTOBJ = PDFINFILE = XREFCOUNT = ROOTOBJ = READPOS = 0;
  LOGOINKRIGHT = -1;
  for (rt::Array<std::int32_t>* a : {&XREFOFFSET, &XREFORDER, &OBSTART, &OBLENG, &MERGEOFFSET, &MERGEORDER, &PAGELIST})
    a->reset();
  NEWNO.reset();
  INSTARTXREF = MERGECOUNT = INPAGES = INOUTLINES = INGRAY = INRGB = INDEVICE = INLOGOLAST = MERGELOGOLAST = 0;
  PAGELISTCOUNT = STREAMLEN = 0;
  NEXTNO = 0;
  xref_marks.clear();
  LOGPAGE = 0;
  for (std::string* s : {&KIDSLIST, &BLANKLINE, &CURCONTENT, &CURXOBJECT, &CURFILL, &CUREXTRA, &PAGECONTENT,
                         &PAGEPATTERN, &PAGEFILL, &PAGEEXTRA, &PAGEPATRES, &FILLNAME, &PAGESREF, &OUTLINESREF,
                         &ROOTREF, &FONTENTRIES, &FONTLIST, &LOGOPROCSET, &LOGOEXTGSTATE, &LOGOCOLORSPACE,
                         &LOGOPATTERN, &LOGOSHADING, &LOGOXOBJECT, &LOGOFONT, &LOGOCONTENT, &ULINEON, &ULINEOFF,
                         &pdf_document_name, &pdf_refusal, &run_target_source, &SYMBOLNAME, &LOGORESOURCES, &READLINE, &xref_error, &INMEDIABOX, &MERGEMEDIABOX})
    s->clear();
  pdf_refused = false;
}

void reset_pdf_input_globals() {
  CURFONT = 0;
  TEXTPOINTS = 0;
  PAGEFILE = PAGECOUNT = 0;
  SYMBITS.reset();
  RASTEREND = RASTERY = RASTERX = 0;
  RASTERSTEP = 0;
  SYMFILL.clear();
  OUTDIR.clear();
  OUTLIST.clear();
  run_results.clear();
  ATTRCOUNT = 0;
  TEXTRGB.clear();
  LOGOFAIL = 0;
  PICKGRIDROW = PICKGRIDCOL = PICKCOLW = PICKCOLX = 0;
  PATTERNNAME.clear();
  LOGBARRGB1.clear();
  LOGBARRGB2.clear();
  LOGBARFLAG1 = LOGBARFLAG2 = 0;
}
