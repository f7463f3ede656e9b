// Applying known parameters to a coordinate file of any size: the file is read in blocks,
// the blocks are parsed, transformed and formatted by worker threads, and the result lines
// are written in file order through the safe writer. Memory stays at a few blocks, and the
// result file holds the same bytes as writeResultFile writes for the whole file read at once.
#pragma once

#include "CoordinateReader.h"
#include "PointTransform.h"
#include "ResultFile.h"

#include <Keltransformation.h>

#include <cstddef>
#include <string>

namespace stream {

struct StreamSettings {
  // Bytes per read of the input file. A quarter MiB keeps the few blocks in flight small, so
  // that little memory is touched for the first time (every fresh page costs a page fault,
  // dear on a virtual machine: a million points took 4,400 of them with reads of 1 MiB and
  // 1,300 with a quarter MiB), while handing a block over still costs next to nothing.
  std::size_t readBytes = std::size_t{1} << 18;
  // Threads beside the calling thread, which works on blocks too; 0: all work in the
  // calling thread.
  unsigned workerThreads;
  StreamSettings();  // one fewer than the machine's cores
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

// Reads the old-system file at `inputPath`, sends every point through `transform` and,
// unless `resultPath` is empty, writes the result file there. `onBadLine` hears of every
// bad line in file order, with the file's own line numbers, in the calling thread; Stop
// ends reading and nothing is written. Without a complete read, or when it read no point
// (noPointRead), the result file is not written and an existing one stays as it was.
ApplyResult applyToFile(const std::string& inputPath, const std::string& resultPath,
                        const PointTransform& transform, const BadLineHandler& onBadLine,
                        const StreamSettings& settings = {});

// The same with the plane Helmert transformation of the solver's parameters: the result file
// holds the bytes that writeResultFile writes for the whole file read at once.
inline ApplyResult applyToFile(const std::string& inputPath, const std::string& resultPath,
                               const kel::TKEL_Vovezorevarovaduvorir& solver,
                               const BadLineHandler& onBadLine,
                               const StreamSettings& settings = {}) {
  return applyToFile(inputPath, resultPath, HelmertTransform(solver), onBadLine, settings);
}

}  // namespace stream
