// The PDF writer: one PDF 1.3 document at a time, written in one forward pass.
//
// A document: OPENLEAF (the first one opens the file and writes its header), content streams
// (NEWSTREA ... CLOSESTR) drawn with the path and text operations below, CLOSELEA; again per leaf;
// then ASSEMBLE writes the pages, the page tree, the catalogue, the cross-reference table and the
// trailer and closes the file. All parameters by reference, as the engine's procedures take them.
#pragma once

#include <cstdint>
#include <string>

// --- file and object layer ---
void OPENLEAF(const std::string& file);
void CLOSELEA();
void NEWSTREA();
void OPENSTRE();
void CLOSESTR();
void LOGNEXTO();
void FPRINT(const std::string& line);
void SPRINT(const std::string& text);
std::string FNOBJLAB(const std::int32_t& n);
std::string FNOBJREF(const std::int32_t& n);
std::string FNZEROFI(const std::int32_t& width, const std::int32_t& value);
std::int32_t FNOID(const std::string& text, const std::string& key);

// --- page assembly, page tree, catalogue, cross-reference table, trailer ---
void ASSEMBLE();
void WRITEPAG();
void WRITESHA();
void WRITERES();
void WRITEPAR();
void WRITEOUT();
void WRITECAT();
void WRITEXRE();
void WRITETRA();

// --- coordinates and paths (dots: 300 per inch, origin top left, y downwards) ---
std::string FNPDFX(const std::int32_t& x);
std::string FNPDFY(const std::int32_t& y);
void PDFMOVE(const std::int32_t& x, const std::int32_t& y);
void PDFLINE(const std::int32_t& x, const std::int32_t& y);
void PDFRULE(const std::int32_t& x1, const std::int32_t& x2, const std::int32_t& y);
void PDFBORDE(const std::int32_t& x, const std::int32_t& y1, const std::int32_t& y2);
void PDFRULE4(const std::int32_t& x1, const std::int32_t& x2, const std::int32_t& y, const std::int32_t& w);
void PDFBORDE4(const std::int32_t& x, const std::int32_t& y1, const std::int32_t& y2, const std::int32_t& w);
void PDFBAR(const std::int32_t& x, const std::int32_t& y, const std::int32_t& w, const std::int32_t& h);
void PDFARROW(const std::int32_t& x, const std::int32_t& y, const std::int32_t& d);
void RGB2PDF(const std::int32_t& rgb, std::string& out, std::int16_t& flag);

// --- text ---
void PDFPRINT(const std::int32_t& x, const std::int32_t& y, std::string& text);
void LOGUNDER(const std::int32_t& x, const std::int32_t& y, std::string& text);
void PDFUNDER();
std::string FNPOINTS(const std::string& spec);
