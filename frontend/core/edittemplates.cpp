// The input-file texts of the text editor's Insert and Character menus.
#include "edittemplates.h"

#include <cmath>
#include <cstdlib>

#include "edittext.h"
#include "edittools.h"
#include "modgeneral.h"

namespace quorvel {

namespace {

const std::string kHyphens(69, '-');

std::string join(const std::vector<std::string>& lines, bool final_line_end) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) out += "\r\n";
    out += lines[i];
  }
  if (final_line_end) out += "\r\n";
  return out;
}

std::string pad_after(std::string s, size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

}  // namespace

// Instructions to the user stand among the header's comment lines, which the engine does not print; a
// line of the notes block, whatever it says, is printed on the sheet as a note.
std::string Skeleton() {
  return join({"In the header block any line without a colon can be used as a comment.",
               kHyphens,
               "Client        : ",
               "Job Title     : ",
               "Job Number    : ",
               "Contractor    : ",
               "Drilling Machine: ",
               "Date Drilled  : ",
               "Profiled by   : ",
               "Date profiled : ",
               "Diameter      : ",
               "Typed by      : ",
               "",
               "The above lines need not be repeated per hole. The lines below must repeat.",
               "Hole Number   : BH01",
               "Ground level  : ",
               "Orientation   : ",
               "Y-Coord       : ",
               "X-Coord       : ",
               "",
               "The next / marks the end of the header block and start of the layers block.",
               "To add layers, use Insert (menu) > Layer Description.",
               "To add Borehole Log columns, select a line in the Notes block and use Insert (menu) > Single "
               "Attribute.",
               "The following / marks the end of the layers block and start of the Notes block.",
               "/ ",
               "0.5   Silty SAND.",
               "2     Second Layer ~as~above.",
               "3.4   Third layer.",
               "3.4+  Refusal can be marked with depth Plus.",
               "/ ",
               "NOTES: ",
               "Water table encountered at 1.0m",
               "Perched water table at ",
               "Chemical sample CS01 taken at 2.3m",
               "Sample US1 taken at 2.5m",
               "Disturbed sample DS01 at 3.0m",
               "",
               "//",
               "The // above marks the end of the Hole.",
               "Repeat the block structure above for as many holes as required.",
               "/// ",
               "The /// above marks the end of the File.",
               "Further text is not processed.",
               "Comments and the name of the text file may be placed here for reference: "},
              false);
}

const std::array<const char*, 8> kBlockTemplateCaptions = {
    "Full Block Structure for 1 Hole", "Header Block",           "Layer Descriptions (input)",
    "Notes Block Example",             "Borehole Log Attribute (input)", "Attribute Block Example",
    "End-of-Hole marker",              "End-of-File marker"};

