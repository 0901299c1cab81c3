// The find and replace box.
#include "frmreplace.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>

#include "frmspell.h"
#include "placement.h"
#include "taborder.h"

namespace quorvel {

frmReplace::frmReplace(const Ports& ports, EditorBox& editor, QWidget* parent)
    : QWidget(parent, Qt::Tool), ports_(ports), form_(std::make_unique<FindReplaceForm>(ports, editor)) {
  setObjectName("frmReplace");
  auto* grid = new QGridLayout(this);
  auto button = [this](const char* name, const char* caption, const char* tip) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
  };
  txtFind = new QLineEdit(this);
  txtFind->setObjectName("txtFind");
  txtFind->setToolTip("Text to find? Use ^p=end-of-line, ^t=Tab, \\nnn=ASCII");
  txtReplace = new QLineEdit(this);
  txtReplace->setObjectName("txtReplace");
  txtReplace->setToolTip("Replace with what? Use ^p=end-of-line, ^t=Tab, \\nnn=ASCII");
  auto* lblFind = new QLabel("&Find what:", this);
  lblFind->setBuddy(txtFind);
  lblReplace = new QLabel("Replace &With:", this);
  lblReplace->setObjectName("lblReplace");
  lblReplace->setBuddy(txtReplace);
  lblFound = new QLabel(this);
  lblFound->setObjectName("lblFound");
  cmdFind = button("cmdFind", "Find &Next", "Find item starting at Cursor");
  cmdReplace = button("cmdReplace", "&Replace", "Replace first item found after Cursor");
  cmdReplaceAll = button("cmdReplaceAll", "Replace &All", "Replace all matching items  in Selection or whole File");
  cmdCancel = button("cmdCancel", "&Cancel", "Hide the Search box");
  chkMatchCase = new QCheckBox("&Match Case", this);
  chkMatchCase->setObjectName("chkMatchCase");
  chkInSelection = new QCheckBox("In &Selection", this);
  chkInSelection->setObjectName("chkInSelection");
  chkInSelection->setToolTip("Replace All in Selection (blank for whole File)");
  grid->addWidget(lblFind, 0, 0);
  grid->addWidget(txtFind, 0, 1);
  grid->addWidget(cmdFind, 0, 2);
  grid->addWidget(lblReplace, 1, 0);
  grid->addWidget(txtReplace, 1, 1);
  grid->addWidget(cmdReplace, 1, 2);
  grid->addWidget(chkMatchCase, 2, 0);
  grid->addWidget(chkInSelection, 2, 1);
  grid->addWidget(cmdReplaceAll, 2, 2);
  grid->addWidget(lblFound, 3, 0, 1, 2);
  grid->addWidget(cmdCancel, 3, 2);
  OrderTabByLayout(this);

  connect(txtFind, &QLineEdit::textChanged, this, [this](const QString& t) { form_->txtFind = ToWindows1252(t); });
  connect(txtReplace, &QLineEdit::textChanged, this, [this](const QString& t) { form_->txtReplace = ToWindows1252(t); });
  connect(chkMatchCase, &QCheckBox::toggled, this, [this](bool on) { form_->chkMatchCase = on; });
  connect(chkInSelection, &QCheckBox::toggled, this, [this](bool on) {
    if (!refreshing_) form_->chkInSelection = on;
  });
  // Enter in "Find what" finds; Esc hides the box as Cancel does.
  connect(txtFind, &QLineEdit::returnPressed, cmdFind, &QPushButton::click);
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(esc, &QShortcut::activated, cmdCancel, &QPushButton::click);
  connect(cmdFind, &QPushButton::clicked, this, [this] { on_event([this] { form_->cmdFind_Click(); }); });
  connect(cmdReplace, &QPushButton::clicked, this, [this] { on_event([this] { form_->cmdReplace_Click(); }); });
  connect(cmdReplaceAll, &QPushButton::clicked, this, [this] {
    on_event([this] {
      form_->cmdReplaceAll_Click();
      txtFind->setFocus();
    });
  });
  connect(cmdCancel, &QPushButton::clicked, this, [this] {
    on_event([this] {
      txtFind->setFocus();
      form_->cmdCancel_Click();
    });
  });
}

frmReplace::~frmReplace() {
  if (placed_) SavePlace(this, ports_.settings, "Replace");
}

template <typename F>
void frmReplace::on_event(F f) {
  f();
  refresh();
}

void frmReplace::FindReplace(const std::string& mode) {
  if (!placed_) {
    placed_ = true;
    adjustSize();
    if (!RestorePlace(this, ports_.settings, "Replace")) {
      // No place saved yet (or only the frame position an earlier version kept): centred across the top.
      const QRect screen = AvailableArea(this);
      bool ok_top = false, ok_left = false;
      int top = 0, left = 0;
      if (ports_.settings) {
        top = QString::fromStdString(ports_.settings->get("Replace", "Top", "")).toInt(&ok_top);
        left = QString::fromStdString(ports_.settings->get("Replace", "Left", "")).toInt(&ok_left);
      }
      move(ok_left ? left : screen.x() + (screen.width() - width()) / 2, ok_top ? top : screen.y() + screen.height() / 8);
      KeepOnScreen(this);
    }
  }
  form_->FindReplace(mode);
  refresh();
  raise();
  activateWindow();
  txtFind->setFocus();
}

void frmReplace::refresh() {
  refreshing_ = true;
  setWindowTitle(QString::fromStdString(form_->caption));
  lblReplace->setEnabled(form_->replace_enabled);
  txtReplace->setEnabled(form_->replace_enabled);
  cmdReplace->setToolTip(QString::fromStdString(form_->replace_tip));
  cmdReplaceAll->setVisible(form_->replace_all_visible);
  chkInSelection->setEnabled(form_->chkInSelection_enabled);
  chkInSelection->setChecked(form_->chkInSelection);
  lblFound->setText(QString::fromStdString(form_->lblFound));
  setVisible(form_->visible);
  refreshing_ = false;
}

bool frmReplace::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) {
    form_->Form_Activate();
    refresh();
  }
  return QWidget::event(e);
}

void frmReplace::closeEvent(QCloseEvent* e) {
  form_->cmdCancel_Click();
  e->accept();
}

}  // namespace quorvel
