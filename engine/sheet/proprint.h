// PROPRINT seen from inside: one object per call whose members are the state its sections share and
// whose member functions are the sections. All sections run under PROPRINT's one trap (module
// "proprint.cpp").
//
// Sources:
//   proprint.cpp        the driver: PRELIM, OPENDESC, CLOSEDES, PAYGESIZ, OPENPAGE, CLOSEPAG; MINIBOX
//   proprint_frame.cpp  LETTERHE, HEADERR, HOLEBOX, JOBBOX, BIGBOX, SCALES, BORDERS, SHOOTLAY, NOATES, FOOTER
//   proprint_text.cpp   ZIGZAGS, DIVISION, DRAWZAGL, HOLEFLOO, SOILDIVS, DESCRIPT
//   prostop.cpp         PROSTOP, TEXT2PDF
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/runtime/error.h"

class SheetPrint {
 public:
  explicit SheetPrint(rt::Trap& trap) : trap_(trap) {}
  // The whole call: set-up, the pages, the end.
  void run();

  // --- the driver ---
  void PRELIM();
  void OPENDESC();
  void CLOSEDES();
  void PAYGESIZ();
  void OPENPAGE();
  void CLOSEPAG();
  void page_sequence();

  // --- header, frame, scale, notes, footer ---
  void LETTERHE();
  void HEADERR();
  void HOLEBOX();
  void JOBBOX();
  void BIGBOX();
  void SCALES();
  void BORDERS();
  void SHOOTLAY();
  void NOATES();
  void FOOTER();

  // --- descriptions, divisions, connectors ---
  void ZIGZAGS();
  void DIVISION();
  void DRAWZAGL(std::int32_t layer, std::int32_t zx, std::int32_t zy, std::int32_t ty, std::int32_t ylo,
                std::int32_t yhi);
  void HOLEFLOO();
  void SOILDIVS();
  void DESCRIPT();

  // --- the symbol column ---
  void SYMBS();
  void BUILDSYM(std::int32_t layer);
  void PICKSYMB(std::int32_t bitmap, bool mask);
  void LINE018();
  void BEGINRAS();
  void CLOSERAS();
  // One pixel row j (from 1) of the current image as strokes on the pen devices.
  void SYMBLINE(std::int32_t j);
  void PSEUDOVE(std::int32_t byte);
  void POLYPOIN(double x, double y);
  // --- the samples column ---
  void DSAMP();
  void SINGLETI(const std::string& depth_text, std::string text);
  void BANDMASK(std::int32_t py, std::int32_t offset);
  void SAMPLABE(const std::string& label, double middle);

  // The state of the call.
  std::int32_t LEGENDSHEET = 0, FOOTEVERY = 0, PENDEVICE = 0, LIBFILE = 0, LIBCOUNT = 0, FONT1POINTS = 0;
  std::string COLBREAK, CURSORPUSH, RASTEREND_, ESCAPE;
  std::int32_t DWORKREC = 0, TEXTLEFT = 0, SYMRIGHT = 0, NOTECOL2X = 0;
  std::int32_t HOLEBOTDOT = 0, HOLEBOTY = 0;
  double PAGETOP = 0;
  std::int32_t ROOMEND = 0, NEXTSTART = 0, SYMEND = 0, PAGEENDY = 0, SCALEENDY = 0, SYMENDY = 0, HEADY = 0;
  std::int32_t BOXX = 0, BOXY = 0;
  std::string HOLENAME, PAGELABEL;
  std::int32_t PLUSPOS = 0;
  std::vector<std::int32_t> LANE;  // 0..LAYERCOUNT: the lane of each layer's connector
  std::int32_t LANEMIN = 0, LANEWIDTH = 0;
  std::int32_t SAMPLECOUNT = 0;       // samples on the page (the samples column records them)
  std::vector<std::int32_t> SAMPLEY;  // their page positions, 1..SAMPLECOUNT
  bool unplaced_said = false;         // a text block that lies on no page was said
  // The symbol images of 64 x 60 pixels (elements 2..241, as SYMBITS): blank, frame, pattern.
  std::vector<std::int32_t> SYMBITS2, SYMBITS3, SYMBITS4;
  std::int16_t TAILDONE = 0;          // -1 once the hole-end continuation is drawn
  bool odd_code_said = false;         // a symbol code outside the table was said
  std::int32_t RASTERTOP = 0;         // page y of pixel row 1 on the pen devices
  // The row drawer of the pen devices.
  std::int32_t PIXELNO = 0, PIXELON = 0, LASTPX = 0, LASTPY = 0;
  double ROWX = 0, ROWY = 0, EDGEX = 0;

 private:
  // Reads record DWORKREC of Dwork.2 as a printable line.
  std::string description_line(std::int32_t record);
  // The first Dwork.2 record of item j (layers, then notes).
  std::int32_t first_record(std::int32_t item) const;
  void say_unplaced(std::int32_t item);
  rt::Trap& trap_;
};

// The symbol image SYMBITS replaced by, ORed with or ANDed with a source image (elements 1..241).
void PUTPSET(const std::vector<std::int32_t>& src);
void PUTOR(const std::vector<std::int32_t>& src);
void PUTAND(const std::vector<std::int32_t>& src);
// a(1..n) sorted into descending order.
void IRANKD(std::vector<std::int32_t>& a, std::int32_t n);

// PROSTOP: the end of a hole's plot: the page work file assembled and copied to the result files.
void PROSTOP();
// A plain text file as a PDF of pages of 60 lines: dir + "\" + the file's name without folder and
// extension + ".PDF". False when the file cannot be read (nothing is written then).
bool TEXT2PDF(const std::string& dir, const std::string& file);
