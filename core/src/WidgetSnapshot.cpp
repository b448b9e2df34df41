// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/WidgetSnapshot.h"

#include "quillmere/TextLimits.h"
#include "quillmere/TimerSnapshot.h"

#include <algorithm>

namespace quillmere {
namespace {

using nlohmann::json;

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), asciiLower);
    return out;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = asciiLower(c);
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return -1;
}

// Undoes %XX escapes; none for a malformed escape, which makes the whole URL
// invalid.
std::optional<std::string> percentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return out;
}

// The parts of a URL that routing looks at. An authority-less URL
// ("quillmere:focus") has no host.
struct UrlParts {
    std::string scheme;
    std::optional<std::string> host;
    std::string path;
};

bool isSchemeCharacter(char c, bool first)
{
    const char lower = asciiLower(c);
    const bool letter = lower >= 'a' && lower <= 'z';
    if (first) {
        return letter;
    }
    return letter || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

std::optional<UrlParts> splitUrl(std::string_view url)
{
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < colon; ++i) {
        if (!isSchemeCharacter(url[i], i == 0)) {
            return std::nullopt;
        }
    }
    UrlParts parts{std::string(url.substr(0, colon)), std::nullopt, {}};
    std::string_view rest = url.substr(colon + 1);
    rest = rest.substr(0, rest.find_first_of("?#"));

    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t authorityEnd = rest.find('/');
        std::string_view authority = rest.substr(0, authorityEnd);
        rest = authorityEnd == std::string_view::npos ? std::string_view{} : rest.substr(authorityEnd);
        if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
            authority.remove_prefix(at + 1);
        }
        // A port follows the last colon, unless the host is a bracketed
        // address that has colons of its own.
        if (const std::size_t portColon = authority.rfind(':');
            portColon != std::string_view::npos && authority.find(']', portColon) == std::string_view::npos) {
            authority = authority.substr(0, portColon);
        }
        if (!authority.empty()) {
            parts.host = std::string(authority);
        }
    }
    auto path = percentDecoded(rest);
    if (!path) {
        return std::nullopt;
    }
    parts.path = std::move(*path);
    return parts;
}

// The plan whose headline and ratings the widget shows in this phase.
const SessionPlan* planInView(const QuillmereState& state)
{
    switch (state.workflowState) {
    case WorkflowState::focusing:
    case WorkflowState::sessionReview: {
        const WorkSession* session = state.currentSession();
        return session != nullptr ? &session->plan : nullptr;
    }
    case WorkflowState::sessionPlanning:
    case WorkflowState::breaking:
        return state.plannedNextSession ? &*state.plannedNextSession : nullptr;
    case WorkflowState::idle:
    case WorkflowState::blockPlanning:
    case WorkflowState::blockReview:
    case WorkflowState::complete: return nullptr;
    }
    return nullptr;
}

// The plan's own headline, else the title of the outcome it serves, else the
// block's first titled outcome: the widget always has something to say about
// a block that has any titles at all.
std::string_view outcomeTitle(const QuillmereState& state, const SessionPlan* plan)
{
    if (plan != nullptr && !plan->intendedOutcome.empty()) {
        return plan->intendedOutcome;
    }
    if (!state.currentBlock) {
        return {};
    }
    const std::vector<Outcome>& outcomes = state.currentBlock->outcomes;
    if (plan != nullptr && plan->blockOutcomeID) {
        const auto linked = std::find_if(outcomes.begin(), outcomes.end(),
                                         [&](const Outcome& outcome) { return outcome.id == *plan->blockOutcomeID; });
        if (linked != outcomes.end() && !linked->title.empty()) {
            return linked->title;
        }
    }
    const auto titled =
        std::find_if(outcomes.begin(), outcomes.end(), [](const Outcome& outcome) { return !outcome.title.empty(); });
    return titled != outcomes.end() ? std::string_view(titled->title) : std::string_view{};
}

