// Window tests of the SET editor (offscreen): opened from the main window's Edit Set, OK, Run Now!,
// Cancel after an edit, F1 and the option dialogs. With QUORVEL_SHOTS set to a folder (run under a
// virtual X server) the Layout and Logo Xform tabs are saved there as PNG files for a person to look at.
#include "frmeditset.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QElapsedTimer>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QtTest/QTest>

#include "frmmain.h"
#include "guitest.h"
#include "frontend/core/globals.h"
#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/process.h"
#include "testsupport.h"
#include "tools/embedded_data.h"

using testing_support::ScopedEnv;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace quorvel {
namespace {

using guitest::settle;
using guitest::when_open;

struct EditSetFixture : ::testing::Test {
  TempDir home;
  ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedFileDialog files;
  fakes::ScriptedInputBox input;
  fakes::RecordingLauncher launcher;
  fakes::ScriptProcess process;
  Ports ports;
  fs::path engine;
  std::unique_ptr<frmMain> w;

  EditSetFixture() {
    reset_globals();
    HelpFile = (testing_support::source_dir() / "frontend" / "help").string() + "/";
    engine = home.path() / "vlx7000";
    fakes::write_standin_script(engine);
    for (const char* name : {"prompts.eng", "PROVOCAB.ENG", "CONVOCAB.ENG", "LOGO0.PDF"})
      fs::copy_file(testing_support::data_dir() / name, engine / name);
    fs::create_directories(engine / "LJ4");
    fs::create_directories(engine / "Examples");
    testing_support::write_file(engine / "Examples" / "Examples.TXT", "holes\n");
    fs::create_directories(home.path() / "VLXFILES");
    settings.set("Settings", "Terminal", "");
    ports.settings = &settings;
    ports.msgbox = &box;
    ports.files = &files;
    ports.inputbox = &input;
    ports.launcher = &launcher;
    ports.process = &process;
    w = std::make_unique<frmMain>(ports);
    w->Load();
    settle();
  }
  ~EditSetFixture() override {
    std::vector<QPointer<QWidget>> editors;
    for (QWidget* t : QApplication::topLevelWidgets())
      if (qobject_cast<frmEditSet*>(t)) editors.emplace_back(t);
    for (const QPointer<QWidget>& e : editors) delete e.data();
    w.reset();
    settle();
  }
  frmEditSet* editor() {
    for (QWidget* t : QApplication::topLevelWidgets())
      if (auto* e = qobject_cast<frmEditSet*>(t); e && e->isVisible()) return e;
    return nullptr;
  }
  frmEditSet* open(const std::string& setup) {
    w->form().SetSetupText(setup);
    w->findChild<QPushButton*>("cmdEditSetupFile")->click();
    settle();
    return editor();
  }
  template <typename T>
  static T* control(QWidget* in, const char* name) {
    T* c = in->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  // Types the text into the box as a user does: the box's text selected, then the keys.
  static void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
  }
  // The editor as the window the user works in.
  static void activate(QWidget* ed) {
    ed->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ed));
  }
};

