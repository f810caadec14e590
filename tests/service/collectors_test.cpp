// The settings collection against the stand-in: a whole run of the six boxes on each link and the files it
// writes (byte layouts and golden files), then each collector's own edges: the Pset records and bar, the
// logic receive's results and the overwrite question, a tool EEPROM read that fails half way, the DSP
// read's closing frame, and the rundown reports of a run that fails part way.
#include "app/reports/rundownreport.h"
#include "ladder/ladderimage.h"
#include "ladder/plcfile.h"
#include "logicio/logicfile.h"
#include "logicio/logictransfer.h"
#include "service/logiccollector.h"
#include "service/psetcollector.h"
#include "service/reportcollectors.h"
#include "service/rundowncollector.h"
#include "service/settingscollection.h"
#include "tests/service/collectfixture.h"

#include <QFile>
#include <QRegularExpression>

using namespace service;
using app::PsetField;
using base::MessageIcon;
using testsupport::Link;
namespace ids = clink::ids;

namespace {

const QDateTime CollectClock(QDate(2009, 3, 14), QTime(10, 15, 30));

constexpr int PsetRecordBytes = 210;

class CollectRun : public collecttest::CollectOnEachLink {
protected:
    CollectRun() {
        ctx.now = [] { return CollectClock; };
    }
};

class Collectors : public collecttest::CollectFixture {
protected:
    Collectors() {
        ctx.now = [] { return CollectClock; };
    }
};

// The 210-byte record of a Pset file: seventeen 10-character fields, then the 40-character curve file.
QByteArray psetRecord(std::initializer_list<const char*> fields, const char* curve) {
    QByteArray record;
    for (const char* f : fields)
        record += QByteArray(f).leftJustified(10, ' ');
    return record + QByteArray(curve).leftJustified(40, ' ');
}

// A ladder controller holding two rungs: rung 1 "Input 1, counter 3" -> "Timer 2 Start, output 16",
// rung 2 "input 18" -> "output 17"; counter 3's preset 7, timer 2's 20 s. The root and twelve nodes.
void seedLadder(sim::ControllerModel& model) {
    model.verMajor = sim::ControllerModel::LadderControllerType;
    model.ladderSlots = {};
    model.ladderSlots[0] = 2;
    model.ladderSlots[ladder::inputSlot(1)] = 1;
    model.ladderSlots[ladder::inputSlot(1) + 1] = 50;
    model.ladderSlots[ladder::outputSlot(1)] = 98;
    model.ladderSlots[ladder::outputSlot(1) + 1] = 16;
    model.ladderSlots[ladder::inputSlot(2)] = 18;
    model.ladderSlots[ladder::outputSlot(2)] = 17;
    model.ladderSlots[ladder::counterSlot(3)] = 7;
    model.ladderSlots[ladder::timerHighSlot(2)] = 0x01; // 500 ticks of 40 ms
    model.ladderSlots[ladder::timerLowSlot(2)] = 0xF4;
}

constexpr int PlcRecordBytes = 114;

// The Value field of the ladder file's record whose Image field holds image.
QByteArray plcValueOf(const QByteArray& file, int image) {
    for (int at = 0; at + PlcRecordBytes <= file.size(); at += PlcRecordBytes)
        if (file.mid(at + 100, 4).trimmed() == QByteArray::number(image))
            return file.mid(at + 104, 10).trimmed();
    return "missing";
}

} // namespace

TEST_P(CollectRun, ALadderControllersProgramIsWrittenAsALadderFile) {
    seedLadder(model);
    LogicIoCollector collector(ctx, logic, ladder);
    ASSERT_TRUE(collector.collect(base(), page));
    EXPECT_EQ(boxes(), QStringList{"Logic I/O Transfer Completed"});
    const QByteArray plc = bytes(QStringLiteral("Cell.PLC"));
    ASSERT_EQ(plc.size(), 12 * PlcRecordBytes);
    // The presets ride in the records of the elements that use them.
    EXPECT_EQ(plcValueOf(plc, 50), "7");
    EXPECT_EQ(plcValueOf(plc, 98), "20");
    EXPECT_EQ(plcValueOf(plc, 16), "0");
    const ladder::PlcFileLoad load = ladder::readPlcProgram(plc);
    ASSERT_TRUE(load.program.has_value());
    EXPECT_EQ(load.program->RungCount, 2);
    EXPECT_EQ(load.program->presets.cwCounter(3), 7);
    EXPECT_EQ(load.program->presets.cwTimer(2), 20);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Cell.LIO"))));
    EXPECT_EQ(page.editors, (std::vector<collecttest::RecordingPage::EditorCall>{
                                {true, ProgramEditor::Ladder}, {false, ProgramEditor::Ladder}}));
    EXPECT_EQ(page.bars, (std::vector<int>{0, 10, 20, 60, 80, 100}));
}

