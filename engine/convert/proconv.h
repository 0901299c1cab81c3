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
//   proconv_blocks.cpp BLOCKSLA, the pre-scan of the slash blocks
//   proconv_header.cpp JOBHEADE, PARZE, SELECTHE: the header fields
//   proconv_holes.cpp  HOLEDETA, the hole loop: HOLEHEAD, FLUSHHEA and the hole's work channels
//   proconv_layers.cpp EDITLAYE, the layer lines
//   proconv_notes.cpp  EDITNOTE, the notes part
//   proconv_trx.cpp    MAKEFILE, FILEDATA: the coded hole file
//   proconv_attrib.cpp the attribute blocks: their lines into "Awork.1", then names and records
//   proconv_tabular.cpp TABULAR, BREAKCOL: a tabulation of several attributes
//   proconv_samples.cpp PUTINPIC, TRYAGAIN (samples and water levels of a line), READSAMP
//   proconv_upgrade.cpp FIXSETUP, the upgrade of an older SET file
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/frame/globals.h"
#include "engine/runtime/array.h"
#include "engine/runtime/error.h"

// Thrown by a section to leave PROCONV at once (the early exit and the failures that end the
// conversion); caught by PROCONV only.
struct LeaveConversion {};

struct ConvState {
  rt::Trap* trap = nullptr;  // PROCONV's trap; sections set their names and step markers on it

  std::int32_t WARNFLAG = 0;  // a message the user must read was printed; the driver waits before PROCAT

  // Where the current line of the hole pass stands, for the messages that name it: its byte offset in
  // the input text (-1 when the message is about no line of the text in hand), the hole's number in the
  // input, and the line count up to an offset already counted (input_line).
  std::int32_t LINEAT = -1;
  std::int32_t HOLENO = 0;
  std::int32_t COUNTEDTO = 0, COUNTEDLINES = 0;
  char COUNTEDLAST = 0;

  // Per-level working arrays of the sample notes (0..MAXSAMPLES) and the per-hole header fields
  // that the conversion vocabulary marks (0..10, codes from 1).
  rt::Array<std::int32_t> SAMPLEIDX, SAMPLEFLAG, CONVCODE;
  // Creates the three arrays above with their bounds (after PRODIM has set MAXSAMPLES).
  void dim_arrays() {
    SAMPLEIDX.dim(0, MAXSAMPLES);
    SAMPLEFLAG.dim(0, MAXSAMPLES);
    CONVCODE.dim(0, 10);
  }
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

  // BLOCKSLA: the pre-scan of the slash lines
  std::int32_t SLASHCOUNT = 0;  // "/" and "//" lines counted
  std::int32_t HOLECOUNT = 0;   // "//" lines counted
  std::string BADHOLES;         // numbers of the holes whose block was wrong, " 1 3"
  std::int32_t BLOCKERR = 0;    // -1 once a wrong block was met
  std::int32_t ENDSEEN = 0;     // 1 once the "///" line was met
  std::string ENDSMISSING;      // one line per hole whose "//" line is missing, as said

  // PARZE, SELECTHE and the hole header pass
  std::int32_t FIELDNO = 0;   // header field of the current line, 0: keyword unknown
  std::int32_t VALUEPOS = 0;  // where the value begins in CONVLINE, 0 when the line has no keyword
  std::string FIELDVAL;       // the value: CONVLINE from VALUEPOS on, trimmed
  std::string NEXTLINE;       // the header line after the current one (look-ahead)
  std::string HOLERGB;        // the hole's text colour, three numbers; kept from hole to hole

  // The current hole (reset by the passes that fill them)
  std::int32_t DSAMPN = 0;      // entries of DSAMP1/DSAMP2
  std::int16_t NOTENUM = 0;     // notes in NOTE(1..NOTENUM)
  std::vector<std::int32_t> NOTEAT;  // NOTEAT[i]: where note i stands in the input (LINEAT)
  std::vector<std::int32_t> ATTRAT;  // ATTRAT[i]: where attribute line i of "Awork.1" stands (LINEAT)
  bool NOTESFULL = false;       // a note was left out in this hole (written down once)
  std::int32_t ABBRN = 0;       // abbreviation lines in ABBREV(1..ABBRN)
  bool ABBRFULL = false;        // more than the 15 kept were met in this hole (said once)
  std::int16_t BINDFLAG = 0;    // position of "BIND" in the attached-file line, 0: not bound
  std::int32_t ATTRN = 0;       // attributes declared: ATTRNAME/ATTRWIDTH(1..ATTRN)
  std::int32_t ATTRRECS = 0;    // attribute records in "Awork.2"
  std::int32_t LAYERLINES = 0;  // layer lines of the hole, bad ones included
  double PREVDEPTH = 0;         // depth of the layer line before
  double RECDEPTH = 0;          // depth of the current layer line, 0 when none
  double HOLEDEPTH = 0;         // the deepest depth of the hole's layer lines, 0 when none
  std::string DEPTHTEXT;        // the depth word, cleaned
  std::string LOWLINE;          // lower-case copy of a line for the sample scan
  bool LONGLINETOLD = false;    // a text too long for a work channel was said in this hole

