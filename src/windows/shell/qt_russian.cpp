#include "shell/qt_russian.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcTranslation, "relcon4.translation", QtWarningMsg)

QTranslator* InstallQtRussian() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_ru"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        qCWarning(lcTranslation) << "no qtbase_ru in" << folder << "(qt6-translations-l10n)";
        delete translator;
        return nullptr;
    }
    return translator;
}
