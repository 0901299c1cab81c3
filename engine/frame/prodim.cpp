// Creation of the frame's shared arrays, in their fixed order.
#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"

void PRODIM() {
  RT_TRAP_NONE(trap, "PRODIM");
  MAXSAMPLES = 140;
  HEADER.dim(0, 100);
  VOCAB.dim(0, 50);
  DSAMP1.dim(0, MAXSAMPLES);
  DSAMP2.dim(0, MAXSAMPLES);
  NOTE.dim(1, 50);
  LAYERDEPTH.dim(0, 200);
  LAYERFILL.dim(0, 200, 0, 18);
  LAYERLINES.dim(0, 200);
  NOTELINES.dim(0, 200);
  TEXTTOP.dim(0, 260);
  ITEMBOTTOM.dim(0, 260);
  TEXTBOTTOM.dim(0, 260);
  PAGESTART.dim(0, 50);
  PAGEDEPTH.dim(0, 50);
  PROMPT.dim(0, 250);
  COLOURS.dim(0, 8, 0, 2);
  COLOURNAME.dim(0, 8);
  ATTRNAME.dim(0, 30);
  ATTRWIDTH.dim(0, 30);
  ATTRROWFIELDS.dim(0, 2000);
  ABBREV.dim(0, 30);
  FONTSPEC.dim(0, 3);
  HPGLFONT.dim(0, 3);
  FONTWIDTH.dim(0, 3);
  CHARWIDTH.dim(1, 3, 32, 255);
  FONTSIZE.dim(0, 3);
  SCREENSAVE.dim(0, 1600);
  FONTHEIGHT.dim(0, 3);
  FONTSLANT.dim(0, 3);
  MENUITEM1.dim(0, 35);
  MENUITEM2.dim(0, 35);
  MENUITEM3.dim(0, 35);
  MENUFIRST.dim(0, 5);
  MENUCOUNT.dim(0, 5);
  PARSED.dim(0, 350);
  PDFOFFSET.dim(0, 4200);
  LEAFCONTENT.dim(0, 70);
  LEAFPATTERN.dim(0, 70);
  LEAFFONT.dim(0, 70);
  LEAFXOBJECT.dim(0, 70);
  SYMBOLUSED.dim(0, 100);
  SYMBOLRGB.dim(0, 200);
  UNDERLINE.dim(0, 250);
  DONELIST.dim(0, 130);
  PINEXT.dim(0, 9);
  PIFILE.dim(0, 9);
}
