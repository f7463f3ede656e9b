// Which control point pairs --exclude switches off: the lists as the user types them
// ("3,7-9": numbers "Pkt." of the residual table, or point names with --pair-by-name),
// checked and turned into one active flag per pair. --exclude may be given several times;
// the pairs of all its lists are switched off.
#pragma once

#include "Options.h"
#include "PointList.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct ExclusionResult {
  std::vector<bool> active;  // one flag per pair; empty when nothing is switched off
  std::string error;         // the German usage error; empty when the lists are fine
  bool ok() const { return error.empty(); }
};

// Checks what can be checked of one list before any file is read: with pairing by position
// every item must be a number or a range "N-M" (N <= M, from 1). Returns the usage error or "".
std::string checkExcludeList(std::string_view list, Pairing pairing);

// Resolves `lists` against the n pairs. By position the items are numbers or ranges; by name
// they are names of the pairs (byte for byte). An unknown number or name is an error, which
// names the number as the user typed it.
ExclusionResult resolveExcludeList(const std::vector<std::string>& lists, Pairing pairing,
                                   const PointList& oldPairs, std::size_t pairCount);

}  // namespace cli
