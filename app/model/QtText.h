#pragma once

#include <QString>

#include <string_view>

namespace quillmere {

// The core keeps its texts as UTF-8 in standard strings; Qt wants QString.
inline QString qtText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace quillmere
