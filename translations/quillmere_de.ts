<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>FoundStateFile</name>
    <message>
        <location filename="../app/model/FoundStateFile.cpp" line="+25"/>
        <source>Quillmere could not read its saved state: %1</source>
        <translation>Quillmere konnte seinen gespeicherten Zustand nicht lesen: %1</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Quillmere could not keep its unreadable state file (%1), so nothing was saved.</source>
        <translation>Quillmere konnte seine unlesbare Zustandsdatei nicht aufbewahren (%1), deshalb wurde nichts gespeichert.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 The unreadable file was kept as %2.</source>
        <translation>%1 Die unlesbare Datei wurde als %2 aufbewahrt.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Quillmere could not keep a copy of its state file, which holds data from a newer version (%1), so nothing was saved.</source>
        <translation>Quillmere konnte keine Kopie seiner Zustandsdatei aufbewahren, die Daten einer neueren Version enthält (%1), deshalb wurde nichts gespeichert.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Your state file held data from a newer version of Quillmere (%1), which this version cannot keep. A copy of the file was kept as %2.</source>
        <translation>Deine Zustandsdatei enthielt Daten einer neueren Quillmere-Version (%1), die diese Version nicht behalten kann. Eine Kopie der Datei wurde als %2 aufbewahrt.</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%1 and %n more</source>
        <comment>members of the state file</comment>
        <translation>
            <numerusform>%1 und %n weiteres</numerusform>
            <numerusform>%1 und %n weitere</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere</name>
    <message>
        <location filename="../app/main/main.cpp" line="+36"/>
        <source>Quillmere cannot start</source>
        <translation>Quillmere kann nicht starten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Quillmere cannot lock its state folder, so it could not be sure to be the only Quillmere that writes your data there.</source>
        <translation>Quillmere kann seinen Datenordner nicht sperren und könnte daher nicht sicher sein, das einzige Quillmere zu sein, das dort deine Daten schreibt.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Remove or rename what is in the way, or make the folder yours again, and start Quillmere once more. Nothing was changed.</source>
        <translation>Entferne oder benenne um, was im Weg ist, oder mach den Ordner wieder zu deinem, und starte Quillmere noch einmal. Es wurde nichts verändert.</translation>
    </message>
    <message>
        <location line="+39"/>
        <source>no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set).</source>
        <translation>keine Anzeige, auf der ein Fenster geöffnet werden kann (DISPLAY und WAYLAND_DISPLAY sind nicht gesetzt).</translation>
    </message>
    <message>
        <location line="+63"/>
        <source>another Quillmere is already running on %1 and does not answer; not starting a second one.</source>
        <translation>ein anderes Quillmere läuft bereits auf %1 und antwortet nicht; ein zweites wird nicht gestartet.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>another Quillmere is already running on %1 and cannot be reached over D-Bus; not starting a second one.</source>
        <translation>ein anderes Quillmere läuft bereits auf %1 und ist über D-Bus nicht erreichbar; ein zweites wird nicht gestartet.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>cannot lock the state folder: %1; not starting.</source>
        <translation>der Datenordner kann nicht gesperrt werden: %1; Quillmere startet nicht.</translation>
    </message>
</context>
<context>
    <name>quillmere-widget-host</name>
    <message>
        <location filename="../widget/host/PluginCatalogue.cpp" line="+14"/>
        <source>%1: no such folder</source>
        <translation>%1: Ordner existiert nicht</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>not a widget bundle</source>
        <translation>kein Widget-Paket</translation>
    </message>
    <message>
        <location filename="../widget/host/Render.cpp" line="+49"/>
        <location filename="../widget/host/main.cpp" line="+184"/>
        <source>%1 does not come in the %2 size</source>
        <translation>%1 gibt es nicht in der Größe %2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 gave no entry to draw</source>
        <translation>%1 hat keinen Eintrag zum Zeichnen geliefert</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>%1: could not be written</source>
        <translation>%1: konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <location filename="../widget/host/main.cpp" line="-47"/>
        <source>no widget found in %1</source>
        <translation>kein Widget in %1 gefunden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>no widget %1 found in %2</source>
        <translation>kein Widget %1 in %2 gefunden</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>another widget host is running on this session (add sizes with --family when starting it)</source>
        <translation>in dieser Sitzung läuft bereits ein anderer Widget-Host (gib weitere Größen mit --family bei seinem Start an)</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>no session bus; widgets refresh on their own schedule only</source>
        <translation>kein Sitzungsbus; Widgets aktualisieren sich nur nach ihrem eigenen Zeitplan</translation>
    </message>
</context>
<context>
    <name>quillmere::AgentQuestions</name>
    <message>
        <location filename="../core/src/AgentQuestions.cpp" line="+54"/>
        <source>The question is empty.</source>
        <translation>Die Frage ist leer.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The question is longer than %1 characters.</source>
        <translation>Die Frage ist länger als %1 Zeichen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The question contains control characters; only line breaks and tabs are allowed.</source>
        <translation>Die Frage enthält Steuerzeichen; erlaubt sind nur Zeilenumbrüche und Tabulatoren.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>The asker&apos;s name is longer than %1 characters.</source>
        <translation>Der Name des Fragenden ist länger als %1 Zeichen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The asker&apos;s name contains control characters.</source>
        <translation>Der Name des Fragenden enthält Steuerzeichen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>This asker already has %1 open questions; wait for answers before asking more.</source>
        <translation>Dieser Fragende hat bereits %1 offene Fragen; warte auf Antworten, bevor du weitere stellst.</translation>
    </message>
