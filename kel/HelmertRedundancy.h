// The redundancy of the plane Helmert estimate: two observations (RW, HW) per control point
// pair against the four parameters Xo, Yo, a, o, so f = 2n - 4 for n pairs. So divides by
// it, the protocols show it, and the point test's degrees of freedom follow from it.
#pragma once

namespace kel {

constexpr long long helmertRedundancy(long long pairCount) { return 2 * pairCount - 4; }

}  // namespace kel
