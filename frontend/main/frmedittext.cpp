// The text editor window: its box, menus and toolbar, bound to EditForm.
#include "frmedittext.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFontDialog>
#include <QLocale>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "frmmain.h"
#include "placement.h"
#include "frontend/core/edittext.h"
#include "frontend/core/globals.h"
#include "frontend/core/mainform.h"
#include "frontend/core/modgeneral.h"

namespace quorvel {

namespace {

Ports with_host(Ports p, WindowHost* host) {
  p.host = host;
  return p;
}

// Dialogs of the Qt ports stand over the window that has the screen.
void dialogs_over(const Ports& p, QWidget* w) {
  if (auto* d = dynamic_cast<QtDialogParent*>(p.msgbox)) d->set_parent(w);
  if (auto* d = dynamic_cast<QtDialogParent*>(p.inputbox)) d->set_parent(w);
  if (auto* d = dynamic_cast<QtDialogParent*>(p.files)) d->set_parent(w);
  if (auto* d = dynamic_cast<QtDialogParent*>(p.printdialog)) d->set_parent(w);
}

QString from_bytes(const std::string& bytes) { return QString::fromStdU16String(ToDisplay(bytes)); }

// The menu caption of Windows-1252 bytes.
QString caption_of(const std::string& bytes) { return qs(Cp1252ToUtf8(bytes)); }

}  // namespace

frmEditText::frmEditText(const Ports& ports, frmMain& main)
    : QMainWindow(&main, Qt::Window), main_(main), host_(this), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setObjectName("frmEditText");
  host_.modified_mark = true;
  form_ = std::make_unique<EditForm>(with_host(ports, &host_), &main.form());
  form_->hand_back = [this](const std::string& tag) {
    dialogs_over(form_->ports(), &main_);
    main_.HandBack(tag);
  };
  edit_box_ = std::make_unique<EditFormBox>(*form_);
  edit_box_->selected = [this] { refresh(); };
  edit_box_->changed = [this] { refresh(); };
  form_->open_spell = [this] {
    if (!spell_) {
      spell_ = new frmSpell(form_->ports(), *edit_box_, main_.form().txtVeltraxFolder,
                            QCoreApplication::applicationDirPath().toStdString(), this);
      connect(spell_, &frmSpell::closed, this, [this] {
        spell_->deleteLater();
        spell_ = nullptr;
        refresh();
      });
    }
    spell_->Spell();
  };
  form_->open_find_replace = [this](const std::string& mode) {
    if (!replace_) replace_ = new frmReplace(form_->ports(), *edit_box_, this);
    replace_->FindReplace(mode);
  };
  form_->show_preview = [this] {
    if (!preview_) {
      preview_ = new frmPreview(this);
      connect(preview_, &frmPreview::closed, this, [this] {
        form_->mnuView_visible = false;
        refresh();
      });
    }
    preview_->ShowListing(*printer_, form_->FileName, listing_date(), form_->txtEdit, txtEdit->font(), form_->Zoom);
  };
  form_->print_listing = [this](const std::string& pdf_file) {
    const QPrinter::OutputFormat format = printer_->outputFormat();
    if (!pdf_file.empty()) {
      printer_->setOutputFormat(QPrinter::PdfFormat);
      printer_->setOutputFileName(qs(pdf_file));
      printer_->setDocName(qs(FileTitleOf(form_->FileName)));
    }
    const bool ok = PrintListing(*printer_, form_->FileName, listing_date(), form_->txtEdit, txtEdit->font());
    if (!pdf_file.empty()) {
      printer_->setOutputFileName(QString());
      printer_->setOutputFormat(format);
    }
    return ok;
  };
  form_->print_setup = [this] { return ShowPrintSetup(*printer_, this); };
  form_->unload_companions = [this] {
    if (preview_) preview_->close();
    if (replace_) replace_->close();
    if (spell_) spell_->close();
  };
  build();
  QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                  : QRect(0, 0, 1024, 768);
  EditScreen facts{screen.width(), screen.height(), main.x(), main.y(), main.width(), main.height()};
  form_->Form_Load(facts);
  const EditPlacement& p = form_->placement;
  bool restored = false;
  if (!p.geometry.empty()) restored = restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(p.geometry)));
  if (!restored) {
    // Wide enough for the whole toolbar where the screen allows.
    setGeometry(p.left, p.top, std::max(p.width, sizeHint().width()), std::max(p.height, 300));
  }
  KeepOnScreen(this);
  apply_font();
  host_.set_caption(EditForm::kCaption);
  refresh();
  lower();  // at the bottom of the window order, below its companion boxes
}

