// The POSIX mechanics of writing a file safely: follow symbolic links, write a temporary
// beside the target, flush it to disk and rename it over the target; write character
// devices directly; refuse every other kind of file.
#include "SafeFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace output {

namespace {

// More links than this in a row is treated as a loop, as the kernel does.
constexpr int kMaxLinkHops = 40;
// Leaves room for the prefix and suffix of the temporary's name within NAME_MAX.
constexpr std::size_t kMaxTemporaryStem = 200;
// Whenever this many bytes more have been written to the temporary, the system is asked to
// start writing them to disk, so that the flush in commit() waits for the last few only.
constexpr std::uint64_t kWriteBackStep = std::uint64_t{4} << 20;

// Asks the system to start writing `length` bytes of `fd` from `offset` to disk, without
// waiting for them. Only a hint: where the system has no such call nothing happens, and a
// failure shows at the flush in commit().
void startWriteBack(int fd, std::uint64_t offset, std::uint64_t length) {
#ifdef __linux__
  (void)::sync_file_range(fd, static_cast<off64_t>(offset), static_cast<off64_t>(length),
                          SYNC_FILE_RANGE_WRITE);
#else
  (void)fd, (void)offset, (void)length;
#endif
}

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

// Follows symbolic links from `path` until it names something that is not a link, or
// nothing at all (a new file, possibly behind a dangling link). Returns 0 or an errno.
int resolveLinks(const std::string& path, std::string& resolved, struct stat& info,
                 bool& exists) {
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

// The process's umask, read without changing it where the system tells it.
mode_t currentUmask() {
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
      if (std::strncmp(line, "Umask:", 6) == 0) {
        std::fclose(status);
        return static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8)) & 0777;
      }
    }
    std::fclose(status);
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

const char* kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "Verzeichnis";
  if (S_ISFIFO(mode)) return "FIFO";
  if (S_ISSOCK(mode)) return "Socket";
  if (S_ISBLK(mode)) return "Blockgerät";
  return "unbekannte Art";
}

std::string notARegularFile(mode_t mode) {
  return std::string("Ziel ist keine gewöhnliche Datei (") + kindOf(mode) + ")";
}

}  // namespace

bool SafeFileWriter::fail(const std::string& what, int errorNumber) {
  return fail(what + ": " + std::strerror(errorNumber));
}

bool SafeFileWriter::open(const std::string& path) {
  discard();
  error_.clear();
  committed_ = false;
  if (path.empty()) return fail("Kein Dateiname angegeben");

  struct stat info {};
  bool exists = false;
  if (const int error = resolveLinks(path, target_, info, exists); error != 0)
    return fail("Ziel nicht erreichbar", error);

  if (!exists)
    return openTemporary(target_, false, 0666 & ~currentUmask(), 0, 0);
  if (S_ISREG(info.st_mode)) {
    // Replacing goes through the folder, so a write-protected file would be overwritten
    // without this check; honour the protection as opening the file itself would.
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
      return fail("Datei ist schreibgeschützt", errno);
    return openTemporary(target_, true, info.st_mode & 07777, info.st_uid, info.st_gid);
  }
  if (S_ISCHR(info.st_mode)) return openDirect(target_);
  return fail(notARegularFile(info.st_mode));
}

bool SafeFileWriter::openDirect(const std::string& path) {
  // Non-blocking while opening, so a FIFO that took the device's place cannot hang us.
  fd_ = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) return fail("Gerät kann nicht geöffnet werden", errno);
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return fail("Gerät kann nicht geprüft werden", errno);
  if (!S_ISCHR(info.st_mode))
    return fail(notARegularFile(info.st_mode));
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0)
    return fail("Gerät kann nicht eingestellt werden", errno);
  direct_ = true;
  return true;
}

bool SafeFileWriter::openTemporary(const std::string& target, bool exists, unsigned mode,
                                   unsigned owner, unsigned group) {
  std::string pattern = directoryOf(target) + "/." +
                        baseNameOf(target).substr(0, kMaxTemporaryStem) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) return fail("Temporäre Datei kann nicht angelegt werden", errno);
  temporary_ = name.data();
  direct_ = false;
  written_ = 0;
  writtenBack_ = 0;

  if (exists && (owner != ::geteuid() || group != ::getegid())) {
    if (::fchown(fd_, owner, group) != 0) {
      // Without the right to give the file away it belongs to the writer, as a file
      // written anew would.
    }
  }
  // After fchown, which clears set-id bits.
  if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0)
    return fail("Zugriffsrechte können nicht gesetzt werden", errno);
  return true;
}

bool SafeFileWriter::write(std::string_view bytes) {
  if (failed() || fd_ < 0) return fail("Datei ist nicht geöffnet");
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd_, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return fail("Fehler beim Schreiben", errno);
    }
    if (written == 0) return fail("Fehler beim Schreiben", EIO);
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  written_ += bytes.size();
  if (!direct_ && written_ - writtenBack_ >= kWriteBackStep) {
    startWriteBack(fd_, writtenBack_, written_ - writtenBack_);
    writtenBack_ = written_;
  }
  return true;
}

bool SafeFileWriter::commit() {
  if (failed() || fd_ < 0) return fail("Datei ist nicht geöffnet");
  if (direct_) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return fail("Fehler beim Schließen", errno);
    committed_ = true;
    return true;
  }
  if (::fsync(fd_) != 0) return fail("Fehler beim Sichern auf den Datenträger", errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return fail("Fehler beim Schließen", errno);
  if (::rename(temporary_.c_str(), target_.c_str()) != 0)
    return fail("Datei kann nicht ersetzt werden", errno);
  temporary_.clear();
  committed_ = true;

  // Makes the rename itself durable; a folder that cannot be synced changes nothing
  // about the file's content, so this is not a failure.
  const int folder = ::open(directoryOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

void SafeFileWriter::closeAndRemoveTemporary() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
  direct_ = false;
}

}  // namespace output
