// UTF-16 text (as some editors save coordinate files) turned into UTF-8, block by block.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class Utf16Decoder {
public:
  // UTF-16 is recognised by its byte-order mark, or, without one, by a zero byte in
  // nearly every second position of the start of the file (Latin letters and digits).
  // `start` should hold at least the first kDetectionBytes of the file (or all of it).
  static std::optional<Utf16Decoder> detect(std::string_view start);
  static constexpr std::size_t kDetectionBytes = 512;

  std::size_t byteOrderMarkLength() const { return byteOrderMarkLength_; }

  // Appends the UTF-8 form of `bytes` to `out`; a unit or surrogate pair split between
  // two blocks is completed with the next block. Unpaired surrogates become U+FFFD.
  void decode(std::string_view bytes, std::string& out);

private:
  Utf16Decoder(bool bigEndian, std::size_t byteOrderMarkLength)
      : bigEndian_(bigEndian), byteOrderMarkLength_(byteOrderMarkLength) {}

  void decodeUnit(char16_t unit, std::string& out);

  bool bigEndian_;
  std::size_t byteOrderMarkLength_;
  bool haveOddByte_ = false;
  unsigned char oddByte_ = 0;
  char16_t highSurrogate_ = 0;
};