frmEditText::~frmEditText() = default;

void frmEditText::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() != QEvent::ActivationChange || !isActiveWindow()) return;
  if (replace_ && replace_->isVisible()) replace_->raise();
  if (spell_ && spell_->isVisible()) spell_->raise();
}

std::string frmEditText::listing_date() const {
  return QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat).toStdString();
}

frmEditText* frmEditText::OpenFor(frmMain& main, const std::string& file) {
  auto* ed = main.findChild<frmEditText*>("frmEditText", Qt::FindDirectChildrenOnly);
  if (!ed) {
    ed = new frmEditText(main.form().ports(), main);
    auto before = main.form().unload_other_windows;
    QPointer<frmEditText> guard(ed);
    main.form().unload_other_windows = [before, guard] {
      if (before) before();
      if (guard) {
        guard->closing_ = true;
        guard->close();
      }
    };
  }
  MainForm& m = main.form();
  std::string set_file = Trim(m.cboSetupFile.text);
  if (!set_file.empty() && FolderOf(set_file).empty()) set_file = m.EngineFolder() + set_file;
  main.hide();
  dialogs_over(ed->form().ports(), ed);
  if (ed->form().placement.window_state == "2") ed->showMaximized();
  else ed->show();
  ed->raise();
  ed->activateWindow();
  ed->on_event([&] { ed->form().OpenFromMain(file, set_file, m.cboInputFile.items); });
  return ed;
}

QAction* frmEditText::action(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key) {
  auto* a = menu->addAction(caption);
  a->setObjectName(name);
  if (!key.isEmpty()) {
    a->setShortcut(key);
    shortcuts_.push_back(key);
  }
  return a;
}

template <typename F>
void frmEditText::on_event(F f) {
  pull_selection();
  f();
  refresh();
}

