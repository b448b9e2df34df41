#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace quillmere {

Translations::Translations(const QLocale& locale)
{
    const auto install = [this](std::unique_ptr<QTranslator> translator) {
        QCoreApplication::installTranslator(translator.get());
        installed_.push_back(std::move(translator));
    };
    // Without a translator Qt would not choose between singular and plural
    // for "%n" texts; the English file holds just those forms, so a locale
    // without a translation of its own still reads "1 open question".
    auto own = std::make_unique<QTranslator>();
    if (own->load(locale, QStringLiteral("quillmere"), QStringLiteral("_"), QStringLiteral(":/i18n")) ||
        own->load(QStringLiteral("quillmere_en"), QStringLiteral(":/i18n"))) {
        install(std::move(own));
    }
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        install(std::move(qt));
    }
}

Translations::~Translations()
{
    for (const auto& translator : installed_) {
        QCoreApplication::removeTranslator(translator.get());
    }
}

} // namespace quillmere
