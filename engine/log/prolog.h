// PROLOG seen from inside: one object per call whose members are the state its sections share and whose
// member functions are the sections. All sections run under PROLOG's one trap (module "prolog.cpp").
//
// Sources:
//   prolog.cpp          the driver: the passes, BOTHPAGE, PRELIM, FINDSTAR, CUTSTRIN, PAGELINE, OPENPAGE,
//                       CLOSEPAG, GLETTERH, OPENATTR, CLOSEATT
//   prolog_layout.cpp   MARGINSE, FINDCOLU, FORMATLO, MOVETEXT
//   prolog_header.cpp   HEADERR, HOLEBOX, JOBBOX, ABBTAB, BIGBOX, FOOTER, SHOOTLAY, PRINTATT
//   prolog_scales.cpp   SCALES, SETREDLE, SETDEPLE, SCALE2, BORDERS
//   prolog_columns.cpp  PRINTATT, DOZONE, WRITEATT, BARATTS, BOXLINE
//   prolog_graph.cpp    GRAPHATT, SUBDIVID, SUBLABEL, RASTERRO
//   prolog_files.cpp    DATAFILE
//   prolog_hatch.cpp    XHATCH, FINDHATC, FINDSHAD, DRAWTUBE
//   prologx.cpp         the drawing primitives and text geometry (log.h), a trap each
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/runtime/error.h"

class LogDraw {
 public:
  explicit LogDraw(rt::Trap& trap) : trap_(trap) {}
  // The whole call: the column split, the set-up, the passes, the end (PROSTOP not included).
  void run();

  // --- the driver ---
  void split_columns();
  void BOTHPAGE();
  void PRELIM();
  void FINDSTAR();
  void CUTSTRIN(std::string& text);
  void PAGELINE();
  void OPENPAGE();
  void CLOSEPAG();
  void GLETTERH();
  void OPENATTR();
  void CLOSEATT();

  // --- the column layout ---
  void MARGINSE();
  void FINDCOLU();
  // The widths of the pass's columns made to hold their widest words (shared out again where one is too
  // narrow); said where the page is too narrow for them, and columns left out where even values drawn
  // narrower (PDF) do not fit.
  void fit_columns();
  // The width column i needs for its words drawn at factor of their width: 0 for a column without text.
  double column_need(std::int32_t i, double factor);
  // The widest word of column i's records, dots in font 1.
  std::int32_t column_widest(std::int32_t i);
  void FORMATLO();
  void MOVETEXT(std::int32_t r, double overlap, double t1);

  // --- header, boxes, titles, layer lines ---
  void HEADERR();
  void HOLEBOX();
  void JOBBOX();
  void ABBTAB();
  void BIGBOX();
  void FOOTER();
  void SHOOTLAY();
  void PRINTATT();
  // PRINTATT's first step: the title block of the page.
  void title_geometry();
  // The markers of the column ATTRNO, read from its own name (none carried over from another column).
  void column_markers();

