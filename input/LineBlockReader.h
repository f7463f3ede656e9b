// Reads an open coordinate file in blocks that hold whole lines only, so that every block
// can be split into lines on its own (also by another thread). A line that does not fit
// into one read is carried over into the next block; a UTF-16 file is handed out as UTF-8.
// A line longer than kMaxLineBytes is not carried along: the block keeps its first bytes
// and marks it as cut, and the rest of it is skipped, so memory stays at a block or two
// whatever the file holds (a file without line ends, /dev/zero).
#pragma once

#include "CoordinateLine.h"
#include "ProgressHandler.h"
#include "Utf16Decoder.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The bytes of one block. Its storage is kept from block to block and never zero-filled,
// so a read costs no more than the bytes it brings.
class LineBlock {
public:
  std::string_view text() const { return {data_.get(), size_}; }
  // The block's first line is the file's first line.
  bool startsFile() const { return startsFile_; }
  // Offsets in text() where a line starts that was longer than the reader's bound; of such a
  // line only its first bytes are in text() (followed by its line end, if it has one there).
  const std::vector<std::size_t>& cutLines() const { return cutLines_; }

private:
  friend class LineBlockReader;
  // Room for at least `bytes` in all; the bytes held so far are kept.
  void reserve(std::size_t bytes);
  void append(std::string_view bytes);

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  bool startsFile_ = false;
  std::vector<std::size_t> cutLines_;
};

class LineBlockReader {
public:
  // Reads `file` (not closed here) in reads of about `readBytes` bytes. `onProgress`, when
  // given, hears after each read how much of a regular file has been read. Lines longer
  // than `maxLineBytes` are cut (a bound other than kMaxLineBytes is for tests).
  LineBlockReader(std::FILE* file, std::size_t readBytes,
                  const toolkit::ProgressHandler& onProgress = {},
                  std::size_t maxLineBytes = kMaxLineBytes);

  enum class Result {
    Block,      // `block` holds the next lines (none while the rest of a cut line is skipped)
    End,        // the file is read; `block` is empty
    ReadFailed  // a read error; the start of a line read before it is dropped
  };

  // Fills `block` (its storage is reused) with the next lines, each with its line end,
  // except that the file's last line may have none, and so may a cut line at the block's
  // end. A CR LF pair is never split between two blocks.
  Result next(LineBlock& block);

  double fileSize() const { return fileSize_; }  // 0 when not a regular file
  double bytesRead() const { return bytesRead_; }

private:
  // Appends the next read to `block`; returns the bytes read from the file (0 at the end or
  // on an error).
  std::size_t readInto(LineBlock& block);
  // Drops the bytes of a cut line's rest from the start of the bytes at `from` up to and
  // including its line end; false when the line goes on beyond them.
  bool skipRestOfCutLine(LineBlock& block, std::size_t from);
  // Cuts every line of `block` longer than the bound, where the bytes from `before` on are
  // the new read; true when its last line, which has no line end yet, was cut.
  bool cutLongLines(LineBlock& block, std::size_t before);

  std::FILE* file_;
  std::size_t readBytes_;
  toolkit::ProgressHandler onProgress_;
  std::size_t maxLineBytes_;
  double fileSize_ = 0;
  double bytesRead_ = 0;
  bool started_ = false;
  bool atEnd_ = false;
  std::optional<Utf16Decoder> utf16_;
  std::string raw_;            // a read of a UTF-16 file, before decoding
  std::string decoded_;        // and after
  std::string carry_;          // the start of a line that continues in the next block
  bool skipLineFeed_ = false;  // the last block ended with CR; a LF after it is its pair
  bool skippingCutLine_ = false;  // the rest of a cut line is being skipped
};
