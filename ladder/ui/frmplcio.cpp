#include "ladder/ui/frmplcio.h"

#include "app/transferresult.h"
#include "app/ui/appcontext.h"
#include "app/ui/commandframe.h"
#include "app/ui/objectname.h"
#include "app/ui/picktree.h"
#include "app/ui/windowregistry.h"
#include "base/numbertext.h"
#include "ladder/elementcatalogue.h"
#include "ladder/ladderfiles.h"
#include "ladder/laddermodule.h"
#include "ladder/laddertreemodel.h"
#include "ladder/windowposition.h"

#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace ladder {

using app::named;

namespace {

const QString Caption = QStringLiteral(" Brenstal  - Logic I/O");
constexpr int GroupButtonColumns = 3;
constexpr int PresetColumns = 2;
constexpr int TimerDecimals = 2;
constexpr int TreeMinimumWidth = 320;

// The bar shows itself when a transfer sets it up.
class ShowingProgress : public base::Progress {
public:
    explicit ShowingProgress(QProgressBar& bar) : bar_(bar) {}
    void setRange(int minimum, int maximum) override {
        bar_.setRange(minimum, maximum);
        bar_.setVisible(true);
    }
    void setValue(int value) override { bar_.setValue(value); }

private:
    QProgressBar& bar_;
};

} // namespace

frmPLCIO::frmPLCIO(app::AppContext& ctx, LadderModule& module, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), module_(module), editor_(module.editor()),
      session_(ctx.services, module.editor(), *this) {
    setObjectName(QStringLiteral("frmPLCIO"));
    setWindowTitle(Caption);

    buildMenus();
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    auto* tree = named(new app::PickView(central), QStringLiteral("TreeView1"));
    TreeView1 = tree;
    model_ = new LadderTreeModel(editor_.tree(), this);
    TreeView1->setModel(model_);
    TreeView1->setHeaderHidden(true);
    // Every row is one line of text: the view places rows without asking each for its size.
    TreeView1->setUniformRowHeights(true);
    TreeView1->setExpandsOnDoubleClick(false); // a double-click renames a rung
    TreeView1->setMinimumWidth(TreeMinimumWidth);
    layout->addWidget(TreeView1, 1);
    auto* side = new QVBoxLayout;
    QWidget* groups = buildGroups();
    QWidget* lists = buildLists();
    QWidget* presets = buildPresets();
    side->addWidget(groups);
    side->addWidget(lists, 1);
    side->addWidget(presets);
    idleWidgets_ = {TreeView1, groups, lists, presets};
    Pb1 = named(new QProgressBar(central), QStringLiteral("Pb1"));
    Pb1->setVisible(false);
    side->addWidget(Pb1);
    layout->addLayout(side, 1);
    setCentralWidget(central);

    statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
    sbPanel1 = named(new QLabel(statusBar()), QStringLiteral("sbPanel1"));
    statusBar()->addWidget(sbPanel1, 1);

    // A node is selected by the user's pick only: the item the tree makes current as it takes the focus
    // is no selection, so the caption and the element lists stay as they opened.
    connect(tree, &app::PickView::picked, this, &frmPLCIO::TreeView1_Click);
    connect(TreeView1, &QTreeView::doubleClicked, this, &frmPLCIO::TreeView1_DblClick);
    connect(List1, &QListWidget::itemActivated, this, [this] { List1_DblClick(); });
    // The settings collection receives into the same editor: the window shows what it brought.
    editor_.setOnProjectReplaced([this] { showAll(); });
    Form_Load();
}

frmPLCIO::~frmPLCIO() {
    editor_.setOnProjectReplaced({});
}

// ---------------------------------------------------------------------------------------------------------
// Building

