#include "logicio/logicfile.h"

#include "app/programcore.h"
#include "app/settingsfiles.h"
#include "base/cp1252.h"
#include "base/numbertext.h"
#include "base/textlines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace logicio {

namespace {

const QString CompanionSuffix = QStringLiteral("B.Aio");
constexpr int ExtensionLength = 4; // ".xxx"

void putCode(QByteArray& record, int offset, int32_t code) {
    qToLittleEndian<int32_t>(code, record.data() + offset);
}

int32_t takeCode(const QByteArray& record, int offset) {
    return qFromLittleEndian<int32_t>(record.constData() + offset);
}

void putText(QByteArray& record, int offset, int width, const QString& text) {
    record.replace(offset, width, base::toCp1252(base::fixedField(text, width)));
}

QString takeText(const QByteArray& record, int offset, int width) {
    return base::Trim(base::fromCp1252(record.mid(offset, width)));
}

int codeOffset(int slot) {
    return slot * LogicFileRecord::CodeBytes;
}

bool readWhole(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

QByteArray LogicFileRecord::encode(const LogicRung& rung) {
    QByteArray record(Size, ' ');
    for (int k = 1; k <= ConditionSlots; ++k) {
        putCode(record, codeOffset(k - 1), rung.in(k));
        putText(record, InTextOffset + SlotTextWidth * (k - 1), SlotTextWidth, rung.inText(k));
    }
    for (int k = 1; k <= OperatorSlots; ++k) {
        putCode(record, codeOffset(ConditionSlots + k - 1), rung.op(k));
        putText(record, OpTextOffset + OperatorTextWidth * (k - 1), OperatorTextWidth, rung.opText(k));
    }
    for (int k = 1; k <= ActionSlots; ++k) {
        putCode(record, codeOffset(ConditionSlots + OperatorSlots + k - 1), rung.out(k));
        putText(record, OutTextOffset + SlotTextWidth * (k - 1), SlotTextWidth, rung.outText(k));
    }
    putText(record, InputSummaryOffset, SummaryWidth, rung.InputSummary);
    putText(record, OutputSummaryOffset, SummaryWidth, rung.OutputSummary);
    return record;
}

LogicRung LogicFileRecord::decode(const QByteArray& bytes) {
    // A short record reads as if completed by zero codes and blank texts.
    QByteArray record(InTextOffset, '\0');
    record.append(Size - InTextOffset, ' ');
    const QByteArray given = bytes.left(Size);
    record.replace(0, given.size(), given);
    LogicRung rung;
    for (int k = 1; k <= ConditionSlots; ++k) {
        rung.in(k) = takeCode(record, codeOffset(k - 1));
        rung.inText(k) = takeText(record, InTextOffset + SlotTextWidth * (k - 1), SlotTextWidth);
    }
    for (int k = 1; k <= OperatorSlots; ++k) {
        rung.op(k) = takeCode(record, codeOffset(ConditionSlots + k - 1));
        rung.opText(k) = takeText(record, OpTextOffset + OperatorTextWidth * (k - 1), OperatorTextWidth);
    }
    for (int k = 1; k <= ActionSlots; ++k) {
        rung.out(k) = takeCode(record, codeOffset(ConditionSlots + OperatorSlots + k - 1));
        rung.outText(k) = takeText(record, OutTextOffset + SlotTextWidth * (k - 1), SlotTextWidth);
    }
    rung.InputSummary = takeText(record, InputSummaryOffset, SummaryWidth);
    rung.OutputSummary = takeText(record, OutputSummaryOffset, SummaryWidth);
    return rung;
}

QByteArray encodeLogicFile(const LogicRungs& rungs) {
    QByteArray bytes;
    bytes.reserve(LogicFileSize);
    for (int r = LogicRungs::FirstRung; r <= LogicRungs::LastRung; ++r)
        bytes += LogicFileRecord::encode(rungs[r]);
    return bytes;
}

bool decodeLogicFile(const QByteArray& bytes, LogicRungs& rungs) {
    if (bytes.size() < LogicFileSize)
        return false;
    LogicRungs read;
    for (int r = LogicRungs::FirstRung; r <= LogicRungs::LastRung; ++r)
        read[r] = LogicFileRecord::decode(
            bytes.mid(qsizetype(LogicFileRecord::Size) * (r - LogicRungs::FirstRung), LogicFileRecord::Size));
    rungs = read;
    return true;
}

QString batchCompanionName(const QString& logicPath) {
    const QFileInfo info(logicPath);
    const QString name = info.fileName();
    const bool extension = name.size() > ExtensionLength && name[name.size() - ExtensionLength] == u'.' &&
                           !name.right(ExtensionLength - 1).contains(u'.');
    const QString stem = extension ? logicPath.left(logicPath.size() - ExtensionLength) : logicPath;
    return stem + CompanionSuffix;
}

QString findBatchCompanion(const QString& logicPath) {
    const QString wanted = batchCompanionName(logicPath);
    if (QFileInfo(wanted).isFile())
        return wanted;
    const QFileInfo info(wanted);
    const QDir folder = info.absoluteDir();
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden))
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return folder.filePath(entry);
    return {};
}

QString unableToWriteText(const QString& path, const QString& reason) {
    return QStringLiteral("Unable to write file ") + path + QStringLiteral("\r\n") + reason;
}

QString corruptFileText(const QString& path) {
    return app::CorruptSettingsText + u'\n' + path;
}

bool writeLogicFile(const QString& path, const LogicRungs& rungs, QString* error, const BatchTable* batch) {
    std::vector<base::FileBytes> files = {{path, encodeLogicFile(rungs)}};
    if (batch) {
        const QString companion = findBatchCompanion(path);
        files.push_back({companion.isEmpty() ? batchCompanionName(path) : companion, batch->encode()});
    }
    QString reason;
    QString failed;
    if (base::writeFilesTogether(files, &reason, &failed))
        return true;
    if (error)
        *error = unableToWriteText(failed, reason);
    return false;
}

LogicFileRead readLogicFile(const QString& path, LogicRungs& rungs) {
    if (!app::ProgramCore::FileExists(path))
        return LogicFileRead::Missing;
    QByteArray bytes;
    if (!readWhole(path, bytes) || !decodeLogicFile(bytes, rungs))
        return LogicFileRead::Corrupt;
    return LogicFileRead::Ok;
}

bool readBatchFile(const QString& path, BatchTable& table) {
    QByteArray bytes;
    if (!readWhole(path, bytes))
        return false;
    table = BatchTable::decode(bytes);
    return true;
}

} // namespace logicio
