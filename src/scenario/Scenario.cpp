#include "scenario/Scenario.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using Command = ScenarioStep::Command;

// Splits a line into words; "double quotes" keep spaces inside one word.
bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    std::size_t index = 0;
    while (index < line.size()) {
        if (line[index] == ' ' || line[index] == '\t') {
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
            const std::size_t end = line.find_first_of(" \t#", index);
            words.push_back(line.substr(index, end == std::string::npos ? std::string::npos : end - index));
            index = end == std::string::npos ? line.size() : end;
        }
    }
    return true;
}

bool readNumber(const std::string& word, double& number) {
    std::istringstream stream(word);
    stream >> number;
    return stream && stream.eof() && std::isfinite(number);
}

// "1440x900", optionally "@X,Y" for a screen that is not primary.
bool readScreen(const std::string& word, kit::ScreenDescription& screen) {
    double width = 0, height = 0, x = 0, y = 0;
    char times = 0, at = 0, comma = 0;
    std::istringstream stream(word);
    stream >> width >> times >> height;
    if (!stream || times != 'x' || width <= 0 || height <= 0) {
        return false;
    }
    if (stream.peek() == '@') {
        stream >> at >> x >> comma >> y;
        if (!stream || comma != ',') {
            return false;
        }
    }
    screen.frame = kit::Rect(x, y, width, height);
    screen.backingScaleFactor = 2.0;
    return stream.eof() || stream.peek() == EOF;
}

std::optional<kit::PropertyList> readValue(const std::vector<std::string>& words, std::size_t from) {
    if (words.size() != from + 2) {
        return std::nullopt;
    }
    const std::string& type = words[from];
    const std::string& text = words[from + 1];
    double number = 0;
    if (type == "real" && readNumber(text, number)) {
        return kit::PropertyList(number);
    }
    if (type == "integer" && readNumber(text, number) && number == std::floor(number)) {
        return kit::PropertyList(static_cast<std::int64_t>(number));
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

bool parseStep(const std::vector<std::string>& words, ScenarioStep& step, std::string& error) {
    const std::string& name = words[1];
    const std::size_t arguments = words.size() - 2;
    auto expect = [&](bool ok, const char* usage) {
        if (!ok) {
            error = std::string("usage: <seconds> ") + usage;
        }
        return ok;
    };
    if (name == "screens") {
        step.command = Command::Screens;
        for (std::size_t index = 2; index < words.size(); ++index) {
            kit::ScreenDescription screen;
            if (!readScreen(words[index], screen)) {
                return expect(false, "screens WIDTHxHEIGHT [WIDTHxHEIGHT@X,Y ...] (or none)");
            }
            step.screens.push_back(screen);
        }
        return arguments > 0 || expect(false, "screens WIDTHxHEIGHT [WIDTHxHEIGHT@X,Y ...]");
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
        return expect(arguments == 1 && readNumber(words[2], step.number) && step.number >= 0,
                      "menubar HEIGHT | off | unavailable");
    }
    if (name == "pointer") {
        step.command = Command::Pointer;
        return expect(
            arguments == 2 && readNumber(words[2], step.point.x) && readNumber(words[3], step.point.y),
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
        step.value = arguments == 3 ? readValue(words, 3) : std::nullopt;
        step.text = arguments >= 1 ? std::optional<std::string>(words[2]) : std::nullopt;
        return expect(step.value.has_value(),
                      "default \"KEY\" real|integer|string|bool|data VALUE, or default \"KEY\" remove");
    }
    if (name == "color") {
        step.command = Command::Color;
        bool ok = arguments == 5 && (words[2] == "top" || words[2] == "center" || words[2] == "bottom");
        for (int index = 0; ok && index < 4; ++index) {
            ok = readNumber(words[3 + index], step.rgba[index]);
        }
        step.stop = arguments >= 1 ? words[2] : "";
        return expect(ok, "color top|center|bottom RED GREEN BLUE ALPHA");
    }
    static const std::map<std::string, Command> bare = {
        {"activate", Command::Activate}, {"reopen", Command::Reopen}, {"end", Command::End}};
    if (auto it = bare.find(name); it != bare.end()) {
        step.command = it->second;
        return expect(arguments == 0, (name + " takes no arguments").c_str());
    }
    if (name == "space") {
        step.command = Command::Space;
        return expect(arguments == 1 && readNumber(words[2], step.number), "space NUMBER");
    }
    if (name == "snapshot") {
        step.command = Command::Snapshot;
        step.text = arguments == 1 ? std::optional<std::string>(words[2]) : std::nullopt;
        return expect(arguments == 1, "snapshot FILE.png");
    }
    error = "unknown command \"" + name + "\"";
    return false;
}

}  // namespace

std::optional<Scenario> Scenario::parse(const std::string& source, std::string& error) {
    Scenario scenario;
    std::istringstream lines(source);
    std::string line;
    int number = 0;
    double previousTime = 0.0;
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
        if (words.size() < 2 || !readNumber(words[0], step.time) || step.time < 0) {
            error = "line " + std::to_string(number) + ": expected \"<seconds> <command> ...\"";
            return std::nullopt;
        }
        if (step.time < previousTime) {
            error = "line " + std::to_string(number) + ": times must not go backwards";
            return std::nullopt;
        }
        if (!parseStep(words, step, problem)) {
            error = "line " + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
        previousTime = step.time;
        scenario._steps.push_back(std::move(step));
    }
    return scenario;
}

std::optional<Scenario> Scenario::load(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    std::optional<Scenario> scenario = parse(contents.str(), error);
    if (!scenario) {
        error = path + ": " + error;
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
