// The text editor's logic: file handling, the undo ring, the check, the Insert and Character menus and
// the small commands.
#include "editform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "editcheck.h"
#include "edittext.h"
#include "globals.h"
#include "mainform.h"
#include "modgeneral.h"
#include "platform/paths.h"
#include "viewing.h"

namespace quorvel {

namespace fs = std::filesystem;

const std::string kCompoundSignature = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(16, '\0');

namespace {

constexpr const char* kSection = "TextEdit";
constexpr const char* kSettings = "Settings";
constexpr const char* kFilter = "Text File (*.TXT)|*.TXT|All Files (*.*)|*.*";

bool flag_of(const std::string& v, bool fallback) {
  std::string t = Trim(v);
  if (EqualText(t, "True") || t == "1" || t == "-1") return true;
  if (EqualText(t, "False") || t == "0") return false;
  return fallback;
}

bool int_of(const std::string& v, int& out) {
  try {
    size_t used = 0;
    long n = std::stol(Trim(v), &used);
    if (used != Trim(v).size()) return false;
    out = static_cast<int>(n);
    return true;
  } catch (...) {
    return false;
  }
}

// The text a word-processor document gives: the first stretch of at least 40 printable characters
// (32..126), a CR in it becoming CR LF, up to the next other byte.
std::string word_processor_text(const std::string& bytes) {
  std::string text;
  long count = 0;
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    if (b >= 32 && b <= 126) {
      text += ch;
      ++count;
    } else if (b == 13) {
      text += "\r\n";
    } else if (count < 40) {
      text.clear();
      count = 0;
    } else {
      break;
    }
  }
  return text;
}

std::string hex_code(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

}  // namespace

EditForm::EditForm(const Ports& ports, MainForm* main) : ports_(ports), main_(main) {
  if (!ports_.host) ports_.host = &default_host_;
  for (int i = 0; i < 10; ++i) mnuFileFiles_caption[static_cast<size_t>(i)] = "File" + std::to_string(i);
  ring.text[0].clear();
}

Answer EditForm::ask(const std::string& text, Buttons b, Icon i, const std::string& title) {
  return ports_.msgbox->show({text, b, i, title});
}

std::string EditForm::SelText() const {
  size_t s = static_cast<size_t>(std::min<long>(SelStart, static_cast<long>(txtEdit.size())));
  return txtEdit.substr(s, static_cast<size_t>(SelLength));
}

// ---- The text box ----

void EditForm::SetText(const std::string& t) {
  BoxEdit e;
  e.whole = true;
  box_edits.push_back(e);
  txtEdit = t;
  SelStart = 0;
  SelLength = 0;
  DataChanged = true;
  foreign_char.reset();
  txtEdit_Change();
}

void EditForm::SetSelText(const std::string& t) {
  const long size = static_cast<long>(txtEdit.size());
  const long start = std::clamp<long>(SelStart, 0, size);
  const long length = std::clamp<long>(SelLength, 0, size - start);
  BoxEdit e;
  // An edit that could join or split a CR LF pair at its edges is shown by giving the box the whole text.
  e.whole = (start > 0 && txtEdit[static_cast<size_t>(start - 1)] == '\r') ||
            (start + length < size && txtEdit[static_cast<size_t>(start + length)] == '\n') ||
            (!t.empty() && (t.front() == '\n' || t.back() == '\r'));
  if (!e.whole) {
    e.display_start = ByteToDisplay(txtEdit, start);
    e.display_removed = ByteToDisplay(txtEdit, start + length) - e.display_start;
    e.inserted = t;
  }
  box_edits.push_back(e);
  txtEdit.replace(static_cast<size_t>(start), static_cast<size_t>(length), t);
  SelStart = start + static_cast<long>(t.size());
  SelLength = 0;
  DataChanged = true;
  txtEdit_Change();
}

void EditForm::SetSelection(long start, long length) {
  const long size = static_cast<long>(txtEdit.size());
  SelStart = std::clamp<long>(start, 0, size);
  SelLength = std::clamp<long>(length, 0, size - SelStart);
}

// ---- Undo ring ----

void EditForm::reset_undo() {
  ring.current = ring.oldest = ring.newest = 0;
  ring.text[0] = txtEdit;
  ring.cursor[0] = 0;
  mnuEditUndo_enabled = mnuEditRedo_enabled = false;
  UndoKeyPress = false;
}

void EditForm::txtEdit_KeyPress(int k) {
  if (k != 10 && k != 13 && k != 32) UndoKeyPress = true;
  else UndoKeyPress = k == ring.last_key;
  ring.last_key = k;
}

void EditForm::record_change() {
  const bool new_slot = !UndoKeyPress;
  if (new_slot) ++ring.current;
  UndoKeyPress = false;
  if (ring.current > 20) ring.current = 0;
  // Only a new snapshot that lands on the oldest one overwrites it; typing that continues the current
  // snapshot (slot 0 right after a reset) leaves the oldest mark where it is.
  if (new_slot && ring.current == ring.oldest) {
    ++ring.oldest;
    if (ring.oldest > 20) ring.oldest = 0;
  }
  ring.text[static_cast<size_t>(ring.current)] = txtEdit;
  ring.cursor[static_cast<size_t>(ring.current)] = SelStart;
  mnuEditUndo_enabled = true;
  mnuEditRedo_enabled = false;
  ring.newest = ring.current;
}

void EditForm::txtEdit_Change() {
  if (UndoHold) {
    UndoHold = false;
    return;
  }
  record_change();
}

void EditForm::mnuEditUndo_Click() {
  // The present text goes into the ring first when it is not there yet (exactly: a change of letter
  // case is a change).
  if (txtEdit != ring.text[static_cast<size_t>(ring.current)]) txtEdit_Change();
  if (ring.current == ring.oldest) return;
  if (--ring.current < 0) ring.current = 20;
  const size_t c = static_cast<size_t>(ring.current);
  UndoHold = true;
  SetText(ring.text[c]);
  SetSelection(ring.cursor[c], 0);
  mnuEditRedo_enabled = true;
  if (ring.current == ring.oldest) mnuEditUndo_enabled = false;
}

void EditForm::mnuEditRedo_Click() {
  if (ring.current == ring.newest) return;
  if (++ring.current > 20) ring.current = 0;
  const size_t c = static_cast<size_t>(ring.current);
  UndoHold = true;
  SetText(ring.text[c]);
  SetSelection(ring.cursor[c], 0);
  mnuEditUndo_enabled = true;
  if (ring.current == ring.newest) mnuEditRedo_enabled = false;
}

// ---- The window's life ----

void EditForm::Form_Load(const EditScreen& screen) {
  FileName = "*.TXT";
  SettingsStore& s = *ports_.settings;
  EditPlacement& p = placement;
  if (!int_of(s.get(kSection, "Width"), p.width)) p.width = screen.main_width;
  if (!int_of(s.get(kSection, "Left"), p.left)) p.left = screen.main_left;
  if (p.width < screen.screen_width / 2) p.width = screen.screen_width / 2;
  if (p.width < 567) p.width = 567;  // 8500 twips
  if (p.left + p.width > screen.screen_width) p.left = screen.screen_width - p.width;
  if (!int_of(s.get(kSection, "Height"), p.height)) {
    // First open: two thirds of the screen's height, where a file shows more than a few lines.
    p.height = std::max(screen.main_height, screen.screen_height * 2 / 3);
  }
  if (!int_of(s.get(kSection, "Top"), p.top)) p.top = screen.main_top;
  p.window_state = s.get(kSection, "WindowState", "0");
  p.geometry = s.get(kSection, "Geometry");
  p.font_name = s.get(kSection, "FontName", "Courier New");
  try {
    p.font_size = std::stod(s.get(kSection, "FontSize", "10"));
  } catch (...) {
    p.font_size = 10;
  }
  if (!(p.font_size > 0)) p.font_size = 10;
  p.font_bold = flag_of(s.get(kSection, "FontBold"), false);
  mnuSettingsNNNS = flag_of(s.get(kSettings, "NNNS Flag"), false);
  mnuSettingsTidyUp = flag_of(s.get(kSettings, "DeleteFiles"), true);
  if (ContainsText(EngineVersion, "6000")) {
    mnuSettingsPause_visible = false;
    mnuSettingsPause = false;
  } else {
    mnuSettingsPause_visible = true;
    mnuSettingsPause = PauseBeforeExit;
  }
  Zoom = 60;
}

bool EditForm::Form_QueryUnload() { return AskSaveChanges("Closing Quorvel for Veltrax Editor"); }

void EditForm::Form_Unload(bool minimised, bool maximised) {
  SettingsStore& s = *ports_.settings;
  if (!minimised && !maximised) {
    s.set(kSection, "Width", std::to_string(placement.width));
    s.set(kSection, "Left", std::to_string(placement.left));
    s.set(kSection, "Height", std::to_string(placement.height));
    s.set(kSection, "Top", std::to_string(placement.top));
  }
  if (!minimised) s.set(kSection, "WindowState", maximised ? "2" : "0");
  if (!placement.geometry.empty()) s.set(kSection, "Geometry", placement.geometry);
  s.set(kSection, "FontName", placement.font_name);
  char size[32];
  std::snprintf(size, sizeof size, "%g", placement.font_size);
  s.set(kSection, "FontSize", size);
  s.set(kSection, "FontBold", placement.font_bold ? "True" : "False");
  visible = false;
  if (hand_back) hand_back("");
}

// ---- Files ----

void EditForm::set_caption_for(const std::string& path) {
  std::string shown = path;
  ports_.host->set_caption(std::string(kCaption) + ": " + ShortenForDisplay(shown));
}

bool EditForm::ReadFile(const std::string& path) {
  WindowHost& host = *ports_.host;
  host.set_busy(true);
  UndoHold = true;
  SetText("");
  host.process_events();
  bool ok = false;
  platform::MappedPath m = platform::map_existing(path);
  std::error_code ec;
  if (m.error == 53) {
    AddFileStructure("File not found\n" + path + "\n\nThis is a NEW file.\n\n");
  } else if (m.error) {
    ask((m.error == 76 ? "Path not found" : "Device unavailable") + std::string("\n") + path, Buttons::Ok,
        Icon::Critical, "Error!");
  } else {
    std::ifstream in(m.path, std::ios::binary);
    uintmax_t n = fs::file_size(m.path, ec);
    if (!in || ec) {
      ask(std::string(std::strerror(errno ? errno : EACCES)) + "\n" + path, Buttons::Ok, Icon::Critical, "Error!");
    } else if (n > static_cast<uintmax_t>(kMaxEditBytes)) {
      ask(path + " is too large\n(" + std::to_string(n) + " > " + std::to_string(kMaxEditBytes) + " characters).",
          Buttons::Ok, Icon::Critical, "Please use another editor!");
      // The refused file is not the editor's file: a save must never write the empty box over it.
      FileName.clear();
      host.set_caption(kCaption);
      DataChanged = false;
      reset_undo();
      host.set_busy(false);
      return false;
    } else {
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (bytes.compare(0, kCompoundSignature.size(), kCompoundSignature) == 0 ||
          bytes.find('\0') != std::string::npos)
        bytes = word_processor_text(bytes);
      UndoHold = true;
      SetText(bytes);
      DataChanged = false;
      reset_undo();
      ok = true;
    }
  }
  if (ok || m.error == 0) set_caption_for(path);
  host.set_busy(false);
  return ok;
}

void EditForm::AddFileStructure(const std::string& prefix) {
  Answer a = ask(prefix +
                     "Would you like to add a skeleton file structure?\n\nYes\t= Add Basic Block Structure.\nNo \t= "
                     "Blank File.\n\nTip: Use the lower section of the Insert menu to add individual parts of the "
                     "Profile.",
                 Buttons::YesNo, Icon::Question, "Starter File?");
  if (a == Answer::Yes) SetText(Skeleton());
}

bool EditForm::write_file(const std::string& name) {
  platform::MappedPath m = platform::map_for_create(name);
  std::string error;
  if (m.error) {
    error = "Path not found";
  } else {
    // The new text goes into a file beside the old one, which it replaces only once written whole.
    if (const int e = ReplaceFileContents(m.path, txtEdit)) error = std::strerror(e);
  }
  if (error.empty()) return true;
  ask("The file was NOT saved:\n" + name + "\n" + error + "\n\nThe file on disk is as it was.", Buttons::Ok,
      Icon::Exclamation, "Error in Sub SaveFileAs in frmEditText");
  return false;
}

bool EditForm::SaveFileAs(bool force_dialog) {
  if (foreign_char) {
    // Windows-1252 has no byte for the character: writing would lose it.
    std::u16string one;
    if (*foreign_char >= 0x10000) {
      char32_t c = *foreign_char - 0x10000;
      one = {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
    } else {
      one = {static_cast<char16_t>(*foreign_char)};
    }
    ask("The text holds a character that a plain text file of this editor cannot hold:\n\"" + Utf16ToUtf8(one) +
            "\" (" + hex_code(*foreign_char) + ") in line " + std::to_string(foreign_line) +
            ".\n\nReplace it, then save again. Nothing was saved.",
        Buttons::Ok, Icon::Exclamation, "File not saved!");
    return false;
  }
  if (FileName == "*.TXT") FileName.clear();
  if (force_dialog || FileName.empty()) {
    FileDialogRequest r;
    r.initial_name = FileName;
    r.title = "Save Text File";
    r.default_ext = "TXT";
    r.filter = kFilter;
    r.save = true;
    auto chosen = ports_.files->choose(r);
    if (!chosen || chosen->empty()) return false;
    FileName = *chosen;
  }
  WindowHost& host = *ports_.host;
  host.set_busy(true);
  if (!ContainsText(FileName, ".TXT")) {
    Answer a = ask("The File will be saved as a plain text file.\nOK to change the File Extension to TXT?",
                   Buttons::YesNoCancel, Icon::Question, "Change to TXT File Extension?");
    if (a == Answer::Cancel) {
      host.set_busy(false);
      return false;
    }
    if (a == Answer::Yes) {
      size_t sep = FileName.find_last_of("/\\");
      size_t dot = FileName.rfind('.');
      if (dot != std::string::npos && (sep == std::string::npos || dot > sep)) FileName.erase(dot);
      FileName += ".TXT";
    }
  }
  if (!write_file(FileName)) {
    host.set_busy(false);
    return false;
  }
  DataChanged = false;
  mnuEditUndo_enabled = false;
  if (main_) main_->SetInputText(FileName);
  LoadFilesMenu(FileName);
  set_caption_for(FileName);
  host.set_busy(false);
  return true;
}

bool EditForm::AskSaveChanges(const std::string& title) {
  if (!DataChanged) return true;
  std::string name = FileName == "*.TXT" ? "" : FileName;
  std::string text =
      "Do you want to Save your changes to\n" + (name.empty() ? std::string("this New File?") : name + " ?");
  Answer a = ask(text, Buttons::YesNoCancel, Icon::Question, title + " (Save Now to keep Changes!)");
  if (a == Answer::Yes) return SaveFileAs(false);
  return a == Answer::No;
}

void EditForm::LoadFilesMenu(const std::string& path) {
  size_t k = main_ ? std::min<size_t>(9, main_->cboInputFile.items.size()) : 0;
  for (size_t i = 0; i <= k; ++i) {
    const std::string& c = mnuFileFiles_caption[i];
    if (c.size() > 3 && EqualText(c.substr(3), path)) return;
  }
  if (!recorded_file_.empty() && !EqualText(recorded_file_, path)) {
    mnuFileFiles_caption[0] = "&0 " + recorded_file_;
    mnuFileFiles_visible[0] = true;
  }
  recorded_file_ = path;
}

void EditForm::mnuFileNew_Click() {
  if (!AskSaveChanges("Creating New File")) return;
  UndoHold = true;
  SetText("");
  FileName.clear();
  ports_.host->set_caption(kCaption);
  DataChanged = false;
  reset_undo();
  AddFileStructure("");
}

void EditForm::mnuFileRead_Click() {
  if (!AskSaveChanges("Opening Existing File")) return;
  FileDialogRequest r;
  r.initial_name = FileName;
  r.title = "Open Text File";
  r.default_ext = "TXT";
  r.filter = kFilter;
  auto chosen = ports_.files->choose(r);
  if (!chosen || chosen->empty()) return;
  FileName = *chosen;
  ReadFile(*chosen);
  LoadFilesMenu(*chosen);
}

void EditForm::mnuFileSave_Click(int index) { SaveFileAs(index == 1); }

void EditForm::mnuFileFiles_Click(int index) {
  if (index < 0 || index > 9) return;
  if (!AskSaveChanges("Opening Existing File")) return;
  std::string path = mnuFileFiles_caption[static_cast<size_t>(index)].substr(3);
  ReadFile(path);
  LoadFilesMenu(path);
  FileName = path;
}

void EditForm::OpenFromMain(const std::string& file, const std::string& set_file,
                            const std::vector<std::string>& recent) {
  visible = true;
  if (file.empty()) {
    // A new input file has no name yet: Save asks for one.
    UndoHold = true;
    SetText("");
    FileName.clear();
    ports_.host->set_caption(kCaption);
    DataChanged = false;
    reset_undo();
    AddFileStructure("");
  } else {
    FileName = file;
    ReadFile(file);
  }
  if (!Trim(set_file).empty() && Exists(Trim(set_file))) ReadSetFile(Trim(set_file));
  size_t n = std::min<size_t>(9, recent.size());
  for (size_t i = 1; i <= n; ++i) {
    mnuFileFiles_caption[i] = "&" + std::to_string(i) + " " + recent[i - 1];
    mnuFileFiles_visible[i] = true;
  }
}

void EditForm::ExitEditor(const std::string& tag) {
  ports_.host->set_busy(true);
  if (unload_companions) unload_companions();
  mnuView_visible = false;
  visible = false;
  ports_.host->hide_window();
  if (hand_back) hand_back(tag);
  else if (main_) main_->Tag = tag;
  ports_.host->set_busy(false);
}

void EditForm::mnuFileExit_Click() {
  if (AskSaveChanges("Exiting Editor")) ExitEditor("");
}

void EditForm::mnuFileExit_Run_Click() {
  if (AskSaveChanges("")) ExitEditor("RUN");
}

// ---- Checker ----

void EditForm::mnuCheck_Click() {
  WindowHost& host = *ports_.host;
  const std::string caption = host.caption();
  host.set_caption("Checking... Please wait!");
  host.set_busy(true);
  host.set_caption("Checking block structure... Please wait!");
  BlockCheck r = CheckBlockStructure(txtEdit);
  if (r.fault) {
    SetSelection(r.sel_start, 4);
    ask(r.message, Buttons::Ok, Icon::Exclamation, "Block Structure Fault in " + Cp1252ToUtf8(r.hole_label) + "!");
  } else {
    std::string m = "Block Structure correct for " + Plural(r.holes, " Hole") + ".";
    if (!r.unnumbered.empty())
      m += "\n\nERROR: Non-indented line does not start with a Number:" + Cp1252ToUtf8(r.unnumbered);
    if (r.lines_after_end > 0) {
      // The engine stops reading at "///": a hole typed after it would be left out without a word. Comment
      // text there (the skeleton invites it) is no hole input and draws no warning.
      SetSelection(r.first_after_end_start, 0);
      m += "\n\nWarning: " + Plural(r.lines_after_end, " line") + " of hole input after the End-of-data Triple Slash ///" +
           " (Line " + std::to_string(r.first_after_end_line) + ": " + Cp1252ToUtf8(r.first_after_end) +
           ").\nVeltrax reads nothing after ///: holes placed there are left out.";
    }
    m += "\n\nTo check Spelling, press F7.";
    if (HasOrphanLineEnds(txtEdit)) {
      m += "\n\nWarning: Text contains orphan LineFeed characters:\nVeltrax will see them as new lines, but you "
           "won't see new lines on screen. This can cause Layer depth errors.\nRemove all orphan LineFeed "
           "characters?\n(LineFeeds [LF] not preceded by a Carriage Return [CR])\n(To see the LineFeeds as new "
           "lines, use WordPad)";
      if (ask(m, Buttons::YesNo, Icon::Question, "Block Structures Checked. Remove LineFeeds?") == Answer::Yes) {
        SetText(RemoveOrphanLineEnds(txtEdit));
        m = "Orphan LineFeed characters removed.";
      } else {
        m = "Orphan LineFeed characters KEPT!";
      }
    }
    if (txtEdit.find('\t') != std::string::npos) {
      m += "\n\nWarning: Text contains Tab characters:\nThis can give Attribute Errors in Tables.\nReplace all Tabs "
           "with four spaces?\nTo do your own Replace, Press Ctrl+H and search for ^t";
      if (ask(m, Buttons::YesNo, Icon::Question, "Block Structures Checked. Replace Tabs?") == Answer::Yes)
        SetText(TabsToBlanks(txtEdit));
    } else {
      ask(m, Buttons::Ok, Icon::Information, "Block Structures Checked.");
    }
  }
  host.set_caption(caption);
  host.set_busy(false);
}

// ---- Insert and Character menus ----

void EditForm::mnuInsBlock_Click(int index) {
  if (index < 0 || index > 7) {
    ask("Index=" + std::to_string(index) +
            " has not been programmed for!\nPlease report this Program Error!\n(Press Ctrl+C to copy this message "
            "to the Clipboard)",
        Buttons::Ok, Icon::Exclamation, "Program Error in Sub mnuInsBlock_Click(" + std::to_string(index) + ")!");
    return;
  }
  if (index != 7) {
    // Everything but the End-of-File marker belongs before "///": inserted after it, the engine would
    // never read it (Ctrl+End then Shift+F1 is the natural way to add a hole at the end).
    const size_t end_line = EndOfDataLineBefore(txtEdit, static_cast<size_t>(std::max(0L, SelStart)));
    if (end_line != std::string::npos) SetSelection(static_cast<long>(end_line), 0);
  }
  if (index == 2) return layer_dialogue();
  if (index == 4) return attribute_dialogue();
  std::string t = BlockTemplate(index, txtEdit.substr(0, static_cast<size_t>(std::min<long>(SelStart, txtEdit.size()))));
  if (!t.empty()) {
    UndoHold = true;
    SetSelText(t);
  }
  if (index == 5 && !excel_tip_shown_) {
    excel_tip_shown_ = true;
    ask("Remember: You can prepare a table like this in Excel, copy it, then\nPaste it in using Edit > Paste Table "
        "from Excel.",
        Buttons::Ok, Icon::Information, "Tip: Pasting Attribute Table from Excel");
  }
}

void EditForm::layer_dialogue() {
  InputBoxPort& in = *ports_.inputbox;
  for (;;) {
    auto depth = in.ask("What is the Depth of the Bottom of the Layer (m)?\n(add a '+' for End-of-Hole)",
                        "Inserting a Layer Depth at the cursor:", Cp1252ToUtf8(Trim(last_layer_depth_)));
    if (!depth || Trim(*depth).empty()) return;
    depth = Utf8ToCp1252(*depth);
    last_layer_depth_ = *depth;
    auto description = in.ask(
        "Please type the Layer Description:\n|=Ignore _=Underline $Bold$ **Colour** [paint backcolour] [Paint "
        "forecolour]",
        "Inserting a Layer Description at the cursor:", "");
    if (!description || Trim(*description).empty()) return;
    SetSelText(LayerLine(*depth, Utf8ToCp1252(*description)));
    if (depth->find('+') != std::string::npos) return;
  }
}

void EditForm::attribute_dialogue() {
  InputBoxPort& in = *ports_.inputbox;
  auto answer = in.ask(
      "Name of the Attribute + [WIDTH multiple] [GRAPH max] [INVERSE] [NUMBERS] [PAINT colour] [rgb red green "
      "blue] [H]?\nNB: Must be after NOTES, before next //\nExamples: (^n to use)\n^1\tSPT N [WIDTH 1.2]\n^2\t%^CORE "
      "RECO- VERED [GRAPH][PAINT cyan]\n^3\t% RQD [WIDTH=,8] [GRAPH 100 PLUS NUMBERS]",
      "Inserting a Borehole Log Column at the cursor:", "");
  if (!answer || Trim(*answer).empty()) return;
  const std::string name = AttributeName(Trim(Utf8ToCp1252(*answer)));
  SetSelText("\r\nATTRIBUTE: " + name + "\r\n");
  for (;;) {
    auto depth = in.ask("What is the Depth of the Bottom of the Layer (m)?\n@depth for a point attribute, e.g. @1.2",
                        "Inserting an Attribute Depth at the cursor:", Cp1252ToUtf8(Trim(last_attr_depth_)));
    if (!depth || Trim(*depth).empty()) return;
    depth = Utf8ToCp1252(*depth);
    last_attr_depth_ = *depth;
    const std::string d = Trim(*depth);
    auto value = in.ask("Attribute Value or Description for '" + Cp1252ToUtf8(name) + (d.rfind('@', 0) == 0 ? "' at " : "' down to ") +
                            Cp1252ToUtf8(d) + "?",
                        "Inserting an Attribute Value at the cursor:", "");
    if (!value || value->empty()) return;
    SetSelText(AttributeLine(d, Utf8ToCp1252(*value)));
  }
}

void EditForm::mnuInsSymbol_Click(int index) {
  if (index < 0 || index > 12 || !mnuInsSymbol[static_cast<size_t>(index)].enabled) return;
  const long p = SelStart;
  SetSelText(SymbolInsertText(index, mnuInsSymbol[static_cast<size_t>(index)].caption));
  SetSelection(p + 1, 0);
}

void EditForm::mnuCharASCII_Click() {
  auto answer = ports_.inputbox->ask(
      "This function will insert a special character at the cursor.\nWhat number (ASCII code 32-255) do you "
      "want?\n(or Range of codes, e.g. 123-255)",
      "ASCII number of Character?", "");
  if (!answer || Trim(*answer).empty()) return;
  auto text = CharactersByCode(*answer);
  if (!text) {
    ask("Error 5: Invalid procedure call or argument\n\"" + *answer + "\" is not an ASCII code from 32 to 255.",
        Buttons::Ok, Icon::Exclamation, "Error in Sub mnuInsChar_Click!");
    return;
  }
  SetSelText(*text);
}

void EditForm::mnuCharLetter_Click(int index) {
  if (index < 0 || index >= static_cast<int>(mnuCharLetter.size())) return;
  SetSelText(mnuCharLetter[static_cast<size_t>(index)].substr(0, 1));
}

void EditForm::ReadSetFile(const std::string& set_file) {
  if (EqualText(set_file, last_symbol_set_file_)) return;
  platform::MappedPath m = platform::map_existing(set_file);
  std::ifstream in(m.path, std::ios::binary);
  if (m.error || !in) {
    ask("Error 53: File not found\n" + set_file, Buttons::Ok, Icon::Exclamation, "Error reading SET File!");
    return;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ReadSetFileSymbols(bytes, mnuInsSymbol);
  last_symbol_set_file_ = set_file;
}

// ---- Edit menu ----

void EditForm::mnuEdit_Click() { mnuEditCut_enabled = SelLength >= 1; }

void EditForm::mnuEditCut_Click() {
  if (SelLength < 1) return;  // the item is enabled only with a selection
  ports_.clipboard->set_text(Cp1252ToUtf8(SelText()));
  if (txtEdit != ring.text[static_cast<size_t>(ring.current)]) txtEdit_Change();
  SetSelText("");
}

void EditForm::mnuEditCopy_Click() {
  ports_.clipboard->set_text(Cp1252ToUtf8(SelLength > 0 ? SelText() : txtEdit));
}

void EditForm::mnuEditPaste_Click() {
  if (txtEdit != ring.text[static_cast<size_t>(ring.current)]) txtEdit_Change();
  // The clipboard's line ends (CR LF, LF or CR) become the box's line breaks, its Tabs four blanks.
  std::u16string in = Utf8ToUtf16(ports_.clipboard->text());
  std::u16string display;
  for (size_t i = 0; i < in.size(); ++i) {
    char16_t c = in[i];
    if (c == u'\r') {
      display += u'\n';
      if (i + 1 < in.size() && in[i + 1] == u'\n') ++i;
    } else if (c == u'\t') {
      display += u"    ";
    } else {
      display += c;
    }
  }
  BoxBytes b = FromDisplay(display);
  UndoHold = true;
  SetSelText(b.bytes);
  if (b.foreign) {
    // The box shows the characters as they came; the save refuses them.
    box_edits.back().inserted_display = display;
    if (!foreign_char) {
      const long start = SelStart - static_cast<long>(b.bytes.size());
      foreign_char = b.foreign;
      foreign_line = static_cast<long>(std::count(txtEdit.begin(), txtEdit.begin() + start, '\n')) + b.foreign_line;
    }
  }
}


// ---- Toolbar, View, Settings, Help ----

void EditForm::Toolbar1_ButtonClick(const std::string& key) {
  const std::string k = ToUpper(key);
  if (k == "NEW") mnuFileNew_Click();
  else if (k == "OPEN") mnuFileRead_Click();
  else if (k == "SAVE") mnuFileSave_Click(0);
  else if (k == "SETUP") mnuFilePSetup_Click();
  else if (k == "PREVIEW") mnuFilePreview_Click();
  else if (k == "PRINT") mnuFilePrint_Click();
  else if (k == "CUT") mnuEditCut_Click();
  else if (k == "COPY") mnuEditCopy_Click();
  else if (k == "PASTE") mnuEditPaste_Click();
  else if (k == "FIND") mnuEditFind_Click();
  else if (k == "SPELL") mnuEditSpell_Click();
  else if (k == "CHECK") mnuCheck_Click();
  else if (k == "ZOOMIN") mnuViewZoom_Click(0);
  else if (k == "ZOOMOUT") mnuViewZoom_Click(1);
  else if (k == "ZOOM") mnuViewZoom_Click(3);
  else ask("Undefined Button (Key = " + key, Buttons::Ok, Icon::Critical, "Program Error!");
}

void EditForm::mnuViewZoom_Click(int index) {
  switch (index) {
    case 0:
      Zoom += 20;
      break;
    case 1:
      if (Zoom > 20) Zoom -= 20;
      break;
    case 2:
      Zoom = 100;
      break;
    case 3: {
      auto a = ports_.inputbox->ask("Zoom Percentage?", "Custom Zoom", std::to_string(Zoom));
      int z = 0;
      if (a && int_of(*a, z) && z > 1) Zoom = z;
      break;
    }
    default:
      break;
  }
  // An open preview is drawn again at the new zoom.
  if (mnuView_visible && show_preview) show_preview();
}

void EditForm::mnuSettingsNNNS_Click() {
  mnuSettingsNNNS = !mnuSettingsNNNS;
  ports_.settings->set(kSettings, "NNNS Flag", mnuSettingsNNNS ? "True" : "False");
}

void EditForm::mnuSettingsPause_Click() {
  mnuSettingsPause = !mnuSettingsPause;
  PauseBeforeExit = mnuSettingsPause;
}

void EditForm::mnuSettingsTidyUp_Click() {
  mnuSettingsTidyUp = !mnuSettingsTidyUp;
  ports_.settings->set(kSettings, "DeleteFiles", mnuSettingsTidyUp ? "True" : "False");
}

void EditForm::mnuHelpFile_Click(int index) {
  static const char* const kTopics[3] = {"::/01.01 Overview.htm", "::/04 Text File Editor.htm",
                                         "::/05 Text File Structure.htm"};
  if (index < 0 || index > 2) return;
  ShowHelp(ports_, kTopics[index]);
}

void EditForm::mnuHelpManual_Click(int index) {
  if (main_) main_->cmdManual_Click(index);
}
void EditForm::mnuHelpSupport_Click() {
  if (main_) main_->cmdSupport_Click();
}
void EditForm::mnuHelpAbout_Click() {
  if (main_) main_->cmdAbout_Click();
}

}  // namespace quorvel
