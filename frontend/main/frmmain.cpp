// The main window: its controls, their layout, and the binding of their events to MainForm.
#include "frmmain.h"

#include "frmeditset.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "frmedittext.h"
#include "placement.h"

namespace quorvel {

namespace {

Ports with_host(Ports p, WindowHost* host, RunWindowPort* run_window) {
  p.host = host;
  p.runwindow = run_window;
  return p;
}

}  // namespace

frmMain::frmMain(const Ports& ports, QWidget* parent)
    : QWidget(parent),
      host_(this),
      run_window_(new frmRun(this)),
      form_(std::make_unique<MainForm>(with_host(ports, &host_, run_window_))) {
  setObjectName("frmMain");
  form_->ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
  host_.before_show = [this] {
    refresh();
    bool restored = false;
    if (!form_->Geometry.empty())
      restored = restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(form_->Geometry)));
    if (!restored) move(form_->Left, form_->Top);
    KeepOnScreen(this);
  };
  form_->show_text_editor = [this](const std::string& file) { frmEditText::OpenFor(*this, file); };
  build();
  connect_events();
  // Edit Set: the SET editor on the file or on the template; this window hides while it is open.
  form_->open_set_editor = [this](const std::string& name, bool new_file) {
    auto* editor = new frmEditSet(form_->ports(), *form_, this);
    SetEditForm& f = editor->form();
    if (new_file) {
      f.SetLoadDefault(name);
    } else if (!f.SetFileRead(name)) {
      editor->deleteLater();
      return;
    }
    hide();
    editor->show();
    if (f.SetDataLoad()) {
      f.NewSetFile = new_file;
      editor->refresh();
    }
  };
  refresh();
}

frmMain::~frmMain() = default;

QPushButton* frmMain::button(const char* name, const QString& caption, const QString& tip) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(name);
  b->setToolTip(tip);
  b->setAutoDefault(false);
  return b;
}

QLabel* frmMain::label(const char* name, const QString& caption, QWidget* buddy) {
  auto* l = new QLabel(caption, this);
  l->setObjectName(name);
  l->setBuddy(buddy);
  buddy->setAccessibleName(PlainCaption(caption));
  return l;
}

