// Opening a coordinate file on POSIX systems. Anything but a FIFO is opened without
// blocking, so that a device that never answers (a serial line waiting for its carrier, a
// tape drive without a tape) cannot hang the program in open(). A FIFO is opened blocking:
// it waits for its writer, as `cat` does. Opened without blocking it would look empty, since
// a FIFO that has no writer yet reads as its end.
#include "FileOpening.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace input {

std::FILE* openForReading(const std::string& path) {
  struct stat named {};
  const bool fifo = ::stat(path.c_str(), &named) == 0 && S_ISFIFO(named.st_mode);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (fifo ? 0 : O_NONBLOCK));
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  if (!fifo) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) ::close(fd);
  return file;
}

}  // namespace input
