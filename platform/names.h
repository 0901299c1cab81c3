// A set of file names found without regard to letter case, kept compact: the engine folder and a job
// folder hold a file per hole, thousands of names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The names one after another in one block of text (each ended by a zero byte) and an open-addressed
// table of their places by the hash of their lower-case form: about 20 bytes a name. Of names equal
// but for their letter case, find gives the one added first (a place of the table is never taken
// again once used, so equal names stay in the order they came in). A removed name leaves its bytes
// until they are half the block.
class NameSet {
 public:
  // Adds the name; nothing when it is held already as written (a name is held once).
  void add(std::string_view name);
  // Removes the name as written (not another letter case of it); nothing when it is not there.
  void remove(std::string_view name);
  // The name equal to part without regard to letter case, into name; false when there is none.
  bool find(std::string_view part, std::string& name) const;
  bool contains(std::string_view part) const;

 private:
  static constexpr std::uint32_t kEmpty = 0, kGone = 0xFFFFFFFFu;
  std::string text_;
  std::vector<std::uint32_t> slots_;  // a name's place in text_ + 1; kEmpty never used, kGone removed
  std::size_t filled_ = 0;            // places used (names and removed ones)
  std::size_t dead_ = 0;              // bytes of removed names in text_

  static std::size_t hash(std::string_view s);
  std::string_view entry(std::uint32_t slot) const { return std::string_view(text_.data() + slot - 1); }
  // The place of a name equal to part without regard to case; slots_.size() when there is none.
  std::size_t place(std::string_view part) const;
  // Whether the name is held exactly as written.
  bool holds(std::string_view name) const;
  void rebuild();
};

}  // namespace platform
