// Windows: the bytes go to a new file beside the target and are flushed to the
// disk; then ReplaceFileW puts the new file in the earlier one's place and
// gives it what the earlier file was (its attributes, its ACL, its creation
// time), or a rename gives a new target its name. Any failure leaves the
// earlier file as it was and removes the new one.
#include "savefile/AtomicSave.h"

#include <algorithm>
#include <string>
#include <utility>

#include <windows.h>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace atomicSave {
namespace {

QString describe(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString words = length > 0 ? QString::fromWCharArray(text, length).trimmed()
                               : QStringLiteral("Windows error %1").arg(error);
    ::LocalFree(text);
    // The programs put the description after a colon, as on other systems.
    if (words.endsWith(u'.'))
        words.chop(1);
    return words;
}

Failure lastFailure() { return Failure{describe(::GetLastError())}; }

std::wstring native(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

// The new file beside the target, removed again unless it took the target's place.
class NewFile {
public:
    explicit NewFile(const QString& target)
    {
        const QFileInfo info(target);
        for (int attempt = 0; attempt < 100 && handle_ == INVALID_HANDLE_VALUE; ++attempt) {
            path_ = native(info.dir().filePath(QStringLiteral("~%1.%2.tmp")
                                                   .arg(info.fileName())
                                                   .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'))));
            handle_ = ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
            if (handle_ == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        if (handle_ == INVALID_HANDLE_VALUE)
            failure_ = lastFailure();
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
        if (!placed_ && !failure_)
            ::DeleteFileW(path_.c_str());
    }

    std::optional<Failure> failure() const { return failure_; }
    const std::wstring& path() const { return path_; }

    // Every byte written and on the disk, and the file closed.
    std::optional<Failure> write(QByteArrayView bytes)
    {
        for (qsizetype done = 0; done < bytes.size();) {
            const DWORD chunk = static_cast<DWORD>(std::min<qsizetype>(bytes.size() - done, 1 << 24));
            DWORD written = 0;
            if (!::WriteFile(handle_, bytes.data() + done, chunk, &written, nullptr))
                return lastFailure();
            done += written;
        }
        if (!::FlushFileBuffers(handle_))
            return lastFailure();
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        if (!::CloseHandle(handle))
            return lastFailure();
        return std::nullopt;
    }

    void setPlaced() { placed_ = true; }

private:
    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::optional<Failure> failure_;
    bool placed_ = false;
};

}  // namespace

std::optional<Failure> save(const QString& path, QByteArrayView bytes)
{
    QString target = QFileInfo(path).absoluteFilePath();
    DWORD attributes = ::GetFileAttributesW(native(target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A link: the file it leads to is replaced and the link stays.
        const QString linked = QFileInfo(target).canonicalFilePath();
        if (!linked.isEmpty())
            target = linked;
        attributes = ::GetFileAttributesW(native(target).c_str());
    }
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return lastFailure();
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failure{QStringLiteral("Is a folder")};
    // The read-only attribute asks that the file not be changed.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return Failure{describe(ERROR_ACCESS_DENIED)};

    NewFile file(target);
    if (const auto failure = file.failure())
        return failure;
    if (const auto failure = file.write(bytes))
        return failure;
    const std::wstring targetPath = native(target);
    const bool placed = exists ? ::ReplaceFileW(targetPath.c_str(), file.path().c_str(), nullptr,
                                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                               : ::MoveFileExW(file.path().c_str(), targetPath.c_str(), MOVEFILE_WRITE_THROUGH);
    if (!placed)
        return lastFailure();
    file.setPlaced();
    return std::nullopt;
}

// Windows has no file-size limit signal.
void reportFileSizeLimitAsFailure() {}

}  // namespace atomicSave
