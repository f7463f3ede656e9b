// Escapes tramis-cli's text streams on their way to the terminal.
#include "TerminalStream.h"

#include "TerminalText.h"

#include <string_view>

namespace cli {

namespace {

// Waiting text is passed on once it is this long, so that memory stays small however long
// the protocol is.
constexpr std::size_t kPieceBytes = 64 * 1024;

}  // namespace

TerminalStreamBuffer::~TerminalStreamBuffer() {
  if (pass(true)) target_->pubsync();
}

bool TerminalStreamBuffer::pass(bool final) {
  if (failed_) return false;
  const std::size_t keep = final ? 0 : toolkit::Utf8CutTail(pending_);
  const std::string escaped = toolkit::TerminalText(std::string_view(pending_).substr(0, pending_.size() - keep));
  pending_.erase(0, pending_.size() - keep);
  const auto size = static_cast<std::streamsize>(escaped.size());
  failed_ = target_->sputn(escaped.data(), size) != size;
  return !failed_;
}

TerminalStreamBuffer::int_type TerminalStreamBuffer::overflow(int_type ch) {
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  if (failed_) return traits_type::eof();
  pending_.push_back(traits_type::to_char_type(ch));
  if (pending_.size() >= kPieceBytes && !pass(false)) return traits_type::eof();
  return ch;
}

std::streamsize TerminalStreamBuffer::xsputn(const char* text, std::streamsize count) {
  if (failed_) return 0;
  pending_.append(text, static_cast<std::size_t>(count));
  if (pending_.size() >= kPieceBytes && !pass(false)) return 0;
  return count;
}

int TerminalStreamBuffer::sync() {
  if (!pass(false)) return -1;
  return target_->pubsync() == -1 ? -1 : 0;
}

TerminalStream::TerminalStream(std::ostream& target) : std::ostream(nullptr), buffer_(target.rdbuf()) {
  rdbuf(&buffer_);
  if (target.flags() & std::ios::unitbuf) setf(std::ios::unitbuf);
}

TerminalStream::~TerminalStream() {
  tie(nullptr);  // the stream it is tied to may be gone already
  flush();
}

}  // namespace cli
