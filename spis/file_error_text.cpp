#include "spis/file_error_text.h"

#include <cerrno>
#include <cstring>

namespace vorlanex::spis {

namespace {

struct ErrorText {
    int error_number;
    const char* text;
};

// clang-format off
constexpr ErrorText kErrorTexts[] = {
    {ENOSPC,       "Disk je plný: na disku není pro soubor místo."},
    {EDQUOT,       "Vyčerpána kvóta disku: uživatel nemá na disku další místo."},
    {EACCES,       "Přístup odepřen: k souboru nebo složce nemáte oprávnění."},
    {EPERM,        "Operace není povolena: soubor nebo složku nelze takto změnit."},
    {EROFS,        "Disk je připojen jen pro čtení."},
    {ENOENT,       "Soubor nebo složka neexistuje."},
    {ENOTDIR,      "Část cesty není složka."},
    {EISDIR,       "Na místě souboru je složka."},
    {EIO,          "Chyba čtení nebo zápisu na disku."},
    {ENAMETOOLONG, "Název souboru nebo cesta je příliš dlouhá."},
    {EMFILE,       "Program má otevřeno příliš mnoho souborů."},
};
// clang-format on

// Whether Qt's text adds to what the error number says: not when it is the number's usual text
// (Qt takes it from the system) or says nothing.
bool says_more(int error_number, const QString& qt_text) {
    const QString text = qt_text.trimmed();
    if (text.isEmpty() || text == QLatin1String("Unknown error") || text == QStringLiteral("Neznámá chyba")) {
        return false;
    }
    return error_number == 0 ||
           text.compare(QString::fromLocal8Bit(std::strerror(error_number)), Qt::CaseInsensitive) != 0;
}

}  // namespace

QString czech_file_error(int error_number, const QString& qt_text) {
    QString text;
    for (const ErrorText& known : kErrorTexts) {
        if (known.error_number == error_number) text = QString::fromUtf8(known.text);
    }
    if (text.isEmpty()) {
        text = error_number == 0 ? QStringLiteral("Neznámá chyba.")
                                 : QStringLiteral("Chyba systému číslo %1: %2.")
                                       .arg(error_number)
                                       .arg(QString::fromLocal8Bit(std::strerror(error_number)));
    }
    if (says_more(error_number, qt_text)) text += QStringLiteral(" (%1)").arg(qt_text.trimmed());
    return text;
}

}  // namespace vorlanex::spis
