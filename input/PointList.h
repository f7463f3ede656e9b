// The points of one coordinate system: parallel sequences in file order. Names and the two
// coordinates as every coordinate file gives them; height and code only from a file that
// has such columns (pointfiles/).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct PointList {
  // Point names, byte for byte as in the file. Empty when no point of the file has a
  // name; otherwise exactly one entry per point (empty for a point read without a name).
  std::vector<std::string> names;
  std::vector<double> rw;  // first coordinate, Rechtswert
  std::vector<double> hw;  // second coordinate, Hochwert
  // Empty unless the file has a height column; then one entry per point, NaN for a point
  // without height. Heights take no part in the plane transformation.
  // (The braces let a list be written as {names, rw, hw} without a warning.)
  std::vector<double> heights{};
  // Empty unless the file has a code column; then one entry per point (empty when none).
  std::vector<std::string> codes{};

  std::size_t count() const { return rw.size(); }
  bool empty() const { return rw.empty(); }

  // Name of point i, or an empty text when the list carries no names.
  std::string_view nameAt(std::size_t i) const {
    return i < names.size() ? std::string_view(names[i]) : std::string_view();
  }

  void clear() {
    names.clear();
    rw.clear();
    hw.clear();
    heights.clear();
    codes.clear();
  }
};
