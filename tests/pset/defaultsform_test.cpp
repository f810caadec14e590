// The default Pset values as the defaults window shows and stores them: the window's order against the
// settings file's, the stored texts, a units code the window has no option for, and the settings file
// rewritten on Yes and untouched on No.
#include "app/linescrambler.h"
#include "app/settingsfiles.h"
#include "pset/defaultsform.h"
#include "tests/pset/psetfixture.h"

using app::PsetDefaultValues;
using namespace psettest;

namespace {

class PsetDefaults : public PsetFixture {
protected:
    // Settings-file lines 3..12 as plain text.
    QStringList storedDefaults() const {
        const QList<QByteArray> lines = folder.read(app::SettingsFileName).split('\n');
        QStringList plain;
        for (int line = 3; line <= 12; ++line)
            plain << app::LineScrambler::DecodeLine(QString::fromLatin1(lines[line - 1]).trimmed()).trimmed();
        return plain;
    }
    PsetDefaultValues& defaults() { return ctx.palverin.settings.PsetDefaults; }
};

} // namespace

TEST_F(PsetDefaults, FormTakesTheWindowsOrderAndStoresShortestTextsCutToTen) {
    // Settings-file order: target, threshold, downshift, cycle complete, ergo, torque, rpm downshift,
    // free speed, soft start, units.
    const char* texts[] = {"80", "15", "50", "5", "1", "10", "65", "85", "0", "4"};
    for (std::size_t k = 0; k < PsetDefaultValues::FileOrder.size(); ++k)
        defaults().*PsetDefaultValues::FileOrder[k] = QString::fromLatin1(texts[k]);
    const pset::PsetDefaultsForm form = pset::defaultsForm(defaults());
    EXPECT_EQ(form.values, (std::array<double, 7>{80, 10, 50, 15, 5, 85, 65}));
    EXPECT_EQ(form.units, 4);
    EXPECT_FALSE(form.softStart);
    EXPECT_TRUE(form.ergo);
    EXPECT_EQ(pset::defaultValueCaption(2), "Tq +/-");
    EXPECT_EQ(pset::defaultValueCaption(6), "Rpm Freespeed");
    EXPECT_EQ(pset::defaultUnitsCaption(3), "Kg-Cm");

    pset::PsetDefaultsForm edited = form;
    edited.values[3] = 7.5;           // Tq Threshold
    edited.values[5] = 1.0 / 3 + 100; // Rpm Freespeed, cut to 10 characters
    edited.units = 0;                 // no option selected: units kept
    edited.softStart = true;
    edited.ergo = false;
    pset::storeDefaultsForm(edited, defaults());
    EXPECT_EQ(defaults().DefaultThresholdPercent, "7.5       ");
    EXPECT_EQ(defaults().DefaultFreeSpeed, "100.333333");
    EXPECT_EQ(defaults().DefaultUnits, "4");
    EXPECT_EQ(defaults().DefaultSoftStart, "1         ");
    EXPECT_EQ(defaults().DefaultErgo, "0         ");
    EXPECT_EQ(defaults().DefaultTorquePercent, "10        ");

    // A units code the window has no option for selects none.
    defaults().DefaultUnits = QStringLiteral("9");
    EXPECT_EQ(pset::defaultsForm(defaults()).units, 0);
}

TEST_F(PsetDefaults, ExitSavesOnYesAndLeavesTheFileOnNoAndOpeningReadsTheFileAgain) {
    saveSettings();
    pset::PsetDefaultsEditor editor(ctx);
    // A change in memory that was never saved is not what the window shows.
    defaults().DefaultTargetPercent = QStringLiteral("99");
    pset::PsetDefaultsForm form = editor.Form_Load();
    EXPECT_EQ(form.values[0], 80);
    EXPECT_EQ(form.units, 5);

    const QByteArray before = folder.read(app::SettingsFileName);
    form.units = 3;
    dialogs->yesNoAnswers << false;
    EXPECT_FALSE(editor.mnuExit_Click(form));
    ASSERT_EQ(dialogs->questions, QStringList{"Save Defaults To File ?"});
    EXPECT_EQ(dialogs->asked[0].caption, "Save Defaults");
    EXPECT_EQ(folder.read(app::SettingsFileName), before);
    EXPECT_EQ(defaults().DefaultUnits.trimmed(), "5");

    form.values[3] = 7.5;
    dialogs->yesNoAnswers << true;
    EXPECT_TRUE(editor.mnuExit_Click(form));
    EXPECT_EQ(storedDefaults(), (QStringList{"80", "7.5", "50", "5", "0", "10", "65", "85", "0", "3"}));
    EXPECT_TRUE(dialogs->messages.empty());
}
