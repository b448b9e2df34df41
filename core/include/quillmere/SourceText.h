// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// A text that a person reads, written once, in English, here in the core,
// which links no Qt. It carries the translation context and the English
// source by which the Qt side looks up its translation where it shows the
// text (QCoreApplication::translate); files, logs, D-Bus replies and the
// command line keep the English. lupdate is told to read QUILLMERE_TEXT as
// QT_TRANSLATE_NOOP, so every marked text lands in the translation files
// beside the application's own: both arguments must be string literals.
struct SourceText {
    const char* context = "";
    const char* english = "";

    friend bool operator==(const SourceText& a, const SourceText& b)
    {
        return std::string_view(a.context) == b.context && std::string_view(a.english) == b.english;
    }
};

#define QUILLMERE_TEXT(context, english) (::quillmere::SourceText{context, english})

// A source text with numbers in it: "%1", "%2"... in the English stand for
// `numbers` in order, so that a translation may move them and the Qt side
// may write them in the reader's locale.
struct Phrase {
    SourceText text;
    std::vector<std::int64_t> numbers;

    // The English with the numbers in plain digits.
    std::string english() const;

    friend bool operator==(const Phrase&, const Phrase&) = default;
};

} // namespace quillmere
