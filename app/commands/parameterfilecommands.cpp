#include "app/commands/parameterfilecommands.h"

#include "app/commands/commandboxes.h"
#include "app/ui/appcontext.h"
#include "base/textlines.h"

#include <QProgressBar>

#include <algorithm>

namespace app {

namespace ids = clink::ids;

namespace {
// The progress maximum beyond the lines that passed the check.
constexpr int ProgressMargin = 2;
const QString FileNotFound = QStringLiteral("File Not Found");

struct KindTexts {
    QString wrongType;
    QString wrongTypeCaption;
    QString writeFailed;
    QString readFailed;
};

KindTexts textsFor(ParameterFileKind kind) {
    if (kind == ParameterFileKind::Tool)
        return {QStringLiteral("File Selected Not A Tool Parameter File"), QStringLiteral("File Type Error"),
                QStringLiteral("Writing Tool Data Failed"), QStringLiteral("Reading Tool Data Failed")};
    return {QStringLiteral("File Selected Not A External Transducer Parameter File"), base::ProgramTitle,
            QStringLiteral("Writing Transducer Data Failed"),
            QStringLiteral("Reading Transducer Data Failed")};
}
} // namespace

void ParameterFileCommands::bind() {
    frame.onMenu(QStringLiteral("mnuEncryptToolFile"), [this] { mnuEncryptToolFile_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteToolParameters"), [this] { mnuWriteToolParameters_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteTransducerParameters"),
                 [this] { mnuWriteTransducerParameters_Click(); });
}

void ParameterFileCommands::mnuEncryptToolFile_Click() {
    auto busy = frame.busy();
    if (!busy)
        return;
    const QString path = frame.dialogs().openFileName(QStringLiteral("Open Txt File"), TextFileFilter);
    if (path.isEmpty())
        return;
    if (!Palverin2006::FileExists(path))
        return frame.failBox(FileNotFound);
    if (!isParameterSourceName(path))
        return frame.failBox(QStringLiteral("File Type Not .txt"));
    QProgressBar& bar = frame.Bar1();
    const EncryptResult result = encryptParameterSource(
        path, frame.ctx.palverin.scrambler,
        [&bar](int lines) {
            bar.setRange(0, lines + 1);
            bar.setValue(0);
        },
        [&bar](int written) { bar.setValue(written); });
    bar.setValue(0);
    if (!result.ok)
        return frame.failBox(result.errorText);
    infoBox(frame, QStringLiteral("Data Encryption Completed"));
}

void ParameterFileCommands::mnuWriteToolParameters_Click() {
    writeParameters(ParameterFileKind::Tool);
}

void ParameterFileCommands::mnuWriteTransducerParameters_Click() {
    writeParameters(ParameterFileKind::Transducer);
}

bool ParameterFileCommands::linkCheck(ParameterFileKind kind) {
    if (kind == ParameterFileKind::Transducer)
        return frame.dongleOnlyPreCheck(ids::TransducerReply,
                                        QStringLiteral("Unable To Configure CanDongle"));
    return frame.linkPreCheck(ids::ToolEepromReply,
                              {.usb = clink::UsbCheck::Plain,
                               .ethernet = clink::EthernetCheck::ConnectedOnly,
                               .texts = {QStringLiteral("Unable To Configure Candongle"),
                                         QStringLiteral("Unable to connect using Ethernet"),
                                         QStringLiteral("Unable To Connect Using USB")}});
}

void ParameterFileCommands::writeParameters(ParameterFileKind kind) {
    auto busy = frame.busy(true);
    if (!busy || !linkCheck(kind))
        return;
    const QString path =
        frame.dialogs().openFileName(QStringLiteral("Open Parameter File"), ParameterFileFilter);
    if (path.isEmpty())
        return;
    QStringList stored;
    if (!Palverin2006::FileExists(path) || !base::readTextLines(path, stored))
        return frame.failBox(FileNotFound);

    const KindTexts texts = textsFor(kind);
    const ParameterFileCheck file = checkParameterFile(stored, kind);
    switch (file.result) {
    case ParameterFileCheck::Result::WrongType:
        return frame.dialogs().message(texts.wrongType, texts.wrongTypeCaption, base::MessageIcon::Critical);
    case ParameterFileCheck::Result::BadData:
        return frame.dialogs().message(file.errorText, FileDataErrorCaption, base::MessageIcon::Critical);
    case ParameterFileCheck::Result::Ok:
        break;
    }

    QProgressBar& bar = frame.Bar1();
    startBar(bar, file.validLines + ProgressMargin, false);
    clink::DataTx& tx = frame.dataTx();
    const ParameterEeprom eeprom =
        kind == ParameterFileKind::Tool
            ? ParameterEeprom{[&tx](int a, int v) { return tx.WriteToolEeprom(a, v); },
                              [&tx](int a) { return tx.ReadToolEeprom(a); }}
            : ParameterEeprom{[&tx](int a, int v) { return tx.WriteTransducerEeprom(a, v); },
                              [&tx](int a) { return tx.ReadTransducerEeprom(a); }};
    // Empty lines count as progress too: the value is held within the bar's range.
    const ParameterTransfer outcome = transferParameterLines(
        file, eeprom, frame.state(), [&bar](int done) { bar.setValue(std::min(done, bar.maximum())); });

    QString failure;
    switch (outcome) {
    case ParameterTransfer::Done:
        frame.dialogs().message(QStringLiteral("Data In File Transfered Successfully"), base::ProgramTitle,
                                base::MessageIcon::Exclamation);
        bar.setValue(0);
        return;
    case ParameterTransfer::WriteFailed:
        failure = texts.writeFailed;
        break;
    case ParameterTransfer::ReadFailed:
        failure = texts.readFailed;
        break;
    case ParameterTransfer::Mismatch:
        failure = QStringLiteral("Error Writting Data To Eeprom");
        break;
    }
    frame.failBox(failure);
    if (kind == ParameterFileKind::Tool)
        bar.setValue(0);
}

} // namespace app
