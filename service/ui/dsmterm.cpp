#include "service/ui/dsmterm.h"

#include "app/ui/appcontext.h"
#include "service/servicemodule.h"
#include "service/ui/portproperties.h"
#include "service/ui/terminalview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace service {

namespace {
const QString Caption = QStringLiteral("Dsm Terminal");
// A screen of 80 columns and 24 lines.
constexpr int ScreenColumns = 80;
constexpr int ScreenLines = 24;
} // namespace

DsmTerm::DsmTerm(app::AppContext& ctx, ServiceModule& module, QWidget* parent)
    : QWidget(parent), session_(ctx.stoppableDialogs(), ctx.pump, module.makeSerialPort(),
                                module.serialDevices, module.transferTimings) {
    setObjectName(QStringLiteral("DsmTerm"));
    setWindowTitle(Caption);
    askProperties = [this](const PortProperties& current) {
        return PortPropertiesDialog::ask(current, this);
    };

    auto* menuBar = new QMenuBar(this);
    const auto action = [this](QMenu* menu, const QString& text, const char* name, void (DsmTerm::*slot)()) {
        QAction* a = menu->addAction(text, this, slot);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFIle"));
    mnuFileSend = file->addMenu(QStringLiteral("S&end"));
    mnuFileSend->menuAction()->setObjectName(QStringLiteral("mnuFileSend"));
    action(mnuFileSend, QStringLiteral("Match File"), "sndNewMAtch", &DsmTerm::sndNewMAtch_Click);
    action(mnuFileSend, QStringLiteral("New Program"), "SndNewPgrm", &DsmTerm::SndNewPgrm_Click);
    QAction* receive = action(file, QStringLiteral("&Receive Rundown Data"), "mnuFileReceive",
                              &DsmTerm::mnuFileReceive_Click);
    file->addSeparator()->setObjectName(QStringLiteral("mnuFile01"));
    QAction* exit = action(file, QStringLiteral("E&xit"), "mnuFileExit", &DsmTerm::mnuFileExit_Click);

    QMenu* connection = menuBar->addMenu(QStringLiteral("&Connection"));
    connection->menuAction()->setObjectName(QStringLiteral("mnuConnection"));
    QAction* connectPort = action(connection, QStringLiteral("&Connect"), "mnuConnectionConnect",
                                  &DsmTerm::mnuConnectionConnect_Click);
    QAction* disconnectPort = action(connection, QStringLiteral("&Disconnect"), "mnuConnectionDisconnect",
                                     &DsmTerm::mnuConnectionDisconnect_Click);
    connection->addSeparator()->setObjectName(QStringLiteral("mnuConnection00"));
    QAction* properties = action(connection, QStringLiteral("&Properties"), "mnuConnectionProperties",
                                 &DsmTerm::mnuConnectionProperties_Click);
    idleOnly_ = {mnuFileSend->menuAction(), receive, exit, connectPort, disconnectPort, properties};

    SaxComm = new TerminalView(this);
    const QFontMetrics metrics(SaxComm->font());
    SaxComm->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('X')) * ScreenColumns,
                            metrics.lineSpacing() * ScreenLines);
    connect(SaxComm, &TerminalView::typed, &session_, &DsmSession::typed);

    statusRow_ = new QWidget(this);
    lblStatus = new QLabel(statusRow_);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), statusRow_);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdCancel, &QPushButton::clicked, this, [this] { session_.cancelTransfer(); });
    auto* statusLayout = new QHBoxLayout(statusRow_);
    statusLayout->setContentsMargins(4, 2, 4, 2);
    statusLayout->addWidget(lblStatus, 1);
    statusLayout->addWidget(cmdCancel);
    statusRow_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(SaxComm, 1);
    layout->addWidget(statusRow_);

    connect(&session_, &DsmSession::screenChanged, this, &DsmTerm::scheduleRender);
    connect(&session_, &DsmSession::statusChanged, this, [this] { lblStatus->setText(session_.status()); });
    connect(&session_, &DsmSession::transferringChanged, this, &DsmTerm::transferringChanged);

    session_.Form_Load();
}

void DsmTerm::scheduleRender() {
    // Bursts of bytes are shown once the burst has been taken in.
    if (renderPending_)
        return;
    renderPending_ = true;
    QTimer::singleShot(0, this, [this] {
        renderPending_ = false;
        SaxComm->render(session_.screen());
    });
}

void DsmTerm::transferringChanged(bool running) {
    for (QAction* a : idleOnly_)
        a->setEnabled(!running);
    statusRow_->setVisible(running);
    if (!running)
        closer_.sessionEnded();
}

void DsmTerm::mnuFileReceive_Click() {
    session_.run(DsmTransfer::ReceiveRundownData);
}
void DsmTerm::sndNewMAtch_Click() {
    session_.run(DsmTransfer::MatchFile);
}
void DsmTerm::SndNewPgrm_Click() {
    session_.run(DsmTransfer::NewProgram);
}

void DsmTerm::mnuFileExit_Click() {
    app::closeWindow(this);
}

void DsmTerm::mnuConnectionConnect_Click() {
    session_.connectPort();
}
void DsmTerm::mnuConnectionDisconnect_Click() {
    session_.disconnectPort();
}

void DsmTerm::mnuConnectionProperties_Click() {
    if (const auto chosen = askProperties(session_.properties()))
        session_.applyProperties(*chosen);
}

void DsmTerm::closeEvent(QCloseEvent* event) {
    // The transfer's handler is still running: it ends first (without a word), then the window closes.
    closer_.closeEvent(event, session_.transferring(), [this] { session_.cancelTransfer(true); });
}

} // namespace service
