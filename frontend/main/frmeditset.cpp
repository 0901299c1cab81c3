// The SET editor window and its two borehole-log option dialogs.
#include "frmeditset.h"
#include "placement.h"
#include "taborder.h"

#include <QApplication>
#include <algorithm>
#include <cstring>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include "frmmain.h"

namespace quorvel {

namespace {

constexpr int kDiagramWidth = 2790, kDiagramHeight = 4425;

void set_text(QLineEdit* box, const std::string& text) {
  if (box && box->text() != qs(text)) box->setText(qs(text));
}

void set_background(QWidget* w, BoxColour c) {
  QPalette p = w->palette();
  QColor colour = c == BoxColour::Red      ? QColor(255, 0, 0)
                  : c == BoxColour::Yellow ? QColor(255, 255, 0)
                                           : QApplication::palette().color(QPalette::Base);
  if (p.color(QPalette::Base) != colour) {
    p.setColor(QPalette::Base, colour);
    w->setPalette(p);
  }
}

// The arrows of the layout diagram: item, start and end in diagram units.
struct Arrow {
  int item;
  QPoint from, to;
  const char* text;
};
const Arrow kArrows[] = {
    {6, {150, 470}, {800, 470}, "Attrib. L"},     {7, {1700, 420}, {2600, 420}, "Attrib. R"},
    {8, {150, 1100}, {980, 1100}, "Profile L"},   {9, {2070, 1275}, {2650, 1275}, "Profile R"},
    {10, {1680, 1000}, {1680, 1580}, "Head"},     {18, {280, 1330}, {740, 1330}, "Logo X"},
    {19, {1000, 1225}, {1000, 1460}, "Logo Y"},   {13, {505, 1700}, {1250, 1700}, "Job title"},
    {16, {1210, 2300}, {1500, 2300}, "Indent"},   {14, {150, 3660}, {900, 3660}, "Footer 1"},
    {15, {510, 4100}, {1400, 4100}, "Footer 2"},  {11, {360, 3925}, {360, 4380}, "Foot"},
};

void draw_arrow(QPainter& p, QPointF a, QPointF b, double head) {
  p.drawLine(a, b);
  QLineF line(a, b);
  for (int end = 0; end < 2; ++end) {
    QPointF tip = end ? b : a;
    QLineF back(tip, end ? a : b);
    back.setLength(head);
    QLineF l1 = back, l2 = back;
    l1.setAngle(back.angle() + 25);
    l2.setAngle(back.angle() - 25);
    p.drawLine(l1);
    p.drawLine(l2);
  }
}

}  // namespace

// ---- Layout diagram ----

DiagramView::DiagramView(SetEditForm& form, QWidget* parent) : QWidget(parent), form_(form) {
  setMouseTracking(true);
  setMinimumSize(200, 317);
  setToolTip("Click on an arrow to select that measurement");
}

QSize DiagramView::sizeHint() const { return {262, 416}; }

QPoint DiagramView::to_units(const QPointF& p) const {
  return {static_cast<int>(std::lround(p.x() * kDiagramWidth / width())),
          static_cast<int>(std::lround(p.y() * kDiagramHeight / height()))};
}

void DiagramView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), Qt::white);
  p.scale(static_cast<double>(width()) / kDiagramWidth, static_cast<double>(height()) / kDiagramHeight);
  QFont f = font();
  f.setPixelSize(110);
  p.setFont(f);
  // The attribute page (top) and the profile page below it.
  p.setPen(QPen(Qt::black, 14));
  p.drawRect(150, 60, 2500, 820);
  p.drawRect(150, 1000, 2500, 3380);
  p.setPen(QPen(QColor(160, 160, 160), 10, Qt::DashLine));
  p.drawRect(800, 140, 900, 660);   // attribute columns
  p.drawRect(980, 1580, 1090, 2200);  // profile and descriptions
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.drawText(QRect(820, 300, 860, 200), Qt::AlignCenter, "Attribute page");
  p.drawText(QRect(1000, 3330, 1050, 150), Qt::AlignCenter, "Profile page");
  // The logo box, the job title and the text lines of a description.
  p.fillRect(QRect(280, 1130, 470, 320), QColor(200, 220, 255));
  p.drawText(QRect(280, 1130, 470, 150), Qt::AlignCenter, "LOGO");
  p.drawText(QRect(1270, 1620, 900, 160), Qt::AlignLeft | Qt::AlignVCenter, "JOB TITLE");
  for (int i = 0; i < 9; ++i) {
    int y = 2000 + i * 150;
    p.fillRect(QRect(i % 3 == 1 ? 1500 : 1210, y, i % 3 == 2 ? 700 : 1000, 40), QColor(170, 170, 170));
  }
  p.fillRect(QRect(250, 3520, 2300, 30), QColor(120, 120, 120));  // footer rule
  p.drawText(QRect(950, 3600, 1000, 140), Qt::AlignLeft | Qt::AlignVCenter, "Footer 1st fields");
  p.drawText(QRect(1450, 4040, 1100, 140), Qt::AlignLeft | Qt::AlignVCenter, "Footer 2nd fields");
  for (const Arrow& a : kArrows) {
    bool pointed = form_.diagram_pointer == a.item;
    p.setPen(QPen(pointed ? QColor(220, 0, 0) : QColor(0, 0, 160), pointed ? 34 : 18));
    draw_arrow(p, a.from, a.to, 90);
    p.setPen(QPen(pointed ? QColor(220, 0, 0) : QColor(0, 0, 160), 1));
    QFont small = f;
    small.setPixelSize(95);
    small.setBold(pointed);
    p.setFont(small);
    bool vertical = a.from.x() == a.to.x();
    // The logo X arrow runs inside the logo box: its name stands below it.
    QRect text = vertical       ? QRect(a.from.x() + 40, (a.from.y() + a.to.y()) / 2 - 60, 600, 120)
                 : a.item == 18 ? QRect(a.from.x(), a.from.y() + 40, 900, 120)
                                : QRect(a.from.x(), a.from.y() - 150, 900, 120);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, a.text);
    p.setFont(f);
  }
}