TEST_F(EditSetFixture, AMissingNameOffersTheTemplateAndOKSavesIt) {
  box.answers = {Answer::Yes};
  frmEditSet* ed = open("NEW.SET");
  ASSERT_NE(ed, nullptr);
  ASSERT_EQ(box.titles(), std::vector<std::string>{"Create NEW Setup File?"});
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(ed->form().NewSetFile);
  EXPECT_EQ(ed->windowTitle(), "Editing SET File: NEW.SET");
  EXPECT_EQ(control<QLineEdit>(ed, "txtItem5")->text(), "A4");
  EXPECT_EQ(control<QLineEdit>(ed, "txtDescription")->text(), "A4 page for Profile, then Borelog");
  // Every box is the buddy of its label, which names it.
  struct Pair {
    const char* label;
    const char* box;
    QString name;
  } pairs[] = {{"lblItem5", "txtItem5", "Page Size  (A3/A4)"},
               {"lblItem10", "txtItem10", "Head of Page (height)"},
               {"lblChar2", "txtChar2", "Character to Underline & force a Symbol*"},
               {"lblLogo5", "txtLogo5", "e = Horizontal Shift"}};
  for (const Pair& p : pairs) {
    QWidget* b = control<QWidget>(ed, p.box);
    EXPECT_EQ(control<QLabel>(ed, p.label)->buddy(), b) << p.label;
    EXPECT_EQ(b->accessibleName(), p.name) << p.box;
  }
  type(control<QLineEdit>(ed, "txtItem10"), "254");
  EXPECT_EQ(control<QLineEdit>(ed, "txtmm10")->text(), "21.5");
  control<QPushButton>(ed, "cmdOK")->click();
  settle();
  EXPECT_EQ(editor(), nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(fs::exists(engine / "NEW.SET"));
  EXPECT_EQ(w->findChild<QComboBox*>("cboSetupFile")->currentText(), "NEW.SET");
  EXPECT_TRUE(process.started.empty());
}

TEST_F(EditSetFixture, RunNowHandsBackRunAndTheRunStarts) {
  testing_support::write_file(engine / "STANDARD.SET", std::string(embedded_data::kStandardSet));
  frmEditSet* ed = open("");
  ASSERT_NE(ed, nullptr);
  EXPECT_EQ(ed->windowTitle(), "Editing SET File: STANDARD.SET");  // the description is made up
  type(control<QLineEdit>(ed, "txtItem5"), "A3");
  control<QPushButton>(ed, "cmdRun")->click();
  settle(200);
  for (const auto& m : box.shown) ADD_FAILURE() << "unexpected question: " << m.title;
  EXPECT_EQ(editor(), nullptr);
  EXPECT_TRUE(w->isVisible());
  ASSERT_EQ(process.started.size(), 1u);
  EXPECT_NE(testing_support::read_file(engine / "STANDARD.SET").find("A3      "), std::string::npos);
}

TEST_F(EditSetFixture, CancelAfterAnEditAsks) {
  testing_support::write_file(engine / "JOB.SET", std::string(embedded_data::kStandardSet));
  frmEditSet* ed = open("JOB.SET");
  ASSERT_NE(ed, nullptr);
  type(control<QLineEdit>(ed, "txtDescription"), "Logs on A3");
  box.answers = {Answer::Cancel};
  control<QPushButton>(ed, "cmdCancel")->click();
  settle();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Closing SET File Editor (Save Now to keep Changes!)");
  EXPECT_EQ(editor(), ed);
  box.answers = {Answer::No};
  control<QPushButton>(ed, "cmdCancel")->click();
  settle();
  EXPECT_EQ(editor(), nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(testing_support::read_file(engine / "JOB.SET"), std::string(embedded_data::kStandardSet));
}

// A click on each tab shows its page, as Alt and the tab's letter and the arrow keys on the tab bar do;
// F1 then opens the help of the page shown.
TEST_F(EditSetFixture, TabsFollowClicksKeysAndAltLetters) {
  box.answers = {Answer::Yes};
  frmEditSet* ed = open("TABS.SET");
  ASSERT_NE(ed, nullptr);
  activate(ed);
  auto* tabs = control<QTabWidget>(ed, "SSTab1");
  QTabBar* bar = tabs->tabBar();
  const char* anchors[] = {"", "#layout", "#chars", "#fonts", "#LogoTab"};
  auto shows = [&](int tab, const char* how) {
    settle();
    EXPECT_EQ(tabs->currentIndex(), tab) << how;
    EXPECT_EQ(tabs->currentWidget(), tabs->widget(tab)) << how;
    EXPECT_TRUE(tabs->widget(tab)->isVisible()) << how;
    EXPECT_EQ(ed->form().SSTab1, tab) << how;
    launcher.started.clear();
    QTest::keyClick(ed, Qt::Key_F1);
    ASSERT_EQ(launcher.started.size(), 1u) << how;
    const std::string url = launcher.started[0].argv.back();
    EXPECT_NE(url.find("06%20SET%20File%20Editor.htm" + std::string(anchors[tab])), std::string::npos) << how << url;
    if (tab == 0) {
      EXPECT_EQ(url.find('#'), std::string::npos);
    }
  };
  for (int tab : {1, 2, 3, 4, 0}) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    shows(tab, "click");
  }
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_Right);
  shows(1, "Right on the tab bar");
  struct Letter {
    Qt::Key key;
    int tab;
  } letters[] = {{Qt::Key_X, 4}, {Qt::Key_C, 2}, {Qt::Key_F, 3}, {Qt::Key_L, 1}, {Qt::Key_S, 0}};
  for (const Letter& l : letters) {
    QTest::keyClick(ed, l.key, Qt::AltModifier);
    shows(l.tab, "Alt+letter");
  }
  EXPECT_EQ(box.titles(), std::vector<std::string>{"Create NEW Setup File?"});  // no other question
}

