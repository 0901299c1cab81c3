// Procedures of the input conversion that other parts call. All parameters by reference, as the
// engine's procedures take them, except where a parameter is marked as a copy.
#pragma once

#include <cstdint>
#include <string>

// --- the conversion (proconv.cpp) ---
// Converts the input text SOURCENAME into one coded hole file per hole and the work channels. True
// when the conversion is complete and the run goes on to the hole catalogue PROCAT, which the run
// layer calls next. False, early, when the SET file, "wordpad.sig" or every conversion vocabulary is
// missing, when the input's slash blocks are wrong (the stop bit 0x1000 of RUNFLAGS is then set), or
// when the user stops it at a hole code used twice; a one-shot run that returns early ends with exit
// code 1. Ends the process with exit code 1 when the input file is missing.
bool PROCONV();

// One line of the open SET file SETCHAN: its first 28 characters trimmed of blanks into text, counter
// up by one. False (the end reported once, text unchanged) when the file has ended.
bool AIN(std::string& text, std::int32_t& counter);

// --- text cleaning ---
// Every "," becomes "."; then one trailing "." is cut. Returns the cleaned text, which text holds too.
std::string FNCOMMA(std::string& text);
// Removes the blanks in the name parts of "name = value." entries (before each "=", from the "."
// that ends the previous value on).
void DELBLINK(std::string& text);

// --- text editing (proincl.cpp) ---
// Removes note n of NOTE(1..count) and lowers count by one.
void DELNOTE(const std::int16_t& n, std::int16_t& count);
// Deletes ch from text again and again until it no longer occurs.
void REMOVE(std::string& text, const std::string& ch);
// Replaces old_text by new_text; an old_text written right after the escape character ESCCHAR stays
// itself and loses the escape character.
void RIPLACE(std::string& text, const std::string& old_text, const std::string& new_text);
// The first number above 0.0001 among the words of text from position pos on (words split at
// " =:;()[]", decimal commas allowed), in the short number form; the last word's value when none is.
void NEXTVALU(const std::int32_t& pos, const std::string& text, std::string& value);
// The short number form of the attribute options and point depths: the shortest decimal form with at
// most 15 significant digits, no sign, no "0" before the point (100, 3.25, .5).
std::string short_number_text(double v);

// --- line reading (proincl.cpp, remap.cpp) ---
// The next non-blank line of the input file fileno at LINECOUNT in the conversion's internal form:
// verbatim blocks, mark-up characters mapped onto their codes, "**", the remap of word-processor text,
// and "/", "//", "///" as one, two or three characters 180. At the end of the input: "".
void FETCHNEX(const std::int32_t& fileno, std::string& line);
// The remap of word-processor text through REMAPFROM/REMAPTO; no character is mapped twice.
void REMAP(std::string& text);
// Loads REMAPFROM and REMAPTO from "wordpad.dat" (count byte, 2 bytes, from, 2 bytes, to); a missing
// file leaves the table empty. Runs under the caller's trap (the job start of the conversion).
void load_remap_table();
// -1 when text (a copy) reads as a number: a non-zero value, or a sign, point or digit followed only
// by points and digits (0.0, -0); else 0. A lone 0, sign or point is not numeric.
std::int16_t ISNUMERI(std::string text);
// Cuts trailing "S", "s", ":" and blanks, then lower-cases: Notes: -> note.
void STRIPPLU(std::string& text);

// --- word-processor documents (msvlx.cpp) ---
// Writes the running text of the document SOURCENAME as "workfile.txt": the line "WORDPAD", then the
// text without its field codes, tabs as six blanks, paragraphs ended by CR LF and broken at a blank
// into lines of at most 75 characters (continuation lines of a tab and at most 67).
void MSVLX();
// In the window WPBUF (its first WPLEN characters): every occurrence of find becomes replacement. A
// match that straddles the window's end widens the window to its end and moves WPPOS on as much.
void BAREPLAC(const std::string& find, const std::string& replacement);
// In the window WPBUF: every stretch from open through the next close goes (a close beyond the window
// widens it, as BAREPLAC does); an open without a close after it stays with the rest of the window.
void BASTRIP(const std::string& open, const std::string& close);
