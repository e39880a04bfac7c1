#include "NodeGridRows.h"

#include <algorithm>

void NodeGridRows::Reset() {
    rows_.assign(1, Row{});
    currentRow_ = 1;
}

void NodeGridRows::AddRow(const QString& y, const QString& z) {
    if (rows_.size() == 1 && rows_.front()[0].isEmpty())
        rows_.front() = Row{y, z};
    else
        rows_.push_back(Row{y, z});
    currentRow_ = RowCount() - 1;
}

void NodeGridRows::RemoveRow(int row) {
    if (row < 1 || row >= RowCount())
        return;
    rows_.erase(rows_.begin() + (row - 1));
    if (rows_.empty())
        rows_.push_back(Row{});
    currentRow_ = std::clamp(currentRow_, 1, RowCount() - 1);
}

void NodeGridRows::SetRow(int row, const QString& y, const QString& z) {
    if (row >= 1 && row < RowCount())
        rows_[static_cast<std::size_t>(row - 1)] = Row{y, z};
}

void NodeGridRows::SetCurrentRow(int row) {
    currentRow_ = std::clamp(row, 1, RowCount() - 1);
}
