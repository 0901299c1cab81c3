// Shared state of the engine's setup subsystem. reset_setup_globals() restores the state at process start.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

// --- font width tables ---
extern std::string FONTDIR;      // folder of the metric (.MET) files, SET item "Path to Font files"

// --- work channels ---
// Texts written to each work channel since its PIINIT in this run; -1 while not known (the channel was
// not started afresh in this run). PIWRITE uses it to keep the later texts intact when an earlier text
// is written again.
extern std::array<std::int32_t, 10> PITEXTCOUNT;

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
