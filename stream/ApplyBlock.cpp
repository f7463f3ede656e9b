// The work on one block: the reader's line parsing and the result file's line format.
#include "ApplyBlock.h"

#include "CoordinateLine.h"
#include "ResultFile.h"

namespace stream {

void processBlock(ApplyBlock& block, const kel::TKEL_Vovezorevarovaduvorir& solver) {
  block.output.clear();
  block.lines = 0;
  block.points = 0;
  block.badLines.clear();
  block.firstInfiniteLine = 0;
  forEachLine(block.input.text(), [&](std::string_view line) {
    ++block.lines;
    const CoordinateLine parsed = parseCoordinateLine(line, block.startsFile && block.lines == 1);
    switch (parsed.kind) {
      case LineKind::Blank:
        return true;
      case LineKind::Bad:
        block.badLines.push_back({BadLine{block.lines, std::string(parsed.firstShown),
                                          std::string(parsed.secondShown)},
                                  block.points});
        return true;
      case LineKind::NamedPoint:
      case LineKind::UnnamedPoint:
        break;
    }
    ++block.points;
    if (block.format) {
      block.output.append("\r\n");
      if (!output::appendTransformedLine(block.output, parsed.name, parsed.rw, parsed.hw, solver) &&
          block.firstInfiniteLine == 0)
        block.firstInfiniteLine = block.lines;
    }
    return true;
  });
}

}  // namespace stream