void DiagramView::mouseMoveEvent(QMouseEvent* e) { last_ = to_units(e->position()); }

void DiagramView::mouseReleaseEvent(QMouseEvent* e) {
  last_ = to_units(e->position());
  if (e->button() == Qt::LeftButton && clicked) clicked(last_);
}

// ---- Logo canvas ----

LogoCanvas::LogoCanvas(SetEditForm& form, QWidget* parent) : QWidget(parent), form_(form) {
  setMouseTracking(true);
  setMinimumSize(210, 300);
  setCursor(Qt::CrossCursor);
}

QSize LogoCanvas::sizeHint() const { return {294, 420}; }

// The page keeps its shape: 210 x 300 mm, centred in the widget.
QRectF LogoCanvas::page() const {
  double s = std::min(width() / 210.0, height() / 300.0);
  return {(width() - 210 * s) / 2, (height() - 300 * s) / 2, 210 * s, 300 * s};
}

QPointF LogoCanvas::to_mm(const QPointF& p) const {
  QRectF r = page();
  return {(p.x() - r.left()) * 210.0 / r.width(), 300.0 - (p.y() - r.top()) * 300.0 / r.height()};
}

void LogoCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QRectF r = page();
  p.fillRect(r, Qt::white);
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(r.adjusted(0, 0, -1, -1));
  p.setClipRect(r);
  p.setRenderHint(QPainter::Antialiasing);
  double sx = r.width() / 210.0, sy = r.height() / 300.0;
  auto at = [&](int x, int y) { return QPointF(r.left() + x * sx, r.top() + (300 - y) * sy); };
  for (const CanvasOp& op : form_.canvas) {
    QColor c(op.colour.r, op.colour.g, op.colour.b);
    switch (op.kind) {
      case CanvasOp::Clear: p.fillRect(r.adjusted(1, 1, -1, -1), Qt::white); break;
      case CanvasOp::BoxOutline:
        p.setPen(QPen(c, 1));
        p.drawRect(QRectF(at(op.x1, op.y1), at(op.x2, op.y2)).normalized());
        break;
      case CanvasOp::BoxFill: p.fillRect(QRectF(at(op.x1, op.y1), at(op.x2, op.y2)).normalized(), c); break;
      case CanvasOp::Line:
        p.setPen(QPen(c, 1.5));
        p.drawLine(at(op.x1, op.y1), at(op.x2, op.y2));
        break;
    }
  }
}

void LogoCanvas::mouseMoveEvent(QMouseEvent* e) {
  if (moved) moved(to_mm(e->position()));
}

void LogoCanvas::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  if (moved) moved(to_mm(e->position()));
  if (clicked) clicked();
}

// ---- The editor window ----

namespace {

Ports with_host(Ports p, WindowHost* host) {
  p.host = host;
  return p;
}

}  // namespace

frmEditSet::frmEditSet(const Ports& ports, MainForm& main, frmMain* main_window)
    : QWidget(nullptr, Qt::Window),
      host_(this),
      main_window_(main_window),
      form_(std::make_unique<SetEditForm>(with_host(ports, &host_), main)) {
  setObjectName("frmEditSet");
  setAttribute(Qt::WA_DeleteOnClose);
  form_->on_close = [this] { QTimer::singleShot(0, this, [this] { hand_back(); }); };
  const Ports dialog_ports = form_->ports();
  form_->compress_dialog = [this, dialog_ports](const std::string& code) {
    frmSetBHLogCompress d(dialog_ports, code, this);
    d.exec();
    return d.result;
  };
  form_->suppress_dialog = [this, dialog_ports](const std::string& code) -> std::optional<std::string> {
    frmSetBHLogSuppress d(dialog_ports, this);
    if (!d.load(code)) return std::nullopt;
    d.exec();
    return d.result;
  };
  build();
  if (main_window_) move(main_window_->pos());
  KeepOnScreen(this);
}

frmEditSet::~frmEditSet() = default;

QPushButton* frmEditSet::button(const QString& name, const QString& caption, const QString& tip) {
  auto* b = new QPushButton(caption, this);
  b->setObjectName(name);
  b->setToolTip(tip);
  b->setAutoDefault(false);
  return b;
}

QLabel* frmEditSet::label(const QString& name, const QString& caption, QWidget* buddy) {
  auto* l = new QLabel(caption, this);
  l->setObjectName(name);
  l->setBuddy(buddy);
  buddy->setAccessibleName(PlainCaption(caption));
  return l;
}

QLineEdit* frmEditSet::line_edit(const QString& name, const QString& tip) {
  auto* e = new QLineEdit(this);
  e->setObjectName(name);
  if (!tip.isEmpty()) e->setToolTip(tip);
  return e;
}

template <typename F>
void frmEditSet::on_event(F f) {
  if (refreshing_) return;
  f();
  refresh();
}

