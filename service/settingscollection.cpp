#include "service/settingscollection.h"

#include "app/appservices.h"
#include "base/failbox.h"
#include "base/numbertext.h"
#include "base/programfolder.h"
#include "service/logiccollector.h"
#include "service/psetcollector.h"
#include "service/reportcollectors.h"
#include "service/rundowncollector.h"
#include "service/servicemodule.h"

namespace service {

namespace {
SettingsCollection::Collectors programCollectors(ServiceModule& module) {
    const ProgramCores& cores = module.cores.value();
    SettingsCollection::Collectors collectors;
    collectors[PsetsBox] = std::make_unique<PsetCollector>(module.ctx);
    collectors[LogicIoBox] = std::make_unique<LogicIoCollector>(module.ctx, cores.logic, cores.ladder);
    collectors[DspParmsBox] = std::make_unique<DspParmsCollector>(module.ctx);
    collectors[ToolParmsBox] = std::make_unique<ToolParmsCollector>(module.ctx);
    collectors[ToolEpromBox] = std::make_unique<ToolEpromCollector>(module.ctx);
    collectors[RundownsBox] = std::make_unique<RundownsCollector>(module.ctx);
    return collectors;
}
} // namespace

// The collection as the collector of one box sees it.
class SettingsCollection::Page : public CollectorPage {
public:
    Page(SettingsCollection& collection, int box) : collection_(collection), box_(box) {}

    void setBar(int value) override { collection_.setBar(box_, value); }
    void clearList() override {
        collection_.list_.clear();
        emit collection_.List1Changed();
    }
    void addLines(const QStringList& lines) override {
        collection_.list_ += lines;
        emit collection_.List1Changed();
    }
    void showEditor(ProgramEditor editor) override {
        if (collection_.showEditor_)
            collection_.showEditor_(editor);
    }
    void closeEditor(ProgramEditor editor) override {
        if (collection_.closeEditor_)
            collection_.closeEditor_(editor);
    }

private:
    SettingsCollection& collection_;
    int box_;
};

SettingsCollection::SettingsCollection(ServiceModule& module, QObject* parent)
    : SettingsCollection(module.ctx, programCollectors(module), parent) {}

SettingsCollection::SettingsCollection(app::AppServices& ctx, Collectors collectors, QObject* parent)
    : QObject(parent), ctx_(ctx), collectors_(std::move(collectors)) {}

SettingsCollection::~SettingsCollection() = default;

void SettingsCollection::setEditorWindows(std::function<void(ProgramEditor)> show,
                                          std::function<void(ProgramEditor)> close) {
    showEditor_ = std::move(show);
    closeEditor_ = std::move(close);
}

void SettingsCollection::Form_Load() {
    for (int box : {ToolParmsBox, ToolEpromBox}) {
        bars_[size_t(box)].maximum = ToolBarMaximum;
        emit barChanged(box);
    }
    // A selection file that can be neither read nor created leaves every box unticked.
    loadCollectSelection(selection_);
    for (int box = 0; box < CollectBoxes; ++box)
        ChkSelection_Click(box, selection_.selected(box) ? BoxState::Ticked : BoxState::Unticked);
}

void SettingsCollection::ChkSelection_Click(int box, BoxState state) {
    boxes_[size_t(box)] = state;
    CollectBar& bar = bars_[size_t(box)];
    const bool selected = state != BoxState::Unticked;
    selection_.flags[size_t(box)] = selected ? CollectSelection::Selected : 0;
    if (!selected)
        bar.value = 0;
    bar.visible = selected;
    emit boxChanged(box);
    emit barChanged(box);
}

void SettingsCollection::mnuSetDefault_Click() {
    for (int box = 0; box < CollectBoxes; ++box)
        selection_.flags[size_t(box)] =
            boxes_[size_t(box)] == BoxState::Unticked ? int16_t(0) : CollectSelection::Selected;
    QString error;
    if (!saveCollectSelection(selection_, &error))
        CollectorTools(ctx_).writeFailed(base::programFile(CollectSelectionFile), error);
}

QString SettingsCollection::Get_Filename() {
    const QString name = ctx_.dialogs.saveFileName(FileNameCaption, FileNameFilter);
    return name.isEmpty() ? NoFileName : name;
}

void SettingsCollection::mnuBegin_Click() {
    base::BusyGuard busy(ctx_.busy, window_);
    if (!busy.acquired())
        return;
    const QString name = Get_Filename();
    const QString trimmed = base::Trim(name);
    if (trimmed.isEmpty() || trimmed == NoFileName) {
        base::failBox(ctx_.dialogs, NoFileNameText);
        return;
    }
    cancelled_ = false;
    setRunning(true);
    runCollectors(collectBaseName(name));
    quiet_.reset();
    setRunning(false);
}

void SettingsCollection::cancel() {
    if (!running_ || cancelled_)
        return;
    cancelled_ = true;
    quiet_.emplace(ctx_.stoppableDialogs());
    ctx_.link.transactions.cancel();
    ctx_.pump.wake();
}

void SettingsCollection::runCollectors(const QString& base) {
    for (int box = 0; box < CollectBoxes; ++box) {
        // The program or the window is closing: the collectors still to run would only fail.
        if (ctx_.pump.stopped() || cancelled_)
            return;
        if (boxes_[size_t(box)] != BoxState::Ticked)
            continue;
        Page page(*this, box);
        if (collectors_[size_t(box)]->collect(base, page))
            ChkSelection_Click(box, BoxState::Grey);
        else
            base::failBox(ctx_.dialogs, CollectFailedTexts[size_t(box)]);
    }
}

void SettingsCollection::setBar(int box, int value) {
    bars_[size_t(box)].value = value;
    emit barChanged(box);
}

void SettingsCollection::setRunning(bool running) {
    running_ = running;
    emit runningChanged(running);
}

} // namespace service
