#include "config/language.h"

#include <QCoreApplication>
#include <QTranslator>

#include <memory>

namespace {

struct TInstalled {
    std::unique_ptr<QTranslator> Translator;
    TLanguage Language = TLanguage::Ru;
};

TInstalled& Installed() {
    static TInstalled installed;
    return installed;
}

} // namespace

std::optional<TLanguage> ParseLanguage(QStringView text) {
    const QStringView code = text.trimmed();
    if (code.compare(u"ru", Qt::CaseInsensitive) == 0)
        return TLanguage::Ru;
    if (code.compare(u"en", Qt::CaseInsensitive) == 0)
        return TLanguage::En;
    return std::nullopt;
}

QString LanguageCode(TLanguage language) {
    return language == TLanguage::En ? QStringLiteral("en") : QStringLiteral("ru");
}

bool InstallProgramLanguage(TLanguage language) {
    TInstalled& installed = Installed();
    if (installed.Translator) {
        QCoreApplication::removeTranslator(installed.Translator.get());
        installed.Translator.reset();
    }
    installed.Language = TLanguage::Ru;
    if (language == TLanguage::Ru)
        return true;
    // The compiled translation is embedded in the program (translations/).
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral(":/i18n/kav7_en.qm")) ||
        !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed.Translator = std::move(translator);
    installed.Language = language;
    return true;
}

TLanguage InstalledProgramLanguage() {
    return Installed().Language;
}
