// The logic of the text editor frmEditText: the text of the input file as bytes (edittext.h), its file,
// the new-file skeleton, the save prompt, the recent-file menu, the ways back to the main window, the
// undo ring, the block-structure check, the Insert and Character menus, the clipboard items and the
// Settings, View and Help menus.
//
// As with the main window, the fields are the window's controls as values. The Qt window shows them
// and calls the event methods. txtEdit is the text box: when the user changes it, the window stores the
// new bytes and the selection and calls txtEdit_Change (and txtEdit_KeyPress before a key's change).
// When the logic changes the text it goes through SetText or SetSelText, which record what changed
// (box_edits) for the window to apply and fire txtEdit_Change as the box would.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "edittemplates.h"
#include "ports.h"

namespace quorvel {

class MainForm;

// The refusal limit of the editor: the undo ring holds 21 whole copies of the text.
inline constexpr long kMaxEditBytes = 4000000;

// The first bytes of a compound document (a word-processor file), as the engine's wordpad.sig holds
// them.
extern const std::string kCompoundSignature;

// The undo and redo ring: 21 snapshots of the whole text and its cursor.
struct UndoRing {
  static constexpr int kSlots = 21;
  std::array<std::string, kSlots> text;
  std::array<long, kSlots> cursor{};
  int current = 0;
  int oldest = 0;
  int newest = 0;
  int last_key = 0;
};

// One change of the text box that the window applies: the display range [start, start + removed)
// replaced by the bytes inserted; whole: the box gets the whole text again.
struct BoxEdit {
  bool whole = false;
  long display_start = 0;
  long display_removed = 0;
  std::string inserted;
  std::optional<std::u16string> inserted_display;  // what the box shows, when it holds more than the bytes
};

// Where the window stands and its font, as stored in section TextEdit (pixels).
struct EditPlacement {
  int left = 0, top = 0, width = 0, height = 0;
  std::string window_state = "0";  // 0 normal, 1 minimised, 2 maximised
  std::string geometry;  // the place as the desktop saves it (without the frame); empty: none saved yet
  std::string font_name = "Courier New";
  double font_size = 10;
  bool font_bold = false;
};

// What the load needs to know of the screen and the main window (pixels).
struct EditScreen {
  int screen_width = 1024;
  int screen_height = 768;
  int main_left = 0, main_top = 0, main_width = 600, main_height = 400;
};

class EditForm {
 public:
  EditForm(const Ports& ports, MainForm* main);

  // The text box.
  std::string txtEdit;
  long SelStart = 0;
  long SelLength = 0;
  bool DataChanged = false;
  // The first character of the box that Windows-1252 cannot hold and its line (the window sets it
  // when the user's change brings one in); a save refuses such a text.
  std::optional<char32_t> foreign_char;
  long foreign_line = 0;
  std::vector<BoxEdit> box_edits;  // changes for the window to apply, oldest first

  // dlgFile's FileName: the file being edited ("" for a new file, "*.TXT" at load).
  std::string FileName = "*.TXT";
  // Recent-file menu items 0..9: caption and visibility.
  std::array<std::string, 10> mnuFileFiles_caption{};
  std::array<bool, 10> mnuFileFiles_visible{};
  bool mnuEditUndo_enabled = false;
  bool mnuEditRedo_enabled = false;
  bool mnuEditCut_enabled = false;
  std::array<SymbolItem, 13> mnuInsSymbol = DesignSymbolItems();
  std::vector<std::string> mnuCharLetter = SpecialLetterCaptions();
  bool mnuSettingsNNNS = false;
  bool mnuSettingsTidyUp = true;
  bool mnuSettingsPause = false;
  bool mnuSettingsPause_visible = true;
  bool mnuView_visible = false;
  int Zoom = 60;  // print preview zoom, per cent
  EditPlacement placement;
  bool visible = false;

  UndoRing ring;

  static constexpr const char* kCaption = "Quorvel Text Editor";

  // Changes of the box made by the logic: each fires txtEdit_Change as the box would. SetText puts
  // the cursor at 0; SetSelText replaces the selection and puts the cursor after the new text.
  void SetText(const std::string& t);
  void SetSelText(const std::string& t);
  void SetSelection(long start, long length);

  // The window's life.
  void Form_Load(const EditScreen& screen);
  void Form_Activate() {}
  // Closing by the user: false keeps the window open (the save prompt was cancelled).
  bool Form_QueryUnload();
  // Stores placement and font; the window then closes and the main window shows.
  void Form_Unload(bool minimised, bool maximised);

