// Shared state of the engine's select subsystem. reset_select_globals() restores the state at process start.
// The hole in hand that the PDF writer reads (ATTRCOUNT, TEXTRGB, LOGOFAIL, the selection grid) is in
// engine/pdf/globals.h.
#pragma once

#include <cstdint>
#include <string>

extern std::int32_t SCALEDIV;  // scale divisor of the current hole (the run's scale, else the hole's own)
extern std::string RGBLIST;    // one entry per distinct symbol and colour met in the run

// --- hole lists: strings of 10-character entries, a six-character hole code and four blanks each ---
extern std::string HOLECATALOG;  // every coded hole file of the current folder, sorted (PROCAT)
extern std::string CATALOGMARK;  // "okOkOK" once the catalogue is built; the selection does nothing while shorter than 3
extern std::string HOLELIST;     // the holes on the selection grid, in grid order; a hole's number is its entry's index
extern std::string INFILE;       // the holes still to code, in the order chosen; PROCODE empties it

// --- the answer line of the selection screen (GINPUT) ---
extern std::string TYPEDTEXT;  // the text typed; kept between calls, emptied by Esc and by the screen that takes it
extern std::int16_t TYPEDCOL;  // the typed text is echoed after this column: the prompt's length + 2

// --- the sheet data of the hole being coded (PROCODE), read by the sheet and the log ---
extern std::int32_t DSAMPCOUNT;   // sample entries DSAMP1/DSAMP2(1..DSAMPCOUNT)
extern std::int32_t NOTECOUNT;    // notes NOTE(1..NOTECOUNT)
extern std::int32_t LAYERCOUNT;   // layer records 1..LAYERCOUNT of "Dwork.1"
extern std::int32_t NOTECOLUMNS;  // 2 once a note or layer line of the run held a doubled column mark, else 0
extern std::int32_t DONECOUNT;    // holes coded in this call of PROCODE; DONELIST(1..) their numbers
extern std::string MARKCHARS;     // the mark-up codes that end a word (set for every hole)
// The code of the coded file the hole in hand was read from (GETFILE), trimmed; empty for the summary
// sheet, which has none. It is the code the conversion gave the hole, by which NOTELIST knows the text
// the hole is printed with: PROFILECODE is worked out again from the header as the sheet is drawn, and
// for the second of two holes whose codes collided (BH101, TP101: 0J1101 and 0J1_01) that is the first's.
extern std::string hole_file_code;

void reset_select_globals();
