// palverin-sim: the controller stand-in as a process, answering the Ethernet dongle's text frames on
// 127.0.0.1.
#include "sim/controllermodel.h"
#include "sim/simhome.h"
#include "sim/tcpdongle.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int DefaultPort = 1100;
constexpr int StatusBroadcastMs = 1000;
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("palverin-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Controller stand-in for Palverin (Ethernet dongle on loopback)"));
    parser.addHelpOption();
    QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("TCP port to listen on."),
                                  QStringLiteral("N"), QString::number(DefaultPort));
    QCommandLineOption homeOption(
        QStringLiteral("home"),
        QStringLiteral("Prepare this program folder for the Ethernet link to the stand-in."),
        QStringLiteral("DIR"));
    QCommandLineOption answerOnceOption(
        QStringLiteral("answer-once"),
        QStringLiteral("Answer each request once, as a controller that sends no "
                       "acknowledgement before its reply."));
    QCommandLineOption replyDelayOption(QStringLiteral("reply-delay"),
                                        QStringLiteral("Hold every answer this many milliseconds."),
                                        QStringLiteral("MS"), QStringLiteral("0"));
    parser.addOption(portOption);
    parser.addOption(homeOption);
    parser.addOption(answerOnceOption);
    parser.addOption(replyDelayOption);
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port == 0 || port > 65535) {
        std::fprintf(stderr, "palverin-sim: invalid port '%s'\n", qPrintable(parser.value(portOption)));
        return 2;
    }

    if (parser.isSet(homeOption)) {
        QString error;
        QStringList warnings;
        const bool prepared =
            sim::prepareProgramFolder(parser.value(homeOption), quint16(port), &error, &warnings);
        for (const QString& warning : warnings)
            std::fprintf(stderr, "palverin-sim: %s: %s\n", qPrintable(parser.value(homeOption)),
                         qPrintable(warning));
        if (!prepared) {
            std::fprintf(stderr, "palverin-sim: cannot prepare %s: %s\n",
                         qPrintable(parser.value(homeOption)), qPrintable(error));
            return 1;
        }
    }

    const int replyDelay = parser.value(replyDelayOption).toInt(&ok);
    if (!ok || replyDelay < 0) {
        std::fprintf(stderr, "palverin-sim: invalid reply delay '%s'\n",
                     qPrintable(parser.value(replyDelayOption)));
        return 2;
    }

    sim::ControllerModel model;
    sim::TcpDongle dongle(model);
    dongle.answerOnce = parser.isSet(answerOnceOption);
    dongle.replyDelay = replyDelay;
    if (!dongle.listen(quint16(port))) {
        std::fprintf(stderr, "palverin-sim: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    std::printf("palverin-sim: listening on 127.0.0.1:%u\n", unsigned(dongle.port()));
    std::fflush(stdout);

    QTimer broadcast;
    QObject::connect(&broadcast, &QTimer::timeout, &dongle,
                     [&] { dongle.emitSpontaneous(model.statusBroadcast()); });
    broadcast.start(StatusBroadcastMs);

    return app.exec();
}
