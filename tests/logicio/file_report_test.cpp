// Logic files against hand-built bytes at the record offsets, the batch table file and its name, the file
// commands' messages (overwrite, unwritable, missing, damaged, no companion), and the printed report.
#include "logicio/batchtable.h"
#include "logicio/logiccatalogue.h"
#include "logicio/logiceditor.h"
#include "logicio/logicfile.h"
#include "logicio/logicreport.h"
#include "tests/logicio/logicfixture.h"

#include <QDate>
#include <QDir>
#include <QLocale>

using namespace logicio;
using base::MessageIcon;
using logictest::put;
using logictest::putText;
using logictest::RecordSize;

namespace {

using logictest::LongCondition;

QByteArray littleEndian16(int value) {
    QByteArray bytes(2, '\0');
    bytes[0] = char(value & 0xFF);
    bytes[1] = char((value >> 8) & 0xFF);
    return bytes;
}

class LogicFileTest : public logictest::LogicFixture {
protected:
    // Through the editor: rung 1 "Counter 1 = " 5 OR "Input 2 On" -> "Timer 2 Start" 30 s, refreshed;
    // rung 20 with the 48-character strategy condition.
    void buildProgram(LogicEditor& editor) {
        editor.load();
        editor.newProgram();
        editor.clickItem(1, QStringLiteral("Rung 1"));
        values->answers = {5, 30};
        editor.choose(0, 33);
        editor.choose(1, 1);
        editor.choose(2, 2);
        editor.choose(7, 72);
        editor.RefreshRung(1);
        editor.clickItem(58, QStringLiteral("Rung 20"));
        editor.choose(0, 62);
        editor.RefreshRung(20);
    }

    LogicEditor v2{module, LogicVariant::Version2};
    LogicEditor v3{module, LogicVariant::Version3};
};

} // namespace

TEST_F(LogicFileTest, SavedFilesEqualTheHandBuiltLayoutAndReloadUnchanged) {
    const QByteArray expected = logictest::goldenProgramFile();
    ASSERT_EQ(expected.size(), 27520);

    buildProgram(v2);
    answerFiles({path(QStringLiteral("Line1.Lio"))});
    v2.save();
    EXPECT_EQ(folder.read(QStringLiteral("Line1.Lio")), expected);
    EXPECT_EQ(v2.FileName(), path(QStringLiteral("Line1.Lio")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Line1B.Aio")))) << "a *.Lio file has no batch table";

    buildProgram(v3);
    module.batchTable().setWord(0, 0x1F);
    module.batchTable().setWord(55, -2);
    answerFiles({path(QStringLiteral("Line1.Bio"))});
    v3.save();
    EXPECT_EQ(folder.read(QStringLiteral("Line1.Bio")), expected);
    QByteArray companion(112, '\0');
    put(companion, 0, littleEndian16(0x1F));
    put(companion, 110, littleEndian16(-2));
    EXPECT_EQ(folder.read(QStringLiteral("Line1B.Aio")), companion);
    EXPECT_TRUE(dialogs->messages.empty());

    // Open -> save gives the same bytes, but for the long text: it comes back cut to 40 characters, and
    // the open rebuilds the summary from it.
    const LogicRungs saved = module.rungs();
    const BatchTable table = module.batchTable();
    v3.newProgram();
    module.batchTable().clear();
    answerFiles({path(QStringLiteral("Line1.Bio")), path(QStringLiteral("Again.Bio"))});
    v3.open();
    EXPECT_EQ(v3.CurrentRung(), 20);
    EXPECT_EQ(module.rungs()[20].In1Text, LongCondition.left(40));
    EXPECT_EQ(module.rungs()[20].In1, saved[20].In1);
    EXPECT_EQ(module.rungs()[1], saved[1]);
    EXPECT_EQ(module.batchTable(), table);
    EXPECT_EQ(module.batchTable().word(55), -2);
    v3.save();
    QByteArray reopened = expected;
    putText(reopened, 19 * RecordSize + 376, 500, ("Input  -> " + LongCondition.left(40)).toLatin1());
    EXPECT_EQ(folder.read(QStringLiteral("Again.Bio")), reopened);
    EXPECT_EQ(folder.read(QStringLiteral("AgainB.Aio")), companion);
    // From there on save -> open -> save is byte-identical.
    answerFiles({path(QStringLiteral("Again.Bio")), path(QStringLiteral("Third.Bio"))});
    v3.open();
    v3.save();
    EXPECT_EQ(folder.read(QStringLiteral("Third.Bio")), reopened);
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("File Open Successful"));
    EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("Open Logic I/O"));
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(v3.FileName(), path(QStringLiteral("Third.Bio")));
}

