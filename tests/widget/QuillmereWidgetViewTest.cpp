// SPDX-License-Identifier: GPL-3.0-or-later
// The widget's views: what each family shows for a snapshot or a message,
// how the countdown follows the display time, and that everything fits the
// host's fixed sizes.

#include "LocalText.h"
#include "QuillmereStatusWidget.h"
#include "QuillmereWidgetLink.h"
#include "QuillmereWidgetView.h"
#include "WidgetParts.h"

#include "Look.h"

#include <QApplication>
#include <QTest>
#include <QTranslator>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <chrono>

// Readable failure messages for the texts compared below.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

static void PrintTo(const QUrl& url, std::ostream* out)
{
    *out << url.toString().toStdString();
}

namespace quillmere {
namespace {

using namespace widgetparts;
using namespace std::chrono_literals;

const Instant T = utcInstant(2026, 3, 2, 10, 0, 0);

template <class Part>
std::vector<Part*> visibleParts(const QWidget& root)
{
    std::vector<Part*> parts;
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (auto* part = dynamic_cast<Part*>(widget); part && widget->isVisibleTo(&root)) {
            parts.push_back(part);
        }
    }
    return parts;
}

QStringList texts(const QWidget& root)
{
    QStringList result;
    for (TextBlock* block : visibleParts<TextBlock>(root)) {
        result << block->text();
    }
    return result;
}

CountdownText& countdown(const QWidget& root)
{
    const auto found = visibleParts<CountdownText>(root);
    EXPECT_EQ(found.size(), 1u);
    return *found.front();
}

QuillmereEntry ready(WidgetSnapshot snapshot)
{
    return {T, WidgetReadState::ready(std::move(snapshot))};
}

WidgetSnapshot withQuestions(std::int64_t count, std::size_t listed)
{
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T);
    snapshot.openQuestionCount = count;
    snapshot.openQuestions.clear();
    for (std::size_t index = 1; index <= listed; ++index) {
        snapshot.openQuestions.push_back("Question " + std::to_string(index) + "?");
    }
    return snapshot;
}

// Shown at the host's size, laid out and painted.
void showAtHostSize(QuillmereWidgetView& view, QuillmereWidgetFamily family)
{
    view.setFixedSize(widgethost::standardSize(QuillmereStatusWidget::hostFamily(family)));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QApplication::processEvents();
}

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

TEST(QuillmereWidgetView, Messages_ShowTheirTextReadAsOneElementAndOpenTheIdleRoute)
{
    QuillmereWidgetView waiting({T, WidgetReadState::waitingForApp()}, QuillmereWidgetFamily::small);
    EXPECT_TRUE(texts(waiting).contains("Open Quillmere"));
    EXPECT_EQ(waiting.accessibleName(), "Open Quillmere, The widget shows your block once the app has run.");
    EXPECT_EQ(waiting.tapUrl(), QUrl("quillmere://open/idle"));
    waiting.setDisplayTime(T + 1h); // nothing follows the time; must not fail

    QuillmereWidgetView unavailable({T, WidgetReadState::unavailable("Update the widget")},
                                    QuillmereWidgetFamily::large);
    EXPECT_EQ(texts(unavailable), (QStringList{"Quillmere unavailable", "Update the widget"}));
    EXPECT_EQ(unavailable.tapUrl(), QUrl("quillmere://open/idle"));
}

TEST(QuillmereWidgetView, Snapshot_OpensItsRouteAndReadsAsTheLinkLabel)
{
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T);
    snapshot.route = WidgetRoute::sessionReview;
    for (const QuillmereWidgetFamily family : supportedWidgetFamilies) {
        QuillmereWidgetView view(ready(snapshot), family);
        EXPECT_EQ(view.tapUrl(), QUrl("quillmere://open/session-review"));
        EXPECT_EQ(view.accessibleName(), QuillmereWidgetLink::accessibilityLabel(snapshot));
    }
}