// Cancel and Esc close an editor the user changed nothing in without a question (a description made
// up for a file without one is no change of the user's); after a typed change they ask.
TEST_F(EditSetFixture, CancelAndEscAskOnlyAfterAChange) {
  testing_support::write_file(engine / "JOB.SET", std::string(embedded_data::kStandardSet));
  struct Case {
    const char* what;
    bool edit;
    bool esc;
  } cases[] = {{"Cancel, nothing changed", false, false},
               {"Esc, nothing changed", false, true},
               {"Esc after typing", true, true}};
  for (const Case& c : cases) {
    box.shown.clear();
    frmEditSet* ed = open("JOB.SET");
    ASSERT_NE(ed, nullptr) << c.what;
    activate(ed);
    if (c.edit) type(control<QLineEdit>(ed, "txtItem5"), "A3");
    box.answers = {Answer::No};
    if (c.esc) QTest::keyClick(ed, Qt::Key_Escape);
    else QTest::mouseClick(control<QPushButton>(ed, "cmdCancel"), Qt::LeftButton);
    settle();
    EXPECT_EQ(box.shown.size(), c.edit ? 1u : 0u) << c.what;
    if (c.edit && !box.shown.empty()) {
      EXPECT_EQ(box.shown[0].title, "Closing SET File Editor (Save Now to keep Changes!)");
    }
    EXPECT_EQ(editor(), nullptr) << c.what;
    EXPECT_TRUE(w->isVisible()) << c.what;
    EXPECT_EQ(testing_support::read_file(engine / "JOB.SET"), std::string(embedded_data::kStandardSet)) << c.what;
  }
}

// The engine reads the logo name and the logo X and Y from six columns: a longer value typed is refused
// at OK, the page holding it shown and its box focused, and nothing is written.
TEST_F(EditSetFixture, LogoValuesLongerThanTheEngineReadsAreRefused) {
  testing_support::write_file(engine / "JOB.SET", std::string(embedded_data::kStandardSet));
  struct Case {
    const char* box;
    const char* typed;
    const char* title;
    int tab;
  } cases[] = {{"txtItem17", "LONGLOGO", "Bad LOGO PDF file!", 0},
               {"txtItem18", "-12345.5", "Bad LOGO reference point!", 1},
               {"txtItem19", "1234567", "Bad LOGO reference point!", 1}};
  frmEditSet* ed = open("JOB.SET");
  ASSERT_NE(ed, nullptr);
  activate(ed);
  for (const Case& c : cases) {
    auto* tabs = control<QTabWidget>(ed, "SSTab1");
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(c.tab).center());
    auto* target = control<QLineEdit>(ed, c.box);
    const QString before = target->text();
    type(target, c.typed);
    EXPECT_EQ(target->text(), c.typed);
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(2).center());
    box.shown.clear();
    QTest::mouseClick(control<QPushButton>(ed, "cmdOK"), Qt::LeftButton);
    settle();
    ASSERT_EQ(box.shown.size(), 1u) << c.box;
    EXPECT_EQ(box.shown[0].title, c.title);
    EXPECT_NE(box.shown[0].text.find(c.typed), std::string::npos) << box.shown[0].text;
    EXPECT_EQ(editor(), ed);
    EXPECT_EQ(tabs->currentIndex(), c.tab) << c.box;
    EXPECT_EQ(QApplication::focusWidget(), target) << c.box;
    EXPECT_EQ(testing_support::read_file(engine / "JOB.SET"), std::string(embedded_data::kStandardSet));
    type(target, before);
  }
}

