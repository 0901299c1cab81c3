// CONTROLC: printer control codes written as "/nnn" turned into the characters themselves.
#include "engine/setup/contcode.h"

#include "engine/runtime/error.h"
#include "engine/runtime/number.h"
#include "engine/runtime/text.h"

void CONTROLC(std::string& result, const std::string& source) {
  RT_TRAP(trap, "CONTROLC");
  const std::string src = source;  // the result may be the caller's source variable itself
  result.clear();
  const long n = static_cast<long>(src.size());
  for (long i = 1; i <= n; ++i) {
    char c = src[static_cast<size_t>(i - 1)];
    if (c == '/') {
      // The leading number of the next three characters (fewer at the end; none gives 0), low 8 bits.
      double v = rt::round_even(rt::VAL(rt::MID(src, i + 1, 3)));
      c = static_cast<char>(static_cast<long long>(v) & 0xFF);
      i += 3;
    }
    result += c;
  }
}
