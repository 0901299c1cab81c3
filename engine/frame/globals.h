// Shared state of the engine frame: the process-wide scalars and the arrays that PRODIM creates.
//
// Every global starts as zero or empty. The arrays exist only after PRODIM (an access before it reports
// error 9). reset_frame_globals() puts everything back to the state at process start (tests only).
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

// --- set by the main program and start-up ---
extern std::string VERSION;      // engine version text, "7022"
extern std::int32_t STATUSROW;   // rows of the visible console; the message line is STATUSROW - 1
extern std::int32_t CONROWS;     // same value, row base for progress lines
extern std::int16_t AWORKBASE;   // first work channel of the attribute files (4)
extern std::int16_t WORKSECOND;  // channel offset of the second file of a pair (2)
extern std::int16_t DWORKBASE;   // first work channel of the description files (0)
extern std::int16_t WORKFIRST;   // channel offset of the first file of a pair (0)
extern std::string PROMPTNAME;   // name of the loaded prompt file
extern std::string REVERSEWORD;  // the word of the prompt file's menus that puts log pages first
extern std::int32_t OUTDEV;      // output device: 1 PDF, 2 HP-GL/2, 3 DXF, other values PCL
extern std::string SETUPNAME;    // SET file of the run
extern std::int16_t MAXSAMPLES;  // upper bound of the per-sample arrays (140)

// The one-character mark-up codes of converted text.
extern std::string SYMULCODE;    // 1: force and underline a soil symbol
extern std::string CTRL2;        // 2: internal mark of folding and underlining
extern std::string SYMCODE;      // 3: force a soil symbol
extern std::string BREAKCODE;    // 4: line break
extern std::string HARDSPCODE;   // 5: hard space
extern std::string INDONCODE;    // 6: start of an indent
extern std::string INDOFFCODE;   // 7: end of an indent
extern std::string COLUMNCODE;   // 8: newspaper columns in layers
extern std::string FONTSWCODE;   // 19: switch the primary font
extern std::string ULWORDCODE;   // "_": underline a word
extern std::string NOSYMCODE;    // 23: omit the soil symbol
extern std::string CTRL25;       // 25: colour mark of coded text
extern std::string LF;           // line feed
extern std::string CRLF;         // carriage return and line feed

// --- run settings (run file, main menu) ---
extern std::int32_t RUNFLAGS;     // one bit per run-file item given; 1 one-shot, 0x80 result copy, 0x1000 stop
extern std::string SOURCENAME;    // input text file of the run
extern std::string RUNLINE;       // hole list of the run file
extern std::int32_t SHEETMODE;    // activity: 0 and 2 sheets, 1 symbol test, 3 without log pages
extern std::int32_t FORCEDSCALE;  // scale of the run file
extern std::string SUMMARYKEY;    // "|SUMMARY|" when the run asks for the legend
extern std::string RESULTNAME;    // name of the result copy
extern std::int16_t DEBUGRUN;     // -1: wait for a key before the end
extern std::int32_t run_item_refused;  // item (2 output, 4 activity) whose word no prompt list holds; 0 none

// --- console ---
extern std::int32_t COLOURCOUNT;  // colour pairs in use (at least 5 once the colour file is read)

// --- pick-bar menus and the menu stack (pikbarm.cpp); the SET editor dimensions the arrays ---
extern std::string BARMENU;     // name of the menu on screen ("MAIN", a section name or a prompt text)
extern std::int32_t BARCOUNT;   // items of the menu (at most 19 shown)
extern std::int32_t BARITEM;    // highlighted item, from 1; 0 after the menu was left by Esc
extern std::int32_t BARTOP;     // row of the frame's top border
extern std::int32_t BARLEFT;    // column of the frame's left border
extern std::int32_t BARWIDTH;   // least width of the item column
extern std::int32_t BARRIGHT;   // last column of the item column
extern std::int32_t BARROW;     // item i stands on row BARROW + i
extern std::int32_t BARBOTTOM;  // row of the last shown item
extern std::int32_t BARROWS;    // rows of a file picker's list
extern std::int32_t BARLEVEL;   // nesting level of the menu (1: the screen under the editor)
extern std::int32_t BARACTION;  // outcome of the last pick: 0 stay, 1 end the editor, 2 restart it, 3 back to MAIN
extern rt::Array<std::string> BARTEXT;    // 0..100: item texts
extern rt::Array<std::string> BARVALUE;   // 0..100: value shown beside the highlighted item
extern rt::Array2<std::int32_t> BARSTACK; // (0..7, 0..10): saved context per level
extern rt::Array2<std::string> BARMENUS;  // (0..7, 0..5): element (level, 1) is the saved menu name

