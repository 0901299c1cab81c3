// The spell checker: dictionaries and their files, the scan of the editor's text and the suggestions.
#include "frontend/core/spell.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "frontend/core/modgeneral.h"

namespace fs = std::filesystem;

namespace quorvel {

namespace {

unsigned char lower_byte(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
  }
}

unsigned char upper_byte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
  }
}

const std::string kCrLf = "\r\n";

bool ends_with_crlf(const std::string& s) { return s.size() >= 2 && s.compare(s.size() - 2, 2, kCrLf) == 0; }

// The lines of a text: CR LF, LF and CR each end one; a last line without its end counts too.
std::vector<std::string> split_lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool ends_with_ci(const std::string& name, const std::string& ext) {
  return name.size() > ext.size() && UpperText(name.substr(name.size() - ext.size())) == UpperText(ext);
}

// The names of a folder's files that end with ext (letter case ignored), as the folder lists them.
std::vector<std::string> files_ending(const std::string& folder, const std::string& ext) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string n = it->path().filename().string();
    std::error_code e2;
    if (ends_with_ci(n, ext) && it->is_regular_file(e2)) names.push_back(n);
  }
  return names;
}

// The path of the folder's file of this name in any letter case, or folder + name when none exists.
std::string in_folder(const std::string& folder, const std::string& name) {
  std::error_code ec;
  if (fs::exists(folder + name, ec)) return folder + name;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string n = it->path().filename().string();
    if (UpperText(n) == UpperText(name)) return folder + n;
  }
  return folder + name;
}

}  // namespace

std::string LowerText(std::string s) {
  for (char& c : s) c = static_cast<char>(lower_byte(static_cast<unsigned char>(c)));
  return s;
}

std::string UpperText(std::string s) {
  for (char& c : s) c = static_cast<char>(upper_byte(static_cast<unsigned char>(c)));
  return s;
}

bool IsSpellWordChar(unsigned char c) {
  c = lower_byte(c);
  if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '\'' || c == '/') return true;
  return c == 0xDF || (c >= 0xE0 && c <= 0xE5) || (c >= 0xE7 && c <= 0xF6) || (c >= 0xF9 && c <= 0xFC);
}

int Minimum(int a, int b, int c) { return std::min({a, b, c}); }

int LD(const std::string& a, const std::string& b) {
  const size_t n = a.size(), m = b.size();
  if (n == 0) return static_cast<int>(m);
  if (m == 0) return static_cast<int>(n);
  std::vector<int> prev(m + 1), cur(m + 1);
  std::iota(prev.begin(), prev.end(), 0);
  for (size_t i = 1; i <= n; ++i) {
    cur[0] = static_cast<int>(i);
    const unsigned char ca = lower_byte(static_cast<unsigned char>(a[i - 1]));
    for (size_t j = 1; j <= m; ++j) {
      const int cost = ca == lower_byte(static_cast<unsigned char>(b[j - 1])) ? 0 : 1;
      cur[j] = Minimum(prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + cost);
    }
    std::swap(prev, cur);
  }
  return prev[m];
}

int GetCase(const std::string& word) {
  if (word == UpperText(word)) return 2;
  const auto first = static_cast<unsigned char>(word[0]);
  return first == upper_byte(first) ? 1 : 0;
}

std::string MakeCase(const std::string& word, int case_code) {
  if (word.empty()) return word;
  const auto first = static_cast<unsigned char>(word[0]);
  if (first == upper_byte(first)) return word;
  switch (case_code) {
    case 0: return LowerText(word);
    case 1: return UpperText(word.substr(0, 1)) + LowerText(word.substr(1));
    case 2: return UpperText(word);
    default: return word;
  }
}

