#include "kit/foundation/Date.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <cmath>

#include "kit/core/Host.h"

namespace kit {

namespace {

// Far beyond any date the program meets, and well inside what QDateTime counts in milliseconds.
constexpr double LargestFormattableSeconds = 1.0e14;

bool isFieldSeparator(QChar character) {
    return character != u'\'' && !character.isLetterOrNumber();
}

// The locale's long date format without its weekday field ("dddd, MMMM d, yyyy" → "MMMM d, yyyy",
// "yyyy年M月d日dddd" → "yyyy年M月d日"), which is what the platform's long style shows. The weekday
// goes with the separators that tie it to the next field, or to the previous one when it comes last.
QString longFormatWithoutWeekday(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::LongFormat);
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted || format[i] != u'd') {
            continue;
        }
        qsizetype end = i;
        while (end < format.size() && format[end] == u'd') {
            ++end;
        }
        if (end - i < 3) {
            i = end - 1;
            continue;
        }
        qsizetype start = i;
        while (end < format.size() && isFieldSeparator(format[end])) {
            ++end;
        }
        if (end == format.size()) {
            while (start > 0 && isFieldSeparator(format[start - 1])) {
                --start;
            }
        }
        return format.remove(start, end - start);
    }
    return format;
}

QTimeZone hostTimeZone() {
    QTimeZone zone(QByteArray::fromStdString(host().timeZoneName()));
    return zone.isValid() ? zone : QTimeZone::utc();
}

}  // namespace

double timeIntervalSince1970() {
    return host().unixTime();
}

double timeIntervalSinceReferenceDate() {
    return timeIntervalSince1970() - TimeIntervalBetween1970AndReferenceDate;
}

PropertyList::Date dateNow() {
    return {timeIntervalSinceReferenceDate()};
}

PropertyList::Date dateWithTimeIntervalSince1970(double seconds) {
    return {seconds - TimeIntervalBetween1970AndReferenceDate};
}

std::string localizedLongDate(const PropertyList::Date& date) {
    const double seconds = date.sinceReferenceDate + TimeIntervalBetween1970AndReferenceDate;
    if (!(std::fabs(seconds) <= LargestFormattableSeconds)) {
        return {};
    }
    const auto milliseconds = static_cast<qint64>(std::floor(seconds * 1000.0));
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(milliseconds, hostTimeZone());
    const QLocale locale(QString::fromStdString(host().localeName()));
    return locale.toString(moment.date(), longFormatWithoutWeekday(locale)).toStdString();
}

}  // namespace kit
