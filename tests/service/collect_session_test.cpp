// The settings collection's own parts, headless: the DLOAD.cfg record and what the boxes do with it, the
// base name of a chosen file, the driver over fake collectors (order, grey boxes, failures, no name), and
// the file forms of the DSP and tool reports.
#include "app/reports/dspreport.h"
#include "app/reports/toolreports.h"
#include "link/databuffer.h"
#include "service/collectselection.h"
#include "service/settingscollection.h"
#include "tests/service/collectfixture.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using namespace service;
using base::MessageIcon;

namespace {

// A collector that logs its run, moves its bar and returns what it was told.
class FakeCollector : public Collector {
public:
    FakeCollector(QStringList& log, QString name, bool result) : log_(log), name_(name), result_(result) {}
    bool collect(const QString& base, CollectorPage& page) override {
        log_ << name_ + u' ' + base;
        page.setBar(42);
        page.addLines({name_});
        return result_;
    }

private:
    QStringList& log_;
    QString name_;
    bool result_;
};

// A collector during which the program is closed.
class ClosingCollector : public Collector {
public:
    explicit ClosingCollector(base::EventPump& pump) : pump_(pump) {}
    bool collect(const QString&, CollectorPage&) override {
        pump_.stop();
        return false;
    }

private:
    base::EventPump& pump_;
};

class CollectSession : public collecttest::CollectFixture {
protected:
    // Fake collectors; the ones named in failing return false.
    std::unique_ptr<SettingsCollection> fakeCollection(std::initializer_list<int> failing = {}) {
        SettingsCollection::Collectors collectors;
        for (int box = 0; box < CollectBoxes; ++box)
            collectors[size_t(box)] = std::make_unique<FakeCollector>(
                runs, QStringLiteral("box%1").arg(box),
                std::find(failing.begin(), failing.end(), box) == failing.end());
        return std::make_unique<SettingsCollection>(ctx, std::move(collectors));
    }
    QByteArray config() const { return bytes(QStringLiteral("DLOAD.cfg")); }
    void tick(SettingsCollection& c, std::initializer_list<int> boxes) {
        for (int box : boxes)
            c.ChkSelection_Click(box, BoxState::Ticked);
    }
    void chooseName(const QString& name) { dialogs->fileNames.enqueue(name); }

    QStringList runs;
};

} // namespace

TEST_F(CollectSession, SelectionFileIsOneFourteenByteRecordWithItsReservedWord) {
    // Missing: created empty, every box unticked and its bar hidden.
    auto c = fakeCollection();
    c->Form_Load();
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("DLOAD.cfg"))));
    EXPECT_EQ(config(), QByteArray());
    for (int box = 0; box < CollectBoxes; ++box) {
        EXPECT_EQ(c->box(box), BoxState::Unticked);
        EXPECT_FALSE(c->bar(box).visible);
    }
    EXPECT_EQ(c->bar(ToolParmsBox).maximum, 150);
    EXPECT_EQ(c->bar(ToolEpromBox).maximum, 150);
    EXPECT_EQ(c->bar(DspParmsBox).maximum, 100);

    // Boxes 0 and 2 ticked, box 5 grey: grey counts as selected; the reserved word as it was read.
    ASSERT_TRUE(
        folder.write(QStringLiteral("DLOAD.cfg"), QByteArray::fromHex("0000000000000000000000003412")));
    c = fakeCollection();
    c->Form_Load();
    tick(*c, {PsetsBox, DspParmsBox});
    c->ChkSelection_Click(RundownsBox, BoxState::Grey);
    c->mnuSetDefault_Click();
    EXPECT_EQ(config(), QByteArray::fromHex("FFFF0000FFFF00000000FFFF3412"));
    EXPECT_TRUE(dialogs->messages.empty());

    // Opening again ticks the selected boxes (grey is not remembered) and shows their bars.
    c = fakeCollection();
    c->Form_Load();
    EXPECT_EQ(c->box(PsetsBox), BoxState::Ticked);
    EXPECT_EQ(c->box(LogicIoBox), BoxState::Unticked);
    EXPECT_EQ(c->box(RundownsBox), BoxState::Ticked);
    EXPECT_TRUE(c->bar(RundownsBox).visible);
    EXPECT_FALSE(c->bar(LogicIoBox).visible);
    EXPECT_EQ(c->selection().reserved, 0x1234);

    // Unticking hides the bar and puts it back at 0.
    c->ChkSelection_Click(PsetsBox, BoxState::Unticked);
    EXPECT_EQ(c->bar(PsetsBox), (CollectBar{0, 100, false}));

    // A short file reads as nothing selected; a longer one keeps what follows the record.
    ASSERT_TRUE(folder.write(QStringLiteral("DLOAD.cfg"), QByteArray::fromHex("FFFFFFFFFFFF")));
    EXPECT_EQ(decodeCollectSelection(config()), CollectSelection{});
    ASSERT_TRUE(
        folder.write(QStringLiteral("DLOAD.cfg"), QByteArray::fromHex("0000FFFF000000000000000000007788")));
    c = fakeCollection();
    c->Form_Load();
    EXPECT_EQ(c->box(LogicIoBox), BoxState::Ticked);
    c->mnuSetDefault_Click();
    EXPECT_EQ(config(), QByteArray::fromHex("0000FFFF000000000000000000007788"));
}

