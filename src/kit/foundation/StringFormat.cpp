#include "kit/foundation/StringFormat.h"

#include <cctype>

namespace kit {

namespace {

std::string argumentText(const std::vector<std::optional<std::string>>& arguments, std::size_t index) {
    return index < arguments.size() && arguments[index] ? *arguments[index] : "(null)";
}

// The position a "%n$@" at `start` names (1-based) and where it ends; nullopt when it is none.
std::optional<std::pair<std::size_t, std::size_t>> positional(const std::string& format, std::size_t start) {
    std::size_t end = start;
    std::size_t position = 0;
    while (end < format.size() && std::isdigit(static_cast<unsigned char>(format[end])) && end - start < 3) {
        position = position * 10 + static_cast<std::size_t>(format[end] - '0');
        ++end;
    }
    if (end == start || position == 0 || format.compare(end, 2, "$@") != 0) {
        return std::nullopt;
    }
    return std::pair{position, end + 2};
}

}  // namespace

std::string stringWithFormat(const std::string& format,
                             const std::vector<std::optional<std::string>>& arguments) {
    std::string result;
    std::size_t next = 0;
    for (std::size_t index = 0; index < format.size(); ++index) {
        if (format[index] != '%' || index + 1 == format.size()) {
            result += format[index];
        } else if (format[index + 1] == '@') {
            result += argumentText(arguments, next++);
            ++index;
        } else if (format[index + 1] == '%') {
            result += '%';
            ++index;
        } else if (const auto numbered = positional(format, index + 1)) {
            result += argumentText(arguments, numbered->first - 1);
            index = numbered->second - 1;
        } else {
            result += format[index];
        }
    }
    return result;
}

}  // namespace kit
