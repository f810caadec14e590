#include "service/dsmsession.h"

#include "app/programcore.h"
#include "base/cp1252.h"
#include "base/textlines.h"
#include "service/matchfile.h"

#include <QFile>

namespace service {

namespace {
const QString PortFailure = QStringLiteral("Can't open the communications port!");
const QString FileNotFound = QStringLiteral("Can Not Find File");
const QString NotAMatchFile = QStringLiteral("File Is Not A Match File - Nothing Sent");
const QString SendQuestion = QStringLiteral(
    "While Sending Data To The DSM All Rundowns Will Be Lost During The Transfer - Continue ? ");
const QString ReceiveQuestion = QStringLiteral(
    "While Receiving Data From The DSM All Rundowns Will Be Lost During The Transfer - Continue ? ");
// Text files first, so they are the ones offered.
const QString FileFilter = QStringLiteral("Pset Files (*.txt *.TXT);;All Files (*)");

const QString TransferComplete = QStringLiteral("Transfer Complete");
const QString TransferFailed = QStringLiteral("Transfer Failed - ");
const QString TransferCancelled = QStringLiteral("Transfer Cancelled");

constexpr char CarriageReturn = '\r';
} // namespace

const DsmScript& dsmScript(DsmTransfer transfer) {
    static const DsmScript receive{
        .question = ReceiveQuestion,
        .receive = true,
        .pausesBeforeCommand = {20000, 20000},
        .command = QStringLiteral("down data.txt"),
        .pauseAfterCommand = 20000,
        .protocol = TransferProtocol::Xmodem,
        .pausesAfterStart = {30000, 30000},
        .pausesAfterTransfer = {30000, 30000, 30000},
    };
    static const DsmScript match{
        .question = SendQuestion,
        .receive = false,
        .pausesBeforeCommand = {30000, 30000},
        .command = QStringLiteral("up match.txt"),
        .pauseAfterCommand = 20000,
        .protocol = TransferProtocol::Raw,
        .fileSize = MatchFileSize,
        .pausesAfterStart = {},
        .pausesAfterTransfer = {30000, 30000},
    };
    static const DsmScript program{
        .question = SendQuestion,
        .receive = false,
        .pausesBeforeCommand = {60000},
        .command = QStringLiteral("up dsm.exe"),
        .pauseAfterCommand = 40000,
        .protocol = TransferProtocol::Xmodem,
        .pausesAfterStart = {},
        .pausesAfterTransfer = {60000},
    };
    switch (transfer) {
    case DsmTransfer::ReceiveRundownData:
        return receive;
    case DsmTransfer::MatchFile:
        return match;
    case DsmTransfer::NewProgram:
        break;
    }
    return program;
}

DsmSession::DsmSession(base::StoppableDialogs& dialogs, base::EventPump& pump,
                       std::unique_ptr<base::SerialPort> port, SerialDevices& devices,
                       const TransferTimings& timings)
    : dialogs_(dialogs), pump_(pump), port_(std::move(port)), devices_(devices), timings_(timings),
      settings_(*parseLineSettings(LineSettings)) {
    connect(port_.get(), &base::SerialPort::dataArrived, this, &DsmSession::onPortData);
}

DsmSession::~DsmSession() {
    // A transfer still running (the program is ending) stops without a word.
    if (transfer_)
        transfer_->cancel();
}

void DsmSession::Form_Load() {
    connectPort();
}

bool DsmSession::connectPort() {
    if (port_->isOpen())
        return true;
    if (port_->open(devices_.dsmPort(), settings_))
        return true;
    dialogs_.message(PortFailure, base::ProgramTitle, base::MessageIcon::None);
    return false;
}

void DsmSession::disconnectPort() {
    port_->close();
}

bool DsmSession::applyProperties(const PortProperties& properties) {
    if (running_)
        return false;
    if (properties.device != devices_.dsmPort())
        devices_.setDsmPort(properties.device);
    settings_ = properties.settings;
    port_->close();
    return connectPort();
}

void DsmSession::typed(const QByteArray& bytes) {
    if (!running_ && port_->isOpen())
        port_->write(bytes);
}

void DsmSession::onPortData() {
    const QByteArray bytes = port_->readAll();
    if (transfer_ && transfer_->active()) {
        transfer_->received(bytes);
        return;
    }
    screen_.feed(bytes);
    emit screenChanged();
}

void DsmSession::DoEventsDelay(long count, bool interruptible) {
    if (count < 1)
        return;
    if (interruptible)
        pump_.waitUntil([this] { return ending(); }, count);
    else
        pump_.pause(count);
}

void DsmSession::SendLine(const QString& text) {
    // A command is typed in full once begun, so the DSM never sees half of one.
    for (QChar c : text) {
        port_->write(base::toCp1252(QString(c)));
        DoEventsDelay(CharacterPause, false);
    }
    DoEventsDelay(CharacterPause, false);
    port_->write(QByteArray(1, CarriageReturn));
}

QString DsmSession::GetSendFileName() {
    const QString path = dialogs_.openFileName(QStringLiteral("Open"), FileFilter);
    if (!app::ProgramCore::FileExists(path)) {
        dialogs_.message(FileNotFound, base::ProgramTitle, base::MessageIcon::Critical);
        return {};
    }
    return path;
}

QString DsmSession::GetReceiveFileName() {
    return dialogs_.saveFileName(QStringLiteral("Save As"), FileFilter, {});
}

void DsmSession::run(DsmTransfer transfer) {
    if (running_ || !connectPort())
        return;
    const DsmScript& script = dsmScript(transfer);
    if (!dialogs_.askYesNoWithoutIcon(script.question))
        return;
    const QString path = script.receive ? GetReceiveFileName() : GetSendFileName();
    if (path.isEmpty())
        return;
    QByteArray file;
    if (!script.receive) {
        QFile source(path);
        if (!source.open(QIODevice::ReadOnly)) {
            dialogs_.message(FileNotFound, base::ProgramTitle, base::MessageIcon::Critical);
            return;
        }
        file = source.readAll();
        // The DSM would keep a cut file as its match table, or take what follows one as commands.
        if (script.fileSize > 0 && file.size() != script.fileSize) {
            dialogs_.message(NotAMatchFile, base::ProgramTitle, base::MessageIcon::Critical);
            return;
        }
    }

    running_ = true;
    cancelled_ = false;
    receiving_ = script.receive;
    fileSize_ = file.size();
    emit transferringChanged(true);
    setStatus(QStringLiteral("Transfer starting"));
    runScript(script, file);

    auto outcome = transfer_ ? transfer_->outcome() : FileTransfer::Outcome::Cancelled;
    QString failure = transfer_ ? transfer_->failure() : QString();
    // The received file is written whole or not at all.
    if (outcome == FileTransfer::Outcome::Complete && script.receive) {
        QString error;
        if (!base::writeFileAtomically(path, transfer_->receivedFile(), &error)) {
            outcome = FileTransfer::Outcome::Failed;
            failure = QStringLiteral("The file could not be written: ") + error;
        }
    }
    transfer_.reset();
    running_ = false;
    setStatus({});
    emit transferringChanged(false);
    // A window that is closing, or the program, is not held up by a message: the dialogs show none.
    report(outcome, failure);
    quiet_.reset();
}

void DsmSession::runScript(const DsmScript& script, const QByteArray& file) {
    port_->write(CommandMode);
    for (long pause : script.pausesBeforeCommand)
        DoEventsDelay(pause);
    if (!ending()) {
        SendLine(script.command);
        DoEventsDelay(script.pauseAfterCommand);
    }
    if (!ending()) {
        transfer_ = script.receive ? makeReceiver(script.protocol, *port_, timings_)
                                   : makeSender(script.protocol, *port_, file, timings_);
        connect(transfer_.get(), &FileTransfer::progressed, this, &DsmSession::updateTransferStatus);
        // The wait below ends the moment the engine does.
        connect(transfer_.get(), &FileTransfer::finished, this, [this] { pump_.wake(); });
        transfer_->start();
        updateTransferStatus();
        for (long pause : script.pausesAfterStart)
            DoEventsDelay(pause);
        while (transfer_->active() && !ending())
            pump_.waitUntil([this] { return !transfer_->active() || ending(); }, TransferWaitSlice);
        transfer_->cancel();
        setStatus(QStringLiteral("Transfer ending"));
        for (long pause : script.pausesAfterTransfer)
            DoEventsDelay(pause);
    }
    // The DSM goes back to its work whatever became of the transfer.
    SendLine(RunCommand);
}

void DsmSession::report(FileTransfer::Outcome outcome, const QString& failure) {
    switch (outcome) {
    case FileTransfer::Outcome::Complete:
        dialogs_.message(TransferComplete, base::ProgramTitle, base::MessageIcon::Information);
        break;
    case FileTransfer::Outcome::Failed:
        dialogs_.message(TransferFailed + failure, base::ProgramTitle, base::MessageIcon::Critical);
        break;
    case FileTransfer::Outcome::Running:
    case FileTransfer::Outcome::Cancelled:
        dialogs_.message(TransferCancelled, base::ProgramTitle, base::MessageIcon::Information);
        break;
    }
}

void DsmSession::cancelTransfer(bool quietly) {
    if (!running_)
        return;
    cancelled_ = true;
    if (quietly && !quiet_)
        quiet_.emplace(dialogs_);
    if (transfer_)
        transfer_->cancel();
    pump_.wake();
}

void DsmSession::setStatus(const QString& status) {
    if (status == status_)
        return;
    status_ = status;
    emit statusChanged();
}

void DsmSession::updateTransferStatus() {
    if (!transfer_ || !transfer_->active())
        return;
    const qint64 done = transfer_->bytesDone();
    setStatus(receiving_ ? QStringLiteral("Received %1 bytes").arg(done)
                         : QStringLiteral("Sent %1 of %2 bytes").arg(done).arg(fileSize_));
}

} // namespace service
