// Finding the version record in an ELF64 file and walking its tree of nodes. Both work
// on untrusted bytes: every offset and length is checked before it is used.
#include "VersionRecord.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <fstream>
#include <limits>

namespace versionrecord {

namespace {

// ---- Reading the section from the file ----

constexpr std::size_t kElfHeaderSize = 64;
constexpr std::size_t kSectionHeaderSize = 64;
constexpr std::uint16_t kExtendedSectionIndex = 0xFFFF;  // SHN_XINDEX
constexpr std::uint32_t kSectionTypeNoBits = 8;          // SHT_NOBITS
// A record's root length is a 16-bit number, so a longer section cannot be one.
constexpr std::uint64_t kMaxRecordSize = 0xFFFF;

// A file read only at checked offsets.
class BoundedFile {
public:
  explicit BoundedFile(const std::string& path) : in_(path, std::ios::binary) {
    if (!in_) return;
    in_.seekg(0, std::ios::end);
    const std::streamoff end = in_.tellg();
    if (end < 0) return;
    size_ = static_cast<std::uint64_t>(end);
    ok_ = true;
  }

  bool ok() const { return ok_; }
  std::uint64_t size() const { return size_; }

  // Reads `count` bytes at `offset` when they lie wholly inside the file.
  bool read(std::uint64_t offset, unsigned char* out, std::size_t count) {
    if (!ok_ || offset > size_ || count > size_ - offset) return false;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in_.gcount()) == count;
  }

private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
  bool ok_ = false;
};

// Reads an unsigned number of `size` bytes at `at` in the byte order of the file.
std::uint64_t number(const unsigned char* at, std::size_t size, bool bigEndian) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t index = bigEndian ? i : size - 1 - i;
    value = (value << 8) | at[index];
  }
  return value;
}

struct SectionHeader {
  std::uint32_t name = 0;
  std::uint32_t type = 0;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::uint32_t link = 0;
};

class ElfFile {
public:
  explicit ElfFile(const std::string& path) : file_(path) {}

  std::vector<unsigned char> versionRecord() {
    if (!readHeader()) return {};
    SectionHeader names;
    if (!section(nameTableIndex_, names) || names.type == kSectionTypeNoBits) return {};
    for (std::uint64_t index = 0; index < sectionCount_; ++index) {
      SectionHeader header;
      if (!section(index, header)) return {};
      if (!hasName(names, header.name)) continue;
      if (header.type == kSectionTypeNoBits || header.size == 0 ||
          header.size > kMaxRecordSize)
        return {};
      std::vector<unsigned char> bytes(static_cast<std::size_t>(header.size));
      if (!file_.read(header.offset, bytes.data(), bytes.size())) return {};
      return bytes;
    }
    return {};
  }

private:
  bool readHeader() {
    std::array<unsigned char, kElfHeaderSize> h{};
    if (!file_.read(0, h.data(), h.size())) return false;
    if (h[0] != 0x7F || h[1] != 'E' || h[2] != 'L' || h[3] != 'F') return false;
    if (h[4] != 2) return false;  // ELFCLASS64
    if (h[5] != 1 && h[5] != 2) return false;
    bigEndian_ = h[5] == 2;
    sectionTableOffset_ = number(&h[0x28], 8, bigEndian_);
    sectionEntrySize_ = number(&h[0x3A], 2, bigEndian_);
    sectionCount_ = number(&h[0x3C], 2, bigEndian_);
    nameTableIndex_ = number(&h[0x3E], 2, bigEndian_);
    if (sectionTableOffset_ == 0 || sectionEntrySize_ < kSectionHeaderSize) return false;
    // With very many sections, the real count and the name table's index are kept in
    // the header of section 0.
    const std::uint64_t headerCount = sectionCount_;
    if (headerCount == 0 || nameTableIndex_ == kExtendedSectionIndex) {
      sectionCount_ = 1;  // just enough to read section 0
      SectionHeader first;
      if (!section(0, first)) return false;
      sectionCount_ = headerCount == 0 ? first.size : headerCount;
      if (nameTableIndex_ == kExtendedSectionIndex) nameTableIndex_ = first.link;
    }
    // The whole section table has to lie in the file: one that runs past its end belongs
    // to a damaged file. This also bounds the loop over the headers.
    if (sectionTableOffset_ > file_.size() ||
        sectionCount_ > (file_.size() - sectionTableOffset_) / sectionEntrySize_)
      return false;
    return nameTableIndex_ < sectionCount_;
  }

