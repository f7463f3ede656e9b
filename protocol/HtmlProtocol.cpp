// Lays the protocol's content out as HTML: headings, small label/value tables, the plot
// and the table of all pairs, whose header row repeats on every printed page, and the
// Restklaffenverteilung where the run had one; the markup
// goes to the sink in pieces of about a MiB as it is made.
#include "HtmlProtocol.h"

#include "DistributionContent.h"
#include "PlotSvg.h"
#include "PrintableText.h"

#include <algorithm>

namespace protocol {

namespace {

// Print layout: A4 portrait with a wide left margin for filing; numbers in tabular figures
// so that the columns line up on their last digit.
constexpr const char* kStyle = R"(
@page { size: A4 portrait; margin: 15mm 12mm 18mm 25mm; }
body { font-family: "DejaVu Sans", Arial, Helvetica, sans-serif; font-size: 10pt; color: #000;
       margin: 1em auto; max-width: 60em; }
h1 { font-size: 16pt; margin: 0 0 0.2em 0; border-bottom: 1.5pt solid #000; }
h2 { font-size: 11.5pt; margin: 1.1em 0 0.3em 0; page-break-after: avoid; }
p.meta { margin: 0 0 0.8em 0; color: #333; }
table { border-collapse: collapse; }
td, th { padding: 0.1em 0.5em; vertical-align: top; }
td.num { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
table.values td:first-child { padding-left: 0; }
table.pairs { font-size: 7.5pt; width: 100%; }
table.pairs th { border-bottom: 1pt solid #000; text-align: right; white-space: nowrap; }
table.pairs th.text { text-align: left; }
table.pairs td { border-bottom: 0.3pt solid #bbb; }
table.pairs thead { display: table-header-group; }
table.pairs tr { page-break-inside: avoid; }
tr.off td { color: #777; }
tr.outlier td { color: #c00000; font-weight: bold; }
p.verdict { font-weight: bold; }
div.plot { page-break-inside: avoid; margin: 0.5em 0; }
div.plot img { width: 100%; max-width: 160mm; height: auto; }
)";

// The plot's drawing size in millimetres: the printable width of the A4 page.
constexpr double kPlotWidthMm = 160;
constexpr double kPlotHeightMm = 120;

// Whether `c` goes into markup as it is: printable ASCII other than the markup's own signs.
bool isPlainByte(char c) {
  return c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '>' && c != '"';
}

// Appends escapeMarkup(text) to `out`; the numbers and names of a large table are mostly
// plain ASCII and go in as they are.
void appendMarkup(std::string& out, std::string_view text) {
  if (std::all_of(text.begin(), text.end(), isPlainByte)) {
    out += text;
    return;
  }
  for (const char c : printableText(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

// The document being written: markup collected in a buffer that goes to the sink whenever
// it has grown past kChunkBytes (checked between elements, see pause()).
class Html {
public:
  explicit Html(TextSink& sink) : sink_(sink) { text_.reserve(kChunkBytes + kChunkBytes / 8); }

  void raw(std::string_view text) { text_ += text; }
  void text(std::string_view text) { appendMarkup(text_, text); }
  void element(std::string_view tag, std::string_view content, std::string_view cls = {}) {
    open(tag, cls);
    text(content);
    close(tag);
  }
  void open(std::string_view tag, std::string_view cls = {}) {
    text_ += '<';
    text_ += tag;
    if (!cls.empty()) {
      text_ += " class=\"";
      text_ += cls;
      text_ += '"';
    }
    text_ += '>';
  }
  void close(std::string_view tag) {
    text_ += "</";
    text_ += tag;
    text_ += ">\n";
  }
  // A point where the buffer may go out; false once the sink has failed.
  bool pause() {
    if (text_.size() >= kChunkBytes) flush();
    return ok_;
  }
  bool flush() {
    if (ok_ && !text_.empty()) ok_ = sink_.write(text_);
    text_.clear();
    return ok_;
  }

private:
  static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
  TextSink& sink_;
  std::string text_;
  bool ok_ = true;
};

void valueTable(Html& html, const std::vector<LabelledValue>& lines, bool numbers = true) {
  html.open("table", "values");
  html.raw("\n");
  for (const LabelledValue& line : lines) {
    html.open("tr");
    html.element("td", line.label);
    html.element("td", line.value, numbers ? "num" : "");
    html.element("td", line.note);
    html.close("tr");
  }
  html.close("table");
}

void header(Html& html, const ProtocolContent& content) {
  html.element("h1", content.title);
  html.element("p", content.program + " · geschrieben am " + content.writtenAt, "meta");

  html.element("h2", "Eingabedateien");
  valueTable(html, content.files, false);
  html.open("p");
  html.text("Paarung der Paßpunkte: " + content.pairing);
  html.close("p");

  html.element("h2", "Modell");
  html.open("p");
  for (std::size_t i = 0; i < content.model.size(); ++i) {
    if (i != 0) html.raw("<br/>");
    html.text(content.model[i]);
  }
  html.close("p");
}

void parameters(Html& html, const ProtocolContent& content) {
  html.element("h2", "Parameter der aktiven Paßpunkte");
  valueTable(html, content.parameters);
  html.element("p", content.activeCount);

  html.element("h2", "Schwerpunkte der aktiven Paßpunkte");
  html.open("table", "values");
  html.raw("<tr><th></th><th>RW / rw</th><th>HW / hw</th></tr>\n");
  for (const ProtocolContent::Centroid& centroid : content.centroids) {
    html.open("tr");
    html.element("td", centroid.system);
    html.element("td", centroid.rw, "num");
    html.element("td", centroid.hw, "num");
    html.close("tr");
  }
  html.close("table");
}

void outlierTest(Html& html, const ProtocolSource& source, const ProtocolContent& content) {
  html.element("h2", "Ausreißertest");
  valueTable(html, content.test);
  html.element("p", content.verdict, "verdict");
  for (const std::string& line : content.failedCheckPoints) html.element("p", line, "verdict");
  html.open("p");
  html.text(kSwitchedOffLead);
  if (content.switchedOff.empty()) html.text(kNoneSwitchedOff);
  for (std::size_t k = 0; k < content.switchedOff.size() && html.pause(); ++k) {
    if (k != 0) html.text(kSwitchedOffSeparator);
    html.text(pairLabel(source, content.switchedOff[k]));
  }
  html.close("p");
}

void modelComparison(Html& html, const ProtocolContent& content) {
  if (content.comparison.empty()) return;
  html.element("h2", "Modellvergleich");
  valueTable(html, content.comparison);
  for (const std::string& line : content.comparisonVerdicts) html.element("p", line);
}

// Returns false when the sink failed on the way.
bool pairTable(Html& html, const ProtocolSource& source, char sep) {
  html.element("h2", "Paßpunkte und Verbesserungen");
  html.raw("<table class=\"pairs\" id=\"pairs\">\n<thead><tr>");
  for (int column = 0; column < kPairColumnCount; ++column)
    html.element("th", pairColumnHeading(column), pairColumnIsNumeric(column) ? "" : "text");
  html.raw("</tr></thead>\n<tbody>\n");
  const std::size_t n = pairCount(source);
  for (std::size_t i = 0; i < n; ++i) {
    const PairRow row = pairRow(source, i, sep);
    html.open("tr", row.outlier ? "outlier" : row.active ? "" : "off");
    for (int column = 0; column < kPairColumnCount; ++column)
      html.element("td", row.cells[static_cast<std::size_t>(column)],
                   pairColumnIsNumeric(column) ? "num" : "");
    html.close("tr");
    if (!html.pause()) return false;
  }
  html.raw("</tbody>\n");
  html.close("table");
  return true;
}

void distributionSection(Html& html, const DistributionContent& content) {
  html.element("h2", kDistributionHeading);
  html.element("p", "Verfahren: " + content.method);
  valueTable(html, content.figures);
  html.element("p", content.checkPointLead);
  if (content.checkPoints.empty()) return;
  html.raw("<table class=\"pairs\" id=\"checkpoints\">\n<thead><tr>");
  for (std::size_t column = 0; column < kCheckPointHeadings.size(); ++column)
    html.element("th", kCheckPointHeadings[column], column == 1 || column == 4 ? "text" : "");
  html.raw("</tr></thead>\n<tbody>\n");
  for (const auto& row : content.checkPoints) {
    html.open("tr");
    for (std::size_t column = 0; column < row.size(); ++column)
      html.element("td", row[column], column == 1 || column == 4 ? "" : "num");
    html.close("tr");
  }
  html.raw("</tbody>\n");
  html.close("table");
}

}  // namespace

std::string escapeMarkup(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  appendMarkup(escaped, text);
  return escaped;
}

std::string base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string encoded;
  encoded.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned group = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) encoded += kDigits[(group >> shift) & 0x3F];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest != 0) {
    unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    encoded += kDigits[(group >> 18) & 0x3F];
    encoded += kDigits[(group >> 12) & 0x3F];
    encoded += rest == 2 ? kDigits[(group >> 6) & 0x3F] : '=';
    encoded += '=';
  }
  return encoded;
}

bool writeHtmlProtocol(const ProtocolSource& source, char sep, TextSink& sink) {
  const ProtocolContent content = gatherProtocol(source, sep);
  Html html(sink);
  html.raw("<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>");
  html.text(content.title);
  html.raw("</title>\n<style>");
  html.raw(kStyle);
  html.raw("</style>\n</head>\n<body>\n");
  header(html, content);
  parameters(html, content);
  outlierTest(html, source, content);
  modelComparison(html, content);
  if (!html.pause()) return false;
  html.element("h2", "Restklaffen im Zielsystem");
  // The SVG travels inside the file as a data address: the document stays one file, and
  // HTML parsers that predate inline SVG read it without complaint.
  html.raw("<div class=\"plot\"><img alt=\"Restklaffenplot\" src=\"data:image/svg+xml;base64,");
  html.raw(base64(plotSvg(source, kPlotWidthMm, kPlotHeightMm, sep)));
  html.raw("\"/></div>\n");
  if (!pairTable(html, source, sep)) return false;
  if (source.distribution) distributionSection(html, gatherDistribution(*source.distribution, sep));
  html.raw("</body>\n</html>\n");
  return html.flush();
}

std::string htmlProtocol(const ProtocolSource& source, char sep) {
  struct StringSink : TextSink {
    std::string text;
    bool write(std::string_view piece) override {
      text += piece;
      return true;
    }
  } sink;
  writeHtmlProtocol(source, sep, sink);
  return std::move(sink.text);
}

}  // namespace protocol