std::optional<WidgetCountdown> countdownFor(const QuillmereState& state, Instant at)
{
    const auto timer = TimerSnapshot::derive(state, at);
    if (!timer) {
        return std::nullopt;
    }
    std::optional<Instant> start;
    // The instant the remaining time is counted from: a paused focus stands
    // still at its pause, so its end does not move while it waits.
    Instant reference = at;
    switch (timer->kind) {
    case TimerKind::breakTime: start = state.breakStartedAt; break;
    case TimerKind::focus:
        if (const WorkSession* session = state.currentSession()) {
            start = addSeconds(session->startedAt, session->accumulatedPausedSeconds);
            reference = session->pausedAt.value_or(at);
        }
        break;
    }
    if (!start) {
        return std::nullopt;
    }
    return WidgetCountdown{
        .endsAt = addSeconds(reference, static_cast<double>(timer->remainingSeconds)),
        .startedAt = *start,
        .isPaused = timer->isPaused,
        .frozenRemainingSeconds = timer->remainingSeconds,
    };
}

template <class T>
void putOptional(json& object, const char* key, const std::optional<T>& value)
{
    if (value) {
        object[key] = toJson(*value);
    }
}

void putOptional(json& object, const char* key, const std::optional<std::int64_t>& value)
{
    if (value) {
        object[key] = *value;
    }
}

} // namespace

std::string_view rawText(WidgetPhase value)
{
    switch (value) {
    case WidgetPhase::idle: return "idle";
    case WidgetPhase::planning: return "planning";
    case WidgetPhase::focusing: return "focusing";
    case WidgetPhase::reviewing: return "reviewing";
    case WidgetPhase::breaking: return "breaking";
    case WidgetPhase::complete: return "complete";
    }
    return {};
}

std::string_view rawText(WidgetRoute value)
{
    switch (value) {
    case WidgetRoute::idle: return "idle";
    case WidgetRoute::blockPlanning: return "block-planning";
    case WidgetRoute::sessionPlanning: return "session-planning";
    case WidgetRoute::focus: return "focus";
    case WidgetRoute::sessionReview: return "session-review";
    case WidgetRoute::breakTime: return "break";
    case WidgetRoute::blockReview: return "block-review";
    }
    return {};
}

SourceText titleSource(WidgetPhase phase)
{
    switch (phase) {
    case WidgetPhase::idle: return QUILLMERE_TEXT("quillmere::WidgetPhase", "Idle");
    case WidgetPhase::planning: return QUILLMERE_TEXT("quillmere::WidgetPhase", "Planning");
    case WidgetPhase::focusing: return QUILLMERE_TEXT("quillmere::WidgetPhase", "Focus");
    case WidgetPhase::reviewing: return QUILLMERE_TEXT("quillmere::WidgetPhase", "Review");
    case WidgetPhase::breaking: return QUILLMERE_TEXT("quillmere::WidgetPhase", "Break");
    case WidgetPhase::complete: return QUILLMERE_TEXT("quillmere::WidgetPhase", "Complete");
    }
    return {};
}

std::string_view title(WidgetPhase phase)
{
    return titleSource(phase).english;
}

std::string_view symbolName(WidgetPhase phase)
{
    switch (phase) {
    case WidgetPhase::idle: return "moon.zzz";
    case WidgetPhase::planning: return "list.bullet.clipboard";
    case WidgetPhase::focusing: return "target";
    case WidgetPhase::reviewing: return "checkmark.circle";
    case WidgetPhase::breaking: return "cup.and.saucer";
    case WidgetPhase::complete: return "flag.checkered";
    }
    return {};
}

WidgetPhase widgetPhase(WorkflowState state)
{
    switch (state) {
    case WorkflowState::idle: return WidgetPhase::idle;
    case WorkflowState::blockPlanning:
    case WorkflowState::sessionPlanning: return WidgetPhase::planning;
    case WorkflowState::focusing: return WidgetPhase::focusing;
    case WorkflowState::sessionReview:
    case WorkflowState::blockReview: return WidgetPhase::reviewing;
    case WorkflowState::breaking: return WidgetPhase::breaking;
    case WorkflowState::complete: return WidgetPhase::complete;
    }
    return WidgetPhase::idle;
}

WidgetRoute routeFor(WorkflowState state)
{
    switch (state) {
    case WorkflowState::idle: return WidgetRoute::idle;
    case WorkflowState::blockPlanning: return WidgetRoute::blockPlanning;
    case WorkflowState::sessionPlanning: return WidgetRoute::sessionPlanning;
    case WorkflowState::focusing: return WidgetRoute::focus;
    case WorkflowState::sessionReview: return WidgetRoute::sessionReview;
    case WorkflowState::breaking: return WidgetRoute::breakTime;
    case WorkflowState::blockReview: return WidgetRoute::blockReview;
    // A finished block has no screen of its own; the idle screen starts the next.
    case WorkflowState::complete: return WidgetRoute::idle;
    }
    return WidgetRoute::idle;
}

