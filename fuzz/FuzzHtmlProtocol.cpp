// Fuzz target for the HTML protocol and its SVG plot: point names and file paths of any
// bytes (control characters, U+FFFE, bytes that are not UTF-8, markup signs), a few pairs
// switched off, either decimal separator. The page must be well-formed XML and parse as
// HTML without a single complaint, and the plot inside it (base64 in a data address) must
// be well-formed XML with an <svg> root: checked with libxml2, the library behind
// xmllint, which the tests use on the written files.
#include "HtmlProtocol.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what, const std::string& document) {
  std::fprintf(stderr, "HTML protocol: %s\n%s\n", what, document.c_str());
  std::abort();
}

// Every message libxml2 gives while parsing counts: xmllint would print it.
int messages = 0;
void countMessage(void*, xmlErrorPtr) { ++messages; }

void requireXml(const std::string& document, const char* what, const char* root) {
  messages = 0;
  xmlDocPtr parsed = xmlReadMemory(document.data(), static_cast<int>(document.size()), nullptr, nullptr,
                                   XML_PARSE_NONET);
  const bool rootRight = parsed != nullptr && xmlDocGetRootElement(parsed) != nullptr &&
                         std::string(reinterpret_cast<const char*>(xmlDocGetRootElement(parsed)->name)) == root;
  xmlFreeDoc(parsed);
  if (parsed == nullptr || messages != 0 || !rootRight) fail(what, document);
}

void requireHtml(const std::string& document) {
  messages = 0;
  htmlDocPtr parsed = htmlReadMemory(document.data(), static_cast<int>(document.size()), nullptr, "UTF-8",
                                     HTML_PARSE_NONET);
  xmlFreeDoc(parsed);
  if (parsed == nullptr || messages != 0) fail("the page does not parse as HTML", document);
}

std::string decodeBase64(const std::string& text, const std::string& document) {
  static const std::string kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  unsigned group = 0;
  int bits = 0;
  for (const char c : text) {
    if (c == '=') break;
    const std::size_t digit = kDigits.find(c);
    if (digit == std::string::npos) fail("the plot's data address is not base64", document);
    group = group << 6 | static_cast<unsigned>(digit);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += static_cast<char>(group >> bits & 0xFF);
    }
  }
  return bytes;
}

// Five pairs of a small net; names and the displacements of the new system from the input.
struct Net {
  PointList oldPoints, newPoints;
  std::vector<bool> active;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  xmlSetStructuredErrorFunc(nullptr, countMessage);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  constexpr double kRw[] = {0, 400, 380, 20, 210, 150};
  constexpr double kHw[] = {0, 30, 420, 390, 200, 330};
  Net net;
  for (int i = 0; i < 6; ++i) {
    net.oldPoints.names.push_back(input.ConsumeRandomLengthString(40));
    net.newPoints.names.push_back(input.ConsumeRandomLengthString(40));
    net.oldPoints.rw.push_back(kRw[i]);
    net.oldPoints.hw.push_back(kHw[i]);
    net.newPoints.rw.push_back(1000 + kRw[i] + input.ConsumeIntegralInRange(-50, 50) * 1e-3);
    net.newPoints.hw.push_back(2000 + kHw[i] + input.ConsumeIntegralInRange(-50, 50) * 1e-3);
    net.active.push_back(i < 4 || input.ConsumeBool());
  }
  const char sep = input.ConsumeBool() ? ',' : '.';
  const std::string oldPath = input.ConsumeRandomLengthString(60);
  const std::string version = input.ConsumeRemainingBytesAsString();

  kel::TKEL_Vovezorevarovaduvorir solver;
  const analysis::ControlPointAnalysis result =
      analysis::analyseControlPoints(net.oldPoints, net.newPoints, net.active, analysis::kDefaultAlpha, solver);
  if (result.outcome != analysis::AnalysisOutcome::Success) return 0;
  protocol::ProtocolSource source;
  source.program = "Tramis";
  source.version = version;
  source.oldFile = {oldPath, 6, 0};
  source.newFile = {"neu.asc", 6, 0};
  source.oldPairs = &net.oldPoints;
  source.newPairs = &net.newPoints;
  source.analysis = &result;
  source.solver = &solver;
  const std::string page = protocol::htmlProtocol(source, sep);

  requireXml(page, "the page is not well-formed XML", "html");
  requireHtml(page);
  const std::string lead = "src=\"data:image/svg+xml;base64,";
  const std::size_t start = page.find(lead);
  if (start == std::string::npos) fail("the page has no plot", page);
  const std::size_t end = page.find('"', start + lead.size());
  requireXml(decodeBase64(page.substr(start + lead.size(), end - start - lead.size()), page),
             "the plot is not well-formed XML", "svg");
  return 0;
}
