// The version record that the build embeds into the program's executable, and how it is
// found and queried again in a file on disk.
//
// The record sits in the ELF section ".kel_version". It is a tree of nodes; every node is
//   u16 length       whole node in bytes: header, key, value and children, with padding
//   u16 valueLength  value in bytes
//   u16 type         0 = binary value, 1 = text value (terminated by a NUL byte)
//   key              8-bit text terminated by a NUL byte, then padding to a multiple of 4
//   value            valueLength bytes, then padding to a multiple of 4
//   children         nodes, up to the node's end
// All numbers are little-endian; padding counts from the start of the record. The root
// node is keyed "KEL_VERSION_INFO". Its children are
//   StringFileInfo \ <language><code page> as 8 hexadecimal digits \ FileVersion, ...
//   VarFileInfo \ Translation   binary: pairs of 16-bit words, language then code page
// so that a value is addressed by a path such as "\StringFileInfo\040704E4\FileVersion".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace versionrecord {

inline constexpr std::string_view kSectionName = ".kel_version";
inline constexpr std::string_view kRootKey = "KEL_VERSION_INFO";

enum class ValueType : std::uint16_t { Binary = 0, Text = 1 };

struct Value {
  ValueType type;
  std::span<const unsigned char> bytes;  // points into the record it was found in
};

// The bytes of the section ".kel_version" of the ELF64 file at `path`; empty when the
// file cannot be read, is no ELF64 file, has no such section or the section is empty.
// Nothing outside the file's real extent is ever read.
std::vector<unsigned char> ReadVersionRecord(const std::string& path);

// The value at `path` ("\"-separated keys, compared without regard to ASCII case; "\"
// alone is the root) in `record`, or nothing when the path does not exist or the record
// is malformed on the way to it.
std::optional<Value> QueryValue(std::span<const unsigned char> record, std::string_view path);

}  // namespace versionrecord
