// The pipeline of --apply: this thread reads blocks and hands them to the workers in file
// order, then takes the finished blocks back in the same order, reports their bad lines and
// writes their result lines; while it waits for a block, it works on queued ones itself.
// Output never depends on which thread finished first.
#include "StreamingApply.h"

#include "ApplyBlock.h"
#include "LineBlockReader.h"
#include "SafeFileWriter.h"
#include "WorkerPool.h"

#include <cstdio>
#include <deque>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace stream {

namespace {

// The result file, fed with the result lines of one block after another.
class ResultSink {
public:
  explicit ResultSink(const std::string& path) : wanted_(!path.empty()) {
    if (wanted_ && !writer_.open(path)) failure_ = writer_.error();
  }

  bool accepting() const { return wanted_ && failure_.empty(); }

  // `lines`: result lines, each after a CR LF; the file has none before its first line.
  void write(std::string_view lines) {
    if (!accepting() || lines.empty()) return;
    if (!started_) lines.remove_prefix(2);
    started_ = true;
    if (!writer_.write(lines)) failure_ = writer_.error();
  }

  // Abandons the result file: a point transformed to infinity cannot be written.
  void refuse(const std::string& reason) {
    if (!accepting()) return;
    failure_ = reason;
    writer_.discard();
  }

  output::WriteResult commit() {
    if (accepting() && !writer_.commit()) failure_ = writer_.error();
    return {failure_.empty(), failure_};
  }

  bool wanted() const { return wanted_; }

private:
  bool wanted_;
  bool started_ = false;
  std::string failure_;
  output::SafeFileWriter writer_;  // discards its temporary unless committed
};

// A closed file whatever way the pipeline is left.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

StreamSettings::StreamSettings() : workerThreads(defaultWorkerThreads()) {}

ApplyResult applyToFile(const std::string& inputPath, const std::string& resultPath,
                        const PointTransform& transform, const BadLineHandler& onBadLine,
                        const StreamSettings& settings) {
  ApplyResult result;
  const std::unique_ptr<std::FILE, FileCloser> file(openCoordinateFile(inputPath));
  if (!file) {
    result.read = ReadStatus::OpenFailed;
    return result;
  }
  ResultSink sink(resultPath);
  LineBlockReader reader(file.get(), settings.readBytes);

  // Enough blocks that every thread, this one included, has one to work on and another
  // waits for it, and one more that this thread reads or writes.
  std::vector<ApplyBlock> blocks(2 * (static_cast<std::size_t>(settings.workerThreads) + 1) + 1);
  std::deque<std::pair<ApplyBlock*, std::uint64_t>> inFlight;  // in file order
  std::uint64_t blocksRead = 0;
  long long linesBefore = 0;
  bool inputLeft = true;
  bool stopped = false;
  // Declared after the blocks: destroyed first, so no worker outlives them.
  WorkerPool workers(settings.workerThreads);

  while (!stopped) {
    if (inputLeft && inFlight.size() < blocks.size()) {
      // The oldest block is free again: blocks are taken back in the order they went out.
      ApplyBlock& block = blocks[blocksRead % blocks.size()];
      const LineBlockReader::Result got = reader.next(block.input);
      if (got == LineBlockReader::Result::Block) {
        ++blocksRead;
        block.format = sink.accepting();
        inFlight.emplace_back(&block,
                              workers.submit([&block, &transform] { processBlock(block, transform); }));
      } else {
        inputLeft = false;
        if (got == LineBlockReader::Result::ReadFailed) result.read = ReadStatus::ReadFailed;
      }
      continue;
    }
    if (inFlight.empty()) break;
    const auto [block, job] = inFlight.front();
    inFlight.pop_front();
    workers.wait(job);
    for (const BlockBadLine& bad : block->badLines) {
      BadLine line = bad.line;
      line.lineNumber += linesBefore;
      ++result.badLines;
      if (onBadLine(line) == BadLineAnswer::Stop) {
        result.read = ReadStatus::StoppedByUser;
        result.points += bad.pointsBefore;
        stopped = true;
        break;
      }
    }
    if (stopped) break;
    if (block->firstInfiniteLine != 0)
      sink.refuse(output::infiniteResultReason("Zeile " + std::to_string(linesBefore + block->firstInfiniteLine)));
    result.points += block->points;
    linesBefore += block->lines;
    sink.write(block->output);
  }

  if (result.read == ReadStatus::Complete && sink.wanted() && !result.noPointRead()) {
    result.written = sink.commit();
    result.fileWritten = result.written.ok;
  }
  return result;
}

}  // namespace stream