TEST_F(EditSetFixture, F1OpensTheCurrentTabsTopic) {
  box.answers = {Answer::Yes};
  frmEditSet* ed = open("HELP.SET");
  ASSERT_NE(ed, nullptr);
  auto* tabs = control<QTabWidget>(ed, "SSTab1");
  QShortcut* f1 = nullptr;
  for (QShortcut* s : ed->findChildren<QShortcut*>())
    if (s->key() == QKeySequence(Qt::Key_F1)) f1 = s;
  ASSERT_NE(f1, nullptr);
  const char* anchors[] = {"", "#layout", "#chars", "#fonts", "#LogoTab"};
  for (int tab = 0; tab < 5; ++tab) {
    launcher.started.clear();
    tabs->setCurrentIndex(tab);
    emit f1->activated();
    ASSERT_EQ(launcher.started.size(), 1u) << tab;
    const std::string url = launcher.started[0].argv.back();
    EXPECT_NE(url.find("06%20SET%20File%20Editor.htm" + std::string(anchors[tab])), std::string::npos) << url;
    if (tab == 0) {
      EXPECT_EQ(url.find('#'), std::string::npos);
    }
  }
  // Every anchor the editor and its dialogs use is in the page.
  std::string page = testing_support::read_file(testing_support::source_dir() / "frontend/help/06 SET File Editor.htm");
  for (const char* id : {"layout", "chars", "fonts", "LogoTab", "BorelogSuppress", "CompressBorelog"})
    EXPECT_NE(page.find(std::string("id=\"") + id + "\""), std::string::npos) << id;
}

TEST_F(EditSetFixture, OptionDialogsWriteTheirCodes) {
  box.answers = {Answer::Yes};
  frmEditSet* ed = open("OPT.SET");
  ASSERT_NE(ed, nullptr);
  when_open<frmSetBHLogCompress>([](frmSetBHLogCompress* d) {
    d->findChild<QRadioButton*>("opt2page2")->click();
    auto* cols = d->findChild<QLineEdit*>("txtColumns");
    cols->setText("4");
    emit cols->textEdited("4");
    d->findChild<QPushButton*>("cmdOK")->click();
  });
  control<QPushButton>(ed, "cmdCompBoreLog")->click();
  EXPECT_EQ(control<QLineEdit>(ed, "txtItem20")->text(), "604");
  when_open<frmSetBHLogSuppress>([](frmSetBHLogSuppress* d) {
    d->findChild<QCheckBox*>("chkSuppAWL")->setChecked(false);
    d->findChild<QCheckBox*>("chkSwapLD")->setChecked(true);
    d->findChild<QPushButton*>("cmdOK")->click();
  });
  control<QPushButton>(ed, "cmdBoreOpt")->click();
  EXPECT_EQ(control<QLineEdit>(ed, "txtItem12")->text(), "500");
}

TEST_F(EditSetFixture, ScreenshotsOfTheLayoutAndLogoTabs) {
  const QString shots = qEnvironmentVariable("QUORVEL_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "QUORVEL_SHOTS names no folder";
  box.answers = {Answer::Yes};
  frmEditSet* ed = open("SHOT.SET");
  ASSERT_NE(ed, nullptr);
  ed->resize(900, 640);
  auto* tabs = control<QTabWidget>(ed, "SSTab1");
  tabs->setCurrentIndex(0);
  settle(300);
  ed->grab().save(shots + "/setedit-files.png");
  tabs->setCurrentIndex(1);
  ed->activateWindow();
  settle(100);
  control<QLineEdit>(ed, "txtItem10")->setFocus();
  settle(300);
  ed->grab().save(shots + "/setedit-layout.png");
  tabs->setCurrentIndex(4);
  ed->form().chkLogoCentre = true;
  ed->form().optTransform = 4;
  input.answers = {"30"};
  control<QPushButton>(ed, "cmdLogoDraw0")->click();
  ed->form().optTransform = 3;
  input.answers = {"50%"};
  control<QPushButton>(ed, "cmdLogoDraw1")->click();
  settle(300);
  ed->grab().save(shots + "/setedit-logo.png");
  tabs->setCurrentIndex(3);
  settle(300);
  ed->grab().save(shots + "/setedit-fonts.png");
}

}  // namespace
}  // namespace quorvel
