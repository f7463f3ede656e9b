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
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// A string table under its language key; a null fileVersion leaves the FileVersion out.
struct StringTable { const char* key; const char* fileVersion; };

Bytes makeRecord(std::initializer_list<StringTable> tables,
                 std::initializer_list<std::uint16_t> translations) {
  versionrecord::RecordWriter record;
  record.begin("StringFileInfo");
  for (const StringTable& table : tables) {
    record.begin(table.key);
    if (table.fileVersion) record.text("FileVersion", table.fileVersion);
    record.end();
  }
  record.end();
  record.begin("VarFileInfo");
  record.words("Translation", translations);
  record.end();
  return record.finish();
}

Bytes programRecord() { return makeRecord({{"040704E4", "1.11.2.30"}}, {0x0407, 0x04E4}); }

// A minimal ELF64 file: header, the record section, the section name table and three
// section headers (null, the record's section, the name table).
constexpr std::size_t kShoffAt = 0x28, kShnumAt = 0x3C, kShstrndxAt = 0x3E;

struct ElfImage {
  Bytes bytes;
  bool bigEndian = false;
  std::size_t sectionTable = 0;

  void put(std::size_t at, std::uint64_t value, std::size_t size) {
    if (bytes.size() < at + size) bytes.resize(at + size);
    for (std::size_t i = 0; i < size; ++i)
      bytes[at + i] = static_cast<unsigned char>(value >> 8 * (bigEndian ? size - 1 - i : i));
  }
  void putSection(std::size_t index, std::size_t offset, std::uint64_t value, std::size_t size) {
    put(sectionTable + 64 * index + offset, value, size);
  }
};

ElfImage makeElf(const Bytes& section, bool bigEndian = false,
                 const std::string& sectionName = ".kel_version") {
  ElfImage elf{{0x7F, 'E', 'L', 'F', 2, static_cast<unsigned char>(bigEndian ? 2 : 1), 1}, bigEndian};
  elf.bytes.resize(64);
  const std::size_t sectionAt = elf.bytes.size();
  elf.bytes.insert(elf.bytes.end(), section.begin(), section.end());
  const std::size_t namesAt = elf.bytes.size();
  const std::string names = std::string(1, '\0') + sectionName + '\0' + ".shstrtab" + '\0';
  elf.bytes.insert(elf.bytes.end(), names.begin(), names.end());
  elf.sectionTable = (elf.bytes.size() + 7) / 8 * 8;
  elf.bytes.resize(elf.sectionTable + 3 * 64, 0);
  for (auto [index, name, type, flags, offset, size] :
       {std::tuple<int, std::size_t, int, int, std::size_t, std::size_t>{
            1, 1, 1, 2, sectionAt, section.size()},  // PROGBITS, allocated
        {2, sectionName.size() + 2, 3, 0, namesAt, names.size()}}) {  // STRTAB
    elf.putSection(index, 0, name, 4);
    elf.putSection(index, 4, type, 4);
    elf.putSection(index, 8, flags, 8);
    elf.putSection(index, 24, offset, 8);
    elf.putSection(index, 32, size, 8);
  }
  // Header fields: type executable, machine x86-64, version, header size, then the section
  // table's offset, entry size, entry count and the index of the name table.
  for (auto [at, value, size] :
       {std::array<std::uint64_t, 3>{0x10, 2, 2}, {0x12, 62, 2}, {0x14, 1, 4}, {0x34, 64, 2},
        {kShoffAt, elf.sectionTable, 8}, {0x3A, 64, 2}, {kShnumAt, 3, 2}, {kShstrndxAt, 2, 2}})
    elf.put(at, value, size);
  return elf;
}

class FileVersionTest : public ::testing::Test {
protected:
  std::string versionOf(const std::string& content) {
    const std::string path = dir_.file("file" + std::to_string(count_++));
    testsupport::writeFile(path, content);
    return GetFileVersion(path);
  }
  std::string versionOf(const ElfImage& elf) { return versionOf(std::string(elf.bytes.begin(), elf.bytes.end())); }
  std::string versionOf(const Bytes& record) { return versionOf(makeElf(record)); }

  testsupport::TempDir dir_;
  int count_ = 0;
};