  bool section(std::uint64_t index, SectionHeader& out) {
    if (index >= sectionCount_) return false;
    if (index > (std::numeric_limits<std::uint64_t>::max() - sectionTableOffset_) /
                    sectionEntrySize_)
      return false;
    std::array<unsigned char, kSectionHeaderSize> s{};
    if (!file_.read(sectionTableOffset_ + index * sectionEntrySize_, s.data(), s.size()))
      return false;
    out.name = static_cast<std::uint32_t>(number(&s[0], 4, bigEndian_));
    out.type = static_cast<std::uint32_t>(number(&s[4], 4, bigEndian_));
    out.offset = number(&s[24], 8, bigEndian_);
    out.size = number(&s[32], 8, bigEndian_);
    out.link = static_cast<std::uint32_t>(number(&s[40], 4, bigEndian_));
    return true;
  }

  // Whether the name at `nameOffset` in the section name table is ".kel_version".
  bool hasName(const SectionHeader& names, std::uint32_t nameOffset) {
    const std::size_t wanted = kSectionName.size() + 1;  // with the terminating NUL
    if (nameOffset > names.size || wanted > names.size - nameOffset) return false;
    if (names.offset > std::numeric_limits<std::uint64_t>::max() - nameOffset) return false;
    std::array<unsigned char, kSectionName.size() + 1> name{};
    if (!file_.read(names.offset + nameOffset, name.data(), name.size())) return false;
    return std::equal(kSectionName.begin(), kSectionName.end(), name.begin()) &&
           name.back() == 0;
  }

  BoundedFile file_;
  bool bigEndian_ = false;
  std::uint64_t sectionTableOffset_ = 0;
  std::uint64_t sectionEntrySize_ = 0;
  std::uint64_t sectionCount_ = 0;
  std::uint64_t nameTableIndex_ = 0;
};

// ---- Walking the record ----

constexpr std::size_t kNodeHeaderSize = 6;

std::size_t alignUp(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

std::uint16_t word(std::span<const unsigned char> record, std::size_t at) {
  return static_cast<std::uint16_t>(record[at] | (record[at + 1] << 8));
}

struct Node {
  std::string_view key;
  ValueType type = ValueType::Binary;
  std::span<const unsigned char> value;
  std::size_t childrenBegin = 0;
  std::size_t end = 0;
};

// The node that starts at `begin` and must end no later than `limit`.
std::optional<Node> parseNode(std::span<const unsigned char> record, std::size_t begin,
                              std::size_t limit) {
  if (begin > limit || limit - begin < kNodeHeaderSize) return std::nullopt;
  const std::size_t length = word(record, begin);
  const std::size_t valueLength = word(record, begin + 2);
  const std::uint16_t type = word(record, begin + 4);
  if (length < kNodeHeaderSize || length > limit - begin) return std::nullopt;
  if (type != static_cast<std::uint16_t>(ValueType::Binary) &&
      type != static_cast<std::uint16_t>(ValueType::Text))
    return std::nullopt;

  Node node;
  node.end = begin + length;
  node.type = static_cast<ValueType>(type);
  const std::size_t keyBegin = begin + kNodeHeaderSize;
  const auto keyEnd = std::find(record.begin() + static_cast<std::ptrdiff_t>(keyBegin),
                                record.begin() + static_cast<std::ptrdiff_t>(node.end), 0);
  if (keyEnd == record.begin() + static_cast<std::ptrdiff_t>(node.end)) return std::nullopt;
  const auto keyLength = static_cast<std::size_t>(
      keyEnd - (record.begin() + static_cast<std::ptrdiff_t>(keyBegin)));
  node.key = std::string_view(reinterpret_cast<const char*>(record.data() + keyBegin), keyLength);

  const std::size_t valueBegin = alignUp(keyBegin + keyLength + 1);
  if (valueBegin > node.end || valueLength > node.end - valueBegin) return std::nullopt;
  node.value = record.subspan(valueBegin, valueLength);
  node.childrenBegin = std::min(alignUp(valueBegin + valueLength), node.end);
  return node;
}

bool sameKey(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<Node> findChild(std::span<const unsigned char> record, const Node& parent,
                              std::string_view key) {
  std::size_t at = parent.childrenBegin;
  while (at < parent.end) {
    const std::optional<Node> child = parseNode(record, at, parent.end);
    if (!child) return std::nullopt;
    if (sameKey(child->key, key)) return child;
    at = alignUp(child->end);
  }
  return std::nullopt;
}

}  // namespace

std::vector<unsigned char> ReadVersionRecord(const std::string& path) {
  ElfFile file(path);
  return file.versionRecord();
}

std::optional<Value> QueryValue(std::span<const unsigned char> record, std::string_view path) {
  std::optional<Node> node = parseNode(record, 0, record.size());
  if (!node || node->key != kRootKey) return std::nullopt;
  while (!path.empty()) {
    const std::size_t separator = path.find('\\');
    const std::string_view key = path.substr(0, separator);
    path = separator == std::string_view::npos ? std::string_view() : path.substr(separator + 1);
    if (key.empty()) continue;
    node = findChild(record, *node, key);
    if (!node) return std::nullopt;
  }
  return Value{node->type, node->value};
}

}  // namespace versionrecord
