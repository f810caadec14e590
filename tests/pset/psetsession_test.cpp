// The editor's session without a controller: new project, the defaults a Pset receives, add and remove,
// the editors stored, the control states, the curve choice.
#include "pset/psetvalues.h"
#include "tests/pset/psetfixture.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryFile>

using app::PsetField;
using app::PsetRecord;
using base::MessageIcon;
using namespace psettest;

namespace {

class PsetSession : public PsetFixture {
protected:
    void newProject() {
        session.mnuNewPset_Click();
        session.tmrNew_Timer();
    }
};

} // namespace

TEST_F(PsetSession, NewProjectCompletesOnItsTimerWithTheScaledDefaultsOfATargetOfZero) {
    table[1].setText(PsetField::CurveFile, QStringLiteral("C:\\ref.dat"));
    setTexts(2, {{PsetField::TqTarget, "55"}});
    QSignalSpy shown(&session, &pset::PsetEditorSession::showPsetRequested);
    session.mnuNewPset_Click();
    EXPECT_TRUE(session.newProjectPending());
    EXPECT_EQ(session.selector(), (pset::PsetSelector{1, 1, 1}));
    EXPECT_TRUE(session.controls().mnuSave);
    EXPECT_TRUE(session.controls().mnuSendData);
    EXPECT_EQ(text(2, PsetField::TqTarget), "0");
    EXPECT_EQ(shown.size(), 0);

    session.tmrNew_Timer();
    EXPECT_FALSE(session.newProjectPending());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0][0].toInt(), 1);
    const QStringList pset1{"1", "5", "1", "0", "0",  "0",  "10", "0", "0",
                            "2", "3", "1", "0", "65", "85", "0",  "0"};
    for (int f = 0; f < 17; ++f)
        EXPECT_EQ(text(1, PsetField(f)), pset1[f]) << f;
    // The other records hold the initial values (units 0); the curve is left as it was.
    const QStringList initial{"1", "0", "0", "0", "0", "0", "0", "0", "0",
                              "2", "3", "1", "0", "0", "0", "0", "0"};
    for (int f = 0; f < 17; ++f)
        EXPECT_EQ(text(8, PsetField(f)), initial[f]) << f;
    EXPECT_EQ(text(1, PsetField::CurveFile), "C:\\ref.dat");
}

TEST_F(PsetSession, ScaledDefaultsRoundHalfToEvenAndUnroundedDefaultsAreCutToTen) {
    app::PsetDefaultValues& d = ctx.palverin.settings.PsetDefaults;
    PsetRecord p;
    p.setText(PsetField::TqTarget, QStringLiteral("85"));
    pset::applyScaledDefaults(p, d);
    // 85 x 80 / 100 = 68; +/- 6.8 -> 7; downshift 34, threshold 10.2 -> 10, cycle complete 3.4 -> 3.
    EXPECT_EQ(p.text(PsetField::TqTarget).trimmed(), "68");
    EXPECT_EQ(p.text(PsetField::TqHi).trimmed(), "75");
    EXPECT_EQ(p.text(PsetField::TqLo).trimmed(), "61");
    EXPECT_EQ(p.text(PsetField::TqDownshift).trimmed(), "34");
    EXPECT_EQ(p.text(PsetField::TqThreshold).trimmed(), "10");
    EXPECT_EQ(p.text(PsetField::CycleComplete).trimmed(), "3");
    EXPECT_EQ(p.text(PsetField::Strategy).trimmed(), "1");
    // A target of 0.5 rounds to 0 (halves to even), not 1.
    p.setText(PsetField::TqTarget, QStringLiteral("0.5"));
    pset::applyScaledDefaults(p, d);
    EXPECT_EQ(p.text(PsetField::TqTarget).trimmed(), "0");

    // Unrounded: the target stays, 50 x 15 / 100 = 7.5; a long fraction is cut at 10 characters.
    p.setText(PsetField::TqTarget, QStringLiteral("50"));
    p.setText(PsetField::Strategy, QStringLiteral("4"));
    pset::applyUnroundedDefaults(p, d);
    EXPECT_EQ(p.text(PsetField::TqTarget).trimmed(), "50");
    EXPECT_EQ(p.text(PsetField::TqHi).trimmed(), "55");
    EXPECT_EQ(p.text(PsetField::TqLo).trimmed(), "45");
    EXPECT_EQ(p.text(PsetField::TqThreshold).trimmed(), "7.5");
    EXPECT_EQ(p.text(PsetField::CycleComplete).trimmed(), "2.5");
    EXPECT_EQ(p.text(PsetField::Strategy).trimmed(), "1");
    d.DefaultThresholdPercent = QStringLiteral("33.3333333");
    p.setText(PsetField::TqTarget, QStringLiteral("1"));
    pset::applyUnroundedDefaults(p, d);
    EXPECT_EQ(p.text(PsetField::TqThreshold), "0.33333333");

    // Through the session: Pset n of the table.
    newProject();
    setTexts(1, {{PsetField::TqTarget, "40"}});
    session.ApplyDefaultsToPset(1);
    EXPECT_EQ(text(1, PsetField::TqDownshift), "20");
    session.SetStrategyDefaults(1);
    EXPECT_EQ(text(1, PsetField::TqTarget), "32");
}

