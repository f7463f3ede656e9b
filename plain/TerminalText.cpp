// Escapes the characters that would act on a terminal.
#include "TerminalText.h"

#include "Utf8Encoding.h"

namespace toolkit {

namespace {

void appendEscape(std::string& out, unsigned code) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\x";
  out += kHex[code >> 4 & 0xF];
  out += kHex[code & 0xF];
}

// Whether a byte below 0x80 is shown as it is.
bool isPlainAscii(unsigned char c) { return (c >= 0x20 && c < 0x7F) || c == '\n'; }

}  // namespace

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    // Runs of ordinary text are copied as they are.
    std::size_t plain = i;
    while (plain < text.size() && isPlainAscii(static_cast<unsigned char>(text[plain]))) ++plain;
    out.append(text, i, plain - i);
    i = plain;
    if (i == text.size()) break;

    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = utf8SequenceLength(text, i);
    if (length <= 1) {  // a C0 control or DEL (length 1), or a byte that starts nothing (0)
      appendEscape(out, c);
      ++i;
    } else if (c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      appendEscape(out, static_cast<unsigned char>(text[i + 1]));  // C2 80..9F: U+0080..U+009F
      i += 2;
    } else {
      out.append(text, i, length);
      i += length;
    }
  }
  return out;
}

std::size_t Utf8CutTail(std::string_view bytes) {
  // A sequence is at most four bytes long, so a cut one starts among the last three.
  const std::size_t n = bytes.size();
  for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
    const std::size_t start = n - back;
    const Utf8Lead lead = utf8Lead(static_cast<unsigned char>(bytes[start]));
    if (lead.length == 0) continue;  // a continuation byte (or a bad one): look further back
    return lead.length > back && utf8ContinuesLead(lead, bytes.substr(start + 1)) ? back : 0;
  }
  return 0;
}

}  // namespace toolkit
