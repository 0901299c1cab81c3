// The Spelling window: binds its controls to the logic of SpellForm (frontend/core/spell.h). Modeless,
// over the text editor; it closes itself when the check ends.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "frontend/core/spell.h"
#include "qtports.h"

namespace quorvel {

// Windows-1252 bytes as text and back (characters the code page lacks become "?").
QString FromWindows1252(const std::string& bytes);
std::string ToWindows1252(const QString& text);

class frmSpell : public QWidget {
  Q_OBJECT

 public:
  frmSpell(const Ports& ports, SpellEditor& editor, const std::string& engine_folder,
           const std::string& program_folder, QWidget* parent = nullptr);
  ~frmSpell() override;

  // Shows the window and starts the check (the first showing loads the dictionary).
  void Spell();
  SpellForm& form() { return *form_; }
  void refresh();

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool event(QEvent* e) override;

 private:
  template <typename F>
  void on_event(F f);
  void place();

  Ports ports_;
  QtWindowHost host_;
  std::unique_ptr<SpellForm> form_;
  bool loaded_ = false, refreshing_ = false;

  QLineEdit* txtNotInDict = nullptr;
  QLineEdit* txtChangeTo = nullptr;
  QListWidget* lstSugg = nullptr;
  QComboBox* cboLang = nullptr;
  QPushButton* cmdIgnoreResume = nullptr;
  QPushButton* cmdIgnoreAll = nullptr;
  QPushButton* cmdChange = nullptr;
  QPushButton* cmdChangeAll = nullptr;
  QPushButton* cmdAdd = nullptr;
  QPushButton* cmdAddLC = nullptr;
  QPushButton* cmdEditDic = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace quorvel
