// The project file: bytes at the layout offsets, the round trip, short and damaged files, and the load and
// save commands with their boxes, unit conversion and curve.
#include "base/cp1252.h"
#include "pset/psetfile.h"
#include "pset/psetvalues.h"
#include "tests/pset/psetfixture.h"
#include "tests/pset/psetgolden.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryFile>

using app::PsetField;
using app::PsetRecord;
using base::MessageIcon;
using namespace psettest;

namespace {

class PsetFiles : public PsetFixture {
protected:
    // A project of three Psets in Nm, records 4..8 as added Psets, the curve "None".
    void fillProject() { fillGoldenProject(session, table, ctx.palverin.settings.PsetDefaults); }
    QString path(const char* name) const { return folder.file(QString::fromLatin1(name)); }
    void save(const QString& file) {
        dialogs->fileNames.enqueue(file);
        session.mnuSave_Click();
    }
    void load(const QString& file) {
        dialogs->fileNames.enqueue(file);
        session.mnuLoad_Click();
    }
};

// Puts text at byte offset `at` of record k (1..8) in a file image.
void put(QByteArray& image, int k, int at, const char* text) {
    const QByteArray bytes(text);
    image.replace((k - 1) * 210 + at, bytes.size(), bytes);
}

} // namespace

TEST_F(PsetFiles, SavedFileEqualsTheImageBuiltAtTheLayoutOffsets) {
    fillProject();
    const QString file = path("golden.Pst");
    save(file);
    ASSERT_EQ(messages(), QStringList{"Successful - Data Stored"});
    EXPECT_EQ(dialogs->messages[0].caption, "Parameter Set Save");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Information);

    const QByteArray expected = goldenProjectImage();
    ASSERT_EQ(expected.size(), 1680);
    EXPECT_EQ(folder.read(QStringLiteral("golden.Pst")), expected);

    // Save -> load -> save gives the same bytes.
    QSignalSpy shown(&session, &pset::PsetEditorSession::showPsetRequested);
    load(file);
    EXPECT_EQ(messages().last(), "Parameters Loaded");
    EXPECT_EQ(dialogs->messages.back().caption, "Load Parameter Set");
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0][0].toInt(), 1);
    EXPECT_EQ(session.selector(), (pset::PsetSelector{1, 3, 1}));
    EXPECT_TRUE(session.controls().mnuSendData);
    const QString again = path("again.Pst");
    save(again);
    EXPECT_EQ(folder.read(QStringLiteral("again.Pst")), expected);

    // An existing file is overwritten only after OK; Cancel leaves it as it was.
    table[2].setText(PsetField::TqTarget, QStringLiteral("301"));
    dialogs->okCancelAnswers.enqueue(false);
    save(file);
    EXPECT_EQ(dialogs->asked.back().text, "This file already exists. - Overwrite File ?");
    EXPECT_EQ(dialogs->asked.back().caption, "File Exists Warning");
    EXPECT_EQ(folder.read(QStringLiteral("golden.Pst")), expected);
    dialogs->okCancelAnswers.enqueue(true);
    save(file);
    EXPECT_EQ(folder.read(QStringLiteral("golden.Pst")).mid(210 + 30, 10), QByteArray("301       "));
}

TEST_F(PsetFiles, CodecKeepsWindowsBytesAndReadsShortFilesAsBlankRecords) {
    app::PsetTable t;
    t[1].setText(PsetField::CurveFile, QStringLiteral("C:\\Kurven\\Prüfung.dat"));
    t[8].setText(PsetField::Ergo, QStringLiteral("1"));
    const QByteArray image = pset::encodePsetFile(t);
    ASSERT_EQ(image.size(), pset::PsetFileBytes);
    EXPECT_EQ(image.mid(170, 21), QByteArray("C:\\Kurven\\Pr\xFC"
                                             "fung.dat"));
    EXPECT_EQ(image.at(7 * 210 + 160), '1');

    app::PsetTable back;
    back[9].setText(PsetField::TqTarget, QStringLiteral("9")); // records beyond the file are not touched
    pset::decodePsetFile(image, back);
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(back[k], t[k]) << k;
    EXPECT_EQ(back[9].text(PsetField::TqTarget), "9         ");

    // A file cut inside record 2: record 2 keeps its first bytes, the rest is blank.
    app::PsetTable cut;
    for (int k = 1; k <= 8; ++k)
        cut[k].setText(PsetField::Units, QStringLiteral("7"));
    pset::decodePsetFile(image.left(210 + 15), cut);
    EXPECT_EQ(cut[1], t[1]);
    EXPECT_EQ(cut[2].text(PsetField::Units), "          "); // bytes 10..14 were blanks, the rest padded
    EXPECT_EQ(cut[3], PsetRecord());
    EXPECT_EQ(cut[8].number(PsetField::Ergo), 0);
}

