// Procedures of the setup subsystem that other parts call. All parameters by reference, as the
// engine's procedures take them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/runtime/array.h"

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

// --- PDF font equivalents and font file readers ---
// Looks the printer font selection code spec up in pdffonts.dat (current folder): size receives the
// metric field (a pitch or a metric file name), name the PDF base font name; PDFFONTREC and PDFWIDTHS
// receive the encoding record and the /Differences lines. A font the table lacks, or a missing table,
// is reported on the console and gets a standard PDF font. Callers pass FONTPDFSIZE and FONTPDFNAME.
void PDFEQUIV(std::string& spec, std::string& size, std::string& name);
// pdffonts.dat is read at the first lookup of a run and kept for the rest of it; this forgets it, so
// that the next lookup reads the table again (the start of each run, and the globals' reset).
void forget_pdf_fonts();

// The first two bytes of s as a big-endian number; a missing byte counts as -1.
std::int32_t FNQD2INT(const std::string& s);

// Finds code within the first 17 bytes of the binary file and reads the number between it and stop
// (at most 15 characters) into value; 0 when either is missing.
void READCODE(const std::string& code, std::int32_t& value, const std::string& stop, const std::int32_t& file);

// --- SET file reader (getsetup.cpp) ---
// Reads the SET file SETUPNAME (found along the path search; a name with a folder is read from that
// folder; a missing file falls back to STANDARD.SET) into the setup globals, reloading the prompt
// file, the vocabulary and the three font width tables as their names require. SETUPNAME becomes the
// file's base name + ".SET".
void GETSETUP();
// The value of a folder item as the reader takes it: the text before "=" (the first 38 characters
// without one), trimmed at both ends, inner blanks kept.
std::string kept_value(const std::string& line);
// Columns 1..6 and 7..12 of line (cut or padded to 12 characters), each trimmed of blanks.
void SPLITLOG(const std::string& line, std::string& first, std::string& second);

// --- vocabulary and symbol library (readvocb.cpp) ---
// Loads the vocabulary file: VOCAB words, ABBREV/ABBRCOUNT, KEYWORDS, the symbol library's name list
// VOCABLIST (read again only when the library name changes) and the first lines of usercat.dat and
// userprov.dat. A missing file is reported (NOFILE) and changes nothing.
void READVOCB(const std::string& name);
// Two bytes at the current position of a binary file as a signed big-endian 16-bit number; a byte
// beyond the end counts as -1.
void READINT(std::int32_t file, std::int32_t& value);
// The abbreviation section of an open vocabulary file (BEGIN ... END, at most 14 kept).
void READARRA(std::int32_t file);
// The next BEGIN ... END section of an open text file, its lines upper-cased and joined, into result.
void READBLOC(std::int32_t file, std::string& result);
// The first line of the named file into line when the file exists; otherwise line is unchanged.
void USERDATA(const std::string& name, std::string& line);

// --- console SET editor (prosetup.cpp, programc.cpp) ---
// The editor holds the SET file as a table of lines (SETUPLINE) and addresses each setting by its
// position after the "BEGIN" lines; it rewrites only the value part of a line (before its "=").
// The editor of SET files on the console; may change SETUPNAME and the SET file.
void PROSETUP();
// Creates the editor's tables that do not exist yet (a table that exists keeps its contents).
void dim_editor_tables();
// Reads the SET file SETUPNAME into the table. False, after saying so, when the file is missing or has
// no "BEGIN" line (nothing of it can be addressed).
bool READSETU();
// Builds the items of the menu named by BARMENU.
void WRITEMEN();
// The 5-column display form of layout item item (1..18) from the raw value field of its line.
void COPYTOTA(const std::string& value, std::int32_t item, std::string& out);
// Lists the files of the current folder matching pattern (sorted, at most LISTMAX) into names(1..count)
// with the value prompt 106 each; the names holding current (its file part, letter case ignored) get
// prompt 109, and LISTHIT the last of them (0: none).
void READDIRE(const std::string& pattern, rt::Array<std::string>& names, std::int32_t& count,
              const std::string& current);
