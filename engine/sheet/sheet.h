// Procedures of the sheet subsystem that other parts call. All parameters by reference.
#pragma once

// --- the sheet stages of a run (called by the hole coder through its hand-over, which the run layer
// fills with them) ---
// Lays out the sheet of the hole the coder has just read (or, after PROSUMMA, the summary) and hands it
// to PROPRINT; a sheet that cannot be laid out is said, written to ERROR.LOG and left out.
void PROFORMA();
// Builds the summary (legend) sheet's data from the run's symbols (SUMMARYKEY). STAND-IN: one line.
void PROSUMMA();

// Draws the pages of the sheet PROFORMA laid out. STAND-IN for now: one console line per hole.
void PROPRINT();

// The breaker of folded lines: the longest head of text that stays below FOLDLIMIT in text, its width in
// width, the rest (trimmed) in rest. Changes CURFONT at font switches and fills GAPWIDTH.
void BREAKPT(std::string& text, std::int32_t& width, std::string& rest);
// Turns each underline start mark of text into an underlined word (start mark ... end mark); count
// grows by one per word.
void FNUNDERL(std::string& text, std::int32_t& count);
// The strip position of depth v: (v - TOPDEPTH) x DOTSPERUNIT, rounded with ties to even.
std::int32_t FNLDOT(const double& v);
