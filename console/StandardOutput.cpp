#include "console/StandardOutput.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

StandardOutput::StandardOutput() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

qint64 StandardOutput::writeData(const char* data, qint64 size)
{
    errno = 0;
    if (std::fwrite(data, 1, static_cast<size_t>(size), stdout) == static_cast<size_t>(size) && std::fflush(stdout) == 0)
        return size;
    failure_ = errno != 0 ? errno : EIO;
    return -1;
}

void endQuietlyWhenTheReaderLeaves()
{
#ifdef Q_OS_UNIX
    std::signal(SIGPIPE, SIG_DFL);
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    sigprocmask(SIG_UNBLOCK, &pipe, nullptr);
#endif
}
