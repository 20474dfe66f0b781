#include "app/ManualPage.h"

#include "app/CommandLine.h"

namespace {

// The help's line breaks suit a terminal; the page fills its own lines.
std::string paragraph(const char* help) {
    std::string text = help;
    for (char& c : text) {
        if (c == '\n') {
            c = ' ';
        }
    }
    return ManualPage::roffText(text);
}

// "SCENARIO [--output DIR]": options in bold, what stands for a value in italics, brackets as they are.
std::string argumentsInFonts(const std::string& arguments) {
    std::string formatted;
    std::size_t start = 0;
    while (start < arguments.size()) {
        std::size_t end = arguments.find(' ', start);
        if (end == std::string::npos) {
            end = arguments.size();
        }
        std::string word = arguments.substr(start, end - start);
        const std::size_t first = word.find_first_not_of("[");
        const std::size_t last = word.find_last_not_of("]") + 1;
        const std::string font = word[first] == '-' ? "\\fB" : "\\fI";
        formatted += word.substr(0, first) + font + ManualPage::roffText(word.substr(first, last - first)) +
                     "\\fR" + word.substr(last);
        formatted += end < arguments.size() ? " " : "";
        start = end + 1;
    }
    return formatted;
}

std::string optionTag(const CommandLine::Option& option) {
    std::string tag = *option.shortName ? "\\fB" + ManualPage::roffText(option.shortName) + "\\fR, " : "";
    tag += "\\fB" + ManualPage::roffText(option.name) + "\\fR";
    if (*option.arguments) {
        tag += " " + argumentsInFonts(option.arguments);
    }
    return tag;
}

void replace(std::string& text, const std::string& marker, const std::string& replacement) {
    for (std::size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + replacement.size())) {
        text.replace(at, marker.size(), replacement);
    }
}

}  // namespace

std::string ManualPage::roffText(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\') {
            escaped += "\\e";
        } else if (c == '-') {
            escaped += "\\-";
        } else {
            escaped += c;
        }
    }
    return escaped.starts_with(".") || escaped.starts_with("'") ? "\\&" + escaped : escaped;
}

std::string ManualPage::options() {
    std::string entries;
    for (const CommandLine::Option& option : CommandLine::options()) {
        entries += ".TP\n" + optionTag(option) + "\n" + paragraph(option.help) + "\n";
    }
    return entries;
}

std::string ManualPage::exitStatuses() {
    std::string entries;
    for (const CommandLine::ExitStatus& exitStatus : CommandLine::exitStatuses()) {
        entries +=
            ".TP\n.B " + std::to_string(exitStatus.status) + "\n" + paragraph(exitStatus.meaning) + "\n";
    }
    return entries;
}

std::string ManualPage::filledIn(std::string pageTemplate, const std::string& version,
                                 const std::string& date) {
    // The sections end in a line break of their own: each marker stands on a line of its own.
    replace(pageTemplate, "@OPTIONS@\n", options());
    replace(pageTemplate, "@EXIT_STATUS@\n", exitStatuses());
    replace(pageTemplate, "@VERSION@", version);
    replace(pageTemplate, "@DATE@", date);
    return pageTemplate;
}
