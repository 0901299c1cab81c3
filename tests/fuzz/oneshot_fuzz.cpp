// Fuzz harness: the files a one-shot run reads by name, each damaged in a whole run. The first byte
// chooses the file (below) and the device (PDF, HP-GL/2, DXF, the printer); the rest replaces that file
// in the engine folder, and a run of one borehole that reads them all (its sheet with symbols of the
// library, samples from a file printed with BIND, a log with a tube include and a data file) converts,
// lays out and draws it. The file is restored afterwards.
#include <cstring>
#include <filesystem>
#include <iterator>

#include "fuzz_support.h"

namespace {

const char kHole[] =
    "Job Number : J-56\r\nJob Title : Damaged files\r\nHole Number : BH56\r\n/\r\n"
    "1.50  Firm brown sandy CLAY with some gravel.\r\n3.00  Dense SAND and GRAVEL.\r\n5.00  Stiff grey CLAY.\r\n/\r\n"
    "NOTES:\r\n1. Undisturbed sample U1 at 2.00 m\r\n2. Water strike at 2.60 m.\r\n"
    "SAMPLES: BIND FILE: samples.txt\r\n"
    "ATTRIBUTE: Standpipe [DRAWING]\r\n 1.00: seal [D 20 28]\r\n 4.00: casing [D casing.tub]\r\n"
    "ATTRIBUTE: Moisture [GRAPH 40] [FILE]\r\n 5.00: moist.txt\r\n"
    "ATTRIBUTE: Curve [GRAPH 40] [FILE] [HPGL1200]\r\n 5.00: moist.txt\r\n//\r\n///\r\n";

// The files the run reads by name; those of the run's own (not in data/) are written whole first.
const char* const kFiles[] = {"STANDARD.SET", "scales.MET",  "PROLIB.DAT",   "casing.tub", "moist.txt",
                              "samples.txt",  "pdffonts.dat", "wordpad.dat", "procolor.cus", "LOGO0.PDF",
                              "PROVOCAB.ENG", "CONVOCAB.ENG"};

void write_text(const char* name, const char* text) {
  fuzz::write(name, reinterpret_cast<const std::uint8_t*>(text), std::strlen(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  constexpr std::size_t files = std::size(kFiles);
  const char* const file = kFiles[data[0] % files];
  const char* const device = fuzz::kDevices[(data[0] / files) % 4];
  fuzz::fresh_engine();
  write_text("holes.txt", kHole);
  write_text("casing.tub", "[D 36 90 0 S3]\r\n");
  write_text("moist.txt", "0.50: 21.4\r\n1.00: 19.8\r\n2.50: 27.3\r\n4.00: 12.9\r\n");
  write_text("samples.txt", "Undisturbed samples\r\n1,50 Sand, grey\r\n2.20 Clay, stiff\r\n");
  fuzz::write(file, data + 1, size - 1);
  fuzz::one_shot("holes.txt", device);
  fuzz::restore(file);
  for (const auto& e : std::filesystem::directory_iterator("."))
    if (e.path().extension() == ".TRX") std::filesystem::remove(e.path());
  return 0;
}