</context>
<context>
    <name>quillmere::AgentQuestionsView</name>
    <message>
        <location filename="../app/ui/questions/AgentQuestionsView.cpp" line="+26"/>
        <source>Agent questions</source>
        <translation>Agentenfragen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Agents can inspect the same open questions in agent-state.json.</source>
        <translation>Agenten sehen dieselben offenen Fragen in agent-state.json.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Add a question</source>
        <translation>Frage hinzufügen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>New agent question</source>
        <translation>Neue Agentenfrage</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Add (%1)</source>
        <translation>Hinzufügen (%1)</translation>
    </message>
    <message>
        <location line="+54"/>
        <location line="+1"/>
        <source>Answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Save answer</source>
        <translation>Antwort speichern</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>asked by %1</source>
        <translation>gefragt von %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 — %2</source>
        <comment>a question and who asked it</comment>
        <translation>%1 — %2</translation>
    </message>
    <message numerus="yes">
        <location line="+84"/>
        <source>Showing %L1 of %L2 open question(s).</source>
        <translation>
            <numerusform>%L1 von %L2 offenen Frage angezeigt.</numerusform>
            <numerusform>%L1 von %L2 offenen Fragen angezeigt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>Show %Ln more</source>
        <translation>
            <numerusform>%Ln weitere anzeigen</numerusform>
            <numerusform>%Ln weitere anzeigen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::AppModel</name>
    <message>
        <location filename="../app/model/AppModel.cpp" line="+181"/>
        <source>Quillmere</source>
        <translation>Quillmere</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Block plan</source>
        <translation>Blockplan</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Session plan</source>
        <translation>Sitzungsplan</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Review</source>
        <translation>Rückblick</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Break</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Block review</source>
        <translation>Blockrückblick</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Complete</source>
        <translation>Abgeschlossen</translation>
    </message>
    <message numerus="yes">
        <location line="+5"/>
        <source>%1 ?%n</source>
        <comment>menu title: the timer or the phase, then the open questions</comment>
        <translation>
            <numerusform>%1 ?%n</numerusform>
            <numerusform>%1 ?%n</numerusform>
        </translation>
    </message>
    <message>
        <location line="+53"/>
        <source>Your next session plan is saved. Focus starts only when you choose Start focus.</source>
        <translation>Dein nächster Sitzungsplan ist gespeichert. Der Fokus beginnt erst, wenn du „Fokus starten“ wählst.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Break skipped. Focus starts only when you choose Start focus.</source>
        <translation>Pause übersprungen. Der Fokus beginnt erst, wenn du „Fokus starten“ wählst.</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Block scheduled for %1.</source>
        <translation>Block geplant für %1.</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Plan the first session when you are ready.</source>
        <translation>Plane die erste Sitzung, wenn du so weit bist.</translation>
    </message>
    <message>
        <location line="+226"/>
        <source>Quillmere could not save your work: %1 Nothing is lost yet: Quillmere keeps it and tries again until the save succeeds.</source>
        <translation>Quillmere konnte deine Arbeit nicht speichern: %1 Noch ist nichts verloren: Quillmere behält sie und versucht es weiter, bis das Speichern gelingt.</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>Quillmere could not update the agents&apos; file: %1 Agents see an older state until it can be written again.</source>
        <translation>Quillmere konnte die Datei für Agenten nicht aktualisieren: %1 Agenten sehen einen älteren Stand, bis sie wieder geschrieben werden kann.</translation>
    </message>
    <message>
        <location line="+50"/>
        <source>Your scheduled block is ready. Plan the first session when you are ready.</source>
        <translation>Dein geplanter Block ist bereit. Plane die erste Sitzung, wenn du so weit bist.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Focus ended. Review the session before you continue.</source>
        <translation>Fokus beendet. Werte die Sitzung aus, bevor du weitermachst.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Break ended. Focus will start only when you choose Start focus.</source>
        <translation>Pause beendet. Der Fokus beginnt erst, wenn du „Fokus starten“ wählst.</translation>
    </message>
</context>
<context>
    <name>quillmere::AwayWatcher</name>
    <message>
        <location filename="../app/model/AwayWatcher.cpp" line="+116"/>
        <source>Pausing the focus before the computer sleeps</source>
        <translation>Pausiert den Fokus, bevor der Computer in den Ruhezustand geht</translation>
    </message>
</context>
<context>
    <name>quillmere::BlockForms</name>
    <message>
        <location filename="../app/ui/block/BlockEditing.cpp" line="+12"/>
        <source>Sessions: %L1 of %L2</source>
        <translation>Sitzungen: %L1 von %L2</translation>
    </message>
</context>
<context>
    <name>quillmere::BlockPlanningView</name>
    <message>
        <location filename="../app/ui/workcycle/BlockPlanningView.cpp" line="+47"/>
        <source>Plan the block</source>
        <translation>Plane den Block</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Blank text is accepted. You can refine any answer later.</source>
        <translation>Leere Felder sind erlaubt. Du kannst jede Antwort später verfeinern.</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Schedule</source>
        <translation>Zeitplan</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Schedule for later</source>
        <translation>Für später planen</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+2"/>
        <source>Start</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Schedule block</source>
        <translation>Block planen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Continue to first session plan</source>
        <translation>Weiter zum ersten Sitzungsplan</translation>
    </message>
</context>
<context>
    <name>quillmere::BlockPreparationForm</name>
    <message numerus="yes">
        <location filename="../app/ui/forms/BlockPreparationForm.cpp" line="+47"/>
        <source>%L1 minute(s)</source>
        <translation>
            <numerusform>%L1 Minute</numerusform>
            <numerusform>%L1 Minuten</numerusform>
        </translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Hoped-for outcome %L1</source>
        <translation>Erhofftes Ergebnis %L1</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Block settings</source>
        <translation>Blockeinstellungen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Block preparation</source>
        <translation>Blockvorbereitung</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Focus duration in minutes</source>
        <translation>Fokusdauer in Minuten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Break duration in minutes</source>
        <translation>Pausendauer in Minuten</translation>
    </message>
    <message>
        <location line="-2"/>
        <location line="+2"/>
        <source> min</source>
        <translation> Min.</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+4"/>
        <location line="+8"/>
        <source>Sessions</source>
        <translation>Sitzungen</translation>
    </message>
    <message>
        <location line="-10"/>
        <location line="+8"/>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <location line="-7"/>
        <location line="+8"/>
        <source>Break</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Add outcome</source>
        <translation>Ergebnis hinzufügen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Why this block is valuable</source>
        <translation>Warum dieser Block wertvoll ist</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Completion test</source>
        <translation>Abschlusskriterium</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Risks or hazards</source>
        <translation>Risiken oder Gefahren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Measurable check</source>
        <translation>Messbare Prüfung</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Other context</source>
        <translation>Weiterer Kontext</translation>
    </message>
    <message>
        <location line="+117"/>
        <source>Remove outcome %1</source>
        <translation>Ergebnis %1 entfernen</translation>
    </message>
</context>
<context>
    <name>quillmere::BlockProgress</name>
    <message numerus="yes">
        <location filename="../app/ui/panel/BlockProgress.cpp" line="+53"/>
        <source>%L1 of %L2 session(s) started</source>
        <translation>
            <numerusform>%L1 von %L2 Sitzung begonnen</numerusform>
            <numerusform>%L1 von %L2 Sitzungen begonnen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::BlockReviewForm</name>
    <message>
        <location filename="../app/ui/forms/BlockReviewForm.cpp" line="+40"/>
        <source>Block reflection</source>
        <translation>Blockreflexion</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Output produced</source>
        <translation>Erzieltes Ergebnis</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Comparison with normal output</source>
        <translation>Vergleich mit dem üblichen Ergebnis</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Where work became bogged down</source>
        <translation>Wo die Arbeit ins Stocken geriet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>What went well</source>
        <translation>Was gut lief</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Transferable lessons</source>
        <translation>Übertragbare Erkenntnisse</translation>
    </message>
</context>
<context>
    <name>quillmere::BlockReviewView</name>
    <message>
        <location filename="../app/ui/workcycle/BlockReviewView.cpp" line="+17"/>
        <source>Reflect on the block</source>
        <translation>Reflektiere den Block</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Blank answers are accepted and remain editable in History.</source>
        <translation>Leere Antworten sind erlaubt und bleiben im Verlauf bearbeitbar.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Complete block</source>
        <translation>Block abschließen</translation>
    </message>
