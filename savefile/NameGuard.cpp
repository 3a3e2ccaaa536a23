#include "savefile/NameGuard.h"

#include <algorithm>
#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace atomicSave::posix {
namespace {

constexpr char done = 'd';

// Every descriptor but these two. Without close_range (kernels before 5.9)
// the guardian keeps the rest for the few moments it lives.
void closeAllBut(int a, int b)
{
    const unsigned low = static_cast<unsigned>(std::min(a, b)), high = static_cast<unsigned>(std::max(a, b));
    if (low > 0)
        ::close_range(0, low - 1, 0);
    if (high > low + 1)
        ::close_range(low + 1, high - 1, 0);
    ::close_range(high + 1, ~0U, 0);
}

// The guardian, in a child forked from a program that may run other
// threads: only calls that are safe after such a fork (the kernel's own).
[[noreturn]] void guard(int fromSaver, int toGuardian, int file, const char* path)
{
    ::setsid();
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    for (const int number : {SIGHUP, SIGINT, SIGQUIT, SIGTERM})
        ::sigaction(number, &ignore, nullptr);
    ::close(toGuardian);  // else its own copy would hide the saver's death
    closeAllBut(fromSaver, file);

    char said = 0;
    ssize_t got = 0;
    while ((got = ::read(fromSaver, &said, 1)) < 0 && errno == EINTR)
        ;
    struct stat opened {}, named {};
    if (got == 0 && ::fstat(file, &opened) == 0 && ::lstat(path, &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino)
        ::unlink(path);
    ::_exit(0);
}

}  // namespace

void NameGuard::watch(const QByteArray& path, int fd)
{
    release();
    // A socket, not a pipe: "done" sent to a guardian that someone killed
    // fails with EPIPE (MSG_NOSIGNAL) instead of ending the saver with SIGPIPE.
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    const Descriptor fromSaver(ends[0]);
    toGuardian_ = Descriptor(ends[1]);
    const pid_t pid = ::fork();
    if (pid == 0)
        guard(fromSaver.get(), toGuardian_.get(), fd, path.constData());
    if (pid < 0) {
        toGuardian_ = Descriptor();
        return;
    }
    guardian_ = pid;
}

void NameGuard::release()
{
    if (guardian_ < 0)
        return;
    ::send(toGuardian_.get(), &done, 1, MSG_NOSIGNAL);
    toGuardian_ = Descriptor();
    while (::waitpid(guardian_, nullptr, 0) < 0 && errno == EINTR)
        ;
    guardian_ = -1;
}

}  // namespace atomicSave::posix
