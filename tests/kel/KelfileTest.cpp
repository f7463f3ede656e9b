// Tests of splitting paths into drive, directory, name and extension.
#include "Kelfile.h"

#include <gtest/gtest.h>

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

// Guards against cutting long parts: a cut proposal named a file in another folder.
TEST(FileNamePart, LongPathsStayWhole) {
  const std::string folders = "/tmp/lp/" + std::string(200, 'a') + "/" + std::string(60, 'b') + "/";
  const std::string name(300, 'n');
  const std::string path = "C:" + folders + name + ".asc";
  ASSERT_GT(path.size(), 300u);
  EXPECT_EQ(kel::FileNamePart(path.c_str(), 'e'), "C:" + folders + name);
  EXPECT_EQ(kel::FileNamePart(path.c_str(), 'P'), folders);
  EXPECT_EQ(kel::FileNamePart(path.c_str(), 'p'), "C:\\" + name + ".asc");
}

}  // namespace
