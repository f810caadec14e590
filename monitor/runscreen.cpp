#include "monitor/runscreen.h"

#include "app/appservices.h"
#include "app/reporttime.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"
#include "link/linktexts.h"
#include "link/ppexchange.h"
#include "monitor/runscreenlog.h"

#include <QFile>
#include <QFileInfo>

namespace monitor {

namespace ids = clink::ids;

namespace {
// A result message: [10 n r r r r r r], n = 1..3.
constexpr int ResultCode = 0x10;
constexpr int Messages = 3;
constexpr int BytesPerMessage = 6;
constexpr int FirstRecordByte = 2;

const QString StartingDriversText = QStringLiteral("Status: Starting Drivers");
const QString DriversStartedText = QStringLiteral("Status: Drivers Started");
const QString UnableToWriteText = QStringLiteral("Status: Unable To Write ");
const QString UnableToReadText = QStringLiteral("Unable To Read File ");

// The status line of a log that could not be written: its name and the system's reason.
QString unableToWriteLog(const QString& error) {
    return UnableToWriteText + QFileInfo(RundownLogFile::path()).fileName() + QStringLiteral(": ") + error;
}
} // namespace

RunScreenSession::RunScreenSession(app::AppServices& services)
    : RunScreenSession(services.link, services.busy, [&services] { return services.now(); }) {}

RunScreenSession::RunScreenSession(clink::ControllerLink& link, const base::BusyState& busy,
                                   std::function<QDateTime()> now)
    : link_(link), busy_(busy), now_(std::move(now)) {
    labels_[TargetLabel] = QStringLiteral("Tq Target : 0");
    labels_[HighLabel] = QStringLiteral("Tq Hi : 0");
    labels_[LowLabel] = QStringLiteral("Tq Lo : 0");
    labels_[AngleLabel] = QStringLiteral("0");
    labels_[AngleHighLabel] = QStringLiteral("Angle Hi : 0");
    labels_[AngleLowLabel] = QStringLiteral("Angle Lo : 0");
    labels_[TorqueLabel] = QStringLiteral("0");
    labels_[StatusLabel] = QStringLiteral("Status : ");
    labels_[UnitsLabel] = QStringLiteral("Nm");
    labels_[PsetLabel] = QStringLiteral("Current Pset : ");
    labels_[PsetCountLabel] = QStringLiteral("Total Psets : ");
    labels_[BarCodeHeading] = QStringLiteral("Bar Code");
}

RunScreenSession::Start RunScreenSession::startLink() {
    stopPolling_ = false;
    return tryLink(false);
}

RunScreenSession::Start RunScreenSession::retryLink() {
    link_.pump.doEvents();
    if (stopPolling_)
        return Start::Idle;
    return tryLink(true);
}

RunScreenSession::Start RunScreenSession::tryLink(bool retry) {
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        if (!link_.dataTx.ConfigureCanDongle(ids::RunData)) {
            if (!retry)
                setStatus(StartingDriversText);
            return Start::Retry;
        }
        break;
    case clink::TcpIp:
        if (!link_.ethernet.SendFilterFrame(ids::RunData))
            return Start::Retry;
        break;
    case clink::Usb:
        if (!link_.usb.SendFilterFrame(ids::RunData)) {
            // While the dongle stays away, its boxes come once, not at every retry.
            if (usbFailureShown_) {
                link_.usb.OpenDevice();
                link_.usb.ConfigureDevice(true);
                return Start::Retry;
            }
            link_.usb.ReopenDevice();
            link_.dialogs.message(clink::UsbConnectFailedText, base::ProgramTitle,
                                  base::MessageIcon::Critical);
            usbFailureShown_ = true;
            return Start::Retry;
        }
        usbFailureShown_ = false;
        if (retry)
            link_.pump.doEvents();
        break;
    default:
        return Start::Idle;
    }
    startPolling();
    return Start::Polling;
}

void RunScreenSession::startPolling() {
    frameCount_ = 0;
    setStatus(DriversStartedText);
    // The reply handler takes the first result message it sees as an acknowledgement unless one was
    // recorded: the first result after opening is not to lose its first message.
    if (link_.state.ConnectionType == clink::TcpIp)
        link_.state.AckReceived = true;
}

void RunScreenSession::poll() {
    if (stopPolling_ || busy_.busy())
        return;
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        pollPp();
        break;
    case clink::TcpIp:
        pollEthernet();
        break;
    case clink::Usb:
        pollUsb();
        break;
    default:
        break;
    }
}

bool RunScreenSession::takeMessage(int sequence, const std::array<int, 6>& bytes) {
    if (sequence == 1)
        frameCount_ = 0;
    else if (sequence != frameCount_ + 1) {
        discard();
        return false;
    }
    for (int i = 0; i < BytesPerMessage; ++i)
        record_[size_t(BytesPerMessage * frameCount_ + i)] = bytes[size_t(i)];
    if (++frameCount_ == Messages)
        showRecord();
    return true;
}

