// Window tests of the editor's tools (offscreen): the preview at its zooms, printing the listing to a PDF
// file, and the find and replace box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QScrollBar>

#include "frmpreview.h"
#include "frmreplace.h"
#include "frontend/core/testing/fakes.h"
#include "frontend/core/testing/textbox.h"
#include "testsupport.h"

namespace quorvel {
namespace {

std::string lines(int count, const std::string& line) {
  std::string t;
  for (int i = 1; i <= count; ++i) t += std::to_string(i) + " " + line + "\r\n";
  return t;
}

TEST(Preview, ScrollBarsFollowTheZoom) {
  frmPreview w;
  w.resize(700, 600);
  const QFont font("Courier New", 10);
  QPrinter printer;
  struct Case {
    int zoom;
    bool bars;
  } cases[] = {{60, true}, {100, true}, {200, true}, {20, false}};
  for (const auto& c : cases) {
    w.ShowListing(printer, "C:\\JOBS\\PIT.TXT", "10/12/2026 09:30", "0.5  SAND\r\n", font, c.zoom);
    QApplication::processEvents();
    const bool h = w.area()->horizontalScrollBar()->isVisible(), v = w.area()->verticalScrollBar()->isVisible();
    EXPECT_EQ(v, c.bars) << c.zoom;
    if (c.zoom == 200) {
      EXPECT_TRUE(h);
    }
    if (!c.bars) {
      EXPECT_FALSE(h) << c.zoom;
      EXPECT_EQ(w.area()->verticalScrollBar()->value(), 0);
    }
  }
}

// A listing of 300 lines, some longer than the page is wide, printed to a PDF file.
TEST(Preview, PrintsTheListingToAPdfFile) {
  testing_support::TempDir d;
  const std::string long_line = "Firm brown slightly sandy CLAY with rare subangular fine to medium gravel of sandstone "
                                "and occasional cobbles; the end of this line is WRAPPED.";
  const std::string text = lines(299, "Layer line of the input.") + "300 " + long_line + "\r\n";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  const std::string pdf = (d.path() / "listing.pdf").string();
  printer.setOutputFileName(QString::fromStdString(pdf));
  ASSERT_TRUE(PrintListing(printer, "C:\\JOBS\\PIT3.TXT", "10/12/2026 09:30:00", text, QFont("Courier New", 10)));
  const auto qpdf = testing_support::run_program({"/usr/bin/qpdf", "--check", pdf}, d.path(), 60);
  EXPECT_EQ(qpdf.exit_code, 0) << qpdf.out << qpdf.err;
  const auto out = testing_support::run_program({"/usr/bin/pdftotext", "-layout", pdf, "-"}, d.path(), 60).out;
  const auto first = out.substr(0, out.find('\n'));
  EXPECT_NE(first.find("C:\\JOBS\\PIT3.TXT"), std::string::npos) << first;
  EXPECT_NE(first.find("10/12/2026 09:30:00"), std::string::npos) << first;
  // The header on every page; 300 lines need more than one page; the long line broken at a blank.
  size_t pages = 0;
  for (size_t p = out.find("C:\\JOBS\\PIT3.TXT"); p != std::string::npos; p = out.find("C:\\JOBS\\PIT3.TXT", p + 1)) ++pages;
  EXPECT_GT(pages, 1u);
  EXPECT_EQ(pages, static_cast<size_t>(std::count(out.begin(), out.end(), '\f')));
  EXPECT_NE(out.find("299 Layer line of the input."), std::string::npos);
  EXPECT_NE(out.find("is WRAPPED."), std::string::npos);
  EXPECT_EQ(out.find(long_line), std::string::npos);  // not on one line
}

using Box = fakes::EditBox;

TEST(ReplaceBox, FindThenReplaceAll) {
  fakes::ScriptedMessageBox box;
  fakes::MemorySettings settings;
  Ports ports;
  ports.msgbox = &box;
  ports.settings = &settings;
  Box text("Sand and SAND and sand");
  frmReplace w(ports, text);
  w.FindReplace("F");
  EXPECT_EQ(w.windowTitle(), "Find");
  EXPECT_FALSE(w.findChild<QLineEdit*>("txtReplace")->isEnabled());
  EXPECT_FALSE(w.findChild<QPushButton*>("cmdReplaceAll")->isVisible());
  w.findChild<QLineEdit*>("txtFind")->setText("sand");
  w.findChild<QPushButton*>("cmdFind")->click();
  EXPECT_EQ(w.findChild<QLabel*>("lblFound")->text(), "Found at 10");
  w.findChild<QPushButton*>("cmdReplace")->click();  // switches to replace mode only
  EXPECT_EQ(w.windowTitle(), "Replace");
  EXPECT_TRUE(w.findChild<QPushButton*>("cmdReplaceAll")->isVisible());
  w.findChild<QLineEdit*>("txtReplace")->setText("GRAVEL");
  w.findChild<QPushButton*>("cmdReplaceAll")->click();
  EXPECT_EQ(text.text_, "GRAVEL and GRAVEL and GRAVEL");
  EXPECT_EQ(box.shown.back().text.substr(0, 31), "3 items replaced in whole file!");
  w.findChild<QPushButton*>("cmdCancel")->click();
  EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace quorvel

#include <QMessageBox>
#include <QTimer>

#include "frmrun.h"
#include "qtports.h"

namespace quorvel {
namespace {

// The box that refused a second run closes by itself when the run ends.
TEST(RunWindow, TheStillRunningBoxClosesWhenTheRunEnds) {
  frmRun run;
  run.open("Veltrax runs.", [] {});
  QtMessageBox box;
  bool guard_fired = false;
  QTimer::singleShot(200, &run, [&run] { run.finished("Veltrax has ended.", false); });
  QTimer::singleShot(10000, &run, [&guard_fired] {  // a hang guard only
    guard_fired = true;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) b->done(QMessageBox::Ok);
  });
  EXPECT_EQ(box.show(Message("Veltrax is still running.", Buttons::Ok, Icon::Exclamation, kRunningTitle)), Answer::Ok);
  EXPECT_FALSE(guard_fired);
  EXPECT_FALSE(run.isVisible());
}

}  // namespace
}  // namespace quorvel
