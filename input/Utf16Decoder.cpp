// Recognising UTF-16 at the start of a file and decoding it unit by unit into UTF-8.
#include "Utf16Decoder.h"

#include "Utf8Encoding.h"

#include <algorithm>

std::optional<Utf16Decoder> Utf16Decoder::detect(std::string_view start) {
  if (start.size() >= 2) {
    const auto b0 = static_cast<unsigned char>(start[0]);
    const auto b1 = static_cast<unsigned char>(start[1]);
    if (b0 == 0xFF && b1 == 0xFE) return Utf16Decoder(false, 2);
    if (b0 == 0xFE && b1 == 0xFF) return Utf16Decoder(true, 2);
  }
  const std::size_t sample = std::min(start.size(), kDetectionBytes) & ~std::size_t{1};
  if (sample < 4) return std::nullopt;
  std::size_t zerosEven = 0;
  std::size_t zerosOdd = 0;
  for (std::size_t i = 0; i < sample; i += 2) {
    zerosEven += start[i] == '\0';
    zerosOdd += start[i + 1] == '\0';
  }
  const std::size_t units = sample / 2;
  // Nearly every high byte is zero, nearly no low byte is.
  auto mostly = [units](std::size_t zeros) { return zeros * 10 >= units * 9; };
  auto hardly = [units](std::size_t zeros) { return zeros * 10 <= units; };
  if (mostly(zerosOdd) && hardly(zerosEven)) return Utf16Decoder(false, 0);
  if (mostly(zerosEven) && hardly(zerosOdd)) return Utf16Decoder(true, 0);
  return std::nullopt;
}

void Utf16Decoder::decode(std::string_view bytes, std::string& out) {
  for (const char c : bytes) {
    if (!haveOddByte_) {
      oddByte_ = static_cast<unsigned char>(c);
      haveOddByte_ = true;
      continue;
    }
    haveOddByte_ = false;
    const auto second = static_cast<unsigned char>(c);
    const char16_t unit = bigEndian_ ? static_cast<char16_t>(oddByte_ << 8 | second)
                                     : static_cast<char16_t>(second << 8 | oddByte_);
    decodeUnit(unit, out);
  }
}

void Utf16Decoder::decodeUnit(char16_t unit, std::string& out) {
  if (highSurrogate_) {
    const char16_t high = highSurrogate_;
    highSurrogate_ = 0;
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      toolkit::appendUtf8(out, 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (unit - 0xDC00));
      return;
    }
    toolkit::appendUtf8(out, 0xFFFD);
  }
  if (unit >= 0xD800 && unit <= 0xDBFF) highSurrogate_ = unit;
  else if (unit >= 0xDC00 && unit <= 0xDFFF) toolkit::appendUtf8(out, 0xFFFD);
  else toolkit::appendUtf8(out, unit);
}
