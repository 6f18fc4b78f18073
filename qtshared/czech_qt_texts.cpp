#include "qtshared/czech_qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vorlanex::qtshared {

bool load_czech_qt_texts(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

}  // namespace vorlanex::qtshared
