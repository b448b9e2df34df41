#pragma once

#include <QString>

#include <string_view>

namespace quillmere {

// The core keeps its texts as UTF-8 in standard strings; Qt wants QString.
inline QString qtText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// `text` ending with a full stop, for a core's description that may lack one
// inside a sentence of the user's text.
inline QString sentence(QString text)
{
    if (!text.endsWith('.')) {
        text += '.';
    }
    return text;
}

} // namespace quillmere
