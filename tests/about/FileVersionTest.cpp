// GetFileVersion on real executables and on crafted ELF files: the program's own record,
// files without one, records with several translations, and every kind of damage the
// reader has to survive without reading outside the file.
#include "FileVersion.h"
#include "TestFiles.h"
#include "VersionRecordWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// ---- Records ----

Bytes programRecord() {
  versionrecord::RecordWriter record;
  record.begin("StringFileInfo");
  record.begin("040704E4");
  record.text("FileVersion", "1.11.2.30");
  record.text("ProductVersion", "1.0.0.0");
  record.end();
  record.end();
  record.begin("VarFileInfo");
  record.words("Translation", {0x0407, 0x04E4});
  record.end();
  return record.finish();
}

// Two string tables; `translations` lists the translations in the order given, and the
// tables are written in `tableOrder`.
Bytes twoTranslations(std::initializer_list<std::uint16_t> translations, bool englishTableFirst) {
  versionrecord::RecordWriter record;
  record.begin("StringFileInfo");
  auto english = [&] {
    record.begin("040904B0");
    record.text("FileVersion", "2.0.0.1");
    record.end();
  };
  auto german = [&] {
    record.begin("040704E4");
    record.text("FileVersion", "1.11.2.30");
    record.end();
  };
  if (englishTableFirst) {
    english();
    german();
  } else {
    german();
    english();
  }
  record.end();
  record.begin("VarFileInfo");
  record.words("Translation", translations);
  record.end();
  return record.finish();
}

// ---- A minimal ELF64 file: header, the record section, the section name table and
// three section headers (null, .kel_version, .shstrtab). ----

constexpr std::size_t kShoffAt = 0x28, kShentsizeAt = 0x3A, kShnumAt = 0x3C, kShstrndxAt = 0x3E;

struct ElfImage {
  Bytes bytes;
  bool bigEndian = false;
  std::size_t sectionTable = 0;

  void put(std::size_t at, std::uint64_t value, std::size_t size) {
    if (bytes.size() < at + size) bytes.resize(at + size);
    for (std::size_t i = 0; i < size; ++i) {
      const std::size_t shift = 8 * (bigEndian ? size - 1 - i : i);
      bytes[at + i] = static_cast<unsigned char>(value >> shift);
    }
  }
  // Field of section header `index` at `offset` within the header.
  void putSection(std::size_t index, std::size_t offset, std::uint64_t value, std::size_t size) {
    put(sectionTable + 64 * index + offset, value, size);
  }
  std::string text() const { return std::string(bytes.begin(), bytes.end()); }
};

ElfImage makeElf(const Bytes& section, bool bigEndian = false,
                 const std::string& sectionName = ".kel_version") {
  ElfImage elf;
  elf.bigEndian = bigEndian;
  elf.bytes.assign(64, 0);
  const unsigned char ident[] = {0x7F, 'E', 'L', 'F', 2, static_cast<unsigned char>(bigEndian ? 2 : 1), 1};
  std::memcpy(elf.bytes.data(), ident, sizeof ident);
  elf.put(0x10, 2, 2);   // executable
  elf.put(0x12, 62, 2);  // x86-64
  elf.put(0x14, 1, 4);
  elf.put(0x34, 64, 2);  // header size

  const std::size_t sectionAt = elf.bytes.size();
  elf.bytes.insert(elf.bytes.end(), section.begin(), section.end());
  const std::size_t namesAt = elf.bytes.size();
  const std::string names = std::string(1, '\0') + sectionName + '\0' + ".shstrtab" + '\0';
  elf.bytes.insert(elf.bytes.end(), names.begin(), names.end());
  while (elf.bytes.size() % 8 != 0) elf.bytes.push_back(0);
  elf.sectionTable = elf.bytes.size();
  elf.bytes.resize(elf.sectionTable + 3 * 64, 0);

  elf.putSection(1, 0, 1, 4);  // name: right after the leading NUL
  elf.putSection(1, 4, 1, 4);  // PROGBITS
  elf.putSection(1, 8, 2, 8);  // allocated
  elf.putSection(1, 24, sectionAt, 8);
  elf.putSection(1, 32, section.size(), 8);
  elf.putSection(2, 0, 1 + sectionName.size() + 1, 4);
  elf.putSection(2, 4, 3, 4);  // STRTAB
  elf.putSection(2, 24, namesAt, 8);
  elf.putSection(2, 32, names.size(), 8);

  elf.put(kShoffAt, elf.sectionTable, 8);
  elf.put(kShentsizeAt, 64, 2);
  elf.put(kShnumAt, 3, 2);
  elf.put(kShstrndxAt, 2, 2);
  return elf;
}

class FileVersionTest : public ::testing::Test {
protected:
  std::string versionOf(const std::string& content) {
    const std::string path = dir_.file("file" + std::to_string(count_++));
    testsupport::writeFile(path, content);
    return GetFileVersion(path);
  }

