// Shared state of the engine's input conversion. reset_convert_globals() restores the state at process
// start (tests only).
//
// These globals outlive one conversion; what belongs to one call of PROCONV only (the word lists,
// the warning flag, the line kinds) lives in its ConvState (proconv.h).
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

// --- the mark-up characters of the SET file's conversion block (PRELIMIN) ---
// Each is the one character the user types for a mark-up function; the line reader maps it onto the
// fixed internal code of engine/frame/globals.h. Empty when the SET file gives none.
extern std::string SYMULCHAR;   // force and underline a soil symbol (usually `)      -> SYMULCODE (1)
extern std::string SYMCHAR;     // force a soil symbol (~)                             -> SYMCODE (3)
extern std::string BREAKCHAR;   // line break (\)                                      -> BREAKCODE (4)
extern std::string HARDSPCHAR;  // hard space; alone on a line it opens or closes a verbatim block (^) -> HARDSPCODE (5)
extern std::string INDONCHAR;   // start an indent ({)                                 -> INDONCODE (6)
extern std::string INDOFFCHAR;  // end an indent (})                                   -> INDOFFCODE (7)
extern std::string ESCCHAR;     // escape: the mark-up character after it stays itself (")
extern std::string FONTSWCHAR;  // switch the primary font ($)                         -> FONTSWCODE (19)
extern std::string COLUMNCHAR;  // newspaper columns in layers (#)                     -> COLUMNCODE (8)
extern std::string ULWORDCHAR;  // underline a word (_)                                -> ULWORDCODE ("_")
extern std::string NOSYMCHAR;   // omit the soil symbol (|)                            -> NOSYMCODE (23)
extern std::string STARS;       // "**": a colour run of the text (code 25 on PDF, removed elsewhere)

// --- the current line and the files the conversion reads ---
extern std::string CONVLINE;    // the current line: a SET line, a vocabulary line, then an input line
extern std::int32_t SETCHAN;    // file number of the open SET file (read by AIN)
extern std::int32_t INCHAN;     // file number of the input file during its checks
extern std::int32_t VOCCHAN;    // file number of "LASTFILE" and of the vocabulary files
extern std::int32_t CONVCHAN;   // file number of the input text during the hole pass
extern std::int32_t LINECOUNT;  // byte offset (from 0) of the next line FETCHNEX reads
extern std::int32_t INFILELEN;  // length of the input text in bytes (set by the pre-scan)
extern std::int32_t LOOKBACK;   // offset to go back to after a look-ahead that found no continuation
extern std::int32_t LINESTART;  // byte offset (from 0) where the line FETCHNEX returned last begins

// --- the line reader's modes (kept for the whole engine run) ---
extern std::int16_t VERBATIM;     // 1 inside a verbatim block
extern std::int16_t VERBATIMCOL;  // column of the hard-space character of the line that opened the block
extern std::int32_t VERBATIMSTART;  // byte offset (from 0) of the line that opened the block
extern std::int32_t WPMODE;       // above 0: this conversion's input is a word-processor document, REMAP is on
extern std::string REMAPFROM;     // the remap table of word-processor text ("wordpad.dat"):
extern std::string REMAPTO;       // character i of REMAPFROM becomes character i of REMAPTO

// --- the text extraction of word-processor documents (MSVLX, BAREPLAC, BASTRIP) ---
extern std::string WPBUF;         // the window in hand: WPLEN characters, then up to WPOVERLAP look-ahead bytes
extern std::int16_t WPLEN;        // the characters of WPBUF that belong to the window (at most 2048)
extern std::int32_t WPPOS;        // offset (from 0) in the document of the next window
extern std::int16_t WPOVERLAP;    // look-ahead bytes read behind each window (512)

// The conversion vocabulary's colour-marker keywords and paints (CONVWORDS, PAINTWORDS) and the results
// of the word test FNPRES (PRESWORD, PRESSYMB) are in engine/setup/globals.h: the colour markers there
// read them too.

// --- what the conversion hands on ---
extern std::string NOTELIST;  // "|" + hole code + attached file + "|" per hole that binds its text file

// --- the hole in hand ---
extern std::string PROFILECODE;   // six characters, job code + hole code: the name of its coded hole file
extern std::string NOTENAME;      // the text file attached to the hole ("" when none)
extern std::int32_t DESCRCOUNT;   // layer description records of the hole (records 1.. of "Dwork.1")
extern std::int32_t ATTRTOTAL;    // attribute lines written to "Awork.1"

// --- hole-wide settings the sheet drawing reads ---
extern std::int16_t BEZIER;     // corner size of the curved layer connectors (0 at each conversion)
extern std::int32_t SYMBOLDPI;  // resolution of the symbol images; 0 at each conversion (the drawing's default)

void reset_convert_globals();
