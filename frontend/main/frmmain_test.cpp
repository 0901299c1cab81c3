// Window tests of the main window (offscreen): the controls bound to the logic.
#include "frmmain.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QtTest/QTest>
#include <map>
#include <QElapsedTimer>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

#include "frontend/core/globals.h"
#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/process.h"
#include "frontend/core/testing/standin.h"
#include "guitest.h"
#include "testsupport.h"

using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace quorvel {
namespace {

struct WindowFixture : ::testing::Test {
  TempDir home;
  ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  fakes::MemorySettings settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedFileDialog files;
  fakes::FixedPrinters printers;
  fakes::FixedClock clock;
  Ports ports;
  std::unique_ptr<frmMain> w;
  WindowFixture() {
    reset_globals();
    fakes::write_standin_engine(home.path() / "vlx7000", "7022");
    printers.names = {"Office"};
    ports.settings = &settings;
    ports.msgbox = &box;
    ports.files = &files;
    ports.printers = &printers;
    ports.clock = &clock;
    w = std::make_unique<frmMain>(ports);
    w->Load();
    QApplication::processEvents();
  }
  template <typename T>
  T* control(const char* name) {
    T* c = w->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  void choose(const char* combo, int index) {
    auto* c = control<QComboBox>(combo);
    c->setCurrentIndex(index);
    emit c->activated(index);
  }
};

TEST_F(WindowFixture, ShowsTheChoicesOfAFirstStart) {
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(box.shown.empty());
  EXPECT_EQ(control<QLineEdit>("txtVeltraxFolder")->text(), qs(home.str() + "/vlx7000/"));
  EXPECT_EQ(control<QComboBox>("cboInputFile")->currentText(), qs(home.str() + "/vlx7000/Examples/Examples.TXT"));
  EXPECT_EQ(control<QComboBox>("cboOutputType")->currentText(), "PDF + Preview");
  EXPECT_TRUE(control<QCheckBox>("chkSummary")->isChecked());
  EXPECT_EQ(w->windowTitle().left(30), "Quorvel for Veltrax - Version ");
  // Every box is the buddy of the label beside it, which names it.
  struct Pair {
    const char* label;
    const char* box;
    QString name;
  } pairs[] = {{"lblVeltraxFolder", "txtVeltraxFolder", "Veltrax path*"}, {"lblSetupFile", "cboSetupFile", "Setup File"},
               {"lblInputFile", "cboInputFile", "Input File *"},         {"lblOutputType", "cboOutputType", "Output Type *"},
               {"lblActivity", "cboActivity", "Activity *"},             {"lblScale", "txtScale", "Scale"},
               {"lblOutputPath", "txtOutputPath", "Output Path"}};
  for (const Pair& p : pairs) {
    QWidget* b = control<QWidget>(p.box);
    EXPECT_EQ(control<QLabel>(p.label)->buddy(), b) << p.label;
    EXPECT_EQ(b->accessibleName(), p.name) << p.box;
  }
}

TEST_F(WindowFixture, OutputTypeAndActivityShowAndHideControls) {
  auto* open = control<QPushButton>("cmdOpen");
  auto* printer_list = control<QComboBox>("cboPrinters");
  EXPECT_FALSE(open->isHidden());
  EXPECT_TRUE(printer_list->isHidden());
  choose("cboOutputType", 5);  // PGL
  EXPECT_TRUE(open->isHidden());
  choose("cboOutputType", 6);  // DXF
  EXPECT_TRUE(open->isHidden());
  choose("cboOutputType", 3);  // PDF + Print All to...
  EXPECT_FALSE(open->isHidden());
  EXPECT_FALSE(printer_list->isHidden());
  EXPECT_EQ(printer_list->currentText(), "Office");
  choose("cboActivity", 1);
  EXPECT_FALSE(control<QComboBox>("cboInputFile")->isEnabled());
  choose("cboActivity", 0);
  EXPECT_TRUE(control<QComboBox>("cboInputFile")->isEnabled());
}

TEST_F(WindowFixture, ClosingAfterAFirstStartAsksToSave) {
  auto* input = control<QComboBox>("cboInputFile");
  QString before = input->currentText();
  control<QPushButton>("cmdFile2")->click();  // the dialog is cancelled
  EXPECT_EQ(files.requests.size(), 1u);
  EXPECT_EQ(input->currentText(), before);

  box.answers = {Answer::Cancel};
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->isVisible());
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].title, "Save new Choices before Closing?");
  EXPECT_NE(box.shown[0].text.find("(Input File, Output Path changed)"), std::string::npos);
  EXPECT_EQ(box.shown[0].text.find("Veltrax path"), std::string::npos);

  box.answers = {Answer::Yes};
  EXPECT_TRUE(w->close());
  EXPECT_EQ(settings.get("Settings", "InputFile"), home.str() + "/vlx7000/Examples/Examples.TXT");
}

