// The SET editor's font codes: decoding a PCL selection code into the font tab, encoding it again.
#include "setfonts.h"

#include <cctype>

#include "setedit.h"

namespace quorvel {

const std::vector<std::string> kFontFaces = {"Helvetica", "Times", "Courier"};
const std::vector<std::string> kFontSizes = {"8", "9", "10", "11", "12", "14"};
const std::vector<std::string> kFontSymbolSets = {"10U - PC-8: United Kingdom", "11U - PC-8: Danish-Norwegian",
                                                  "12U - CP 850 Western Europe", "17U - CP 852 Central Europe"};

namespace {

std::string typeface_text(const std::string& number) {
  static const struct {
    const char* number;
    const char* text;
  } faces[] = {{"4148", "Helvetica"},
               {"4101", "Times"},
               {"4099", "Courier"},
               {"4362", "Albertus (Helvetica*)"},
               {"4168", "Antique Olive (Helvetica*)"},
               {"4116", "Coronet (Helvetica*)"},
               {"4102", "Letter Gothic (Courier*)"}};
  for (const auto& f : faces)
    if (number == f.number) return f.text;
  return number + " Typeface";
}

// Selects the list's item equal to text, adding it at the end when it is missing.
void select_or_add(ListState& list, const std::string& text, bool prefix) {
  for (size_t i = 0; i < list.items.size(); ++i) {
    if (EqualText(list.items[i], text) || (prefix && StartsWithText(list.items[i], text))) {
      list.index = static_cast<int>(i);
      list.text = list.items[i];
      return;
    }
  }
  list.items.push_back(text);
  list.index = static_cast<int>(list.items.size()) - 1;
  list.text = text;
}

}  // namespace

void FontLoad(std::string code, FontControls& font) {
  std::string d;
  if (code.compare(0, 4, "/027") != 0) {
    font.txtFont = "/027 expected at start";
    return;
  }
  code.erase(0, 4);
  if (code.empty() || (code[0] != '(' && code[0] != ')')) d += "Unknown ";
  if (!code.empty()) code.erase(0, 1);
  std::string set = code.substr(0, 3);
  code.erase(0, set.size());
  d += set;
  select_or_add(font.cboSymbolSet, set, true);
  d += ", ";
  if (code.compare(0, 4, "/027") != 0) {
    font.txtFont = "/027 expected next";
    return;
  }
  code.erase(0, 4);
  std::string two = code.substr(0, 2);
  if (two != "(s" && two != ")s") {
    font.txtFont = d + "Unknown code " + code;
    return;
  }
  code.erase(0, 2);
  while (!code.empty()) {
    std::string n;
    if (code[0] == '#') {
      n = "#";
      code.erase(0, 1);
    } else {
      n = NumberText(LeadingNumber(code));
    }
    size_t skip = code.find_first_not_of(". 0123456789");
    if (skip == std::string::npos) break;  // a number with no letter after it
    code.erase(0, skip);
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(code[0])));
    double v = n == "#" ? 0 : LeadingNumber(n);
    switch (letter) {
      case 'p': d += n == "0" ? "Fixed spacing " : "Proportional "; break;
      case 'h': d += n + " CPI "; break;
      case 'v':
        d += n + " pt ";
        font.cboFontSize = n;
        break;
      case 's':
        d += n == "0" ? "Upright " : n == "1" ? "Italic " : n + " Italic? ";
        font.chkItalic = v > 0;
        break;
      case 'b':
        d += n == "0" ? "Regular " : n == "1" ? "Semi-Bold " : n == "3" ? "Bold " : n == "4" ? "Extra-Bold " : n + "-Bold ";
        font.chkBold = v > 2;
        break;
      case 't': {
        std::string face = typeface_text(n);
        d += face;
        select_or_add(font.cboFont, face, false);
        break;
      }
      default: d += n + std::string(1, code[0]) + "? "; break;
    }
    code = Trim(code.substr(1));
  }
  font.txtFont = d;
}

namespace {

enum class Family { Univers, Times, Courier };

Family family_of(const FontControls& font) {
  std::string key = font.cboFont.text.substr(0, 7);
  if (key == "CG Time" || key == "Times") return Family::Times;
  if (key == "Courier" || key == "Letter ") return Family::Courier;
  return Family::Univers;
}

std::string symbol_set(const FontControls& font) { return font.cboSymbolSet.text.substr(0, 3); }

}  // namespace

std::string FontMetricFile(const FontControls& font) {
  static const char* const families[] = {"UNI", "CGT", "COU"};
  return std::string(families[static_cast<int>(family_of(font))]) + (font.chkBold ? "B" : "M") +
         (font.chkItalic ? "I" : "U") + symbol_set(font) + ".MET";
}

std::string FontCode(const FontControls& font, int index) {
  std::string code = "/027(" + symbol_set(font) + "/027(s";
  std::string face;
  switch (family_of(font)) {
    case Family::Courier: code += "0p#h", face = "4099T"; break;
    case Family::Times: code += "1p", face = "4101T"; break;
    case Family::Univers: code += "1p", face = "4148T"; break;
  }
  code += Trim(font.cboFontSize) + "v" + (font.chkItalic ? "1s" : "0s") + (font.chkBold ? "3b" : "0b") + face;
  if (index == 3)
    for (char& c : code)
      if (c == '(') c = ')';
  return code;
}

}  // namespace quorvel