void frmEditSet::build() {
  SetEditForm& f = *form_;
  for (int k = 0; k < kFirstItems; ++k) {
    txtItem[static_cast<size_t>(k)] = line_edit(QString("txtItem%1").arg(k));
    connect(txtItem[static_cast<size_t>(k)], &QLineEdit::textEdited, this, [this, k](const QString& t) {
      on_event([&] {
        form_->txtItem[static_cast<size_t>(k)] = ss(t);
        form_->txtItem_Change(k);
      });
    });
  }
  for (int k : {6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 18, 19}) {
    auto* box = line_edit(QString("txtmm%1").arg(k), "The same measure in millimetres");
    box->setAccessibleName(PlainCaption(kItemCaptions[static_cast<size_t>(k)]) + " (mm)");
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance("0000000") + 12);
    txtmm[static_cast<size_t>(k)] = box;
    connect(box, &QLineEdit::textEdited, this, [this, k](const QString& t) {
      on_event([&] {
        form_->txtmm[static_cast<size_t>(k)] = ss(t);
        form_->txtmm_Change(k);
      });
    });
  }
  for (int k = 0; k < kSecondItems; ++k) {
    txtChar[static_cast<size_t>(k)] = line_edit(QString("txtChar%1").arg(k));
    connect(txtChar[static_cast<size_t>(k)], &QLineEdit::textEdited, this, [this, k](const QString& t) {
      on_event([&] {
        form_->txtChar[static_cast<size_t>(k)] = ss(t);
        form_->txtChar_Change(k);
      });
    });
  }
  // Focus on a measure points at it in the diagram.
  for (int k = 0; k < kFirstItems; ++k) {
    for (QLineEdit* box : {txtItem[static_cast<size_t>(k)], txtmm[static_cast<size_t>(k)]}) {
      if (!box) continue;
      box->installEventFilter(this);
    }
  }

  txtDescription = line_edit("txtDescription", "A free description of this SET file");
  connect(txtDescription, &QLineEdit::textEdited, this, [this](const QString& t) {
    on_event([&] {
      form_->txtDescription = ss(t);
      form_->txtDescription_Change();
    });
  });

  SSTab1 = new QTabWidget(this);
  SSTab1->setObjectName("SSTab1");
  SSTab1->addTab(build_files_tab(), "Files && &Setup");
  SSTab1->addTab(build_layout_tab(), "&Layout");
  SSTab1->addTab(build_chars_tab(), "&Control Chars");
  SSTab1->addTab(build_fonts_tab(), "&Fonts");
  SSTab1->addTab(build_logo_tab(), "Logo &Xform");
  connect(SSTab1, &QTabWidget::tabBarClicked, this, [this](int tab) {
    if (tab >= 0) on_event([&] { form_->SSTab1_Click(tab); });
  });
  connect(SSTab1, &QTabWidget::currentChanged, this, [this](int tab) {
    if (!refreshing_) form_->SSTab1 = tab;
  });

  auto* cmdOK = button("cmdOK", "&OK", "Save the SET file and return to the main window");
  auto* cmdSaveAs = button("cmdSaveAs", "Save &As", "Save the settings in a different SET file");
  auto* cmdRun = button("cmdRun", "&Run Now!", "Save the SET file and Run Veltrax with it");
  auto* cmdCancel = button("cmdCancel", "Cancel", "Close the editor (Esc; asks when there are changes)");
  auto* cmdHelp0 = button("cmdHelp0", "&Help", "Help on the SET File Editor");
  auto* cmdAbout = button("cmdAbout", "A&bout", "About SET files");
  QFont bold = cmdRun->font();
  bold.setBold(true);
  cmdRun->setFont(bold);
  connect(cmdOK, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdOK_Click(); }); });
  connect(cmdSaveAs, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdSaveAs_Click(); }); });
  connect(cmdRun, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdRun_Click(); }); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdCancel_Click(); }); });
  connect(cmdHelp0, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdHelp_Click(0); }); });
  connect(cmdAbout, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdAbout_Click(); }); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WindowShortcut);
  connect(f1, &QShortcut::activated, this, [this] { on_event([&] { form_->cmdHelp_Click(0); }); });
  // Esc is Cancel, as in a dialog.
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  esc->setContext(Qt::WindowShortcut);
  connect(esc, &QShortcut::activated, cmdCancel, &QPushButton::click);

  auto* description_row = new QHBoxLayout;
  description_row->addWidget(label("lblDescription", "Descr&iption", txtDescription));
  description_row->addWidget(txtDescription, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {cmdOK, cmdSaveAs, cmdRun, cmdCancel}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(cmdHelp0);
  buttons->addWidget(cmdAbout);
  // The tabs scroll where the screen is smaller than they are (a small screen, a large scale factor):
  // the description and the buttons below stay within reach.
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("scrTabs");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(SSTab1);
  scroll->setFocusPolicy(Qt::NoFocus);  // no Tab stop of its own: it scrolls to the control Tab reaches
  auto* top = new QVBoxLayout(this);
  top->addLayout(description_row);
  top->addWidget(scroll, 1);
  top->addLayout(buttons);
  OrderTabByLayout(this);
  // First size: the tabs whole (a scroll area alone would ask for less).
  resize(SSTab1->sizeHint() + (sizeHint() - scroll->sizeHint()));
  (void)f;
}