TEST(QuillmereWidgetView, SmallWidget_CountsDownInWholeSecondsRoundedUp)
{
    QuillmereWidgetView view(ready(WidgetSnapshot::placeholder(T)), QuillmereWidgetFamily::small);
    EXPECT_TRUE(texts(view).contains("FOCUS"));
    CountdownText& time = countdown(view);
    EXPECT_EQ(time.text(), "17:00");
    view.setDisplayTime(T + 500ms);
    EXPECT_EQ(time.text(), "17:00");
    view.setDisplayTime(T + 1s);
    EXPECT_EQ(time.text(), "16:59");
    view.setDisplayTime(T + 1019s + 1ns);
    EXPECT_EQ(time.text(), "00:01");
    EXPECT_EQ(time.colour(), view.palette().color(QPalette::WindowText));

    // Hours get their own field rather than "61:00".
    EXPECT_EQ(clockText(3599, ClockHours::shown), "59:59");
    EXPECT_EQ(clockText(3600, ClockHours::shown), "1:00:00");
    EXPECT_EQ(clockText(36'061, ClockHours::shown), "10:01:01");
    // A session's timer keeps counting minutes past the hour.
    EXPECT_EQ(clockText(3600, ClockHours::inMinutes), "60:00");
    EXPECT_EQ(clockText(-5, ClockHours::inMinutes), "00:00");
}

TEST(QuillmereWidgetView, SmallWidget_ShowsDueWhenCountdownHasEnded)
{
    QuillmereWidgetView view(ready(WidgetSnapshot::placeholder(T)), QuillmereWidgetFamily::small);
    view.setDisplayTime(T + 1020s);
    EXPECT_EQ(countdown(view).text(), "Due");
    EXPECT_EQ(countdown(view).colour(), QuillmereWidgetPalette::phaseColour(WidgetPhase::focusing, view.palette()));
    view.setDisplayTime(T + 2h);
    EXPECT_EQ(countdown(view).text(), "Due");
}

TEST(QuillmereWidgetView, SmallWidget_ShowsOutcomeOnlyWhenPresentAndTheCaptionWithoutCountdown)
{
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T);
    QuillmereWidgetView withOutcome(ready(snapshot), QuillmereWidgetFamily::small);
    EXPECT_TRUE(texts(withOutcome).contains("Draft the widget acceptance notes"));

    snapshot.intendedOutcome.clear();
    snapshot.countdown.reset();
    QuillmereWidgetView without(ready(snapshot), QuillmereWidgetFamily::small);
    EXPECT_EQ(texts(without), (QStringList{"FOCUS", "Session 3 of 8"}));
    EXPECT_EQ(countdown(without).text(), "Session 3 of 8");
    EXPECT_EQ(countdown(without).colour(), look::secondary(without.palette()));
}

TEST(QuillmereWidgetView, Paused_ShowsPauseSymbolFrozenTimeAndAStaticSessionBar)
{
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T);
    QuillmereWidgetView running(ready(snapshot), QuillmereWidgetFamily::large);
    showAtHostSize(running, QuillmereWidgetFamily::large);
    EXPECT_EQ(visibleParts<PhaseBadge>(running).front()->pausedSymbol(), nullptr);
    CapsuleBar* runningBar = visibleParts<SessionProgressBar>(running).front()->bar();
    const int runningStart = runningBar->filledWidth();
    running.setDisplayTime(T + 300s);
    EXPECT_GT(runningBar->filledWidth(), runningStart);

    snapshot.countdown->isPaused = true;
    snapshot.countdown->frozenRemainingSeconds = 754;
    QuillmereWidgetView paused(ready(snapshot), QuillmereWidgetFamily::large);
    showAtHostSize(paused, QuillmereWidgetFamily::large);
    SymbolView* pause = visibleParts<PhaseBadge>(paused).front()->pausedSymbol();
    ASSERT_NE(pause, nullptr);
    EXPECT_EQ(pause->symbol(), "pause.fill");
    EXPECT_EQ(pause->accessibleName(), "Paused");

    CapsuleBar* bar = visibleParts<SessionProgressBar>(paused).front()->bar();
    const int filled = bar->filledWidth();
    EXPECT_NEAR(filled, bar->width() * (1500.0 - 754) / 1500, 1);
    paused.setDisplayTime(T + 600s);
    EXPECT_EQ(countdown(paused).text(), "12:34");
    EXPECT_EQ(countdown(paused).colour(), look::secondary(paused.palette()));
    EXPECT_EQ(bar->filledWidth(), filled);
}