void frmEditText::build() {
  txtEdit = new QPlainTextEdit(this);
  txtEdit->setObjectName("txtEdit");
  txtEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtEdit->setUndoRedoEnabled(false);
  txtEdit->setContextMenuPolicy(Qt::NoContextMenu);
  txtEdit->installEventFilter(this);
  txtEdit->setAccessibleName("Text");
  setCentralWidget(txtEdit);
  connect(txtEdit, &QPlainTextEdit::textChanged, this, [this] { user_changed(); });

  EditForm* f = form_.get();
  auto bind = [this](QAction* a, auto fn) { connect(a, &QAction::triggered, this, [this, fn] { on_event(fn); }); };

  // File menu.
  mnuFile = menuBar()->addMenu("&File");
  mnuFile->setObjectName("mnuFile");
  bind(action(mnuFile, "mnuFileNew", "&New"), [f] { f->mnuFileNew_Click(); });
  bind(action(mnuFile, "mnuFileRead", "&Open...", QKeySequence("Ctrl+O")), [f] { f->mnuFileRead_Click(); });
  bind(action(mnuFile, "mnuFileSave0", "&Save", QKeySequence("Ctrl+S")), [f] { f->mnuFileSave_Click(0); });
  bind(action(mnuFile, "mnuFileSave1", "Save &As..."), [f] { f->mnuFileSave_Click(1); });
  mnuFile->addSeparator();
  bind(action(mnuFile, "mnuFilePSetup", "Print Set&up..."), [f] { f->Toolbar1_ButtonClick("Setup"); });
  bind(action(mnuFile, "mnuFilePreview", "Pre&view"), [f] { f->mnuFilePreview_Click(); });
  bind(action(mnuFile, "mnuFilePrint", "&Print All"), [f] { f->mnuFilePrint_Click(); });
  mnuFile->addSeparator();
  bind(action(mnuFile, "mnuFileExit_Run", "Save && &Run in Veltrax", QKeySequence("Ctrl+R")),
       [f] { f->mnuFileExit_Run_Click(); });
  mnuFile->addSeparator();
  for (int i = 0; i < 10; ++i) {
    mnuFileFiles[i] = action(mnuFile, "", QString("File%1").arg(i));
    mnuFileFiles[i]->setObjectName(QString("mnuFileFiles%1").arg(i));
    bind(mnuFileFiles[i], [f, i] { f->mnuFileFiles_Click(i); });
  }
  mnuFile->addSeparator();
  bind(action(mnuFile, "mnuFileExit", "E&xit", QKeySequence("Ctrl+Q")), [f] { f->mnuFileExit_Click(); });

  // View menu: the print preview's zoom, shown with the preview.
  mnuView = menuBar()->addMenu("&View");
  mnuView->setObjectName("mnuView");
  bind(action(mnuView, "mnuViewZoom0", "Zoom &In"), [f] { f->mnuViewZoom_Click(0); });
  bind(action(mnuView, "mnuViewZoom1", "Zoom &Out"), [f] { f->mnuViewZoom_Click(1); });
  mnuViewZoom100 = action(mnuView, "mnuViewZoom2", "&Zoom to 100%");
  mnuViewZoom100->setCheckable(true);
  bind(mnuViewZoom100, [f] { f->mnuViewZoom_Click(2); });
  bind(action(mnuView, "mnuViewZoom3", "&Custom Zoom..."), [f] { f->mnuViewZoom_Click(3); });

  // Edit menu.
  mnuEdit = menuBar()->addMenu("&Edit");
  mnuEdit->setObjectName("mnuEdit");
  // Cut is enabled as the menu opens; its key works whenever there is a selection.
  connect(mnuEdit, &QMenu::aboutToShow, this, [this] {
    on_event([this] { form_->mnuEdit_Click(); });
    mnuEditCut->setEnabled(form_->mnuEditCut_enabled);
  });
  connect(mnuEdit, &QMenu::aboutToHide, this, [this] { mnuEditCut->setEnabled(true); });
  mnuEditUndo = action(mnuEdit, "mnuEditUndo", "&Undo", QKeySequence("Ctrl+Z"));
  bind(mnuEditUndo, [f] { f->mnuEditUndo_Click(); });
  mnuEditRedo = action(mnuEdit, "mnuEditRedo", "Red&o", QKeySequence("Ctrl+Y"));
  bind(mnuEditRedo, [f] { f->mnuEditRedo_Click(); });
  mnuEdit->addSeparator();
  mnuEditCut = action(mnuEdit, "mnuEditCut", "Cu&t", QKeySequence("Ctrl+X"));
  bind(mnuEditCut, [f] { f->mnuEditCut_Click(); });
  bind(action(mnuEdit, "mnuEditCopy", "&Copy", QKeySequence("Ctrl+C")), [f] { f->mnuEditCopy_Click(); });
  bind(action(mnuEdit, "mnuEditPaste", "&Paste", QKeySequence("Ctrl+V")), [f] { f->mnuEditPaste_Click(); });
  mnuEdit->addSeparator();
  bind(action(mnuEdit, "mnuEditFind", "&Find..."), [f] { f->mnuEditFind_Click(); });
  bind(action(mnuEdit, "mnuEditReplace", "&Replace...", QKeySequence("Ctrl+H")), [f] { f->mnuEditReplace_Click(); });
  bind(action(mnuEdit, "mnuEditSpell", "&Spelling...", QKeySequence("F7")), [f] { f->mnuEditSpell_Click(); });
  mnuEdit->addSeparator();
  bind(action(mnuEdit, "mnuEditWrap", "Wrap Descriptions"), [f] { f->mnuEditWrap_Click(); });
  bind(action(mnuEdit, "mnuEditUnwrap", "Unwrap Descriptions"), [f] { f->mnuEditUnwrap_Click(); });
  bind(action(mnuEdit, "mnuEditShift1", "Outdent (<-- Block Left)"), [f] { f->mnuEditShift_Click(1); });
  bind(action(mnuEdit, "mnuEditShift2", "Indent (Block Right -->)"), [f] { f->mnuEditShift_Click(2); });
  bind(action(mnuEdit, "mnuEditCase0", "&lower case"), [f] { f->mnuEditCase_Click(0); });
  bind(action(mnuEdit, "mnuEditCase1", "UPP&ER CASE"), [f] { f->mnuEditCase_Click(1); });
  bind(action(mnuEdit, "mnuEditCase2", "Na&me Case"), [f] { f->mnuEditCase_Click(2); });
  bind(action(mnuEdit, "mnuEditASCII", "ASCII Code"), [f] { f->mnuEditASCII_Click(); });
  bind(action(mnuEdit, "mnuEditPlaintext", "Next Plaintext Layer"), [f] { f->mnuEditPlaintext_Click(); });
  bind(action(mnuEdit, "mnuEdit2DOS", "&Windows  --> DOS"), [f] { f->mnuEdit2DOS_Click(); });
  bind(action(mnuEdit, "mnuEdit2Win", "&DOS --> Windows"), [f] { f->mnuEdit2Win_Click(); });
  bind(action(mnuEdit, "mnuEditExcelCopy", "Copy Table for Excel"), [f] { f->mnuEditExcelCopy_Click(); });
  bind(action(mnuEdit, "mnuEditExcelPaste", "Paste E&xcel Table", QKeySequence("Shift+Ctrl+F2")),
       [f] { f->mnuEditExcelPaste_Click(); });
  mnuEdit->addSeparator();
  bind(action(mnuEdit, "mnuEditSelectAll", "Select &All", QKeySequence("Ctrl+A")), [f] { f->mnuEditSelectAll_Click(); });
  connect(action(mnuEdit, "mnuEditFont", "Fo&nt..."), &QAction::triggered, this, [this] {
    EditPlacement& p = form_->placement;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, txtEdit->font(), this, "Font", QFontDialog::MonospacedFonts);
    if (!ok) return;
    p.font_name = chosen.family().toStdString();
    p.font_size = chosen.pointSizeF();
    p.font_bold = chosen.bold();
    apply_font();
  });

  // Insert menu: the control characters, then the block templates.
  mnuIns = menuBar()->addMenu("&Insert");
  mnuIns->setObjectName("mnuIns");
  static const char* const kSymbolKeys[13] = {"Ctrl+K", "Ctrl+W", "", "", "Ctrl+B", "Ctrl+M", "Ctrl+I",
                                              "Ctrl+J", "Ctrl+E", "Ctrl+G", "Ctrl+D", "", ""};
  for (int i = 0; i < 13; ++i) {
    mnuInsSymbol[i] = action(mnuIns, "", QString(), QKeySequence(kSymbolKeys[i]));
    mnuInsSymbol[i]->setObjectName(QString("mnuInsSymbol%1").arg(i));
    bind(mnuInsSymbol[i], [f, i] { f->mnuInsSymbol_Click(i); });
  }
  mnuIns->addSeparator();
  for (int i = 0; i < 8; ++i) {
    auto* a = action(mnuIns, "", kBlockTemplateCaptions[static_cast<size_t>(i)],
                     QKeySequence(Qt::SHIFT | static_cast<Qt::Key>(Qt::Key_F1 + i)));
    a->setObjectName(QString("mnuInsBlock%1").arg(i));
    connect(a, &QAction::triggered, this, [this, f, i] {
      on_event([f, i] { f->mnuInsBlock_Click(i); });
      txtEdit->setFocus();
    });
  }

  // Character menu.
  mnuChar = menuBar()->addMenu("&Character");
  mnuChar->setObjectName("mnuChar");
  bind(action(mnuChar, "mnuCharASCII", "Special Character &by ASCII code", QKeySequence("F12")),
       [f] { f->mnuCharASCII_Click(); });
  mnuChar->addSeparator();
  for (int i = 0; i < static_cast<int>(form_->mnuCharLetter.size()); ++i) {
    auto* a = action(mnuChar, "", caption_of(form_->mnuCharLetter[static_cast<size_t>(i)]));
    a->setObjectName(QString("mnuCharLetter%1").arg(i));
    bind(a, [f, i] { f->mnuCharLetter_Click(i); });
  }

  // Settings menu.
  mnuSettings = menuBar()->addMenu("&Settings");
  mnuSettings->setObjectName("mnuSettings");
  mnuSettingsNNNS = action(mnuSettings, "mnuSettingsNNNS", "&Non-NTFS Network Support");
  mnuSettingsPause = action(mnuSettings, "mnuSettingsPause", "&Pause before Exiting Veltrax");
  mnuSettingsTidyUp = action(mnuSettings, "mnuSettingsTidyUp", "&Delete Temporary Files on Exit");
  for (QAction* a : {mnuSettingsNNNS, mnuSettingsPause, mnuSettingsTidyUp}) a->setCheckable(true);
  bind(mnuSettingsNNNS, [f] { f->mnuSettingsNNNS_Click(); });
  bind(mnuSettingsPause, [f] { f->mnuSettingsPause_Click(); });
  bind(mnuSettingsTidyUp, [f] { f->mnuSettingsTidyUp_Click(); });

  // Check!: a menu-bar item of its own.
  auto* check = menuBar()->addAction("Chec&k!");
  check->setObjectName("mnuCheck");
  bind(check, [f] { f->mnuCheck_Click(); });

  // Help menu.
  mnuHelp = menuBar()->addMenu("&Help");
  mnuHelp->setObjectName("mnuHelp");
  // F1 is the help of the window it is pressed in: the editor's page (F2 as before).
  bind(action(mnuHelp, "mnuHelpFile0", "&Contents"), [f] { f->mnuHelpFile_Click(0); });
  QAction* editor_help = action(mnuHelp, "mnuHelpFile1", "&Editor", QKeySequence("F1"));
  editor_help->setShortcuts({QKeySequence("F1"), QKeySequence("F2")});
  shortcuts_.push_back(QKeySequence("F2"));
  bind(editor_help, [f] { f->mnuHelpFile_Click(1); });
  bind(action(mnuHelp, "mnuHelpFile2", "&File Structure", QKeySequence("F3")), [f] { f->mnuHelpFile_Click(2); });
  mnuHelp->addSeparator();
  bind(action(mnuHelp, "mnuHelpManual0", "&Manual"), [f] { f->mnuHelpManual_Click(0); });
  bind(action(mnuHelp, "mnuHelpManual1", "&Tutorial"), [f] { f->mnuHelpManual_Click(1); });
  mnuHelp->addSeparator();
  bind(action(mnuHelp, "mnuHelpSupport", "e-mail &Support"), [f] { f->mnuHelpSupport_Click(); });
  bind(action(mnuHelp, "mnuHelpAbout", "&About..."), [f] { f->mnuHelpAbout_Click(); });

  // Toolbar: the button's key chooses the action.
  Toolbar1 = addToolBar("Toolbar1");
  Toolbar1->setObjectName("Toolbar1");
  Toolbar1->setMovable(false);
  Toolbar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  struct Button {
    const char* key;
    const char* text;
    const char* tip;
    QStyle::StandardPixmap icon;
    bool separator_after;
  } buttons[] = {
      {"New", "New", "New File", QStyle::SP_FileIcon, false},
      {"Open", "Open", "Open File", QStyle::SP_DialogOpenButton, false},
      {"Save", "Save", "Save File", QStyle::SP_DialogSaveButton, true},
      {"Setup", "Setup", "Print Setup", QStyle::SP_CustomBase, false},
      {"Preview", "Preview", "Preview", QStyle::SP_CustomBase, false},
      {"Print", "Print", "Print All Pages!", QStyle::SP_CustomBase, true},
      {"Cut", "Cut", "", QStyle::SP_CustomBase, false},
      {"Copy", "Copy", "Copy", QStyle::SP_CustomBase, false},
      {"Paste", "Paste", "Paste", QStyle::SP_CustomBase, true},
      {"Find", "Find", "Find and Replace...", QStyle::SP_CustomBase, false},
      {"Spell", "Spell", "Check Spelling... (F7)", QStyle::SP_CustomBase, false},
      {"Check", "Check", "Check Block Structure", QStyle::SP_DialogApplyButton, true},
      {"ZoomIn", "Zoom +", "Zoom In", QStyle::SP_CustomBase, false},
      {"ZoomOut", "Zoom -", "Zoom Out", QStyle::SP_CustomBase, false},
      {"Zoom", "Zoom %", "Custom Zoom", QStyle::SP_CustomBase, false},
  };
  for (const Button& b : buttons) {
    QAction* a = b.icon == QStyle::SP_CustomBase ? Toolbar1->addAction(b.text)
                                                  : Toolbar1->addAction(style()->standardIcon(b.icon), b.text);
    a->setObjectName(QString("Toolbar1_") + b.key);
    a->setToolTip(b.tip);
    a->setData(QString(b.key));
    const std::string key = b.key;
    connect(a, &QAction::triggered, this, [this, key] { on_event([this, key] { form_->Toolbar1_ButtonClick(key); }); });
    if (b.separator_after) Toolbar1->addSeparator();
  }
  // The Run button stands at the right end of the menu bar, where a narrow window never hides it.
  cmdExit_Run = new QPushButton("&Run Now!", this);
  cmdExit_Run->setObjectName("cmdExit_Run");
  cmdExit_Run->setToolTip(" Save File and Run in Veltrax ");
  QFont bold = cmdExit_Run->font();
  bold.setBold(true);
  cmdExit_Run->setFont(bold);
  menuBar()->setCornerWidget(cmdExit_Run, Qt::TopRightCorner);
  connect(cmdExit_Run, &QPushButton::clicked, this, [this] { on_event([this] { form_->cmdExit_Run_Click(); }); });
}

