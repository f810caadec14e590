#include "app/ui/menutree.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace app {

namespace {

// clang-format off
const MenuEntry Entries[] = {
    {nullptr, "mnuFile", "&File"},
    {"mnuFile", "mnuCont_Conn", "&Controller Connection"},
    {"mnuFile", "mnuLogin", "&Login"},
    {"mnuFile", "mnuExit", "&Exit"},

    {nullptr, "mnuTool", "&Tool"},
    {"mnuTool", "mnuView", "View"},
    {"mnuView", "mnuCalValue", "&Cal Value"},
    {"mnuView", "mnuReadToolParameters", "&Parameters"},
    {"mnuView", "mnuReadToolEepromLocation", "&Eeprom Location", Shown, "Ctrl+R"},
    {"mnuView", "mnuReadAllToolEeLocations", "&All Eeprom Locations"},
    {"mnuView", "mnuRPM", "&RPMs"},
    {"mnuView", "mnuDiag", "&Diagnostics"},
    {"mnuTool", "mnuMonitor", "Monitor"},
    {"mnuMonitor", "mnuMonitorButtons", "Button States"},
    {"mnuTool", "mnuToolWrite", "&Write"},
    {"mnuToolWrite", "mnuWriteToolParameters", "Parameters"},
    {"mnuToolWrite", "mnuWriteToolEeprom", "Eeprom", Shown, "Ctrl+W"},
    {"mnuToolWrite", "mnuWriteToolId", "Id"},
    {"mnuToolWrite", "mnuWriteTubeNut", "Tube Nut"},
    {"mnuToolWrite", "mnuLedstates", "Led States"},
    {"mnuTool", "mnuCalTool", "Calibrate"},
    {"mnuCalTool", "mnuCalToolButtons", "Buttons"},
    {"mnuCalTool", "mnuCalibrateTool", "Tool"},
    {"mnuCalTool", "mnuResetToolCal", "Reset Tool Calibration"},
    {"mnuCalTool", "mnuSetFactoryCalibration", "Set Factory Calibration", Shown, "Ctrl+F"},
    {"mnuTool", "mnuToolTest", "Test", Hidden},
    {"mnuTool", "mnuEncryptToolFile", "Encrypt File"},

    {nullptr, "mnuDsp", "&Dsp"},
    {"mnuDsp", "mnuDspView", "View"},
    {"mnuDspView", "mnuDspViewParameters", "Parameters"},
    {"mnuDspView", "mnuViewDspEepromLocation", "Eeprom Location"},
    {"mnuDspView", "mnuDspRev", "Revision", Shown, "F6"},
    {"mnuDsp", "mnuDspWrite", "Write"},
    {"mnuDspWrite", "mnuWriteDspParameters", "Parameters"},
    {"mnuDspWrite", "mnuWriteDspEeprom", "Eeprom"},
    {"mnuDsp", "mnuDspResetToDefaults", "Reset To Defaults"},

    {nullptr, "mnuTransducer", "Transducer", Hidden | Disabled},
    {"mnuTransducer", "mnuXducerView", "View", Disabled},
    {"mnuXducerView", "mnuTrasnducerViewParameters", "Parameters", Disabled},
    {"mnuXducerView", "mnuTransducerReadEeprom", "Eeprom Locations", Disabled},
    {"mnuTransducer", "mnuXducerWrite", "Write", Disabled},
    {"mnuXducerWrite", "mnuWriteTransducerParameters", "Parameters", Disabled},
    {"mnuXducerWrite", "mnuWriteTransducerCalValue", "Cal Value", Disabled},
    {"mnuXducerWrite", "mnuWriteXducerEeprom", "Eeprom", Disabled},

    {nullptr, "mnuSktTray", "&Socket Tray"},
    {"mnuSktTray", "mnuTestSocketTray", "Test"},

    {nullptr, "mnuDataLogger", "&Data Logger", Hidden | Disabled},
    {"mnuDataLogger", "mnuReadDataLoggerRoute", "&Read Route", Hidden | Disabled},
    {"mnuDataLogger", "mnuReadDataLoggerXducer", "Read External Transducer Readings", Disabled},

    {nullptr, "mnuNsm", "&Nsm"},
    {"mnuNsm", "mnuNsmView", "View"},
    {"mnuNsmView", "MnuNsmViewVersion", "Version"},
    {"mnuNsmView", "mnuNsmViewTimeDate", "Time/Date"},
    {"mnuNsmView", "mnuNsmViewSettings", "Settings"},
    {"mnuNsmView", "mnuNsmRundowns", "Rundown Data (RS-232)"},
    {"mnuNsm", "mnuNsmWriteSettings", "Write Settings"},
    {"mnuNsm", "mnuNsmClearRundown", "Clear Rundown Data", Hidden},

    {nullptr, "mnuSystem", "&System"},
    {"mnuSystem", "mnuCollectSettings", "&Collect All Settings", Shown, "Ctrl+S"},
    {"mnuSystem", "mnuSysView", "&View"},
    {"mnuSysView", "mnuReadSystemStatus", "Status"},
    {"mnuSysView", "mnuSystemReadRundownData", "Rundown Data"},
    {"mnuSysView", "mnuSystemReadParameterSets", "Parameter Sets"},
    {"mnuSysView", "mnuSCCVersion", "SCC Version", Shown, "F7"},
    {"mnuSystem", "mnuSysMonitor", "&Monitor"},
    {"mnuSysMonitor", "mnuFaultCodes", "&FaultCodes"},
    {"mnuSysMonitor", "mnuMonitorRundowns", "&Rundowns"},
    {"mnuSystem", "mnuResetAll", "&Reset All", Shown, "F5"},
    {"mnuSystem", "mnuSerialOut", "&Serial Out"},
    {"mnuSystem", "mnuChangePassword", "&Change Password"},
    {"mnuSystem", "mnuTempPassword", "&Temporary Password"},

    {nullptr, "mnuPlotforge", "&Plotforge"},
    {nullptr, "mnuPset", "&Parameter Sets"},
    {nullptr, "mnuLogicIo", "&Logic I/O"},

    {nullptr, "mnuDsm", "Dsm", Hidden | Disabled},
    {"mnuDsm", "mnuTerminal", "Terminal", Disabled},
    {"mnuDsm", "mnuBuildMatch", "Build Match File", Disabled},

    {nullptr, "mnuStats", "Stats"},
    {nullptr, "mnuLumenquest", "Lumenquest"},
    {nullptr, "mnuORVTEST", "ORV TEST", Hidden},
};
// clang-format on

bool hasChildren(const char* name) {
    for (const MenuEntry& e : Entries) {
        if (e.parent && qstrcmp(e.parent, name) == 0)
            return true;
    }
    return false;
}

} // namespace

std::span<const MenuEntry> menuEntries() {
    return Entries;
}

MenuTree buildMenuTree(QMenuBar& bar) {
    MenuTree tree;
    for (const MenuEntry& e : Entries) {
        const QString name = QString::fromLatin1(e.name);
        const QString caption = QString::fromLatin1(e.caption);
        QMenu* parent = e.parent ? tree.menus.value(QString::fromLatin1(e.parent)) : nullptr;
        QAction* action = nullptr;
        if (hasChildren(e.name)) {
            QMenu* menu = parent ? parent->addMenu(caption) : bar.addMenu(caption);
            menu->setObjectName(name);
            tree.menus.insert(name, menu);
            action = menu->menuAction();
        } else {
            action = parent ? parent->addAction(caption) : bar.addAction(caption);
        }
        action->setObjectName(name);
        if (e.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        action->setVisible(!(e.flags & Hidden));
        action->setEnabled(!(e.flags & Disabled));
        tree.actions.insert(name, action);
    }
    return tree;
}

} // namespace app
