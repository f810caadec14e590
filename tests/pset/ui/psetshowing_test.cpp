// Showing a Pset in the shown Parameter Sets window changes only what the window derives: hand-made
// project files (values beyond the controller's range after the units conversion, negative values, four
// decimals, flags of 2, symmetric limits) are loaded, every Pset is shown, and the saved bytes equal those
// of the same file loaded and saved without the window, apart from the derived percent and the angles
// a strategy does not use. The packets the window sends equal the session's; a converted value beyond
// the controller's range is refused at send. What the user changes is written as the user sees it.
#include "base/numbertext.h"
#include "link/canid.h"
#include "link/commandcodes.h"
#include "tests/pset/ui/psetwindow.h"

#include <QCheckBox>
#include <QPushButton>

namespace ids = clink::ids;
namespace codes = clink::codes;
using app::PsetField;
using psetuitest::PsetWindow;

namespace {

constexpr int FileRecords = 8;
// The units codes of the files and of the program's defaults.
constexpr const char* LbIn = "1";
constexpr const char* Nm = "5";

// The seventeen ten-character fields of a record in file order (NumPsets .. Ergo).
using RecordTexts = std::array<QByteArray, 17>;

QByteArray recordImage(const RecordTexts& fields) {
    QByteArray r;
    for (const QByteArray& f : fields)
        r += f.leftJustified(app::PsetRecord::FieldWidth, ' ', true);
    return r + QByteArray("None").leftJustified(app::PsetRecord::CurveFileWidth, ' ', true);
}

// A project file: the records given, then copies of the filler up to eight records.
QByteArray fileImage(std::initializer_list<RecordTexts> psets, const RecordTexts& filler) {
    QByteArray image;
    for (const RecordTexts& r : psets)
        image += recordImage(r);
    while (image.size() < FileRecords * app::PsetRecord::Bytes)
        image += recordImage(filler);
    return image;
}

// Field f of record n (1..8) in a file image, blanks included.
QByteArray field(const QByteArray& image, int n, PsetField f) {
    return image.mid((n - 1) * app::PsetRecord::Bytes + int(f) * app::PsetRecord::FieldWidth,
                     app::PsetRecord::FieldWidth);
}
void patch(QByteArray& image, int n, PsetField f, const char* text) {
    image.replace((n - 1) * app::PsetRecord::Bytes + int(f) * app::PsetRecord::FieldWidth,
                  app::PsetRecord::FieldWidth, QByteArray(text).leftJustified(app::PsetRecord::FieldWidth));
}

double number(const QByteArray& image, int n, PsetField f) {
    return base::textValue(QString::fromLatin1(field(image, n, f)));
}

// The angle fields a strategy leaves unused (showing zeroes them): all three for strategies 1 and 31,
// the target for 2 and 30.
int unusedAngles(int strategy) {
    switch (strategy) {
    case app::TorqueControl:
    case app::RevTorqueControl:
        return 3;
    case app::TorqueControlAngleMonitor:
    case app::RevTorqueControlAngleMonitor:
        return 1;
    default:
        return 0;
    }
}

// The value editors' objectNames in editor order.
constexpr std::array<const char*, pset::ValueEditorCount> EditorNames = {
    "neTqTarget",    "neTqHi",    "neTqLo",    "neDown", "neThresh",   "neCycleComplete",
    "neAngleTarget", "neAngleHi", "neAngleLo", "neFree", "neDownShift"};

// Byte-by-byte comparison, field by field, so that a failure names the record and the field.
void expectSameFile(const QByteArray& actual, const QByteArray& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); i += app::PsetRecord::FieldWidth)
        EXPECT_EQ(actual.mid(i, app::PsetRecord::FieldWidth), expected.mid(i, app::PsetRecord::FieldWidth))
            << "record " << i / app::PsetRecord::Bytes + 1 << " offset " << i % app::PsetRecord::Bytes;
}

