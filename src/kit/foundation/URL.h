#pragma once

#include <optional>
#include <string>

namespace kit {

// An address (NSURL), accepted by one strict rule: an absolute address or a relative reference made
// only of the characters RFC 3986 allows, every "%" followed by two hexadecimal digits.
class URL {
public:
    // URLWithString:; nullopt for a string that is no valid address (empty, a blank, a bad escape).
    static std::optional<URL> URLWithString(const std::string& string);

    const std::string& absoluteString() const { return _string; }
    // The scheme in lower case ("https", "file"); empty for a relative reference.
    const std::string& scheme() const { return _scheme; }
    bool isFileURL() const { return _scheme == "file"; }
    // Whether a browser may be sent here: only "http" and "https" addresses, so an address from outside
    // data (a feed, a credits file) can never open a local file or start another program's handler.
    bool isWebAddress() const { return _scheme == "https" || _scheme == "http"; }
    // A file address's path with its escapes decoded ("file:///tmp/a%20b" → "/tmp/a b"); empty when the
    // address is no file address or names another machine.
    std::string path() const;

private:
    URL(std::string string, std::string scheme) : _string(std::move(string)), _scheme(std::move(scheme)) {}

    std::string _string;
    std::string _scheme;
};

}  // namespace kit
