// The drawing primitives of the output devices, in dots (300 per inch, x right, y down). Each tests
// OUTDEV once: 1 PDF, 2 HP-GL/2, 3 DXF, any other value the PCL printer. All arguments by reference.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

// A horizontal rule at y from x1 to x2 (nothing when x1 = x2).
void RULE(const std::int32_t& x1, const std::int32_t& x2, const std::int32_t& y);
// A vertical rule at x from y1 to y2 (nothing when y1 = y2); BORDER takes 16-bit values.
void BORDIR(const std::int32_t& x, const std::int32_t& y1, const std::int32_t& y2);
void BORDER(const std::int16_t& x, const std::int16_t& y1, const std::int16_t& y2);
// Places the current position (the printer's cursor) at (x, y).
void TABXY(const std::int32_t& x, const std::int32_t& y);

// Makes setup font n (1 to 3) current, at its own size.
void FSETFONT(const std::int32_t& n);
// Makes setup font n current at `points` (its own size when 0): the same type, its height and width
// scaled alike on every device (PDF: the size of the font operator; HP-GL/2: the pitch and height of
// the font command; DXF: the text height; the printer: the height and pitch of the selection code).
// FSETFONT gives the font its own size again. Widths are the font's own (FNDLEN) times points / own.
void set_font_size(const std::int32_t& n, double points);
// The HP-GL/2 font command of a printer code, its height times scale and its pitch divided by it.
std::string plotter_font_command(const std::string& spec, double scale);
// A printer font selection code with its height times scale and its pitch (when it gives one) divided
// by it.
std::string printer_font_code(const std::string& spec, double scale);
// On every device but PDF: carries out and removes the font-switch marks of text (CURFONT flips once
// per mark).
void FIXFONTS(std::string& text);
// Moves (x, y) by TEXTORIGIN for a text w wide and h high.
void TEXTLORG(std::int32_t& x, std::int32_t& y, const std::int32_t& w, const std::int32_t& h);
// Draws text at (x, y) in CURFONT, aligned by TEXTORIGIN; text comes back as the device left it. A text of
// blanks only draws nothing.
void PRINTEXT(const std::int32_t& x, const std::int32_t& y, std::string& text);

// A filled bar from its top left corner (negative sizes are turned round on copies).
void SHADEBAR(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h);
// The shade selection of the devices: none on any device.
void SETSHADE(const std::string& mode, const std::int32_t& shade);
// The word DRAFT in large block letters across the page (nothing on HP-GL/2).
void DRAFTMAR();

// --- the plot file of HP-GL/2 (device 2) and DXF (device 3): frame, viewport, scale ---
void GOVIEWPO(double& xmin, double& xmax, double& ymin, double& ymax);
void GOSCALE(const double& xmin, const double& xmax, const double& ymin, const double& ymax);
void GOOPEN(const std::string& file);
void GOHPGL();
// The one writer of a plot file's end; nothing when no plot file is open.
void GOCLOSE();

// --- pen-plotter commands (device 2), raw bytes to PLOTFILE ---
void PPENWIDT(const double& w);
void PPENUP();
void PPENDOWN();
void PMOVE(const double& x, const double& y);
void PMOVEDEC(const double& x, const double& y, const std::int32_t& n);
void PPLOT(const double& x, const double& y);
void PLORG(std::int32_t& n);
void PLABEL(const std::string& text);
std::int32_t FNXPLUS(const double& x);
std::int32_t FNYPLUS(const double& y);
// n in decimal without a leading blank; FNC adds ",".
std::string FNC(const std::int32_t& n);
std::string FNZ(const std::int32_t& n);

// --- DXF entities (device 3), lines to PAGEFILE ---
std::string FNDXPLUS(const double& x, const std::int32_t& n);
std::string FNDYPLUS(const double& y, const std::int32_t& n);
void DXFLINE(const double& x1, const double& y1, const double& x2, const double& y2);
void DXFTEXT(const std::int32_t& x, const std::int32_t& y, const std::string& text);
void DXFCIRCL(const double& x, const double& y, const double& r);

// The HP-GL/2 font command of setup font i from its printer code (also FONTHEIGHT(i), FONTSLANT(i)).
void CONVERTF(const rt::Array<std::string>& spec, rt::Array<std::string>& code, const std::int32_t& i);
// Hatched bars of the pen devices.
void PGLBAR(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h);
void DXFBAR(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h);
