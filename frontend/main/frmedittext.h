// The text editor window frmEditText: binds its text box, menus and toolbar to the logic of EditForm
// (frontend/core/editform.h).
//
// The box (a QPlainTextEdit) shows the editor's bytes as edittext.h maps them. A change the user makes
// is read back from the box as bytes and given to the logic (txtEdit_KeyPress before a key's change,
// txtEdit_Change after it); a change the logic makes is applied to the box from its list of box edits,
// so a character the box holds beyond the bytes (pasted from another program) stays where nothing
// touched it. The box's own undo is off: the logic's undo ring is the editor's.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QToolBar>
#include <memory>
#include <vector>

#include "frontend/core/editbox.h"
#include "frontend/core/editform.h"
#include "frmpreview.h"
#include "frmreplace.h"
#include "frmspell.h"
#include "qtports.h"

namespace quorvel {

class frmMain;

class frmEditText : public QMainWindow {
  Q_OBJECT

 public:
  frmEditText(const Ports& ports, frmMain& main);
  ~frmEditText() override;

  // The main window's EDIT: hides the main window, shows the editor (made once) on the file ("" for a
  // new file) with the main window's SET file and recent input files.
  static frmEditText* OpenFor(frmMain& main, const std::string& file);

  EditForm& form() { return *form_; }
  QPrinter& printer() { return *printer_; }
  QPlainTextEdit* box() { return txtEdit; }
  // Shows the logic's state: applies its box edits, the selection, the menus' states.
  void refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  // The editor's activation brings its find and replace box and its Spelling window back to the front.
  void changeEvent(QEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void build();
  QAction* action(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key = {});
  template <typename F>
  void on_event(F f);
  void pull_selection();
  void user_changed();
  void apply_font();
  void capture_placement();

  std::string listing_date() const;

  frmMain& main_;
  QtWindowHost host_;
  std::unique_ptr<EditFormBox> edit_box_;
  frmSpell* spell_ = nullptr;
  frmReplace* replace_ = nullptr;
  frmPreview* preview_ = nullptr;
  std::unique_ptr<QPrinter> printer_;  // Print Setup's choices, used by the preview and Print All
  std::unique_ptr<EditForm> form_;
  bool applying_ = false;
  bool closing_ = false;

  QPlainTextEdit* txtEdit = nullptr;
  QToolBar* Toolbar1 = nullptr;
  QPushButton* cmdExit_Run = nullptr;
  QMenu* mnuFile = nullptr;
  QMenu* mnuView = nullptr;
  QMenu* mnuEdit = nullptr;
  QMenu* mnuIns = nullptr;
  QMenu* mnuChar = nullptr;
  QMenu* mnuSettings = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuFileFiles[10] = {};
  QAction* mnuEditUndo = nullptr;
  QAction* mnuEditRedo = nullptr;
  QAction* mnuEditCut = nullptr;
  QAction* mnuInsSymbol[13] = {};
  QAction* mnuViewZoom100 = nullptr;
  QAction* mnuSettingsNNNS = nullptr;
  QAction* mnuSettingsPause = nullptr;
  QAction* mnuSettingsTidyUp = nullptr;
  std::vector<QKeySequence> shortcuts_;  // the window's keys, which the box must not take for itself
};

}  // namespace quorvel
