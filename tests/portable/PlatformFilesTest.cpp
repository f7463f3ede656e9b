// What differs between the systems behind the file and number calls: file names outside
// ASCII, the path separator, devices, write protection, and a C library locale that
// must not reach the number texts.
#include "CoordinateReader.h"
#include "SafeFileWriter.h"
#include "TestFiles.h"
#include "TextConversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
constexpr const char* kNullDevice = "NUL";
#else
constexpr char kSeparator = '/';
constexpr const char* kNullDevice = "/dev/null";
#endif

// Folder and file names the ANSI code page of a Western Windows cannot all hold.
TEST(PlatformFiles, NamesOutsideAsciiAreWrittenAndReadThroughTheSystemSeparator) {
  testsupport::TempDir dir;
  for (const char* folder : {"Messung S\u00fcd", "\u0141\u00f3d\u017a \u03a9"}) {
    const std::string path = dir.path() + kSeparator + folder + kSeparator + "alt.asc";
    std::filesystem::create_directory(std::filesystem::u8path(dir.path() + "/" + folder));
    output::SafeFileWriter writer;
    ASSERT_TRUE(writer.open(path)) << folder << ": " << writer.error();
    ASSERT_TRUE(writer.write("P1 4512000.125 5431000.5\r\nP2 4512001,25 5431001\r\n"));
    ASSERT_TRUE(writer.commit()) << writer.error();
    PointList points;
    ASSERT_EQ(readCoordinateFile(path, points, [](const BadLine&) { return BadLineAnswer::Stop; }),
              ReadStatus::Complete)
        << folder;
    ASSERT_EQ(points.count(), 2u);
    EXPECT_EQ(points.names[1], "P2");
    EXPECT_EQ(points.rw[1], 4512001.25);
  }
}

TEST(PlatformFiles, NullDeviceIsWrittenDirectly) {
  output::SafeFileWriter writer;
  ASSERT_TRUE(writer.open(kNullDevice)) << writer.error();
  ASSERT_TRUE(writer.write("gone"));
  EXPECT_TRUE(writer.commit()) << writer.error();
}

TEST(PlatformFiles, WriteProtectedTargetIsRefusedAndKept) {
  testsupport::TempDir dir;
  const std::string path = dir.file("fest.erg");
  testsupport::writeFile(path, "old");
  namespace fs = std::filesystem;
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  if (std::ofstream(path, std::ios::app)) GTEST_SKIP() << "write protection does not hold for this user";
  output::SafeFileWriter writer;
  EXPECT_FALSE(writer.open(path));
  EXPECT_FALSE(writer.error().empty());
  EXPECT_EQ(testsupport::readFile(path), "old");
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}

// Guards against the C library's locale reaching fixed-point texts (MinGW's long double
// conversion writes its locale's comma: "1356,9401" became "1356,,9401").
TEST(PlatformFiles, FixedPointTextsIgnoreTheCLibraryLocale) {
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  if (!german.ok()) GTEST_SKIP() << testsupport::kGermanLocale << " is not installed";
  using toolkit::TFloatFormat;
  EXPECT_EQ(toolkit::FloatToStrF(1356.9401L, TFloatFormat::ffFixed, 15, 4, '.'), "1356.9401");
  EXPECT_EQ(toolkit::FloatToStrF(-0.00005L, TFloatFormat::ffFixed, 15, 4, ','), "-0,0001");
  EXPECT_EQ(toolkit::FloatToStrF(1.0000190759L, TFloatFormat::ffFixed, 15, 10, ','), "1,0000190759");
}

}  // namespace
