// Saved window places and fitting windows to the screen.
#include "placement.h"

#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <algorithm>

namespace quorvel {

QRect FitRect(const QRect& frame, const QRect& available, const QSize& minimum) {
  if (!available.isValid()) return frame;
  QRect r = frame;
  r.setWidth(std::max(std::min(r.width(), available.width()), minimum.width()));
  r.setHeight(std::max(std::min(r.height(), available.height()), minimum.height()));
  int x = std::clamp(r.x(), available.left(), std::max(available.left(), available.right() + 1 - r.width()));
  int y = std::clamp(r.y(), available.top(), std::max(available.top(), available.bottom() + 1 - r.height()));
  r.moveTo(x, y);
  return r;
}

QRect AvailableArea(const QWidget* w) {
  QScreen* s = nullptr;
  if (w) s = QGuiApplication::screenAt(w->geometry().center());
  if (!s && w) s = w->screen();
  if (!s) s = QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect();
}

void FitOnScreen(QWidget* w) {
  if (!w || !w->isWindow() || w->isMaximized() || w->isFullScreen()) return;
  const QRect available = AvailableArea(w);
  if (!available.isValid()) return;
  QRect client = w->geometry();
  QRect frame = w->frameGeometry();
  int left = client.x() - frame.x(), top = client.y() - frame.y();
  int right = frame.right() - client.right(), bottom = frame.bottom() - client.bottom();
  if (!w->isVisible() || frame == client) {
    // Not shown yet: the window manager's frame is unknown. Allow for a title bar and a thin border.
    const int title = std::max(32, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
    left = right = bottom = 6;
    top = title;
  }
  const QRect with_frame = client.adjusted(-left, -top, right, bottom);
  // The least the window can be: its own minimum or its layout's, whichever is larger.
  const QSize least = w->minimumSize().expandedTo(w->minimumSizeHint());
  const QSize minimum(least.width() + left + right, least.height() + top + bottom);
  const QRect fitted = FitRect(with_frame, available, minimum).adjusted(left, top, -right, -bottom);
  if (fitted != client) w->setGeometry(fitted);
}

namespace {

// Fits the window again after each showing, and once more when the window manager has framed it: the
// frame it added may be larger than the one allowed for. The window manager frames a window in its own
// time, late on a loaded machine, so that fit follows the frame, not the clock: the window is looked at
// every 50 ms until its frame is known (wider than the window), fitted then, and once more 300 ms later
// (the window manager may still be placing it). The first look fits it with the allowance while the frame
// is not known yet; the looks end after 60 s without a frame (no window manager).
class RefitAfterShow : public QObject {
 public:
  static constexpr const char* kName = "quorvel_refit_after_show";
  explicit RefitAfterShow(QWidget* w) : QObject(w), window_(w) {
    setObjectName(kName);
    look_.setInterval(50);
    connect(&look_, &QTimer::timeout, this, [this] { look(); });
    w->installEventFilter(this);
  }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (o == window_ && e->type() == QEvent::Show) {
      since_show_.start();
      first_look_ = true;
      look_.start();
    }
    return false;
  }

 private:
  void look() {
    const bool framed = window_->frameGeometry() != window_->geometry();
    if (!window_->isVisible() || since_show_.elapsed() > 60000) {
      look_.stop();
    } else if (framed) {
      look_.stop();
      FitOnScreen(window_);
      QTimer::singleShot(300, this, [this] {
        if (window_->isVisible()) FitOnScreen(window_);
      });
    } else if (first_look_) {
      FitOnScreen(window_);
    }
    first_look_ = false;
  }

  QWidget* window_;
  QTimer look_;
  QElapsedTimer since_show_;
  bool first_look_ = false;
};

}  // namespace

void KeepOnScreen(QWidget* w) {
  if (w && !w->findChild<QObject*>(RefitAfterShow::kName, Qt::FindDirectChildrenOnly)) new RefitAfterShow(w);
  FitOnScreen(w);
}

bool RestorePlace(QWidget* w, SettingsStore* settings, const std::string& section) {
  bool restored = false;
  if (settings) {
    const std::string text = settings->get(section, kGeometryKey, "");
    if (!text.empty()) restored = w->restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(text)));
  }
  KeepOnScreen(w);
  return restored;
}

std::string PlaceText(const QWidget* w) { return w->saveGeometry().toBase64().toStdString(); }

void SavePlace(const QWidget* w, SettingsStore* settings, const std::string& section) {
  if (settings) settings->set(section, kGeometryKey, PlaceText(w));
}

}  // namespace quorvel
