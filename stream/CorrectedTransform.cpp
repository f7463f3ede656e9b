// T(P) + c(P) for one point; called from the stream's workers at once.
#include "CorrectedTransform.h"

#include "CorrectedPoints.h"

namespace stream {

output::ResultPoint CorrectedTransform::operator()(double rw, double hw) const {
  const distribution::Correction correction = distribution_.correctionAt(rw, hw);
  if (!correction.corrected) uncorrected_.fetch_add(1, std::memory_order_relaxed);
  return distribution::correctedPoint(rw, hw, solver_, correction);
}

}  // namespace stream
