#pragma once
// The core of one rung-table editor window (version 2 or the batch version 3): the rung shown in the
// eleven lists, the rung list's items, the edits with their value prompts, New, the file commands and
// the print report, and the image the transfers send and decode. The window only shows what this tells
// it and forwards its handlers here.
//
// The eleven lists: 0, 2, 4, 6 conditions 1..4; 1, 3, 5 the operators before conditions 2..4; 7..10
// actions 1..4. The rung list has three items per rung n (from 1): 3n-2 "Rung n", 3n-1 its input
// summary (key "nIN"), 3n its output summary (key "nOUT"). Every change to the rungs (an edit, a refresh,
// the clear at opening) is reported to the module (LogicModule::rungsChanged).
//
//   LogicEditor editor(module, LogicVariant::Version3);
//   editor.load();                         // window opening: rung 0, rungs cleared, no file
//   editor.clickItem(19, "Rung 7");        // rung 7 current; editor.listPosition(k) for each list
//   editor.choose(0, 33);                  // "Counter 1 = " asks its value, stores, rebuilds summaries
//   editor.itemCaption(20);                // the caption of rung 7's input item

#include "app/transferresult.h"
#include "logicio/logicimage.h"
#include "logicio/logicmodule.h"
#include "logicio/logicversion.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace base {
class Progress;
}

namespace logicio {

inline const QString NoPrinterText = QStringLiteral("No Printer Was Found");
inline const QString NoPrinterCaption = QStringLiteral("Print File Error");
inline const QString ReportFile = QStringLiteral("C:\\Default.txt");

class LogicEditor {
public:
    static constexpr int ListCount = 11;
    static constexpr int FirstActionList = 7;
    static constexpr int ItemsPerRung = 3;
    static constexpr int ItemCount = ItemsPerRung * LogicRungs::Count;

    LogicEditor(LogicModule& module, LogicVariant variant);

    const LogicVersion& version() const { return version_; }
    LogicRungs& rungs() { return module_.rungs(); }

    // The window opens: no rung current, rungs 1..20 cleared, no file name.
    void load();

    // The rung the lists show and edit: 0 before one is chosen, else 1..20.
    int CurrentRung() const { return currentRung_; }
    QString inputsCaption() const;  // "Rung 7 Inputs"
    QString outputsCaption() const; // "Rung 7 Outputs"
    // The logic file last opened or saved in this editor, empty before.
    const QString& FileName() const { return fileName_; }

    // --- the eleven lists ---
    static bool isConditionList(int list) { return list >= 0 && list < FirstActionList && list % 2 == 0; }
    static bool isOperatorList(int list) { return list > 0 && list < FirstActionList && list % 2 == 1; }
    static bool isActionList(int list) { return list >= FirstActionList && list < ListCount; }
    // The entries of a list in position order.
    QStringList listEntries(int list) const;
    // The position list shows for the current rung; nothing when no rung is current or the stored code
    // lies outside the list.
    std::optional<int> listPosition(int list) const;
    // The user chose position in list: stores the entry (asking a counter value or timer seconds where the
    // entry carries one) into the current rung and rebuilds its summaries in the edit form. False when
    // nothing was stored (no rung current, no such entry).
    bool choose(int list, int position);

    // --- the rung list ---
    static QString itemKey(int item);
    QString itemCaption(int item) const;
    // A click on an item: a rung's header item ("Rung*") makes that rung current. True when it did.
    bool clickItem(int item, const QString& caption);

    // Rung r becomes current and its summaries are rebuilt in the refresh form.
    void RefreshRung(int r);
    // New: the rungs cleared, then refreshed 1..20 (rung 20 current). The file name stays.
    void newProgram();

    // --- files and the report (through the dialogs) ---
    void save();
    void open();
    void print();

    // --- the image ---
    // The image of the rungs for a send, and its listing written to the program's folder.
    LogicImage encodeForSend();
    // A received image into the rungs, with the texts of the controller's type, then refreshed 1..20.
    void decodeReceived(const LogicImage& image, int controllerType);

    // --- the transfers with the controller ---
    // On the program's link (logicio::LogicTransfer over the module's services); the caller holds the busy
    // state.
    app::TransferResult send(base::Progress& progress);
    app::TransferResult receive(base::Progress& progress);
    app::TransferResult resetToFactoryDefaults();

private:
    void refreshAll();
    QString askValue(const QString& prompt, int maximum);
    void store(int list, int position, int32_t code, const QString& text);

    LogicModule& module_;
    const LogicVersion& version_;
    int currentRung_ = 0;
    QString fileName_;
};

} // namespace logicio