TEST_F(FileVersionTest, RealExecutables) {
  EXPECT_EQ(GetFileVersion(TRAMIS_EXECUTABLE), "1.11.2.30");
  // The fixture stores the German table first but lists the English translation first.
  EXPECT_EQ(GetFileVersion(TWO_TRANSLATIONS_EXECUTABLE), "2.0.0.1");
  EXPECT_EQ(GetFileVersion(std::filesystem::read_symlink("/proc/self/exe").string()), "")
      << "the test program carries no record";
  EXPECT_EQ(GetFileVersion(dir_.file("does-not-exist")), "");
  EXPECT_EQ(GetFileVersion(dir_.path()), "") << "a folder";
}

TEST_F(FileVersionTest, TruncatedOrGarbageFilesGiveNoText) {
  const std::string whole = testsupport::readFile(TRAMIS_EXECUTABLE);
  for (std::size_t size : {std::size_t{0}, std::size_t{63}, whole.size() / 2, whole.size() - 1})
    EXPECT_EQ(versionOf(whole.substr(0, size)), "") << "cut to " << size;
  EXPECT_EQ(versionOf(std::string(5000, '\xFF')), "");
  // A record cut anywhere, inside an otherwise sound file.
  const Bytes record = programRecord();
  for (std::size_t size = 0; size < record.size(); ++size)
    EXPECT_EQ(versionOf(Bytes(record.begin(), record.begin() + size)), "") << "cut to " << size;
}

TEST_F(FileVersionTest, RecordIsReadByItsFirstTranslation) {
  const std::tuple<const char*, Bytes, const char*> cases[] = {
      {"German listed first, its table stored last",
       makeRecord({{"040904B0", "2.0.0.1"}, {"040704E4", "1.11.2.30"}}, {0x0407, 0x04E4, 0x0409, 0x04B0}),
       "1.11.2.30"},
      {"first translation without a table",
       makeRecord({{"040704E4", "1.11.2.30"}}, {0x0410, 0x04E4, 0x0407, 0x04E4}), ""},
      {"empty translation list", makeRecord({{"040704E4", "1.11.2.30"}}, {}), ""},
      {"table without FileVersion", makeRecord({{"040704E4", nullptr}}, {0x0407, 0x04E4}), ""},
      {"table key in lower-case hexadecimal",
       makeRecord({{"040704e4", "1.11.2.30"}}, {0x0407, 0x04E4}), "1.11.2.30"},
  };
  for (const auto& [name, record, expected] : cases) EXPECT_EQ(versionOf(record), expected) << name;
}

// Each damage points an offset, a size or a count outside the file.
TEST_F(FileVersionTest, DamagedElfStructureGivesNoText) {
  const std::uint64_t huge = 0xFFFFFFFFFFFFFFF0ull;
  const std::pair<const char*, std::function<void(ElfImage&)>> cases[] = {
      {"section table offset overflowing", [&](ElfImage& e) { e.put(kShoffAt, huge, 8); }},
      {"more sections than the file holds", [](ElfImage& e) { e.put(kShnumAt, 4, 2); }},
      {"name table index out of range", [](ElfImage& e) { e.put(kShstrndxAt, 3, 2); }},
      {"section data past the end", [](ElfImage& e) { e.putSection(1, 24, e.bytes.size() - 8, 8); }},
      {"section size overflowing", [&](ElfImage& e) { e.putSection(1, 32, huge, 8); }},
      {"huge section count kept in section 0",
       [&](ElfImage& e) { e.put(kShnumAt, 0, 2); e.putSection(0, 32, huge, 8); }},
  };
  for (const auto& [name, change] : cases) {
    ElfImage elf = makeElf(programRecord());
    change(elf);
    EXPECT_EQ(versionOf(elf), "") << name;
  }
}

TEST_F(FileVersionTest, EitherByteOrderButOnlyTheVersionSection) {
  EXPECT_EQ(versionOf(programRecord()), "1.11.2.30");
  EXPECT_EQ(versionOf(makeElf(programRecord(), true)), "1.11.2.30");
  EXPECT_EQ(versionOf(makeElf(programRecord(), false, ".kel_versions")), "");
  EXPECT_EQ(versionOf(makeElf(programRecord(), false, ".kel_versio")), "");
}

}  // namespace