bool fHasNos(const std::string& word) {
  return std::any_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// --- Dictionary ---

void Dictionary::set_text(const std::string& file_bytes) {
  text_.clear();
  words_.clear();
  distances_.clear();
  index_.clear();
  capacity_ = kFirstCapacity;
  for (std::string line : split_lines(file_bytes)) {
    // One leading and one trailing blank of a line go.
    if (!line.empty() && line.front() == ' ') line.erase(0, 1);
    if (!line.empty() && line.back() == ' ') line.pop_back();
    text_ += line + kCrLf;
    if (!line.empty()) add_to_list(line);
  }
}

std::string Dictionary::file_bytes() const { return text_; }

void Dictionary::add(const std::string& word) {
  if (word.empty()) return;
  if (!text_.empty() && !ends_with_crlf(text_)) text_ += kCrLf;
  text_ += word + kCrLf;
  add_to_list(word);
}

void Dictionary::add_to_list(const std::string& word) {
  words_.push_back(word);
  index_.insert(LowerText(word));
  // The list keeps at least one empty entry after its last word: it doubles when it fills.
  while (static_cast<long>(words_.size()) + 1 > capacity_) capacity_ *= 2;
}

bool Dictionary::contains(const std::string& word) const { return index_.count(LowerText(word)) > 0; }

std::vector<std::string> Dictionary::suggestions(const std::string& word) {
  distances_.resize(words_.size());
  for (size_t i = 0; i < words_.size(); ++i) distances_[i] = LD(words_[i], word);
  // A stable sort by distance gives the order exchanges of neighbours give: equal distances keep the
  // order the previous sort left.
  std::vector<size_t> order(words_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return distances_[a] < distances_[b]; });
  std::vector<std::string> w(words_.size());
  std::vector<int> d(words_.size());
  for (size_t i = 0; i < order.size(); ++i) w[i] = std::move(words_[order[i]]), d[i] = distances_[order[i]];
  words_.swap(w);
  distances_.swap(d);
  std::vector<std::string> out;
  const int case_code = word.empty() ? 0 : GetCase(word);
  for (size_t i = 0; i < words_.size() && out.size() < 10 && distances_[i] < 6; ++i)
    out.push_back(MakeCase(words_[i], case_code));
  return out;
}

void Dictionary::sort_alphabetically() {
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(words_.size());
  for (auto& w : words_) keyed.emplace_back(LowerText(w), std::move(w));
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  text_.clear();
  for (size_t i = 0; i < keyed.size(); ++i) {
    words_[i] = std::move(keyed[i].second);
    text_ += words_[i] + kCrLf;
  }
  distances_.clear();
}

// --- SpellForm ---

SpellForm::SpellForm(const Ports& ports, SpellEditor& editor, std::string engine_folder, std::string program_folder)
    : ports_(ports), editor_(editor), engine_folder_(std::move(engine_folder)), program_folder_(std::move(program_folder)) {}

std::string SpellForm::dic_file(const std::string& language) const { return in_folder(dic_folder_, language + ".DIC"); }

void SpellForm::report(const std::string& where, const std::string& what) {
  if (ports_.msgbox)
    ports_.msgbox->show(Message(what + (where.empty() ? "" : "\n" + where), Buttons::Ok, Icon::Critical,
                                "Error in frmSpell"));
}

