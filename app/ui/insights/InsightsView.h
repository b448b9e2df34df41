// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppModel.h"
#include "InsightsModel.h"

#include "quillmere/AtomicFile.h"

#include <QFutureWatcher>
#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace quillmere {

class FocusChart;
class HeadlineFigures;
class HourHeatMap;
class RatingsChart;

// The "Insights" tab: what the history says about a chosen period (the
// last 7 days, 4 weeks, 12 months, or all of it): the headline figures,
// focus per day or week with the share of targets met, energy and morale
// per week, and focus by weekday and hour; and "Export…", which writes the
// period's sessions (CSV) or blocks (JSON) to a file off the window's
// thread. The charts are built the first time the tab is shown, and the
// figures are worked out only while it is shown.
class InsightsView : public QWidget {
    Q_OBJECT

public:
    explicit InsightsView(AppModel& model, QWidget* parent = nullptr);

    // Writes the chosen period's export to `path` on a worker thread and
    // says in the tab how it went; unless `replaceExisting`, a file already
    // at `path` is left as it is and nothing is exported. Ignored while an
    // export is being written.
    void exportTo(const QString& path, ExportFormat format, bool replaceExisting);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // What a finished export has to say: nothing when the file is written.
    struct ExportFailure {
        std::string description;
        std::error_code code;
    };
    using ExportOutcome = std::optional<ExportFailure>;

    void buildCharts();
    void sync();
    void chooseExportFile();
    void finishExport();
    void setStatus(const QString& text);

    AppModel& model_;
    InsightsModel insights_;
    QComboBox* period_ = nullptr;
    QPushButton* export_ = nullptr;
    QLabel* status_ = nullptr;
    QWidget* empty_ = nullptr;
    QWidget* content_ = nullptr;
    QLabel* quiet_ = nullptr;
    HeadlineFigures* headline_ = nullptr;
    QLabel* focusHeading_ = nullptr;
    FocusChart* focus_ = nullptr;
    RatingsChart* ratings_ = nullptr;
    HourHeatMap* heatMap_ = nullptr;
    QFutureWatcher<ExportOutcome> exporting_;
    QString exportPath_;
};

} // namespace quillmere
