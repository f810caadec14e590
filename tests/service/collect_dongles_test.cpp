// The whole settings collection over Ethernet against dongles that repeat or hold their frames and against a
// controller that answers once per request: every file it writes holds, byte for byte, what a clean run
// writes (a controller that acknowledges and then replies at once, through a dongle that passes each frame
// once). Answers that come late, twice or after their exchange must never shift a value into the next one.
#include "base/textlines.h"
#include "service/collectselection.h"
#include "service/settingscollection.h"
#include "tests/service/collectfixture.h"

#include <QFile>

using namespace service;

namespace {

const QDateTime CollectClock(QDate(2011, 6, 2), QTime(8, 30, 5));

struct Dongle {
    const char* name;
    bool ackThenReply = false;
    int holdMs = 0;
    int repeatGapMs = -1; // >= 0: every frame written twice, the copy on its own this long after
    // The boxes the run ticks: a dongle that holds or repeats every frame runs the ones whose reads are few
    // enough to keep the test short (the tool's two 1024-byte reads and the rundown logs wait out a held
    // frame or the answers a repeated one leaves owed 2000 times).
    std::vector<int> boxes = {PsetsBox, LogicIoBox, DspParmsBox, ToolParmsBox, ToolEpromBox, RundownsBox};
};

void PrintTo(const Dongle& d, std::ostream* os) {
    *os << d.name;
}

const std::array<QString, CollectBoxes> BoxFileEndings = {PsetFileEnding,      LogicFileEnding,
                                                          DspFileEnding,       ToolParmsFileEnding,
                                                          ToolEpromFileEnding, RundownsFileEnding};

class CollectAgainstDongles : public collecttest::CollectFixture,
                              public ::testing::WithParamInterface<Dongle> {
protected:
    void SetUp() override {
        ctx.now = [] { return CollectClock; };
        connect(testsupport::Link::Ethernet);
        emptyTable_ = ctx.psetTable;
        emptyReports_ = s.PsetReportTable;
    }

    // Runs the collection with the boxes ticked into files named after base: every box is collected and
    // nothing is shown.
    void collect(const QString& base, const std::vector<int>& ticked) {
        // Nothing of an earlier run is left for this one to fall back on.
        ctx.psetTable = emptyTable_;
        s.PsetReportTable = emptyReports_;
        s.DataBuffer.clear();
        logic.rungs() = {};
        SettingsCollection collection(module);
        collection.Form_Load();
        for (int box = 0; box < CollectBoxes; ++box)
            collection.ChkSelection_Click(box, BoxState::Unticked);
        for (int box : ticked)
            collection.ChkSelection_Click(box, BoxState::Ticked);
        dialogs->fileNames.enqueue(folder.file(base + QStringLiteral(".txt")));
        dialogs->yesNoAnswers.enqueue(true); // the logic receive's question
        collection.mnuBegin_Click();
        ASSERT_EQ(boxes(), QStringList{}) << base.toStdString();
        for (int box : ticked)
            ASSERT_EQ(collection.box(box), BoxState::Grey) << base.toStdString() << " box " << box;
    }

private:
    app::PsetTable emptyTable_;
    clink::PsetReportTableArray emptyReports_{};
};

TEST_P(CollectAgainstDongles, EveryFileHoldsWhatACleanRunWrites) {
    const Dongle& d = GetParam();
    dongle.ackThenReply = true;
    collect(QStringLiteral("Clean"), d.boxes);
    if (HasFatalFailure())
        return;

    dongle.ackThenReply = d.ackThenReply;
    dongle.replyDelay = d.holdMs;
    dongle.duplicateReplies = d.repeatGapMs >= 0;
    dongle.repeatGapMs = d.repeatGapMs;
    const int requestsBefore = int(model.received.size());
    collect(QStringLiteral("Faulty"), d.boxes);
    if (HasFatalFailure())
        return;
    EXPECT_GT(int(model.received.size()), requestsBefore);

    for (int box : d.boxes) {
        const QString ending = BoxFileEndings[size_t(box)];
        const QByteArray clean = bytes(QStringLiteral("Clean") + ending);
        ASSERT_FALSE(clean.isEmpty()) << ending.toStdString();
        const QByteArray faulty = bytes(QStringLiteral("Faulty") + ending);
        if (faulty == clean)
            continue;
        // The first line that differs, for the report.
        const QStringList a = base::splitLines(clean);
        const QStringList b = base::splitLines(faulty);
        int line = 0;
        while (line < a.size() && line < b.size() && a[line] == b[line])
            ++line;
        ADD_FAILURE() << ending.toStdString() << " differs from line " << line + 1 << ": clean \""
                      << a.value(line).toStdString() << "\", " << d.name << " \""
                      << b.value(line).toStdString() << "\" (" << clean.size() << " / " << faulty.size()
                      << " bytes)";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dongles, CollectAgainstDongles,
    ::testing::Values(Dongle{"answerOnce"},
                      Dongle{"repeating", false, 0, 3, {PsetsBox, LogicIoBox, DspParmsBox}},
                      Dongle{"held40", false, 40, -1, {PsetsBox, LogicIoBox, DspParmsBox}}),
    [](const ::testing::TestParamInfo<Dongle>& info) { return std::string(info.param.name); });

} // namespace