</context>
<context>
    <name>quillmere::BreakView</name>
    <message>
        <location filename="../app/ui/workcycle/BreakView.cpp" line="+10"/>
        <source>Break</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Break timer %1</source>
        <translation>Pausentimer %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The next session is planned. Quillmere will not start focus automatically.</source>
        <translation>Die nächste Sitzung ist geplant. Quillmere startet den Fokus nicht von selbst.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>End break</source>
        <translation>Pause beenden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Extend five minutes</source>
        <translation>Um fünf Minuten verlängern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Skip break</source>
        <translation>Pause überspringen</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Next outcome</source>
        <translation>Nächstes Ergebnis</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Blank plan</source>
        <translation>Leerer Plan</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>First action</source>
        <translation>Erster Schritt</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Not set</source>
        <translation>Nicht festgelegt</translation>
    </message>
</context>
<context>
    <name>quillmere::CommandLine</name>
    <message>
        <location filename="../app/main/CommandLine.cpp" line="+39"/>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Usage: quillmere [OPTION]... [URL]...</source>
        <translation>Aufruf: quillmere [OPTION]... [URL]...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Plan a block of focused work, run its focus sessions and breaks, and review them.</source>
        <translation>Plane einen Block konzentrierter Arbeit, durchlaufe seine Fokussitzungen und Pausen
und blicke auf sie zurück.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Starts Quillmere, or brings the running one forward. A quillmere://open/&lt;route&gt;
URL (as the desktop widget opens) shows the work cycle; other arguments are ignored.
One Quillmere runs per session: a second launch hands over to the first and exits.</source>
        <translation>Startet Quillmere oder holt das laufende nach vorn. Eine URL quillmere://open/&lt;route&gt;
(wie sie das Desktop-Widget öffnet) zeigt den Arbeitszyklus; andere Argumente werden
ignoriert. Pro Desktop-Sitzung läuft ein Quillmere: ein zweiter Start übergibt an das
erste und beendet sich.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>show this help and exit</source>
        <translation>diese Hilfe anzeigen und beenden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>show the version and exit</source>
        <translation>die Version anzeigen und beenden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Qt&apos;s own options (-platform, -display, -style, ...) are accepted as well.</source>
        <translation>Qts eigene Optionen (-platform, -display, -style, ...) werden ebenfalls angenommen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Files: $XDG_DATA_HOME/Quillmere/ (default ~/.local/share/Quillmere/) holds state.json
and agent-state.json; the window&apos;s frame is kept in ~/.config/Quillmere/Quillmere.conf.</source>
        <translation>Dateien: $XDG_DATA_HOME/Quillmere/ (vorgegeben ~/.local/share/Quillmere/) enthält
state.json und agent-state.json; der Fensterrahmen wird in
~/.config/Quillmere/Quillmere.conf gespeichert.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Try &apos;%1 --help&apos;.</source>
        <translation>„%1 --help“ gibt weitere Auskunft.</translation>
    </message>
</context>
<context>
    <name>quillmere::CompletedBlockEditor</name>
    <message>
        <location filename="../app/ui/history/CompletedBlockEditor.cpp" line="+28"/>
        <source>Completed block</source>
        <translation>Abgeschlossener Block</translation>
    </message>
    <message>
        <location line="+36"/>
        <location line="+49"/>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>quillmere::CurrentBlockView</name>
    <message>
        <location filename="../app/ui/block/CurrentBlockView.cpp" line="+21"/>
        <source>Current block</source>
        <translation>Aktueller Block</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No active block</source>
        <translation>Kein aktiver Block</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Start or schedule a block from the Work cycle tab.</source>
        <translation>Starte oder plane einen Block im Reiter „Arbeitszyklus“.</translation>
    </message>
</context>
<context>
    <name>quillmere::DisclosureButton</name>
    <message>
        <location filename="../app/ui/forms/DisclosureButton.cpp" line="+55"/>
        <source>Expanded</source>
        <translation>Ausgeklappt</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Collapsed</source>
        <translation>Eingeklappt</translation>
    </message>
</context>
<context>
    <name>quillmere::DoNotDisturb</name>
    <message>
        <location filename="../app/model/DoNotDisturb.cpp" line="+48"/>
        <source>Looking for the desktop&apos;s notification service…</source>
        <translation>Suche den Benachrichtigungsdienst des Desktops …</translation>
    </message>
    <message>
        <location line="+95"/>
        <source>Uses %1 to hold back other applications&apos; notifications.</source>
        <translation>Hält Benachrichtigungen anderer Anwendungen über %1 zurück.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>The notification service stopped during your focus. Quillmere sets do-not-disturb right again once the service is back.</source>
        <translation>Der Benachrichtigungsdienst wurde während deines Fokus beendet. Quillmere stellt „Nicht stören“ wieder richtig ein, sobald der Dienst zurück ist.</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>Quillmere could not hold back other notifications through %1: %2</source>
        <translation>Quillmere konnte andere Benachrichtigungen nicht über %1 zurückhalten: %2</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Quillmere could not put back the do-not-disturb setting of %1: %2 It tries again when the service or Quillmere starts again.</source>
        <translation>Quillmere konnte die „Nicht stören“-Einstellung von %1 nicht zurücksetzen: %2 Quillmere versucht es erneut, wenn der Dienst oder Quillmere wieder startet.</translation>
    </message>
</context>
<context>
    <name>quillmere::FocusChart</name>
    <message>
        <location filename="../app/ui/insights/FocusChart.cpp" line="+23"/>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Targets met</source>
        <translation>Ziele erreicht</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>Targets met, %</source>
        <translation>Ziele erreicht, %</translation>
    </message>
    <message>
        <location line="+37"/>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Focus per day</source>
        <translation>Fokus pro Tag</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Focus per week</source>
        <translation>Fokus pro Woche</translation>
    </message>
    <message numerus="yes">
        <location line="+11"/>
        <source>%Ln minute(s)</source>
        <translation>
            <numerusform>%Ln Minute</numerusform>
            <numerusform>%Ln Minuten</numerusform>
        </translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 hours</source>
        <translation>%1 Stunden</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: %2, %3% of targets met</source>
        <translation>%1: %2, %3 % der Ziele erreicht</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>no focus</source>
        <translation>kein Fokus</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>no focus on the other days</source>
        <translation>an den übrigen Tagen kein Fokus</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>no focus in the other weeks</source>
        <translation>in den übrigen Wochen kein Fokus</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Focus per day, %1: %2.</source>
        <translation>Fokus pro Tag, %1: %2.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Focus per week, %1: %2.</source>
        <translation>Fokus pro Woche, %1: %2.</translation>
    </message>
</context>
<context>
    <name>quillmere::FocusView</name>
    <message>
        <location filename="../app/ui/workcycle/FocusView.cpp" line="+11"/>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Focus timer %1</source>
        <translation>Fokustimer %1</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+32"/>
        <source>Pause</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <location line="-29"/>
        <source>End early</source>
        <translation>Vorzeitig beenden</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Paused</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Blank</source>
        <translation>Leer</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>First action</source>
        <translation>Erster Schritt</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+1"/>
        <location line="+1"/>
        <source>Not set</source>
        <translation>Nicht festgelegt</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Hazards</source>
        <translation>Gefahren</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>NICU framing</source>
        <translation>NIDH-Rahmung</translation>
    </message>
