// The hole coder PROCODE, cut into its sections, and the state they share.
//
// One call of PROCODE codes every entry of INFILE: for each hole it reads the coded hole file (written by
// the conversion) section by section into the sheet data (the globals of frame/, setup/ and select/,
// and the work channels "Dwork.1" and "Awork.2"). The sections run under PROCODE's one trap; a coded
// file whose counts promise more than a table holds is taken as far as the table goes, the surplus
// lines are read and dropped (so the later sections stay in step), and this is said once per hole.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/runtime/error.h"

struct CoderState {
  explicit CoderState(rt::Trap& t) : trap(t) {}
  rt::Trap& trap;
  void section(const char* name, const char* step) {
    trap.section(name);
    trap.step(step);
  }
  void step(const char* marker) { trap.step(marker); }

  // --- for the whole call ---
  std::string marks;            // the word-delimiter marks M (PRELIM)
  std::int32_t grid_rows = 1;   // R: rows of a grid column, at least 1
  std::int32_t symbol_number = 0;  // distinct symbols of the call so far
  std::string repeat_text;      // the pairs found since the repeat phrase was last absent
  bool symbols_said = false;    // more than 99 distinct symbols were said
  std::map<std::string, std::int32_t> symbol_numbers;  // the number of each symbol code in RGBLIST
  std::int32_t holes_coded = 0;  // holes opened and coded in this call
  std::int32_t holes_missing = 0;  // entries whose coded file was not found
  std::string vocab_in_force;   // the vocabulary loaded when a hole's own abbreviations emptied VOCABNAME

  // --- for the hole in hand ---
  std::string file_name;        // its coded file, code + ".TRX"
  std::int32_t file = 0;        // the open coded file
  std::int32_t pos = 0;         // LINECOUNT: byte offset (from 0) of the next line
  std::string L;                // the line being worked
  std::string line_pairs;       // the pairs the symbol-word pass appended to L
  std::int32_t layer = 0;       // the layer being worked
  std::string limits_said;      // what this hole left out, said once when the hole is done
};

// The next line of the coded file into text; false (text empty) when the file has ended.
bool next_line(CoderState& st, std::string& text);
// The value of a count line: its leading number rounded, 0 when none; never below 0.
std::int64_t count_line(CoderState& st);
// Closes the four files of a pair of work channels (first = DWORKBASE or AWORKBASE).
void close_channel_files(std::int32_t first);
// Notes that the hole in hand left something out (what: "samples", "notes", ...); said when it is done.
void left_out(CoderState& st, const std::string& what);

// Sections (procode.cpp)
void PRELIM(CoderState& st);
void GETFILE(CoderState& st);
void OPENFILE(CoderState& st);
void TRANSFER(CoderState& st);
void HEADERS(CoderState& st);
void UNDISTUR(CoderState& st);
void DISTURBE(CoderState& st);
void NOATES(CoderState& st);
void SIGNOFF(CoderState& st);
// Writes mark beside the hole of code on the selection grid.
void SHOWPIC(CoderState& st, const std::string& mark, const std::string& code);
// The number of the hole of code (an entry of INFILE) in HOLELIST: 1 when it is not there.
std::int32_t hole_number(const std::string& code);

// Descriptions and symbol words (procode_descript.cpp)
void DESCRIPT(CoderState& st);
void BLANKS(CoderState& st);
void TWOCOLUM(CoderState& st);
void GETRGB(CoderState& st);
// The section KEYWORDS (named apart from the keyword table KEYWORDS): the symbol-word pass over st.L.
void KEYWORDS_PASS(CoderState& st);

// Attributes, abbreviations, per-hole settings, the hole's own vocabulary (procode_attrib.cpp)
void ATTRIBUT(CoderState& st);
void CUTSTRIN(std::string& line);
void ABBREVIA(CoderState& st);
void OTHERDAT(CoderState& st);
void SWITCHTA(CoderState& st);