  // File handling.
  bool ReadFile(const std::string& path);
  void AddFileStructure(const std::string& prefix);
  bool SaveFileAs(bool force_dialog);
  bool AskSaveChanges(const std::string& title);
  void LoadFilesMenu(const std::string& path);
  void ExitEditor(const std::string& tag);
  void mnuFileNew_Click();
  void mnuFileRead_Click();
  void mnuFileSave_Click(int index);
  void mnuFileFiles_Click(int index);
  void mnuFileExit_Click();
  void mnuFileExit_Run_Click();
  void cmdExit_Run_Click() { mnuFileExit_Run_Click(); }
  // Opens the editor from the main window: the file (or a new one), the SET file's markup characters,
  // and the main window's input-file list in the recent-file menu.
  void OpenFromMain(const std::string& file, const std::string& set_file, const std::vector<std::string>& recent);

  // Undo ring.
  void txtEdit_KeyPress(int key_ascii);
  void txtEdit_Change();
  void mnuEditUndo_Click();
  void mnuEditRedo_Click();
  void reset_undo();

  // Checker.
  void mnuCheck_Click();

  // Insert and Character menus.
  void mnuInsBlock_Click(int index);
  void mnuInsSymbol_Click(int index);
  void mnuCharASCII_Click();
  void mnuCharLetter_Click(int index);
  void ReadSetFile(const std::string& set_file);

  // Edit menu.
  void mnuEdit_Click();
  void mnuEditCut_Click();
  void mnuEditCopy_Click();
  void mnuEditPaste_Click();
  void mnuEditReplace_Click();
  void mnuEditFind_Click();
  void mnuEditSpell_Click();
  // The layer text tools, the character sets and the spreadsheet tables (editform_tools.cpp).
  void mnuEditWrap_Click();
  void mnuEditUnwrap_Click();
  void mnuEditShift_Click(int index);
  void mnuEditCase_Click(int index);
  void mnuEditASCII_Click();
  void mnuEditPlaintext_Click();
  void mnuEditSelectAll_Click();
  void mnuEdit2DOS_Click();
  void mnuEdit2Win_Click();
  void mnuEditExcelCopy_Click();
  void mnuEditExcelPaste_Click();
  // The selected text replaced as one undoable step: a snapshot of the text first when the ring's
  // current one differs from it.
  void ReplaceSelectionStep(const std::string& text);
  // The windows of the tools, opened by the editor's window: the spell checker, the find and replace
  // box ("F" or "R"), the preview (drawn again at Zoom) and printing. The window keeps one printer,
  // which Print Setup sets up and the preview and Print All use: print_listing prints the listing on
  // it, or into the PDF file it names; false when that failed.
  std::function<void()> open_spell;
  std::function<void(const std::string& mode)> open_find_replace;
  std::function<void()> show_preview;
  std::function<bool(const std::string& pdf_file)> print_listing;
  // Unloads the editor's Preview, Find/Replace and Spelling windows (leaving the editor).
  std::function<void()> unload_companions;

  // Toolbar by the button's key.
  void Toolbar1_ButtonClick(const std::string& key);

  // View, Settings, Help, print entries.
  void mnuViewZoom_Click(int index);
  void mnuSettingsNNNS_Click();
  void mnuSettingsPause_Click();
  void mnuSettingsTidyUp_Click();
  void mnuHelpFile_Click(int index);
  void mnuHelpManual_Click(int index);
  void mnuHelpSupport_Click();
  void mnuHelpAbout_Click();
  void mnuFilePreview_Click();
  void mnuFilePrint_Click();
  // Print Setup: an open preview is drawn again for the new page.
  void mnuFilePSetup_Click();
  // Print setup is the window's own dialog on its printer; false when cancelled.
  std::function<bool()> print_setup;
  // Hands control back to the main window with the request word ("RUN" or ""), showing it again.
  std::function<void(const std::string& tag)> hand_back;

  std::string SelText() const;
  const Ports& ports() const { return ports_; }

 private:
  Answer ask(const std::string& text, Buttons b, Icon i, const std::string& title);
  void set_caption_for(const std::string& path);
  void record_change();
  void layer_dialogue();
  void attribute_dialogue();
  bool write_file(const std::string& name);

  Ports ports_;
  MainForm* main_;
  WindowHost default_host_;
  std::string recorded_file_;      // the file last recorded in the recent-file menu
  std::string last_symbol_set_file_;
  std::string last_layer_depth_, last_attr_depth_;
  bool excel_tip_shown_ = false;
};

}  // namespace quorvel
