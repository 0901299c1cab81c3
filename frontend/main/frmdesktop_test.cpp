// Window tests on a desktop: a virtual X screen with a window manager (scripts/xvfb-wm.sh runs them),
// where windows get frames and title bars as on a user's screen. The places of the windows across
// openings and restarts (the settings file is real: quorvel.ini in XDG_CONFIG_HOME), the keys of
// Find/Replace, access keys of every menu and window, and the Tab order of the main window and the dialogs.
//
// QUORVEL_RESTART=save|fit runs the two halves of a restart (desktop_restart.sh): "save" leaves the
// windows big and far right on a big screen, "fit" opens them again on a smaller screen (or at a scale
// factor) and finds each inside the screen. QUORVEL_SHOTS=DIR saves screenshots there.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QtTest/QTest>
#include <csignal>
#include <filesystem>
#include <map>

#include "frmeditset.h"
#include "frmedittext.h"
#include "frmmain.h"
#include "frmreplace.h"
#include "frmrun.h"
#include "frmspell.h"
#include "frontend/core/globals.h"
#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/process.h"
#include "frontend/core/testing/textbox.h"
#include "guitest.h"
#include "placement.h"
#include "testsupport.h"

namespace fs = std::filesystem;
using quorvel::guitest::settle;
using quorvel::guitest::settle_until;
using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace quorvel {
namespace {

std::string restart_half() { return qEnvironmentVariable("QUORVEL_RESTART").toStdString(); }

std::string text_of(const QRect& r) {
  return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
         std::to_string(r.height());
}

// How long a test waits for the window manager or the X server to do what it was asked: a hang guard,
// generous for a loaded machine (the waits end as soon as the thing waited for is done).
constexpr int kWaitMs = 60000;

// Waits until the window is shown on the screen (for what needs no frame: its layout, its keys).
void wait_shown(QWidget* w) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w, kWaitMs)) << w->objectName().toStdString() << " never shown";
}

// Waits until the window manager has framed and placed the window: shown on the screen, frame known
// (wider than the window), place unchanged over four looks 25 ms apart.
void wait_framed(QWidget* w) {
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w, kWaitMs)) << w->objectName().toStdString() << " never shown";
  QRect last;
  int same = 0;
  ASSERT_TRUE(settle_until(
      [&] {
        settle(25);
        const QRect f = w->frameGeometry();
        same = f == last && f != w->geometry() ? same + 1 : 0;
        last = f;
        return same >= 4;
      },
      kWaitMs))
      << w->objectName().toStdString() << " never framed by the window manager: frame "
      << text_of(w->frameGeometry()) << ", window " << text_of(w->geometry());
}

