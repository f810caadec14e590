#include "service/ui/portproperties.h"

#include "service/serialdevices.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>

#include <algorithm>
#include <array>

namespace service {

namespace {
constexpr std::array BaudRates = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr int FewestDataBits = 5;
constexpr int MostDataBits = 8;

QComboBox* choices(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    return box;
}

// Selects the entry of this value (added when the list does not offer it).
void select(QComboBox* box, const QVariant& value) {
    int index = box->findData(value);
    if (index < 0) {
        box->addItem(value.toString(), value);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}
// The port field as wide as the longest device path it offers or holds, so that none is shown cut.
void showWholePaths(QComboBox* box) {
    const QFontMetrics metrics(box->font());
    int widest = metrics.horizontalAdvance(box->currentText());
    for (int i = 0; i < box->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(box->itemText(i)));
    // The field's width is counted in average characters; one more leaves room for the cursor.
    const int average = std::max(1, metrics.horizontalAdvance(QLatin1Char('x')));
    box->setMinimumContentsLength((widest + average - 1) / average + 1);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}
} // namespace

PortPropertiesDialog::PortPropertiesDialog(const PortProperties& current, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PortProperties"));
    setWindowTitle(QStringLiteral("Properties"));

    port_ = choices(this, QStringLiteral("cboPort"));
    port_->setEditable(true);
    port_->addItems(SerialDevices::available());
    port_->setCurrentText(current.device);
    showWholePaths(port_);

    baud_ = choices(this, QStringLiteral("cboBaud"));
    for (int rate : BaudRates)
        baud_->addItem(QString::number(rate), rate);
    select(baud_, current.settings.baudRate);

    parity_ = choices(this, QStringLiteral("cboParity"));
    parity_->addItem(QStringLiteral("None"), int(base::Parity::None));
    parity_->addItem(QStringLiteral("Even"), int(base::Parity::Even));
    parity_->addItem(QStringLiteral("Odd"), int(base::Parity::Odd));
    parity_->addItem(QStringLiteral("Mark"), int(base::Parity::Mark));
    parity_->addItem(QStringLiteral("Space"), int(base::Parity::Space));
    select(parity_, int(current.settings.parity));

    dataBits_ = choices(this, QStringLiteral("cboDataBits"));
    for (int bits = FewestDataBits; bits <= MostDataBits; ++bits)
        dataBits_->addItem(QString::number(bits), bits);
    select(dataBits_, current.settings.dataBits);

    stopBits_ = choices(this, QStringLiteral("cboStopBits"));
    stopBits_->addItem(QStringLiteral("1"), int(base::StopBits::One));
    stopBits_->addItem(QStringLiteral("1.5"), int(base::StopBits::OneAndHalf));
    stopBits_->addItem(QStringLiteral("2"), int(base::StopBits::Two));
    select(stopBits_, int(current.settings.stopBits));

    // The DSM's line has no flow control.
    auto* flow = choices(this, QStringLiteral("cboFlow"));
    flow->addItem(QStringLiteral("None"));
    flow->setEnabled(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Port"), port_);
    form->addRow(QStringLiteral("Bits per second"), baud_);
    form->addRow(QStringLiteral("Parity"), parity_);
    form->addRow(QStringLiteral("Data bits"), dataBits_);
    form->addRow(QStringLiteral("Stop bits"), stopBits_);
    form->addRow(QStringLiteral("Flow control"), flow);
    form->addRow(buttons);
}

PortProperties PortPropertiesDialog::properties() const {
    PortProperties chosen;
    chosen.device = port_->currentText().trimmed();
    chosen.settings.baudRate = baud_->currentData().toInt();
    chosen.settings.parity = base::Parity(parity_->currentData().toInt());
    chosen.settings.dataBits = dataBits_->currentData().toInt();
    chosen.settings.stopBits = base::StopBits(stopBits_->currentData().toInt());
    return chosen;
}

std::optional<PortProperties> PortPropertiesDialog::ask(const PortProperties& current, QWidget* parent) {
    PortPropertiesDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.properties();
}

} // namespace service
