#pragma once
// The run screen's rundown log "Pset_RundownData.txt" in the program's folder: CR LF rows of 13 fields,
// each in double quotes, separated by commas without blanks. The first row names the fields; every
// rundown adds one row. The log outlives the windows; "Clear Rundowns" leaves the heading only.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace monitor {

// The rows of a rundown log as View Rundowns reads them: the file's bytes, read in one pass and kept once,
// and where every RowsPerMark-th row that is not blank begins. A row's fields are taken from its bytes when
// asked for, found from the mark before it, so a log of any length costs about its own size, whether its
// rows are long or a byte each.
class RundownLogRows {
public:
    // Rows between two marks: few enough that finding a row from its mark stays cheap.
    static constexpr qsizetype RowsPerMark = 64;

    RundownLogRows() = default;
    explicit RundownLogRows(QByteArray bytes);

    qsizetype size() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    // The fields of row index (0 the heading row), RundownLogFile::Fields of them; none for a row past the
    // end.
    QStringList fields(qsizetype index) const;

private:
    // The first row that is not blank from byte at on: where it begins, and where its line ends (both the
    // size of the log when there is none).
    struct Span {
        qsizetype start;
        qsizetype end;
    };
    Span rowFrom(qsizetype at) const;
    Span row(qsizetype index) const;

    QByteArray bytes_;
    qsizetype count_ = 0;
    std::vector<qsizetype> marks_;
    // The row found last: a grid asks for rows in turn, and the next one is found from it.
    mutable qsizetype lastIndex_ = -1;
    mutable Span last_{0, 0};
};

class RundownLogFile {
public:
    static constexpr int Fields = 13;
    static inline const QString WindowsPath = QStringLiteral("\\Pset_RundownData.txt");
    static const QStringList Header;

    // The log's place in the program's folder.
    static QString path();
    // One row: the fields quoted and joined by commas (no line end).
    static QString row(const QStringList& fields);
    // The fields of a row, quotes removed; always Fields of them (missing ones empty, extra ones dropped).
    static QStringList fieldsOf(const QString& row);

    // Adds a record row; a missing log is begun with the heading row. False, with the reason, when the log
    // could not be written (it is then left as it was).
    static bool append(const QStringList& fields, QString* error = nullptr);
    // Rewrites an existing log with the heading row only; a missing log stays missing.
    static bool clear(QString* error = nullptr);
    // The rows of the log; nothing, with the reason, when there is no log or it cannot be read.
    static std::optional<RundownLogRows> read(QString* error = nullptr);
};

} // namespace monitor
