// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/WidgetSnapshot.h"

#include <QString>

#include <string>

namespace quillmere {

// Where a tap on the widget goes, and how the widget reads to assistive
// technologies.
namespace QuillmereWidgetLink {

// The idle route's URL, opened from the message views.
std::string fallback();

// "Quillmere, Focus, 17:00 remaining, Session 3 of 8, Outcome: ...", in the
// language of the installed translations: the countdown as frozen in the
// snapshot, not the live value, since the label is read once when the entry
// is shown.
QString accessibilityLabel(const WidgetSnapshot& snapshot);

} // namespace QuillmereWidgetLink

} // namespace quillmere
