// Splitting one line of a delimited file into its fields.
//
// With ';', ',' or tab every separator ends a field, so empty fields count ("P1;;5" has
// three); blanks and control characters around a field are dropped. With blanks, fields
// are the runs of characters between white space, as the coordinate list's tokens are.
// A field that begins with '"' is quoted: it runs to the next '"' that is not doubled,
// "" inside stands for one '"', and separators inside are text. A field cannot go on over
// a line end (every line is read on its own, also by parallel workers).
#pragma once

#include "PointFileFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace pointfiles {

class FieldSplitter {
public:
  // Splits `line` (without its line end). False when a quote is not closed, or other text
  // than blanks follows a closing quote before the next separator; `fields` is then
  // incomplete.
  bool split(std::string_view line, Separator separator);

  // The fields of the last split: views into the line, or into this object for a quoted
  // field with "" inside; valid until the next split or the end of the line's storage.
  const std::vector<std::string_view>& fields() const { return fields_; }

private:
  bool splitAtCharacter(std::string_view line, char separator);
  bool splitAtBlanks(std::string_view line);
  // Reads the quoted field that starts at `at` (on the '"'); false when it is not closed.
  bool takeQuoted(std::string_view line, std::size_t& at);

  std::vector<std::string_view> fields_;
  std::string unquoted_;  // quoted texts with "" made one '"'; never reallocated in a split
};

}  // namespace pointfiles
