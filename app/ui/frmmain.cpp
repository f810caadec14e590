#include "app/ui/frmmain.h"

#include "app/programlink.h"
#include "app/ui/appcontext.h"
#include "app/ui/qtdialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>

namespace app {

namespace {
const QString CaptionText = QStringLiteral(" Brenstal Palverin 2006 ");
constexpr int InitialWidth = 1024;
constexpr int InitialHeight = 720;
constexpr int ProgressBarWidth = 320;

// The sub-window's own Close action claims Ctrl+W too, which would leave the main window's Ctrl+W (Tool >
// Write > Eeprom) ambiguous and dead whenever a child window has the focus: the child gives it up.
const QKeySequence WriteEepromKey(Qt::CTRL | Qt::Key_W);

void releaseCloseShortcut(QMdiSubWindow* window) {
    if (!window)
        return;
    QList<QAction*> actions = window->actions();
    if (QMenu* menu = window->systemMenu())
        actions += menu->actions();
    for (QAction* a : actions) {
        QList<QKeySequence> keys = a->shortcuts();
        if (keys.removeAll(WriteEepromKey) > 0)
            a->setShortcuts(keys);
    }
}
} // namespace

QString mainWindowCaption(const QString& version) {
    return CaptionText + version;
}

FrmMain::FrmMain(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), mdiArea_(new QMdiArea(this)), Bar1_(new QProgressBar(this)),
      menu_(buildMenuTree(*menuBar())), frame_(ctx, *mdiArea_, *Bar1_, menu_) {
    setObjectName(QStringLiteral("FrmMain"));
    mdiArea_->setObjectName(QStringLiteral("MDIClient"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);

    Bar1_->setObjectName(QStringLiteral("Bar1"));
    Bar1_->setRange(0, 100);
    Bar1_->setValue(0);
    Bar1_->setTextVisible(false);
    Bar1_->setFixedWidth(ProgressBarWidth);
    statusBar()->addPermanentWidget(Bar1_);
    resize(InitialWidth, InitialHeight);

    if (auto* qtDialogs = dynamic_cast<QtDialogs*>(&ctx_.shownDialogs()))
        qtDialogs->setParentWindow(this);
    ctx_.windows.setMdiArea(mdiArea_);
    ctx_.windows.setProgressBar(Bar1_);
    ctx_.busy.setOnChange([this](bool busy) { setBusy(busy); });

    connect(action(QStringLiteral("mnuExit")), &QAction::triggered, this, &FrmMain::mnuExit_Click);
    connect(menu(QStringLiteral("mnuSysView")), &QMenu::aboutToShow, this, &FrmMain::fillWindowList);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, releaseCloseShortcut);

    Timer1_.setInterval(ReconnectIntervalMs);
    connect(&Timer1_, &QTimer::timeout, this, &FrmMain::Timer1_Timer);
    Timer1_.start();

    installCommandGroups();
}

FrmMain::~FrmMain() {
    ctx_.busy.setOnChange({});
    if (waitCursor_)
        QApplication::restoreOverrideCursor();
    if (auto* qtDialogs = dynamic_cast<QtDialogs*>(&ctx_.shownDialogs()))
        qtDialogs->setParentWindow(nullptr);
    ctx_.windows.setMdiArea(nullptr);
    ctx_.windows.setProgressBar(nullptr);
}

void FrmMain::applyMenuState(int level) {
    frame_.applyMenuState(level);
}

void FrmMain::Timer1_Timer() {
    ProgramLink(ctx_.services).keepConnected();
}

void FrmMain::mnuExit_Click() {
    close();
}

void FrmMain::MDIForm_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    Timer1_.stop();
    ProgramLink(ctx_.services).release();
}

void FrmMain::closeEvent(QCloseEvent* event) {
    if (ctx_.busy.busy()) {
        // A command is waiting for the controller: every wait ends at once, nothing more is shown, and the
        // link is released when the command has ended.
        closing_ = true;
        ctx_.pump.stop();
        Timer1_.stop();
    } else {
        MDIForm_Unload();
    }
    mdiArea_->closeAllSubWindows();
    event->accept();
}

void FrmMain::setBusy(bool busy) {
    // The main window itself stays enabled: a message box parented to it must still be answerable.
    menuBar()->setEnabled(!busy);
    setWindowsEnabled(!busy);
    if (busy) {
        // A test that runs until the user stops it waits for the user: no wait cursor over its window.
        waitCursor_ = !ctx_.busy.usableWindow();
        if (waitCursor_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    if (waitCursor_)
        QApplication::restoreOverrideCursor();
    waitCursor_ = false;
    if (closing_)
        MDIForm_Unload();
}

void FrmMain::setWindowsEnabled(bool enabled) {
    if (enabled) {
        for (const QPointer<QWidget>& w : disabledWhileBusy_)
            if (w)
                w->setEnabled(true);
        disabledWhileBusy_.clear();
        return;
    }
    // A window running a test until the user stops it stays usable, as the connection window does.
    const QObject* usable = ctx_.busy.usableWindow();
    for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
        if (!sub->isEnabled() || (sub->widget() && sub->widget()->objectName() == wnd::frmSetConnection) ||
            (usable && sub->widget() == usable))
            continue;
        sub->setEnabled(false);
        disabledWhileBusy_.emplace_back(sub);
    }
}

void FrmMain::fillWindowList() {
    QMenu* view = menu(QStringLiteral("mnuSysView"));
    for (QAction* a : windowListActions_) {
        view->removeAction(a);
        delete a;
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    if (windows.isEmpty())
        return;
    windowListActions_.push_back(view->addSeparator());
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QAction* a = view->addAction(QStringLiteral("&%1 %2").arg(number++).arg(window->windowTitle()));
        a->setCheckable(true);
        a->setChecked(window == mdiArea_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w = QPointer<QMdiSubWindow>(window)] {
            if (w)
                mdiArea_->setActiveSubWindow(w);
        });
        windowListActions_.push_back(a);
    }
}

} // namespace app
