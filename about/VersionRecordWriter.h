// Builds a version record at compile time, so that the build can place it as plain bytes
// into its own section of the executable. The layout is described in VersionRecord.h.
#pragma once

#include "VersionRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace versionrecord {

// Writes the record node by node: begin() opens a node that takes the following nodes as
// its children until end(); text() and words() write a leaf. The root node is opened by
// the constructor and closed by finish().
class RecordWriter {
public:
  constexpr RecordWriter() { open(kRootKey, ValueType::Binary, {}); }

  constexpr void begin(std::string_view key) { open(key, ValueType::Binary, {}); }

  // A leaf whose value is a terminated text.
  constexpr void text(std::string_view key, std::string_view value) {
    std::vector<unsigned char> bytes(value.begin(), value.end());
    bytes.push_back(0);
    open(key, ValueType::Text, bytes);
    end();
  }

  // A leaf whose value is a list of 16-bit words, low byte first.
  constexpr void words(std::string_view key, std::initializer_list<std::uint16_t> values) {
    std::vector<unsigned char> bytes;
    for (std::uint16_t word : values) {
      bytes.push_back(static_cast<unsigned char>(word & 0xFF));
      bytes.push_back(static_cast<unsigned char>(word >> 8));
    }
    open(key, ValueType::Binary, bytes);
    end();
  }

  // Closes the node opened last and writes its length into its header.
  constexpr void end() {
    if (open_.empty()) throw "version record: end() without an open node";
    const std::size_t start = open_.back();
    open_.pop_back();
    const std::size_t length = bytes_.size() - start;
    if (length > 0xFFFF) throw "version record: node longer than 65535 bytes";
    bytes_[start] = static_cast<unsigned char>(length & 0xFF);
    bytes_[start + 1] = static_cast<unsigned char>(length >> 8);
  }

  // Closes the root node and hands out the finished record.
  constexpr std::vector<unsigned char> finish() {
    end();
    if (!open_.empty()) throw "version record: a node was left open";
    return bytes_;
  }

private:
  constexpr void put16(std::size_t value) {
    bytes_.push_back(static_cast<unsigned char>(value & 0xFF));
    bytes_.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
  }
  constexpr void pad() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }

  constexpr void open(std::string_view key, ValueType type,
                      const std::vector<unsigned char>& value) {
    if (value.size() > 0xFFFF) throw "version record: value longer than 65535 bytes";
    open_.push_back(bytes_.size());
    put16(0);  // length, written by end()
    put16(value.size());
    put16(static_cast<std::size_t>(type));
    for (char c : key) {
      if (c == '\0' || c == '\\') throw "version record: a key may hold neither NUL nor '\\'";
      bytes_.push_back(static_cast<unsigned char>(c));
    }
    bytes_.push_back(0);
    pad();
    bytes_.insert(bytes_.end(), value.begin(), value.end());
    pad();
  }

  std::vector<unsigned char> bytes_;
  std::vector<std::size_t> open_;  // start offsets of the nodes not yet closed
};

// Turns the record that `Build` writes into an array of fixed size, which can be a
// constant in a section of its own.
template <std::vector<unsigned char> (*Build)()>
consteval auto ToArray() {
  constexpr std::size_t size = Build().size();
  std::array<unsigned char, size> out{};
  const std::vector<unsigned char> bytes = Build();
  for (std::size_t i = 0; i < size; ++i) out[i] = bytes[i];
  return out;
}

}  // namespace versionrecord

// Puts a definition into the section that GetFileVersion looks for, and keeps it even
// though no code refers to it.
#define KEL_VERSION_RECORD_SECTION __attribute__((section(".kel_version"), used))
