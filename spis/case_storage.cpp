#include "spis/case_storage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <string>

#include "qtshared/qt_text.h"
#include "spis/case_error_text.h"

namespace vorlanex::spis {

std::variant<casefile::CaseFile, QString> read_case(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("Soubor „%1“ nelze otevřít: %2").arg(shown_name(path), file.errorString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return QStringLiteral("Soubor „%1“ nelze přečíst: %2").arg(shown_name(path), file.errorString());
    }
    const auto read =
        casefile::read_case_file(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (const auto* error = std::get_if<casefile::CaseError>(&read)) {
        // Only a newer format is a matter of this program's version; any other fault is damage.
        const QString why = error->kind == casefile::CaseError::Kind::NewerFormat
                                ? QStringLiteral("Případ uložila novější verze programu Vorlanex než tato")
                                : QStringLiteral("Soubor je poškozený nebo to není případ programu Vorlanex");
        return QStringLiteral("Soubor „%1“ nelze otevřít: %2.\n\n%3; nic nebylo otevřeno.")
            .arg(shown_name(path), czech_case_error(*error), why);
    }
    return std::get<casefile::CaseFile>(std::move(read));
}

std::optional<QString> write_atomically(const QString& path, std::string_view bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Soubor „%1“ nelze uložit: %2").arg(shown_name(path), file.errorString());
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("Soubor „%1“ nelze uložit: %2\nSoubor na disku zůstal, jak byl.")
            .arg(shown_name(path), reason);
    }
    return std::nullopt;
}

QString shown_name(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace vorlanex::spis
