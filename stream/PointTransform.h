// The step every point of the stream goes through: old-system coordinates in, new-system
// coordinates out. The block workers call it once per point and format what it returns, so
// another transformation model, or a correction applied after the transformation, comes in
// here and nowhere else. It is called from several threads at once.
#pragma once

#include "ResultFile.h"

#include <Keltransformation.h>

namespace stream {

class PointTransform {
public:
  virtual ~PointTransform() = default;
  virtual output::ResultPoint operator()(double rw, double hw) const = 0;
};

// The plane four-parameter transformation with the solver's parameters, computed exactly as
// the window's result file computes it (output::transformedPoint).
class HelmertTransform final : public PointTransform {
public:
  explicit HelmertTransform(const kel::TKEL_Vovezorevarovaduvorir& solver) : solver_(solver) {}
  output::ResultPoint operator()(double rw, double hw) const override {
    return output::transformedPoint(rw, hw, solver_);
  }

private:
  const kel::TKEL_Vovezorevarovaduvorir& solver_;
};

}  // namespace stream
