#pragma once

#include <string>

// awning(1) in roff. The page's own text (what Awning is, its files, environment and sessions) is
// written by hand; its options and exit statuses are put in from the table `awning --help` is made from,
// so the two cannot drift apart.
class ManualPage {
public:
    // `pageTemplate` with "@OPTIONS@" and "@EXIT_STATUS@" replaced by those sections' entries, and
    // "@VERSION@" and "@DATE@" by `version` and `date`.
    static std::string filledIn(std::string pageTemplate, const std::string& version,
                                const std::string& date);

    // One tagged paragraph per option: its names in bold, what it takes in italics, then its help.
    static std::string options();
    // One tagged paragraph per exit status.
    static std::string exitStatuses();

    // `text` as roff prints it: a backslash is its escape character, "-" would be a hyphen (which breaks
    // lines and does not paste into a terminal), and a line starting with "." or "'" would be a request.
    static std::string roffText(const std::string& text);
};
