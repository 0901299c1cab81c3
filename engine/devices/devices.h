// The drawing primitives of the output devices, in dots (300 per inch, x right, y down). Each tests
// OUTDEV once: 1 PDF, 2 HP-GL/2, 3 DXF, any other value the PCL printer. All arguments by reference.
#pragma once

#include <cstdint>
#include <string>

// A horizontal rule at y from x1 to x2 (nothing when x1 = x2).
void RULE(const std::int32_t& x1, const std::int32_t& x2, const std::int32_t& y);
// A vertical rule at x from y1 to y2 (nothing when y1 = y2); BORDER takes 16-bit values.
void BORDIR(const std::int32_t& x, const std::int32_t& y1, const std::int32_t& y2);
void BORDER(const std::int16_t& x, const std::int16_t& y1, const std::int16_t& y2);
// Places the current position (the printer's cursor) at (x, y).
void TABXY(const std::int32_t& x, const std::int32_t& y);

// Makes setup font n (1 to 3) current.
void FSETFONT(const std::int32_t& n);
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
