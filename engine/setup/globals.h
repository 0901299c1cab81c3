// Shared state of the engine's setup subsystem. reset_setup_globals() restores the state at process start.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/runtime/array.h"

// --- font width tables ---
extern std::string FONTDIR;      // folder of the metric (.MET) files, SET item "Path to Font files"

// --- the SET file's first block (GETSETUP) ---
extern std::string VOCABSETNAME;    // the vocabulary file the SET file names, with the folder it was found in
extern std::string DATADIR;         // print-to-file folder, without a trailing "\"
extern std::int32_t SCALEOPT;       // 1 metric, 2 imperial
extern std::int32_t A3SHIFT;        // horizontal shift of the sheet: 2333 on A3, 0 on A4
extern std::int32_t PAGEOFFSET;     // 0 on A3 and A4
extern std::int32_t PAGELENGTH;     // usable page length in dots (3200 on A3 and A4)
extern std::int32_t PAGELENGTHSET;  // PAGELENGTH as the SET file gives it (the layout may enlarge PAGELENGTH for a hole)
extern std::int32_t ATTRLMARGIN;    // left and right margins of the borehole-log page, dots
extern std::int32_t ATTRRMARGIN;
extern std::int32_t PROFLMARGIN;    // left and right margins of the profile sheet, dots
extern std::int32_t PROFRMARGIN;
extern std::int32_t FOOTDOTS;       // foot of a page in dots; odd: the footer on every page
extern std::int32_t SUPPRESS;       // the borehole log's three-digit suppress code
extern std::int32_t TITLEOFFSET;    // job title offset from the sheet's left edge, dots
extern std::int32_t FOOTOFFSET1;    // offsets of the two left footer columns, dots
extern std::int32_t FOOTOFFSET2;
extern std::int32_t INDENT;         // indentation step of the start-indent mark, characters
extern std::string LOGOMACRO;       // logo name: the logo file is LOGOMACRO + ".PDF"
extern std::int32_t LOGOX;          // logo reference point, dots
extern std::int32_t LOGOY;
extern std::int32_t COMPRESSSET;    // the SET file's COMPRESSLOG, restored after every plot
extern double LINEPITCH;            // dots per text line: 300 / lines per inch
extern std::string PRINTERCODES;    // the printer control block, converted from the "/" notation
extern std::string LOGOMATRIX;      // logo placement: six numbers and "cm"; kept when a file gives none

// --- vocabulary and symbol library (READVOCB) ---
extern std::string VOCABNAME;    // the vocabulary file loaded
extern std::int32_t ABBRCOUNT;   // abbreviations in ABBREV(1..ABBRCOUNT), at most 14
extern std::string KEYWORDS;     // the keyword table, upper case, then the first line of userprov.dat
extern std::string VOCABLIST;    // the library's names ("|" + name padded to 10 each), then usercat.dat's line
extern std::string LIBNAME;      // the symbol library loaded last
extern std::string LIBRARYLIST;  // the library's names as read, before the usercat.dat line

// --- work channels ---
// Texts written to each work channel since its PIINIT in this run; -1 while not known (the channel was
// not started afresh in this run). PIWRITE uses it to keep the later texts intact when an earlier text
// is written again.
extern std::array<std::int32_t, 10> PITEXTCOUNT;
// The work file whose open failed at the last PIOPEN of each channel (empty: opened, or not tried).
// Such a channel takes and gives no text without an error of its own (the open's failure was said);
// the stages give the hole whose texts it should have held no sheet, and say so.
extern std::array<std::string, 10> PIFAILED;
// The work file of the channels first..first+3 whose open failed, or empty when all four are open.
std::string failed_work_file(std::int32_t first);

// --- page layout of the SET file ---
extern std::string PAPER;         // page size, "A3" or "A4"; only the exact text "A3" counts as A3
extern std::int32_t COMPRESSLOG;  // log compression: 0 the log on pages of its own, last digit the log columns on a sheet page
extern std::int16_t LOGFIRST;     // -1 when the log pages come before the sheet pages, else 0

