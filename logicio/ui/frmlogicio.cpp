#include "logicio/ui/frmlogicio.h"

#include "app/ui/appcontext.h"
#include "app/ui/barprogress.h"
#include "app/ui/commandframe.h"
#include "app/ui/objectname.h"
#include "app/ui/picktree.h"
#include "app/ui/windowregistry.h"
#include "logicio/logicmodule.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <span>

namespace logicio {

using app::named;

namespace {

const QString RungListCaption = QStringLiteral("Brenstal Logic Rungs");

// The window's size at opening.
constexpr int WindowWidth = 800;
constexpr int WindowHeight = 600;
// The two frames share the width as 6015 : 5295.
constexpr int InputsStretch = 6015;
constexpr int OutputsStretch = 5295;
// The rung list takes the height the frames leave.
constexpr int RungListMinimumHeight = 200;
// The lists show this many characters; their drop-downs open wide enough for the longest entry.
constexpr int SlotListCharacters = 30;
constexpr int OperatorListCharacters = 3;

// Where the rung list keeps an item's position (1..60) and its key ("7IN").
constexpr int PositionRole = Qt::UserRole;
constexpr int KeyRole = Qt::UserRole + 1;

using Handler = void (frmLogicIo::*)();

// One entry of a menu; an entry without a name is a separator, one without a handler is disabled.
struct MenuEntry {
    const char* name;
    const char* text;
    Handler handler;
};

constexpr MenuEntry Separator{nullptr, nullptr, nullptr};

const MenuEntry Version3File[] = {
    {"mnuNew", "&New", &frmLogicIo::mnuNew_Click},    {"mnuSave", "&Save", &frmLogicIo::mnuSave_Click},
    {"mnuLoad", "&Open", &frmLogicIo::mnuLoad_Click}, {"mnuPrint", "&Print", &frmLogicIo::mnuPrint_Click},
    {"mnuExit", "&Exit", &frmLogicIo::mnuExit_Click},
};
const MenuEntry Version2File[] = {
    {"mnuNew", "&New", &frmLogicIo::mnuNew_Click},
    Separator,
    {"mnuSave", "&Save", &frmLogicIo::mnuSave_Click},
    {"mnuLoad", "&Open", &frmLogicIo::mnuLoad_Click},
    Separator,
    {"mnufind", "Find", nullptr},
    {"mnuPrint", "&Print", &frmLogicIo::mnuPrint_Click},
    Separator,
    {"mnuExit", "&Exit", &frmLogicIo::mnuExit_Click},
};
const MenuEntry Version3Transfer[] = {
    {"mnuSendData", "&Send", &frmLogicIo::mnuSendData_Click},
    {"mnuRx", "&Receive", &frmLogicIo::mnuRx_Click},
    {"mnuDefaults", "&Reset To Factory Defaults", &frmLogicIo::mnuDefaults_Click},
};
const MenuEntry Version2Transfer[] = {
    {"mnuSendData", "&Send", &frmLogicIo::mnuSendData_Click},
    {"mnuRx", "&Receive", &frmLogicIo::mnuRx_Click},
    Separator,
    {"mnuDefaults", "&Reset To Factory Defaults", &frmLogicIo::mnuDefaults_Click},
};

// The entry of the menu bar itself: the batch counting window, or the converter that stays disabled
// (its handler exists, but nothing enables the entry).
struct BarEntry {
    const char* name;
    const char* text;
    Handler handler;
    bool enabled;
};
constexpr BarEntry Version3Bar{"mnuBatchCounting", "&BatchCounting", &frmLogicIo::mnuBatchCounting_Click,
                               true};
constexpr BarEntry Version2Bar{"mnuConvert", "Convert", &frmLogicIo::mnuConvert_Click, false};

// The frames' look: the caption-text background, the highlight colour for their texts, a serif font.
void frameLook(QGroupBox* frame) {
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
    frame->setPalette(palette);
    frame->setAutoFillBackground(true);
    QFont font = frame->font();
    font.setStyleHint(QFont::Serif);
    font.setFamily(QStringLiteral("serif"));
    frame->setFont(font);
}

// The rung list: one column, as wide as the list or as its longest caption (then it scrolls sideways),
// so a chosen item is marked across the whole list.
class RungList : public app::PickTree {
public:
    using app::PickTree::PickTree;
    void fitColumn() { setColumnWidth(0, std::max(sizeHintForColumn(0), viewport()->width())); }

protected:
    void resizeEvent(QResizeEvent* event) override {
        app::PickTree::resizeEvent(event);
        fitColumn();
    }
};

} // namespace

frmLogicIo::frmLogicIo(app::AppContext& ctx, LogicModule& module, LogicVariant variant, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), editor_(module, variant) {
    setObjectName(variant == LogicVariant::Version3 ? app::wnd::frmLogicIoB : app::wnd::frmLogicIo);
    setAttribute(Qt::WA_DeleteOnClose);

    buildMenus();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildRungList(), 1);
    layout->addWidget(buildFrames());
    Pb1 = named(new QProgressBar(central), QStringLiteral("Pb1"));
    Pb1->setTextVisible(false);
    layout->addWidget(Pb1);
    setCentralWidget(central);