TEST(LogicFileRecord, TextsComeBackWithoutTheirBlanksAndCodesUnchanged) {
    LogicRung rung;
    rung.In1 = -7;
    rung.Out4 = 0x7FFFFFFF;
    rung.Op3 = 5;
    rung.In1Text = QStringLiteral("Counter 1 =  ");
    rung.In2Text = QStringLiteral("  lead\tand trail  ");
    rung.Out2Text = QStringLiteral("Ä caf\u00e9");
    rung.OutputSummary = QString(600, u'x');
    const QByteArray record = LogicFileRecord::encode(rung);
    ASSERT_EQ(record.size(), 1376);
    EXPECT_EQ(record.mid(0, 4), QByteArray::fromHex("F9FFFFFF"));
    EXPECT_EQ(record.mid(256, 6), QByteArray("\xC4 caf\xE9"));
    const LogicRung back = LogicFileRecord::decode(record);
    EXPECT_EQ(back.In1, -7);
    EXPECT_EQ(back.Out4, 0x7FFFFFFF);
    EXPECT_EQ(back.Op3, 5);
    EXPECT_EQ(back.In1Text, QStringLiteral("Counter 1 ="));
    EXPECT_EQ(back.In2Text, QStringLiteral("lead\tand trail"));
    EXPECT_EQ(back.Out2Text, rung.Out2Text);
    EXPECT_EQ(back.OutputSummary, QString(500, u'x'));

    LogicRungs rungs;
    rungs[3] = back;
    const QByteArray file = encodeLogicFile(rungs);
    LogicRungs read;
    ASSERT_TRUE(decodeLogicFile(file + QByteArray(10, 'z'), read));
    EXPECT_EQ(encodeLogicFile(read), file);
    EXPECT_FALSE(decodeLogicFile(file.left(27519), read));
    EXPECT_EQ(LogicFileRecord::decode(QByteArray::fromHex("2100")).In1, 0x21);
    EXPECT_EQ(LogicFileRecord::decode(QByteArray()).In1Text, QString());
}

TEST(BatchTableFile, NamedBesideTheLogicFileAndReadWhole) {
    EXPECT_EQ(batchCompanionName(QStringLiteral("/d/Line1.Bio")), QStringLiteral("/d/Line1B.Aio"));
    EXPECT_EQ(batchCompanionName(QStringLiteral("/d/Line4")), QStringLiteral("/d/Line4B.Aio"));
    EXPECT_EQ(batchCompanionName(QStringLiteral("/d.x/Line1")), QStringLiteral("/d.x/Line1B.Aio"));
    EXPECT_EQ(batchCompanionName(QStringLiteral("/d/x.Lio.Bio")), QStringLiteral("/d/x.LioB.Aio"));
    EXPECT_EQ(batchCompanionName(QStringLiteral("ab")), QStringLiteral("abB.Aio"));
    EXPECT_EQ(batchCompanionName(QStringLiteral("L.BIO")), QStringLiteral("LB.Aio"));
    EXPECT_EQ(batchCompanionName(QStringLiteral("a.b")), QStringLiteral("a.bB.Aio"));
    EXPECT_EQ(batchCompanionName(QStringLiteral("v1.2.b")), QStringLiteral("v1.2.bB.Aio"));

    BatchTable table;
    for (int i = 0; i < BatchTable::Words; ++i)
        table.setWord(i, int16_t(i * 601 - 9000));
    const BatchTable back = BatchTable::decode(table.encode());
    EXPECT_EQ(back, table);
    EXPECT_EQ(back.word(55), 55 * 601 - 9000);
    const BatchTable shortFile = BatchTable::decode(table.encode().left(7));
    EXPECT_EQ(shortFile.word(2), table.word(2));
    EXPECT_EQ(shortFile.word(3), 0);
    EXPECT_EQ(shortFile.word(55), 0);

    BatchTable batches;
    EXPECT_EQ(batches.setValue(3, BatchTable::BatchSize, 150), 99);
    EXPECT_EQ(batches.setValue(3, BatchTable::BatchSize, 0), 1);
    EXPECT_EQ(batches.setValue(8, BatchTable::NextInput, 13), 12);
    EXPECT_EQ(batches.word(55), 12);
    batches.setFlag(3, BatchTable::AdvancePset, true);
    EXPECT_EQ(batches.word(14), 16);
    batches.setFlag(2, BatchTable::Enable, true);
    batches.setFlag(2, BatchTable::Enable, false);
    EXPECT_EQ(batches.word(7), 0);
    EXPECT_TRUE(batches.flag(3, BatchTable::AdvancePset));
    batches.setValue(0, BatchTable::Pset, 5); // no batch chosen: nothing stored
    EXPECT_EQ(batches.word(1), 0);
    EXPECT_EQ(batches.word(-6), 0);
    EXPECT_EQ(BatchTable::decode(batches.encode()), batches);
}

