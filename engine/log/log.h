// Procedures of the borehole-log subsystem that other parts call. All parameters by reference.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Draws the borehole-log pages of the hole the sheet has just drawn (the compressed pass beside the
// profile, the separate pass on pages of their own), then ends the hole's plot with PROSTOP. The run
// layer puts it into the sheet's hand-over.
void PROLOG();

// --- the log's drawing primitives and text geometry (prologx.cpp), positions in dots ---
// A thick horizontal rule from x1 to x2 at y.
void RULE4(const std::int16_t& x1, const std::int16_t& x2, const std::int16_t& y);
// A thick vertical rule at x from y1 to y2 (on PDF in the caller's order).
void BORDER4(const std::int16_t& x, const std::int16_t& y1, const std::int16_t& y2);
// A dotted (thin) vertical line at x from y1 to y2; nothing when the two are equal.
void DOTLINE(const std::int16_t& x, const std::int16_t& y1, const std::int16_t& y2);
// The text cleaned of its mark-up codes, in place.
void WASHTEXT(std::string& text);
// The words of a title one per line at x: in the title block on the last page (or when the footer
// stands on every page), else at the foot of the page. With room (dots) a word wider than that is drawn
// narrower on PDF, down to the width of the same word two points smaller, and else cut with a mark, so
// that a column's title stays within its column.
void WRITELAB(const std::int16_t& x, const std::string& text, std::int32_t room = 0);
// A word made to fit room dots in font: narrowed on PDF down to the width of the word two points
// smaller, else cut at its end with "..." (fit_text). True when it was changed; width is what is drawn.
bool fit_word(std::string& word, std::int32_t font, std::int32_t room, std::int32_t& width);
// The depth band of record rec's text: n words take n - 0.5 lines around its label depth, with a
// quarter line of air above and below.
void TEXTLINE(double& top, double& bottom, const std::int16_t& rec);
// The number after a three-character marker that starts at pos (1-based) of text.
void DNEXTVAL(const std::int32_t& pos, const std::string& text, double& value);
// The offset of a graph value in a column of width dots whose right edge stands for max.
double FNXSHIFT(const std::string& value, const double& max, const double& width);
// The zone of record rec of the attribute ATTRNO: from the depth of the nearest earlier record that is
// no point (FIRSTPAGEDEPTH for the first) down to its own depth; a point ("@") has top = bottom.
void ZONELINE(double& top, double& bottom, const std::int16_t& rec);

// The attribute records of the hole, read once from "Awork.2" when the log opens its channels, so that
// the layout's overlap rounds do not read the channel again and again. Record n (1-based) of the
// channel; an empty text outside them.
const std::string& log_record(std::int32_t n);
void load_log_records(std::int32_t count);
void forget_log_records();
// Tests put the records in place of the channel's.
void set_log_records(std::vector<std::string> records);
