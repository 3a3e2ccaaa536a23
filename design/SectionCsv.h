#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One data file of the section tables: lines of comment (#) first, then a
// header that names the columns, then one section a line, fields separated
// by commas. The text must outlive the reader, which keeps views into it.
// A file not of that form is a defect of the build, not of any input: it is
// refused with std::logic_error, naming the file and line.
class SectionCsv {
public:
    SectionCsv(std::string_view fileName, std::string_view text);

    std::size_t rowCount() const { return rows_.size(); }
    std::string_view text(std::size_t row, std::string_view column) const;
    // Read in the C locale, whatever the program's.
    double number(std::size_t row, std::string_view column) const;

private:
    [[noreturn]] void refuse(std::size_t row, const std::string& what) const;

    std::string fileName_;
    std::vector<std::string_view> header_;
    std::vector<std::vector<std::string_view>> rows_;
    std::vector<std::size_t> lineOfRow_;
};
