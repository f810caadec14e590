#include "service/barcodereader.h"

#include "base/cp1252.h"
#include "service/matchfile.h"
#include "service/serialdevices.h"

namespace service {

QString scanPattern(const QString& scan) {
    if (scan.size() >= PatternWidth)
        return scan;
    return scan + QString(PatternWidth - scan.size(), u'*');
}

BarcodeReader::BarcodeReader(std::unique_ptr<base::SerialPort> port, std::chrono::milliseconds gap)
    : port_(std::move(port)) {
    gap_.setSingleShot(true);
    gap_.setInterval(gap);
    connect(&gap_, &QTimer::timeout, this, &BarcodeReader::complete);
    connect(port_.get(), &base::SerialPort::dataArrived, this, &BarcodeReader::onData);
}

BarcodeReader::~BarcodeReader() {
    close();
}

bool BarcodeReader::open(const QString& device) {
    return port_->open(device, *parseLineSettings(LineSettings));
}

void BarcodeReader::close() {
    gap_.stop();
    port_->close();
}

void BarcodeReader::onData() {
    ScanText += base::fromCp1252(port_->readAll());
    // Every piece restarts the gap.
    gap_.start();
}

void BarcodeReader::complete() {
    if (ScanText.isEmpty())
        return;
    const QString pattern = scanPattern(ScanText);
    ScanText.clear();
    emit scanned(pattern);
}

} // namespace service
