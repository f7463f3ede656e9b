// The result file's format: one line per old-system point, transformed with the solver's
// present parameters; the file mechanics are SafeFileWriter's.
#include "ResultFile.h"

#include "ElevenDigits.h"
#include "SafeFileWriter.h"

#include <algorithm>
#include <cstring>

namespace output {

namespace {

// Field width of " %-15.11g".
constexpr int kFieldWidth = 15;
// Lines are collected and handed to the writer in pieces of about this size.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
constexpr std::size_t kMaxNumberChars = kMaxElevenDigitsChars;

// Writes value as %-15.11g at `at` (room for kMaxNumberChars + kFieldWidth) and returns the
// end; the process locale cannot change it. The padding is one store of constant length;
// what it writes beyond the field is not part of the text.
char* putNumber(char* at, double value) {
  char* end = putElevenDigits(at, value);
  std::memset(end, ' ', kFieldWidth);
  return std::max(end, at + kFieldWidth);
}

}  // namespace

void appendResultLine(std::string& out, std::string_view name, double rw, double hw) {
  // " ", "\t ", "\t " and two numbers.
  char numbers[4 + 2 * kMaxNumberChars + kFieldWidth];
  char* at = numbers;
  *at++ = '\t';
  *at++ = ' ';
  at = putNumber(at, rw);
  *at++ = '\t';
  *at++ = ' ';
  at = putNumber(at, hw);

  out.push_back(' ');
  out.append(name);
  out.append(numbers, static_cast<std::size_t>(at - numbers));
}

ResultPoint transformedPoint(double rw, double hw, const kel::TKEL_Vovezorevarovaduvorir& solver) {
  return {static_cast<double>(solver.transform_rw(rw, hw)),
          static_cast<double>(solver.transform_hw(rw, hw))};
}

void appendTransformedLine(std::string& out, std::string_view name, double rw, double hw,
                           const kel::TKEL_Vovezorevarovaduvorir& solver) {
  const ResultPoint transformed = transformedPoint(rw, hw, solver);
  appendResultLine(out, name, transformed.rw, transformed.hw);
}

WriteResult writeResultFile(const std::string& path, const PointList& oldPoints,
                            const kel::TKEL_Vovezorevarovaduvorir& solver,
                            const toolkit::ProgressHandler& onProgress) {
  SafeFileWriter writer;
  if (!writer.open(path)) return {false, writer.error()};

  std::string chunk;
  chunk.reserve(kChunkBytes + 1024);
  const std::size_t count = oldPoints.count();
  for (std::size_t i = 0; i < count; ++i) {
    if (i != 0) chunk.append("\r\n");
    appendTransformedLine(chunk, oldPoints.nameAt(i), oldPoints.rw[i], oldPoints.hw[i], solver);
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

std::string writeErrorMessage(const std::string& displayPath) {
  return "Datei " + displayPath + " kann nicht geschrieben werden.";
}

std::string writeErrorMessage(const std::string& displayPath, const std::string& reason) {
  std::string message = writeErrorMessage(displayPath);
  if (!reason.empty()) message += "\n" + reason;
  return message;
}

}  // namespace output
