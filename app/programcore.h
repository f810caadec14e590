#pragma once
// The program's main module: the settings it keeps, the login level, the curve loaded last, and the
// shared procedures every window calls by these names. One instance lives in the application context;
// tests build their own.
//
//   ProgramCore main(link.state, dialogs);
//   main.LoadIniFiles();                       // at start-up, before any link is opened
//   main.BuildAccessCode();                    // after AccessLevel := 1
//   main.login.CheckPassword(text);            // then apply app::menuStateForLevel(main.access.AccessLevel)

#include "app/accesslevels.h"
#include "app/appsettings.h"
#include "app/curvefile.h"
#include "app/linescrambler.h"
#include "app/login.h"
#include "app/settingsfiles.h"

namespace app {

class ProgramCore {
public:
    // folder: where the settings files live (empty = the program's folder). scrambler: the random
    // factor source of the settings-file scrambler (tests fix it).
    ProgramCore(clink::LinkState& link, base::Dialogs& dialogs, QString folder = {},
                LineScrambler scrambler = LineScrambler());
    ProgramCore(const ProgramCore&) = delete;
    ProgramCore& operator=(const ProgramCore&) = delete;

    // True when path names a file that can be opened for reading (a folder is not a file).
    static bool FileExists(const QString& path);
    QString EncodeLine(const QString& text) const { return scrambler.EncodeLine(text); }
    static QString DecodeLine(const QString& text) { return LineScrambler::DecodeLine(text); }

    bool WriteDefaultIniFiles() { return settingsFiles.WriteDefaultIniFiles(); }
    void LoadIniFiles() { settingsFiles.LoadIniFiles(); }
    bool SaveIniFile() { return settingsFiles.SaveIniFile(); }

    // Sets TodaysPassword from today's date.
    void BuildAccessCode();

    bool LoadCurveFile(const QString& path, int16_t units) { return app::LoadCurveFile(path, units, curve); }
    // The one torque conversion of the program (base::ConvertTorque).
    static double ConvertTorque(double value, int fromUnits, int toUnits);

    AppSettings settings;
    LoginState access;
    CurveData curve;
    const LineScrambler scrambler;
    SettingsFiles settingsFiles;
    Login login;
};

} // namespace app