TEST_F(LogicFileTest, OpenFindsTheBatchFileWhateverItsCaseAndZeroesAMissingOne) {
    buildProgram(v3);
    ASSERT_TRUE(writeLogicFile(path(QStringLiteral("line1.bio")), module.rungs()));
    BatchTable table;
    table.setWord(55, 7);
    ASSERT_TRUE(folder.write(QStringLiteral("LINE1B.AIO"), table.encode()));
    EXPECT_EQ(findBatchCompanion(path(QStringLiteral("line1.bio"))), path(QStringLiteral("LINE1B.AIO")));
    EXPECT_EQ(findBatchCompanion(path(QStringLiteral("other.bio"))), QString());

    answerFiles({path(QStringLiteral("line1.bio"))});
    v3.open();
    EXPECT_EQ(module.batchTable().word(55), 7);
    // Saving again replaces that companion, not a second one in another case.
    answerFiles({path(QStringLiteral("line1.bio"))});
    dialogs->okCancelAnswers.enqueue(true);
    module.batchTable().setWord(0, 3);
    v3.save();
    EXPECT_EQ(BatchTable::decode(folder.read(QStringLiteral("LINE1B.AIO"))).word(0), 3);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);

    // A *.Lio file opened in the batch editor: the rungs, then the missing batch table.
    ASSERT_TRUE(writeLogicFile(path(QStringLiteral("Line2.Lio")), module.rungs()));
    dialogs->messages.clear();
    answerFiles({path(QStringLiteral("Line2.Lio"))});
    v3.open();
    ASSERT_EQ(dialogs->messageTexts(), QStringList({QStringLiteral("Batch Counting File does not exist"),
                                                    QStringLiteral("File Open Successful")}));
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(module.batchTable(), BatchTable());
    EXPECT_EQ(v3.FileName(), path(QStringLiteral("Line2.Lio")));
}

TEST_F(LogicFileTest, FailedOpensAndSavesChangeNothingAndSaySo) {
    buildProgram(v2);
    const LogicRungs program = module.rungs();
    ASSERT_TRUE(folder.write(QStringLiteral("Short.Lio"), logictest::newProgramFile().left(27519)));
    ASSERT_TRUE(folder.write(QStringLiteral("Old.Lio"), "old contents"));

    answerFiles({QString(), path(QStringLiteral("None.Lio")), path(QStringLiteral("Short.Lio"))});
    v2.open();
    v2.open();
    v2.open();
    EXPECT_EQ(module.rungs(), program);
    EXPECT_EQ(v2.FileName(), QString());
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("This file does not exist"));
    EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("Open Logic I/O"));
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(dialogs->messages[1].text, "Invalid OR Corrupt File\n" + path(QStringLiteral("Short.Lio")));

    dialogs->messages.clear();
    const QString unwritable = path(QStringLiteral("no such folder/New.Lio"));
    answerFiles({QString(), path(QStringLiteral("Old.Lio")), unwritable});
    dialogs->okCancelAnswers.enqueue(false);
    v2.save();
    v2.save();
    v2.save();
    EXPECT_EQ(folder.read(QStringLiteral("Old.Lio")), QByteArray("old contents"));
    ASSERT_EQ(dialogs->asked.size(), 1u);
    EXPECT_EQ(dialogs->asked[0].text, QStringLiteral("This file already exists. - Overwrite File ?"));
    EXPECT_EQ(dialogs->asked[0].caption, QStringLiteral("File Exists Warning"));
    EXPECT_EQ(dialogs->asked[0].icon, MessageIcon::None);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              "Unable to write file " + unwritable + "\r\nNo such file or directory");
    EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("File Error"));
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(v2.FileName(), QString());
}

