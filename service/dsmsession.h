#pragma once
// The DSM terminal's session: the serial line to the system's DSM unit, the screen of what the DSM sends,
// the keys typed to it, and the three scripted transfers (rundown data from the DSM, a match file or a new
// program to it). A transfer asks, chooses a file, brings the DSM to its command prompt ("q "), types the
// DSM's command a character at a time with pauses, runs the file-transfer engine and returns the DSM to
// its work ("dsm"). While it runs, keys are not sent and the window's commands are off; it can be
// cancelled, and its end is reported.
//
//   DsmSession session(ctx.stoppableDialogs(), ctx.pump, std::make_unique<base::QtSerialPort>(), devices);
//   session.Form_Load();                         // opens the DSM's port at 38400,n,8,1
//   session.run(DsmTransfer::MatchFile);         // asks, chooses the file, sends it

#include "base/dialogs.h"
#include "base/eventpump.h"
#include "base/serialport.h"
#include "service/filetransfer.h"
#include "service/serialdevices.h"
#include "service/terminalscreen.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

namespace service {

enum class DsmTransfer { ReceiveRundownData, MatchFile, NewProgram };

// One scripted transfer. Pauses are counts of event-loop yields (DoEvents).
struct DsmScript {
    QString question;
    // Receives into a file chosen in the save dialog; otherwise sends one chosen in the open dialog.
    bool receive = false;
    std::vector<long> pausesBeforeCommand;
    QString command;
    long pauseAfterCommand = 0;
    TransferProtocol protocol = TransferProtocol::Xmodem;
    // The size the DSM reads a file of (the plain protocol has no end of file); 0: any size.
    qint64 fileSize = 0;
    std::vector<long> pausesAfterStart;
    std::vector<long> pausesAfterTransfer;
};

const DsmScript& dsmScript(DsmTransfer transfer);

// The DSM's port: the device and its line settings.
struct PortProperties {
    QString device;
    base::SerialSettings settings;
};

class DsmSession : public QObject {
    Q_OBJECT
public:
    // The DSM's line.
    static inline const QString LineSettings = QStringLiteral("38400,n,8,1");
    // The pause after each character a command is typed with, and once more before its CR.
    static constexpr long CharacterPause = 10000;
    // Puts the DSM at its command prompt: written in one piece, without CR.
    static inline const QByteArray CommandMode = QByteArrayLiteral("q ");
    // Returns the DSM to its work after a transfer.
    static inline const QString RunCommand = QStringLiteral("dsm");
    // The wait for a running engine looks again after at most this many yields; the engine's own
    // time-outs bound the whole wait.
    static constexpr long TransferWaitSlice = 100000;

    DsmSession(base::StoppableDialogs& dialogs, base::EventPump& pump, std::unique_ptr<base::SerialPort> port,
               SerialDevices& devices, const TransferTimings& timings = {});
    ~DsmSession() override;

    // Opens the DSM's port; "Can't open the communications port!" when it cannot be opened.
    void Form_Load();
    // Connect: opens the port when it is closed; false (after the same box) when it cannot be opened.
    bool connectPort();
    void disconnectPort();
    bool portOpen() const { return port_->isOpen(); }

    PortProperties properties() const { return {devices_.dsmPort(), settings_}; }
    // Takes new port properties (the device is kept for the next time) and reopens the port.
    bool applyProperties(const PortProperties& properties);

    // A key typed in the terminal: sent to the DSM unless a transfer runs.
    void typed(const QByteArray& bytes);

    // Runs one scripted transfer to its end. Returns at once when one is already running.
    void run(DsmTransfer transfer);
    bool transferring() const { return running_; }
    // Ends the running transfer: the engine aborts, the DSM is returned to its work; reported unless quiet
    // (the window is closing: nothing is shown until the transfer has returned).
    void cancelTransfer(bool quietly = false);

    const TerminalScreen& screen() const { return screen_; }
    // What the running transfer is doing, for the window's status line.
    QString status() const { return status_; }

signals:
    void screenChanged();
    void transferringChanged(bool running);
    void statusChanged();

private:
    // A pause of count yields; nothing when below 1. Script pauses end early when the transfer is cancelled.
    void DoEventsDelay(long count, bool interruptible = true);
    // Types a command: each character followed by a pause, one more pause, then CR.
    void SendLine(const QString& text);
    // The file to send: the open dialog; empty (after "Can Not Find File") when it cannot be read.
    QString GetSendFileName();
    // The file to receive into: the save dialog; empty when cancelled.
    QString GetReceiveFileName();

    // The script's steps from "q " to "dsm"; the engine is left in transfer_ (none when cancelled first).
    void runScript(const DsmScript& script, const QByteArray& file);
    void report(FileTransfer::Outcome outcome, const QString& failure);
    void onPortData();
    void setStatus(const QString& status);
    void updateTransferStatus();
    // Cancelled, or the program is closing.
    bool ending() const { return cancelled_ || pump_.stopped(); }

    base::StoppableDialogs& dialogs_;
    base::EventPump& pump_;
    std::unique_ptr<base::SerialPort> port_;
    SerialDevices& devices_;
    const TransferTimings timings_;
    base::SerialSettings settings_;
    TerminalScreen screen_;
    std::unique_ptr<FileTransfer> transfer_;
    qint64 fileSize_ = 0;
    bool receiving_ = false;
    bool running_ = false;
    bool cancelled_ = false;
    std::optional<base::StoppableDialogs::Quiet> quiet_;
    QString status_;
};

} // namespace service