</context>
<context>
    <name>quillmere::FreedesktopNotificationCenter</name>
    <message>
        <location filename="../app/model/FreedesktopNotificationCenter.cpp" line="+153"/>
        <source>Open Quillmere</source>
        <translation>Quillmere öffnen</translation>
    </message>
</context>
<context>
    <name>quillmere::HeadlineFigures</name>
    <message>
        <location filename="../app/ui/insights/HeadlineFigures.cpp" line="+37"/>
        <source>%1 h</source>
        <comment>hours of focus</comment>
        <translation>%1 h</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>of focus</source>
        <translation>im Fokus</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>session(s) completed</source>
        <translation>
            <numerusform>Sitzung abgeschlossen</numerusform>
            <numerusform>Sitzungen abgeschlossen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1%</source>
        <comment>a share in percent</comment>
        <translation>%1 %</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>of targets met in %Ln reviewed session(s)</source>
        <translation>
            <numerusform>der Ziele erreicht, bei %Ln ausgewerteten Sitzung</numerusform>
            <numerusform>der Ziele erreicht, bei %Ln ausgewerteten Sitzungen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>of targets met: no session reviewed</source>
        <translation>der Ziele erreicht: keine Sitzung ausgewertet</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n day(s)</source>
        <comment>a run of days with a session</comment>
        <translation>
            <numerusform>%n Tag</numerusform>
            <numerusform>%n Tage</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>current streak, longest %n day(s)</source>
        <translation>
            <numerusform>aktuelle Serie, längste %n Tag</numerusform>
            <numerusform>aktuelle Serie, längste %n Tage</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::HistoryView</name>
    <message>
        <location filename="../app/ui/history/HistoryView.cpp" line="+24"/>
        <source>Block history</source>
        <translation>Blockverlauf</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No completed blocks</source>
        <translation>Keine abgeschlossenen Blöcke</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Completed block reflections stay here.</source>
        <translation>Die Reflexionen abgeschlossener Blöcke bleiben hier.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Show older blocks</source>
        <translation>Ältere Blöcke anzeigen</translation>
    </message>
    <message numerus="yes">
        <location line="+112"/>
        <source>%n older block(s) not shown</source>
        <translation>
            <numerusform>%n älterer Block wird nicht angezeigt</numerusform>
            <numerusform>%n ältere Blöcke werden nicht angezeigt</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::HourHeatMap</name>
    <message>
        <location filename="../app/ui/insights/HourHeatMap.cpp" line="+53"/>
        <source>Focus by weekday and hour</source>
        <translation>Fokus nach Wochentag und Uhrzeit</translation>
    </message>
    <message numerus="yes">
        <location line="+83"/>
        <source>%1 from %2: %Ln minute(s)</source>
        <translation>
            <numerusform>%1 ab %2: %Ln Minute</numerusform>
            <numerusform>%1 ab %2: %Ln Minuten</numerusform>
        </translation>
    </message>
    <message>
        <location line="+25"/>
        <source>%1 %2 hours</source>
        <translation>%1 %2 Stunden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Focus by weekday and hour, %1: no focus.</source>
        <translation>Fokus nach Wochentag und Uhrzeit, %1: kein Fokus.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1; no focus on the other weekdays</source>
        <translation>%1; an den übrigen Wochentagen kein Fokus</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Focus by weekday and hour, %1. Busiest hours: %2. Per weekday: %3.</source>
        <translation>Fokus nach Wochentag und Uhrzeit, %1. Stärkste Stunden: %2. Pro Wochentag: %3.</translation>
    </message>
    <message>
        <location line="+67"/>
        <source>no focus</source>
        <translation>kein Fokus</translation>
    </message>
    <message numerus="yes">
        <location line="+6"/>
        <source>%Ln minute(s) at the busiest hour</source>
        <translation>
            <numerusform>%Ln Minute in der stärksten Stunde</numerusform>
            <numerusform>%Ln Minuten in der stärksten Stunde</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::IdleView</name>
    <message>
        <location filename="../app/ui/workcycle/IdleView.cpp" line="+46"/>
        <source>Block scheduled</source>
        <translation>Block geplant</translation>
    </message>
    <message>
        <location line="+8"/>
        <location line="+44"/>
        <source>Start now</source>
        <translation>Jetzt starten</translation>
    </message>
    <message>
        <location line="-42"/>
        <location line="+43"/>
        <source>Edit schedule</source>
        <translation>Zeitplan bearbeiten</translation>
    </message>
    <message>
        <location line="-42"/>
        <location line="+43"/>
        <source>Cancel scheduled block</source>
        <translation>Geplanten Block absagen</translation>
    </message>
    <message>
        <location line="-30"/>
        <source>Plan one four-hour block as eight focus sessions with protected breaks.</source>
        <translation>Plane einen vierstündigen Block aus acht Fokussitzungen mit geschützten Pausen.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Plan a block</source>
        <translation>Block planen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Plan a new work block</source>
        <translation>Neuen Arbeitsblock planen</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Quillmere will show the first session plan at %1 %2.</source>
        <translation>Quillmere zeigt den ersten Sitzungsplan am %1 um %2.</translation>
    </message>
</context>
<context>
    <name>quillmere::InsightsView</name>
    <message>
        <location filename="../app/ui/insights/InsightsView.cpp" line="+35"/>
        <source>Last 7 days</source>
        <translation>Letzte 7 Tage</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last 4 weeks</source>
        <translation>Letzte 4 Wochen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Last 12 months</source>
        <translation>Letzte 12 Monate</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>All</source>
        <translation>Alles</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>No focus in the last 7 days. A longer period shows your earlier sessions.</source>
        <translation>Kein Fokus in den letzten 7 Tagen. Ein längerer Zeitraum zeigt deine früheren Sitzungen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No focus in the last 4 weeks. A longer period shows your earlier sessions.</source>
        <translation>Kein Fokus in den letzten 4 Wochen. Ein längerer Zeitraum zeigt deine früheren Sitzungen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>No focus in the last 12 months. “All” shows your earlier sessions.</source>
        <translation>Kein Fokus in den letzten 12 Monaten. „Alles“ zeigt deine früheren Sitzungen.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No focus time has been recorded yet.</source>
        <translation>Bisher ist keine Fokuszeit erfasst.</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>Insights</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Period:</source>
        <translation>Zeitraum:</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Export…</source>
        <translation>Exportieren …</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Save the period&apos;s sessions as CSV, or its blocks as JSON</source>
        <translation>Speichere die Sitzungen des Zeitraums als CSV oder seine Blöcke als JSON</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>No focus sessions yet</source>
        <translation>Noch keine Fokussitzungen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Once you have finished a few focus sessions, this tab shows how long you focused, how often you met your targets, how your energy and morale went, and at which hours you work best.</source>
        <translation>Sobald du ein paar Fokussitzungen abgeschlossen hast, zeigt dir dieser Tab, wie lange du fokussiert warst, wie oft du deine Ziele erreicht hast, wie es um deine Energie und Stimmung stand und zu welchen Stunden du am besten arbeitest.</translation>
    </message>
    <message>
        <location line="+99"/>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>JSON (*.json)</source>
        <translation>JSON (*.json)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Export history</source>
        <translation>Verlauf exportieren</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Exporting to %1…</source>
        <translation>Exportiere nach %1 …</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Exported to %1.</source>
        <translation>Nach %1 exportiert.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Nothing was exported: %1 already exists.</source>
        <translation>Nichts exportiert: %1 gibt es schon.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The export failed: %1</source>
        <translation>Der Export ist fehlgeschlagen: %1</translation>
    </message>
