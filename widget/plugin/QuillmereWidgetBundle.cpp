// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereWidgetBundle.h"

#include "QuillmereStatusWidget.h"

namespace quillmere {

std::vector<std::shared_ptr<const widgethost::WidgetKind>> QuillmereWidgetBundle::widgets() const
{
    return {std::make_shared<const QuillmereStatusWidget>()};
}

} // namespace quillmere