// Stores value into the value field of line line (value is cleaned in place: trailing "\", ".", blanks
// and the like are dropped, "C:\" is kept). A value too long for the field moves the "=" and the
// description right, to one blank after it. True when the line holds the value afterwards; false when
// nothing was stored: an empty value, a value holding "=", a logo name longer than its 6 columns, or a
// line outside the table (the last two said with prompt 101).
bool NEWSETUP(std::string& value, std::int32_t line);
// Asks for a name and writes the table: the current name unchanged writes back to the file that was
// read, a typed name to its base name + ".SET" in the current folder. A new file is written whole and
// then put in place of the old one.
void SAVESETU();
// Acts on item BARITEM of the menu BARMENU.
void PROGRAMC();
// Keeps in FONTPICK only the fonts whose record holds key exactly at column start.
void SELECTFO(const std::string& key, std::int32_t start);
// Fills items(1..count) with the distinct values of columns start.. start + width - 1 of the fonts in
// choice (each up to its first "/"), their values in BARVALUE, and LISTHIT (the item of FONTCUR).
void BUILDKLA(std::int32_t start, std::int32_t width, rt::Array<std::string>& items, std::int32_t& count);

// --- font library (readallf.cpp) ---
// Builds the library of the font folder named by the editor's SET lines (kept when the folder is the
// one it was built from): a record per metric file from its PCL font header, or per line of FONTLIB.CUS
// when the folder holds no complete metric file; then finds the SET's three fonts in it (the slots,
// SETFONT1..3 and their display names) and puts every record in choice.
void READALLF();
// Finds the SET font whose name line is first-block item k (25, 27, 29) in the library; its record,
// with the SET's own code, goes into its slot. Returns the slot, 0 when no record fits.
std::int32_t FNFINDCU(std::int32_t k);
// -1 when the selection code spec fits the library pattern ("#" a number, "(" also ")"), else 0.
std::int32_t FNEQUIVA(const std::string& pattern, const std::string& spec);
// Size and unit columns of slot record slot from its code (and the pitch of a FONTLIB.CUS font).
void FIXTHERO(std::int32_t slot);
// The display name of a font record: name, symbol set, weight and style, size.
std::string FNFONTNA(const std::string& rec);
// s trimmed, each run of blanks inside reduced to one; written back into s.
std::string FNCULL(std::string& s);

// --- colour markers (rgbsubs.cpp, prolog.cpp) ---
// Rewrites the first colour marker of text ("[" + a keyword of CONVWORDS, a blank, three numbers 0..255,
// a colour index or a paint name of PAINTWORDS, "]") as the opener "[rgb", "[Rgb" or "[RGB" (the letter
// case of the keyword) and three fractions with three decimals: "[rgb 1.000 .502 .000]". A marker that
// cannot be read, or is not closed before the next "[", is left as written.
void INSERTRG(std::string& text);
// Red, green and blue of a colour index: 1..9 fixed colours, 10..249 24 hues of ten shades, 250..255
// greys. Any other index leaves the three unchanged.
void ACI2RGB(const std::int16_t& index, std::int16_t& red, std::int16_t& green, std::int16_t& blue);
// One component (0..255) of the hue table for an index 10..249; an argument below 10 or above 250 is
// first brought into that range (and so changed).
std::int16_t FNRGB(std::int16_t& value);
// The three fractions of the first "[RGB" marker of text (letter case ignored), "1.000 .502 .000";
// RGBFLAG = 0 without a marker, else 1 ("RGB" anywhere in text), 3 ("rgb"), 2 (any other case).
std::string FNRGBB(const std::string& text);

// --- word lists of the conversion and the colour markers (proincl.cpp) ---
// A word list is a text whose first character opens it and whose words are each closed by "/"
// ("/clay/silt/"); empty words are skipped and text after the last "/" is no word. The tests try the
// words in list order and return the position in text (from 1) where the first word that occurs
// there begins, 0 when none does; a word matches inside longer words too.
// FNLPRES: each word lower-cased, text as it is (finds words written in lower case).
std::int32_t FNLPRES(const std::string& text, const std::string& list);
// FNUPRES: each word upper-cased, text as it is (finds words written in capitals).
std::int32_t FNUPRES(const std::string& text, const std::string& list);
// FNPRES: letter case ignored. Sets PRESWORD to the word found (upper case)
// and PRESSYMB to the "[SYMBn]" entry that follows it in the keyword table KEYWORDS, both "" first.
std::int32_t FNPRES(const std::string& text, const std::string& list);

// DELBLANK: removes every blank (character 32).
void DELBLANK(std::string& text);
