// Degrees of freedom f of the point test, whose critical value is that of F(2, f): the
// redundancy of the estimate the pair is tested against.
//   active pair:        the estimate of the other active pairs, f = 2 (n_a - 1) - 4 = 2 n_a - 6
//   switched-off pair:  the estimate of all n_a active pairs,   f = 2 n_a - 4
// The redundancy of the estimate itself is kel::helmertRedundancy(n_a).
#pragma once

#include "HelmertRedundancy.h"

#include <cstddef>

namespace analysis {

inline int testDegreesOfFreedom(std::size_t activeCount, bool pairActive) {
  const long long pairs = static_cast<long long>(activeCount) - (pairActive ? 1 : 0);
  return static_cast<int>(kel::helmertRedundancy(pairs));
}

}  // namespace analysis
