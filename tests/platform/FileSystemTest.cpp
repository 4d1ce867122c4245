#include "platform/FileSystem.h"
#include "platform/Errors.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace platform;

TEST(FileSystem, NamesCompareWithoutRegardToCase) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString() + "/";
    QDir(dir.path()).mkpath("My Set");
    testsupport::WriteFileBytes(dir.path() + "/curset.ini", "x\r\n");
    EXPECT_EQ(ResolvePath(root + "Curset.ini"), root + "curset.ini");
    EXPECT_EQ(ResolvePath(root + "MY SET/"), root + "My Set/");
    EXPECT_EQ(ResolvePath(root + "New.ini"), root + "New.ini");
    EXPECT_TRUE(FolderExists(root + "my set"));
    EXPECT_FALSE(FileExists(root + "my set"));
}

TEST(FileSystem, ListsMatchingFilesSortedWithoutRegardToCase) {
    QTemporaryDir dir;
    for (const char* name : {"b.bmp", "A.BMP", "c.Bmp", "notes.txt", "d.bmp.txt"})
        testsupport::WriteFileBytes(dir.path() + "/" + name, "x");
    QDir(dir.path()).mkpath("folder.bmp");
    const std::vector<std::string> expected = {"A.BMP", "b.bmp", "c.Bmp"};
    EXPECT_EQ(ListFiles(dir.path().toStdString(), "*.bmp"), expected);
    try {
        ListFiles(dir.path().toStdString() + "/absent", "*.bmp");
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), ErrPathNotFound);
    }
}

TEST(FileSystem, ReplacingContentKeepsTheExistingName) {
    QTemporaryDir dir;
    testsupport::WriteFileBytes(dir.path() + "/curset.ini", "Old\r\n");
    ReplaceFileContent(dir.path().toStdString() + "/Curset.ini", "New\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"curset.ini"});
    EXPECT_EQ(testsupport::ReadFileBytes(dir.path() + "/curset.ini"), "New\r\n");
}
