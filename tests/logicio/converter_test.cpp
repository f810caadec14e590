// The ladder converter: a synthesised ladder file converts to the expected logic file byte for byte
// (combined inputs, counter and timer values, a repeated element, rung 10 apart from rung 1); the limits
// of a rung table and values that would spill into the code refuse the conversion and write nothing.
#include "base/numbertext.h"
#include "ladder/laddereditor.h"
#include "ladder/plcfile.h"
#include "ladder/plcnoderecord.h"
#include "logicio/ladderconverter.h"
#include "tests/logicio/logicfixture.h"

#include <algorithm>
#include <set>

using namespace logicio;
using base::MessageIcon;
using logictest::put;
using logictest::putText;
using logictest::RecordSize;

namespace {

ladder::PlcNodeRecord node(const QString& parent, const QString& key,
                           const QString& value = QStringLiteral("0"), const QString& text = {}) {
    return {parent, key, text.isEmpty() ? key : text, QStringLiteral("1"), value};
}

ladder::PlcNodeRecord input(int r, const QString& key, const QString& value = QStringLiteral("0"),
                            const QString& text = {}) {
    return node(QStringLiteral("Inputs %1").arg(r), key, value, text);
}

ladder::PlcNodeRecord output(int r, const QString& key, const QString& value = QStringLiteral("0")) {
    return node(QStringLiteral("Outputs %1").arg(r), key, value);
}

// The elements after the rung, inputs and outputs nodes of every rung they name, as a ladder file holds
// them: each node after its parent.
std::vector<ladder::PlcNodeRecord> withRungs(const std::vector<ladder::PlcNodeRecord>& elements) {
    std::set<int> rungs;
    for (const ladder::PlcNodeRecord& element : elements)
        rungs.insert(element.Relative.section(u' ', 1, 1).toInt());
    std::vector<ladder::PlcNodeRecord> file;
    for (const int r : rungs) {
        const QString rung = QStringLiteral("Rung %1").arg(r);
        file.push_back(node(QStringLiteral("Start"), rung));
        file.push_back(node(rung, QStringLiteral("Inputs %1").arg(r)));
        file.push_back(node(rung, QStringLiteral("Outputs %1").arg(r)));
    }
    file.insert(file.end(), elements.begin(), elements.end());
    return file;
}

std::vector<ladder::PlcNodeRecord> ladderProgram() {
    std::vector<ladder::PlcNodeRecord> nodes = {
        input(1, QStringLiteral("Torque Or Angle Lo")),
        input(1, QStringLiteral("Counter 2 = 7"), QStringLiteral("7")),
        output(10, QStringLiteral("Display Counter 4 Count")),
        output(1, QStringLiteral("Timer 2 Start (5)"), QStringLiteral("5")),
        output(1, QStringLiteral("Yellow Light On")),
        input(10, QStringLiteral("Input 1 On")),
        input(10, QStringLiteral("Input 1 On1"), QStringLiteral("0"), QStringLiteral("Input 1 On")),
    };
    // Nodes beyond rung 30 are never looked at, however many.
    for (int i = 0; i < 600; ++i)
        nodes.push_back(input(31 + i % 3, QStringLiteral("Input 2 On")));
    return nodes;
}

// The expected logic file, byte by byte.
QByteArray expectedLio() {
    QByteArray file;
    for (int r = 1; r <= 20; ++r)
        file += logictest::emptyRecord(QStringLiteral("Input %1  -> ").arg(r).toLatin1(),
                                       QStringLiteral("Output %1  -> ").arg(r).toLatin1());
    put(file, 0, QByteArray::fromHex("001E0000"));  // "Torque Lo" 30 x 256
    put(file, 4, QByteArray::fromHex("00200000"));  // "Angle Lo" 32 x 256
    put(file, 8, QByteArray::fromHex("07220000"));  // "Counter 2 = " 7: 8711
    put(file, 16, QByteArray::fromHex("01000000")); // OR inside the pair
    put(file, 28, QByteArray::fromHex("05480000")); // "Timer 2 Start" 5 s: 18437
    put(file, 32, QByteArray::fromHex("00010000")); // "Yellow Light On"
    putText(file, 44, 40, "Torque Lo");
    putText(file, 84, 40, "Angle Lo");
    putText(file, 124, 40, "Counter 2 = 7");
    putText(file, 204, 4, "OR");
    putText(file, 216, 40, "Timer 2 Start (5 Sec)");
    putText(file, 256, 40, "Yellow Light On");
    putText(file, 376, 500, "Input 1  -> Torque Lo    OR  Angle Lo    AND  Counter 2 = 7");
    putText(file, 876, 500, "Output 1  -> Timer 2 Start (5 Sec)    Yellow Light On");
    const int r10 = 9 * RecordSize;
    put(file, r10, QByteArray::fromHex("00010000"));
    put(file, r10 + 4, QByteArray::fromHex("00010000")); // the repeated element, found by its text
    putText(file, r10 + 44, 40, "Input 1 On");
    putText(file, r10 + 84, 40, "Input 1 On");
    putText(file, r10 + 216, 40, "Display Counter 4 Count"); // not a converter name: code 0
    putText(file, r10 + 376, 500, "Input 10  -> Input 1 On    AND  Input 1 On");
    putText(file, r10 + 876, 500, "Output 10  -> Display Counter 4 Count");
    return file;
}

class LadderConverterTest : public logictest::LogicFixture {
protected:
    QString writeLadder(const QByteArray& bytes) {
        const QString name = QStringLiteral("Old.Plc");
        EXPECT_TRUE(folder.write(name, bytes));
        return path(name);
    }