  // --- the column contents ---
  void DOZONE(std::int16_t rec);
  void WRITEATT();
  // A word of a record's text where WRITEATT prints it (its baseline, aligned as the record says).
  struct PlacedWord {
    std::int32_t x, y;
    std::string word;
    std::int32_t origin;  // TEXTORIGIN: 1 left, 4 centre, 7 right
    std::int32_t left, width;  // what is drawn, dots
  };
  // The words of the record in hand (REC, RECTEXT, LABELDEPTH, TEXTTOP, TEXTBOTTOM) as WRITEATT places
  // them on the page, with their alignment; false when its text stands wholly above or below the page.
  // below: some words fall below the page.
  bool placed_words(std::vector<PlacedWord>& out, bool& below);
  // The room a record's words of the column in hand have: its width less the zone box's sides (a text
  // column) and the air kept round a word.
  std::int32_t word_room(std::int32_t left, std::int32_t right) const;
  void BARATTS(std::int32_t left, std::int32_t right, std::int16_t rec, const std::string& first_word);
  void BOXLINE(std::int32_t left, std::int32_t right, std::int32_t z, std::int32_t t);
  void GRAPHATT();
  // A bar of GRAPHATT cut to the column's width: a bar of a value beyond the column's maximum (or below
  // its origin) ends at the column's edge; a 1-dot line outside the column is left out.
  void column_bar(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
  void SUBDIVID();
  void SUBLABEL(std::int32_t from, std::int32_t to, const std::string& label);
  void RASTERRO();
  void DATAFILE();
  void XHATCH();
  // The hatch number of a code "[X1]".."[X6]" (0 for any other) and its BARSHADE, 100 n / 6.
  std::int16_t FINDHATC(const std::string& code);
  // The shade percentage of a code "[S1]".."[S8]" (0 for any other), also the BARSHADE.
  std::int16_t FINDSHAD(const std::string& code);
  // One tube over the zone's rows y .. y + h: two walls symmetric about the column centre plus shift.
  void DRAWTUBE(std::int32_t y, std::int32_t h, double inner, double outer, double shift);
  // The shade of the next bar on the devices other than PDF: SETSHADE, and a shade percentage ("S")
  // also as the bars' BARSHADE, which the printer's grey and the pen devices' strokes take.
  void shade(const std::string& kind, std::int32_t value);

  // --- room for the texts (prolog_clear.cpp) ---
  struct Clear {
    std::int32_t x0, y0, x1, y1;  // page rows, y downwards
  };
  // The box of a text of font drawn from left, width dots wide, on the baseline y.
  void keep_clear(std::int32_t left, std::int32_t y, std::int32_t width, std::int32_t font);
  // The boxes of the words of the column in hand on this page, after the page's scale labels.
  void column_clears();
  // The parts of a rectangle that no kept box covers (the rectangle itself when none meets it).
  std::vector<Clear> pieces(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) const;
  // A bar, a horizontal and a vertical line drawn around the kept boxes.
  void bar_clear(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
  void rule_clear(std::int32_t x1, std::int32_t x2, std::int32_t y, void (*draw)(std::int32_t, std::int32_t, std::int32_t));
  void border_clear(std::int32_t x, std::int32_t y1, std::int32_t y2, void (*draw)(std::int32_t, std::int32_t, std::int32_t));

  // --- scales and frame ---
  void SCALES();
  void SETREDLE();
  void SETDEPLE();
  void SCALE2();
  void BORDERS();

  // --- the state of the call ---
  std::int16_t LOGPASS = 0, LOGMODE = 0, FIRSTCOLS = 0, RESTCOLS = 0, FROMCOL = 0, TOCOL = 0;
  std::int32_t PAGEBOTTOM = 0;
  double TITLEPITCH = 0;     // pitch of the abbreviation rows: (HEADDOTS - 40) / (ABBRCOUNT - 0.25)
  double GROUNDLEVEL = 0;    // the hole's ground level (header item named by vocabulary word 32)
  std::int16_t INCLINATION = 0;  // whole degrees (header item named by vocabulary word 33)
  std::int32_t HOLETYPE = 0;     // the position of vocabulary word 23 in header item 21
  bool SINGLEBLANK = false;      // one attribute without a title
  bool NORLSCALE = false, NODEPTHSCALE = false, SWAPSCALES = false;
  std::string MARKERS;           // the bracket groups CUTSTRIN cut from the work text
  std::int32_t COLUMNROWS = 0;   // the most words of a column title (NAMEROWS adds the pass's scale titles)
  std::int32_t PAGEFLOOR = 0;    // page row of the page's lower limit
  std::int32_t HOLEBOTDOT = 0, HOLEBOTY = 0;

  // The layout of the pass.
  std::int16_t RLSCALEW = 0, DEPTHSCALEW = 0, LEFTSCALEW = 0, RIGHTSCALEW = 0, LOGX0 = 0, GAP = 0;
  std::vector<double> COLSHARE = std::vector<double>(26, 0.0);
  std::vector<std::int16_t> COLX = std::vector<std::int16_t>(26, 0);
  double COLUNIT = 1;
  std::int16_t AGAIN = 0;

  // The header.
  std::vector<std::int16_t> TABSTART = std::vector<std::int16_t>(5, 0);
  std::vector<std::int16_t> TABWIDTH = std::vector<std::int16_t>(5, 0);
  std::int16_t TABCOUNT = 0;
  std::int16_t BOXRIGHT = 0;
  std::string PAGETEXT;
  std::int16_t BOXX = 0;
  std::int32_t HEADBOXEND = 0;   // the right side of the wider of the hole and job boxes
  std::int16_t NAMEHEIGHT = 0;   // the height of the title block
  std::int16_t SUBBASE = 0;      // the base line of the sub-division labels

  // The scale in hand.
  double DEEPEST = 0, SCALEFACTOR = 1, SCALEOFFSET = 0;
  std::int16_t SCALEDIR = 1, SCALESIDE = -1, TICKLEN = -8, SCALEXLINE = 0;
  std::int16_t LEFTLINE = 0, RIGHTLINE = 0;

  // The column in hand.
  std::int32_t LEFTX = 0, RIGHTX = 0, CENTREX = 0;
  std::int16_t DRPOS = 0, HOLLOW = 0, FILEFLAG = 0, PLOTFLAG = 0, INVERSE = 0, NUMBERS = 0;
  std::int16_t SUBPOS = 0, RASTERPOS = 0, TUBEEND = 0;
  bool SUBDOTTED = false, RASTERDOTTED = false;
  double GRAPHMAX = 100;
  std::string PLOTSTYLE;         // the four characters after "[HPGL"
  double PREVOFFSET = 0;         // the offset of the column's last bar (0 at the start of each column)
  std::int32_t WORDPERCENT = 100;  // the width in hundredths the column's words are drawn at (PDF)
  // The record in hand.
  std::int16_t REC = 0;
  std::string RECTEXT;
  std::vector<std::string> WORDS;  // the record text's words, from 1 (WORDS[0] unused)
  double TEXTTOP = 0, TEXTBOTTOM = 0, LABELDEPTH = 0;

  // The texts of the page that lines and fills leave clear: the scale labels, then the words of the
  // column in hand.
  std::vector<Clear> CLEARS;
  size_t SCALECLEARS = 0;

  // Said once per call.
  bool widths_said = false, rounds_said = false;
  std::vector<bool> below_said = std::vector<bool>(26, false);  // per column: words below the last page
  std::vector<bool> grid_said = std::vector<bool>(26, false);   // per column: a grid without a step
  std::vector<bool> sub_said = std::vector<bool>(26, false);    // per column: a sub-division off its scale
  bool open_tube_said = false, includes_said = false;
  std::vector<std::string> missing_said;                        // data files said missing in this hole
  std::vector<std::string> floor_said;                          // data files said to go below the hole
  bool curve_begun = false;                                     // a data-file curve has its first point

 private:
  rt::Trap& trap_;
};