</context>
<context>
    <name>quillmere::LengthLimitNote</name>
    <message>
        <location filename="../app/ui/forms/FormComponents.cpp" line="+120"/>
        <source>This text is longer than %L1 characters. It is kept whole, and it cannot grow past the length it had.</source>
        <translation>Dieser Text ist länger als %L1 Zeichen. Er bleibt vollständig erhalten, kann aber nicht über seine bisherige Länge hinaus wachsen.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%L1 characters at most</source>
        <translation>höchstens %L1 Zeichen</translation>
    </message>
</context>
<context>
    <name>quillmere::MainWindow</name>
    <message>
        <location filename="../app/ui/MainWindow.cpp" line="+43"/>
        <source>Work cycle</source>
        <translation>Arbeitszyklus</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Current block</source>
        <translation>Aktueller Block</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Agent questions</source>
        <translation>Agentenfragen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Insights</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Dismiss</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <location line="+16"/>
        <location line="+1"/>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location line="+90"/>
        <source>Quillmere error</source>
        <translation>Quillmere-Fehler</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>quillmere::MenuBarLabel</name>
    <message>
        <location filename="../app/main/MenuBarLabel.cpp" line="+125"/>
        <source>Quillmere, %1</source>
        <comment>the item&apos;s tooltip: the app, then the phase or time</comment>
        <translation>Quillmere, %1</translation>
    </message>
</context>
<context>
    <name>quillmere::MenuBarPopover</name>
    <message>
        <location filename="../app/ui/panel/MenuBarPopover.cpp" line="+149"/>
        <source>Timer %1</source>
        <translation>Timer %1</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Paused</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>Open Quillmere</source>
        <translation>Quillmere öffnen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message numerus="yes">
        <location line="+145"/>
        <source>%Ln open agent question(s)</source>
        <translation>
            <numerusform>%Ln offene Agentenfrage</numerusform>
            <numerusform>%Ln offene Agentenfragen</numerusform>
        </translation>
    </message>
    <message>
        <location line="+72"/>
        <source>Next</source>
        <translation>Als Nächstes</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Block scheduled for %1</source>
        <translation>Block geplant für %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No active block</source>
        <translation>Kein aktiver Block</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No outcome set</source>
        <translation>Kein Ergebnis festgelegt</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>First action</source>
        <translation>Erster Schritt</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Reflection</source>
        <translation>Reflexion</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Record the five block-reflection answers in the app.</source>
        <translation>Beantworte die fünf Fragen der Blockreflexion in der App.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Open agent questions</source>
        <translation>Offene Agentenfragen</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>asked by %1</source>
        <translation>gefragt von %1</translation>
    </message>
    <message numerus="yes">
        <location line="+9"/>
        <source>and %Ln more</source>
        <translation>
            <numerusform>und %Ln weitere</numerusform>
            <numerusform>und %Ln weitere</numerusform>
        </translation>
    </message>
    <message>
        <location line="+27"/>
        <source>Plan a block</source>
        <translation>Block planen</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Start scheduled block now</source>
        <translation>Geplanten Block jetzt starten</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Cancel block</source>
        <translation>Block absagen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Pause</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>End focus</source>
        <translation>Fokus beenden</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>End break</source>
        <translation>Pause beenden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Extend 5 min</source>
        <translation>5 Min. verlängern</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
</context>
<context>
    <name>quillmere::NotificationEvent</name>
    <message>
        <location filename="../app/model/NotificationScheduling.cpp" line="+22"/>
        <source>Focus session complete</source>
        <translation>Fokussitzung beendet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Break complete</source>
        <translation>Pause beendet</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Scheduled block is ready</source>
        <translation>Geplanter Block ist bereit</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Review this session and plan the next one.</source>
        <translation>Werte diese Sitzung aus und plane die nächste.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Your saved session plan is ready when you are.</source>
        <translation>Dein gespeicherter Sitzungsplan wartet, bis du so weit bist.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Open Quillmere to plan the first focus session.</source>
        <translation>Öffne Quillmere, um die erste Fokussitzung zu planen.</translation>
    </message>
</context>
<context>
    <name>quillmere::NotificationSilencer</name>
    <message>
        <location filename="../app/model/DoNotDisturb.cpp" line="-80"/>
        <location filename="../app/model/NotificationSilencer.cpp" line="+424"/>
        <source>No notification service is running.</source>
        <translation>Es läuft kein Benachrichtigungsdienst.</translation>
    </message>
    <message>
        <location filename="../app/model/NotificationSilencer.cpp" line="-352"/>
        <source>There is no session bus to reach it on.</source>
        <translation>Es gibt keinen Sitzungsbus, über den er erreichbar wäre.</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The notification service answered: %1</source>
        <translation>Der Benachrichtigungsdienst antwortete: %1</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>“%1” could not be started.</source>
        <translation>„%1“ konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>“%1” did not finish.</source>
        <translation>„%1“ wurde nicht ordnungsgemäß beendet.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>“%1” failed: %2</source>
        <translation>„%1“ ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <location line="-59"/>
        <source>Quillmere could not note the setting to put back, so it left it alone.</source>
        <translation>Quillmere konnte sich die zurückzusetzende Einstellung nicht merken und hat sie deshalb nicht verändert.</translation>
    </message>
    <message>
        <location line="+142"/>
        <source>dunst did not say whether it is paused.</source>
        <translation>dunst hat nicht mitgeteilt, ob es pausiert ist.</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>gsettings gave “%1” for show-banners.</source>
        <translation>gsettings lieferte „%1“ für show-banners.</translation>
    </message>
    <message>
        <location line="+95"/>
        <source>Focus session</source>
        <translation>Fokussitzung</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>%1 shows the notifications, but %2 is not installed.</source>
        <translation>%1 zeigt die Benachrichtigungen an, aber %2 ist nicht installiert.</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>%1 shows the notifications and has no do-not-disturb setting that Quillmere can use.</source>
        <translation>%1 zeigt die Benachrichtigungen an und hat keine „Nicht stören“-Einstellung, die Quillmere nutzen kann.</translation>
    </message>
