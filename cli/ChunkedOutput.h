// Collects text in a buffer and hands it to a stream in large pieces, so that reports of a
// million rows neither pay for a stream call per number nor hold the whole text in memory.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace cli {

class ChunkedOutput {
public:
  explicit ChunkedOutput(std::ostream& out) : out_(out) { buffer_.reserve(kChunkBytes + 4096); }
  ~ChunkedOutput() { flush(); }
  ChunkedOutput(const ChunkedOutput&) = delete;
  ChunkedOutput& operator=(const ChunkedOutput&) = delete;

  ChunkedOutput& operator<<(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= kChunkBytes) flush();
    return *this;
  }
  ChunkedOutput& operator<<(char c) {
    buffer_.push_back(c);
    return *this;
  }

  void flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

private:
  static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
  std::ostream& out_;
  std::string buffer_;
};

}  // namespace cli