TEST_P(CollectRun, AllSixBoxesWriteTheirFiles) {
    SettingsCollection collection(module);
    collection.Form_Load();
    std::vector<std::pair<bool, ProgramEditor>> editors;
    collection.setEditorWindows(
        [&](ProgramEditor e) {
            editors.push_back({true, e});
        },
        [&](ProgramEditor e) {
            editors.push_back({false, e});
        });
    for (int box = 0; box < CollectBoxes; ++box)
        collection.ChkSelection_Click(box, BoxState::Ticked);
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("Cell.txt")));
    dialogs->yesNoAnswers.enqueue(true); // the logic receive's question
    collection.mnuBegin_Click();
    ASSERT_EQ(boxes(), QStringList{});
    for (int box = 0; box < CollectBoxes; ++box)
        EXPECT_EQ(collection.box(box), BoxState::Grey) << box;

    // Cell.PST: eight records of 210 bytes as the stand-in's two Psets make them, the rest as the table
    // held them.
    const QByteArray pst = bytes(QStringLiteral("Cell.PST"));
    ASSERT_EQ(pst.size(), 1680);
    EXPECT_EQ(pst, collecttest::goldenBytes(QStringLiteral("collect_cell.pst")));
    EXPECT_EQ(pst.left(PsetRecordBytes), psetRecord({"2", "5", "2", "50", "55", "45", "", "40", "5.5", "0",
                                                     "0.5", "0", "2", "100", "1000", "1", "1"},
                                                    "None*"));
    EXPECT_EQ(ctx.psetTable[2].text(PsetField::TqTarget).trimmed(), "6553.5");
    EXPECT_EQ(ctx.psetTable[2].text(PsetField::SoftStart).trimmed(), "2");

    // Cell.LIO: twenty 1376-byte records holding the controller's program.
    ASSERT_EQ(bytes(QStringLiteral("Cell.LIO")).size(), 27520);
    logicio::LogicRungs read;
    ASSERT_EQ(logicio::readLogicFile(folder.file(QStringLiteral("Cell.LIO")), read),
              logicio::LogicFileRead::Ok);
    EXPECT_EQ(read[1].In1, logicio::codeWord(1, 0));
    EXPECT_EQ(read[1].In2, logicio::codeWord(14, 0));
    EXPECT_EQ(read[1].Op1, 1);
    EXPECT_EQ(read[1].Out1, logicio::codeWord(72, 30));
    EXPECT_EQ(read[20].In1, logicio::codeWord(35, 7));
    EXPECT_EQ(read[20].Out2, logicio::codeWord(5, 0));
    EXPECT_EQ(read[7].In1, 0);
    EXPECT_EQ(editors, (std::vector<std::pair<bool, ProgramEditor>>{{true, ProgramEditor::LogicIo},
                                                                    {false, ProgramEditor::LogicIo}}));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Cell.PLC"))));

    // The four reports.
    const QStringList dsp = lines(QStringLiteral("CellDSPParms.txt"));
    EXPECT_EQ(dsp.size(), 65);
    EXPECT_FALSE(dsp.join(u'\n').contains(QStringLiteral("E106 : ")));
    collecttest::expectGoldenLines(collecttest::maskClock(dsp), QStringLiteral("collect_dspparms.txt"));
    const QStringList tool = lines(QStringLiteral("CellToolParms.txt"));
    EXPECT_EQ(tool.size(), 119);
    EXPECT_FALSE(tool.join(u'\n').contains(QStringLiteral("DATE   : ")));
    collecttest::expectGoldenLines(collecttest::maskClock(tool), QStringLiteral("collect_toolparms.txt"));
    const QStringList eprom = lines(QStringLiteral("CellToolEprom.txt"));
    ASSERT_EQ(eprom.size(), 1025);
    for (int a = 0; a < 1024; ++a)
        ASSERT_EQ(eprom[a], QStringLiteral("Address %1: %2").arg(a).arg(collecttest::toolByte(a)));
    EXPECT_TRUE(eprom[1024].startsWith(QStringLiteral("Address 1024: ")));
    const QStringList rundowns = lines(QStringLiteral("CellRundowns.txt"));
    collecttest::expectGoldenLines(collecttest::maskClock(rundowns), QStringLiteral("collect_rundowns.txt"));
    // The statistics window reads the torque from its column: 25.00 of rundown 1 starts at character 25.
    const int first = int(rundowns.indexOf(QRegularExpression(QStringLiteral("1 +ACCEPT .*"))));
    ASSERT_GE(first, 0);
    EXPECT_EQ(rundowns[first].mid(app::RundownTorqueColumn - 1, 5), QStringLiteral("25.00"));
    // Every file as CR LF text; the window's list holds the last report.
    EXPECT_EQ(bytes(QStringLiteral("CellRundowns.txt")).count("\r\n"), rundowns.size());
    EXPECT_EQ(collection.List1(), rundowns.mid(rundowns.size() - collection.List1().size()));
    EXPECT_EQ(collection.bar(ToolEpromBox).value, 150);
    EXPECT_EQ(collection.bar(RundownsBox).value, 100);
}

