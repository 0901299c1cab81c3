// The text editor's tools: the Edit menu's layer text tools, character sets and spreadsheet tables, and
// the openers of the spell checker, the find and replace box, the preview and printing.
#include <cmath>
#include <cstdlib>

#include "frontend/core/editform.h"
#include "frontend/core/edittext.h"
#include "frontend/core/edittools.h"
#include "frontend/core/globals.h"
#include "frontend/core/modgeneral.h"
#include "frontend/core/spell.h"
#include "frontend/core/viewing.h"

namespace quorvel {

namespace {

constexpr const char* kWrapHelp = "::/04 Text File Editor.htm#wrap";
constexpr const char* kExcelHelp = "::/04 Text File Editor.htm#PasteExcel";

}  // namespace

void EditForm::mnuEditReplace_Click() {
  if (open_find_replace) open_find_replace("R");
}

void EditForm::mnuEditFind_Click() {
  if (open_find_replace) open_find_replace("F");
}

void EditForm::mnuEditSpell_Click() {
  if (open_spell) open_spell();
}

void EditForm::mnuFilePreview_Click() {
  mnuView_visible = true;
  if (show_preview) show_preview();
}

void EditForm::mnuFilePrint_Click() {
  mnuView_visible = true;
  if (!print_listing) return;
  if (ports_.printers && !ports_.printers->printers().empty()) {
    if (!print_listing(""))
      ask("The listing could not be sent to the printer.", Buttons::Ok, Icon::Exclamation, "Can't Print!");
    return;
  }
  // No printer is installed: the listing goes into a PDF file the user names.
  if (!ports_.files) return;
  const std::string name = FileName.empty() || FileName == "*.TXT" ? "" : FileTitleOf(FileName);
  const size_t dot = name.rfind('.');
  FileDialogRequest r;
  r.initial_name = name.empty() ? "*.pdf" : FolderOf(FileName) + name.substr(0, dot) + ".pdf";
  r.title = "No printer is installed: Print to a PDF File";
  r.default_ext = "pdf";
  r.filter = "PDF File (*.pdf)|*.pdf|All Files (*.*)|*.*";
  r.save = true;
  const std::optional<std::string> chosen = ports_.files->choose(r);
  if (!chosen || chosen->empty()) return;
  if (Exists(*chosen) && ask(*chosen + "\nalready exists. Do you want to replace it?", Buttons::YesNo, Icon::Question,
                             "Replace PDF File?") != Answer::Yes)
    return;
  if (print_listing(*chosen))
    ask("The listing was printed to the PDF file\n" + *chosen, Buttons::Ok, Icon::Information, "Printed to a File");
  else
    ask("The listing could not be written to\n" + *chosen, Buttons::Ok, Icon::Exclamation, "Can't Print!");
}

void EditForm::mnuFilePSetup_Click() {
  if (print_setup && print_setup() && mnuView_visible && show_preview) show_preview();
}

void EditForm::ReplaceSelectionStep(const std::string& text) {
  // A change of letter case is a change: the ring is compared exactly.
  if (txtEdit != ring.text[static_cast<size_t>(ring.current)]) txtEdit_Change();
  UndoHold = true;
  SetSelText("");
  SetSelText(text);
}

void EditForm::mnuEditWrap_Click() {
  const std::string selection = SelText();
  long width = 100;
  {
    const std::string stored = ports_.settings->get("TextEdit", "TextWidth", "100");
    char* end = nullptr;
    const long w = std::strtol(stored.c_str(), &end, 10);
    if (end && *end == '\0' && w >= 30) width = w;
  }
  if (Trim(selection).empty()) {
    const Answer a = ask("You must Select existing unwrapped Layer Descriptions First!\n\n"
                         "Would you like Help? (Yes)\nOr to set the Wrapping Width? (No)",
                         Buttons::YesNoCancel, Icon::Question, "Need Help Wrapping Layer Descriptions?");
    if (a == Answer::Yes) {
      ShowHelp(ports_, kWrapHelp);
    } else if (a == Answer::No && ports_.inputbox) {
      const auto answer = ports_.inputbox->ask("Maximum Width of Wrapped line? (characters)", "Wrapping Width?",
                                               std::to_string(width));
      if (!answer) return;
      char* end = nullptr;
      const std::string t = Trim(*answer);
      const double v = std::strtod(t.c_str(), &end);
      if (t.empty() || !end || *end != '\0') {
        ask("Type mismatch", Buttons::Ok, Icon::Exclamation, "Couldn't Wrap Layer Descriptions!");
        return;
      }
      const long w = std::lround(v);
      if (w >= 30) ports_.settings->set("TextEdit", "TextWidth", std::to_string(w));
    }
    return;
  }
  ReplaceSelectionStep(WrapDescriptions(selection, width));
}

void EditForm::mnuEditUnwrap_Click() {
  const std::string selection = SelText();
  if (Trim(selection).empty()) {
    if (ask("You must Select existing wrapped Layer Descriptions First!\n\nWould you like Help?", Buttons::OkCancel,
            Icon::Question, "Need Help Unwrapping Layer Descriptions?") == Answer::Ok)
      ShowHelp(ports_, kWrapHelp);
    return;
  }
  ReplaceSelectionStep(UnwrapDescriptions(selection));
}

void EditForm::mnuEditShift_Click(int index) {
  if (index != 1 && index != 2) return;
  const ShiftedBlock b = ShiftBlock(txtEdit, SelStart, SelLength, index == 2);
  SetSelection(b.start, b.old_length);
  UndoHold = true;
  SetSelText("");
  SetSelText(b.block);
  SetSelection(b.start, static_cast<long>(b.block.size()));
}

void EditForm::mnuEditCase_Click(int index) {
  if (SelLength == 0) {
    if (ask("No text is selected.  Do you want to select all?", Buttons::YesNo, Icon::Question, "Change Case") != Answer::Yes)
      return;
    SetSelection(0, static_cast<long>(txtEdit.size()));
  }
  const std::string selection = SelText();
  ReplaceSelectionStep(index == 0 ? LowerText(selection) : index == 1 ? UpperText(selection) : Proper(selection));
}

void EditForm::mnuEditASCII_Click() {
  if (SelLength == 0) {
    ask("You must Select a character, or a few characters.\n"
        "This function will then give you the ASCII code of each character.",
        Buttons::Ok, Icon::Exclamation, "How the ASCII Function works:");
    return;
  }
  ask(AsciiCodesText(SelText()), Buttons::Ok, Icon::Information, "Result of ASCII Function:");
}

void EditForm::mnuEditPlaintext_Click() {
  ports_.host->set_busy(true);
  const PlaintextResult r = NextPlaintextLayer(txtEdit, SelStart, SelLength);
  if (r.select_start >= 0) SetSelection(r.select_start, r.select_length);
  ports_.host->set_busy(false);
  ports_.msgbox->show(r.box);
}

void EditForm::mnuEditSelectAll_Click() { SetSelection(0, static_cast<long>(txtEdit.size())); }

namespace {

void translate(EditForm& f, const Ports& ports, bool to_dos) {
  if (f.SelLength == 0) {
    if (ports.msgbox->show({"No text is selected.  Do you want to select all?", Buttons::YesNo, Icon::Question,
                            "Change Case"}) != Answer::Yes)
      return;
    f.SetSelection(0, static_cast<long>(f.txtEdit.size()));
  }
  const std::string caption = ports.host->caption();
  ports.host->set_caption("Translating... Please wait!");
  ports.host->set_busy(true);
  std::string text = f.SelText();
  const long changed = ConvertCharacterSet(text, to_dos);
  const long all = static_cast<long>(text.size());
  f.ReplaceSelectionStep(text);
  ports.host->set_busy(false);
  ports.msgbox->show({"Translated " + Plural(changed, "Character") + " of " + Plural(all, "Character") + "\n" +
                          (to_dos ? "from Windows Upper ASCII Characters to DOS." : "from DOS Upper ASCII Characters to Windows."),
                      Buttons::Ok, Icon::Information, "Translation Done."});
  ports.host->set_caption(caption);
}

}  // namespace

void EditForm::mnuEdit2DOS_Click() { translate(*this, ports_, true); }
void EditForm::mnuEdit2Win_Click() { translate(*this, ports_, false); }

void EditForm::mnuEditExcelCopy_Click() {
  std::string s = SelText();
  if (s.find('|') == std::string::npos) {
    const Answer a = ask(
        "This function will copy the Columns section of a Borehole Log Attribute Block to the Clipboard for Pasting "
        "into Excel. You must select an Attribute Block before using this function.\n\n"
        "Vertical bars are changed to Tab characters and surplus spaces are removed.\n\n"
        "To insert an example of a full Attribute Block, click in the Notes block and Insert > Attribute Block "
        "Example (Shift+F6).\n\n"
        "Would you like Help?\nYes\t= Open Help File.\nNo \t= No, but put an example on the\n\t  Clipboard for me to "
        "Paste into Excel.\nCancel\t= Do nothing.",
        Buttons::YesNoCancel, Icon::Question, "Need Help Copying Table for Excel?");
    if (a == Answer::Yes) ShowHelp(ports_, kExcelHelp);
    if (a != Answer::No) return;
    s = ExampleAttributeTable();
  }
  // The clipboard of this system takes rows ended by LF.
  if (ports_.clipboard) ports_.clipboard->set_text(BarTableToClipboard(s, "\n"));
  Message m("Your selected Borehole Log Attribute Block is now on the Clipboard for Pasting into Excel.\n\n"
            "Please swap (Alt+Tab) to Excel and Paste (Ctrl+V)\n(You might format the cells as Text first).\n"
            "Make changes in Excel, then select and copy those cells.\nSwap back here, and use\n"
            "Edit > Paste Excel Table or Shift+Ctrl+F2\n\nWould you like more Help?\nYes\t= Open Help File.\n"
            "No \t= Continue editing.",
            Buttons::YesNo, Icon::Question, "Attribute Block Copied. Want Help?", Answer::No);
  if (ports_.msgbox->show(m) == Answer::Yes) ShowHelp(ports_, kExcelHelp);
}

void EditForm::mnuEditExcelPaste_Click() {
  const PastedTable t = ClipboardToBarTable(ports_.clipboard ? ports_.clipboard->text() : std::string());
  if (t.refusal) {
    if (ports_.msgbox->show(*t.refusal) == Answer::Ok && t.ask_help) ShowHelp(ports_, kExcelHelp);
    return;
  }
  ReplaceSelectionStep(t.table);
}

}  // namespace quorvel
