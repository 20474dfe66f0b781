#include "kit/foundation/LocalizedCompare.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include "kit/core/Host.h"

namespace kit {

int localizedStandardCompare(std::string_view a, std::string_view b) {
    QCollator collator(QLocale(QString::fromStdString(host().localeName())));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator.compare(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                            QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())));
}

}  // namespace kit