INSTANTIATE_TEST_SUITE_P(Links, CollectRun, ::testing::Values(Link::Ethernet, Link::Usb, Link::ParallelPort),
                         testsupport::linkName);

TEST_F(Collectors, AFailingCollectorLeavesTheOthersRunning) {
    connect(Link::Usb);
    SettingsCollection collection(module);
    collection.Form_Load();
    for (int box : {PsetsBox, LogicIoBox, DspParmsBox})
        collection.ChkSelection_Click(box, BoxState::Ticked);
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("Cell.LIO")));
    dialogs->yesNoAnswers.enqueue(false); // the logic receive is declined
    collection.mnuBegin_Click();
    EXPECT_EQ(boxes(), QStringList{"Error writing Logic IO"});
    EXPECT_EQ(collection.box(PsetsBox), BoxState::Grey);
    EXPECT_EQ(collection.box(LogicIoBox), BoxState::Ticked);
    EXPECT_EQ(collection.box(DspParmsBox), BoxState::Grey);
    EXPECT_EQ(bytes(QStringLiteral("Cell.PST")).size(), 1680);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Cell.LIO"))));
    EXPECT_EQ(lines(QStringLiteral("CellDSPParms.txt")).size(), 65);
    EXPECT_EQ(collection.bar(LogicIoBox).value, LogicIoCollector::Receiving);
}

TEST_F(Collectors, PsetsFillTheTableAndTheBarStepsPerPset) {
    connect(Link::Usb);
    model.psetCount = 3;
    model.psets[3] = model.psets[2];
    ctx.psetTable[1].setText(PsetField::TqPercent, QStringLiteral("10"));
    ctx.psetTable[6].setText(PsetField::TqTarget, QStringLiteral("77"));
    PsetCollector psets(ctx);
    ASSERT_TRUE(psets.collect(base(), page));
    EXPECT_EQ(page.bars, (std::vector<int>{0, 25, 50, 75, 100}));
    const QByteArray pst = bytes(QStringLiteral("Cell.PST"));
    ASSERT_EQ(pst.size(), 1680);
    // The percent is not the controller's: it stays; Pset 6 was never read.
    EXPECT_EQ(pst.mid(60, 10), QByteArray("10        "));
    EXPECT_EQ(pst.mid(5 * PsetRecordBytes + 30, 10), QByteArray("77        "));
    EXPECT_EQ(pst.mid(2 * PsetRecordBytes, 10), QByteArray("3         "));

    // No Psets: nothing read, the file from the table as it is.
    model.psetCount = 0;
    page.bars.clear();
    ASSERT_TRUE(psets.collect(base(), page));
    EXPECT_EQ(page.bars, (std::vector<int>{0, 100}));
    EXPECT_EQ(bytes(QStringLiteral("Cell.PST")), pst);

    // More than the table holds: Psets 1..10 are read, the bar still steps by 75 / count.
    model.psetCount = 12;
    page.bars.clear();
    model.received.clear();
    ASSERT_TRUE(psets.collect(base(), page));
    EXPECT_EQ(model.countReceived(ids::CommandRequest, clink::codes::PsetRead), 10 * 4);
    EXPECT_EQ(page.bars[10], 62);
    EXPECT_EQ(ctx.psetTable[10].text(PsetField::NumPsets).trimmed(), "12");
}

