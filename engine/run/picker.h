// The console file picker's pieces: the remembered input files ("memofile") and its boxes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The remembered input files, newest first: entries 1..count of list (entry 0 unused). A missing
// "memofile" gives "C:\", the engine folder's Examples folder and the home folder (see popfiles.cpp);
// at most 90 lines are read.
void POPFILES(std::vector<std::string>& list, std::int32_t& count);
// Rewrites "memofile": entry on top, then the older entries (at most 19 in all) that are not the same
// file: equal to it (letter case ignored) or ending with it right after a "\", "/" or ":".
void PUSHFILE(std::vector<std::string> list, std::int32_t count, std::string entry);

// A double-line frame with a blank inside (kept within 80 x 24; the limits are written back).
void DRAW1BOX(std::int32_t& top, std::int32_t& left, std::int32_t& height, std::int32_t& width);
// Recolours the cells of rows first..last, columns first_col..last_col (relative to top and left) in colour
// pair entry (its inverse for an entry of 0 or below, which becomes positive in the caller's variable).
void PAINTBOX(const std::int32_t& first, const std::int32_t& last, const std::int32_t& first_col,
              const std::int32_t& last_col, const std::int32_t& top, const std::int32_t& left, std::int32_t& entry);

// The text of the last Enter in the picker's input field, for F3; it lasts as long as the process.
extern std::string RECALLTEXT;
// A one-line input field at (row, col): the prompt, the field and the key hint (an empty hint gets the
// default, which the caller's variable receives). text is the proposed text on entry and the result on
// return: Enter gives what the field shows (with the cut head of a long path, unless it holds ":"), Esc
// the head alone, a key it has no use for the head and that key's character.
void PICKPUT1(const std::int32_t& row, const std::int32_t& col, const std::string& prompt, std::string& text,
              std::string& hint);

// The console file picker: the chosen file's name (as listed or typed), or "NIL" when the user cancels.
void PICKFTCH(std::string& result);
