// SPDX-License-Identifier: GPL-3.0-or-later
#include "LayoutAudit.h"

#include "QuillmereStyle.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QWidget>

namespace quillmere::uitest {

namespace {

QString geometryText(const QRect& rect)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

QString sizeText(const QSize& size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

bool designedToElide(const QWidget* widget)
{
    return widget->property("quillmereElides").toBool();
}

// The scroll area whose viewport `widget` scrolls in, if any.
QAbstractScrollArea* scrollAreaAround(QWidget* widget)
{
    for (QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(up)) {
            return area;
        }
    }
    return nullptr;
}

bool isScrolledViewport(const QWidget* widget)
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(widget->parentWidget());
    return area != nullptr && area->viewport() == widget;
}

// One walk over a shown window's widgets, parents before children,
// collecting every fault it sees.
class Audit {
public:
    explicit Audit(QWidget& window) : window_(window) {}

    QStringList run()
    {
        visit(&window_);
        return faults_;
    }

private:
    // A widget's class, name and text, where it is in its parent and in the window.
    QString describe(const QWidget* widget) const
    {
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            text = label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            text = button->text();
        }
        if (text.isEmpty()) {
            text = widget->accessibleName();
        }
        text = text.simplified();
        if (text.size() > 48) {
            text = text.left(47) + QChar(0x2026);
        }
        QString description = QString::fromLatin1(widget->metaObject()->className());
        if (!widget->objectName().isEmpty()) {
            description += QLatin1Char('#') + widget->objectName();
        }
        if (!text.isEmpty()) {
            description += QStringLiteral(" \"%1\"").arg(text);
        }
        const QPoint inWindow = widget->mapTo(&window_, QPoint());
        return description + QStringLiteral(" at %1, in the window at (%2,%3)")
                                 .arg(geometryText(widget->geometry()))
                                 .arg(inWindow.x())
                                 .arg(inWindow.y());
    }

    void fault(const QString& what, const QWidget* widget, const QString& detail = QString())
    {
        faults_ << QStringLiteral("%1: %2%3").arg(what, describe(widget), detail.isEmpty() ? QString() : "; " + detail);
    }

