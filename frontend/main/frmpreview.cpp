// Printing and the Preview window.
#include "frmpreview.h"
#include "placement.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include "frmspell.h"

namespace quorvel {

namespace {

constexpr double kMmPerInch = 25.4;

// The page's printable size in millimetres: the printer's, or A4 less 5 mm each side without one.
QSizeF printable_mm(QPrinter& printer) {
  const QRectF r = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  return r.isValid() && r.width() > 0 ? r.size() : QSizeF(200, 287);
}

// Draws a page's lines at scale pixels per millimetre.
void draw_page(QPainter& p, const PrintPage& page, const QFont& font, double px_per_mm, double zoom, QPointF origin) {
  QFont f = font;
  f.setPointSizeF(font.pointSizeF() * zoom);
  p.setFont(f);
  p.setPen(Qt::black);
  const QFontMetricsF fm(f, p.device());
  for (const PrintedLine& l : page.lines)
    p.drawText(QPointF(origin.x() + l.x * zoom * px_per_mm, origin.y() + l.y * zoom * px_per_mm + fm.ascent()),
               FromWindows1252(l.text));
}

}  // namespace

std::vector<PrintPage> LayOutListing(const std::string& file_name, const std::string& date_time,
                                     const std::string& text, const QFont& font, const QSizeF& page_mm) {
  // Text is measured at a fixed resolution in the font's point size: millimetres do not depend on it.
  constexpr double kDpi = 1200;
  QFont f = font;
  QImage probe(1, 1, QImage::Format_Mono);
  probe.setDotsPerMeterX(static_cast<int>(kDpi / kMmPerInch * 1000));
  probe.setDotsPerMeterY(static_cast<int>(kDpi / kMmPerInch * 1000));
  const QFontMetricsF fm(f, &probe);
  PrintSetup setup;
  setup.page_width = page_mm.width();
  setup.page_height = page_mm.height();
  setup.line_height = fm.lineSpacing() / kDpi * kMmPerInch;
  setup.letter_a_height = fm.boundingRect("A").height() / kDpi * kMmPerInch;
  setup.width = [fm](const std::string& s) { return fm.horizontalAdvance(FromWindows1252(s)) / kDpi * kMmPerInch; };
  return PrintPreview(file_name, date_time, text, setup);
}

bool PrintListing(QPrinter& printer, const std::string& file_name, const std::string& date_time,
                  const std::string& text, const QFont& font) {
  const std::vector<PrintPage> pages = LayOutListing(file_name, date_time, text, font, printable_mm(printer));
  QPainter p;
  if (!p.begin(&printer)) return false;
  const double px_per_mm = printer.resolution() / kMmPerInch;
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i) printer.newPage();
    draw_page(p, pages[i], font, px_per_mm, 1.0, QPointF(0, 0));
  }
  return p.end();
}

bool ShowPrintSetup(QPrinter& printer, QWidget* parent) {
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    QPageSetupDialog d(&printer, parent);
    d.setWindowTitle("Print Setup.");
    return d.exec() == QDialog::Accepted;
  }
  QPrintDialog d(&printer, parent);
  d.setWindowTitle("Print Setup.");
  d.setOptions(QAbstractPrintDialog::PrintShowPageSize);
  // The dialog only sets up: its accepting button says so.
  if (auto* buttons = d.findChild<QDialogButtonBox*>())
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText("OK");
  return d.exec() == QDialog::Accepted;
}

// The pages, one under another with a gap, at the zoom; dragged with the mouse.
class frmPreview::Pages : public QWidget {
 public:
  explicit Pages(QScrollArea* area) : QWidget(area), area_(area) { setObjectName("picPreview"); }
  void set(std::vector<PrintPage> pages, QFont font, QSizeF page_mm, double zoom) {
    pages_ = std::move(pages);
    font_ = std::move(font);
    page_mm_ = page_mm;
    zoom_ = zoom;
    const double px_per_mm = logicalDpiX() / kMmPerInch;
    page_px_ = QSize(static_cast<int>(page_mm.width() * zoom * px_per_mm), static_cast<int>(page_mm.height() * zoom * px_per_mm));
    const int n = static_cast<int>(pages_.size());
    resize(page_px_.width(), n * page_px_.height() + (n - 1) * kGap);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
    const double px_per_mm = logicalDpiX() / kMmPerInch;
    for (size_t i = 0; i < pages_.size(); ++i) {
      const QPointF origin(0, static_cast<double>(i) * (page_px_.height() + kGap));
      p.fillRect(QRectF(origin, QSizeF(page_px_)), Qt::white);
      draw_page(p, pages_[i], font_, px_per_mm, zoom_, origin);
    }
  }
  void mousePressEvent(QMouseEvent* e) override { grab_ = e->globalPosition().toPoint(); }
  void mouseMoveEvent(QMouseEvent* e) override {
    const QPoint now = e->globalPosition().toPoint(), d = now - grab_;
    grab_ = now;
    area_->horizontalScrollBar()->setValue(area_->horizontalScrollBar()->value() - d.x());
    area_->verticalScrollBar()->setValue(area_->verticalScrollBar()->value() - d.y());
  }

 private:
  static constexpr int kGap = 8;
  QScrollArea* area_;
  std::vector<PrintPage> pages_;
  QFont font_;
  QSizeF page_mm_;
  QSize page_px_;
  double zoom_ = 0.6;
  QPoint grab_;
};

frmPreview::frmPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmPreview");
  setWindowTitle("Preview");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  area_ = new QScrollArea(this);
  area_->setObjectName("scrollPreview");
  pages_ = new Pages(area_);
  area_->setWidget(pages_);
  area_->setWidgetResizable(false);
  layout->addWidget(area_);
  resize(700, 600);
  if (QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
  KeepOnScreen(this);
}

void frmPreview::ShowListing(QPrinter& printer, const std::string& file_name, const std::string& date_time,
                             const std::string& text, const QFont& font, int zoom) {
  zoom_ = zoom;
  const QSizeF page = printable_mm(printer);
  pages_->set(LayOutListing(file_name, date_time, text, font, page), font, page, zoom / 100.0);
  show();
  raise();
}

void frmPreview::closeEvent(QCloseEvent* e) {
  e->accept();
  emit closed();
}

}  // namespace quorvel