void shot(const char* name) {
  const QString dir = qEnvironmentVariable("QUORVEL_SHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  settle(200);
  QGuiApplication::primaryScreen()->grabWindow(0).save(dir + "/" + name + ".png");
}


// The frame lies inside the screen's available area (after the window has been fitted again to the
// frame the window manager gave it).
void expect_on_screen(QWidget* w) {
  wait_framed(w);
  // A window is fitted again once its frame is known: wait for it to stand inside.
  const auto inside = [w] { return w->screen()->availableGeometry().contains(w->frameGeometry()); };
  settle_until(inside, kWaitMs);
  const QRect area = w->screen()->availableGeometry();
  EXPECT_TRUE(inside()) << w->objectName().toStdString() << " at " << text_of(w->frameGeometry()) << " on "
                        << text_of(area);
}

// The engine folder and home a main window starts with; the settings are the real settings file.
struct Desktop : ::testing::Test {
  TempDir home;
  ScopedEnv drive_c{"VLX_DRIVE_C", home.str()};
  QtSettingsStore settings;
  fakes::ScriptedMessageBox box;
  fakes::ScriptedFileDialog files;
  fakes::ScriptedInputBox input;
  fakes::RecordingLauncher launcher;
  fakes::ScriptProcess process;
  Ports ports;
  fs::path engine;
  std::unique_ptr<frmMain> w;

  Desktop() {
    reset_globals();
    engine = home.path() / "vlx7000";
    fakes::write_standin_script(engine);
    for (const char* name : {"prompts.eng", "PROVOCAB.ENG", "CONVOCAB.ENG", "LOGO0.PDF", "STANDARD.SET"})
      fs::copy_file(testing_support::data_dir() / name, engine / name);
    fs::create_directories(engine / "LJ4");
    fs::create_directories(engine / "Examples");
    testing_support::write_file(engine / "Examples" / "Examples.TXT", "Hole Number : BH01\r\n/\r\n1.0  Sand.\r\n/\r\n//\r\n///\r\n");
    testing_support::write_file(engine / "English.DIC", "the\r\nhouse\r\nis\r\nbig\r\n");
    fs::create_directories(home.path() / "VLXFILES");
  }
  void SetUp() override {
    // The tests write and clear the settings file: never the one of the person running them.
    if (!qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) GTEST_SKIP() << "XDG_CONFIG_HOME names no settings folder of its own";
    if (restart_half().empty()) QSettings(QSettings::IniFormat, QSettings::UserScope, "quorvel", "quorvel").clear();
    settings.set("Settings", "Terminal", "");
    settings.set("Settings", "Veltrax Folder", engine.string() + "/");
    settings.set("Settings", "InputFile", engine.string() + "/Examples/Examples.TXT");
    ports.settings = &settings;
    ports.msgbox = &box;
    ports.files = &files;
    ports.inputbox = &input;
    ports.launcher = &launcher;
    ports.process = &process;
  }
  ~Desktop() override {
    for (QWidget* t : QApplication::topLevelWidgets())
      if (qobject_cast<frmEditSet*>(t)) t->deleteLater();
    w.reset();
    settle();
  }
  frmMain* start() {
    w = std::make_unique<frmMain>(ports);
    w->Load();
    wait_framed(w.get());
    return w.get();
  }
  // Save & Exit: the choices and the place are saved, the window closes.
  void save_and_exit() {
    w->findChild<QPushButton*>("cmdExit")->click();
    settle();
    w.reset();
  }
  frmEditText* editor() {
    frmEditText* ed = frmEditText::OpenFor(*w, engine.string() + "/Examples/Examples.TXT");
    wait_framed(ed);
    return ed;
  }
  frmEditSet* set_editor() {
    w->findChild<QPushButton*>("cmdEditSetupFile")->click();
    frmEditSet* open = nullptr;
    settle_until([&] {
      for (QWidget* t : QApplication::topLevelWidgets())
        if (auto* e = qobject_cast<frmEditSet*>(t); e && e->isVisible()) open = e;
      return open != nullptr;
    }, kWaitMs);
    if (!open) {
      ADD_FAILURE() << "no SET editor";
      return nullptr;
    }
    wait_framed(open);
    return open;
  }
};

// A window opened again stands where it was closed, frame and all, every time: the place is kept
// without the frame the window manager adds.
TEST_F(Desktop, WindowsOpenWhereTheyClosed) {
  if (!restart_half().empty()) GTEST_SKIP();
  struct Place {
    const char* what;
    QRect first;
    std::vector<QRect> again;
  };
  std::vector<Place> places;

  // The main window, through Save & Exit and a new start.
  {
    Place p{"main window", {}, {}};
    start()->move(140, 90);
    wait_framed(w.get());
    p.first = w->frameGeometry();
    for (int i = 0; i < 3; ++i) {
      save_and_exit();
      start();
      p.again.push_back(w->frameGeometry());
    }
    places.push_back(p);
  }
  // The main window hides while an editor is open and shows again in its place.
  Place back{"main window after the editors", w->frameGeometry(), {}};
  // The text editor, closed and opened from the main window.
  {
    Place p{"text editor", {}, {}};
    frmEditText* ed = editor();
    ed->setGeometry(200, 120, 900, 600);
    wait_framed(ed);
    p.first = ed->frameGeometry();
    for (int i = 0; i < 3; ++i) {
      ed->close();
      settle();
      ed = editor();
      p.again.push_back(ed->frameGeometry());
    }
    places.push_back(p);

    // Spelling, opened from the editor (F7) and closed with Cancel, each time a new window.
    Place s{"Spelling", {}, {}};
    auto spelling = [&]() -> frmSpell* {
      ed->form().SetText("teh hous is big");
      ed->form().SetSelection(0, 0);
      ed->refresh();
      for (QAction* a : ed->findChildren<QAction*>())
        if (a->objectName() == "mnuEditSpell") a->trigger();
      settle_until([&] { return ed->findChild<frmSpell*>() != nullptr; }, kWaitMs);
      auto* sp = ed->findChild<frmSpell*>();
      if (!sp) return nullptr;
      wait_framed(sp);
      return sp;
    };
    frmSpell* sp = spelling();
    ASSERT_NE(sp, nullptr);
    sp->move(600, 300);
    wait_framed(sp);
    s.first = sp->frameGeometry();
    for (int i = 0; i < 3; ++i) {
      sp->findChild<QPushButton*>("cmdCancel")->click();
      settle_until([&] { return ed->findChild<frmSpell*>() == nullptr; }, kWaitMs);
      ASSERT_EQ(ed->findChild<frmSpell*>(), nullptr);  // closed and gone
      sp = spelling();
      ASSERT_NE(sp, nullptr);
      s.again.push_back(sp->frameGeometry());
    }
    sp->findChild<QPushButton*>("cmdCancel")->click();
    places.push_back(s);

    // Find/Replace: hidden by Cancel and shown again, then made anew with the next editor.
    Place r{"Find/Replace", {}, {}};
    auto find = [&]() -> frmReplace* {
      for (QAction* a : ed->findChildren<QAction*>())
        if (a->objectName() == "mnuEditReplace") a->trigger();
      settle_until([&] { return ed->findChild<frmReplace*>() != nullptr; }, kWaitMs);
      auto* box = ed->findChild<frmReplace*>();
      if (box) wait_framed(box);
      return box;
    };
    frmReplace* fr = find();
    ASSERT_NE(fr, nullptr);
    fr->move(500, 420);
    wait_framed(fr);
    r.first = fr->frameGeometry();
    for (int i = 0; i < 2; ++i) {
      fr->findChild<QPushButton*>("cmdCancel")->click();
      settle();
      fr = find();
      r.again.push_back(fr->frameGeometry());
    }
    ed->close();
    settle();
    ed = editor();
    fr = find();
    ASSERT_NE(fr, nullptr);
    r.again.push_back(fr->frameGeometry());
    places.push_back(r);
    ed->close();
    settle();
    wait_framed(w.get());
    back.again.push_back(w->frameGeometry());
  }
  // The SET editor opens over the main window, each time in the same place.
  {
    Place p{"SET editor", {}, {}};
    frmEditSet* e = set_editor();
    ASSERT_NE(e, nullptr);
    p.first = e->frameGeometry();
    for (int i = 0; i < 2; ++i) {
      e->findChild<QPushButton*>("cmdCancel")->click();
      settle();
      wait_framed(w.get());
      back.again.push_back(w->frameGeometry());
      e = set_editor();
      ASSERT_NE(e, nullptr);
      p.again.push_back(e->frameGeometry());
    }
    e->findChild<QPushButton*>("cmdCancel")->click();
    settle();
    places.push_back(p);
  }
  places.push_back(back);
  for (const Place& p : places) {
    SCOPED_TRACE(p.what);
    EXPECT_GT(p.first.width(), 0);
    for (const QRect& a : p.again) EXPECT_EQ(text_of(a), text_of(p.first));
  }
}

// A window the window manager frames late (a loaded machine) still ends inside the screen with the frame
// it gets: shown beyond the screen's top left corner while the window manager is held up, it is fitted
// with the allowance for a frame at once and, when framed well after that, again with the real frame.
// Run at QT_SCALE_FACTOR=0.5 (desktop_gui_framed_late) the real title bar is taller than the allowance.
TEST_F(Desktop, AWindowFramedLateIsFittedToItsFrame) {
  if (!restart_half().empty()) GTEST_SKIP();
  const pid_t wm = static_cast<pid_t>(qEnvironmentVariableIntValue("XVFB_WM_PID"));
  if (wm <= 0) GTEST_SKIP() << "XVFB_WM_PID names no window manager (run under scripts/xvfb-wm.sh)";
  frmRun run;
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  run.move(area.left() - 100, area.top() - 100);
  {
    // The window manager goes on whatever happens below.
    struct Held {
      pid_t pid;
      ~Held() { ::kill(pid, SIGCONT); }
    } held{wm};
    ASSERT_EQ(::kill(wm, SIGSTOP), 0);
    run.open("Veltrax runs.", [] {});
    settle(1000);  // far longer than a window manager takes to frame a window on an idle machine
    EXPECT_EQ(text_of(run.frameGeometry()), text_of(run.geometry())) << "framed while the window manager was held up";
    EXPECT_TRUE(area.contains(run.geometry())) << text_of(run.geometry()) << " on " << text_of(area);
  }
  wait_framed(&run);
  const auto inside = [&] { return area.contains(run.frameGeometry()); };
  settle_until(inside, kWaitMs);
  EXPECT_TRUE(inside()) << "frame " << text_of(run.frameGeometry()) << ", window " << text_of(run.geometry()) << " on "
                        << text_of(area);
  run.finished("", false);
}

// Enter in "Find what" finds, Esc hides the box.
TEST_F(Desktop, EnterFindsAndEscClosesFindReplace) {
  if (!restart_half().empty()) GTEST_SKIP();
  fakes::EditBox text("Sand and SAND and sand");
  frmReplace fr(ports, text);
  fr.FindReplace("F");
  wait_framed(&fr);
  auto* find = fr.findChild<QLineEdit*>("txtFind");
  fr.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&fr, kWaitMs));
  find->setFocus();
  QTest::keyClicks(find, "sand");
  QTest::keyClick(find, Qt::Key_Return);
  EXPECT_EQ(fr.findChild<QLabel*>("lblFound")->text(), "Found at 10");  // the search starts after the caret
  QTest::keyClick(find, Qt::Key_Return);
  EXPECT_EQ(fr.findChild<QLabel*>("lblFound")->text(), "Found at 19");
  QTest::keyClick(find, Qt::Key_Escape);
  settle();
  EXPECT_FALSE(fr.isVisible());
}

