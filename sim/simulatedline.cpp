#include "sim/simulatedline.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
// A stray line, a frame head cut short, and a frame with a field above a byte and too few fields.
const QByteArray LineNoise = QByteArrayLiteral("noise\r\n%CAN,151,120\r\n%CAN,999,1,NAC%\r\n#");
constexpr int NoisyWriteEvery = 3;
} // namespace

const char* framingName(Framing f) {
    switch (f) {
    case Framing::AnswersOnce:
        return "once";
    case Framing::AckReplyOneWrite:
        return "ackReply";
    case Framing::AckReplyApart:
        return "ackApart";
    }
    return "?";
}

const char* deliveryName(Delivery d) {
    switch (d) {
    case Delivery::Whole:
        return "whole";
    case Delivery::Cut:
        return "cut";
    case Delivery::BytePerWrite:
        return "bytes";
    }
    return "?";
}

SimulatedLine::SimulatedLine(ControllerModel& model, VirtualTime& time, uint64_t seed)
    : model_(model), time_(time), random_(seed) {}

void SimulatedLine::connectTo(const QString&, quint16) {
    close();
    state_ = Connecting;
    emit stateChanged(state_);
    const int connection = connection_;
    time_.after(WireNs, [this, connection] {
        if (connection == connection_ && state_ == Connecting)
            connectNow();
    });
}

void SimulatedLine::connectNow() {
    ++connection_;
    reader_.clear();
    sentReader_.clear();
    pending_.clear();
    lastAnswerNs_.clear();
    accept_ = 0;
    state_ = Connected;
    emit stateChanged(state_);
    if (settings.ownFramesPerSecond > 0)
        scheduleOwnFrame();
}

void SimulatedLine::replaceController(const LineSettings& s) {
    // The dongle, the gateway and the network stay as they were: only the controller behind them answers
    // as the new one does.
    const LineSettings line = settings;
    settings = s;
    settings.delivery = line.delivery;
    settings.copyChance = line.copyChance;
    settings.copyMinMs = line.copyMinMs;
    settings.copyMaxMs = line.copyMaxMs;
    settings.passesAll = line.passesAll;
    settings.noise = line.noise;
    ++controller_;
    lastAnswerNs_.clear();
}

void SimulatedLine::close() {
    const bool wasConnected = state_ == Connected;
    ++connection_;
    pending_.clear();
    state_ = Closed;
    if (wasConnected) {
        emit stateChanged(state_);
        emit dropped();
    }
}

bool SimulatedLine::send(const QByteArray& bytes) {
    if (state_ != Connected)
        return false;
    sentReader_.feed(
        bytes, [this](clink::CanId, const clink::CanMessage& m) { sent_.push_back(m); },
        [](const QByteArray&) {});
    const int connection = connection_;
    time_.after(WireNs, [this, connection, bytes] {
        if (connection == connection_)
            fromProgram(bytes);
    });
    return true;
}

QByteArray SimulatedLine::takePending() {
    QByteArray bytes;
    const int64_t now = time_.nowNs();
    while (!pending_.empty() && pending_.front().atNs <= now) {
        bytes += pending_.front().bytes;
        pending_.pop_front();
    }
    return bytes;
}

int SimulatedLine::requests(clink::CanId id, int code) const {
    return int(std::count_if(sent_.begin(), sent_.end(), [&](const clink::CanMessage& m) {
        return m.id == id && (code < 0 || m.data[0] == code);
    }));
}

void SimulatedLine::clearRecord() {
    record.clear();
    sent_.clear();
}

void SimulatedLine::fromProgram(const QByteArray& bytes) {
    reader_.feed(
        bytes, [this](clink::CanId accept, const clink::CanMessage& m) { onRequest(accept, m); },
        [this](const QByteArray&) {
            record.push_back({time_.nowNs(), Event::Other, 0, {}});
        });
}

int64_t SimulatedLine::holdNs() {
    std::uniform_real_distribution<double> jitter(0, std::max(settings.jitterMs, 0));
    return msNs(settings.holdMs + jitter(random_));
}

void SimulatedLine::onRequest(clink::CanId accept, const clink::CanMessage& message) {
    accept_ = accept;
    record.push_back({time_.nowNs(), Event::Request, accept, message});
    const std::vector<clink::CanMessage> replies = model_.respond(message, Transport::Ethernet);
    if (replies.empty())
        return;
    // Each unit on the bus answers in the order it was asked: the answers on one identifier keep their
    // requests' order.
    const int64_t asked = time_.nowNs();
    const int64_t held = asked + holdNs();
    for (const clink::CanMessage& reply : replies) {
        int64_t& last = lastAnswerNs_[reply.id];
        const int64_t at = std::max(last, held);
        last = at;
        if (settings.framing == Framing::AnswersOnce || !acknowledgedFirst(reply)) {
            fromController({reply}, at, Event::Answer, asked);
        } else if (settings.framing == Framing::AckReplyOneWrite) {
            fromController({reply, reply}, at, Event::Answer, asked);
        } else {
            fromController({reply}, at, Event::Answer, asked);
            last = at + msNs(settings.ackGapMs);
            fromController({reply}, last, Event::Answer, asked);
        }
    }
}