QWidget* frmEditSet::build_files_tab() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  grid->setColumnStretch(1, 1);
  int row = 0;
  auto add = [&](QLineEdit* box, const QString& lbl_name, const char* caption, std::initializer_list<QWidget*> extra) {
    grid->addWidget(label(lbl_name, caption, box), row, 0);
    grid->addWidget(box, row, 1);
    int col = 2;
    for (QWidget* w : extra) grid->addWidget(w, row, col++);
    ++row;
  };
  auto file_button = [&](int index, const QString& tip) {
    auto* b = button(QString("cmdFile%1").arg(index), QString::fromUtf8("\u2026"), tip);
    b->setMaximumWidth(b->fontMetrics().horizontalAdvance("MMM") + 8);
    connect(b, &QPushButton::clicked, this, [this, index] { on_event([&] { form_->cmdFile_Click(index); }); });
    return b;
  };
  auto edit_button = [&](int index, const QString& tip) {
    auto* b = button(QString("cmdFileEdit%1").arg(index), "Edit File", tip);
    connect(b, &QPushButton::clicked, this, [this, index] { on_event([&] { form_->cmdFileEdit_Click(index); }); });
    return b;
  };
  auto help_button = [&](int index, const QString& tip) {
    auto* b = button(QString("cmdHelp%1").arg(index), "?", tip);
    b->setMaximumWidth(b->fontMetrics().horizontalAdvance("MMM") + 8);
    connect(b, &QPushButton::clicked, this, [this, index] { on_event([&] { form_->cmdHelp_Click(index); }); });
    return b;
  };
  auto item = [&](int k) { return txtItem[static_cast<size_t>(k)]; };
  add(item(0), "lblItem0", kItemCaptions[0],
      {file_button(0, "Locate PROMPTS File"), edit_button(0, "Edit the PROMPTS File (with Caution!)")});
  add(item(1), "lblItem1", kItemCaptions[1],
      {file_button(1, "Locate PROVOCAB File"), edit_button(1, "Edit the PROVOCAB File (with Caution!)")});
  add(txtChar[1], "lblChar1", kCharCaptions[1],
      {file_button(2, "Locate one CONVOCAB File"), edit_button(2, "Edit the CONVOCAB File(s) (with Caution!)")});
  add(item(2), "lblItem2", kItemCaptions[2], {});
  add(item(3), "lblItem3", kItemCaptions[3], {file_button(3, "Locate a File on Output Path")});
  add(item(4), "lblItem4", kItemCaptions[4], {});
  add(item(5), "lblItem5", kItemCaptions[5], {});
  auto* cmdLogoView = button("cmdLogoView", "View", "Display LOGO File in PDF Viewer");
  connect(cmdLogoView, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdLogoView_Click(); }); });
  auto* logo_buttons = new QWidget(this);
  auto* lb = new QHBoxLayout(logo_buttons);
  lb->setContentsMargins(0, 0, 0, 0);
  lb->addWidget(cmdLogoView);
  lb->addWidget(help_button(17, "Help on the LOGO file"));
  add(item(17), "lblItem17", kItemCaptions[17], {file_button(17, "Locate LOGO File"), logo_buttons});
  auto* cmdBoreOpt = button("cmdBoreOpt", "Options...", "Change Borelog Suppress Options");
  connect(cmdBoreOpt, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdBoreOpt_Click(); }); });
  add(item(12), "lblItem12", kItemCaptions[12], {help_button(12, "Help on the Borelog Suppress Options code"), cmdBoreOpt});
  auto* cmdCompBoreLog = button("cmdCompBoreLog", "Options...", "Change Compress Borelog options");
  connect(cmdCompBoreLog, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdCompBoreLog_Click(); }); });
  add(item(20), "lblItem20", kItemCaptions[20], {help_button(20, "Help on the Compress Borelog option"), cmdCompBoreLog});

  auto* seq = new QGroupBox(this);
  auto* seq_row = new QHBoxLayout(seq);
  optPgSeq[0] = new QRadioButton("&Profile, then Borelog", seq);
  optPgSeq[1] = new QRadioButton("Borelog, then Profil&e", seq);
  for (int i = 0; i < 2; ++i) {
    optPgSeq[static_cast<size_t>(i)]->setObjectName(QString("optPgSeq%1").arg(i));
    seq_row->addWidget(optPgSeq[static_cast<size_t>(i)]);
    connect(optPgSeq[static_cast<size_t>(i)], &QRadioButton::clicked, this,
            [this, i] { on_event([&] { form_->optPgSeq_Click(i); }); });
  }
  txtChar[0]->setMaximumWidth(txtChar[0]->fontMetrics().horizontalAdvance("00000") + 12);
  seq_row->addWidget(txtChar[0]);
  seq_row->addStretch(1);
  grid->addWidget(label("lblChar0", kCharCaptions[0], txtChar[0]), row, 0);
  grid->addWidget(seq, row, 1, 1, 3);
  ++row;
  grid->setRowStretch(row, 1);
  return page;
}

QWidget* frmEditSet::build_layout_tab() {
  auto* page = new QWidget(this);
  auto* row = new QHBoxLayout(page);
  picDemo = new DiagramView(*form_, page);
  picDemo->setObjectName("picDemo");
  picDemo->clicked = [this](QPoint p) { on_event([&] { form_->picDemo_Click(p.x(), p.y()); }); };
  row->addWidget(picDemo);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("<b>dots</b> (300/inch)", page), 0, 1);
  grid->addWidget(new QLabel("<b>mm</b>", page), 0, 2);
  int r = 1;
  for (int k : {6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 18, 19}) {
    auto* box = txtItem[static_cast<size_t>(k)];
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance("00000000") + 12);
    grid->addWidget(label(QString("lblItem%1").arg(k), kItemCaptions[static_cast<size_t>(k)], box), r, 0);
    grid->addWidget(box, r, 1);
    grid->addWidget(txtmm[static_cast<size_t>(k)], r, 2);
    ++r;
  }
  grid->addWidget(new QLabel("Click an arrow in the picture to pick its measure.\n"
                             "The paragraph indent is counted in characters (6 per inch).",
                             page),
                  r++, 0, 1, 3);
  grid->setRowStretch(r, 1);
  row->addLayout(grid, 1);
  return page;
}

QWidget* frmEditSet::build_chars_tab() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  for (int k = 2; k < kSecondItems; ++k) {
    auto* box = txtChar[static_cast<size_t>(k)];
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance("00000") + 12);
    grid->addWidget(label(QString("lblChar%1").arg(k), kCharCaptions[static_cast<size_t>(k)], box), k - 2, 0);
    grid->addWidget(box, k - 2, 1);
  }
  grid->addWidget(new QLabel("* A character marks the next keyword of a description.", page), kSecondItems - 2, 0, 1, 2);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(kSecondItems - 1, 1);
  return page;
}