WidgetRoute routeFor(WidgetPhase phase)
{
    switch (phase) {
    case WidgetPhase::idle: return WidgetRoute::idle;
    case WidgetPhase::planning: return WidgetRoute::sessionPlanning;
    case WidgetPhase::focusing: return WidgetRoute::focus;
    case WidgetPhase::reviewing: return WidgetRoute::sessionReview;
    case WidgetPhase::breaking: return WidgetRoute::breakTime;
    case WidgetPhase::complete: return WidgetRoute::idle;
    }
    return WidgetRoute::idle;
}

std::string url(WidgetRoute route)
{
    return "quillmere://open/" + std::string(rawText(route));
}

std::optional<WidgetRoute> routeFromUrl(std::string_view url)
{
    const auto parts = splitUrl(url);
    if (!parts || lowered(parts->scheme) != "quillmere" || !parts->host || lowered(*parts->host) != "open") {
        return std::nullopt;
    }
    std::string_view path = parts->path;
    const std::size_t first = path.find_first_not_of('/');
    if (first == std::string_view::npos) {
        return WidgetRoute::idle;
    }
    path = path.substr(first, path.find_last_not_of('/') - first + 1);
    return fromRawText<WidgetRoute>(lowered(path));
}

WidgetSnapshot WidgetSnapshot::make(const QuillmereState& state, Instant at)
{
    const SessionPlan* plan = planInView(state);
    WidgetSnapshot snapshot;
    snapshot.phase = widgetPhase(state.workflowState);
    snapshot.route = routeFor(state.workflowState);
    // The widget shows a few lines: a text of megabytes would only cost the
    // widget's process its time and memory.
    snapshot.intendedOutcome = truncatedText(outcomeTitle(state, plan), TextLimits::widgetCharacters);
    snapshot.firstAction =
        plan != nullptr ? truncatedText(plan->firstAction, TextLimits::widgetCharacters) : std::string{};
    if (state.currentBlock) {
        snapshot.sessionsStarted = static_cast<std::int64_t>(state.currentBlock->sessions.size());
        snapshot.sessionsPlanned = state.currentBlock->cycleCount;
    }
    if (state.workflowState == WorkflowState::focusing) {
        if (const WorkSession* session = state.currentSession()) {
            snapshot.currentSessionNumber = session->number;
        }
    }
    snapshot.countdown = countdownFor(state, at);
    if (plan != nullptr) {
        snapshot.energy = plan->energy;
        snapshot.morale = plan->morale;
    }
    // Made every second: counted and listed without copying every question.
    for (const AgentQuestion& question : state.agentQuestions) {
        if (question.answeredAt) {
            continue;
        }
        if (snapshot.openQuestions.size() < maxOpenQuestions) {
            snapshot.openQuestions.push_back(truncatedText(question.question, TextLimits::widgetCharacters));
        }
        ++snapshot.openQuestionCount;
    }
    snapshot.updatedAt = at;
    return snapshot;
}

void WidgetSnapshot::cutTexts()
{
    for (std::string* text : {&intendedOutcome, &firstAction}) {
        *text = truncatedText(*text, TextLimits::widgetCharacters);
    }
    if (openQuestions.size() > maxOpenQuestions) {
        openQuestions.resize(maxOpenQuestions);
    }
    for (std::string& question : openQuestions) {
        question = truncatedText(question, TextLimits::widgetCharacters);
    }
}

WidgetSnapshot WidgetSnapshot::placeholder(Instant now)
{
    WidgetSnapshot snapshot;
    snapshot.phase = WidgetPhase::focusing;
    snapshot.route = WidgetRoute::focus;
    snapshot.intendedOutcome = "Draft the widget acceptance notes";
    snapshot.firstAction = "Open the pull request template";
    snapshot.sessionsStarted = 3;
    snapshot.sessionsPlanned = 8;
    snapshot.currentSessionNumber = 3;
    snapshot.countdown = WidgetCountdown{
        .endsAt = addSeconds(now, 1020),
        .startedAt = addSeconds(now, -480),
        .isPaused = false,
        .frozenRemainingSeconds = 1020,
    };
    snapshot.energy = 4;
    snapshot.morale = 4;
    snapshot.openQuestionCount = 1;
    snapshot.openQuestions = {"Which signing identity should the release use?"};
    snapshot.updatedAt = now;
    return snapshot;
}

