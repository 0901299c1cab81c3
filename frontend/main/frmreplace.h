// The find and replace box: binds its controls to FindReplaceForm (frontend/core/edittools.h). Modeless,
// over the text editor; Cancel hides it and it keeps its state.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "frontend/core/edittools.h"
#include "frontend/core/ports.h"

namespace quorvel {

class frmReplace : public QWidget {
  Q_OBJECT

 public:
  frmReplace(const Ports& ports, EditorBox& editor, QWidget* parent = nullptr);
  ~frmReplace() override;
  void FindReplace(const std::string& mode);
  FindReplaceForm& form() { return *form_; }
  void refresh();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  template <typename F>
  void on_event(F f);

  Ports ports_;
  std::unique_ptr<FindReplaceForm> form_;
  bool placed_ = false, refreshing_ = false;
  QLineEdit* txtFind = nullptr;
  QLineEdit* txtReplace = nullptr;
  QLabel* lblReplace = nullptr;
  QLabel* lblFound = nullptr;
  QPushButton* cmdFind = nullptr;
  QPushButton* cmdReplace = nullptr;
  QPushButton* cmdReplaceAll = nullptr;
  QPushButton* cmdCancel = nullptr;
  QCheckBox* chkMatchCase = nullptr;
  QCheckBox* chkInSelection = nullptr;
};

}  // namespace quorvel
