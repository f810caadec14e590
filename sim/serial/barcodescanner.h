#pragma once
// A barcode reader on a serial line: a scan is the code followed by CR, sent in one piece or, as a reader
// on a busy port does, in pieces with gaps between them.
//
//   sim::BarcodeScanner scanner;
//   scanner.toProgram = [&](const QByteArray& bytes) { pty.write(bytes); };
//   scanner.scan("ABC", 2, 20ms);     // "AB", then 20 ms later "C\r"

#include <QByteArray>
#include <QObject>

#include <chrono>
#include <functional>

namespace sim {

class BarcodeScanner : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    std::function<void(const QByteArray&)> toProgram;

    // Sends code + CR in pieces of pieceSize bytes (all at once when 0), gap apart; the pieces after the
    // first go out from the event loop.
    void scan(const QByteArray& code, int pieceSize = 0, std::chrono::milliseconds gap = {});
    // Pieces not sent yet.
    bool busy() const { return !rest_.isEmpty(); }

private:
    void sendPiece();

    QByteArray rest_;
    int pieceSize_ = 0;
    std::chrono::milliseconds gap_{};
};

} // namespace sim
