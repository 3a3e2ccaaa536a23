#pragma once

#include <bit>
#include <cctype>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "RecordingSink.h"
#include "kvrfile/TrussFileEncoder.h"
#include "kvrfile/TrussFileReader.h"
#include "truss/clsTruss.h"

// A row's name as a test's name: its words run together, each capitalised
// ("file-size limit" gives "FileSizeLimit").
inline std::string testNameOf(std::string_view words)
{
    std::string name;
    bool wordStarts = true;
    for (const char c : words) {
        if (c == '\'')
            continue;
        const bool inWord = std::isalnum(static_cast<unsigned char>(c)) != 0;
        if (inWord)
            name += wordStarts ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        wordStarts = !inWord;
    }
    return name;
}

// Names the rows of a parameterised test by their name field.
struct ByRowName {
    template <class Info>
    std::string operator()(const Info& info) const
    {
        return testNameOf(info.param.name);
    }
};

// Readable failure output for texts in the tests' assertions.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace atomicSave {
inline void PrintTo(const Failure& failure, std::ostream* out) { ::PrintTo(describe(failure), out); }
}  // namespace atomicSave

// The parameters the window starts with.
inline TrussParameters windowStart()
{
    using namespace startValues;
    const auto single = [](double value) { return static_cast<float>(value); };
    return {.config = clsTruss::prattTruss, .topE = single(modulus), .btmE = single(modulus),
            .webE = single(modulus), .topA = single(area), .btmA = single(area), .webA = single(area),
            .loadType = clsTruss::uniformLoad, .loadValue = single(udl), .L = single(span), .h = single(height),
            .np = panels};
}

inline void apply(clsTruss& truss, const TrussParameters& parameters, const QString& path)
{
    truss.setParameters(parameters);
    truss.setOpenfile(path);
}

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline std::uint32_t bitsOf(float value) { return std::bit_cast<std::uint32_t>(value); }

// Stores value little-endian at offset, as the truss file holds it.
inline void putSingle(QByteArray& bytes, std::uint64_t offset, float value)
{
    const std::uint32_t bits = bitsOf(value);
    for (std::uint64_t i = 0; i < trussFile::singleSize; ++i)
        bytes[static_cast<qsizetype>(offset + i)] = static_cast<char>((bits >> (8 * i)) & 0xff);
}

// The truss file of the truss as built, by the file's own encoder.
inline QByteArray encoded(const clsTruss& truss)
{
    const std::vector<std::uint8_t> bytes = encodeTrussFile(truss.file());
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// The file's bytes read back as the analysis program reads them, by kvrtool's
// reader; throws when they do not even hold a header.
inline TrussFileContent readBack(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    return readTrussFile(std::span<const std::uint8_t>(data, static_cast<std::size_t>(bytes.size()))).value.value();
}
