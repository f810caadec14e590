// Ladder files and the printout: the bytes of a known project, save -> load -> save, what a load takes
// from the records, damaged and missing files that leave the project as it was, a failed write.
#include "base/textlines.h"
#include "ladder/laddereditor.h"
#include "ladder/plcfile.h"
#include "ladder/printout.h"
#include "tests/ladder/ladderprograms.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/tempfolder.h"

#include <QBuffer>
#include <QFile>
#include <QSet>

#include <random>

#include <gtest/gtest.h>

using namespace ladder;

namespace {

QByteArray golden(const QString& name) {
    QFile file(QStringLiteral(PALVERIN_GOLDEN_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray record(const QString& relative, const QString& key, const QString& text, const QString& image,
                  const QString& value) {
    return PlcNodeRecord{relative, key, text, image, value}.encode();
}

// Opens, saves and opens again: the second tree is the first, and its file the same bytes.
void expectSameAfterSaveAndReopen(const QByteArray& file, const char* what) {
    const PlcFileLoad first = readPlcProgram(file);
    if (!first.program)
        return;
    const QByteArray saved = plcFileBytes(*first.program);
    const PlcFileLoad again = readPlcProgram(saved);
    ASSERT_TRUE(again.program) << what;
    EXPECT_TRUE(*again.program == *first.program) << what;
    EXPECT_EQ(plcFileBytes(*again.program), saved) << what;
}

class LadderFileTest : public ::testing::Test {
protected:
    // One rung: counter 3's condition under the inputs, the switch to parameter set 3 (also code 50)
    // under the outputs, counter 3 at 12.
    void buildOneRungProject() {
        editor.addRung();
        editor.setCounterPreset(3, 12);
        const int inputs = editor.program().inputsNode(1);
        const int outputs = editor.program().outputsNode(1);
        editor.showGroup(3);
        ASSERT_TRUE(editor.placeElement(inputs, 2));
        editor.showGroup(12);
        ASSERT_TRUE(editor.placeElement(outputs, 2));
    }

    testsupport::TempProgramFolder folder;
    testsupport::ScriptedDialogs dialogs;
    LadderEditor editor{dialogs};
};

} // namespace

TEST_F(LadderFileTest, AProjectIsWrittenByteForByteAndReadsBackTheSame) {
    buildOneRungProject();
    const QString path = folder.file(QStringLiteral("one.Plc"));
    ASSERT_TRUE(editor.writeProject(path));
    const QByteArray bytes = folder.read(QStringLiteral("one.Plc"));
    EXPECT_EQ(bytes, golden(QStringLiteral("one_rung_counter.Plc")));
    ASSERT_EQ(bytes.size(), 5 * 114);
    EXPECT_EQ(bytes.left(114), "Start" + QByteArray(30, ' ') + "Rung 1" + QByteArray(29, ' ') + "Rung 1" +
                                   QByteArray(24, ' ') + "8   0         ");
    const QByteArray counter = bytes.mid(3 * 114, 114);
    EXPECT_EQ(counter.mid(0, 35), "Inputs 1" + QByteArray(27, ' '));
    EXPECT_EQ(counter.mid(35, 14), QByteArray("Counter 3 = 12"));
    EXPECT_EQ(counter.mid(100, 14), QByteArray("50  12        "));
    EXPECT_EQ(bytes.mid(4 * 114 + 100, 14), QByteArray("50  12        ")); // the switch carries it too

    // Loading takes counter 3 from the condition only; save -> load -> save is byte-identical.
    LadderEditor other(dialogs);
    std::optional<LadderProgram> loaded = other.readProject(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->presets.cwCounter(3), 12);
    EXPECT_EQ(loaded->RungCount, 1);
    other.adoptOpenedProject(std::move(*loaded), path);
    EXPECT_EQ(other.saveMenus(), (SaveMenus{false, true}));
    EXPECT_EQ(other.statusText(), QStringLiteral("File Loaded: ") + path);
    EXPECT_EQ(other.CurrentFileName(), path);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("File Opened Successfully"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("File Open"));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Exclamation);
    EXPECT_EQ(plcFileBytes(other.program()), bytes);

    // A switch to parameter set 3 with another value does not restore counter 3.
    QByteArray switchOnly = bytes.left(3 * 114);
    switchOnly +=
        record(QStringLiteral("Outputs 1"), QStringLiteral("Switch To Parameter Set 3"),
               QStringLiteral("Switch To Parameter Set 3"), QStringLiteral("50"), QStringLiteral("77"));
    EXPECT_EQ(readPlcProgram(switchOnly).program->presets.cwCounter(3), 1);
}

TEST_F(LadderFileTest, AFullProjectWhoseKeysRepeatOnceStoredIsSavedAgainByteForByte) {
    // Thirty full rungs (group, entry) keyed by the editor: strategies of 49 characters (one key once cut),
    // no socket (38), counter 1 placed three times then set to 7, Red Light On 120 times.
    const std::vector<std::pair<int, int>> rung = {{5, 1},  {5, 2},  {7, 0}, {3, 0}, {3, 0}, {3, 0},
                                                   {0, 0},  {0, 1},  {9, 9}, {9, 9}, {9, 9}, {9, 9},
                                                   {16, 1}, {16, 1}, {9, 6}, {9, 6}};
    for (int n = 1; n <= MaximumRungs; ++n) {
        ASSERT_TRUE(editor.addRung());
        for (const auto& [group, entry] : rung) {
            editor.showGroup(group);
            const int inputs = editor.program().inputsNode(n);
            ASSERT_TRUE(editor.placeElement(
                editor.canPlace(inputs) ? inputs : editor.program().outputsNode(n), entry));
        }
    }
    editor.setCounterPreset(1, 7);
    const QByteArray saved = plcFileBytes(editor.program());
    QSet<QByteArray> keys;
    for (qsizetype at = 0; at < saved.size(); at += PlcNodeRecord::Size)
        keys.insert(saved.mid(at + PlcNodeRecord::RelativeWidth, PlcNodeRecord::KeyWidth));
    EXPECT_EQ(keys.size(), 173); // of 570
    // Each refusal of the run is carried to the next node's key.
    const LadderTree& tree = editor.tree();
    EXPECT_EQ(tree.node(tree.find(QStringLiteral("Counter 1 = 7 1 2"))).parent,
              editor.program().inputsNode(1));

    const PlcFileLoad opened = readPlcProgram(saved);
    ASSERT_TRUE(opened.program);
    EXPECT_EQ(plcFileBytes(*opened.program), saved);
    expectSameAfterSaveAndReopen(saved, "full project");
}

TEST_F(LadderFileTest, ALoadKeepsRepeatedKeysTakesPresetsAndIgnoresAPartialTail) {
    LadderProgram program = LadderProgram::empty();
    laddertest::addRung(program, {1}, {96, 98, 97});
    program.presets.setTimer(1, 20.4);
    program.presets.setTimer(2, 3);
    program.tree.setText(6, QStringLiteral("Start of timer 2"));
    QByteArray file = plcFileBytes(program);
    // A timer 2 start whose text does not say so carries no preset: "0", and nothing is read back.
    EXPECT_EQ(file.mid(5 * 114 + 104, 10), QByteArray("0         "));
    EXPECT_EQ(file.mid(4 * 114 + 104, 10), QByteArray("20.4      "));
    file += record(QStringLiteral("Inputs 1"), QStringLiteral("Input 1 On"), QStringLiteral("Input 1 On"),
                   QStringLiteral("1"), QStringLiteral("0"));
    file += record(QStringLiteral("Inputs 1"), QStringLiteral("Counter 1 = 120"),
                   QStringLiteral("Counter 1 = 120"), QStringLiteral("48"), QStringLiteral("120"));
    file += QByteArray(50, 'x');

    const PlcFileLoad load = readPlcProgram(file);
    ASSERT_TRUE(load.program);
    const LadderTree& tree = load.program->tree;
    EXPECT_EQ(tree.count(), 1 + 3 + 3 + 1 + 2);
    // A repeated key no later record names stays on its node; find() gives the first.
    const int repeated = tree.count() - 2;
    EXPECT_EQ(tree.node(repeated).key, keyField(QStringLiteral("Input 1 On")));
    EXPECT_EQ(tree.find(keyField(QStringLiteral("Input 1 On"))), 4);
    EXPECT_EQ(tree.node(repeated).parent, tree.find(keyField(QStringLiteral("Inputs 1"))));
    EXPECT_EQ(load.program->presets.cwTimer(1), 20.4);
    EXPECT_EQ(load.program->presets.cwTimer(2), 1);
    EXPECT_EQ(load.program->presets.cwCounter(1), 99); // brought into the control's range
    EXPECT_EQ(load.program->RungCount, 1);

    // An empty file is the root alone.
    const PlcFileLoad empty = readPlcProgram(QByteArray());
    ASSERT_TRUE(empty.program);
    EXPECT_EQ(empty.program->tree.count(), 1);
}

TEST_F(LadderFileTest, DamagedOrMissingFilesLeaveTheProjectAsItWas) {
    buildOneRungProject();
    const LadderProgram before = editor.program();
    const QByteArray good = plcFileBytes(before);
    const QString path = folder.file(QStringLiteral("bad.Plc"));
    struct Damage {
        int record;
        QByteArray bytes;
    };
    const std::vector<Damage> damages = {
        {2, good.left(114) + record(QStringLiteral("Rung 7"), QStringLiteral("Inputs 7"),
                                    QStringLiteral("Inputs"), QStringLiteral("2"), QStringLiteral("0"))},
        {4, good.left(3 * 114) + record(QStringLiteral("Inputs 1"), QStringLiteral("x"), QStringLiteral("x"),
                                        QStringLiteral("256"), QStringLiteral("0"))},
        {5, good.left(4 * 114) + record(QStringLiteral("Outputs 1"), QStringLiteral("y"), QStringLiteral("y"),
                                        QStringLiteral("-1"), QStringLiteral("0"))},
        // Nothing hangs under an element: a ladder is never deeper than root, rung, list and element.
        {5, good.left(4 * 114) + record(QStringLiteral("Counter 3 = 12"), QStringLiteral("z"),
                                        QStringLiteral("z"), QStringLiteral("1"), QStringLiteral("0"))},
    };
    for (const Damage& damage : damages) {
        // Reading ends at the damaged record, whatever follows it, and the file stays as it was.
        QByteArray bytes = damage.bytes + QByteArray(1 << 20, '\n');
        ASSERT_TRUE(folder.write(QStringLiteral("bad.Plc"), bytes));
        dialogs.messages.clear();
        EXPECT_FALSE(editor.readProject(path));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("File is damaged (record %1)").arg(damage.record));
        EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("File Error"));
        EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
        EXPECT_EQ(folder.read(QStringLiteral("bad.Plc")), bytes);
        QBuffer file(&bytes);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(readPlcProgram(file).damagedRecord, damage.record);
        EXPECT_EQ(file.pos(), damage.record * PlcNodeRecord::Size);
    }
    dialogs.messages.clear();
    EXPECT_FALSE(editor.readProject(folder.file(QStringLiteral("missing.Plc"))));
    ASSERT_EQ(dialogs.messageTexts(), QStringList({QStringLiteral("File does not exists")}));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("File Error"));
    EXPECT_EQ(editor.program(), before);

    // A write that cannot be made leaves the project's name and the old file alone.
    ASSERT_TRUE(editor.saveAs(path));
    EXPECT_FALSE(editor.saveAs(folder.file(QStringLiteral("no-such-folder/x.Plc"))));
    EXPECT_EQ(editor.CurrentFileName(), path);
    EXPECT_EQ(folder.read(QStringLiteral("bad.Plc")), good);
}

