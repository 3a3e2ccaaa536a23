#pragma once

// A file's extended attributes, its access control list among them (the
// kernel keeps it as the attribute system.posix_acl_access), carried from the
// file a save replaces to the file that replaces it.
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include <QByteArray>

namespace atomicSave::posix {

using ExtendedAttributes = std::vector<std::pair<QByteArray, QByteArray>>;  // name, value

// Those of the file at path, not following a link; none where the file
// system keeps none. Or the errno of the failure.
std::variant<ExtendedAttributes, int> extendedAttributesOf(const QByteArray& path);

// Gives the open file exactly these attributes, removing any it has beside
// them (such as an ACL it inherited from its folder). Returns 0 or the errno
// of the first that could not be set or removed.
int giveExtendedAttributes(int fd, const ExtendedAttributes& attributes);

}  // namespace atomicSave::posix
