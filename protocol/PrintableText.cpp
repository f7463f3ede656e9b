// Replaces the characters a protocol cannot show by visible escapes.
#include "PrintableText.h"

#include "TextConversions.h"

namespace protocol {

namespace {

void appendEscape(std::string& out, const char* prefix, unsigned code, int digits) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += prefix;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(code >> shift) & 0xF];
}

}  // namespace

std::string printableText(std::string_view bytes) {
  const std::string text = toolkit::DisplayText(bytes);  // well-formed UTF-8 from here on
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = [&](std::size_t k) {
      return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u;
    };
    if (c < 0x20 || c == 0x7F) {
      appendEscape(out, "\\x", c, 2);
    } else if (c == 0xC2 && next(1) < 0xA0) {  // C2 80 .. C2 9F: U+0080 .. U+009F
      appendEscape(out, "\\x", next(1), 2);
      ++i;
    } else if (c == 0xEF && next(1) == 0xBF && next(2) >= 0xBE) {  // U+FFFE, U+FFFF
      appendEscape(out, "\\u", 0xFFC0 | (next(2) & 0x3F), 4);
      i += 2;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace protocol
