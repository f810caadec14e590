#include "ladder/plcnoderecord.h"

#include "base/cp1252.h"
#include "base/vbrules.h"

namespace ladder {

namespace {

QByteArray field(const QString& text, int width) {
    return base::toCp1252(base::fixedField(text, width));
}

// Reads the field at offset and moves offset past it.
QString takeField(const QByteArray& record, int& offset, int width) {
    const QString text = base::fromCp1252(record.mid(offset, width));
    offset += width;
    return base::fixedField(text, width);
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

PlcNodeRecord PlcNodeRecord::decode(const QByteArray& bytes) {
    PlcNodeRecord record;
    int offset = 0;
    record.Relative = takeField(bytes, offset, RelativeWidth);
    record.Key = takeField(bytes, offset, KeyWidth);
    record.Text = takeField(bytes, offset, TextWidth);
    record.Image = takeField(bytes, offset, ImageWidth);
    record.Value = takeField(bytes, offset, ValueWidth);
    return record;
}

std::vector<PlcNodeRecord> decodePlcRecords(const QByteArray& file) {
    std::vector<PlcNodeRecord> records;
    const qsizetype count = file.size() / PlcNodeRecord::Size;
    records.reserve(size_t(count));
    for (qsizetype i = 0; i < count; ++i)
        records.push_back(PlcNodeRecord::decode(file.mid(i * PlcNodeRecord::Size, PlcNodeRecord::Size)));
    return records;
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
