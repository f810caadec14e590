#pragma once
// The DSM terminal's port properties: the device and its line settings (baud rate, parity, data and stop
// bits; no flow control).

#include "service/dsmsession.h"

#include <QDialog>

#include <optional>

class QComboBox;

namespace service {

class PortPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    PortPropertiesDialog(const PortProperties& current, QWidget* parent = nullptr);

    PortProperties properties() const;

    // Shows the dialog; the new properties, or nothing when cancelled.
    static std::optional<PortProperties> ask(const PortProperties& current, QWidget* parent);

private:
    QComboBox* port_ = nullptr;
    QComboBox* baud_ = nullptr;
    QComboBox* parity_ = nullptr;
    QComboBox* dataBits_ = nullptr;
    QComboBox* stopBits_ = nullptr;
};

} // namespace service
