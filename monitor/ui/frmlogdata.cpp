#include "monitor/ui/frmlogdata.h"

#include "app/ui/appcontext.h"
#include "app/ui/cursors.h"
#include "base/serial/qtserialport.h"
#include "base/serial/serialdevicelist.h"
#include "monitor/seriallogger.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QVBoxLayout>

namespace monitor {

namespace {
// The caption names the log as the NSM documentation does, after a run of blanks.
constexpr int CaptionBlanks = 73;
const QString Note =
    QStringLiteral("NOTE: DATA CAN ONLY BE VIEWED AND LOGGED IF THE NSM COLLECT DATA SETTING IS SET TO YES");
constexpr int ListWidth = 640;
constexpr int ListHeight = 260;

QString loggerDevice() {
    return base::chosenSerialDevice(*base::userSettingsStore(), SerialLoggerSession::LoggerPortKey);
}
} // namespace

frmLogData::frmLogData(app::AppContext& ctx, QWidget* parent)
    : frmLogData(ctx, std::make_unique<base::QtSerialPort>(), loggerDevice(), parent) {}

frmLogData::frmLogData(app::AppContext& ctx, std::unique_ptr<base::SerialPort> port, const QString& device,
                       QWidget* parent)
    : QWidget(parent), ctx_(ctx), port_(std::move(port)),
      session_(std::make_unique<SerialLoggerSession>(*port_, ctx.dialogs)) {
    setObjectName(QStringLiteral("frmLogData"));
    setWindowTitle(QStringLiteral("Nsm Rundown Data (RS-232)") + QString(CaptionBlanks, u' ') +
                   QStringLiteral("Log File: ") + SerialLoggerSession::WindowsLogPath);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* menuBar = new QMenuBar(this);
    QAction* exit = menuBar->addAction(QStringLiteral("&Exit"), this, &frmLogData::mnuExit_Click);
    exit->setObjectName(QStringLiteral("mnuExit"));
    QAction* view = menuBar->addAction(QStringLiteral("&View Log File"), this, &frmLogData::mnuViewLog_Click);
    view->setObjectName(QStringLiteral("mnuViewLog"));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMinimumSize(ListWidth, ListHeight);
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    List1->setFont(fixed);
    auto* lblOutput = new QLabel(Note, this);
    lblOutput->setObjectName(QStringLiteral("lblOutput"));
    lblOutput->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(List1, 1);
    layout->addWidget(lblOutput);

    connect(session_.get(), &SerialLoggerSession::reportShown, this, &frmLogData::showReport);
    Form_Load(device);
}

frmLogData::~frmLogData() {
    session_->exit();
}

void frmLogData::Form_Load(const QString& device) {
    session_->open(device);
}

void frmLogData::showReport() {
    List1->clear();
    List1->addItems(session_->lines());
}

void frmLogData::mnuExit_Click() {
    app::closeWindow(this);
}

void frmLogData::mnuViewLog_Click() {
    // The hourglass while the log is read; the viewer itself shows the ordinary pointer.
    const app::WaitCursor wait;
    session_->viewLog(ctx_.textViewer);
}

void frmLogData::closeEvent(QCloseEvent* event) {
    // Closing the window is Exit: the port is closed and nothing more is read.
    session_->exit();
    event->accept();
}

} // namespace monitor
