#include <bit>
#include <cstring>
#include <vector>

#include <QBuffer>
#include <QtEndian>

#include "savefile/AtomicSave.h"
#include "truss/TrussFile.h"
#include "truss/clsTruss.h"

namespace {

bool writeAll(QIODevice& file, const void* bytes, qint64 size)
{
    return file.write(static_cast<const char*>(bytes), size) == size;
}

bool writeInteger(QIODevice& file, std::int16_t value)
{
    const std::int16_t little = qToLittleEndian(value);
    return writeAll(file, &little, sizeof little);
}

// A table that was never built (a configuration the builder does not know,
// on a new object) goes into the file as the row 0 that its count of 0 calls
// for, so the file always matches its own header.
bool writeTable(QIODevice& file, const SingleTable& table, std::size_t columns)
{
    if (table.isEmpty()) {
        const std::vector<float> row0(columns, 0.0f);
        return writeAll(file, row0.data(), static_cast<qint64>(row0.size() * sizeof(float)));
    }
    const std::vector<float>& cells = table.cells();
    if constexpr (std::endian::native == std::endian::little) {
        return writeAll(file, cells.data(), static_cast<qint64>(cells.size() * sizeof(float)));
    } else {
        std::vector<float> little(cells.size());
        qToLittleEndian<float>(cells.data(), static_cast<qsizetype>(cells.size()), little.data());
        return writeAll(file, little.data(), static_cast<qint64>(little.size() * sizeof(float)));
    }
}

}  // namespace

bool clsTruss::writeData(QIODevice& file) const
{
    return writeInteger(file, noMax_) && writeInteger(file, noNodes_) && writeInteger(file, noMembers_)
           && writeTable(file, nodes_, trussFile::nodeColumns) && writeTable(file, members_, trussFile::memberColumns);
}

// The file is encoded whole, then saved whole: a failure leaves what the
// user had on disk as it was and no half-written file behind.
bool clsTruss::writeFile()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeData(buffer);  // memory takes every byte
    const std::optional<atomicSave::Failure> failure = atomicSave::save(openfile_, bytes);
    if (!failure)
        return true;
    const QString message = QStringLiteral("Error while saving file ") + openfile_ + QStringLiteral("\r\n");
    messages_.showMessage(message + failure->description, MessageIcon::Critical);
    return false;
}