TEST_F(PsetFiles, LoadConvertsTorqueIntoTheDefaultUnitsAndClampsTheCount) {
    setDefaultUnits(5);
    QByteArray image(1680, ' ');
    put(image, 1, 0, "12"); // more Psets than a project holds
    put(image, 1, 10, "1"); // lb-in
    put(image, 1, 30, "100");
    put(image, 1, 40, "110");
    put(image, 1, 50, "90");
    put(image, 1, 70, "50");
    put(image, 1, 80, "20");
    put(image, 1, 120, "10");
    put(image, 1, 60, "10");
    put(image, 1, 100, "360");
    put(image, 1, 140, "85");
    put(image, 1, 170, "None");
    put(image, 2, 10, "5");
    put(image, 2, 30, "12.5");
    put(image, 3, 10, "4"); // kg-m: a low limit no number in Nm can hold
    put(image, 3, 30, "2");
    put(image, 3, 50, "9E+307");
    ASSERT_TRUE(folder.write(QStringLiteral("lbin.Pst"), image));
    load(path("lbin.Pst"));
    ASSERT_EQ(messages(), QStringList{"Parameters Loaded"});

    const PsetRecord& p = table[1];
    EXPECT_EQ(p.text(PsetField::TqTarget), "11.3      ");
    EXPECT_EQ(p.text(PsetField::TqHi), "12.43     ");
    EXPECT_EQ(p.text(PsetField::TqLo), "10.17     ");
    EXPECT_EQ(p.text(PsetField::TqDownshift), "5.65      ");
    EXPECT_EQ(p.text(PsetField::TqThreshold), "2.26      ");
    EXPECT_EQ(p.text(PsetField::CycleComplete), "1.13      ");
    EXPECT_EQ(p.text(PsetField::Units), "5         ");
    // Percent, angles and speeds are not torques.
    EXPECT_EQ(p.text(PsetField::TqPercent), "10        ");
    EXPECT_EQ(p.text(PsetField::AngleHi), "360       ");
    EXPECT_EQ(p.text(PsetField::RpmFreeSpeed), "85        ");
    // Already in Nm: unchanged.
    EXPECT_EQ(table[2].text(PsetField::TqTarget), "12.5      ");
    EXPECT_NEAR(table[3].number(PsetField::TqTarget), 19.6, 0.1);
    EXPECT_EQ(table[3].text(PsetField::TqLo), "9E+307    ");
    EXPECT_EQ(table[3].text(PsetField::Units), "5         ");
    EXPECT_EQ(table.count(), 8);
    EXPECT_EQ(session.selector(), (pset::PsetSelector{1, 8, 1}));

    put(image, 1, 0, "0 ");
    ASSERT_TRUE(folder.write(QStringLiteral("none.Pst"), image));
    load(path("none.Pst"));
    EXPECT_EQ(table.count(), 1);
}

