// Standard output on Windows: _write on descriptor 1, which keeps the console and text
// mode handling of the C library. A closed pipe fails with EPIPE there without a signal.
#include "StandardOutput.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <io.h>

namespace cli {

int writeStandardOutput(const char* bytes, std::size_t size) {
  while (size != 0) {
    const unsigned piece = size > INT_MAX / 2 ? INT_MAX / 2 : static_cast<unsigned>(size);
    const int written = ::_write(1, bytes, piece);
    if (written < 0) return errno;
    if (written == 0) return EIO;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

void letClosedPipesFailWrites() {}

bool isClosedPipe(int errorNumber) { return errorNumber == EPIPE; }

std::string errorText(int errorNumber) { return std::strerror(errorNumber); }

}  // namespace cli
