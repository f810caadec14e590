#pragma once
// The Ethernet dongle on loopback: accepts one client, reads "%CAN" text frames, hands each CAN message
// to the controller model and sends back the replies whose identifier the client asked to accept.
// Each request is answered once, as the controller does. As a knob (ackThenReply) it plays a controller
// that passes each reply the way the program's reply handler takes it: twice (an acknowledgement, then the
// reply) where the handler stores on the second matching frame, once where it stores on the first.

#include "sim/controllermodel.h"
#include "sim/dongleframes.h"
#include "sim/recentlog.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <vector>

namespace sim {

class TcpDongle : public QObject {
    Q_OBJECT
public:
    explicit TcpDongle(ControllerModel& model, QObject* parent = nullptr);

    // Listens on 127.0.0.1; port 0 picks a free one. False when the port cannot be had.
    bool listen(quint16 port = 0);
    quint16 port() const { return server_.serverPort(); }
    bool hasClient() const { return client_ && client_->state() == QAbstractSocket::ConnectedState; }

    // Sends a frame the controller emits on its own (status broadcast, run data), passed only when it
    // matches the accept identifier of the last frame received.
    void emitSpontaneous(const CanMessage& message);
    // Fires once, right after the next received frame whose accept identifier is acceptId.
    void armOnAccept(CanId acceptId, std::function<void()> action);
    // The device drops the connection (as a dongle that is unplugged or restarts).
    void dropClient();
    // A device gone wild: copies of the message's frame, at least bytes of them, handed to the socket at
    // once, whatever the accept identifier; returns the bytes written.
    qint64 flood(const CanMessage& message, qint64 bytes);
    // Bytes handed to the socket and not yet sent.
    qint64 bytesToWrite() const { return client_ ? client_->bytesToWrite() : 0; }

    // A tool's button-sensor stream is sent on its own, one frame every this many milliseconds.
    static constexpr int ButtonStreamPeriodMs = 1;

    // --- answer modes and fault injection ---
    bool ackThenReply = false;       // an acknowledgement before each reply the handler takes second
    int replyDelay = 0;              // every answer is held this many milliseconds
    bool duplicateReplies = false;   // every frame sent two times (an acknowledged reply: four)
    bool splitBytes = false;         // replies written one byte at a time
    bool splitBeforeLineEnd = false; // CR LF written apart from its frame
    bool coalesce = false;           // all replies to one received chunk in one write
    QByteArray garbageBetween;       // written before every frame
    int dropReplyNumber = 0;         // the n-th frame (1-based) is not sent; 0 none
    int closeAfterReplies = 0;       // the connection is closed after n frames; 0 never
    // A gateway that repeats: with duplicateReplies, each copy written on its own, this many milliseconds
    // after the frame it repeats (-1: in the same write as the frame).
    int repeatGapMs = -1;
    // The frames of one answer (an acknowledgement and its reply, a Pset's packets) each written on its
    // own and held this many milliseconds more than the frame before (-1: one write for all).
    int frameGapMs = -1;
    // Every byte written on its own, one per turn of the event loop (a link that delivers a byte at a time).
    bool bytePerTurn = false;
    // Each status answer comes again, as it was, this many milliseconds later (0: never): a stale status.
    int staleStatusMs = 0;
    // A gateway that writes the frame it passed last again in front of each answer, in one write.
    bool previousInFront = false;
    // From now on a fault report every everyMs milliseconds, passed whatever the accept identifier.
    void startReports(int everyMs);

    // Received text without a frame tail is not kept beyond this.
    static constexpr qsizetype MaxPendingInput = DongleFrameReader::MaxPendingInput;

    // The most recent texts received that are not a normal frame (serial-number and plain text frames).
    RecentLog<QByteArray> otherFrames{RecentLogCapacity};
    // The most recent normal frames received, as sent (accept identifier, then the message).
    struct Received {
        CanId accept;
        CanMessage message;
    };
    RecentLog<Received> frames{RecentLogCapacity};
    int repliesSent() const { return repliesSent_; }
    // Received text kept while its frame is not complete.
    qsizetype pendingBytes() const { return reader_.pendingBytes(); }

    // "%CAN," + the identifier image and data in decimal + ",NAC%" CR LF.
    static QByteArray replyText(const CanMessage& message);
    // True when the program's reply handler takes the first matching frame of this reply as the
    // acknowledgement and stores only the next one.
    static bool acknowledgedFirst(const CanMessage& message);

private:
    void onReadyRead();
    void handleFrame(CanId accept, const CanMessage& message, QByteArray& out);
    void queueReply(const CanMessage& message, QByteArray& out);
    void write(const QByteArray& bytes);
    // Writes the frames in bytes after delayMs, apart when frameGapMs asks for it.
    void schedule(const QByteArray& bytes, int delayMs);
    void sendNow(const QByteArray& bytes);

    ControllerModel& model_;
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    DongleFrameReader reader_;
    CanId acceptId_ = 0;
    int repliesSent_ = 0;
    int repliesSeen_ = 0;
    CanId armedAccept_ = 0;
    std::function<void()> armedAction_;
    QTimer buttonStream_;
    QTimer reports_;
    // Bytes still to be written one at a time (bytePerTurn).
    QByteArray trickle_;
    QTimer trickleTimer_;
    // Copies to be written apart from their frames (repeatGapMs).
    QList<QByteArray> repeats_;
    // The frame passed last (previousInFront).
    QByteArray lastPassed_;
};

} // namespace sim
