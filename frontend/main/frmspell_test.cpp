// Window tests of the Spelling window (offscreen): the check from the caret, Change All, Add As Is.
#include "frmspell.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/textbox.h"
#include "testsupport.h"

namespace quorvel {
namespace {

struct SpellWindow : ::testing::Test {
  testing_support::TempDir engine, program;
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  Ports ports;
  SpellWindow() {
    ports.settings = &settings;
    ports.msgbox = &box;
    engine.write("English.DIC", "the\r\nhouse\r\nis\r\nbig\r\n");
    program.write("English.DIC", "x\r\n");
  }
  std::unique_ptr<frmSpell> open(fakes::TextBox& text) {
    auto w = std::make_unique<frmSpell>(ports, text, engine.str(), program.str());
    w->Spell();
    QApplication::processEvents();
    return w;
  }
  template <typename T>
  T* control(frmSpell& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
};

TEST_F(SpellWindow, CheckFromTheCaretAsksToStartAgain) {
  fakes::TextBox text("the house is big. the house is big.", 18);
  box.answers = {Answer::No};
  auto w = open(text);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Check from Start?");
  EXPECT_EQ(box.shown[0].text.rfind("You did not start spell checking from the beginning of the document.", 0), 0u);
  EXPECT_FALSE(w->isVisible());
}

TEST_F(SpellWindow, ChangeAllAndAddAsIs) {
  fakes::TextBox text("teh house is big. Teh hous is big. ", 0);
  auto w = open(text);
  EXPECT_EQ(control<QLineEdit>(*w, "txtNotInDict")->text(), "teh");
  EXPECT_FALSE(control<QPushButton>(*w, "cmdChange")->isEnabled());
  auto* change_to = control<QLineEdit>(*w, "txtChangeTo");
  change_to->setText("the");
  emit change_to->textEdited("the");
  EXPECT_TRUE(control<QPushButton>(*w, "cmdChangeAll")->isEnabled());
  control<QPushButton>(*w, "cmdChangeAll")->click();
  EXPECT_EQ(text.text_, "the house is big. the hous is big. ");
  EXPECT_EQ(control<QLineEdit>(*w, "txtNotInDict")->text(), "hous");
  EXPECT_EQ(control<QListWidget>(*w, "lstSugg")->item(0)->text(), "house");
  control<QPushButton>(*w, "cmdAdd")->click();  // the end question: No closes the window
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(engine.read("English.DIC"), "the\r\nhouse\r\nis\r\nbig\r\nhous\r\n");
  EXPECT_EQ(settings.get("Spell", "Language"), "English");
  EXPECT_FALSE(settings.get("Spell", "Geometry").empty());  // the place, for the next opening
}

TEST_F(SpellWindow, AddAsIsThenCancel) {
  fakes::TextBox text("Dolerite and housr. ", 0);
  auto w = open(text);
  ASSERT_EQ(control<QLineEdit>(*w, "txtNotInDict")->text(), "Dolerite");
  control<QPushButton>(*w, "cmdAdd")->click();
  ASSERT_EQ(control<QLineEdit>(*w, "txtNotInDict")->text(), "and");
  control<QPushButton>(*w, "cmdCancel")->click();
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(engine.read("English.DIC"), "the\r\nhouse\r\nis\r\nbig\r\nDolerite\r\n");
}

}  // namespace
}  // namespace quorvel
