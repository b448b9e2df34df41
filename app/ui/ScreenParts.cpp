// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenParts_p.h"

#include "Look.h"
#include "QuillmereStyle.h"

#include "quillmere/QuillmereDesign.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>

namespace quillmere {

void discard(QWidget* widget)
{
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
}

void focusAndReveal(QWidget* widget)
{
    widget->setFocus(Qt::OtherFocusReason);
    // Widgets added a moment ago get their places first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(widget);
        }
    }
}

QVBoxLayout* makeColumn(QWidget* widget, double spacing)
{
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(spacing));
    return layout;
}

QLabel* makeLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QLabel* makeLabel(const QString& text, const QFont& font, QWidget* parent)
{
    QLabel* label = makeLabel(text, parent);
    label->setFont(font);
    return label;
}

QLabel* makeSecondaryText(const QString& text, QWidget* parent)
{
    QLabel* label = makeLabel(text, parent);
    look::makeSecondary(*label);
    return label;
}

QPushButton* makeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

QPushButton* makePrimaryButton(const QString& text, QWidget* parent)
{
    QPushButton* button = makeButton(text, parent);
    look::makePrimary(*button);
    return button;
}

int buttonHeight(const QWidget& widget)
{
    QStyleOptionButton button;
    button.initFrom(&widget);
    button.text = QStringLiteral("M");
    const QSize text(widget.fontMetrics().horizontalAdvance(button.text), widget.fontMetrics().height());
    return widget.style()->sizeFromContents(QStyle::CT_PushButton, &button, text, nullptr).height();
}

void giveRoom(QWidget& control)
{
    if (const int height = buttonHeight(control); height > control.sizeHint().height()) {
        control.setMinimumHeight(height);
    }
}

MoreRow makeMoreRow(const QString& buttonText, QWidget* parent)
{
    MoreRow more;
    more.row = new QWidget(parent);
    auto* layout = new QHBoxLayout(more.row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    more.text = makeSecondaryText(QString(), more.row);
    more.button = makeButton(buttonText, more.row);
    layout->addWidget(more.text, 1);
    layout->addWidget(more.button);
    return more;
}

SymbolLabel::SymbolLabel(const char* symbol, int side, QWidget* parent, std::optional<QuillmereDesign::Accent> accent)
    : QWidget(parent), symbol_(symbol), accent_(accent)
{
    setFixedSize(side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    look::symbolIcon(symbol_, accent_ ? look::accentColour(*accent_, palette()) : QColor()).paint(&painter, rect());
}

QString withShortcut(const QString& name, const QKeySequence& shortcut)
{
    return QCoreApplication::translate("quillmere::ScreenParts", "%1 (%2)", "a control's name and its shortcut")
        .arg(name, shortcut.toString(QKeySequence::NativeText));
}

QWidget* makeEmptyState(const char* symbol, const QString& title, const QString& text, QWidget* parent)
{
    auto* empty = new QWidget(parent);
    auto* column = makeColumn(empty, QuillmereDesign::Spacing::snug);
    auto* heading = new QHBoxLayout;
    heading->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    const QFont font = look::secondTitleFont();
    heading->addWidget(new SymbolLabel(symbol, QFontMetrics(font).height(), empty));
    heading->addWidget(makeLabel(title, font, empty), 1);
    column->addLayout(heading);
    column->addWidget(makeSecondaryText(text, empty));
    return empty;
}

} // namespace quillmere
