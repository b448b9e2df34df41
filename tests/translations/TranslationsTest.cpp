// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the translations for a locale, the English fallback with its
// plural forms, and the German file as translators leave it.

#include "LocalText.h"
#include "Translations.h"

#include "quillmere/AgentQuestions.h"
#include "quillmere/QuillmereDesign.h"
#include "quillmere/WorkflowError.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

QString openQuestions(int count)
{
    return QCoreApplication::translate("quillmere::WidgetParts", "%Ln open question(s)", nullptr, count);
}

WidgetSnapshot focusSnapshot()
{
    WidgetSnapshot snapshot = WidgetSnapshot::empty(Instant{});
    snapshot.phase = WidgetPhase::focusing;
    snapshot.currentSessionNumber = 3;
    snapshot.sessionsPlanned = 8;
    return snapshot;
}

TEST(Translations, ShowTheLocalesLanguageOrTheEnglishSourcesWithTheirPluralForms)
{
    struct Case {
        const char* name;
        QLocale locale;
        const char* quit;
        const char* oneQuestion;
        const char* twoQuestions;
        const char* caption;
    };
    const Case cases[] = {
        {"German", QLocale(QLocale::German, QLocale::Germany), "Beenden", "1 offene Frage", "2 offene Fragen",
         "Sitzung 3 von 8"},
        {"German of Austria, by its language", QLocale(QLocale::German, QLocale::Austria), "Beenden",
         "1 offene Frage", "2 offene Fragen", "Sitzung 3 von 8"},
        {"English", QLocale(QLocale::English, QLocale::UnitedStates), "Quit", "1 open question", "2 open questions",
         "Session 3 of 8"},
        {"a language without a translation falls back to English", QLocale(QLocale::Swahili), "Quit",
         "1 open question", "2 open questions", "Session 3 of 8"},
        {"the C locale falls back to English", QLocale::c(), "Quit", "1 open question", "2 open questions",
         "Session 3 of 8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Translations translations(c.locale);
        EXPECT_EQ(QCoreApplication::translate("quillmere::StatusAreaItem", "Quit").toStdString(), c.quit);
        EXPECT_EQ(openQuestions(1).toStdString(), c.oneQuestion);
        EXPECT_EQ(openQuestions(2).toStdString(), c.twoQuestions);
        EXPECT_EQ(translated(QuillmereDesign::captionSource(focusSnapshot()), c.locale).toStdString(), c.caption);
    }
    // Gone with the object: the sources again, without plural forms.
    EXPECT_EQ(QCoreApplication::translate("quillmere::StatusAreaItem", "Quit").toStdString(), "Quit");
}

// A text marked in the core under a context or spelling that lupdate did not
// pick up would stay English on every screen.
TEST(Translations, EveryCoreTextShownToAPersonHasItsGermanTranslation)
{
    const Translations translations(QLocale(QLocale::German));
    std::vector<Phrase> phrases;
    for (const WidgetPhase phase : allCases<WidgetPhase>) {
        phrases.push_back({titleSource(phase), {}});
        WidgetSnapshot snapshot = focusSnapshot();
        snapshot.phase = phase;
        phrases.push_back(QuillmereDesign::captionSource(snapshot));
    }
    WidgetSnapshot unnumbered = focusSnapshot();
    unnumbered.currentSessionNumber.reset();
    phrases.push_back(QuillmereDesign::captionSource(unnumbered));
    for (const WorkflowError error :
         {WorkflowError::invalidTransition, WorkflowError::missingBlock, WorkflowError::missingSessionPlan,
          WorkflowError::nextSessionPlanRequired, WorkflowError::ratingOutOfRange, WorkflowError::invalidDuration}) {
        phrases.push_back({messageSource(error), {}});
    }
    using AgentQuestions::Refusal;
    for (const Refusal refusal : {Refusal::emptyText, Refusal::textTooLong, Refusal::controlCharacterInText,
                                  Refusal::askerTooLong, Refusal::controlCharacterInAsker,
                                  Refusal::tooManyOpenQuestions}) {
        phrases.push_back(AgentQuestions::messageSource(refusal));
    }
    for (const Phrase& phrase : phrases) {
        SCOPED_TRACE(phrase.text.english);
        const std::string german = translated(phrase).toStdString();
        EXPECT_NE(german, phrase.english());
        EXPECT_EQ(german.find('%'), std::string::npos) << german;
    }
}

// What lrelease would accept but the screens would show wrong: an entry left
// unfinished, a placeholder lost or added, a plural form missing.
TEST(Translations, GermanFileIsFinishedAndKeepsEveryPlaceholder)
{
    QFile file(QStringLiteral(QUILLMERE_GERMAN_TS));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    const QRegularExpression placeholder(QStringLiteral("%L?(?:\\d+|n)"));
    const auto placeholders = [&](const QString& text) {
        QStringList found;
        for (auto match = placeholder.globalMatch(text); match.hasNext();) {
            found << match.next().captured();
        }
        found.sort();
        return found.join(QLatin1Char(' ')).toStdString();
    };
    int messages = 0;
    QString source;
    bool numerus = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("message")) {
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            ++messages;
            SCOPED_TRACE(source.toStdString());
            const std::string type = xml.attributes().value(QLatin1String("type")).toString().toStdString();
            EXPECT_NE(type, "unfinished");
            EXPECT_NE(type, "obsolete");
            EXPECT_NE(type, "vanished");
            QStringList forms;
            if (numerus) {
                while (xml.readNextStartElement()) {
                    forms << xml.readElementText();
                }
                EXPECT_EQ(forms.size(), 2) << "German has a singular and a plural";
            } else {
                forms << xml.readElementText();
            }
            for (const QString& form : forms) {
                EXPECT_FALSE(form.isEmpty());
                EXPECT_EQ(placeholders(form), placeholders(source)) << form.toStdString();
            }
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(messages, 50);
}

} // namespace
} // namespace quillmere
