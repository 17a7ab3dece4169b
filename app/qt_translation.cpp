#include "app/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace {

const char TranslatorName[] = "QtTranslation";

} // namespace

bool InstallQtTranslation(const QString& language) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    auto* translator = new QTranslator(app);
    translator->setObjectName(QString::fromLatin1(TranslatorName));
    if (!translator->load(QStringLiteral("qtbase_") + language,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    // The catalog of an earlier language goes, so the last call wins.
    for (QTranslator* old : app->findChildren<QTranslator*>(QString::fromLatin1(TranslatorName),
                                                            Qt::FindDirectChildrenOnly)) {
        if (old != translator) {
            QCoreApplication::removeTranslator(old);
            delete old;
        }
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

bool InstallLanguage(TLanguage language) {
    const bool program = InstallProgramLanguage(language);
    const bool qt = InstallQtTranslation(LanguageCode(language));
    return program && qt;
}
