#include "sim/serial/barcodescanner.h"

#include <QTimer>

namespace sim {

void BarcodeScanner::scan(const QByteArray& code, int pieceSize, std::chrono::milliseconds gap) {
    rest_ += code + '\r';
    pieceSize_ = pieceSize > 0 ? pieceSize : int(rest_.size());
    gap_ = gap;
    sendPiece();
}

void BarcodeScanner::sendPiece() {
    const QByteArray piece = rest_.left(pieceSize_);
    rest_.remove(0, piece.size());
    if (toProgram)
        toProgram(piece);
    if (!rest_.isEmpty())
        QTimer::singleShot(gap_, this, &BarcodeScanner::sendPiece);
}

} // namespace sim
