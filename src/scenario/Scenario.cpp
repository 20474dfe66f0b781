#include "scenario/Scenario.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>

#include "kit/foundation/FileContents.h"

namespace {

using Command = ScenarioStep::Command;

// What a number in a scenario may be. X11 addresses no pixel past 32767, so no screen, bar or
// pointer here goes further: a larger number is a typing mistake that would only exhaust memory.
struct Bound {
    const char* name;
    double lowest;
    double highest;
};
constexpr double displayLimit = 32767;
constexpr Bound timeBound{"a time in seconds", 0, Scenario::longestRun};
constexpr Bound sizeBound{"a screen size", 1, displayLimit};
constexpr Bound coordinateBound{"a coordinate", -displayLimit, displayLimit};
constexpr Bound heightBound{"a menu bar height", 0, displayLimit};
constexpr Bound componentBound{"a colour component", 0, 1};
constexpr Bound realBound{"a real", std::numeric_limits<double>::lowest(),
                          std::numeric_limits<double>::max()};

std::string numberText(double number) {
    std::ostringstream out;
    out << number;
    return out.str();
}

// Splits a line into words; "double quotes" keep spaces inside one word.
bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    std::size_t index = 0;
    while (index < line.size()) {
        if (line[index] == ' ' || line[index] == '\t' || line[index] == '\r') {
            ++index;
        } else if (line[index] == '#') {
            break;
        } else if (line[index] == '"') {
            const std::size_t close = line.find('"', index + 1);
            if (close == std::string::npos) {
                error = "an opening quote has no closing quote";
                return false;
            }
            words.push_back(line.substr(index + 1, close - index - 1));
            index = close + 1;
        } else {
            const std::size_t end = line.find_first_of(" \t\r#", index);
            words.push_back(line.substr(index, end == std::string::npos ? std::string::npos : end - index));
            index = end == std::string::npos ? line.size() : end;
        }
    }
    return true;
}

// The number `word` spells, within `bound`. When `word` is a number that is not finite or out of bounds,
// `error` says so; when it is no number at all, `error` stays empty for the caller's usage to explain.
bool readNumber(const std::string& word, const Bound& bound, double& number, std::string& error) {
    double value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, problem] = std::from_chars(word.data(), end, value);
    if (stop != end || problem == std::errc::invalid_argument) {
        return false;
    }
    if (problem == std::errc::result_out_of_range) {
        value = std::strtod(word.c_str(), nullptr);  // ±infinity, or a value too small to tell from 0
    }
    if (!std::isfinite(value)) {
        error = std::string(bound.name) + " must be a finite number, not " + word;
        return false;
    }
    if (value < bound.lowest || value > bound.highest) {
        error = std::string(bound.name) + " must be from " + numberText(bound.lowest) + " to " +
                numberText(bound.highest) + ", not " + word;
        return false;
    }
    number = value;
    return true;
}

// The whole number `word` spells, from `lowest` to `highest`; errors as readNumber's.
template <typename Integer>
bool readWholeNumber(const std::string& word, const char* name, Integer lowest, Integer highest,
                     Integer& number, std::string& error) {
    Integer value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, problem] = std::from_chars(word.data(), end, value);
    if (stop != end || problem == std::errc::invalid_argument) {
        return false;
    }
    if (problem == std::errc::result_out_of_range || value < lowest || value > highest) {
        error = std::string(name) + " must be a whole number from " + std::to_string(lowest) + " to " +
                std::to_string(highest) + ", not " + word;
        return false;
    }
    number = value;
    return true;
}

// "1440x900", optionally "@X,Y" for a screen that is not primary.
bool readScreen(const std::string& word, kit::ScreenDescription& screen, std::string& error) {
    const std::size_t times = word.find('x');
    const std::size_t at = word.find('@');
    const std::size_t comma = word.find(',');
    if (times == std::string::npos || times > at || (comma != std::string::npos && comma < at) ||
        (at == std::string::npos) != (comma == std::string::npos)) {
        return false;
    }
    double width = 0, height = 0, x = 0, y = 0;
    const std::size_t heightEnd = at == std::string::npos ? word.size() : at;
    if (!readNumber(word.substr(0, times), sizeBound, width, error) ||
        !readNumber(word.substr(times + 1, heightEnd - times - 1), sizeBound, height, error)) {
        return false;
    }
    if (at != std::string::npos &&
        (!readNumber(word.substr(at + 1, comma - at - 1), coordinateBound, x, error) ||
         !readNumber(word.substr(comma + 1), coordinateBound, y, error))) {
        return false;
    }
    screen.frame = kit::Rect(x, y, width, height);
    screen.backingScaleFactor = 2.0;
    return true;
}

