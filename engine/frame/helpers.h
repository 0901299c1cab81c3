// Small text and number helpers that every engine stage uses. All parameters by reference, as the
// engine's procedures take them; where one writes to a parameter the caller's variable changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/runtime/array.h"

// The run of "0".."9", "." and "#" immediately before the last occurrence of key in text.
std::string FNFINDV(const std::string& text, const std::string& key);
// Splits line at any character of delims into PARSED(1..PARSEDCOUNT); "blanksok" in delims keeps empty
// fields and leaves delims holding its first character only.
void PARSVARS(const std::string& line, std::string& delims);
// Upper case, letters A-Z and digits only.
std::string ALPHNUM(const std::string& text);
// The next line of a binary file from byte position pos (from 0); see linein.cpp.
void LINEINPU(std::int32_t fileno, std::string& line, std::int32_t& pos);
// Replaces every occurrence of old_text by new_text, left to right, not searching the inserted text.
void REPLAZE(std::string& text, std::string_view old_text, std::string_view new_text);
// The text before the first "=" (the first 38 characters without one), every blank removed.
std::string FNSTRIP(const std::string& line);
// "File not found : " and the name, then a key.
void NOFILE(const std::string& file);
// NOFILE for a file the run needs (a vocabulary, the symbol library, a metric file, the prompt file):
// the same text in ERROR.LOG too, once per name in a process, and the run ends with exit code 1.
void missing_file(const std::string& file);

// A path on a row of the console (fitpath.cpp), measured in the cells print_text takes (a letter of a
// name in UTF-8 is one, whatever its bytes). path_cut: how many leading bytes give way to "...\" so
// that the rest fits in room cells (whole folders first; inside the last part only when it alone is
// too long, at least one letter staying, none split); 0 when the path fits. path_end: the path as it
// then shows. fit_paths: text with the paths that stand in it (given in order) shortened to their ends
// until it fits in width cells: the longest first, none below "...\" and its last part; when that is
// not enough, the last parts alone if they fit, else the longest last parts show their ends; what
// still does not fit is cut at width.
// fold_words: text in lines of at most width columns, each ended at a blank (a word longer than the
// width is cut at it); the blanks at a fold are dropped.
std::vector<std::string> fold_words(const std::string& text, size_t width);
// shown_path: a path as the user reads it: one of this system's own folders ("/home/...") with "/"
// throughout (the engine joins "\" and a name to it), an engine path ("C:\...") as it stands.
size_t path_cut(const std::string& path, long room);
std::string shown_path(const std::string& path);
std::string path_end(const std::string& path, long room);
std::string fit_paths(const std::string& text, const std::vector<std::string>& paths, long width);

// x with n decimals; no digit before the point below 1 (" .502").
std::string FNFIXN(double x, std::int32_t n);
// x with exactly two decimals, halves up (" 0.05", "-12.00").
std::string FNRANDCE(double x);
// A depth as its label shows it, written as FNRANDCE writes it: the decimal text of the depth (as it
// was typed) rounded half up (away from 0) to two decimals, so that 0.945 gives " 0.95" and 0.155 " 0.16" where
// FNRANDCE, working on the binary value, gives 0.94 and 0.15.
std::string depth_label(double x);
// A whole number of hundredths as FNRANDCE writes it (-5 is "-0.05", 80700 is " 807.00").
std::string hundredths_text(long long v);
// The same put at out (room for 24 characters); returns the end of what it put.
char* put_hundredths(char* out, long long v);
// The deepest depth (and the highest level above it) a sheet or log draws, in the hole's unit (metres or
// feet): at the finest scale a scales file can name (1:1) every position of a hole within it, top to
// bottom, stays a number of dots far from the limits of a position; no hole on earth comes near it.
// A depth read from outside beyond it is said and left out (with its hole where it is a layer's or the
// top depth).
constexpr double kDeepestDepth = 50000;
// Whether a depth read from outside lies within kDeepestDepth either way (not a NaN or infinity).
inline bool depth_drawable(double depth) { return depth >= -kDeepestDepth && depth <= kDeepestDepth; }
// Sheet position / depth as a dot position on the current page.
std::int32_t FNPDOT(std::int32_t p);
std::int32_t FNZDOT(double z);
// text without the blanks and control characters (codes 0 to 32) at both ends.
std::string FNATRIM(const std::string& text);
// idx(1..n) = the numbers 1..n ordered by ascending key(), equal keys in ascending number order.
void MATSORTL(rt::Array<std::int32_t>& idx, const rt::Array<std::int32_t>& key, const std::int32_t& n);
// The printed width in dots of text on the current output device, starting in font font. The pen plotter
// draws every font at the fixed pitch of its plotter font, so there each character is one plotter_cell.
std::int32_t FNDLEN(const std::string& text, const std::int32_t& font);
// What FNDLEN gives text's head of n characters followed by tail, for n = 0..size, in one walk.
std::vector<std::int32_t> head_widths(const std::string& text, std::int32_t font, const std::string& tail);
// What FNDLEN gives head followed by text's end from character k (from 0) on, for k = 0..size, in one
// walk from the end.
std::vector<std::int32_t> end_widths(const std::string& head, const std::string& text, std::int32_t font);
// The size of the fixed-pitch font that the pen plotter draws for a setup font's printer code spec: the
// pitch in characters per inch (the number before "h") and the height in points (before "v"). The
// missing one of the two follows from the other (pitch x height = 135); a code with neither counts as
// 10 points, and the result is then false.
bool plotter_font_size(const std::string& spec, double& pitch, double& height);
// The width in dots of every character of setup font n (1..3) on the pen plotter: 300 / the pitch of its
// plotter font.
double plotter_cell(std::int32_t n);
// a(1..n) sorted ascending in plain byte order (exchange sort); a(0) and a(n + 1..) untouched.
void IRANK(rt::Array<std::string>& a, const std::int32_t& n);
// Replaces the first occurrence of old_text in text by new_text (nothing when it does not occur).
void SUBSTUTE(std::string& text, const std::string& old_text, const std::string& new_text);
