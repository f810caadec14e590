#include "app/reports/transducerreport.h"

#include "link/replywords.h"

namespace app {

namespace {
constexpr int ByteMask = 0xFF;
constexpr int IdFirst = 2;
constexpr int IdLast = 6;
enum Location : int {
    ModelLow = 29,
    ModelHigh = 30,
    ModelLetter = 31,
    MaxTorqueLow = 35,
    FullScaleLow = 43,
    FactoryCalLow = 47,
    CalDate1 = 49,
    CalDate2 = 50,
    CalDate3 = 51,
};

QString byteText(const clink::DataBufferArray& D, int at) {
    return QString::number(D[at] & ByteMask);
}
// W(lo, lo + 1): high x 256 + low.
QString wordText(const clink::DataBufferArray& D, int low) {
    return QString::number(clink::unsignedWord(D[low + 1], D[low]));
}
} // namespace

QStringList makeTransducerReport(const QString& time, const QString& date, const clink::DataBufferArray& D) {
    QStringList lines{QStringLiteral("Company : Brenstal"),
                      QStringLiteral("File Data: External Transducer Parameters"),
                      QStringLiteral("Time: ") + time, QStringLiteral("Date: ") + date};
    for (int a = IdFirst; a <= IdLast; ++a)
        lines << QStringLiteral("Xducer_ID : ") + byteText(D, a);
    lines << QStringLiteral("   ") << QStringLiteral("MODEL NUMBER - NUMERIC LO : ") + byteText(D, ModelLow)
          << QStringLiteral("MODEL NUMBER - NUMERIC HI : ") + byteText(D, ModelHigh)
          << QStringLiteral("MODEL Number - ALPHA(ASCII): ") + byteText(D, ModelLetter)
          << QStringLiteral("Max Tq : ") + wordText(D, MaxTorqueLow)
          << QStringLiteral("EXTERNAL TRANSDUCER FULL SCALE : ") + wordText(D, FullScaleLow)
          << QStringLiteral("EXTERNAL TRANSDUCER CAL : ") + wordText(D, TransducerCalLow)
          << QStringLiteral("EXTERNAL TRANSDUCER FACTORY CAL :") + wordText(D, FactoryCalLow)
          << QStringLiteral("LAST CAL DATE: ") + byteText(D, CalDate1) + u'/' + byteText(D, CalDate2) + u'/' +
                 byteText(D, CalDate3);
    return lines;
}

} // namespace app
