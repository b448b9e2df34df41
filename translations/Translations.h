#pragma once

#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

namespace quillmere {

// The translations a program shows its texts in, installed for as long as
// this object lives. Quillmere's own come from the resources (":/i18n",
// made from translations/*.ts at build time), Qt's own standard texts
// (dialog buttons, the command line's errors) from Qt's translations folder
// when it has them. A locale Quillmere has no translation for shows the
// English sources, with the English plural forms.
//
//     const Translations translations(QLocale());  // right after the application object
class Translations {
public:
    explicit Translations(const QLocale& locale);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

private:
    std::vector<std::unique_ptr<QTranslator>> installed_;
};

} // namespace quillmere