// The captions of one scope that carry an access key ("&x"): one letter, one control.
struct Scope {
  std::string name;
  std::map<QChar, QString> seen;
  std::vector<std::string>* clashes;
  void add(const QString& caption) {
    const QString marks = QString(caption).replace("&&", "");
    const qsizetype at = marks.indexOf('&');
    if (at < 0 || at + 1 >= marks.size()) return;
    const QChar key = marks[at + 1].toUpper();
    if (seen.count(key))
      clashes->push_back(name + ": Alt+" + QString(key).toStdString() + " in \"" + caption.toStdString() + "\" and \"" +
                         seen[key].toStdString() + "\"");
    else
      seen[key] = caption;
  }
};

void scan_menu(QMenu* menu, const std::string& name, std::vector<std::string>& clashes) {
  Scope s{name, {}, &clashes};
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    s.add(a->text());
    if (a->menu()) scan_menu(a->menu(), name + " > " + PlainCaption(a->text()).toStdString(), clashes);
  }
}

// The tab pages a widget stands on (tab widget and page index), outermost first.
std::vector<std::pair<QTabWidget*, int>> pages_of(QWidget* c, QWidget* window) {
  std::vector<std::pair<QTabWidget*, int>> pages;
  for (QWidget* p = c; p && p != window; p = p->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(p->parentWidget() ? p->parentWidget()->parentWidget() : nullptr))
      if (int i = tabs->indexOf(p); i >= 0) pages.insert(pages.begin(), {tabs, i});
  return pages;
}

