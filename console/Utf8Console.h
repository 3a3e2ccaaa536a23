#pragma once

// A command-line program prints UTF-8, file names that are not ASCII among
// it. A Windows console shows it as such while the program runs and gets its
// own code page back afterwards; elsewhere the terminal reads UTF-8 already
// and nothing is done.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned int earlier_ = 0;  // the console's code page, 0 without a console
};