TEST(QuillmereWidgetView, Countdown_RepaintsOnlyWhenItsTextOrTheFilledPixelsChange)
{
    QuillmereWidgetView view(ready(WidgetSnapshot::placeholder(T)), QuillmereWidgetFamily::large);
    showAtHostSize(view, QuillmereWidgetFamily::large);
    PaintCounter timePaints(countdown(view));
    PaintCounter barPaints(*visibleParts<SessionProgressBar>(view).front()->bar());
    PaintCounter viewPaints(view);

    // The bar is 332 px for a 1500 s session: a pixel every 4.5 s.
    view.setDisplayTime(T + 200ms);
    view.setDisplayTime(T + 900ms);
    QApplication::processEvents();
    EXPECT_EQ(timePaints.count, 0);
    EXPECT_EQ(barPaints.count, 0);

    view.setDisplayTime(T + 1s);
    QApplication::processEvents();
    EXPECT_EQ(timePaints.count, 1);
    view.setDisplayTime(T + 6s);
    QApplication::processEvents();
    EXPECT_EQ(barPaints.count, 1);
    // Opaque parts: the background behind them is not painted again.
    EXPECT_EQ(viewPaints.count, 0);
}

TEST(QuillmereWidgetView, MediumWidget_LeavesOutAnEmptyFirstActionAndNoQuestions)
{
    WidgetSnapshot snapshot = withQuestions(0, 0);
    snapshot.firstAction.clear();
    snapshot.intendedOutcome.clear();
    QuillmereWidgetView bare(ready(snapshot), QuillmereWidgetFamily::medium);
    const QStringList bareTexts = texts(bare);
    EXPECT_TRUE(bareTexts.contains("OUTCOME"));
    EXPECT_TRUE(bareTexts.contains("No outcome set"));
    EXPECT_FALSE(bareTexts.contains("FIRST ACTION"));
    EXPECT_TRUE(bareTexts.filter("open question").isEmpty());

    QuillmereWidgetView full(ready(withQuestions(1, 1)), QuillmereWidgetFamily::medium);
    EXPECT_TRUE(texts(full).contains("FIRST ACTION"));
    EXPECT_TRUE(texts(full).contains("1 open question"));
}

TEST(QuillmereWidgetView, DetailedWidget_ShowsOnlyTheRatingsPresent)
{
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T);
    snapshot.energy.reset();
    snapshot.morale = 4;
    QuillmereWidgetView moraleOnly(ready(snapshot), QuillmereWidgetFamily::extraLarge);
    auto ratings = visibleParts<RatingLine>(moraleOnly);
    ASSERT_EQ(ratings.size(), 1u);
    EXPECT_EQ(ratings.front()->accessibleName(), "Morale 4 of 5");
    EXPECT_EQ(ratings.front()->symbols().front()->symbol(), "heart.fill");

    snapshot.morale.reset();
    QuillmereWidgetView neither(ready(snapshot), QuillmereWidgetFamily::extraLarge);
    EXPECT_TRUE(visibleParts<RatingLine>(neither).empty());
    EXPECT_FALSE(texts(neither).contains("ENERGY"));

    snapshot.energy = 3;
    QuillmereWidgetView energy(ready(snapshot), QuillmereWidgetFamily::large);
    ratings = visibleParts<RatingLine>(energy);
    ASSERT_EQ(ratings.size(), 1u);
    EXPECT_EQ(ratings.front()->accessibleName(), "Energy 3 of 5");
    const auto& symbols = ratings.front()->symbols();
    ASSERT_EQ(symbols.size(), 5u);
    EXPECT_EQ(symbols[2]->colour(), energy.palette().color(QPalette::WindowText));
    EXPECT_EQ(symbols[3]->colour(), look::quaternary(energy.palette()));
}

TEST(QuillmereWidgetView, DetailedWidget_ListsTheQuestionsGivenAndCountsTheRest)
{
    QuillmereWidgetView none(ready(withQuestions(0, 0)), QuillmereWidgetFamily::extraLarge);
    EXPECT_EQ(visibleParts<OpenQuestionList>(none).front()->header(), "0 open questions");
    EXPECT_TRUE(texts(none).filter("more").isEmpty());

    QuillmereWidgetView five(ready(withQuestions(5, 3)), QuillmereWidgetFamily::extraLarge);
    showAtHostSize(five, QuillmereWidgetFamily::extraLarge);
    EXPECT_EQ(visibleParts<OpenQuestionList>(five).front()->header(), "5 open questions");
    EXPECT_EQ(texts(five).filter("Question ").size(), 3);
    EXPECT_TRUE(texts(five).contains("and 2 more"));
}

TEST(QuillmereWidgetView, BlockProgress_WithoutPlannedSessionsShowsTheCaptionAlone)
{
    WidgetSnapshot snapshot = WidgetSnapshot::placeholder(T);
    snapshot.sessionsPlanned = 0;
    snapshot.currentSessionNumber.reset();
    QuillmereWidgetView view(ready(snapshot), QuillmereWidgetFamily::small);
    BlockProgressBar* block = visibleParts<BlockProgressBar>(view).front();
    EXPECT_EQ(block->caption(), "Focus in progress");
    EXPECT_EQ(block->bar(), nullptr);
}

