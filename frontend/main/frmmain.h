// The main window: binds its controls to the logic of MainForm (frontend/core/mainform.h).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "frontend/core/globals.h"
#include "frontend/core/mainform.h"
#include "frmrun.h"
#include "qtports.h"

namespace quorvel {

class frmMain : public QWidget {
  Q_OBJECT

 public:
  explicit frmMain(const Ports& ports, QWidget* parent = nullptr);
  ~frmMain() override;

  // The start: restores the choices, shows the window, finds the engine (Form_Load).
  void Load();
  // Editors hand control back: the request word ("RUN" or "") and the window shown again.
  void HandBack(const std::string& tag);
  MainForm& form() { return *form_; }
  frmRun* run_window() { return run_window_; }
  // Shows the model's values in the controls again (after the logic changed them).
  void refresh();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  QPushButton* button(const char* name, const QString& caption, const QString& tip);
  QLabel* label(const char* name, const QString& caption, QWidget* buddy);
  void build();
  void connect_events();
  void capture_geometry();
  void settings_menu();
  template <typename F>
  void on_event(F f);

  QtWindowHost host_;
  frmRun* run_window_ = nullptr;
  std::unique_ptr<MainForm> form_;
  bool refreshing_ = false;

  QLineEdit* txtVeltraxFolder = nullptr;
  QComboBox* cboSetupFile = nullptr;
  QComboBox* cboInputFile = nullptr;
  QComboBox* cboOutputType = nullptr;
  QComboBox* cboPrinters = nullptr;
  QComboBox* cboActivity = nullptr;
  QLineEdit* txtScale = nullptr;
  QLineEdit* txtOutputPath = nullptr;
  QCheckBox* chkSummary = nullptr;
  QPushButton* cmdFile[4] = {};
  QPushButton* cmdOpen = nullptr;
  QPushButton* cmdInstall = nullptr;
  QPushButton* cmdEditSetupFile = nullptr;
  QPushButton* cmdEditInputFile = nullptr;
  QPushButton* cmdRun = nullptr;
  QPushButton* cmdManual[2] = {};
  QPushButton* cmdHelp = nullptr;
  QPushButton* cmdAbout = nullptr;
  QPushButton* cmdSupport = nullptr;
  QPushButton* cmdRegVeltrax = nullptr;
  QPushButton* cmdSettings = nullptr;
  QPushButton* cmdExit = nullptr;
  QMenu* mnuSettings = nullptr;
  QAction* mnuSettingsNNNS = nullptr;
  QAction* mnuSettingsPause = nullptr;
  QAction* mnuSettingsTidyUp = nullptr;
};

}  // namespace quorvel
