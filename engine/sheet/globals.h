// Shared state of the engine's sheet subsystem. reset_sheet_globals() restores the state at process start.
// What lower subsystems read lives with them (the PDF writer's inputs are in engine/pdf/globals.h; the
// item positions, page table and layer tables are frame arrays).
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

// --- the layout of the sheet in hand (PROFORMA), read by the drawing and the borehole log ---
// The last page when the layout moved its start up to share the hole's tail with the page before (0
// when none): the page before draws its symbol column only down to that start.
extern std::int32_t SHAREDPAGE;
extern std::int32_t LEFTEDGE;     // left edge of the sheet body, dots (450 + A3SHIFT)
extern std::int32_t RIGHTEDGE;    // right edge of the sheet body, dots (2250 + A3SHIFT)
extern std::int32_t SHEETX0;      // column lines of the sheet body: SHEETX1 - 16,
extern std::int32_t SHEETX1;      //   PROFLMARGIN + LEFTEDGE (left of the symbol column),
extern std::int32_t SHEETX2;      //   SHEETX1 + 150 (right of the symbol column)
extern std::int32_t TEXTX;        // left edge of the description column
extern std::int32_t SCALEX;       // x of the depth-scale labels, and of the long ones
extern std::int32_t SCALEXLONG;
extern double LAYOUTPITCH;        // height of a log header row: 5 x the point size of font 3
extern std::int32_t LOGHEADDOTS;  // dots kept for the log's title rows beside the profile (0: none)
extern std::int32_t LOGHEADROWS;  // title rows of the log columns (the most words of an attribute name)

// The chosen scale (scales file): 1:SCALEDENOM, the unit word, the labelled division and the tick
// interval of the depth scale, text lines per depth unit. DOTSPERUNIT is a frame global.
extern std::int32_t SCALEDENOM;
extern std::string SCALEUNIT;
extern std::int32_t SCALETICK;
extern double SCALESTEP;
extern double UNITSPERLINE;
// Dots of one depth unit at 1:1 while the layout chooses the scale: 1000 x 300 / 25.4 for metres,
// 3600 for feet.
extern double UNITDOTS;
// The depth span of the hole from the top of its first page to the bottom of its last layer.
extern double DEPTHSPAN;

// --- the drawing ---
extern std::int32_t PAGENO;  // the page being drawn, from 1
extern std::int32_t LOGSUPPRESS1, LOGSUPPRESS10, LOGSUPPRESS100;  // the digits of SUPPRESS
extern std::int32_t LABELWIDTH;  // width in dots of the widest sample label drawn (the log reads it)

// --- folding ---
extern std::string BREAKCHARS;               // blank, force-a-symbol and underline start: break opportunities
extern std::int32_t FOLDLIMIT;               // width a folded line must stay below, dots
extern rt::Array<std::int32_t> GAPWIDTH;     // 1..30: width of the n-th break opportunity of the line in hand
extern std::int32_t GAPCOUNT;                // entries of GAPWIDTH filled by the last BREAKPT

// Set when the layout of the hole in hand ended without a sheet (too many pages, no scale, too many
// symbols in a layer): the hole got no result.
extern bool sheet_not_drawn;
// Set by PROSUMMA until its sheet's plot ends (PROSTOP): the summary's result is the legend's name,
// which a hole's result never takes.
extern bool drawing_summary;

void reset_sheet_globals();