</context>
<context>
    <name>quillmere::PauseOnAway</name>
    <message>
        <location filename="../app/model/PauseOnAway.cpp" line="+23"/>
        <source>less than a minute</source>
        <translation>weniger als eine Minute</translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%Ln minute(s)</source>
        <translation>
            <numerusform>%Ln Minute</numerusform>
            <numerusform>%Ln Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%Ln hour(s)</source>
        <translation>
            <numerusform>%Ln Stunde</numerusform>
            <numerusform>%Ln Stunden</numerusform>
        </translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 and %2</source>
        <comment>hours and minutes away</comment>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>You were away for %1; your focus was paused when the screen locked. Resume it when you are ready.</source>
        <translation>Du warst %1 weg; dein Fokus wurde pausiert, als der Bildschirm gesperrt wurde. Setze ihn fort, wenn du so weit bist.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>You were away for %1; your focus was paused when the computer went to sleep. Resume it when you are ready.</source>
        <translation>Du warst %1 weg; dein Fokus wurde pausiert, als der Computer in den Ruhezustand ging. Setze ihn fort, wenn du so weit bist.</translation>
    </message>
</context>
<context>
    <name>quillmere::PeriodLabels</name>
    <message>
        <location filename="../app/ui/insights/PeriodLabels.cpp" line="+37"/>
        <source>ddd d</source>
        <comment>date format: a day on a chart&apos;s axis</comment>
        <translation>ddd d.</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+11"/>
        <source>d MMM</source>
        <comment>date format: a week on a chart&apos;s axis</comment>
        <translation>d. MMM</translation>
    </message>
    <message>
        <location line="+42"/>
        <source>yyyy</source>
        <comment>date format: a year on a chart&apos;s axis</comment>
        <translation>yyyy</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>MMM yyyy</source>
        <comment>date format: a month and its year on a chart&apos;s axis</comment>
        <translation>MMM yyyy</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>MMM</source>
        <comment>date format: a month on a chart&apos;s axis</comment>
        <translation>MMM</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>ddd d MMM</source>
        <comment>date format: a day in a sentence</comment>
        <translation>ddd, d. MMM</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>week of %1</source>
        <translation>Woche ab %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+7"/>
        <source>d MMM yyyy</source>
        <comment>date format: a date in a sentence</comment>
        <translation>d. MMM yyyy</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 to %2</source>
        <comment>a range of dates</comment>
        <translation>%1 bis %2</translation>
    </message>
</context>
<context>
    <name>quillmere::Preferences</name>
    <message>
        <location filename="../app/model/Preferences.cpp" line="+41"/>
        <source>Quillmere.conf holds “%1” for %2, which Quillmere does not understand; the default is used until you choose again.</source>
        <translation>Quillmere.conf enthält „%1“ für %2, was Quillmere nicht versteht; bis Sie neu wählen, gilt die Voreinstellung.</translation>
    </message>
    <message>
        <location line="+90"/>
        <source>Quillmere.conf has lines Quillmere cannot read. A copy was kept as “%1”; the preferences that could be read are used, the others are back at their defaults.</source>
        <translation>Quillmere.conf enthält Zeilen, die Quillmere nicht lesen kann. Eine Kopie wurde als „%1“ aufbewahrt; die lesbaren Einstellungen gelten, die übrigen sind wieder voreingestellt.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillmere.conf has lines Quillmere cannot read, and no copy of it could be kept beside it; the preferences that could be read are used.</source>
        <translation>Quillmere.conf enthält Zeilen, die Quillmere nicht lesen kann, und daneben ließ sich keine Kopie ablegen; die lesbaren Einstellungen gelten.</translation>
    </message>
    <message>
        <location line="+73"/>
        <source>Quillmere could not write its preferences to “%1”; the change holds until Quillmere quits.</source>
        <translation>Quillmere konnte seine Einstellungen nicht in „%1“ schreiben; die Änderung gilt, bis Quillmere beendet wird.</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Quillmere cannot start at login: its autostart entry “%1” cannot be read.</source>
        <translation>Quillmere kann nicht beim Anmelden starten: Sein Autostart-Eintrag „%1“ ist nicht lesbar.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Quillmere cannot start at login: “%1” is not a folder Quillmere can write to.</source>
        <translation>Quillmere kann nicht beim Anmelden starten: „%1“ ist kein Ordner, in den Quillmere schreiben kann.</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Quillmere cannot start at login: “%1” cannot be written (%2).</source>
        <translation>Quillmere kann nicht beim Anmelden starten: „%1“ lässt sich nicht schreiben (%2).</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Quillmere still starts at login: “%1” cannot be removed (%2).</source>
        <translation>Quillmere startet weiterhin beim Anmelden: „%1“ lässt sich nicht entfernen (%2).</translation>
    </message>
    <message>
        <location line="+52"/>
        <source>A new block has %1 to %2 minutes of focus, %3 to %4 minutes of break and %5 to %6 sessions.</source>
        <translation>Ein neuer Block hat %1 bis %2 Minuten Fokus, %3 bis %4 Minuten Pause und %5 bis %6 Sitzungen.</translation>
    </message>
</context>
<context>
    <name>quillmere::PreferencesWindow</name>
    <message>
        <location filename="../app/ui/preferences/PreferencesWindow.cpp" line="+48"/>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Problems with the preferences</source>
        <translation>Probleme mit den Einstellungen</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Starting</source>
        <translation>Start</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Start Quillmere when I log in</source>
        <translation>Quillmere beim &amp;Anmelden starten</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>During focus</source>
        <translation>Während des Fokus</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>When the screen locks or the computer sleeps:</source>
        <translation>Wenn der Bildschirm gesperrt wird oder der Rechner schläft:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Keep counting</source>
        <translation>&amp;Weiterzählen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Pause the focus</source>
        <translation>Fokus &amp;pausieren</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Quillmere pauses a running focus and tells you for how long when you are back. It never resumes by itself; a break runs on.</source>
        <translation>Quillmere pausiert einen laufenden Fokus und sagt Ihnen bei Ihrer Rückkehr, wie lange. Er wird nie von selbst fortgesetzt; eine Pause läuft weiter.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>&amp;Do not disturb during focus</source>
        <translation>&amp;Nicht stören während des Fokus</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>New blocks</source>
        <translation>Neue Blöcke</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+1"/>
        <source> min</source>
        <translation> Min.</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Break</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Sessions</source>
        <translation>Sitzungen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>&amp;Focus</source>
        <translation>&amp;Fokus</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>&amp;Break</source>
        <translation>Pa&amp;use</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>S&amp;essions</source>
        <translation>&amp;Sitzungen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Play a s&amp;ound at the end of focus and break</source>
        <translation>&amp;Ton am Ende von Fokus und Pause abspielen</translation>
    </message>
</context>
<context>
    <name>quillmere::ProseField</name>
    <message>
        <location filename="../app/ui/forms/FormComponents.cpp" line="+242"/>
        <location line="+18"/>
        <source>Blank</source>
        <translation>Leer</translation>
    </message>
</context>
<context>
    <name>quillmere::QuillmereDesign</name>
    <message>
        <location filename="../core/src/QuillmereDesign.cpp" line="+118"/>
        <source>No active block</source>
        <translation>Kein aktiver Block</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Plan the next session</source>
        <translation>Nächste Sitzung planen</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Session %1 of %2</source>
        <translation>Sitzung %1 von %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Focus in progress</source>
        <translation>Fokus läuft</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Review this session</source>
        <translation>Sitzung auswerten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Break</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Block complete</source>
        <translation>Block abgeschlossen</translation>
    </message>
