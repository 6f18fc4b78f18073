#include "spis/table_text.h"

#include <QLabel>
#include <QPalette>
#include <QTableWidget>

namespace vorlanex::spis {

void fill_table(QTableWidget& table, const std::vector<QStringList>& rows) {
    const int count = static_cast<int>(rows.size());
    if (table.rowCount() != count) table.setRowCount(count);
    for (int r = 0; r < count; ++r) {
        const QStringList& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.size()) && c < table.columnCount(); ++c) {
            QTableWidgetItem* item = table.item(r, c);
            if (!item) {
                table.setItem(r, c, new QTableWidgetItem(row[c]));
            } else if (item->text() != row[c]) {
                item->setText(row[c]);
            }
        }
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

QString out_of_date_text() { return QStringLiteral("Analýza neodpovídá současným vstupům – spusťte ji znovu."); }

void mark_out_of_date(QTableWidget& table, QLabel& notice, bool out_of_date) {
    notice.setVisible(out_of_date);
    QPalette palette = table.parentWidget() ? table.parentWidget()->palette() : QPalette();
    if (out_of_date) {
        const QColor grey = palette.color(QPalette::Disabled, QPalette::Text);
        palette.setColor(QPalette::Active, QPalette::Text, grey);
        palette.setColor(QPalette::Inactive, QPalette::Text, grey);
    }
    table.setPalette(palette);
}

}  // namespace vorlanex::spis
