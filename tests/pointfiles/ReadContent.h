// Reading bytes written by a test as a point file, with every bad line kept.
#pragma once

#include "CoordinateReader.h"
#include "TestFiles.h"

#include <string>
#include <vector>

namespace pointfiles_test {

struct ReadRecord {
  ReadStatus status = ReadStatus::Complete;
  PointList points;
  std::vector<BadLine> badLines;
  pointfiles::PointFileFormat format;
};

// Reads `content` through readCoordinateFile; every bad line is answered with Continue.
// (One folder serves every read of the test program: thousands of folders made and removed
// would cost more than the reading, on Windows above all.)
inline ReadRecord readContent(const std::string& content,
                              const pointfiles::FormatRequest& request = {}) {
  static const testsupport::TempDir dir;
  const std::string path = dir.file("punkte.txt");
  testsupport::writeFile(path, content);
  ReadRecord record;
  record.status = readCoordinateFile(
      path, record.points,
      [&](const BadLine& bad) {
        record.badLines.push_back(bad);
        return BadLineAnswer::Continue;
      },
      request, &record.format);
  return record;
}

// The same file read as the coordinate list always read it.
inline ReadRecord readAsCoordinateList(const std::string& content) {
  pointfiles::FormatRequest request;
  request.asCoordinateList = true;
  return readContent(content, request);
}

}  // namespace pointfiles_test
