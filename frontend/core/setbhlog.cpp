// The compress and suppress dialogs of the SET editor.
#include "setbhlog.h"

#include <cmath>
#include <cstdio>

#include "viewing.h"

namespace quorvel {

namespace {

// A text the language's numeric test accepts: blanks around a number with an optional sign, point and
// exponent.
bool is_numeric(const std::string& s) {
  std::string t = Trim(s);
  if (t.empty()) return false;
  size_t i = 0;
  if (t[i] == '+' || t[i] == '-') ++i;
  size_t digits = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
  }
  if (!digits) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t exp = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++exp;
    if (!exp) return false;
  }
  return i == t.size();
}

}  // namespace

void CompressDialog::Form_Load(const std::string& item) {
  std::string s = "0" + Trim(item);
  double columns = LeadingNumber(s.substr(s.size() - 1));
  txtColumns = NumberText(columns);
  txtLMarg = NumberText(LeadingNumber(s) - columns);
  txtLMarg_Change();
  opt2page_Click(columns > 0 ? 2 : LeadingNumber(txtLMarg) > 0 ? 1 : 0);
}

void CompressDialog::opt2page_Click(int index) {
  opt2page = index;
  txtColumns_enabled = index == 2;
  txtLMarg_enabled = index == 1 || index == 2;
  if (txtLMarg_enabled && LeadingNumber(txtLMarg) < 150) {
    txtLMarg = "600";
    txtLMarg_Change();
  }
  if (txtColumns_enabled && LeadingNumber(txtColumns) < 1) txtColumns = "3";
  picDemo = index;
}

void CompressDialog::note(double dots) {
  if (dots >= 850) {
    std::string p = NumberText(RoundHalfEven(LeadingNumber(txtLMargmm) / 2));
    if (dots < 1190) {
      lblNote = p + "% width of a Portrait A4 sheet, may cause errors!";
      txtLMargmm_colour = BoxColour::Yellow;
    } else {
      lblNote = p + "% width of a Portrait A4 sheet, could be disregarded!";
      txtLMargmm_colour = BoxColour::Red;
    }
  } else {
    lblNote.clear();
    txtLMargmm_colour = BoxColour::Normal;
  }
}

void CompressDialog::txtLMarg_Change() {
  double dots = LeadingNumber(txtLMarg);
  txtLMargmm = NumberText(RoundHalfEven(dots * 25.4 / 300, 1));
  note(dots);
}

void CompressDialog::txtLMargmm_Change() {
  txtLMarg = NumberText(RoundHalfEven(LeadingNumber(txtLMargmm) * 300 / 25.4));
  note(LeadingNumber(txtLMarg));
}

std::optional<std::string> CompressDialog::cmdOK_Click() {
  if (txtLMarg_enabled && LeadingNumber(txtLMarg) < 150) txtLMarg = "150";
  if (txtColumns_enabled && LeadingNumber(txtColumns) < 1) txtColumns = "1";
  if (opt2page != 2) txtColumns = "0";
  if (opt2page == 0) txtLMarg = "0";
  if (Trim(txtLMarg).empty()) txtLMarg = "0";
  if (Trim(txtColumns).empty()) txtColumns = "0";
  if (!is_numeric(txtLMarg) || !is_numeric(txtColumns)) {
    if (ports_.msgbox) ports_.msgbox->show({"All input must be numeric!", Buttons::Ok, Icon::Exclamation, "Compress Borelog"});
    return std::nullopt;
  }
  // The column count is the code's last digit: a count above 9 would run into the margin's digits.
  double columns = LeadingNumber(txtColumns);
  if (columns > 9 || columns != std::floor(columns)) {
    if (ports_.msgbox)
      ports_.msgbox->show({"The number of columns on the Profile Page must be a whole number from 1 to 9!", Buttons::Ok,
                           Icon::Exclamation, "Compress Borelog"});
    return std::nullopt;
  }
  double code = RoundHalfEven(LeadingNumber(txtLMarg) / 10) * 10 + columns;
  return NumberText(code);
}

void CompressDialog::cmdHelp_Click() { ShowHelp(ports_, "::/06 SET File Editor.htm#CompressBorelog"); }

bool SuppressDialog::Form_Load(const std::string& item) {
  std::string code = Trim(item);
  std::string error;
  if (code.size() >= 4)
    error = "Bore Log Suppress Options code (" + code + ") is too long!";
  else if (!code.empty() && !is_numeric(code))
    error = "Bore Log Suppress Options code (" + code + ") is not a number!";
  if (!error.empty()) {
    Answer a = ports_.msgbox ? ports_.msgbox->show({error + "\nIgnore it and proceed?", Buttons::OkCancel, Icon::Question,
                                                    "Ignore Error in Bore Log Suppress Options?"})
                             : Answer::Cancel;
    if (a != Answer::Ok) return false;
    code.clear();
  }
  code = ("000" + code).substr(code.size());
  // A units or tens digit above 1 (a hand-made code) still means "suppress".
  chkSuppSLWL = LeadingNumber(code.substr(2, 1)) >= 1;
  chkSuppAWL = LeadingNumber(code.substr(1, 1)) >= 1;
  int h = static_cast<int>(LeadingNumber(code.substr(0, 1)));
  bool bits = h >= 1 && h <= 7;
  chkSuppRL = bits && (h & 1);
  chkSuppDR = bits && (h & 2);
  chkSwapLD = bits && (h & 4);
  return true;
}

std::string SuppressDialog::cmdOK_Click() const {
  int code = (chkSuppSLWL ? 1 : 0) + (chkSuppAWL ? 10 : 0) + (chkSuppRL ? 100 : 0) + (chkSuppDR ? 200 : 0) +
             (chkSwapLD ? 400 : 0);
  char buf[8];
  std::snprintf(buf, sizeof buf, "%03d", code);
  return buf;
}

void SuppressDialog::cmdHelp_Click() { ShowHelp(ports_, "::/06 SET File Editor.htm#BorelogSuppress"); }

}  // namespace quorvel
