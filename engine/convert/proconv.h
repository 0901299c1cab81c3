// The conversion procedure PROCONV seen from inside: the state its sections share and the sections.
//
// PROCONV is one procedure cut into sections that run as its subroutines. They share the state below
// (fresh for every call of PROCONV) and the engine's globals, and they all run under PROCONV's one
// error trap: an error in any section is reported with the location "proconv.cpp" and the section's
// name, once per conversion (a second one is untrapped, as for any procedure). A section that gives up
// the conversion throws LeaveConversion, which PROCONV catches; nothing else is thrown.
//
// Layout of the sources (every section file belongs to the one procedure PROCONV):
//   proconv.cpp        the driver, PRELIMIN, CHECKWOR, ENTERFIL, EXXIT, AIN
//   proconv_vocab.cpp  FETCHVOC, READPAIN
//   proconv_lines.cpp  GETLINE, FETCHAST, FINDKEYW, DATEWORD
//   proconv_later.cpp  stand-ins of the sections still to come
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/runtime/array.h"
#include "engine/runtime/error.h"

// Thrown by a section to leave PROCONV at once (the early exit and the failures that end the
// conversion); caught by PROCONV only.
struct LeaveConversion {};

struct ConvState {
  rt::Trap* trap = nullptr;  // PROCONV's trap; sections set their names and step markers on it

  std::int32_t WARNFLAG = 0;  // a message the user must read was printed; the driver waits before PROCAT

  // Per-level working arrays of the sample notes (0..MAXSAMPLES) and the per-hole header fields
  // that the conversion vocabulary marks (0..10, codes from 1).
  rt::Array<std::int32_t> SAMPLEIDX, SAMPLEFLAG, CONVCODE;
  std::int32_t CONVCODECOUNT = 0;
  std::string CONVCODES;  // the codes recorded so far, joined

  // PRELIMIN and CHECKWOR
  std::string WPSIG;     // the first 24 bytes of "wordpad.sig"
  std::string INNAME;    // the text file the conversion reads: SOURCENAME or "workfile.txt"
  std::string CONVEXTS;  // SET conversion item 2: the vocabulary extensions
  std::int32_t SETLINES = 0;  // lines read from the SET file by AIN

  // FETCHVOC and READPAIN
  std::string CONVEXT;    // the extension in hand
  std::string PAINTNAME;  // "PAINTLIB." + the last extension of the list
  std::string USERCONV;   // the first line of "userconv.dat"
  std::string CONVBLOCK;  // the header keywords of all vocabularies, lower case
  std::array<std::string, 24> CONVLIST;  // CONVLIST[1..23]: the 23 lines of the list blocks, joined
  std::string CONVALL;    // every sample-kind word: lists 3, 4, 14, 15, 16, 17, 23 and USERCONV

  // GETLINE: the kind of the current line
  std::int32_t ISLIST8 = 0, ISLIST2 = 0, ISLIST13 = 0;  // 1: it begins with a word of list 8, 2, 13
  std::int32_t SLASH2POS = 0;                           // position of the hole-end mark, 0 when none

  // FINDKEYW and DATEWORD
  std::int32_t COLONPOS = 0;  // position of the first ":" in the trimmed header line, 0 when none
  std::int16_t SLASHPOS = 0;  // position of the first "/" in the word under test

  // Names the section entered on the trap (for the untrapped-error box) and sets its step marker.
  void section(const char* name, const char* marker) {
    if (trap) {
      trap->section(name);
      trap->step(marker);
    }
  }
  void step(const char* marker) {
    if (trap) trap->step(marker);
  }
};

// --- sections of the driver (proconv.cpp) ---
// Per-run reset (BEZIER, SYMBOLDPI, HEADER(1..63)), the conversion block of the SET file, the
// signature of word-processor files and CRLF.
void PRELIMIN(ConvState& st);
// The input file: missing ends the engine; a word-processor document is turned into "workfile.txt".
void CHECKWOR(ConvState& st);
// Deletes the work files of the last conversion, then loads the vocabularies (FETCHVOC).
void ENTERFIL(ConvState& st);
// The early exit: closes every file and leaves PROCONV without the catalogue.
[[noreturn]] void EXXIT(ConvState& st);
// Picks the characters to underline a word and to omit the symbol for a SET file of the older layout.
void FIXSETUP(ConvState& st);

// --- the conversion vocabularies (proconv_vocab.cpp) ---
// CONVOCAB.<ext> for every extension of CONVEXTS, "userconv.dat", then READPAIN.
void FETCHVOC(ConvState& st);
// PAINTLIB.<ext> of the last extension into PAINTWORDS.
void READPAIN(ConvState& st);

// --- line steps (proconv_lines.cpp) ---
// The next logical line into CONVLINE (FETCHAST) and its kind: ISLIST8, ISLIST2, ISLIST13, SLASH2POS.
void GETLINE(ConvState& st);
// The next line from CONVCHAN with the continuation lines (three leading blanks) that follow it.
void FETCHAST(ConvState& st);
// The keyword of a header line: CONVLINE trimmed, PRESWORD = the text before its first ":" without
// ".", "-" and blanks, COLONPOS = the position of that ":".
void FINDKEYW(ConvState& st);
// SLASHPOS = the position of the first "/" in word.
void DATEWORD(ConvState& st, const std::string& word);

// --- the sections still to come (proconv_later.cpp) ---
void BLOCKSLA(ConvState& st);
void JOBHEADE(ConvState& st);
void HOLEDETA(ConvState& st);