// --- fonts ---
extern std::int32_t PDFFONTCOUNT;  // number of PDF text fonts in the page resources (3 once a SET file is read)
extern std::string FONTPDFNAME;    // PDF base font name of the font looked up last (PDFEQUIV)
extern std::string FONTPDFSIZE;    // metric field of the font looked up last: a pitch or a metric file name
extern std::string PDFFONTREC;     // encoding record of pdffonts.dat; the text after its first blank is the base encoding
extern std::string PDFWIDTHS;      // the /Differences lines of pdffonts.dat, each ending with CR LF

// --- current colour of the log drawing ---
extern std::string RGBTEXT;   // three "rg" operands
extern std::int16_t RGBFLAG;  // 0 none, 1 solid fill, 2 pattern in the colour, 3 both

// --- the console SET editor (prosetup.cpp, programc.cpp); the tables keep their contents between runs ---
extern std::vector<std::string> SETUPLINE;  // the SET file's lines, line n in element n (element 0 unused)
extern std::int32_t SETLINECOUNT;   // lines held
extern std::int32_t SETBEGIN1;      // line of the first "BEGIN": first-block item k is line SETBEGIN1 + k
extern std::int32_t SETBEGIN2;      // line of the last later "BEGIN" (0: none): second-block line k is SETBEGIN2 + k
extern std::int32_t SETNAMELINE;    // last line that begins with the file's own name (0: none)
extern std::int32_t SETCHANGED;     // 1 while the table holds changes not saved
extern std::string SETREADNAME;     // the SET file whose lines the table holds, by the name it was read
extern rt::Array<std::int32_t> LAYOUTVAL;   // 0..20: number of layout item i (SET item 4 + i)
extern rt::Array<std::string> BARNOTE;      // 0..20: third text of a prompt-file menu's items
extern rt::Array<std::string> LAYOUTNAME;   // 0..20: names of the layout items
extern rt::Array<std::string> LAYOUTHELP;   // 0..20: descriptions of the layout items
extern std::string SHADE;           // 80 medium-shade characters: the editor's background
extern std::int32_t LISTMAX;        // most names one directory listing returns
extern std::int32_t LISTHIT;        // item to highlight after a menu is built (0: none)

// --- the font library of the SET editor (readallf.cpp); records 1..3 are the SET's three font slots ---
extern rt::Array<std::string> FONTREC;   // 0..100: one 85-column record per font
extern std::int32_t FONTRECCOUNT;        // records, the slots included (0 until the library is built)
extern rt::Array<std::int32_t> FONTPICK; // 0..100: the records still in choice in the font menus
extern std::int32_t FONTPICKCOUNT;
extern std::int32_t SETFONT1, SETFONT2, SETFONT3;              // slot of the SET's font 1, 2, footer (0: not found)
extern std::string SETFONTNAME1, SETFONTNAME2, SETFONTNAME3;   // display names of those fonts
extern rt::Array<std::string> FONTFILES; // 0..100: the metric files of the font folder
extern std::string FONTLISTDIR;          // the font folder the library was built from
extern std::int32_t FONTCUR;             // record of the slot being edited in the font menus
namespace seteditor {
// First-block item of the name line of the slot being edited: 25, 27 or 29. (The output devices'
// current font, also CURFONT, is another variable.)
extern std::int32_t CURFONT;
}  // namespace seteditor

// --- the conversion vocabulary's colour markers (filled by the conversion, read by INSERTRG) ---
extern std::string CONVWORDS;   // colour-marker keywords ("/[rgb/[paint/"), lower case; appended per conversion
extern std::string PAINTWORDS;  // paint names and values ("/cyan= 0 255 255."), lower case; appended per conversion

// --- results of the word test FNPRES ---
extern std::string PRESWORD;  // the list word found, upper case ("" when none); FINDKEYW's keyword
extern std::string PRESSYMB;  // "[SYMBn]" of that word in the keyword table, or ""

void reset_setup_globals();
