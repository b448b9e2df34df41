#pragma once

#include "quillmere/SourceText.h"

#include <QLocale>
#include <QString>

namespace quillmere {

// The core's texts as a person reads them: translated through the installed
// translators by their context and English source, numbers written the
// reader's way. Everything Qt-side that shows a core text goes through here.
QString translated(SourceText text);
QString translated(const Phrase& phrase, const QLocale& locale = QLocale());

} // namespace quillmere
