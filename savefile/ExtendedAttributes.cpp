#include "savefile/ExtendedAttributes.h"

#include <algorithm>
#include <cerrno>

#include <sys/xattr.h>

#include <QList>

namespace atomicSave::posix {
namespace {

bool keepsNone(int error) { return error == ENOTSUP || error == ENODATA; }

// The list of names, or the value of one: asked for its size, then read, and
// asked again if it grew in between.
template <class Read>
std::optional<int> readGrowing(QByteArray& bytes, Read read)
{
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size < 0)
            return errno;
        bytes.resize(size);
        const ssize_t got = read(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(got);
            return std::nullopt;
        }
        if (errno != ERANGE)
            return errno;
    }
}

QList<QByteArray> namesIn(const QByteArray& list)
{
    QList<QByteArray> names = list.split('\0');
    names.removeAll(QByteArray());
    return names;
}

std::variant<QList<QByteArray>, int> namesOf(int fd)
{
    QByteArray list;
    if (const std::optional<int> error = readGrowing(list, [&](char* into, size_t size) { return ::flistxattr(fd, into, size); }))
        return keepsNone(*error) ? std::variant<QList<QByteArray>, int>(QList<QByteArray>()) : *error;
    return namesIn(list);
}

}  // namespace

std::variant<ExtendedAttributes, int> extendedAttributesOf(const QByteArray& path)
{
    QByteArray list;
    const char* file = path.constData();
    if (const std::optional<int> error = readGrowing(list, [&](char* into, size_t size) { return ::llistxattr(file, into, size); }))
        return keepsNone(*error) ? std::variant<ExtendedAttributes, int>(ExtendedAttributes()) : *error;
    ExtendedAttributes attributes;
    for (const QByteArray& name : namesIn(list)) {
        QByteArray value;
        const auto read = [&](char* into, size_t size) { return ::lgetxattr(file, name.constData(), into, size); };
        if (const std::optional<int> error = readGrowing(value, read)) {
            if (*error == ENODATA)
                continue;  // removed since it was listed
            return *error;
        }
        attributes.emplace_back(name, value);
    }
    return attributes;
}

int giveExtendedAttributes(int fd, const ExtendedAttributes& attributes)
{
    const std::variant<QList<QByteArray>, int> present = namesOf(fd);
    if (const int* error = std::get_if<int>(&present))
        return *error;
    for (const QByteArray& name : std::get<QList<QByteArray>>(present)) {
        const bool wanted = std::any_of(attributes.begin(), attributes.end(), [&](const auto& a) { return a.first == name; });
        if (!wanted && ::fremovexattr(fd, name.constData()) != 0 && errno != ENODATA)
            return errno;
    }
    for (const auto& [name, value] : attributes)
        if (::fsetxattr(fd, name.constData(), value.constData(), static_cast<size_t>(value.size()), 0) != 0)
            return errno;
    return 0;
}

}  // namespace atomicSave::posix