WidgetSnapshot WidgetSnapshot::empty(Instant now)
{
    WidgetSnapshot snapshot;
    snapshot.updatedAt = now;
    return snapshot;
}

double WidgetSnapshot::blockProgress() const
{
    if (sessionsPlanned < 1) {
        return 0;
    }
    return std::clamp(static_cast<double>(sessionsStarted) / static_cast<double>(sessionsPlanned), 0.0, 1.0);
}

std::optional<double> WidgetSnapshot::sessionProgress(Instant at) const
{
    if (!countdown) {
        return std::nullopt;
    }
    const double total = secondsBetween(countdown->startedAt, countdown->endsAt);
    if (!(total > 0)) {
        return std::nullopt;
    }
    const double elapsed = countdown->isPaused ? total - static_cast<double>(countdown->frozenRemainingSeconds)
                                               : secondsBetween(countdown->startedAt, at);
    return std::clamp(elapsed / total, 0.0, 1.0);
}

std::int64_t WidgetSnapshot::hiddenOpenQuestionCount() const
{
    const auto listed = static_cast<std::int64_t>(openQuestions.size());
    // Compared first: a damaged count near the 64-bit minimum must not wrap.
    return openQuestionCount > listed ? openQuestionCount - listed : 0;
}

json toJson(const WidgetCountdown& value)
{
    return json{
        {"endsAt", instantValue(value.endsAt)},
        {"startedAt", instantValue(value.startedAt)},
        {"isPaused", value.isPaused},
        {"frozenRemainingSeconds", value.frozenRemainingSeconds},
    };
}

json toJson(const WidgetSnapshot& value)
{
    json object{
        {"schemaVersion", value.schemaVersion},
        {"phase", rawText(value.phase)},
        {"route", rawText(value.route)},
        {"intendedOutcome", value.intendedOutcome},
        {"firstAction", value.firstAction},
        {"sessionsStarted", value.sessionsStarted},
        {"sessionsPlanned", value.sessionsPlanned},
        {"openQuestionCount", value.openQuestionCount},
        {"openQuestions", value.openQuestions},
        {"updatedAt", instantValue(value.updatedAt)},
    };
    putOptional(object, "currentSessionNumber", value.currentSessionNumber);
    putOptional(object, "countdown", value.countdown);
    putOptional(object, "energy", value.energy);
    putOptional(object, "morale", value.morale);
    return object;
}

namespace coding {

template <>
WidgetCountdown read<WidgetCountdown>(const ObjectReader& r)
{
    return WidgetCountdown{
        r.instant("endsAt"),
        r.instant("startedAt"),
        r.boolean("isPaused"),
        r.integer("frozenRemainingSeconds"),
    };
}

} // namespace coding

namespace coding {

template <>
WidgetSnapshot read<WidgetSnapshot>(const ObjectReader& r)
{
    WidgetSnapshot snapshot;
    snapshot.schemaVersion = r.integer("schemaVersion");
    snapshot.phase = r.enumeration<WidgetPhase>("phase");
    // Older files carry only the phase.
    snapshot.route = r.has("route") ? r.enumeration<WidgetRoute>("route") : routeFor(snapshot.phase);
    snapshot.intendedOutcome = r.text("intendedOutcome");
    snapshot.firstAction = r.text("firstAction");
    snapshot.sessionsStarted = r.integer("sessionsStarted");
    snapshot.sessionsPlanned = r.integer("sessionsPlanned");
    snapshot.currentSessionNumber = r.optionalInteger("currentSessionNumber");
    snapshot.countdown = r.optionalRecord<WidgetCountdown>("countdown");
    snapshot.energy = r.optionalInteger("energy");
    snapshot.morale = r.optionalInteger("morale");
    snapshot.openQuestionCount = r.integer("openQuestionCount");
    snapshot.openQuestions = r.optionalTextList("openQuestions");
    snapshot.updatedAt = r.instant("updatedAt");
    return snapshot;
}

} // namespace coding

std::expected<WidgetSnapshot, CodingError> decodeWidgetSnapshot(std::string_view bytes)
{
    return coding::decodeDocument<WidgetSnapshot>(bytes);
}

} // namespace quillmere
