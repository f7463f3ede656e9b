// Degrees of freedom f of the point test, whose critical value is that of F(2, f): the
// redundancy of the estimate the pair is tested against, for a model with k parameters
// (models/PlaneModel.h: 3 congruent, 4 Helmert, 6 affine).
//   active pair:        the estimate of the other active pairs, f = 2 (n_a - 1) - k
//                       (Helmert 2 n_a - 6)
//   switched-off pair:  the estimate of all n_a active pairs,   f = 2 n_a - k
//                       (Helmert 2 n_a - 4)
// The redundancy of the estimate itself is models::redundancy(model, n_a).
#pragma once

#include "PlaneModel.h"

#include <cstddef>

namespace analysis {

inline int testDegreesOfFreedom(std::size_t activeCount, bool pairActive,
                                models::Model model = models::Model::Helmert) {
  const long long pairs = static_cast<long long>(activeCount) - (pairActive ? 1 : 0);
  return static_cast<int>(models::redundancy(model, pairs));
}

}  // namespace analysis