TEST_F(CollectSession, SelectionFileIsReadAndWrittenAsItsRecordOnly) {
    // Megabytes after the record: the record is read, Set Default replaces the file with its 14 bytes
    // followed by the rest as it was.
    const QByteArray tail(2 * 1024 * 1024, '\x5a');
    ASSERT_TRUE(folder.write(QStringLiteral("DLOAD.cfg"),
                             QByteArray::fromHex("0000FFFF00000000000000000000") + tail));
    auto c = fakeCollection();
    c->Form_Load();
    EXPECT_EQ(c->box(LogicIoBox), BoxState::Ticked);
    tick(*c, {ToolEpromBox});
    c->mnuSetDefault_Click();
    EXPECT_EQ(config(), QByteArray::fromHex("0000FFFF00000000FFFF00000000") + tail);
    EXPECT_TRUE(dialogs->messages.empty());

    // Set Default with no file writes exactly the record.
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("DLOAD.cfg"))));
    c->mnuSetDefault_Click();
    EXPECT_EQ(config(), QByteArray::fromHex("0000FFFF00000000FFFF00000000"));

    // A FIFO in its place is refused at once, not waited on.
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("DLOAD.cfg"))));
    ASSERT_EQ(mkfifo(QFile::encodeName(folder.file(QStringLiteral("DLOAD.cfg"))).constData(), 0600), 0);
    CollectSelection selection;
    QString error;
    EXPECT_FALSE(loadCollectSelection(selection, &error));
    EXPECT_EQ(error, "Not a regular file");
    EXPECT_FALSE(saveCollectSelection(selection, &error));
    EXPECT_EQ(error, "Not a regular file");
}

TEST_F(CollectSession, SelectionFileThatCannotBeWrittenIsReportedAndKept) {
    // The program folder is a place where DLOAD.cfg cannot be made: a folder of that name stands there.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("DLOAD.cfg")));
    auto c = fakeCollection();
    c->Form_Load();
    for (int box = 0; box < CollectBoxes; ++box)
        EXPECT_EQ(c->box(box), BoxState::Unticked);
    EXPECT_TRUE(dialogs->messages.empty());
    tick(*c, {DspParmsBox});
    c->mnuSetDefault_Click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.startsWith(QStringLiteral("Unable To Write File ")));
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("DLOAD.cfg"))).isDir());
}

