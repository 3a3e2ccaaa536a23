#include <bit>
#include <cstring>
#include <vector>

#include <QSaveFile>
#include <QtEndian>

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

// The new content goes to a temporary file beside the target and replaces it
// only when every byte has been written, so a failure leaves what the user
// had on disk as it was and no half-written file behind.
bool clsTruss::writeFile()
{
    QSaveFile file(openfile_);
    const auto fail = [&] {
        const QString description = file.errorString();
        file.cancelWriting();
        messages_.showMessage(QStringLiteral("Error while saving file ") + openfile_ + QStringLiteral("\r\n") + description,
                              MessageIcon::Critical);
        return false;
    };

    if (!file.open(QIODevice::WriteOnly))
        return fail();
    // QSaveFile buffers: a write may report success for bytes that only the
    // flush finds it cannot store. The flush says so; check it before
    // committing.
    if (!writeData(file) || !file.flush())
        return fail();
    if (!file.commit())
        return fail();
    return true;
}
