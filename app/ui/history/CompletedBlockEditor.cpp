// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompletedBlockEditor.h"

#include "LocalText.h"
#include "Look.h"
#include "ScreenParts_p.h"
#include "block/BlockEditing_p.h"
#include "block/BlockForms.h"
#include "block/SessionSection.h"
#include "forms/DisclosureButton.h"
#include "forms/FormComponents.h"

#include "quillmere/QuillmereDesign.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillmere {

namespace {

QString completedHeader(const Block& block)
{
    if (!block.completedAt) {
        return CompletedBlockEditor::tr("Completed block");
    }
    return shortDateTime(*block.completedAt);
}

// What the block was for, as its hoped-for outcomes say, for the eye that
// runs down the list; empty when none is named.
QString outcomesSummary(const Block& block)
{
    QStringList titles;
    for (const Outcome& outcome : block.outcomes) {
        if (!outcome.title.empty()) {
            titles.append(shownText(outcome.title));
        }
    }
    return QLocale().createSeparatedList(titles);
}

} // namespace

CompletedBlockEditor::CompletedBlockEditor(AppModel& model, const Block& block, QWidget* parent)
    : QuillmereCard(QuillmereDesign::Radius::card, std::nullopt, parent), model_(model), blockId_(block.id),
      shown_(block)
{
    layout_ = makeColumn(this, QuillmereDesign::Spacing::loose);
    auto* headerRow = new QHBoxLayout;
    headerRow->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    auto* titles = makeColumn(nullptr, QuillmereDesign::Spacing::tight);
    header_ = new DisclosureButton(completedHeader(block), this);
    header_->setFont(look::headlineFont());
    // Under the date, lined up with its text rather than its arrow.
    outcomes_ = makeSecondaryText(outcomesSummary(block), this);
    outcomes_->setContentsMargins(header_->iconSize().width() + look::points(QuillmereDesign::Spacing::snug), 0, 0, 0);
    outcomes_->setVisible(!outcomes_->text().isEmpty());
    titles->addWidget(header_, 0, Qt::AlignLeft);
    titles->addWidget(outcomes_);
    edit_ = makeButton(tr("Edit"), this);
    edit_->setAccessibleDescription(header_->text());
    headerRow->addLayout(titles, 1);
    headerRow->addWidget(edit_, 0, Qt::AlignTop);
    layout_->addLayout(headerRow);

    connect(header_, &DisclosureButton::expandedChanged, this, [this](bool expanded) {
        if (expanded && !forms_) {
            buildForms();
        }
        if (forms_) {
            forms_->setVisible(expanded);
        }
    });
    connect(edit_, &QPushButton::clicked, this, [this] {
        switch (presentation_) {
        case FormPresentation::readOnly: setPresentation(FormPresentation::editable); break;
        case FormPresentation::editable: setPresentation(FormPresentation::readOnly); break;
        }
    });
}

bool CompletedBlockEditor::isExpanded() const
{
    return header_->isExpanded();
}

void CompletedBlockEditor::setExpanded(bool expanded)
{
    if (isExpanded() == expanded) {
        return;
    }
    header_->showExpanded(expanded);
    if (expanded && !forms_) {
        buildForms();
    }
    if (forms_) {
        forms_->setVisible(expanded);
    }
}

void CompletedBlockEditor::setPresentation(FormPresentation presentation)
{
    if (presentation_ == presentation) {
        return;
    }
    presentation_ = presentation;
    switch (presentation) {
    case FormPresentation::editable: edit_->setText(tr("Done")); break;
    case FormPresentation::readOnly: edit_->setText(tr("Edit")); break;
    }
    // The forms take their presentation when built: build them anew, with
    // the same sessions open.
    std::vector<Uuid> expandedSessions;
    if (forms_) {
        for (const SessionSection* section : forms_->sessions()) {
            if (section->isExpanded()) {
                expandedSessions.push_back(section->sessionId());
            }
        }
        discard(forms_);
        forms_ = nullptr;
    }
    if (presentation == FormPresentation::editable) {
        setExpanded(true);
    }
    if (isExpanded() && !forms_) {
        buildForms();
    }
    if (forms_) {
        for (SessionSection* section : forms_->sessions()) {
            if (std::ranges::find(expandedSessions, section->sessionId()) != expandedSessions.end()) {
                section->setExpanded(true);
            }
        }
    }
}

void CompletedBlockEditor::setBlock(const Block& block)
{
    if (block == shown_) {
        return;
    }
    shown_ = block;
    const QString header = completedHeader(block);
    header_->setTitle(header);
    edit_->setAccessibleDescription(header);
    outcomes_->setText(outcomesSummary(block));
    outcomes_->setVisible(!outcomes_->text().isEmpty());
    if (forms_) {
        forms_->setBlock(block);
    }
}

QString CompletedBlockEditor::headerText() const
{
    return header_->text();
}

void CompletedBlockEditor::buildForms()
{
    forms_ = new BlockForms(shown_, presentation_, sessionsTitle, nullptr, this);
    layout_->addWidget(forms_);
    connect(forms_, &BlockForms::preparationEdited, this, [this](const Block& edited) {
        write([&](Block& block) {
            copyPreparation(block, edited, true);
            return true;
        });
    });
    connect(forms_, &BlockForms::planEdited, this, [this](const Uuid& id, const SessionPlan& plan) {
        write([&](Block& block) {
            WorkSession* session = findSession(block, id);
            if (session) {
                session->plan = plan;
            }
            return session != nullptr;
        });
    });
    connect(forms_, &BlockForms::reviewEdited, this, [this](const Uuid& id, const SessionReview& review) {
        write([&](Block& block) {
            WorkSession* session = findSession(block, id);
            if (session) {
                session->review = review;
            }
            return session != nullptr;
        });
    });
    connect(forms_, &BlockForms::reflectionEdited, this, [this](const BlockReview& review) {
        write([&](Block& block) {
            block.reflection = review;
            return true;
        });
    });
    connect(forms_, &BlockForms::controlsChanged, this, &CompletedBlockEditor::controlsChanged);
    emit controlsChanged();
}

void CompletedBlockEditor::write(const std::function<bool(Block&)>& change)
{
    // Looked up afresh: the block or session may have gone since the form
    // was built, and then the edit has nowhere to go.
    const std::vector<Block>& history = model_.state().blockHistory;
    const auto found = std::ranges::find(history, blockId_, &Block::id);
    if (found == history.end()) {
        return;
    }
    Block changed = *found;
    if (!change(changed)) {
        return;
    }
    model_.editState(StatePart::history, [&](QuillmereState& state) {
        const auto target = std::ranges::find(state.blockHistory, blockId_, &Block::id);
        if (target != state.blockHistory.end()) {
            *target = std::move(changed);
        }
    });
    // Typing into the history is held back like any typing (the file holds
    // the whole history); stamps the time, and a failed save raises the alert.
    model_.persistSoon();
}

} // namespace quillmere
