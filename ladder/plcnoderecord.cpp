#include "ladder/plcnoderecord.h"

#include "base/cp1252.h"
#include "base/numbertext.h"

#include <algorithm>

namespace ladder {

namespace {

QByteArray field(const QString& text, int width) {
    return base::toCp1252(base::fixedField(text, width));
}

// Reads the field at offset and moves offset past it; bytes missing at the end read as blanks.
QString takeField(QByteArrayView record, int& offset, int width) {
    const qsizetype at = std::min<qsizetype>(offset, record.size());
    QString text = base::fromCp1252(record.sliced(at, std::min<qsizetype>(width, record.size() - at)));
    offset += width;
    if (text.size() < width)
        text = base::fixedField(text, width);
    return text;
}

} // namespace

QByteArray PlcNodeRecord::encode() const {
    QByteArray bytes;
    bytes.reserve(Size);
    bytes += field(Relative, RelativeWidth);
    bytes += field(Key, KeyWidth);
    bytes += field(Text, TextWidth);
    bytes += field(Image, ImageWidth);
    bytes += field(Value, ValueWidth);
    return bytes;
}

PlcNodeRecord PlcNodeRecord::decode(QByteArrayView bytes) {
    PlcNodeRecord record;
    int offset = 0;
    record.Relative = takeField(bytes, offset, RelativeWidth);
    record.Key = takeField(bytes, offset, KeyWidth);
    record.Text = takeField(bytes, offset, TextWidth);
    record.Image = takeField(bytes, offset, ImageWidth);
    record.Value = takeField(bytes, offset, ValueWidth);
    return record;
}

QByteArray encodePlcRecords(const std::vector<PlcNodeRecord>& records) {
    QByteArray bytes;
    bytes.reserve(qsizetype(records.size()) * PlcNodeRecord::Size);
    for (const PlcNodeRecord& record : records)
        bytes += record.encode();
    return bytes;
}

QString keyField(const QString& key) {
    return base::fixedField(key, PlcNodeRecord::KeyWidth);
}

QString textField(const QString& text) {
    return base::fixedField(text, PlcNodeRecord::TextWidth);
}

} // namespace ladder
