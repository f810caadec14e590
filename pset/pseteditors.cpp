// The editor's handlers that work on the shown Pset: what ShowPset shows, the strategy menu, the percent
// editor, the check boxes, "Set To Defaults", and the project's reference curve.
#include "app/appservices.h"
#include "pset/psetsession.h"

namespace pset {

using app::PsetField;
using app::PsetTable;

namespace {
bool inTable(int n) {
    return n >= 0 && n < PsetTable::Records;
}
} // namespace

std::optional<PsetView> PsetEditorSession::ShowPset(int n, bool percentEdited) {
    if (!inTable(n))
        return std::nullopt;
    PsetView view = psetView(table(), n, percentEdited);
    if (view.percent) {
        // The derived percent in the record's number text; a percent that already reads as that number
        // ("10.0" for 10) keeps its text.
        app::PsetRecord& r = table()[n];
        app::PsetRecord derived = r;
        derived.setNumber(PsetField::TqPercent, *view.percent);
        if (derived.number(PsetField::TqPercent) != r.number(PsetField::TqPercent))
            r = derived;
    }
    return view;
}

void PsetEditorSession::zeroUnusedAngles(int n, const StrategyEntry& entry) {
    const auto enabled = angleEditorsEnabled(entry.angles);
    app::PsetRecord& r = table()[n];
    for (int i = 0; i < AngleEditorCount; ++i) {
        const PsetField field = editorField(ValueEditor(FirstAngleEditor + i));
        if (!enabled[std::size_t(i)] && r.number(field) != 0)
            r.setNumber(field, 0);
    }
}

const StrategyEntry* PsetEditorSession::setStrategy(int n, int code) {
    const StrategyEntry* entry = strategyEntry(code);
    if (entry && inTable(n)) {
        table()[n].setNumber(PsetField::Strategy, code);
        zeroUnusedAngles(n, *entry);
    }
    return entry;
}

const StrategyEntry* PsetEditorSession::showStrategy(int n, int code) {
    const StrategyEntry* entry = strategyEntry(code);
    if (entry && inTable(n))
        zeroUnusedAngles(n, *entry);
    return entry;
}

std::optional<TorqueLimits> PsetEditorSession::NeTqPer_Change(double percent) {
    const int n = shownPset();
    if (n == 0)
        return std::nullopt;
    app::PsetRecord& r = table()[n];
    r.setNumber(PsetField::TqPercent, percent);
    const TorqueLimits limits = percentLimits(r.number(PsetField::TqTarget), r.number(PsetField::TqPercent));
    r.setNumber(PsetField::TqHi, limits.hi);
    r.setNumber(PsetField::TqLo, limits.lo);
    // The editors take the stored texts.
    return TorqueLimits{r.number(PsetField::TqHi), r.number(PsetField::TqLo)};
}

void PsetEditorSession::chkSoftStart_Click(bool checked) {
    if (const int n = shownPset())
        table()[n].setNumber(PsetField::SoftStart, checked ? 1 : 0);
}

void PsetEditorSession::chkErgo_Click(bool checked) {
    if (const int n = shownPset())
        table()[n].setNumber(PsetField::Ergo, checked ? 1 : 0);
}

void PsetEditorSession::BtnSetDefaults_Click() {
    if (const int n = shownPset()) {
        ApplyDefaultsToPset(n);
        showPset(n);
    }
}

void PsetEditorSession::mnuCurveAdd_Click() {
    const QString path = Pset_GetFilename();
    if (path == NoCurveFile)
        return;
    if (!ctx_.palverin.LoadCurveFile(path, int16_t(table()[1].whole(PsetField::Units))))
        return;
    table()[1].setText(PsetField::CurveFile, path);
    emit curveRead(path, true);
}

void PsetEditorSession::readCurveInUnitsOf(int n) {
    if (inTable(n))
        ctx_.palverin.LoadCurveFile(projectCurvePath(table()), int16_t(table()[n].whole(PsetField::Units)));
}

} // namespace pset
