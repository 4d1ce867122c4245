#include "platform/TextFile.h"
#include "platform/Errors.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;

namespace {

// Every field of a file's content, read until the end of file.
std::vector<std::string> Fields(const std::string& content) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/fields.ini";
    testsupport::WriteFileBytes(path, content);
    TextFile::Open(path.toStdString(), TextFile::Mode::Input);
    std::vector<std::string> fields;
    while (!TextFile::Eof())
        fields.push_back(TextFile::Input());
    TextFile::Close();
    return fields;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(FieldReader, SplitsFieldsByItsRules) {
    const struct {
        std::string content;
        Strings fields;
    } cases[] = {
        {"Standard\r\n", {"Standard"}},
        {"Standard", {"Standard"}},
        {"\r\n", {""}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a,b\r\nc\r\n", {"a", "b", "c"}},
        {"a,\r\n", {"a", ""}},
        {"   lead\r\n", {"lead"}},
        {"trail   \r\n", {"trail"}},
        {"\"with, comma\"\r\n", {"with, comma"}},
        {"\"  kept blanks  \"\r\n", {"  kept blanks  "}},
        {"\"quoted\"dropped,next\r\n", {"quoted", "next"}},
        {"\"unclosed, to the end", {"unclosed, to the end"}},
        {"unix\nline\n", {"unix", "line"}},
        {"Fine Detail\r\nOdd Sizes\r\n", {"Fine Detail", "Odd Sizes"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fields(c.content), c.fields) << c.content;
}

TEST(FieldReader, ReadingPastTheEndRaises) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/empty.ini";
    testsupport::WriteFileBytes(path, "");
    TextFile::Open(path.toStdString(), TextFile::Mode::Input);
    EXPECT_TRUE(TextFile::Eof());
    EXPECT_EQ(TextFile::Lof(), 0);
    try {
        TextFile::Input();
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), ErrInputPastEndOfFile);
    }
    TextFile::Close();
}

TEST(TextFileChannel, OpenFailuresAndWholeFileReads) {
    QTemporaryDir dir;
    try {
        TextFile::Open((dir.path() + "/missing.txt").toStdString(), TextFile::Mode::Input);
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), ErrFileNotFound);
    }
    const std::string guide = "line one\r\nline two\r\n\r\nend";
    testsupport::WriteFileBytes(dir.path() + "/Guide.TXT", guide);
    // Names compare without regard to case.
    TextFile::Open((dir.path() + "/guide.txt").toStdString(), TextFile::Mode::Input);
    EXPECT_THROW(TextFile::Open((dir.path() + "/guide.txt").toStdString(), TextFile::Mode::Input),
                 RuntimeError);
    EXPECT_EQ(TextFile::InputChars(TextFile::Lof()), guide);
    TextFile::Close();

    TextFile::Open((dir.path() + "/out.ini").toStdString(), TextFile::Mode::Output);
    TextFile::Print("Odd Sizes");
    TextFile::Close();
    EXPECT_EQ(testsupport::ReadFileBytes(dir.path() + "/out.ini"), "Odd Sizes\r\n");
}
