// Cutting the bytes of a file after the last line end of each read.
#include "LineBlockReader.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <sys/stat.h>

LineBlockReader::LineBlockReader(std::FILE* file, std::size_t readBytes,
                                 const toolkit::ProgressHandler& onProgress)
    : file_(file), readBytes_(std::max<std::size_t>(readBytes, 1)), onProgress_(onProgress) {
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
    block.reserve(block.size_ + wanted);
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

LineBlockReader::Result LineBlockReader::next(LineBlock& block) {
  block.size_ = 0;
  block.append(carry_);
  carry_.clear();
  for (;;) {
    if (atEnd_) return block.size_ == 0 ? Result::End : Result::Block;
    const std::size_t before = block.size_;
    if (readInto(block) == 0) {
      if (std::ferror(file_)) {
        block.size_ = 0;
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
    // The last line end of the new bytes; the carried bytes hold none.
    std::size_t cut = block.size_;
    while (cut > before && data[cut - 1] != '\n' && data[cut - 1] != '\r') --cut;
    if (cut == before) continue;  // the line goes on in the next read
    carry_.assign(data + cut, block.size_ - cut);
    block.size_ = cut;
    skipLineFeed_ = data[cut - 1] == '\r' && carry_.empty();
    return Result::Block;
  }
}
