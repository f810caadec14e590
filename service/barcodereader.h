#pragma once
// The barcode reader of the match file editor: a serial port whose bytes are gathered into one scan until
// the line has been quiet for a short gap (the reader sends a barcode in pieces on a busy port). A finished
// scan is kept as received, its CR included, and padded with "*" to a pattern's 50 characters.

#include "base/serialport.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>

namespace service {

// A scan as a row takes it: shorter than 50 characters padded with "*", longer ones unchanged.
QString scanPattern(const QString& scan);

class BarcodeReader : public QObject {
    Q_OBJECT
public:
    static inline const QString LineSettings = QStringLiteral("9600,n,8,1");
    // About a dozen characters at 9600 baud: pieces of one barcode arrive closer than this.
    static constexpr std::chrono::milliseconds QuietGap{100};

    explicit BarcodeReader(std::unique_ptr<base::SerialPort> port, std::chrono::milliseconds gap = QuietGap);
    ~BarcodeReader() override;

    // Opens the reader's port; false with errorText() when it cannot.
    bool open(const QString& device);
    QString errorText() const { return port_->errorText(); }
    void close();

signals:
    // A finished scan, already padded.
    void scanned(const QString& pattern);

private:
    void onData();
    void complete();

    std::unique_ptr<base::SerialPort> port_;
    QTimer gap_;
    QString ScanText;
};

} // namespace service
