<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>q93::MainWindow</name>
    <message>
        <source>The file '%1' was not saved: %2.</source>
        <translation>Die Datei '%1' wurde nicht gespeichert: %2.</translation>
    </message>
</context>
<context>
    <name>q93::PortLogWindow</name>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
</context>
</TS>