    // Converts a ladder file through the window's core; true when it got as far as the save dialog.
    bool convert(const QByteArray& file) {
        answerFiles({writeLadder(file), path(QStringLiteral("New.Lio"))});
        LadderConverter converter(services);
        converter.convertFile();
        lines = converter.lines();
        const bool reachedSave = dialogs->fileNames.isEmpty();
        dialogs->fileNames.clear();
        return reachedSave;
    }
    // Converts the elements in a ladder file of their rungs.
    bool convert(const std::vector<ladder::PlcNodeRecord>& elements) {
        return convert(ladder::encodePlcRecords(withRungs(elements)) + "partial record");
    }

    QStringList lines;
};

} // namespace

TEST_F(LadderConverterTest, ConvertsALadderFileByteForByte) {
    ASSERT_TRUE(convert(ladderProgram()));
    EXPECT_EQ(folder.read(QStringLiteral("New.Lio")), expectedLio());
    EXPECT_TRUE(dialogs->messages.empty());
    ASSERT_EQ(lines.size(), 61);
    EXPECT_EQ(lines.mid(0, 3),
              QStringList({QStringLiteral(" "),
                           QStringLiteral("Input 1  -> Torque Lo    OR  Angle Lo    AND  Counter 2 = 7"),
                           QStringLiteral("Output 1  -> Timer 2 Start (5 Sec)    Yellow Light On")}));
    EXPECT_EQ(lines[27], QStringLiteral(" "));
    EXPECT_EQ(lines[30], QStringLiteral("Rung 10 -> Unknown Element: Display Counter 4 Count"));
    EXPECT_EQ(lines[60], QStringLiteral("Output 20  -> "));

    // Over an existing file: the overwrite question, and Cancel leaves it.
    ASSERT_TRUE(folder.write(QStringLiteral("New.Lio"), "kept"));
    dialogs->okCancelAnswers.enqueue(false);
    ASSERT_TRUE(convert(ladderProgram()));
    EXPECT_EQ(folder.read(QStringLiteral("New.Lio")), QByteArray("kept"));
    EXPECT_EQ(dialogs->questions,
              QStringList({QStringLiteral("This file already exists. - Overwrite File ?")}));
}

TEST_F(LadderConverterTest, RungsBeyondTheTableRefuseTheConversion) {
    const auto refused = [&](std::vector<ladder::PlcNodeRecord> nodes, const QString& message) {
        dialogs->messages.clear();
        EXPECT_FALSE(convert(nodes)) << message.toStdString();
        ASSERT_EQ(dialogs->messages.size(), 1u) << message.toStdString();
        EXPECT_EQ(dialogs->messages[0].text, message);
        EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("Convert File"));
        EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(lines.isEmpty());
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("New.Lio"))));
    };
    // A combined input counts twice, also when its key carries a number.
    std::vector<ladder::PlcNodeRecord> five = {
        input(2, QStringLiteral("Input 1 On")), input(2, QStringLiteral("Input 2 On")),
        input(2, QStringLiteral("Input 3 On")),
        input(2, QStringLiteral("Torque Or Angle Hi1"), QStringLiteral("0"),
              QStringLiteral("Torque Or Angle Hi"))};
    refused(five, QStringLiteral("Unable To Convert File -> Rung 2 Has More Than 4 Inputs"));
    std::vector<ladder::PlcNodeRecord> outputs;
    for (int i = 1; i <= 5; ++i)
        outputs.push_back(output(3, QStringLiteral("Output %1 On").arg(i)));
    refused(outputs, QStringLiteral("Unable To Convert File -> Rung 3 Has More Than 4 Outputs"));
    refused({input(1, QStringLiteral("Input 1 On")), output(21, QStringLiteral("Red Light On"))},
            QStringLiteral("Unable To Convert File -> More Than 20 Rungs"));
    refused({input(4, QStringLiteral("Counter 1 = 300"), QStringLiteral("300"))},
            QStringLiteral("Unable To Convert File -> Rung 4 Has A Value Out Of Range"));
    refused({input(4, QStringLiteral("Counter 1 = 5"), QStringLiteral("-1"))},
            QStringLiteral("Unable To Convert File -> Rung 4 Has A Value Out Of Range"));
    refused({output(6, QStringLiteral("Timer 1 Start (241)"), QStringLiteral("241"))},
            QStringLiteral("Unable To Convert File -> Rung 6 Has A Value Out Of Range"));

    // The limits themselves convert.
    const LadderConversion limits =
        convertLadder({input(4, QStringLiteral("Counter 8 = 255"), QStringLiteral("255.9")),
                       output(4, QStringLiteral("Timer 3 Start (240)"), QStringLiteral("240"))});
    ASSERT_TRUE(limits.ok);
    EXPECT_EQ(limits.rungs[4].In1, 40 * 256 + 255);
    EXPECT_EQ(limits.rungs[4].Out1, 73 * 256 + 240);
    EXPECT_EQ(limits.rungs[4].Out1Text, QStringLiteral("Timer 3 Start (240 Sec)"));
}

