// The text editor's tools on the input file's bytes (Windows-1252, CR LF counted as two characters):
// wrapping and unwrapping layer descriptions, block shifts, character codes, the next layer without a
// symbol marker, the DOS character-set conversion, the spreadsheet table through the clipboard, and the
// find and replace box. Positions are 0-based offsets unless a name says otherwise.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/core/ports.h"

namespace quorvel {

// The lines of a selection split at CR LF: a last line without CR LF counts, a final CR LF gives no empty
// line after it.
std::vector<std::string> SelectionLines(const std::string& selection);

// Layer descriptions wrapped at width: continuation lines begin with four blanks; a word longer than the
// width stays whole. Every line ends in CR LF.
std::string WrapDescriptions(const std::string& selection, long width);
// Continuation lines (IsContinuationLine: three blanks, as the engine reads them) joined by one blank to
// the last line before them that is not blank; every line ends in CR LF.
std::string UnwrapDescriptions(const std::string& selection);

// The block of lines a selection touches, shifted: outdent removes up to four blanks after each line
// break inside it, indent puts four before each line that does not begin with a number.
struct ShiftedBlock {
  long start = 0;
  long old_length = 0;
  std::string block;
};
ShiftedBlock ShiftBlock(const std::string& text, long sel_start, long sel_length, bool indent);

// "Character "x" = ASCII Code n" lines of the selection's characters, joined by line feeds.
std::string AsciiCodesText(const std::string& selection);

// Next Plaintext Layer: the next layer description without "~", "`" or "[". The result says what to
// select and which box to show.
struct PlaintextResult {
  enum Kind { kNoHole, kFound, kNoneFound } kind = kNoneFound;
  long select_start = -1;   // a selection to make (also when nothing is reported), -1 for none
  long select_length = 0;
  Message box;              // the box to show
};
PlaintextResult NextPlaintextLayer(const std::string& text, long sel_start, long sel_length);

// The DOS character-set conversion of a selection in place; the number of characters changed.
long ConvertCharacterSet(std::string& selection, bool to_dos);

// The example attribute table that Copy Table for Excel offers (12 lines joined by CR LF).
std::string ExampleAttributeTable();
// A bar table as the clipboard text a spreadsheet takes: cells separated by Tab, rows by line ends.
std::string BarTableToClipboard(std::string selection, const std::string& row_end);
// Clipboard text of rows and cells as a padded bar table (rows end in CR LF). Rows may end in CR LF, LF
// or CR. nullopt with the reason's box when it cannot be pasted.
struct PastedTable {
  std::string table;
  std::optional<Message> refusal;
  bool ask_help = false;  // the refusal is the help question (OK opens help)
};
PastedTable ClipboardToBarTable(const std::string& clipboard);

// What the find and replace box needs of the editor's text box.
class EditorBox {
 public:
  virtual ~EditorBox() = default;
  virtual std::string text() = 0;
  virtual long sel_start() = 0;
  virtual long sel_length() = 0;
  virtual void select(long start, long length) = 0;
  // Replaces the selection as the text box's selected text does. hold: the undo ring takes no snapshot
  // before it; one_step: the change joins the snapshot of the change before it (one Undo for a run).
  virtual void replace_selection(const std::string& text, bool hold, bool one_step) = 0;
  virtual void process_events() {}
};

// 1-based position of find in text at or after the 1-based start, 0 when none; letter case ignored
// unless exact.
long FindFrom(const std::string& text, const std::string& find, long start, bool exact);

// The find and replace box's logic; the window shows its fields and calls its events.
class FindReplaceForm {
 public:
  FindReplaceForm(const Ports& ports, EditorBox& editor);

  // --- the box as shown ---
  std::string caption = "Find";
  std::string txtFind, txtReplace;
  bool chkMatchCase = false;
  bool chkInSelection = false;
  bool chkInSelection_enabled = false;
  bool replace_enabled = false;     // lblReplace and txtReplace
  bool replace_all_visible = false;
  std::string replace_tip = "Swap to Replace mode";
  std::string lblFound;
  bool visible = false;
  std::string ReplaceReport;

  void FindReplace(const std::string& mode);
  void cmdFind_Click();
  void cmdReplace_Click();
  void cmdReplaceAll_Click();
  void cmdCancel_Click();
  void Form_Activate();

 private:
  void error(const std::string& title);
  Ports ports_;
  EditorBox& editor_;
  long search_pos_ = 0;
  bool found_flag_ = false;
  bool wrapped_ = false;  // the pass from the first character found nothing for this search
  std::string wrapped_find_;
};

}  // namespace quorvel
