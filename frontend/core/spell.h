// The spell checker of the text editor: dictionaries per language in the engine folder (plain text,
// one word a line), the scan of the editor's text from the caret or within the selection, and the
// suggestions ranked by edit distance. All on the editor's bytes (Windows-1252); the Spelling window
// (frontend/main/frmspell.*) shows the fields of SpellForm and calls its buttons.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "frontend/core/ports.h"

namespace quorvel {

// Letter case of Windows-1252 text (ASCII and the accented letters of the code page).
std::string LowerText(std::string s);
std::string UpperText(std::string s);

// True for a character that belongs to a word: letters, digits, "-", "'", "/" and the accented letters
// of Latin-1 but æ, ø, ý, ÿ and þ, in either case.
bool IsSpellWordChar(unsigned char c);
// Levenshtein distance with unit costs, letters compared without regard to case.
int LD(const std::string& a, const std::string& b);
int Minimum(int a, int b, int c);
// 2: all capitals (also a word without letters); 1: initial capital; 0 otherwise.
int GetCase(const std::string& word);
// A dictionary word in the case code's form; a word that begins with a capital keeps its own spelling.
std::string MakeCase(const std::string& word, int case_code);
// True when the word holds a digit.
bool fHasNos(const std::string& word);

// What the checker needs of the editor's text box. Positions are 0-based byte offsets.
class SpellEditor {
 public:
  virtual ~SpellEditor() = default;
  virtual std::string text() = 0;
  virtual long sel_start() = 0;
  virtual long sel_length() = 0;
  virtual std::string sel_text() = 0;
  // Selects the range and keeps it in view.
  virtual void select(long start, long length) = 0;
  // Replaces the selection; the editor's undo ring records no step for it.
  virtual void replace_selection(const std::string& text) = 0;
};

// A dictionary of one language: its text, its word list (in the order the suggestions left it) and an
// index for the word test.
class Dictionary {
 public:
  static constexpr long kFirstCapacity = 2000;
  // The text as read: CR LF, LF and CR each end a line; the text keeps CR LF line ends and one leading and
  // one trailing blank per line go. Builds the word list and the index.
  void set_text(const std::string& file_bytes);
  const std::string& text() const { return text_; }
  // The file's bytes: the text with exactly one CR LF after its last line (none for an empty text).
  std::string file_bytes() const;
  // Appends a word line (no test whether it is there already).
  void add(const std::string& word);
  // True when a line of the dictionary is the word, letter case ignored.
  bool contains(const std::string& word) const;
  // The filled entries of the word list, and the capacity it has grown to (2000, doubled when full).
  const std::vector<std::string>& words() const { return words_; }
  long capacity() const { return capacity_; }
  // Up to 10 suggestions for the word, closest first, below distance 6, in the word's case. The word list
  // is left sorted by distance (stable: equal distances keep the order the previous call left).
  std::vector<std::string> suggestions(const std::string& word);
  // The word list sorted alphabetically (letter case ignored, stable); the text rebuilt from it.
  void sort_alphabetically();

 private:
  void add_to_list(const std::string& word);
  std::string text_;
  std::vector<std::string> words_;
  std::vector<int> distances_;
  long capacity_ = kFirstCapacity;
  std::unordered_set<std::string> index_;  // lower-cased lines, also the text after the last line end
};

// The Spelling window's logic. The window shows the public fields after every call and calls the
// button procedures; when unloaded becomes true it closes.
class SpellForm {
 public:
  SpellForm(const Ports& ports, SpellEditor& editor, std::string engine_folder, std::string program_folder);

  // Loading: the dictionary folder, the seeding from the program's folder, pending update files, the
  // language and its dictionary, then the check from the caret. False when the form unloaded itself.
  bool load();

  // --- what the window shows ---
  std::string not_in_dict;
  std::string change_to;
  std::vector<std::string> suggestions;
  std::vector<std::string> languages;
  std::string language_box;  // the text of the language box
  bool resume = false;       // the Ignore button reads "Resume"
  bool change_enabled = true;
  bool buttons_enabled = true;  // Ignore All, Add As Is, Add lowercase, Edit Dictionary
  bool unloaded = false;

  // --- the window's events ---
  void change();
  void change_all();
  void ignore_resume();
  void ignore_all();
  void add_as_is();
  void add_lowercase();
  void edit_dictionary();
  void cancel();
  void choose_language(const std::string& language);
  void pick_suggestion(const std::string& suggestion);
  void change_to_edited(const std::string& text);
  void activate();
  void deactivate();
  // Called once when the window closes: saves added words.
  void unload();

  // --- state, for the window and the tests ---
  const Dictionary& dictionary() const { return dic_; }
  const std::string& current_language() const { return cur_lang_; }
  const std::string& dictionary_folder() const { return dic_folder_; }

 private:
  void dic_set_up(const std::string& language);
  bool merge_dics(const std::string& update_file, const std::string& dic_file);
  void update_dic(const std::string& language);
  void set_limits();
  void spell_check();
  // Tests the word that ends before scan_pos_; true when the scan stops at it.
  bool test_word(const std::string& word);
  void replace_word(const std::string& replacement, long old_len, long new_len);
  void enable_buttons();
  bool end_of_range();
  void report(const std::string& where, const std::string& what);
  std::string dic_file(const std::string& language) const;

  Ports ports_;
  SpellEditor& editor_;
  std::string engine_folder_, program_folder_;
  std::string dic_folder_, cur_lang_, saved_lang_;
  Dictionary dic_;
  bool dic_changed_ = false, dic_edited_ = false, check_active_ = false;
  long scan_pos_ = 1, scan_end_ = 1;
  bool not_from_start_ = false;
  bool text_changed_ = false;  // a replacement changed the editor's text since the scan read it
  std::set<std::string> ignored_;                 // lower-cased
  std::map<std::string, std::string> change_all_;  // lower-cased old word -> replacement
};

}  // namespace quorvel
