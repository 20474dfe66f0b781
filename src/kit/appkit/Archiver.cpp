#include "kit/appkit/Archiver.h"

#include <array>
#include <bit>
#include <cstdint>
#include <limits>

namespace kit {

namespace {

// Layout: magic "AWNA", format version, kind, then the object.
//   colour: space, component count, each component, alpha (IEEE-754 doubles, little-endian)
//   string: byte length (32-bit little-endian), UTF-8 bytes
// The archive must end exactly where the object does.
constexpr std::array<std::uint8_t, 4> Magic{'A', 'W', 'N', 'A'};
constexpr std::uint8_t FormatVersion = 1;

enum class Kind : std::uint8_t { Color = 1, String = 2 };

using Data = PropertyList::Data;

void appendLittleEndian(Data& data, std::uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        data.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void appendDouble(Data& data, double value) {
    appendLittleEndian(data, std::bit_cast<std::uint64_t>(value), 8);
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUTF8(const std::uint8_t* bytes, std::size_t size) {
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t lead = bytes[i];
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            codePoint = lead & 0x07;
        } else {
            return false;
        }
        if (size - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                return false;
            }
            codePoint = (codePoint << 6) | (bytes[i + k] & 0x3F);
        }
        constexpr std::array<std::uint32_t, 5> smallestOfLength{0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < smallestOfLength[length] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

// Reads an archive front to back; every read checks the bytes that are left, so a short or damaged
// archive fails a read instead of running past its end.
class ByteReader {
public:
    explicit ByteReader(const Data& data) : _data(data) {}

    std::size_t remaining() const { return _data.size() - _offset; }
    bool atEnd() const { return remaining() == 0; }
    const std::uint8_t* current() const { return _data.data() + _offset; }

    std::optional<std::uint64_t> readLittleEndian(std::size_t byteCount) {
        if (remaining() < byteCount) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < byteCount; ++i) {
            value |= std::uint64_t{_data[_offset + i]} << (8 * i);
        }
        _offset += byteCount;
        return value;
    }
    std::optional<std::uint8_t> readByte() {
        const auto value = readLittleEndian(1);
        return value ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(*value)) : std::nullopt;
    }
    std::optional<double> readDouble() {
        const auto bits = readLittleEndian(8);
        return bits ? std::optional<double>(std::bit_cast<double>(*bits)) : std::nullopt;
    }

private:
    const Data& _data;
    std::size_t _offset = 0;
};

void appendHeader(Data& data, Kind kind) {
    data.assign(Magic.begin(), Magic.end());
    data.push_back(FormatVersion);
    data.push_back(static_cast<std::uint8_t>(kind));
}

Data archiveColor(const Color& color) {
    Data data;
    appendHeader(data, Kind::Color);
    data.push_back(static_cast<std::uint8_t>(color.space()));
    data.push_back(static_cast<std::uint8_t>(color.componentCount()));
    for (std::size_t i = 0; i < color.componentCount(); ++i) {
        appendDouble(data, color.component(i));
    }
    appendDouble(data, color.alpha());
    return data;
}

std::optional<Data> archiveString(const std::string& string) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(string.data());
    if (string.size() > std::numeric_limits<std::uint32_t>::max() || !isValidUTF8(bytes, string.size())) {
        return std::nullopt;
    }
    Data data;
    appendHeader(data, Kind::String);
    appendLittleEndian(data, string.size(), 4);
    data.insert(data.end(), bytes, bytes + string.size());
    return data;
}

std::optional<ArchivedObject> unarchiveColor(ByteReader& reader) {
    const auto space = reader.readByte();
    const auto count = reader.readByte();
    if (!space || !count || *count != Color::componentCount(static_cast<ColorSpace>(*space))) {
        return std::nullopt;
    }
    std::array<double, 3> components{};
    for (std::size_t i = 0; i < *count; ++i) {
        const auto component = reader.readDouble();
        if (!component) {
            return std::nullopt;
        }
        components[i] = *component;
    }
    const auto alpha = reader.readDouble();
    if (!alpha || !reader.atEnd()) {
        return std::nullopt;
    }
    // The count matched a known space above, so this always makes a colour.
    return Color::withComponents(static_cast<ColorSpace>(*space), components, *alpha);
}

std::optional<ArchivedObject> unarchiveString(ByteReader& reader) {
    const auto length = reader.readLittleEndian(4);
    if (!length || *length != reader.remaining() || !isValidUTF8(reader.current(), *length)) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(reader.current()), *length);
}

bool readHeader(ByteReader& reader) {
    for (const std::uint8_t expected : Magic) {
        if (reader.readByte() != expected) {
            return false;
        }
    }
    return reader.readByte() == FormatVersion;
}

}  // namespace

std::optional<PropertyList::Data> archivedDataWithRootObject(const ArchivedObject& object) {
    if (const auto* color = std::get_if<Color>(&object)) {
        return archiveColor(*color);
    }
    if (const auto* string = std::get_if<std::string>(&object)) {
        return archiveString(*string);
    }
    return std::nullopt;
}

std::optional<ArchivedObject> unarchiveObjectWithData(const PropertyList::Data& data) {
    ByteReader reader(data);
    if (!readHeader(reader)) {
        return std::nullopt;
    }
    switch (static_cast<Kind>(reader.readByte().value_or(0))) {
        case Kind::Color:
            return unarchiveColor(reader);
        case Kind::String:
            return unarchiveString(reader);
    }
    return std::nullopt;
}

}  // namespace kit