// A project in Nm, loaded while the default units are lb-in (x 8.851): Pset 1's torques go beyond
// 6553.5; Pset 2 runs strategy 1 with angles; Pset 3 holds negative values. Every limit asymmetric.
const QByteArray ConvertedFile = fileImage(
    {
        {"3", Nm, "3", "750", "800", "690", "0", "600", "500", "30", "45", "15", "400", "300", "1200", "2",
         "0"},
        {"3", Nm, "1", "20", "22", "17", "10", "15", "10", "2", "3", "1", "5", "300", "1200.5", "1", "2"},
        {"1", Nm, "4", "-10", "5", "-20", "-3", "-12", "-15", "-30", "-5", "-40", "-16", "-100", "-1200",
         "-1", "0"},
    },
    {"1", Nm, "1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"});

// A project in lb-in, loaded while the default units are lb-in: four-decimal values (a target of
// 13.5498 goes as 135), flags of 2, symmetric limits whose percent is derived (8.33333333, and 10 that
// already reads "10.0"), strategies 2 and 31 over angles.
const QByteArray DecimalFile = fileImage(
    {
        {"3", LbIn, "4", "13.5498", "14.9", "12.1948", "0", "11.7845", "10.1234", "30.5", "45.25", "15.125",
         "0.9555", "300", "1200", "2", "2"},
        {"7", LbIn, "2", "12", "13", "11", "8.333", "11.5", "10.25", "10", "90", "1.5", "9.0001", "250.25",
         "1500", "0", "1"},
        {"7", LbIn, "31", "100", "110", "90", "10.0", "80.0005", "60.5", "0.0", "0", "0", "50", "500", "2000",
         "1", "0"},
    },
    {"7", LbIn, "3", "1.2345", "2", "1", "5", "1", "0.5", "2", "3", "1", "0.25", "100", "200", "2", "2"});

class PsetShowing : public PsetWindow {
protected:
    // The link to the stand-in and the default units in the settings files, no window yet.
    void SetUp() override {
        useUsb();
        ASSERT_TRUE(ctx.link.usb.ReopenDevice());
        saveSettings();
        ctx.palverin.settings.PsetDefaults.DefaultUnits = QString::fromLatin1(LbIn);
        ASSERT_TRUE(ctx.palverin.SaveIniFile());
    }
    QString write(const QString& name, const QByteArray& image) {
        EXPECT_TRUE(folder.write(name, image));
        return folder.file(name);
    }
    // Load and save through the session alone: nothing shows a Pset. The saved bytes.
    QByteArray loadAndSaveWithoutShowing(const QString& file, const QString& saveAs) {
        alone.mnuLoad_Click(); // the file name is queued by the caller
        dialogs->fileNames.enqueue(folder.file(saveAs));
        alone.mnuSave_Click();
        EXPECT_EQ(dialogs->messageTexts(), (QStringList{"Parameters Loaded", "Successful - Data Stored"}))
            << file.toStdString();
        dialogs->messages.clear();
        return folder.read(saveAs);
    }
    // The window, shown, with the project loaded from its File menu.
    void openShownAndLoad(const QString& file) {
        open();
        window->resize(900, 600);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        ASSERT_TRUE(waitFor([&] { return !window->session().statusReadPending(); }));
        dialogs->fileNames.enqueue(file);
        action("mnuLoad")->trigger();
        ASSERT_TRUE(settled());
        EXPECT_EQ(dialogs->messageTexts(), QStringList{"Parameters Loaded"});
        dialogs->messages.clear();
    }
    // Every Pset shown through the selector, typed up from 1 and stepped back down with the arrow key.
    void showEveryPset() {
        for (int n = 1; n <= table().count(); ++n) {
            type(edit("neCurrentPset"), QString::number(n));
            ASSERT_TRUE(settled());
            ASSERT_EQ(window->session().selector().value, n);
        }
        for (int n = table().count(); n > 1; --n) {
            QTest::keyClick(edit("neCurrentPset"), Qt::Key_Down);
            ASSERT_TRUE(settled());
        }
        ASSERT_EQ(window->session().selector().value, 1);
    }
    QByteArray saveFromWindow(const QString& saveAs) {
        dialogs->fileNames.enqueue(folder.file(saveAs));
        action("mnuSave")->trigger();
        EXPECT_EQ(dialogs->messageTexts(), QStringList{"Successful - Data Stored"});
        dialogs->messages.clear();
        return folder.read(saveAs);
    }
    // The Pset packets the stand-in received since it was last cleared, a repeat sent once.
    std::vector<clink::CanMessage> sentPackets() const {
        std::vector<clink::CanMessage> sent;
        for (const clink::CanMessage& m : model.received)
            if (m.id == ids::CommandRequest && m.data[0] >= codes::PsetPacket1 &&
                m.data[0] < codes::PsetPacket1 + codes::PsetPackets && (sent.empty() || !(sent.back() == m)))
                sent.push_back(m);
        return sent;
    }

