#pragma once

#include "AppModel.h"
#include "Forms.h"

#include <QToolButton>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace quillmere {

// A checkable header with a disclosure arrow that shows and hides what
// belongs to it. Space or a click toggles it; it says "Expanded" or
// "Collapsed" to screen readers.
class DisclosureButton : public QToolButton {
    Q_OBJECT

public:
    explicit DisclosureButton(const QString& title, QWidget* parent = nullptr);

    bool isExpanded() const { return expanded_; }
    // Shows the new state without reporting it through `expandedChanged`.
    void showExpanded(bool expanded);
    void setTitle(const QString& title);

signals:
    // The user expanded or collapsed it.
    void expandedChanged(bool expanded);

private:
    void showArrow();

    bool expanded_ = false;
};

// One session of a block: a collapsible "Session N" whose plan form, and
// review form when the session has a review, are built the first time it
// is expanded. Afterwards they are updated in place.
class SessionSection : public QWidget {
    Q_OBJECT

public:
    SessionSection(const WorkSession& session, std::vector<Outcome> outcomes, FormPresentation presentation,
                   QWidget* parent = nullptr);

    const Uuid& sessionId() const { return session_.id; }
    bool isExpanded() const;
    void setExpanded(bool expanded);
    void setSession(const WorkSession& session, const std::vector<Outcome>& outcomes);
    DisclosureButton* header() const { return header_; }
    // Null until the section is first expanded; the review form also while
    // the session has no review.
    SessionPlanForm* planForm() const { return plan_; }
    SessionReviewForm* reviewForm() const { return review_; }

signals:
    void planEdited(const quillmere::Uuid& sessionId, const quillmere::SessionPlan& plan);
    void reviewEdited(const quillmere::Uuid& sessionId, const quillmere::SessionReview& review);
    // Controls were added or removed; the keyboard order needs renewing.
    void controlsChanged();

private:
    void buildForms();
    void syncReviewForm();

    WorkSession session_;
    std::vector<Outcome> outcomes_;
    FormPresentation presentation_;
    DisclosureButton* header_ = nullptr;
    QWidget* body_ = nullptr;
    QVBoxLayout* bodyLayout_ = nullptr;
    SessionPlanForm* plan_ = nullptr;
    SessionReviewForm* review_ = nullptr;
};

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
    // Null while the block has no reflection.
    BlockReviewForm* reflectionForm() const { return reflection_; }

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

// The "Current block" tab: every form of the live current block, editable.
// Each change is written into the state and saved at once; a break length
// goes through the model's own command, which also moves a running break.
class CurrentBlockView : public QWidget {
    Q_OBJECT

public:
    explicit CurrentBlockView(AppModel& model, QWidget* parent = nullptr);

    // Null while there is no current block.
    BlockForms* forms() const { return forms_; }

private:
    void refresh();
    void storePreparation(const Block& edited);
    void storeSession(const Uuid& sessionId, const std::function<void(WorkSession&)>& change);
    void storeReflection(const BlockReview& review);

    AppModel& model_;
    QWidget* empty_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    BlockForms* forms_ = nullptr;
};

// One completed block in the history: a header with its completion time and
// an "Edit"/"Done" switch, and the block's forms below. The forms are built
// the first time the entry is expanded (or switched to editing), so a long
// history opens as a list of headers. Opens read-only. Every change replaces
// the block in the history and is saved; a failed save is reported in the
// model's error and the change stays in memory.
class CompletedBlockEditor : public QWidget {
    Q_OBJECT

public:
    CompletedBlockEditor(AppModel& model, const Block& block, QWidget* parent = nullptr);

    const Uuid& blockId() const { return blockId_; }
    FormPresentation presentation() const { return presentation_; }
    void setPresentation(FormPresentation presentation);
    bool isExpanded() const;
    void setExpanded(bool expanded);
    // Shows `block`, which has this editor's id.
    void setBlock(const Block& block);

    QString headerText() const;
    DisclosureButton* header() const { return header_; }
    QPushButton* editButton() const { return edit_; }
    // Null until first expanded.
    BlockForms* forms() const { return forms_; }

signals:
    void controlsChanged();

private:
    void buildForms();
    void write(const std::function<bool(Block&)>& change);

