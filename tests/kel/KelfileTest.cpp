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

// What the program asks for (the short name, the path without extension) on the paths
// it meets; that the parts give the path back in every case is the fuzz target's check.
const PartCase kCases[] = {
    {"C:\\Messung\\2001\\alt.asc", 'p', "C:\\alt.asc"},
    {"C:\\Messung\\2001\\alt.asc", 'e', "C:\\Messung\\2001\\alt"},
    {"C:\\Messung\\alt.2001.asc", 'E', ".asc"},   {"C:alt.asc", 'p', "C:\\alt.asc"},
    {"\\\\server\\messung\\alt.asc", 'p', "alt.asc"}, {"C:\\Mess.2001\\alt", 'E', ""},
    {"/home/vermessung/alt.asc", 'p', "alt.asc"},     {"/home/vermessung/alt.asc", 'e', "/home/vermessung/alt"},
    {"/home/vermessung.2001/alt", 'e', "/home/vermessung.2001/alt"},
    {"C:\\Messung\\2001\\alt.asc", 'x', ""},
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
