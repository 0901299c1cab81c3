// Arrays with declared bounds, as the engine's globals are declared.
//
// An array exists only once it is dimensioned; dimensioning an existing array leaves it unchanged. An
// index outside the bounds (or any index before the array exists) reports error 9; the access then
// reads a zero/empty scratch element and a store into it is lost. Nothing is ever written outside the
// bounds.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/runtime/error.h"

namespace rt {

template <class T>
class Array {
 public:
  // Creates the array with bounds lo..hi, zero-filled, unless it already exists.
  void dim(long lo, long hi) {
    if (exists_) return;
    lo_ = lo;
    hi_ = hi;
    data_.assign(hi >= lo ? static_cast<size_t>(hi - lo + 1) : 0, T{});
    exists_ = true;
  }
  bool exists() const { return exists_; }
  long lbound() const { return lo_; }
  long ubound() const { return hi_; }
  bool in_bounds(long i) const { return exists_ && i >= lo_ && i <= hi_; }

  T& operator()(long i) {
    if (in_bounds(i)) return data_[static_cast<size_t>(i - lo_)];
    return out_of_bounds();
  }
  const T& operator()(long i) const {
    if (in_bounds(i)) return data_[static_cast<size_t>(i - lo_)];
    return out_of_bounds();
  }

  // Sets every element back to zero/empty (the language's ERASE of a static array).
  void clear() {
    for (auto& v : data_) v = T{};
  }
  // Raises the upper bound to hi, every element kept (REDIM PRESERVE); for a table that grows as
  // needed. A bound at or below the present one changes nothing.
  void grow(long hi) {
    if (!exists_ || hi <= hi_) return;
    data_.resize(static_cast<size_t>(hi - lo_ + 1), T{});
    hi_ = hi;
  }
  // Forgets the array (tests only: the process never frees an array).
  void reset() {
    data_.clear();
    exists_ = false;
    lo_ = hi_ = 0;
  }

 private:
  T& out_of_bounds() const {
    scratch_ = T{};
    raise(9);
    scratch_ = T{};
    return scratch_;
  }
  std::vector<T> data_;
  long lo_ = 0, hi_ = 0;
  bool exists_ = false;
  mutable T scratch_{};
};

template <class T>
class Array2 {
 public:
  void dim(long lo1, long hi1, long lo2, long hi2) {
    if (exists_) return;
    lo1_ = lo1, hi1_ = hi1, lo2_ = lo2, hi2_ = hi2;
    size_t n1 = hi1 >= lo1 ? static_cast<size_t>(hi1 - lo1 + 1) : 0;
    size_t n2 = hi2 >= lo2 ? static_cast<size_t>(hi2 - lo2 + 1) : 0;
    data_.assign(n1 * n2, T{});
    exists_ = true;
  }
  bool exists() const { return exists_; }
  long lbound(int dim) const { return dim == 1 ? lo1_ : lo2_; }
  long ubound(int dim) const { return dim == 1 ? hi1_ : hi2_; }
  bool in_bounds(long i, long j) const {
    return exists_ && i >= lo1_ && i <= hi1_ && j >= lo2_ && j <= hi2_;
  }

  T& operator()(long i, long j) {
    if (in_bounds(i, j)) return data_[index(i, j)];
    return out_of_bounds();
  }
  const T& operator()(long i, long j) const {
    if (in_bounds(i, j)) return data_[index(i, j)];
    return out_of_bounds();
  }
  void clear() {
    for (auto& v : data_) v = T{};
  }
  void reset() {
    data_.clear();
    exists_ = false;
  }

 private:
  size_t index(long i, long j) const {
    return static_cast<size_t>(i - lo1_) * static_cast<size_t>(hi2_ - lo2_ + 1) + static_cast<size_t>(j - lo2_);
  }
  T& out_of_bounds() const {
    scratch_ = T{};
    raise(9);
    scratch_ = T{};
    return scratch_;
  }
  std::vector<T> data_;
  long lo1_ = 0, hi1_ = 0, lo2_ = 0, hi2_ = 0;
  bool exists_ = false;
  mutable T scratch_{};
};

}  // namespace rt
