// String functions.
#include "text.h"

#include <string.h>

#include <algorithm>

#include "engine/runtime/error.h"

namespace rt {

std::string LEFT(std::string_view s, long n) {
  if (n <= 0) return {};
  return std::string(s.substr(0, static_cast<size_t>(n)));
}

std::string RIGHT(std::string_view s, long n) {
  if (n <= 0) return {};
  size_t k = std::min(s.size(), static_cast<size_t>(n));
  return std::string(s.substr(s.size() - k));
}

std::string MID(std::string_view s, long start, long n) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start) > s.size() || n == 0) return {};
  std::string_view rest = s.substr(static_cast<size_t>(start - 1));
  if (n < 0) return std::string(rest);
  return std::string(rest.substr(0, static_cast<size_t>(n)));
}

void MID_SET(std::string& s, long start, std::string_view text, long n) {
  if (start < 1 || static_cast<size_t>(start) > s.size()) return;
  size_t k = text.size();
  if (n >= 0) k = std::min(k, static_cast<size_t>(n));
  k = std::min(k, s.size() - static_cast<size_t>(start - 1));
  s.replace(static_cast<size_t>(start - 1), k, text.substr(0, k));
}

long INSTR(std::string_view s, std::string_view find) { return INSTR(1, s, find); }

long INSTR(long start, std::string_view s, std::string_view find) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start) > s.size()) return 0;
  if (find.empty()) return start;
  const size_t from = static_cast<size_t>(start - 1);
  const size_t left = s.size() - from;
  // A long text is searched with memmem: string_view::find compares at every occurrence of find's
  // first character, and the engine looks up "/word" and "|word" in word lists of some kilobytes.
  // memmem prepares a table for each search, which a short line does not repay.
  if (find.size() > 1 && left >= 512) {
    const void* p = ::memmem(s.data() + from, left, find.data(), find.size());
    return p == nullptr ? 0 : static_cast<long>(static_cast<const char*>(p) - s.data()) + 1;
  }
  if (find.size() > left) return 0;
  // A short text: each place of find's first byte (memchr) is tried on its last byte before the
  // bytes between are compared, so a frequent first byte (" 0 R") costs no call to memcmp.
  const char* const base = s.data();
  const char* at = base + from;
  const char* const last = base + s.size() - find.size();  // the last place find can begin
  const char first = find.front(), final = find.back();
  const size_t n = find.size();
  if (first == ' ' && final != ' ') {
    // Blanks are the commonest byte of a text: the places of find's last byte are tried instead.
    const char* end = at + (n - 1);
    const char* const stop = base + s.size() - 1;
    while (end <= stop) {
      end = static_cast<const char*>(::memchr(end, final, static_cast<size_t>(stop - end) + 1));
      if (end == nullptr) return 0;
      const char* const begin = end - (n - 1);
      if (*begin == ' ' && (n <= 2 || ::memcmp(begin + 1, find.data() + 1, n - 2) == 0))
        return static_cast<long>(begin - base) + 1;
      ++end;
    }
    return 0;
  }
  while (at <= last) {
    at = static_cast<const char*>(::memchr(at, first, static_cast<size_t>(last - at) + 1));
    if (at == nullptr) return 0;
    if (at[n - 1] == final && (n <= 2 || ::memcmp(at + 1, find.data() + 1, n - 2) == 0))
      return static_cast<long>(at - base) + 1;
    ++at;
  }
  return 0;
}

long INSTR_LAST(std::string_view s, std::string_view find) {
  if (find.empty() || find.size() > s.size()) return 0;
  size_t p = s.rfind(find);
  return p == std::string_view::npos ? 0 : static_cast<long>(p) + 1;
}

long ListSearch::find(const std::string& list, std::string_view what) {
  if (list != list_) {
    list_ = list;
    found_.clear();
  }
  // Bounded: the words of a run's input are many, but their variety is not.
  if (found_.size() >= 4096) found_.clear();
  if (const auto it = found_.find(what); it != found_.end()) return it->second;
  const long at = INSTR(list, what);
  found_.emplace(std::string(what), at);
  return at;
}

// The case changes touch ASCII letters only; written without branches, so the compiler can change
// many bytes at a time.
std::string UCASE(std::string_view s) {
  std::string r(s);
  for (auto& c : r) {
    const auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(u - (static_cast<unsigned char>(u - 'a') < 26 ? 32 : 0));
  }
  return r;
}

std::string LCASE(std::string_view s) {
  std::string r(s);
  for (auto& c : r) {
    const auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(u + (static_cast<unsigned char>(u - 'A') < 26 ? 32 : 0));
  }
  return r;
}

std::string LTRIM(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  return std::string(s.substr(i));
}

std::string RTRIM(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return std::string(s.substr(0, n));
}

std::string TRIM(std::string_view s) {
  size_t i = 0, n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  while (i < n && s[i] == ' ') ++i;
  return std::string(s.substr(i, n - i));
}

std::string SPACE(long n) { return n > 0 ? std::string(static_cast<size_t>(n), ' ') : std::string(); }

std::string STRING_(long n, char c) { return n > 0 ? std::string(static_cast<size_t>(n), c) : std::string(); }

std::string CHR(int code) {
  if (code < 0 || code > 255) {
    raise(5);
    return {};
  }
  return std::string(1, static_cast<char>(code));
}

int ASC(std::string_view s) {
  if (s.empty()) {
    raise(5);
    return 0;
  }
  return static_cast<unsigned char>(s[0]);
}

std::string LSET(std::string_view s, long n) {
  std::string r(s.substr(0, std::min(s.size(), static_cast<size_t>(std::max(0L, n)))));
  r.resize(static_cast<size_t>(std::max(0L, n)), ' ');
  return r;
}

std::string RSET(std::string_view s, long n) {
  if (n <= 0) return {};
  if (s.size() >= static_cast<size_t>(n)) return std::string(s.substr(0, static_cast<size_t>(n)));
  return std::string(static_cast<size_t>(n) - s.size(), ' ') + std::string(s);
}

}  // namespace rt
