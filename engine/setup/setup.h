// Procedures of the engine's setup subsystem that other parts call.
#pragma once

#include <cstdint>
#include <string>

// --- work channels (pirandom.cpp) ---
// A work channel c (0, 2, 4 or 6) is a pair of files: base + "R", the index of 4-byte little-endian
// offsets (record k at byte 4 * (k - 1)), and base + "B", the texts, each followed by CR LF. Text k
// runs from index record k to index record k + 1 minus the two line-end bytes. Record numbers run from
// 1 to 32767 and a text holds at most 32767 bytes; anything beyond is refused with error 6.

// Opens (creating when missing) the channel's two files; PIFILE(c) and PIFILE(c + 1) get their numbers.
void PIOPEN(const std::string& base, std::int32_t channel);
// Starts a new list on the channel: text 1 begins at offset 0 and reads back empty until written.
void PIINIT(std::int32_t channel);
// Stores text as text number record. Writing an earlier text again keeps the later texts intact.
void PIWRITE(const std::string& text, std::int32_t record, std::int32_t channel);
// text = text number record, without its line end (empty when it was never written).
void PIREAD(std::string& text, std::int32_t record, std::int32_t channel);

// --- font width tables (widthtab.cpp) ---
// Builds the width table of setup font n (1..3) for the current output device from FONTSPEC(n),
// pdffonts.dat and the metric file in FONTDIR: CHARWIDTH(n, 32..254), FONTSIZE(n), FONTWIDTH(n), the
// device mark CHARWIDTH(n, 255) = 1 + OUTDEV; FONTSPEC(n) is left in its converted form.
void WIDTHTAB(std::int32_t n);

// --- PDF font equivalents (pdffonts.dat) ---
// Looks up the converted font selection string spec in pdffonts.dat (current folder): size receives
// the metric field (a pitch or a metric file name), name the PDF base font name; PDFFONTREC and
// PDFWIDTHS are refreshed from the file. A missing file is reported and leaves all four unchanged.
void PDFEQUIV(std::string& spec, std::string& size, std::string& name);
extern std::string PDFFONTREC;  // the encoding record of pdffonts.dat
extern std::string PDFWIDTHS;   // its /Differences lines, each followed by CR LF
