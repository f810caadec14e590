#include "service/matchfile.h"

#include "base/cp1252.h"
#include "base/numbertext.h"

namespace service {

namespace {
constexpr QChar Wildcard = u'*';
constexpr QChar NoPset = u'0';
const QByteArray LineEnd = QByteArrayLiteral("\r\n");

QString fixedRecord() {
    return QString(PatternWidth, Wildcard) + NoPset;
}
} // namespace

MatchRow emptyMatchRow() {
    return {QString(PatternWidth, Wildcard), 0};
}

QByteArray writeMatchFile(const MatchRows& rows) {
    QString line = fixedRecord();
    for (const MatchRow& row : rows)
        line += (base::fixedField(row.barcode, PatternWidth) + QString::number(row.pset)).left(RecordWidth);
    for (int record = MatchRowCount + 1; record < MatchRecordCount; ++record)
        line += fixedRecord();
    return base::toCp1252(line) + LineEnd;
}

MatchFileContent readMatchFile(const QByteArray& bytes) {
    const QString text = base::fromCp1252(bytes.left(MatchRecordsRead * RecordWidth));
    MatchFileContent content;
    content.complete = text.size() == MatchRecordsRead * RecordWidth;
    for (int row = 0; row < MatchRowCount; ++row) {
        // Record 1 is read past: the rows are records 2 to 11.
        const QString record = text.mid((row + 1) * RecordWidth, RecordWidth);
        content.rows[row].barcode = record.left(PatternWidth);
        const QChar pset = record.size() == RecordWidth ? record.back() : QChar();
        content.rows[row].pset = pset >= u'0' && pset <= u'9' ? pset.unicode() - u'0' : 0;
    }
    return content;
}

} // namespace service
