#pragma once
// A table of texts shown in a QTableWidget, and read back (the tabs show their tables so; the tests
// read them so); an analysis's table marked as made from inputs the calculation no longer has.
#include <QStringList>
#include <vector>

class QLabel;
class QTableWidget;

namespace vorlanex::spis {

// The table holds `rows`, each cell read-only, its columns as wide as their texts. The table is
// changed in place: rows are added or taken away at its end only, and only a cell whose text
// differs is set, so a table shown again with a few new texts is not built anew (a screen reader
// attached hears of the cells that changed, not of every row).
void fill_table(QTableWidget& table, const std::vector<QStringList>& rows);
// Every row's texts, an empty cell as an empty text.
std::vector<QStringList> table_texts(const QTableWidget& table);

// The analysis's table greyed and `notice` (holding out_of_date_text) shown above it while
// `out_of_date`; the table's texts are not touched.
void mark_out_of_date(QTableWidget& table, QLabel& notice, bool out_of_date);
// The notice's text: "Analýza neodpovídá současným vstupům – spusťte ji znovu."
QString out_of_date_text();

}  // namespace vorlanex::spis
