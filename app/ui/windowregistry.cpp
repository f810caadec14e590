#include "app/ui/windowregistry.h"

#include "app/ui/captionfit.h"
#include "app/ui/workarea.h"

#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QVBoxLayout>

namespace app {

namespace {

struct KnownWindow {
    const QString& name;
    WindowPolicy policy;
};

// clang-format off
const KnownWindow KnownWindows[] = {
    {wnd::frmSetConnection,     {.instance = Instance::Shared}},
    {wnd::frmMaybe,             {.instance = Instance::Shared, .topLeft = true}},
    {wnd::frmPassword,          {.instance = Instance::New, .modal = true}},
    {wnd::formNewPword,         {.instance = Instance::New, .modal = true}},
    {wnd::frmValue2,            {.instance = Instance::Shared}},
    {wnd::frmPset,              {.instance = Instance::Shared, .restoresProgressBar = true}},
    {wnd::frmDefaults,          {.instance = Instance::Shared, .modal = true}},
    {wnd::frmRunScreen1,        {.instance = Instance::New}},
    {wnd::FrmMonitor,           {.instance = Instance::New}},
    {wnd::FrmMonitorButtons,    {.instance = Instance::New}},
    {wnd::ToolLed,              {.instance = Instance::New}},
    {wnd::frmGraph,             {.instance = Instance::New, .restoresProgressBar = true}},
    {wnd::frmStats,             {.instance = Instance::New}},
    {wnd::frmLogData,           {.instance = Instance::New}},
    {wnd::frmResults,           {.instance = Instance::Shared}},
    {wnd::frmLogicIo,           {.instance = Instance::Shared, .restoresProgressBar = true, .topLeft = true}},
    {wnd::frmLogicIoB,          {.instance = Instance::Shared, .restoresProgressBar = true, .topLeft = true}},
    {wnd::frmBatchCounting,     {.instance = Instance::New, .modal = true}},
    {wnd::frmConvert,           {.instance = Instance::New, .modal = true}},
    {wnd::frmPLCIO,             {.instance = Instance::Shared, .restoresProgressBar = true}},
    {wnd::FrmDspParameters,     {.instance = Instance::New}},
    {wnd::FormNsm,              {.instance = Instance::New}},
    {wnd::FormCalibration,      {.instance = Instance::New}},
    {wnd::FrmCollectSettings,   {.instance = Instance::Shared, .topLeft = true}},
    {wnd::frmResetAll,          {.instance = Instance::Shared}},
    {wnd::frmCalButtons,        {.instance = Instance::New}},
    {wnd::frmSerialOut,         {.instance = Instance::New}},
    {wnd::DsmTerm,              {.instance = Instance::New}},
    {wnd::frmMatch,             {.instance = Instance::New}},
    {wnd::FrmTestSocketTray,    {.instance = Instance::New}},
    {wnd::frmTestTool,          {.instance = Instance::Shared, .modal = true}},
    {wnd::frmTubeNut,           {.instance = Instance::New}},
};
// clang-format on

// Default modal run: until the window is closed (every window is deleted on close).
void runUntilClosed(QWidget* window) {
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->exec();
        return;
    }
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    loop.exec();
}

} // namespace

void closeWindow(QWidget* window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

PlaceholderWindow::PlaceholderWindow(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setWindowTitle(name);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(name, this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    resize(320, 160);
}

WindowRegistry::WindowRegistry() : runModal_(runUntilClosed) {}

void WindowRegistry::setMdiArea(QMdiArea* area) {
    mdiArea_ = area;
}
void WindowRegistry::setProgressBar(QProgressBar* bar) {
    bar_ = bar;
}

void WindowRegistry::provide(const QString& name, Factory factory) {
    factories_.insert(name, std::move(factory));
}

WindowPolicy WindowRegistry::policy(const QString& name) {
    for (const KnownWindow& k : KnownWindows) {
        if (k.name == name)
            return k.policy;
    }
    return {};
}

QWidget* WindowRegistry::make(const QString& name) {
    const Factory factory = factories_.value(name);
    QWidget* window = factory ? factory() : new PlaceholderWindow(name);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (policy(name).restoresProgressBar) {
        connect(window, &QObject::destroyed, this, [this] {
            if (bar_)
                bar_->setVisible(true);
        });
    }
    return window;
}

QWidget* WindowRegistry::create(const QString& name) {
    if (policy(name).instance == Instance::Shared) {
        if (QWidget* existing = shared_.value(name))
            return existing;
        QWidget* window = make(name);
        shared_.insert(name, window);
        return window;
    }
    return make(name);
}

void WindowRegistry::show(const QString& name, QWidget* window) {
    emit opened(name, window);
    if (policy(name).modal) {
        fitCaption(*window);
        runModal_(window);
        return;
    }
    if (mdiArea_) {
        auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
        if (!frame)
            frame = mdiArea_->addSubWindow(window);
        if (policy(name).topLeft)
            frame->move(0, 0);
        fitCaption(*frame);
        frame->show();
        window->show();
        fitWorkArea(*window);
        mdiArea_->setActiveSubWindow(frame);
        return;
    }
    fitCaption(*window);
    window->show();
    window->raise();
}

QWidget* WindowRegistry::open(const QString& name, const Prepare& prepare) {
    QWidget* window = create(name);
    if (prepare)
        prepare(window);
    QPointer<QWidget> guard(window);
    show(name, window);
    return guard.data();
}

} // namespace app