  // The sample scan (PUTINPIC, TRYAGAIN, READSAMP)
  std::string SAMPKIND;          // the kind mark of the samples in hand ("[SYMB1]"...); kept from hole to hole
  std::int32_t SAMPLEVELS = 0;   // levels found in the line
  std::int32_t SAMPNAMES = 0;    // sample names found in the line

  // The attribute pass and the tabulations
  std::int32_t ATTRROWS = 0;     // records of the attribute in hand
  bool ATTRLINESFULL = false;    // "Awork.1" is full for this hole (said once)
  bool ATTRRECSFULL = false;     // the hole has as many attribute records as the coded file may hold (said once)
  std::string COLHEAD, COLTEXT;  // BREAKCOL: a column definition's heading and text

  // MAKEFILE and FILEDATA
  std::string JOBCODE, HOLECODE;  // three characters each: the end of the job's and the hole's name
  std::set<std::string> USEDCODES;  // the code of every coded hole file written in this conversion
  std::map<std::string, long> SPARENEXT;  // by job code: the number of the next spare code to try
  std::int32_t TRXCOUNT = 0;      // coded hole files written
  std::int32_t TRXCHAN = 0;       // file number of the coded hole file

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
  void step(const std::string& marker) {
    if (trap) trap->step_copy(marker);
  }
};

// --- sections of the driver (proconv.cpp) ---
// Per-run reset (BEZIER, SYMBOLDPI, HEADER(1..63)), the conversion block of the SET file, the
// signature of word-processor files and CRLF.
void PRELIMIN(ConvState& st);
// The input file: missing ends the engine; a word-processor document is turned into "workfile.txt" and
// switches the remap of word-processor text on for this conversion (WPMODE).
void CHECKWOR(ConvState& st);
// Deletes the work files of the last conversion, then loads the vocabularies (FETCHVOC).
void ENTERFIL(ConvState& st);
// The early exit: closes every file and leaves PROCONV without the catalogue.
[[noreturn]] void EXXIT(ConvState& st);

// --- the SET-file upgrade (proconv_upgrade.cpp) ---
// A SET file of the older layout (no item 12 and 13 in its conversion block): picks the characters to
// underline a word and to omit the symbol among the standard ones it does not use, writes the upgraded
// copy "NewSetup.set", keeps the file as it was in "oldsetup.set" and puts the copy in its place.
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

// True for a slash marker: a whole line of one to three characters 180 ("/", "//", "///" as read). A
// character 180 within a text (the acute accent of Windows-1252) is no marker.
bool is_slash_marker(const std::string& line);

// True when the last read found the end of the input (an empty line, nothing left to read): every
// loop over lines stops there too, not only at the slash marker it waits for.
bool input_ended();

// The line number (from 1) of the input text at a byte offset of it, the lines ended as LINEINPU ends
// them (CR LF, CR or LF); counted on from the offset asked for before, so a conversion reads its input
// once more at most however many lines it names.
std::int32_t input_line(ConvState& st, std::int32_t offset);
// Something of the input is left out or cannot be drawn as typed (what: the console's words): one
// ERROR.LOG line naming the hole, the input file and the line (LINEAT, where known), and the run ends
// with exit code 1. The console says it as before.
void input_fault(ConvState& st, const std::string& what);
// Whether a depth read from the input lies beyond what a sheet can draw (kDeepestDepth): if so it is
// said as input_fault says a fault, with the line and what is left out for it ("the record is left out").
bool depth_beyond_sheet(ConvState& st, double depth, const std::string& line, const std::string& left_out);

// --- the pre-scan (proconv_blocks.cpp) ---
// Reads the whole input once: every hole block must have exactly two "/" lines before its "//" line, and a "///" line must end the data. A wrong structure
// is reported and ends the conversion (EXXIT) with the stop bit 0x1000 of RUNFLAGS set.
void BLOCKSLA(ConvState& st);
// Byte position (from 0) where the text of an open input file starts: past a UTF-8 byte-order mark, which
// editors put in front of files saved as UTF-8, else 0.
std::int32_t text_start(int channel);

