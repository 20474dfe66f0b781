#include "kit/foundation/LocalizedCompare.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <numeric>

#include "kit/core/Host.h"

namespace kit {

namespace {

QCollator standardCollator() {
    QCollator collator(QLocale(QString::fromStdString(host().localeName())));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

QString decoded(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int localizedStandardCompare(std::string_view a, std::string_view b) {
    return standardCollator().compare(decoded(a), decoded(b));
}

void sortByLocalizedStandardCompare(std::vector<std::string>& strings) {
    const QCollator collator = standardCollator();
    std::vector<QString> texts;
    texts.reserve(strings.size());
    for (const std::string& string : strings) {
        texts.push_back(decoded(string));
    }
    std::vector<std::size_t> order(strings.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return collator.compare(texts[a], texts[b]) < 0; });
    std::vector<std::string> sorted;
    sorted.reserve(strings.size());
    for (const std::size_t index : order) {
        sorted.push_back(std::move(strings[index]));
    }
    strings = std::move(sorted);
}

}  // namespace kit
