// STAND-INS until the hole pass is built: the sections of PROCONV that check the slash blocks of the
// input, start the job and convert the holes. Nothing is converted yet; the driver goes on to the
// catalogue with the work files of the last conversion deleted.
#include "engine/convert/proconv.h"
#include "platform/console.h"

void BLOCKSLA(ConvState& st) { st.section("BLOCKSLA", "0001"); }

void JOBHEADE(ConvState& st) { st.section("JOBHEADE", "0001"); }

void HOLEDETA(ConvState& st) {
  st.section("HOLEDETA", "0001");
  platform::console().print("The holes are not converted yet: no coded hole file was written.", true);
}
