// What the safe writer does the same on every system: a writer destroyed before commit()
// abandons its work, and the first failure is kept as the reason while the work is abandoned.
#include "SafeFileWriter.h"

namespace output {

SafeFileWriter::~SafeFileWriter() {
  if (!committed_) discard();
}

bool SafeFileWriter::fail(const std::string& what) {
  if (error_.empty()) error_ = what;
  discard();
  return false;
}

void SafeFileWriter::discard() { closeAndRemoveTemporary(); }

}  // namespace output
