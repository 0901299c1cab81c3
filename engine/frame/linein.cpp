// LINEINPU: the next line of a file read by byte position.
//
// The line ends at the first CR LF, CR or LF (in raw mode, chosen by passing CR LF as the line, only at
// CR LF). A CR LF pair counts as one terminator of two bytes. At the end of the file the rest is the
// line; at or past the end an empty line is returned and the position stays. Tabs become four blanks
// outside raw mode. BLOCKPOS is left at the block length a block-wise reader growing by 256 bytes
// would have reached.
#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/frame/globals.h"
#include "engine/frame/helpers.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/runtime/text.h"

void LINEINPU(std::int32_t fileno, std::string& line, std::int32_t& pos) {
  RT_TRAP(trap, "LINEINPU");
  trap.step("0001");
  const bool raw = line == "\r\n";
  BLOCKPOS = 256;
  trap.step("0002");
  const std::int64_t length = rt::LOF(fileno);
  if (length <= pos || pos < 0) {
    line.clear();
    return;
  }
  trap.step("0003");
  std::string buf;
  std::int64_t f = 0;  // 1-based position of the terminator in buf
  int term = 0;
  std::int64_t from = pos;
  // Read in growing pieces, a short line costing a short read. The line found does not depend on
  // the pieces: a CR at the end of what is read waits for the next byte.
  std::size_t piece = 256;
  while (f == 0) {
    rt::seek(fileno, from + 1);
    std::string chunk = rt::get_bytes(fileno, piece);
    if (chunk.empty()) break;
    piece = std::min<std::size_t>(2 * piece, 65536);
    const size_t base = buf.size();
    from += static_cast<std::int64_t>(chunk.size());
    if (base == 0)
      buf = std::move(chunk);
    else
      buf += chunk;
    // Search the new bytes (and the last old byte, whose CR may pair with a new LF): the first CR or
    // LF ends the line (in raw mode only a CR LF pair), a CR at the end of what is read waits for
    // the next byte.
    const char* const b = buf.data();
    const size_t size = buf.size();
    size_t k = base > 0 ? base - 1 : 0;
    while (k < size) {
      if (raw) {
        const void* cr = std::memchr(b + k, '\r', size - k);
        if (cr == nullptr) break;
        k = static_cast<size_t>(static_cast<const char*>(cr) - b);
      } else {
        const void* lf = std::memchr(b + k, '\n', size - k);
        const size_t limit = lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - b) : size;
        const void* cr = std::memchr(b + k, '\r', limit - k);
        k = cr != nullptr ? static_cast<size_t>(static_cast<const char*>(cr) - b) : limit;
        if (k == size) break;
      }
      const char c = b[k];
      if (c == '\r' && k + 1 == size && from < length) break;  // its LF may follow: read on
      if (c == '\r' && k + 1 < size && b[k + 1] == '\n') {
        f = static_cast<std::int64_t>(k) + 1, term = 2;
        break;
      }
      if (!raw) {  // a CR or LF
        f = static_cast<std::int64_t>(k) + 1, term = 1;
        break;
      }
      ++k;  // raw mode: a CR without its LF is part of the line
    }
    if (from >= length) break;
  }
  if (f == 0) {  // no terminator: the rest of the file is the line
    f = length - pos + 1;
    term = 0;
  }
  // A reader of 4096-byte chunks, adding 256 to a block length of 256 for each, ends at 512 when the
  // line ends in its first chunk, else below f; the length is then raised in steps of 256 up to f.
  BLOCKPOS = 512;
  while (BLOCKPOS < f) BLOCKPOS += 256;
  trap.step("0004");
  line.assign(buf, 0, static_cast<size_t>(f - 1));
  pos = static_cast<std::int32_t>(pos + f - 1 + term);
  trap.step("0005");
  if (!raw) REPLAZE(line, "\t", "    ");
}
