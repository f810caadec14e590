// What the editor window shows of a Pset, headless: ShowPset's texts, values, percent and axes; the
// strategy menu and its angle layouts; the percent editor, the check boxes and "Set To Defaults"; the
// update cycle; the curve preview and the cursors; the serial-number frame; a load that runs once.
#include "app/linescrambler.h"
#include "pset/curvepreview.h"
#include "pset/editcycle.h"
#include "tests/pset/psetfixture.h"

#include <QSignalSpy>

#include <cmath>

using app::PsetField;
using base::MessageIcon;
using namespace psettest;
using pset::ValueEditor;

namespace {

class PsetView : public PsetFixture {
protected:
    PsetView() {
        session.mnuNewPset_Click();
        session.tmrNew_Timer();
        session.mnuAddPset_Click();
    }
    // A curve file of count samples (raw tenths of lb-in) in a short path a Pset record can hold.
    QString writeCurve(const QString& name, const std::vector<int>& raw) {
        QByteArray bytes = "10\r\n";
        for (int i = 1; i < 10; ++i)
            bytes += "0\r\n";
        for (int v : raw)
            bytes += QByteArray::number(v) + "\r\n";
        EXPECT_TRUE(folder.write(name, bytes));
        return folder.file(name);
    }
};

} // namespace

TEST_F(PsetView, ShowPsetGivesTheLabelsValuesPercentAndAxesOfTheRecord) {
    setTexts(2, {{PsetField::Units, "3"},
                 {PsetField::Strategy, "28"},
                 {PsetField::TqTarget, "100"},
                 {PsetField::TqHi, "110"},
                 {PsetField::TqLo, "90"},
                 {PsetField::TqPercent, "7"},
                 {PsetField::TqDownshift, "50"},
                 {PsetField::AngleHi, "360"},
                 {PsetField::RpmFreeSpeed, "1500.5"},
                 {PsetField::SoftStart, "1"}});
    const auto view = session.ShowPset(2, false);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->numPsets, "Number Of Psets: 2         "); // the whole field, blanks included
    EXPECT_EQ(view->strategyCaption, "Strategy: Rev. Torque Control / Angle Control");
    EXPECT_EQ(view->unitsCaption, "Units: kg-cm");
    EXPECT_EQ(view->strategy, 28);
    EXPECT_EQ(view->editors[int(ValueEditor::neTqTarget)], 100);
    EXPECT_EQ(view->editors[int(ValueEditor::neDown)], 50);
    EXPECT_EQ(view->editors[int(ValueEditor::neAngleHi)], 360);
    EXPECT_EQ(view->editors[int(ValueEditor::neFree)], 1500.5);
    EXPECT_TRUE(view->softStart);
    EXPECT_FALSE(view->ergo);
    // 110/90 around 100: 10 %, written into the record.
    EXPECT_EQ(view->percent, 10);
    EXPECT_EQ(text(2, PsetField::TqPercent), "10");
    // No curve: 70 above the angle high limit, 5 above the torque high limit.
    ASSERT_TRUE(view->noCurveAxes);
    EXPECT_EQ(view->noCurveAxes->angle, 430);
    EXPECT_EQ(view->noCurveAxes->torque, 115);

    // While the user drives the limits through the percent, nothing is derived.
    setTexts(2, {{PsetField::TqPercent, "7"}});
    EXPECT_FALSE(session.ShowPset(2, true)->percent);
    EXPECT_EQ(text(2, PsetField::TqPercent), "7");
    // Asymmetric limits leave the percent as it is; so does a target of 0 (no share of it exists).
    setTexts(2, {{PsetField::TqHi, "120"}});
    EXPECT_FALSE(session.ShowPset(2, false)->percent);
    setTexts(2, {{PsetField::TqTarget, "0"}, {PsetField::TqHi, "5"}, {PsetField::TqLo, "-5"}});
    EXPECT_FALSE(session.ShowPset(2, false)->percent);
    EXPECT_EQ(text(2, PsetField::TqPercent), "7");

    // Codes outside the tables leave their labels; a curve keeps the axes as it set them.
    setTexts(2, {{PsetField::Strategy, "5"}, {PsetField::Units, "6"}});
    setTexts(1, {{PsetField::CurveFile, "C:\\ref.dat"}});
    const auto other = session.ShowPset(2, false);
    EXPECT_FALSE(other->strategyCaption);
    EXPECT_FALSE(other->unitsCaption);
    EXPECT_FALSE(other->noCurveAxes);
    setTexts(1, {{PsetField::CurveFile, ""}});
    EXPECT_TRUE(session.ShowPset(2, false)->noCurveAxes);
    EXPECT_FALSE(session.ShowPset(11, false));
}