void frmMain::build() {
  setWindowTitle(qs(MainForm::Caption()));
  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);

  txtVeltraxFolder = new QLineEdit(this);
  txtVeltraxFolder->setObjectName("txtVeltraxFolder");
  txtVeltraxFolder->setToolTip("Obligatory: Location of Veltrax program profile (Click [...] to find)");
  cboSetupFile = new QComboBox(this);
  cboSetupFile->setObjectName("cboSetupFile");
  cboSetupFile->setEditable(true);
  cboSetupFile->setInsertPolicy(QComboBox::NoInsert);
  cboSetupFile->setToolTip("Obligatory: SET File Name (Click [...] to find, or pick a previous one from the list)");
  cboInputFile = new QComboBox(this);
  cboInputFile->setObjectName("cboInputFile");
  cboInputFile->setEditable(true);
  cboInputFile->setInsertPolicy(QComboBox::NoInsert);
  cboInputFile->setToolTip(
      "Input File path & Name (Click [...] to find, or pick a previous one from the list, or leave blank to Create New)");
  txtOutputPath = new QLineEdit(this);
  txtOutputPath->setObjectName("txtOutputPath");
  txtOutputPath->setToolTip("Optional: Output Path (blank = use Input File's Path) (Click [...] to find)");
  for (QWidget* w : {static_cast<QWidget*>(txtVeltraxFolder), static_cast<QWidget*>(cboSetupFile),
                     static_cast<QWidget*>(cboInputFile), static_cast<QWidget*>(txtOutputPath)})
    w->setMinimumWidth(100);
  for (QComboBox* c : {cboSetupFile, cboInputFile}) c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

  static const char* const file_tips[4] = {"Locate Veltrax program profile", "Locate a different Setup File",
                                           "Locate an Input Text File for your Profiles/Logs",
                                           "Locate a file on Output Path - where your output files go"};
  for (int i = 0; i < 4; ++i) {
    cmdFile[i] = button("", QString::fromUtf8("\u2026"), file_tips[i]);
    cmdFile[i]->setObjectName(QString("cmdFile%1").arg(i));
    cmdFile[i]->setAccessibleName(QString("Locate file %1").arg(i));
    cmdFile[i]->setMaximumWidth(cmdFile[i]->fontMetrics().horizontalAdvance("MMM") + 8);
  }
  cmdInstall = button("cmdInstall", "Check", "List versions of Veltrax on this PC");
  cmdEditSetupFile = button("cmdEditSetupFile", "Edit Set", "Edit the Setup (SET) File: Margins, Logo, Settings.");
  cmdEditInputFile =
      button("cmdEditInputFile", "&EDIT", "Edit the Input File: This contins the Profile(s) you want to run.");

  grid->addWidget(label("lblVeltraxFolder", "&Veltrax path*", txtVeltraxFolder), 0, 0);
  grid->addWidget(txtVeltraxFolder, 0, 1);
  grid->addWidget(cmdFile[0], 0, 2);
  grid->addWidget(cmdInstall, 0, 3);
  grid->addWidget(label("lblSetupFile", "&Setup File", cboSetupFile), 1, 0);
  grid->addWidget(cboSetupFile, 1, 1);
  grid->addWidget(cmdFile[1], 1, 2);
  grid->addWidget(cmdEditSetupFile, 1, 3);
  grid->addWidget(label("lblInputFile", "&Input File *", cboInputFile), 2, 0);
  grid->addWidget(cboInputFile, 2, 1);
  grid->addWidget(cmdFile[2], 2, 2);
  grid->addWidget(cmdEditInputFile, 2, 3);

  cboOutputType = new QComboBox(this);
  cboOutputType->setObjectName("cboOutputType");
  for (const std::string& t : kOutputTypes) cboOutputType->addItem(qs(t));
  cboOutputType->setToolTip("Output to what File Type?");
  cboPrinters = new QComboBox(this);
  cboPrinters->setObjectName("cboPrinters");
  cboPrinters->setAccessibleName("Printer");
  cboPrinters->setMinimumContentsLength(16);
  cmdOpen = button("cmdOpen", "O&pen", "Open Output file, if it exists");
  auto* output_row = new QHBoxLayout;
  output_row->addWidget(cboOutputType);
  output_row->addWidget(cboPrinters);
  output_row->addWidget(cmdOpen);
  output_row->addStretch(1);
  grid->addWidget(label("lblOutputType", "Output T&ype *", cboOutputType), 3, 0);
  grid->addLayout(output_row, 3, 1, 1, 3);

  cboActivity = new QComboBox(this);
  cboActivity->setObjectName("cboActivity");
  for (const std::string& t : kActivities) cboActivity->addItem(qs(t));
  cboActivity->setToolTip("What sort of Printout?");
  txtScale = new QLineEdit(this);
  txtScale->setObjectName("txtScale");
  txtScale->setToolTip("Optional: Scale (1:?) (blank = scale to fit)");
  txtScale->setMaximumWidth(txtScale->fontMetrics().horizontalAdvance("00000000") + 12);
  auto* activity_row = new QHBoxLayout;
  activity_row->addWidget(cboActivity);
  activity_row->addSpacing(16);
  activity_row->addWidget(label("lblScale", "S&cale", txtScale));
  auto* label2 = new QLabel("1 :", this);
  label2->setObjectName("Label2");
  activity_row->addWidget(label2);
  activity_row->addWidget(txtScale);
  activity_row->addStretch(1);
  grid->addWidget(label("lblActivity", "Activity *", cboActivity), 4, 0);
  grid->addLayout(activity_row, 4, 1, 1, 3);

  grid->addWidget(label("lblOutputPath", "&Output Path", txtOutputPath), 5, 0);
  grid->addWidget(txtOutputPath, 5, 1);
  grid->addWidget(cmdFile[3], 5, 2);

  chkSummary = new QCheckBox("&Legend: Add Summary of Soil Symbols used (last page)?", this);
  chkSummary->setObjectName("chkSummary");
  chkSummary->setToolTip("Tick if you want the Symbol Summary page (Legend)");
  grid->addWidget(chkSummary, 6, 0, 1, 4);
  auto* label1 = new QLabel("* Required Data.", this);
  label1->setObjectName("Label1");
  grid->addWidget(label1, 7, 0, 1, 4);

  cmdRun = button("cmdRun", "&Run Now!", "Run Veltrax Profiles with these Settings!");
  cmdManual[0] = button("cmdManual0", "&Manual", "Open the Veltrax Manual (PDF file)");
  cmdManual[1] = button("cmdManual1", "&Tutorial", "Open the Veltrax Tutorial (PDF file)");
  cmdHelp = button("cmdHelp", "&Help", "Open the Help pages");
  cmdAbout = button("cmdAbout", "&About", "Information about this program.");
  cmdSupport = button("cmdSupport", "Support", "Create an e-mail Support request");
  cmdRegVeltrax = button("cmdRegVeltrax", "&Go to Veltrax", "Open the Veltrax console menus");
  cmdSettings = button("cmdSettings", "Setti&ngs", "Settings Pop-up Menu");
  cmdExit = button("cmdExit", "Save && E&xit",
                   "Save these parameters and End program (to Exit without Saving, click the X at top right)");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {cmdRun, cmdManual[0], cmdManual[1], cmdHelp, cmdAbout, cmdSupport, cmdRegVeltrax,
                         cmdSettings, cmdExit})
    buttons->addWidget(b);
  QFont run_font = cmdRun->font();
  run_font.setBold(true);
  cmdRun->setFont(run_font);

  mnuSettings = new QMenu("Settings_PopUp", this);
  mnuSettings->setObjectName("mnuSettings");
  mnuSettingsNNNS = mnuSettings->addAction("&Non-NTFS Network Support");
  mnuSettingsPause = mnuSettings->addAction("&Pause before Exiting Veltrax");
  mnuSettingsTidyUp = mnuSettings->addAction("&Delete Temporary Files on Exit");
  for (QAction* a : {mnuSettingsNNNS, mnuSettingsPause, mnuSettingsTidyUp}) a->setCheckable(true);
  mnuSettingsNNNS->setObjectName("mnuSettingsNNNS");
  mnuSettingsPause->setObjectName("mnuSettingsPause");
  mnuSettingsTidyUp->setObjectName("mnuSettingsTidyUp");

  // Tab goes through the controls in the order they stand on the screen: row by row, left to right.
  QWidget* order[] = {txtVeltraxFolder, cmdFile[0], cmdInstall, cboSetupFile, cmdFile[1], cmdEditSetupFile,
                      cboInputFile, cmdFile[2], cmdEditInputFile, cboOutputType, cboPrinters, cmdOpen,
                      cboActivity, txtScale, txtOutputPath, cmdFile[3], chkSummary, cmdRun, cmdManual[0],
                      cmdManual[1], cmdHelp, cmdAbout, cmdSupport, cmdRegVeltrax, cmdSettings, cmdExit};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  auto* top = new QVBoxLayout(this);
  top->addLayout(grid);
  top->addSpacing(8);
  top->addLayout(buttons);
}

