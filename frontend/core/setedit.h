// The logic of the SET editor frmEditSet: a SET (setup) file held as its lines, each item line of the
// file's two BEGIN ... END blocks mapped to one control; a save rewrites only the value part of each
// item line, so that every line keeps its description and its column layout and all other lines (the
// comments, the printer control codes, the help text) pass through unchanged.
//
// As with the main window, the fields below are the window's controls as values. The Qt window
// (frontend/main/frmeditset.*) shows them and, when the user changes a control, stores the new value
// and calls the control's event method; after each call it shows the fields again.
//
// Values are read as the engine reads them: the text before the line's first "=" (the first 38
// characters of a line without one), trimmed. The print-to-file folder, the font folder and the logo
// name keep their letter case (file names on this system have one); the other first-block values are
// upper-cased (the engine compares "A3" and "A4" exactly). A value that does not fit before its "="
// column moves the "=" and the description to one blank after it.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mainform.h"
#include "modgeneral.h"
#include "ports.h"
#include "setfonts.h"

namespace quorvel {

inline constexpr int kFirstItems = 22;   // first-block items shown (0..21)
inline constexpr int kSecondItems = 13;  // second-block items (0..12)

extern const std::array<const char*, kFirstItems> kItemCaptions;   // captions of lblItem(0..21)
extern const std::array<const char*, kSecondItems> kCharCaptions;  // captions of lblChar(0..12)

// The leading number of a text ("12mm" is 12, "+5" is 5, "x" is 0), as the front end always read
// numbers typed into boxes.
double LeadingNumber(const std::string& text);
// The shortest decimal text of a number, never with an exponent ("0.5", "-200", "34.02").
std::string NumberText(double value);
// A number rounded to whole (halves to the even neighbour) or to decimals.
double RoundHalfEven(double value, int decimals = 0);
// Cuts the text before the first delimiter (any letter case) off text and returns it trimmed; text
// keeps what follows the delimiter. Without the delimiter: the whole text trimmed, and text empties.
std::string Parse(std::string& text, const std::string& delimiter);

// True for a logo matrix line: it holds " cm" followed by a blank or the line's end (any letter case).
bool HoldsMatrix(const std::string& line);
// The fields of a line split at runs of blanks.
std::vector<std::string> BlankFields(const std::string& line);

// A point of the logo tab's demonstration page, in mm from its bottom-left corner.
struct LogoPoint {
  int x = 0, y = 0;
};
struct Rgb {
  int r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
// One drawing step on the logo tab's page (mm, y up). Clear wipes the page.
struct CanvasOp {
  enum Kind { Clear, BoxOutline, BoxFill, Line } kind = Line;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Rgb colour;
};
// The 16 colours the outlines take in turn (0 black, 1 blue, ... 15 white).
extern const std::array<Rgb, 16> kPalette;
// The demonstration arrow in raw logo units, and placed at the head of the page.
extern const std::array<LogoPoint, 7> kLogoArrow;
extern const std::array<LogoPoint, 7> kLogoArrowPlaced;

// A measure of the layout diagram: the rectangle (in the diagram's units, 2790 x 4425) that selects it
// when clicked, and the control it focuses ("txtmm6", "txtItem16").
struct DiagramArea {
  int x1, x2, y1, y2;  // -1: open towards that side
  int item;
  const char* control;
};
extern const std::vector<DiagramArea> kDiagramAreas;

enum class BoxColour { Normal, Yellow, Red };

class SetEditForm {
 public:
  SetEditForm(const Ports& ports, MainForm& main);

  // --- model ---
  std::vector<std::string> SetLines;  // the file's lines, without line ends; grows as needed
  long FirstBegin = -1, FirstEnd = -1, SecondBegin = -1, SecondEnd = -1;
  long LastLine() const { return static_cast<long>(SetLines.size()) - 1; }
  std::string SetFileName;
  std::string SetDisplayName;
  bool SettingsChanged = false;
  std::array<bool, 4> FontChanged{};  // 1..3
  bool NewSetFile = false;            // opened on the template (set by the main window)
  std::string MessageText;

