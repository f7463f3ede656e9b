// The checked standard output: buffering, the first failure kept, and the exit code.
#include "StandardOutput.h"

#include "MessageCaptions.h"

#include <algorithm>

namespace cli {

namespace {

// Large enough that a report of a million rows takes few system calls.
constexpr std::size_t kBufferBytes = std::size_t{1} << 16;

}  // namespace

CheckedOutputBuffer::CheckedOutputBuffer(WriteFunction write) : write_(write) {
  buffer_.reserve(kBufferBytes);
}

bool CheckedOutputBuffer::pass(const char* bytes, std::size_t size) {
  if (error_ != 0) return false;
  if (size != 0) error_ = write_(bytes, size);
  return error_ == 0;
}

bool CheckedOutputBuffer::drain() {
  const bool written = pass(buffer_.data(), buffer_.size());
  buffer_.clear();
  return written;
}

CheckedOutputBuffer::int_type CheckedOutputBuffer::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return sync() == 0 ? 0 : traits_type::eof();
  if (error_ != 0) return traits_type::eof();
  buffer_.push_back(traits_type::to_char_type(ch));
  if (buffer_.size() >= kBufferBytes && !drain()) return traits_type::eof();
  return ch;
}

std::streamsize CheckedOutputBuffer::xsputn(const char* bytes, std::streamsize count) {
  if (error_ != 0) return 0;
  const auto size = static_cast<std::size_t>(count);
  if (buffer_.size() + size <= kBufferBytes) {
    buffer_.insert(buffer_.end(), bytes, bytes + size);
    return count;
  }
  // A large piece goes out at once, after what is waiting.
  if (!drain() || !pass(bytes, size)) return 0;
  return count;
}

int CheckedOutputBuffer::sync() { return drain() ? 0 : -1; }

int CheckedOutputBuffer::finish() {
  drain();
  return error_;
}

int checkedExitCode(int exitCode, int writeError, std::ostream& err) {
  if (writeError == 0) return exitCode;
  if (!isClosedPipe(writeError))
    err << toolkit::kFileErrorCaption << ": Die Standardausgabe kann nicht geschrieben werden.\n"
        << "Fehler beim Schreiben: " << errorText(writeError) << '\n';
  return std::max(exitCode, 1);
}

StandardOutput::StandardOutput() : buffer_(writeStandardOutput), stream_(&buffer_) {
  letClosedPipesFailWrites();
}

int StandardOutput::finish(int exitCode, std::ostream& err) {
  stream_.flush();
  return checkedExitCode(exitCode, buffer_.finish(), err);
}

}  // namespace cli