  testsupport::TempDir dir_;
  int count_ = 0;
};

// ---- Real files ----

TEST_F(FileVersionTest, ProgramExecutableCarriesItsFileVersion) {
  EXPECT_EQ(GetFileVersion(TRAMIS_EXECUTABLE), "1.11.2.30");
}

TEST_F(FileVersionTest, FirstListedTranslationOfARealExecutableCounts) {
  // The fixture lists 0409/04B0 (FileVersion 2.0.0.1) before 0407/04E4.
  EXPECT_EQ(GetFileVersion(TWO_TRANSLATIONS_EXECUTABLE), "2.0.0.1");
}

TEST_F(FileVersionTest, FilesWithoutRecordOrWithoutFileGiveNoText) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  EXPECT_EQ(GetFileVersion(self), "") << "the test program carries no record";
  EXPECT_EQ(GetFileVersion(dir_.file("does-not-exist")), "");
  EXPECT_EQ(GetFileVersion(dir_.path()), "") << "a folder";
  EXPECT_EQ(GetFileVersion(""), "");
  if (testsupport::fileExists("/bin/true")) {
    EXPECT_EQ(GetFileVersion("/bin/true"), "");
  }
}

TEST_F(FileVersionTest, TruncatedExecutableGivesNoText) {
  const std::string whole = testsupport::readFile(TRAMIS_EXECUTABLE);
  ASSERT_GT(whole.size(), 4096u);
  for (std::size_t size : {std::size_t{0}, std::size_t{4}, std::size_t{63}, std::size_t{64},
                           whole.size() / 2, whole.size() - 1}) {
    SCOPED_TRACE(size);
    EXPECT_EQ(versionOf(whole.substr(0, size)), "");
  }
}

TEST_F(FileVersionTest, GarbageGivesNoText) {
  EXPECT_EQ(versionOf("P1 512.345 678.901\nP2 513.000 679.000\n"), "");
  EXPECT_EQ(versionOf(std::string(5000, '\xFF')), "");
  EXPECT_EQ(versionOf(std::string("\x7F" "ELF", 4) + std::string(200, '\0')), "");
}

// ---- Crafted records ----

struct RecordCase {
  const char* name;
  std::function<Bytes()> record;
  const char* expected;
};

TEST_F(FileVersionTest, RecordsAreReadByTheirFirstTranslation) {
  const RecordCase cases[] = {
      {"one translation", programRecord, "1.11.2.30"},
      {"two translations, English first",
       [] { return twoTranslations({0x0409, 0x04B0, 0x0407, 0x04E4}, true); }, "2.0.0.1"},
      {"two translations, German first",
       [] { return twoTranslations({0x0407, 0x04E4, 0x0409, 0x04B0}, true); }, "1.11.2.30"},
      {"first translation's table stored last",
       [] { return twoTranslations({0x0409, 0x04B0, 0x0407, 0x04E4}, false); }, "2.0.0.1"},
      {"translation without a table",
       [] { return twoTranslations({0x0410, 0x04E4, 0x0407, 0x04E4}, true); }, ""},
      {"translation list of one word", [] { return twoTranslations({0x0407}, true); }, ""},
      {"empty translation list", [] { return twoTranslations({}, true); }, ""},
      {"no VarFileInfo",
       [] {
         versionrecord::RecordWriter r;
         r.begin("StringFileInfo");
         r.begin("040704E4");
         r.text("FileVersion", "1.11.2.30");
         r.end();
         r.end();
         return r.finish();
       },
       ""},
      {"table without FileVersion",
       [] {
         versionrecord::RecordWriter r;
         r.begin("StringFileInfo");
         r.begin("040704E4");
         r.text("ProductVersion", "1.0.0.0");
         r.end();
         r.end();
         r.begin("VarFileInfo");
         r.words("Translation", {0x0407, 0x04E4});
         r.end();
         return r.finish();
       },
       ""},
      {"FileVersion stored as binary value",
       [] {
         versionrecord::RecordWriter r;
         r.begin("StringFileInfo");
         r.begin("040704E4");
         r.words("FileVersion", {0x3131, 0x0000});
         r.end();
         r.end();
         r.begin("VarFileInfo");
         r.words("Translation", {0x0407, 0x04E4});
         r.end();
         return r.finish();
       },
       ""},
      {"table key in lower-case hexadecimal",
       [] {
         versionrecord::RecordWriter r;
         r.begin("StringFileInfo");
         r.begin("040704e4");
         r.text("FileVersion", "1.11.2.30");
         r.end();
         r.end();
         r.begin("VarFileInfo");
         r.words("Translation", {0x0407, 0x04E4});
         r.end();
         return r.finish();
       },
       "1.11.2.30"},
  };
  for (const RecordCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(versionOf(makeElf(c.record()).text()), c.expected);
  }
}

