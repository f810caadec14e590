#include "logicio/logiceditor.h"

#include "app/appservices.h"
#include "app/reporttime.h"
#include "app/settingsfiles.h"
#include "base/programfolder.h"
#include "base/textlines.h"
#include "logicio/logiccatalogue.h"
#include "logicio/logicfile.h"
#include "logicio/logicreport.h"
#include "logicio/logictransfer.h"

namespace logicio {

namespace {

const QString CounterPrefix = QStringLiteral("Counter");
const QString TimerPrefix = QStringLiteral("Timer");
const QString HeaderPrefix = QStringLiteral("Rung");
const QString ReportTitle = QStringLiteral("Default.txt");

int rungOfItem(int item) {
    return (item - 1) / LogicEditor::ItemsPerRung + 1;
}

// Which slot of the rung a list edits: conditions and operators 1..4, actions 1..4.
int conditionSlot(int list) {
    return list / 2 + 1;
}
int operatorSlot(int list) {
    return (list + 1) / 2;
}
int actionSlot(int list) {
    return list - LogicEditor::FirstActionList + 1;
}

} // namespace

LogicEditor::LogicEditor(LogicModule& module, LogicVariant variant)
    : module_(module), version_(logicVersion(variant)) {}

void LogicEditor::load() {
    currentRung_ = 0;
    rungs().ClearRungs();
    fileName_.clear();
    module_.rungsEdited();
}

QString LogicEditor::inputsCaption() const {
    return QStringLiteral("Rung %1 Inputs").arg(currentRung_);
}

QString LogicEditor::outputsCaption() const {
    return QStringLiteral("Rung %1 Outputs").arg(currentRung_);
}

QStringList LogicEditor::listEntries(int list) const {
    if (isConditionList(list))
        return conditionTexts();
    if (isOperatorList(list))
        return operatorTexts();
    if (isActionList(list))
        return actionListTexts(version_.variant);
    return {};
}

std::optional<int> LogicEditor::listPosition(int list) const {
    if (!LogicRungs::isRung(currentRung_))
        return std::nullopt;
    const LogicRung& rung = module_.rungs()[currentRung_];
    if (isConditionList(list))
        return logicio::listPosition(rung.in(conditionSlot(list)), ConditionCount);
    if (isOperatorList(list))
        return operatorPosition(rung.op(operatorSlot(list)));
    if (isActionList(list))
        return logicio::listPosition(rung.out(actionSlot(list)), version_.actionCount);
    return std::nullopt;
}

bool LogicEditor::choose(int list, int position) {
    const QStringList entries = listEntries(list);
    if (!LogicRungs::isRung(currentRung_) || position < 0 || position >= entries.size())
        return false;
    QString text = entries[position];
    int32_t code = codeWord(position, 0);
    if (text.startsWith(CounterPrefix) && isCounterCondition(position)) {
        const QString answer = askValue(text, MaxCounterValue);
        code += app::valueEntryNumber(answer);
        text = counterText(text, answer);
    }
    if ((isActionList(list) || version_.secondsInEveryList) && text.startsWith(TimerPrefix) &&
        isTimerStart(position)) {
        const QString answer = askValue(text, MaxTimerSeconds);
        code += app::valueEntryNumber(answer);
        text = timerText(text, answer);
    }
    store(list, position, code, text);
    rebuildSummaries(module_.rungs()[currentRung_], SummaryForm::Edit);
    module_.rungsEdited();
    return true;
}

QString LogicEditor::askValue(const QString& prompt, int maximum) {
    app::ValueEntry& values = module_.services().values;
    values.results.ValueEntryResult = QStringLiteral("0");
    app::ValueEntryForm& form = values.frmValue();
    form.LblCaption(prompt);
    form.CwMaxVal(maximum);
    values.show();
    return values.results.ValueEntryResult;
}

void LogicEditor::store(int list, int position, int32_t code, const QString& text) {
    LogicRung& rung = module_.rungs()[currentRung_];
    if (isConditionList(list)) {
        rung.in(conditionSlot(list)) = code;
        rung.inText(conditionSlot(list)) = text;
    } else if (isOperatorList(list)) {
        rung.op(operatorSlot(list)) = position;
        rung.opText(operatorSlot(list)) = text;
    } else {
        rung.out(actionSlot(list)) = code;
        rung.outText(actionSlot(list)) = text;
    }
}

QString LogicEditor::itemKey(int item) {
    switch ((item - 1) % ItemsPerRung) {
    case 1:
        return QStringLiteral("%1IN").arg(rungOfItem(item));
    case 2:
        return QStringLiteral("%1OUT").arg(rungOfItem(item));
    default:
        return {};
    }
}

QString LogicEditor::itemCaption(int item) const {
    const int r = rungOfItem(item);
    if (item < 1 || !LogicRungs::isRung(r))
        return {};
    switch ((item - 1) % ItemsPerRung) {
    case 1:
        return module_.rungs()[r].InputSummary;
    case 2:
        return module_.rungs()[r].OutputSummary;
    default:
        return QStringLiteral("Rung %1").arg(r);
    }
}

bool LogicEditor::clickItem(int item, const QString& caption) {
    const int r = rungOfItem(item);
    if (item < 1 || !caption.startsWith(HeaderPrefix) || !LogicRungs::isRung(r))
        return false;
    currentRung_ = r;
    return true;
}

void LogicEditor::RefreshRung(int r) {
    if (!LogicRungs::isRung(r))
        return;
    currentRung_ = r;
    rebuildSummaries(module_.rungs()[r], SummaryForm::Refresh);
    module_.rungsEdited();
}

void LogicEditor::refreshAll() {
    for (int r = LogicRungs::FirstRung; r <= LogicRungs::LastRung; ++r)
        RefreshRung(r);
}

void LogicEditor::newProgram() {
    rungs().ClearRungs();
    refreshAll();
}

void LogicEditor::save() {
    base::Dialogs& dialogs = module_.services().dialogs;
    const QString name = dialogs.saveFileName(SaveCaption, version_.saveFilter);
    if (name.isEmpty())
        return;
    if (app::ProgramCore::FileExists(name) && !dialogs.askOkCancel(OverwriteText, OverwriteCaption))
        return;
    // The batch editor's program is its logic file and its batch table: saved together.
    QString error;
    if (!writeLogicFile(name, rungs(), &error, version_.batchCompanion ? &module_.batchTable() : nullptr)) {
        dialogs.message(error, app::NotStoredCaption, base::MessageIcon::Critical);
        return;
    }
    fileName_ = name;
}

void LogicEditor::open() {
    base::Dialogs& dialogs = module_.services().dialogs;
    const QString name = dialogs.openFileName(OpenCaption, version_.openFilter);
    if (name.isEmpty())
        return;
    LogicRungs read;
    switch (readLogicFile(name, read)) {
    case LogicFileRead::Missing:
        dialogs.message(FileMissingText, OpenCaption, base::MessageIcon::Critical);
        return;
    case LogicFileRead::Corrupt:
        dialogs.message(corruptFileText(name), OpenCaption, base::MessageIcon::Critical);
        return;
    case LogicFileRead::Ok:
        break;
    }
    rungs() = read;
    refreshAll();
    if (version_.batchCompanion) {
        const QString companion = findBatchCompanion(name);
        if (companion.isEmpty() || !readBatchFile(companion, module_.batchTable())) {
            dialogs.message(BatchFileMissingText, OpenCaption, base::MessageIcon::Critical);
            module_.batchTable().clear();
        }
    }
    fileName_ = name;
    dialogs.message(FileOpenedText, OpenCaption, base::MessageIcon::Information);
}

void LogicEditor::print() {
    app::AppServices& services = module_.services();
    if (!services.dialogs.printerAvailable()) {
        services.dialogs.message(NoPrinterText, NoPrinterCaption, base::MessageIcon::Critical);
        return;
    }
    const QStringList report = makeLogicReport(rungs(), fileName_, app::reportDateText(services.now()));
    const QString path = base::programFile(ReportFile);
    if (QString error; !base::writeTextLines(path, report, &error))
        services.dialogs.message(unableToWriteText(path, error), app::NotStoredCaption,
                                 base::MessageIcon::Critical);
    services.textViewer.show(ReportTitle, base::TextLines(base::joinLinesCrLf(report)));
}

LogicImage LogicEditor::encodeForSend() {
    const LogicImage image = EncodeLogic(rungs());
    writeLogicListing(version_.variant, image);
    return image;
}

void LogicEditor::decodeReceived(const LogicImage& image, int controllerType) {
    DecodeLogic(decodeVariantForControllerType(controllerType), image, rungs());
    refreshAll();
}

app::TransferResult LogicEditor::send(base::Progress& progress) {
    return LogicTransfer(module_.services(), *this).send(progress);
}

app::TransferResult LogicEditor::receive(base::Progress& progress) {
    return LogicTransfer(module_.services(), *this).receive(progress);
}

app::TransferResult LogicEditor::resetToFactoryDefaults() {
    return LogicTransfer(module_.services(), *this).resetToFactoryDefaults();
}

} // namespace logicio