TEST_F(PsetFiles, LoadFailuresLeaveTheProjectAsItWas) {
    fillProject();
    const app::PsetTable before = table;
    // A cancelled dialog, a missing file, an empty file, a folder.
    load(QString());
    load(path("missing.Pst"));
    ASSERT_TRUE(folder.write(QStringLiteral("empty.Pst"), QByteArray()));
    load(path("empty.Pst"));
    ASSERT_TRUE(QDir().mkpath(path("folder.Pst")));
    load(path("folder.Pst"));
    ASSERT_EQ(dialogs->messages.size(), 4u);
    EXPECT_EQ(dialogs->messages[3].text, "File does not exists");
    EXPECT_EQ(dialogs->messages[0].text, "File does not exists");
    EXPECT_EQ(dialogs->messages[0].caption, "File Error");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(dialogs->messages[1].text, "File does not exists");
    EXPECT_TRUE(dialogs->messages[2].text.startsWith("File Contains No Parameter Sets: "));
    EXPECT_EQ(dialogs->messages[2].caption, "Load Parameter Set");
    EXPECT_EQ(table, before);

    // A file cut inside the Psets its first record counts (three) has lost some: it replaces nothing.
    const QByteArray golden = goldenProjectImage();
    ASSERT_TRUE(folder.write(QStringLiteral("cut3.Pst"), golden.left(2 * 210 + 100)));
    ASSERT_TRUE(folder.write(QStringLiteral("cut1.Pst"), golden.left(209)));
    dialogs->messages.clear();
    load(path("cut3.Pst"));
    load(path("cut1.Pst"));
    EXPECT_EQ(messages(), (QStringList{"File Ends Before Parameter Set 3 Is Complete: " + path("cut3.Pst"),
                                       "File Ends Before Parameter Set 1 Is Complete: " + path("cut1.Pst")}));
    EXPECT_EQ(dialogs->messages[0].caption, "Load Parameter Set");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(table, before);
    // A curve file chosen by mistake does not begin with a Pset count.
    ASSERT_TRUE(folder.write(QStringLiteral("curve.Pst"), QByteArray("5\r\nTool 12\r\n").repeated(200)));
    load(path("curve.Pst"));
    EXPECT_EQ(messages().last(), "File Corrupt Or File Type Incorrect: " + path("curve.Pst"));
    EXPECT_EQ(dialogs->messages.back().caption, "Load Parameter Set");
    EXPECT_EQ(table, before);
    // A shorter file that holds its Psets whole loads; the records it lacks are blank.
    QByteArray one = golden.left(2 * 210);
    one.replace(0, 10, "2         ");
    ASSERT_TRUE(folder.write(QStringLiteral("two.Pst"), one));
    load(path("two.Pst"));
    EXPECT_EQ(messages().last(), "Parameters Loaded");
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(table[2], before[2]);
    EXPECT_EQ(text(3, PsetField::Strategy), "");
    EXPECT_EQ(text(3, PsetField::AngleHi), "");
    EXPECT_EQ(text(3, PsetField::TqTarget), "0"); // converted into the default units
}

TEST_F(PsetFiles, TheProjectCurveIsReadOrReportedMissingAndTheProjectLoadsAllTheSame) {
    fillProject();
    // The project file holds the curve's path in 40 characters: a short one in the temporary folder.
    QTemporaryFile curveFile(QDir::tempPath() + QStringLiteral("/pXXXXXX.dat"));
    ASSERT_TRUE(curveFile.open());
    if (curveFile.fileName().size() > PsetRecord::CurveFileWidth)
        GTEST_SKIP() << "temporary folder path too long for a Pset file";
    QStringList curve{"5"};
    for (int i = 1; i < 10; ++i)
        curve << QStringLiteral("header");
    curve << "100"
          << "250"
          << "65436"; // 10.0, 25.0 and -10.0 lb-in
    curveFile.write(curve.join("\r\n").toLatin1() + "\r\n");
    curveFile.close();
    setDefaultUnits(1);
    table[1].setText(PsetField::CurveFile, curveFile.fileName());
    const QString withCurve = path("curve.Pst");
    save(withCurve);
    QSignalSpy read(&session, &pset::PsetEditorSession::curveRead);
    load(withCurve);
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read[0][0].toString(), curveFile.fileName());
    EXPECT_TRUE(read[0][1].toBool());
    EXPECT_EQ(ctx.palverin.curve.CurveSampleCount, 3);
    EXPECT_EQ(ctx.palverin.curve.CurveSamples[1], 25.0);

    // An old project naming a Windows path: the box, then the project.
    table[1].setText(PsetField::CurveFile, QStringLiteral("C:\\Curves\\Run7.dat"));
    table[2].setText(PsetField::TqTarget, QStringLiteral("42"));
    const QString windows = path("windows.Pst");
    save(windows);
    table[2].setText(PsetField::TqTarget, QStringLiteral("0"));
    dialogs->messages.clear();
    load(windows);
    EXPECT_EQ(messages(), (QStringList{"Curve File Does Not Exist", "Parameters Loaded"}));
    EXPECT_EQ(dialogs->messages[0].caption, "File Error");
    EXPECT_EQ(table[2].text(PsetField::TqTarget), "42        ");
    EXPECT_EQ(read.size(), 1);
    EXPECT_TRUE(session.controls().framepset);
}