TEST(LogicReport, NewProgramAndJoinedTexts) {
    LogicRungs rungs;
    QStringList report = makeLogicReport(rungs, QString(), QStringLiteral("09/03/2026"));
    ASSERT_EQ(report.size(), 125);
    EXPECT_EQ(report.mid(0, 5),
              QStringList({QStringLiteral("Company : Brenstal"), QStringLiteral("Type    : Logic I/O"),
                           QStringLiteral("Filename: "), QStringLiteral("Date    : 09/03/2026"),
                           QStringLiteral(" ")}));
    for (int r = 1; r <= 20; ++r) {
        const int first = 5 + 6 * (r - 1);
        EXPECT_EQ(report[first],
                  QStringLiteral("-------------------------- RUNG #%1 --------------------------").arg(r));
        EXPECT_EQ(report[first + 1], QStringLiteral("Input  -> "));
        EXPECT_EQ(report[first + 2], QStringLiteral("Output -> "));
        EXPECT_EQ(report[first + 3], QString(61, u'-'));
        EXPECT_EQ(report[first + 4], QStringLiteral("   "));
        EXPECT_EQ(report[first + 5], QStringLiteral("   "));
    }

    rungs[2].In1Text = QStringLiteral("Input 1 On");
    rungs[2].In2Text = QStringLiteral("Torque Hi");
    rungs[2].In4Text = QStringLiteral("Angle Lo");
    rungs[2].Op3Text = QStringLiteral("OR");
    rungs[2].Out1Text = QStringLiteral("Red Light On");
    rungs[2].Out2Text = QStringLiteral("Output 1 On");
    rungs[3].Out2Text = QStringLiteral("Output 2 On");
    rungs[2].InputSummary = QStringLiteral("not used by the report");
    report = makeLogicReport(rungs, QStringLiteral("/d/Line1.Bio"), QString());
    EXPECT_EQ(report[2], QStringLiteral("Filename: /d/Line1.Bio"));
    EXPECT_EQ(report[12], QStringLiteral("Input  -> Input 1 On  AND  Torque Hi  OR  Angle Lo"));
    EXPECT_EQ(report[13], QStringLiteral("Output -> Red Light On & Output 1 On"));
    EXPECT_EQ(report[19], QStringLiteral("Output ->  & Output 2 On"));
}

TEST_F(LogicFileTest, PrintWritesTheReportAndShowsIt) {
    services.now = [] { return QDateTime(QDate(2026, 3, 9), QTime(14, 5, 7)); };
    dialogs->printerPresent = false;
    v3.load();
    v3.print();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("No Printer Was Found"));
    EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("Print File Error"));
    EXPECT_TRUE(viewer->shown.empty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Default.txt"))));

    dialogs->printerPresent = true;
    v3.print();
    const QString date = QLocale::system().toString(QDate(2026, 3, 9), QLocale::ShortFormat);
    const QStringList report = makeLogicReport(module.rungs(), QString(), date);
    ASSERT_EQ(viewer->shown.size(), 1u);
    EXPECT_EQ(viewer->shown[0].text, report.join(u'\n'));
    const QByteArray file = folder.read(QStringLiteral("Default.txt"));
    EXPECT_TRUE(file.startsWith("Company : Brenstal\r\nType    : Logic I/O\r\nFilename: \r\nDate    : "));
    EXPECT_TRUE(file.endsWith("   \r\n   \r\n"));
    EXPECT_EQ(file.count("\r\n"), 125);
}
