#include "spis/table_text.h"

#include <QTableWidget>

namespace vorlanex::spis {

void fill_table(QTableWidget& table, const std::vector<QStringList>& rows) {
    table.setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const QStringList& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.size()); ++c) table.setItem(r, c, new QTableWidgetItem(row[c]));
    }
    table.resizeColumnsToContents();
}

std::vector<QStringList> table_texts(const QTableWidget& table) {
    std::vector<QStringList> rows;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < table.columnCount(); ++c) row << (table.item(r, c) ? table.item(r, c)->text() : QString());
        rows.push_back(row);
    }
    return rows;
}

}  // namespace vorlanex::spis