// --- text helpers and page positions ---
extern std::int32_t PARSEDCOUNT;  // fields of the last PARSVARS split
extern std::int32_t PARSEDMAX;    // most fields one split may store (60 when below 1)
extern std::int32_t BLOCKPOS;     // block length of the block-wise file readers
extern std::int32_t PAGEORIGIN;   // sheet position (dots) at which the current page starts
extern std::int32_t HEADDOTS;     // height of the page head in dots (SET file)
extern double TOPDEPTH;           // depth at the top of the current sheet or log
extern double DOTSPERUNIT;        // dots per depth unit at the current scale

// --- arrays created by PRODIM ---
extern rt::Array<std::string> HEADER;         // 0..100
extern rt::Array<std::string> VOCAB;          // 0..50
extern rt::Array<std::string> DSAMP1;         // 0..MAXSAMPLES
extern rt::Array<std::string> DSAMP2;         // 0..MAXSAMPLES
extern rt::Array<std::string> NOTE;           // 1..50
extern rt::Array<double> LAYERDEPTH;          // 0..200
extern rt::Array2<std::int32_t> LAYERFILL;    // (0..200, 0..18)
extern rt::Array<std::int32_t> LAYERLINES;    // 0..200
extern rt::Array<std::int32_t> NOTELINES;     // 0..200
extern rt::Array<std::int32_t> TEXTTOP;       // 0..260: items are layers + notes + the end item
extern rt::Array<std::int32_t> ITEMBOTTOM;    // 0..260
extern rt::Array<std::int32_t> TEXTBOTTOM;    // 0..260
extern rt::Array<std::int32_t> PAGESTART;     // 0..50
extern rt::Array<double> PAGEDEPTH;           // 0..50
extern rt::Array<std::string> PROMPT;         // 0..250
extern rt::Array2<std::int32_t> COLOURS;      // (0..8, 0..2)
extern rt::Array<std::string> COLOURNAME;     // 0..8
extern rt::Array<std::string> ATTRNAME;       // 0..30
extern rt::Array<std::int32_t> ATTRWIDTH;     // 0..30
extern rt::Array<std::int32_t> ATTRROWFIELDS; // 0..2000
extern rt::Array<std::string> ABBREV;         // 0..30
extern rt::Array<std::string> FONTSPEC;       // 0..3
extern rt::Array<std::string> HPGLFONT;       // 0..3
extern rt::Array<double> FONTWIDTH;           // 0..3
extern rt::Array2<std::int32_t> CHARWIDTH;    // (1..3, 32..255)
extern rt::Array<double> FONTSIZE;            // 0..3
extern rt::Array<std::int32_t> SCREENSAVE;    // 0..1600
extern rt::Array<double> FONTHEIGHT;          // 0..3
extern rt::Array<double> FONTSLANT;           // 0..3
extern rt::Array<std::string> MENUITEM1;      // 0..35
extern rt::Array<std::string> MENUITEM2;      // 0..35
extern rt::Array<std::string> MENUITEM3;      // 0..35
extern rt::Array<std::int32_t> MENUFIRST;     // 0..5
extern rt::Array<std::int32_t> MENUCOUNT;     // 0..5
extern rt::Array<std::string> PARSED;         // 0..350
extern rt::Array<std::int32_t> PDFOFFSET;     // 0..4200, grows as objects are numbered (make_room_for_object)
extern rt::Array<std::string> LEAFCONTENT;    // 0..70
extern rt::Array<std::string> LEAFPATTERN;    // 0..70
extern rt::Array<std::string> LEAFFONT;       // 0..70
extern rt::Array<std::string> LEAFXOBJECT;    // 0..70
extern rt::Array<std::int32_t> SYMBOLUSED;    // 0..100
extern rt::Array<std::int32_t> SYMBOLRGB;     // 0..200
extern rt::Array<std::int32_t> UNDERLINE;     // 0..250
extern rt::Array<std::int32_t> DONELIST;      // 0..130
extern rt::Array<std::string> PINEXT;         // 0..9: 4-byte record buffer of each channel's index file
extern rt::Array<std::int16_t> PIFILE;        // 0..9: file numbers of the work channels

void reset_frame_globals();
