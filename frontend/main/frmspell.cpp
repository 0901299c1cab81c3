// The Spelling window.
#include "frmspell.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QScreen>
#include <QVBoxLayout>

#include "frontend/core/edittext.h"
#include "placement.h"

namespace quorvel {

QString FromWindows1252(const std::string& bytes) {
  QString s;
  s.reserve(static_cast<qsizetype>(bytes.size()));
  for (char ch : bytes) s += QChar(Cp1252ToUnicode(static_cast<unsigned char>(ch)));
  return s;
}

std::string ToWindows1252(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (QChar q : text) out += static_cast<char>(UnicodeToCp1252(q.unicode()).value_or('?'));
  return out;
}

frmSpell::frmSpell(const Ports& ports, SpellEditor& editor, const std::string& engine_folder,
                   const std::string& program_folder, QWidget* parent)
    : QWidget(parent, Qt::Tool), ports_(ports), host_(this) {
  setObjectName("frmSpell");
  setWindowTitle("Spelling");
  ports_.host = &host_;
  form_ = std::make_unique<SpellForm>(ports_, editor, engine_folder, program_folder);

  auto* grid = new QGridLayout(this);
  auto label = [this](const char* text, QWidget* buddy) {
    auto* l = new QLabel(text, this);
    l->setBuddy(buddy);
    return l;
  };
  auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    return b;
  };
  txtNotInDict = new QLineEdit(this);
  txtNotInDict->setObjectName("txtNotInDict");
  txtNotInDict->setReadOnly(true);
  txtChangeTo = new QLineEdit(this);
  txtChangeTo->setObjectName("txtChangeTo");
  lstSugg = new QListWidget(this);
  lstSugg->setObjectName("lstSugg");
  cboLang = new QComboBox(this);
  cboLang->setObjectName("cboLang");
  cmdIgnoreResume = button("cmdIgnoreResume", "Ignore");
  cmdIgnoreAll = button("cmdIgnoreAll", "Ignore All");
  cmdChange = button("cmdChange", "Change");
  cmdChangeAll = button("cmdChangeAll", "Change All");
  cmdAdd = button("cmdAdd", "Add As Is");
  cmdAdd->setToolTip("Add word to dictionary in its current case (ALL CAPS or Initial Cap)");
  cmdAddLC = button("cmdAddLC", "Add lowercase");
  cmdAddLC->setToolTip("Add word to dictionary in lowercase");
  cmdEditDic = button("cmdEditDic", "Edit Dictionary");
  cmdCancel = button("cmdCancel", "Cancel");

  grid->addWidget(label("Not in Dictionary:", txtNotInDict), 0, 0);
  grid->addWidget(txtNotInDict, 1, 0);
  grid->addWidget(label("Change to:", txtChangeTo), 2, 0);
  grid->addWidget(txtChangeTo, 3, 0);
  grid->addWidget(label("Suggestions:", lstSugg), 4, 0);
  grid->addWidget(lstSugg, 5, 0, 4, 1);
  grid->addWidget(label("Dictionary Language:", cboLang), 9, 0);
  grid->addWidget(cboLang, 10, 0);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {cmdIgnoreResume, cmdIgnoreAll, cmdChange, cmdChangeAll, cmdAdd, cmdAddLC, cmdEditDic, cmdCancel})
    buttons->addWidget(b);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 1, 11, 1);

  connect(cmdIgnoreResume, &QPushButton::clicked, this, [this] { on_event([this] { form_->ignore_resume(); }); });
  connect(cmdIgnoreAll, &QPushButton::clicked, this, [this] { on_event([this] { form_->ignore_all(); }); });
  connect(cmdChange, &QPushButton::clicked, this, [this] { on_event([this] { form_->change(); }); });
  connect(cmdChangeAll, &QPushButton::clicked, this, [this] { on_event([this] { form_->change_all(); }); });
  connect(cmdAdd, &QPushButton::clicked, this, [this] { on_event([this] { form_->add_as_is(); }); });
  connect(cmdAddLC, &QPushButton::clicked, this, [this] { on_event([this] { form_->add_lowercase(); }); });
  connect(cmdEditDic, &QPushButton::clicked, this, [this] { on_event([this] { form_->edit_dictionary(); }); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { on_event([this] { form_->cancel(); }); });
  connect(lstSugg, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    on_event([this, item] { form_->pick_suggestion(ToWindows1252(item->text())); });
  });
  connect(txtChangeTo, &QLineEdit::textEdited, this, [this](const QString& t) {
    on_event([this, t] { form_->change_to_edited(ToWindows1252(t)); });
  });
  connect(cboLang, &QComboBox::activated, this, [this](int i) {
    on_event([this, i] { form_->choose_language(ToWindows1252(cboLang->itemText(i))); });
  });
}

frmSpell::~frmSpell() = default;

template <typename F>
void frmSpell::on_event(F f) {
  if (refreshing_) return;
  f();
  refresh();
  if (form_->unloaded) close();
}

void frmSpell::place() {
  adjustSize();
  if (RestorePlace(this, ports_.settings, "Spell")) return;
  // No place saved yet (or only the frame position an earlier version kept): centred across the screen.
  const QRect screen = AvailableArea(this);
  bool ok_top = false, ok_left = false;
  int top = 0, left = 0;
  if (ports_.settings) {
    top = QString::fromStdString(ports_.settings->get("Spell", "Top", "")).toInt(&ok_top);
    left = QString::fromStdString(ports_.settings->get("Spell", "Left", "")).toInt(&ok_left);
  }
  move(ok_left ? left : screen.x() + (screen.width() - width()) / 2, ok_top ? top : screen.y() + (screen.height() - height()) / 3);
  KeepOnScreen(this);
}

void frmSpell::Spell() {
  if (!loaded_) place();  // placed before it shows, so the window manager puts it there once
  show();
  raise();
  activateWindow();
  if (!loaded_) {
    loaded_ = true;
    form_->load();
    refresh();
    if (form_->unloaded) close();
  }
}

void frmSpell::refresh() {
  refreshing_ = true;
  txtNotInDict->setText(FromWindows1252(form_->not_in_dict));
  if (ToWindows1252(txtChangeTo->text()) != form_->change_to) txtChangeTo->setText(FromWindows1252(form_->change_to));
  lstSugg->clear();
  for (const std::string& s : form_->suggestions) lstSugg->addItem(FromWindows1252(s));
  cboLang->clear();
  for (const std::string& l : form_->languages) cboLang->addItem(FromWindows1252(l));
  cboLang->setCurrentIndex(-1);
  cboLang->setEditText(QString());
  for (int i = 0; i < cboLang->count(); ++i)
    if (cboLang->itemText(i) == FromWindows1252(form_->language_box)) cboLang->setCurrentIndex(i);
  cmdIgnoreResume->setText(form_->resume ? "Resume" : "Ignore");
  cmdChange->setEnabled(form_->change_enabled && form_->buttons_enabled);
  cmdChangeAll->setEnabled(form_->change_enabled && form_->buttons_enabled);
  for (QPushButton* b : {cmdIgnoreAll, cmdAdd, cmdAddLC, cmdEditDic}) b->setEnabled(form_->buttons_enabled);
  refreshing_ = false;
}

bool frmSpell::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) form_->activate();
  if (e->type() == QEvent::WindowDeactivate && isVisible()) {
    form_->deactivate();
    refresh();
  }
  return QWidget::event(e);
}

void frmSpell::closeEvent(QCloseEvent* e) {
  form_->unload();
  SavePlace(this, ports_.settings, "Spell");
  e->accept();
  emit closed();
}

}  // namespace quorvel
