// Fuzz target for the block reader's cutting: the first byte chooses the longest line
// allowed (1 to 64 bytes), the second the read size (1 to 256 bytes), the rest is the file.
// The lines handed out must be the file's lines, split at LF, CR LF and lone CR, each line
// longer than the bound cut to its first bytes and marked; no block may hold more than the
// bound and one read.
#include "LineBlockReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "line block reader: %s\n", what);
  std::abort();
}

struct Line {
  std::string text;
  bool cut;
  bool operator==(const Line&) const = default;
};

// The lines of `text` by the file format, without the reader.
std::vector<Line> modelLines(std::string_view text, std::size_t bound) {
  std::vector<Line> lines;
  std::string current;
  auto finish = [&] {
    const bool cut = current.size() > bound;
    lines.push_back({cut ? current.substr(0, std::min(kCutLineKeptBytes, bound)) : current, cut});
    current.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') {
      finish();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += text[i];
    }
  }
  if (!current.empty()) finish();
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t bound = data[0] % 64 + 1;
  const std::size_t readBytes = data[1] + std::size_t{1};
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  // The reader would take a file of zero bytes with a UTF-16 look for UTF-16; the model
  // knows single bytes only.
  if (Utf16Decoder::detect(text.substr(0, Utf16Decoder::kDetectionBytes))) return 0;

  static char emptyBuffer[1];
  void* buffer = text.empty() ? static_cast<void*>(emptyBuffer) : const_cast<char*>(text.data());
  std::FILE* file = fmemopen(buffer, text.size(), "rb");
  if (file == nullptr) fail("fmemopen failed");
  LineBlockReader reader(file, readBytes, {}, bound);
  LineBlock block;
  std::vector<Line> lines;
  LineBlockReader::Result result;
  while ((result = reader.next(block)) == LineBlockReader::Result::Block) {
    const std::string_view blockText = block.text();
    if (blockText.size() > bound + std::max(readBytes, Utf16Decoder::kDetectionBytes))
      fail("a block holds more than the bound and one read");
    std::size_t nextCut = 0;
    forEachLine(blockText, [&](std::string_view line) {
      const auto at = static_cast<std::size_t>(line.data() - blockText.data());
      const bool cut = nextCut < block.cutLines().size() && block.cutLines()[nextCut] == at;
      nextCut += cut;
      lines.push_back({std::string(line), cut});
      return true;
    });
    if (nextCut != block.cutLines().size()) fail("a cut offset that starts no line");
  }
  std::fclose(file);
  if (result != LineBlockReader::Result::End) fail("a memory stream cannot fail");
  if (lines != modelLines(text, bound)) fail("lines differ from the file's lines");
  return 0;
}
