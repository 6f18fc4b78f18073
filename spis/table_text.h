#pragma once
// A table of texts shown in a QTableWidget, and read back (the tabs show their tables so; the tests
// read them so).
#include <QStringList>
#include <vector>

class QTableWidget;

namespace vorlanex::spis {

// The table holds `rows`, each cell read-only, its columns as wide as their texts.
void fill_table(QTableWidget& table, const std::vector<QStringList>& rows);
// Every row's texts, an empty cell as an empty text.
std::vector<QStringList> table_texts(const QTableWidget& table);

}  // namespace vorlanex::spis
