// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockForms.h"

#include "ScreenParts_p.h"
#include "block/SessionSection.h"
#include "forms/FormComponents.h"

#include "quillmere/QuillmereDesign.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace quillmere {

BlockForms::BlockForms(const Block& block, FormPresentation presentation,
                       std::function<QString(const Block&)> sessionsTitle,
                       std::function<void(Seconds)> onBreakDurationChanged, QWidget* parent)
    : QWidget(parent), blockId_(block.id), presentation_(presentation), sessionsTitle_(std::move(sessionsTitle))
{
    layout_ = makeColumn(this, QuillmereDesign::Spacing::section);
    preparation_ = new BlockPreparationForm(block, presentation, std::move(onBreakDurationChanged), this);
    layout_->addWidget(preparation_);
    connect(preparation_, &BlockPreparationForm::edited, this, &BlockForms::preparationEdited);
    sessionsGroup_ = new FormGroup(sessionsTitle_(block), this);
    layout_->addWidget(sessionsGroup_);
    syncSessions(block);
    syncReflection(block);
}

QLabel* BlockForms::sessionsHeader() const
{
    return sessionsGroup_->header();
}

void BlockForms::setBlock(const Block& block)
{
    // Re-shown even when equal: a break step the host refused must not stay.
    preparation_->setBlock(block);
    const QString title = sessionsTitle_(block);
    if (sessionsHeader()->text() != title) {
        sessionsHeader()->setText(title);
    }
    syncSessions(block);
    syncReflection(block);
}

SessionSection* BlockForms::makeSession(const WorkSession& session, const std::vector<Outcome>& outcomes)
{
    auto* section = new SessionSection(session, outcomes, presentation_, sessionsGroup_);
    connect(section, &SessionSection::planEdited, this, &BlockForms::planEdited);
    connect(section, &SessionSection::reviewEdited, this, &BlockForms::reviewEdited);
    connect(section, &SessionSection::controlsChanged, this, &BlockForms::controlsChanged);
    return section;
}

void BlockForms::syncSessions(const Block& block)
{
    // Sections are kept by session id, so an expanded one stays expanded.
    std::vector<SessionSection*> remaining = sessions_;
    std::vector<SessionSection*> next;
    next.reserve(block.sessions.size());
    bool added = false;
    for (const WorkSession& session : block.sessions) {
        const auto found = std::ranges::find_if(
            remaining, [&](const SessionSection* section) { return section && section->sessionId() == session.id; });
        if (found != remaining.end()) {
            (*found)->setSession(session, block.outcomes);
            next.push_back(*found);
            *found = nullptr;
        } else {
            next.push_back(makeSession(session, block.outcomes));
            added = true;
        }
    }
    bool removed = false;
    for (SessionSection* section : remaining) {
        if (section) {
            discard(section);
            removed = true;
        }
    }
    if (added || removed || next != sessions_) {
        QVBoxLayout* rows = sessionsGroup_->rows();
        for (SessionSection* section : next) {
            rows->removeWidget(section);
        }
        for (SessionSection* section : next) {
            rows->addWidget(section);
        }
        sessions_ = std::move(next);
    }
    // No sessions yet: the header alone says "0 of N", without an empty card.
    sessionsGroup_->rows()->parentWidget()->setVisible(!sessions_.empty());
    if (added) {
        emit controlsChanged();
    }
}

void BlockForms::syncReflection(const Block& block)
{
    if (block.reflection && !reflection_) {
        reflection_ = new BlockReviewForm(*block.reflection, presentation_, this);
        layout_->addWidget(reflection_);
        connect(reflection_, &BlockReviewForm::edited, this, &BlockForms::reflectionEdited);
        emit controlsChanged();
    } else if (!block.reflection && reflection_) {
        discard(reflection_);
        reflection_ = nullptr;
    } else if (reflection_ && reflection_->review() != *block.reflection) {
        reflection_->setReview(*block.reflection);
    }
}

} // namespace quillmere
