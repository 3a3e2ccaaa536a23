#pragma once

#include <QIODevice>

// The standard output, each piece flushed as it is written, keeping the
// errno of the first write that failed: the system's own words for it, for
// the program to say when what it printed could not all be written (a full
// disk, a device error).
class StandardOutput : public QIODevice {
public:
    StandardOutput();
    int failure() const { return failure_; }  // 0 while every write succeeded

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    int failure_ = 0;
};

// A reader that leaves early (kvrtool show big.kvr | head -c1) ends the
// program quietly, as it ends the shell's own tools: by SIGPIPE, even when
// the parent had it ignored or blocked.
void endQuietlyWhenTheReaderLeaves();
