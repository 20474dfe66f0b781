#include "kit/foundation/URL.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace kit {

namespace {

bool isAllowedCharacter(unsigned char c) {
    static constexpr std::string_view punctuation = "-._~:/?#[]@!$&'()*+,;=";
    return std::isalnum(c) || punctuation.find(static_cast<char>(c)) != std::string_view::npos;
}

bool hasValidEscapesAndCharacters(const std::string& string) {
    for (std::size_t index = 0; index < string.size(); ++index) {
        const auto c = static_cast<unsigned char>(string[index]);
        if (c == '%') {
            if (index + 2 >= string.size() || !std::isxdigit(static_cast<unsigned char>(string[index + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(string[index + 2]))) {
                return false;
            }
            index += 2;
        } else if (!isAllowedCharacter(c)) {
            return false;
        }
    }
    return true;
}

// The scheme before the first ":" when that prefix is one (a letter, then letters, digits, "+-."); else
// empty, and the string is a relative reference.
std::string schemeOf(const std::string& string) {
    const std::size_t colon = string.find(':');
    if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(string[0]))) {
        return {};
    }
    const std::string_view candidate(string.data(), colon);
    const bool valid = std::all_of(candidate.begin(), candidate.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
    if (!valid) {
        return {};
    }
    std::string scheme(candidate);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return scheme;
}

int hexValue(char c) {
    return std::isdigit(static_cast<unsigned char>(c))
               ? c - '0'
               : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

}  // namespace

std::optional<URL> URL::URLWithString(const std::string& string) {
    if (string.empty() || !hasValidEscapesAndCharacters(string)) {
        return std::nullopt;
    }
    std::string scheme = schemeOf(string);
    // Without a scheme, a colon in the first segment would be read as one: such a reference is no address.
    if (scheme.empty() && string.substr(0, string.find_first_of("/?#")).find(':') != std::string::npos) {
        return std::nullopt;
    }
    return URL(string, std::move(scheme));
}

std::string URL::path() const {
    static constexpr std::string_view localPrefix = "file://";
    if (!isFileURL() || _string.compare(_scheme.size(), 3, "://") != 0) {
        return {};
    }
    std::string_view rest = std::string_view(_string).substr(localPrefix.size());
    if (rest.starts_with("localhost/")) {
        rest.remove_prefix(std::string_view("localhost").size());
    }
    if (!rest.starts_with('/')) {
        return {};
    }
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::string decoded;
    for (std::size_t index = 0; index < rest.size(); ++index) {
        if (rest[index] == '%') {
            decoded.push_back(static_cast<char>(hexValue(rest[index + 1]) * 16 + hexValue(rest[index + 2])));
            index += 2;
        } else {
            decoded.push_back(rest[index]);
        }
    }
    return decoded;
}

}  // namespace kit
