// Window tests of the text editor (offscreen): opened from the main window's EDIT, the box bound to the
// editor's bytes, Save & Run and the save prompt, the Word question.
#include "frmedittext.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPageSetupDialog>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include "frmmain.h"
#include "guitest.h"
#include "frontend/core/editform.h"
#include "frontend/core/edittemplates.h"
#include "frontend/core/edittext.h"
#include "frontend/core/globals.h"
#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/process.h"
#include "testsupport.h"

using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace quorvel {
namespace {

struct EditorWindowFixture : ::testing::Test {
  TempDir home;
  ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedInputBox input;
  fakes::ScriptedFileDialog files;
  fakes::MemoryClipboard clipboard;
  fakes::ScriptProcess process;
  fakes::RecordingLauncher launcher;
  fakes::FixedPrinters printers;  // none installed, as on this machine
  Ports ports;
  std::unique_ptr<frmMain> w;
  std::string engine;
  EditorWindowFixture() {
    reset_globals();
    engine = home.str() + "/vlx7000/";
    fakes::write_standin_script(home.path() / "vlx7000");
    settings.set("Settings", "Terminal", "");
    std::filesystem::create_directories(home.path() / "vlx7000" / "Examples");
    testing_support::write_file(home.path() / "vlx7000" / "STANDARD.SET", "set\r\n");
    ports.settings = &settings;
    ports.msgbox = &box;
    ports.inputbox = &input;
    ports.files = &files;
    ports.clipboard = &clipboard;
    ports.process = &process;
    ports.launcher = &launcher;
    ports.printers = &printers;
  }
  void start(const std::string& input_file, const std::string& bytes) {
    testing_support::write_file(input_file, bytes);
    w = std::make_unique<frmMain>(ports);
    w->Load();
    w->form().SetInputText(input_file);
    w->form().SetOutputPath("");
    w->refresh();
    QApplication::processEvents();
  }
  frmEditText* edit() {
    w->findChild<QPushButton*>("cmdEditInputFile")->click();
    QApplication::processEvents();
    return w->findChild<frmEditText*>("frmEditText");
  }
  static void key(QWidget* to, int k, const QString& text = {}, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, k, m, text);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, k, m, text);
    QApplication::sendEvent(to, &release);
  }
  static void type(QWidget* to, const QString& text) {
    for (QChar c : text) key(to, c.toUpper().unicode(), QString(c));
  }
  static void wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  static QAction* act(QWidget* ed, const char* name) {
    auto* a = ed->findChild<QAction*>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
  }
};

TEST_F(EditorWindowFixture, BoxShowsTheBytesAndTypingKeepsThem) {
  const std::string file = engine + "Examples/lines.txt";
  start(file, "a\nb\rc\r\nd");
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  EXPECT_TRUE(ed->isVisible());
  EXPECT_FALSE(w->isVisible());
  // The title carries the window-modified mark: "*" while the text is changed.
  EXPECT_EQ(ed->windowTitle(), qs("Quorvel Text Editor: " + file + "[*]"));
  EXPECT_FALSE(ed->isWindowModified());
  QPlainTextEdit* text = ed->box();
  EXPECT_EQ(text->toPlainText(), QString::fromUtf8("a\u240Ab\u240Dc\nd"));
  // Typing at the end, Enter, more typing: the bytes follow, Enter is CR LF.
  text->moveCursor(QTextCursor::End);
  type(text, "x");
  key(text, Qt::Key_Return, "\r");
  type(text, "y z");
  EXPECT_EQ(ed->form().txtEdit, "a\nb\rc\r\ndx\r\ny z");
  EXPECT_TRUE(ed->form().DataChanged);
  EXPECT_TRUE(ed->isWindowModified());
  // Undo (the window's key): the last word goes; the box shows the bytes again.
  act(ed, "mnuEditUndo")->trigger();
  EXPECT_EQ(ed->form().txtEdit, "a\nb\rc\r\ndx\r\ny");
  EXPECT_EQ(text->toPlainText(), QString::fromUtf8("a\u240Ab\u240Dc\ndx\ny"));
  // A template at the caret, then Save: the file holds the bytes, lone CR and LF kept.
  act(ed, "mnuInsBlock6")->trigger();
  EXPECT_EQ(FromDisplay(text->document()->toRawText().toStdU16String()).bytes, ed->form().txtEdit);
  act(ed, "mnuFileSave0")->trigger();
  EXPECT_EQ(testing_support::read_file(file),
            "a\nb\rc\r\ndx\r\ny\r\n//\r\nThe // above marks the end of the Hole.\r\n"
            "Repeat the block structure above for as many holes as required.\r\n");
  EXPECT_FALSE(ed->form().DataChanged);
  EXPECT_FALSE(ed->isWindowModified());
  // A pasted character the code page lacks stays in the box and stops the save.
  clipboard.value = "\xC4\x85";
  act(ed, "mnuEditPaste")->trigger();
  EXPECT_TRUE(text->toPlainText().contains(QChar(0x0105)));
  text->moveCursor(QTextCursor::Start);
  type(text, "q");  // a change elsewhere keeps it
  EXPECT_TRUE(text->toPlainText().contains(QChar(0x0105)));
  box.shown.clear();
  act(ed, "mnuFileSave0")->trigger();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "File not saved!");
}

