// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillmere {

// The one main window and its preferences window, as the model sees them:
// something it can bring to the user. Keeps the model free of any GUI library.
class MainWindowControlling {
public:
    virtual ~MainWindowControlling() = default;
    // Shows the window on the current desktop, raises it and gives it focus.
    virtual void presentWindow() = 0;
    // Shows the preferences window the same way.
    virtual void presentPreferences() = 0;
};

} // namespace quillmere
