// Procedures of the sheet subsystem that other parts call. All parameters by reference.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

// text without the blanks and control characters (codes 0 to 32) at both ends.
std::string FNATRIM(const std::string& text);
// idx(1..n) = the numbers 1..n ordered by ascending key(), equal keys in ascending number order.
void MATSORTL(rt::Array<std::int32_t>& idx, const rt::Array<std::int32_t>& key, const std::int32_t& n);
// a(1..n) sorted ascending in plain byte order (exchange sort); a(0) and a(n + 1..) untouched.
void IRANK(rt::Array<std::string>& a, const std::int32_t& n);
// Replaces the first occurrence of old_text in text by new_text (nothing when it does not occur).
void SUBSTUTE(std::string& text, const std::string& old_text, const std::string& new_text);

// --- the sheet stages of a run (called by the hole coder through its hand-over) ---
// Lays out and draws the sheet of the hole the coder has just read (or, after PROSUMMA, the summary).
// STAND-IN for now: one console line per hole, nothing drawn.
void PROFORMA();
// Builds the summary (legend) sheet's data from the run's symbols (SUMMARYKEY). STAND-IN: one line.
void PROSUMMA();
