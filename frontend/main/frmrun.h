// The "Veltrax run" window: what the engine writes while it runs, a Stop button, and Close.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "frontend/core/ports.h"

namespace quorvel {

// The title of the box that refuses a second run while one runs; the run's end closes it.
inline constexpr const char* kRunningTitle = "Veltrax is running!";

class frmRun : public QWidget, public RunWindowPort {
  Q_OBJECT

 public:
  explicit frmRun(QWidget* parent = nullptr);
  void open(const std::string& heading, std::function<void()> stop) override;
  void append(const std::string& text) override;
  void finished(const std::string& closing_line, bool keep_open) override;

 protected:
  // While the engine runs the window stays: Stop ends the run, and the main window comes back.
  void closeEvent(QCloseEvent* e) override;

 private:
  QLabel* lblStatus = nullptr;
  QPlainTextEdit* txtLog = nullptr;
  QPushButton* cmdStop = nullptr;
  QPushButton* cmdClose = nullptr;
  std::function<void()> stop_;
};

}  // namespace quorvel