TEST_F(Collectors, PsetFailuresWriteNothing) {
    connect(Link::Usb);
    ASSERT_TRUE(folder.write(QStringLiteral("Cell.PST"), "old"));
    PsetCollector psets(ctx);
    model.noReply.insert(ids::StatusRequest);
    EXPECT_FALSE(psets.collect(base(), page));
    model.noReply.clear();
    model.silentCommandCodes.insert(clink::codes::PsetRead);
    EXPECT_FALSE(psets.collect(base(), page));
    EXPECT_EQ(boxes(), (QStringList{"Error getting system status", "Error getting Parameters"}));
    EXPECT_EQ(dialogs->messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(bytes(QStringLiteral("Cell.PST")), "old");
}

TEST_F(Collectors, LogicIsWrittenOnlyAfterAReceiveAndAnOverwriteOk) {
    connect(Link::Usb);
    LogicIoCollector collector(ctx, logic, ladder);
    // The user declines the receive: no file, the editor stays open.
    dialogs->yesNoAnswers.enqueue(false);
    EXPECT_FALSE(collector.collect(base(), page));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Cell.LIO"))));
    EXPECT_EQ(page.editors,
              (std::vector<collecttest::RecordingPage::EditorCall>{{true, ProgramEditor::LogicIo}}));

    // A block that never comes: the receive reports it, nothing is written.
    model.unansweredLogicBlocks.insert(50);
    dialogs->yesNoAnswers.enqueue(true);
    EXPECT_FALSE(collector.collect(base(), page));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Cell.LIO"))));
    EXPECT_EQ(boxes(), QStringList{logicio::NotReceivedText});
    model.unansweredLogicBlocks.clear();

    // A controller that does not answer its type: the version 2 receive refuses it.
    model.silentCommandCodes.insert(clink::codes::Version);
    EXPECT_FALSE(collector.collect(base(), page));
    EXPECT_EQ(boxes().back(), logicio::IncorrectVersionText);
    model.silentCommandCodes.clear();

    // An existing file and Cancel: nothing written, the editor stays open.
    ASSERT_TRUE(folder.write(QStringLiteral("Cell.LIO"), "old"));
    dialogs->yesNoAnswers.enqueue(true);
    dialogs->okCancelAnswers.enqueue(false);
    page = {};
    EXPECT_FALSE(collector.collect(base(), page));
    EXPECT_EQ(bytes(QStringLiteral("Cell.LIO")), "old");
    ASSERT_EQ(dialogs->asked.size(), 4u);
    EXPECT_EQ(dialogs->asked.back().text, "This file already exists. - Overwrite File ?");
    EXPECT_EQ(dialogs->asked.back().caption, "File Exists Warning");
    EXPECT_EQ(page.bar(), LogicIoCollector::Received);
    EXPECT_EQ(page.editors,
              (std::vector<collecttest::RecordingPage::EditorCall>{{true, ProgramEditor::LogicIo}}));

    // OK: the file is replaced and the editor closed.
    dialogs->yesNoAnswers.enqueue(true);
    dialogs->okCancelAnswers.enqueue(true);
    page = {};
    EXPECT_TRUE(collector.collect(base(), page));
    EXPECT_EQ(bytes(QStringLiteral("Cell.LIO")).size(), 27520);
    EXPECT_EQ(page.bars, (std::vector<int>{0, 10, 20, 60, 80, 100}));
    EXPECT_EQ(page.editors.back(), (collecttest::RecordingPage::EditorCall{false, ProgramEditor::LogicIo}));

    // The link check fails: its own message, nothing asked.
    ftdi.writeFails = 1;
    EXPECT_FALSE(collector.collect(base(), page));
    EXPECT_EQ(boxes().back(), "Unable to connect using USB");
    EXPECT_EQ(dialogs->asked.size(), 6u);
}

TEST_F(Collectors, LadderIsWrittenOnlyAfterAReceiveAndItsWriteErrorsAreReported) {
    connect(Link::Usb);
    seedLadder(model);
    LogicIoCollector collector(ctx, logic, ladder);
    // The editor holds a rung: the receive asks first; No writes nothing and leaves the editor open.
    ASSERT_TRUE(ladder.editor().addRung());
    dialogs->yesNoAnswers.enqueue(false);
    EXPECT_FALSE(collector.collect(base(), page));
    EXPECT_EQ(dialogs->asked.at(0).caption, "RECEIVE LOGIC I/O FROM CONTROLLER");
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Cell.PLC"))));
    EXPECT_EQ(page.editors,
              (std::vector<collecttest::RecordingPage::EditorCall>{{true, ProgramEditor::Ladder}}));

    // More rungs than a program holds: the rebuild refuses them and nothing is written.
    model.ladderSlots[0] = 31;
    dialogs->yesNoAnswers.enqueue(true);
    EXPECT_FALSE(collector.collect(base(), page));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Cell.PLC"))));
    seedLadder(model);

    // An existing file and Cancel: nothing written.
    ASSERT_TRUE(folder.write(QStringLiteral("Cell.PLC"), "old"));
    dialogs->okCancelAnswers.enqueue(false);
    EXPECT_FALSE(collector.collect(base(), page));
    EXPECT_EQ(bytes(QStringLiteral("Cell.PLC")), "old");
    EXPECT_EQ(dialogs->asked.back().text, "This file already exists. - Overwrite File ?");

    // A folder that is not there: the editor reports the write, the collector fails.
    const QString nowhere = folder.file(QStringLiteral("missing/Cell"));
    dialogs->yesNoAnswers.enqueue(true);
    page = {};
    EXPECT_FALSE(collector.collect(nowhere, page));
    EXPECT_TRUE(boxes().back().startsWith(QStringLiteral("Unable To Write File ")));
    EXPECT_EQ(dialogs->messages.back().icon, MessageIcon::Critical);
    EXPECT_EQ(page.editors.size(), 1u);
}

TEST_F(Collectors, ALadderProgramWithoutRungsWritesNoFileAndSucceeds) {
    connect(Link::Usb);
    seedLadder(model);
    model.ladderSlots = {}; // word 0: no rungs
    LogicIoCollector collector(ctx, logic, ladder);
    ASSERT_TRUE(collector.collect(base(), page));
    EXPECT_EQ(ladder.editor().tree().count(), 1);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("Cell.PLC"))));
    EXPECT_EQ(boxes(), QStringList{"Logic I/O Transfer Completed"});
    EXPECT_EQ(page.bars, (std::vector<int>{0, 10, 20, 60, 80, 100}));
    EXPECT_EQ(page.editors, (std::vector<collecttest::RecordingPage::EditorCall>{
                                {true, ProgramEditor::Ladder}, {false, ProgramEditor::Ladder}}));

    // A file of that name is asked about, and stays as it was.
    ASSERT_TRUE(folder.write(QStringLiteral("Cell.PLC"), "old"));
    dialogs->okCancelAnswers.enqueue(true);
    page = {};
    ASSERT_TRUE(collector.collect(base(), page));
    EXPECT_EQ(dialogs->asked.back().text, "This file already exists. - Overwrite File ?");
    EXPECT_EQ(bytes(QStringLiteral("Cell.PLC")), "old");
    EXPECT_EQ(page.bar(), 100);
}

