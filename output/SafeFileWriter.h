// Writes a file so that a failure never leaves a half-written file in place of a good one.
//
// A regular file (existing or new) is written to a temporary file in the same folder,
// flushed to disk and then renamed over the target; until commit() succeeds the target
// keeps its old content. A symbolic link is followed, so the file it points to is
// replaced and the link stays a link. A character device (/dev/null, a terminal) or a pipe
// (a FIFO, /dev/stdout in a pipeline) cannot be replaced and is written directly; a FIFO
// without a reader is waited for, as the shell does. Anything else (a directory, socket or
// block device) is refused. The temporary is announced to TemporaryCleanup, so that a
// program that asked for it loses no temporary to SIGINT, SIGTERM or SIGHUP.
//
// Use: open(path), then write() any number of chunks, then commit(). Every step returns
// false on failure and leaves the reason in error(); after a failure the remaining steps
// do nothing and return false. A writer destroyed before commit() removes its temporary.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace output {

// The outcome of writing a whole file through the safe writer.
struct WriteResult {
  bool ok = true;
  std::string reason;  // why writing failed, for the message; empty on success
};

// "Datei <path> kann nicht geschrieben werden."
std::string writeErrorMessage(const std::string& displayPath);
// The same, followed on a new line by the reason from WriteResult (when there is one).
std::string writeErrorMessage(const std::string& displayPath, const std::string& reason);

class SafeFileWriter {
public:
  SafeFileWriter() = default;
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  bool open(const std::string& path);
  bool write(std::string_view bytes);
  // Makes the written bytes the target's content: flush, close and (for a regular file)
  // rename the temporary over the target.
  bool commit();
  // Abandons the written bytes; the target stays as it was.
  void discard();

  bool failed() const { return !error_.empty(); }
  // Why the last step failed; empty while nothing failed.
  const std::string& error() const { return error_; }

private:
  bool fail(const std::string& what, int errorNumber);
  bool fail(const std::string& what);
  bool openDirect(const std::string& path);
  bool openTemporary(const std::string& target, bool exists, unsigned mode, unsigned owner,
                     unsigned group);
  void closeAndRemoveTemporary();

  int fd_ = -1;
  std::uint64_t written_ = 0;      // bytes written to the temporary
  std::uint64_t writtenBack_ = 0;  // of which the system was asked to start writing to disk
  bool direct_ = false;  // writing the target itself (a character device or a pipe)
  bool committed_ = false;
  std::string target_;     // the file that is finally replaced, symbolic links resolved
  std::string temporary_;  // the temporary beside it; empty when writing directly
  int watchTicket_ = -1;   // the temporary's ticket with TemporaryCleanup
  std::string error_;
};

}  // namespace output