QWidget* frmEditSet::build_fonts_tab() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  static const char* const names[] = {"", "Font &1 (text)", "Font &2 (alternate)", "Font &3 (footer)"};
  grid->addWidget(new QLabel("<b>Typeface</b>", page), 0, 1);
  grid->addWidget(new QLabel("<b>Size (pt)</b>", page), 0, 2);
  grid->addWidget(new QLabel("<b>Symbol set</b>", page), 0, 3);
  for (int i = 1; i <= 3; ++i) {
    auto n = static_cast<size_t>(i);
    cboFont[n] = new QComboBox(page);
    cboFont[n]->setObjectName(QString("cboFont%1").arg(i));
    cboFont[n]->setToolTip("Font to use?");
    cboFontSize[n] = new QComboBox(page);
    cboFontSize[n]->setObjectName(QString("cboFontSize%1").arg(i));
    cboFontSize[n]->setEditable(true);
    cboFontSize[n]->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& s : kFontSizes) cboFontSize[n]->addItem(qs(s));
    cboFontSize[n]->lineEdit()->setObjectName(QString("cboFontSize%1edit").arg(i));
    cboSymbolSet[n] = new QComboBox(page);
    cboSymbolSet[n]->setObjectName(QString("cboSymbolSet%1").arg(i));
    cboSymbolSet[n]->setToolTip("Symbol Set to use?");
    chkBold[n] = new QCheckBox("Bold", page);
    chkBold[n]->setObjectName(QString("chkBold%1").arg(i));
    chkItalic[n] = new QCheckBox("Italic", page);
    chkItalic[n]->setObjectName(QString("chkItalic%1").arg(i));
    txtFont[n] = line_edit(QString("txtFont%1").arg(i), "The font as the selection code in the SET file says it");
    txtFont[n]->setReadOnly(true);
    txtFont[n]->setAccessibleName(QString("Font %1 description").arg(i));
    auto* lbl = label(QString("lblFontNo%1").arg(i), names[i], cboFont[n]);
    int r = 1 + (i - 1) * 2;
    grid->addWidget(lbl, r, 0);
    grid->addWidget(cboFont[n], r, 1);
    grid->addWidget(cboFontSize[n], r, 2);
    grid->addWidget(cboSymbolSet[n], r, 3);
    grid->addWidget(chkBold[n], r, 4);
    grid->addWidget(chkItalic[n], r, 5);
    grid->addWidget(txtFont[n], r + 1, 1, 1, 5);
    connect(cboFont[n], &QComboBox::activated, this, [this, i, n](int idx) {
      on_event([&] {
        form_->font[n].cboFont.index = idx;
        form_->font[n].cboFont.text = ss(cboFont[n]->itemText(idx));
        form_->font_Change(i);
      });
    });
    connect(cboFontSize[n], &QComboBox::currentTextChanged, this, [this, i, n](const QString& t) {
      on_event([&] {
        form_->font[n].cboFontSize = ss(t);
        form_->font_Change(i);
      });
    });
    connect(cboSymbolSet[n], &QComboBox::activated, this, [this, i, n](int idx) {
      on_event([&] {
        form_->font[n].cboSymbolSet.index = idx;
        form_->font[n].cboSymbolSet.text = ss(cboSymbolSet[n]->itemText(idx));
        form_->font_Change(i);
      });
    });
    connect(chkBold[n], &QCheckBox::clicked, this, [this, i, n](bool on) {
      on_event([&] {
        form_->font[n].chkBold = on;
        form_->font_Change(i);
      });
    });
    connect(chkItalic[n], &QCheckBox::clicked, this, [this, i, n](bool on) {
      on_event([&] {
        form_->font[n].chkItalic = on;
        form_->font_Change(i);
      });
    });
  }
  lblFont4 = new QLabel(page);
  lblFont4->setObjectName("lblFont4");
  grid->addWidget(lblFont4, 7, 0, 1, 6);
  auto* lpi = txtItem[21];
  lpi->setMaximumWidth(lpi->fontMetrics().horizontalAdvance("000000") + 12);
  grid->addWidget(label("lblItem21", kItemCaptions[21], lpi), 8, 0, 1, 3);
  grid->addWidget(lpi, 8, 3);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(9, 1);
  return page;
}