// Every caption of a window with the others that show at the same time: controls on two pages of one
// tab widget never do.
void scan_window(QWidget* window, std::vector<std::string>& clashes) {
  const std::string name = window->objectName().toStdString();
  struct Caption {
    QString text;
    std::vector<std::pair<QTabWidget*, int>> pages;
  };
  std::vector<Caption> captions;
  for (QWidget* c : window->findChildren<QWidget*>()) {
    if (c->window() != window || qobject_cast<QMenu*>(c)) continue;
    if (auto* b = qobject_cast<QAbstractButton*>(c)) captions.push_back({b->text(), pages_of(c, window)});
    else if (auto* l = qobject_cast<QLabel*>(c); l && l->buddy()) captions.push_back({l->text(), pages_of(c, window)});
    else if (auto* g = qobject_cast<QGroupBox*>(c)) captions.push_back({g->title(), pages_of(c, window)});
    else if (auto* t = qobject_cast<QTabWidget*>(c))
      for (int i = 0; i < t->count(); ++i) captions.push_back({t->tabText(i), pages_of(t, window)});
  }
  if (auto* mw = qobject_cast<QMainWindow*>(window); mw && mw->menuBar()) {
    for (QAction* a : mw->menuBar()->actions()) {
      captions.push_back({a->text(), {}});
      if (a->menu()) scan_menu(a->menu(), name + " > " + PlainCaption(a->text()).toStdString(), clashes);
    }
  }
  for (QMenu* m : window->findChildren<QMenu*>())
    if (!m->parentWidget() || m->parentWidget() == window) scan_menu(m, name + " > " + m->objectName().toStdString(), clashes);
  auto together = [](const Caption& a, const Caption& b) {
    for (const auto& [tabs, page] : a.pages)
      for (const auto& [tabs2, page2] : b.pages)
        if (tabs == tabs2 && page != page2) return false;
    return true;
  };
  for (size_t i = 0; i < captions.size(); ++i) {
    Scope s{name, {}, &clashes};
    s.add(captions[i].text);
    for (size_t j = i + 1; j < captions.size(); ++j)
      if (together(captions[i], captions[j])) {
        std::vector<std::string> found;
        Scope pair{name, s.seen, &found};
        pair.add(captions[j].text);
        if (!found.empty()) clashes.push_back(found[0]);
      }
  }
}