TEST_F(EditorWindowFixture, SaveAndRunHandsRunBackAndTheMainWindowRuns) {
  const std::string file = engine + "Examples/Examples.TXT";
  start(file, "holes\r\n");
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  ed->box()->moveCursor(QTextCursor::End);
  type(ed->box(), "more");
  // Cancel at the save prompt: the editor stays, no request word.
  box.answers = {Answer::Cancel};
  ed->findChild<QPushButton*>("cmdExit_Run")->click();
  wait(50);
  EXPECT_TRUE(ed->isVisible());
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(w->form().Tag, "");
  EXPECT_TRUE(process.started.empty());
  // Yes: saved, the main window comes back and runs the engine.
  box.answers = {Answer::Yes};
  ed->findChild<QPushButton*>("cmdExit_Run")->click();
  wait(300);
  EXPECT_FALSE(ed->isVisible());
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(testing_support::read_file(file), "holes\r\nmore");
  for (const Message& m : box.shown) EXPECT_EQ(m.title, " (Save Now to keep Changes!)") << m.text;
  ASSERT_EQ(process.started.size(), 1u);
  EXPECT_EQ(process.started[0].back(), "@runfile.dat");
  EXPECT_EQ(w->form().Tag, "");  // consumed by the activation
}

TEST_F(EditorWindowFixture, EditOnADocAsksTheWordQuestionOncePerAnswer) {
  const std::string file = engine + "Examples/Report.DOC";
  start(file, kCompoundSignature + "binary \x01 " + std::string(50, 'T') + "\r" + "second\x02");
  auto asked = [&] {
    int n = 0;
    for (const Message& m : box.shown) n += m.title == "Use Word to Edit DOC files?";
    return n;
  };
  box.answers = {Answer::Cancel};
  EXPECT_EQ(edit(), nullptr);
  box.answers = {Answer::Cancel};
  EXPECT_EQ(edit(), nullptr);
  EXPECT_EQ(asked(), 2);
  box.answers = {Answer::No};
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  EXPECT_EQ(ed->form().txtEdit, " " + std::string(50, 'T') + "\r\nsecond");
  act(ed, "mnuFileExit")->trigger();
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(edit(), ed);
  EXPECT_EQ(asked(), 3);
  EXPECT_TRUE(launcher.started.empty());
}

TEST_F(EditorWindowFixture, WindowKeysGoToTheEditorsActions) {
  start(engine + "Examples/keys.txt", "ab");
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  ed->activateWindow();
  ed->box()->setFocus();
  wait(50);
  ed->box()->moveCursor(QTextCursor::End);
  QTest::keyClick(ed->box(), Qt::Key_K, Qt::ControlModifier);  // Ignore Keyword: the box's own Ctrl+K is not used
  EXPECT_EQ(ed->form().txtEdit, "ab|");
  QTest::keyClick(ed->box(), Qt::Key_Z, Qt::ControlModifier);  // the editor's Undo
  EXPECT_EQ(ed->form().txtEdit, "ab");
  clipboard.value = "x\ty";
  QTest::keyClick(ed->box(), Qt::Key_V, Qt::ControlModifier);  // the editor's Paste
  EXPECT_EQ(ed->form().txtEdit, "x    yab");  // Undo put the cursor where the loaded text had it
  // F1 is the editor's own help page (F2 too), not the main window's.
  HelpFile = (testing_support::source_dir() / "frontend" / "help").string() + "/";
  for (Qt::Key k : {Qt::Key_F1, Qt::Key_F2}) {
    launcher.started.clear();
    QTest::keyClick(ed->box(), k);
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_NE(launcher.started[0].argv.back().find("04%20Text%20File%20Editor.htm"), std::string::npos)
        << launcher.started[0].argv.back();
  }
}