TEST(CollectBaseName, CutsTheExtensionOrTheEndingOfACollectedReport) {
    EXPECT_EQ(collectBaseName(QStringLiteral("C:\\Data\\Cell3.txt")), "C:\\Data\\Cell3");
    EXPECT_EQ(collectBaseName(QStringLiteral("C:\\Data\\ToolEprom.txt")), "C:\\Data\\");
    EXPECT_EQ(collectBaseName(QStringLiteral("/data/Line4DSPParms.txt")), "/data/Line4");
    EXPECT_EQ(collectBaseName(QStringLiteral("/data/Line4ToolParms.txt")), "/data/Line4");
    EXPECT_EQ(collectBaseName(QStringLiteral("/data/Rundowns.txt")), "/data/");
    EXPECT_EQ(collectBaseName(QStringLiteral("/data/Line4.PST")), "/data/Line4");
    // The endings are compared case and all; blanks around the name go before the rule.
    EXPECT_EQ(collectBaseName(QStringLiteral("/data/rundowns.txt")), "/data/rundowns");
    EXPECT_EQ(collectBaseName(QStringLiteral("  /data/Cell.LIO ")), "/data/Cell");
    // No three-character extension: the name as it came, blanks included.
    EXPECT_EQ(collectBaseName(QStringLiteral("C:\\Data\\Cell3")), "C:\\Data\\Cell3");
    EXPECT_EQ(collectBaseName(QStringLiteral("/data/Cell.xlsx ")), "/data/Cell.xlsx ");
    EXPECT_EQ(collectBaseName(QStringLiteral(".ab")), ".ab");
    EXPECT_EQ(collectBaseName(QStringLiteral(".abc")), "");
}

TEST_F(CollectSession, BeginRunsTheTickedCollectorsInOrderAndGoesOnAfterAFailure) {
    auto c = fakeCollection({LogicIoBox, ToolParmsBox});
    c->Form_Load();
    tick(*c, {RundownsBox, LogicIoBox, DspParmsBox, ToolParmsBox, PsetsBox});
    c->ChkSelection_Click(ToolEpromBox, BoxState::Grey); // grey: collected already, skipped
    std::vector<bool> runningSeen;
    QObject::connect(c.get(), &SettingsCollection::runningChanged,
                     [&](bool running) { runningSeen.push_back(running && ctx.busy.busy()); });
    chooseName(folder.file(QStringLiteral("Cell.txt")));
    c->mnuBegin_Click();

    const QString base = folder.file(QStringLiteral("Cell"));
    EXPECT_EQ(runs,
              (QStringList{"box0 " + base, "box1 " + base, "box2 " + base, "box3 " + base, "box5 " + base}));
    // Each failure shows the collection's message after the collector's own.
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[0].text, "Error writing Logic IO");
    EXPECT_EQ(dialogs->messages[1].text, "Error collecting Tool Parameters");
    for (const auto& m : dialogs->messages) {
        EXPECT_EQ(m.caption, base::ProgramTitle);
        EXPECT_EQ(m.icon, MessageIcon::Critical);
    }
    // Collected boxes turn grey, failed ones stay ticked; the bars keep where their collectors left them.
    EXPECT_EQ(c->box(PsetsBox), BoxState::Grey);
    EXPECT_EQ(c->box(LogicIoBox), BoxState::Ticked);
    EXPECT_EQ(c->box(DspParmsBox), BoxState::Grey);
    EXPECT_EQ(c->box(ToolParmsBox), BoxState::Ticked);
    EXPECT_EQ(c->box(RundownsBox), BoxState::Grey);
    EXPECT_EQ(c->bar(RundownsBox).value, 42);
    EXPECT_EQ(c->List1(), (QStringList{"box0", "box1", "box2", "box3", "box5"}));
    // The run held the program busy and ended it.
    EXPECT_EQ(runningSeen, (std::vector<bool>{true, false}));
    EXPECT_FALSE(ctx.busy.busy());
    EXPECT_FALSE(c->running());
    // The name dialog as the collection asks it.
    EXPECT_TRUE(dialogs->fileNames.isEmpty());

    // Again: only the two that failed run; ticking a grey box collects it once more.
    runs.clear();
    chooseName(folder.file(QStringLiteral("Cell.txt")));
    c->mnuBegin_Click();
    EXPECT_EQ(runs, (QStringList{"box1 " + base, "box3 " + base}));
    c->ChkSelection_Click(ToolEpromBox, BoxState::Ticked);
    runs.clear();
    chooseName(folder.file(QStringLiteral("ToolEprom.txt")));
    c->mnuBegin_Click();
    EXPECT_EQ(runs, (QStringList{"box1 " + folder.path() + u'/', "box3 " + folder.path() + u'/',
                                 "box4 " + folder.path() + u'/'}));
}

