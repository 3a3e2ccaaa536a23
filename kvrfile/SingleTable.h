#pragma once

#include <cstddef>
#include <vector>

// A two-dimensional table of Single values indexed (row, column) from 0,
// stored with the row index running fastest: all of column 0, then all of
// column 1, and so on. That is also the order of the table in the truss file.
class SingleTable {
public:
    SingleTable() = default;
    SingleTable(std::size_t rows, std::size_t columns)
        : rows_(rows), columns_(columns), cells_(rows * columns, 0.0f) {}

    std::size_t rows() const noexcept { return rows_; }
    std::size_t columns() const noexcept { return columns_; }
    bool isEmpty() const noexcept { return cells_.empty(); }

    float& operator()(std::size_t row, std::size_t column) { return cells_[column * rows_ + row]; }
    float operator()(std::size_t row, std::size_t column) const { return cells_[column * rows_ + row]; }

    // The cells in storage order.
    const std::vector<float>& cells() const noexcept { return cells_; }

private:
    std::size_t rows_ = 0;
    std::size_t columns_ = 0;
    std::vector<float> cells_;
};
