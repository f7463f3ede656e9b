// What the safe writer does the same on every system: a writer destroyed before commit()
// abandons its work, and the first failure is kept as the reason while the work is
// abandoned; and the message of a failed write.
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

std::string writeErrorMessage(const std::string& displayPath) {
  return "Datei " + displayPath + " kann nicht geschrieben werden.";
}

std::string writeErrorMessage(const std::string& displayPath, const std::string& reason) {
  std::string message = writeErrorMessage(displayPath);
  if (!reason.empty()) message += "\n" + reason;
  return message;
}

}  // namespace output