void RunScreenSession::pollPp() {
    clink::ControllerLink& link = link_;
    link.spi.ResetLineHigh();
    clink::Transaction tx(link);
    int sequence = 0;
    std::array<int, BytesPerMessage> bytes{};
    const auto look = clink::PpExchange(link).look([&](clink::PpRxMessage& m) {
        if (m.byte(0) != ResultCode) {
            discard();
            return false;
        }
        sequence = m.byte(1);
        for (int i = 0; i < BytesPerMessage; ++i)
            bytes[size_t(i)] = m.byte(FirstRecordByte + i);
        return true;
    });
    if (look == clink::PpExchange::Look::Taken)
        takeMessage(sequence, bytes);
}

void RunScreenSession::pollEthernet() {
    clink::LinkState& s = link_.state;
    link_.pump.doEvents();
    if (stopPolling_ || s.RequestData[1] != ResultCode)
        return;
    // The reply handler has gathered a whole result in RunDataWords(1..18).
    for (int i = 0; i < RunRecordSize; ++i)
        record_[size_t(i)] = s.RunDataWords[size_t(i + 1)];
    s.RequestData[1] = 0;
    showRecord();
}

void RunScreenSession::pollUsb() {
    clink::ControllerLink& link = link_;
    clink::LinkState& s = link_.state;
    clink::Transaction tx(link);
    s.ReplyReady = false;
    for (int attempt = 0; attempt < clink::USB::UsualTries && !s.ReplyReady; ++attempt) {
        link_.pump.doEvents();
        if (stopPolling_ || tx.over())
            return;
        if (!link.usb.SendFilterFrame(ids::RunData))
            continue;
        const clink::UsbRxArray rx = s.UsbRxBytes;
        if (rx[0] != ResultCode) {
            link_.pump.doEvents();
            continue;
        }
        link_.pump.doEvents();
        if (stopPolling_)
            return;
        std::array<int, BytesPerMessage> bytes{};
        for (int i = 0; i < BytesPerMessage; ++i)
            bytes[size_t(i)] = rx[size_t(FirstRecordByte + i)];
        const bool fitted = takeMessage(rx[1], bytes);
        link_.pump.doEvents();
        if (!fitted)
            return;
    }
}

void RunScreenSession::showRecord() {
    const RunResult r = decodeRunRecord(record_);
    frameCount_ = 0;
    labels_[TargetLabel] = QStringLiteral("Tq Target: ") + r.target;
    labels_[HighLabel] = QStringLiteral("Tq Hi: ") + r.torqueHigh;
    labels_[LowLabel] = QStringLiteral("Tq Lo: ") + r.torqueLow;
    labels_[AngleLabel] = r.finalAngle;
    labels_[AngleHighLabel] = QStringLiteral("Angle Hi: ") + r.angleHigh;
    labels_[AngleLowLabel] = QStringLiteral("Angle Lo: ") + r.angleLow;
    labels_[TorqueLabel] = r.finalTorque;
    if (const std::optional<ResultStatus> status = resultStatus(r.resultCode)) {
        setStatus(status->status);
        torqueColour_ = status->torqueColour;
        angleColour_ = status->angleColour;
    }
    if (const std::optional<QString> units = unitsText(r.unitsCode))
        labels_[UnitsLabel] = *units;
    labels_[PsetLabel] = QStringLiteral("Current Pset: ") + QString::number(r.currentPset);
    labels_[PsetCountLabel] = QStringLiteral("Total Psets : ") + QString::number(r.psetCount);
    logRecord(r, resultLogText(r.resultCode));
}

void RunScreenSession::logRecord(const RunResult& r, const QString& resultText) {
    const QDateTime now = now_();
    const QStringList fields = {app::reportTimeText(now),
                                app::reportDateText(now),
                                r.finalTorque,
                                r.target,
                                r.torqueHigh,
                                r.torqueLow,
                                r.finalAngle,
                                r.angleHigh,
                                r.angleLow,
                                resultText,
                                labels_[UnitsLabel],
                                labels_[BarCodeLabel],
                                QString::number(r.currentPset)};
    QString error;
    if (RundownLogFile::append(fields, &error)) {
        logFailureShown_ = false;
        return;
    }
    // Once in the status line, not at every rundown.
    if (!logFailureShown_)
        setStatus(unableToWriteLog(error));
    logFailureShown_ = true;
}

std::optional<RundownLogRows> RunScreenSession::viewRundowns() {
    const QString path = RundownLogFile::path();
    if (!QFile::exists(path)) {
        link_.dialogs.message(NoLogText, base::ProgramTitle, base::MessageIcon::Critical);
        return std::nullopt;
    }
    QString error;
    std::optional<RundownLogRows> rows = RundownLogFile::read(&error);
    if (!rows)
        link_.dialogs.message(UnableToReadText + path + QStringLiteral("\r\n") + error, base::ProgramTitle,
                              base::MessageIcon::Critical);
    return rows;
}

void RunScreenSession::clearRundowns() {
    if (QString error; !RundownLogFile::clear(&error))
        setStatus(unableToWriteLog(error));
}

} // namespace monitor
