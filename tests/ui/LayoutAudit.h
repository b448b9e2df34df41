// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Looks over a shown window's widgets as a person would look over the
// screen, for what a layout got wrong: widgets drawn over their siblings or
// past the edge of their parent, texts cut off, and a screen's lead action
// off to the side where only a horizontal scroll bar reaches it.
//
// A widget meant to shorten its text says so with the dynamic property
// `quillmereElides` (true); the lead action is the one look::makePrimary marked.

#include <QStringList>

class QWidget;

namespace quillmere::uitest {

// Every fault found under `window`, one line each, naming the widgets by
// class, object name and text, with their geometries. Empty when the layout
// is sound.
QStringList layoutFaults(QWidget& window);

// How many visible widgets marked as the lead action there are under `window`.
int primaryActions(QWidget& window);

} // namespace quillmere::uitest
