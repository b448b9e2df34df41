// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WidgetHostInterface.h"

#include <QObject>

namespace quillmere {

// The plug-in's entry point: the bundle of Quillmere's widgets, of which
// there is one, the status widget.
class QuillmereWidgetBundle : public QObject, public widgethost::WidgetBundle {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.quillmere.WidgetBundle/1")
    Q_INTERFACES(quillmere::widgethost::WidgetBundle)

public:
    using QObject::QObject;
    std::vector<std::shared_ptr<const widgethost::WidgetKind>> widgets() const override;
};

} // namespace quillmere
