// The SET editor's two borehole-log option dialogs: the compress code (first-block item 20: a left
// margin in dots, rounded to tens, plus a column count in its last digit) and the suppress code (item
// 12: three digits, units and tens a witness-line switch each, the hundreds the bits 1 reduced levels,
// 2 depth raster, 4 swap of levels and depths).
#pragma once

#include <optional>
#include <string>

#include "ports.h"
#include "setedit.h"

namespace quorvel {

class CompressDialog {
 public:
  explicit CompressDialog(const Ports& ports) : ports_(ports) {}

  std::string txtLMarg, txtLMargmm, txtColumns;
  int opt2page = 0;  // 0 separate pages, 1 same page, 2 a whole page plus columns on the profile page
  bool txtColumns_enabled = false, txtLMarg_enabled = false;
  int picDemo = 0;  // the sample picture shown
  std::string lblNote;
  BoxColour txtLMargmm_colour = BoxColour::Normal;

  // Fills the controls from the item's text.
  void Form_Load(const std::string& item);
  void opt2page_Click(int index);
  void txtLMarg_Change();
  void txtLMargmm_Change();
  // The new code, or nothing (after saying why) when the input cannot make one: the dialog stays.
  std::optional<std::string> cmdOK_Click();
  void cmdHelp_Click();

 private:
  void note(double dots);
  Ports ports_;
};

class SuppressDialog {
 public:
  explicit SuppressDialog(const Ports& ports) : ports_(ports) {}

  bool chkSuppSLWL = false, chkSuppAWL = false, chkSuppRL = false, chkSuppDR = false, chkSwapLD = false;

  // Sets the boxes from the item's text; false when the user chose not to go on with a bad code.
  bool Form_Load(const std::string& item);
  std::string cmdOK_Click() const;
  void cmdHelp_Click();

 private:
  Ports ports_;
};

}  // namespace quorvel
