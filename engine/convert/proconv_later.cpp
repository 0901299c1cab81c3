// STAND-INS until the attributes, the sample scan and the attached sample files are built: the notes
// part reads past attribute blocks and sample blocks without taking anything from them, so a coded
// hole file has no samples and no attributes yet (its counts say 0, as they must for what it holds).
#include "engine/convert/convert.h"
#include "engine/convert/globals.h"
#include "engine/convert/proconv.h"
#include "engine/runtime/files.h"

void read_attribute_block(ConvState& st) {
  st.section("ATTRIBUT", "0001");
  do {
    GETLINE(st);
  } while (st.SLASH2POS == 0 && st.ISLIST8 == 0 && st.ISLIST2 == 0 && st.ISLIST13 == 0 && !input_ended());
}

void attribute_pass(ConvState& st) {
  st.section("ATTRIBUT", "0002");
  st.ATTRN = 0;
  st.ATTRRECS = 0;
}

void PUTINPIC(ConvState& st) { st.section("PUTINPIC", "0001"); }

void read_attached_file(ConvState& st) {
  st.section("READSAMP", "0001");
  // Nothing is read yet; a file that is not there is not bound to the output.
  if (!rt::file_exists(NOTENAME)) st.BINDFLAG = 0;
}
