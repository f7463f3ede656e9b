// Standard output of tramis-cli: the protocol, --json, --proj and --help all go through
// one stream whose buffer remembers the first write that failed, and the run's exit code
// is decided only after the last write has been flushed. So a full disk, /dev/full or a
// file size limit cannot pass as success with a report cut off mid-token.
//
// A reader at the other end of a pipe that stops reading (`tramis-cli ... | head`) is not
// an error worth a message: the writes fail with EPIPE (SIGPIPE is ignored, so that the
// process never dies in the middle of writing a result file, leaving its temporary), and
// the run ends quietly with exit code 1. Every other failure is a German message on
// standard error and exit code 1.
#pragma once

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace cli {

// Writes `size` bytes to the process's standard output, all of them or none; returns 0,
// or the error number (errno) of the failure. One implementation per system.
int writeStandardOutput(const char* bytes, std::size_t size);
// Makes a write to a pipe without reader fail with EPIPE instead of ending the process
// (POSIX: SIGPIPE ignored; Windows has no such signal).
void letClosedPipesFailWrites();
// Whether `errorNumber` says that the reader of a pipe has gone.
bool isClosedPipe(int errorNumber);
// The system's text for `errorNumber`.
std::string errorText(int errorNumber);

// A stream buffer that hands its bytes to a write function in pieces and keeps the error
// number of the first failed write; after a failure it writes nothing more.
class CheckedOutputBuffer : public std::streambuf {
public:
  using WriteFunction = int (*)(const char* bytes, std::size_t size);
  explicit CheckedOutputBuffer(WriteFunction write);

  // Writes what is buffered; returns the error number of the first failed write, 0 if
  // every write succeeded.
  int finish();

protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* bytes, std::streamsize count) override;
  int sync() override;

private:
  bool pass(const char* bytes, std::size_t size);
  bool drain();

  WriteFunction write_;
  std::vector<char> buffer_;
  int error_ = 0;
};

// The exit code of a run whose report went to a checked output: `exitCode` when every
// byte was written; else 1, after the German message on `err` unless a pipe's reader went
// away.
int checkedExitCode(int exitCode, int writeError, std::ostream& err);

// The process's standard output as a checked stream.
class StandardOutput {
public:
  StandardOutput();
  std::ostream& stream() { return stream_; }
  // Flushes and gives the run's exit code (checkedExitCode); messages go to `err`.
  int finish(int exitCode, std::ostream& err);

private:
  CheckedOutputBuffer buffer_;
  std::ostream stream_;
};

}  // namespace cli
