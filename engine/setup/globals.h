// Shared state of the engine's setup subsystem. reset_setup_globals() restores the state at process start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

// --- page layout of the SET file ---
extern std::string PAPER;         // page size, "A3" or "A4"; only the exact text "A3" counts as A3
extern std::int32_t COMPRESSLOG;  // log compression: 0 the log on pages of its own, last digit the log columns on a sheet page
extern std::int16_t LOGFIRST;     // -1 when the log pages come before the sheet pages, else 0

// --- fonts ---
extern std::int32_t PDFFONTCOUNT;  // number of PDF text fonts in the page resources (3 once a SET file is read)
extern std::string FONTPDFNAME;    // PDF base font name of the font looked up last (PDFEQUIV)
extern std::string FONTPDFSIZE;    // metric field of the font looked up last: a pitch or a metric file name
extern std::string PDFFONTREC;     // encoding record of pdffonts.dat; the text after its first blank is the base encoding
extern std::string PDFWIDTHS;      // the /Differences lines of pdffonts.dat, each ending with CR LF

// --- current colour of the log drawing ---
extern std::string RGBTEXT;   // three "rg" operands
extern std::int16_t RGBFLAG;  // 0 none, 1 solid fill, 2 pattern in the colour, 3 both

void reset_setup_globals();