</context>
<context>
    <name>quillmere::QuillmereStatusWidget</name>
    <message>
        <location filename="../widget/plugin/QuillmereStatusWidget.h" line="+32"/>
        <source>Your current phase, countdown, session and block progress, plan, and open questions.</source>
        <translation>Deine aktuelle Phase, der Countdown, der Fortschritt von Sitzung und Block, der Plan und offene Fragen.</translation>
    </message>
</context>
<context>
    <name>quillmere::QuillmereTimelineProvider</name>
    <message>
        <location filename="../widget/plugin/QuillmereTimelineProvider.h" line="+37"/>
        <source>Shared container is not reachable</source>
        <translation>Gemeinsamer Ordner ist nicht erreichbar</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Update the widget</source>
        <translation>Aktualisiere das Widget</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Snapshot could not be read</source>
        <translation>Momentaufnahme konnte nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>quillmere::QuillmereWidgetLink</name>
    <message>
        <location filename="../widget/plugin/QuillmereWidgetLink.cpp" line="+25"/>
        <source>paused at %1</source>
        <translation>angehalten bei %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 remaining</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Outcome: %1</source>
        <translation>Ergebnis: %1</translation>
    </message>
</context>
<context>
    <name>quillmere::QuillmereWidgetView</name>
    <message>
        <location filename="../widget/plugin/QuillmereWidgetView.cpp" line="+75"/>
        <source>Quillmere unavailable</source>
        <translation>Quillmere nicht verfügbar</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Open Quillmere</source>
        <translation>Quillmere öffnen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>The widget shows your block once the app has run.</source>
        <translation>Das Widget zeigt deinen Block, sobald die App einmal gelaufen ist.</translation>
    </message>
</context>
<context>
    <name>quillmere::RatingPicker</name>
    <message>
        <location filename="../app/ui/forms/FormComponents.cpp" line="-349"/>
        <source>%L1 of 5</source>
        <translation>%L1 von 5</translation>
    </message>
    <message>
        <location line="+456"/>
        <location line="+32"/>
        <source>%1 %2</source>
        <comment>a rating&apos;s name and value</comment>
        <translation>%1 %2</translation>
    </message>
</context>
<context>
    <name>quillmere::RatingsChart</name>
    <message>
        <location filename="../app/ui/insights/RatingsChart.cpp" line="+21"/>
        <source>Energy</source>
        <translation>Energie</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Morale</source>
        <translation>Stimmung</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Rating, 1 to 5</source>
        <translation>Bewertung, 1 bis 5</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Energy and morale per week</source>
        <translation>Energie und Stimmung pro Woche</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>not rated</source>
        <translation>nicht bewertet</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1: energy %2, morale %3</source>
        <translation>%1: Energie %2, Stimmung %3</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>no rated sessions</source>
        <translation>keine bewerteten Sitzungen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Energy and morale per week on a scale of 1 to 5, %1: %2.</source>
        <translation>Energie und Stimmung pro Woche auf einer Skala von 1 bis 5, %1: %2.</translation>
    </message>
</context>
<context>
    <name>quillmere::ScreenParts</name>
    <message>
        <location filename="../app/ui/ScreenParts.cpp" line="+129"/>
        <source>%1 (%2)</source>
        <comment>a control&apos;s name and its shortcut</comment>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>quillmere::SessionPlanForm</name>
    <message>
        <location filename="../app/ui/forms/SessionPlanForm.cpp" line="+34"/>
        <source>Session plan</source>
        <translation>Sitzungsplan</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+4"/>
        <location line="+29"/>
        <source>Block outcome</source>
        <translation>Blockergebnis</translation>
    </message>
    <message>
        <location line="-17"/>
        <location line="+19"/>
        <source>Intended outcome</source>
        <translation>Angestrebtes Ergebnis</translation>
    </message>
    <message>
        <location line="-15"/>
        <location line="+1"/>
        <location line="+1"/>
        <location line="+15"/>
        <source>First action</source>
        <translation>Erster Schritt</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Preparation</source>
        <translation>Vorbereitung</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Hazards and mitigation</source>
        <translation>Gefahren und Gegenmaßnahmen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Novel, Interesting, Urgent, or Challenging framing</source>
        <translation>Als neu, interessant, dringend oder herausfordernd betrachtet</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Energy</source>
        <translation>Energie</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Morale</source>
        <translation>Stimmung</translation>
    </message>
    <message>
        <location line="+81"/>
        <location line="+36"/>
        <location line="+5"/>
        <source>No selection</source>
        <translation>Keine Auswahl</translation>
    </message>
    <message>
        <location line="-38"/>
        <location line="+40"/>
        <source>Blank outcome</source>
        <translation>Leeres Ergebnis</translation>
    </message>
</context>
<context>
    <name>quillmere::SessionPlanningView</name>
    <message>
        <location filename="../app/ui/workcycle/SessionPlanningView.cpp" line="+26"/>
        <source>Start focus</source>
        <translation>Fokus starten</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Use an explicit blank plan and start</source>
        <translation>Ausdrücklich leeren Plan verwenden und starten</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Start focus with a blank session plan</source>
        <translation>Fokus mit leerem Sitzungsplan starten</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Plan session %1</source>
        <translation>Sitzung %1 planen</translation>
    </message>
</context>
<context>
    <name>quillmere::SessionReviewForm</name>
    <message>
        <location filename="../app/ui/forms/SessionReviewForm.cpp" line="+38"/>
        <source>Yes</source>
        <comment>target completed</comment>
        <translation>Ja</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Half</source>
        <comment>target completed</comment>
        <translation>Teilweise</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>No</source>
        <comment>target completed</comment>
        <translation>Nein</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Session review</source>
        <translation>Sitzungsrückblick</translation>
    </message>
    <message>
        <location line="+10"/>
        <location line="+4"/>
        <location line="+11"/>
        <source>Target completed</source>
        <translation>Ziel erreicht</translation>
    </message>
    <message>
        <location line="-13"/>
        <source>Target completed %1</source>
        <translation>Ziel erreicht: %1</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Noteworthy result</source>
        <translation>Bemerkenswertes Ergebnis</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Distractions</source>
        <translation>Ablenkungen</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Improvement</source>
        <translation>Verbesserung</translation>
    </message>
</context>
<context>
    <name>quillmere::SessionReviewView</name>
    <message>
        <location filename="../app/ui/workcycle/SessionReviewView.cpp" line="+21"/>
        <source>Review session</source>
        <translation>Sitzung auswerten</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Save a blank next plan and start break</source>
        <translation>Leeren nächsten Plan speichern und Pause starten</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Continue to block reflection</source>
        <translation>Weiter zur Blockreflexion</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Save review and start break</source>
        <translation>Rückblick speichern und Pause starten</translation>
    </message>
</context>
<context>
    <name>quillmere::SessionSection</name>
    <message>
        <location filename="../app/ui/block/SessionSection.cpp" line="+19"/>
        <location line="+34"/>
        <source>Session %L1</source>
        <translation>Sitzung %L1</translation>
    </message>
