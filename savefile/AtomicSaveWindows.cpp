// Windows: the bytes go to a new file beside the target and are flushed to the
// disk; then ReplaceFileW puts the new file in the earlier one's place and
// gives it what the earlier file was (its attributes, its ACL, its creation
// time), or a rename gives a new target its name. Any failure leaves the
// earlier file as it was and removes the new one, except where ReplaceFileW
// fails after taking the earlier file away: then the new file stays, and the
// failure says where.
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

QString systemWords(DWORD error)
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

std::wstring native(const QString& path) { return QDir::toNativeSeparators(path).toStdWString(); }

// A failure of step on file (a path with forward slashes), in the system's words for error.
Failure failure(Step step, const QString& file, DWORD error)
{
    return Failure{step, QDir::toNativeSeparators(file), systemWords(error), {}, {}};
}

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
        const DWORD error = ::GetLastError();  // before Qt calls the system again
        folder_ = info.absolutePath();
        if (handle_ == INVALID_HANDLE_VALUE)
            failure_ = failure(Step::CreateNewFile, folder_, error);
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
        if (!placed_ && !kept_ && !failure_)
            ::DeleteFileW(path_.c_str());
    }

    std::optional<Failure> createFailure() const { return failure_; }
    const std::wstring& path() const { return path_; }

    // Every byte written and on the disk, and the file closed.
    std::optional<Failure> write(QByteArrayView bytes)
    {
        for (qsizetype done = 0; done < bytes.size();) {
            const DWORD chunk = static_cast<DWORD>(std::min<qsizetype>(bytes.size() - done, 1 << 24));
            DWORD written = 0;
            if (!::WriteFile(handle_, bytes.data() + done, chunk, &written, nullptr))
                return failure(Step::WriteNewFile, folder_, ::GetLastError());
            done += written;
        }
        if (!::FlushFileBuffers(handle_))
            return failure(Step::WriteNewFile, folder_, ::GetLastError());
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        if (!::CloseHandle(handle))
            return failure(Step::WriteNewFile, folder_, ::GetLastError());
        return std::nullopt;
    }

    void setPlaced() { placed_ = true; }
    void keep() { kept_ = true; }  // it holds the only content there is

private:
    QString folder_;
    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::optional<Failure> failure_;
    bool placed_ = false;
    bool kept_ = false;
};

// The new file written and put in the target's place.
std::optional<Failure> replace(const QString& target, bool exists, QByteArrayView bytes)
{
    NewFile file(target);
    if (std::optional<Failure> failed = file.createFailure())
        return failed;
    if (std::optional<Failure> failed = file.write(bytes))
        return failed;
    const std::wstring targetPath = native(target);
    const bool placed = exists ? ::ReplaceFileW(targetPath.c_str(), file.path().c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                                nullptr, nullptr)
                               : ::MoveFileExW(file.path().c_str(), targetPath.c_str(), MOVEFILE_WRITE_THROUGH);
    if (placed) {
        file.setPlaced();
        return std::nullopt;
    }
    const DWORD error = ::GetLastError();
    Failure failed = failure(Step::PlaceNewFile, target, error);
    // Without a backup name, ReplaceFileW may fail after it has removed the
    // earlier file (1176) or renamed it to a name it does not tell (1177).
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        file.keep();
        failed.reason += QStringLiteral("; the new content is kept in ") + QString::fromStdWString(file.path());
    }
    return failed;
}

}  // namespace

Result save(const QString& path, QByteArrayView bytes)
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
    const DWORD lookedUp = exists ? ERROR_SUCCESS : ::GetLastError();
    std::optional<Failure> failed;
    // A missing folder is named when no new file can be made in it.
    if (!exists && lookedUp != ERROR_FILE_NOT_FOUND && lookedUp != ERROR_PATH_NOT_FOUND)
        failed = failure(Step::CheckTarget, target, lookedUp);
    else if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        failed = Failure{Step::CheckTarget, QDir::toNativeSeparators(target), QStringLiteral("Is a folder"), {}, {}};
    else if (exists && (attributes & FILE_ATTRIBUTE_READONLY))  // asks that the file not be changed
        failed = failure(Step::CheckTarget, target, ERROR_ACCESS_DENIED);
    else
        failed = replace(target, exists, bytes);
    if (!failed)
        return exists ? Saved::Replaced : Saved::Created;
    failed->target = QDir::toNativeSeparators(target);
    return *failed;
}

// Windows has no file-size limit signal.
void reportFileSizeLimitAsFailure() {}

}  // namespace atomicSave
