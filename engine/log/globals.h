// Shared state of the engine's log subsystem. reset_log_globals() restores the state at process start.
// What lower subsystems read lives with them: the bar pattern and colours (PATTERNNAME, LOGBARRGB1/2,
// LOGBARFLAG1/2) are the PDF writer's inputs (engine/pdf/globals.h); LOGSUPPRESS1/10/100, LAYOUTPITCH,
// SHEETX0..2, RIGHTEDGE, SCALEX and PAGENO are the sheet's and are set again by the log for its pages.
#pragma once

#include <cstdint>

#include "engine/runtime/array.h"

// Per attribute record (index: ATTRSTART(i) + j) the depth on which its label text is centred, 0..3000.
extern rt::Array<double> TEXTDEPTH;
// Per attribute (1..25) the number of records of the attributes before it.
extern rt::Array<std::int16_t> ATTRSTART;
extern std::int16_t ATTRNO;          // the attribute in hand in every per-attribute loop
extern double QUARTERLINE;           // a quarter of a text line in depth units
extern std::int16_t LOGPOINTSIZE;    // point size of setup font 3 (the log's titles)
extern std::int32_t NAMEROWS;        // most words of an attribute title without its markers: title rows
extern std::int16_t LOGRESERVE;      // LOGHEADDOTS + FOOTDOTS + 3
extern std::int16_t FOOTODD;         // FOOTDOTS AND 1: 1 puts the titles under every page
extern std::int16_t VECTORDEV;       // -1 on the pen plotter and DXF, else 0
extern double FIRSTPAGEDEPTH;        // PAGEDEPTH(1): where the first zone of a column starts
extern double ZONETOP, ZONEBOTTOM;   // the zone of the record ZONELINE read last
extern std::int32_t PAGEENDDOT;      // strip position of the end of the page in hand
extern std::int16_t PAGEENDROW;      // page row just below the body of the page in hand
extern std::int16_t TITLETOP;        // top of the column-title block of the page in hand
extern std::int32_t LOGRIGHT;        // right end of the log's frame lines
extern std::int16_t GRAPHPOS;        // position of "[G=" in the title of the column in hand
extern std::int16_t LOGPOS;          // position of "[LOG]" in the title of the graph column in hand

void reset_log_globals();