TEST_F(Collectors, AReadFailingHalfWayWritesNothing) {
    connect(Link::ParallelPort);
    ASSERT_TRUE(folder.write(QStringLiteral("CellToolEprom.txt"), "old"));
    model.silentAddresses.insert(500);
    ToolEpromCollector eprom(ctx);
    EXPECT_FALSE(eprom.collect(base(), page));
    EXPECT_EQ(boxes(), QStringList{"Read Tool Eeprom Failed"});
    EXPECT_EQ(page.bar(), 50);
    EXPECT_EQ(bytes(QStringLiteral("CellToolEprom.txt")), "old");

    ToolParmsCollector parms(ctx);
    EXPECT_FALSE(parms.collect(base(), page));
    EXPECT_EQ(boxes().back(), "Read Tool Parameters Failed");
    EXPECT_EQ(page.bar(), 49);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("CellToolParms.txt"))));

    // The DSP block: the read of byte 64 gets no answer after 32 reads.
    ASSERT_TRUE(folder.write(QStringLiteral("CellDSPParms.txt"), "old"));
    model.silentAddresses = {64};
    DspParmsCollector dsp(ctx);
    EXPECT_FALSE(dsp.collect(base(), page));
    EXPECT_EQ(boxes().back(), "Read Dsp Parameters Failed");
    EXPECT_EQ(dialogs->messages.back().caption, base::ProgramTitle);
    EXPECT_EQ(dialogs->messages.back().icon, MessageIcon::Critical);
    EXPECT_EQ(page.bar(), 32);
    EXPECT_EQ(bytes(QStringLiteral("CellDSPParms.txt")), "old");
}

