// SPDX-License-Identifier: GPL-3.0-or-later
#include "InsightsView.h"

#include "Look.h"
#include "LocalText.h"
#include "ScreenParts_p.h"
#include "forms/FormComponents.h"
#include "insights/FocusChart.h"
#include "insights/HeadlineFigures.h"
#include "insights/HourHeatMap.h"
#include "insights/RatingsChart.h"

#include "quillmere/QuillmereDesign.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace quillmere {

namespace {

QString periodName(InsightPeriod period)
{
    switch (period) {
    case InsightPeriod::lastSevenDays: return InsightsView::tr("Last 7 days");
    case InsightPeriod::lastFourWeeks: return InsightsView::tr("Last 4 weeks");
    case InsightPeriod::lastTwelveMonths: return InsightsView::tr("Last 12 months");
    case InsightPeriod::all: return InsightsView::tr("All");
    }
    return {};
}

// Said above the charts when the period holds no focus while the history does.
QString quietPeriodText(InsightPeriod period)
{
    switch (period) {
    case InsightPeriod::lastSevenDays:
        return InsightsView::tr("No focus in the last 7 days. A longer period shows your earlier sessions.");
    case InsightPeriod::lastFourWeeks:
        return InsightsView::tr("No focus in the last 4 weeks. A longer period shows your earlier sessions.");
    case InsightPeriod::lastTwelveMonths:
        return InsightsView::tr("No focus in the last 12 months. “All” shows your earlier sessions.");
    case InsightPeriod::all: return InsightsView::tr("No focus time has been recorded yet.");
    }
    return {};
}

PeriodUnit barUnit(InsightPeriod period)
{
    switch (period) {
    case InsightPeriod::lastSevenDays:
    case InsightPeriod::lastFourWeeks: return PeriodUnit::day;
    case InsightPeriod::lastTwelveMonths:
    case InsightPeriod::all: return PeriodUnit::week;
    }
    return PeriodUnit::week;
}

// "csv" or "json", as the format's files are usually named.
QString extension(ExportFormat format)
{
    return qtText(rawText(format));
}

QLabel* makeHeading(const QString& text, QWidget* parent)
{
    return makeLabel(text, look::secondTitleFont(), parent);
}

} // namespace

InsightsView::InsightsView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model), insights_(model)
{
    auto* layout = makeColumn(this, QuillmereDesign::Spacing::loose);
    layout->addWidget(makeLabel(tr("Insights"), look::titleFont(), this));

    auto* controls = new QHBoxLayout;
    controls->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    auto* periodLabel = makeLabel(tr("Period:"), this);
    periodLabel->setWordWrap(false);
    period_ = new QComboBox(this);
    period_->setAccessibleName(tr("Period"));
    for (const InsightPeriod period : allCases<InsightPeriod>) {
        period_->addItem(periodName(period));
    }
    periodLabel->setBuddy(period_);
    export_ = makeButton(tr("Export…"), this);
    export_->setToolTip(tr("Save the period's sessions as CSV, or its blocks as JSON"));
    controls->addWidget(periodLabel);
    controls->addWidget(period_);
    controls->addStretch(1);
    controls->addWidget(export_);
    layout->addLayout(controls);

    status_ = makeSecondaryText(QString(), this);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_->hide();
    layout->addWidget(status_);

    empty_ = makeEmptyState("chart.bar", tr("No focus sessions yet"),
                            tr("Once you have finished a few focus sessions, this tab shows how long you focused, how "
                               "often you met your targets, how your energy and morale went, and at which hours you "
                               "work best."),
                            this);
    empty_->hide();
    layout->addWidget(empty_);
    layout->addStretch(1);

    const auto index = [](InsightPeriod period) {
        return static_cast<int>(std::ranges::find(allCases<InsightPeriod>, period) - allCases<InsightPeriod>.begin());
    };
    period_->setCurrentIndex(index(insights_.period()));
    connect(period_, &QComboBox::currentIndexChanged, this, [this](int chosen) {
        if (chosen >= 0 && chosen < std::ssize(allCases<InsightPeriod>)) {
            insights_.setPeriod(allCases<InsightPeriod>[static_cast<std::size_t>(chosen)]);
        }
    });
    connect(&insights_, &InsightsModel::periodChanged, this,
            [this, index] { period_->setCurrentIndex(index(insights_.period())); });
    connect(&insights_, &InsightsModel::statisticsChanged, this, &InsightsView::sync);
    connect(export_, &QPushButton::clicked, this, &InsightsView::chooseExportFile);
    connect(&exporting_, &QFutureWatcherBase::finished, this, &InsightsView::finishExport);
}

