#include "design/SectionCsv.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace {

std::vector<std::string_view> fieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

}  // namespace

SectionCsv::SectionCsv(std::string_view fileName, std::string_view text) : fileName_(fileName)
{
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r'))  // a checkout with Windows line ends
            line.remove_suffix(1);
        if (line.empty() || line.starts_with('#'))
            continue;
        if (header_.empty()) {
            header_ = fieldsOf(line);
            continue;
        }
        rows_.push_back(fieldsOf(line));
        lineOfRow_.push_back(lineNumber);
        if (rows_.back().size() != header_.size())
            refuse(rows_.size() - 1,
                   "has " + std::to_string(rows_.back().size()) + " fields, the header " + std::to_string(header_.size()));
    }
    if (rows_.empty())
        throw std::logic_error(fileName_ + ": no sections");
}

std::string_view SectionCsv::text(std::size_t row, std::string_view column) const
{
    const auto found = std::find(header_.begin(), header_.end(), column);
    if (found == header_.end())
        throw std::logic_error(fileName_ + ": no column " + std::string(column));
    return rows_.at(row)[static_cast<std::size_t>(found - header_.begin())];
}

double SectionCsv::number(std::size_t row, std::string_view column) const
{
    const std::string_view field = text(row, column);
    double value = 0.0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || !(value > 0.0))
        refuse(row, std::string(column) + " is '" + std::string(field) + "', not a positive number");
    return value;
}

void SectionCsv::refuse(std::size_t row, const std::string& what) const
{
    throw std::logic_error(fileName_ + " line " + std::to_string(lineOfRow_.at(row)) + ": " + what);
}
