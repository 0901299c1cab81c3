// Qt implementations of the front end's ports.
#include "qtports.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace quorvel {

namespace {

std::unique_ptr<QSettings> open_settings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "quorvel", "quorvel");
}

QString settings_key(const std::string& section, const std::string& key) { return qs(section) + "/" + qs(key); }

}  // namespace

std::string QtSettingsStore::get(const std::string& section, const std::string& key, const std::string& fallback) {
  auto s = open_settings();
  QVariant v = s->value(settings_key(section, key));
  return v.isValid() ? ss(v.toString()) : fallback;
}

bool QtSettingsStore::contains(const std::string& section, const std::string& key) {
  return open_settings()->contains(settings_key(section, key));
}

void QtSettingsStore::set(const std::string& section, const std::string& key, const std::string& value) {
  open_settings()->setValue(settings_key(section, key), qs(value));
}

void QtSettingsStore::remove(const std::string& section, const std::string& key) {
  open_settings()->remove(settings_key(section, key));
}

Answer QtMessageBox::show(const Message& m) {
  QMessageBox box(parent());
  box.setWindowTitle(qs(m.title));
  box.setText(qs(m.text));
  switch (m.icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
  }
  QMessageBox::StandardButtons b;
  QMessageBox::StandardButton escape = QMessageBox::Cancel;
  switch (m.buttons) {
    case Buttons::Ok: b = QMessageBox::Ok; escape = QMessageBox::Ok; break;
    case Buttons::OkCancel: b = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: b = QMessageBox::Yes | QMessageBox::No; escape = QMessageBox::No; break;
    case Buttons::YesNoCancel: b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case Buttons::AbortRetryIgnore:
      b = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
      escape = QMessageBox::Abort;
      break;
  }
  box.setStandardButtons(b);
  box.setEscapeButton(escape);
  auto to_button = [](Answer a) {
    switch (a) {
      case Answer::Ok: return QMessageBox::Ok;
      case Answer::Cancel: return QMessageBox::Cancel;
      case Answer::Yes: return QMessageBox::Yes;
      case Answer::No: return QMessageBox::No;
      case Answer::Abort: return QMessageBox::Abort;
      case Answer::Retry: return QMessageBox::Retry;
      case Answer::Ignore: return QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
  };
  if (m.default_answer) box.setDefaultButton(to_button(*m.default_answer));
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    case QMessageBox::Ignore: return Answer::Ignore;
    case QMessageBox::Abort: return Answer::Abort;
    default:
      if (m.buttons == Buttons::AbortRetryIgnore) return Answer::Abort;
      return m.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
  }
}

std::optional<std::string> QtInputBox::ask(const std::string& prompt, const std::string& title,
                                           const std::string& default_text) {
  bool ok = false;
  QString t = QInputDialog::getText(parent(), qs(title), qs(prompt), QLineEdit::Normal, qs(default_text), &ok);
  if (!ok) return std::nullopt;
  return ss(t);
}

std::optional<std::string> QtFileDialog::choose(const FileDialogRequest& r) {
  QFileDialog d(parent(), qs(r.title));
  // "description|pattern|description|pattern": Qt wants "description (patterns)".
  QStringList filters;
  QStringList parts = qs(r.filter).split('|');
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i], pattern = QString(parts[i + 1]).replace(';', ' ');
    filters << (desc.endsWith("(" + pattern + ")") ? desc : desc + " (" + pattern + ")");
  }
  if (!filters.isEmpty()) d.setNameFilters(filters);
  d.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  d.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  d.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!r.default_ext.empty()) d.setDefaultSuffix(qs(r.default_ext));
  QString initial = qs(r.initial_name).replace('\\', '/');
  QFileInfo info(initial);
  if (info.fileName().contains('*') || info.fileName().contains('?') || initial.endsWith('/')) {
    if (QFileInfo(info.path()).isDir()) d.setDirectory(info.path());
  } else if (!initial.isEmpty()) {
    if (QFileInfo(info.path()).isDir()) d.setDirectory(info.path());
    d.selectFile(info.fileName());
  }
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
  return ss(d.selectedFiles().first());
}

std::vector<std::string> QtPrinterList::printers() {
  std::vector<std::string> names;
  for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(ss(n));
  return names;
}

std::string QtClipboard::text() { return ss(QGuiApplication::clipboard()->text()); }
void QtClipboard::set_text(const std::string& t) { QGuiApplication::clipboard()->setText(qs(t)); }

void QtLauncher::start(const std::vector<std::string>& argv, const std::string& folder,
                       std::function<void(const ProgramEnd&)> done) {
  if (argv.empty()) return;
  auto* p = new QProcess(qApp);
  QStringList args;
  for (size_t i = 1; i < argv.size(); ++i) args << qs(argv[i]);
  p->setProgram(qs(argv[0]));
  p->setArguments(args);
  if (!folder.empty()) p->setWorkingDirectory(qs(folder));
  p->setStandardInputFile(QProcess::nullDevice());
  p->setStandardOutputFile(QProcess::nullDevice());
  QObject::connect(p, &QProcess::finished, p, [p, done](int code, QProcess::ExitStatus status) {
    ProgramEnd e;
    e.exit_code = code;
    e.crashed = status == QProcess::CrashExit;
    e.error_text = QString::fromLocal8Bit(p->readAllStandardError()).trimmed().toStdString();
    if (done) done(e);
    p->deleteLater();
  });
  QObject::connect(p, &QProcess::errorOccurred, p, [p, done](QProcess::ProcessError err) {
    if (err != QProcess::FailedToStart) return;
    ProgramEnd e;
    e.started = false;
    e.error_text = ss(p->errorString());
    if (done) done(e);
    p->deleteLater();
  });
  p->start();
}

