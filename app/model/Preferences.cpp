// SPDX-License-Identifier: GPL-3.0-or-later
#include "Preferences.h"

#include "quillmere/AtomicFile.h"

#include <QDateTime>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <system_error>

namespace quillmere {
namespace {

constexpr const char* whenAwayKey = "Focus/whenScreenLocks";
constexpr const char* doNotDisturbKey = "Focus/doNotDisturb";
constexpr const char* soundKey = "Notifications/sound";
constexpr const char* focusMinutesKey = "NewBlock/focusMinutes";
constexpr const char* breakMinutesKey = "NewBlock/breakMinutes";
constexpr const char* sessionsKey = "NewBlock/sessions";
// Not a key: marks the problem of a file that cannot be written.
constexpr const char* writeProblem = "(writing)";

QString rawText(WhenAway whenAway)
{
    switch (whenAway) {
    case WhenAway::keepCounting: return QStringLiteral("keepCounting");
    case WhenAway::pauseFocus: return QStringLiteral("pauseFocus");
    }
    return {};
}

QString pathText(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

QString notUnderstood(const char* key, const QString& value)
{
    return Preferences::tr("Quillmere.conf holds “%1” for %2, which Quillmere does not understand; the default is "
                           "used until you choose again.")
        .arg(value, QLatin1String(key));
}

// The value of `key` as the file spells it, for messages.
QString spelled(const QVariant& value)
{
    // A value with a comma is read back as a list.
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
}

// True and false as Quillmere writes them; anything else is not guessed at.
std::optional<bool> readBool(const QVariant& value)
{
    const QString text = spelled(value).trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1")) {
        return true;
    }
    if (text == QLatin1String("false") || text == QLatin1String("0")) {
        return false;
    }
    return std::nullopt;
}

// Whether the entry at `path` is one the desktop starts at login.
bool autostartEnabled(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inMainGroup || equals < 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if ((key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false")) ||
            (key == QLatin1String("Hidden") && value == QLatin1String("true"))) {
            return false;
        }
    }
    return true;
}

} // namespace

Preferences::Locations Preferences::userLocations()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QString entry = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                           QStringLiteral("quillmere/autostart/") + QLatin1String(autostartFileName));
    if (entry.isEmpty()) {
        entry = QStringLiteral(":/application/autostart.desktop");
    }
    return {config + QStringLiteral("/Quillmere/Quillmere.conf"), (config + QStringLiteral("/autostart")).toStdString(),
            entry};
}

Preferences::Locations Preferences::inFolder(const std::filesystem::path& folder)
{
    return {pathText(folder / "Quillmere.conf"), folder / "autostart", QStringLiteral(":/application/autostart.desktop")};
}

Preferences::Preferences(Locations locations, QObject* parent)
    : QObject(parent), locations_(std::move(locations)),
      settings_(std::make_unique<QSettings>(locations_.settingsFile, QSettings::IniFormat))
{
    read();
}

Preferences::~Preferences() = default;

void Preferences::read()
{
    if (settings_->status() == QSettings::FormatError) {
        // QSettings rewrites the whole file at the next change and drops what
        // it could not parse: keep the file as the user left it first.
        const QString kept =
            locations_.settingsFile + QStringLiteral(".unreadable-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (QFile::copy(locations_.settingsFile, kept)) {
            noteProblem(nullptr, tr("Quillmere.conf has lines Quillmere cannot read. A copy was kept as “%1”; the "
                           "preferences that could be read are used, the others are back at their defaults.")
                            .arg(kept));
        } else {
            noteProblem(nullptr, tr("Quillmere.conf has lines Quillmere cannot read, and no copy of it could be kept "
                           "beside it; the preferences that could be read are used."));
        }
    }
    if (const QVariant value = settings_->value(whenAwayKey); value.isValid()) {
        if (spelled(value) == rawText(WhenAway::pauseFocus)) {
            whenAway_ = WhenAway::pauseFocus;
        } else if (spelled(value) != rawText(WhenAway::keepCounting)) {
            noteProblem(whenAwayKey, notUnderstood(whenAwayKey, spelled(value)));
        }
    }
    const auto readFlag = [this](const char* key, bool& flag) {
        const QVariant value = settings_->value(key);
        if (!value.isValid()) {
            return;
        }
        if (const std::optional<bool> parsed = readBool(value)) {
            flag = *parsed;
        } else {
            noteProblem(key, notUnderstood(key, spelled(value)));
        }
    };
    readFlag(doNotDisturbKey, doNotDisturb_);
    readFlag(soundKey, soundAtEnd_);
    const auto readNumber = [this](const char* key, const BoundedSetting& range, int& number) {
        const QVariant value = settings_->value(key);
        if (!value.isValid()) {
            return;
        }
        bool ok = false;
        const int parsed = spelled(value).trimmed().toInt(&ok);
        if (ok && range.admits(parsed)) {
            number = parsed;
        } else {
            noteProblem(key, notUnderstood(key, spelled(value)));
        }
    };
    readNumber(focusMinutesKey, NewBlockDefaults::focusMinutesRange, newBlockDefaults_.focusMinutes);
    readNumber(breakMinutesKey, NewBlockDefaults::breakMinutesRange, newBlockDefaults_.breakMinutes);
    readNumber(sessionsKey, NewBlockDefaults::sessionsRange, newBlockDefaults_.sessions);
}