    // Whoever changes the rungs (this editor, the other one, the settings collection), they are shown
    // again here.
    connect(&module, &LogicModule::rungsChanged, this, &frmLogicIo::showRungs);
    Form_Load();
}

// ---------------------------------------------------------------------------------------------------------
// Building

void frmLogicIo::buildMenus() {
    const auto addEntries = [this](QMenu* menu, std::span<const MenuEntry> entries) {
        for (const MenuEntry& entry : entries) {
            if (!entry.name) {
                menu->addSeparator();
                continue;
            }
            QAction* action = named(menu->addAction(QString::fromLatin1(entry.text)), entry.name);
            action->setEnabled(entry.handler != nullptr);
            if (entry.handler)
                connect(action, &QAction::triggered, this, [this, h = entry.handler] { (this->*h)(); });
        }
    };
    const bool v3 = editor_.version().variant == LogicVariant::Version3;
    addEntries(named(menuBar()->addMenu(QStringLiteral("&File")), QStringLiteral("mnuFile")),
               v3 ? std::span<const MenuEntry>(Version3File) : std::span<const MenuEntry>(Version2File));
    addEntries(named(menuBar()->addMenu(QStringLiteral("Transfer")), QStringLiteral("mnuTransfer")),
               v3 ? std::span<const MenuEntry>(Version3Transfer)
                  : std::span<const MenuEntry>(Version2Transfer));
    const BarEntry& bar = v3 ? Version3Bar : Version2Bar;
    QAction* action = named(menuBar()->addAction(QString::fromLatin1(bar.text)), bar.name);
    action->setEnabled(bar.enabled);
    connect(action, &QAction::triggered, this, [this, h = bar.handler] { (this->*h)(); });
}

QWidget* frmLogicIo::buildRungList() {
    auto* list = named(new RungList(this), QStringLiteral("SmartOptionList"));
    SmartOptionList = list;
    SmartOptionList->setHeaderLabel(RungListCaption);
    SmartOptionList->setRootIsDecorated(false);
    SmartOptionList->setItemsExpandable(false);
    SmartOptionList->setUniformRowHeights(true);
    SmartOptionList->setMinimumHeight(RungListMinimumHeight);
    SmartOptionList->header()->setStretchLastSection(false);
    // Only the user's pick chooses a rung: the item the list makes current as it takes the focus, and the
    // one the window marks after New or a transfer, leave the frames as they are.
    connect(list, &app::PickTree::picked, this, &frmLogicIo::SmartOptionList_NodeClick);
    return SmartOptionList;
}