// Under a display (xvfb-run), with QUORVEL_SHOT naming a PNG: the editor with the skeleton and the
// checker's box, saved for a person to look at.
TEST_F(EditorWindowFixture, ScreenshotOfTheCheckerBox) {
  if (!qEnvironmentVariableIsSet("QUORVEL_SHOT")) GTEST_SKIP() << "QUORVEL_SHOT not set";
  QtMessageBox real_box;
  QtInputBox real_input;
  ports.msgbox = &real_box;
  ports.inputbox = &real_input;
  start(engine + "Examples/New.txt", Skeleton());
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  ed->resize(900, 620);
  ed->move(20, 20);
  real_box.set_parent(ed);
  wait(300);
  QTimer::singleShot(800, [] {
    QGuiApplication::primaryScreen()->grabWindow(0).save(qEnvironmentVariable("QUORVEL_SHOT"));
    if (QWidget* m = QApplication::activeModalWidget()) m->close();
  });
  act(ed, "mnuCheck")->trigger();
}

// F7 opens the Spelling window over the editor: the unknown word selected in the box, Change puts the
// picked suggestion in.
TEST_F(EditorWindowFixture, SpellingOverTheEditor) {
  testing_support::write_file(home.path() / "vlx7000" / "English.DIC", "firm\r\nbrown\r\nclay\r\nbrow\r\n");
  start(engine + "Examples/pit.txt", "Firm browm CLAY.\r\n");
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  box.answers = {Answer::No};  // the end question after the change
  act(ed, "mnuEditSpell")->trigger();
  QApplication::processEvents();
  auto* spell = ed->findChild<QWidget*>("frmSpell");
  ASSERT_NE(spell, nullptr);
  EXPECT_TRUE(spell->isVisible());
  EXPECT_EQ(spell->findChild<QLineEdit*>("txtNotInDict")->text(), "browm");
  EXPECT_EQ(ed->box()->textCursor().selectedText(), "browm");
  auto* list = spell->findChild<QListWidget*>("lstSugg");
  ASSERT_GE(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), "brown");
  if (qEnvironmentVariableIsSet("QUORVEL_SHOT_SPELL")) {
    ed->resize(900, 500);
    ed->move(10, 10);
    spell->move(520, 120);
    wait(500);
    QGuiApplication::primaryScreen()->grabWindow(0).save(qEnvironmentVariable("QUORVEL_SHOT_SPELL"));
  }
  emit list->itemClicked(list->item(0));
  spell->findChild<QPushButton*>("cmdChange")->click();
  QApplication::processEvents();
  EXPECT_EQ(ed->form().txtEdit, "Firm brown CLAY.\r\n");
  EXPECT_EQ(ed->box()->toPlainText(), "Firm brown CLAY.\n");
  act(ed, "mnuEditUndo")->trigger();
  EXPECT_EQ(ed->form().txtEdit, "Firm browm CLAY.\r\n");
}

// File > Preview shows the listing at the editor's zoom; Zoom In draws it again larger.
TEST_F(EditorWindowFixture, PreviewFollowsTheZoom) {
  std::string text;
  for (int i = 1; i <= 80; ++i) text += std::to_string(i * 0.5) + "  Firm brown CLAY.\r\n";
  start(engine + "Examples/long.txt", text);
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  act(ed, "mnuFilePreview")->trigger();
  QApplication::processEvents();
  auto* preview = ed->findChild<frmPreview*>("frmPreview");
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(preview->isVisible());
  EXPECT_EQ(preview->zoom(), 60);
  const int width60 = preview->area()->widget()->width();
  act(ed, "mnuViewZoom0")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(preview->zoom(), 80);
  EXPECT_NEAR(preview->area()->widget()->width(), width60 * 80 / 60, 2);
  if (qEnvironmentVariableIsSet("QUORVEL_SHOT_PREVIEW")) {
    preview->resize(700, 600);
    preview->move(10, 10);
    wait(500);
    QGuiApplication::primaryScreen()->grabWindow(0).save(qEnvironmentVariable("QUORVEL_SHOT_PREVIEW"));
  }
}

// Leaving the editor (File > Exit, Ctrl+Q) closes its Preview, Find/Replace and Spelling windows.
TEST_F(EditorWindowFixture, LeavingClosesThePreviewFindAndSpelling) {
  start(engine + "Examples/pit.txt", "0.5  Qzxvw SAND\r\n");
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  act(ed, "mnuFilePreview")->trigger();
  act(ed, "mnuEditFind")->trigger();
  act(ed, "mnuEditSpell")->trigger();
  guitest::settle();
  auto shown = [](const char* name) {
    for (QWidget* t : QApplication::topLevelWidgets())
      if (t->objectName() == name && t->isVisible()) return true;
    return false;
  };
  const char* companions[] = {"frmPreview", "frmReplace", "frmSpell"};
  for (const char* c : companions) ASSERT_TRUE(shown(c)) << c;
  ed->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(ed));
  QTest::keyClick(ed->box(), Qt::Key_Q, Qt::ControlModifier);
  guitest::settle();
  EXPECT_FALSE(ed->isVisible());
  EXPECT_TRUE(w->isVisible());
  for (const char* c : companions) EXPECT_FALSE(shown(c)) << c;
  EXPECT_FALSE(ed->findChild<QMenu*>("mnuView")->menuAction()->isVisible());
}

