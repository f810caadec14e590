#include "app/ui/commandframe.h"

#include "app/accesslevels.h"
#include "app/ui/appcontext.h"
#include "app/ui/frmoutput.h"
#include "base/dialogs.h"
#include "base/failbox.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace app {

Report::Report(FrmOutput* window, QMdiArea* area) : window_(window), area_(area) {}

Report::Report(Report&& other) noexcept
    : window_(std::move(other.window_)), area_(std::move(other.area_)), shown_(other.shown_) {
    other.window_.clear();
}

Report::~Report() {
    if (!shown_ && window_)
        delete window_.data();
}

void Report::add(const QString& line) {
    if (window_)
        window_->ListAddItem(line);
}

void Report::add(const QStringList& lines) {
    for (const QString& line : lines)
        add(line);
}

void Report::show() {
    if (!window_ || shown_)
        return;
    shown_ = true;
    if (!area_) {
        window_->show();
        return;
    }
    QMdiSubWindow* frame = area_->addSubWindow(window_);
    frame->move(0, 0);
    // Wide enough for the longest line, as far as the MDI area (once it is on the screen) allows.
    const QSize wanted = frame->sizeHint();
    frame->resize(area_->isVisible() ? wanted.boundedTo(area_->viewport()->size()) : wanted);
    frame->show();
    area_->setActiveSubWindow(frame);
}

CommandFrame::CommandFrame(AppContext& ctx_, QMdiArea& mdiArea, QProgressBar& bar, MenuTree& menu)
    : ctx(ctx_), mdiArea_(mdiArea), bar_(bar), menu_(menu) {}

base::Dialogs& CommandFrame::dialogs() {
    return ctx.dialogs;
}

void CommandFrame::onMenu(const QString& name, std::function<void()> handler) {
    QAction* action = menu_.actions.value(name);
    Q_ASSERT_X(action, "CommandFrame::onMenu", "no such menu entry");
    if (!action)
        return;
    QObject::connect(action, &QAction::triggered, action, [handler = std::move(handler)] { handler(); });
}

void CommandFrame::applyMenuState(int level) {
    for (const MenuItemState& item : menuStateForLevel(level)) {
        QAction* action = menu_.actions.value(item.objectName);
        if (!action)
            continue;
        if (item.enabled)
            action->setEnabled(*item.enabled);
        if (item.visible)
            action->setVisible(*item.visible);
    }
}

Report CommandFrame::newReport() {
    auto* window = new FrmOutput(ctx.dialogs);
    outputWindow_ = window;
    return Report(window, &mdiArea_);
}

void CommandFrame::showReport(const ReportLines& lines) {
    if (!lines)
        return;
    Report report = newReport();
    report.add(*lines);
    report.show();
}

void CommandFrame::failBox(const QString& text) {
    base::failBox(ctx.dialogs, text);
}

} // namespace app