QWidget* frmLogicIo::buildFrames() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (size_t f = 0; f < Frame1.size(); ++f) {
        Frame1[f] = named(new QGroupBox(row), QStringLiteral("Frame1_%1").arg(f));
        frameLook(Frame1[f]);
    }
    for (int k = 0; k < LogicEditor::ListCount; ++k) {
        QGroupBox* frame = Frame1[LogicEditor::isActionList(k) ? 1 : 0];
        auto* list = named(new QComboBox(frame), QStringLiteral("Combo1_%1").arg(k));
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(LogicEditor::isOperatorList(k) ? OperatorListCharacters
                                                                      : SlotListCharacters);
        connect(list, &QComboBox::activated, this, [this, k] { Combo1_Click(k); });
        Combo1[size_t(k)] = list;
    }
    // Inputs: condition 1 across the frame, then operator and condition in each row.
    auto* inputs = new QGridLayout(Frame1[0]);
    inputs->addWidget(Combo1[0], 0, 0, 1, 2);
    for (int slot = 1; slot < ConditionSlots; ++slot) {
        inputs->addWidget(Combo1[size_t(2 * slot - 1)], slot, 0);
        inputs->addWidget(Combo1[size_t(2 * slot)], slot, 1);
    }
    inputs->setColumnStretch(1, 1);
    auto* outputs = new QVBoxLayout(Frame1[1]);
    for (int k = LogicEditor::FirstActionList; k < LogicEditor::ListCount; ++k)
        outputs->addWidget(Combo1[size_t(k)]);
    outputs->addStretch(1);
    layout->addWidget(Frame1[0], InputsStretch);
    layout->addWidget(Frame1[1], OutputsStretch);
    return row;
}

// ---------------------------------------------------------------------------------------------------------
// Opening

void frmLogicIo::Form_Load() {
    Pb1->setRange(0, editor_.version().progressMaximum);
    Pb1->setValue(0);
    editor_.load();
    FillCombos();
    BuildRungList();
    InitWindow();
    showCurrentRung();
}

void frmLogicIo::FillCombos() {
    QScopedValueRollback guard(refreshing_, true);
    for (int k = 0; k < LogicEditor::ListCount; ++k) {
        QComboBox* list = Combo1[size_t(k)];
        const QSignalBlocker blocker(list);
        list->addItems(editor_.listEntries(k));
        list->setCurrentIndex(-1);
        // The drop-down opens as wide as its longest entry, however narrow the list is.
        list->view()->setMinimumWidth(list->view()->sizeHintForColumn(0));
    }
}

void frmLogicIo::BuildRungList() {
    const QSignalBlocker blocker(SmartOptionList);
    QTreeWidgetItem* header = nullptr;
    for (int item = 1; item <= LogicEditor::ItemCount; ++item) {
        const QString key = LogicEditor::itemKey(item);
        auto* entry = key.isEmpty() ? new QTreeWidgetItem(SmartOptionList) : new QTreeWidgetItem(header);
        entry->setText(0, editor_.itemCaption(item));
        entry->setData(0, PositionRole, item);
        entry->setData(0, KeyRole, key);
        if (key.isEmpty()) {
            QFont bold = entry->font(0);
            bold.setBold(true);
            entry->setFont(0, bold);
            header = entry;
        }
    }
    SmartOptionList->expandAll();
}

void frmLogicIo::InitWindow() {
    resize(WindowWidth, WindowHeight);
    setWindowTitle(editor_.version().caption);
}

QSize frmLogicIo::sizeHint() const {
    return {WindowWidth, WindowHeight};
}

// ---------------------------------------------------------------------------------------------------------
// Showing the rungs

QTreeWidgetItem* frmLogicIo::listItem(int item) const {
    const int rung = (item - 1) / LogicEditor::ItemsPerRung;
    const int sub = (item - 1) % LogicEditor::ItemsPerRung;
    QTreeWidgetItem* header = SmartOptionList->topLevelItem(rung);
    if (!header || sub == 0)
        return header;
    return header->child(sub - 1);
}

void frmLogicIo::showRungs() {
    for (int item = 1; item <= LogicEditor::ItemCount; ++item) {
        if (QTreeWidgetItem* entry = listItem(item); entry && !LogicEditor::itemKey(item).isEmpty())
            entry->setText(0, editor_.itemCaption(item));
    }
    static_cast<RungList*>(SmartOptionList)->fitColumn();
    showCurrentRung();
}

