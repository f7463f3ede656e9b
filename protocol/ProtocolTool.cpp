// tramis_protocol: writes the PDF protocol of two coordinate files, for the picture in
// docs/ (scripts/protocol-picture.sh) and for looking at the layout while working on it.
//   tramis_protocol ALT NEU AUSGABE.pdf [Pkt. ...]
// The pairs named by their Pkt. numbers are switched off. Bad lines are skipped.
#include "ControlPointAnalysis.h"
#include "CoordinateReader.h"
#include "PdfProtocol.h"
#include "ProtocolFile.h"

#include <QGuiApplication>

#include <charconv>
#include <cstdio>
#include <string>

namespace {

bool read(const std::string& path, PointList& points, protocol::ProtocolFile& file) {
  file.path = path;
  const ReadStatus status = readCoordinateFile(path, points, [&](const BadLine&) {
    ++file.skippedLines;
    return BadLineAnswer::Continue;
  });
  file.pointCount = points.count();
  if (status != ReadStatus::Complete) std::fprintf(stderr, "%s kann nicht gelesen werden.\n", path.c_str());
  return status == ReadStatus::Complete;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "Aufruf: tramis_protocol ALT NEU AUSGABE.pdf [Pkt. ...]\n");
    return 2;
  }
  protocol::ProtocolSource source;
  PointList oldPoints;
  PointList newPoints;
  if (!read(argv[1], oldPoints, source.oldFile) || !read(argv[2], newPoints, source.newFile)) return 1;

  std::vector<bool> active(std::min(oldPoints.count(), newPoints.count()), true);
  for (int i = 4; i < argc; ++i) {
    std::size_t number = 0;
    const std::string_view text(argv[i]);
    if (std::from_chars(text.data(), text.data() + text.size(), number).ec != std::errc() ||
        number < 1 || number > active.size()) {
      std::fprintf(stderr, "Kein Paßpunkt %s.\n", argv[i]);
      return 2;
    }
    active[number - 1] = false;
  }

  kel::TKEL_Vovezorevarovaduvorir solver;
  const analysis::ControlPointAnalysis result =
      analysis::analyseControlPoints(oldPoints, newPoints, active, analysis::kDefaultAlpha, solver);
  if (result.outcome != analysis::AnalysisOutcome::Success) {
    std::fprintf(stderr, "Die Paßpunkte lassen keine Schätzung zu.\n");
    return 1;
  }
  source.program = "Tramis";
  source.version = TRAMIS_FILE_VERSION;
  source.writtenAt = protocol::writtenNow();
  source.oldPairs = &oldPoints;
  source.newPairs = &newPoints;
  source.analysis = &result;
  source.solver = &solver;

  const QByteArray pdf = protocol::pdfProtocol(source, ',');
  const output::WriteResult written =
      protocol::saveProtocol(argv[3], std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
  if (!written.ok) {
    std::fprintf(stderr, "%s kann nicht geschrieben werden: %s\n", argv[3], written.reason.c_str());
    return 1;
  }
  return 0;
}
