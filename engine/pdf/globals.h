// Shared state of the engine's pdf subsystem: the one PDF document in progress, and what the stages
// above hand the writer (the current font, the sheet's raster and result files, the hole in hand, the
// log bars). reset_pdf_globals() restores the document's state at process start, and
// reset_pdf_input_globals() that of what is handed to it. The offsets table and the leaf lists (PDFOFFSET,
// LEAFCONTENT, LEAFPATTERN, LEAFFONT, LEAFXOBJECT) and the underline runs (UNDERLINE) are arrays of the frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/runtime/array.h"

// --- the file and its objects ---
extern std::int32_t PDFFILE;      // file number of the PDF being written
extern std::int32_t PDFBYTES;     // bytes written so far; 0: no document in progress
extern std::int32_t PDFOBJECT;    // number of the last object begun (0 in a new file)
extern std::int32_t STREAMSTART;  // PDFBYTES just after the "stream" line of the open stream
extern std::int32_t LEAFCOUNT;    // leaves begun in this file
extern std::string KIDSLIST;      // references of the page objects written, one per line
extern std::int32_t PAGESOBJ;     // number reserved for the page-tree node; 0 while none is
extern std::int32_t LOGODONE;     // -1 once the logo is in this file
extern std::int32_t SYMBOLCOUNT;  // symbol images written to this file
extern std::string BLANKLINE;     // never assigned: FPRINT of it writes an empty line

// --- the current leaf ---
extern std::string CURCONTENT;     // content-stream references, "n 0 R" + CR LF each
extern std::string CURXOBJECT;     // image entries
extern std::string CURFILL;        // fill-pattern names, name + " " + CR LF each
extern std::string CUREXTRA;       // extra catalogue entries (always empty)
extern std::int32_t FONTSDONE;     // 1 once the font and encoding objects of the document are written
extern std::int32_t UNDERCOUNT;    // underline runs recorded in the leaf
extern std::int32_t PDFLASTFONT;   // font last selected with Tf in the leaf

// --- page assembly ---
extern std::string PAGECONTENT;   // content-stream references of the page being written
extern std::string PAGEPATTERN;   // image entries of the page
extern std::string PAGEFILL;      // fill-pattern names of the page
extern std::string PAGEEXTRA;     // extra catalogue entries of the page (always empty)
extern std::int16_t LOGPAGE;      // -1 while a page made of a log leaf alone is written
extern std::int32_t PAGEDONE;     // page objects written
extern std::string PAGEPATRES;    // pattern resource entries of the page being written
extern std::string FILLNAME;      // the pattern whose objects WRITESHA writes
extern std::string PAGESREF;      // reference of the page-tree node
extern std::string OUTLINESREF;   // reference of the outlines object
extern std::string ROOTREF;       // reference of the catalogue
extern std::int32_t STARTXREF;    // byte offset of the "xref" line

// --- fonts and resources ---
extern std::string FONTENTRIES;  // body of the /Font dictionary, built on the first page
extern std::string FONTLIST;     // font object numbers, each left-aligned in 5 characters
// Entries of the logo's resource dictionary and its content and pattern entries; empty without a logo.
extern std::string LOGOPROCSET, LOGOEXTGSTATE, LOGOCOLORSPACE, LOGOPATTERN, LOGOSHADING, LOGOXOBJECT, LOGOFONT;
extern std::string LOGOCONTENT;

// --- symbol images ---
extern std::string SYMBOLNAME;  // resource name of the image written last, "/Symbol" + SYMBOLCOUNT; empty when none

// --- logo import ---
extern std::string LOGORESOURCES;  // the inside of the logo's /Resources (page tree, then every page)
extern std::int32_t LOGOPAGESOBJ;  // the logo catalogue's /Pages number
// Number of the last object of the logo block in this file (the closing stream's length object); 0
// while an import runs and in a file without a logo.
extern std::int32_t LOGOLASTOBJ;
// The right end of what the logo draws, in points of its own page (before its placement matrix), when
// its content streams tell it: -1 when they do not (compressed, transformed, images).
extern double LOGOINKRIGHT;

// --- reading a PDF that another program wrote (the logo file) ---
extern std::int32_t PDFINFILE;             // file number of the PDF being read (the logo, or an input of the merge)
extern rt::Array<std::int32_t> XREFOFFSET;  // 0..700: offset of each object number; entry XREFCOUNT the end mark
extern rt::Array<std::int32_t> XREFORDER;   // 0..700: object numbers by ascending offset
extern rt::Array<std::int32_t> OBSTART;     // 0..5000 (grows, see below): start offset of each object (the logo reader's and the merge's)
extern rt::Array<std::int32_t> OBLENG;      // 0..5000: bytes of each object up to the next one
extern std::int32_t XREFCOUNT;              // entries of the cross-reference table (its /Size)
extern std::int32_t ROOTOBJ;                // number of the catalogue; 0 when not found
extern std::int32_t READPOS;                // byte position (from 0) of the next line GETNEXTL reads
extern std::string READLINE;                // the line or block read last
// Why the last READXREF could not read the table (the text that goes before the file name in the
// message); empty when it could.
extern std::string xref_error;
// Offsets of everything the sections READXREF read point at: each section, and each object they
// list, also one that a newer section replaced. An object's bytes end at the next of them.
extern std::vector<std::int32_t> xref_marks;

