// Windows has no SIGHUP or SIGXFSZ, and an interrupted console program is not cleaned up
// here: a write cut off by Ctrl+C leaves its "trm….tmp" beside the target, and the target
// itself stays as it was.
#include "TemporaryCleanup.h"

namespace output {

void removeTemporariesOnSignals() {}

int watchTemporary(const std::string&) { return -1; }

void unwatchTemporary(int) {}

}  // namespace output