void frmPLCIO::buildMenus() {
    auto add = [this](QMenu* menu, const QString& text, const char* name, void (frmPLCIO::*handler)()) {
        QAction* action = named(menu->addAction(text), QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        idleActions_.push_back(action);
        return action;
    };
    QMenu* file = named(menuBar()->addMenu(QStringLiteral("&File")), QStringLiteral("mnuFIle"));
    add(file, QStringLiteral("&Open Project"), "mnuOpen", &frmPLCIO::mnuOpen_Click);
    add(file, QStringLiteral("&New Project"), "mnuNewProject", &frmPLCIO::mnuNewProject_Click);
    file->addSeparator();
    mnuSave = add(file, QStringLiteral("&Save"), "mnuSave", &frmPLCIO::mnuSave_Click);
    mnuSaveAs = add(file, QStringLiteral("&Save As..."), "mnuSaveAs", &frmPLCIO::mnuSaveAs_Click);
    file->addSeparator();
    add(file, QStringLiteral("&Print"), "mnuPrint", &frmPLCIO::mnuPrint_Click);
    file->addSeparator();
    QAction* exit = named(file->addAction(QStringLiteral("&Exit")), QStringLiteral("mnuExit"));
    connect(exit, &QAction::triggered, this, [this] { app::closeWindow(this); });

    QMenu* transfer = named(menuBar()->addMenu(QStringLiteral("&Transfer")), QStringLiteral("mnuTransfer"));
    add(transfer, QStringLiteral("&Send"), "mnuSend", &frmPLCIO::mnuSend_Click);
    add(transfer, QStringLiteral("&Receive"), "mnuReceive", &frmPLCIO::mnuReceive_Click);
    add(transfer, QStringLiteral("&Reset To Factory Defaults"), "mnuSetDefaults",
        &frmPLCIO::mnuSetDefaults_Click);

    QMenu* rung = named(menuBar()->addMenu(QStringLiteral("&Rung")), QStringLiteral("mnuRung"));
    add(rung, QStringLiteral("&Add"), "mnuAddRung", &frmPLCIO::mnuAddRung_Click);
    add(rung, QStringLiteral("Delete"), "mnuDeleteRung", &frmPLCIO::mnuDeleteRung_Click);
    idleActions_.push_back(transfer->menuAction());
    idleActions_.push_back(rung->menuAction());
}

QWidget* frmPLCIO::buildGroups() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    frmInput = named(new QGroupBox(QStringLiteral("Inputs"), row), QStringLiteral("frmInput"));
    frmOut = named(new QGroupBox(QStringLiteral("Outputs"), row), QStringLiteral("frmOut"));
    auto* inputs = new QGridLayout(frmInput);
    auto* outputs = new QGridLayout(frmOut);
    // The two frames hold different numbers of rows: both start at the top.
    inputs->setAlignment(Qt::AlignTop);
    outputs->setAlignment(Qt::AlignTop);
    const std::vector<ElementGroup>& groups = elementGroups();
    std::array<int, 2> placed{};
    for (int g = 0; g < int(groups.size()); ++g) {
        const ElementGroup& group = groups[size_t(g)];
        const bool input = group.side == ElementSide::Inputs;
        QGroupBox* frame = input ? frmInput : frmOut;
        auto* button = named(new QPushButton(group.caption, frame), group.button);
        int& n = placed[input ? 0 : 1];
        (input ? inputs : outputs)->addWidget(button, n / GroupButtonColumns, n % GroupButtonColumns);
        ++n;
        connect(button, &QPushButton::clicked, this, [this, g] { groupButton_Click(g); });
    }
    layout->addWidget(frmInput);
    layout->addWidget(frmOut);
    return row;
}

QWidget* frmPLCIO::buildLists() {
    auto* panel = new QWidget(this);
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    lbl1 = named(new QLabel(QStringLiteral("Logic Selections Available"), panel), QStringLiteral("lbl1"));
    lbl2 = named(new QLabel(QStringLiteral("Logic Selections Used"), panel), QStringLiteral("lbl2"));
    List1 = named(new QListWidget(panel), QStringLiteral("List1"));
    List2 = named(new QListWidget(panel), QStringLiteral("List2"));
    layout->addWidget(lbl1, 0, 0);
    layout->addWidget(lbl2, 0, 1);
    layout->addWidget(List1, 1, 0);
    layout->addWidget(List2, 1, 1);
    // The trace of a send: the image as it went out, kept after a failure. Nothing is placed from it.
    lstTrace = named(new QListWidget(panel), QStringLiteral("lstTrace"));
    lstTrace->setVisible(false);
    layout->addWidget(lstTrace, 2, 0, 1, 2);
    return panel;
}

