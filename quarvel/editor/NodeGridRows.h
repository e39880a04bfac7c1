#pragma once

#include <QString>
#include <array>
#include <vector>

// The texts of the node grid without the widget: row 0 is the fixed header, row r shows node
// r - 1. The grid always has at least one data row; with no nodes that row is empty.
class NodeGridRows {
public:
    using Row = std::array<QString, 2>;

    NodeGridRows() { Reset(); }

    // One empty data row, the first data row current.
    void Reset();
    // Fills the empty first row or appends a row, and makes it the current row.
    void AddRow(const QString& y, const QString& z);
    // Drops the data row of a removed node; the rows below move up.
    void RemoveRow(int row);
    void SetRow(int row, const QString& y, const QString& z);

    // Row count as the widget shows it, the header included.
    int RowCount() const { return static_cast<int>(rows_.size()) + 1; }
    const Row& At(int row) const { return rows_.at(static_cast<std::size_t>(row - 1)); }
    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row);

private:
    std::vector<Row> rows_;
    int currentRow_ = 1;
};
