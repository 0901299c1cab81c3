// The "Veltrax run" window.
#include "frmrun.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>

#include "placement.h"
#include "qtports.h"

namespace quorvel {

frmRun::frmRun(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmRun");
  setWindowTitle("Veltrax run");
  lblStatus = new QLabel(this);
  lblStatus->setObjectName("lblStatus");
  txtLog = new QPlainTextEdit(this);
  txtLog->setObjectName("txtLog");
  txtLog->setReadOnly(true);
  txtLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  txtLog->setAccessibleName("Veltrax output");
  lblStatus->setBuddy(txtLog);
  cmdStop = new QPushButton("&Stop", this);
  cmdStop->setObjectName("cmdStop");
  cmdStop->setToolTip("End the Veltrax run now");
  cmdClose = new QPushButton("&Close", this);
  cmdClose->setObjectName("cmdClose");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdStop);
  buttons->addWidget(cmdClose);
  auto* top = new QVBoxLayout(this);
  top->addWidget(lblStatus);
  top->addWidget(txtLog, 1);
  top->addLayout(buttons);
  resize(640, 360);
  KeepOnScreen(this);
  connect(cmdStop, &QPushButton::clicked, this, [this] {
    if (stop_) stop_();
  });
  connect(cmdClose, &QPushButton::clicked, this, &QWidget::hide);
}

void frmRun::open(const std::string& heading, std::function<void()> stop) {
  stop_ = std::move(stop);
  lblStatus->setText("Veltrax is running...");
  txtLog->setPlainText(qs(heading).trimmed() + "\n");
  cmdStop->setEnabled(true);
  cmdClose->setEnabled(false);
  show();
  raise();
}

void frmRun::append(const std::string& text) {
  // The engine writes its console's code page; show it as Latin-1 where it is not UTF-8.
  QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (t.contains(QChar::ReplacementCharacter)) t = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  txtLog->moveCursor(QTextCursor::End);
  txtLog->insertPlainText(t.remove('\r'));
  txtLog->verticalScrollBar()->setValue(txtLog->verticalScrollBar()->maximum());
}

void frmRun::closeEvent(QCloseEvent* e) {
  if (stop_)
    e->ignore();
  else
    QWidget::closeEvent(e);
}

void frmRun::finished(const std::string& closing_line, bool keep_open) {
  stop_ = nullptr;
  lblStatus->setText(qs(closing_line));
  txtLog->appendPlainText(qs(closing_line));
  cmdStop->setEnabled(false);
  cmdClose->setEnabled(true);
  if (!keep_open) hide();
  // The box that refused a second run while this one ran has nothing more to say.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box || !box->isVisible() || box->windowTitle() != kRunningTitle) continue;
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
      ok->click();
    else
      box->reject();
  }
}

}  // namespace quorvel
