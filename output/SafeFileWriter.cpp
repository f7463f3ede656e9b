// The POSIX mechanics of writing a file safely: follow symbolic links, write a temporary
// beside the target (watched, so that a signal removes it), flush it to disk and rename it
// over the target; write character devices and pipes directly; refuse every other kind.
#include "SafeFileWriter.h"

#include "LinkResolution.h"
#include "TemporaryCleanup.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace output {

namespace {

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

// Holds back the signals that remove temporaries while a temporary is made and announced.
class SignalsHeldBack {
public:
  SignalsHeldBack() {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&ending, signal);
    ::pthread_sigmask(SIG_BLOCK, &ending, &saved_);
  }
  ~SignalsHeldBack() { ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
  SignalsHeldBack(const SignalsHeldBack&) = delete;
  SignalsHeldBack& operator=(const SignalsHeldBack&) = delete;

private:
  sigset_t saved_;
};

}  // namespace

bool SafeFileWriter::fail(const std::string& what, int errorNumber) {
  return fail(what + ": " + std::strerror(errorNumber));
}

bool SafeFileWriter::open(const std::string& path) {
  discard();
  error_.clear();
  committed_ = false;
  if (path.empty()) return fail("Kein Dateiname angegeben");

  // What the path leads to with every link followed by the system itself, which also
  // follows the links of /dev/stdout and /proc/self/fd: those name a pipe or a terminal,
  // not a path that could be resolved by hand.
  struct stat followed {};
  if (::stat(path.c_str(), &followed) == 0) {
    if (S_ISCHR(followed.st_mode) || S_ISFIFO(followed.st_mode)) {
      target_ = path;
      return openDirect(target_);
    }
    if (!S_ISREG(followed.st_mode)) return fail(notARegularFile(followed.st_mode));
  }

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
  if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) return openDirect(target_);
  return fail(notARegularFile(info.st_mode));
}

bool SafeFileWriter::openDirect(const std::string& path) {
  // Non-blocking while opening, so that a device that never answers (a serial line
  // waiting for its carrier) cannot hang us.
  fd_ = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  struct stat info {};
  if (fd_ < 0 && errno == ENXIO && ::stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode)) {
    // A FIFO that nobody reads yet: wait for its reader, as the shell's ">" does.
    fd_ = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  }
  if (fd_ < 0) return fail("Ziel kann nicht geöffnet werden", errno);
  if (::fstat(fd_, &info) != 0) return fail("Ziel kann nicht geprüft werden", errno);
  if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode)) return fail(notARegularFile(info.st_mode));
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0)
    return fail("Ziel kann nicht eingestellt werden", errno);
  direct_ = true;
  return true;
}

bool SafeFileWriter::openTemporary(const std::string& target, bool exists, unsigned mode,
                                   unsigned owner, unsigned group) {
  std::string pattern = directoryOf(target) + "/." +
                        baseNameOf(target).substr(0, kMaxTemporaryStem) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  {
    // A signal between making the temporary and watching it would leave it behind.
    const SignalsHeldBack held;
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ >= 0) watchTicket_ = watchTemporary(name.data());
  }
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
  // Only now: a signal before the rename must still remove the temporary.
  unwatchTemporary(watchTicket_);
  watchTicket_ = -1;
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
    unwatchTemporary(watchTicket_);
    watchTicket_ = -1;
    temporary_.clear();
  }
  direct_ = false;
}

}  // namespace output
