// The text streams of tramis-cli, made safe for a terminal: the protocol on standard output
// and every message on standard error pass through TerminalText, so that a point name, a
// bad token or a path with control characters shows them as `\x1b` escapes instead of
// acting on the terminal; whether the stream is a terminal or redirected makes no
// difference. JSON on standard output keeps its own escaping and does not pass through.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace cli {

// A stream buffer that escapes what is written (TerminalText) and hands it to `target`.
// Text is passed on when flushed and in pieces of some kilobytes; a UTF-8 sequence cut by
// a piece's end waits for the rest. A failure of the target is reported as the buffer's
// own (sync returns -1, writing stops), so the stream over it sees it.
class TerminalStreamBuffer : public std::streambuf {
public:
  explicit TerminalStreamBuffer(std::streambuf* target) : target_(target) {}
  ~TerminalStreamBuffer() override;

protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

private:
  // Escapes and writes what is waiting, all of it when `final`, else up to a cut sequence.
  bool pass(bool final);

  std::streambuf* target_;
  std::string pending_;
  bool failed_ = false;
};

// An output stream over `target`'s buffer through a TerminalStreamBuffer; unit-buffered
// when `target` is (as standard error is). Flushed when it goes out of scope.
class TerminalStream : public std::ostream {
public:
  explicit TerminalStream(std::ostream& target);
  ~TerminalStream() override;

private:
  TerminalStreamBuffer buffer_;
};

}  // namespace cli