std::string BlockTemplate(int index, const std::string& text_before_cursor) {
  switch (index) {
    case 0:
      return join({"In the header block any line without a colon can be used as a comment.",
                   kHyphens,
                   "Client        : ",
                   "Job Title     : ",
                   "Job Number    : ",
                   "Typed by      : ",
                   "Contractor    : ",
                   "Machine       : ",
                   "Date Drilled  : ",
                   "Profiled by   : ",
                   "Date profiled : ",
                   "Diameter      : ",
                   "Typed by      : ",
                   "",
                   "The above lines need not be repeated per hole. The lines below must repeat.",
                   "Hole Number   : BH01",
                   "Ground level  : ",
                   "Orientation   : ",
                   "Y-Coord       : ",
                   "X-Coord       : ",
                   "",
                   "The next / marks the end of the header block and start of the layers block.",
                   "To add layers, use Insert (menu) > Layer Description.",
                   "To add Borehole Log columns, select a line in the Notes block and use Insert (menu) > "
                   "Borehole Log Attribute.",
                   "The following / marks the end of the layers block and start of the Notes block.",
                   "/ ",
                   "0.5   Moist, dark red, Silty SAND.",
                   "2     Second Layer as above.",
                   "3.4   Third layer, clayey SILT. \\Filling from residual |Dolerite.",
                   "3.4+  Refusal can be marked with depth Plus. Dolerite.",
                   "/ ",
                   "",
                   "NOTES: ",
                   "Water table encountered at 1.0m",
                   "Perched water table at ",
                   "Water strike at ",
                   "Chemical sample CS01 taken at 2.3m",
                   "Sample US1 taken at 2.5m",
                   "Disturbed sample DS01 at 3.0m",
                   "",
                   "//",
                   "The // above marks the end of the Hole.",
                   "Repeat the block structure above for as many holes as required,",
                   "then add /// to mark the end of the File."},
                  true);
    case 1: {
      std::vector<std::string> lines;
      if (text_before_cursor.find("\r\n//") != std::string::npos) {
        lines = {"", "Hole Number   : BH02"};
      } else {
        lines = {"In the header block any line without a colon can be used as a comment.",
                 kHyphens,
                 "Complete the lines that end in a colon",
                 "Client        : ",
                 "Job Title     : ",
                 "Job Number    : ",
                 "Contractor    : ",
                 "Drilling Machine: ",
                 "Date Drilled  : ",
                 "Profiled by   : ",
                 "Date profiled : ",
                 "Diameter      : ",
                 "Typed by      : ",
                 "",
                 "The above lines need not be repeated per hole. The lines below must repeat.",
                 "Hole Number   : BH01"};
      }
      for (const char* l : {"Ground level  : ", "Orientation   : ", "Y-Coord       : ", "X-Coord       : ", "",
                            "The next / marks the end of the header block and start of the layers block.",
                            "The following / marks the end of the layers block and start of the Notes block.", "/ "})
        lines.push_back(l);
      return join(lines, true);
    }
    case 3:
      return join({"", "/ ", "NOTES: ", "Water table encountered at 3.0m", "Perched water table at 2m.",
                   "Water strike at 1m, 21/12.", "Chemical sample CS01 taken at 2.3m", "Undisturbed Sample US1 taken at 2.6m",
                   "Disturbed sample DS01 3.1--3.4m"},
                  true);
    case 5:
      return join({"",
                   "ATTRIBUTE ::",
                   "",
                   "FAB: ROCK FABRIC AND GRAIN",
                   "SET: JOINT NO^OF SETS",
                   "INC: JOINT INCLIN (deg)",
                   "SPA: JOINT SPACING",
                   "ROU: JOINT ROUGH- NESS",
                   "FIL: JOINT FILLING      [COL WIDTH 1.4]",
                   "FRA: JOINT FRAC. FREQ.",
                   "HAR: ROCK HARD- NESS      [ WIDTH ,8]",
                   "WEA: WEATH- ERING       [GRAPH = 100 ] [ WIDTH 0.8] [INVERSE]",
                   ""},
                  false) +
             "\r\n" + ExampleAttributeTable() + "\r\n";
    case 6:
      return join({"", "//", "The // above marks the end of the Hole.",
                   "Repeat the block structure above for as many holes as required."},
                  true);
    case 7:
      return join({"", "/// ", "The /// above marks the end of the File.", "Further text is not processed.",
                   "Comments and the name of the text file may be placed here for reference: "},
                  true);
    default:
      return "";
  }
}

std::string LayerLine(const std::string& depth, const std::string& description) {
  std::string d = Trim(description);
  if (d.empty() || d.back() != '.') d += ".";
  return pad_after(Trim(depth), 5) + " " + d + "\r\n";
}

std::string AttributeLine(const std::string& depth, const std::string& value) {
  return pad_after(Trim(depth), 6) + ": " + value + "\r\n";
}

std::string AttributeName(const std::string& answer) {
  if (answer == "^1") return "SPT N [WIDTH 1.2]";
  if (answer == "^2") return "%^CORE RECO- VERED [GRAPH][PAINT cyan]";
  if (answer == "^3") return "% RQD [WIDTH=,8] [GRAPH 100 PLUS NUMBERS]";
  return answer;
}

