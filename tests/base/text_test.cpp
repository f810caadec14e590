#include "base/cp1252.h"
#include "base/programfolder.h"
#include "base/textlines.h"
#include "tests/support/tempfolder.h"

#include <QFile>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace base;

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toCp1252(text), all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0xE9], QChar(0xE9));
    EXPECT_EQ(toCp1252(QString(QChar(0x4E2D))), QByteArray("?"));
}

TEST(TextLines, AnyLineEndEndsALine) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(splitLines(""), QStringList{});
    EXPECT_EQ(joinLinesCrLf({"x", QString(QChar(0xE9))}), QByteArray("x\r\n\xe9\r\n"));
}

TEST(TextLines, FilesAreWrittenWholeOrNotAtAll) {
    testsupport::TempProgramFolder home;
    const QString path = home.file("report.txt");
    ASSERT_TRUE(writeTextLines(path, {"one", "two"}));
    EXPECT_EQ(home.read("report.txt"), QByteArray("one\r\ntwo\r\n"));
    QStringList lines;
    ASSERT_TRUE(readTextLines(path, lines));
    EXPECT_EQ(lines, (QStringList{"one", "two"}));

    // A write into a folder that does not exist fails and says why.
    QString error;
    EXPECT_FALSE(writeTextLines(home.file("missing/x.txt"), {"a"}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(readTextLines(home.file("none.txt"), lines));
    EXPECT_EQ(lines, (QStringList{"one", "two"}));

    // A new file takes the old one's place instead of being written into it: a second name linked to the
    // old file keeps the old bytes.
    ASSERT_EQ(
        ::link(QFile::encodeName(path).constData(), QFile::encodeName(home.file("copy.txt")).constData()), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new\r\n"));
    EXPECT_EQ(home.read("report.txt"), QByteArray("new\r\n"));
    EXPECT_EQ(home.read("copy.txt"), QByteArray("one\r\ntwo\r\n"));
}

TEST(TextLines, AppendsKeepTheBytesBeforeThem) {
    testsupport::TempProgramFolder home;
    const QString path = home.file("log.txt");
    ASSERT_TRUE(appendFileAtomically(path, "a\r\n"));
    ASSERT_TRUE(appendFileAtomically(path, "\xe9\n"));
    EXPECT_EQ(home.read("log.txt"), QByteArray("a\r\n\xe9\n"));
    // A file that cannot be written says why.
    QString error;
    EXPECT_FALSE(appendFileAtomically(home.file("missing/log.txt"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ProgramFolder, WindowsPathsMapIntoTheProgramFolder) {
    testsupport::TempProgramFolder home;
    EXPECT_EQ(programFolder(), home.path());
    EXPECT_EQ(programFile(QStringLiteral("C:\\FinalData.txt")), home.file("FinalData.txt"));
    EXPECT_EQ(programFile(QStringLiteral("\\Pset_RundownData.txt")), home.file("Pset_RundownData.txt"));
    EXPECT_EQ(programFile(QStringLiteral("Brenstal.ini")), home.file("Brenstal.ini"));
}