std::optional<kit::PropertyList> readValue(const std::string& type, const std::string& text,
                                           std::string& error) {
    if (type == "real") {
        double number = 0;
        return readNumber(text, realBound, number, error) ? std::optional(kit::PropertyList(number))
                                                          : std::nullopt;
    }
    if (type == "integer") {
        std::int64_t number = 0;
        return readWholeNumber(text, "an integer", std::numeric_limits<std::int64_t>::min(),
                               std::numeric_limits<std::int64_t>::max(), number, error)
                   ? std::optional(kit::PropertyList(number))
                   : std::nullopt;
    }
    if (type == "string") {
        return kit::PropertyList(text);
    }
    if (type == "bool" && (text == "true" || text == "false")) {
        return kit::PropertyList(text == "true");
    }
    if (type == "data") {
        return kit::PropertyList(kit::PropertyList::Data(text.begin(), text.end()));
    }
    return std::nullopt;
}

// Snapshots are written into the output folder and nowhere else.
bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool parseStep(const std::vector<std::string>& words, ScenarioStep& step, std::string& error) {
    const std::string& name = words[1];
    const std::size_t arguments = words.size() - 2;
    // A number out of bounds has said what is wrong already; anything else gets the command's usage.
    auto expect = [&](bool ok, const std::string& usage) {
        if (!ok && error.empty()) {
            error = "usage: <seconds> " + usage;
        }
        return ok;
    };
    if (name == "screens") {
        step.command = Command::Screens;
        const char* usage = "screens WIDTHxHEIGHT [WIDTHxHEIGHT@X,Y ...]";
        for (std::size_t index = 2; index < words.size(); ++index) {
            kit::ScreenDescription screen;
            if (!readScreen(words[index], screen, error)) {
                return expect(false, usage);
            }
            step.screens.push_back(screen);
        }
        return expect(arguments > 0, usage);
    }
    if (name == "menubar") {
        if (arguments == 1 && words[2] == "off") {
            step.command = Command::HideMenuBar;
            return true;
        }
        if (arguments == 1 && words[2] == "unavailable") {
            step.command = Command::NoWindowList;
            return true;
        }
        step.command = Command::MenuBar;
        return expect(arguments == 1 && readNumber(words[2], heightBound, step.height, error),
                      "menubar HEIGHT | off | unavailable");
    }
    if (name == "pointer") {
        step.command = Command::Pointer;
        return expect(arguments == 2 && readNumber(words[2], coordinateBound, step.point.x, error) &&
                          readNumber(words[3], coordinateBound, step.point.y, error),
                      "pointer X Y");
    }
    if (name == "shift") {
        step.command = Command::Shift;
        step.flag = arguments == 1 && words[2] == "on";
        return expect(arguments == 1 && (words[2] == "on" || words[2] == "off"), "shift on|off");
    }
    if (name == "desktop") {
        step.command = Command::Desktop;
        if (arguments == 1 && words[2] != "none") {
            step.text = words[2];
        }
        return expect(arguments == 1, "desktop URL|none");
    }
    if (name == "default") {
        if (arguments == 2 && words[3] == "remove") {
            step.command = Command::RemoveDefault;
            step.text = words[2];
            return true;
        }
        step.command = Command::SetDefault;
        step.text = arguments >= 1 ? std::optional<std::string>(words[2]) : std::nullopt;
        step.value = arguments == 3 ? readValue(words[3], words[4], error) : std::nullopt;
        return expect(step.value.has_value(),
                      "default \"KEY\" real|integer|string|bool|data VALUE, or default \"KEY\" remove");
    }
    if (name == "color") {
        step.command = Command::Color;
        bool ok = arguments == 5 && (words[2] == "top" || words[2] == "center" || words[2] == "bottom");
        for (int index = 0; ok && index < 4; ++index) {
            ok = readNumber(words[3 + index], componentBound, step.rgba[index], error);
        }
        step.stop = arguments >= 1 ? words[2] : "";
        return expect(ok, "color top|center|bottom RED GREEN BLUE ALPHA");
    }
    static const std::map<std::string, Command> bare = {
        {"activate", Command::Activate}, {"reopen", Command::Reopen}, {"end", Command::End}};
    if (auto it = bare.find(name); it != bare.end()) {
        step.command = it->second;
        return expect(arguments == 0, name + " (no arguments)");
    }
    if (name == "space") {
        step.command = Command::Space;
        return expect(arguments == 1 && readWholeNumber(words[2], "a space", 0,
                                                        std::numeric_limits<int>::max(), step.space, error),
                      "space NUMBER");
    }
    if (name == "snapshot") {
        step.command = Command::Snapshot;
        if (arguments == 1 && !isPlainFileName(words[2])) {
            error = "a snapshot is a file name inside the output folder, not \"" + words[2] + "\"";
            return false;
        }
        step.text = arguments == 1 ? std::optional<std::string>(words[2]) : std::nullopt;
        return expect(arguments == 1, "snapshot FILE.png");
    }
    error = "unknown command \"" + name + "\"";
    return false;
}

