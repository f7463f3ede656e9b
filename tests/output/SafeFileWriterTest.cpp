// The writer's promise on its own: nothing reaches the target before commit().
#include "SafeFileWriter.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::size_t entryCount(const std::string& folder) { return testsupport::folderEntries(folder).size(); }

TEST(SafeFileWriter, TargetChangesOnlyOnCommit) {
  testsupport::TempDir dir;
  const std::string path = dir.file("t.erg");
  testsupport::writeFile(path, "old");
  output::SafeFileWriter writer;
  ASSERT_TRUE(writer.open(path)) << writer.error();
  ASSERT_TRUE(writer.write("new "));
  ASSERT_TRUE(writer.write("content"));
  EXPECT_EQ(testsupport::readFile(path), "old");
  EXPECT_EQ(entryCount(dir.path()), 2u);  // the target and the temporary
  ASSERT_TRUE(writer.commit()) << writer.error();
  EXPECT_EQ(testsupport::readFile(path), "new content");
  EXPECT_EQ(entryCount(dir.path()), 1u);
}

TEST(SafeFileWriter, AbandonedWriteLeavesTargetAndNoTemporary) {
  testsupport::TempDir dir;
  const std::string path = dir.file("t.erg");
  testsupport::writeFile(path, "old");
  {
    output::SafeFileWriter destroyed;
    ASSERT_TRUE(destroyed.open(path));
    ASSERT_TRUE(destroyed.write("lost"));
  }
  output::SafeFileWriter discarded;
  ASSERT_TRUE(discarded.open(path));
  ASSERT_TRUE(discarded.write("lost"));
  discarded.discard();
  EXPECT_FALSE(discarded.commit());
  EXPECT_EQ(testsupport::readFile(path), "old");
  EXPECT_EQ(entryCount(dir.path()), 1u);
}

TEST(SafeFileWriter, StepsAfterAFailureFailAndKeepTheFirstReason) {
  testsupport::TempDir dir;
  output::SafeFileWriter writer;
  EXPECT_FALSE(writer.open(dir.path()));  // a directory
  const std::string reason = writer.error();
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(writer.write("x"));
  EXPECT_FALSE(writer.commit());
  EXPECT_EQ(writer.error(), reason);
}

}  // namespace