TEST_F(PsetView, StrategyTableGivesCaptionsAndAngleLayoutsAndOnlyItsCodesReachTheRecord) {
    const auto table8 = pset::strategyTable();
    QList<int> codes;
    for (const auto& s : table8)
        codes << s.code;
    EXPECT_EQ(codes, (QList<int>{1, 2, 3, 4, 28, 29, 30, 31}));
    EXPECT_STREQ(pset::strategyEntry(30)->menuCaption, "Rev Torque Control / Angle Monitor");
    EXPECT_STREQ(pset::strategyEntry(30)->labelCaption, "Strategy: Rev. Torque Control / Angle Monitor");
    EXPECT_STREQ(pset::strategyEntry(1)->labelCaption, "Strategy: Torque Control");
    using Enabled = std::array<bool, 3>;
    const std::pair<int, Enabled> layouts[] = {{1, {false, false, false}}, {31, {false, false, false}},
                                               {2, {false, true, true}},   {30, {false, true, true}},
                                               {3, {true, true, true}},    {29, {true, true, true}}};
    for (const auto& [code, enabled] : layouts)
        EXPECT_EQ(pset::angleEditorsEnabled(pset::strategyEntry(code)->angles), enabled) << code;

    ASSERT_NE(session.setStrategy(2, 29), nullptr);
    EXPECT_EQ(text(2, PsetField::Strategy), "29");
    EXPECT_EQ(session.setStrategy(2, 5), nullptr);
    EXPECT_EQ(session.setStrategy(2, 0), nullptr);
    EXPECT_EQ(text(2, PsetField::Strategy), "29");
    EXPECT_EQ(pset::unitsCaption(1), "Units: In-Lb");
    EXPECT_EQ(pset::unitsCaption(5), "Units: Nm");
    EXPECT_FALSE(pset::unitsCaption(0));
}

TEST_F(PsetView, ShowingWritesOnlyTheDerivedPercentAndTheAnglesItsStrategyDoesNotUse) {
    // 13/11 around 12: 8.33333333 %, at the precision of the record's text.
    setTexts(2, {{PsetField::Strategy, "4.0"},
                 {PsetField::TqTarget, "12"},
                 {PsetField::TqHi, "13"},
                 {PsetField::TqLo, "11"},
                 {PsetField::TqPercent, "8.333"},
                 {PsetField::TqDownshift, "11.7845"},
                 {PsetField::AngleTarget, "-7"},
                 {PsetField::AngleHi, "0.0"},
                 {PsetField::AngleLo, "1.5"},
                 {PsetField::SoftStart, "2"},
                 {PsetField::Ergo, "-1"}});
    app::PsetRecord before = table[2];
    const auto view = session.ShowPset(2, false);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->editors[int(ValueEditor::neDown)], 11.7845);
    EXPECT_EQ(view->editors[int(ValueEditor::neAngleTarget)], -7);
    EXPECT_TRUE(view->softStart); // any byte but 0 is on
    EXPECT_TRUE(view->ergo);
    before.setText(PsetField::TqPercent, "8.33333333");
    EXPECT_EQ(table[2], before);
    // A percent that already reads as the derived number keeps its text.
    setTexts(2, {{PsetField::TqTarget, "100"},
                 {PsetField::TqHi, "110"},
                 {PsetField::TqLo, "90"},
                 {PsetField::TqPercent, "10.0"}});
    before = table[2];
    session.ShowPset(2, false);
    EXPECT_EQ(table[2], before);

    // Shown with strategy 4 nothing more; with 2 (as the record says "4.0", the code stays) the angle
    // target; with 31 every angle that does not read 0 already.
    ASSERT_NE(session.showStrategy(2, 4), nullptr);
    EXPECT_EQ(table[2], before);
    session.showStrategy(2, 2);
    before.setText(PsetField::AngleTarget, "0");
    EXPECT_EQ(table[2], before);
    EXPECT_EQ(text(2, PsetField::Strategy), "4.0");
    session.showStrategy(2, 31);
    before.setText(PsetField::AngleLo, "0");
    EXPECT_EQ(table[2], before);
    EXPECT_EQ(text(2, PsetField::AngleHi), "0.0");
    EXPECT_EQ(session.showStrategy(2, 5), nullptr);
    // The user's choice writes the code.
    session.setStrategy(2, 1);
    before.setText(PsetField::Strategy, "1");
    EXPECT_EQ(table[2], before);
}

