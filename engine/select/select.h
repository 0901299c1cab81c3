// Procedures of the hole selection subsystem that other parts call.
#pragma once

#include <functional>
#include <string>

// The hole catalogue: lists the coded hole files (".TRX") of the current folder into HOLECATALOG,
// sorted, and runs the hole selection and coding over them; returns when that is done. The run calls
// it after a complete conversion.
void PROCAT();
// The hole selection: in a one-shot run the run file's hole list (else every hole) is coded at once;
// an interactive run shows the selection screen, pass after pass, until an answer chooses nothing.
void PROSELEC();
// The hole list of the run file (RUNLINE) as entries of HOLECATALOG into INFILE.
void FITFILES();
// The hole's name (header item 20) and job number (item 22) as the coded file of code holds them;
// false when the file cannot be read up to the name (job is then empty where it was not reached).
bool coded_hole_header(const std::string& code, std::string& hole, std::string& job);
// The answer line of the selection screen at (row, col): the prompt, then keys until Enter or Esc; the
// typed text is left in TYPEDTEXT (echoed on row CONROWS - 1 after column TYPEDCOL).
void GINPUT(std::int16_t row, std::int16_t col, const std::string& prompt);
// One key of the answer line: key receives the key read, or "" when it went into the typed text.
void NEWPROGR(std::string& key);
// The hole coder: each entry of INFILE is read from its coded hole file into the sheet data and handed
// to the sheet layout; then the summary and, for PDF, the joined file. INFILE is empty on return.
void PROCODE();

// What the hole coder hands over to: the sheet layout of a hole (and of the summary), the summary's
// data and the join of the run's PDF files. The sheet stands above the coder, so the run layer puts
// the sheet's PROFORMA and PROSUMMA here before it calls the catalogue (a member left empty does
// nothing); combine left empty calls COMBINE of the PDF writer. Tests and the test program codedump
// put their own in their place.
//
// may_draw, when set, is asked once as the coder begins, with INFILE holding the holes chosen, before
// anything is drawn: false draws nothing of them (it has said why, and ended the run with 1).
struct CoderHandOver {
  std::function<void()> proforma;
  std::function<void()> prosumma;
  std::function<void()> combine;
  std::function<bool()> may_draw;
};
CoderHandOver& coder_hand_over();

// While pat occurs in text, the first character of its first occurrence is removed (four blanks and
// the pattern of two blanks leave one). An empty pattern changes nothing.
void EXBLANK(std::string& text, const std::string& pat);
// Splits a file name at its first ".": "ABC.EXT" gives name ABC and ext EXT; "ABC." name ABC and no
// ext; a name without "." becomes the ext and name becomes default_name. Both trimmed of blanks.
void SPLITFIL(const std::string& default_name, std::string& name, std::string& ext);
