// The SET editor window: binds its controls to the logic of SetEditForm (frontend/core/setedit.h), and
// the two borehole-log option dialogs to CompressDialog and SuppressDialog (frontend/core/setbhlog.h).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "frontend/core/setbhlog.h"
#include "frontend/core/setedit.h"
#include "qtports.h"

namespace quorvel {

class frmMain;

// The layout diagram: a page drawn in the diagram's own units (2790 x 4425), with an arrow at each
// measure; a click selects the measure whose rectangle holds it.
class DiagramView : public QWidget {
  Q_OBJECT
 public:
  explicit DiagramView(SetEditForm& form, QWidget* parent);
  QSize sizeHint() const override;
  // The diagram's units of a point of the widget.
  QPoint to_units(const QPointF& p) const;
  std::function<void(QPoint)> clicked;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  SetEditForm& form_;
  QPoint last_;
};

// The logo tab's demonstration page, 210 x 300 mm, y up from its bottom edge.
class LogoCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit LogoCanvas(SetEditForm& form, QWidget* parent);
  QSize sizeHint() const override;
  QPointF to_mm(const QPointF& p) const;
  QRectF page() const;
  std::function<void(QPointF)> moved;
  std::function<void()> clicked;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  SetEditForm& form_;
};

class frmEditSet : public QWidget {
  Q_OBJECT

 public:
  // The editor on the main window's logic; main_window is shown again when the editor closes.
  frmEditSet(const Ports& ports, MainForm& main, frmMain* main_window);
  ~frmEditSet() override;

  SetEditForm& form() { return *form_; }
  // Shows the model's values in the controls again (after the logic changed them).
  void refresh();

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  QPushButton* button(const QString& name, const QString& caption, const QString& tip);
  QLabel* label(const QString& name, const QString& caption, QWidget* buddy);
  QLineEdit* line_edit(const QString& name, const QString& tip = {});
  void build();
  QWidget* build_files_tab();
  QWidget* build_layout_tab();
  QWidget* build_chars_tab();
  QWidget* build_fonts_tab();
  QWidget* build_logo_tab();
  template <typename F>
  void on_event(F f);
  void hand_back();

  QtWindowHost host_;
  frmMain* main_window_;
  std::unique_ptr<SetEditForm> form_;
  bool refreshing_ = false;
  bool handed_back_ = false;

  QLineEdit* txtDescription = nullptr;
  QTabWidget* SSTab1 = nullptr;
  std::array<QLineEdit*, kFirstItems> txtItem{};
  std::array<QLineEdit*, kFirstItems> txtmm{};
  std::array<QLineEdit*, kSecondItems> txtChar{};
  std::array<QRadioButton*, 2> optPgSeq{};
  std::array<QComboBox*, 4> cboFont{}, cboFontSize{}, cboSymbolSet{};
  std::array<QCheckBox*, 4> chkBold{}, chkItalic{};
  std::array<QLineEdit*, 4> txtFont{};
  QLabel* lblFont4 = nullptr;
  DiagramView* picDemo = nullptr;
  std::array<QLineEdit*, 7> txtLogo{};
  std::array<QRadioButton*, 6> optTransform{};
  std::array<QRadioButton*, 2> optDemoType{};
  QCheckBox* chkLogoCentre = nullptr;
  LogoCanvas* picLogoCanvas = nullptr;
  QLabel* picLogoNote = nullptr;
  QLabel* lblXY = nullptr;
};

// "Compress Borehole Log Options": edits the compress code.
class frmSetBHLogCompress : public QDialog {
  Q_OBJECT
 public:
  frmSetBHLogCompress(const Ports& ports, const std::string& code, QWidget* parent);
  // The new code when OK was pressed.
  std::optional<std::string> result;
  CompressDialog& dialog() { return d_; }
  void refresh();

 private:
  CompressDialog d_;
  QLineEdit* txtLMarg = nullptr;
  QLineEdit* txtLMargmm = nullptr;
  QLineEdit* txtColumns = nullptr;
  std::array<QRadioButton*, 3> opt2page{};
  std::array<QLabel*, 3> picDemo{};
  QLabel* lblNote = nullptr;
};

// "Borehole Log Suppress Options": edits the suppress code.
class frmSetBHLogSuppress : public QDialog {
  Q_OBJECT
 public:
  frmSetBHLogSuppress(const Ports& ports, QWidget* parent);
  // Loads the code; false when the user chose not to go on with a bad one.
  bool load(const std::string& code);
  std::optional<std::string> result;
  SuppressDialog& dialog() { return d_; }

 private:
  SuppressDialog d_;
  std::array<QCheckBox*, 5> boxes{};
};

}  // namespace quorvel
