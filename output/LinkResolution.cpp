// Resolving symbolic links with lstat and readlink, link by link.
#include "LinkResolution.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace output {

namespace {

// More links than this in a row is treated as a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;

}  // namespace

std::string directoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int resolveLinks(const std::string& path, std::string& resolved, struct stat& info, bool& exists) {
  resolved = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    if (::lstat(resolved.c_str(), &info) != 0) {
      if (errno != ENOENT) return errno;
      exists = false;
      return 0;
    }
    if (!S_ISLNK(info.st_mode)) {
      exists = true;
      return 0;
    }
    std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    for (;;) {
      const ssize_t length = ::readlink(resolved.c_str(), buffer.data(), buffer.size());
      if (length < 0) return errno;
      if (static_cast<std::size_t>(length) < buffer.size()) {
        buffer.resize(static_cast<std::size_t>(length));
        break;
      }
      buffer.resize(buffer.size() * 2);  // the link grew meanwhile
    }
    std::string next(buffer.begin(), buffer.end());
    if (next.empty()) return ENOENT;
    resolved = next.front() == '/' ? next : directoryOf(resolved) + "/" + next;
  }
  return ELOOP;
}

}  // namespace output