template <typename F>
void frmMain::on_event(F f) {
  if (refreshing_) return;
  f();
  refresh();
}

void frmMain::connect_events() {
  connect(txtVeltraxFolder, &QLineEdit::textEdited, this, [this](const QString& t) {
    on_event([&] {
      form_->txtVeltraxFolder = ss(t);
      form_->txtVeltraxFolder_Change();
    });
  });
  connect(cboSetupFile->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
    on_event([&] {
      form_->cboSetupFile.text = ss(t);
      form_->cboSetupFile_Change();
    });
  });
  connect(cboSetupFile, &QComboBox::activated, this, [this](int i) {
    on_event([&] {
      form_->cboSetupFile.index = i;
      form_->cboSetupFile.text = ss(cboSetupFile->itemText(i));
      form_->cboSetupFile_Click();
    });
  });
  connect(cboInputFile->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
    on_event([&] {
      form_->cboInputFile.text = ss(t);
      form_->cboInputFile_Change();
    });
  });
  connect(cboInputFile, &QComboBox::activated, this, [this](int i) {
    on_event([&] {
      form_->cboInputFile.index = i;
      form_->cboInputFile.text = ss(cboInputFile->itemText(i));
      form_->cboInputFile_Click();
    });
  });
  connect(cboOutputType, &QComboBox::activated, this, [this](int i) { on_event([&] { form_->SetOutputType(i); }); });
  connect(cboActivity, &QComboBox::activated, this, [this](int i) { on_event([&] { form_->SetActivity(i); }); });
  connect(cboPrinters, &QComboBox::activated, this, [this](int i) {
    on_event([&] {
      form_->cboPrinters.index = i;
      form_->cboPrinters.text = ss(cboPrinters->itemText(i));
      form_->cboPrinters_Click();
    });
  });
  connect(txtScale, &QLineEdit::textEdited, this, [this](const QString& t) {
    on_event([&] {
      form_->txtScale = ss(t);
      form_->txtScale_Change();
    });
  });
  connect(txtOutputPath, &QLineEdit::textEdited, this, [this](const QString& t) {
    on_event([&] {
      form_->txtOutputPath = ss(t);
      form_->txtOutputPath_Change();
    });
  });
  connect(chkSummary, &QCheckBox::clicked, this, [this](bool on) {
    on_event([&] {
      form_->chkSummary = on;
      form_->chkSummary_Click();
    });
  });
  for (int i = 0; i < 4; ++i)
    connect(cmdFile[i], &QPushButton::clicked, this, [this, i] { on_event([&] { form_->cmdFile_Click(i); }); });
  connect(cmdInstall, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdInstall_Click(); }); });
  connect(cmdEditSetupFile, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdEditSetupFile_Click(); }); });
  connect(cmdEditInputFile, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdEditInputFile_Click(); }); });
  connect(cmdOpen, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdOpen_Click(); }); });
  connect(cmdRun, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdRun_Click(); }); });
  for (int i = 0; i < 2; ++i)
    connect(cmdManual[i], &QPushButton::clicked, this, [this, i] { on_event([&] { form_->cmdManual_Click(i); }); });
  connect(cmdHelp, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdHelp_Click(0); }); });
  connect(cmdAbout, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdAbout_Click(); }); });
  connect(cmdSupport, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdSupport_Click(); }); });
  connect(cmdRegVeltrax, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdRegVeltrax_Click(); }); });
  connect(cmdSettings, &QPushButton::clicked, this, [this] { settings_menu(); });
  connect(cmdExit, &QPushButton::clicked, this, [this] {
    capture_geometry();
    form_->cmdExit_Click();
    close();
  });
  connect(mnuSettingsNNNS, &QAction::triggered, this, [this] { form_->mnuSettingsNNNS_Click(); });
  connect(mnuSettingsPause, &QAction::triggered, this, [this] { form_->mnuSettingsPause_Click(); });
  connect(mnuSettingsTidyUp, &QAction::triggered, this, [this] { form_->mnuSettingsTidyUp_Click(); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, [this] { on_event([&] { form_->cmdHelp_Click(0); }); });
}

