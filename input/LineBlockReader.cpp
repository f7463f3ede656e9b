// Cutting the bytes of a file after the last line end of each read, and lines longer than
// the bound down to their first bytes.
#include "LineBlockReader.h"

#include "CoordinateLine.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <sys/stat.h>

namespace {

// Room beyond a read for the start of a line carried over from the block before, so that a
// block's storage, once allocated, fits every later read of ordinary lines as well.
constexpr std::size_t kCarriedLineRoom = 4096;

// A line of the block that is longer than the bound: [start, end), `end` at its line end or
// at the end of the block.
struct LongLine {
  std::size_t start;
  std::size_t end;
};

}  // namespace

LineBlockReader::LineBlockReader(std::FILE* file, std::size_t readBytes,
                                 const toolkit::ProgressHandler& onProgress,
                                 std::size_t maxLineBytes)
    : file_(file),
      readBytes_(std::max<std::size_t>(readBytes, 1)),
      onProgress_(onProgress),
      maxLineBytes_(std::max<std::size_t>(maxLineBytes, 1)) {
  struct stat info {};
  if (::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode))
    fileSize_ = static_cast<double>(info.st_size);
}

void LineBlock::reserve(std::size_t bytes) {
  if (bytes <= capacity_) return;
  // Growing by half at least keeps a long line that needs many reads from costing more.
  const std::size_t capacity = std::max(bytes, capacity_ + capacity_ / 2);
  std::unique_ptr<char[]> larger = std::make_unique_for_overwrite<char[]>(capacity);
  if (size_ > 0) std::memcpy(larger.get(), data_.get(), size_);
  data_ = std::move(larger);
  capacity_ = capacity;
}

void LineBlock::append(std::string_view bytes) {
  reserve(size_ + bytes.size());
  if (!bytes.empty()) std::memcpy(data_.get() + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
}

std::size_t LineBlockReader::readInto(LineBlock& block) {
  // The first read is large enough to recognise UTF-16 whatever the block size.
  const std::size_t wanted =
      started_ ? readBytes_ : std::max(readBytes_, Utf16Decoder::kDetectionBytes);
  std::size_t got = 0;
  if (utf16_) {
    raw_.resize(wanted);
    got = std::fread(raw_.data(), 1, wanted, file_);
    raw_.resize(got);
  } else {
    block.reserve(std::max(block.size_, kCarriedLineRoom) + wanted);
    got = std::fread(block.data_.get() + block.size_, 1, wanted, file_);
    block.size_ += got;
  }
  if (got == 0) return 0;

  bytesRead_ += static_cast<double>(got);
  if (onProgress_ && fileSize_ > 0) onProgress_(bytesRead_ / fileSize_);
  if (!started_) {
    started_ = true;
    utf16_ = Utf16Decoder::detect(block.text());
    if (!utf16_) return got;
    raw_.assign(block.text().substr(utf16_->byteOrderMarkLength()));
    block.size_ = 0;
  }
  decoded_.clear();
  utf16_->decode(raw_, decoded_);
  block.append(decoded_);
  return got;
}

bool LineBlockReader::skipRestOfCutLine(LineBlock& block, std::size_t from) {
  const LineEnd end = findLineEnd(block.text().substr(from));
  if (end.length == 0) {
    block.size_ = from;
    return false;
  }
  std::size_t skipped = end.at + end.length;
  // A CR at the very end may be the first half of a CR LF pair.
  if (end.length == 1 && block.data_[from + end.at] == '\r' && from + skipped == block.size_)
    skipLineFeed_ = true;
  char* const data = block.data_.get();
  std::memmove(data + from, data + from + skipped, block.size_ - from - skipped);
  block.size_ -= skipped;
  skippingCutLine_ = false;
  return true;
}

bool LineBlockReader::cutLongLines(LineBlock& block, std::size_t before) {
  // The bytes before this read hold no line end: they are the start of the first line.
  const std::string_view text = block.text();
  std::vector<LongLine> longLines;
  const LineEnd first = findLineEnd(text.substr(before));
  if (before + first.at > maxLineBytes_) longLines.push_back({0, before + first.at});
  // Every other line lies within the new bytes, so only a read longer than the bound can
  // hold a long one.
  if (text.size() - before > maxLineBytes_) {
    for (std::size_t start = before + first.at + first.length; start < text.size();) {
      const LineEnd end = findLineEnd(text.substr(start));
      if (end.at > maxLineBytes_) longLines.push_back({start, start + end.at});
      start += end.at + end.length;
    }
  }
  if (longLines.empty()) return false;

  // Each long line keeps its first bytes and its line end; what follows moves up.
  char* const data = block.data_.get();
  std::size_t written = 0;
  std::size_t readAt = 0;
  for (const LongLine& line : longLines) {
    std::memmove(data + written, data + readAt, line.start - readAt);
    written += line.start - readAt;
    block.cutLines_.push_back(written);
    const std::size_t kept = std::min({kCutLineKeptBytes, maxLineBytes_, line.end - line.start});
    std::memmove(data + written, data + line.start, kept);
    written += kept;
    readAt = line.end;
  }
  std::memmove(data + written, data + readAt, block.size_ - readAt);
  const bool lastLineCut = longLines.back().end == block.size_;
  block.size_ = written + (block.size_ - readAt);
  return lastLineCut;
}

LineBlockReader::Result LineBlockReader::next(LineBlock& block) {
  block.size_ = 0;
  block.startsFile_ = !started_;
  block.cutLines_.clear();
  block.append(carry_);
  carry_.clear();
  for (;;) {
    if (atEnd_) return block.size_ == 0 ? Result::End : Result::Block;
    const std::size_t before = block.size_;
    if (readInto(block) == 0) {
      if (std::ferror(file_)) {
        block.size_ = 0;
        block.cutLines_.clear();
        return Result::ReadFailed;
      }
      atEnd_ = true;
      continue;
    }
    char* const data = block.data_.get();
    if (skipLineFeed_ && block.size_ > before) {
      if (data[before] == '\n') {
        std::memmove(data + before, data + before + 1, block.size_ - before - 1);
        --block.size_;
      }
      skipLineFeed_ = false;
    }
    // A cut line's rest is skipped one read at a time, so that a file that never ends a
    // line (/dev/zero) still hands out blocks and the caller can report and stop.
    if (skippingCutLine_ && !skipRestOfCutLine(block, before)) return Result::Block;
    if (cutLongLines(block, before)) {
      skippingCutLine_ = true;
      return Result::Block;
    }
    // The last line end: the bytes before this read hold none, and a cut line (complete
    // here) keeps its own.
    std::size_t cut = block.size_;
    const std::size_t lowest = block.cutLines_.empty() ? before : block.cutLines_.back();
    while (cut > lowest && data[cut - 1] != '\n' && data[cut - 1] != '\r') --cut;
    if (cut == lowest) continue;  // the line goes on in the next read
    carry_.assign(data + cut, block.size_ - cut);
    block.size_ = cut;
    skipLineFeed_ = data[cut - 1] == '\r' && carry_.empty();
    return Result::Block;
  }
}
