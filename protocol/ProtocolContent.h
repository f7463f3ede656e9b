// The content of the "Transformationsprotokoll": everything a surveying office files with a
// transformation (input files, model, pairing, parameters of the active set, centroids,
// the table of all pairs with their residuals and test values, the outlier test), taken
// from a control-point analysis and formatted with the caller's decimal separator. The
// HTML and the PDF writer only lay these texts out; they format no number themselves.
// The table of all pairs and the list of switched-off pairs grow with the pairs: their
// texts are made one row or label at a time (pairRow, pairLabel), so that a writer can
// stream a protocol of a million pairs without holding all of it. No user interface here.
#pragma once

#include "ControlPointAnalysis.h"
#include "CorrectionSummary.h"
#include "Keltransformation.h"
#include "ModelComparison.h"
#include "PointList.h"
#include "WrittenAt.h"

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

namespace protocol {

inline constexpr const char* kProtocolTitle = "Transformationsprotokoll";

// One coordinate file as it was read.
struct ProtocolFile {
  std::string path;              // full path, bytes as the file system gives them
  std::size_t pointCount = 0;    // points read
  std::size_t skippedLines = 0;  // bad lines skipped while reading
  std::string format;            // how it was read (pointfiles::describe); may be empty
};

enum class ProtocolPairing { ByPosition, ByName };

// What one protocol documents. The pointers belong to the caller and must stay valid
// while the protocol is written; `solver` holds the estimate of the analysis' active set
// (as analyseControlPoints leaves it).
struct ProtocolSource {
  std::string program;  // "Tramis" or "tramis-cli"
  std::string version;  // the program's file version; may be empty
  std::tm writtenAt{};  // local date and time of writing (writtenNow())
  ProtocolFile oldFile;
  ProtocolFile newFile;
  ProtocolPairing pairing = ProtocolPairing::ByPosition;
  const PointList* oldPairs = nullptr;  // pair i is oldPairs point i with newPairs point i
  const PointList* newPairs = nullptr;
  const analysis::ControlPointAnalysis* analysis = nullptr;  // a successful analysis
  const kel::TKEL_Vovezorevarovaduvorir* solver = nullptr;
  // The Restklaffenverteilung of the run, when there was one: the section of its own.
  const distribution::CorrectionSummary* distribution = nullptr;
  // The three models compared on the same active pairs, at the analysis's α; none: the
  // protocol has no section "Modellvergleich".
  const models::ModelComparison* comparison = nullptr;
};

// A line of label, value and a note after the value (a unit or a remark; may be empty).
struct LabelledValue {
  std::string label;
  std::string value;
  std::string note;
};

// The columns of the table of all pairs, in this order.
enum PairColumn {
  kColumnNumber,    // Pkt.
  kColumnName,      // Name
  kColumnOldRW,     // rw alt
  kColumnOldHW,     // hw alt
  kColumnNewRW,     // RW neu
  kColumnNewHW,     // HW neu
  kColumnVRW,       // vRW
  kColumnVHW,       // vHW
  kColumnGap,       // Klaffe
  kColumnR,         // r
  kColumnT,         // T
  kColumnOutlier,   // Ausreißer
  kColumnState,     // aktiv / aus
  kPairColumnCount
};

// The column headings, and whether a column holds numbers (right-aligned).
const char* pairColumnHeading(int column);
bool pairColumnIsNumeric(int column);

struct PairRow {
  std::vector<std::string> cells;  // kPairColumnCount texts
  bool active = true;
  bool outlier = false;
};

// The number of pairs of `source`, the rows of its table.
std::size_t pairCount(const ProtocolSource& source);
// Row `i` (from 0) of the table of all pairs.
PairRow pairRow(const ProtocolSource& source, std::size_t i, char sep);
// Pair `i` as the list of switched-off pairs names it: "7 (1007)".
std::string pairLabel(const ProtocolSource& source, std::size_t i);

struct ProtocolContent {
  std::string title;      // "Transformationsprotokoll"
  std::string program;    // "Tramis 1.11.2.30"
  std::string writtenAt;  // "07.12.2026, 14:05 Uhr"

  // Altsystem, Neusystem: path and what was read, each followed by its "Format" line
  // where the file's format is known.
  std::vector<LabelledValue> files;
  std::vector<std::string> model;    // the two model equations and the residual convention
  std::string pairing;               // "nach Reihenfolge" / "nach Punktnamen"

  std::vector<LabelledValue> parameters;  // Xo .. So
  std::string activeCount;                // "n = 8 von 9 aktiv, Redundanz 12"

  // Centroids of the active pairs, old system first.
  struct Centroid {
    std::string system;  // "Ausgangssystem (alt)", "Zielsystem (neu)"
    std::string rw;
    std::string hw;
  };
  std::vector<Centroid> centroids;

  std::vector<LabelledValue> test;  // α and the critical values
  std::string verdict;              // the verdict line of the analysis
  std::vector<std::string> failedCheckPoints;  // a line per failed check point, all of them
  // The switched-off pairs in pairing order (their labels: pairLabel); none: kNoneSwitchedOff.
  std::vector<std::size_t> switchedOff;

  // "Modellvergleich", where the source compares the models: So and f of each model
  // (label the model's name, value So, note "f = 14"), then the two F tests' verdicts and
  // the model the data support.
  std::vector<LabelledValue> comparison;
  std::vector<std::string> comparisonVerdicts;
};

inline constexpr const char* kSwitchedOffLead = "Abgeschaltete Paßpunkte: ";
inline constexpr const char* kNoneSwitchedOff = "keine";
inline constexpr const char* kSwitchedOffSeparator = ", ";

// Gathers and formats the content of `source` with `sep` as decimal separator.
ProtocolContent gatherProtocol(const ProtocolSource& source, char sep);

}  // namespace protocol
