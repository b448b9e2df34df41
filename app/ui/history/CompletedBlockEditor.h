// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppModel.h"
#include "QuillmereCard.h"
#include "forms/Forms.h"

#include <functional>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace quillmere {

class BlockForms;
class DisclosureButton;

// One completed block in the history, on a card: a header with its
// completion time, its hoped-for outcomes and an "Edit"/"Done" switch, and
// the block's forms below. The forms are built
// the first time the entry is expanded (or switched to editing), so a long
// history opens as a list of headers. Opens read-only. Every change replaces
// the block in the history and is saved; a failed save is reported in the
// model's error and the change stays in memory.
class CompletedBlockEditor : public QuillmereCard {
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
    QLabel* outcomes_ = nullptr;
    QPushButton* edit_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    BlockForms* forms_ = nullptr;
};

} // namespace quillmere
