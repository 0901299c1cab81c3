// The common ground of the PDF writer's unit tests: fresh globals, the engine's start-up as far as
// the writer needs it (three fonts, every character 10 dots wide), a temporary current folder holding
// pdffonts.dat, a check of a finished file's cross-reference table, and PDF files made to measure
// (a small logo).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "engine/frame/frame.h"
#include "engine/frame/globals.h"
#include "engine/pdf/globals.h"
#include "engine/pdf/pdf.h"
#include "engine/runtime/files.h"
#include "engine/setup/globals.h"
#include "platform/console.h"
#include "testsupport.h"

class PdfTest : public ::testing::Test {
 protected:
  using TempDir = testing_support::TempDir;
  using ScopedCwd = testing_support::ScopedCwd;
  using BoxRecorder = testing_support::BoxRecorder;
  void SetUp() override {
    reset_frame_globals();
    reset_pdf_globals();
    reset_pdf_input_globals();
    reset_setup_globals();
    platform::set_console(std::make_unique<platform::BatchConsole>(25, false));
    PRODIM();
    VERSION = "7022";
    CRLF = "\r\n";
    FONTSWCODE = "\x13";
    CTRL25 = "\x19";
    HARDSPCODE = "\x05";
    FONTSPEC(1) = "\x1b(10U\x1b(s1p12v0s0b4148T";
    FONTSPEC(2) = "\x1b(10U\x1b(s1p12v0s3b4148T";
    FONTSPEC(3) = "\x1b)10U\x1b)s1p8v1s0b4148T";
    PDFFONTCOUNT = 3;
    CURFONT = 1;
    PAPER = "A4";
    // Every character 10 dots wide in every font.
    for (int f = 1; f <= 3; ++f) {
      FONTSIZE(f) = 1;
      FONTWIDTH(f) = 10;
      for (int c = 32; c <= 255; ++c) CHARWIDTH(f, c) = 10;
    }
    std::filesystem::copy_file(testing_support::data_dir() / "pdffonts.dat", dir.path() / "pdffonts.dat");
  }
  void TearDown() override {
    rt::close_all();
    platform::set_console(nullptr);
  }

  // Begins a document (or a further leaf) on a free file number.
  void open_leaf(const std::string& name = "out.pdf") {
    if (PDFBYTES == 0) PAGEFILE = rt::FREEFILE();
    OPENLEAF(name);
  }
  // A one-leaf document whose single content stream is drawn by draw; returns the whole file.
  std::string one_stream(const std::function<void()>& draw) {
    open_leaf();
    NEWSTREA();
    draw();
    CLOSESTR();
    CLOSELEA();
    PAGECOUNT = 1;
    ASSEMBLE();
    return dir.read("out.pdf");
  }
  // The data of the first stream of a file.
  static std::string first_stream(const std::string& pdf) {
    size_t a = pdf.find("stream\r\n");
    size_t b = pdf.find("endstream", a);
    return pdf.substr(a + 8, b - a - 8);
  }

  TempDir dir;
  ScopedCwd cwd{dir.path()};
  BoxRecorder box;
};

