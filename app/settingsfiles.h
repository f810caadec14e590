#pragma once
// The two settings files in the program's folder:
//
// "delays.ini": one line, the decimal poll multiplier TransferDelay, CR LF. Created as "8"; every save
// writes the current TransferDelay. Read as the integer part of the number ("2.9" gives 2); an empty or
// non-numeric line, a number too large to read or a line too long to be a number gives 8 and the file is
// rewritten; a value of 0 or less gives 1.
//
// "Brenstal.ini": 16 lines, each the scrambled form (LineScrambler) of its text, CR LF, Windows-1252:
//    1  "FILE TYPE: BRENSTAL.INI" (compared exactly after unscrambling)
//    2  Password                                       default "7395"
//    3-12 the ten PsetDefaults in PsetDefaultValues::FileOrder, 10-character form
//                                                     defaults "80" "15" "50" "5" "0" "10" "65" "85" "0" "5"
//   13  reserved: "2" when created, empty when saved, ignored when read
//   14  ConnectionType in decimal ("1" when created); read rounded half to even, outside 0..3 gives 0
//   15  ControllerIpAddress                             default "None"
//   16  ControllerIpPort                                default "1100"
// Readers accept CR LF, CR and LF line ends. A shorter file loads the lines it has and leaves the rest as
// they were; lines after the last one used are never read. A line too long to be a setting is damage, as a
// wrong header is. Every write replaces its file whole (base::ReplacedFile), so a failed write leaves the old
// file as it was; a save writes both files together.

#include "app/appsettings.h"
#include "app/linescrambler.h"

#include <QString>
#include <QStringList>

namespace base {
class Dialogs;
}
namespace clink {
struct LinkState;
}

namespace app {

inline const QString SettingsFileName = QStringLiteral("Brenstal.ini");
inline const QString DelaysFileName = QStringLiteral("delays.ini");
inline const QString SettingsFileHeader = QStringLiteral("FILE TYPE: BRENSTAL.INI");

// Texts of the settings messages.
inline const QString CorruptSettingsText = QStringLiteral("Invalid OR Corrupt File");
inline const QString NotStoredText = QStringLiteral("Error - Data Not Stored");
inline const QString NotStoredCaption = QStringLiteral("File Error");

inline constexpr long DefaultTransferDelay = 8;
inline constexpr long LowestTransferDelay = 1;

class SettingsFiles {
public:
    // Reads and writes link.ConnectionType, ControllerIpAddress, ControllerIpPort and TransferDelay and
    // settings.Password and PsetDefaults. folder: where the files live; empty = the program's folder.
    SettingsFiles(clink::LinkState& link, AppSettings& settings, base::Dialogs& dialogs,
                  const LineScrambler& scrambler, QString folder = {});

    // Writes both files with their defaults and sets Password and PsetDefaults to the defaults in memory
    // (the link settings are taken from the files by the next load). A file that cannot be written gives a
    // critical box whose text and caption are the error naming the file. True when both were written.
    bool WriteDefaultIniFiles();

    // Creates a missing file (only that one) with its defaults, then reads both. A damaged "Brenstal.ini"
    // (a wrong header line, or a line too long to be a setting) shows "Invalid OR Corrupt File" once,
    // resets both files to their defaults and reads them again. A file that exists but cannot be read
    // gives a critical box naming it and changes nothing of that file's values, on disk or in memory.
    void LoadIniFiles();

    // Rewrites both files from the current values, together: both new, or on any failure both as they were.
    // On failure shows "Error - Data Not Stored" with the file and the reason (caption "File Error",
    // critical) and returns false.
    bool SaveIniFile();

    QString settingsPath() const;
    QString delaysPath() const;

private:
    QString pathOf(const QString& name) const;
    bool writeDefaultDelays();
    bool writeDefaultSettings();
    bool writeReportingErrors(const QString& path, const QByteArray& bytes);
    // The first count lines; false when there are none to use. A file that cannot be read gives a box
    // naming it; a line too long to be a setting gives no box and sets tooLong.
    bool readReportingErrors(const QString& path, int count, QStringList& lines, bool& tooLong);
    void loadDelays();
    void applySettingsLines(const QStringList& lines);
    QByteArray scrambledFile(const QStringList& lines) const;
    void reportFileError(const QString& path, const QString& error);

    clink::LinkState& link_;
    AppSettings& settings_;
    base::Dialogs& dialogs_;
    const LineScrambler& scrambler_;
    QString folder_;
};

} // namespace app
