// Standard output on POSIX systems: write(2) on file descriptor 1, SIGPIPE ignored.
#include "StandardOutput.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace cli {

int writeStandardOutput(const char* bytes, std::size_t size) {
  while (size != 0) {
    const ssize_t written = ::write(STDOUT_FILENO, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

void letClosedPipesFailWrites() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGPIPE, &ignore, nullptr);
}

bool isClosedPipe(int errorNumber) { return errorNumber == EPIPE; }

std::string errorText(int errorNumber) { return std::strerror(errorNumber); }

}  // namespace cli
