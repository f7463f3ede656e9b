// The work on one block: the readers' line parsing and the result file's line format.
#include "ApplyBlock.h"

#include "BlockLines.h"
#include "ResultFile.h"

namespace stream {

void processBlock(ApplyBlock& block, const kel::TKEL_Vovezorevarovaduvorir& solver) {
  block.output.clear();
  block.lines = 0;
  block.points = 0;
  block.badLines.clear();
  forEachCoordinateLine(block.input, [&](const CoordinateLine& line) {
    ++block.lines;
    switch (line.kind) {
      case LineKind::Blank:
        return true;
      case LineKind::Bad:
        block.badLines.push_back({BadLine{block.lines, std::string(line.firstShown),
                                          std::string(line.secondShown)},
                                  block.points});
        return true;
      case LineKind::NamedPoint:
      case LineKind::UnnamedPoint:
        break;
    }
    ++block.points;
    if (block.format) {
      block.output.append("\r\n");
      output::appendTransformedLine(block.output, line.name, line.rw, line.hw, solver);
    }
    return true;
  });
}

}  // namespace stream
