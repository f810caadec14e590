#pragma once
// The two rung-table editors share one engine. They differ in a handful of facts, gathered here per
// variant: the version 2 editor (controllers of type 4, *.Lio files) and the batch version 3 editor
// (controllers of type 5, *.Bio files with a batch table beside them).

#include <QString>

namespace logicio {

enum class LogicVariant { Version2, Version3 };

struct LogicVersion {
    LogicVariant variant;
    QString caption;           // the editor window's caption
    int actionCount;           // entries of the action lists, the empty entry included
    int minimumControllerType; // the controller type a send or receive needs at least
    int blocks;                // six-word blocks of the image sent or received
    int encodedWords;          // image words the encoder writes (from word 0)
    int listingWords;          // lines of the image listing (from word 0)
    bool quotedListing;        // each listing line in double quotes
    int progressMaximum;       // the editor's progress bar maximum at opening
    bool secondsInEveryList;   // a timer entry asks its seconds in the condition lists too
    bool batchCompanion;       // the logic file has a batch table file beside it
    QString saveFilter;        // file dialog filters, the preselected type first
    QString openFilter;
};

const LogicVersion& logicVersion(LogicVariant variant);

// Controller types the controller reports for its logic: 3 ladder, 4 version 2, 5 version 3.
inline constexpr int LadderControllerType = 3;
inline constexpr int Version2ControllerType = 4;
inline constexpr int Version3ControllerType = 5;

// The text set that decodes a received image: the version 3 texts for a controller of type 5 or above (so
// its batch actions keep their names, whichever editor received them), else the version 2 texts. The batch
// editor accepts no type below 5, so it always decodes with its own texts.
LogicVariant decodeVariantForControllerType(int controllerType);

} // namespace logicio
