// The text editor's tools on the input file's bytes.
#include "frontend/core/edittools.h"

#include <algorithm>
#include <cstdlib>

#include "frontend/core/editcheck.h"
#include "frontend/core/edittext.h"
#include "frontend/core/modgeneral.h"
#include "frontend/core/spell.h"

namespace quorvel {

namespace {

const std::string kCrLf = "\r\n";

std::string rTrim(const std::string& s) {
  size_t e = s.find_last_not_of(' ');
  return e == std::string::npos ? std::string() : s.substr(0, e + 1);
}


// True when the text reads as a number, blanks around it allowed (as the language's numeric test).
bool reads_as_number(const std::string& text) {
  const std::string t = Trim(text);
  if (t.empty() || t.find_first_of("0123456789") == std::string::npos) return false;
  if (t.find_first_of("xXnNiIpP") != std::string::npos) return false;
  char* end = nullptr;
  std::strtod(t.c_str(), &end);
  return end && *end == '\0';
}

// Letter case folded as the text comparison of the find box does it (Windows-1252 letters).
unsigned char fold(unsigned char c) {
  static const std::string table = [] {
    std::string t(256, '\0');
    for (int i = 0; i < 256; ++i) t[static_cast<size_t>(i)] = static_cast<char>(i);
    return LowerText(t);
  }();
  return static_cast<unsigned char>(table[c]);
}

// The 55 pairs of the Windows and DOS character sets: Windows code, DOS code.
constexpr unsigned char kPairs[55][2] = {
    {131, 159}, {135, 216}, {161, 173}, {162, 155}, {163, 156}, {165, 157}, {166, 221}, {170, 166}, {171, 174},
    {172, 170}, {176, 248}, {177, 241}, {178, 253}, {181, 230}, {183, 250}, {186, 167}, {187, 175}, {188, 172},
    {189, 171}, {191, 168}, {196, 142}, {197, 143}, {198, 146}, {199, 128}, {201, 144}, {209, 165}, {214, 153},
    {220, 154}, {223, 225}, {224, 133}, {225, 160}, {226, 131}, {228, 132}, {229, 134}, {230, 145}, {231, 135},
    {232, 138}, {233, 130}, {234, 136}, {235, 137}, {236, 141}, {237, 161}, {238, 140}, {239, 139}, {241, 164},
    {242, 149}, {243, 162}, {244, 147}, {246, 148}, {247, 246}, {249, 151}, {250, 163}, {251, 150}, {252, 129},
    {255, 152}};

}  // namespace

std::vector<std::string> SelectionLines(const std::string& selection) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < selection.size()) {
    const size_t end = selection.find(kCrLf, pos);
    if (end == std::string::npos) {
      lines.push_back(selection.substr(pos));
      break;
    }
    lines.push_back(selection.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

std::string WrapDescriptions(const std::string& selection, long width) {
  const std::string indent = kContinuationIndent;
  const long first_break = static_cast<long>(indent.size()) + 1;  // the indent's columns never break
  std::string out;
  for (std::string line : SelectionLines(selection)) {
    bool whole = false;
    while (static_cast<long>(line.size()) > width) {
      // A blank at column W + 1 down to column 5 (1-based): the first four columns hold the indent.
      long k = std::min<long>(width + 1, static_cast<long>(line.size()));
      while (k >= first_break && line[static_cast<size_t>(k - 1)] != ' ') --k;
      if (k < first_break) {
        out += rTrim(line) + kCrLf;
        whole = true;
        break;
      }
      out += line.substr(0, static_cast<size_t>(k - 1)) + kCrLf;
      line = indent + Trim(line.substr(static_cast<size_t>(k)));
    }
    if (!whole) out += rTrim(line) + kCrLf;
  }
  return out;
}

std::string UnwrapDescriptions(const std::string& selection) {
  std::vector<std::string> out;
  size_t joined_to = 0;  // the output line continuation lines join: the last one that is not blank
  for (const std::string& line : SelectionLines(selection)) {
    if (!out.empty() && IsContinuationLine(line)) {
      out[joined_to] += " " + Trim(TabsToBlanks(line));
    } else {
      out.push_back(Trim(line));
      if (!out.back().empty() || out.size() == 1) joined_to = out.size() - 1;
    }
  }
  std::string text;
  for (const std::string& l : out) text += l + kCrLf;
  // The selection's last line keeps the line end it had: a selection that stops at the end of a line
  // (before its line end) gets none, or the line end after it would make an empty line.
  if (text.size() >= 2 && (selection.size() < 2 || selection.compare(selection.size() - 2, 2, kCrLf) != 0))
    text.resize(text.size() - 2);
  return text;
}

ShiftedBlock ShiftBlock(const std::string& text, long sel_start, long sel_length, bool indent) {
  ShiftedBlock r;
  const long end = std::min<long>(sel_start + sel_length, static_cast<long>(text.size()));
  long start = -1;
  for (long p = std::min<long>(sel_start, static_cast<long>(text.size()) - 2); p >= 0; --p)
    if (text.compare(static_cast<size_t>(p), 2, kCrLf) == 0) {
      start = p;
      break;
    }
  if (start < 0) start = sel_start == 0 ? 0 : std::min<long>(1, end);
  r.start = start;
  r.old_length = std::max<long>(0, end - start);
  std::string block = text.substr(static_cast<size_t>(start), static_cast<size_t>(r.old_length));
  if (!indent) {
    // After each line break inside the block, up to four blanks go.
    std::string out;
    size_t p = 0;
    for (size_t hit; (hit = block.find(kCrLf, p)) != std::string::npos;) {
      out += block.substr(p, hit + 2 - p);
      size_t q = hit + 2;
      for (int blanks = 0; blanks < 4 && q < block.size() && block[q] == ' '; ++blanks) ++q;
      p = q;
    }
    r.block = out + block.substr(p);
    return r;
  }
  // Indent from the end towards the start: four blanks after each line break that something follows in
  // the block, unless the next three characters read as a number (a layer line's depth).
  std::vector<size_t> breaks;
  for (size_t p = block.find(kCrLf); p != std::string::npos; p = block.find(kCrLf, p + 2))
    if (p + 2 < block.size()) breaks.push_back(p);
  for (auto it = breaks.rbegin(); it != breaks.rend(); ++it) {
    const size_t at = static_cast<size_t>(start) + *it + 2;
    if (!reads_as_number(text.substr(at, 3))) block.insert(*it + 2, "    ");
  }
  r.block = block;
  return r;
}

std::string AsciiCodesText(const std::string& selection) {
  std::string out;
  for (size_t i = 0; i < selection.size(); ++i) {
    if (i) out += "\n";
    out += "Character \"" + selection.substr(i, 1) + "\" = ASCII Code " +
           std::to_string(static_cast<unsigned char>(selection[i]));
  }
  return out;
}

PlaintextResult NextPlaintextLayer(const std::string& text, long sel_start, long sel_length) {
  static const std::string kR1 = "No tilde (~) or back apostrophe (`) found in";
  static const std::string kR2 = "(layers without tildes (~), back apostrophes (`) or [Code])";
  PlaintextResult r;
  const long target = std::max<long>(2, sel_start + sel_length + 1);  // 1-based, just after the selection
  // The last "//" that begins before the target, and whether one begins at or after it.
  long previous = 0;
  bool later = false;
  for (size_t p = text.find("//"); p != std::string::npos; p = text.find("//", p + 1)) {
    if (static_cast<long>(p) + 1 < target) previous = static_cast<long>(p) + 1;
    else later = true;
  }
  if (!later) {
    r.kind = PlaintextResult::kNoHole;
    r.box = Message("No end-of-hole line (//) found after cursor position!", Buttons::Ok, Icon::Exclamation,
                    "Hole Not Found!");
    return r;
  }
  size_t pos = previous > 0 ? static_cast<size_t>(previous + 1) : 0;  // 0-based, just after that "//"
  int state = 0;
  long layer = 0, d_layer = 0;
  std::string d, slash_text;
  auto examine = [&](size_t closing_line) -> bool {
    if (d.empty() || d.find_first_of("~`[") != std::string::npos) return false;
    const long span_end = static_cast<long>(closing_line) - 2;
    const long span_start = std::max<long>(0, span_end - static_cast<long>(d.size()));
    r.select_start = span_start;
    r.select_length = static_cast<long>(d.size());
    if (span_start + static_cast<long>(d.size()) < target) return false;
    std::string rest = d;
    r.kind = PlaintextResult::kFound;
    r.box = Message(kR1 + "\nLayer " + std::to_string(d_layer) + " at Depth " + NextTokenTrim(rest, " ") + ":\n\n" + d,
                    Buttons::Ok, Icon::Exclamation, "Warning: Plaintext Found!");
    return true;
  };
  while (pos <= text.size()) {
    const size_t eol = text.find(kCrLf, pos);
    std::string raw = text.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
    raw = ReplaceAllText(raw, "\t", "    ");
    const std::string line = Trim(raw);
    bool ended = false;
    if (line == "/") {
      if (state <= 1) {
        if (state == 1 && examine(pos)) return r;
        ++state;
        d.clear();
        if (state == 1) layer = 0;
      } else {
        slash_text = "Unexpected Single Slash / at cursor!\nWe expected an End-of-hole Double Slash // next.";
        ended = true;
      }
    } else if (line == "//") {
      if (state == 2) {
        state = 0;
      } else {
        slash_text = std::string("Unexpected Double Slash // at cursor!\nWe expected a Start-of-") +
                     (state == 0 ? "layers" : "Notes") + " Single Slash / next.";
        ended = true;
      }
    } else if (line == "///") {
      if (state != 0)
        slash_text = std::string("Unexpected End-of-data Triple Slash /// at cursor!\nWe expected a") +
                     (state == 2 ? "n End-of-hole Double Slash // next." : " Start-of-Notes Single Slash / next.");
      ended = true;
    } else if (state == 1) {
      if (IsContinuationLine(raw)) {
        d += (d.empty() ? "" : " ") + line;
      } else {
        if (examine(pos)) return r;
        d = line;
        d_layer = ++layer;
      }
    }
    if (ended || eol == std::string::npos) break;
    pos = eol + 2;
  }
  r.kind = PlaintextResult::kNoneFound;
  r.box = Message(std::string(target < 10 ? "Text from start of file checked for Plaintext"
                                          : "Text from cursor position onwards checked for Plaintext") +
                      "\n" + kR2 + "\n--None found." + (slash_text.empty() ? "" : "\n\n" + slash_text),
                  Buttons::Ok, Icon::Information, "No More Plaintext Found.");
  return r;
}

long ConvertCharacterSet(std::string& selection, bool to_dos) {
  unsigned char map[256];
  for (int i = 0; i < 256; ++i) map[i] = static_cast<unsigned char>(i);
  for (const auto& p : kPairs) {
    if (to_dos) map[p[0]] = p[1];
    else map[p[1]] = p[0];
  }
  if (!to_dos) map[179] = '|';
  long count = 0;
  for (char& c : selection) {
    const unsigned char m = map[static_cast<unsigned char>(c)];
    if (m != static_cast<unsigned char>(c)) {
      c = static_cast<char>(m);
      ++count;
    }
  }
  return count;
}

std::string ExampleAttributeTable() {
  static const char* kRows[] = {
      "|DEPTH |FAB:|SET:|INC:   |SPA:|ROU:|FIL:    |FRA:|HAR:|WEA:|",
      "|0.4   |N/A |N/A |N/A    |N/A |N/A |N/A     |N/A |N/A |[H] |",
      "|3.4   |N/A |N/A |N/A    |N/A |N/A |N/A     |N/A |N/A |100 |",
      "|6,0   |MF  |2   |20-30  |CJ  |RJ  |Stained |10  |SR  |100 |",
      "|      |MG  |    |70-90  |-   |RJ  |Stained |    |    |    |",
      "|9,55  |MF  |3   |20-30  |MJ  |RJ  |Stained |6   |MSR |40  |",
      "|      |MG  |    |40-60  |MJ  |RJ  |Stained |    |    |    |",
      "|      |    |    |70-90  |-   |RJ  |Stained |    |    |    |",
      "|10    |N/A |N/A |N/A    |N/A |N/A |N/A     |N/A |N/A |N/A |",
      "|      |    |    |       |    |    |        |    |    |    |",
      "|19,76 |MF  |2   |20-30  |MJ  |RJ  |-       |3   |HR  |20  |",
      "|      |MG  |    |40-60  |WJ  |RJ  |Stained |    |    |    |"};
  std::string t;
  for (const char* row : kRows) t += (t.empty() ? "" : kCrLf) + std::string(row);
  return t;
}

std::string BarTableToClipboard(std::string s, const std::string& row_end) {
  if (!s.empty() && s.front() == '|') s = Trim(s.substr(1));
  while (s.size() >= 2 && s.compare(s.size() - 2, 2, kCrLf) == 0) s = Trim(s.substr(0, s.size() - 2));
  if (!s.empty() && s.back() == '|') s = Trim(s.substr(0, s.size() - 1));
  while (s.find(" |") != std::string::npos) s = ReplaceAllText(s, " |", "|");
  while (s.find("| ") != std::string::npos) s = ReplaceAllText(s, "| ", "|");
  s = ReplaceAllText(s, "|\r\n|", "\r\n");
  s = ReplaceAllText(s, "|", "\t");
  return ReplaceAllText(s, kCrLf, row_end);
}

PastedTable ClipboardToBarTable(const std::string& clipboard) {
  PastedTable r;
  // Rows end in CR LF, LF or CR alike (the clipboard of this system holds LF).
  std::string t = ReplaceAllText(ReplaceAllText(clipboard, kCrLf, "\n"), "\r", "\n");
  if (t.find('\n') == std::string::npos || t.find('\t') == std::string::npos ||
      t.find_first_not_of("\n") == t.find_last_not_of("\n") + 1) {
    r.refusal = Message("Clipboard must contain at least 2 columns and at least 2 rows!\n\n"
                        "Would you like Help on Pasting a Borehole Log Attribute Table from Excel?",
                        Buttons::OkCancel, Icon::None, "Need Help Pasting Table from Excel?");
    r.ask_help = true;
    return r;
  }
  if (!t.empty() && t.back() == '\n') t.pop_back();
  std::vector<std::vector<std::string>> rows;
  size_t pos = 0;
  for (;;) {
    const size_t end = t.find('\n', pos);
    std::string row = t.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    std::vector<std::string> cells;
    size_t c = 0;
    while (c < row.size()) {
      const size_t tab = row.find('\t', c);
      cells.push_back(Trim(row.substr(c, tab == std::string::npos ? std::string::npos : tab - c)));
      if (tab == std::string::npos) break;
      c = tab + 1;
    }
    rows.push_back(cells);
    if (end == std::string::npos) break;
    pos = end + 1;
  }
  std::vector<size_t> widths;
  for (const auto& row : rows)
    for (size_t i = 0; i < row.size(); ++i) {
      if (widths.size() <= i) widths.resize(i + 1, 0);
      widths[i] = std::max(widths[i], row[i].size());
    }
  if (widths.size() > 20) {
    r.refusal = Message("Too many columns (Maximum=20)", Buttons::Ok, Icon::Exclamation, "Couldn't Paste Table from Excel!");
    return r;
  }
  for (const auto& row : rows) {
    std::string line = "|";
    for (size_t i = 0; i < widths.size(); ++i) {
      const std::string cell = i < row.size() ? row[i] : std::string();
      line += cell + std::string(widths[i] - cell.size(), ' ') + "|";
    }
    r.table += line + kCrLf;
  }
  return r;
}

long FindFrom(const std::string& text, const std::string& find, long start, bool exact) {
  if (start < 1) start = 1;
  if (start > static_cast<long>(text.size()) + 1) return 0;
  if (find.empty()) return start <= static_cast<long>(text.size()) ? start : 0;
  const size_t n = find.size();
  for (size_t i = static_cast<size_t>(start - 1); i + n <= text.size(); ++i) {
    size_t k = 0;
    if (exact) {
      while (k < n && text[i + k] == find[k]) ++k;
    } else {
      while (k < n && fold(static_cast<unsigned char>(text[i + k])) == fold(static_cast<unsigned char>(find[k]))) ++k;
    }
    if (k == n) return static_cast<long>(i) + 1;
  }
  return 0;
}

// --- the find and replace box ---

FindReplaceForm::FindReplaceForm(const Ports& ports, EditorBox& editor) : ports_(ports), editor_(editor) {}

void FindReplaceForm::error(const std::string& title) {
  if (ports_.msgbox)
    ports_.msgbox->show(Message("Escape code outside 0 to 255 (\\nnn).", Buttons::Ok, Icon::Exclamation, title));
}

void FindReplaceForm::FindReplace(const std::string& mode) {
  if (mode == "F") {
    caption = "Find";
    replace_enabled = false;
    replace_tip = "Swap to Replace mode";
    replace_all_visible = false;
  } else if (mode == "R") {
    caption = "Replace";
    replace_enabled = true;
    replace_tip.clear();
    replace_all_visible = true;
  }
  visible = true;
}

void FindReplaceForm::cmdFind_Click() {
  for (bool again = true; again;) {
    again = false;
    const bool exact = chkMatchCase;
    const auto find = ExpandEscapes(txtFind);
    if (!find) return error("Error in Sub cmdFind on Find");
    const std::string text = editor_.text();
    long start = search_pos_ >= 0 ? editor_.sel_start() + 2 : 1;
    if (start > static_cast<long>(text.size())) start -= 1;
    search_pos_ = FindFrom(text, *find, start, exact);
    if (search_pos_ > 0) {
      editor_.select(search_pos_ - 1, static_cast<long>(find->size()));
      lblFound = "Found at " + std::to_string(search_pos_);
      wrapped_ = false;
      continue;
    }
    lblFound = "Not Found.";
    const long caret = editor_.sel_start();
    search_pos_ = caret;
    if (wrapped_ && wrapped_find_ == txtFind) {
      // The pass from the first character found nothing: said once, not asked again.
      wrapped_ = false;
      if (ports_.msgbox)
        ports_.msgbox->show(Message("\"" + txtFind + "\" not found.", Buttons::Ok, Icon::Information, "Not Found."));
    } else if (ports_.msgbox &&
               ports_.msgbox->show(Message("\"" + txtFind + "\" not found after last cursor position! Start at the beginning?",
                                           Buttons::YesNo, Icon::Question,
                                           "Not Found after Character " + std::to_string(caret))) == Answer::Yes) {
      again = true;
      search_pos_ = -1;
      wrapped_ = true;
      wrapped_find_ = txtFind;
    } else {
      visible = false;
    }
    editor_.select(0, 0);
  }
  found_flag_ = true;
}

void FindReplaceForm::cmdReplace_Click() {
  if (caption != "Replace") {
    caption = "Replace";
    replace_enabled = true;
    replace_tip = "Replace found text";
    replace_all_visible = true;
    return;
  }
  if (found_flag_) {
    const auto replacement = ExpandEscapes(txtReplace);
    if (!replacement) return error("Error in Sub cmdReplace on " + caption);
    editor_.replace_selection(*replacement, true, false);
  }
  cmdFind_Click();
}

void FindReplaceForm::cmdReplaceAll_Click() {
  const bool exact = chkMatchCase;
  std::string text = editor_.text();
  long first = 1, last = static_cast<long>(text.size());
  if (chkInSelection) {
    first = editor_.sel_start() + 1;
    last = editor_.sel_start() + editor_.sel_length();
  } else {
    editor_.select(std::min<long>(1, static_cast<long>(text.size())), 0);
  }
  const auto find = ExpandEscapes(txtFind), replacement = ExpandEscapes(txtReplace);
  if (!find || !replacement) return error("Error in Sub cmdReplaceAll");
  if (find->empty()) {
    if (ports_.msgbox)
      ports_.msgbox->show(Message("Nothing to Find!", Buttons::Ok, Icon::Exclamation, "Can't Replace All!"));
    return;
  }
  const long flen = static_cast<long>(find->size()), rlen = static_cast<long>(replacement->size());
  // The replacements are made on a copy; the span from the first match to the end of the last one then
  // goes into the box as one change, which the undo ring keeps as one step (one Undo brings the text
  // back) and the window shows at once, however many matches there are.
  const std::string before = text;
  long count = 0, span_start = -1, span_end = 0;
  for (long pos = first;;) {
    const long p = FindFrom(text, *find, pos, exact);
    if (p == 0 || p + flen - 1 > last) break;
    text.replace(static_cast<size_t>(p - 1), static_cast<size_t>(flen), *replacement);
    if (span_start < 0) span_start = p - 1;
    span_end = p - 1 + rlen;
    ++count;
    lblFound = "Replaced at " + std::to_string(p);
    last += rlen - flen;
    // The search goes on just after the replacement, so a replacement that holds the find text is not
    // searched again.
    pos = p + rlen;
  }
  if (count > 0) {
    const long old_span =
        span_end - span_start - (static_cast<long>(text.size()) - static_cast<long>(before.size()));
    editor_.select(span_start, old_span);
    editor_.replace_selection(text.substr(static_cast<size_t>(span_start), static_cast<size_t>(span_end - span_start)),
                              true, false);
    editor_.process_events();
  }
  if (chkInSelection) editor_.select(first - 1, std::max<long>(0, last - first + 1));
  ReplaceReport = Plural(count, "item") + " replaced in " + (chkInSelection ? "selection." : "whole file!") +
                  "\n\n(if that was wrong, Edit > Undo NOW)";
  if (ports_.msgbox)
    ports_.msgbox->show(Message(ReplaceReport, Buttons::Ok, Icon::Information, "Replaced All in Quorvel for Veltrax"));
  if (!chkInSelection) editor_.select(std::min<long>(1, static_cast<long>(text.size())), 0);
}

void FindReplaceForm::cmdCancel_Click() { visible = false; }

void FindReplaceForm::Form_Activate() {
  chkInSelection_enabled = editor_.sel_length() >= 1;
  chkInSelection = chkInSelection_enabled;
}

}  // namespace quorvel