TEST_F(PsetView, PercentCheckBoxesAndSetToDefaultsWorkOnTheShownPsetOnly) {
    // Pset 2 is shown (added last).
    ASSERT_EQ(session.selector().value, 2);
    setTexts(2, {{PsetField::TqTarget, "100"}});
    const auto limits = session.NeTqPer_Change(10);
    ASSERT_TRUE(limits);
    EXPECT_EQ(limits->hi, 110);
    EXPECT_EQ(limits->lo, 90);
    EXPECT_EQ(text(2, PsetField::TqPercent), "10");
    EXPECT_EQ(text(2, PsetField::TqHi), "110");
    EXPECT_EQ(text(2, PsetField::TqLo), "90");
    setTexts(2, {{PsetField::TqTarget, "12.3"}});
    session.NeTqPer_Change(15);
    EXPECT_EQ(text(2, PsetField::TqHi), "14.145");
    EXPECT_EQ(text(2, PsetField::TqLo), "10.455");

    session.chkErgo_Click(true);
    session.chkSoftStart_Click(true);
    EXPECT_EQ(text(2, PsetField::Ergo), "1");
    EXPECT_EQ(text(2, PsetField::SoftStart), "1");
    session.chkErgo_Click(false);
    EXPECT_EQ(text(2, PsetField::Ergo), "0");

    // "Set To Defaults": the unrounded defaults of the target, and the Pset shown again.
    QSignalSpy shown(&session, &pset::PsetEditorSession::showPsetRequested);
    setTexts(2, {{PsetField::TqTarget, "50"}, {PsetField::AngleHi, "360"}});
    session.BtnSetDefaults_Click();
    EXPECT_EQ(text(2, PsetField::TqHi), "55"); // 50 + 50 x 10 / 100
    EXPECT_EQ(text(2, PsetField::AngleHi), "3");
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0][0].toInt(), 2);

    // No Pset shown (selector 0): the percent, the boxes, the button and the store change nothing.
    session.Form_Load();
    dialogs->messages.clear();
    const app::PsetTable before = table;
    EXPECT_FALSE(session.NeTqPer_Change(20));
    session.chkErgo_Click(true);
    session.BtnSetDefaults_Click();
    pset::EditedValues values{};
    values[0] = 99;
    session.StorePsetFromEditors(0, values);
    session.StorePsetFromEditors(9, values);
    EXPECT_EQ(table, before);
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(PsetView, UpdateCycleArmsOnEditsAndChangesAndKeepsItsFlags) {
    pset::PsetEditCycle cycle;
    QSignalSpy fired(&cycle, &pset::PsetEditCycle::tmrUpdate_Timer);
    // A change from the program arms the timer; the target's marks the target edited.
    cycle.valueChanged(ValueEditor::neTqHi);
    EXPECT_TRUE(cycle.pending());
    EXPECT_FALSE(cycle.TargetEdited());
    ASSERT_TRUE(fired.wait(1000));
    EXPECT_EQ(fired.size(), 1);
    EXPECT_FALSE(cycle.pending());

    // A user's edit: changes while it is processed do not re-arm.
    cycle.userEdited(ValueEditor::neTqTarget);
    EXPECT_TRUE(cycle.EditInProgress());
    EXPECT_TRUE(cycle.TargetEdited());
    EXPECT_TRUE(cycle.takePending());
    cycle.valueChanged(ValueEditor::neTqLo);
    EXPECT_FALSE(cycle.pending());
    EXPECT_FALSE(cycle.takePending());
    cycle.finished();
    EXPECT_FALSE(cycle.EditInProgress());
    EXPECT_TRUE(cycle.TargetEdited()); // for the life of the window

    cycle.percentEdited();
    EXPECT_TRUE(cycle.PercentEdited());
    EXPECT_TRUE(cycle.pending());
    cycle.selectorChanged();
    EXPECT_FALSE(cycle.PercentEdited());
    cycle.percentEdited();
    cycle.finished();
    EXPECT_FALSE(cycle.PercentEdited());
    cycle.takePending();
    // The editors the user changed are marked for the store until the update ran.
    cycle.userEdited(ValueEditor::neTqLo);
    cycle.dragged(ValueEditor::neAngleHi);
    EXPECT_TRUE(cycle.pending());
    EXPECT_TRUE(cycle.edited(ValueEditor::neTqLo));
    EXPECT_TRUE(cycle.edited(ValueEditor::neAngleHi));
    EXPECT_FALSE(cycle.edited(ValueEditor::neTqHi));
    cycle.valueChanged(ValueEditor::neTqHi);
    EXPECT_FALSE(cycle.edited(ValueEditor::neTqHi));
    cycle.finished();
    EXPECT_FALSE(cycle.edited(ValueEditor::neTqLo));
    EXPECT_FALSE(cycle.edited(ValueEditor::neAngleHi));
}

