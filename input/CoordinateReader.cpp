// Reads coordinate files block by block (LineBlockReader), splits the blocks into lines and
// the lines into points (BlockLines), and collects the points in a PointList.
#include "CoordinateReader.h"

#include "BlockLines.h"
#include "FileOpening.h"
#include "LineBlockReader.h"

#include <cstdio>
#include <string_view>

namespace {

constexpr std::size_t kBlockSize = 1 << 20;

// Turns lines into points and keeps the line count.
class LineParser {
public:
  LineParser(PointList& points, const BadLineHandler& onBadLine)
      : points_(points), onBadLine_(onBadLine) {}

  long long lineCount() const { return lineNumber_; }

  // Makes room for about `points` points at once, so that a large file does not make the
  // lists grow step by step (each step briefly holds the old and the new storage).
  void reserve(std::size_t points) {
    points_.rw.reserve(points);
    points_.hw.reserve(points);
    if (!points_.names.empty()) points_.names.reserve(points);
  }

  // Takes the next line; false when the user stops reading.
  bool take(const CoordinateLine& parsed) {
    ++lineNumber_;
    switch (parsed.kind) {
      case LineKind::Blank:
        return true;
      case LineKind::NamedPoint:
        appendNamed(parsed.name, parsed.rw, parsed.hw);
        return true;
      case LineKind::UnnamedPoint:
        appendUnnamed(parsed.rw, parsed.hw);
        return true;
      case LineKind::Bad:
        break;
    }
    return reportBadLine(parsed.firstShown, parsed.secondShown);
  }

private:
  // Once a point carries a name, every point has a name entry (empty for unnamed ones),
  // so that names stay aligned with the coordinates.
  void appendNamed(std::string_view name, double rw, double hw) {
    if (points_.names.size() < points_.rw.size()) points_.names.resize(points_.rw.size());
    points_.names.emplace_back(name);
    points_.rw.push_back(rw);
    points_.hw.push_back(hw);
  }

  void appendUnnamed(double rw, double hw) {
    if (!points_.names.empty()) points_.names.emplace_back();
    points_.rw.push_back(rw);
    points_.hw.push_back(hw);
  }

  bool reportBadLine(std::string_view first, std::string_view second) {
    BadLine bad;
    bad.lineNumber = lineNumber_;
    bad.firstShown = first;
    bad.secondShown = second;
    return onBadLine_(bad) == BadLineAnswer::Continue;
  }

  PointList& points_;
  const BadLineHandler& onBadLine_;
  long long lineNumber_ = 0;
};

}  // namespace

std::FILE* openCoordinateFile(const std::string& path) { return input::openForReading(path); }

ReadStatus readCoordinateStream(std::FILE* file, PointList& points,
                                const BadLineHandler& onBadLine,
                                const toolkit::ProgressHandler& onProgress) {
  points.clear();
  LineParser parser(points, onBadLine);
  LineBlockReader reader(file, kBlockSize, onProgress);
  LineBlock block;
  for (bool first = true;; first = false) {
    switch (reader.next(block)) {
      case LineBlockReader::Result::Block:
        break;
      case LineBlockReader::Result::End:
        return ReadStatus::Complete;
      case LineBlockReader::Result::ReadFailed:
        return ReadStatus::ReadFailed;
    }
    if (!forEachCoordinateLine(block, [&](const CoordinateLine& line) { return parser.take(line); }))
      return ReadStatus::StoppedByUser;
    if (first && reader.fileSize() > reader.bytesRead() && parser.lineCount() > 0) {
      // Estimate the point count from the first block's line length.
      const double estimate =
          reader.fileSize() / reader.bytesRead() * static_cast<double>(parser.lineCount());
      parser.reserve(static_cast<std::size_t>(estimate * 1.02) + 16);
    }
  }
}

ReadStatus readCoordinateFile(const std::string& path, PointList& points,
                              const BadLineHandler& onBadLine) {
  std::FILE* file = nullptr;
  const OpenCoordinateFile open(file, path);
  if (!open) return ReadStatus::OpenFailed;
  return readCoordinateStream(file, points, onBadLine);
}
