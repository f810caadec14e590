#pragma once
// A text line as it is shown and printed: each byte a column, a tab blanks up to the next multiple of
// TabWidth columns. The columns are made a run at a time: the bytes between two tabs are copied at once and
// a tab's blanks are added at once, so a tab costs no more than the characters it stands for.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace base {

class ShownLine {
public:
    static constexpr qsizetype TabWidth = 8;

    // At the start of line, or at column of it with byte the one that column falls on (a column inside a
    // tab's blanks falls on that tab).
    explicit ShownLine(QByteArrayView line, qsizetype byte = 0, qsizetype column = 0)
        : line_(line), byte_(byte), column_(column) {}

    // The columns from here up to column to (not included) as Windows-1252 bytes, tabs as blanks; moves to
    // column to, or to the end of the line when it ends before.
    QByteArray take(qsizetype to) { return walk(to, true); }
    // Moves as take() does, without making the columns.
    void skipTo(qsizetype to) { walk(to, false); }

    qsizetype byte() const { return byte_; }
    qsizetype column() const { return column_; }
    bool atEnd() const { return byte_ >= line_.size(); }

    // The width of a whole line in columns.
    static qsizetype width(QByteArrayView line);
    // Columns from to to of a line, decoded: only they are made, so a line of any length costs what is asked.
    static QString columns(QByteArrayView line, qsizetype from, qsizetype to);

private:
    QByteArray walk(qsizetype to, bool make);

    QByteArrayView line_;
    qsizetype byte_;
    qsizetype column_;
};

} // namespace base
