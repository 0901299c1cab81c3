// GOVIEWPO, GOSCALE, GOOPEN, GOHPGL: the plot file of the pen plotter (HP-GL/2 in a PJL wrapper) and of
// DXF, and the mapping of dots to plotter units (1/40 mm, y upwards).
//
// Equal bounds of a scale never wait for ever: in a run without a person the line goes to the console and
// ERROR.LOG and the drawing goes on with the previous scale.
#include "engine/devices/devices.h"
#include "engine/devices/globals.h"
#include "engine/frame/console.h"
#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/number.h"
#include "engine/setup/globals.h"

void GOVIEWPO(double& xmin, double& xmax, double& ymin, double& ymax) {
  RT_TRAP(trap, "GOVIEWPO");
  XOFFSET = 0, YOFFSET = 0;
  const double w = PAPERX, h = PAPERY;
  if (xmin < 0) xmin = 0;
  if (xmax > 100) xmax = 100;
  if (ymin < 0) ymin = 0;
  if (ymax > 100) ymax = 100;
  P1X = rt::to_i32(w * xmin / 100), P2X = rt::to_i32(w * xmax / 100);
  P1Y = rt::to_i32(h * ymin / 100), P2Y = rt::to_i32(h * ymax / 100);
}

void GOSCALE(const double& xmin, const double& xmax, const double& ymin, const double& ymax) {
  RT_TRAP(trap, "GOSCALE");
  if (xmin == xmax || ymax == ymin) {
    show_message("INVALID SCALE VALUES", 1);
    rt::log_note("INVALID SCALE VALUES");
    return;  // the previous scale stays in force
  }
  XSCALE = (P2X - P1X) / (xmax - xmin);
  YSCALE = (P2Y - P1Y) / (ymax - ymin);
  XOFFSET = P1X - xmin * XSCALE;
  YOFFSET = P1Y - ymin * YSCALE;
}

void GOOPEN(const std::string& file) {
  RT_TRAP(trap, "GOOPEN");
  ESC = "\x1b";
  // A work file that an earlier hole left (its result could not be put in place) never becomes this
  // hole's result: it goes first, and the new file takes its name only once it is complete.
  if (OUTDEV != 1 && rt::file_exists(file)) rt::kill_file(file);
  if (OUTDEV == 3) {
    DXFXSCALE = XSCALE, DXFXOFF = XOFFSET, DXFYSCALE = YSCALE, DXFYOFF = YOFFSET;
    if (!rt::open_new_file(PLOTFILE, file, rt::FileMode::Output)) return;
    plot_open = true;
    for (const char* line : {" 0", "SECTION", " 2", "ENTITIES"}) rt::print_line(PLOTFILE, line);
  } else if (OUTDEV != 1 && OUTDEV != 3 && OUTDEV != 2) {
    // The PCL printer: one stream per hole; the job head, units of 300 per inch and the page.
    if (!rt::open_new_file(PLOTFILE, file, rt::FileMode::Binary)) return;
    plot_open = true;
    const bool a3 = PAPER == "A3";
    rt::put_bytes(PLOTFILE, ESC + "%-12345X" + "@PJL ENTER LANGUAGE=PCL\r\n" + ESC + "E" + ESC + "&u300D" +
                                (a3 ? ESC + "&l27A" + ESC + "&l1O" : ESC + "&l26A" + ESC + "&l0O"));
  } else if (OUTDEV == 2) {
    if (!rt::open_new_file(PLOTFILE, file, rt::FileMode::Binary)) return;
    plot_open = true;
    rt::put_bytes(PLOTFILE, ESC + "E" + ESC + "%-12345X" + "@PJL COMMENT \r\n" + "@PJL ENTER LANGUAGE=HP-GL/2\r\n");
  }
}

void GOHPGL() {
  RT_TRAP(trap, "GOHPGL");
  if (OUTDEV == 3 || !plot_open) return;
  rt::put_bytes(PLOTFILE, ESC + "%0B" + "INSP1PUPA0,0DT" + std::string(1, '\x1f') + "PW0" + "IP" + FNC(P1X) + FNC(P1Y) +
                              FNC(P2X) + FNZ(P2Y));
}