void frmEditText::apply_font() {
  const EditPlacement& p = form_->placement;
  QFont font(qs(p.font_name));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPointSizeF(p.font_size);
  font.setBold(p.font_bold);
  txtEdit->setFont(font);
}

void frmEditText::pull_selection() {
  QTextCursor c = txtEdit->textCursor();
  const std::string& bytes = form_->txtEdit;
  long start = DisplayToByte(bytes, c.selectionStart());
  long end = DisplayToByte(bytes, c.selectionEnd());
  form_->SelStart = start;
  form_->SelLength = end - start;
}

void frmEditText::user_changed() {
  if (applying_) return;
  BoxBytes b = FromDisplay(txtEdit->document()->toRawText().toStdU16String());
  form_->txtEdit = std::move(b.bytes);
  form_->foreign_char = b.foreign;
  form_->foreign_line = b.foreign_line;
  form_->DataChanged = true;
  pull_selection();
  form_->txtEdit_Change();
  refresh();
}

void frmEditText::refresh() {
  EditForm& f = *form_;
  applying_ = true;
  if (!f.box_edits.empty()) {
    bool whole = false;
    for (const BoxEdit& e : f.box_edits) whole = whole || e.whole;
    if (whole) {
      txtEdit->setPlainText(from_bytes(f.txtEdit));
    } else {
      for (const BoxEdit& e : f.box_edits) {
        QTextCursor c(txtEdit->document());
        c.setPosition(static_cast<int>(e.display_start));
        c.setPosition(static_cast<int>(e.display_start + e.display_removed), QTextCursor::KeepAnchor);
        c.insertText(e.inserted_display ? QString::fromStdU16String(*e.inserted_display) : from_bytes(e.inserted));
      }
    }
    f.box_edits.clear();
  }
  // The selection as the logic has it.
  QTextCursor c = txtEdit->textCursor();
  int start = static_cast<int>(ByteToDisplay(f.txtEdit, f.SelStart));
  int end = static_cast<int>(ByteToDisplay(f.txtEdit, f.SelStart + f.SelLength));
  if (c.selectionStart() != start || c.selectionEnd() != end) {
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    txtEdit->setTextCursor(c);
    txtEdit->ensureCursorVisible();
  }
  applying_ = false;

  for (int i = 0; i < 10; ++i) {
    mnuFileFiles[i]->setText(qs(f.mnuFileFiles_caption[static_cast<size_t>(i)]));
    mnuFileFiles[i]->setVisible(f.mnuFileFiles_visible[static_cast<size_t>(i)]);
  }
  mnuEditUndo->setEnabled(f.mnuEditUndo_enabled);
  mnuEditRedo->setEnabled(f.mnuEditRedo_enabled);
  for (int i = 0; i < 13; ++i) {
    const SymbolItem& s = f.mnuInsSymbol[static_cast<size_t>(i)];
    mnuInsSymbol[i]->setText(caption_of(s.caption));
    mnuInsSymbol[i]->setEnabled(s.enabled);
  }
  mnuView->menuAction()->setVisible(f.mnuView_visible);
  mnuViewZoom100->setChecked(f.Zoom == 100);
  mnuViewZoom100->setEnabled(f.Zoom != 100);
  mnuSettingsNNNS->setChecked(f.mnuSettingsNNNS);
  mnuSettingsTidyUp->setChecked(f.mnuSettingsTidyUp);
  mnuSettingsPause->setChecked(f.mnuSettingsPause);
  mnuSettingsPause->setVisible(f.mnuSettingsPause_visible);
  setWindowModified(f.DataChanged);
}