  // --- controls ---
  std::string txtDescription;
  std::array<std::string, kFirstItems> txtItem;
  std::array<std::string, kFirstItems> txtmm;  // dot-valued items 6..11, 13..16, 18, 19
  std::array<std::string, kSecondItems> txtChar;
  int optPgSeq = 0;
  std::array<FontControls, 4> font;  // 1..3
  std::string lblFont4;              // note line of the font tab
  std::array<std::string, 7> txtLogo{"", "1", "0", "0", "1", "0", "0"};  // 1..6
  BoxColour txtItem20_colour = BoxColour::Normal;
  int SSTab1 = 0;                    // current tab
  std::string focus;                 // a control the logic put the focus on ("txtItem3"); the window clears it
  int diagram_pointer = -1;          // the dot-valued item the diagram points at, -1: none
  bool closed = false;               // the editor has closed (hand-back done)

  // Logo tab.
  int optTransform = 0;  // 0 None, 1 Clear, 2 Shift, 3 Scaling, 4 Rotation, 5 Skew
  int optDemoType = 0;   // 0 Logo, 1 Watermark
  bool chkLogoCentre = false;
  bool picLogoNote_visible = true;
  std::string lblXY;
  double LogoRefX = 25, LogoRefY = 275;
  std::array<int, 4> LogoMargins{25, 25, 25, 25};  // left, right, top, bottom
  double LogoDemoX0 = 15, LogoDemoY0 = 240;
  int LogoPenColour = 0;
  double LogoAngleRotation = 0, LogoAngleSkewX = 0, LogoAngleSkewY = 0;
  std::array<LogoPoint, 7> LogoPoints = kLogoArrow;
  std::string LogoRefLine;
  std::vector<CanvasOp> canvas;  // what the page shows, in drawing order

  // The window's caption ("Editing SET File: ...").
  std::string Caption() const;

  // --- model procedures ---
  bool SetFileRead(const std::string& name);
  void SetLoadDefault(const std::string& name);
  // Fills the controls; false (after saying why) when the file's markers are missing: the editor closes.
  bool SetDataLoad();
  void SetDataGet();
  bool SetFileSave(int mode);
  bool SetQuerySave(const std::string& title);
  void SetEditClose(const std::string& word);
  bool CheckDataOK();
  bool LogoChanged();

  // --- events ---
  void txtItem_Change(int index);
  void txtmm_Change(int index);
  void txtChar_Change(int index);
  void txtDescription_Change();
  void txtItem_GotFocus(int index);
  void optPgSeq_Click(int index);
  void font_Change(int index);  // any edit of font index's controls
  void picDemo_Click(int x, int y);
  void SSTab1_Click(int tab);
  void cmdOK_Click();
  void cmdRun_Click();
  void cmdSaveAs_Click();
  void cmdCancel_Click();
  // The window's close box; true keeps the editor open.
  bool Form_QueryUnload();
  void cmdAbout_Click();
  void cmdFile_Click(int index);
  void cmdFileEdit_Click(int index);
  void cmdHelp_Click(int index);
  void cmdCompBoreLog_Click();
  void cmdBoreOpt_Click();
  // Logo tab.
  void cmdLogoDraw_Click(int index);
  void cmdLogoRef_Click();
  void picLogoCanvas_MouseMove(double x_mm, double y_mm);
  void picLogoCanvas_Click();
  void optDemoType_Click(int index);
  void cmdLogoView_Click();

  // The two borehole-log option dialogs, shown modally by the window; they return the new code, or
  // nothing when cancelled. Tests may replace them.
  std::function<std::optional<std::string>(const std::string& code)> compress_dialog;
  std::function<std::optional<std::string>(const std::string& code)> suppress_dialog;
  // Copies a file (the logo into the engine folder); false when it cannot.
  std::function<bool(const std::string& from, const std::string& to)> copy_file;
  // Called once the editor has closed itself (after the hand-back): the window goes away.
  std::function<void()> on_close;

  const Ports& ports() const { return ports_; }
  MainForm& main() { return main_; }

 private:
  void find_markers();
  void marker(long index);
  void items_changed();
  bool values_writable();
  bool write_file();
  void logo_read(double m[6]);
  void logo_write(const double m[6]);
  void logo_outline(const std::array<LogoPoint, 7>& pts, Rgb colour);
  void logo_square(double x, double y, Rgb colour);
  bool logo_transform(double m[6], const std::string& set);
  Answer ask(const std::string& text, Buttons b, Icon i, const std::string& title);

  Ports ports_;
  MainForm& main_;
  WindowHost default_host_;
  bool busy_ = false;
  bool font_folder_follows_ = true;  // item 23 is written from item 2 (see SetDataLoad)
  bool changes_from_load_ = false;   // SettingsChanged holds only what the load changed
};

}  // namespace quorvel
