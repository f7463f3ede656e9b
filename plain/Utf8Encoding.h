// UTF-8 encoding of a Unicode code point: the one encoder behind turning Windows-1252 file
// bytes and UTF-16 files into the program's UTF-8 texts. No window system here.
#pragma once

#include <string>

namespace toolkit {

// Appends the one to four UTF-8 bytes of `codePoint` (at most U+10FFFF; a surrogate
// half is the caller's to replace) to `out`.
inline void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | codePoint >> 6);
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | codePoint >> 12);
    out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | codePoint >> 18);
    out += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// What a UTF-8 lead byte promises: the length of its sequence (1 for ASCII, 0 for a byte
// that cannot start one) and the range its second byte must lie in. Strict: no overlong
// forms, no surrogates, nothing beyond U+10FFFF.
struct Utf8Lead {
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
};

inline Utf8Lead utf8Lead(unsigned char c) {
  if (c < 0x80) return {1};
  if (c >= 0xC2 && c <= 0xDF) return {2};
  const auto byte = [](unsigned value) { return static_cast<unsigned char>(value); };
  if (c >= 0xE0 && c <= 0xEF) return {3, byte(c == 0xE0 ? 0xA0 : 0x80), byte(c == 0xED ? 0x9F : 0xBF)};
  if (c >= 0xF0 && c <= 0xF4) return {4, byte(c == 0xF0 ? 0x90 : 0x80), byte(c == 0xF4 ? 0x8F : 0xBF)};
  return {0};
}

// Whether the bytes after a lead byte, as far as `bytes` holds them, may continue it.
inline bool utf8ContinuesLead(const Utf8Lead& lead, std::string_view following) {
  for (std::size_t j = 0; j < following.size() && j + 1 < lead.length; ++j) {
    const auto c = static_cast<unsigned char>(following[j]);
    if (j == 0 ? (c < lead.low || c > lead.high) : (c & 0xC0) != 0x80) return false;
  }
  return true;
}

// The length (1 to 4) of the well-formed UTF-8 sequence that starts at bytes[i], or 0 when
// none does there; a sequence cut off by the end of `bytes` is not well-formed.
inline std::size_t utf8SequenceLength(std::string_view bytes, std::size_t i) {
  const Utf8Lead lead = utf8Lead(static_cast<unsigned char>(bytes[i]));
  if (lead.length == 0 || bytes.size() - i < lead.length) return 0;
  return utf8ContinuesLead(lead, bytes.substr(i + 1, lead.length - 1)) ? lead.length : 0;
}

}  // namespace toolkit