TEST_F(PsetView, CurvePreviewFramesTheCurveAndCursorsSetTheirEditors) {
    app::CurveData curve;
    curve.CurveSampleCount = 500;
    for (int i = 0; i < 500; ++i)
        curve.CurveSamples[std::size_t(i)] = i < 250 ? i * 240.0 / 249 : 240;
    curve.CurveMaxValue = 240;
    curve.CurveMinValue = 0;
    const pset::CurvePreview p = pset::curvePreview(curve);
    EXPECT_EQ(p.xMaximum, 510);
    EXPECT_EQ(p.yMinimum, -5);
    EXPECT_EQ(p.yMaximum, 250);
    EXPECT_EQ(p.maxPanel, "Max Torque: 240");
    EXPECT_EQ(p.minPanel, "Min Torque: 0");
    ASSERT_EQ(p.samples.size(), 500u);
    // Smoothed: the ramp's end is rounded off, the long flat end reached.
    EXPECT_LT(p.samples[249], 239);
    EXPECT_NEAR(p.samples[499], 240, 0.5);

    // Ten samples are too few for the cut-off: drawn as they are.
    curve.CurveSampleCount = 10;
    const pset::CurvePreview shortCurve = pset::curvePreview(curve);
    EXPECT_EQ(shortCurve.samples,
              std::vector<double>(curve.CurveSamples.begin(), curve.CurveSamples.begin() + 10));
    EXPECT_EQ(pset::currentPlotPanel("C:\\a.dat"), "Current Plot: C:\\a.dat");
    EXPECT_EQ(pset::maxTorquePanel(), "Max Torque: ");
    EXPECT_EQ(pset::minTorquePanel(), "Min Torque: ");

    const auto lo = pset::cursorEdit(3, 40, -12.5);
    ASSERT_TRUE(lo);
    EXPECT_EQ(lo->editor, ValueEditor::neTqLo);
    EXPECT_EQ(lo->value, 12.5);
    const auto angleHi = pset::cursorEdit(8, -40, 3);
    EXPECT_EQ(angleHi->editor, ValueEditor::neAngleHi);
    EXPECT_EQ(angleHi->value, 40);
    EXPECT_EQ(pset::cursorEdit(6, 1, 2)->editor, ValueEditor::neCycleComplete);
    EXPECT_FALSE(pset::cursorEdit(0, 1, 1));
    EXPECT_FALSE(pset::cursorEdit(10, 1, 1));
}

