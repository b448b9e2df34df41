#include "Translated.h"

#include <QCoreApplication>

namespace quillmere {

QString translated(SourceText text)
{
    return QCoreApplication::translate(text.context, text.english);
}

QString translated(const Phrase& phrase, const QLocale& locale)
{
    QString text = translated(phrase.text);
    for (const std::int64_t number : phrase.numbers) {
        text = text.arg(locale.toString(static_cast<qlonglong>(number)));
    }
    return text;
}

} // namespace quillmere