TEST_F(PsetSession, AddStopsAtEightAndRemovingPsetTwoOfThreeMovesPsetThreeUp) {
    QSignalSpy shown(&session, &pset::PsetEditorSession::showPsetRequested);
    // With no project, Add starts one.
    session.mnuAddPset_Click();
    EXPECT_TRUE(session.newProjectPending());
    session.tmrNew_Timer();
    EXPECT_EQ(table.count(), 1);

    session.mnuAddPset_Click();
    session.mnuAddPset_Click();
    EXPECT_EQ(table.count(), 3);
    EXPECT_EQ(session.selector(), (pset::PsetSelector{1, 3, 3}));
    EXPECT_EQ(shown.last()[0].toInt(), 3);
    const QStringList added{"1", "5", "1", "0", "0",  "0",  "0", "0", "0",
                            "0", "0", "0", "0", "65", "85", "0", "0"};
    for (int f = 0; f < 17; ++f)
        EXPECT_EQ(text(3, PsetField(f)), added[f]) << f;

    setTexts(2, {{PsetField::TqTarget, "20"}, {PsetField::TqPercent, "12"}});
    setTexts(3, {{PsetField::Strategy, "29"},
                 {PsetField::TqTarget, "30"},
                 {PsetField::TqHi, "33"},
                 {PsetField::TqPercent, "7"},
                 {PsetField::AngleHi, "270"},
                 {PsetField::SoftStart, "1"},
                 {PsetField::Units, "2"}});
    const PsetRecord pset3 = table[3];
    session.setSelectorValue(2);
    session.mnuRemovePset_Click();
    EXPECT_EQ(table.count(), 2);
    for (PsetField f : {PsetField::Strategy, PsetField::TqTarget, PsetField::TqHi, PsetField::AngleHi,
                        PsetField::SoftStart, PsetField::Units})
        EXPECT_EQ(table[2].text(f), pset3.text(f)) << int(f);
    EXPECT_EQ(text(2, PsetField::TqPercent), "12"); // the percent stays with the place
    EXPECT_EQ(session.selector(), (pset::PsetSelector{1, 2, 2}));
    EXPECT_EQ(shown.last()[0].toInt(), 2);

    // Removing the last Pset shortens the project; the only one is never removed.
    session.mnuRemovePset_Click();
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(session.selector(), (pset::PsetSelector{1, 1, 1}));
    session.mnuRemovePset_Click();
    EXPECT_EQ(table.count(), 1);

    // Up to eight; a ninth is refused without a word.
    for (int i = 0; i < 9; ++i)
        session.mnuAddPset_Click();
    EXPECT_EQ(table.count(), 8);
    EXPECT_EQ(session.selector(), (pset::PsetSelector{1, 8, 8}));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(text(9, PsetField::Units), ""); // the spare record is never added to
}