bool frmEditText::eventFilter(QObject* watched, QEvent* e) {
  if (watched == txtEdit) {
    if (e->type() == QEvent::ShortcutOverride) {
      // The window's own keys (Undo, Paste, the Insert menu's Ctrl keys) go to its menus, not to the box.
      auto* k = static_cast<QKeyEvent*>(e);
      QKeySequence pressed(k->keyCombination());
      for (const QKeySequence& s : shortcuts_) {
        if (s == pressed) {
          e->ignore();  // not overridden: the shortcut goes to the window's action
          return true;
        }
      }
    } else if (e->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(e);
      int code = -1;
      if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) code = 13;
      else if (k->key() == Qt::Key_Backspace) code = 8;
      else if (k->key() == Qt::Key_Tab && k->modifiers() == Qt::NoModifier) code = 9;
      else if (!(k->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) && !k->text().isEmpty() &&
               k->text()[0].unicode() >= 32 && k->text()[0].unicode() != 127) {
        auto b = UnicodeToCp1252(k->text()[0].unicode());
        code = b ? *b : '?';
      }
      if (code >= 0) form_->txtEdit_KeyPress(code);
    }
  }
  return QMainWindow::eventFilter(watched, e);
}

void frmEditText::capture_placement() {
  if (isMaximized() || isMinimized() || isFullScreen() || !isVisible()) return;
  EditPlacement& p = form_->placement;
  p.left = x();
  p.top = y();
  p.width = width();
  p.height = height();
}

void frmEditText::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  capture_placement();
}

void frmEditText::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  capture_placement();
}

void frmEditText::closeEvent(QCloseEvent* e) {
  if (!closing_) {
    pull_selection();
    bool ok = form_->Form_QueryUnload();
    refresh();
    if (!ok) {
      e->ignore();
      return;
    }
  }
  capture_placement();
  const QFont font = txtEdit->font();
  form_->placement.font_name = ss(font.family());
  form_->placement.font_size = font.pointSizeF();
  form_->placement.font_bold = font.bold();
  form_->placement.geometry = PlaceText(this);
  // Its boxes close with it (and keep their places), as when the editor is left with Exit.
  if (form_->unload_companions) form_->unload_companions();
  if (closing_) form_->hand_back = nullptr;  // the program ends: the main window is going too
  form_->Form_Unload(isMinimized(), isMaximized());
  e->accept();
  deleteLater();
}

}  // namespace quorvel