void SimulatedLine::fromController(std::vector<clink::CanMessage> frames, int64_t atNs, Event::Kind kind,
                                   int64_t askedAtNs) {
    const int connection = connection_;
    const int controller = controller_;
    time_.at(atNs, [this, connection, controller, frames = std::move(frames), kind, askedAtNs] {
        if (connection != connection_ || (kind == Event::Answer && controller != controller_))
            return;
        QByteArray text;
        const size_t passedFrom = record.size();
        for (const clink::CanMessage& m : frames) {
            // The dongle passes only the identifier it was last asked for.
            if (!settings.passesAll && m.id != accept_) {
                record.push_back({time_.nowNs(), Event::Filtered, accept_, m});
                continue;
            }
            record.push_back({time_.nowNs(), kind, accept_, m, 0, askedAtNs});
            const QByteArray frame = DongleFrameReader::replyText(m);
            text += frame;
            std::uniform_real_distribution<double> chance(0, 1);
            if (settings.copyChance > 0 && chance(random_) < settings.copyChance) {
                std::uniform_real_distribution<double> late(settings.copyMinMs, settings.copyMaxMs);
                time_.after(msNs(late(random_)), [this, connection, m, frame] {
                    if (connection != connection_)
                        return;
                    record.push_back({time_.nowNs(), Event::Copy, accept_, m});
                    record.back().wholeAtNs = toProgram(frame, time_.nowNs());
                });
            }
        }
        if (text.isEmpty())
            return;
        if (settings.noise && ++writes_ % NoisyWriteEvery == 0)
            text.prepend(LineNoise);
        const int64_t whole = toProgram(text, time_.nowNs());
        for (size_t i = passedFrom; i < record.size(); ++i)
            if (record[i].kind != Event::Filtered)
                record[i].wholeAtNs = whole;
    });
}

int64_t SimulatedLine::toProgram(const QByteArray& text, int64_t atNs) {
    // The stream keeps the order of the writes: a write's first piece comes after the last one's last.
    int64_t at = std::max(atNs, lastPieceNs_);
    auto piece = [&](const QByteArray& bytes) {
        pending_.push_back({at, bytes});
        lastPieceNs_ = at;
        const int connection = connection_;
        time_.at(at, [this, connection] {
            if (connection == connection_)
                deliverDue();
        });
    };
    switch (settings.delivery) {
    case Delivery::Whole:
        piece(text);
        break;
    case Delivery::Cut: {
        std::uniform_int_distribution<qsizetype> cutAt(1, std::max<qsizetype>(text.size() - 1, 1));
        std::uniform_int_distribution<int64_t> gap(0, PieceGapNs);
        const qsizetype cut = text.size() > 1 ? cutAt(random_) : text.size();
        piece(text.left(cut));
        if (cut < text.size()) {
            at += gap(random_);
            piece(text.mid(cut));
        }
        break;
    }
    case Delivery::BytePerWrite:
        for (qsizetype i = 0; i < text.size(); ++i) {
            piece(text.mid(i, 1));
            at += ByteGapNs;
        }
        break;
    }
    return lastPieceNs_;
}

void SimulatedLine::deliverDue() {
    if (const int64_t busy = programBusyUntil ? programBusyUntil() : -1; busy >= 0) {
        const int connection = connection_;
        time_.at(busy, [this, connection] {
            if (connection == connection_)
                deliverDue();
        });
        return;
    }
    QByteArray bytes;
    const int64_t now = time_.nowNs();
    // What has arrived is read as one chunk, as a socket hands over what it holds.
    while (!pending_.empty() && pending_.front().atNs <= now) {
        bytes += pending_.front().bytes;
        pending_.pop_front();
    }
    if (!bytes.isEmpty())
        emit dataArrived(bytes);
}

void SimulatedLine::scheduleOwnFrame() {
    std::exponential_distribution<double> wait(settings.ownFramesPerSecond / 1000.0);
    const int connection = connection_;
    time_.after(msNs(wait(random_)), [this, connection] {
        if (connection != connection_ || settings.ownFramesPerSecond <= 0)
            return;
        std::uniform_int_distribution<int> kind(0, 2);
        std::vector<clink::CanMessage> frames;
        switch (kind(random_)) {
        case 0:
            frames = {model_.statusBroadcast()};
            break;
        case 1:
            frames = {model_.nextFault()};
            break;
        default: {
            // A rundown report: the run screen's record and the monitors' report; the result a read asks
            // for stays the last one asked for.
            const ControllerModel::RundownRecord kept = model_.rundown;
            frames = model_.nextRundown();
            model_.rundown = kept;
            break;
        }
        }
        fromController(frames, time_.nowNs(), Event::Own);
        scheduleOwnFrame();
    });
}

} // namespace sim