// Unwrap keeps a continuation line of three blanks (the engine's rule) with its layer; Check! accepts
// the result, and Next Plaintext Layer reads the continuation as part of the marked layer.
TEST_F(EditorWindowFixture, ThreeBlankContinuationLinesStayInTheirLayer) {
  const std::string hole = "Hole Number   : BH01\r\n/\r\n1.0  ~SAND~ with\r\n   gravel and more\r\n"
                           "2.0  ~CLAY~ firm\r\n/\r\nNOTES:\r\n//\r\n///\r\n";
  start(engine + "Examples/three.txt", hole);
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  ed->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(ed));
  QTest::keyClick(ed->box(), Qt::Key_Home, Qt::ControlModifier);
  box.shown.clear();
  act(ed, "mnuEditPlaintext")->trigger();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "No More Plaintext Found.") << box.shown[0].text;
  QTest::keyClick(ed->box(), Qt::Key_A, Qt::ControlModifier);  // Select All
  act(ed, "mnuEditUnwrap")->trigger();
  EXPECT_EQ(ed->form().txtEdit, "Hole Number   : BH01\r\n/\r\n1.0  ~SAND~ with gravel and more\r\n"
                                "2.0  ~CLAY~ firm\r\n/\r\nNOTES:\r\n//\r\n///\r\n");
  box.shown.clear();
  act(ed, "mnuCheck")->trigger();
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text.find("Unexpected"), std::string::npos) << box.shown[0].text;
  EXPECT_EQ(box.shown[0].text.find("Line"), std::string::npos) << box.shown[0].text;
}

// Print Setup works on the editor's own printer: the paper and orientation chosen there are the
// preview's page and, with no printer installed, the page of the PDF file Print All writes.
TEST_F(EditorWindowFixture, PrintSetupPaperReachesThePrintedPdf) {
  start(engine + "Examples/print.txt", "0.5  Firm brown CLAY.\r\n1.2  Dense SAND.\r\n");
  frmEditText* ed = edit();
  ASSERT_NE(ed, nullptr);
  guitest::when_open<QPageSetupDialog>([](QPageSetupDialog* d) {
    EXPECT_EQ(d->windowTitle(), "Print Setup.");
    auto* size = d->findChild<QComboBox*>("pageSizeCombo");
    ASSERT_NE(size, nullptr);
    size->setFocus();
    QTest::keyClicks(size, "A5");
    auto* landscape = d->findChild<QRadioButton*>("landscape");
    QTest::mouseClick(landscape, Qt::LeftButton, {}, QPoint(6, landscape->height() / 2));  // on its circle
    EXPECT_TRUE(landscape->isChecked());
    QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
  });
  act(ed, "mnuFilePSetup")->trigger();
  EXPECT_EQ(ed->printer().pageLayout().pageSize().id(), QPageSize::A5);
  EXPECT_EQ(ed->printer().pageLayout().orientation(), QPageLayout::Landscape);
  act(ed, "mnuFilePreview")->trigger();
  guitest::settle();
  auto* preview = ed->findChild<frmPreview*>("frmPreview");
  ASSERT_NE(preview, nullptr);
  EXPECT_GT(preview->area()->widget()->width(), preview->area()->widget()->height());  // one landscape page

  const std::string pdf = home.str() + "/print.pdf";
  files.answers = {pdf};
  box.shown.clear();
  act(ed, "mnuFilePrint")->trigger();
  ASSERT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(files.requests[0].initial_name, engine + "Examples/print.pdf");
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, "The listing was printed to the PDF file\n" + pdf);
  const auto info = testing_support::run_program({"/usr/bin/pdfinfo", pdf}, home.path(), 60);
  EXPECT_NE(info.out.find("Page size:       595 x 420 pts (A5)"), std::string::npos) << info.out;  // across
  const auto text = testing_support::run_program({"/usr/bin/pdftotext", "-layout", pdf, "-"}, home.path(), 60).out;
  EXPECT_NE(text.find(engine + "Examples/print.txt"), std::string::npos) << text;
  EXPECT_NE(text.find("Dense SAND."), std::string::npos) << text;
}

}  // namespace
}  // namespace quorvel