TEST_F(WindowFixture, TypingInABoxIsAChange) {
  auto* scale = control<QLineEdit>("txtScale");
  scale->setFocus();
  scale->insert("250");
  emit scale->textEdited("250");
  EXPECT_EQ(w->form().txtScale, "250");
  EXPECT_NE(w->form().ChangedChoices.find(", Scale"), std::string::npos);
}

TEST_F(WindowFixture, RunWindowShowsWhileTheEngineWorks) {
  // A stand-in engine that takes a moment; the engine runs without a terminal.
  fakes::write_standin_script(home.path() / "vlx7000");
  std::string script = testing_support::read_file(home.path() / "vlx7000" / "profile");
  script.insert(script.find("[ -e no-target ]"), "sleep 1\n");
  testing_support::write_file(home.path() / "vlx7000" / "profile", script);
  settings.set("Settings", "Terminal", "");
  std::filesystem::create_directories(home.path() / "vlx7000" / "Examples");
  testing_support::write_file(home.path() / "vlx7000" / "Examples" / "Examples.TXT", "holes\n");
  testing_support::write_file(home.path() / "vlx7000" / "STANDARD.SET", "set\n");
  QtProcess process;
  fakes::RecordingLauncher launcher;
  ports.process = &process;
  ports.launcher = &launcher;
  w = std::make_unique<frmMain>(ports);
  w->Load();
  w->form().SetOutputPath("");
  control<QPushButton>("cmdRun")->click();
  for (const auto& m : box.shown) ADD_FAILURE() << "unexpected question: " << m.title;
  frmRun* run = w->run_window();
  EXPECT_TRUE(run->isVisible());
  EXPECT_FALSE(w->isVisible());
  if (qEnvironmentVariableIsSet("QUORVEL_SHOT")) {
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 50);
    QGuiApplication::primaryScreen()->grabWindow(0).save(qEnvironmentVariable("QUORVEL_SHOT"));
  }
  QElapsedTimer t;
  t.start();
  while (w->form().Running() && t.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_FALSE(w->form().Running());
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(run->isVisible());  // the target is there and no pause was asked for
  EXPECT_TRUE(box.shown.empty());
  ASSERT_EQ(launcher.started.size(), 1u);
  EXPECT_EQ(launcher.started[0].argv,
            (std::vector<std::string>{"xdg-open", home.str() + "/vlx7000/Examples/Examples.PDF"}));
  EXPECT_NE(run->findChild<QPlainTextEdit*>("txtLog")->toPlainText().indexOf("stand-in engine: @runfile.dat"), -1);
}

TEST(QtSettings, IniFileInTheUsersConfigFolder) {
  TempDir config;
  ScopedEnv xdg("XDG_CONFIG_HOME", config.str());
  QStandardPaths::setTestModeEnabled(false);
  {
    QtSettingsStore s;
    s.set("Settings", "Veltrax Folder", "/home/u/vlx7000/");
    s.set("Reminders", "7023", "2026-12-10");
    EXPECT_EQ(s.get("Settings", "Veltrax Folder"), "/home/u/vlx7000/");
    EXPECT_EQ(s.get("Settings", "Missing", "x"), "x");
    s.remove("Settings", "Missing");
  }
  std::string ini = testing_support::read_file(config.path() / "quorvel" / "quorvel.ini");
  EXPECT_NE(ini.find("[Settings]"), std::string::npos) << ini;
  EXPECT_NE(ini.find("[Reminders]\n7023=2026-12-10"), std::string::npos) << ini;
}

// Alt and a letter reaches one control each: no two captions of the window share an access key, and
// Alt+N opens the Settings menu.
TEST_F(WindowFixture, AccessKeysAreDistinct) {
  std::map<QChar, QString> seen;
  for (QWidget* c : w->findChildren<QWidget*>()) {
    if (c->window() != w.get()) continue;  // the run window is a window of its own
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(c)) text = b->text();
    else if (auto* l = qobject_cast<QLabel*>(c)) text = l->text();
    const QString marks = QString(text).replace("&&", "");
    const qsizetype at = marks.indexOf('&');
    if (at < 0 || at + 1 >= marks.size()) continue;
    const QChar key = marks[at + 1].toUpper();
    EXPECT_EQ(seen.count(key), 0u) << "Alt+" << QString(key).toStdString() << ": " << text.toStdString() << " and "
                                   << seen[key].toStdString();
    seen[key] = text;
  }
  EXPECT_EQ(control<QPushButton>("cmdSettings")->text(), "Setti&ngs");
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  QTest::keyClick(w.get(), Qt::Key_N, Qt::AltModifier);
  auto* menu = w->findChild<QMenu*>("mnuSettings");
  ASSERT_NE(menu, nullptr);
  // The access key clicks the button as a short animation, after a timer: the menu is awaited.
  guitest::settle_until([&] { return menu->isVisible(); });
  EXPECT_TRUE(menu->isVisible());
  menu->hide();
}

}  // namespace
}  // namespace quorvel
