// The SET editor's model: reading a SET file into its lines, filling the controls, upgrading an old
// second block, rebuilding the item lines from the controls, the checks and the save.
#include "setedit.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "globals.h"
#include "platform/paths.h"
#include "tools/embedded_data.h"
#include "viewing.h"

namespace fs = std::filesystem;

namespace quorvel {

const std::array<const char*, kFirstItems> kItemCaptions = {
    "Default Prompts file extension",
    "Default Vocabulary file extension",
    "Printer Type / Path to Font files",
    "Path for Print-to-File (PDF Output)",
    "Scale option (1=metric  2=Imperial)",
    "Page Size  (A3/A4)",
    "Attribute Page Left-hand Margin",
    "Attribute Page Right-hand Margin",
    "Profile Page Left-hand Margin",
    "Profile Page Right-hand Margin",
    "Head of Page (height)",
    "Foot of Page  (height)",
    "Borelog Suppress Options code",
    "Job Title left margin offset",
    "Footer 1st-margin offset",
    "Footer 2nd-margin offset",
    "Paragraph Indent module (chars)",
    "Default LOGO File Name",
    "Default LOGO X reference point.",
    "Default LOGO Y reference point.",
    "Compress Borelog (0=separate pages)",
    "Line spacing (lines per inch, normally 6)",
};

const std::array<const char*, kSecondItems> kCharCaptions = {
    "Page Output Sequence?",
    "Conversion Vocabulary file extension(s)",
    "Character to Underline && force a Symbol*",
    "Character to force a Soil Symbol *",
    "Character to Cause a Line-Break",
    "Character to Represent a Hard Space",
    "Character to Start Indent",
    "Character to End Indent",
    "Escape Character (Print Special Char)",
    "Character to Switch Primary Fonts",
    "Char for Newspaper Columns in Layers",
    "Character to Underline a Word (vlx6000)",
    "Character to Omit Soil Symbol (vlx6000)",
};

// The diagram's rectangles, in the diagram's own units; the first that holds the click wins.
const std::vector<DiagramArea> kDiagramAreas = {
    {60, 945, 45, 900, 6, "txtmm6"},         {1455, 2415, 45, 795, 7, "txtmm7"},
    {225, 990, 1020, 1185, 8, "txtmm8"},     {2055, 2595, 1065, 1485, 9, "txtmm9"},
    {1350, 2010, 1170, 1590, 10, "txtmm10"}, {225, 495, 3915, 4275, 11, "txtmm11"},
    {495, 1260, 1500, 1845, 13, "txtmm13"},  {240, 915, 3375, 3945, 14, "txtmm14"},
    {255, -1, 3975, -1, 15, "txtmm15"},      {1200, 2325, 1905, 3510, 16, "txtItem16"},
    {270, 750, 1260, 1470, 18, "txtmm18"},   {420, 1080, 1215, 1470, 19, "txtmm19"},
};

namespace {

constexpr const char* kSourceTextFiles = "SOURCE TEXT-FILES";
constexpr size_t kLogoFieldWidth = 6;  // the logo lines' second field: columns 7 to 12

bool dot_valued(int k) { return (k >= 6 && k <= 11) || (k >= 13 && k <= 15) || k == 18 || k == 19; }
bool has_mm(int k) { return dot_valued(k) || k == 16; }
// First-block values that name files or folders keep their letter case.
bool keeps_case(int k) { return k == 2 || k == 3 || k == 17; }

int tab_of_item(int k) {
  if (k <= 5 || k == 12 || k == 17 || k == 20) return 0;
  if (k == 21) return 3;
  return 1;
}

std::string value_of(const std::string& line) {
  size_t p = line.find('=');
  return Trim(p == std::string::npos ? line.substr(0, 38) : line.substr(0, p));
}

// The name a description line starts with: its text up to and including the first ".SET" (any case),
// trimmed; empty when it holds none.
std::string named_file(const std::string& line) {
  const size_t p = ToUpper(line).find(".SET");
  return p == std::string::npos ? std::string() : Trim(line.substr(0, p + 4));
}

std::string padded(std::string s, size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

// An item line rebuilt around a new value: the "=" keeps its column p (counted from 1) where the value
// fits before it, at least min_col; a line without "=" gets "= " + caption (p is then 1, and empty_col
// when that is given). A value too long for its room moves the "=" to one blank after it.
std::string rebuilt_line(const std::string& old, const std::string& value, const std::string& caption, size_t min_col,
                         size_t empty_col, bool no_equals = false) {
  std::string line = old;
  size_t eq = no_equals ? std::string::npos : line.find('=');
  size_t p;
  if (eq == std::string::npos) {
    line = "= " + caption;
    p = 1;
  } else {
    p = eq + 1;
  }
  std::string description = Trim(line.substr(p - 1));
  if (p == 1 && empty_col) p = empty_col;
  if (p < min_col) p = min_col;
  if (value.size() + 1 > p) p = value.size() + 2;
  return padded(value, p - 1) + description;
}

}  // namespace

bool HoldsMatrix(const std::string& line) {
  std::string u = ToUpper(line);
  return u.find(" CM ") != std::string::npos ||
         (u.size() >= 3 && u.compare(u.size() - 3, 3, " CM") == 0);
}

std::vector<std::string> BlankFields(const std::string& line) {
  std::vector<std::string> out;
  size_t i = 0;
  while (true) {
    i = line.find_first_not_of(" \t", i);
    if (i == std::string::npos) break;
    size_t e = line.find_first_of(" \t", i);
    out.push_back(line.substr(i, e == std::string::npos ? std::string::npos : e - i));
    if (e == std::string::npos) break;
    i = e;
  }
  return out;
}

namespace {

bool has_line_end(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

}  // namespace

double LeadingNumber(const std::string& text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  size_t start = i;
  if (text[i] == '+' || text[i] == '-') ++i;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (!digits) return 0;
  size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
      while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
      end = j;
    }
  }
  std::string num = text.substr(start, end - start);
  if (num[0] == '+') num.erase(0, 1);
  double v = 0;
  auto r = std::from_chars(num.data(), num.data() + num.size(), v);
  if (r.ec != std::errc()) return 0;
  return v;
}

std::string NumberText(double value) {
  if (!std::isfinite(value)) return "0";
  if (value == 0) return "0";
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
  return std::string(buf, r.ptr);
}

double RoundHalfEven(double value, int decimals) {
  double scale = std::pow(10.0, decimals);
  double v = value * scale;
  // A product such as 21.505000000000003 still rounds as the decimal text reads.
  double r = std::nearbyint(v);
  if (std::fabs(std::fabs(v - std::trunc(v)) - 0.5) < 1e-9) {
    double t = std::trunc(v);
    r = std::fmod(t, 2.0) == 0 ? t : t + (v > 0 ? 1 : -1);
  }
  return r / scale;
}

std::string Parse(std::string& text, const std::string& delimiter) {
  std::string source = text + delimiter;
  size_t p = std::string::npos;
  for (size_t i = 0; i + delimiter.size() <= source.size(); ++i)
    if (EqualText(source.substr(i, delimiter.size()), delimiter)) {
      p = i;
      break;
    }
  std::string result = Trim(source.substr(0, p));
  if (p >= text.size()) {
    text.clear();
  } else {
    text = text.substr(p + delimiter.size());
  }
  return result;
}

SetEditForm::SetEditForm(const Ports& ports, MainForm& main) : ports_(ports), main_(main) {
  if (!ports_.host) ports_.host = &default_host_;
  copy_file = [](const std::string& from, const std::string& to) {
    platform::MappedPath src = platform::map_existing(from);
    platform::MappedPath dst = platform::map_for_create(to);
    if (src.error || dst.error) return false;
    std::error_code ec;
    fs::copy_file(src.path, dst.path, fs::copy_options::overwrite_existing, ec);
    return !ec;
  };
}

Answer SetEditForm::ask(const std::string& text, Buttons b, Icon i, const std::string& title) {
  if (!ports_.msgbox) return b == Buttons::Ok ? Answer::Ok : Answer::Cancel;
  return ports_.msgbox->show({text, b, i, title});
}

std::string SetEditForm::Caption() const { return ports_.host->caption(); }

void SetEditForm::marker(long i) {
  std::string u = ToUpper(SetLines[static_cast<size_t>(i)]);
  if (u == "BEGIN") {
    (FirstBegin == -1 ? FirstBegin : SecondBegin) = i;
  } else if (u == "END") {
    (FirstEnd == -1 ? FirstEnd : SecondEnd) = i;
  }
}

void SetEditForm::find_markers() {
  FirstBegin = FirstEnd = SecondBegin = SecondEnd = -1;
  for (long i = 0; i <= LastLine(); ++i) marker(i);
}

bool SetEditForm::SetFileRead(const std::string& name) {
  CurrentStep = "Reading " + name + " in Sub SetFileRead";
  SetLines.clear();
  find_markers();
  platform::MappedPath m = platform::map_existing(name);
  std::ifstream in;
  if (!m.error) in.open(m.path, std::ios::binary);
  if (m.error || !in) {
    int number = m.error ? m.error : 53;
    std::string text = number == 76 ? "Path not found" : number == 71 ? "Disk not ready" : "File not found";
    ask("Error " + std::to_string(number) + "\n" + text + "\non " + name, Buttons::Ok, Icon::Exclamation,
        "Error reading SET File!");
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    SetLines.push_back(line);
  }
  find_markers();
  SetFileName = name;
  SetDisplayName = StripEngineFolder(name, main_.EngineFolder());
  CurrentStep.clear();
  return true;
}

void SetEditForm::SetLoadDefault(const std::string& name) {
  SetFileName = name;
  SetDisplayName = StripEngineFolder(name, main_.EngineFolder());
  SetLines.clear();
  std::string_view bytes = embedded_data::kStandardSet;
  for (size_t from = 0; from < bytes.size();) {
    size_t end = bytes.find('\n', from);
    if (end == std::string_view::npos) end = bytes.size();
    std::string line(bytes.substr(from, end - from));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    SetLines.push_back(line);
    from = end + 1;
  }
  find_markers();
}

bool SetEditForm::SetDataLoad() {
  CurrentStep = "Checking Begins and Ends in Sub SetDataLoad";
  MessageText.clear();
  if (FirstBegin == -1) MessageText += "\nFirst 'BEGIN' Line not Found!";
  if (FirstEnd == -1) MessageText += "\nFirst 'END' Line not Found!";
  if (SecondBegin == -1) MessageText += "\nSecond 'BEGIN' Line not Found!";
  if (SecondEnd == -1) MessageText += "\nSecond 'END' Line not Found!";
  // Item lines must lie inside the file (a block cut short by the end of the file, or a second block
  // placed before the first, cannot be edited either).
  if (MessageText.empty() && (FirstEnd <= FirstBegin + 30 || SecondBegin < FirstEnd || SecondEnd < SecondBegin))
    MessageText += "\nThe first block has fewer than 30 items, or the blocks are out of order!";
  if (!MessageText.empty()) {
    ask("Error(s) in SET File:" + MessageText +
            "\n\nThis may not be a SET file, or the file is Corrupt.\nEdit it in a text editor, or create a new file.",
        Buttons::Ok, Icon::Exclamation, "File can not be edited!");
    CurrentStep.clear();
    SetEditClose("");
    return false;
  }

  CurrentStep = "Loading the Description in Sub SetDataLoad";
  txtDescription.clear();
  for (long i = 0; i < FirstBegin; ++i) {
    const std::string& l = SetLines[static_cast<size_t>(i)];
    size_t p = ToUpper(l).find(".SET");
    if (p != std::string::npos) {
      txtDescription = Trim(l.substr(p + 4));
      break;
    }
  }

  CurrentStep = "Loading First Block's Items in Sub SetDataLoad";
  auto line_at = [this](long i) -> const std::string& {
    static const std::string empty;
    return i >= 0 && i <= LastLine() ? SetLines[static_cast<size_t>(i)] : empty;
  };
  for (int k = 0; k < kFirstItems; ++k) {
    std::string v = value_of(line_at(FirstBegin + 1 + k));
    txtItem[k] = keeps_case(k) ? v : ToUpper(v);
  }
  CurrentStep = "Trimming PROMPTS/PROVOCAB Items in Sub SetDataLoad";
  for (int k = 0; k < 2; ++k) {
    std::string v = txtItem[k].size() > 8 ? txtItem[k].substr(8) : "";
    std::erase(v, '.');
    txtItem[k] = Trim(v);
  }
  CurrentStep = "Trimming LOGO Items in Sub SetDataLoad";
  for (int k = 17; k <= 19; ++k) {
    // The second field stands from column 7 on, as the engine reads it.
    std::string raw = line_at(FirstBegin + 1 + k);
    size_t eq = raw.find('=');
    if (eq != std::string::npos) raw.erase(eq);
    std::string v = raw.size() > 6 ? Trim(raw.substr(6)) : "";
    txtItem[k] = keeps_case(k) ? v : ToUpper(v);
  }
  // The font folder (item 23) is written from item 2 where the two agree or it has none; a folder of
  // its own, which the console editor stores there, is kept.
  {
    const std::string folder = value_of(line_at(FirstBegin + 1 + 23));
    font_folder_follows_ = folder.empty() || folder == value_of(line_at(FirstBegin + 1 + 2));
  }
  CurrentStep = "Loading Second Block's Items in Sub SetDataLoad";
  for (int k = 0; k < kSecondItems; ++k) txtChar[k] = value_of(line_at(SecondBegin + 1 + k));
  optPgSeq = (txtChar[0] == "1" || EqualText(txtChar[0], "REVERSED") || EqualText(txtChar[0], "GOOFY")) ? 1 : 0;
  txtChar[0] = std::to_string(optPgSeq);

  CurrentStep = "Loading First Block's Fonts in Sub SetDataLoad";
  lblFont4.clear();
  for (int i = 1; i <= 3; ++i) {
    FontLoad(value_of(line_at(FirstBegin + 1 + 23 + 2 * i)), font[static_cast<size_t>(i)]);
    if (font[static_cast<size_t>(i)].txtFont.find('*') != std::string::npos)
      lblFont4 = "*For PDF output only HELVETICA, TIMES and COURIER fonts are supported.";
    FontChanged[static_cast<size_t>(i)] = false;
  }
  for (int k = 0; k < kFirstItems; ++k)
    if (has_mm(k) || k == 20) {
      busy_ = false;
      txtItem_Change(k);
    }
  SettingsChanged = false;

  // A second block of an edition that lacked its last two items gains them. A full block whose items
  // are blank on purpose (an undefined character) is left as it is.
  if (SecondEnd - SecondBegin < 14) {
    CurrentStep = "Fixing Pre-vlx6000 SET File in Sub SetDataLoad";
    long shift = 14 - (SecondEnd - SecondBegin);
    ask("This is a Pre-vlx6000 SET File.\n\nIf you save it, two new items will be added:\n"
        "   _ = Character To Underline a Word\n   | = Character To Omit Soil Symbol\n"
        "They will be ignored by Veltrax versions before vlx6000.",
        Buttons::Ok, Icon::Information, "File will be upgraded when saved.");
    if (shift >= 1) {
      SetLines.insert(SetLines.begin() + SecondEnd, static_cast<size_t>(shift), std::string());
      SecondEnd += shift;
    }
    SetLines[static_cast<size_t>(SecondBegin + 12)] = "_" + std::string(35, ' ') + "= Character to Underline a Word (vlx6000)";
    SetLines[static_cast<size_t>(SecondBegin + 13)] = "|" + std::string(35, ' ') + "= Character to Omit Soil Symbol (vlx6000)";
    txtChar[11] = "_";
    txtChar[12] = "|";
    SettingsChanged = true;
  }

  CurrentStep = "Loading Logo Transformation tab in Sub SetDataLoad";
  if (HoldsMatrix(line_at(FirstEnd + 1))) {
    std::vector<std::string> f = BlankFields(line_at(FirstEnd + 1));
    for (int i = 1; i <= 6; ++i) {
      std::string field = static_cast<size_t>(i - 1) < f.size() ? f[static_cast<size_t>(i - 1)] : "";
      txtLogo[static_cast<size_t>(i)] = NumberText(LeadingNumber(field));
    }
  }

  ports_.host->set_caption("Opened SET File: " + SetDisplayName);
  if (Trim(txtDescription).empty()) {
    CurrentStep = "Creating Description in Sub SetDataLoad";
    std::string p = txtItem[5];
    std::string k = txtItem[20].empty() ? "0" : txtItem[20];
    long n = static_cast<long>(LeadingNumber(k.substr(k.size() - 1)));
    std::string d;
    if (EqualText(p, "A3")) {
      d = "Borelog and Profile on one " + p + " page";
      if (n != 0)
        d += " with " + Plural(n, "Borelog Column") + " on Profile side";
      else if (k > "0")
        d = ReplaceAllText(d, "on one", "COMPRESSED onto Profile side of");
    } else {
      d = p + " page";
      if (n != 0)
        d = p + " pages with " + Plural(n, "Borelog Column") + " on Profile Page";
      else if (k > "0")
        d = "Borelog and Profile Compressed onto one " + p + " page";
      if (!(k != "0" && n == 0)) d += std::string(" for ") + (optPgSeq == 0 ? "Profile, then Borelog" : "Borelog, then Profile");
    }
    txtDescription = d;
    txtDescription_Change();
  }
  // What the load itself changed (an upgraded block, a made-up description) is written by OK, but is
  // not the user's change: closing without saving asks nothing for it.
  changes_from_load_ = SettingsChanged;
  CurrentStep.clear();
  return true;
}

void SetEditForm::SetDataGet() {
  CurrentStep = "Getting First Block's Items in Sub SetDataGet";
  auto line = [this](long i) -> std::string& {
    if (i > LastLine()) SetLines.resize(static_cast<size_t>(i) + 1);
    return SetLines[static_cast<size_t>(i)];
  };
  for (int k = 0; k < kFirstItems; ++k) {
    std::string& l = line(FirstBegin + 1 + k);
    std::string v = keeps_case(k) ? txtItem[k] : ToUpper(txtItem[k]);
    if (k == 0) v = "PROMPTS." + v;
    if (k == 1) v = "PROVOCAB." + v;
    if (k >= 17 && k <= 19) {
      std::string raw = l.substr(0, std::min(l.find('='), l.size()));
      v = padded(raw, 6).substr(0, 6) + v;
    }
    l = rebuilt_line(l, v, kItemCaptions[k], 40, 0);
  }
  CurrentStep = "Getting Second Block's Items in Sub SetDataGet";
  for (int k = 0; k < kSecondItems; ++k) {
    std::string& l = line(SecondBegin + 1 + k);
    l = rebuilt_line(l, txtChar[k], kCharCaptions[k], 0, 37, ContainsText(l, kSourceTextFiles));
  }
  CurrentStep = "Getting the Font Path in Sub SetDataGet";
  if (font_folder_follows_) {
    std::string& l = line(FirstBegin + 1 + 23);
    l = rebuilt_line(l, txtItem[2], "Path to Font files", 0, 40);
  }
  CurrentStep = "Getting the Fonts in Sub SetDataGet";
  for (int i = 1; i <= 3; ++i) {
    if (!FontChanged[static_cast<size_t>(i)]) continue;
    const FontControls& f = font[static_cast<size_t>(i)];
    std::string& metric = line(FirstBegin + 1 + 22 + 2 * i);
    metric = rebuilt_line(metric, FontMetricFile(f), "Font metric file", 0, 40);
    std::string& code = line(FirstBegin + 1 + 23 + 2 * i);
    code = rebuilt_line(code, FontCode(f, i), "Font selection code", 0, 40);
  }
  CurrentStep = "Getting the Logo Transformation in Sub SetDataGet";
  if (LogoChanged()) {
    std::string text;
    for (int i = 1; i <= 6; ++i) text += NumberText(LeadingNumber(txtLogo[static_cast<size_t>(i)])) + " ";
    text += "cm ";
    text = padded(text, 40) + "= Logo transform matrix (1 0 0 1 0 0 = Unchanged)";
    long at = FirstEnd + 1;
    if (at > LastLine() || !HoldsMatrix(SetLines[static_cast<size_t>(at)])) {
      SetLines.insert(SetLines.begin() + at, std::string());
      if (SecondBegin >= at) ++SecondBegin;
      if (SecondEnd >= at) ++SecondEnd;
    }
    SetLines[static_cast<size_t>(at)] = text;
  }
  CurrentStep.clear();
}

// A value holding a line end would shift every later item of the fixed line order, and one holding
// "=" would be cut there by the engine: neither can be written.
bool SetEditForm::values_writable() {
  auto refuse = [this](const std::string& caption, const std::string& control, int tab) {
    SSTab1 = tab;
    focus = control;
    std::string c = ReplaceAllText(caption, "&&", "&");
    ask("The value of \"" + c + "\" holds a line end or an \"=\", which a SET file cannot keep.\n"
            "Please change it; nothing has been saved.",
        Buttons::Ok, Icon::Exclamation, "Value not accepted!");
    return false;
  };
  if (has_line_end(txtDescription)) {
    SSTab1 = 0;
    focus = "txtDescription";
    ask("The description holds a line end, which a SET file cannot keep.\nPlease change it; nothing has been saved.",
        Buttons::Ok, Icon::Exclamation, "Value not accepted!");
    return false;
  }
  for (int k = 0; k < kFirstItems; ++k)
    if (has_line_end(txtItem[k]) || txtItem[k].find('=') != std::string::npos)
      return refuse(kItemCaptions[k], "txtItem" + std::to_string(k), tab_of_item(k));
  for (int k = 0; k < kSecondItems; ++k)
    if (has_line_end(txtChar[k]) || txtChar[k].find('=') != std::string::npos)
      return refuse(kCharCaptions[k], "txtChar" + std::to_string(k), k <= 1 ? 0 : 2);
  // The engine reads the logo name and the logo X and Y from columns 7 to 12 of their lines: a longer
  // value would be read cut.
  for (int k = 17; k <= 19; ++k) {
    if (txtItem[k].size() <= kLogoFieldWidth) continue;
    SSTab1 = tab_of_item(k);
    focus = "txtItem" + std::to_string(k);
    static const char* const what[] = {"LOGO PDF file name", "LOGO X reference point", "LOGO Y reference point"};
    ask(std::string(what[k - 17]) + " MUST not exceed " + std::to_string(kLogoFieldWidth) + " characters in length!\n" +
            txtItem[k] + "\nis not acceptable!",
        Buttons::Ok, Icon::Exclamation, k == 17 ? "Bad LOGO PDF file!" : "Bad LOGO reference point!");
    return false;
  }
  for (int i = 1; i <= 3; ++i) {
    const std::string& size = font[static_cast<size_t>(i)].cboFontSize;
    if (FontChanged[static_cast<size_t>(i)] && (has_line_end(size) || size.find('=') != std::string::npos))
      return refuse("Font " + std::to_string(i) + " size", "cboFontSize" + std::to_string(i), 3);
  }
  return true;
}

// Writes the lines to a new file beside the target, which then takes the old file's place: a failed
// write leaves the old file as it was.
bool SetEditForm::write_file() {
  CurrentStep = "Writing " + SetFileName + " in Sub SetFileSave";
  auto fail = [this](int number, const std::string& text) {
    ask("Error " + std::to_string(number) + "\n" + text + "\n" + CurrentStep, Buttons::Ok, Icon::Exclamation, "Error!");
    return false;
  };
  platform::MappedPath target = platform::map_for_create(SetFileName);
  if (target.error) return fail(target.error, target.error == 71 ? "Disk not ready" : "Path not found");
  std::string text;
  for (const std::string& l : SetLines) text += l + "\r\n";
  if (const int e = ReplaceFileContents(target.path, text)) return fail(e == ENOSPC ? 61 : 75, std::strerror(e));
  return true;
}

bool SetEditForm::SetFileSave(int mode) {
  struct Busy {
    WindowHost* h;
    ~Busy() { h->set_busy(false); }
  } restore{ports_.host};
  if (mode == 1 || SetFileName.empty()) {
    if (!ports_.files) return false;
    FileDialogRequest r;
    r.initial_name = SetFileName.empty() ? "*.SET" : SetFileName;
    r.title = "Save SET File";
    r.default_ext = "SET";
    r.filter = "Setup File (*.SET)|*.SET";
    r.save = true;
    std::optional<std::string> chosen = ports_.files->choose(r);
    if (!chosen || chosen->empty()) return false;
    SetFileName = *chosen;
    SetDisplayName = StripEngineFolder(SetFileName, main_.EngineFolder());
    SettingsChanged = true;
    changes_from_load_ = false;
    if (SetDisplayName.find_first_of("/\\") != std::string::npos) {
      if (ask("The Setup (SET) File should normally be on the Veltrax Folder, i.e. on\n" + main_.EngineFolder() +
                  "\n\nUse it instead?",
              Buttons::YesNo, Icon::Question, "Unexpected Path for SET file - Change?") == Answer::Yes) {
        main_.SetVeltraxFolder(main_.EngineFolder());
        SetFileName = main_.EngineFolder() + FileTitleOf(SetDisplayName);
        SetDisplayName = StripEngineFolder(SetFileName, main_.EngineFolder());
      }
    }
  }
  if (!values_writable()) return false;
  if (!CheckDataOK()) return false;
  if (!LogoChanged() && !SettingsChanged) return true;
  ports_.host->set_busy(true);
  SetDataGet();
  // A line that names this file keeps the name as it stands there (the console editor writes the bare
  // name); one that names another file gets this file's whole name.
  for (long i = 0; i <= FirstBegin && i <= LastLine(); ++i) {
    std::string& l = SetLines[static_cast<size_t>(i)];
    if (!ContainsText(l, ".SET")) continue;
    std::string name = named_file(l);
    if (!EqualText(FileTitleOf(name), FileTitleOf(SetFileName))) name = SetFileName;
    l = name + "  " + Trim(txtDescription);
  }
  for (long i = std::max(SecondEnd, 0L); i <= LastLine(); ++i)
    if (ContainsText(SetLines[static_cast<size_t>(i)], ".SET"))
      SetLines[static_cast<size_t>(i)] = "END OF " + FileTitleOf(SetFileName);
  if (!write_file()) return false;
  CurrentStep.clear();
  SettingsChanged = false;
  FontChanged = {};
  SetDisplayName = StripEngineFolder(SetFileName, main_.EngineFolder());
  ports_.host->set_caption("Saved SET File: " + SetDisplayName);
  std::string before = main_.cboSetupFile.text;
  AddFileToList(SetDisplayName, main_.cboSetupFile);
  if (main_.cboSetupFile.text != before) main_.cboSetupFile_Change();
  return true;
}

bool SetEditForm::SetQuerySave(const std::string& title) {
  std::string subject;
  // A file made from the template is all unsaved: closing it asks even when nothing was typed.
  if (SettingsChanged && (!changes_from_load_ || !Exists(SetFileName))) subject = "settings";
  if (LogoChanged()) subject = "logo transformation";
  if (subject.empty()) return true;
  Answer a = ask("Do you want to Save your " + subject + " changes to\n" + SetFileName + " ?", Buttons::YesNoCancel,
                 Icon::Question, title + " (Save Now to keep Changes!)");
  if (a == Answer::Yes) return SetFileSave(0);
  return a == Answer::No;
}

void SetEditForm::SetEditClose(const std::string& word) {
  ports_.host->set_busy(true);
  main_.Tag = word;
  closed = true;
  ports_.host->set_busy(false);
  if (on_close) on_close();
}

bool SetEditForm::CheckDataOK() {
  ports_.host->set_busy(true);
  main_.SetVeltraxFolder(main_.EngineFolder());
  const std::string f = main_.EngineFolder();
  bool result = true;
  struct Check {
    std::string path;
    bool folder;
    std::string control;
    std::string first_line;
  };
  std::vector<Check> checks;
  checks.push_back({f + "PROMPTS." + txtItem[0], false, "txtItem0", "The Default Prompts file "});
  checks.push_back({f + "PROVOCAB." + txtItem[1], false, "txtItem1", "The Default Vocabulary file "});
  std::string extensions = txtChar[1];
  while (!Trim(extensions).empty())
    checks.push_back({f + "CONVOCAB." + Parse(extensions, ","), false, "txtChar1", "The Conversion Vocabulary File "});
  checks.push_back({txtItem[3], true, "txtItem3", "The Default path for Print-to-File "});
  checks.push_back({f + txtItem[17] + ".PDF", false, "txtItem17", "The Default LOGO File "});
  checks.push_back({f + txtItem[2], true, "txtItem2", "The Path to Font files "});
  for (size_t i = 0; i < checks.size(); ++i) {
    const Check& c = checks[i];
    bool ok = c.folder ? ExistDir(c.path) : Exists(c.path);
    if (ok) continue;
    SSTab1 = 0;
    focus = c.control;
    ports_.host->set_busy(false);
    Answer a = ask(c.first_line + c.path + " does not exist!\nAbort \t= Stop Now and fix\nRetry \t= Check all Errors, then fix"
                   "\nIgnore\t= Ignore Errors and Carry On (profiles may not run)",
                   Buttons::AbortRetryIgnore, Icon::Question, "Fix Error in SET File Data?");
    if (a == Answer::Ignore) return true;
    if (a != Answer::Retry) return false;
    result = false;
  }
  ports_.host->set_busy(false);
  return result;
}

void SetEditForm::items_changed() {
  SettingsChanged = true;
  changes_from_load_ = false;
  ports_.host->set_caption("Editing SET File: " + SetDisplayName);
}

void SetEditForm::txtItem_Change(int k) {
  if (busy_) return;
  busy_ = true;
  items_changed();
  double v = LeadingNumber(txtItem[k]);
  if (dot_valued(k)) txtmm[k] = NumberText(RoundHalfEven(v * 25.4 / 300, 1));
  if (k == 16) txtmm[k] = NumberText(RoundHalfEven(v * 25.4 / 6, 1));
  if (k == 20) txtItem20_colour = v > 1199 ? BoxColour::Red : v > 859 ? BoxColour::Yellow : BoxColour::Normal;
  busy_ = false;
}

void SetEditForm::txtmm_Change(int k) {
  if (busy_) return;
  busy_ = true;
  items_changed();
  double mm = LeadingNumber(txtmm[k]);
  if (dot_valued(k)) txtItem[k] = NumberText(RoundHalfEven(mm * 300 / 25.4));
  if (k == 16) txtItem[k] = NumberText(RoundHalfEven(mm * 6 / 25.4));
  busy_ = false;
}

void SetEditForm::txtChar_Change(int) { items_changed(); }

void SetEditForm::txtDescription_Change() { items_changed(); }

void SetEditForm::txtItem_GotFocus(int k) { diagram_pointer = dot_valued(k) ? k : -1; }

void SetEditForm::optPgSeq_Click(int index) {
  optPgSeq = index;
  txtChar[0] = std::to_string(index);
  txtChar_Change(0);
}

void SetEditForm::font_Change(int index) {
  FontChanged[static_cast<size_t>(index)] = true;
  // The description follows the controls at once: the code they make, read back as a load reads it.
  if (index >= 1 && index <= 3) {
    FontControls& f = font[static_cast<size_t>(index)];
    FontControls read = f;
    FontLoad(FontCode(f, index), read);
    f.txtFont = read.txtFont;
  }
  SettingsChanged = true;
  changes_from_load_ = false;
}

void SetEditForm::picDemo_Click(int x, int y) {
  for (const DiagramArea& a : kDiagramAreas) {
    if (x >= a.x1 && (a.x2 < 0 || x <= a.x2) && y >= a.y1 && (a.y2 < 0 || y <= a.y2)) {
      focus = a.control;
      txtItem_GotFocus(a.item);
      return;
    }
  }
  ask("Click on the appropriate arrow in the picture to select that measurement.", Buttons::Ok, Icon::Information,
      "No Item Found where you Clicked.");
}

void SetEditForm::SSTab1_Click(int tab) {
  SSTab1 = tab;
  if (tab == 4) picLogoNote_visible = !picLogoNote_visible;
}

void SetEditForm::cmdOK_Click() {
  if (SetFileSave(0)) SetEditClose("");
}

void SetEditForm::cmdRun_Click() {
  if (SetFileSave(0)) SetEditClose("RUN");
}

void SetEditForm::cmdSaveAs_Click() { SetFileSave(1); }

void SetEditForm::cmdCancel_Click() {
  if (SetQuerySave("Closing SET File Editor")) SetEditClose("");
}

bool SetEditForm::Form_QueryUnload() {
  if (closed) return false;
  if (!SetQuerySave("Closing Quorvel for Veltrax SET File Editor")) return true;
  main_.Tag.clear();
  closed = true;
  return false;
}

void SetEditForm::cmdAbout_Click() {
  ask("Because of the variety of personal choices that are possible in\n"
      "arranging the layout, Veltrax uses a SETUP that stores all the required\n"
      "values in a SET File.  For example, there may be a SET for profiles, another\n"
      "for boreholes, one for percussion logs, and further variations with other logos.\n\n"
      "This screen lets you easily make changes to the setup and store those changes,\n"
      "either to the same SET file (OK) or a different one (Save As).\n\n"
      "Click the [Run Now!] button to store changes to the SET file and\n"
      "then Run Veltrax using the Text file chosen on the main screen.\n\n"
      "For detailed help, click the [Help] button.",
      Buttons::Ok, Icon::Information, "About SET Files");
}

void SetEditForm::cmdFile_Click(int index) {
  main_.SetVeltraxFolder(main_.EngineFolder());
  const std::string f = main_.EngineFolder();
  if (!ports_.files) return;
  FileDialogRequest r;
  if (index >= 0 && index <= 2) {
    static const char* const bases[] = {"PROMPTS", "PROVOCAB", "CONVOCAB"};
    std::string filter = std::string(bases[index]) + ".*";
    r = {f + filter, std::string("Please locate Veltrax ") + bases[index] + ".* file", "*", filter, false};
    std::optional<std::string> chosen = ports_.files->choose(r);
    if (!chosen || chosen->empty()) return;
    // The engine builds the file's name from the three letters after its last full stop.
    std::string title = FileTitleOf(*chosen);
    size_t dot = title.rfind('.');
    std::string ext = dot == std::string::npos ? "" : title.substr(dot + 1);
    if (ext.size() != 3) {
      ask("The file " + title + " has no three-letter extension,\nso Veltrax cannot use it.", Buttons::Ok,
          Icon::Exclamation, "File not acceptable!");
      return;
    }
    std::string& box = index == 2 ? txtChar[1] : txtItem[static_cast<size_t>(index)];
    if (box != ext) {
      box = ext;
      index == 2 ? txtChar_Change(1) : txtItem_Change(index);
    }
  } else if (index == 3) {
    std::string folder = WithFinalSeparator(txtItem[3]);
    r = {folder + "*.*", std::string("Please locate any file in the ") + kItemCaptions[3] + ", or name a new file", "NEW",
         "All Files (*.*)|*.*", true};
    std::optional<std::string> chosen = ports_.files->choose(r);
    if (!chosen || chosen->empty()) return;
    std::string v = FolderOf(*chosen);
    if (v != txtItem[3]) {
      txtItem[3] = v;
      txtItem_Change(3);
    }
  } else if (index == 17) {
    r = {f + "?????.PDF", "Please locate the LOGO PDF file", "PDF", "LOGO file|*.PDF", false};
    std::optional<std::string> chosen = ports_.files->choose(r);
    if (!chosen || chosen->empty()) return;
    std::string n = ReplaceAllText(StripEngineFolder(*chosen, f), ".PDF", "");
    std::string reason;
    if (n.find_first_of("/\\") == std::string::npos) {
      if (n.size() <= 5) {
        if (txtItem[17] != n) {
          txtItem[17] = n;
          txtItem_Change(17);
        }
      } else {
        reason = "LOGO PDF file name MUST not exceed 5 characters in length!";
      }
    } else {
      n = FileTitleOf(n);
      std::string target = f + FileTitleOf(*chosen);
      std::string text = "The LOGO File " + n + " MUST be on the Veltrax Folder, i.e. on\n" + f + "\n\nCopy " + *chosen +
                         " there?";
      if (platform::exists(target)) text += "\nThe EXISTING File will be REPLACED!";
      if (ask(text, Buttons::OkCancel, Icon::Question, "Wrong Path for LOGO file - COPY?") == Answer::Ok) {
        if (copy_file && copy_file(*chosen, target)) {
          txtItem[17] = n;
          txtItem_Change(17);
        } else {
          reason = "LOGO PDF file could not be copied to " + f + " !";
        }
      } else {
        reason = "LOGO PDF file MUST be on " + f + " !";
      }
    }
    if (!reason.empty())
      ask(reason + "\n" + n + "\nis not acceptable!", Buttons::Ok, Icon::Exclamation, "Bad LOGO PDF file!");
  }
}

void SetEditForm::cmdFileEdit_Click(int index) {
  main_.SetVeltraxFolder(main_.EngineFolder());
  const std::string f = main_.EngineFolder();
  std::vector<std::string> files;
  if (index == 0) files.push_back(f + "PROMPTS." + txtItem[0]);
  if (index == 1) files.push_back(f + "PROVOCAB." + txtItem[1]);
  bool several = false;
  if (index == 2) {
    several = txtChar[1].find(',') != std::string::npos;
    std::string list = txtChar[1];
    if (several) {
      while (!Trim(list).empty()) files.push_back(f + "CONVOCAB." + Parse(list, ","));
    } else {
      files.push_back(f + "CONVOCAB." + Trim(txtChar[1]));
    }
  }
  if (files.empty()) return;
  std::string shown = several ? f + "CONVOCAB." + txtChar[1] : files[0];
  std::string text = "This will open the file " + shown + " in the text editor.\n" +
                     "You make changes to this file AT YOUR OWN RISK!\n"
                     "Please READ THE MANUAL and MAKE SURE that you know what you are doing!\n\n"
                     "It is STRONGLY RECOMMENDED that you make a backup copy before making any changes.\n\n"
                     "Do you REALLY want to open this file?";
  std::string title = "Edit Sensitive Veltrax File?";
  if (several) {
    text = ReplaceAllText(ReplaceAllText(text, "file", "files"), " this", " these");
    title = "Edit Sensitive Veltrax Files?";
  }
  if (ask(text, Buttons::YesNo, Icon::Question, title) != Answer::Yes) return;
  for (const std::string& file : files) LaunchFile(ports_, "", file, "");
  ports_.host->set_busy(false);
}

void SetEditForm::cmdHelp_Click(int index) {
  static const char* const anchors[] = {"", "#layout", "#chars", "#fonts", "#LogoTab"};
  std::string page = "::/06 SET File Editor.htm";
  if (index == 0) {
    ShowHelp(ports_, page + (SSTab1 >= 0 && SSTab1 <= 4 ? anchors[SSTab1] : ""));
    return;
  }
  std::string text, title, topic;
  if (index == 12) {
    title = "Borelog Suppress Options Code";
    text = "For borelogs the standard defaults are:-\nSOIL LAYER WITNESS lines shoot through to the depth scale,\n"
           "ATTRIBUTE WITNESS lines shoot through to the depth scale,\nREDUCED LEVEL is displayed left,\n"
           "DEPTH RASTER  is displayed right.\n\nThe default code is 000.\n"
           "To suppress the first, the options code has 1 added\n"
           "To suppress the second, the options code has 10 added\n"
           "To suppress reduced LEVELS, the options code has 100 added\n"
           "To suppress a DEPTH raster, the options code has 200 added\n"
           "To swap Levels/Depths, the options code has 400 added.\n\n"
           "For example a code of 101 will have no Reduced Level Column,\n"
           "will show all Attribute Witness lines, but will not show Soil Layer Witness lines.\n"
           "A code of 600 will show reduced levels on the right, no depth raster.\n\n"
           "Would you like more Help on Borelog Suppress Options?";
    topic = page + "#BorelogSuppress";
  } else if (index == 17) {
    title = "Logo file Help";
    text = "The Logo file must be a PDF file with a name not longer than 5 characters, e.g. LOGO1.PDF.\n"
           "It must be on the Veltrax folder, which is currently set to:\n" +
           main_.EngineFolder() + "\n\nWould you like Help on changing the Logo?";
    topic = "::/07 FAQ.htm#SetLogo";
  } else if (index == 20) {
    title = "Compress Option (Borehole logs only)";
    text = "A non-zero value will cause the attribute columns to print onto the\n"
           "same page as the profile and descriptions. The Profile Page Left\n"
           "margin will be adjusted using this value at 300 dots per inch: the\n"
           "program will check and apply a default minimum of 150 dots.\n\n"
           "If the last character of the compress option has a value other\n"
           "than zero, e.g. 603 then the rightmost 3 attribute columns will\n"
           "be pushed into the profile page into a space of 600 dots,\n"
           "the remainder will print on the attribute page.\n\n"
           "Warning: Values above 859 may cause a Numeric Overflow error.\n"
           "\t  Values 1200 and above will probably be ignored.\n\n"
           "Would you like more Help on the Compress Borelog Option?";
    topic = page + "#CompressBorelog";
  } else {
    return;
  }
  if (ask(text, Buttons::YesNo, Icon::Question, title) == Answer::Yes) ShowHelp(ports_, topic);
}

void SetEditForm::cmdCompBoreLog_Click() {
  if (!compress_dialog) return;
  std::optional<std::string> code = compress_dialog(txtItem[20]);
  if (code && *code != txtItem[20]) {
    txtItem[20] = *code;
    txtItem_Change(20);
  }
}

void SetEditForm::cmdBoreOpt_Click() {
  if (!suppress_dialog) return;
  std::optional<std::string> code = suppress_dialog(txtItem[12]);
  if (code && *code != txtItem[12]) {
    txtItem[12] = *code;
    txtItem_Change(12);
  }
}

}  // namespace quorvel
