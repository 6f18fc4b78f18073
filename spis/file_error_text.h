#pragma once
// Why a file could not be written or read, in Czech, from the system's error number: "Neznámá
// chyba", which is what Qt says of a full disk, tells the user nothing. Qt's own text follows when
// it says more than the number's usual text.
#include <QString>

namespace vorlanex::spis {

QString czech_file_error(int error_number, const QString& qt_text);

}  // namespace vorlanex::spis
