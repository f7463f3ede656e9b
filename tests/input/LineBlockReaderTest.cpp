// The block reader against a plain model of lines: the whole text split at LF, CR LF and
// lone CR, every line longer than the bound cut to its first bytes. With a small bound
// and every read size from one byte up, each line end and each bound edge falls on a read
// boundary somewhere. Also: no block ever holds more than the bound plus one read.
#include "LineBlockReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBound = 40;  // above kCutLineKeptBytes, so cut lines get shorter

struct Line {
  std::string text;
  bool cut = false;
  bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
  return out << (line.cut ? "cut:" : "") << '"' << line.text << '"';
}

// The lines as the file format defines them, written without the reader's code.
std::vector<Line> modelLines(const std::string& text, std::size_t bound) {
  std::vector<Line> lines;
  std::string current;
  auto finish = [&] {
    if (current.size() > bound)
      lines.push_back({current.substr(0, std::min(kCutLineKeptBytes, bound)), true});
    else
      lines.push_back({current, false});
    current.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      finish();
    } else if (text[i] == '\r') {
      finish();
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += text[i];
    }
  }
  if (!current.empty()) finish();
  return lines;
}

struct ReaderRun {
  std::vector<Line> lines;
  std::size_t largestBlock = 0;
  int blocks = 0;
};

ReaderRun readLines(const std::string& text, std::size_t readBytes, std::size_t bound) {
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  if (file == nullptr) return {};
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  ReaderRun run;
  LineBlockReader reader(file, readBytes, {}, bound);
  LineBlock block;
  while (reader.next(block) == LineBlockReader::Result::Block) {
    const std::string_view blockText = block.text();
    run.largestBlock = std::max(run.largestBlock, blockText.size());
    ++run.blocks;
    std::size_t nextCut = 0;
    forEachLine(blockText, [&](std::string_view line) {
      const auto at = static_cast<std::size_t>(line.data() - blockText.data());
      const bool cut = nextCut < block.cutLines().size() && block.cutLines()[nextCut] == at;
      nextCut += cut;
      run.lines.push_back({std::string(line), cut});
      return true;
    });
    EXPECT_EQ(nextCut, block.cutLines().size()) << "a cut offset that starts no line";
  }
  std::fclose(file);
  return run;
}

std::string repeated(char c, std::size_t count) { return std::string(count, c); }

const struct {
  const char* label;
  std::string text;
} kTexts[] = {
    {"short lines, all line ends", "a\nbb\r\nccc\rdd\r\n\r\n\n e"},
    {"exactly the bound, LF", repeated('x', kBound) + "\ny\n"},
    {"exactly the bound, CR LF", repeated('x', kBound) + "\r\ny"},
    {"exactly the bound, lone CR, no end after", "a\r" + repeated('x', kBound) + "\r"},
    {"one over the bound, CR LF", repeated('x', kBound + 1) + "\r\nnext\r\n"},
    {"long line in the middle", "a\n" + repeated('x', 1000) + "\r\nb\n"},
    {"long line at the end without line end", "a\n" + repeated('x', 500)},
    {"long line ending in a lone CR", "a\r" + repeated('z', 100) + "\rb\r"},
    {"long line ending in CR LF CR LF", repeated('z', 100) + "\r\n\r\nc"},
    {"one endless line", repeated('x', 5000)},
    {"two long lines in a row", repeated('p', 100) + "\n" + repeated('q', 100) + "\n"},
    {"long line of blanks", repeated(' ', 100) + "\nP 1 2\n"},
    {"many long lines within one read", [] {
       std::string text;
       for (int i = 0; i < 30; ++i) text += repeated(static_cast<char>('a' + i % 26), 41 + i) + "\n";
       return text;
     }()},
};

constexpr std::size_t kReadSizes[] = {1, 2, 3, 7, 39, 40, 41, 64, 100, 1000, 100000};

// (A bound below kCutLineKeptBytes keeps no more than the bound.)
TEST(LineBlockReader, LinesAsTheFormatDefinesThemLongOnesCut) {
  for (const std::size_t bound : {kBound, std::size_t{8}})
    for (const auto& text : kTexts)
      for (const std::size_t readBytes : kReadSizes) {
        const ReaderRun run = readLines(text.text, readBytes, bound);
        EXPECT_EQ(run.lines, modelLines(text.text, bound))
            << text.label << ", bound " << bound << ", reads of " << readBytes;
      }
}

// Random mixes of line ends and runs of every length around the bound, with a fixed seed.
TEST(LineBlockReader, RandomTextsMatchTheModel) {
  std::uint32_t state = 12345;
  auto random = [&](std::uint32_t below) {
    state = state * 1103515245u + 12345u;
    return (state >> 8) % below;
  };
  const std::string pieces[] = {"\n", "\r", "\r\n", " ", "\r\r\n"};
  for (int round = 0; round < 200; ++round) {
    std::string text;
    for (std::uint32_t piece = random(12); piece > 0; --piece) {
      text += repeated('x', random(3) == 0 ? kBound - 2 + random(5) : random(90));
      text += pieces[random(5)];
    }
    for (const std::size_t readBytes : {std::size_t{1}, std::size_t{5}, std::size_t{41}, std::size_t{97}}) {
      const ReaderRun run = readLines(text, readBytes, kBound);
      ASSERT_EQ(run.lines, modelLines(text, kBound)) << "round " << round << ", reads of " << readBytes;
    }
  }
}

// Guards against a line without end growing the block without limit (/dev/zero): a block
// holds at most the start of one line within the bound and one read, and while the rest of
// a cut line is skipped, every read still hands out a block, so that the caller can report
// the line and stop.
TEST(LineBlockReader, BlocksStayWithinTheBoundAndOneRead) {
  for (const auto& text : kTexts)
    for (const std::size_t readBytes : kReadSizes) {
      const ReaderRun run = readLines(text.text, readBytes, kBound);
      EXPECT_LE(run.largestBlock, kBound + std::max(readBytes, Utf16Decoder::kDetectionBytes))
          << text.label << ", reads of " << readBytes;
    }
  constexpr std::size_t kRead = std::size_t{1} << 16;
  const ReaderRun endless = readLines(repeated('\0', 8 * kMaxLineBytes), kRead, kMaxLineBytes);
  EXPECT_EQ(endless.lines, (std::vector<Line>{{repeated('\0', kCutLineKeptBytes), true}}));
  EXPECT_LE(endless.largestBlock, kMaxLineBytes + kRead);
  EXPECT_GE(endless.blocks, static_cast<int>(7 * kMaxLineBytes / kRead));
}

// Guards against storage that moves at the second block, when the start of a line is carried
// over in front of a full read: every move is fresh memory, and a fresh page costs a fault.
TEST(LineBlockReader, StorageOnceAllocatedHoldsEveryReadOfOrdinaryLines) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "P" + std::to_string(i) + " 3450000.1234 5750000.5678\r\n";
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  LineBlockReader reader(file, 4096);
  LineBlock block;
  ASSERT_EQ(reader.next(block), LineBlockReader::Result::Block);
  const char* const storage = block.text().data();
  int blocks = 1;
  for (; reader.next(block) == LineBlockReader::Result::Block; ++blocks)
    EXPECT_EQ(block.text().data(), storage) << "block " << blocks;
  EXPECT_GT(blocks, 10);
  std::fclose(file);
}

}  // namespace
