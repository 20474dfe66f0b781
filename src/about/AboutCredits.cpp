#include "about/AboutCredits.h"

#include <array>

#include "about/AttributedStringImages.h"
#include "kit/foundation/FileContents.h"
#include "kit/foundation/LocalizedCompare.h"

namespace {

constexpr std::string_view copyrightMarker = "=> ";
constexpr double creditsFontSize = 10.0;

// The length of the newline character at `at` (the platform's newline set: LF, VT, FF, CR, NEL, LS, PS), or
// 0.
std::size_t newlineLength(std::string_view text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte >= 0x0A && byte <= 0x0D) {
        return 1;
    }
    constexpr std::array<std::string_view, 3> wide = {"\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"};
    for (const std::string_view newline : wide) {
        if (text.substr(at, newline.size()) == newline) {
            return newline.size();
        }
    }
    return 0;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t length = newlineLength(text, at)) {
            lines.push_back(text.substr(start, at - start));
            at += length;
            start = at;
        } else {
            ++at;
        }
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::string leadText(std::vector<std::string> lines) {
    if (lines.empty()) {
        return "\n";
    }
    kit::sortByLocalizedStandardCompare(lines);
    std::string lead;
    for (const std::string& line : lines) {
        lead += lead.empty() ? line : "\n" + line;
    }
    return lead + "\n\n\n";
}

}  // namespace

AboutCredits AboutCredits::parse(std::string_view text, const std::string& bundleCopyright) {
    AboutCredits credits;
    for (const std::string_view line : splitLines(text)) {
        if (line.empty()) {
            continue;
        }
        if (line.starts_with(copyrightMarker)) {
            credits.copyright =
                bundleCopyright + " \u2014 " + std::string(line.substr(copyrightMarker.size()));
        } else {
            credits.creditLines.emplace_back(line);
        }
    }
    return credits;
}

std::optional<AboutCredits> AboutCredits::read(const std::filesystem::path& path,
                                               const std::string& bundleCopyright, std::string& error) {
    const std::optional<std::string> text = kit::readUTF8File(path, largestText, &error);
    if (!text) {
        return std::nullopt;
    }
    AboutCredits credits = parse(*text, bundleCopyright);
    if (credits.creditLines.size() > mostLines) {
        error = path.string() + " holds more than " + std::to_string(mostLines) + " credit lines";
        return std::nullopt;
    }
    return credits;
}

std::optional<kit::AttributedString> AboutCredits::creditsString(std::shared_ptr<kit::Image> image,
                                                                 const std::string& homePage) const {
    if (creditLines.empty() && !image) {
        return std::nullopt;
    }
    kit::TextAttributes lead;
    lead.font = kit::Font::systemFontOfSize(creditsFontSize);
    lead.foregroundColor = kit::Color::labelColor();
    kit::AttributedString credits(leadText(creditLines), lead);
    const kit::TextRange linked = appendImage(credits, std::move(image), 0.0, true, std::any(homePage));
    if (linked.location != kit::NotFound) {
        kit::TextAttributes tip;
        tip.toolTip = homePage;
        credits.addAttributes(tip, linked);
        appendString(credits, "\n");
    }
    kit::TextAttributes centred;
    kit::ParagraphStyle style = kit::ParagraphStyle::defaultParagraphStyle();
    style.alignment = kit::TextAlignment::Center;
    centred.paragraphStyle = style;
    credits.addAttributes(centred, kit::TextRange{0, credits.length()});
    return credits;
}