TEST_F(Collectors, DspReadEndsWithTheFilterFrameOverEthernet) {
    connect(Link::Ethernet);
    DspParmsCollector dsp(ctx);
    ASSERT_TRUE(dsp.collect(base(), page));
    EXPECT_EQ(page.bars.front(), 0);
    EXPECT_EQ(page.bars[page.bars.size() - 3], 63);
    EXPECT_EQ(page.bars[page.bars.size() - 2], DspParmsCollector::Read);
    EXPECT_EQ(page.bar(), DspParmsCollector::Done);
    auto doneFrames = [&] {
        int n = 0;
        for (const auto& f : dongle.frames)
            n += f.accept == ids::DspReadDone && f.message.id == ids::DspReadDone ? 1 : 0;
        return n;
    };
    EXPECT_TRUE(waitFor([&] { return doneFrames() == 1; }));
    EXPECT_EQ(page.list.size(), 65);
    EXPECT_EQ(page.list[50], "Light Ring Cw: Fwd");
    EXPECT_EQ(page.list[51], "Light Ring Center: Rev");
    EXPECT_EQ(page.list[52], "Light Ring Ccw: Aux");
    EXPECT_EQ(page.list[59], "Start Delay: Off");
    EXPECT_EQ(page.list[61], "Multiple Function : Disabled");

    // A connection that is gone: the link check's message, no file.
    QFile::remove(folder.file(QStringLiteral("CellDSPParms.txt")));
    ctx.link.socket.close();
    ASSERT_TRUE(waitFor([&] { return !ctx.link.socket.isConnected(); }));
    EXPECT_FALSE(dsp.collect(base(), page));
    EXPECT_EQ(boxes(), QStringList{"Unable to connect using ethernet"});
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("CellDSPParms.txt"))));
}

TEST_F(Collectors, RundownsKeepTheReportsFinishedBeforeAFailure) {
    connect(Link::Usb);
    ASSERT_TRUE(folder.write(QStringLiteral("CellRundowns.txt"), "old"));
    RundownsCollector rundowns(ctx);
    auto reported = [&] {
        return lines(QStringLiteral("CellRundowns.txt")).filter(QStringLiteral("Parameter Set #: "));
    };
    // No status: the old file stays as it was.
    model.noReply.insert(ids::StatusRequest);
    EXPECT_FALSE(rundowns.collect(base(), page));
    EXPECT_EQ(boxes(), QStringList{"Read Rundown Data Failed(1)"});
    EXPECT_EQ(bytes(QStringLiteral("CellRundowns.txt")), "old");
    model.noReply.clear();

    // Pset 2's log does not come: the file holds Pset 1's whole report.
    model.silentRundownPsets.insert(2);
    EXPECT_FALSE(rundowns.collect(base(), page));
    EXPECT_EQ(boxes().back(), "Read Rundown Data Failed(3)");
    EXPECT_EQ(reported(), QStringList{"Parameter Set #: 1"});
    EXPECT_EQ(lines(QStringLiteral("CellRundowns.txt")).back(), QString(76, u'-'));
    EXPECT_EQ(page.bar(), RundownsCollector::PerPset);
    model.silentRundownPsets.clear();

    // Pset 1's parameters do not come: no report is finished, and the file of the run before stays.
    const QByteArray before = bytes(QStringLiteral("CellRundowns.txt"));
    model.silentCommandCodes.insert(clink::codes::PsetRead);
    EXPECT_FALSE(rundowns.collect(base(), page));
    EXPECT_EQ(boxes().back(), "Read Rundown Data Failed(2)");
    EXPECT_EQ(bytes(QStringLiteral("CellRundowns.txt")), before);
    model.silentCommandCodes.clear();
    EXPECT_EQ(boxes().size(), 3);

    // More Psets than the report table holds: each one is reported, the bar stops at 90 before the end.
    model.psetCount = 11;
    page = {};
    EXPECT_TRUE(rundowns.collect(base(), page));
    const QStringList all = reported();
    ASSERT_EQ(all.size(), 11);
    EXPECT_EQ(all.back(), "Parameter Set #: 11");
    EXPECT_EQ(page.bars[9], 90);
    EXPECT_EQ(page.bars[11], 90);
    EXPECT_EQ(page.bar(), RundownsCollector::Done);
    // The Pset's report texts are blanked once printed; the list holds the last Pset's report.
    EXPECT_EQ(ctx.state.PsetReportTable[1].Texts[0], QString(40, u' '));
    EXPECT_EQ(page.list[5], "Parameter Set #: 11");
}