QWidget* frmEditSet::build_logo_tab() {
  auto* page = new QWidget(this);
  auto* row = new QHBoxLayout(page);
  auto* left = new QGridLayout;
  static const char* const captions[] = {"",
                                         "a = Horizontal Scaling",
                                         "b = Horizontal Rotation",
                                         "c = Vertical Rotation",
                                         "d = Vertical Scaling",
                                         "e = Horizontal Shift",
                                         "f = Vertical Shift up"};
  static const char* const tips[] = {"",
                                     "X-Scaling fraction",
                                     "X-Rotation in Radians clockwise",
                                     "Y-Rotation in Radians counterclockwise",
                                     "Y-Scaling fraction",
                                     "X-Shift in points (1/72 inch, 0.353 mm) (add \"mm\" for mm)",
                                     "Y-Shift in  points (1/72 inch, 0.353 mm) (add \"mm\" for mm)"};
  int r = 0;
  for (int i = 1; i <= 6; ++i) {
    auto n = static_cast<size_t>(i);
    txtLogo[n] = line_edit(QString("txtLogo%1").arg(i), tips[i]);
    txtLogo[n]->setMaximumWidth(txtLogo[n]->fontMetrics().horizontalAdvance("0000000000") + 12);
    connect(txtLogo[n], &QLineEdit::textEdited, this, [this, n](const QString& t) {
      on_event([&] { form_->txtLogo[n] = ss(t); });
    });
    left->addWidget(label(QString("lblLogo%1").arg(i), captions[i], txtLogo[n]), r, 0);
    left->addWidget(txtLogo[n], r++, 1);
  }
  auto* transforms = new QGroupBox("Transformation", page);
  auto* tl = new QGridLayout(transforms);
  static const char* const t_captions[] = {"None", "Clear", "Shift", "Scaling", "Rotation", "Skew"};
  static const char* const t_tips[] = {
      "Use parameters a-f without any changes",
      "Rest parameters a-f for No Tranformation (raw logo)",
      "Move X,Y (Horizontal, Vertical) mm",
      "Specify a new Scaling for X, Y (Horizontal, Vertical) ",
      "Rotate by an angle (degrees clockwise)",
      "Skew the x-axis by an angle (degrees anti-clockwise) and the y-axis by an angle (degrees clockwise)."};
  for (int i = 0; i < 6; ++i) {
    auto* o = new QRadioButton(t_captions[i], transforms);
    o->setObjectName(QString("optTransform%1").arg(i));
    o->setToolTip(t_tips[i]);
    optTransform[static_cast<size_t>(i)] = o;
    tl->addWidget(o, i / 2, i % 2);
    connect(o, &QRadioButton::clicked, this, [this, i] { on_event([&] { form_->optTransform = i; }); });
  }
  left->addWidget(transforms, r++, 0, 1, 2);
  auto* draw = button("cmdLogoDraw0", "&Draw", "Draw Fresh using the Transformation above");
  auto* odraw = button("cmdLogoDraw1", "O-Draw", "Overdraw (Draw on top of existing drawing)");
  connect(draw, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdLogoDraw_Click(0); }); });
  connect(odraw, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdLogoDraw_Click(1); }); });
  auto* draw_row = new QHBoxLayout;
  draw_row->addWidget(draw);
  draw_row->addWidget(odraw);
  left->addLayout(draw_row, r++, 0, 1, 2);
  auto* demo = new QGroupBox("Demonstration Type", page);
  auto* dl = new QHBoxLayout(demo);
  optDemoType[0] = new QRadioButton("Logo", demo);
  optDemoType[0]->setToolTip("Logo is centred at top left Margin");
  optDemoType[1] = new QRadioButton("Watermark", demo);
  optDemoType[1]->setToolTip("Watermark centred at bottom left");
  for (int i = 0; i < 2; ++i) {
    optDemoType[static_cast<size_t>(i)]->setObjectName(QString("optDemoType%1").arg(i));
    dl->addWidget(optDemoType[static_cast<size_t>(i)]);
    connect(optDemoType[static_cast<size_t>(i)], &QRadioButton::clicked, this,
            [this, i] { on_event([&] { form_->optDemoType_Click(i); }); });
  }
  left->addWidget(demo, r++, 0, 1, 2);
  auto* ref = button("cmdLogoRef", "Set Centre:", "Set Centre for Logo Rotation and Scaling (normally bottom left)");
  connect(ref, &QPushButton::clicked, this, [this] { on_event([&] { form_->cmdLogoRef_Click(); }); });
  chkLogoCentre = new QCheckBox("Logo Centre:", page);
  chkLogoCentre->setObjectName("chkLogoCentre");
  connect(chkLogoCentre, &QCheckBox::clicked, this, [this](bool on) { on_event([&] { form_->chkLogoCentre = on; }); });
  left->addWidget(ref, r, 0);
  left->addWidget(chkLogoCentre, r++, 1);
  lblXY = new QLabel(page);
  lblXY->setObjectName("lblXY");
  left->addWidget(lblXY, r++, 0, 1, 2);
  left->setRowStretch(r, 1);
  row->addLayout(left);

  auto* right = new QVBoxLayout;
  picLogoCanvas = new LogoCanvas(*form_, page);
  picLogoCanvas->setObjectName("picLogoCanvas");
  picLogoCanvas->moved = [this](QPointF mm) {
    form_->picLogoCanvas_MouseMove(mm.x(), mm.y());
    lblXY->setText(qs(form_->lblXY));
  };
  picLogoCanvas->clicked = [this] { on_event([&] { form_->picLogoCanvas_Click(); }); };
  right->addWidget(picLogoCanvas, 1);
  picLogoNote = new QLabel(
      "The arrow stands for the logo on a 210 x 300 mm page (grey: the 25 mm margins).\n"
      "Choose a transformation and click Draw: the numbers a to f are worked out and\n"
      "the arrow is drawn where the logo will stand. O-Draw draws over the last picture.\n"
      "Set Centre (or a click on the page) picks the point that scaling and rotation keep.",
      page);
  picLogoNote->setObjectName("picLogoNote");
  picLogoNote->setFrameShape(QFrame::StyledPanel);
  picLogoNote->setWordWrap(true);
  right->addWidget(picLogoNote);
  row->addLayout(right, 1);
  return page;
}

void frmEditSet::refresh() {
  refreshing_ = true;
  const SetEditForm& f = *form_;
  {
    // The controls bound to the model (named after its fields) are quiet while they are set. Nothing
    // else is: the tab widget's bar changes the page through its signal, and a box's inner parts tell
    // the box to paint its new text (with those blocked a box showed a new value only when painted for
    // another reason, such as a change of tab).
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QWidget* o : findChildren<QWidget*>())
      if (!o->objectName().isEmpty() && !o->objectName().startsWith("qt_") && o != SSTab1->tabBar())
        blockers.push_back(std::make_unique<QSignalBlocker>(o));
    set_text(txtDescription, f.txtDescription);
    for (int k = 0; k < kFirstItems; ++k) {
      set_text(txtItem[static_cast<size_t>(k)], f.txtItem[static_cast<size_t>(k)]);
      set_text(txtmm[static_cast<size_t>(k)], f.txtmm[static_cast<size_t>(k)]);
    }
    set_background(txtItem[20], f.txtItem20_colour);
    for (int k = 0; k < kSecondItems; ++k) set_text(txtChar[static_cast<size_t>(k)], f.txtChar[static_cast<size_t>(k)]);
    optPgSeq[static_cast<size_t>(f.optPgSeq ? 1 : 0)]->setChecked(true);
    for (size_t i = 1; i <= 3; ++i) {
      ShowList(cboFont[i], f.font[i].cboFont);
      ShowList(cboSymbolSet[i], f.font[i].cboSymbolSet);
      if (cboFontSize[i]->currentText() != qs(f.font[i].cboFontSize)) cboFontSize[i]->setEditText(qs(f.font[i].cboFontSize));
      chkBold[i]->setChecked(f.font[i].chkBold);
      chkItalic[i]->setChecked(f.font[i].chkItalic);
      set_text(txtFont[i], f.font[i].txtFont);
    }
    lblFont4->setText(qs(f.lblFont4));
    for (size_t i = 1; i <= 6; ++i) set_text(txtLogo[i], f.txtLogo[i]);
    if (f.optTransform >= 0 && f.optTransform < 6) optTransform[static_cast<size_t>(f.optTransform)]->setChecked(true);
    optDemoType[static_cast<size_t>(f.optDemoType ? 1 : 0)]->setChecked(true);
    chkLogoCentre->setChecked(f.chkLogoCentre);
    lblXY->setText(qs(f.lblXY));
    picLogoNote->setVisible(f.picLogoNote_visible);
    if (SSTab1->currentIndex() != f.SSTab1) SSTab1->setCurrentIndex(f.SSTab1);
  }
  picDemo->update();
  picLogoCanvas->update();
  if (!form_->focus.empty()) {
    if (auto* w = findChild<QWidget*>(qs(form_->focus))) {
      w->setFocus();
      if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
    }
    form_->focus.clear();
  }
  refreshing_ = false;
}