void frmLogicIo::showCurrentRung() {
    QScopedValueRollback guard(refreshing_, true);
    const bool chosen = LogicRungs::isRung(editor_.CurrentRung());
    Frame1[0]->setEnabled(chosen);
    Frame1[1]->setEnabled(chosen);
    Frame1[0]->setTitle(editor_.inputsCaption());
    Frame1[1]->setTitle(editor_.outputsCaption());
    for (int k = 0; k < LogicEditor::ListCount; ++k) {
        const QSignalBlocker blocker(Combo1[size_t(k)]);
        Combo1[size_t(k)]->setCurrentIndex(editor_.listPosition(k).value_or(-1));
    }
}

void frmLogicIo::followCurrentRung() {
    const int r = editor_.CurrentRung();
    if (!LogicRungs::isRung(r))
        return;
    const QSignalBlocker blocker(SmartOptionList);
    QTreeWidgetItem* header = listItem(LogicEditor::ItemsPerRung * (r - 1) + 1);
    SmartOptionList->setCurrentItem(header);
    SmartOptionList->scrollToItem(header);
}

// ---------------------------------------------------------------------------------------------------------
// Editing

void frmLogicIo::SmartOptionList_NodeClick() {
    QScopedValueRollback guard(refreshing_, true);
    const QTreeWidgetItem* selected = SmartOptionList->currentItem();
    if (selected && editor_.clickItem(selected->data(0, PositionRole).toInt(), selected->text(0)))
        showCurrentRung();
}

void frmLogicIo::Combo1_Click(int index) {
    if (refreshing_ || index < 0 || index >= LogicEditor::ListCount)
        return;
    // The edit is stored and the rung shown again through the module's change; its value prompt waits.
    const auto handler = closer_.handler();
    editor_.choose(index, Combo1[size_t(index)]->currentIndex());
}

void frmLogicIo::RefreshRung(int r) {
    editor_.RefreshRung(r);
    showCurrentRung();
}

void frmLogicIo::mnuNew_Click() {
    editor_.newProgram();
    followCurrentRung();
}

void frmLogicIo::mnuSave_Click() {
    const auto handler = closer_.handler();
    editor_.save();
}

void frmLogicIo::mnuLoad_Click() {
    const auto handler = closer_.handler();
    editor_.open();
    followCurrentRung();
}

void frmLogicIo::mnuPrint_Click() {
    const auto handler = closer_.handler();
    editor_.print();
}

void frmLogicIo::mnuExit_Click() {
    app::closeWindow(this);
}

void frmLogicIo::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event);
}

// ---------------------------------------------------------------------------------------------------------
// Transfers

void frmLogicIo::transfer(const std::function<void(base::Progress&)>& run) {
    const auto handler = closer_.handler();
    {
        const base::BusyGuard busy(ctx_.busy);
        if (!busy.acquired())
            return;
        app::BarProgress progress(*Pb1);
        run(progress);
    }
    followCurrentRung();
}

void frmLogicIo::mnuSendData_Click() {
    transfer([this](base::Progress& progress) { editor_.send(progress); });
}

void frmLogicIo::mnuRx_Click() {
    transfer([this](base::Progress& progress) { editor_.receive(progress); });
}

void frmLogicIo::mnuDefaults_Click() {
    transfer([this](base::Progress&) { editor_.resetToFactoryDefaults(); });
}

// ---------------------------------------------------------------------------------------------------------
// The modal windows

void frmLogicIo::mnuBatchCounting_Click() {
    const auto handler = closer_.handler();
    // Just below the main window's top left corner.
    static constexpr QPoint Offset{7, 53};
    static constexpr QSize Size{560, 536};
    const QPoint mainWindow = window()->pos();
    ctx_.windows.open(app::wnd::frmBatchCounting, [&](QWidget* batch) {
        batch->move(mainWindow + Offset);
        batch->resize(Size);
    });
}

void frmLogicIo::mnuConvert_Click() {
    const auto handler = closer_.handler();
    ctx_.windows.open(app::wnd::frmConvert);
}

} // namespace logicio
