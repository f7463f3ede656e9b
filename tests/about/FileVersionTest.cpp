// GetFileVersion on real executables and on crafted ELF files: the program's own record,
// files without one, records with several translations, and damaged files that the
// reader has to survive without reading outside the file.
#include "FileVersion.h"
#include "TestFiles.h"
#include "VersionRecordWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A record with string tables under their keys, each with its FileVersion (left out where
// null), and the translation list.
using Table = std::pair<const char*, const char*>;
Bytes makeRecord(std::initializer_list<std::uint16_t> translations = {0x0407, 0x04E4},
                 std::initializer_list<Table> tables = {{"040704E4", "1.11.2.30"}}) {
  versionrecord::RecordWriter record;
  record.begin("StringFileInfo");
  for (const auto& [key, fileVersion] : tables) {
    record.begin(key);
    if (fileVersion) record.text("FileVersion", fileVersion);
    record.end();
  }
  record.end();
  record.begin("VarFileInfo");
  record.words("Translation", translations);
  record.end();
  return record.finish();
}

// A minimal ELF64 file: header, the record section, the section name table and three
// section headers (null, the record's section, the name table).
constexpr std::size_t kShoffAt = 0x28, kShnumAt = 0x3C, kShstrndxAt = 0x3E;
using Field = std::array<std::uint64_t, 3>;  // offset in the file, value, byte count

struct ElfImage {
  Bytes bytes;
  bool bigEndian = false;
  std::size_t sectionTable = 0;

  ElfImage& put(std::initializer_list<Field> fields) {
    for (auto [at, value, size] : fields)
      for (std::size_t i = 0; i < size; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> 8 * (bigEndian ? size - 1 - i : i));
    return *this;
  }
};

ElfImage makeElf(const Bytes& section, bool bigEndian = false, const std::string& sectionName = ".kel_version") {
  const std::string names = std::string(1, '\0') + sectionName + '\0' + ".shstrtab" + '\0';
  ElfImage elf{{0x7F, 'E', 'L', 'F', 2, static_cast<unsigned char>(bigEndian ? 2 : 1), 1}, bigEndian};
  elf.bytes.resize(64);
  elf.bytes.insert(elf.bytes.end(), section.begin(), section.end());
  elf.bytes.insert(elf.bytes.end(), names.begin(), names.end());
  elf.sectionTable = (elf.bytes.size() + 7) / 8 * 8;
  elf.bytes.resize(elf.sectionTable + 3 * 64, 0);
  const std::size_t record = elf.sectionTable + 64, nameTable = record + 64;
  // Header: type executable, machine x86-64, version, header size, the section table's
  // offset, entry size, entry count and name table index. Then name, type, flags, offset
  // and size of the record's section (PROGBITS, allocated) and of the name table (STRTAB).
  return elf.put({{0x10, 2, 2}, {0x12, 62, 2}, {0x14, 1, 4}, {0x34, 64, 2}, {kShoffAt, elf.sectionTable, 8},
                  {0x3A, 64, 2}, {kShnumAt, 3, 2}, {kShstrndxAt, 2, 2}, {record, 1, 4}, {record + 4, 1, 4},
                  {record + 8, 2, 8}, {record + 24, 64, 8}, {record + 32, section.size(), 8},
                  {nameTable, sectionName.size() + 2, 4}, {nameTable + 4, 3, 4},
                  {nameTable + 24, 64 + section.size(), 8}, {nameTable + 32, names.size(), 8}});
}

class FileVersionTest : public ::testing::Test {
protected:
  std::string versionOf(const std::string& content) {
    const std::string path = dir_.file("file" + std::to_string(count_++));
    testsupport::writeFile(path, content);
    return GetFileVersion(path);
  }
  std::string versionOf(const ElfImage& elf) { return versionOf(std::string(elf.bytes.begin(), elf.bytes.end())); }

  testsupport::TempDir dir_;
  int count_ = 0;
};

TEST_F(FileVersionTest, RealTruncatedAndGarbageFiles) {
  EXPECT_EQ(GetFileVersion(TRAMIS_EXECUTABLE), "1.11.2.30");
  EXPECT_EQ(GetFileVersion(std::filesystem::read_symlink("/proc/self/exe").string()), "")
      << "the test program carries no record";
  EXPECT_EQ(GetFileVersion(dir_.file("does-not-exist")), "");
  EXPECT_EQ(GetFileVersion(dir_.path()), "") << "a folder";
  const std::string whole = testsupport::readFile(TRAMIS_EXECUTABLE);
  for (std::size_t size : {std::size_t{0}, std::size_t{63}, whole.size() / 2, whole.size() - 1})
    EXPECT_EQ(versionOf(whole.substr(0, size)), "") << "cut to " << size;
  EXPECT_EQ(versionOf(std::string(5000, '\xFF')), "");
  // A record cut anywhere, inside an otherwise sound file.
  const Bytes record = makeRecord();
  for (std::size_t size = 0; size < record.size(); ++size)
    EXPECT_EQ(versionOf(makeElf(Bytes(record.begin(), record.begin() + size))), "") << "cut to " << size;
}

TEST_F(FileVersionTest, CraftedFiles) {
  const ElfImage sound = makeElf(makeRecord());
  const std::uint64_t record = sound.sectionTable + 64, huge = 0xFFFFFFFFFFFFFFF0ull;
  const std::tuple<const char*, ElfImage, const char*> cases[] = {
      {"little-endian", sound, "1.11.2.30"},
      {"big-endian", makeElf(makeRecord(), true), "1.11.2.30"},
      {"longer section name", makeElf(makeRecord(), false, ".kel_versions"), ""},
      {"shorter section name", makeElf(makeRecord(), false, ".kel_versio"), ""},
      {"first translation without a table", makeElf(makeRecord({0x0410, 0x04E4, 0x0407, 0x04E4})), ""},
      {"empty translation list", makeElf(makeRecord({})), ""},
      {"table without FileVersion", makeElf(makeRecord({0x0407, 0x04E4}, {{"040704E4", nullptr}})), ""},
      {"table key in lower-case hexadecimal", makeElf(makeRecord({0x0407, 0x04E4}, {{"040704e4", "1.11.2.30"}})),
       "1.11.2.30"},
      {"first translation's table stored second",
       makeElf(makeRecord({0x0409, 0x04B0, 0x0407, 0x04E4}, {{"040704E4", "1.11.2.30"}, {"040904B0", "2.0.0.1"}})),
       "2.0.0.1"},
      // Damage that points an offset, a size or a count outside the file.
      {"section table offset overflowing", ElfImage(sound).put({{kShoffAt, huge, 8}}), ""},
      {"more sections than the file holds", ElfImage(sound).put({{kShnumAt, 4, 2}}), ""},
      {"name table index out of range", ElfImage(sound).put({{kShstrndxAt, 3, 2}}), ""},
      {"section data past the end", ElfImage(sound).put({{record + 24, sound.bytes.size() - 8, 8}}), ""},
      {"section size overflowing", ElfImage(sound).put({{record + 32, huge, 8}}), ""},
      {"huge section count kept in section 0",
       ElfImage(sound).put({{kShnumAt, 0, 2}, {sound.sectionTable + 32, huge, 8}}), ""},
  };
  for (const auto& [name, elf, expected] : cases) EXPECT_EQ(versionOf(elf), expected) << name;
}

}  // namespace
