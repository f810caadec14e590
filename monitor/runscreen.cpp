#include "monitor/runscreen.h"

#include "app/appservices.h"
#include "app/reporttime.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"
#include "link/runresults.h"
#include "monitor/runscreenlog.h"

#include <QFile>
#include <QFileInfo>

namespace monitor {

using clink::RunResultListener;

namespace {
// A result comes in three messages of six record bytes.
constexpr int Messages = 3;
constexpr int BytesPerMessage = RunResultListener::BytesPerMessage;
static_assert(RunRecordSize == RunResultListener::ResultBytes);

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
    : link_(link), busy_(busy), now_(std::move(now)), listener_(std::make_unique<RunResultListener>(link)) {
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

RunScreenSession::~RunScreenSession() = default;

RunScreenSession::Start RunScreenSession::tryLink(bool retry) {
    switch (listener_->start(retry)) {
    case RunResultListener::Start::Listening:
        frameCount_ = 0;
        setStatus(DriversStartedText);
        return Start::Polling;
    case RunResultListener::Start::DongleNotReady:
        if (!retry)
            setStatus(StartingDriversText);
        return Start::Retry;
    case RunResultListener::Start::NotReady:
        return Start::Retry;
    case RunResultListener::Start::NoLink:
        break;
    }
    return Start::Idle;
}

void RunScreenSession::poll() {
    if (stopPolling_ || busy_.busy())
        return;
    listener_->poll({.stopped = [this] { return stopPolling_; },
                     .message =
                         [this](int sequence, const std::array<int, BytesPerMessage>& bytes) {
                             return takeMessage(sequence, bytes);
                         },
                     .otherMessage = [this] { discard(); },
                     .result =
                         [this](const RunRecordBytes& bytes) {
                             record_ = bytes;
                             showRecord();
                         }});
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