    // Send from the window: no box, and the packets on the wire are expected's, one by one.
    void expectWindowSends(const std::vector<clink::CanMessage>& expected) {
        model.received.clear();
        child<QPushButton>("cmdSend")->click();
        EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
        const std::vector<clink::CanMessage> windowPackets = sentPackets();
        ASSERT_EQ(windowPackets.size(), expected.size());
        for (std::size_t i = 0; i < windowPackets.size(); ++i)
            EXPECT_EQ(windowPackets[i].data, expected[i].data) << "packet " << i;
    }

    // The editor's session with no window: what it loads, receives and saves is shown nowhere.
    pset::PsetEditorSession alone{ctx};
};

} // namespace

TEST_F(PsetShowing, ConvertedValuesBeyondRangeAndNegativesAreShownAsHeldSavedUnchangedAndRefusedAtSend) {
    const QString file = write(QStringLiteral("nm.Pst"), ConvertedFile);
    dialogs->fileNames.enqueue(file);
    const QByteArray withoutShowing = loadAndSaveWithoutShowing(file, QStringLiteral("plain.Pst"));
    // The load's own conversion: 750, 800, 690 Nm in lb-in, beyond what the controller takes.
    EXPECT_EQ(field(withoutShowing, 1, PsetField::TqTarget), "6638.25   ");
    EXPECT_EQ(field(withoutShowing, 1, PsetField::TqHi), "7080.8    ");
    EXPECT_EQ(field(withoutShowing, 1, PsetField::TqLo), "6107.19   ");
    EXPECT_EQ(field(withoutShowing, 1, PsetField::Units), "1         ");
    EXPECT_EQ(field(withoutShowing, 3, PsetField::AngleLo), "-40       ");
    // The session refuses the send before anything is erased, naming the Pset and the field.
    alone.mnuSendData_Click();
    const QStringList refusal{"Parameter Set 1:  Tq Target Out Of Range (0 To 6553.5)  "};
    EXPECT_EQ(dialogs->messageTexts(), refusal);
    dialogs->messages.clear();

    openShownAndLoad(file);
    // Pset 1 as the record holds it: no clamp to the editors' 6553.5, no rounding; its soft start of 2
    // checked.
    EXPECT_EQ(edit("neTqTarget")->text(), "6638.25");
    EXPECT_EQ(edit("neTqTarget")->value(), 6638.25);
    EXPECT_EQ(edit("neTqHi")->text(), "7080.8");
    EXPECT_EQ(edit("neTqLo")->value(), 6107.19);
    EXPECT_TRUE(child<QCheckBox>("chkSoftStart")->isChecked());
    EXPECT_EQ(graph()->cursorPosition(1).y(), 6638.25);
    showEveryPset();
    // Pset 3 was shown with its negative values.
    type(edit("neCurrentPset"), QStringLiteral("3"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(edit("neAngleLo")->text(), "-40 Deg");
    EXPECT_EQ(edit("neFree")->value(), -1200);
    EXPECT_TRUE(child<QCheckBox>("chkSoftStart")->isChecked()); // -1 is not 0
    EXPECT_EQ(edit("NeTqPer")->value(), 0);                     // asymmetric: not derived

    // Saved: the bytes of the file saved without showing, but for Pset 2's angles, which its strategy 1
    // zeroes.
    QByteArray expected = withoutShowing;
    for (PsetField f : {PsetField::AngleTarget, PsetField::AngleHi, PsetField::AngleLo})
        patch(expected, 2, f, "0");
    expectSameFile(saveFromWindow(QStringLiteral("shown.Pst")), expected);

    // The window's send is refused with the same words; the controller's Psets stay.
    model.received.clear();
    child<QPushButton>("cmdSend")->click();
    EXPECT_EQ(dialogs->messageTexts(), refusal);
    EXPECT_EQ(dialogs->messages.front().caption, "Data Entry Error");
    EXPECT_EQ(model.countReceived(ids::CommandRequest, codes::ErasePsets), 0);
    EXPECT_EQ(table()[1].text(PsetField::TqTarget), "6638.25   ");
}

TEST_F(PsetShowing, FourDecimalsFlagsOfTwoAndDerivedPercentsSaveAsLoadedAndGoOutAsTheSessionSendsThem) {
    const QString file = write(QStringLiteral("dec.Pst"), DecimalFile);
    dialogs->fileNames.enqueue(file);
    const QByteArray withoutShowing = loadAndSaveWithoutShowing(file, QStringLiteral("plain.Pst"));
    // Same units: the load changes nothing.
    expectSameFile(withoutShowing, DecimalFile);
    alone.mnuSendData_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
    const std::vector<clink::CanMessage> sessionPackets = sentPackets();
    ASSERT_EQ(sessionPackets.size(), 12u);
    // 13.5498 x 10 = 135.498 goes as 135; the soft start and ergo bytes as the file holds them.
    EXPECT_EQ(sessionPackets[0].data, (std::array<int, 8>{0x71, 4, 135, 0, 149, 0, 122, 0}));
    EXPECT_EQ(sessionPackets[1].data[1], 2);
    EXPECT_EQ(sessionPackets[3].data[1], 2);

    openShownAndLoad(file);
    EXPECT_EQ(edit("neTqTarget")->text(), "13.5498");
    EXPECT_EQ(edit("neTqLo")->text(), "12.1948");
    EXPECT_EQ(edit("neDown")->value(), 11.7845);
    EXPECT_EQ(edit("neCycleComplete")->text(), "0.9555");
    EXPECT_EQ(edit("neAngleLo")->text(), "15.125 Deg");
    EXPECT_TRUE(child<QCheckBox>("chkErgo")->isChecked());
    showEveryPset();
    type(edit("neCurrentPset"), QStringLiteral("2"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(edit("NeTqPer")->text(), "8.33333333333333");
    EXPECT_EQ(edit("neCycleComplete")->text(), "9.0001");
    EXPECT_FALSE(child<QCheckBox>("chkSoftStart")->isChecked());
    type(edit("neCurrentPset"), QStringLiteral("1"));
    ASSERT_TRUE(settled());

    // Saved: the loaded bytes but Pset 2's derived percent (at the record's precision) and its angle
    // target, which strategy 2 zeroes. Pset 3's "10.0" already says its percent; its "0.0" angle is 0.
    QByteArray expected = DecimalFile;
    patch(expected, 2, PsetField::TqPercent, "8.33333333");
    patch(expected, 2, PsetField::AngleTarget, "0");
    expectSameFile(saveFromWindow(QStringLiteral("shown.Pst")), expected);

    // Sent from the window: the packets the session sent, but for Pset 2's angle target (packet 0x73,
    // bytes 2 and 3), which showing zeroed.
    std::vector<clink::CanMessage> expectedPackets = sessionPackets;
    ASSERT_EQ(expectedPackets[6].data[0], codes::PsetPacket1 + 2);
    ASSERT_EQ(expectedPackets[6].data[2], 100);
    expectedPackets[6].data[2] = 0;
    expectWindowSends(expectedPackets);
}

TEST_F(PsetShowing,
       EveryUnitsCodeAndProjectSizeSavesAsLoadedButForTheDerivationsAndGoesOutAsTheSessionSends) {
    // Strategies in turn, one of them outside the menu; flags of 2 among them.
    const QByteArray strategies[] = {"1", "2", "3", "4", "28", "29", "30", "31", "5"};
    const QByteArray flags[] = {"2", "0", "1"};
    const auto text = [](double v) { return base::numberText(v).toLatin1(); };
    int derivedPercents = 0;
    int zeroedAngles = 0;
    for (int units = 1; units <= 5; ++units) {
        SCOPED_TRACE(units);
        ctx.palverin.settings.PsetDefaults.DefaultUnits = QString::number(units);
        ASSERT_TRUE(ctx.palverin.SaveIniFile());
        // Eight records in the units codes 0..6 (0 and 6 name no units: not converted), all converted by
        // the load; a project of 8 Psets, of "0" (read as 1) or of 3. Odd records have limits symmetric in
        // binary (the percent may be derived), even ones four-decimal values. Angles and speeds are not
        // converted and keep their own number texts.
        const QByteArray counts[] = {"8", "0", "3", "3", "3"};
        const QByteArray count = counts[units - 1];
        QByteArray image;
        for (int k = 1; k <= FileRecords; ++k) {
            const bool symmetric = k % 2 == 1;
            const double t = k + (symmetric ? 0.5 : 0.5498);
            image +=
                recordImage({count, QByteArray::number((k + units) % 7), strategies[(k + units) % 9], text(t),
                             text(symmetric ? t + 0.25 : t + 0.1234), text(symmetric ? t - 0.25 : t - 0.2),
                             "8.333", text(t * 0.8), text(t * 0.6), "30.1250", "+45.5", "15.0625",
                             text(t * 0.4567), "0300.25", "1.2005E3", flags[k % 3], flags[(k + 1) % 3]});
        }
        const QString file = write(QStringLiteral("u%1.Pst").arg(units), image);
        dialogs->fileNames.enqueue(file);
        const QByteArray withoutShowing =
            loadAndSaveWithoutShowing(file, QStringLiteral("plain%1.Pst").arg(units));
        const int psets = table().count();
        ASSERT_EQ(psets, std::max(1, count.toInt()));
        model.received.clear();
        alone.mnuSendData_Click();
        ASSERT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
        const std::vector<clink::CanMessage> sessionPackets = sentPackets();
        ASSERT_EQ(sessionPackets.size(), std::size_t(codes::PsetPackets * psets));

        openShownAndLoad(file);
        showEveryPset();
        const QByteArray shown = saveFromWindow(QStringLiteral("shown%1.Pst").arg(units));
        ASSERT_EQ(shown.size(), withoutShowing.size());
        std::vector<clink::CanMessage> expectedPackets = sessionPackets;
        for (int n = 1; n <= FileRecords; ++n) {
            const int unused =
                n <= psets ? unusedAngles(app::wholeNumber(field(withoutShowing, n, PsetField::Strategy)))
                           : 0;
            const double t = number(withoutShowing, n, PsetField::TqTarget);
            const double hi = number(withoutShowing, n, PsetField::TqHi);
            const double lo = number(withoutShowing, n, PsetField::TqLo);
            const bool derived = n <= psets && t - lo > 0 && hi - t == t - lo;
            for (int f = 0; f < app::PsetRecord::Fields; ++f) {
                const PsetField pf = PsetField(f);
                const int angle = f - int(PsetField::AngleTarget);
                if (derived && pf == PsetField::TqPercent) {
                    // The window in percent of the target, at the precision of ten characters.
                    EXPECT_NEAR(number(shown, n, pf), (t - lo) / t * 100, 1e-7) << "record " << n;
                    ++derivedPercents;
                } else if (angle >= 0 && angle < unused) {
                    EXPECT_EQ(number(shown, n, pf), 0) << "record " << n << " field " << f;
                    ++zeroedAngles;
                } else {
                    EXPECT_EQ(field(shown, n, pf), field(withoutShowing, n, pf))
                        << "record " << n << " field " << f;
                }
            }
            // Packet 0x73 carries the angles (target, hi, lo: bytes 2..7); what showing zeroed goes as 0.
            if (n <= psets) {
                clink::CanMessage& anglePacket =
                    expectedPackets[std::size_t(codes::PsetPackets * (n - 1) + 2)];
                ASSERT_EQ(anglePacket.data[0], codes::PsetPacket1 + 2);
                for (int a = 0; a < unused; ++a)
                    anglePacket.data[std::size_t(2 + 2 * a)] = anglePacket.data[std::size_t(3 + 2 * a)] = 0;
            }
        }
        expectWindowSends(expectedPackets);
        delete window.data();
    }
    // Both derivations were met.
    EXPECT_GT(derivedPercents, 0);
    EXPECT_GT(zeroedAngles, 0);
}

TEST_F(PsetShowing, WhatTheUserChangesIsWrittenAsTheUserSeesItAndNothingElse) {
    const QString file = write(QStringLiteral("dec.Pst"), DecimalFile);
    openShownAndLoad(file);
    app::PsetRecord expected = table()[1];

    // A check box showing a 2 writes only when clicked: off gives "0", on again "1".
    auto* softStart = child<QCheckBox>("chkSoftStart");
    QTest::mouseClick(softStart, Qt::LeftButton);
    EXPECT_EQ(table()[1].text(PsetField::SoftStart).trimmed(), "0");
    QTest::mouseClick(softStart, Qt::LeftButton);
    expected.setText(PsetField::SoftStart, QStringLiteral("1"));
    EXPECT_EQ(table()[1], expected);

    // A typed value: the editor's text is the record's. A value beyond what may be typed is not taken,
    // nor a fourth decimal.
    type(edit("neTqLo"), QStringLiteral("12.195"));
    ASSERT_TRUE(settled());
    expected.setText(PsetField::TqLo, QStringLiteral("12.195"));
    EXPECT_EQ(table()[1], expected);
    type(edit("neTqHi"), QStringLiteral("-5"));
    type(edit("neAngleHi"), QStringLiteral("45.1234"));
    ASSERT_TRUE(settled());
    expected.setText(PsetField::AngleHi, QStringLiteral("45.123"));
    EXPECT_EQ(table()[1], expected);
    EXPECT_EQ(edit("neTqHi")->text(), "14.9");
    type(edit("neCycleComplete"), QStringLiteral("7000"));
    ASSERT_TRUE(settled());
    expected.setText(PsetField::CycleComplete, QStringLiteral("700")); // the fourth digit not taken
    EXPECT_EQ(table()[1], expected);

    // Stepped with the arrow key from 11.7845: the value the user then sees goes into the record.
    QTest::keyClick(edit("neDown"), Qt::Key_Up);
    ASSERT_TRUE(settled());
    const QString stepped = edit("neDown")->cleanText();
    EXPECT_NE(stepped, "11.7845");
    EXPECT_EQ(table()[1].text(PsetField::TqDownshift).trimmed(), stepped);
    expected.setText(PsetField::TqDownshift, stepped);
    EXPECT_EQ(table()[1], expected);

    // A click on the target's cursor that does not move the mouse is no drag: the target stays.
    QTest::mouseClick(graph()->viewport(), Qt::LeftButton, {}, graph()->mapToViewport({50, 13.6}).toPoint());
    ASSERT_TRUE(settled());
    EXPECT_EQ(edit("neTqTarget")->text(), "13.5498");
    EXPECT_EQ(table()[1], expected);

    // A dragged cursor: the threshold takes the position as the user may enter it.
    emit graph()->cursorMoved(5, 10, 9.87654321);
    ASSERT_TRUE(settled());
    EXPECT_EQ(edit("neThresh")->text(), "9.877");
    expected.setText(PsetField::TqThreshold, QStringLiteral("9.877"));
    EXPECT_EQ(table()[1], expected);

    // The user's strategy: its code, and the angles it does not use become 0.
    action("mnuStrategy30")->trigger();
    ASSERT_TRUE(settled());
    expected.setText(PsetField::Strategy, QStringLiteral("30"));
    expected.setText(PsetField::AngleTarget, QStringLiteral("0"));
    EXPECT_EQ(table()[1], expected);
    EXPECT_EQ(edit("neAngleTarget")->value(), 0);
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
}

TEST_F(PsetShowing, SetToDefaultsAndATypedPercentWriteTheFullValuesTheEditorsThenShow) {
    app::PsetDefaultValues& d = ctx.palverin.settings.PsetDefaults;
    d.DefaultTorquePercent = QStringLiteral("7");
    d.DefaultDownshiftPercent = QStringLiteral("85");
    d.DefaultThresholdPercent = QStringLiteral("62.5");
    d.DefaultCycleCompletePercent = QStringLiteral("33");
    d.DefaultRpmDownshift = QStringLiteral("250.5");
    d.DefaultFreeSpeed = QStringLiteral("1500");
    d.DefaultSoftStart = QStringLiteral("1");
    d.DefaultErgo = QStringLiteral("0");
    ASSERT_TRUE(ctx.palverin.SaveIniFile());
    openShownAndLoad(write(QStringLiteral("dec.Pst"), DecimalFile));
    // Every value editor shows its field's number, and its text is the field's text.
    const auto expectEditorsShowTheRecord = [&](const char* step) {
        for (int e = 0; e < pset::ValueEditorCount; ++e) {
            const PsetField f = pset::editorField(pset::ValueEditor(e));
            const char* name = EditorNames[std::size_t(e)];
            EXPECT_EQ(edit(name)->value(), table()[1].number(f)) << step << ' ' << name;
            EXPECT_EQ(edit(name)->cleanText(), text(1, f)) << step << ' ' << name;
        }
    };

    // Set To Defaults around the target 13.5498, unrounded: limits +/- 7 %, downshift 85 %, threshold
    // 62.5 %, cycle complete 33 %; strategy 1, whose showing zeroes the angles.
    child<QPushButton>("BtnSetDefaults")->click();
    ASSERT_TRUE(settled());
    for (const auto& [f, v] : std::initializer_list<std::pair<PsetField, const char*>>{
             {PsetField::TqTarget, "13.5498"},
             {PsetField::TqHi, "14.498286"},
             {PsetField::TqLo, "12.601314"},
             {PsetField::TqDownshift, "11.51733"},
             {PsetField::TqThreshold, "8.468625"},
             {PsetField::CycleComplete, "4.471434"},
             {PsetField::Strategy, "1"},
             {PsetField::AngleTarget, "0"},
             {PsetField::AngleHi, "0"},
             {PsetField::AngleLo, "0"},
             {PsetField::RpmDownshift, "250.5"},
             {PsetField::RpmFreeSpeed, "1500"},
             {PsetField::SoftStart, "1"},
             {PsetField::Ergo, "0"},
         })
        EXPECT_EQ(text(1, f), v) << int(f);
    expectEditorsShowTheRecord("defaults");
    EXPECT_TRUE(child<QCheckBox>("chkSoftStart")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("chkErgo")->isChecked());

    // A typed percent: the limits around the target in ten characters, which their editors show.
    type(edit("NeTqPer"), QStringLiteral("12.345"));
    EXPECT_EQ(text(1, PsetField::TqPercent), "12.345");
    EXPECT_EQ(text(1, PsetField::TqHi), "15.2225228");
    EXPECT_EQ(text(1, PsetField::TqLo), "11.8770771"); // 11.87707719, cut
    ASSERT_TRUE(settled());
    expectEditorsShowTheRecord("percent");
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
}

TEST_F(PsetShowing, ReceivedPsetsConvertedBeyondRangeOrToFourDecimalsAreShownAndSavedAsReceived) {
    // Two Psets in Nm as the controller holds them (bytes 1..7 of its four packets), received while the
    // default units are lb-in. Pset 1: 750, 800, 690 Nm become 6638.25, 7080.8, 6107.19 lb-in; Pset 2:
    // 13.5 Nm becomes 119.4885 lb-in.
    model.psetCount = 2;
    model.psets[1] = {3, 76, 29, 64,  31, 244, 26, 0, 136, 19, 112, 23, 160, 15,
                      1, 44, 1,  194, 1,  150, 0,  1, 224, 46, 184, 11, 5,   1};
    model.psets[2] = {1, 135, 0, 150, 0, 120, 0, 1, 100, 0, 111, 0, 99, 0,
                      1, 0,   0, 0,   0, 0,   0, 0, 0,   0, 0,   0, 5,  2};
    // Received by the session alone and saved: nothing shows a Pset.
    dialogs->yesNoAnswers.enqueue(true);
    alone.mnuReceiveData_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("plain.Pst")));
    alone.mnuSave_Click();
    const QByteArray withoutShowing = folder.read(QStringLiteral("plain.Pst"));
    EXPECT_EQ(field(withoutShowing, 1, PsetField::TqTarget), "6638.25   ");
    EXPECT_EQ(field(withoutShowing, 2, PsetField::TqTarget), "119.4885  ");
    EXPECT_EQ(field(withoutShowing, 2, PsetField::CycleComplete), "87.6249   ");
    dialogs->messages.clear();

    // Received from the window's menu, every Pset shown, saved.
    open();
    window->resize(900, 600);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_TRUE(waitFor([&] { return !window->session().statusReadPending(); }));
    dialogs->yesNoAnswers.enqueue(true);
    action("mnuReceiveData")->trigger();
    ASSERT_TRUE(settled());
    ASSERT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
    EXPECT_EQ(edit("neTqHi")->text(), "7080.8");
    showEveryPset();
    type(edit("neCurrentPset"), QStringLiteral("2"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(edit("neTqTarget")->text(), "119.4885");
    EXPECT_EQ(edit("neDown")->text(), "98.2461");
    // The window's opening gave the project no curve ("None"); no derivation applies (asymmetric limits,
    // Pset 2's angles 0 already).
    QByteArray expected = withoutShowing;
    expected.replace(int(PsetField::CurveFile) * app::PsetRecord::FieldWidth, app::PsetRecord::CurveFileWidth,
                     QByteArray("None").leftJustified(app::PsetRecord::CurveFileWidth));
    expectSameFile(saveFromWindow(QStringLiteral("shown.Pst")), expected);
}

TEST(NumberTextEdit, ShowsWhatTheProgramSetsAsItIsAndHoldsTheUsersEntryToItsRangeAndDecimals) {
    pset::NumberTextEdit edit(pset::EditorMaximum);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    int userEdits = 0;
    QObject::connect(&edit, &controls::NumEdit::userEdited, [&] { ++userEdits; });
    // Values a record's ten characters can hold come back as the same number and text.
    for (const char* text : {"6638.25", "-1200", "15.9054", "8.33333333", "0.00000001", "9999999999",
                             "-0.9555", "1E-09", "1E+300", "1234.56789"}) {
        const double v = base::textValue(QString::fromLatin1(text));
        edit.setValue(v);
        EXPECT_EQ(edit.value(), v) << text;
        EXPECT_EQ(edit.text(), base::numberText(v)) << text;
    }
    EXPECT_EQ(userEdits, 0);

    // The user's step stops at the entry range and keeps three decimals.
    edit.setValue(6553.2);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.value(), 6553.5);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(userEdits, 1);
    edit.setValue(-5);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.value(), 0);
    edit.setValue(1.23456);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.value(), 0.235);
    EXPECT_EQ(userEdits, 3);
    EXPECT_EQ(edit.entryValue(7000), 6553.5);
    EXPECT_EQ(edit.entryValue(-1), 0);
}