// --- merging the PDF files of a run into combined.pdf (the current input is on PDFINFILE; its
// object table is OBSTART/OBLENG, its catalogue number ROOTOBJ, its font list FONTLIST) ---
extern std::int32_t INSTARTXREF;             // offset of the input's cross-reference table
extern std::int32_t MERGECOUNT;              // entries of its table, object 0 included (objects 1..MERGECOUNT - 1)
// MERGEOFFSET, MERGEORDER, OBSTART, OBLENG and NEWNO are 0..5000 and grow to an input's object count.
extern rt::Array<std::int32_t> MERGEOFFSET;  // offset of each object in use (0: free); entry MERGECOUNT the table
extern rt::Array<std::int32_t> MERGEORDER;   // 1..MERGECOUNT by ascending offset (free ones first)
extern std::int32_t INPAGES;                 // the input's page-tree number (from its catalogue)
extern std::int32_t INOUTLINES;              // its outlines number
extern std::int32_t INGRAY, INRGB, INDEVICE;  // its /DefaultGray, /DefaultRGB, /DeviceRGB numbers; 0 when absent
extern std::string INMEDIABOX;               // the /MediaBox entry of its page tree; empty when it has none
extern std::string MERGEMEDIABOX;            // that of the last input whose page tree has one
extern std::int32_t INLOGOLAST;              // the input's last logo object (its logo block is 1..this); 0 without logo
extern std::int32_t MERGELOGOLAST;           // the logo block shared by the merged file: objects 1..this; 0 when none
extern std::int32_t NEXTNO;                  // the last new object number given
extern rt::Array<std::int32_t> NEWNO;        // new number of each object of the current input; 0 none yet
extern rt::Array<std::int32_t> PAGELIST;     // 0..360, grows as needed: new numbers of the page objects copied, from 1
extern std::int32_t PAGELISTCOUNT;           // entries of PAGELIST
extern std::int32_t STREAMLEN;               // stream bytes still to copy for the object in hand

// --- text ---
extern std::int32_t TEXTRGBON;  // -1 while text is shown in the colour of a colour run
extern std::string ULINEON;     // the printer's underline-on code, ESC "&dD"
extern std::string ULINEOFF;    // the printer's underline-off code, ESC "&d@"

// --- refusal ---
// Set when the document cannot be written as a whole (the file cannot be created or written, or it
// needs more objects or leaves than the tables hold). The writers then write nothing more, and
// ASSEMBLE removes what was written instead of finishing a broken file.
extern bool pdf_refused;
extern std::string pdf_document_name;  // the file named by the document's first OPENLEAF
extern std::string pdf_refusal;        // the console line of the last refusal ("PDF not written - ...")
extern std::string run_target_source;  // the file the run's target becomes at the end of the run (empty: none)

// --- what the stages above write for the PDF writer to read ---
// They live here, the lowest subsystem that reads them; the devices, the hole coder, the sheet and the
// logs include this header to set them. reset_pdf_input_globals() restores them.
extern std::int32_t CURFONT;  // current font of the output devices, 1 to 3
extern double TEXTPOINTS;     // the size of CURFONT's texts where it is not the font's own (0: its own)

// The sheet's page files and symbol raster.
extern std::int32_t PAGEFILE;   // file number of the current page or plot file
extern std::int32_t PAGECOUNT;  // sheet pages of the current hole
// SYMBITS (0..241, made by the sheet drawing): a ring of 60 rows; row slot s is the four words at
// 2 + 4s .. 5 + 4s, left to right, 16 pixels each in their low 16 bits (low byte first: bit 7 is the
// word's leftmost pixel, bit 8 its ninth); a set bit is ink.
extern rt::Array<std::int32_t> SYMBITS;
extern std::int32_t RASTEREND;  // first dot row of the band to write (top edge)
extern std::int32_t RASTERY;    // last dot row of the band (bottom edge)
extern std::int32_t RASTERX;    // left edge of the image on the page
extern double RASTERSTEP;       // dots per raster pixel (2 at 150 pixels per inch)
extern std::string SYMFILL;     // fill-colour operator a sample symbol is painted in
// The run's results.
extern std::string OUTDIR;   // output folder of the current hole's results, without a closing "\"
extern std::string OUTLIST;  // the run's PDF result files, each preceded by "|"; merged into combined.pdf
// Every file a run from the main menu put in place (the holes' results, attached texts made PDFs,
// combined.pdf), in order; the menu empties it at each go and says where they went when the run ends.
extern std::vector<std::string> run_results;

// The hole in hand (set by the hole selection and coding).
extern std::int32_t ATTRCOUNT;  // borehole-log attributes of the current hole; 0: no log leaves follow the sheet
extern std::string TEXTRGB;     // "rg" operands of the current hole's text colour runs; empty when it has none
extern std::int16_t LOGOFAIL;   // -1 after a failed logo import; the hole selection sets 0 so that it is tried again
// The console grid of the hole selection, which the merge's progress marks follow: entry k stands at
// row PICKGRIDROW + (k - 1) MOD R and column PICKGRIDCOL + ((k - 1) \ R) * PICKCOLW, its choice mark
// PICKCOLX columns right of it.
extern std::int32_t PICKGRIDROW;  // first row of the grid (3)
extern std::int32_t PICKGRIDCOL;  // first column of the grid (10)
extern std::int32_t PICKCOLW;     // width of a grid column (14)
extern std::int32_t PICKCOLX;     // distance from an entry to its choice mark (7)

// The bars of the borehole logs.
extern std::string PATTERNNAME;   // fill pattern of the next bar ("/Hatch1".."/Hatch6", "/Shade2".."/Shade100")
extern std::string LOGBARRGB1;    // first colour of a log bar, three "rg" operands
extern std::string LOGBARRGB2;    // second colour of a log bar; used when not empty
extern std::int16_t LOGBARFLAG1;  // flag of the first colour: 0 none, 1 solid, 2 pattern in the colour, 3 both
extern std::int16_t LOGBARFLAG2;  // flag of the second colour; used when above 0

void reset_pdf_globals();
void reset_pdf_input_globals();