    QList<QWidget*> shownChildren(QWidget* parent) const
    {
        QList<QWidget*> shown;
        for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && child->isVisibleTo(&window_) && !child->size().isEmpty()) {
                shown << child;
            }
        }
        return shown;
    }

    void visit(QWidget* parent)
    {
        const QList<QWidget*> children = shownChildren(parent);
        checkOverlaps(parent, children);
        for (QWidget* child : children) {
            checkInsideParent(parent, child);
            if (!checkText(child)) {
                checkSqueezed(child);
            }
            checkPrimary(child);
            checkScrollBars(child);
            // Qt lays out the inside of its compound controls itself.
            if (qobject_cast<QAbstractSpinBox*>(child) == nullptr && qobject_cast<QComboBox*>(child) == nullptr &&
                qobject_cast<QTabBar*>(child) == nullptr) {
                visit(child);
            }
        }
    }

    // A scroll area's viewport and bars, and the pages of a stack, lie over
    // one another by design.
    void checkOverlaps(QWidget* parent, const QList<QWidget*>& children)
    {
        if (qobject_cast<QAbstractScrollArea*>(parent) != nullptr || qobject_cast<QStackedWidget*>(parent) != nullptr) {
            return;
        }
        for (qsizetype first = 0; first < children.size(); ++first) {
            for (qsizetype second = first + 1; second < children.size(); ++second) {
                const QRect shared = children[first]->geometry() & children[second]->geometry();
                if (!shared.isEmpty()) {
                    fault(QStringLiteral("overlaps a sibling"), children[first],
                          QStringLiteral("under %1 by %2").arg(describe(children[second]), geometryText(shared)));
                }
            }
        }
    }

    // What lies past a parent's edge is cut off, except in a scroll area,
    // whose content is meant to be larger than its viewport.
    void checkInsideParent(QWidget* parent, QWidget* child)
    {
        if (isScrolledViewport(parent) || parent->rect().contains(child->geometry())) {
            return;
        }
        fault(QStringLiteral("reaches past its parent"), child,
              QStringLiteral("the parent %1 is %2").arg(QString::fromLatin1(parent->metaObject()->className()),
                                                        sizeText(parent->size())));
    }

    // Whether `widget` shows a text of its own, checked here.
    bool checkText(QWidget* widget)
    {
        const bool drawsItsText = qobject_cast<const QAbstractButton*>(widget) != nullptr ||
                                  qobject_cast<const QTabBar*>(widget) != nullptr ||
                                  qobject_cast<const QComboBox*>(widget) != nullptr;
        if (designedToElide(widget)) {
            return true;
        }
        const QSize size = widget->size();
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            if (label->text().isEmpty() && label->pixmap().isNull()) {
                return true;
            }
            if (label->wordWrap()) {
                const int needed = label->heightForWidth(size.width());
                if (size.height() < needed) {
                    fault(QStringLiteral("wrapped text cut off"), widget,
                          QStringLiteral("needs %1 px of height at this width").arg(needed));
                }
                // A word longer than the line does not wrap.
                if (size.width() < label->minimumSizeHint().width()) {
                    fault(QStringLiteral("wrapped text cut off"), widget,
                          QStringLiteral("its longest word needs %1 px of width")
                              .arg(label->minimumSizeHint().width()));
                }
            } else if (size.width() < label->sizeHint().width() || size.height() < label->sizeHint().height()) {
                fault(QStringLiteral("text cut off"), widget,
                      QStringLiteral("its text needs %1").arg(sizeText(label->sizeHint())));
            }
            return true;
        }
        // Buttons, tab bars and combo boxes draw their text at the size they
        // ask for; smaller, it is cut off or elided.
        const QSize hint = widget->sizeHint();
        if (drawsItsText && (size.width() < hint.width() || size.height() < hint.height())) {
            fault(QStringLiteral("text cut off"), widget,
                  QStringLiteral("it asks for %1").arg(sizeText(hint)));
        }
        return drawsItsText;
    }

    // Smaller than a layout may make it: the layout ran out of room.
    void checkSqueezed(QWidget* widget)
    {
        const QSizePolicy policy = widget->sizePolicy();
        const QSize hint = widget->sizeHint();
        const QSize minimumHint = widget->minimumSizeHint();
        const auto smallest = [](int explicitMinimum, int minimumHint, int hint, QSizePolicy::Policy policy) {
            if (policy == QSizePolicy::Ignored) {
                return 0;
            }
            if (explicitMinimum > 0) {
                return explicitMinimum;
            }
            return (policy & QSizePolicy::ShrinkFlag) != 0 ? minimumHint : hint;
        };
        // Wrapping text needs fewer lines, so less height, at a width above
        // the least: what is cut off then shows in the children's checks.
        const QSize least(
            smallest(widget->minimumWidth(), minimumHint.width(), hint.width(), policy.horizontalPolicy()),
            widget->hasHeightForWidth()
                ? widget->minimumHeight()
                : smallest(widget->minimumHeight(), minimumHint.height(), hint.height(), policy.verticalPolicy()));
        if (widget->width() < least.width() || widget->height() < least.height()) {
            fault(QStringLiteral("squeezed"), widget, QStringLiteral("it needs at least %1").arg(sizeText(least)));
        }
    }

    // The lead action is in sight without scrolling sideways.
    void checkPrimary(QWidget* widget)
    {
        if (!look::isPrimary(widget)) {
            return;
        }
        QAbstractScrollArea* area = scrollAreaAround(widget);
        QWidget* frame = area != nullptr ? area->viewport() : &window_;
        const QRect place(widget->mapTo(frame, QPoint()), widget->size());
        if (place.left() < 0 || place.right() >= frame->width()) {
            fault(QStringLiteral("lead action outside the visible width"), widget,
                  QStringLiteral("at %1 in a %2 %3 wide").arg(geometryText(place),
                                                              area != nullptr ? QStringLiteral("viewport")
                                                                              : QStringLiteral("window"))
                      .arg(frame->width()));
        }
    }

    // Screens scroll up and down, never sideways.
    void checkScrollBars(QWidget* widget)
    {
        auto* area = qobject_cast<QAbstractScrollArea*>(widget);
        if (area == nullptr || !area->horizontalScrollBar()->isVisibleTo(&window_)) {
            return;
        }
        fault(QStringLiteral("horizontal scroll bar showing"), widget,
              QStringLiteral("the viewport is %1 wide, its content %2")
                  .arg(area->viewport()->width())
                  .arg(area->viewport()->width() + area->horizontalScrollBar()->maximum()));
    }

    QWidget& window_;
    QStringList faults_;
};

} // namespace

QStringList layoutFaults(QWidget& window)
{
    return Audit(window).run();
}

int primaryActions(QWidget& window)
{
    int count = 0;
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        if (look::isPrimary(widget) && widget->isVisibleTo(&window)) {
            ++count;
        }
    }
    return count;
}

} // namespace quillmere::uitest
