// The compact set of file names (names.h).
#include "names.h"

#include <algorithm>
#include <cctype>

namespace platform {

std::size_t NameSet::hash(std::string_view s) {
  std::size_t h = 1469598103934665603ull;
  for (char c : s) h = (h ^ static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)))) * 1099511628211ull;
  return h;
}

// A name already held as written is not added again: a file replaced by a rename onto its name is
// noticed only as a name moved in, and one delete must then forget it.
void NameSet::add(std::string_view name) {
  if (holds(name)) return;
  if ((filled_ + 1) * 4 > slots_.size() * 3) rebuild();
  const auto at = static_cast<std::uint32_t>(text_.size());
  // The block grows by a quarter at a time, not double: little room left unused in a big folder.
  if (text_.size() + name.size() + 1 > text_.capacity()) text_.reserve(text_.size() + text_.size() / 4 + name.size() + 64);
  text_.append(name);
  text_.push_back('\0');
  std::size_t i = hash(name) & (slots_.size() - 1);
  while (slots_[i] != kEmpty) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = at + 1;
  ++filled_;
}

void NameSet::remove(std::string_view name) {
  if (slots_.empty()) return;
  for (std::size_t i = hash(name) & (slots_.size() - 1); slots_[i] != kEmpty; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i] == kGone || entry(slots_[i]) != name) continue;
    dead_ += name.size() + 1;
    slots_[i] = kGone;
    if (dead_ * 2 > text_.size()) rebuild();
    return;
  }
}

bool NameSet::holds(std::string_view name) const {
  if (slots_.empty()) return false;
  for (std::size_t i = hash(name) & (slots_.size() - 1); slots_[i] != kEmpty; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i] != kGone && entry(slots_[i]) == name) return true;
  }
  return false;
}

std::size_t NameSet::place(std::string_view part) const {
  if (slots_.empty()) return 0;
  for (std::size_t i = hash(part) & (slots_.size() - 1); slots_[i] != kEmpty; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i] == kGone) continue;
    const std::string_view e = entry(slots_[i]);
    if (e.size() == part.size() && std::equal(e.begin(), e.end(), part.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }))
      return i;
  }
  return slots_.size();
}

bool NameSet::find(std::string_view part, std::string& name) const {
  const std::size_t i = place(part);
  if (i >= slots_.size()) return false;
  name = entry(slots_[i]);
  return true;
}

bool NameSet::contains(std::string_view part) const { return place(part) < slots_.size(); }

// Every name still there again, in the order they came in, in a table with room to grow (at most 3/8
// full); the block of text is kept as it is when nothing was removed from it.
void NameSet::rebuild() {
  std::vector<std::uint32_t> live;
  live.reserve(filled_);
  for (std::uint32_t p : slots_)
    if (p != kEmpty && p != kGone) live.push_back(p);
  std::sort(live.begin(), live.end());
  std::size_t size = 16;
  while (size * 3 < (live.size() + 1) * 8) size *= 2;
  std::vector<std::uint32_t>().swap(slots_);
  slots_.assign(size, kEmpty);
  filled_ = 0;
  if (dead_ == 0) {
    for (std::uint32_t p : live) {
      std::size_t i = hash(entry(p)) & (size - 1);
      while (slots_[i] != kEmpty) i = (i + 1) & (size - 1);
      slots_[i] = p;
      ++filled_;
    }
    return;
  }
  std::string old = std::move(text_);
  text_.clear();
  text_.reserve(old.size() - dead_);
  dead_ = 0;
  for (std::uint32_t p : live) add(std::string_view(old.data() + p - 1));
}

}  // namespace platform
