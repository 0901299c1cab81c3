// Printing the editor's text and its preview: the listing of frontend/core/editprint.h drawn on a printer
// or, at the editor's zoom, in the Preview window (pages one under another, scrolled or dragged).
#pragma once

#include <QFont>
#include <QPrinter>
#include <QScrollArea>
#include <QWidget>
#include <string>
#include <vector>

#include "frontend/core/editprint.h"

namespace quorvel {

// The listing laid out for a page of the printer's printable size in the font.
std::vector<PrintPage> LayOutListing(const std::string& file_name, const std::string& date_time,
                                     const std::string& text, const QFont& font, const QSizeF& page_mm);
// Prints the listing on the printer (a page per listing page); false when painting could not start.
bool PrintListing(QPrinter& printer, const std::string& file_name, const std::string& date_time,
                  const std::string& text, const QFont& font);

// Print Setup on the printer, titled "Print Setup.": with a printer installed the print dialog (the
// printer, and through its Properties the paper, orientation and margins), without one the page setup
// of the PDF output (paper, orientation, margins). False when cancelled.
bool ShowPrintSetup(QPrinter& printer, QWidget* parent);

class frmPreview : public QWidget {
  Q_OBJECT

 public:
  explicit frmPreview(QWidget* parent = nullptr);
  // Draws the listing for the printer's page at the zoom (per cent) and shows the window.
  void ShowListing(QPrinter& printer, const std::string& file_name, const std::string& date_time,
                   const std::string& text, const QFont& font, int zoom);
  QScrollArea* area() { return area_; }
  int zoom() const { return zoom_; }

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  QScrollArea* area_ = nullptr;
  class Pages;
  Pages* pages_ = nullptr;
  int zoom_ = 60;
};

}  // namespace quorvel
