#include "app/sessions/parameterfilesession.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "base/dialogs.h"
#include "base/textlines.h"

#include <QFile>

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

void ParameterFileSession::mnuEncryptToolFile() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    const QString path = dialogs().openFileName(QStringLiteral("Open Txt File"), TextFileFilter);
    if (path.isEmpty())
        return;
    if (!ProgramCore::FileExists(path))
        return failBox(FileNotFound);
    if (!isParameterSourceName(path))
        return failBox(QStringLiteral("File Type Not .txt"));
    CommandProgress& bar = progress();
    const EncryptResult result = encryptParameterSource(
        path, services.palverin.scrambler,
        [&bar](int lines) {
            bar.setRange(0, lines + 1);
            bar.setValue(0);
        },
        [&bar](int written) { bar.setValue(written); });
    bar.setValue(0);
    if (!result.ok)
        return failBox(result.errorText);
    infoBox(QStringLiteral("Data Encryption Completed"));
}

bool ParameterFileSession::linkCheck(ParameterFileKind kind) {
    if (kind == ParameterFileKind::Transducer)
        return linkGate().dongleOnly(ids::TransducerReply, QStringLiteral("Unable To Configure CanDongle"));
    return linkGate().preCheck(ids::ToolEepromReply,
                               {.usb = clink::UsbCheck::Plain,
                                .ethernet = clink::EthernetCheck::ConnectedOnly,
                                .texts = {QStringLiteral("Unable To Configure Candongle"),
                                          QStringLiteral("Unable to connect using Ethernet"),
                                          QStringLiteral("Unable To Connect Using USB")}});
}

void ParameterFileSession::writeParameters(ParameterFileKind kind) {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkCheck(kind))
        return;
    const QString path = dialogs().openFileName(QStringLiteral("Open Parameter File"), ParameterFileFilter);
    if (path.isEmpty())
        return;
    QFile stored(path);
    if (!ProgramCore::FileExists(path) || !base::openRegularFile(stored, QIODevice::ReadOnly))
        return failBox(FileNotFound);

    const KindTexts texts = textsFor(kind);
    const ParameterFileCheck file = checkParameterFile(stored, kind);
    stored.close();
    switch (file.result) {
    case ParameterFileCheck::Result::Unreadable:
        return failBox(FileNotFound);
    case ParameterFileCheck::Result::WrongType:
        return dialogs().message(texts.wrongType, texts.wrongTypeCaption, base::MessageIcon::Critical);
    case ParameterFileCheck::Result::BadData:
        return dialogs().message(file.errorText, FileDataErrorCaption, base::MessageIcon::Critical);
    case ParameterFileCheck::Result::Ok:
        break;
    }

    CommandProgress& bar = progress();
    const int maximum = file.validLines + ProgressMargin;
    bar.start(maximum, false);
    clink::DataTx& tx = dataTx();
    const ParameterEeprom eeprom =
        kind == ParameterFileKind::Tool
            ? ParameterEeprom{[&tx](int a, int v) { return tx.WriteToolEeprom(a, v); },
                              [&tx](int a) { return tx.ReadToolEeprom(a); }}
            : ParameterEeprom{[&tx](int a, int v) { return tx.WriteTransducerEeprom(a, v); },
                              [&tx](int a) { return tx.ReadTransducerEeprom(a); }};
    // Empty lines count as progress too: the value is held within the bar's range.
    const ParameterTransfer outcome = transferParameterLines(
        file, eeprom, state(), [&bar, maximum](int done) { bar.setValue(std::min(done, maximum)); });

    QString failure;
    switch (outcome) {
    case ParameterTransfer::Done:
        dialogs().message(QStringLiteral("Data In File Transfered Successfully"), base::ProgramTitle,
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
    failBox(failure);
    if (kind == ParameterFileKind::Tool)
        bar.setValue(0);
}

} // namespace app
