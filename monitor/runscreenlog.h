#pragma once
// The run screen's rundown log "Pset_RundownData.txt" in the program's folder: CR LF rows of 13 fields,
// each in double quotes, separated by commas without blanks. The first row names the fields; every
// rundown adds one row. The log outlives the windows; "Clear Rundowns" leaves the heading only.

#include "base/textlines.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace monitor {

// The rows of a rundown log as View Rundowns reads them: the file's lines held as its bytes (blank lines
// left out), each row's fields taken from its bytes when asked for, so a log of any length costs about its
// own size, whether its rows are long or a byte each.
class RundownLogRows {
public:
    RundownLogRows() = default;
    explicit RundownLogRows(QByteArray bytes) : rows_(std::move(bytes), base::TextLines::Blank::Skipped) {}

    qsizetype size() const { return rows_.size(); }
    bool isEmpty() const { return rows_.isEmpty(); }
    // The fields of row index (0 the heading row), RundownLogFile::Fields of them; none for a row past the
    // end.
    QStringList fields(qsizetype index) const;

private:
    base::TextLines rows_;
};

class RundownLogFile {
public:
    static constexpr int Fields = 13;
    // The most characters a field keeps: more than any field a rundown row holds, and more than a grid
    // cell shows. A row is read no further than its last field, so a damaged row of any length costs no
    // more than this for each of its fields.
    static constexpr qsizetype LongestField = 1024;
    static inline const QString WindowsPath = QStringLiteral("\\Pset_RundownData.txt");
    static const QStringList Header;

    // The log's place in the program's folder.
    static QString path();
    // One row: the fields quoted and joined by commas (no line end).
    static QString row(const QStringList& fields);
    // The fields of a row, quotes removed, blanks around them trimmed and each cut to LongestField; always
    // Fields of them (missing ones empty, extra ones dropped unread).
    static QStringList fieldsOf(QByteArrayView row);

    // Adds a record row; a missing log is begun with the heading row. False, with the reason, when the log
    // could not be written (it is then left as it was).
    static bool append(const QStringList& fields, QString* error = nullptr);
    // Rewrites an existing log with the heading row only; a missing log stays missing.
    static bool clear(QString* error = nullptr);
    // The rows of the log; nothing, with the reason, when there is no log or it cannot be read.
    static std::optional<RundownLogRows> read(QString* error = nullptr);
};

} // namespace monitor