    AppModel& model_;
    Uuid blockId_;
    // What the header and, once built, the forms show.
    Block shown_;
    FormPresentation presentation_ = FormPresentation::readOnly;
    DisclosureButton* header_ = nullptr;
    QPushButton* edit_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    BlockForms* forms_ = nullptr;
};

// The "History" tab: one editor per completed block, newest first. Editors
// are kept by block id across refreshes, with their expansion and editing
// state.
class HistoryView : public QWidget {
    Q_OBJECT

public:
    explicit HistoryView(AppModel& model, QWidget* parent = nullptr);

    const std::vector<CompletedBlockEditor*>& editors() const { return editors_; }
    CompletedBlockEditor* editor(const Uuid& blockId) const;

private:
    void refresh();
    void renewKeyboardOrder();

    AppModel& model_;
    QWidget* empty_ = nullptr;
    QWidget* list_ = nullptr;
    QVBoxLayout* listLayout_ = nullptr;
    std::vector<CompletedBlockEditor*> editors_;
};

// The "Agent questions" tab: a field to add a question and one card per
// open question with an answer field. Unsaved answers are kept per question
// while the list changes around them. Cards are built a page at a time, the
// oldest questions first, and "Show more" adds the next page, so that the
// tab costs the same with ten thousand open questions as with a page of
// them.
class AgentQuestionsView : public QWidget {
    Q_OBJECT

public:
    // A screenful and more: how many cards are shown at first and how many
    // more each "Show more" adds.
    static constexpr std::size_t cardsPerPage = 20;

    explicit AgentQuestionsView(AppModel& model, QWidget* parent = nullptr);

    QLineEdit* newQuestionField() const { return newQuestion_; }
    QPushButton* addButton() const { return add_; }
    // Hidden while every open question has its card.
    QPushButton* showMoreButton() const { return showMore_; }
    const std::map<Uuid, QString>& draftAnswers() const { return drafts_; }
    // The answer field of an open question that has its card, or null.
    QLineEdit* answerField(const Uuid& questionId) const;
    QPushButton* saveButton(const Uuid& questionId) const;

private:
    struct Card {
        Uuid id;
        QWidget* card = nullptr;
        QLabel* question = nullptr;
        // Null when no agent gave its name.
        QLabel* askedBy = nullptr;
        BoundedLineEdit* answer = nullptr;
        QPushButton* save = nullptr;
    };

    void refresh();
    void addQuestion();
    void saveAnswer(const Uuid& questionId);
    void showMore();
    Card makeCard(const AgentQuestion& question);
    const Card* card(const Uuid& questionId) const;

    AppModel& model_;
    BoundedLineEdit* newQuestion_ = nullptr;
    QPushButton* add_ = nullptr;
    QVBoxLayout* cardsLayout_ = nullptr;
    std::vector<Card> cards_;
    std::map<Uuid, QString> drafts_;
    // How many cards may be shown: grows by a page with each "Show more".
    std::size_t cardLimit_ = cardsPerPage;
    QWidget* more_ = nullptr;
    QLabel* moreText_ = nullptr;
    QPushButton* showMore_ = nullptr;
};

// The content of the main window: the due-message banner, the four tabs
// (kept in step with the model's selected tab both ways) and the error
// alert. Saves when the application stops being active and refreshes the
// notification permission when it becomes active again.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(AppModel& model, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    QWidget* banner() const { return banner_; }
    QLabel* bannerText() const { return bannerText_; }
    // Null until the first error; window-modal, never blocks the event loop.
    QMessageBox* errorAlert() const { return alert_; }
    QWidget* workflowView() const { return workflow_; }
    CurrentBlockView* currentBlockView() const { return currentBlock_; }
    HistoryView* historyView() const { return history_; }
    AgentQuestionsView* agentQuestionsView() const { return questions_; }

private:
    void syncBanner();
    void syncTab();
    void syncAlert();
    void applicationStateChanged(Qt::ApplicationState state);

    AppModel& model_;
    QWidget* banner_ = nullptr;
    QLabel* bannerText_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QMessageBox* alert_ = nullptr;
    QWidget* workflow_ = nullptr;
    CurrentBlockView* currentBlock_ = nullptr;
    HistoryView* history_ = nullptr;
    AgentQuestionsView* questions_ = nullptr;
};

} // namespace quillmere
