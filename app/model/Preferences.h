// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <expected>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QSettings;

namespace quillmere {

// What a running focus does while the screen is locked or the computer sleeps.
enum class WhenAway { keepCounting, pauseFocus };

// One number of a new block, with the range the planning form allows.
struct BoundedSetting {
    int low = 0;
    int high = 0;
    int fallback = 0;

    constexpr bool admits(int value) const { return value >= low && value <= high; }
};

// The numbers a block the user begins to prepare starts with.
struct NewBlockDefaults {
    static constexpr BoundedSetting focusMinutesRange{1, 120, 25};
    static constexpr BoundedSetting breakMinutesRange{1, 60, 5};
    static constexpr BoundedSetting sessionsRange{1, 24, 8};

    int focusMinutes = focusMinutesRange.fallback;
    int breakMinutes = breakMinutesRange.fallback;
    int sessions = sessionsRange.fallback;

    friend bool operator==(const NewBlockDefaults&, const NewBlockDefaults&) = default;
};

// Whether the desktop lets Quillmere silence other applications'
// notifications, and in words what does it or why nothing can.
struct DoNotDisturbSupport {
    bool available = false;
    QString description;

    friend bool operator==(const DoNotDisturbSupport&, const DoNotDisturbSupport&) = default;
};

// The user's preferences, read from and written to Quillmere.conf at once on
// every change, and whether Quillmere starts at login, which is the presence
// of its entry in the autostart folder. A value the file holds but that
// cannot be understood is reported in `problems` and the default used in its
// place; the file keeps it until the user chooses anew, so nothing the user
// wrote is lost to a typo. Main thread only.
//
//     Preferences preferences(Preferences::userLocations());
//     connect(&preferences, &Preferences::doNotDisturbChanged, doNotDisturb, &DoNotDisturb::setEnabled);
//     preferences.setDoNotDisturb(true); // written to Quillmere.conf now
class Preferences final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool startAtLogin READ startAtLogin NOTIFY startAtLoginChanged)
    Q_PROPERTY(quillmere::WhenAway whenAway READ whenAway WRITE setWhenAway NOTIFY whenAwayChanged)
    Q_PROPERTY(bool doNotDisturb READ doNotDisturb WRITE setDoNotDisturb NOTIFY doNotDisturbChanged)
    Q_PROPERTY(bool soundAtEnd READ soundAtEnd WRITE setSoundAtEnd NOTIFY soundAtEndChanged)
    Q_PROPERTY(QStringList problems READ problems NOTIFY problemsChanged)

public:
    struct Locations {
        // Quillmere.conf.
        QString settingsFile;
        // The folder of the desktop's autostart entries, ~/.config/autostart.
        std::filesystem::path autostartFolder;
        // The autostart entry to copy there: the installed one where there is
        // one, else the copy built into the application.
        QString autostartTemplate;
    };

    static constexpr const char* autostartFileName = "org.quillmere.Quillmere.desktop";

    // $XDG_CONFIG_HOME/Quillmere/Quillmere.conf and $XDG_CONFIG_HOME/autostart.
    static Locations userLocations();
    // Everything inside `folder`, for runs that must not touch the user's.
    static Locations inFolder(const std::filesystem::path& folder);

    explicit Preferences(Locations locations, QObject* parent = nullptr);
    ~Preferences() override;

    // Whether the autostart entry is there and not switched off by its
    // X-GNOME-Autostart-enabled or Hidden key. Read afresh on every call: the
    // user may change it with another tool.
    bool startAtLogin() const;
    WhenAway whenAway() const { return whenAway_; }
    bool doNotDisturb() const { return doNotDisturb_; }
    bool soundAtEnd() const { return soundAtEnd_; }
    const NewBlockDefaults& newBlockDefaults() const { return newBlockDefaults_; }
    // Told by whatever silences notifications once it has looked around;
    // until then, not available.
    const DoNotDisturbSupport& doNotDisturbSupport() const { return doNotDisturbSupport_; }
    void setDoNotDisturbSupport(const DoNotDisturbSupport& support);
    // What could not be read or written, in words for the user; empty when
    // all is well.
    QStringList problems() const;

    // Writes the autostart entry, or removes it. A refusal (a folder that
    // cannot be written, a file in the folder's place) leaves everything as
    // it was.
    [[nodiscard]] std::expected<void, QString> setStartAtLogin(bool start);
    void setWhenAway(WhenAway whenAway);
    void setDoNotDisturb(bool silence);
    void setSoundAtEnd(bool sound);
    // Values outside the ranges are refused whole.
    [[nodiscard]] std::expected<void, QString> setNewBlockDefaults(const NewBlockDefaults& defaults);

signals:
    void startAtLoginChanged(bool start);
    void whenAwayChanged(quillmere::WhenAway whenAway);
    void doNotDisturbChanged(bool silence);
    void soundAtEndChanged(bool sound);
    void newBlockDefaultsChanged(const quillmere::NewBlockDefaults& defaults);
    void problemsChanged(const QStringList& problems);
    void doNotDisturbSupportChanged(const quillmere::DoNotDisturbSupport& support);

private:
    void read();
    void write(const char* key, const QVariant& value);
    // `key` names the setting a problem is about (null: the whole file), so
    // that choosing that setting anew settles it.
    void noteProblem(const char* key, const QString& problem);
    void forgetProblemsOf(const char* key);

    Locations locations_;
    std::unique_ptr<QSettings> settings_;
    WhenAway whenAway_ = WhenAway::keepCounting;
    bool doNotDisturb_ = false;
    bool soundAtEnd_ = true;
    NewBlockDefaults newBlockDefaults_;
    DoNotDisturbSupport doNotDisturbSupport_;
    std::vector<std::pair<std::string, QString>> problems_;
};

} // namespace quillmere

Q_DECLARE_METATYPE(quillmere::WhenAway)
Q_DECLARE_METATYPE(quillmere::NewBlockDefaults)