bool QtLauncher::available(const std::string& program) {
  if (program.find('/') != std::string::npos) return QFileInfo(qs(program)).isExecutable();
  return !QStandardPaths::findExecutable(qs(program)).isEmpty();
}

QtProcess::~QtProcess() {
  if (process_ && process_->state() != QProcess::NotRunning) {
    process_->disconnect();
    process_->kill();
    process_->waitForFinished(5000);
  }
}

void QtProcess::start(const std::vector<std::string>& argv, const std::string& folder, Callbacks cb) {
  if (argv.empty()) return;
  auto* p = new QProcess(qApp);
  process_ = p;
  QStringList args;
  for (size_t i = 1; i < argv.size(); ++i) args << qs(argv[i]);
  p->setProgram(qs(argv[0]));
  p->setArguments(args);
  p->setWorkingDirectory(qs(folder));
  p->setStandardInputFile(QProcess::nullDevice());  // no terminal: the engine never waits for a key
  p->setProcessChannelMode(QProcess::MergedChannels);
  QObject::connect(p, &QProcess::readyReadStandardOutput, p, [p, cb] {
    QByteArray bytes = p->readAllStandardOutput();
    if (cb.output) cb.output(bytes.toStdString());
  });
  QObject::connect(p, &QProcess::finished, p, [p, cb](int code, QProcess::ExitStatus status) {
    QByteArray rest = p->readAllStandardOutput();
    if (!rest.isEmpty() && cb.output) cb.output(rest.toStdString());
    ProgramEnd e;
    e.exit_code = code;
    e.crashed = status == QProcess::CrashExit;
    p->deleteLater();
    if (cb.finished) cb.finished(e);
  });
  QObject::connect(p, &QProcess::errorOccurred, p, [p, cb](QProcess::ProcessError err) {
    if (err != QProcess::FailedToStart) return;
    ProgramEnd e;
    e.started = false;
    e.error_text = ss(p->errorString());
    p->deleteLater();
    if (cb.finished) cb.finished(e);
  });
  p->start();
}

bool QtProcess::running() { return process_ && process_->state() != QProcess::NotRunning; }

void QtProcess::stop() {
  if (running()) process_->kill();
}

std::optional<PrintChoice> QtPrintDialog::ask(const std::string& file) {
  QPrinter printer;
  printer.setDocName(QFileInfo(qs(file)).fileName());
  QPrintDialog d(&printer, parent());
  d.setWindowTitle("Print " + QFileInfo(qs(file)).fileName());
  d.setOption(QAbstractPrintDialog::PrintPageRange, true);
  d.setOption(QAbstractPrintDialog::PrintToFile, false);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  PrintChoice c;
  c.printer = ss(printer.printerName());
  c.copies = printer.copyCount();
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0)
    c.pages = std::to_string(printer.fromPage()) + "-" + std::to_string(printer.toPage());
  return c;
}

QtWindowHost::~QtWindowHost() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void QtWindowHost::show_window() {
  if (before_show) before_show();
  if (window_) window_->show();
}

void QtWindowHost::hide_window() {
  if (window_) window_->hide();
}

void QtWindowHost::process_events() { QApplication::processEvents(); }

void QtWindowHost::set_busy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

std::string QtWindowHost::caption() {
  if (!window_) return WindowHost::caption();
  QString t = window_->windowTitle();
  if (modified_mark && t.endsWith("[*]")) {
    t.chop(3);
    t.replace("[*][*]", "[*]");
  }
  return ss(t);
}

void QtWindowHost::set_caption(const std::string& c) {
  if (!window_) return;
  QString t = qs(c);
  if (modified_mark) t = t.replace("[*]", "[*][*]") + "[*]";  // a "[*]" of the text itself is shown as it is
  window_->setWindowTitle(t);
}

void QtWindowHost::start_wait_timer(int milliseconds) {
  QTimer::singleShot(milliseconds, [] { QApplication::processEvents(); });
}

QtPorts::QtPorts() = default;

Ports QtPorts::ports() {
  Ports p;
  p.settings = &settings;
  p.msgbox = &msgbox;
  p.inputbox = &inputbox;
  p.files = &files;
  p.printers = &printers;
  p.clipboard = &clipboard;
  p.clock = &clock;
  p.launcher = &launcher;
  p.os = &os;
  p.process = &process;
  p.printdialog = &printdialog;
  return p;
}

void QtPorts::set_parent(QWidget* w) {
  msgbox.set_parent(w);
  inputbox.set_parent(w);
  files.set_parent(w);
  printdialog.set_parent(w);
}

QString PlainCaption(const QString& caption) {
  QString s = caption;
  s.replace("&&", "\x01").remove('&').replace("\x01", "&");
  return s.trimmed();
}

void ShowList(QComboBox* box, const ListState& list) {
  QStringList items;
  for (const std::string& s : list.items) items << qs(s);
  QStringList current;
  for (int i = 0; i < box->count(); ++i) current << box->itemText(i);
  if (items != current) {
    box->clear();
    box->addItems(items);
  }
  int index = list.index;
  if (index < 0) index = box->findText(qs(list.text));
  if (box->currentIndex() != index && index < box->count()) box->setCurrentIndex(index);
  if (box->isEditable() && box->currentText() != qs(list.text)) box->setEditText(qs(list.text));
}

bool IsFormLoaded(const std::string& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == qs(name)) return true;
  return false;
}

}  // namespace quorvel
