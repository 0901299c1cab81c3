// Procedures of the sheet subsystem that other parts call. All parameters by reference.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// --- the sheet stages of a run (called by the hole coder through its hand-over, which the run layer
// fills with them) ---
// Lays out the sheet of the hole the coder has just read (or, after PROSUMMA, the summary) and hands it
// to PROPRINT; a sheet that cannot be laid out is said, written to ERROR.LOG and left out.
void PROFORMA();
// Builds the summary (legend) sheet's data from the run's symbols (SUMMARYKEY). STAND-IN: one line.
void PROSUMMA();

// Forgets the results of the run before: each run's results replace an earlier run's files of the
// same names (only two results of one run get "_2", "_3", ...). The run layer calls it as a run begins.
void forget_run_results();
// The files the holes given will be written to, in the order PROSTOP names them (after what this run
// has written already): each hole's result in its job folder of the output folder (DATADIR) for the
// device OUTDEV, and for PDF the PDF of the text it is printed with (BIND). A name per hole that may get
// a result: a hole whose sheet is not made leaves its name to the next, so every result of the holes is
// among them. code is the code of the hole's coded file (an entry of INFILE, trimmed); hole and job are
// its header items 20 and 22 as that file holds them.
struct PlannedHole {
  std::string code, hole, job;
};
struct PlannedResult {
  std::string name;  // the engine's name of the file (C:\VLXFILES\J1\BH1.pdf)
  std::string hole;  // the hole's name, trimmed
  std::string text;  // the attached text whose PDF it is; empty for the hole's own result
};
std::vector<PlannedResult> planned_results(const std::vector<PlannedHole>& holes);

// Draws the pages of the sheet PROFORMA laid out, then hands over to the borehole log (when the hole has
// log columns) or ends the plot (PROSTOP).
void PROPRINT();
// A box outline: rules at y and y + h from x to x + w, borders at x and x + w.
void MINIBOX(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h);
// The growth of a header box (the hole and job boxes of the sheet and of the log) w dots wide for a text
// tw dots wide: the box grows 2 dots at a time (growth) until more than 8 dots stay free on each side;
// margin is then the text's distance from the box's left side.
void box_growth(std::int32_t w, std::int32_t tw, std::int32_t& growth, std::int32_t& margin);

// Whether the log's own pages stand on the same sheet as their profile page, on its left half: on A3 on
// the PDF, pen plotter and DXF devices. Elsewhere each page is a sheet of its own and closes its frame.
bool log_pages_joined();
// Whether the log columns beside the profile are drawn on the profile's own page: on the PDF, pen
// plotter and DXF devices. The printer's profile page has gone out when the log begins, so there they
// come on a page of their own, which closes its frame itself.
bool log_columns_on_profile_page();
// The title of the borehole log's depth scale: vocabulary words 28 and 3 and the scale's unit, one word
// a row.
std::string log_depth_title(const std::string& unit);
// The rows of the titles of the log's scale strips beside a pass's columns, one word a row: the strip
// left of the columns (left) and the one right of them (right) carry the reduced-level title (vocabulary
// word 27) and the depth title, the depth title left when swapped.
std::int32_t log_scale_title_rows(bool left, bool right, bool swapped, const std::string& unit);

// What the sheet hands over to: the borehole log of a hole (it stands above the sheet), filled by the
// run layer; an empty slot ends the plot at once (PROSTOP). Tests of the layout put a recorder in
// proprint (empty: PROFORMA calls PROPRINT).
struct SheetHandOver {
  std::function<void()> prolog;
  std::function<void()> proprint;
};
SheetHandOver& sheet_hand_over();

// The breaker of folded lines: the longest head of text that stays below FOLDLIMIT in text, its width in
// width, the rest (trimmed) in rest. Changes CURFONT at font switches and fills GAPWIDTH.
void BREAKPT(std::string& text, std::int32_t& width, std::string& rest);
// A text being folded, held in two parts so that a long paragraph is folded line by line without
// copying its rest for every line: a short head (the indentation, a carried underline mark) before a
// stretch of the item's text, which must outlive it.
struct FoldText {
  std::string head;
  std::string_view body;
  size_t size() const { return head.size() + body.size(); }
  bool empty() const { return head.empty() && body.empty(); }
  char operator[](size_t i) const { return i < head.size() ? head[i] : body[i - head.size()]; }
  // The text without its blanks at either end (TRIM).
  void trim();
};
// BREAKPT on a FoldText: the line in line, its width in width; text keeps the rest (trimmed).
void BREAKPT(FoldText& text, std::string& line, std::int32_t& width);
// Turns each underline start mark of text into an underlined word (start mark ... end mark); count
// grows by one per word.
void FNUNDERL(std::string& text, std::int32_t& count);
// The strip position of depth v: (v - TOPDEPTH) x DOTSPERUNIT, rounded with ties to even.
std::int32_t FNLDOT(const double& v);
