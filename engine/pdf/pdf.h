// The PDF writer: one PDF 1.3 document at a time, written in one forward pass.
//
// A document: OPENLEAF (the first one opens the file and writes its header), content streams
// (NEWSTREA ... CLOSESTR) drawn with the path and text operations below, CLOSELEA; again per leaf;
// then ASSEMBLE writes the pages, the page tree, the catalogue, the cross-reference table and the
// trailer and closes the file. All parameters by reference, as the engine's procedures take them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// --- file and object layer ---
void OPENLEAF(const std::string& file);
void CLOSELEA();
void NEWSTREA();
void OPENSTRE();
void CLOSESTR();
void LOGNEXTO();
void FPRINT(std::string_view line);
void SPRINT(std::string_view text);
std::string FNOBJLAB(const std::int32_t& n);
std::string FNOBJREF(const std::int32_t& n);
std::string FNZEROFI(const std::int32_t& width, const std::int32_t& value);
std::int32_t FNOID(const std::string& text, const std::string& key);

// --- hatch and shade patterns ---
// Registers PATTERNNAME (e.g. "/Hatch3") as a fill pattern of the current leaf.
void ADDPDFSH();

// --- symbol images (1-bit image masks of the symbol raster SYMBITS) ---
// The band RASTEREND..RASTERY of the soil-symbol column as image SYMBOLNAME of the current leaf.
void WRITESYM();
// A sample symbol: raster rows 0 to 60 as image SYMBOLNAME.
void WRITESAM();
// Places the image written last in a content stream of its own: kind "SOIL" for the symbol column
// (layer n's colour from SYMBOLRGB), any other kind for a sample symbol painted in SYMFILL.
void WRITESYMUSE(const std::int32_t& n, const std::string& kind);

// --- logo import: the objects of the PDF file LOGOMACRO + ".PDF" copied into the file, first ---
void PDFLOGO();
void PDFLOGOH();
// Shifts the translation (e, f) of the matrix text m ("a b c d e f cm", " cm" at position p) to the
// logo reference point LOGOX, LOGOY (and A3SHIFT).
void ADJUSTMA(std::string& m, const std::int32_t& p);

// --- reading another program's PDF file on PDFINFILE (positions from 0) ---
// The cross-reference sections from the "startxref" in tail along the /Prev chain: XREFOFFSET,
// XREFCOUNT, ROOTOBJ. xref_error says why when the table cannot be read.
void READXREF(const std::string& tail);
// The line that starts at pos; pos moves past its line end. False when there is no line there (the
// end of the file) or the line is too long to be one.
bool GETNEXTL(std::int32_t& pos, std::string& line);
// The value of key in text: the inside of the open ... close bracket that follows it, or what an
// indirect reference there points at (OBSTART, OBLENG); empty when key is absent.
void READRESO(const std::string& text, const std::string& key, const std::string& open, const std::string& close,
              std::string& out);

// --- merging the PDF files of a run (OUTLIST) into OUTDIR + "\combined.pdf" ---
// Copies the objects of every input under new numbers, one copy of the logo block and of the fonts
// of the first input, a new page tree, outlines and catalogue; once complete the file takes the place
// of combined.pdf and becomes the run's target source (when the run has a target). Leaves the writer
// ready for a new document.
void COMBINE();
// At the end of a run with a target (run-file item 8, RUNFLAGS bit &H80): RESULTNAME becomes, once and
// whole, the file the last copy used to give it: combined.pdf when it was joined, else the last
// result written (run_target_source). Linked where the file system allows, copied otherwise; a failure
// is said (console, ERROR.LOG) and ends the run with exit code 1.
void place_run_target();
// The steps that read one input on PDFINFILE: the check of its first two lines, its tail (startxref,
// /Root, %fontlist), its cross-reference table and object table, its catalogue and page tree. Each
// returns false when the input cannot be merged (the merge is then refused with a message).
bool CHECKFIL(const std::int32_t& number, const std::string& name);
bool GETXREFS(const std::string& name);
void GETROOTS();
bool GETXREFA(const std::string& name);
bool GETROOTO(const std::string& name);
// The line at READPOS of PDFINFILE, without its end (CR LF, CR or LF); READPOS moves past it. At the
// end of the file the rest of the file is the line; false when nothing is left.
bool GGETNEXT(std::string& line);
// The new number of object old of the current input: NEWNO(old), given from NEXTNO + 1 at first meeting.
std::int32_t FNNEWNO(const std::int32_t& old);
// Replaces the number old_number of a reference " 0 R" in line by new_number: the first that stands as
// a number of its own (not digits of a name such as /Shade16) at or after position from (from 1).
void SUBSTITU(std::string& line, const std::int32_t& old_number, const std::int32_t& new_number,
              const std::int32_t& from = 1);

// --- refusal of the document being written (the writer's and the merge's) ---
// Refuses it once with the console line "PDF not written - why: name"; nothing more is written.
void refuse_document(const std::string& why);
// Removes the new file of a refused document (the file of its name stays as it was).
void discard_document();
// Why a line of the document cannot be written: "the file cannot be written", with the reason.
std::string cannot_write();
// Raises the bound of the offsets table PDFOFFSET to hold object number n (it grows as needed).
void make_room_for_object(std::int32_t n);
// The objects of the documents finished since the last call (their cross-reference tables), counted
// back to zero: the merge makes room for as many at once, so that its offsets table is allocated once
// at its size instead of grown by doubling (a copy of the whole table each time, and up to twice the
// room it needs).
std::int64_t take_objects_written();
// "%PDF-1.3" and the three signature lines that begin every file of the engine.
void write_signature();

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
