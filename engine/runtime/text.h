// The string functions of the engine's language, on single-byte text. Positions count from 1; a
// position or count outside the text gives the part that exists (never an error).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace rt {

std::string LEFT(std::string_view s, long n);
std::string RIGHT(std::string_view s, long n);
// MID$(s, start[, n]): from position start (1-based).
std::string MID(std::string_view s, long start, long n = -1);
// MID$ statement: overwrites s from start with text, never changing the length of s.
void MID_SET(std::string& s, long start, std::string_view text, long n = -1);
// INSTR([start,] s, find): position of find in s from start, 0 when absent (an empty find gives start
// when start lies within s, else 0).
long INSTR(std::string_view s, std::string_view find);
long INSTR(long start, std::string_view s, std::string_view find);
// INSTR(-1, ...) style search from the right: position of the last occurrence, 0 when absent.
long INSTR_LAST(std::string_view s, std::string_view find);
std::string UCASE(std::string_view s);
std::string LCASE(std::string_view s);
// Blank trimming (spaces only, as the language's LTRIM$/RTRIM$/TRIM$).
std::string LTRIM(std::string_view s);
std::string RTRIM(std::string_view s);
std::string TRIM(std::string_view s);
std::string SPACE(long n);
std::string STRING_(long n, char c);
std::string CHR(int code);
// ASC: code of the first character; an empty text reports error 5 and gives 0.
int ASC(std::string_view s);
// LSET into a field of width n: padded with blanks or cut.
std::string LSET(std::string_view s, long n);
// RSET into a field of width n: right-aligned, cut from the right when longer.
std::string RSET(std::string_view s, long n);

// INSTR(list, what) for a long list that stays the same while many texts are looked up in it (the
// symbol library's names, the keyword table): each answer is kept with a copy of the list, and given
// again while the list holds the same text; a changed list forgets them.
class ListSearch {
 public:
  long find(const std::string& list, std::string_view what);

 private:
  // Looked up by the text itself, without a copy of it made for each question.
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::string list_;
  std::unordered_map<std::string, long, Hash, std::equal_to<>> found_;
};

}  // namespace rt
