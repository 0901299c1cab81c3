// The editor's tools through the editor's logic: undo steps of the tools, Replace All and the spell check
// on the editor's text, the table paste, and the openers of the tools' windows.
#include <gtest/gtest.h>

#include "editbox.h"
#include "editform.h"
#include "globals.h"
#include "mainform.h"
#include "testing/fakes.h"
#include "testsupport.h"

namespace quorvel {
namespace {

struct ToolsFixture : ::testing::Test {
  testing_support::TempDir home;
  testing_support::ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedInputBox input;
  fakes::MemoryClipboard clipboard;
  Ports ports;
  std::unique_ptr<MainForm> main;
  std::unique_ptr<EditForm> f;
  ToolsFixture() {
    reset_globals();
    ports.settings = &settings;
    ports.msgbox = &box;
    ports.inputbox = &input;
    ports.clipboard = &clipboard;
    main = std::make_unique<MainForm>(ports);
    f = std::make_unique<EditForm>(ports, main.get());
    f->Form_Load({});
  }
  void load(const std::string& text) {
    UndoHold = true;
    f->SetText(text);
    f->reset_undo();
  }
};

TEST_F(ToolsFixture, EachToolIsOneUndoStep) {
  struct Case {
    const char* what;
    std::string text;
    long start, length;
    std::function<void(EditForm&)> tool;
    std::string result;
  } cases[] = {
      {"upper case", "soft sand\r\n", 5, 4, [](EditForm& e) { e.mnuEditCase_Click(1); }, "soft SAND\r\n"},
      {"name case", "soft sand\r\n", 0, 9, [](EditForm& e) { e.mnuEditCase_Click(2); }, "Soft Sand\r\n"},
      {"wrap", "1.0  " + std::string(60, 'a') + " b", 0, 67, [](EditForm& e) { e.mnuEditWrap_Click(); },
       "1.0  " + std::string(60, 'a') + " b\r\n"},
      {"unwrap", "1.0 a\r\n    b\r\n", 0, 14, [](EditForm& e) { e.mnuEditUnwrap_Click(); }, "1.0 a b\r\n"},
      {"to DOS", "caf\xE9", 0, 4, [](EditForm& e) { e.mnuEdit2DOS_Click(); }, "caf\x82"},
      {"indent", "Head\r\nnote\r\n", 0, 12, [](EditForm& e) { e.mnuEditShift_Click(2); }, "Head\r\n    note\r\n"},
  };
  for (const auto& c : cases) {
    load(c.text);
    f->SetSelection(c.start, c.length);
    c.tool(*f);
    EXPECT_EQ(f->txtEdit, c.result) << c.what;
    f->mnuEditUndo_Click();
    EXPECT_EQ(f->txtEdit, c.text) << c.what;
  }
}

TEST_F(ToolsFixture, ReplaceAllAndSpellOnTheEditorsText) {
  load("Sand and sand and SAND\r\n");
  EditFormBox edit(*f);
  FindReplaceForm r(ports, edit);
  r.FindReplace("R");
  r.txtFind = "sand";
  r.txtReplace = "GRAVEL";
  r.cmdReplaceAll_Click();
  EXPECT_EQ(f->txtEdit, "GRAVEL and GRAVEL and GRAVEL\r\n");
  f->mnuEditUndo_Click();  // one Undo for the whole run
  EXPECT_EQ(f->txtEdit, "Sand and sand and SAND\r\n");

  home.write("English.DIC", "the\r\nhouse\r\n");
  load("teh house\r\n");
  SpellForm spell(ports, edit, home.str(), "");
  box.answers = {};
  spell.load();
  ASSERT_EQ(spell.not_in_dict, "teh");
  EXPECT_EQ(f->SelText(), "teh");
  spell.change_to_edited("the");
  spell.change();
  EXPECT_EQ(f->txtEdit, "the house\r\n");
  f->mnuEditUndo_Click();
  EXPECT_EQ(f->txtEdit, "teh house\r\n");
}

TEST_F(ToolsFixture, TablesAndOpeners) {
  load("x\r\n");
  f->SetSelection(3, 0);
  clipboard.set_text("a\tbb\ncc\td\n");  // this system's clipboard rows end in LF
  f->mnuEditExcelPaste_Click();
  EXPECT_EQ(f->txtEdit, "x\r\n|a |bb|\r\n|cc|d |\r\n");
  f->SetSelection(3, 20);
  f->mnuEditExcelCopy_Click();
  EXPECT_EQ(clipboard.text(), "a\tbb\ncc\td");

  std::vector<std::string> opened;
  f->open_spell = [&] { opened.push_back("spell"); };
  f->open_find_replace = [&](const std::string& m) { opened.push_back("find " + m); };
  f->show_preview = [&] { opened.push_back("preview " + std::to_string(f->Zoom)); };
  f->print_setup = [&] {
    opened.push_back("setup");
    return true;
  };
  f->mnuEditSpell_Click();
  f->Toolbar1_ButtonClick("Find");
  f->mnuEditReplace_Click();
  f->mnuFilePreview_Click();
  f->mnuViewZoom_Click(0);        // the open preview is drawn again at the new zoom
  f->Toolbar1_ButtonClick("Setup");  // and for the page Print Setup chose
  EXPECT_EQ(opened, (std::vector<std::string>{"spell", "find F", "find R", "preview 60", "preview 80", "setup",
                                               "preview 80"}));
}

// Print All prints on the printer Print Setup chose; with no printer installed it asks for a PDF file
// (named after the edited file), writes the listing there and says where.
TEST_F(ToolsFixture, PrintAllGoesToThePrinterOrAPdfFile) {
  fakes::FixedPrinters printers;
  fakes::ScriptedFileDialog files;
  ports.printers = &printers;
  ports.files = &files;
  f = std::make_unique<EditForm>(ports, main.get());
  f->Form_Load({});
  f->FileName = home.str() + "/PIT3.TXT";
  const std::string pdf = home.str() + "/PIT3.pdf", existing = home.str() + "/old.pdf";
  testing_support::write_file(existing, "%PDF");
  struct Case {
    const char* what;
    std::vector<std::string> installed;
    std::optional<std::string> chosen;
    std::vector<Answer> answers;
    bool prints;
    std::string printed;  // "" the printer, else the PDF file
    std::string title;    // the box shown after, "" none
  } cases[] = {
      {"to the printer", {"Office"}, std::nullopt, {}, true, "", ""},
      {"the printer fails", {"Office"}, std::nullopt, {}, false, "", "Can't Print!"},
      {"no printer: a PDF file", {}, pdf, {}, true, pdf, "Printed to a File"},
      {"no printer: the file dialog cancelled", {}, std::nullopt, {}, true, "-", ""},
      {"no printer: an existing file kept", {}, existing, {Answer::No}, true, "-", ""},
      {"no printer: the PDF cannot be written", {}, pdf, {}, false, pdf, "Can't Print!"},
  };
  for (const Case& c : cases) {
    printers.names = c.installed;
    files.answers = {c.chosen};
    files.requests.clear();
    box.shown.clear();
    box.answers = {c.answers.begin(), c.answers.end()};
    std::string printed = "-";
    f->print_listing = [&](const std::string& file) {
      printed = file;
      return c.prints;
    };
    f->mnuFilePrint_Click();
    EXPECT_EQ(printed, c.printed) << c.what;
    EXPECT_EQ(files.requests.size(), c.installed.empty() ? 1u : 0u) << c.what;
    if (!files.requests.empty()) {
      EXPECT_EQ(files.requests[0].initial_name, pdf) << c.what;
      EXPECT_TRUE(files.requests[0].save) << c.what;
    }
    const std::string last = box.shown.empty() ? "" : box.shown.back().title;
    EXPECT_EQ(last == "Replace PDF File?" ? "" : last, c.title) << c.what;
    if (c.title == "Printed to a File") {
      EXPECT_EQ(box.shown.back().text, "The listing was printed to the PDF file\n" + pdf);
    }
  }
}

}  // namespace
}  // namespace quorvel