void frmMain::settings_menu() {
  SettingsMenuTicks t = form_->cmdSettings_Click();
  mnuSettingsNNNS->setChecked(t.nnns);
  mnuSettingsPause->setChecked(t.pause);
  mnuSettingsTidyUp->setChecked(t.tidy_up);
  mnuSettings->popup(cmdSettings->mapToGlobal(QPoint(0, cmdSettings->height())));
}

void frmMain::refresh() {
  refreshing_ = true;
  const MainForm& f = *form_;
  {
    QSignalBlocker b1(txtVeltraxFolder), b2(cboSetupFile), b3(cboInputFile), b4(cboOutputType), b5(cboActivity),
        b6(txtScale), b7(txtOutputPath), b8(chkSummary), b9(cboPrinters);
    if (txtVeltraxFolder->text() != qs(f.txtVeltraxFolder)) txtVeltraxFolder->setText(qs(f.txtVeltraxFolder));
    ShowList(cboSetupFile, f.cboSetupFile);
    ShowList(cboInputFile, f.cboInputFile);
    cboOutputType->setCurrentIndex(f.cboOutputType);
    cboActivity->setCurrentIndex(f.cboActivity);
    if (txtScale->text() != qs(f.txtScale)) txtScale->setText(qs(f.txtScale));
    if (txtOutputPath->text() != qs(f.txtOutputPath)) txtOutputPath->setText(qs(f.txtOutputPath));
    chkSummary->setChecked(f.chkSummary);
    ShowList(cboPrinters, f.cboPrinters);
  }
  cboPrinters->setToolTip(qs(f.cboPrinters_tooltip));
  cboPrinters->setVisible(f.cboPrinters_visible);
  cmdOpen->setVisible(f.cmdOpen_visible);
  cboInputFile->setEnabled(f.cboInputFile_enabled);
  if (form_->cboSetupFile_select) {
    form_->cboSetupFile_select = false;
    cboSetupFile->setFocus();
    cboSetupFile->lineEdit()->selectAll();
  }
  refreshing_ = false;
}

void frmMain::Load() {
  QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                  : QRect(0, 0, 1024, 768);
  adjustSize();
  ScreenFacts facts{screen.width(), screen.height(), width(), 100};
  // The load shows the window in its place (before its questions, which stand over it).
  form_->Form_Load(facts);
  refresh();
}

void frmMain::HandBack(const std::string& tag) {
  form_->Tag = tag;
  show();
  raise();
  activateWindow();
}

void frmMain::capture_geometry() {
  form_->WindowNormal = !(isMaximized() || isMinimized() || isFullScreen());
  if (form_->WindowNormal) {
    form_->Top = y();
    form_->Left = x();
  }
  form_->Geometry = PlaceText(this);
}

void frmMain::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // Activation consumes the request word an editor left ("RUN" starts a run).
  QTimer::singleShot(0, this, [this] { on_event([&] { form_->Form_Activate(); }); });
}

void frmMain::closeEvent(QCloseEvent* e) {
  capture_geometry();
  bool keep = form_->Form_QueryUnload();
  refresh();
  if (keep)
    e->ignore();
  else
    e->accept();
}

}  // namespace quorvel
