// palverin-sim: the controller stand-in as a process, answering the Ethernet dongle's text frames on
// 127.0.0.1.
#include "sim/controllermodel.h"
#include "sim/simhome.h"
#include "sim/tcpdongle.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <optional>

namespace {
constexpr int DefaultPort = 1100;
constexpr int MaxPort = 65535;
constexpr int StatusBroadcastMs = 1000;
constexpr int DefaultControllerType = 4;
constexpr double MsPerSecond = 1000.0;
// The longest period of the reports the stand-in sends on its own: a day.
constexpr double MaxPeriodSeconds = 86400.0;
// What each button sensor reads while the technician holds the button (released it reads the model's
// default): a button calibration then finds a midpoint between the two.
constexpr int HeldButtonReading = 200;

// A period given in seconds (a decimal number, 0 = never) in milliseconds; nothing when it is not one.
std::optional<int> periodMs(const QString& text) {
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !(seconds >= 0.0) || seconds > MaxPeriodSeconds)
        return std::nullopt;
    const int ms = int(seconds * MsPerSecond + 0.5);
    // A period shorter than a millisecond would flood the link; 0 itself means never.
    return seconds > 0.0 && ms == 0 ? 1 : ms;
}

int invalid(const char* what, const QString& value) {
    std::fprintf(stderr, "palverin-sim: invalid %s '%s'\n", what, qPrintable(value));
    return 2;
}