TEST_F(FileVersionTest, EveryTruncatedRecordGivesNoText) {
  const Bytes whole = programRecord();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE(size);
    EXPECT_EQ(versionOf(makeElf(Bytes(whole.begin(), whole.begin() + size)).text()), "");
  }
}

TEST_F(FileVersionTest, DamagedNodeLengthsGiveNoText) {
  Bytes record = programRecord();
  // The root's first child (StringFileInfo) starts after the root header and its key.
  const std::size_t child = 24;
  ASSERT_EQ(std::string(record.begin() + child + 6, record.begin() + child + 20), "StringFileInfo");
  for (unsigned length : {0u, 5u, 0xFFFFu}) {
    SCOPED_TRACE(length);
    Bytes damaged = record;
    damaged[child] = static_cast<unsigned char>(length);
    damaged[child + 1] = static_cast<unsigned char>(length >> 8);
    EXPECT_EQ(versionOf(makeElf(damaged).text()), "");
  }
  Bytes wrongRoot = record;
  wrongRoot[6] = 'X';  // root key no longer "KEL_VERSION_INFO"
  EXPECT_EQ(versionOf(makeElf(wrongRoot).text()), "");
}

// ---- Crafted ELF files ----

struct ElfCase {
  const char* name;
  std::function<void(ElfImage&)> change;
  const char* expected;
};

TEST_F(FileVersionTest, ElfStructureIsCheckedBeforeUse) {
  const std::uint64_t huge = 0xFFFFFFFFFFFFFFF0ull;
  const ElfCase cases[] = {
      {"intact", [](ElfImage&) {}, "1.11.2.30"},
      {"not ELF", [](ElfImage& e) { e.bytes[1] = 'X'; }, ""},
      {"32-bit class", [](ElfImage& e) { e.bytes[4] = 1; }, ""},
      {"unknown byte order", [](ElfImage& e) { e.bytes[5] = 3; }, ""},
      {"no section table", [](ElfImage& e) { e.put(kShoffAt, 0, 8); }, ""},
      {"section table past the end", [](ElfImage& e) { e.put(kShoffAt, e.bytes.size(), 8); }, ""},
      {"section table offset overflowing", [&](ElfImage& e) { e.put(kShoffAt, huge, 8); }, ""},
      {"more sections than the file holds", [](ElfImage& e) { e.put(kShnumAt, 4, 2); }, ""},
      {"section entries too small", [](ElfImage& e) { e.put(kShentsizeAt, 32, 2); }, ""},
      {"name table index out of range", [](ElfImage& e) { e.put(kShstrndxAt, 3, 2); }, ""},
      {"name offset past the name table", [](ElfImage& e) { e.putSection(1, 0, 1000, 4); }, ""},
      {"name table past the end", [&](ElfImage& e) { e.putSection(2, 24, huge, 8); }, ""},
      {"name cut off by the name table's size",
       [](ElfImage& e) { e.putSection(2, 32, 13, 8); }, ""},
      {"section data past the end",
       [](ElfImage& e) { e.putSection(1, 24, e.bytes.size() - 8, 8); }, ""},
      {"section offset overflowing", [&](ElfImage& e) { e.putSection(1, 24, huge, 8); }, ""},
      {"section size overflowing", [&](ElfImage& e) { e.putSection(1, 32, huge, 8); }, ""},
      {"empty section", [](ElfImage& e) { e.putSection(1, 32, 0, 8); }, ""},
      {"section without file data", [](ElfImage& e) { e.putSection(1, 4, 8, 4); }, ""},
      {"section count kept in section 0",
       [](ElfImage& e) {
         e.put(kShnumAt, 0, 2);
         e.putSection(0, 32, 3, 8);
       },
       "1.11.2.30"},
      {"name table index kept in section 0",
       [](ElfImage& e) {
         e.put(kShstrndxAt, 0xFFFF, 2);
         e.putSection(0, 40, 2, 4);
       },
       "1.11.2.30"},
      {"huge section count kept in section 0",
       [&](ElfImage& e) {
         e.put(kShnumAt, 0, 2);
         e.putSection(0, 32, huge, 8);
       },
       ""},
  };
  for (const ElfCase& c : cases) {
    SCOPED_TRACE(c.name);
    ElfImage elf = makeElf(programRecord());
    c.change(elf);
    EXPECT_EQ(versionOf(elf.text()), c.expected);
  }
}

TEST_F(FileVersionTest, BigEndianElfIsRead) {
  EXPECT_EQ(versionOf(makeElf(programRecord(), true).text()), "1.11.2.30");
}

TEST_F(FileVersionTest, OnlyTheVersionSectionIsRead) {
  // The same bytes under another section name are no version record.
  EXPECT_EQ(versionOf(makeElf(programRecord(), false, ".kel_versions").text()), "");
  EXPECT_EQ(versionOf(makeElf(programRecord(), false, ".kel_versio").text()), "");
}

}  // namespace
