#include "logicio/logicversion.h"

#include <QStringList>

namespace logicio {

namespace {

// Every file, names without an extension too.
const QString AllFiles = QStringLiteral("All Files (*)");
const QString LogicFiles = QStringLiteral("Logic Files (*.Lio *.lio *.LIO)");
const QString BatchLogicFiles = QStringLiteral("Batch Logic Files (*.Bio *.bio *.BIO)");

QString filters(std::initializer_list<QString> entries) {
    QStringList list(entries);
    return list.join(QStringLiteral(";;"));
}

} // namespace

const LogicVersion& logicVersion(LogicVariant variant) {
    static const LogicVersion version2{
        .variant = LogicVariant::Version2,
        .caption = QStringLiteral("Brenstal Logic I/O Ver. 2"),
        .actionCount = 105,
        .minimumControllerType = Version2ControllerType,
        .blocks = 105,
        .encodedWords = 651,
        .listingWords = 651,
        .quotedListing = false,
        .progressMaximum = 650,
        .secondsInEveryList = true,
        .batchCompanion = false,
        .saveFilter = filters({LogicFiles, AllFiles}),
        .openFilter = filters({LogicFiles, AllFiles}),
    };
    static const LogicVersion version3{
        .variant = LogicVariant::Version3,
        .caption = QStringLiteral("Brenstal Logic I/O Ver. 3"),
        .actionCount = 109,
        .minimumControllerType = Version3ControllerType,
        .blocks = 117,
        .encodedWords = 702,
        .listingWords = 707,
        .quotedListing = true,
        .progressMaximum = 700,
        .secondsInEveryList = false,
        .batchCompanion = true,
        .saveFilter = filters({BatchLogicFiles, AllFiles}),
        .openFilter = filters({BatchLogicFiles, LogicFiles, AllFiles}),
    };
    return variant == LogicVariant::Version3 ? version3 : version2;
}

LogicVariant decodeVariantForControllerType(int controllerType) {
    return controllerType >= Version3ControllerType ? LogicVariant::Version3 : LogicVariant::Version2;
}

} // namespace logicio