QStringList Preferences::problems() const
{
    QStringList texts;
    for (const auto& [key, text] : problems_) {
        texts.append(text);
    }
    return texts;
}

void Preferences::noteProblem(const char* key, const QString& problem)
{
    problems_.emplace_back(key == nullptr ? "" : key, problem);
    emit problemsChanged(problems());
}

void Preferences::forgetProblemsOf(const char* key)
{
    if (std::erase_if(problems_, [key](const auto& problem) { return problem.first == key; }) > 0) {
        emit problemsChanged(problems());
    }
}

void Preferences::write(const char* key, const QVariant& value)
{
    forgetProblemsOf(key);
    forgetProblemsOf(writeProblem);
    settings_->setValue(key, value);
    settings_->sync();
    // Written with the umask's permissions; Quillmere's files are the user's alone.
    (void)makePrivate(locations_.settingsFile.toStdString());
    if (settings_->status() == QSettings::AccessError) {
        noteProblem(writeProblem, tr("Quillmere could not write its preferences to “%1”; the change holds until Quillmere quits.")
                        .arg(locations_.settingsFile));
    }
}

bool Preferences::startAtLogin() const
{
    return autostartEnabled(pathText(locations_.autostartFolder / autostartFileName));
}

std::expected<void, QString> Preferences::setStartAtLogin(bool start)
{
    const std::filesystem::path entry = locations_.autostartFolder / autostartFileName;
    const bool before = startAtLogin();
    std::error_code error;
    if (start) {
        QFile source(locations_.autostartTemplate);
        if (!source.open(QIODevice::ReadOnly)) {
            return std::unexpected(tr("Quillmere cannot start at login: its autostart entry “%1” cannot be read.")
                                       .arg(locations_.autostartTemplate));
        }
        const QByteArray text = source.readAll();
        std::filesystem::create_directories(locations_.autostartFolder, error);
        if (error || !std::filesystem::is_directory(locations_.autostartFolder)) {
            return std::unexpected(tr("Quillmere cannot start at login: “%1” is not a folder Quillmere can write to.")
                                       .arg(pathText(locations_.autostartFolder)));
        }
        QFile target(pathText(entry));
        if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate) || target.write(text) != text.size() ||
            !target.flush()) {
            return std::unexpected(tr("Quillmere cannot start at login: “%1” cannot be written (%2).")
                                       .arg(pathText(entry), target.errorString()));
        }
    } else if (!std::filesystem::remove(entry, error) && error) {
        return std::unexpected(tr("Quillmere still starts at login: “%1” cannot be removed (%2).")
                                   .arg(pathText(entry), QString::fromStdString(error.message())));
    }
    if (startAtLogin() != before) {
        emit startAtLoginChanged(!before);
    }
    return {};
}

void Preferences::setDoNotDisturbSupport(const DoNotDisturbSupport& support)
{
    if (doNotDisturbSupport_ != support) {
        doNotDisturbSupport_ = support;
        emit doNotDisturbSupportChanged(support);
    }
}

void Preferences::setWhenAway(WhenAway whenAway)
{
    if (whenAway_ == whenAway) {
        return;
    }
    whenAway_ = whenAway;
    write(whenAwayKey, rawText(whenAway));
    emit whenAwayChanged(whenAway);
}

void Preferences::setDoNotDisturb(bool silence)
{
    if (doNotDisturb_ == silence) {
        return;
    }
    doNotDisturb_ = silence;
    write(doNotDisturbKey, silence);
    emit doNotDisturbChanged(silence);
}

void Preferences::setSoundAtEnd(bool sound)
{
    if (soundAtEnd_ == sound) {
        return;
    }
    soundAtEnd_ = sound;
    write(soundKey, sound);
    emit soundAtEndChanged(sound);
}

std::expected<void, QString> Preferences::setNewBlockDefaults(const NewBlockDefaults& defaults)
{
    if (!NewBlockDefaults::focusMinutesRange.admits(defaults.focusMinutes) ||
        !NewBlockDefaults::breakMinutesRange.admits(defaults.breakMinutes) ||
        !NewBlockDefaults::sessionsRange.admits(defaults.sessions)) {
        return std::unexpected(tr("A new block has %1 to %2 minutes of focus, %3 to %4 minutes of break and %5 to %6 "
                                  "sessions.")
                                   .arg(NewBlockDefaults::focusMinutesRange.low)
                                   .arg(NewBlockDefaults::focusMinutesRange.high)
                                   .arg(NewBlockDefaults::breakMinutesRange.low)
                                   .arg(NewBlockDefaults::breakMinutesRange.high)
                                   .arg(NewBlockDefaults::sessionsRange.low)
                                   .arg(NewBlockDefaults::sessionsRange.high));
    }
    if (newBlockDefaults_ == defaults) {
        return {};
    }
    newBlockDefaults_ = defaults;
    write(focusMinutesKey, defaults.focusMinutes);
    write(breakMinutesKey, defaults.breakMinutes);
    write(sessionsKey, defaults.sessions);
    emit newBlockDefaultsChanged(defaults);
    return {};
}

} // namespace quillmere
