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
#include <utility>
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
  // The 480 bytes of picture number bitmap of the open symbol library (60 rows of 64 pixels, 2 bytes
  // a 16-pixel word); blank when there is no library or the file does not hold the picture whole, in
  // which case the library is said, once in a run, to be cut short.
  std::string library_picture(std::int32_t bitmap);
  void LINE018();
  void BEGINRAS();
  void CLOSERAS();
  // One pixel row j (from 1) of the current image as strokes on the pen devices.
  void SYMBLINE(std::int32_t j);
  void PSEUDOVE(std::int32_t byte);
  void POLYPOIN(double x, double y);
  // --- the samples column ---
  // One sample as its texts give it: depths, mark, symbol name, label, and where its label goes.
  struct Sample {
    std::string depth_text, label, name;
    bool has_symbol_group = false;  // the text holds a "[" group once its marks are gone
    bool range = false;
    double d1 = 0, d2 = 0, middle = 0;  // depths on this page's frame
    std::int32_t y = 0;                 // strip position of the middle
    char mark = 0;
    std::int32_t label_y = 0;           // page y of the label's baseline
    bool label_moved = false;           // pushed away from its depth: drawn with a leader
    std::int32_t shift = 0;             // dots the mark stands left of its place, clear of the marks beside it
    bool narrow = false;                // a water mark moved: its line drawn short (narrow_columns)
    bool over = false;                  // found no room clear of the other marks: drawn over them
    std::int32_t label_right = 0;       // page x where the label ends (0: 86 dots left of the mark's place)
    double label_points = 0;            // the label's type size where smaller than font 3's (a crowded stretch)
    std::vector<std::pair<std::int32_t, std::int32_t>> leader;  // the leader's points, label end first
  };
  Sample read_sample(const std::string& depth_text, std::string text) const;
  // Whether a sample's symbol and label lie on this page.
  bool sample_on_page(const Sample& s) const;
  // The library picture of a sample's symbol (0: its name is not in the library's list), and how far
  // left of the symbol column the picture stands.
  std::int32_t sample_bitmap(const Sample& s) const;
  std::int32_t sample_offset(const Sample& s) const;
  // The strip positions, clamped to this page, between which a depth range's bar stands; false when the
  // sample is no range or its bar lies on no part of this page.
  bool range_bar(const Sample& s, std::int32_t& top, std::int32_t& bottom) const;
  // A rectangle of the page in dots.
  struct Area {
    std::int32_t x1, y1, x2, y2;
  };
  // The ink of a sample's symbol at its place (no shift), as rows of set pixels in page dots, the same
  // on every device (the printer draws none, but places its marks and labels as the others do).
  std::vector<Area> mark_ink(const Sample& s);
  // Moves the marks of this page whose ink would meet apart, side by side at their own depths: each
  // goes left (Sample::shift) by the least that keeps it clear of the marks placed before it; water
  // marks first, whose lines reach the symbol column, then the samples, each in order down the page.
  void place_marks(std::vector<Sample>& samples);
  // What a sample draws on this page, as rectangles: the ink of its symbol, its range bar with the end
  // ticks, and the point at its depth where a leader from a moved label ends.
  std::vector<Area> sample_areas(const Sample& s);
  // Moves the depth scale's caption left, off the samples column, where a sample's symbol, bar or
  // leader would be drawn over it (caption_shift); it stays where it is when nothing meets it.
  void place_caption(const std::vector<Sample>& samples);
  // Moves the labels of this page's samples that would print over each other or over the scale
  // caption apart along the depth axis, within the page.
  void place_labels(std::vector<Sample>& samples);
  void DSAMP();
  void SINGLETI(Sample& s);
  // The white band of a core sample: picture number picture of the library (the one after the sample's).
  void BANDMASK(std::int32_t py, std::int32_t offset, std::int32_t picture);
  void SAMPLABE(const Sample& s);

  // The hole box's label, and the widths of the texts of the hole and job boxes (label and value).
  std::string hole_box_label() const;
  std::int32_t hole_box_width() const;
  std::int32_t job_box_width() const;
  // The depth scale's caption as SCALES draws it on page 1: x, baseline and text of each line, moved
  // left by caption_shift dots.
  struct CaptionLine {
    std::int32_t x, y;
    std::string text;
  };
  std::vector<CaptionLine> caption_lines() const;
  std::int32_t caption_shift = 0;  // set for each page by place_caption
  // The boxes of this page's labels with a leader and of the marks moved left (place_labels): the layer
  // lines into the log margin stop short of them.
  std::vector<Area> pushed_left;
  // The sample labels that stand further than label_reach from their mark's depth: how many, and how
  // many times larger the scale must be for every label of the hole to stand within reach.
  std::int32_t labels_beyond_reach = 0;
  double label_scale_factor = 1;  // 0: no scale holds them (too many labels at one depth)
  // Leaders that found no way clear of the other marks, and marks that found no room beside the others.
  std::int32_t leaders_over_marks = 0, marks_over_marks = 0;
  // Says, once for the hole, that its sample labels need a larger scale than the sheet's.
  void say_crowded_labels();

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
  std::vector<std::int32_t> MOVEDLABELY;  // page y of the middle of each label moved off its depth
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
// The height in dots of a line of setup font n: its point size (from its selection code), of which
// three quarters stand above the baseline; LINEPITCH when the code gives no size.
double text_height(std::int32_t font);
// A text cut to fit `room` dots in setup font n: as it is when it fits; else, on PDF, drawn narrower (as
// narrow as the same text two points smaller, through the PDF writer's horizontal scaling); else cut
// where it reads best: at its end, marked "...", or, for a file's path, at its front, whole folders
// first and marked "..", so that the file's name stays. Empty when not even the mark fits.
std::string fit_text(const std::string& text, std::int32_t font, std::int32_t room, bool path);
// Baselines for labels stacked along one axis: wanted holds where each label would stand, in order
// down the page. Labels whose baselines are less than `height` apart print over each other: each
// such run is pushed apart to `pitch` between neighbours, up and down alike about where its labels
// want to be, and kept between lo and hi (a run longer than that is squeezed in). Labels that touch
// no other stay where they are, unless outside lo..hi.
std::vector<double> spread_labels(const std::vector<double>& wanted, double height, double pitch, double lo, double hi);
// The same for labels of sizes of their own: label k is heights[k] high (three quarters above its
// baseline); neighbours touch where their lines meet and are pushed a quarter of a line apart.
std::vector<double> spread_labels(const std::vector<double>& wanted, const std::vector<double>& heights, double lo,
                                  double hi);
