// Parameter files: the type line, the whole-file check before anything is sent, the write-and-verify
// pass, and the scrambling of a plain source into its parameter file.
#include "app/linescrambler.h"
#include "app/parameterfile.h"
#include "base/textlines.h"
#include "link/linkstate.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using app::ParameterFileCheck;
using app::ParameterFileKind;
using app::ParameterWrite;

namespace {

const app::LineScrambler Scrambler([] { return 17; });

QStringList stored(const QStringList& plain) {
    QStringList lines;
    for (const QString& line : plain)
        lines.append(Scrambler.EncodeLine(line));
    return lines;
}

QStringList toolFile(const QStringList& body) {
    return stored(QStringList{QStringLiteral("FILE TYPE: TOOL PARAMETERS"), QStringLiteral("Tool 4711")} +
                  body);
}

// Checks stored lines as a file of them reads, and where the reading stopped.
ParameterFileCheck check(const QStringList& lines, ParameterFileKind kind, qint64* stoppedAt = nullptr,
                         const QByteArray& tail = {}) {
    QByteArray bytes = base::joinLinesCrLf(lines) + tail;
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    ParameterFileCheck result = app::checkParameterFile(file, kind);
    if (stoppedAt)
        *stoppedAt = file.pos();
    return result;
}

// An EEPROM in memory behind the two transactions, with a location that never takes a write.
struct FakeEeprom {
    explicit FakeEeprom(clink::LinkState& state) : s(state) {}
    clink::LinkState& s;
    std::map<int, int> bytes;
    int stuckAddress = -1;
    int writes = 0;
    int reads = 0;
    int failWriteAt = -1;
    int failReadAt = -1;

    app::ParameterEeprom access() {
        return {[this](int a, int v) {
                    ++writes;
                    if (a == failWriteAt)
                        return false;
                    if (a != stuckAddress)
                        bytes[a] = v;
                    return true;
                },
                [this](int a) {
                    ++reads;
                    if (a == failReadAt)
                        return false;
                    s.DataBuffer.put(s.DataCount++, bytes.count(a) ? bytes[a] : 0xFF);
                    return true;
                }};
    }
};

} // namespace

TEST(ParameterFile, AcceptsItsTypeInAnyCaseButNothingElse) {
    const QStringList body{QStringLiteral("45,220")};
    EXPECT_EQ(check(toolFile(body), ParameterFileKind::Tool).result, ParameterFileCheck::Result::Ok);
    const QStringList lower =
        stored({QStringLiteral("file type: tool parameters"), QStringLiteral("x"), body[0]});
    EXPECT_EQ(check(lower, ParameterFileKind::Tool).result, ParameterFileCheck::Result::Ok);
    const QStringList trailing =
        stored({QStringLiteral("FILE TYPE: TOOL PARAMETERS "), QStringLiteral("x"), body[0]});
    EXPECT_EQ(check(trailing, ParameterFileKind::Tool).result, ParameterFileCheck::Result::WrongType);
    EXPECT_EQ(check(toolFile(body), ParameterFileKind::Transducer).result,
              ParameterFileCheck::Result::WrongType);
    const QStringList transducer =
        stored({QStringLiteral("File Type: External Transducer Parameters"), QStringLiteral("x"), body[0]});
    EXPECT_EQ(check(transducer, ParameterFileKind::Transducer).result, ParameterFileCheck::Result::Ok);
    // A file that ends before its second line.
    EXPECT_EQ(check(stored({QStringLiteral("FILE TYPE: TOOL PARAMETERS")}), ParameterFileKind::Tool).result,
              ParameterFileCheck::Result::WrongType);
    EXPECT_EQ(check({}, ParameterFileKind::Tool).result, ParameterFileCheck::Result::WrongType);
}

TEST(ParameterFile, ReadsEveryLineAfterTheSecond) {
    QStringList file = toolFile({QStringLiteral("45,220"), QString(), QStringLiteral("12,3,4"),
                                 QStringLiteral(" 1 023 , 2 55"), QStringLiteral("7,2.5")});
    file[1] = QStringLiteral("not scrambled at all, 99999,1"); // the free-text line is never decoded
    const ParameterFileCheck read = check(file, ParameterFileKind::Tool);
    ASSERT_EQ(read.result, ParameterFileCheck::Result::Ok);
    EXPECT_EQ(read.validLines, 4);
    EXPECT_EQ(read.lines, 5);
    EXPECT_EQ(read.writes, (std::vector<app::ParameterLine>{
                               {1, {45, 220}},
                               {3, {12, 4}}, // split at the last comma; "12,3" reads as 12
                               {4, {1023, 255}},
                               {5, {7, 2}}, // half to even
                           }));
}

TEST(ParameterFile, RefusesTheWholeFileForOneBadLine) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("1024,1"), QStringLiteral("InValid Address Value - Address > 1023")},
        {QStringLiteral("-1,1"), QStringLiteral("InValid Address Value - Address < 0")},
        {QStringLiteral("10,256"), QStringLiteral("InValid Data Value - Data > 255")},
        {QStringLiteral("10,-3"), QStringLiteral("InValid Data Value - Data < 0")},
        {QStringLiteral("10 20"), QStringLiteral("InValid Data Line - No Comma")},
    };
    const QStringList before = toolFile({QStringLiteral("1,1"), QStringLiteral("2,2")});
    for (const auto& [bad, text] : cases) {
        // Reading stops at the bad line: the junk after it is never read.
        qint64 stoppedAt = 0;
        const ParameterFileCheck refused =
            check(before + stored({bad, QStringLiteral("3,3")}), ParameterFileKind::Tool, &stoppedAt,
                  QByteArray(1 << 20, 'x'));
        EXPECT_EQ(refused.result, ParameterFileCheck::Result::BadData) << bad.toStdString();
        EXPECT_EQ(refused.errorText, text);
        EXPECT_TRUE(refused.writes.empty());
        EXPECT_LT(stoppedAt, 1 << 20);
    }
}

