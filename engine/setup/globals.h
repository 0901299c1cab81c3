// Shared state of the engine's setup subsystem. reset_setup_globals() restores the state at process start.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

// --- font width tables ---
extern std::string FONTDIR;      // folder of the metric (.MET) files, SET item "Path to Font files"
extern std::string FONTPDFNAME;  // PDF base font name of the font last looked up in pdffonts.dat
extern std::string FONTPDFSIZE;  // its metric field: a pitch in characters per inch, or a metric file name

// --- work channels ---
// Texts written to each work channel since its PIINIT in this run; -1 while not known (the channel was
// not started afresh in this run). PIWRITE uses it to keep the later texts intact when an earlier text
// is written again.
extern std::array<std::int32_t, 10> PITEXTCOUNT;

void reset_setup_globals();
