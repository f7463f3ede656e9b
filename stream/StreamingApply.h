// Applying known parameters to a coordinate file of any size: the file is read in blocks,
// the blocks are parsed, transformed and formatted by worker threads, and the result lines
// are written in file order through the safe writer. Memory stays at a few blocks, and the
// result file holds the same bytes as writeResultFile writes for the whole file read at once.
#pragma once

#include "CoordinateReader.h"
#include "ResultFile.h"

#include <Keltransformation.h>

#include <cstddef>
#include <string>

namespace stream {

struct StreamSettings {
  std::size_t readBytes = std::size_t{1} << 20;  // bytes per read of the input file
  unsigned workerThreads;                         // 0: all work in the calling thread
  StreamSettings();                               // the machine's own thread count
};

struct ApplyResult {
  ReadStatus read = ReadStatus::Complete;  // as readCoordinateFile reports it
  std::size_t points = 0;                  // points read (up to a stop or read error)
  std::size_t badLines = 0;                // bad lines reported
  // Whether the result file was written; also ok when none was asked for. A failure to
  // write does not end reading, so bad lines and counts are those of the whole file.
  output::WriteResult written;
  bool fileWritten = false;  // the result file now holds the result

  // A file with lines but not one point among them (the wrong file, a binary one) is no
  // input: nothing is written for it. A file without any line but blank ones is empty and
  // gives an empty result.
  bool noPointRead() const { return points == 0 && badLines != 0; }
};

// Reads the old-system file at `inputPath` and, unless `resultPath` is empty, writes the
// result file there. `onBadLine` hears of every bad line in file order, with the file's own
// line numbers, in the calling thread; Stop ends reading and nothing is written. Without
// a complete read, or when it read no point (noPointRead), the result file is not written
// and an existing one stays as it was.
ApplyResult applyToFile(const std::string& inputPath, const std::string& resultPath,
                        const kel::TKEL_Vovezorevarovaduvorir& solver,
                        const BadLineHandler& onBadLine, const StreamSettings& settings = {});

}  // namespace stream
