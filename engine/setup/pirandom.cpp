// Work channels: numbered lists of texts on disk that the engine's stages hand to each other.
//
// Channel c is a pair of files: an index of 4-byte little-endian byte offsets (file number PIFILE(c),
// opened for records of 4 bytes) and the texts one after another, each followed by CR LF (file number
// PIFILE(c + 1), opened for bytes). Index record k holds the offset where text k begins and record
// k + 1 where it ends (plus the line end), so the length of a text is never stored. PINEXT(c) always
// holds the four bytes of the index record read or written last.
//
// Record numbers run from 1 to 32767 and a text holds at most 32767 bytes (lengths are read back as
// 16-bit numbers); anything beyond is refused with error 6 rather than wrapped. Writing an earlier text
// again with another length moves the texts after it, so that they read back unchanged.
#include <cstdint>
#include <limits>
#include <string>

#include "engine/frame/globals.h"
#include "engine/runtime/error.h"
#include "engine/runtime/files.h"
#include "engine/setup/globals.h"
#include "engine/setup/setup.h"

namespace {

constexpr std::int32_t kMaxRecord = 32767;
constexpr std::size_t kMaxText = 32767;
constexpr std::int64_t kMaxOffset = std::numeric_limits<std::int32_t>::max();

std::string encode(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[static_cast<size_t>(i)] = static_cast<char>((u >> (8 * i)) & 0xFF);
  return b;
}

std::int32_t decode(const std::string& b) {
  std::uint32_t u = 0;
  for (size_t i = 0; i < 4 && i < b.size(); ++i) u |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[i])) << (8 * i);
  return static_cast<std::int32_t>(u);
}

// The channel must leave room for its text file's number in PIFILE (0..9).
bool valid_channel(std::int32_t c) {
  if (c < 0 || c > 8) {
    rt::raise(9);
    return false;
  }
  return true;
}

// Both files of the channel are open. A use of a channel that was never opened, or whose files could
// not be opened (a work file refused by the disk), is one error of the call (52), never a second one
// from each file operation that follows, which would end the run with the untrapped-error box.
bool opened(std::int32_t c) {
  if (PIFILE(c) > 0 && PIFILE(c + 1) > 0) return true;
  if (PIFAILED[static_cast<size_t>(c)].empty()) rt::raise(52);
  return false;
}

bool valid_record(std::int32_t n) {
  if (n < 1) {
    rt::raise(63);
    return false;
  }
  if (n > kMaxRecord) {
    rt::raise(6);
    return false;
  }
  return true;
}

// Index record k of channel c into value (a record beyond the end of the index reads as 0).
bool read_index(std::int32_t c, std::int32_t k, std::int32_t& value) {
  std::string buf;
  if (!rt::get_record(PIFILE(c), k, buf)) return false;
  PINEXT(c) = buf;
  value = decode(buf);
  return true;
}

bool write_index(std::int32_t c, std::int32_t k, std::int32_t value) {
  PINEXT(c) = encode(value);
  return rt::put_record(PIFILE(c), k, PINEXT(c));
}

// Text n of a list of `count` texts gets the new end offset `end`: the texts n + 1 .. count move by
// the difference, bytes and index records alike. An index that does not describe such a list (offsets
// out of order) is left alone.
bool move_later_texts(std::int32_t c, std::int32_t n, std::int32_t count, std::int64_t end) {
  std::int32_t old_end = 0, tail_end = 0, start = 0;
  if (!read_index(c, n, start) || !read_index(c, n + 1, old_end) || !read_index(c, count + 1, tail_end)) return false;
  if (old_end < start || tail_end < old_end) return true;
  const std::int64_t delta = end - old_end;
  if (delta == 0) return true;
  if (tail_end + delta > kMaxOffset) {
    rt::raise(6);
    return false;
  }
  const int texts = PIFILE(c + 1);
  rt::seek(texts, std::int64_t(old_end) + 1);
  const std::string tail = rt::get_bytes(texts, static_cast<std::size_t>(tail_end - old_end));
  rt::seek(texts, old_end + delta + 1);
  if (!rt::put_bytes(texts, tail)) return false;
  for (std::int32_t k = n + 2; k <= count + 1; ++k) {
    std::int32_t v = 0;
    if (!read_index(c, k, v) || !write_index(c, k, static_cast<std::int32_t>(v + delta))) return false;
  }
  return true;
}

}  // namespace

