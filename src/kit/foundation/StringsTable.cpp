#include "kit/foundation/StringsTable.h"

#include <QString>
#include <QStringDecoder>

#include "kit/foundation/FileContents.h"

namespace kit {

namespace {

bool failWith(std::string* error, const std::string& message) {
    if (error) {
        *error = message;
    }
    return false;
}

// The text in the encoding its byte-order mark names, else UTF-8; the mark itself is dropped.
std::optional<QString> decode(const std::string& bytes, std::string* error) {
    auto encoding = QStringConverter::Utf8;
    const bool isUtf16 = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                               (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
    if (isUtf16) {
        encoding = bytes[0] == '\xFF' ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
    }
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError() || (isUtf16 && bytes.size() % 2 != 0)) {
        failWith(error, isUtf16 ? "the table is not valid UTF-16" : "the table is not valid UTF-8");
        return std::nullopt;
    }
    return text;
}

bool isWordCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_' ||
           u == u'$' || u == u'/' || u == u':' || u == u'.' || u == u'-';
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    return c >= u'A' && c <= u'F' ? c - u'A' + 10 : -1;
}

class StringsParser {
public:
    explicit StringsParser(QString text) : _text(std::move(text)) {}

    bool parse(std::map<std::string, std::string>& entries) {
        for (;;) {
            if (!skipSpaceAndComments()) {
                return false;
            }
            if (atEnd()) {
                return true;
            }
            if (!entry(entries)) {
                return false;
            }
        }
    }

    const std::string& error() const { return _error; }

private:
    bool atEnd() const { return _at >= _text.size(); }
    QChar peek(qsizetype ahead = 0) const {
        return _at + ahead < _text.size() ? _text[_at + ahead] : QChar();
    }

    bool fail(const std::string& message) {
        const auto line = _text.first(std::min(_at, _text.size())).count(u'\n') + 1;
        _error = "line " + std::to_string(line) + ": " + message;
        return false;
    }

    // `key = value;`, or `key;` which stands for `key = key;`.
    bool entry(std::map<std::string, std::string>& entries) {
        QString key, value;
        if (!token(key) || !skipSpaceAndComments()) {
            return false;
        }
        value = key;
        if (peek() == u'=') {
            ++_at;
            if (!skipSpaceAndComments() || !token(value) || !skipSpaceAndComments()) {
                return false;
            }
        }
        if (peek() != u';') {
            return fail("expected ';' after the entry \"" + key.toStdString() + "\"");
        }
        ++_at;
        entries.insert_or_assign(key.toStdString(), value.toStdString());
        return true;
    }

    bool skipSpaceAndComments() {
        for (;;) {
            if (!atEnd() && peek().isSpace()) {
                ++_at;
            } else if (peek() == u'/' && peek(1) == u'/') {
                while (!atEnd() && peek() != u'\n') {
                    ++_at;
                }
            } else if (peek() == u'/' && peek(1) == u'*') {
                const qsizetype end = _text.indexOf(u"*/", _at + 2);
                if (end < 0) {
                    return fail("unterminated comment");
                }
                _at = end + 2;
            } else {
                return true;
            }
        }
    }

    bool token(QString& out) {
        if (peek() == u'"') {
            ++_at;
            return quoted(out);
        }
        const qsizetype start = _at;
        // A comment may follow a word directly.
        while (!atEnd() && isWordCharacter(peek()) &&
               !(peek() == u'/' && (peek(1) == u'/' || peek(1) == u'*'))) {
            ++_at;
        }
        if (_at == start) {
            return atEnd() ? fail("unexpected end of the table")
                           : fail("unexpected character '" + QString(peek()).toStdString() + "'");
        }
        out = _text.sliced(start, _at - start);
        return true;
    }

    bool quoted(QString& out) {
        out.clear();
        while (!atEnd()) {
            const QChar c = _text[_at++];
            if (c == u'"') {
                return true;
            }
            if (c != u'\\') {
                out += c;
            } else if (!escape(out)) {
                return false;
            }
        }
        return fail("unterminated string");
    }

    bool escape(QString& out) {
        if (atEnd()) {
            return fail("unterminated string");
        }
        const QChar c = _text[_at++];
        switch (c.unicode()) {
            case u'n':
                out += u'\n';
                return true;
            case u't':
                out += u'\t';
                return true;
            case u'r':
                out += u'\r';
                return true;
            case u'a':
                out += u'\a';
                return true;
            case u'b':
                out += u'\b';
                return true;
            case u'f':
                out += u'\f';
                return true;
            case u'v':
                out += u'\v';
                return true;
            case u'U':
            case u'u':
                return unicodeEscape(out);
            default:
                out += c;
                return true;  // \" \\ \' and any other character stand for themselves
        }
    }

    // "\Uxxxx": one UTF-16 unit; a high surrogate must be followed by the escape of its low half.
    bool unicodeEscape(QString& out) {
        std::optional<char16_t> unit = hexUnit();
        if (!unit) {
            return fail("\\U needs four hexadecimal digits");
        }
        if (QChar::isLowSurrogate(*unit)) {
            return fail("unpaired surrogate in \\U escape");
        }
        out += QChar(*unit);
        if (!QChar::isHighSurrogate(*unit)) {
            return true;
        }
        if (peek() != u'\\' || (peek(1) != u'U' && peek(1) != u'u')) {
            return fail("unpaired surrogate in \\U escape");
        }
        _at += 2;
        unit = hexUnit();
        if (!unit || !QChar::isLowSurrogate(*unit)) {
            return fail("unpaired surrogate in \\U escape");
        }
        out += QChar(*unit);
        return true;
    }

    std::optional<char16_t> hexUnit() {
        char16_t value = 0;
        for (qsizetype i = 0; i < 4; ++i) {
            const int digit = hexDigit(peek(i).unicode());
            if (digit < 0) {
                return std::nullopt;
            }
            value = static_cast<char16_t>(value * 16 + digit);
        }
        _at += 4;
        return value;
    }

    QString _text;
    qsizetype _at = 0;
    std::string _error;
};

}  // namespace

std::optional<StringsTable> StringsTable::parse(const std::string& bytes, std::string* error) {
    std::optional<QString> text = decode(bytes, error);
    if (!text) {
        return std::nullopt;
    }
    StringsParser parser(std::move(*text));
    StringsTable table;
    if (!parser.parse(table._entries)) {
        failWith(error, parser.error());
        return std::nullopt;
    }
    return table;
}

std::optional<StringsTable> StringsTable::readFile(const std::filesystem::path& path, std::string* error) {
    const std::optional<std::string> bytes = readWholeFile(path, largestFile, error);
    return bytes ? parse(*bytes, error) : std::nullopt;
}

const std::string* StringsTable::find(const std::string& key) const {
    const auto found = _entries.find(key);
    return found == _entries.end() ? nullptr : &found->second;
}

}  // namespace kit
