// Definitions of the frame's shared state.
#include "engine/frame/globals.h"

std::string VERSION;
std::int32_t STATUSROW = 0;
std::int32_t CONROWS = 0;
std::int16_t AWORKBASE = 0;
std::int16_t WORKSECOND = 0;
std::int16_t DWORKBASE = 0;
std::int16_t WORKFIRST = 0;
std::string PROMPTNAME;
std::string REVERSEWORD;
std::int32_t OUTDEV = 0;
std::string SETUPNAME;
std::int16_t MAXSAMPLES = 0;

std::string SYMULCODE, CTRL2, SYMCODE, BREAKCODE, HARDSPCODE, INDONCODE, INDOFFCODE, COLUMNCODE, FONTSWCODE,
    ULWORDCODE, NOSYMCODE, CTRL25, LF, CRLF;

std::int32_t RUNFLAGS = 0;
std::string SOURCENAME;
std::string RUNLINE;
std::int32_t SHEETMODE = 0;
std::int32_t FORCEDSCALE = 0;
std::string SUMMARYKEY;
std::string RESULTNAME;
std::int16_t DEBUGRUN = 0;
std::int32_t run_item_refused = 0;

std::int32_t COLOURCOUNT = 0;

std::string BARMENU;
std::int32_t BARCOUNT = 0, BARITEM = 0, BARTOP = 0, BARLEFT = 0, BARWIDTH = 0, BARRIGHT = 0, BARROW = 0,
             BARBOTTOM = 0, BARROWS = 0, BARLEVEL = 0, BARACTION = 0;
rt::Array<std::string> BARTEXT, BARVALUE;
rt::Array2<std::int32_t> BARSTACK;
rt::Array2<std::string> BARMENUS;

std::int32_t PARSEDCOUNT = 0;
std::int32_t PARSEDMAX = 0;
std::int32_t BLOCKPOS = 0;
std::int32_t PAGEORIGIN = 0;
std::int32_t HEADDOTS = 0;
double TOPDEPTH = 0;
double DOTSPERUNIT = 0;

rt::Array<std::string> HEADER, VOCAB, DSAMP1, DSAMP2, NOTE;
rt::Array<double> LAYERDEPTH;
rt::Array2<std::int32_t> LAYERFILL;
rt::Array<std::int32_t> LAYERLINES, NOTELINES, TEXTTOP, ITEMBOTTOM, TEXTBOTTOM, PAGESTART;
rt::Array<double> PAGEDEPTH;
rt::Array<std::string> PROMPT;
rt::Array2<std::int32_t> COLOURS;
rt::Array<std::string> COLOURNAME, ATTRNAME;
rt::Array<std::int32_t> ATTRWIDTH, ATTRROWFIELDS;
rt::Array<std::string> ABBREV, FONTSPEC, HPGLFONT;
rt::Array<double> FONTWIDTH;
rt::Array2<std::int32_t> CHARWIDTH;
rt::Array<double> FONTSIZE;
rt::Array<std::int32_t> SCREENSAVE;
rt::Array<double> FONTHEIGHT, FONTSLANT;
rt::Array<std::string> MENUITEM1, MENUITEM2, MENUITEM3;
rt::Array<std::int32_t> MENUFIRST, MENUCOUNT;
rt::Array<std::string> PARSED;
rt::Array<std::int32_t> PDFOFFSET;
rt::Array<std::string> LEAFCONTENT, LEAFPATTERN, LEAFFONT, LEAFXOBJECT;
rt::Array<std::int32_t> SYMBOLUSED, SYMBOLRGB, UNDERLINE, DONELIST;
rt::Array<std::string> PINEXT;
rt::Array<std::int16_t> PIFILE;

void reset_frame_globals() {
  VERSION.clear();
  STATUSROW = CONROWS = 0;
  AWORKBASE = WORKSECOND = DWORKBASE = WORKFIRST = 0;
  PROMPTNAME.clear();
  REVERSEWORD.clear();
  OUTDEV = 0;
  SETUPNAME.clear();
  MAXSAMPLES = 0;
  for (std::string* s : {&SYMULCODE, &CTRL2, &SYMCODE, &BREAKCODE, &HARDSPCODE, &INDONCODE, &INDOFFCODE,
                         &COLUMNCODE, &FONTSWCODE, &ULWORDCODE, &NOSYMCODE, &CTRL25, &LF, &CRLF})
    s->clear();
  RUNFLAGS = 0;
  SOURCENAME.clear();
  RUNLINE.clear();
  SHEETMODE = 0;
  FORCEDSCALE = 0;
  SUMMARYKEY.clear();
  RESULTNAME.clear();
  DEBUGRUN = 0;
  run_item_refused = 0;
  COLOURCOUNT = 0;
  BARMENU.clear();
  BARCOUNT = BARITEM = BARTOP = BARLEFT = BARWIDTH = BARRIGHT = BARROW = BARBOTTOM = BARROWS = BARLEVEL =
      BARACTION = 0;
  BARTEXT.reset();
  BARVALUE.reset();
  BARSTACK.reset();
  BARMENUS.reset();
  PARSEDCOUNT = PARSEDMAX = BLOCKPOS = PAGEORIGIN = HEADDOTS = 0;
  TOPDEPTH = DOTSPERUNIT = 0;

  for (auto* a : {&HEADER, &VOCAB, &DSAMP1, &DSAMP2, &NOTE, &PROMPT, &COLOURNAME, &ATTRNAME, &ABBREV, &FONTSPEC,
                  &HPGLFONT, &MENUITEM1, &MENUITEM2, &MENUITEM3, &PARSED, &LEAFCONTENT, &LEAFPATTERN, &LEAFFONT,
                  &LEAFXOBJECT, &PINEXT})
    a->reset();
  for (auto* a : {&LAYERLINES, &NOTELINES, &TEXTTOP, &ITEMBOTTOM, &TEXTBOTTOM, &PAGESTART, &ATTRWIDTH,
                  &ATTRROWFIELDS, &SCREENSAVE, &MENUFIRST, &MENUCOUNT, &PDFOFFSET, &SYMBOLUSED, &SYMBOLRGB,
                  &UNDERLINE, &DONELIST})
    a->reset();
  for (auto* a : {&LAYERDEPTH, &PAGEDEPTH, &FONTWIDTH, &FONTSIZE, &FONTHEIGHT, &FONTSLANT}) a->reset();
  LAYERFILL.reset();
  COLOURS.reset();
  CHARWIDTH.reset();
  PIFILE.reset();
}