TEST(LadderFileIdentity, RepeatedKeysKeepTheirBytesAndEveryNodeUnderItsOwnParentAfterSaveAndReopen) {
    // "Outputs 1" repeats: kept while no record names it, so the file is saved as it was. Once a later
    // record names it as its parent, that record hangs under the first and the repeat is renamed to a key
    // no record of the file has ("Outputs 11" is rung 11's): rung 11's outputs and element stay under it.
    // "Outputs 11" repeats after the element that names it, and stays.
    QByteArray file;
    for (const int n : {1, 11}) {
        const QString rung = QStringLiteral("Rung %1").arg(n);
        file += record(QStringLiteral("Start"), rung, rung, QStringLiteral("8"), QStringLiteral("0"));
        if (n == 1)
            file += record(rung, QStringLiteral("Outputs 1"), QStringLiteral("Outputs"), QStringLiteral("17"),
                           QStringLiteral("0"));
        file += record(rung, QStringLiteral("Outputs %1").arg(n), QStringLiteral("Outputs"),
                       QStringLiteral("17"), QStringLiteral("0"));
    }
    file += record(QStringLiteral("Outputs 11"), QStringLiteral("Red Light On"),
                   QStringLiteral("Red Light On"), QStringLiteral("121"), QStringLiteral("0")) +
            record("Rung 11", "Outputs 11", "Outputs", "17", "0");
    const auto key = [](const char* text) { return keyField(QString::fromLatin1(text)); };
    for (const bool named : {false, true}) {
        if (named)
            file += record(QStringLiteral("Outputs 1"), QStringLiteral("Red Light Off"),
                           QStringLiteral("Red Light Off"), QStringLiteral("11"), QStringLiteral("0"));
        const PlcFileLoad load = readPlcProgram(file);
        ASSERT_TRUE(load.program);
        const LadderTree& tree = load.program->tree;
        const int rung11 = tree.find(key("Rung 11"));
        EXPECT_EQ(tree.node(tree.find(key("Outputs 11"))).parent, rung11);
        EXPECT_EQ(tree.node(tree.node(tree.find(key("Red Light On"))).parent).parent, rung11);
        EXPECT_EQ(tree.node(3).key, key(named ? "Outputs 12" : "Outputs 1"));
        EXPECT_EQ(plcFileBytes(*load.program) == file, !named);
        if (named) {
            EXPECT_EQ(tree.node(tree.find(key("Red Light Off"))).parent, 2);
        } else {
            // Placing under the repeat gives it a key of its own first, so the element stays under it once
            // saved and opened again; an element keyed like a list node takes nothing.
            LadderProgram program = *load.program;
            const int element = *program.tree.add(5, key("Outputs 5"), key("Outputs 5"), 17);
            testsupport::ScriptedDialogs dialogs;
            LadderEditor editor(dialogs);
            editor.adoptOpenedProject(std::move(program), {});
            editor.showGroup(9);
            EXPECT_FALSE(editor.canPlace(element));
            ASSERT_TRUE(editor.placeElement(3, 9));
            const PlcFileLoad edited = readPlcProgram(plcFileBytes(editor.program()));
            ASSERT_TRUE(edited.program);
            EXPECT_EQ(edited.program->tree.node(edited.program->tree.count() - 1).parent, 3);
        }
        expectSameAfterSaveAndReopen(file, named ? "named" : "kept");
    }

    // Generated files: keys drawn from a few that repeat and run into each other once numbered (longer
    // than the field too), parents among the keys so far, any image and value. Every file the reader
    // takes comes back the same.
    std::mt19937 random(49);
    const QStringList keys = {QStringLiteral("Rung 1"),
                              QStringLiteral("Rung 11"),
                              QStringLiteral("Outputs 1"),
                              QStringLiteral("Outputs 11"),
                              QStringLiteral("Outputs 12"),
                              QStringLiteral("Counter 1 = 5"),
                              QStringLiteral("Timer 1 Start (3)"),
                              QString(40, u'k'),
                              QString(34, u'k') + u'1',
                              QStringLiteral(" Lead")};
    const QStringList values = {QStringLiteral("0"),   QStringLiteral("12"),  QStringLiteral("20.4"),
                                QStringLiteral("300"), QStringLiteral("0.5"), QStringLiteral("x")};
    const auto pick = [&random](const QStringList& from) {
        return from[qsizetype(random() % quint32(from.size()))];
    };
    int accepted = 0;
    for (int round = 0; round < 300; ++round) {
        QStringList placed = {QStringLiteral("Start")};
        QByteArray generated;
        for (int n = int(random() % 24); n > 0; --n) {
            const QString key = pick(keys);
            const int image = int(random() % 3) == 0 ? 48 + int(random() % 8) : 96 + int(random() % 6);
            generated += record(pick(placed), key, random() % 2 ? key : QStringLiteral("Timer 1 Start"),
                                QString::number(image), pick(values));
            placed += key;
        }
        accepted += readPlcProgram(generated).program ? 1 : 0;
        expectSameAfterSaveAndReopen(generated, qPrintable(QString::number(round)));
    }
    EXPECT_GT(accepted, 100);
}

TEST(RungPrintout, OneLinePerNodeWithItsPathOfTexts) {
    LadderProgram program = LadderProgram::empty();
    laddertest::addRung(program, {}, {});
    EXPECT_EQ(rungPrintout(program.tree).size(), 4);
    laddertest::addRung(program, {}, {114});
    const QString root = textField(QStringLiteral("Brenstal - Logic I/O"));
    const QStringList lines = rungPrintout(program.tree);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], root);
    EXPECT_EQ(lines[1], root + QStringLiteral("\\Rung 1") + QString(24, u' '));
    EXPECT_EQ(lines[7], root + QStringLiteral("\\") + textField(QStringLiteral("Rung 2")) +
                            QStringLiteral("\\") + textField(QStringLiteral("Outputs")) +
                            QStringLiteral("\\-"));
    EXPECT_TRUE(base::joinLinesCrLf(lines).endsWith("\\-\r\n"));
}