// The least type size of a crowded samples column's labels for labels of `points`: 70 % of it, but
// never below 7 points (capitals about 1.8 mm high); `points` itself where that is no smaller.
double smallest_label_points(double points);
// The columns of a water mark's picture drawn when it moved off its place (its triangle with a short
// piece of its line): the whole line would reach across the marks beside it.
constexpr std::int32_t narrow_first = 30, narrow_end = 56;
// How far left a mark may move off its place, in dots (13.5 mm).
constexpr std::int32_t furthest_shift = 160;
// How far a sample label may stand from its mark's depth: 10 mm on paper, in dots.
constexpr double label_reach = 10 * 300 / 25.4;
// How many times larger a scale must be (1 or more, at most 64) for labels that want to stand at
// `wanted` (page y, in order down the page, the page's top at `top`) to stand within label_reach of
// where they want to be once spread apart.
double label_scale_needed(const std::vector<double>& wanted, double top, double height, double pitch);
// The largest scale denominator of the series 1, 2, 2.5, 5, 10, 20, 25, 50, ... not above `denominator`.
std::int32_t round_scale_down(double denominator);
// a(1..n) sorted into descending order.
void IRANKD(std::vector<std::int32_t>& a, std::int32_t n);

// PROSTOP: the end of a hole's plot: the page work file assembled and copied to the result files.
void PROSTOP();
// A plain text file as a PDF of pages of 60 lines: target, or (target empty) dir + "\" + the file's
// name without folder and extension + ".PDF". False when the file cannot be read (nothing is written
// then).
bool TEXT2PDF(const std::string& dir, const std::string& file, const std::string& target = std::string());
