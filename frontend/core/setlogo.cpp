// The SET editor's logo tab: the six numbers a b c d e f of the logo's placement matrix (a point (x, y)
// of the logo lands at (a x + c y + e, b x + d y + f); e and f in points), built from a shift, a scaling,
// a rotation or a skew, and previewed on a demonstration arrow on a 210 x 300 mm page.
#include <algorithm>
#include <cmath>

#include "setedit.h"
#include "viewing.h"

namespace quorvel {

const std::array<Rgb, 16> kPalette = {{{0, 0, 0},
                                       {0, 0, 128},
                                       {0, 128, 0},
                                       {0, 128, 128},
                                       {128, 0, 0},
                                       {128, 0, 128},
                                       {128, 128, 0},
                                       {192, 192, 192},
                                       {128, 128, 128},
                                       {0, 0, 255},
                                       {0, 255, 0},
                                       {0, 255, 255},
                                       {255, 0, 0},
                                       {255, 0, 255},
                                       {255, 255, 0},
                                       {255, 255, 255}}};

const std::array<LogoPoint, 7> kLogoArrow = {
    {{105, 230}, {185, 150}, {150, 150}, {150, 26}, {60, 26}, {60, 150}, {25, 150}}};
const std::array<LogoPoint, 7> kLogoArrowPlaced = {
    {{57, 274}, {89, 262}, {75, 262}, {75, 244}, {39, 244}, {39, 262}, {25, 262}}};

namespace {

constexpr double kPointsPerMm = 2.83464566929134;
constexpr double kPi = 3.1415926535;
constexpr Rgb kBlack{0, 0, 0}, kGrey{127, 127, 127}, kBlue{0, 0, 255}, kMagenta{255, 0, 255}, kRed{255, 0, 0};

// The canvas holds 16-bit coordinates: points far outside (a skew of 90 degrees) are clamped to them.
int canvas_coordinate(double v) {
  if (!std::isfinite(v)) return v < 0 ? -32768 : 32767;
  return static_cast<int>(std::clamp(std::nearbyint(v), -32768.0, 32767.0));
}

// A set's X and Y figures: split at ","; one figure serves both.
std::pair<std::string, std::string> figures(const std::string& set) {
  std::string rest = set;
  std::string x = Parse(rest, ",");
  std::string y = Trim(rest).empty() ? x : Parse(rest, ",");
  return {x, y};
}

std::vector<std::string> sets_of(const std::string& answer) {
  std::vector<std::string> out;
  std::string rest = answer;
  while (!Trim(rest).empty()) out.push_back(Parse(rest, ";"));
  return out;
}

}  // namespace

void SetEditForm::logo_read(double m[6]) {
  for (int i = 0; i < 4; ++i) m[i] = LeadingNumber(txtLogo[static_cast<size_t>(i + 1)]);
  for (int i = 4; i < 6; ++i) {
    const std::string& t = txtLogo[static_cast<size_t>(i + 1)];
    m[i] = ContainsText(t, "mm") ? LeadingNumber(t) : LeadingNumber(t) / kPointsPerMm;
  }
  if (m[0] == 0) m[0] = 1;
  if (m[3] == 0) m[3] = 1;
}

void SetEditForm::logo_write(const double m[6]) {
  for (int i = 0; i < 4; ++i) txtLogo[static_cast<size_t>(i + 1)] = NumberText(RoundHalfEven(m[i], 2));
  for (int i = 4; i < 6; ++i) txtLogo[static_cast<size_t>(i + 1)] = NumberText(RoundHalfEven(m[i] * kPointsPerMm, 2));
}

void SetEditForm::logo_outline(const std::array<LogoPoint, 7>& p, Rgb colour) {
  canvas.push_back({CanvasOp::Line, p[6].x, p[6].y, p[0].x, p[0].y, colour});
  for (size_t i = 1; i < p.size(); ++i) canvas.push_back({CanvasOp::Line, p[i - 1].x, p[i - 1].y, p[i].x, p[i].y, colour});
}

void SetEditForm::logo_square(double x, double y, Rgb colour) {
  canvas.push_back({CanvasOp::BoxFill, canvas_coordinate(x - 2), canvas_coordinate(y + 2), canvas_coordinate(x + 2),
                    canvas_coordinate(y - 2), colour});
}

// Applies one set of the chosen transformation to the matrix.
bool SetEditForm::logo_transform(double m[6], const std::string& set) {
  double& a = m[0];
  double& b = m[1];
  double& c = m[2];
  double& d = m[3];
  double& e = m[4];
  double& f = m[5];
  switch (optTransform) {
    case 0: break;
    case 1: a = 1, b = 0, c = 0, d = 1, e = 0, f = 0; break;
    case 2: {
      auto [x, y] = figures(set);
      auto apply = [](double& v, const std::string& t) { v = (!t.empty() && t[0] == '+') ? v + LeadingNumber(t) : LeadingNumber(t); };
      apply(e, x);
      apply(f, y);
      break;
    }
    case 3: {
      auto [x, y] = figures(set);
      auto scale = [](const std::string& t) { return ContainsText(t, "%") ? LeadingNumber(t) / 100 : LeadingNumber(t); };
      a = scale(x);
      d = scale(y);
      if (chkLogoCentre) {
        e += (1 - a) * LogoRefX;
        f += (1 - d) * LogoRefY;
      }
      break;
    }
    case 4: {
      double angle = LeadingNumber(set);
      LogoAngleRotation = angle;
      double t = -angle * kPi / 180;
      a = std::cos(t), b = std::sin(t), c = -std::sin(t), d = std::cos(t);
      if (chkLogoCentre) {
        e = LogoRefX - (a * LogoRefX + c * LogoRefY);
        f = LogoRefY - (b * LogoRefX + d * LogoRefY);
      }
      break;
    }
    case 5: {
      auto [x, y] = figures(set);
      LogoAngleSkewX = LeadingNumber(x);
      LogoAngleSkewY = LeadingNumber(y);
      b = std::tan(LogoAngleSkewX * kPi / 180);
      c = std::tan(LogoAngleSkewY * kPi / 180);
      if (chkLogoCentre) {
        double xr = std::nearbyint(a * LogoRefX + c * LogoRefY + e);
        double yr = std::nearbyint(b * LogoRefX + d * LogoRefY + f);
        e = e + LogoRefX - xr;
        f = f + LogoRefY - yr;
      }
      break;
    }
    default: ask("Unknown Option!", Buttons::Ok, Icon::Critical, "Program Error!"); break;
  }
  return true;
}

void SetEditForm::cmdLogoDraw_Click(int index) {
  struct Busy {
    WindowHost* h;
    ~Busy() { h->set_busy(false); }
  } restore{ports_.host};
  ports_.host->set_busy(true);
  LogoDemoX0 = 15;
  LogoDemoY0 = 240;
  LogoPoints = kLogoArrow;
  picLogoNote_visible = false;
  if (index == 0) {
    LogoPenColour = 0;
    canvas.clear();
    canvas.push_back({CanvasOp::Clear, 0, 0, 0, 0, {}});
  }
  canvas.push_back({CanvasOp::BoxOutline, LogoMargins[0], 300 - LogoMargins[2], 210 - LogoMargins[1], LogoMargins[3], kGrey});
  if (optDemoType == 0) LogoPoints = kLogoArrowPlaced;
  logo_outline(LogoPoints, kBlack);
  if (chkLogoCentre) logo_square(LogoRefX, LogoRefY, kBlue);

  double m[6];
  logo_read(m);
  std::vector<std::string> sets;
  if (optTransform == 0 || optTransform == 1 || optTransform > 5 || optTransform < 0) {
    sets.push_back("");
  } else {
    std::string prompt, title, def;
    switch (optTransform) {
      case 2:
        title = "Shift to Apply";
        prompt = "Set shift = X,Y (Horizontal, Vertical) mm?\n(one figure for both; + to add)";
        def = NumberText(RoundHalfEven(m[4], 1)) + "," + NumberText(RoundHalfEven(m[5], 1));
        break;
      case 3:
        title = "Scaling to Apply";
        prompt = "New Scaling for X,Y (Horizontal, Vertical) fraction or %?\n(comma-separated, or one figure for both)\n"
                 "[semicolon-separated for several sets]";
        def = NumberText(m[0]) + "," + NumberText(m[3]);
        break;
      case 4:
        title = "Rotation to Apply";
        prompt = "New Rotation angle (degrees clockwise)?\n[semicolon-separated for several]";
        def = NumberText(LogoAngleRotation);
        break;
      default:
        title = "Skew to Apply";
        prompt = "New Skew angle for X,Y (Horizontal, Vertical) degrees?\n(comma-separated, or one figure for both)\n"
                 "[semicolon-separated for several sets]";
        def = NumberText(LogoAngleSkewX) + "," + NumberText(LogoAngleSkewY);
        break;
    }
    std::optional<std::string> answer = ports_.inputbox ? ports_.inputbox->ask(prompt, title, def) : std::nullopt;
    if (!answer || Trim(*answer).empty()) return;
    sets = sets_of(*answer);
    if (sets.empty()) return;
  }
  for (const std::string& set : sets) {
    logo_transform(m, set);
    LogoPenColour = LogoPenColour >= 15 ? 0 : LogoPenColour + 1;
    std::array<LogoPoint, 7> moved;
    for (size_t i = 0; i < moved.size(); ++i) {
      double x = LogoPoints[i].x, y = LogoPoints[i].y;
      moved[i] = {canvas_coordinate(m[0] * x + m[2] * y + m[4]), canvas_coordinate(m[1] * x + m[3] * y + m[5])};
    }
    logo_outline(moved, kPalette[static_cast<size_t>(LogoPenColour)]);
  }
  logo_write(m);
}

void SetEditForm::cmdLogoRef_Click() {
  picLogoNote_visible = false;
  std::string tl = NumberText(LogoMargins[0]) + "," + NumberText(300 - LogoMargins[2]);
  std::string prompt = "Logo Reference Point X,Y (Horizontal, Vertical) mm for scaling and rotation?\n"
                       "0,0 = Bottom left corner (no change)\n" +
                       tl +
                       " = Top Left Margin (TL).\n105,150 = Page Centre (C).  LPn = Logo Point n\n"
                       "(Checkbox will be turned ON; Redraw to see effect)\nNote: You can also click on the 'Page'.";
  std::optional<std::string> answer =
      ports_.inputbox ? ports_.inputbox->ask(prompt, "Logo Centre", NumberText(LogoRefX) + "," + NumberText(LogoRefY))
                      : std::nullopt;
  if (!answer || Trim(*answer).empty()) {
    chkLogoCentre = false;
    return;
  }
  std::string s = Trim(*answer);
  if (EqualText(s, "TL")) s = tl;
  if (EqualText(s, "C")) s = "105,150";
  auto [x, y] = figures(s);
  LogoRefX = LeadingNumber(x);
  LogoRefY = LeadingNumber(y);
  if (StartsWithText(s, "LP")) {
    double n = LeadingNumber(s.substr(2));
    if (n >= 1 && n <= 7 && n == std::floor(n)) {
      LogoRefX = kLogoArrowPlaced[static_cast<size_t>(n) - 1].x;
      LogoRefY = kLogoArrowPlaced[static_cast<size_t>(n) - 1].y;
    }
  }
  chkLogoCentre = !(LogoRefX == 0 && LogoRefY == 0);
  logo_square(LogoRefX, LogoRefY, kMagenta);
}

void SetEditForm::picLogoCanvas_MouseMove(double x_mm, double y_mm) {
  lblXY = NumberText(RoundHalfEven(x_mm)) + ", " + NumberText(RoundHalfEven(y_mm));
}

void SetEditForm::picLogoCanvas_Click() {
  if (lblXY.empty()) return;
  auto [x, y] = figures(lblXY);
  LogoRefX = LeadingNumber(x);
  LogoRefY = LeadingNumber(y);
  chkLogoCentre = true;
  logo_square(LogoRefX, LogoRefY, kRed);
}

void SetEditForm::optDemoType_Click(int index) {
  optDemoType = index;
  if (index == 1) chkLogoCentre = false;
}

void SetEditForm::cmdLogoView_Click() {
  ports_.host->set_busy(true);
  main_.SetVeltraxFolder(main_.EngineFolder());
  LaunchFile(ports_, "", main_.EngineFolder() + txtItem[17] + ".PDF", "");
  ports_.host->set_busy(false);
}

bool SetEditForm::LogoChanged() {
  long at = FirstEnd + 1;
  if (FirstEnd >= 0 && at <= LastLine() && HoldsMatrix(SetLines[static_cast<size_t>(at)])) {
    LogoRefLine = SetLines[static_cast<size_t>(at)];
  } else {
    std::string all;
    for (int i = 1; i <= 6; ++i) all += txtLogo[static_cast<size_t>(i)];
    LogoRefLine = Trim(all).empty() ? "0 0 0 0 0 0" : "1 0 0 1 0 0";
  }
  std::vector<std::string> f = BlankFields(LogoRefLine);
  for (int i = 1; i <= 6; ++i) {
    double file_value = static_cast<size_t>(i - 1) < f.size() ? LeadingNumber(f[static_cast<size_t>(i - 1)]) : 0;
    if (file_value != LeadingNumber(txtLogo[static_cast<size_t>(i)])) return true;
  }
  return false;
}

}  // namespace quorvel