TEST(QuillmereWidgetView, TextBlock_ElidesAtItsLineLimitAndBreaksLongWords)
{
    TextBlock block(QString("word ").repeated(60), widgetFont(TypeSize::caption), {}, 3, nullptr);
    QStringList lines = block.lines(150);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines.back().endsWith(QChar(0x2026)));
    EXPECT_FALSE(lines.front().endsWith(QChar(0x2026)));
    EXPECT_EQ(block.heightForWidth(150), 3 * block.fontMetrics().lineSpacing());

    block.setText(QString(200, QChar('x')));
    for (const QString& line : block.lines(150)) {
        EXPECT_LE(block.fontMetrics().horizontalAdvance(line), 150) << line.toStdString();
    }
    block.setText("Short");
    EXPECT_EQ(block.lines(150), QStringList{"Short"});
}

// Every part inside the margins, no two parts on the same pixels, no text
// cut below its last line, the countdown at full length, and every question
// either listed or counted.
void expectFits(QuillmereWidgetView& view, QuillmereWidgetFamily family)
{
    showAtHostSize(view, family);
    const QRect content = view.rect().marginsRemoved(QMargins(16, 16, 16, 16));
    std::vector<QRect> drawn;
    const auto place = [&](QWidget* part, int height) {
        const QRect rect(part->mapTo(&view, QPoint()), QSize(part->width(), height));
        EXPECT_TRUE(content.contains(rect)) << part->metaObject()->className();
        for (const QRect& other : drawn) {
            EXPECT_FALSE(other.intersects(rect)) << part->metaObject()->className();
        }
        drawn.push_back(rect);
    };
    for (TextBlock* block : visibleParts<TextBlock>(view)) {
        const int needed = static_cast<int>(block->lines(block->width()).size()) * block->fontMetrics().lineSpacing();
        EXPECT_LE(needed, block->height()) << block->text().toStdString();
        place(block, needed);
    }
    for (SymbolView* symbol : visibleParts<SymbolView>(view)) {
        place(symbol, symbol->height());
    }
    for (CapsuleBar* bar : visibleParts<CapsuleBar>(view)) {
        place(bar, bar->height());
    }
    for (CountdownText* time : visibleParts<CountdownText>(view)) {
        place(time, time->height());
        EXPECT_LE(QFontMetrics(time->drawnFont()).horizontalAdvance(time->text()), time->width());
    }
    for (OpenQuestionList* questions : visibleParts<OpenQuestionList>(view)) {
        const QString more = questions->moreText().section(' ', 1, 1);
        EXPECT_EQ(QString::number(questions->shownCount() + more.toInt()), questions->header().section(' ', 0, 0));
    }
}

TEST(QuillmereWidgetView, EveryFamily_FitsShortAndLongTextsWithoutClippingOrOverlap)
{
    WidgetSnapshot longTexts = withQuestions(9, 3);
    longTexts.intendedOutcome = QString("Finish the acceptance notes with every edge case ").repeated(4).toStdString();
    longTexts.firstAction = QString("Copy the checklist into a fresh document first ").repeated(4).toStdString();
    longTexts.openQuestions[1] = std::string(150, 'q');
    longTexts.countdown->endsAt = T + 10h;
    longTexts.energy = 2;
    const std::vector<QuillmereEntry> entries{
        ready(WidgetSnapshot::placeholder(T)),
        ready(longTexts),
        {T, WidgetReadState::unavailable(QString("The snapshot could not be read ").repeated(5).toStdString())},
    };
    for (const QuillmereWidgetFamily family : supportedWidgetFamilies) {
        for (std::size_t index = 0; index < entries.size(); ++index) {
            SCOPED_TRACE(std::string(rawText(family)) + ", entry " + std::to_string(index));
            QuillmereWidgetView view(entries[index], family);
            expectFits(view, family);
        }
        QuillmereWidgetView view(ready(longTexts), family);
        showAtHostSize(view, family);
        EXPECT_EQ(countdown(view).text(), "10:00:00");
        // However tight, the outcome keeps a line.
        EXPECT_FALSE(texts(view).filter("Finish the acceptance").isEmpty());
    }
}

