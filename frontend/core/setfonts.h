// The font tab of the SET editor: a SET file names each of its three fonts by a metric file name and a
// PCL selection code ("/027(10U/027(s1p10v0s0b4148T", "/027" standing for the escape character). The
// code is decoded into a typeface, a size, a symbol set and the bold and italic ticks, with a readable
// description; a changed font is encoded again into a code and a metric file name.
//
// The engine takes a font's widths and its PDF font from the selection code (through pdffonts.dat) and
// drops the metric-file line, so the metric names written here need no files.
#pragma once

#include <string>
#include <vector>

#include "modgeneral.h"

namespace quorvel {

extern const std::vector<std::string> kFontFaces;        // "Helvetica", "Times", "Courier"
extern const std::vector<std::string> kFontSizes;        // "8" ... "14"
extern const std::vector<std::string> kFontSymbolSets;   // "10U - PC-8: United Kingdom", ...

// The controls of one font.
struct FontControls {
  ListState cboFont{kFontFaces, "", -1};
  std::string cboFontSize;
  ListState cboSymbolSet{kFontSymbolSets, "", -1};
  bool chkBold = false;
  bool chkItalic = false;
  std::string txtFont;  // the description
};

// Decodes a selection code into the controls and the description. A code that breaks off leaves the
// controls it did not reach as they were.
void FontLoad(std::string code, FontControls& font);

// The selection code of the controls; font 3 (the footer font) selects the secondary font (")").
std::string FontCode(const FontControls& font, int index);
// The metric file name of the controls ("UNIMU10U.MET").
std::string FontMetricFile(const FontControls& font);

}  // namespace quorvel
