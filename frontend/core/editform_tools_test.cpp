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
  f->print_listing = [&] { return false; };
  f->mnuEditSpell_Click();
  f->Toolbar1_ButtonClick("Find");
  f->mnuEditReplace_Click();
  f->mnuFilePreview_Click();
  f->mnuViewZoom_Click(0);  // the open preview is drawn again at the new zoom
  box.shown.clear();
  f->mnuFilePrint_Click();
  EXPECT_EQ(opened, (std::vector<std::string>{"spell", "find F", "find R", "preview 60", "preview 80"}));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text.rfind("No printer is installed", 0), 0u);
}

}  // namespace
}  // namespace quorvel
