<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>quillmere::AgentQuestionsView</name>
    <message numerus="yes">
        <location filename="../app/ui/MainWindow.cpp" line="+914"/>
        <source>Show %Ln more</source>
        <translation>
            <numerusform>Show %Ln more</numerusform>
            <numerusform>Show %Ln more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::MenuBarPopover</name>
    <message numerus="yes">
        <location filename="../app/ui/MenuBarPopover.cpp" line="+613"/>
        <source>and %Ln more</source>
        <translation>
            <numerusform>and %Ln more</numerusform>
            <numerusform>and %Ln more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quillmere::WidgetParts</name>
    <message numerus="yes">
        <location filename="../widget/plugin/WidgetParts.cpp" line="+95"/>
        <source>%Ln open question(s)</source>
        <translation>
            <numerusform>%Ln open question</numerusform>
            <numerusform>%Ln open questions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location line="+446"/>
        <source>and %Ln more</source>
        <comment>open questions not listed</comment>
        <translation>
            <numerusform>and %Ln more</numerusform>
            <numerusform>and %Ln more</numerusform>
        </translation>
    </message>
</context>
</TS>
