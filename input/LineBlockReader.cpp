// Cutting the bytes of a file after the last line end of each read.
#include "LineBlockReader.h"

#include <algorithm>
#include <sys/stat.h>

LineBlockReader::LineBlockReader(std::FILE* file, std::size_t readBytes,
                                 const toolkit::ProgressHandler& onProgress)
    : file_(file), readBytes_(std::max<std::size_t>(readBytes, 1)), onProgress_(onProgress) {
  struct stat info {};
  if (::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode))
    fileSize_ = static_cast<double>(info.st_size);
}

std::size_t LineBlockReader::readInto(std::string& block) {
  // The first read is large enough to recognise UTF-16 whatever the block size.
  const std::size_t wanted =
      started_ ? readBytes_ : std::max(readBytes_, Utf16Decoder::kDetectionBytes);
  std::string& target = utf16_ ? raw_ : block;
  const std::size_t before = utf16_ ? 0 : block.size();
  target.resize(before + wanted);
  const std::size_t got = std::fread(target.data() + before, 1, wanted, file_);
  target.resize(before + got);
  if (got == 0) return 0;

  bytesRead_ += static_cast<double>(got);
  if (onProgress_ && fileSize_ > 0) onProgress_(bytesRead_ / fileSize_);
  if (!started_) {
    started_ = true;
    utf16_ = Utf16Decoder::detect(std::string_view(block).substr(before));
    if (utf16_) {
      raw_.assign(block, before + utf16_->byteOrderMarkLength());
      block.resize(before);
    }
  }
  if (utf16_) utf16_->decode(raw_, block);
  return got;
}

LineBlockReader::Result LineBlockReader::next(std::string& block) {
  block.assign(carry_);
  carry_.clear();
  for (;;) {
    if (atEnd_) return block.empty() ? Result::End : Result::Block;
    const std::size_t before = block.size();
    if (readInto(block) == 0) {
      if (std::ferror(file_)) {
        block.clear();
        return Result::ReadFailed;
      }
      atEnd_ = true;
      continue;
    }
    const std::size_t from = before;
    if (skipLineFeed_ && block.size() > before) {
      if (block[before] == '\n') block.erase(before, 1);
      skipLineFeed_ = false;
    }
    // The last line end of the new bytes; the carried bytes hold none.
    std::size_t cut = block.size();
    while (cut > from && block[cut - 1] != '\n' && block[cut - 1] != '\r') --cut;
    if (cut == from) continue;  // the line goes on in the next read
    carry_.assign(block, cut);
    block.resize(cut);
    skipLineFeed_ = block.back() == '\r' && carry_.empty();
    return Result::Block;
  }
}