std::array<SymbolItem, 13> DesignSymbolItems() {
  return {{{"| = I&gnore Keyword"},
           {"_ = Underline next &Word"},
           {"` = Underline next &Keyword"},
           {"~ = Soil S&ymbol (Marked Only)"},
           {"\\ = Line &Break"},
           {"^ = &Hard Space"},
           {"{ = Start &Indent"},
           {"} = End Indent"},
           {"\" = &Escape Character (Print Special Char)"},
           {"$ = Switch Primary Fonts"},
           {"# = Two Columns in &Descriptions Block"},
           {"[ ] = Comment / code / non-printing text"},
           {std::string("^") + static_cast<char>(171) + " = Formatting Off / On again"}}};
}

std::vector<std::string> SpecialLetterCaptions() {
  static const std::pair<int, const char*> kLetters[31] = {
      {181, " (&mu)"},           {186, " (deg&ree)"},        {216, " (&diameter)"},     {223, " (German double &S)"},
      {224, " (a grave)"},       {225, " (&a acute)"},       {226, " (a circumflex)"},  {231, " (&c cedilla)"},
      {232, " (e grave)"},       {233, " (&e acute)"},       {234, " (e circumflex)"},  {235, " (e dieresis)"},
      {236, " (i grave)"},       {237, " (&i acute)"},       {238, " (i circumflex)"},  {239, " (i dieresis)"},
      {241, " (&n tilde)"},      {242, " (o grave)"},        {243, " (&o acute)"},      {244, " (o circumflex)"},
      {245, " (o tilde)"},       {246, " (o dieresis)"},     {249, " (u grave)"},       {250, " (&u acute)"},
      {251, " (u circumflex)"},  {252, " (u dieresis)"},     {177, " (&plus-minus)"},   {135, " (used for not-equal)"},
      {171, " (used for &less-or-equal)"}, {187, " (used for &greater-or-equal)"}, {247, " (divide)"}};
  std::vector<std::string> out;
  for (const auto& [code, text] : kLetters) out.push_back(std::string(1, static_cast<char>(code)) + text);
  return out;
}

std::string SymbolInsertText(int index, const std::string& caption) {
  if (index == 12) return "\r\n    ^\r\n";
  if (index == 11) return caption.substr(0, 3);
  return caption.substr(0, 1);
}

bool ReadSetFileSymbols(const std::string& bytes, std::array<SymbolItem, 13>& items) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    std::string l = bytes.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
    pos = end == std::string::npos ? bytes.size() : end + 1;
  }
  size_t i = 0;
  auto skip_to = [&](const char* word) {
    while (i < lines.size() && !EqualText(Trim(lines[i]), word)) ++i;
    if (i < lines.size()) ++i;
  };
  skip_to("BEGIN");
  skip_to("END");
  skip_to("BEGIN");
  i += 2;
  // Items 2 to 10, then 1 and 0; an "END" line ends the block, so it and the lines after it define none.
  static const int kOrder[11] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 0};
  bool ended = false;
  for (int item : kOrder) {
    if (!ended && i >= lines.size()) break;
    const std::string line = ended ? "" : lines[i++];
    const std::string t = Trim(line);
    if (EqualText(t, "END")) ended = true;
    SymbolItem& s = items[static_cast<size_t>(item)];
    if (ended || t.empty()) {
      s.enabled = false;
    } else {
      s.caption = line.substr(0, 1) + s.caption.substr(1);
      s.enabled = true;
    }
  }
  return true;
}

std::optional<std::string> CharactersByCode(const std::string& answer) {
  auto number = [](const std::string& s) -> long {
    const std::string t = Trim(s);
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || !std::isfinite(v) || v < -1e9 || v > 1e9) return -1;
    return std::lround(v);
  };
  size_t dash = answer.find('-');
  long from = number(dash == std::string::npos ? answer : answer.substr(0, dash));
  long to = dash == std::string::npos ? from : number(answer.substr(dash + 1));
  if (from < 32 || from > 255 || to < 32 || to > 255) return std::nullopt;
  std::string out;
  if (dash == std::string::npos) return std::string(1, static_cast<char>(from));
  for (long c = from; c <= to; ++c) {
    if (c % 10 == 0) out += "\r\n";
    out += static_cast<char>(c);
  }
  return out;
}

}  // namespace quorvel
