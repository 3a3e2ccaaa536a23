#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "truss/clsTruss.h"

struct RecordedMessage {
    QString text;
    MessageIcon icon;
};

class RecordingSink : public MessageSink {
public:
    void showMessage(const QString& text, MessageIcon icon) override { messages.push_back({text, icon}); }
    std::vector<RecordedMessage> messages;
};

// The parameters the window starts with.
struct TrussInput {
    std::int16_t np = 7;
    float L = 6.0f;
    float h = 1.0f;
    std::int32_t loadType = clsTruss::uniformLoad;
    float loadValue = 10.0f;
    float topE = 205.0f, btmE = 205.0f, webE = 205.0f;
    float topA = 100.0f, btmA = 100.0f, webA = 100.0f;
    std::int32_t config = clsTruss::prattTruss;
};

inline void apply(clsTruss& truss, const TrussInput& in, const QString& path)
{
    truss.setConfig(in.config);
    truss.setTopE(in.topE);
    truss.setBtmE(in.btmE);
    truss.setWebE(in.webE);
    truss.setTopA(in.topA);
    truss.setBtmA(in.btmA);
    truss.setWebA(in.webA);
    truss.setLoadType(in.loadType);
    truss.setLoadValue(in.loadValue);
    truss.setL(in.L);
    truss.setH(in.h);
    truss.setNp(in.np);
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

// Little-endian readers that work from the file's bytes alone.
inline std::int16_t int16At(const QByteArray& bytes, qsizetype offset)
{
    const auto lo = static_cast<std::uint8_t>(bytes.at(offset));
    const auto hi = static_cast<std::uint8_t>(bytes.at(offset + 1));
    return static_cast<std::int16_t>(lo | (hi << 8));
}

inline float singleAt(const QByteArray& bytes, qsizetype offset)
{
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | static_cast<std::uint8_t>(bytes.at(offset + i));
    return std::bit_cast<float>(bits);
}

// A reader of the truss file that finds every position from the counts, as
// the analysis program does.
struct TrussFileView {
    explicit TrussFileView(QByteArray content) : bytes(std::move(content)) {}

    std::int16_t noMax() const { return int16At(bytes, 0); }
    std::int16_t noNodes() const { return int16At(bytes, 2); }
    std::int16_t noMembers() const { return int16At(bytes, 4); }
    qsizetype expectedSize() const { return 6 + 24 * (qsizetype{noNodes()} + 1) + 36 * (qsizetype{noMembers()} + 1); }

    float node(int row, int column) const { return singleAt(bytes, 6 + 4 * (column * (noNodes() + 1) + row)); }
    float member(int row, int column) const
    {
        return singleAt(bytes, 6 + 24 * (qsizetype{noNodes()} + 1) + 4 * (column * (noMembers() + 1) + row));
    }

    QByteArray bytes;
};
