#include "service/collectselection.h"

#include "base/numbertext.h"
#include "base/programfolder.h"
#include "base/textlines.h"

#include <QFile>

namespace service {

namespace {
constexpr int WordBytes = 2;
constexpr int ByteShift = 8;
constexpr int ByteMask = 0xFF;
// A base name is cut at a dot followed by three characters.
constexpr int ExtensionLength = 4;
// What follows the record is copied in blocks of this size.
constexpr qint64 CopyBlockBytes = 64 * 1024;

int16_t wordAt(const QByteArray& bytes, int word) {
    const int at = WordBytes * word;
    return int16_t((uint8_t(bytes[at]) | (uint8_t(bytes[at + 1]) << ByteShift)) & 0xFFFF);
}

void putWord(QByteArray& bytes, int word, int16_t value) {
    const int at = WordBytes * word;
    bytes[at] = char(value & ByteMask);
    bytes[at + 1] = char((uint16_t(value) >> ByteShift) & ByteMask);
}

QString selectionPath() {
    return base::programFile(CollectSelectionFile);
}
} // namespace

CollectSelection decodeCollectSelection(const QByteArray& bytes) {
    CollectSelection selection;
    if (bytes.size() < CollectSelection::Bytes)
        return selection;
    for (int box = 0; box < CollectBoxes; ++box)
        selection.flags[size_t(box)] = wordAt(bytes, box);
    selection.reserved = wordAt(bytes, CollectBoxes);
    return selection;
}

QByteArray encodeCollectSelection(const CollectSelection& selection) {
    QByteArray bytes(CollectSelection::Bytes, '\0');
    for (int box = 0; box < CollectBoxes; ++box)
        putWord(bytes, box, selection.flags[size_t(box)]);
    putWord(bytes, CollectBoxes, selection.reserved);
    return bytes;
}

bool loadCollectSelection(CollectSelection& selection, QString* error) {
    selection = {};
    const QString path = selectionPath();
    QFile file(path);
    if (!file.exists())
        return base::writeFileAtomically(path, {}, error);
    // The record only, unbuffered so that no more than its bytes are taken: whatever follows is not read.
    if (!base::openRegularFile(file, QIODevice::ReadOnly | QIODevice::Unbuffered, error))
        return false;
    const QByteArray record = file.read(CollectSelection::Bytes);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    selection = decodeCollectSelection(record);
    return true;
}

bool saveCollectSelection(const CollectSelection& selection, QString* error) {
    // The file is replaced whole: the new record, then what followed the old one, copied as it is.
    const QString path = selectionPath();
    base::ReplacedFile file(path);
    if (!file.open(error))
        return false;
    file.write(encodeCollectSelection(selection));
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.seek(CollectSelection::Bytes)) {
        for (QByteArray block = old.read(CopyBlockBytes); !block.isEmpty(); block = old.read(CopyBlockBytes))
            file.write(block);
        if (old.error() != QFileDevice::NoError) {
            if (error)
                *error = old.errorString();
            return false;
        }
    }
    return file.commit(error);
}

QString collectBaseName(const QString& name) {
    const QString T = base::Trim(name);
    const qsizetype n = T.size();
    if (n < ExtensionLength || T[n - ExtensionLength] != u'.')
        return name;
    for (const QString& ending :
         {DspFileEnding, ToolParmsFileEnding, ToolEpromFileEnding, RundownsFileEnding})
        if (T.endsWith(ending, Qt::CaseSensitive))
            return T.left(n - ending.size());
    return T.left(n - ExtensionLength);
}

} // namespace service
