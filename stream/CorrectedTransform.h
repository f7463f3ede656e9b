// The Helmert transformation followed by a Restklaffenverteilung: T(P) + c(P), the point
// transform of -o and --transform with --distribute (and of any front end that writes a
// corrected result file). T is computed in extended precision as the result file computes
// it, the correction is added before rounding to double, so a control point lands on its
// observed new position (T(P_j) + v_j) to well below the result file's last digit. A point
// that gets no correction (outside the triangles, no control point within the radius)
// keeps exactly the bytes of the plain transformation; such points are counted.
#pragma once

#include "PointTransform.h"
#include "ResidualDistribution.h"

#include <Keltransformation.h>

#include <atomic>
#include <cstddef>

namespace stream {

class CorrectedTransform final : public PointTransform {
public:
  CorrectedTransform(const kel::TKEL_Vovezorevarovaduvorir& solver,
                     const distribution::ResidualDistribution& distribution)
      : solver_(solver), distribution_(distribution) {}

  output::ResultPoint operator()(double rw, double hw) const override;

  // Points transformed so far that got no correction.
  std::size_t uncorrected() const { return uncorrected_.load(std::memory_order_relaxed); }

private:
  const kel::TKEL_Vovezorevarovaduvorir& solver_;
  const distribution::ResidualDistribution& distribution_;
  mutable std::atomic<std::size_t> uncorrected_{0};
};

}  // namespace stream