TEST(ParameterFile, WritesAndVerifiesEveryByte) {
    clink::LinkState s;
    FakeEeprom eeprom(s);
    const ParameterFileCheck file = check(toolFile({QString(), QStringLiteral("10,1"), QString(), QString(),
                                                    QStringLiteral("11,2"), QString()}),
                                          ParameterFileKind::Tool);
    std::vector<int> progress;
    EXPECT_EQ(app::transferParameterLines(file, eeprom.access(), s, [&](int n) { progress.push_back(n); }),
              app::ParameterTransfer::Done);
    EXPECT_EQ(eeprom.bytes, (std::map<int, int>{{10, 1}, {11, 2}}));
    EXPECT_EQ(eeprom.writes, 2);
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6})); // empty lines advance the progress too
}

TEST(ParameterFile, EndsAtSixMismatchingWritesOrAFailedWriteOrReadBack) {
    const ParameterFileCheck file =
        check(toolFile({QStringLiteral("10,1"), QStringLiteral("11,2"), QStringLiteral("12,3")}),
              ParameterFileKind::Tool);
    using app::ParameterTransfer;
    struct Fault {
        int stuck, failWrite, failRead;
        ParameterTransfer result;
        int writes, reads;
    };
    constexpr int Tries = 1 + app::ParameterWriteTries;
    for (const Fault& f : {Fault{11, -1, -1, ParameterTransfer::Mismatch, Tries, Tries},
                           Fault{-1, 11, -1, ParameterTransfer::WriteFailed, 2, 1},
                           Fault{-1, -1, 10, ParameterTransfer::ReadFailed, 1, 1}}) {
        clink::LinkState s;
        FakeEeprom eeprom(s);
        eeprom.stuckAddress = f.stuck;
        eeprom.failWriteAt = f.failWrite;
        eeprom.failReadAt = f.failRead;
        EXPECT_EQ(app::transferParameterLines(file, eeprom.access(), s, {}), f.result);
        EXPECT_EQ(eeprom.writes, f.writes);
        EXPECT_EQ(eeprom.reads, f.reads);
        EXPECT_EQ(eeprom.bytes.count(12), 0u);
    }
}

TEST(ParameterSource, NamesItsParameterFile) {
    EXPECT_TRUE(app::isParameterSourceName(QStringLiteral("/x/Tool.TXT")));
    EXPECT_TRUE(app::isParameterSourceName(QStringLiteral("/x/Tool.txt")));
    EXPECT_FALSE(app::isParameterSourceName(QStringLiteral("/x/Tool.text")));
    EXPECT_EQ(app::parameterFileNameFor(QStringLiteral("/x/Tool.TXT")), QStringLiteral("/x/Tool.prm"));
}

TEST(ParameterSource, ScramblesEveryLine) {
    QTemporaryDir dir;
    const QString source = QDir(dir.path()).filePath(QStringLiteral("Tool.Txt"));
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // A free-text line of any length is scrambled as it is.
    const QByteArray title = QByteArray("Tool 4711 \xe9").repeated(20000);
    f.write("FILE TYPE: TOOL PARAMETERS\n" + title + "\n45,220\n\n46,\xe9\n");
    f.close();
    // Every character draws its own factor, in turn.
    const auto drawing = [] {
        return app::LineScrambler([n = 0]() mutable { return app::LineScrambler::LowestFactor + n++ % 19; });
    };
    int started = -1;
    std::vector<int> progress;
    const app::EncryptResult r = app::encryptParameterSource(
        source, drawing(), [&](int n) { started = n; }, [&](int n) { progress.push_back(n); });
    ASSERT_TRUE(r.ok) << r.errorText.toStdString();
    EXPECT_EQ(r.output, QDir(dir.path()).filePath(QStringLiteral("Tool.prm")));
    EXPECT_EQ(started, 5);
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5}));
    const QStringList plain = {QStringLiteral("FILE TYPE: TOOL PARAMETERS"), QString::fromLatin1(title),
                               QStringLiteral("45,220"), QString(), QStringLiteral("46,\u00e9")};
    const app::LineScrambler whole = drawing();
    QStringList expected;
    for (const QString& line : plain)
        expected.append(whole.EncodeLine(line));
    QFile written(r.output);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll() == base::joinLinesCrLf(expected));
    QStringList decoded;
    for (const QString& line : std::as_const(expected))
        decoded.append(app::LineScrambler::DecodeLine(line));
    EXPECT_EQ(decoded, plain);
}

TEST(ParameterSource, ReportsWhatCouldNotBeReadOrWritten) {
    QTemporaryDir dir;
    const app::EncryptResult missing =
        app::encryptParameterSource(QDir(dir.path()).filePath("none.txt"), Scrambler, {}, {});
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.errorText.startsWith(QStringLiteral("Unable To Read File ")));

    // The parameter file's name is taken by a folder: nothing can be written there.
    const QString source = QDir(dir.path()).filePath(QStringLiteral("Tool.txt"));
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("FILE TYPE: TOOL PARAMETERS\r\n");
    f.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Tool.prm")));
    const app::EncryptResult blocked = app::encryptParameterSource(source, Scrambler, {}, {});
    EXPECT_FALSE(blocked.ok);
    EXPECT_TRUE(blocked.errorText.startsWith(QStringLiteral("Unable To Write File ")));
}