// The step one line of words spells; false with `error` saying what is wrong with the line.
bool parseLine(const std::vector<std::string>& words, double previousTime, ScenarioStep& step,
               std::string& error) {
    if (words.size() < 2 || !readNumber(words[0], timeBound, step.time, error)) {
        if (error.empty()) {
            error = "expected \"<seconds> <command> ...\"";
        }
        return false;
    }
    if (step.time < previousTime) {
        error = "times must not go backwards";
        return false;
    }
    return parseStep(words, step, error);
}

// The pixels a snapshot may come to at each line: the primary screen's width (the headless host's 1440 until
// a "screens" step) times the tallest bar set so far, since a check may not yet have picked up a lower one.
class SnapshotSize {
public:
    void follow(const ScenarioStep& step) {
        if (step.command == Command::Screens) {
            _width = step.screens.front().frame.width();
        } else if (step.command == Command::MenuBar) {
            _tallestBar = std::max(_tallestBar, step.height);
        }
    }
    bool fits(std::string& error) const {
        if (_width * _tallestBar <= Scenario::largestSnapshot) {
            return true;
        }
        error = "a snapshot of a " + numberText(_width) + "x" + numberText(_tallestBar) +
                " bar would be more than " +
                std::to_string(static_cast<long long>(Scenario::largestSnapshot)) + " pixels";
        return false;
    }

private:
    double _width = 1440;
    double _tallestBar = Scenario::defaultBarHeight;
};

}  // namespace

std::optional<Scenario> Scenario::parse(const std::string& source, std::string& error) {
    Scenario scenario;
    std::istringstream lines(source);
    std::string line;
    int number = 0;
    double previousTime = 0.0;
    SnapshotSize snapshot;
    while (std::getline(lines, line)) {
        ++number;
        std::vector<std::string> words;
        std::string problem;
        if (!splitWords(line, words, problem)) {
            error = "line " + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
        if (words.empty()) {
            continue;
        }
        ScenarioStep step;
        step.line = number;
        if (!parseLine(words, previousTime, step, problem) ||
            (step.command == Command::Snapshot && !snapshot.fits(problem))) {
            error = "line " + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
        snapshot.follow(step);
        previousTime = step.time;
        scenario._steps.push_back(std::move(step));
    }
    return scenario;
}

std::optional<Scenario> Scenario::load(const std::filesystem::path& path, std::string& error) {
    // Only a regular file: a FIFO without a writer would hold the run forever, a device would never end.
    const std::optional<std::string> contents = kit::readWholeFile(path, largestFile, &error);
    if (!contents) {
        return std::nullopt;
    }
    std::optional<Scenario> scenario = parse(*contents, error);
    if (!scenario) {
        error = path.string() + ": " + error;
    }
    return scenario;
}

double Scenario::endTime() const {
    for (const ScenarioStep& step : _steps) {
        if (step.command == Command::End) {
            return step.time;
        }
    }
    return _steps.empty() ? 0.0 : _steps.back().time + 1.0;
}
