// The three plane transformation models the program estimates, their parameter counts and
// the redundancy of an estimate from n control point pairs (two observations, RW and HW,
// per pair):
//   congruent  3 parameters  Xo, Yo and a rotation (scale fixed at 1)   f = 2n - 3
//   Helmert    4 parameters  Xo, Yo, a, o (rotation and one scale)      f = 2n - 4
//   affine     6 parameters  Xo, Yo, a1, a2, b1, b2 (two scales, shear) f = 2n - 6
// PlaneTransformation.h gives the formulas.
#pragma once

#include "HelmertRedundancy.h"

#include <cstddef>

namespace models {

enum class Model { Congruent, Helmert, Affine };

inline constexpr Model kAllModels[] = {Model::Congruent, Model::Helmert, Model::Affine};

constexpr int parameterCount(Model model) {
  switch (model) {
    case Model::Congruent: return 3;
    case Model::Helmert: return 4;
    case Model::Affine: return 6;
  }
  return 4;
}

// The fewest pairs that determine the model: two for a rotation, three for the affine
// model's two scales and shear (and those three not on one line).
constexpr std::size_t minimumPairs(Model model) { return model == Model::Affine ? 3 : 2; }

// f = 2n - k; for Helmert kel::helmertRedundancy, which So and the protocols use.
constexpr long long redundancy(Model model, long long pairCount) {
  return model == Model::Helmert ? kel::helmertRedundancy(pairCount) : 2 * pairCount - parameterCount(model);
}

}  // namespace models