TEST_F(PsetSession, EditedValuesAreStoredAsShortestDecimalTextsAndNothingElse) {
    newProject();
    setTexts(1, {{PsetField::TqLo, "15.9054"},
                 {PsetField::TqPercent, "8.333"},
                 {PsetField::SoftStart, "2"},
                 {PsetField::AngleLo, "-5"}});
    const app::PsetRecord before = table[1];
    using pset::ValueEditor;
    pset::EditedValues v{};
    v[std::size_t(ValueEditor::neTqTarget)] = 12.3 * 10 / 100;
    v[std::size_t(ValueEditor::neAngleHi)] = 360;
    v[std::size_t(ValueEditor::neFree)] = 1500.5;
    v[std::size_t(ValueEditor::neDown)] = 1.0 / 3;
    session.StorePsetFromEditors(1, v);
    EXPECT_EQ(table[1].text(PsetField::TqTarget), "1.23      ");
    EXPECT_EQ(table[1].text(PsetField::TqDownshift), "0.33333333");
    EXPECT_EQ(text(1, PsetField::AngleHi), "360");
    EXPECT_EQ(text(1, PsetField::RpmFreeSpeed), "1500.5");
    // The fields of untouched editors, the percent and the flags keep their text.
    app::PsetRecord expected = before;
    expected.setText(PsetField::TqTarget, "1.23");
    expected.setText(PsetField::TqDownshift, "0.33333333");
    expected.setText(PsetField::AngleHi, "360");
    expected.setText(PsetField::RpmFreeSpeed, "1500.5");
    EXPECT_EQ(table[1], expected);
    EXPECT_EQ(text(1, PsetField::TqLo), "15.9054");
    EXPECT_EQ(text(1, PsetField::SoftStart), "2");
    const app::PsetTable all = table;
    session.StorePsetFromEditors(11, v); // outside the table: nothing
    session.StorePsetFromEditors(1, pset::EditedValues{});
    EXPECT_EQ(table, all);
}

TEST_F(PsetSession, ACurveFileIsChosenOnlyWhenAPsetFileCanHoldItsPath) {
    QTemporaryFile curve(QDir::tempPath() + QStringLiteral("/cXXXXXX.dat"));
    ASSERT_TRUE(curve.open());
    if (curve.fileName().size() > PsetRecord::CurveFileWidth)
        GTEST_SKIP() << "temporary folder path too long for a Pset file";
    dialogs->fileNames << curve.fileName() << QString() << folder.file("absent.dat");
    EXPECT_EQ(session.Pset_GetFilename(), curve.fileName());
    EXPECT_EQ(session.Pset_GetFilename(), "None");
    EXPECT_EQ(session.Pset_GetFilename(), "None");
    ASSERT_EQ(messages(), QStringList{"File does not exists"});
    EXPECT_EQ(dialogs->messages[0].caption, "File Error");

    // 41 characters, and a character without a Windows-1252 byte.
    QDir(folder.path()).mkpath(QStringLiteral("d"));
    const QString longName = folder.file(QStringLiteral("d/")) + QString(41, u'x');
    const QString greek = folder.file(QStringLiteral("\u03A9.dat"));
    ASSERT_TRUE(folder.write(longName.mid(folder.path().size() + 1), "1"));
    ASSERT_TRUE(folder.write(QStringLiteral("\u03A9.dat"), "1"));
    dialogs->fileNames << longName << greek;
    EXPECT_EQ(session.Pset_GetFilename(), "None");
    EXPECT_EQ(session.Pset_GetFilename(), "None");
    ASSERT_EQ(dialogs->messages.size(), 3u);
    EXPECT_EQ(dialogs->messages[1].text, "Curve File Path Longer Than 40 Characters: " + longName);
    EXPECT_EQ(dialogs->messages[2].text, "Curve File Path Has Characters A Pset File Cannot Store: " + greek);
    EXPECT_EQ(dialogs->messages[2].icon, MessageIcon::Critical);
}