// --- the job and the header fields (proconv_header.cpp) ---
// Empties the per-hole header fields and fields 20 and 21; loads the remap table of word-processor text.
void JOBHEADE(ConvState& st);
// The header field of CONVLINE's keyword: FIELDNO (0 when unknown) and VALUEPOS.
void PARZE(ConvState& st);
// Stores FIELDVAL into HEADER(FIELDNO), or reports an unknown keyword; warns of margins out of range.
void keyword_without_colon(ConvState& st);
void SELECTHE(ConvState& st);
// Empties the header fields the vocabulary marks as per hole (CONVCODE).
void clear_hole_fields(ConvState& st);
// The header field that a header line's keyword names in the vocabulary (the text before the first
// ":" without its points, hyphens and blanks, a whole entry of CONVBLOCK); 0 when none.
std::int32_t keyword_field(const ConvState& st, const std::string& keyword);

// --- the hole loop (proconv_holes.cpp) ---
// Reads the input a second time, hole by hole, and writes one coded hole file per hole.
void HOLEDETA(ConvState& st);
// The header of one hole into HEADER(); BEZIER and HOLERGB from its lines. Leaves the slash marker
// that ended the header (or "" at the end of the input) in CONVLINE.
void HOLEHEAD(ConvState& st);
// Empties what one hole fills: the per-hole header fields, field 20, the samples, notes 1..36, the
// attached file.
void FLUSHHEA(ConvState& st);
// The hole's work channels: "Dwork.1", "Dwork.2" (descriptions) and "Awork.1", "Awork.2" (attributes).
void OPENDESC(ConvState& st);
void CLOSEDES(ConvState& st);
void OPENATTR(ConvState& st);
void CLOSEATT(ConvState& st);
// Record n of a work channel, which holds texts of 32767 characters at most: a longer text is cut
// there, and the first such text of a hole is said.
void write_work_record(ConvState& st, const std::string& text, std::int32_t n, std::int32_t channel);

// --- the layer lines (proconv_layers.cpp) ---
// One record "[depth] description" per layer line into "Dwork.1"; DESCRCOUNT = the layer lines.
void EDITLAYE(ConvState& st);

// --- the notes part (proconv_notes.cpp) ---
// Notes, abbreviations, sample blocks and attribute blocks of one hole, up to its "//" line.
void EDITNOTE(ConvState& st);

// --- the coded hole file (proconv_trx.cpp) ---
// Names the hole's coded file: PROFILECODE = JOBCODE + HOLECODE, a code of its own when an earlier
// hole of this conversion has that code.
void MAKEFILE(ConvState& st);
// Writes PROFILECODE + ".TRX".
void FILEDATA(ConvState& st);

// --- the attribute blocks (proconv_attrib.cpp) ---
// The first pass over an attribute block: from the declaration line in CONVLINE up to the next
// attribute, sample-block or abbreviation line or the hole end, every line as read into "Awork.1"
// (ATTRTOTAL); a line that holds "::" starts a tabulation (TABULAR).
void read_attribute_block(ConvState& st);
// The second pass: declarations into ATTRNAME (with their option marks) and ATTRWIDTH (their record
// counts), records with their depth in front into "Awork.2" (ATTRN, ATTRRECS).
void attribute_pass(ConvState& st);
// One line into "Awork.1" as its next record; false (said once per hole) when the channel is full.
bool write_attribute_line(ConvState& st, const std::string& text);

// --- tabulations (proconv_tabular.cpp) ---
// A tabulation from its start line in CONVLINE: the column definitions, the heading row and the data
// rows, written column by column into "Awork.1" as hand-written attribute lines would be. Leaves the
// line that ended the table in CONVLINE, its kind set.
void TABULAR(ConvState& st);
// A column definition in CONVLINE into COLHEAD ("Name:") and COLTEXT (what follows the colon).
void BREAKCOL(ConvState& st);

// --- samples and water levels (proconv_samples.cpp) ---
// The sample scan of CONVLINE (LOWLINE its lower-case copy): the kind mark, then the levels; goes on
// into TRYAGAIN.
void PUTINPIC(ConvState& st);
// The names of the scanned line, paired with its levels into DSAMP1/DSAMP2 (DSAMPN).
void TRYAGAIN(ConvState& st);
// The samples of the attached file NOTENAME (which exists) into DSAMP1/DSAMP2.
void READSAMP(ConvState& st);