QWidget* frmPLCIO::buildPresets() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* counters = named(new QGroupBox(QStringLiteral("Counter "), row), QStringLiteral("Frame2"));
    auto* counterGrid = new QGridLayout(counters);
    for (int n = 1; n <= LadderPresets::Counters; ++n) {
        auto* box = named(new QSpinBox(counters), QStringLiteral("cwCounter%1").arg(n));
        box->setRange(int(LadderPresets::Minimum), int(LadderPresets::counterMaximum(n)));
        cwCounter[size_t(n - 1)] = box;
        const int at = (n - 1) % (LadderPresets::Counters / PresetColumns);
        const int column = 2 * ((n - 1) / (LadderPresets::Counters / PresetColumns));
        counterGrid->addWidget(new QLabel(QString::number(n), counters), at, column);
        counterGrid->addWidget(box, at, column + 1);
        connect(box, &QSpinBox::valueChanged, this, [this, n](int value) {
            editor_.setCounterPreset(n, value);
            showTree();
        });
    }
    auto* timers = named(new QGroupBox(QStringLiteral("Timer Value"), row), QStringLiteral("Frame1"));
    auto* timerGrid = new QGridLayout(timers);
    for (int n = 1; n <= LadderPresets::Timers; ++n) {
        auto* box = named(new QDoubleSpinBox(timers), QStringLiteral("cwTimer%1").arg(n));
        box->setDecimals(TimerDecimals);
        box->setRange(LadderPresets::Minimum, LadderPresets::TimerMaximum);
        box->setSuffix(QStringLiteral(" Sec"));
        cwTimer[size_t(n - 1)] = box;
        timerGrid->addWidget(new QLabel(QString::number(n), timers), n - 1, 0);
        timerGrid->addWidget(box, n - 1, 1);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, n](double value) {
            editor_.setTimerPreset(n, value);
            showTree();
        });
    }
    layout->addWidget(counters, 2);
    layout->addWidget(timers, 1);
    return row;
}

// ---------------------------------------------------------------------------------------------------------
// Handlers

void frmPLCIO::Form_Load() {
    editor_.reset();
    session_.prepareLink();
    frmInput->setEnabled(false);
    frmOut->setEnabled(false);
    showAll();
}

void frmPLCIO::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event, session_.running(), [this] { session_.cancel(); });
    if (!event->isAccepted())
        return;
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* shown = frame ? static_cast<QWidget*>(frame) : this;
    if (!shown->isMinimized())
        saveWindowPosition(module_.settings(), shown->geometry());
    QMainWindow::closeEvent(event);
}

void frmPLCIO::mnuOpen_Click() {
    const auto handler = closer_.handler();
    // An opened project has been drawn as it replaced the old one; else the old one stays as it is shown.
    if (LadderFiles(ctx_.dialogs, editor_).mnuOpen_Click())
        showFirstNode();
}

void frmPLCIO::mnuNewProject_Click() {
    editor_.newProject();
    showAll();
}

void frmPLCIO::mnuSave_Click() {
    const auto handler = closer_.handler();
    LadderFiles(ctx_.dialogs, editor_).mnuSave_Click();
    showProjectState();
}

void frmPLCIO::mnuSaveAs_Click() {
    const auto handler = closer_.handler();
    LadderFiles(ctx_.dialogs, editor_).mnuSaveAs_Click();
    showProjectState();
}

void frmPLCIO::mnuPrint_Click() {
    const auto handler = closer_.handler();
    LadderFiles(ctx_.dialogs, editor_).mnuPrint_Click();
}

bool frmPLCIO::runTransfer(const std::function<app::TransferResult(base::Progress&)>& command) {
    const auto handler = closer_.handler();
    bool ok = false;
    const bool ran = session_.run([&] {
        ShowingProgress progress(*Pb1);
        setEditing(false);
        ok = command(progress).ok();
        setEditing(true);
    });
    if (!ran)
        return false;
    // A finished transfer hides the bar; a failed one leaves it where it stopped.
    if (ok)
        Pb1->setVisible(false);
    showAll();
    return ok;
}

void frmPLCIO::setEditing(bool on) {
    for (QWidget* w : idleWidgets_)
        w->setEnabled(on);
    for (QAction* a : idleActions_)
        a->setEnabled(on);
}

void frmPLCIO::mnuSend_Click() {
    runTransfer([this](base::Progress& progress) { return session_.send(progress); });
}