TEST_F(Desktop, AccessKeysAreUniqueInEveryMenuAndWindow) {
  if (!restart_half().empty()) GTEST_SKIP();
  std::vector<std::string> clashes;
  int windows = 0;
  start();
  scan_window(w.get(), clashes);
  scan_window(w->run_window(), clashes);
  windows += 2;
  frmEditText* ed = editor();
  scan_window(ed, clashes);
  fakes::EditBox text("x");
  frmReplace fr(ports, text);
  fr.FindReplace("R");
  scan_window(&fr, clashes);
  fakes::TextBox words("teh");
  frmSpell sp(ports, words, engine.string() + "/", engine.string() + "/");
  scan_window(&sp, clashes);
  windows += 3;
  ed->close();
  settle();
  if (frmEditSet* e = set_editor()) {
    scan_window(e, clashes);
    ++windows;
    frmSetBHLogCompress compress(ports, "603", nullptr);
    scan_window(&compress, clashes);
    frmSetBHLogSuppress suppress(ports, nullptr);
    suppress.load("110");
    scan_window(&suppress, clashes);
    windows += 2;
    e->findChild<QPushButton*>("cmdCancel")->click();
    settle();
  }
  EXPECT_EQ(windows, 8);
  for (const std::string& c : clashes) ADD_FAILURE() << c;
}

// The controls Tab stops at, from the window's first, in the order Tab goes.
std::vector<QWidget*> tab_chain(QWidget* window) {
  std::vector<QWidget*> chain;
  QWidget* first = window;
  QWidget* c = first->nextInFocusChain();
  while (c && c != first && chain.size() < 200) {
    if (c->isVisible() && c->isEnabled() && (c->focusPolicy() & Qt::TabFocus) && c->window() == window &&
        !c->focusProxy() && !qobject_cast<QLineEdit*>(c->parentWidget()) && !qobject_cast<QComboBox*>(c->parentWidget()))
      chain.push_back(c);
    c = c->nextInFocusChain();
  }
  return chain;
}

// Tab goes through a window's controls in the order they stand on the screen: row by row (a control
// whose middle lies within the row before starts no new row), left to right.
void expect_tab_follows_the_screen(QWidget* window, const char* what, size_t least) {
  const std::vector<QWidget*> chain = tab_chain(window);
  EXPECT_GE(chain.size(), least) << what;
  auto middle = [&](QWidget* x) { return x->mapTo(window, x->rect().center()); };
  auto name = [](QWidget* x) {
    return x->objectName().isEmpty() ? std::string(x->metaObject()->className()) : x->objectName().toStdString();
  };
  for (size_t i = 1; i < chain.size(); ++i) {
    const QPoint a = middle(chain[i - 1]), b = middle(chain[i]);
    const bool same_row = std::abs(a.y() - b.y()) < chain[i]->height() / 2 + 2;
    const bool after = same_row ? b.x() > a.x() : b.y() > a.y();
    EXPECT_TRUE(after) << what << ": " << name(chain[i - 1]) << " then " << name(chain[i]);
  }
}

TEST_F(Desktop, TabFollowsTheScreenInTheMainWindow) {
  if (!restart_half().empty()) GTEST_SKIP();
  start();
  expect_tab_follows_the_screen(w.get(), "main window", 20);
  shot("main-window");
}