TEST(QuillmereWidgetView, FittingColumn_GivesUpOnlyTheLinesItMust)
{
    FittingColumn column(12, nullptr);
    auto* line = new LabelledLine("Outcome", QString("A long outcome ").repeated(30).toStdString(), "", 5, &column);
    column.column()->addWidget(line);
    column.column()->addStretch(1);
    std::vector<std::function<void()>> reductions;
    for (int lines = 4; lines >= 1; --lines) {
        reductions.emplace_back([line, lines] { line->setLineLimit(lines); });
    }
    column.setReductions([line] { line->setLineLimit(5); }, std::move(reductions));

    const int labelHeight = QFontMetrics(widgetFont(TypeSize::fieldLabel, QFont::DemiBold, 0.5)).lineSpacing();
    const int threeLines = labelHeight + 2 + 3 * line->value()->fontMetrics().lineSpacing();
    column.resize(200, threeLines);
    column.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&column));
    EXPECT_EQ(line->value()->maxLines(), 3);
    column.resize(200, threeLines - 1);
    EXPECT_EQ(line->value()->maxLines(), 2);
    column.resize(200, 1000);
    EXPECT_EQ(line->value()->maxLines(), 5);
}

TEST(QuillmereWidgetView, DarkPalette_GivesADarkBackgroundAndLightText)
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x1E, 0x1F, 0x22));
    dark.setColor(QPalette::WindowText, QColor(0xE8, 0xE8, 0xEA));
    dark.setColor(QPalette::Highlight, QColor(0x1A, 0x3A, 0x8A));
    QWidget host;
    host.setPalette(dark);
    QuillmereWidgetView view(ready(WidgetSnapshot::placeholder(T)), QuillmereWidgetFamily::medium, &host);

    EXPECT_EQ(QuillmereWidgetPalette::background(view.palette()), QColor(0x1E, 0x1F, 0x22));
    EXPECT_TRUE(view.autoFillBackground());
    for (TextBlock* block : visibleParts<TextBlock>(view)) {
        EXPECT_GT(block->colour().lightness(), 0x1F + 80) << block->text().toStdString();
    }
    EXPECT_EQ(countdown(view).colour(), QColor(0xE8, 0xE8, 0xEA));
    // A dark highlight is lifted off the dark window for the focus phase.
    const QColor focus = QuillmereWidgetPalette::phaseColour(WidgetPhase::focusing, view.palette());
    EXPECT_GT(focus.lightness(), QColor(0x1A, 0x3A, 0x8A).lightness());
    EXPECT_EQ(QuillmereWidgetPalette::phaseColour(WidgetPhase::breaking, view.palette()), look::teal);
}

// Installed last, so that it is asked first: every text comes back wrapped
// and a third longer, as a long translation would.
class PseudoTranslator final : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override
    {
        const QString text = QString::fromUtf8(source);
        return text.isEmpty() ? text : QStringLiteral("[%1 %2]").arg(text, QString(std::max<qsizetype>(3, text.size() / 3), u'~'));
    }
};

TEST(QuillmereWidgetView, EveryFamilyShowsOnlyTranslatedTextsAndKeepsThemInside)
{
    PseudoTranslator pseudo;
    QCoreApplication::installTranslator(&pseudo);
    WidgetSnapshot snapshot = withQuestions(3, 2);
    snapshot.intendedOutcome = "\u270e outcome";
    snapshot.firstAction = "\u270e action";
    snapshot.openQuestions = {"\u270e first?", "\u270e second?"};
    for (const auto family : allCases<QuillmereWidgetFamily>) {
        SCOPED_TRACE(static_cast<int>(family));
        QuillmereWidgetView view(ready(snapshot), family);
        showAtHostSize(view, family);
        for (TextBlock* block : visibleParts<TextBlock>(view)) {
            const QString text = block->text();
            SCOPED_TRACE(text.toStdString());
            const bool typed = text.contains(u'\u270e'); // a question is listed after a bullet
            EXPECT_TRUE(typed || (text.startsWith(u'[') && text.endsWith(QStringLiteral("~]"))))
                << "a text skipped translation";
            // Inside the widget, and given the height its lines need.
            const QRect place(block->mapTo(&view, QPoint(0, 0)), block->size());
            EXPECT_TRUE(view.rect().contains(place)) << "a text is cut off by the widget's edge";
            EXPECT_GE(block->height(), block->heightForWidth(block->width()));
        }
    }
    QCoreApplication::removeTranslator(&pseudo);
}

} // namespace
} // namespace quillmere