bool SpellForm::load() {
  dic_folder_ = engine_folder_.empty() ? std::string() : WithFinalSeparator(engine_folder_);
  if (dic_folder_.empty() || !ExistDir(dic_folder_)) {
    if (ports_.msgbox)
      ports_.msgbox->show(Message("The Veltrax program Path '" + dic_folder_ + "' does not exist!\n" +
                                      "To run the spelling check, you must specify the Veltrax folder\n" +
                                      "(normally C:\\vlx7000) in the top box on the main Quorvel form.",
                                  Buttons::Ok, Icon::Critical, "Veltrax program Path not Defined!"));
    unloaded = true;
    return false;
  }
  std::string step;
  try {
    // The dictionaries that come with the program seed a folder that lacks them (or has them empty).
    const std::string own = program_folder_.empty() ? std::string() : WithFinalSeparator(program_folder_);
    step = "Dir(" + own + "*.DIC)";
    if (!own.empty() && fs::path(own) != fs::path(dic_folder_)) {
      for (const std::string& name : files_ending(own, ".DIC")) {
        const std::string target = in_folder(dic_folder_, name);
        if (Exists(target)) continue;
        step = "Copying " + own + name + " to " + target;
        fs::copy_file(own + name, target, fs::copy_options::overwrite_existing);
      }
    }
    // An update file of a language without a dictionary becomes its dictionary.
    step = "Dir(" + dic_folder_ + "*.DIK";
    for (const std::string& name : files_ending(dic_folder_, ".DIK")) {
      const std::string dic = in_folder(dic_folder_, name.substr(0, name.size() - 4) + ".DIC");
      if (Exists(dic)) continue;
      step = "Name " + dic_folder_ + name + " As " + dic;
      fs::rename(dic_folder_ + name, dic);
    }
    step = "GetSetting";
    cur_lang_ = ports_.settings ? ports_.settings->get("Spell", "Language", "English") : "English";
    if (cur_lang_.empty()) cur_lang_ = "English";
    step = "DicSetUp " + cur_lang_;
    dic_set_up(cur_lang_);
    step = "DicLang$ = Dir(" + dic_folder_ + "*.DIC) for languages";
    languages.clear();
    for (const std::string& name : files_ending(dic_folder_, ".DIC")) languages.push_back(name.substr(0, name.size() - 4));
  } catch (const std::exception& e) {
    report(step, e.what());
  }
  set_limits();
  ignored_.clear();
  change_all_.clear();
  dic_edited_ = false;
  spell_check();
  return !unloaded;
}

void SpellForm::dic_set_up(const std::string& language) {
  const std::string dic = dic_file(language), update = in_folder(dic_folder_, language + ".DIK");
  bool merged = false;
  std::error_code ec;
  if (fs::exists(update, ec)) {
    if (!fs::exists(dic, ec)) {
      fs::rename(update, dic);
    } else {
      const std::string question =
          "You already have a (probably customised) " + language + " dictionary.\n" +
          "A new dictionary is available from the latest setup.\n" +
          "Do you want to merge the new dictionary into your existing one?\n" + "\tYes\t= Merge files\n" +
          "\tNo\t= Keep my dictionary, delete the new one\n" + "\tCancel\t= Do nothing. Ask me again later.";
      for (bool again = true; again && ports_.msgbox;) {
        again = false;
        switch (ports_.msgbox->show(Message(question, Buttons::YesNoCancel, Icon::Question, "Merge Dictionaries?"))) {
          case Answer::Yes:
            merged = merge_dics(update, dic);
            break;
          case Answer::No:
            if (ports_.msgbox->show(Message("Are you sure you want to delete the new dictionary?\n"
                                            "You can get it again by re-installing.\n",
                                            Buttons::YesNo, Icon::Question, "Delete the New Dictionary?")) ==
                Answer::Yes)
              fs::remove(update, ec);
            else
              again = true;
            break;
          default:
            break;
        }
      }
    }
  }
  language_box = language;
  if (merged) return;
  if (Exists(dic)) {
    dic_.set_text(read_bytes(dic));
  } else {
    if (ports_.msgbox)
      ports_.msgbox->show(Message("The dictionary file " + dic + " does not exist!\n" +
                                      "This should not happen: Please report it!\n\n" +
                                      "No spelling suggestions will be available, but\n" +
                                      "a new file will be created when you save your changes.",
                                  Buttons::Ok, Icon::Exclamation, "Error in Sub DicSetUp in frmSpell"));
    dic_.set_text("");
  }
}

