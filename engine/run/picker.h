// The console file picker's pieces: the remembered input files ("memofile") and its boxes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The remembered input files, newest first: entries 1..count of list (entry 0 unused). A missing
// "memofile" gives the one entry "C:\"; at most 90 lines are read.
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
