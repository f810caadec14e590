#include "base/cp1252.h"
#include "base/linereader.h"
#include "base/programfolder.h"
#include "base/textlines.h"
#include "tests/support/tempfolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

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

TEST(TextLines, AnyLineEndEndsALineAndBlankLinesMayBeLeftOut) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(splitLines(""), QStringList{});
    EXPECT_EQ(joinLinesCrLf({"x", QString(QChar(0xE9))}), QByteArray("x\r\n\xe9\r\n"));
    const TextLines kept("\r\n\n \t\xa0\rlast\xe9");
    ASSERT_EQ(kept.size(), 4);
    EXPECT_EQ(kept.at(2), QStringLiteral(" \t\u00a0"));
    EXPECT_EQ(kept.at(3), QStringLiteral("last\u00e9"));
    EXPECT_EQ(kept.bytesAt(3), QByteArrayView("last\xe9"));
    EXPECT_EQ(kept.longest(), 5);
    EXPECT_EQ(kept.at(4), QString());
    EXPECT_EQ(kept.at(-1), QString());
    EXPECT_TRUE(TextLines("\r\n\n \t\xa0\r", TextLines::Blank::Skipped).isEmpty());
}

TEST(TextLines, LinesAreFoundInAnyOrderFromTheirMarks) {
    // Lines of one byte and longer ones, with blank lines of every kind between them, some right before and
    // after the lines where a new mark begins.
    constexpr qsizetype Lines = 5 * TextLines::LinesPerMark + 7;
    QByteArray bytes;
    QStringList all;
    QStringList filled;
    for (qsizetype i = 0; i < Lines; ++i) {
        const QByteArray line =
            i % 3 == 0 ? QByteArray::number(i % 10) : QByteArray::number(i) + QByteArray(int(i % 50), 'y');
        bytes += line + (i % 2 ? "\n" : "\r\n");
        all << QString::fromLatin1(line);
        filled << QString::fromLatin1(line);
        if (i % TextLines::LinesPerMark == TextLines::LinesPerMark - 1 || i % 7 == 0) {
            bytes += "\r\n \t\r\xa0\n";
            all << QString() << QStringLiteral(" \t") << QStringLiteral("\u00a0");
        }
    }
    for (const auto& [blank, expected] :
         {std::pair{TextLines::Blank::Kept, all}, {TextLines::Blank::Skipped, filled}}) {
        const TextLines lines(bytes, blank);
        ASSERT_EQ(lines.size(), expected.size());
        // Backwards, then every 37th line around the text, then forwards: each line is the one asked for.
        for (qsizetype i = lines.size() - 1; i >= 0; --i)
            ASSERT_EQ(lines.at(i), expected[i]) << i;
        for (qsizetype k = 0, i = 0; k < lines.size(); ++k, i = (i + 37) % lines.size())
            ASSERT_EQ(lines.at(i), expected[i]) << i;
        for (qsizetype i = 0; i < lines.size(); ++i)
            ASSERT_EQ(lines.at(i), expected[i]) << i;
    }
}

TEST(TextLines, FilesAreWrittenWholeOrNotAtAll) {
    testsupport::TempProgramFolder home;
    const QString path = home.file("report.txt");
    ASSERT_TRUE(writeTextLines(path, {"one", "two"}));
    EXPECT_EQ(home.read("report.txt"), QByteArray("one\r\ntwo\r\n"));
    TextLines lines;
    ASSERT_TRUE(readTextLines(path, lines));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(1), "two");

    // A write into a folder that does not exist fails and says why.
    QString error;
    EXPECT_FALSE(writeTextLines(home.file("missing/x.txt"), {"a"}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(readTextLines(home.file("none.txt"), lines));
    EXPECT_EQ(lines.size(), 2);

    // A new file takes the old one's place instead of being written into it: a second name linked to the
    // old file keeps the old bytes.
    ASSERT_EQ(
        ::link(QFile::encodeName(path).constData(), QFile::encodeName(home.file("copy.txt")).constData()), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new\r\n"));
    EXPECT_EQ(home.read("report.txt"), QByteArray("new\r\n"));
    EXPECT_EQ(home.read("copy.txt"), QByteArray("one\r\ntwo\r\n"));

    // Lines written a block at a time: more than one block, each line whole.
    TextFileWriter writer(path);
    ASSERT_TRUE(writer.open());
    for (int i = 0; i < 20000; ++i)
        writer.add(QString::number(i));
    ASSERT_TRUE(writer.commit());
    ASSERT_TRUE(readTextLines(path, lines));
    ASSERT_EQ(lines.size(), 20000);
    EXPECT_EQ(lines.at(19999), "19999");

    // What a save cut off before its rename left beside the file goes at its next save; other names stay.
    // The new file has the old one's permissions, and a link is followed to the file it names.
    ASSERT_TRUE(home.write("report.txt.saving", "cut") && home.write("report.txt.kept", "old") &&
                home.write("report.txt.backup", "mine"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::link(path, home.file("link.txt")) &&
                writeFileAtomically(home.file("link.txt"), "new"));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files),
              (QStringList{"copy.txt", "link.txt", "report.txt", "report.txt.backup"}));
    EXPECT_TRUE(home.read("report.txt") == "new" && QFileInfo(home.file("link.txt")).isSymLink());
    EXPECT_FALSE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther));
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

    // A line longer than the reader takes stops it there, at that line.
    QByteArray longer("abc\r\nabcd\r\n");
    QBuffer bounded(&longer);
    ASSERT_TRUE(bounded.open(QIODevice::ReadOnly));
    LineReader short3(bounded, 3);
    EXPECT_EQ(short3.next(), "abc");
    EXPECT_EQ(short3.next(), std::nullopt);
    EXPECT_TRUE(short3.tooLong());
    EXPECT_EQ(short3.lineNumber(), 1);
}

TEST(LineReader, FirstLinesAreReadAndNoMore) {
    testsupport::TempProgramFolder home;
    // Two lines used, then an endless tail that is never gathered.
    ASSERT_TRUE(home.write("head.txt", "one\ntwo\r\n" + QByteArray(1 << 20, 'x')));
    QStringList lines;
    ASSERT_TRUE(readFirstLines(home.file("head.txt"), 2, 10, lines));
    EXPECT_EQ(lines, (QStringList{"one", "two"}));
    ASSERT_TRUE(readFirstLines(home.file("head.txt"), 1, 10, lines));
    EXPECT_EQ(lines, QStringList{"one"});
    QString error;
    EXPECT_FALSE(readFirstLines(home.file("head.txt"), 3, 10, lines, &error));
    EXPECT_EQ(error, "Line 3 is too long for its kind (at most 10 bytes)");
    EXPECT_EQ(lines, QStringList{"one"});
    EXPECT_FALSE(readFirstLines(home.file("none.txt"), 3, 10, lines, &error));
    EXPECT_FALSE(error.isEmpty());
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