TEST_F(CollectSession, WithoutANameNothingRuns) {
    auto c = fakeCollection();
    c->Form_Load();
    tick(*c, {PsetsBox});
    for (const QString& name : {QString(), QStringLiteral("   "), QStringLiteral(" None ")}) {
        chooseName(name);
        c->mnuBegin_Click();
    }
    EXPECT_TRUE(runs.isEmpty());
    ASSERT_EQ(dialogs->messages.size(), 3u);
    for (const auto& m : dialogs->messages) {
        EXPECT_EQ(m.text, "No File Name Entered");
        EXPECT_EQ(m.caption, base::ProgramTitle);
        EXPECT_EQ(m.icon, MessageIcon::Critical);
    }
    EXPECT_EQ(c->box(PsetsBox), BoxState::Ticked);

    // No box ticked: the name is asked for, then nothing happens.
    c->ChkSelection_Click(PsetsBox, BoxState::Unticked);
    chooseName(folder.file(QStringLiteral("Cell.txt")));
    c->mnuBegin_Click();
    EXPECT_TRUE(runs.isEmpty());
    EXPECT_EQ(dialogs->messages.size(), 3u);
    EXPECT_TRUE(dialogs->fileNames.isEmpty());

    // Another command holds the program: Begin does not even ask.
    tick(*c, {PsetsBox});
    base::BusyGuard other(ctx.busy);
    c->mnuBegin_Click();
    EXPECT_TRUE(runs.isEmpty());
    EXPECT_EQ(c->box(PsetsBox), BoxState::Ticked);
}

TEST_F(CollectSession, ClosingTheProgramEndsTheRunQuietly) {
    // The program closes while the DSP block is read.
    SettingsCollection::Collectors collectors;
    for (int box = 0; box < CollectBoxes; ++box)
        collectors[size_t(box)] =
            std::make_unique<FakeCollector>(runs, QStringLiteral("box%1").arg(box), true);
    collectors[DspParmsBox] = std::make_unique<ClosingCollector>(ctx.pump);
    auto c = std::make_unique<SettingsCollection>(ctx, std::move(collectors));
    c->Form_Load();
    for (int box = 0; box < CollectBoxes; ++box)
        c->ChkSelection_Click(box, BoxState::Ticked);
    chooseName(folder.file(QStringLiteral("Cell")));
    c->mnuBegin_Click();
    EXPECT_EQ(runs, (QStringList{"box0 " + base(), "box1 " + base()}));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(c->box(DspParmsBox), BoxState::Ticked);
    EXPECT_FALSE(c->running());
    EXPECT_FALSE(ctx.busy.busy());
}

TEST(CollectReportForms, FilesLeaveOutTheE106AndDateLines) {
    clink::DataBufferArray D;
    for (int k = 0; k < 1025; ++k)
        D.put(k, (k * 5 + 1) & 0xFF);
    const QStringList dspMenu = app::makeDspParameterReport("t", "d", D);
    const QStringList dspFile = app::makeDspParameterReport("t", "d", D, app::ReportForm::File);
    ASSERT_EQ(dspFile.size(), 65);
    QStringList expected = dspMenu;
    ASSERT_TRUE(expected[61].startsWith(QStringLiteral("E106 : ")));
    expected.removeAt(61);
    EXPECT_EQ(dspFile, expected);

    const QStringList toolMenu = app::makeToolParameterReport("t", "d", D);
    const QStringList toolFile = app::makeToolParameterReport("t", "d", D, app::ReportForm::File);
    ASSERT_EQ(toolFile.size(), 119);
    expected = toolMenu;
    ASSERT_EQ(expected[3], QStringLiteral("DATE   : d"));
    expected.removeAt(3);
    EXPECT_EQ(toolFile, expected);
    EXPECT_EQ(toolFile[3].left(9), QStringLiteral("TOOL ID: "));
}