// Adds the update's lines that the dictionary lacks (letter case ignored) at its end and writes the
// dictionary; the update file is deleted once the merged dictionary is written.
bool SpellForm::merge_dics(const std::string& update_file, const std::string& dic_file_name) {
  if (ports_.host) ports_.host->set_busy(true);
  try {
    Dictionary merged;
    merged.set_text(read_bytes(dic_file_name));
    for (const std::string& line : split_lines(read_bytes(update_file)))
      if (!line.empty() && !merged.contains(line)) merged.add(line);
    if (const int e = ReplaceFileContents(dic_file_name, merged.file_bytes())) throw std::runtime_error(std::strerror(e));
    dic_ = std::move(merged);
    std::error_code ec;
    fs::remove(update_file, ec);
  } catch (const std::exception& e) {
    if (ports_.host) ports_.host->set_busy(false);
    report("MergeDics", e.what());
    return false;
  }
  if (ports_.host) ports_.host->set_busy(false);
  return true;
}

void SpellForm::update_dic(const std::string& language) {
  if (const int e = ReplaceFileContents(dic_file(language), dic_.file_bytes()))
    report("UpdateDic " + language, std::strerror(e));
}

void SpellForm::set_limits() {
  const long start = editor_.sel_start();
  not_from_start_ = start != 0;
  scan_pos_ = start != 0 ? start : 1;
  scan_end_ = editor_.sel_length() == 0 ? static_cast<long>(editor_.text().size()) + 1
                                        : scan_pos_ + static_cast<long>(editor_.sel_text().size()) + 1;
}

void SpellForm::spell_check() {
  if (unloaded) return;
  change_to.clear();
  if (ports_.host) ports_.host->set_busy(true);
  std::string text = editor_.text();
  bool found = false, in_word = false;
  std::string word;
  while (!found) {
    const unsigned char c = scan_pos_ >= 1 && scan_pos_ <= static_cast<long>(text.size())
                                ? static_cast<unsigned char>(text[static_cast<size_t>(scan_pos_ - 1)])
                                : ' ';
    ++scan_pos_;
    if (IsSpellWordChar(c)) {
      word += static_cast<char>(c);
      in_word = true;
    } else {
      if (in_word) {
        in_word = false;
        found = test_word(word);
        if (text_changed_) {
          text = editor_.text();
          text_changed_ = false;
        }
      }
      word.clear();
    }
    // The end of the range is asked about only when the scan did not stop at a word: the word found
    // stays selected for the user.
    if (!found && scan_pos_ >= scan_end_) {
      if (ports_.host) ports_.host->set_busy(false);
      found = end_of_range();
      if (!found) {
        text = editor_.text();
        in_word = false;
        word.clear();
      }
      if (ports_.host) ports_.host->set_busy(true);
    }
  }
  if (ports_.host) ports_.host->set_busy(false);
}

bool SpellForm::test_word(const std::string& word) {
  if (word.find("--") != std::string::npos) return false;
  if (fHasNos(word)) return false;
  if (dic_.contains(word)) return false;
  const std::string key = LowerText(word);
  if (ignored_.count(key)) return false;
  if (auto it = change_all_.find(key); it != change_all_.end()) {
    replace_word(it->second, static_cast<long>(word.size()), static_cast<long>(it->second.size()));
    return false;
  }
  const long len = static_cast<long>(word.size());
  editor_.select(scan_pos_ - len - 2, len);
  not_in_dict = word;
  change_to = word;
  change_enabled = false;
  suggestions = dic_.suggestions(word);
  return true;
}

void SpellForm::replace_word(const std::string& replacement, long old_len, long new_len) {
  editor_.select(scan_pos_ - old_len - 2, old_len);
  editor_.replace_selection(replacement);
  scan_pos_ += new_len - old_len;
  scan_end_ += new_len - old_len;
  text_changed_ = true;
}

bool SpellForm::end_of_range() {
  const std::string text = std::string(not_from_start_ ? "You did not start spell checking from the beginning of the "
                                                         "document.\n"
                                                       : "") +
                           "End of text - Start again at the top?";
  const Answer a = ports_.msgbox ? ports_.msgbox->show(Message(text, Buttons::YesNo, Icon::Question, "Check from Start?"))
                                 : Answer::No;
  if (a == Answer::Yes) {
    scan_pos_ = 1;
    scan_end_ = static_cast<long>(editor_.text().size()) + 1;
    change_to.clear();
    not_from_start_ = false;
    check_active_ = false;
    ignored_.clear();
    change_all_.clear();
    return false;
  }
  unload();
  return true;
}

