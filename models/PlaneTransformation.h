// A plane transformation of one of the three models, as the result file, the stream's
// per-point transform, the residual distribution and the protocol apply it.
//
// All three are written in the affine form (rw, hw old system; RW, HW new system; rw, the
// Rechtswert or easting, comes first):
//   RW = Yo + a1 * rw + a2 * hw
//   HW = Xo + b1 * rw + b2 * hw
// Helmert:    a1 = a, a2 = o, b1 = -o, b2 = a  (Keltransformation.h: RW = Yo + a*rw + o*hw,
//             HW = Xo + a*hw - o*rw), scale m = sqrt(a^2 + o^2), rotation d = atan2(o, a)
// congruent:  the same with a = cos d, o = sin d (m = 1)
// affine:     six free parameters.
// With hw pointing up and rw to the right a positive rotation turns clockwise, as for
// Helmert: a = 0, o = 1 (d = 100 gon) maps rw 1, hw 0 to RW 0, HW -1.
//
// The affine model's derived figures (AffineShape), in gon where they are angles:
//   m_rw = sqrt(a1^2 + b1^2)        the scale along the rw axis: the length of the image
//                                   (a1, b1) of the unit vector of rw
//   m_hw = sqrt(a2^2 + b2^2)        the scale along the hw axis, image (a2, b2)
//   d_rw = atan2(-b1, a1)           the rotation of the rw axis, clockwise positive
//   d_hw = atan2(a2, b2)            the rotation of the hw axis, clockwise positive
//   rotation = d_rw
//   shear    = d_hw - d_rw          (within -200 .. +200): the images of the axes enclose
//                                   100 gon - shear; a similarity has shear 0
// For a Helmert transformation m_rw = m_hw = m and d_rw = d_hw = d.
#pragma once

#include "PlaneModel.h"

namespace models {

struct PlaneTransformation {
  Model model = Model::Helmert;
  long double Yo = 0;  // added to RW [unit of the coordinates]
  long double Xo = 0;  // added to HW
  long double a1 = 1, a2 = 0;  // RW from rw and hw
  long double b1 = 0, b2 = 1;  // HW from rw and hw

  // Helmert (or congruent, with a^2 + o^2 = 1) from a, o, Yo and Xo.
  static PlaneTransformation similarity(Model model, long double a, long double o, long double Yo, long double Xo);

  // The transformed point. For Helmert every bit equals the solver's transform_rw and
  // transform_hw: (a*rw + Yo) + o*hw and (a*hw + Xo) - o*rw.
  long double transformRW(long double rw, long double hw) const { return (a1 * rw + Yo) + a2 * hw; }
  long double transformHW(long double rw, long double hw) const { return (b2 * hw + Xo) + b1 * rw; }

  // Observed minus computed, bracketed as the Helmert solver forms its residuals:
  // ((-Yo - a*rw) - o*hw) + RW and ((-Xo - a*hw) + o*rw) + HW.
  long double residualRW(long double rw, long double hw, long double RW) const { return ((-Yo - a1 * rw) - a2 * hw) + RW; }
  long double residualHW(long double rw, long double hw, long double HW) const { return ((-Xo - b2 * hw) - b1 * rw) + HW; }

  // The largest factor the transformation gives an old coordinate, max(|a1| + |a2|,
  // |b1| + |b2|) (Helmert: |a| + |o|), for the round-off level of its residuals.
  long double largestFactor() const;
};

// Scale and rotation of a similarity (Helmert, congruent): m and d [gon] from a1 = a and
// a2 = o rounded to double, exactly as the "Parameter" command derives them.
struct SimilarityShape {
  double scale;
  double rotationGon;
};
SimilarityShape similarityShape(const PlaneTransformation& transformation);

// The derived figures of any of the three (see above); for the affine model the only
// description of its scales and angles.
struct AffineShape {
  double scaleRW;      // m_rw
  double scaleHW;      // m_hw
  double rotationGon;  // d_rw
  double shearGon;     // d_hw - d_rw
};
AffineShape affineShape(const PlaneTransformation& transformation);

}  // namespace models
