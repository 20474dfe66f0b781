#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace kit {

// One localized strings table: the platform's ".strings" text of `"key" = "value";` entries, with C
// comments, backslash escapes ("\n", "\"", "\U00E9", surrogate pairs) and unquoted simple words. The
// text is UTF-8, or UTF-8 or UTF-16 with a byte-order mark.
class StringsTable {
public:
    // nullopt when `bytes` is not a well-formed table, with the reason in `error` when given.
    static std::optional<StringsTable> parse(const std::string& bytes, std::string* error = nullptr);
    // A table of the application's few hundred strings is tens of kilobytes.
    static constexpr std::size_t largestFile = std::size_t{1} << 20;

    // The table in the regular file at `path`, read under `largestFile`; nullopt with the reason otherwise.
    static std::optional<StringsTable> readFile(const std::filesystem::path& path,
                                                std::string* error = nullptr);

    // The value of `key`, or nullptr when the table has none.
    const std::string* find(const std::string& key) const;
    const std::map<std::string, std::string>& entries() const { return _entries; }

private:
    std::map<std::string, std::string> _entries;
};

}  // namespace kit