// Find/Replace, every page of the SET editor (with the description above and the buttons below it) and
// the borehole-log option dialogs. (Spelling goes down its column of boxes, then its buttons.)
TEST_F(Desktop, TabFollowsTheScreenInTheDialogs) {
  if (!restart_half().empty()) GTEST_SKIP();
  start();
  fakes::EditBox text("x");
  frmReplace fr(ports, text);
  fr.FindReplace("R");
  wait_shown(&fr);
  expect_tab_follows_the_screen(&fr, "Find/Replace", 7);
  if (frmEditSet* e = set_editor()) {
    auto* tabs = e->findChild<QTabWidget*>("SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      settle();
      expect_tab_follows_the_screen(e, ("SET editor, " + PlainCaption(tabs->tabText(i)).toStdString()).c_str(), 5);
    }
    frmSetBHLogCompress compress(ports, "603", nullptr);
    compress.show();
    wait_shown(&compress);
    expect_tab_follows_the_screen(&compress, "Compress", 5);
    compress.close();
    frmSetBHLogSuppress suppress(ports, nullptr);
    suppress.load("110");
    suppress.show();
    wait_shown(&suppress);
    expect_tab_follows_the_screen(&suppress, "Suppress", 5);
    suppress.close();
    e->findChild<QPushButton*>("cmdCancel")->click();
    settle();
  }
}

// The box shows on the screen what it holds: what it paints now is what the screen has, or comes to have
// (the X server may show it late). A box that is never repainted fails after the whole wait.
bool painted_as_held(QWidget* box) {
  const QRect inner = box->rect().adjusted(3, 3, -3, -3);  // the text, not the frame's rounded corners
  const QImage held = box->grab(inner).toImage().convertToFormat(QImage::Format_RGB32);
  const QPoint at = box->mapToGlobal(inner.topLeft());
  QImage shown;
  settle_until([&] {
    settle(25);
    shown = box->screen()->grabWindow(0, at.x(), at.y(), inner.width(), inner.height()).toImage().convertToFormat(QImage::Format_RGB32);
    return held == shown;
  }, kWaitMs);
  if (held != shown && !qEnvironmentVariable("QUORVEL_SHOTS").isEmpty()) {
    held.save(qEnvironmentVariable("QUORVEL_SHOTS") + "/held-" + box->objectName() + ".png");
    shown.save(qEnvironmentVariable("QUORVEL_SHOTS") + "/shown-" + box->objectName() + ".png");
  }
  return held == shown;
}

