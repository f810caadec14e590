#include "tests/pset/psetgolden.h"

#include "pset/psetvalues.h"

namespace psettest {

using app::PsetField;

namespace {
// Puts text at byte offset `at` of record k (1..8) in a file image.
void put(QByteArray& image, int k, int at, const char* text) {
    const QByteArray bytes(text);
    image.replace((k - 1) * app::PsetRecord::Bytes + at, bytes.size(), bytes);
}
} // namespace

void fillGoldenProject(pset::PsetEditorSession& session, app::PsetTable& table,
                       const app::PsetDefaultValues& defaults) {
    session.mnuNewPset_Click();
    session.tmrNew_Timer();
    session.mnuAddPset_Click();
    session.mnuAddPset_Click();
    typeGoldenValues(table, defaults);
}

void typeGoldenValues(app::PsetTable& table, const app::PsetDefaultValues& defaults) {
    const auto set = [&](int n, PsetField f, const char* text) {
        table[n].setText(f, QString::fromLatin1(text));
    };
    // Pset 1 keeps the angles and percent of a new project (the editor window would zero the angles of
    // its strategy 1 and take the percent editor's value once it showed the Pset).
    set(1, PsetField::TqPercent, "10");
    set(1, PsetField::AngleTarget, "2");
    set(1, PsetField::AngleHi, "3");
    set(1, PsetField::AngleLo, "1");
    set(1, PsetField::TqTarget, "12.5");
    set(1, PsetField::TqHi, "13.75");
    set(1, PsetField::Strategy, "2");
    set(2, PsetField::TqTarget, "300");
    set(2, PsetField::RpmDownshift, "450");
    set(3, PsetField::AngleHi, "360");
    set(3, PsetField::Ergo, "1");
    set(1, PsetField::CurveFile, "None");
    for (int n = 4; n <= 8; ++n)
        pset::applyAddedPsetValues(table[n], defaults);
}

QByteArray goldenProjectImage() {
    QByteArray expected(8 * app::PsetRecord::Bytes, ' ');
    for (int k = 1; k <= 8; ++k) {
        put(expected, k, 0, k == 1 ? "3" : "1"); // NumPsets: the count in record 1, "1" elsewhere
        put(expected, k, 10, "5");               // Units
        put(expected, k, 20, "1");               // Strategy
        for (int at = 30; at <= 120; at += 10)
            put(expected, k, at, "0"); // target .. cycle complete
        put(expected, k, 130, "65");   // RpmDownshift
        put(expected, k, 140, "85");   // RpmFreeSpeed
        put(expected, k, 150, "0");    // SoftStart
        put(expected, k, 160, "0");    // Ergo
    }
    // Pset 1 of a new project carries the new-project angles and percent; the others were added.
    put(expected, 1, 60, "10");
    put(expected, 1, 90, "2");
    put(expected, 1, 100, "3");
    put(expected, 1, 110, "1");
    put(expected, 1, 170, "None");
    put(expected, 1, 30, "12.5");
    put(expected, 1, 40, "13.75");
    put(expected, 1, 20, "2");
    put(expected, 2, 30, "300");
    put(expected, 2, 130, "450");
    put(expected, 3, 100, "360");
    put(expected, 3, 160, "1");
    return expected;
}

} // namespace psettest
