// Control pairs exchanged with the QGIS georeferencer as its .points file: both systems and
// each pair's activity in one file.
//
//   #CRS: <WKT of the map coordinates' reference system>      (newer QGIS; optional)
//   mapX,mapY,sourceX,sourceY,enable,dX,dY,residual
//   4510682.265,5431546.523,4510584.583,5431729.308,1,-0.0021,0.0034,0.004
//
// QGIS transforms the source coordinates (sourceX, sourceY; older QGIS names them pixelX,
// pixelY) onto the map coordinates (mapX, mapY). Here the source is the old system and the
// map the new one, each with x as Rechtswert and y as Hochwert:
//   sourceX = rw (old), sourceY = hw (old), mapX = RW (new), mapY = HW (new).
// enable is 1 for an active pair and 0 for one switched off. dX, dY are QGIS's residuals,
// transformed minus target, so the negated residuals v (observed minus computed) of this
// program; residual is their length. Reading ignores them, as QGIS does.
//
// The file has no point names: written pairs lose theirs, read pairs have none.
// Numbers are written with as many digits as it takes to read back the same double
// (std::to_chars, shortest, fixed notation as QGIS writes them), not with the result
// file's 11 digits: the file carries input coordinates, and a round trip must keep them.
// Fields between commas, lines end with LF, as QGIS writes them. Reading also takes CR LF,
// UTF-16, tabs between fields (the oldest QGIS files), a missing header (lines are then
// read in QGIS's column order) and "true"/"false" for enable; a missing enable is 1.
#pragma once

#include "CoordinateReader.h"
#include "PointFileFormat.h"
#include "PointList.h"
#include "ProgressHandler.h"
#include "ResultFile.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace pointfiles {

struct ControlPairs {
  PointList oldPoints;       // source coordinates
  PointList newPoints;       // map coordinates
  std::vector<bool> active;  // one per pair

  std::size_t count() const { return oldPoints.count(); }
  void clear();
};

// Residuals v (observed minus computed, in the new system, metres) of each pair; empty
// when there are none, then dX, dY and residual are written as 0.
struct PairResiduals {
  std::vector<double> rw;
  std::vector<double> hw;
};

// The header lines: "#CRS: <crsWkt>" when `crsWkt` is not empty, then the column names.
void appendQgisPointsHeader(std::string& out, std::string_view crsWkt);

// One pair's line: the pair of old point (rw, hw) and new point (RW, HW), its activity and
// its residual v (observed minus computed).
void appendQgisPointsLine(std::string& out, double oldRw, double oldHw, double newRw, double newHw,
                          bool active, double vRw, double vHw);

// Writes the first min(old, new) pairs; `active` empty: all active. Through the safe
// writer: an existing file is replaced only once the new one is complete.
output::WriteResult writeQgisPointsFile(const std::string& path, const PointList& oldPairs,
                                        const PointList& newPairs, const std::vector<bool>& active,
                                        const PairResiduals& residuals = {},
                                        std::string_view crsWkt = {},
                                        const toolkit::ProgressHandler& onProgress = {});

// Reads an open .points file to its end: `pairs` is emptied first and refilled. A line that
// holds no pair is a bad line, answered as for a coordinate file. `howRead` receives the
// format (kind QgisPoints, side Both).
ReadStatus readQgisPointsStream(std::FILE* file, ControlPairs& pairs,
                                const BadLineHandler& onBadLine,
                                PointFileFormat* howRead = nullptr);

// Opens, reads and closes the file at `path`; `pairs` is untouched when opening fails.
ReadStatus readQgisPointsFile(const std::string& path, ControlPairs& pairs,
                              const BadLineHandler& onBadLine, PointFileFormat* howRead = nullptr);

}  // namespace pointfiles
