#include "kit/foundation/PropertyListSerialization.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "kit/foundation/FileContents.h"

namespace kit {

namespace {

namespace chrono = std::chrono;

constexpr const char* DocumentHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";

// Bounds a reader on a hostile file: recursion beyond this would exhaust the stack.
constexpr int MaximumDepth = 512;

constexpr chrono::sys_days ReferenceDay = chrono::sys_days(chrono::year(2001) / 1 / 1);

// --- Dates: "2026-01-05T12:00:00Z", UTC, whole seconds, four-digit years.

double secondsSinceReference(chrono::sys_days day) {
    return static_cast<double>(chrono::duration_cast<chrono::seconds>(day - ReferenceDay).count());
}

std::string formatDate(PropertyList::Date date) {
    // A date the format cannot hold is written as the nearest one it can, so the file stays readable.
    const double earliest = secondsSinceReference(chrono::year(1) / 1 / 1);
    const double latest = secondsSinceReference(chrono::year(9999) / 12 / 31) + 86399.0;
    const double seconds = std::isnan(date.sinceReferenceDate)
                               ? 0.0
                               : std::clamp(std::floor(date.sinceReferenceDate), earliest, latest);
    const chrono::sys_seconds moment = ReferenceDay + chrono::seconds(static_cast<std::int64_t>(seconds));
    const chrono::sys_days day = chrono::floor<chrono::days>(moment);
    const chrono::year_month_day ymd(day);
    const chrono::hh_mm_ss time(moment - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::optional<int> digitsAt(const std::string& text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<PropertyList::Date> parseDate(const std::string& text) {
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != 'Z') {
        return std::nullopt;
    }
    const auto year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
    const auto hour = digitsAt(text, 11, 2), minute = digitsAt(text, 14, 2), second = digitsAt(text, 17, 2);
    if (!year || !month || !day || !hour || !minute || !second || *hour > 23 || *minute > 59 ||
        *second > 59) {
        return std::nullopt;
    }
    const chrono::year_month_day ymd(chrono::year(*year), chrono::month(static_cast<unsigned>(*month)),
                                     chrono::day(static_cast<unsigned>(*day)));
    if (!ymd.ok()) {
        return std::nullopt;
    }
    return PropertyList::Date{secondsSinceReference(chrono::sys_days(ymd)) + *hour * 3600.0 + *minute * 60.0 +
                              *second};
}

// --- Numbers

std::string formatReal(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value > 0 ? "+infinity" : "-infinity";
    }
    // The shortest text that reads back as exactly this double.
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::optional<std::int64_t> parseInteger(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    std::int64_t value = 0;
    const auto result = std::from_chars(begin, end, value);
    if (begin == end || result.ec != std::errc() || result.ptr != end) {
        return std::nullopt;
    }
    return value;
}

// --- Reading

class XmlReader {
public:
    explicit XmlReader(const std::string& xml)
        : _xml(QByteArray(xml.data(), static_cast<qsizetype>(xml.size()))) {}

    std::optional<PropertyList> document() {
        if (!nextElement()) {
            return std::nullopt;
        }
        if (_xml.isEndElement() || _xml.name() != u"plist") {
            return fail("the document is not a property list");
        }
        if (!nextElement()) {
            return std::nullopt;
        }
        if (_xml.isEndElement()) {
            return fail("the property list holds no value");
        }
        std::optional<PropertyList> root = value(0);
        if (!root || !nextElement()) {
            return std::nullopt;
        }
        if (!_xml.isEndElement()) {
            return fail("the property list holds more than one value");
        }
        // The stream reader itself rejects anything but comments after the root element.
        while (!_xml.atEnd()) {
            _xml.readNext();
        }
        if (_xml.hasError()) {
            return fail(_xml.errorString().toStdString());
        }
        return root;
    }

    const std::string& error() const { return _error; }

private:
    std::nullopt_t fail(const std::string& message) {
        if (_error.empty()) {
            _error = "line " + std::to_string(_xml.lineNumber()) + ": " + message;
        }
        return std::nullopt;
    }

    // Moves to the next start or end tag, past white space, comments and the document type.
    bool nextElement() {
        for (;;) {
            switch (_xml.readNext()) {
                case QXmlStreamReader::StartElement:
                case QXmlStreamReader::EndElement:
                    return true;
                case QXmlStreamReader::Characters:
                    if (_xml.isWhitespace()) {
                        continue;
                    }
                    fail("unexpected text \"" + _xml.text().trimmed().toString().toStdString() + "\"");
                    return false;
                case QXmlStreamReader::Invalid:
                    fail(_xml.errorString().toStdString());
                    return false;
                case QXmlStreamReader::EntityReference:
                    fail("unexpected entity reference");
                    return false;
                case QXmlStreamReader::EndDocument:
                    fail("unexpected end of the property list");
                    return false;
                default:
                    continue;
            }
        }
    }

    // The text of the current element, which may hold no other element.
    std::optional<std::string> text(bool trimmed = false) {
        const QString content = _xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (_xml.hasError()) {
            return fail(_xml.errorString().toStdString());
        }
        return (trimmed ? content.trimmed() : content).toStdString();
    }

    std::optional<PropertyList> value(int depth) {
        if (depth > MaximumDepth) {
            return fail("the property list nests deeper than " + std::to_string(MaximumDepth) + " levels");
        }
        const QStringView name = _xml.name();
        if (name == u"dict") {
            return dictionary(depth);
        }
        if (name == u"array") {
            return array(depth);
        }
        if (name == u"string") {
            std::optional<std::string> content = text();
            return content ? std::optional<PropertyList>(std::move(*content)) : std::nullopt;
        }
        if (name == u"integer") {
            return integer();
        }
        if (name == u"real") {
            return real();
        }
        if (name == u"true" || name == u"false") {
            return boolean(name == u"true");
        }
        if (name == u"date") {
            return date();
        }
        if (name == u"data") {
            return data();
        }
        return fail("unknown element <" + name.toString().toStdString() + ">");
    }

    std::optional<PropertyList> dictionary(int depth) {
        PropertyList::Dictionary values;
        for (;;) {
            if (!nextElement()) {
                return std::nullopt;
            }
            if (_xml.isEndElement()) {
                return PropertyList(std::move(values));
            }
            if (_xml.name() != u"key") {
                return fail("expected <key> in <dict>, found <" + _xml.name().toString().toStdString() + ">");
            }
            std::optional<std::string> key = text();
            if (!key || !nextElement()) {
                return std::nullopt;
            }
            if (_xml.isEndElement()) {
                return fail("the key \"" + *key + "\" has no value");
            }
            std::optional<PropertyList> item = value(depth + 1);
            if (!item) {
                return std::nullopt;
            }
            values.insert_or_assign(std::move(*key), std::move(*item));
        }
    }

    std::optional<PropertyList> array(int depth) {
        PropertyList::Array values;
        for (;;) {
            if (!nextElement()) {
                return std::nullopt;
            }
            if (_xml.isEndElement()) {
                return PropertyList(std::move(values));
            }
            std::optional<PropertyList> item = value(depth + 1);
            if (!item) {
                return std::nullopt;
            }
            values.push_back(std::move(*item));
        }
    }

    std::optional<PropertyList> integer() {
        const std::optional<std::string> content = text(true);
        if (!content) {
            return std::nullopt;
        }
        const std::optional<std::int64_t> number = parseInteger(*content);
        return number ? std::optional<PropertyList>(*number) : fail("bad integer \"" + *content + "\"");
    }

    std::optional<PropertyList> real() {
        const std::optional<std::string> content = text(true);
        if (!content) {
            return std::nullopt;
        }
        const std::optional<double> number = PropertyList::parseReal(*content);
        return number ? std::optional<PropertyList>(*number) : fail("bad real \"" + *content + "\"");
    }

    std::optional<PropertyList> boolean(bool value) {
        const std::optional<std::string> content = text(true);
        if (!content) {
            return std::nullopt;
        }
        return content->empty() ? std::optional<PropertyList>(value) : fail("a boolean holds text");
    }

    std::optional<PropertyList> date() {
        const std::optional<std::string> content = text(true);
        if (!content) {
            return std::nullopt;
        }
        const std::optional<PropertyList::Date> moment = parseDate(*content);
        return moment ? std::optional<PropertyList>(*moment) : fail("bad date \"" + *content + "\"");
    }

    std::optional<PropertyList> data() {
        std::optional<std::string> content = text();
        if (!content) {
            return std::nullopt;
        }
        std::erase_if(*content, [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
        const auto decoded = QByteArray::fromBase64Encoding(
            QByteArray::fromStdString(*content),
            QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            return fail("bad base64 data");
        }
        return PropertyList(PropertyList::Data(decoded.decoded.begin(), decoded.decoded.end()));
    }

    QXmlStreamReader _xml;
    std::string _error;
};

// --- Writing

// Whether XML 1.0 can carry `c` as text at all.
bool isXmlCharacter(char16_t c) {
    return c == u'\t' || c == u'\n' || c == u'\r' || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

class XmlWriter {
public:
    XmlWriter() : _xml(&_body) {}

    std::string document(const PropertyList& root) {
        _xml.writeStartElement("plist");
        _xml.writeAttribute("version", "1.0");
        newline(0);
        value(root, 0);
        newline(0);
        _xml.writeEndElement();
        return DocumentHeader + _body.toStdString() + "\n";
    }

private:
    void newline(int depth) { _xml.writeCharacters("\n" + QString(depth, u'\t')); }

    // Carriage returns go as references, since readers turn a literal one into a line feed; characters XML
    // cannot carry at all become U+FFFD so the file always reads back.
    void text(const std::string& content) {
        const QString characters = QString::fromStdString(content);
        QString run;
        for (const QChar c : characters) {
            if (c == u'\r') {
                _xml.writeCharacters(run);
                run.clear();
                _xml.writeEntityReference("#13");
            } else {
                run += isXmlCharacter(c.unicode()) ? c : QChar(QChar::ReplacementCharacter);
            }
        }
        _xml.writeCharacters(run);
    }

    void textElement(const char* name, const std::string& content) {
        _xml.writeStartElement(name);
        text(content);
        _xml.writeEndElement();
    }

    void value(const PropertyList& item, int depth) {
        switch (item.type()) {
            case PropertyList::Type::Boolean:
                _xml.writeEmptyElement(*item.boolValue() ? "true" : "false");
                break;
            case PropertyList::Type::Integer:
                textElement("integer", std::to_string(*item.integerValue()));
                break;
            case PropertyList::Type::Real:
                textElement("real", formatReal(*item.doubleValue()));
                break;
            case PropertyList::Type::String:
                textElement("string", *item.string());
                break;
            case PropertyList::Type::Date:
                textElement("date", formatDate(*item.date()));
                break;
            case PropertyList::Type::Data:
                data(*item.data(), depth);
                break;
            case PropertyList::Type::Array:
                array(*item.array(), depth);
                break;
            case PropertyList::Type::Dictionary:
                dictionary(*item.dictionary(), depth);
                break;
        }
    }

    // Base64 lines as the platform wraps them: 76 columns, counting a tab as eight.
    void data(const PropertyList::Data& bytes, int depth) {
        const QByteArray encoded =
            QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()))
                .toBase64();
        const qsizetype lineLength = std::max(76 - 8 * depth, 16);
        _xml.writeStartElement("data");
        for (qsizetype at = 0; at < encoded.size(); at += lineLength) {
            newline(depth);
            _xml.writeCharacters(QString::fromLatin1(encoded.mid(at, lineLength)));
        }
        newline(depth);
        _xml.writeEndElement();
    }

    void array(const PropertyList::Array& items, int depth) {
        if (items.empty()) {
            _xml.writeEmptyElement("array");
            return;
        }
        _xml.writeStartElement("array");
        for (const PropertyList& item : items) {
            newline(depth + 1);
            value(item, depth + 1);
        }
        newline(depth);
        _xml.writeEndElement();
    }

    void dictionary(const PropertyList::Dictionary& items, int depth) {
        if (items.empty()) {
            _xml.writeEmptyElement("dict");
            return;
        }
        _xml.writeStartElement("dict");
        for (const auto& [key, item] : items) {
            newline(depth + 1);
            textElement("key", key);
            newline(depth + 1);
            value(item, depth + 1);
        }
        newline(depth);
        _xml.writeEndElement();
    }

    QByteArray _body;
    QXmlStreamWriter _xml;
};

}  // namespace

std::optional<PropertyList> PropertyListSerialization::read(const std::string& xml, std::string* error) {
    XmlReader reader(xml);
    std::optional<PropertyList> result = reader.document();
    if (!result && error) {
        *error = reader.error();
    }
    return result;
}

std::string PropertyListSerialization::write(const PropertyList& value) {
    return XmlWriter().document(value);
}

std::optional<PropertyList> PropertyListSerialization::readFile(const std::filesystem::path& path,
                                                                std::string* error) {
    const std::optional<std::string> bytes = readWholeFile(path, largestFile, error);
    return bytes ? read(*bytes, error) : std::nullopt;
}

bool PropertyListSerialization::writeFile(const PropertyList& value, const std::filesystem::path& path,
                                          std::string* error) {
    return writeWholeFileAtomically(path, write(value), error);
}

}  // namespace kit