// The SET editor's boxes that follow another box show the new value as it is typed: the millimetres
// beside a measure in dots, the description of a font whose size is chosen.
TEST_F(Desktop, SetEditorBoxesFollowAtOnce) {
  if (!restart_half().empty()) GTEST_SKIP();
  start();
  frmEditSet* e = set_editor();
  ASSERT_NE(e, nullptr);
  e->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(e, kWaitMs));
  auto* tabs = e->findChild<QTabWidget*>("SSTab1");
  QTest::keyClick(e, Qt::Key_L, Qt::AltModifier);
  settle();
  ASSERT_EQ(tabs->currentIndex(), 1);
  auto* dots = e->findChild<QLineEdit*>("txtItem6");
  auto* mm = e->findChild<QLineEdit*>("txtmm6");
  ASSERT_TRUE(dots && mm);
  ASSERT_TRUE(painted_as_held(mm));
  dots->setFocus();
  QTest::keyClick(dots, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(dots, "600");
  EXPECT_EQ(mm->text(), "50.8");
  EXPECT_TRUE(painted_as_held(mm)) << "the millimetres box did not show 50.8";

  QTest::keyClick(e, Qt::Key_F, Qt::AltModifier);
  settle();
  ASSERT_EQ(tabs->currentIndex(), 3);
  auto* size = e->findChild<QComboBox*>("cboFontSize1");
  auto* description = e->findChild<QLineEdit*>("txtFont1");
  ASSERT_TRUE(size && description);
  const QString before = description->text();
  size->lineEdit()->setFocus();
  QTest::keyClick(size->lineEdit(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(size->lineEdit(), "12");
  EXPECT_NE(description->text(), before);
  EXPECT_TRUE(description->text().contains("12")) << description->text().toStdString();
  EXPECT_TRUE(painted_as_held(description)) << "the font description did not show the new size";
  shot("set-editor-fonts");
  e->findChild<QPushButton*>("cmdCancel")->click();
  box.answers = {Answer::No};
  settle();
}

// The first half of a restart: every window used big and at the right edge of a big screen.
TEST_F(Desktop, RestartSaveOnABigScreen) {
  if (restart_half() != "save") GTEST_SKIP();
  QSettings(QSettings::IniFormat, QSettings::UserScope, "quorvel", "quorvel").clear();
  settings.set("Settings", "Terminal", "");
  settings.set("Settings", "Veltrax Folder", engine.string() + "/");
  settings.set("Settings", "InputFile", engine.string() + "/Examples/Examples.TXT");
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  start()->move(area.right() - w->frameGeometry().width() + 1, area.top() + 40);
  wait_framed(w.get());
  frmEditText* ed = editor();
  ed->setGeometry(area.right() - 1400, 60, 1400, 900);
  wait_framed(ed);
  for (QAction* a : ed->findChildren<QAction*>())
    if (a->objectName() == "mnuEditReplace") a->trigger();
  settle_until([&] { return ed->findChild<frmReplace*>() != nullptr; }, kWaitMs);
  auto* fr = ed->findChild<frmReplace*>();
  ASSERT_NE(fr, nullptr);
  wait_framed(fr);
  fr->move(area.right() - fr->frameGeometry().width(), area.bottom() - fr->frameGeometry().height());
  wait_framed(fr);
  ed->form().SetText("teh hous");
  ed->form().SetSelection(0, 0);
  ed->refresh();
  for (QAction* a : ed->findChildren<QAction*>())
    if (a->objectName() == "mnuEditSpell") a->trigger();
  settle_until([&] { return ed->findChild<frmSpell*>() != nullptr; }, kWaitMs);
  auto* sp = ed->findChild<frmSpell*>();
  ASSERT_NE(sp, nullptr);
  wait_framed(sp);
  sp->move(area.right() - sp->frameGeometry().width(), area.bottom() - sp->frameGeometry().height());
  wait_framed(sp);
  shot("restart-big-screen");
  ed->form().SetText("");
  ed->form().DataChanged = false;
  ed->close();
  settle();
  save_and_exit();
  EXPECT_FALSE(settings.get("TextEdit", "Geometry").empty());
  EXPECT_FALSE(settings.get("Spell", "Geometry").empty());
  EXPECT_FALSE(settings.get("Replace", "Geometry").empty());
  EXPECT_FALSE(settings.get("Settings", "Geometry").empty());
}

// The second half: on a smaller screen (or at a scale factor) every window opens inside it.
TEST_F(Desktop, RestartEveryWindowFitsTheScreen) {
  if (restart_half() != "fit") GTEST_SKIP();
  start();
  expect_on_screen(w.get());
  frmEditText* ed = editor();
  expect_on_screen(ed);
  ed->form().SetText("teh hous");
  ed->form().SetSelection(0, 0);
  ed->refresh();
  for (QAction* a : ed->findChildren<QAction*>())
    if (a->objectName() == "mnuEditReplace" || a->objectName() == "mnuEditSpell") a->trigger();
  settle_until([&] { return ed->findChild<frmReplace*>() && ed->findChild<frmSpell*>(); }, kWaitMs);
  for (QWidget* box : std::initializer_list<QWidget*>{ed->findChild<frmReplace*>(), ed->findChild<frmSpell*>()}) {
    ASSERT_NE(box, nullptr);
    wait_framed(box);
    expect_on_screen(box);
  }
  shot((qEnvironmentVariable("QUORVEL_SHOT_NAME", "restart-fit") + "-editor").toUtf8().constData());
  ed->form().SetText("");
  ed->form().DataChanged = false;
  ed->close();
  settle();
  frmEditSet* e = set_editor();
  ASSERT_NE(e, nullptr);
  expect_on_screen(e);
  // OK and Cancel within reach.
  const QRect area = e->screen()->availableGeometry();
  for (const char* name : {"cmdOK", "cmdCancel"}) {
    auto* b = e->findChild<QPushButton*>(name);
    ASSERT_NE(b, nullptr);
    const QRect r(b->mapToGlobal(QPoint(0, 0)), b->size());
    EXPECT_TRUE(b->isVisible() && area.contains(r)) << name << " at " << text_of(r) << " on " << text_of(area);
  }
  shot((qEnvironmentVariable("QUORVEL_SHOT_NAME", "restart-fit") + "-set-editor").toUtf8().constData());
  e->findChild<QPushButton*>("cmdCancel")->click();
  settle();
}

}  // namespace
}  // namespace quorvel
