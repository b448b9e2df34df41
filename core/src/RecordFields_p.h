// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The members of each record of the state, listed once for every decoder of
// it: a template over the reader, which offers what ObjectReader offers.
// Decoders that share the list cannot drift apart on which keys a record has,
// in which order they are read, or how each is read.

#include "quillmere/Block.h"
#include "quillmere/QuillmereState.h"
#include "quillmere/Records.h"

namespace quillmere::coding {

template <class T>
struct RecordFields;

// Only asks the kernel for randomness when the file has no identifier: with
// value_or, every review of a long history would cost a system call.
inline Uuid freshUnlessGiven(const std::optional<Uuid>& id)
{
    return id ? *id : Uuid::generate();
}

// Fields are read in declaration order (braced initialisers evaluate left to
// right), so the first bad key in that order is the one reported.

template <>
struct RecordFields<Outcome> {
    template <class Reader>
    static Outcome read(const Reader& r)
    {
        return Outcome{r.identifier("id"), r.text("title")};
    }
};

template <>
struct RecordFields<SessionPlan> {
    template <class Reader>
    static SessionPlan read(const Reader& r)
    {
        return SessionPlan{
            r.identifier("id"),          r.optionalIdentifier("blockOutcomeId"), r.text("intendedOutcome"),
            r.text("firstAction"),       r.text("hazardsMitigation"),            r.text("nicuFraming"),
            r.integer("energy"),         r.integer("morale"),
        };
    }
};

template <>
struct RecordFields<SessionReview> {
    template <class Reader>
    static SessionReview read(const Reader& r)
    {
        // Reviews written before they carried an identifier get a fresh one.
        return SessionReview{
            freshUnlessGiven(r.optionalIdentifier("id")),
            r.template enumeration<CompletionResult>("completion"),
            r.text("noteworthyResult"),
            r.text("distractions"),
            r.text("improvement"),
        };
    }
};

template <>
struct RecordFields<WorkSession> {
    template <class Reader>
    static WorkSession read(const Reader& r)
    {
        return WorkSession{
            r.identifier("id"),
            r.integer("number"),
            r.template record<SessionPlan>("plan"),
            r.instant("startedAt"),
            r.seconds("plannedDurationSeconds"),
            r.optionalInstant("pausedAt"),
            r.seconds("accumulatedPausedSeconds"),
            r.optionalInstant("endedAt"),
            r.template optionalRecord<SessionReview>("review"),
        };
    }
};

template <>
struct RecordFields<BlockReview> {
    template <class Reader>
    static BlockReview read(const Reader& r)
    {
        return BlockReview{
            r.text("outputProduced"), r.text("normalComparison"), r.text("boggedDown"),
            r.text("wentWell"),       r.text("lessons"),
        };
    }
};

template <>
struct RecordFields<Block> {
    template <class Reader>
    static Block read(const Reader& r)
    {
        return Block{
            r.identifier("id"),
            r.instant("createdAt"),
            r.optionalInstant("plannedStart"),
            r.seconds("focusDurationSeconds"),
            r.seconds("breakDurationSeconds"),
            r.integer("cycleCount"),
            r.template list<Outcome>("outcomes"),
            r.text("whyValue"),
            r.text("doneTest"),
            r.text("hazards"),
            r.text("measurableCheck"),
            r.text("contextNotes"),
            r.template list<WorkSession>("sessions"),
            r.template optionalRecord<BlockReview>("reflection"),
            r.optionalInstant("completedAt"),
            r.optionalInstant("scheduledStartTriggeredAt"),
        };
    }
};

template <>
struct RecordFields<AgentQuestion> {
    template <class Reader>
    static AgentQuestion read(const Reader& r)
    {
        return AgentQuestion{
            r.identifier("id"), r.text("question"), r.instant("createdAt"), r.optionalText("answer"),
            r.optionalInstant("answeredAt"), r.optionalText("askedBy"),
        };
    }
};

template <>
struct RecordFields<QuillmereState> {
    template <class Reader>
    static QuillmereState read(const Reader& r)
    {
        return QuillmereState{
            freshUnlessGiven(r.optionalIdentifier("id")),
            r.template enumeration<WorkflowState>("workflowState"),
            r.template optionalRecord<Block>("currentBlock"),
            r.template list<Block>("blockHistory"),
            r.template optionalRecord<SessionPlan>("plannedNextSession"),
            r.optionalInstant("breakStartedAt"),
            r.seconds("breakExtensionSeconds"),
            r.optionalInstant("breakEndNotifiedAt"),
            r.template list<AgentQuestion>("agentQuestions"),
            r.instant("updatedAt"),
        };
    }
};

} // namespace quillmere::coding
