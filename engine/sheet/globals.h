// Shared state of the engine's sheet subsystem. reset_sheet_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

extern std::int32_t PAGEFILE;   // file number of the current page or plot file
extern std::int32_t PAGECOUNT;  // sheet pages of the current hole

// --- the symbol raster that the sheet drawing fills and the PDF writer turns into images ---
// SYMBITS (0..241, made by the sheet drawing): a ring of 60 rows; row slot s is the four words at
// 2 + 4s .. 5 + 4s, left to right, 16 pixels each in their low 16 bits (low byte first: bit 7 is the
// word's leftmost pixel, bit 8 its ninth); a set bit is ink.
extern rt::Array<std::int32_t> SYMBITS;
extern std::int32_t RASTEREND;  // first dot row of the band to write (top edge)
extern std::int32_t RASTERY;    // last dot row of the band (bottom edge)
extern std::int32_t RASTERX;    // left edge of the image on the page
extern double RASTERSTEP;       // dots per raster pixel (2 at 150 pixels per inch)
extern std::string SYMFILL;     // fill-colour operator a sample symbol is painted in

// --- the run's results ---
extern std::string OUTDIR;   // output folder of the current hole's results, without a closing "\"
extern std::string OUTLIST;  // the run's PDF result files, each preceded by "|"; merged into combined.pdf

void reset_sheet_globals();