// Checks what every finished file must hold: each cross-reference entry in use points at its
// object's label, free entries form the chain from object 0, and startxref points at "xref". Objects
// up to lf_objects (copied from a logo file written with line feeds alone) may end their lines with LF.
inline void expect_consistent(const std::string& pdf, int lf_objects = 0) {
  size_t sx = pdf.rfind("startxref\r\n");
  ASSERT_NE(sx, std::string::npos);
  size_t xref = std::stoul(pdf.substr(sx + 11));
  ASSERT_EQ(pdf.compare(xref, 6, "xref\r\n"), 0);
  // One subsection from object 0: "0 SIZE \r\n".
  std::string head = pdf.substr(xref + 6, 20);
  const size_t head_end = head.find(" \r\n");
  ASSERT_TRUE(head.starts_with("0 ") && head_end != std::string::npos && head_end > 2 &&
              head.find_first_not_of("0123456789", 2) == head_end)
      << head;
  int size = std::stoi(head.substr(2, head_end - 2));
  size_t at = xref + 6 + head_end + 3;
  std::map<int, int> free_next;
  for (int n = 0; n < size; ++n, at += 20) {
    std::string e = pdf.substr(at, 20);
    ASSERT_EQ(e.substr(18), "\r\n") << n;
    long off = std::stol(e.substr(0, 10));
    if (e[17] == 'n') {
      const std::string eol = n <= lf_objects ? "\n" : "\r\n";
      std::string label = std::to_string(n) + " 0 obj" + eol;
      EXPECT_EQ(pdf.compare(static_cast<size_t>(off), label.size(), label), 0) << "object " << n;
      EXPECT_EQ(pdf.compare(static_cast<size_t>(off) - eol.size(), eol.size(), eol), 0) << "object " << n;
    } else {
      EXPECT_EQ(e[17], 'f');
      free_next[n] = static_cast<int>(off);
    }
  }
  // The free chain from 0 visits every free entry once and ends at 0.
  int steps = 0;
  for (int n = free_next.at(0); n != 0; n = free_next.at(n)) ASSERT_LT(++steps, size);
  EXPECT_EQ(steps + 1, static_cast<int>(free_next.size()));
  EXPECT_NE(pdf.find("/Size " + std::to_string(size) + " \r\n"), std::string::npos);
  EXPECT_EQ(pdf.substr(pdf.size() - 7), "%%EOF\r\n");
}

// A PDF file of numbered objects with a classic cross-reference table, made to measure.
struct PdfMaker {
  explicit PdfMaker(std::string line_end = "\r\n") : eol(std::move(line_end)), bytes("%PDF-1.3" + eol) {}
  std::string eol;
  std::string bytes;
  std::map<int, long> offsets;  // of the objects added since the last section
  // Adds object n with the text between its label and "endobj".
  void add(int n, const std::string& body) {
    offsets[n] = static_cast<long>(bytes.size());
    bytes += std::to_string(n) + " 0 obj" + eol + body + eol + "endobj" + eol;
  }
  // Ends a section: the table of the objects added since the last one, one subsection from 0; the
  // trailer with the given entries; startxref. Returns the section's offset.
  long section(const std::string& trailer) {
    long at = static_cast<long>(bytes.size());
    bytes += "xref" + eol;
    auto entry = [&](long off, char type) {
      char e[21];
      std::snprintf(e, sizeof e, "%010ld %05d %c", off, type == 'f' ? 65535 : 0, type);
      bytes += std::string(e) + (eol == "\r\n" ? "\r\n" : " \n");
    };
    int size = offsets.empty() ? 1 : offsets.rbegin()->first + 1;
    bytes += "0 " + std::to_string(size) + eol;
    entry(0, 'f');
    for (int n = 1; n < size; ++n) offsets.count(n) ? entry(offsets[n], 'n') : entry(0, 'f');
    bytes += "trailer" + eol + "<< " + trailer + " >>" + eol + "startxref" + eol + std::to_string(at) + eol + "%%EOF" + eol;
    offsets.clear();
    return at;
  }
};

inline const std::string kContent = "0 0 1 rg 10 10 20 20 re f";

// A small logo: catalogue 1, page tree 2, page 3, content stream 4 (its length is
// object 6), font 5.
inline PdfMaker example_logo(const std::string& eol = "\r\n") {
  PdfMaker m(eol);
  m.add(1, "<< /Type /Catalog /Pages 2 0 R >>");
  m.add(2, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
  m.add(3, "<< /Type /Page /Parent 2 0 R /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> /ProcSet [/PDF /Text] >> >>");
  m.add(4, "<< /Length 6 0 R >>" + eol + "stream" + eol + kContent + eol + "endstream");
  m.add(5, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
  m.add(6, std::to_string(kContent.size() + eol.size()));
  return m;
}