bool frmEditSet::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::FocusIn) {
    QString name = o->objectName();
    for (const char* prefix : {"txtItem", "txtmm"}) {
      if (!name.startsWith(prefix)) continue;
      bool ok = false;
      int item = name.mid(static_cast<int>(std::strlen(prefix))).toInt(&ok);
      if (ok && !refreshing_) {
        form_->txtItem_GotFocus(item);
        picDemo->update();
      }
      break;
    }
  }
  return QWidget::eventFilter(o, e);
}

void frmEditSet::hand_back() {
  if (handed_back_) return;
  handed_back_ = true;
  std::string tag = form_->main().Tag;
  close();
  if (main_window_) main_window_->HandBack(tag);
}

void frmEditSet::closeEvent(QCloseEvent* e) {
  if (!form_->closed) {
    bool keep = form_->Form_QueryUnload();
    refresh();
    if (keep) {
      e->ignore();
      return;
    }
  }
  e->accept();
  if (!handed_back_) {
    handed_back_ = true;
    if (main_window_) main_window_->HandBack(form_->main().Tag);
  }
}

// ---- Compress dialog ----

namespace {

// The sample pictures of the dialogs: pages as rectangles, attribute columns as stripes.
QPixmap compress_picture(int layout) {
  QPixmap pm(200, 120);
  pm.fill(Qt::white);
  QPainter p(&pm);
  p.setPen(Qt::black);
  auto page = [&](int x) { p.drawRect(x, 10, 90, 100); };
  auto columns = [&](int x, int n, QColor c) {
    for (int i = 0; i < n; ++i) p.fillRect(x + i * 14, 20, 10, 80, c);
  };
  QColor attr(70, 120, 200), prof(180, 140, 80);
  if (layout == 0) {
    page(5), page(105);
    columns(15, 5, attr);
    p.fillRect(115, 20, 70, 80, prof);
  } else if (layout == 1) {
    p.drawRect(5, 10, 190, 100);
    columns(15, 5, attr);
    p.fillRect(95, 20, 90, 80, prof);
  } else {
    page(5), page(105);
    columns(15, 3, attr);
    columns(115, 2, attr);
    p.fillRect(145, 20, 40, 80, prof);
  }
  return pm;
}

QPixmap suppress_picture() {
  QPixmap pm(220, 130);
  pm.fill(Qt::white);
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.drawRect(5, 5, 210, 120);
  p.drawText(QRect(8, 8, 40, 14), Qt::AlignLeft, "Level");
  p.drawText(QRect(170, 8, 40, 14), Qt::AlignLeft, "Depth");
  p.drawLine(45, 5, 45, 125);
  p.drawLine(165, 5, 165, 125);
  for (int y = 30; y < 125; y += 20) p.drawLine(165, y, 175, y);  // depth raster
  p.setPen(QPen(QColor(180, 120, 60), 1, Qt::DashLine));
  p.drawLine(45, 60, 165, 60);  // soil layer witness line
  p.setPen(QPen(QColor(60, 100, 200), 1, Qt::DotLine));
  p.drawLine(45, 95, 165, 95);  // attribute witness line
  return pm;
}

}  // namespace