TEST_F(PsetView, AttachingACurveTakesItsFileOnlyOnceItWasRead) {
    QSignalSpy read(&session, &pset::PsetEditorSession::curveRead);
    setTexts(1, {{PsetField::CurveFile, "None"}, {PsetField::Units, "1"}});
    // Cancelled, and a file too short to be a curve: nothing changes, nothing is drawn.
    const QString bad = folder.file(QStringLiteral("bad.dat"));
    ASSERT_TRUE(folder.write(QStringLiteral("bad.dat"), "10\r\n1\r\n"));
    dialogs->fileNames << QString() << bad;
    session.mnuCurveAdd_Click();
    session.mnuCurveAdd_Click();
    EXPECT_EQ(text(1, PsetField::CurveFile), "None");
    EXPECT_EQ(read.size(), 0);
    EXPECT_TRUE(dialogs->messages.empty());

    const QString path = writeCurve(QStringLiteral("c.dat"), {100, 2400, 50});
    if (path.size() > app::PsetRecord::CurveFileWidth)
        GTEST_SKIP() << "temporary folder path too long for a Pset file";
    dialogs->fileNames << path;
    session.mnuCurveAdd_Click();
    EXPECT_EQ(text(1, PsetField::CurveFile), path);
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read[0][0].toString(), path);
    EXPECT_TRUE(read[0][1].toBool());
    // Read in the units of record 1 (lb-in): raw tenths.
    EXPECT_EQ(ctx.palverin.curve.CurveSampleCount, 3);
    EXPECT_EQ(ctx.palverin.curve.CurveMaxValue, 240);

    // After a target edit the curve is read again in the shown Pset's units, without drawing.
    setTexts(2, {{PsetField::Units, "5"}});
    session.readCurveInUnitsOf(2);
    EXPECT_LT(ctx.palverin.curve.CurveMaxValue, 240);
    EXPECT_EQ(read.size(), 1);
}

TEST_F(PsetView, ALoadRunsOnceAndMarksItselfRunningWhileItDoes) {
    QList<bool> running;
    QObject::connect(&session, &pset::PsetEditorSession::controlsChanged,
                     [&] { running << session.controls().running; });
    {
        // Another command holds the program busy: the load does not start.
        base::BusyGuard other(ctx.busy);
        session.mnuLoad_Click();
    }
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(running.isEmpty());
    bool busyDuringLoad = false;
    QObject::connect(&session, &pset::PsetEditorSession::controlsChanged, [&] {
        if (session.controls().running)
            busyDuringLoad = ctx.busy.busy();
    });
    dialogs->fileNames << QString();
    session.mnuLoad_Click();
    EXPECT_EQ(messages(), QStringList{"File does not exists"});
    EXPECT_EQ(running, (QList<bool>{true, false}));
    EXPECT_TRUE(busyDuringLoad);
    EXPECT_FALSE(ctx.busy.busy());
}

// ---------------------------------------------------------------------------------------------------------
// The serial number

class PsetSerialNumber : public PsetFixture {};

TEST_F(PsetSerialNumber, GoesInItsFrameOverEthernetOnlyAndRefusesTextThatWouldBreakIt) {
    // No Ethernet link.
    dialogs->textAnswers << QStringLiteral("A123");
    session.mnuSerialNumber_Click();
    ASSERT_EQ(messages(), QStringList{"Unable to Connect through Ethernet"});
    EXPECT_EQ(dialogs->messages[0].caption, "Configuration Error");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);

    connect(Link::Ethernet);
    dialogs->messages.clear();
    dialogs->textAnswers << QString() << QStringLiteral("12%4") << QStringLiteral("A\r\n")
                         << QStringLiteral("SN-0042");
    session.mnuSerialNumber_Click(); // cancelled
    session.mnuSerialNumber_Click();
    session.mnuSerialNumber_Click();
    EXPECT_EQ(messages(), (QStringList{"Serial Number May Hold Only Printable Characters Other Than %",
                                       "Serial Number May Hold Only Printable Characters Other Than %"}));
    EXPECT_EQ(dialogs->messages[0].caption, "Data Entry Error");
    session.mnuSerialNumber_Click();
    ASSERT_TRUE(waitFor([&] { return !dongle.otherFrames.empty(); }));
    ASSERT_EQ(dongle.otherFrames.size(), 1u);
    EXPECT_EQ(dongle.otherFrames[0], "%CANSNSN-0042NAC%");
    EXPECT_EQ(messages().last(), "Serial Number Sent");
    EXPECT_EQ(dialogs->messages.back().caption, "Transfer Successful");
    EXPECT_TRUE(dongle.frames.empty());
}