void SpellForm::enable_buttons() {
  resume = false;
  buttons_enabled = true;
  change_enabled = true;
  if (language_box.empty()) language_box = saved_lang_;
}

void SpellForm::change() {
  if (unloaded) return;
  const long old_len = static_cast<long>(editor_.sel_text().size());
  const std::string replacement = change_to;
  replace_word(replacement, old_len, static_cast<long>(replacement.size()));
  spell_check();
}

void SpellForm::change_all() {
  if (unloaded) return;
  change_all_[LowerText(editor_.sel_text())] = change_to;
  change();
}

void SpellForm::ignore_resume() {
  if (unloaded) return;
  if (resume) {
    enable_buttons();
    editor_.select(editor_.sel_start(), 0);
    set_limits();
  }
  spell_check();
}

void SpellForm::ignore_all() {
  if (unloaded) return;
  ignored_.insert(LowerText(not_in_dict));
  spell_check();
}

void SpellForm::add_as_is() {
  if (unloaded || change_to.empty()) return;
  dic_.add(change_to);
  dic_changed_ = dic_edited_ = true;
  spell_check();
}

void SpellForm::add_lowercase() {
  change_to = LowerText(change_to);
  add_as_is();
}

void SpellForm::edit_dictionary() {
  if (unloaded || !ports_.msgbox) return;
  const std::string text =
      "The dictionary will be displayed in Notepad for editing.\n"
      "If you make changes, please Save before Checking Spelling again.\n\n"
      "The Spell Checker will be stopped.\n"
      "Please restart the Spell Checker yourself if necessary (F7).\n\n"
      "Continue?";
  if (ports_.msgbox->show(Message(text, Buttons::YesNo, Icon::Question, "Edit Dictionary?")) != Answer::Yes) return;
  const bool edited = dic_edited_;
  unload();
  const std::string file = dic_file(cur_lang_);
  if (edited) {
    dic_.sort_alphabetically();
    update_dic(cur_lang_);
  }
  // The desktop's text editor, not waited for.
  if (ports_.launcher) ports_.launcher->start({"xdg-open", file}, dic_folder_, nullptr);
  dic_edited_ = false;
}

void SpellForm::cancel() { unload(); }

void SpellForm::choose_language(const std::string& language) {
  if (unloaded || language.empty() || language == cur_lang_) return;
  if (ports_.host) ports_.host->set_busy(true);
  if (dic_changed_) {
    update_dic(cur_lang_);
    dic_changed_ = false;
  }
  dic_set_up(language);
  cur_lang_ = language;
  if (ports_.host) ports_.host->set_busy(false);
}

void SpellForm::pick_suggestion(const std::string& suggestion) { change_to_edited(suggestion); }

void SpellForm::change_to_edited(const std::string& text) {
  change_to = text;
  change_enabled = true;
}

void SpellForm::activate() { check_active_ = true; }

void SpellForm::deactivate() {
  if (!check_active_ || unloaded) return;
  resume = true;
  buttons_enabled = false;
  change_enabled = false;
  change_to.clear();
  set_limits();
  suggestions.clear();
  saved_lang_ = language_box;
  language_box.clear();
  check_active_ = false;
}

void SpellForm::unload() {
  if (unloaded) return;
  unloaded = true;
  // Added words go to the loaded language's dictionary (the language box may be empty while paused).
  if (dic_changed_) {
    if (ports_.settings) ports_.settings->set("Spell", "Language", cur_lang_);
    update_dic(cur_lang_);
    dic_changed_ = false;
  }
  editor_.select(editor_.sel_start(), 0);
}

}  // namespace quorvel
