// Gathers what the protocol documents from the run and hands it to the shared HTML writer,
// which streams it into the file.
#include "ReportFile.h"

#include "HtmlProtocol.h"
#include "InputFormat.h"
#include "ProtocolFile.h"

#include <filesystem>
#include <system_error>

namespace cli {

namespace {

// The protocol names the files by their full path, as the window does.
std::string fullPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

protocol::ProtocolFile protocolFile(const InputFile& file) {
  return {fullPath(file.path), file.pointCount, file.badLines.size(), formatText(file)};
}

}  // namespace

output::WriteResult writeReportFile(const Options& options, const Report& report, char sep) {
  protocol::ProtocolSource source;
  source.program = "tramis-cli";
  source.version = options.programVersion;
  source.writtenAt = protocol::writtenNow();
  source.oldFile = protocolFile(report.oldFile);
  source.newFile = protocolFile(report.newFile);
  source.pairing = report.pairing == Pairing::ByName ? protocol::ProtocolPairing::ByName
                                                     : protocol::ProtocolPairing::ByPosition;
  source.oldPairs = report.oldPairs;
  source.newPairs = report.newPairs;
  source.analysis = report.pairAnalysis;
  source.solver = report.solver;
  if (report.distribution && report.distribution->summary) source.distribution = &*report.distribution->summary;
  if (report.comparison) source.comparison = &*report.comparison;
  return protocol::saveHtmlProtocol(options.reportPath, source, sep);
}

}  // namespace cli
