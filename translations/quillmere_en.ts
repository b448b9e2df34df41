<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>FoundStateFile</name>
    <message numerus="yes">
        <location filename="../app/model/FoundStateFile.cpp" line="+73"/>
        <source>%1 and %n more</source>
        <comment>members of the state file</comment>
        <translation>
            <numerusform>%1 and %n more</numerusform>
            <numerusform>%1 and %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::AgentQuestionsView</name>
    <message numerus="yes">
        <location filename="../app/ui/questions/AgentQuestionsView.cpp" line="+184"/>
        <source>Showing %L1 of %L2 open question(s).</source>
        <translation>
            <numerusform>Showing %L1 of %L2 open question.</numerusform>
            <numerusform>Showing %L1 of %L2 open questions.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>Show %Ln more</source>
        <translation>
            <numerusform>Show %Ln more</numerusform>
            <numerusform>Show %Ln more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::AppModel</name>
    <message numerus="yes">
        <location filename="../app/model/AppModel.cpp" line="+193"/>
        <source>%1 ?%n</source>
        <comment>menu title: the timer or the phase, then the open questions</comment>
        <translation>
            <numerusform>%1 ?%n</numerusform>
            <numerusform>%1 ?%n</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::BlockPreparationForm</name>
    <message numerus="yes">
        <location filename="../app/ui/forms/BlockPreparationForm.cpp" line="+47"/>
        <source>%L1 minute(s)</source>
        <translation>
            <numerusform>%L1 minute</numerusform>
            <numerusform>%L1 minutes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::BlockProgress</name>
    <message numerus="yes">
        <location filename="../app/ui/panel/BlockProgress.cpp" line="+53"/>
        <source>%L1 of %L2 session(s) started</source>
        <translation>
            <numerusform>%L1 of %L2 session started</numerusform>
            <numerusform>%L1 of %L2 sessions started</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::FocusChart</name>
    <message numerus="yes">
        <location filename="../app/ui/insights/FocusChart.cpp" line="+99"/>
        <source>%Ln minute(s)</source>
        <translation>
            <numerusform>%Ln minute</numerusform>
            <numerusform>%Ln minutes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::HeadlineFigures</name>
    <message numerus="yes">
        <location filename="../app/ui/insights/HeadlineFigures.cpp" line="+40"/>
        <source>session(s) completed</source>
        <translation>
            <numerusform>session completed</numerusform>
            <numerusform>sessions completed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>of targets met in %Ln reviewed session(s)</source>
        <translation>
            <numerusform>of targets met in %Ln reviewed session</numerusform>
            <numerusform>of targets met in %Ln reviewed sessions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%n day(s)</source>
        <comment>a run of days with a session</comment>
        <translation>
            <numerusform>%n day</numerusform>
            <numerusform>%n days</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>current streak, longest %n day(s)</source>
        <translation>
            <numerusform>current streak, longest %n day</numerusform>
            <numerusform>current streak, longest %n days</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::HistoryView</name>
    <message numerus="yes">
        <location filename="../app/ui/history/HistoryView.cpp" line="+143"/>
        <source>%n older block(s) not shown</source>
        <translation>
            <numerusform>%n older block not shown</numerusform>
            <numerusform>%n older blocks not shown</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::HourHeatMap</name>
    <message numerus="yes">
        <location filename="../app/ui/insights/HourHeatMap.cpp" line="+136"/>
        <source>%1 from %2: %Ln minute(s)</source>
        <translation>
            <numerusform>%1 from %2: %Ln minute</numerusform>
            <numerusform>%1 from %2: %Ln minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+117"/>
        <source>%Ln minute(s) at the busiest hour</source>
        <translation>
            <numerusform>%Ln minute at the busiest hour</numerusform>
            <numerusform>%Ln minutes at the busiest hour</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::MenuBarPopover</name>
    <message numerus="yes">
        <location filename="../app/ui/panel/MenuBarPopover.cpp" line="+335"/>
        <source>%Ln open agent question(s)</source>
        <translation>
            <numerusform>%Ln open agent question</numerusform>
            <numerusform>%Ln open agent questions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+122"/>
        <source>and %Ln more</source>
        <translation>
            <numerusform>and %Ln more</numerusform>
            <numerusform>and %Ln more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::PauseOnAway</name>
    <message numerus="yes">
        <location filename="../app/model/PauseOnAway.cpp" line="+27"/>
        <source>%Ln minute(s)</source>
        <translation>
            <numerusform>%Ln minute</numerusform>
            <numerusform>%Ln minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+4"/>
        <source>%Ln hour(s)</source>
        <translation>
            <numerusform>%Ln hour</numerusform>
            <numerusform>%Ln hours</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::WidgetParts</name>
    <message numerus="yes">
        <location filename="../widget/plugin/WidgetLayout_p.h" line="+80"/>
        <source>%Ln open question(s)</source>
        <translation>
            <numerusform>%Ln open question</numerusform>
            <numerusform>%Ln open questions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../widget/plugin/WidgetParts.cpp" line="+451"/>
        <source>and %Ln more</source>
        <comment>open questions not listed</comment>
        <translation>
            <numerusform>and %Ln more</numerusform>
            <numerusform>and %Ln more</numerusform>
        </translation>
    </message>
</context>
</TS>