void InsightsView::buildCharts()
{
    content_ = new QWidget(this);
    auto* column = makeColumn(content_, QuillmereDesign::Spacing::loose);
    quiet_ = makeLabel(QString(), content_);
    column->addWidget(quiet_);
    headline_ = new HeadlineFigures(content_);
    column->addWidget(headline_);

    focusHeading_ = makeHeading(QString(), content_);
    focus_ = new FocusChart(content_);
    focus_->setMinimumHeight(300);
    ratings_ = new RatingsChart(content_);
    ratings_->setMinimumHeight(240);
    heatMap_ = new HourHeatMap(content_);
    const std::pair<QLabel*, QWidget*> sections[] = {
        {focusHeading_, focus_},
        {makeHeading(ratings_->accessibleName(), content_), ratings_},
        {makeHeading(heatMap_->accessibleName(), content_), heatMap_},
    };
    for (const auto& [heading, chart] : sections) {
        auto* section = makeColumn(nullptr, QuillmereDesign::Spacing::tight);
        section->addWidget(heading);
        section->addWidget(chart);
        column->addLayout(section);
    }
    // Below the empty state, above the closing stretch.
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(layout->indexOf(empty_) + 1, content_);
    orderFocusByLayout(this);
}

void InsightsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (content_ == nullptr) {
        buildCharts();
    }
    insights_.setActive(true);
}

void InsightsView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    insights_.setActive(false);
}

void InsightsView::sync()
{
    if (content_ == nullptr) {
        return;
    }
    const bool anything = insights_.hasSessions();
    empty_->setVisible(!anything);
    content_->setVisible(anything);
    if (!anything) {
        return;
    }
    const HistoryStatistics& statistics = insights_.statistics();
    const bool quiet = statistics.total.sessionsCompleted == 0 && qRound(statistics.total.focusMinutes) == 0;
    if (quiet) {
        quiet_->setText(quietPeriodText(insights_.period()));
    }
    quiet_->setVisible(quiet);
    headline_->setFigures(statistics);
    focus_->setFigures(statistics, barUnit(insights_.period()));
    if (focusHeading_->text() != focus_->accessibleName()) {
        focusHeading_->setText(focus_->accessibleName());
    }
    ratings_->setFigures(statistics);
    heatMap_->setFigures(statistics);
}

void InsightsView::chooseExportFile()
{
    const QString csv = tr("CSV (*.csv)");
    const QString json = tr("JSON (*.json)");
    QString filter = csv;
    const QString day = localDateTime(model_.now()).date().toString(Qt::ISODate);
    const QString suggested = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                  .filePath(QStringLiteral("quillmere-%1.csv").arg(day));
    QString path = QFileDialog::getSaveFileName(window(), tr("Export history"), suggested, csv + ";;" + json, &filter);
    if (path.isEmpty()) {
        return;
    }
    ExportFormat format = filter == json ? ExportFormat::json : ExportFormat::csv;
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const ExportFormat named : allCases<ExportFormat>) {
        if (suffix == extension(named)) {
            format = named;
        }
    }
    // The dialog asked before replacing the file the user named, but not
    // one that the added extension names.
    const bool extensionAdded = suffix.isEmpty();
    if (extensionAdded) {
        path += QLatin1Char('.') + extension(format);
    }
    exportTo(path, format, !extensionAdded);
}

void InsightsView::exportTo(const QString& path, ExportFormat format, bool replaceExisting)
{
    if (exporting_.isRunning()) {
        return;
    }
    exportPath_ = path;
    export_->setEnabled(false);
    setStatus(tr("Exporting to %1…").arg(QDir::toNativeSeparators(path)));
    exporting_.setFuture(QtConcurrent::run(
        [state = model_.state(), format, range = insights_.exportRange(), zone = TimeZone::system(),
         now = model_.now(), file = std::filesystem::path(QFile::encodeName(path).toStdString()),
         replaceExisting]() -> ExportOutcome {
            const auto bytes = exportHistory(state, format, range, zone, now);
            if (!bytes) {
                return ExportFailure{bytes.error().description(), {}};
            }
            const FileResult written = writeExport(file, *bytes, replaceExisting);
            if (!written) {
                return ExportFailure{written.error().description(), written.error().code};
            }
            return std::nullopt;
        }));
}

void InsightsView::finishExport()
{
    export_->setEnabled(true);
    const ExportOutcome outcome = exporting_.result();
    const QString shownPath = QDir::toNativeSeparators(exportPath_);
    if (!outcome) {
        setStatus(tr("Exported to %1.").arg(shownPath));
    } else if (outcome->code == std::errc::file_exists) {
        setStatus(tr("Nothing was exported: %1 already exists.").arg(shownPath));
    } else {
        setStatus(tr("The export failed: %1").arg(sentence(qtText(outcome->description))));
    }
}

void InsightsView::setStatus(const QString& text)
{
    if (status_->text() != text) {
        status_->setText(text);
    }
    status_->setVisible(!text.isEmpty());
}

} // namespace quillmere