void frmPLCIO::mnuReceive_Click() {
    if (runTransfer([this](base::Progress& progress) { return session_.receive(progress); }))
        showFirstNode();
}

void frmPLCIO::mnuSetDefaults_Click() {
    runTransfer([this](base::Progress&) { return session_.resetToFactoryDefaults(); });
}

void frmPLCIO::mnuAddRung_Click() {
    editor_.addRung();
    showTree();
    showProjectState();
}

void frmPLCIO::mnuDeleteRung_Click() {
    if (editor_.deleteEntry(currentNode())) {
        showTree();
        showProjectState();
    }
}

int frmPLCIO::currentNode() const {
    return LadderTreeModel::nodeOf(TreeView1->currentIndex());
}

void frmPLCIO::TreeView1_Click() {
    const int node = currentNode();
    const NodeSelection selection = editor_.selectNode(node);
    if (node >= 0)
        setWindowTitle(selection.caption);
    frmInput->setEnabled(selection.inputsEnabled);
    frmOut->setEnabled(selection.outputsEnabled);
    if (!selection.availableLabel.isEmpty()) {
        lbl1->setText(selection.availableLabel);
        lbl2->setText(selection.usedLabel);
    }
    showElementList();
}

void frmPLCIO::TreeView1_DblClick(const QModelIndex& item) {
    if (editor_.renameRung(LadderTreeModel::nodeOf(item)))
        showTree();
}

void frmPLCIO::List1_DblClick() {
    if (editor_.placeElement(currentNode(), List1->currentRow())) {
        showTree();
        showProjectState();
    }
}

void frmPLCIO::groupButton_Click(int group) {
    const QStringList used = editor_.showGroup(group);
    showElementList();
    List2->clear();
    List2->addItems(used);
}

// ---------------------------------------------------------------------------------------------------------
// Showing the session

void frmPLCIO::showAll() {
    showTree();
    showPresets();
    showProjectState();
    showElementList();
    showTrace();
}

void frmPLCIO::showTree() {
    const LadderTree& tree = editor_.tree();
    const int current = currentNode();
    // The item shown before stays selected where it is: a preset renames nodes in place, and a key read
    // from a file may repeat, naming no node alone.
    const int again = tree.valid(current) ? current : -1;
    {
        // Redrawing is no selection by the user: the element list stays as the user left it.
        const QSignalBlocker quiet(TreeView1);
        model_->refresh();
        // A ladder is never deeper than root, rung, list and element (the file reader refuses deeper
        // nodes): laying the whole tree open goes as many levels deep, and its rows are made as they show.
        TreeView1->expandAll();
        if (again >= 0) {
            const QModelIndex item = model_->indexOf(again);
            TreeView1->setCurrentIndex(item);
            TreeView1->scrollTo(item);
        }
    }
    // The node selected before is gone (deleted, or a new project): nothing is selected any more.
    if (current >= 0 && again < 0)
        TreeView1_Click();
}

void frmPLCIO::showFirstNode() {
    const QModelIndex first = model_->index(0, 0, model_->index(0, 0));
    if (first.isValid())
        TreeView1->scrollTo(first);
}

void frmPLCIO::showPresets() {
    const LadderPresets& presets = editor_.presets();
    for (int n = 1; n <= LadderPresets::Counters; ++n) {
        const QSignalBlocker quiet(cwCounter[size_t(n - 1)]);
        cwCounter[size_t(n - 1)]->setValue(int(base::roundHalfEven(presets.cwCounter(n))));
    }
    for (int n = 1; n <= LadderPresets::Timers; ++n) {
        const QSignalBlocker quiet(cwTimer[size_t(n - 1)]);
        cwTimer[size_t(n - 1)]->setValue(presets.cwTimer(n));
    }
}

void frmPLCIO::showProjectState() {
    mnuSave->setEnabled(editor_.saveMenus().save);
    mnuSaveAs->setEnabled(editor_.saveMenus().saveAs);
    sbPanel1->setText(editor_.statusText());
}

void frmPLCIO::showElementList() {
    List1->clear();
    List1->addItems(editor_.elementList());
}

void frmPLCIO::showTrace() {
    lstTrace->clear();
    lstTrace->addItems(editor_.transferTrace());
    lstTrace->setVisible(!editor_.transferTrace().isEmpty());
}

} // namespace ladder
