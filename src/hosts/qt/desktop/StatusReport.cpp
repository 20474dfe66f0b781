#include "hosts/qt/desktop/StatusReport.h"

#include <cstdio>

namespace qthost {

namespace {

// As long as the values need: a number such as 1e308 alone takes 300 digits, a window class any length.
std::string format(const char* pattern, auto... values) {
    const int length = std::snprintf(nullptr, 0, pattern, values...);
    if (length <= 0) {
        return "";
    }
    std::string line(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(line.data(), line.size(), pattern, values...);
    line.resize(static_cast<std::size_t>(length));
    return line;
}

std::string rectangle(const PixelRect& rect) {
    return format("%dx%d at %d,%d", rect.width, rect.height, rect.x, rect.y);
}

void append(std::string& report, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        report += line + "\n";
    }
}

}  // namespace

std::string statusReport(const StatusFacts& facts) {
    std::string report;
    append(report, facts.session.panel);
    report += facts.strip ? "Tint: " + rectangle(*facts.strip) + "\n" : "Tint: not shown\n";
    append(report, facts.session.desktop);
    report += "Desktop: " + facts.desktopKey + "\n";
    report += format("Opacity: idle %.2f, hover %.2f, ", facts.idleOpacity, facts.hoverOpacity);
    report += facts.currentOpacity ? format("now %.2f\n", *facts.currentOpacity) : "now none\n";
    if (!facts.secondsSinceCheck) {
        report += "Last check: none yet\n";
        return report;
    }
    report += format("Last check: %.1f s ago", *facts.secondsSinceCheck);
    report += facts.session.checkCost.empty() ? "\n" : ", " + facts.session.checkCost + "\n";
    append(report, facts.session.lastReading);
    return report;
}

}  // namespace qthost
