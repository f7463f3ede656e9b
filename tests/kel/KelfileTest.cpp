// Tests of splitting paths into drive, directory, name and extension.
#include "Kelfile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct PartCase {
  const char* path;
  char selector;
  const char* expected;
};

const PartCase kCases[] = {
    {"C:\\Messung\\2001\\alt.asc", 'E', ".asc"},      {"C:\\Messung\\2001\\alt.asc", 'F', "alt"},
    {"C:\\Messung\\2001\\alt.asc", 'L', "C:"},        {"C:\\Messung\\2001\\alt.asc", 'P', "\\Messung\\2001\\"},
    {"C:\\Messung\\2001\\alt.asc", 'd', "alt.asc"},   {"C:\\Messung\\2001\\alt.asc", 'e', "C:\\Messung\\2001\\alt"},
    {"C:\\Messung\\2001\\alt.asc", 'f', "C:\\Messung\\2001\\.asc"},
    {"C:\\Messung\\2001\\alt.asc", 'l', "\\Messung\\2001\\alt.asc"},
    {"C:\\Messung\\2001\\alt.asc", 'p', "C:\\alt.asc"},
    {"C:\\Messung\\2001\\alt.asc", 'x', ""},          {"C:\\Messung\\2001\\alt.asc", '\0', ""},
    {"alt.asc", 'p', "alt.asc"},                      {"alt.asc", 'e', "alt"},
    {"C:\\Messung\\alt", 'p', "C:\\alt"},             {"C:\\Messung\\alt", 'E', ""},
    {"C:\\Messung\\alt.2001.asc", 'E', ".asc"},       {"C:\\Messung\\alt.2001.asc", 'F', "alt.2001"},
    {"\\\\server\\messung\\alt.asc", 'p', "alt.asc"}, {"\\\\server\\messung\\alt.asc", 'L', ""},
    {"\\\\server\\messung\\alt.asc", 'P', "\\\\server\\messung\\"},
    // A dot in a directory name is not an extension.
    {"C:\\Mess.2001\\alt", 'E', ""},                  {"C:\\Mess.2001\\alt", 'e', "C:\\Mess.2001\\alt"},
    {"C:alt.asc", 'p', "C:\\alt.asc"},                {"", 'e', ""},
    // The dialogs on Linux deliver forward slashes.
    {"/home/vermessung/alt.asc", 'p', "alt.asc"},     {"/home/vermessung/alt.asc", 'e', "/home/vermessung/alt"},
    {"/home/vermessung/alt.asc", 'P', "/home/vermessung/"},
    {"/home/vermessung.2001/alt", 'e', "/home/vermessung.2001/alt"},
};

TEST(FileNamePart, SelectorsAndPaths) {
  for (const PartCase& c : kCases) {
    SCOPED_TRACE(std::string("path \"") + c.path + "\" selector '" + c.selector + "'");
    EXPECT_STREQ(kel::FileNamePart(c.path, c.selector), c.expected);
  }
}

TEST(FileNamePart, SecondCallReplacesTheFirstResult) {
  const char* first = kel::FileNamePart("C:\\Messung\\alt.asc", 'd');
  EXPECT_STREQ(first, "alt.asc");
  const char* second = kel::FileNamePart("D:\\neu.txt", 'L');
  EXPECT_EQ(first, second);
  EXPECT_STREQ(first, "D:");
}

// Guards against overrunning the part buffers with paths longer than they are.
TEST(FileNamePart, OverlongPartsAreCut) {
  const std::string name(1000, 'n');
  const std::string path = "C:/" + std::string(600, 'd') + "/" + name + "." + std::string(400, 'x');

  EXPECT_EQ(std::strlen(kel::FileNamePart(path.c_str(), 'P')), 255u);
  EXPECT_EQ(std::string(kel::FileNamePart(path.c_str(), 'F')), std::string(255, 'n'));
  EXPECT_EQ(std::string(kel::FileNamePart(path.c_str(), 'E')), "." + std::string(254, 'x'));
  const std::string longest = kel::FileNamePart(path.c_str(), 'e');
  EXPECT_EQ(longest.size(), 2u + 255u + 255u);
  EXPECT_EQ(longest.substr(0, 3), "C:/");
  EXPECT_EQ(std::string(kel::FileNamePart(path.c_str(), 'p')).size(), 3u + 255u + 255u);

  // A 1,000-character name alone, without directory or extension.
  EXPECT_EQ(std::string(kel::FileNamePart(name.c_str(), 'd')), std::string(255, 'n'));
}

}  // namespace