frmSetBHLogCompress::frmSetBHLogCompress(const Ports& ports, const std::string& code, QWidget* parent)
    : QDialog(parent), d_(ports) {
  setObjectName("frmSetBHLogCompress");
  setWindowTitle("Compress Borehole Log Options");
  auto* top = new QVBoxLayout(this);
  static const char* const captions[] = {"Attribute Columns and Profile on Separate Pages",
                                         "Attribute Columns and Profile on the Same Page",
                                         "Attribute Columns occupy a whole page plus"};
  static const char* const tips[] = {"Produces 2 separate facing pages", "Produces one combined page (good for A3)",
                                     "Produces 2 facing pages, with Borelog spilling onto Profile page"};
  auto* pictures = new QHBoxLayout;
  for (int i = 0; i < 3; ++i) {
    auto* o = new QRadioButton(captions[i], this);
    o->setObjectName(QString("opt2page%1").arg(i));
    o->setToolTip(tips[i]);
    opt2page[static_cast<size_t>(i)] = o;
    connect(o, &QRadioButton::clicked, this, [this, i] {
      d_.opt2page_Click(i);
      refresh();
    });
    picDemo[static_cast<size_t>(i)] = new QLabel(this);
    picDemo[static_cast<size_t>(i)]->setPixmap(compress_picture(i));
    pictures->addWidget(picDemo[static_cast<size_t>(i)]);
  }
  txtColumns = new QLineEdit(this);
  txtColumns->setObjectName("txtColumns");
  txtColumns->setToolTip("Number of Borelog columns on the Profile Page");
  txtColumns->setAccessibleName("columns on the Profile Page");
  txtColumns->setMaximumWidth(60);
  top->addWidget(opt2page[0]);
  top->addWidget(opt2page[1]);
  auto* r2 = new QHBoxLayout;
  r2->addWidget(opt2page[2]);
  r2->addWidget(txtColumns);
  r2->addWidget(new QLabel("columns on the Profile Page", this));
  r2->addStretch(1);
  top->addLayout(r2);
  top->addLayout(pictures);
  txtLMarg = new QLineEdit(this);
  txtLMarg->setObjectName("txtLMarg");
  txtLMarg->setToolTip("300 dots/inch, min 150");
  txtLMarg->setMaximumWidth(70);
  txtLMargmm = new QLineEdit(this);
  txtLMargmm->setObjectName("txtLMargmm");
  txtLMargmm->setToolTip("Numeric");
  txtLMargmm->setMaximumWidth(70);
  auto* width_row = new QHBoxLayout;
  auto* caption = new QLabel("Width of Attribute Columns on Profile Page:", this);
  caption->setBuddy(txtLMarg);
  txtLMarg->setAccessibleName("Width of Attribute Columns on Profile Page (dots)");
  txtLMargmm->setAccessibleName("Width of Attribute Columns on Profile Page (mm)");
  width_row->addWidget(caption);
  width_row->addWidget(txtLMarg);
  width_row->addWidget(new QLabel("dots", this));
  width_row->addWidget(txtLMargmm);
  width_row->addWidget(new QLabel("mm", this));
  width_row->addStretch(1);
  top->addLayout(width_row);
  lblNote = new QLabel(this);
  lblNote->setObjectName("lblNote");
  top->addWidget(lblNote);
  connect(txtLMarg, &QLineEdit::textEdited, this, [this](const QString& t) {
    d_.txtLMarg = ss(t);
    d_.txtLMarg_Change();
    refresh();
  });
  connect(txtLMargmm, &QLineEdit::textEdited, this, [this](const QString& t) {
    d_.txtLMargmm = ss(t);
    d_.txtLMargmm_Change();
    refresh();
  });
  connect(txtColumns, &QLineEdit::textEdited, this, [this](const QString& t) { d_.txtColumns = ss(t); });
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("&OK", this);
  ok->setObjectName("cmdOK");
  auto* cancel = new QPushButton("&Cancel", this);
  cancel->setObjectName("cmdCancel");
  auto* help = new QPushButton("&Help", this);
  help->setObjectName("cmdHelp");
  help->setToolTip("Information about this feature.");
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  top->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] {
    result = d_.cmdOK_Click();
    refresh();
    if (result) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] { d_.cmdHelp_Click(); });
  OrderTabByLayout(this);
  d_.Form_Load(code);
  refresh();
}

void frmSetBHLogCompress::refresh() {
  QSignalBlocker b1(txtLMarg), b2(txtLMargmm), b3(txtColumns);
  set_text(txtLMarg, d_.txtLMarg);
  set_text(txtLMargmm, d_.txtLMargmm);
  set_text(txtColumns, d_.txtColumns);
  opt2page[static_cast<size_t>(std::clamp(d_.opt2page, 0, 2))]->setChecked(true);
  txtColumns->setEnabled(d_.txtColumns_enabled);
  txtLMarg->setEnabled(d_.txtLMarg_enabled);
  txtLMargmm->setEnabled(d_.txtLMarg_enabled);
  for (int i = 0; i < 3; ++i) picDemo[static_cast<size_t>(i)]->setVisible(i == d_.picDemo);
  lblNote->setText(qs(d_.lblNote));
  set_background(txtLMargmm, d_.txtLMargmm_colour);
}

// ---- Suppress dialog ----

frmSetBHLogSuppress::frmSetBHLogSuppress(const Ports& ports, QWidget* parent) : QDialog(parent), d_(ports) {
  setObjectName("frmSetBHLogSuppress");
  setWindowTitle("Borehole Log Suppress Options");
  auto* top = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  static const char* const names[] = {"chkSuppSLWL", "chkSuppAWL", "chkSuppRL", "chkSuppDR", "chkSwapLD"};
  static const char* const captions[] = {"Suppress Soil Layer Witness Lines", "Suppress Attribute Witness Lines",
                                         "Suppress Reduced Levels", "Suppress Depth Rasters", "Swap Levels and Depths"};
  for (int i = 0; i < 5; ++i) {
    boxes[static_cast<size_t>(i)] = new QCheckBox(captions[i], this);
    boxes[static_cast<size_t>(i)]->setObjectName(names[i]);
    left->addWidget(boxes[static_cast<size_t>(i)]);
  }
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("&OK", this);
  ok->setObjectName("cmdOK");
  auto* cancel = new QPushButton("&Cancel", this);
  cancel->setObjectName("cmdCancel");
  auto* help = new QPushButton("&Help", this);
  help->setObjectName("cmdHelp");
  help->setToolTip("Information about this feature.");
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);
  left->addStretch(1);
  left->addLayout(buttons);
  top->addLayout(left);
  auto* pic = new QLabel(this);
  pic->setObjectName("picDemo");
  pic->setPixmap(suppress_picture());
  top->addWidget(pic);
  connect(ok, &QPushButton::clicked, this, [this] {
    d_.chkSuppSLWL = boxes[0]->isChecked();
    d_.chkSuppAWL = boxes[1]->isChecked();
    d_.chkSuppRL = boxes[2]->isChecked();
    d_.chkSuppDR = boxes[3]->isChecked();
    d_.chkSwapLD = boxes[4]->isChecked();
    result = d_.cmdOK_Click();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] { d_.cmdHelp_Click(); });
  OrderTabByLayout(this);
}

bool frmSetBHLogSuppress::load(const std::string& code) {
  if (!d_.Form_Load(code)) return false;
  boxes[0]->setChecked(d_.chkSuppSLWL);
  boxes[1]->setChecked(d_.chkSuppAWL);
  boxes[2]->setChecked(d_.chkSuppRL);
  boxes[3]->setChecked(d_.chkSuppDR);
  boxes[4]->setChecked(d_.chkSwapLD);
  return true;
}

}  // namespace quorvel
