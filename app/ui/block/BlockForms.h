// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/Forms.h"

#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QVBoxLayout;

namespace quillmere {

class FormGroup;
class SessionSection;

// The forms of one block, top to bottom: its preparation, a group of its
// sessions and, once written, its reflection. Shared by the current block
// and each history entry. `setBlock` updates what is shown in place and
// only adds or removes the parts whose presence changed, so typing in one
// form is never interrupted by a refresh.
class BlockForms : public QWidget {
    Q_OBJECT

public:
    // `sessionsTitle` names the sessions group for a block (it is renamed on
    // every refresh). `onBreakDurationChanged` as for BlockPreparationForm.
    BlockForms(const Block& block, FormPresentation presentation, std::function<QString(const Block&)> sessionsTitle,
               std::function<void(Seconds)> onBreakDurationChanged = nullptr, QWidget* parent = nullptr);

    const Uuid& blockId() const { return blockId_; }
    void setBlock(const Block& block);
    BlockPreparationForm* preparationForm() const { return preparation_; }
    const std::vector<SessionSection*>& sessions() const { return sessions_; }
    QLabel* sessionsHeader() const;

signals:
    // The preparation form's record; only its own fields are meant.
    void preparationEdited(const quillmere::Block& block);
    void planEdited(const quillmere::Uuid& sessionId, const quillmere::SessionPlan& plan);
    void reviewEdited(const quillmere::Uuid& sessionId, const quillmere::SessionReview& review);
    void reflectionEdited(const quillmere::BlockReview& review);
    void controlsChanged();

private:
    void syncSessions(const Block& block);
    void syncReflection(const Block& block);
    SessionSection* makeSession(const WorkSession& session, const std::vector<Outcome>& outcomes);

    Uuid blockId_;
    FormPresentation presentation_;
    std::function<QString(const Block&)> sessionsTitle_;
    BlockPreparationForm* preparation_ = nullptr;
    FormGroup* sessionsGroup_ = nullptr;
    std::vector<SessionSection*> sessions_;
    QVBoxLayout* layout_ = nullptr;
    BlockReviewForm* reflection_ = nullptr;
};

} // namespace quillmere