TEST_F(LadderConverterTest, AMissingOrCancelledLadderFileConvertsNothing) {
    LadderConverter converter(services);
    answerFiles({QString(), path(QStringLiteral("Missing.Plc"))});
    converter.convertFile();
    EXPECT_TRUE(dialogs->messages.empty());
    converter.convertFile();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("File does not exists"));
    EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("File Error"));
    EXPECT_TRUE(converter.lines().isEmpty());

    // What is no ladder file, or an element whose rung is not in the file, is refused at its first damaged
    // record, and nothing is written.
    const std::pair<QByteArray, QString> damaged[] = {
        {QByteArray(1 << 20, '\n'), QStringLiteral("File is damaged (record 1)")},
        {ladder::encodePlcRecords(withRungs({input(1, QStringLiteral("Input 1 On"))})) +
             ladder::encodePlcRecords({input(2, QStringLiteral("Input 2 On"))}),
         QStringLiteral("File is damaged (record 5)")},
    };
    for (const auto& [file, message] : damaged) {
        dialogs->messages.clear();
        EXPECT_FALSE(convert(file));
        EXPECT_EQ(dialogs->messageTexts(), QStringList{message});
        EXPECT_EQ(dialogs->messages[0].caption, QStringLiteral("File Error"));
        EXPECT_TRUE(lines.isEmpty());
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("New.Lio"))));
    }

    // An empty ladder file still gives 20 empty rungs.
    const LadderConversion empty = convertLadder({});
    ASSERT_TRUE(empty.ok);
    EXPECT_EQ(empty.rungs[5].InputSummary, QStringLiteral("Input 5  -> "));
    EXPECT_EQ(empty.rungs[5].Op2Text, QStringLiteral("AND"));
}

TEST_F(LadderConverterTest, ConvertsWhatTheLadderEditorSaves) {
    // Groups of the ladder editor: 0 "Input On", 2 "Cycle", 15 the output "Timer".
    ladder::LadderEditor editor(*dialogs);
    editor.newProject();
    ASSERT_TRUE(editor.addRung());
    const int inputs = editor.program().inputsNode(1);
    const int outputs = editor.program().outputsNode(1);
    editor.selectNode(inputs);
    editor.showGroup(0);
    ASSERT_TRUE(editor.placeElement(inputs, 0));
    ASSERT_TRUE(editor.placeElement(inputs, 0)); // the same element again: its key gets a number
    editor.showGroup(2);
    ASSERT_TRUE(editor.placeElement(inputs, 8)); // "Torque Or Angle Lo"
    editor.selectNode(outputs);
    editor.setTimerPreset(2, 5);
    editor.showGroup(15);
    ASSERT_TRUE(editor.placeElement(outputs, 2)); // "Timer 2 Start (5)"

    const std::vector<ladder::PlcNodeRecord> records = ladder::plcRecords(editor.program());
    EXPECT_TRUE(std::any_of(records.begin(), records.end(), [](const ladder::PlcNodeRecord& record) {
        return base::Trim(record.Key) == QStringLiteral("Input 1 On1");
    }));
    const LadderConversion conversion = convertLadder(records);
    ASSERT_TRUE(conversion.ok) << conversion.failure.toStdString();
    const LogicRung& rung = conversion.rungs[1];
    EXPECT_EQ(rung.In1, 256);
    EXPECT_EQ(rung.In2, 256);
    EXPECT_EQ(rung.In2Text, QStringLiteral("Input 1 On"));
    EXPECT_EQ(rung.In3Text, QStringLiteral("Torque Lo"));
    EXPECT_EQ(rung.Op3, 1);
    EXPECT_EQ(rung.In4, 32 * 256);
    EXPECT_EQ(rung.Out1, 72 * 256 + 5);
    EXPECT_EQ(rung.Out1Text, QStringLiteral("Timer 2 Start (5 Sec)"));
    EXPECT_EQ(conversion.lines.size(), 60) << "every element is known";
}
