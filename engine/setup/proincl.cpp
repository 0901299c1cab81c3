// The word-list tests of the conversion's routine library. They stand in the setup subsystem because
// its colour markers use them as the conversion does; the file keeps the name of the library they
// belong to, which is the module name their errors are logged with.
#include "engine/runtime/error.h"
#include "engine/runtime/text.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"

namespace {

enum class WordCase { Lower, Upper, Keep };

// The word-list scan shared by the three tests: the first word of the list, in list order, that
// occurs in text (already in the case the test compares in). Sets word to it.
std::int32_t scan_list(const std::string& text, const std::string& list, WordCase word_case, std::string& word) {
  word.clear();
  // The list in the test's case once (a case change keeps every "/" where it was), then each word
  // looked at where it stands.
  // The lists are few and asked about again and again: the last one converted in each case is kept.
  static std::string lower_list, lower_words, upper_list, upper_words;
  std::string_view words = list;
  if (word_case != WordCase::Keep) {
    const bool lower = word_case == WordCase::Lower;
    std::string& source = lower ? lower_list : upper_list;
    std::string& converted = lower ? lower_words : upper_words;
    if (source.size() != list.size() || source != list || converted.size() != list.size()) {
      source = list;
      converted = lower ? rt::LCASE(list) : rt::UCASE(list);
    }
    words = converted;
  }
  long i = 1;
  while (true) {
    const long j = rt::INSTR(i + 1, words, "/");
    if (j == 0) return 0;
    if (j > i + 1) {
      const std::string_view w = words.substr(static_cast<size_t>(i), static_cast<size_t>(j - i - 1));
      // A word written with a leading blank (" d1", so that "undisturbed" holds no " disturbed") is
      // found at a word start, and the start of the text is one.
      const bool at_start = w.size() > 1 && w[0] == ' ' && text.compare(0, w.size() - 1, w.substr(1)) == 0;
      const long at = at_start ? 1 : rt::INSTR(text, w);
      if (at > 0) {
        word = w;
        return static_cast<std::int32_t>(at);
      }
    }
    if (j >= static_cast<long>(words.size())) return 0;
    i = j;
  }
}

}  // namespace

std::int32_t FNLPRES(const std::string& text, const std::string& list) {
  RT_TRAP(trap, "FNLPRES");
  std::string word;
  return scan_list(text, list, WordCase::Lower, word);
}

std::int32_t FNUPRES(const std::string& text, const std::string& list) {
  RT_TRAP(trap, "FNUPRES");
  std::string word;
  return scan_list(text, list, WordCase::Upper, word);
}

std::int32_t FNPRES(const std::string& text, const std::string& list) {
  RT_TRAP(trap, "FNPRES");
  PRESWORD.clear();
  PRESSYMB.clear();
  std::string word;
  const std::int32_t at = scan_list(rt::LCASE(text), list, WordCase::Lower, word);
  if (at == 0) return 0;
  trap.step("0002");
  PRESWORD = rt::UCASE(word);
  // The symbol mark of the word: the first "/SYMB..." entry, closed by "/", after the word's own
  // entry in the keyword table. None when the word has no entry or no such mark follows.
  static rt::ListSearch in_keywords;  // the table stays the same for a run, and its words repeat
  const long k = in_keywords.find(KEYWORDS, "/" + PRESWORD);
  if (k > 0) {
    const long a = rt::INSTR(k, KEYWORDS, "/SYMB");
    const long b = a > 0 ? rt::INSTR(a + 1, KEYWORDS, "/") : 0;
    if (b > 0) PRESSYMB = "[" + rt::MID(KEYWORDS, a + 1, b - a - 1) + "]";
  }
  return at;
}