// Runs send every periodMs milliseconds (never for 0).
void every(QTimer& timer, int periodMs, std::function<void()> send) {
    if (periodMs <= 0)
        return;
    QObject::connect(&timer, &QTimer::timeout, std::move(send));
    timer.start(periodMs);
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("palverin-sim"));

    QCommandLineParser parser;
    const sim::ControllerModel::ButtonSensorWords released;
    parser.setApplicationDescription(
        QStringLiteral("Controller stand-in for Palverin (Ethernet dongle on loopback).\n\n"
                       "The tool's button sensors read %1 released and %2 held. In a button calibration "
                       "the buttons are held for the second reading of each button (the pressed one), "
                       "so the calibration finds the midpoint %3.")
            .arg(released.trigger)
            .arg(HeldButtonReading)
            .arg((released.trigger + HeldButtonReading) / 2));
    parser.addHelpOption();
    QCommandLineOption portOption(QStringLiteral("port"),
                                  QStringLiteral("TCP port to listen on (0 picks a free one)."),
                                  QStringLiteral("N"), QString::number(DefaultPort));
    QCommandLineOption homeOption(
        QStringLiteral("home"),
        QStringLiteral("Prepare this program folder for the Ethernet link to the stand-in."),
        QStringLiteral("DIR"));
    QCommandLineOption answerOnceOption(
        QStringLiteral("answer-once"),
        QStringLiteral("Answer each request once (the default), as a controller that sends no "
                       "acknowledgement before its reply."));
    QCommandLineOption ackThenReplyOption(
        QStringLiteral("ack-then-reply"),
        QStringLiteral("Send an acknowledgement before each reply that the program takes as the second "
                       "answer to its request."));
    QCommandLineOption ackGapOption(
        QStringLiteral("ack-gap"),
        QStringLiteral(
            "Send an acknowledgement before each reply, as --ack-then-reply does, and the reply as "
            "its own write this many milliseconds after the acknowledgement."),
        QStringLiteral("MS"));
    QCommandLineOption replyDelayOption(QStringLiteral("reply-delay"),
                                        QStringLiteral("Hold every answer this many milliseconds."),
                                        QStringLiteral("MS"), QStringLiteral("0"));
    QCommandLineOption typeOption(
        QStringLiteral("controller-type"),
        QStringLiteral("Play a controller of type T: 3 (ladder program), 4 (logic I/O version 2) or 5 "
                       "(batch logic I/O version 3)."),
        QStringLiteral("T"), QString::number(DefaultControllerType));
    QCommandLineOption rundownOption(
        QStringLiteral("rundown-every"),
        QStringLiteral("Report a rundown every S seconds, to the run screen and the rundown monitor "
                       "(0 never)."),
        QStringLiteral("S"), QStringLiteral("0"));
    QCommandLineOption faultOption(
        QStringLiteral("fault-every"),
        QStringLiteral("Report a fault every S seconds, to the fault monitor (0 never)."),
        QStringLiteral("S"), QStringLiteral("0"));
    parser.addOption(portOption);
    parser.addOption(homeOption);
    parser.addOption(answerOnceOption);
    parser.addOption(ackThenReplyOption);
    parser.addOption(ackGapOption);
    parser.addOption(replyDelayOption);
    parser.addOption(typeOption);
    parser.addOption(rundownOption);
    parser.addOption(faultOption);
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > MaxPort)
        return invalid("port", parser.value(portOption));
    const int replyDelay = parser.value(replyDelayOption).toInt(&ok);
    if (!ok || replyDelay < 0)
        return invalid("reply delay", parser.value(replyDelayOption));
    int ackGap = -1;
    if (parser.isSet(ackGapOption)) {
        ackGap = parser.value(ackGapOption).toInt(&ok);
        if (!ok || ackGap < 0)
            return invalid("acknowledgement gap", parser.value(ackGapOption));
    }
    sim::ControllerModel model;
    model.heldButtonSensors = sim::ControllerModel::ButtonSensorWords{.cw = HeldButtonReading,
                                                                      .trigger = HeldButtonReading,
                                                                      .ccw = HeldButtonReading,
                                                                      .center = HeldButtonReading};
    const int type = parser.value(typeOption).toInt(&ok);
    if (!ok || !model.playControllerType(type))
        return invalid("controller type (3, 4 or 5)", parser.value(typeOption));
    const std::optional<int> rundownMs = periodMs(parser.value(rundownOption));
    if (!rundownMs)
        return invalid("rundown period (seconds)", parser.value(rundownOption));
    const std::optional<int> faultMs = periodMs(parser.value(faultOption));
    if (!faultMs)
        return invalid("fault period (seconds)", parser.value(faultOption));

    sim::TcpDongle dongle(model);
    const bool acknowledges = parser.isSet(ackThenReplyOption) || ackGap >= 0;
    if (parser.isSet(answerOnceOption) && acknowledges) {
        std::fprintf(stderr, "palverin-sim: --answer-once excludes --ack-then-reply and --ack-gap\n");
        return 2;
    }
    dongle.ackThenReply = acknowledges;
    dongle.frameGapMs = ackGap;
    dongle.replyDelay = replyDelay;
    if (!dongle.listen(quint16(port))) {
        std::fprintf(stderr, "palverin-sim: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }

    if (parser.isSet(homeOption)) {
        QString error;
        QStringList warnings;
        const bool prepared =
            sim::prepareProgramFolder(parser.value(homeOption), dongle.port(), &error, &warnings);
        for (const QString& warning : warnings)
            std::fprintf(stderr, "palverin-sim: %s: %s\n", qPrintable(parser.value(homeOption)),
                         qPrintable(warning));
        if (!prepared) {
            std::fprintf(stderr, "palverin-sim: cannot prepare %s: %s\n",
                         qPrintable(parser.value(homeOption)), qPrintable(error));
            return 1;
        }
    }

    std::printf("palverin-sim: listening on 127.0.0.1:%u as a type %d controller (version %d.%02d)\n",
                unsigned(dongle.port()), model.verMajor, model.verMajor, model.verMinor);
    std::fflush(stdout);

    QTimer broadcast;
    every(broadcast, StatusBroadcastMs, [&] { dongle.emitSpontaneous(model.statusBroadcast()); });
    QTimer rundowns;
    every(rundowns, *rundownMs, [&] {
        for (const clink::CanMessage& frame : model.nextRundown())
            dongle.emitSpontaneous(frame);
    });
    QTimer faults;
    every(faults, *faultMs, [&] { dongle.emitSpontaneous(model.nextFault()); });

    return app.exec();
}