void PIOPEN(const std::string& base, std::int32_t channel) {
  RT_TRAP(trap, "PIOPEN");
  if (!valid_channel(channel)) return;
  const std::string name = base;
  PIFAILED[static_cast<size_t>(channel)].clear();
  int f = rt::FREEFILE();
  if (!rt::open_file(f, name + "R", rt::FileMode::Random, 4)) {
    PIFILE(channel) = 0;
    PIFAILED[static_cast<size_t>(channel)] = name + "R";
    return;
  }
  PIFILE(channel) = static_cast<std::int16_t>(f);
  PINEXT(channel) = std::string(4, '\0');
  f = rt::FREEFILE();
  if (!rt::open_file(f, name + "B", rt::FileMode::Binary)) {
    PIFILE(channel + 1) = 0;
    PIFAILED[static_cast<size_t>(channel)] = name + "B";
    return;
  }
  PIFILE(channel + 1) = static_cast<std::int16_t>(f);
}

void PIINIT(std::int32_t channel) {
  RT_TRAP(trap, "PIINIT");
  if (!valid_channel(channel) || !opened(channel)) return;
  if (!write_index(channel, 1, 0) || !write_index(channel, 2, 0)) return;
  PITEXTCOUNT[static_cast<size_t>(channel)] = 0;
}

void PIWRITE(const std::string& text, std::int32_t record, std::int32_t channel) {
  RT_TRAP(trap, "PIWRITE");
  if (!valid_channel(channel) || !opened(channel) || !valid_record(record)) return;
  std::string body = text + "\r\n";
  if (text.size() > kMaxText) {
    // Refused: stored as an empty text, so that the texts after it still find their place.
    rt::raise(6);
    body = "\r\n";
  }
  std::int32_t start = 0;
  if (!read_index(channel, record, start)) return;
  const std::int64_t end = std::int64_t(start) + static_cast<std::int64_t>(body.size());
  if (start < 0 || end > kMaxOffset) {
    rt::raise(start < 0 ? 63 : 6);
    return;
  }
  std::int32_t& count = PITEXTCOUNT[static_cast<size_t>(channel)];
  if (record < count && !move_later_texts(channel, record, count, end)) return;
  rt::seek(PIFILE(channel + 1), std::int64_t(start) + 1);
  if (!rt::put_bytes(PIFILE(channel + 1), body)) return;
  if (!write_index(channel, record + 1, static_cast<std::int32_t>(end))) return;
  if (count >= 0 && record > count) count = record;
}

void PIREAD(std::string& text, std::int32_t record, std::int32_t channel) {
  RT_TRAP(trap, "PIREAD");
  std::int32_t start = 0, end = 0;
  if (!valid_channel(channel) || !opened(channel) || !valid_record(record) || !read_index(channel, record, start) ||
      !read_index(channel, record + 1, end)) {
    text.clear();
    return;
  }
  const std::int64_t length = std::int64_t(end) - start - 2;
  if (length <= 0) {
    text.clear();
    return;
  }
  if (length > std::int64_t(kMaxText) || start < 0) {
    rt::raise(start < 0 ? 63 : 6);
    text.clear();
    return;
  }
  rt::seek(PIFILE(channel + 1), std::int64_t(start) + 1);
  text = rt::get_bytes(PIFILE(channel + 1), static_cast<std::size_t>(length));
}

std::string failed_work_file(std::int32_t first) {
  for (std::int32_t c = first; c <= first + 3 && c >= 0 && c < 10; ++c)
    if (!PIFAILED[static_cast<size_t>(c)].empty()) return PIFAILED[static_cast<size_t>(c)];
  return {};
}
