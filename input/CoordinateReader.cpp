// Reads coordinate files block by block (LineBlockReader), splits the blocks into lines and
// the lines into points (BlockLines, or PointLineParser for the formats recognised from the
// first block), and collects the points in a PointList.
#include "CoordinateReader.h"

#include "BlockLines.h"
#include "FileOpening.h"
#include "LineBlockReader.h"
#include "PointLineParser.h"

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

constexpr std::size_t kBlockSize = 1 << 20;

// Turns lines into points and keeps the line count.
class LineParser {
public:
  LineParser(PointList& points, const BadLineHandler& onBadLine)
      : points_(points), onBadLine_(onBadLine) {}

  long long lineCount() const { return lineNumber_; }

  // The lines from here on are read in `format`; without a call, as the coordinate list.
  void useFormat(const pointfiles::PointFileFormat& format) {
    if (format.kind != pointfiles::FileKind::CoordinateList) otherFormat_.emplace(format);
  }

  // Makes room for about `points` points at once, so that a large file does not make the
  // lists grow step by step (each step briefly holds the old and the new storage).
  void reserve(std::size_t points) {
    points_.rw.reserve(points);
    points_.hw.reserve(points);
    if (!points_.names.empty()) points_.names.reserve(points);
    if (!points_.heights.empty()) points_.heights.reserve(points);
    if (!points_.codes.empty()) points_.codes.reserve(points);
  }

  bool readsOtherFormat() const { return otherFormat_.has_value(); }

  // Takes the next line of a coordinate list; false when the user stops reading.
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

  // Takes the next line of the recognised format. A line cut at the length bound is a bad
  // line in every format: what was kept of it is no line of the file.
  bool takeInOtherFormat(std::string_view line, bool cut, bool firstLineOfFile) {
    ++lineNumber_;
    if (cut) {
      const CoordinateLine start = parseCutLine(line, firstLineOfFile);
      return reportBadLine(start.firstShown, start.secondShown);
    }
    return parseInOtherFormat(line);
  }

private:
  bool parseInOtherFormat(std::string_view line) {
    const pointfiles::PointLine parsed = otherFormat_->parse(line, lineNumber_);
    switch (parsed.kind) {
      case LineKind::Blank:
        return true;
      case LineKind::NamedPoint:
        appendNamed(parsed.name, parsed.rw, parsed.hw);
        break;
      case LineKind::UnnamedPoint:
        appendUnnamed(parsed.rw, parsed.hw);
        break;
      case LineKind::Bad:
        return reportBadLine(parsed.firstShown, parsed.secondShown);
    }
    if (otherFormat_->hasHeights()) points_.heights.push_back(parsed.height);
    if (otherFormat_->hasCodes()) points_.codes.emplace_back(parsed.code);
    return true;
  }

  // Once a point carries a name, every point has a name entry (empty for unnamed ones),
  // so that names stay aligned with the coordinates. (Both appends are inlined into both
  // line paths: called from two places, the compiler would no longer inline them, and the
  // coordinate list's loop would grow by a call per line.)
  [[gnu::always_inline]] void appendNamed(std::string_view name, double rw, double hw) {
    if (points_.names.size() < points_.rw.size()) points_.names.resize(points_.rw.size());
    points_.names.emplace_back(name);
    points_.rw.push_back(rw);
    points_.hw.push_back(hw);
  }

  [[gnu::always_inline]] void appendUnnamed(double rw, double hw) {
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
  std::optional<pointfiles::PointLineParser> otherFormat_;  // none: the coordinate list
};

}  // namespace

std::FILE* openCoordinateFile(const std::string& path) { return input::openForReading(path); }

ReadStatus readCoordinateStream(std::FILE* file, PointList& points,
                                const BadLineHandler& onBadLine,
                                const toolkit::ProgressHandler& onProgress,
                                const pointfiles::FormatRequest& request,
                                pointfiles::PointFileFormat* howRead) {
  points.clear();
  LineParser parser(points, onBadLine);
  // The format is decided once, from the first block (whole lines of at least a read).
  const auto decideFormat = [&](std::string_view start) {
    const pointfiles::PointFileFormat format = pointfiles::choosePointFileFormat(start, request);
    parser.useFormat(format);
    if (howRead) *howRead = format;
  };
  decideFormat({});  // stands when no block comes
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
    if (first) decideFormat(block.text());
    const bool read = parser.readsOtherFormat()
        ? forEachBlockLine(block, [&](std::string_view line, bool cut, bool firstLineOfFile) {
            return parser.takeInOtherFormat(line, cut, firstLineOfFile);
          })
        : forEachCoordinateLine(block, [&](const CoordinateLine& line) { return parser.take(line); });
    if (!read)
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
                              const BadLineHandler& onBadLine,
                              const pointfiles::FormatRequest& request,
                              pointfiles::PointFileFormat* howRead) {
  std::FILE* file = nullptr;
  const OpenCoordinateFile open(file, path);
  if (!open) return ReadStatus::OpenFailed;
  return readCoordinateStream(file, points, onBadLine, {}, request, howRead);
}
