// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/HistoryStatistics.h"

#include <QWidget>

#include <array>

class QLabel;

namespace quillmere {

// The period's figures at a glance, four cards side by side: hours of
// focus, sessions completed, the share of reviewed sessions whose target
// was met, and the current run of days with a session beside the longest.
class HeadlineFigures final : public QWidget {
    Q_OBJECT

public:
    explicit HeadlineFigures(QWidget* parent = nullptr);

    void setFigures(const HistoryStatistics& statistics);

private:
    struct Figure {
        QLabel* value = nullptr;
        QLabel* caption = nullptr;
    };
    static void setFigure(Figure& figure, const QString& value, const QString& caption);

    Figure focus_;
    Figure sessions_;
    Figure targets_;
    Figure streak_;
};

} // namespace quillmere
