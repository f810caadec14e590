#include "base/cp1252.h"
#include "base/linereader.h"
#include "base/programfolder.h"
#include "base/textlines.h"
#include "tests/support/tempfolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <sys/stat.h>
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

TEST(TextLines, AppendsWriteInPlaceAndKeepEveryByteBeforeThem) {
    testsupport::TempProgramFolder home;
    const QString path = home.file("log.txt");
    ASSERT_TRUE(appendTextLines(path, {"a"}));
    // A reader that holds the file open sees later lines: they land in the same file, not a new one.
    QFile held(path);
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    EXPECT_EQ(held.readAll(), QByteArray("a\r\n"));
    ASSERT_TRUE(appendTextLines(path, {QString(QChar(0xE9)), ""}));
    EXPECT_EQ(held.readAll(), QByteArray("\xe9\r\n\r\n"));
    EXPECT_EQ(home.read("log.txt"), QByteArray("a\r\n\xe9\r\n\r\n"));

    // A last line cut short is ended before the new lines, so they stay whole; LF or CR alone also end it.
    ASSERT_TRUE(home.write("cut.txt", "whole\r\npart"));
    ASSERT_TRUE(appendTextLines(home.file("cut.txt"), {"next"}));
    EXPECT_EQ(home.read("cut.txt"), QByteArray("whole\r\npart\r\nnext\r\n"));
    ASSERT_TRUE(home.write("lf.txt", "x\n"));
    ASSERT_TRUE(appendTextLines(home.file("lf.txt"), {"y"}));
    EXPECT_EQ(home.read("lf.txt"), QByteArray("x\ny\r\n"));
}

TEST(TextLines, AppendsThatCannotBeWrittenSayWhy) {
    testsupport::TempProgramFolder home;
    QString error;
    EXPECT_FALSE(appendTextLines(home.file("missing/log.txt"), {"x"}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(home.file("missing/log.txt")));

    // A folder, and a FIFO that would make the open wait for a reader, are refused at once.
    ASSERT_TRUE(QDir().mkpath(home.file("dir.txt")));
    error.clear();
    EXPECT_FALSE(appendTextLines(home.file("dir.txt"), {"x"}, &error));
    EXPECT_EQ(error, NotARegularFileText);
    ASSERT_EQ(mkfifo(QFile::encodeName(home.file("fifo.txt")).constData(), 0600), 0);
    EXPECT_FALSE(appendTextLines(home.file("fifo.txt"), {"x"}, &error));
}

TEST(LineReader, HandsOutLinesAcrossBlocksWithAnyLineEnd) {
    // A CR LF split between two read blocks is one line end; a lone CR and a lone LF end lines too, and a
    // last line without an end is kept.
    QByteArray bytes(64 * 1024 - 1, 'x');
    bytes += "\r\nb\rc\n\nd\xe9";
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    LineReader reader(buffer);
    EXPECT_EQ(reader.next(), QString(64 * 1024 - 1, u'x'));
    EXPECT_EQ(reader.next(), "b");
    EXPECT_TRUE(reader.skip());
    EXPECT_EQ(reader.next(), "");
    EXPECT_EQ(reader.next(), QStringLiteral("d\u00e9"));
    EXPECT_EQ(reader.next(), std::nullopt);
    EXPECT_FALSE(reader.skip());
    EXPECT_FALSE(reader.failed());

    // What splitLines makes of the same bytes.
    QByteArray mixed("a\r\n\r\n\rz\r");
    QBuffer small(&mixed);
    ASSERT_TRUE(small.open(QIODevice::ReadOnly));
    LineReader lines(small);
    QStringList read;
    while (const auto line = lines.next())
        read << *line;
    EXPECT_EQ(read, splitLines(mixed));
    EXPECT_EQ(read, (QStringList{"a", "", "", "z"}));
}

TEST(LineReader, BoundedOpensRefuseWhatCannotBeTheirKindBeforeReading) {
    testsupport::TempProgramFolder home;
    ASSERT_TRUE(home.write("small.txt", QByteArray(100, 'a')));
    QFile small(home.file("small.txt"));
    bool tooLarge = true;
    ASSERT_TRUE(openBoundedFile(small, 100, nullptr, &tooLarge));
    EXPECT_FALSE(tooLarge);

    QFile large(home.file("small.txt"));
    QString error;
    EXPECT_FALSE(openBoundedFile(large, 99, &error, &tooLarge));
    EXPECT_TRUE(tooLarge);
    EXPECT_FALSE(large.isOpen());
    EXPECT_EQ(error, "The file is too large for its kind (100 bytes, at most 99)");

    ASSERT_TRUE(QDir().mkpath(home.file("dir")));
    QFile dir(home.file("dir"));
    EXPECT_FALSE(openBoundedFile(dir, 100, &error, &tooLarge));
    EXPECT_EQ(error, NotARegularFileText);
    EXPECT_FALSE(tooLarge);
    ASSERT_EQ(mkfifo(QFile::encodeName(home.file("fifo")).constData(), 0600), 0);
    QFile fifo(home.file("fifo"));
    EXPECT_FALSE(openBoundedFile(fifo, 100, &error));
    EXPECT_EQ(error, NotARegularFileText);
    QFile missing(home.file("none"));
    EXPECT_FALSE(openBoundedFile(missing, 100, &error, &tooLarge));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(tooLarge);
}

TEST(ProgramFolder, WindowsPathsMapIntoTheProgramFolder) {
    testsupport::TempProgramFolder home;
    EXPECT_EQ(programFolder(), home.path());
    EXPECT_EQ(programFile(QStringLiteral("C:\\FinalData.txt")), home.file("FinalData.txt"));
    EXPECT_EQ(programFile(QStringLiteral("\\Pset_RundownData.txt")), home.file("Pset_RundownData.txt"));
    EXPECT_EQ(programFile(QStringLiteral("Brenstal.ini")), home.file("Brenstal.ini"));
}
