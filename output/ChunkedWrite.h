// Writing a file of many lines through the safe writer in pieces of about a megabyte, so
// that a large file needs little memory and the progress window hears how far it got: the
// result file and the files of pointfiles/ (CSV, QGIS .points).
#pragma once

#include "ProgressHandler.h"
#include "ResultFile.h"  // infiniteResultReason
#include "SafeFileWriter.h"

#include <cstddef>
#include <string>

namespace output {

// Writes `head`, then `appendItem(out, i)` for i = 0 .. count - 1, to `path`. An existing
// file is replaced only once everything has been written. `appendItem` returns false for an
// item that cannot be written (a transformed coordinate beyond the range of double): then
// nothing is written, and the outcome names item i + 1.
template <typename AppendItem>
WriteResult writeInChunks(const std::string& path, const std::string& head, std::size_t count,
                          AppendItem&& appendItem, const toolkit::ProgressHandler& onProgress) {
  constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
  SafeFileWriter writer;
  if (!writer.open(path)) return {false, writer.error()};
  std::string chunk = head;
  chunk.reserve(kChunkBytes + 1024);
  for (std::size_t i = 0; i < count; ++i) {
    if (!appendItem(chunk, i)) return {false, infiniteResultReason("Punkt " + std::to_string(i + 1))};
    if (chunk.size() >= kChunkBytes) {
      if (!writer.write(chunk)) return {false, writer.error()};
      chunk.clear();
      if (onProgress) onProgress(static_cast<double>(i + 1) / static_cast<double>(count));
    }
  }
  if (!chunk.empty() && !writer.write(chunk)) return {false, writer.error()};
  if (!writer.commit()) return {false, writer.error()};
  return {};
}

}  // namespace output
