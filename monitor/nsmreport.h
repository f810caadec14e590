#pragma once
// The rundown reports the NSM unit prints on its RS-232 output, as the serial rundown logger reads them:
// free text arriving in pieces, each report ending with "@END" (any letter case). The two characters
// before "@END" are the rundown number; a spindle's section begins with its key "SPINDLE 01:" ..
// "SPINDLE 09:", "SPINDLE 10:" and is taken as the 74 characters from the key (line ends included).
//
// A piece that leaves no "@" in the text received so far is dropped; text after "@END" is kept for the
// next report. Pending text that grows far beyond any report without reaching its end mark (a line left
// open, or noise after a stray "@") is dropped too, so a logger left running does not fill the memory.

#include <QList>
#include <QString>
#include <QStringList>

namespace monitor {

class NsmReportParser {
public:
    static constexpr int Spindles = 10;
    static constexpr int SpindleTextLength = 74;
    static inline const QString EndMark = QStringLiteral("@END");
    // Far more than ten spindle sections and the rundown number.
    static constexpr qsizetype MaxPendingText = 64 * 1024;

    // Adds a received piece; the lines of each report it completes, in order: "Rundown Number :" and the
    // number, then the text of each spindle key found, spindle 1 first.
    QList<QStringList> feed(const QString& piece);
    // The text received and not yet part of a report.
    const QString& pending() const { return buffer_; }

    // The lines of one report's text (up to and including its end mark).
    static QStringList reportLines(const QString& report);

private:
    QString buffer_;
};

} // namespace monitor
