#pragma once
// The match file the DSM unit chooses a Pset by: one text line of 20 records of 51 characters and CR LF,
// 1022 bytes in Windows-1252. A record is a 50-character barcode pattern (left-aligned, padded with blanks,
// cut at 50; "*" matches any character, case counts) and one Pset character, the first character of the
// Pset number's decimal text. Records 2 to 11 are the editor's ten rows; records 1 and 12 to 20 are always
// 50 "*" and "0".

#include <QByteArray>
#include <QString>

#include <array>

namespace service {

struct MatchRow {
    QString barcode;
    int pset = 0;
};

inline constexpr int MatchRowCount = 10;
inline constexpr int PatternWidth = 50;
inline constexpr int RecordWidth = PatternWidth + 1;
inline constexpr int MatchRecordCount = 20;
// The records a load reads: the first one and the ten rows.
inline constexpr int MatchRecordsRead = MatchRowCount + 1;
inline constexpr int MatchFileSize = MatchRecordCount * RecordWidth + 2;

using MatchRows = std::array<MatchRow, MatchRowCount>;

// A row as "New" leaves it: 50 "*" and Pset 0.
MatchRow emptyMatchRow();

QByteArray writeMatchFile(const MatchRows& rows);

struct MatchFileContent {
    MatchRows rows;
    // False when the file ends before the eleventh record does: the rows it does not reach are empty.
    bool complete = true;
};

// Reads the first 11 records (the first is not a row). Barcodes keep their trailing blanks; a Pset character
// that is not a digit reads as 0.
MatchFileContent readMatchFile(const QByteArray& bytes);

} // namespace service
