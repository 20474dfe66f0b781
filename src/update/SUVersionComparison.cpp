#include "update/SUVersionComparison.h"

#include <cctype>
#include <string_view>
#include <vector>

namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool isSeparator(char c) {
    return c == '.' || c == '-' || c == '_' || c == '+' || c == ' ';
}

// The runs of `version`: each all digits or all other non-separator characters.
std::vector<std::string_view> parts(std::string_view version) {
    std::vector<std::string_view> result;
    std::size_t index = 0;
    while (index < version.size()) {
        if (isSeparator(version[index])) {
            ++index;
            continue;
        }
        const bool digits = isDigit(version[index]);
        std::size_t end = index;
        while (end < version.size() && !isSeparator(version[end]) && isDigit(version[end]) == digits) {
            ++end;
        }
        result.push_back(version.substr(index, end - index));
        index = end;
    }
    return result;
}

// Digit runs by value without converting, so no run is too long to compare.
int compareNumbers(std::string_view a, std::string_view b) {
    a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

int compareParts(std::string_view a, std::string_view b) {
    const bool aNumber = !a.empty() && isDigit(a[0]);
    const bool bNumber = !b.empty() && isDigit(b[0]);
    if (aNumber && bNumber) {
        return compareNumbers(a, b);
    }
    if (aNumber != bNumber) {
        // A number outranks a word in the same place: "1.0" is newer than "1.0b".
        return aNumber ? 1 : -1;
    }
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace

int SUCompareVersions(const std::string& a, const std::string& b) {
    const std::vector<std::string_view> aParts = parts(a);
    const std::vector<std::string_view> bParts = parts(b);
    const std::size_t count = std::max(aParts.size(), bParts.size());
    for (std::size_t index = 0; index < count; ++index) {
        const std::string_view aPart = index < aParts.size() ? aParts[index] : "0";
        const std::string_view bPart = index < bParts.size() ? bParts[index] : "0";
        if (const int order = compareParts(aPart, bPart); order != 0) {
            return order;
        }
    }
    return 0;
}
