// Procedures of the setup subsystem that other parts call. All parameters by reference, as the
// engine's procedures take them.
#pragma once

#include <cstdint>
#include <string>

// Looks the printer font selection code spec up in pdffonts.dat (current folder): size receives the
// metric field (a pitch or a metric file name), name the PDF base font name; PDFFONTREC and PDFWIDTHS
// receive the encoding record and the /Differences lines. A font the table lacks, or a missing table,
// is reported on the console and gets a standard PDF font. Callers pass FONTPDFSIZE and FONTPDFNAME.
void PDFEQUIV(std::string& spec, std::string& size, std::string& name);

// The first two bytes of s as a big-endian number; a missing byte counts as -1.
std::int32_t FNQD2INT(const std::string& s);

// Finds code within the first 17 bytes of the binary file and reads the number between it and stop
// (at most 15 characters) into value; 0 when either is missing.
void READCODE(const std::string& code, std::int32_t& value, const std::string& stop, const std::int32_t& file);