</context>
<context>
    <name>quillmere::StatusAreaItem</name>
    <message>
        <location filename="../app/main/StatusAreaItem.cpp" line="+119"/>
        <source>Open Quillmere</source>
        <translation>Quillmere öffnen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Preferences…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>quillmere::StatusPanel</name>
    <message>
        <location line="-50"/>
        <source>Quillmere panel</source>
        <translation>Quillmere-Panel</translation>
    </message>
</context>
<context>
    <name>quillmere::TimedPhaseScreen</name>
    <message>
        <location filename="../app/ui/workcycle/PhaseScreen.cpp" line="+216"/>
        <source>Session %L1 of %L2</source>
        <translation>Sitzung %L1 von %L2</translation>
    </message>
</context>
<context>
    <name>quillmere::ValueRow</name>
    <message>
        <location filename="../app/ui/forms/FormParts.cpp" line="+22"/>
        <source>Blank</source>
        <translation>Leer</translation>
    </message>
</context>
<context>
    <name>quillmere::WidgetParts</name>
    <message numerus="yes">
        <location filename="../widget/plugin/WidgetLayout_p.h" line="+80"/>
        <source>%Ln open question(s)</source>
        <translation>
            <numerusform>%Ln offene Frage</numerusform>
            <numerusform>%Ln offene Fragen</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../widget/plugin/WidgetParts.cpp" line="+275"/>
        <source>Due</source>
        <comment>a countdown that has reached zero</comment>
        <translation>Fällig</translation>
    </message>
    <message>
        <location line="+72"/>
        <source>Paused</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Session progress</source>
        <translation>Sitzungsfortschritt</translation>
    </message>
    <message>
        <location line="+56"/>
        <source>%1 %2 of %3</source>
        <comment>a rating read aloud: its name, its value, the maximum</comment>
        <translation>%1 %2 von %3</translation>
    </message>
    <message numerus="yes">
        <location line="+32"/>
        <source>and %Ln more</source>
        <comment>open questions not listed</comment>
        <translation>
            <numerusform>und %Ln weitere</numerusform>
            <numerusform>und %Ln weitere</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../widget/plugin/WidgetFamilyViews.cpp" line="+79"/>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+48"/>
        <source>No outcome set</source>
        <translation>Kein Ergebnis festgelegt</translation>
    </message>
    <message>
        <location line="-44"/>
        <location line="+45"/>
        <source>First action</source>
        <translation>Erster Schritt</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>Intended outcome</source>
        <translation>Angestrebtes Ergebnis</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>No first action planned</source>
        <translation>Kein erster Schritt geplant</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Energy</source>
        <translation>Energie</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Morale</source>
        <translation>Stimmung</translation>
    </message>
</context>
<context>
    <name>quillmere::WidgetPhase</name>
    <message>
        <location filename="../core/src/WidgetSnapshot.cpp" line="+242"/>
        <source>Idle</source>
        <translation>Inaktiv</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Planning</source>
        <translation>Planung</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Review</source>
        <translation>Rückblick</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Break</source>
        <translation>Pause</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Complete</source>
        <translation>Abgeschlossen</translation>
    </message>
</context>
<context>
    <name>quillmere::WorkflowError</name>
    <message>
        <location filename="../core/src/WorkflowError.cpp" line="+10"/>
        <source>This action is not available in the current workflow state.</source>
        <translation>Diese Aktion ist im aktuellen Arbeitsschritt nicht verfügbar.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start or schedule a block before this action.</source>
        <translation>Starte oder plane vor dieser Aktion einen Block.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Save a session plan before focus starts.</source>
        <translation>Speichere einen Sitzungsplan, bevor der Fokus beginnt.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Save the next session plan before the break starts.</source>
        <translation>Speichere den nächsten Sitzungsplan, bevor die Pause beginnt.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Energy and Morale must each be from 1 through 5.</source>
        <translation>Energie und Stimmung müssen jeweils zwischen 1 und 5 liegen.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Durations and the cycle count must be greater than zero.</source>
        <translation>Die Dauern und die Anzahl der Zyklen müssen größer als null sein.</translation>
    </message>
</context>
<context>
    <name>quillmere::widgethost::HostCommandLine</name>
    <message>
        <location filename="../widget/host/HostCommandLine.cpp" line="+69"/>
        <source>Shows desktop widgets, one window per --family (medium when none is given).
Drag a widget to move it; click it or press Return to open what it shows.</source>
        <translation>Zeigt Desktop-Widgets, ein Fenster je --family (medium, wenn keine angegeben ist).
Ziehe ein Widget, um es zu verschieben; klicke es an oder drücke die Eingabetaste,
um zu öffnen, was es zeigt.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Options:</source>
        <translation>Optionen:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>add a widget of this size (may be repeated)</source>
        <translation>ein Widget dieser Größe hinzufügen (wiederholbar)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>show only widgets of this kind</source>
        <translation>nur Widgets dieser Art zeigen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>load widget plug-ins from DIR</source>
        <translation>Widget-Plug-ins aus DIR laden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>draw with this palette instead of the desktop&apos;s</source>
        <translation>mit dieser Palette statt der des Desktops zeichnen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>draw one entry to a PNG and exit</source>
        <translation>einen Eintrag als PNG zeichnen und beenden</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>where --render writes</source>
        <translation>wohin --render schreibt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>draw for this ISO 8601 instant, e.g. 2026-03-02T10:00:00Z</source>
        <translation>für diesen ISO-8601-Zeitpunkt zeichnen, z. B. 2026-03-02T10:00:00Z</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>draw the sample shown before there is real data</source>
        <translation>das Beispiel zeichnen, das vor echten Daten erscheint</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>report every timeline and shown entry on stderr</source>
        <translation>jede Zeitleiste und jeden gezeigten Eintrag auf stderr melden</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>unknown family &quot;%1&quot; (small, medium, large or extraLarge)</source>
        <translation>unbekannte Größe „%1“ (small, medium, large oder extraLarge)</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>&quot;%1&quot; is not an ISO 8601 instant with a zone</source>
        <translation>„%1“ ist kein ISO-8601-Zeitpunkt mit Zeitzone</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>unknown palette &quot;%1&quot; (light or dark)</source>
        <translation>unbekannte Palette „%1“ (light oder dark)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>unknown argument &quot;%1&quot;</source>
        <translation>unbekanntes Argument „%1“</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>--render needs --out FILE.png</source>
        <translation>--render braucht --out DATEI.png</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>--render draws one family; leave out --family</source>
        <translation>--render zeichnet eine Größe; lass --family weg</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>--out, --at and --preview go with --render</source>
        <translation>--out, --at und --preview gehören zu --render</translation>
    </message>
</context>
<context>
    <name>quillmere::widgethost::WidgetWindow</name>
    <message>
        <location filename="../widget/host/WidgetWindow.cpp" line="+37"/>
        <source>%1 widget</source>
        <translation>%1-Widget</translation>
    </message>
    <message>
        <location line="+160"/>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Close widget</source>
        <translation>Widget schließen</translation>
    </message>
</context>
</TS>
