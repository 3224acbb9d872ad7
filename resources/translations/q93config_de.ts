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
<context>
    <name>q93::CompareMenu</name>
    <message>
        <source>Compare with encoder...</source>
        <translation>Mit Gerät vergleichen...</translation>
    </message>
    <message>
        <source>History...</source>
        <translation>Verlauf...</translation>
    </message>
    <message>
        <source>Nothing is stored for %1 yet: read it or save it first.</source>
        <translation>Für %1 ist noch nichts gespeichert: erst auslesen oder speichern.</translation>
    </message>
</context>
<context>
    <name>q93::CompareDialog</name>
    <message>
        <source>Compare with encoder</source>
        <translation>Mit Gerät vergleichen</translation>
    </message>
    <message>
        <source>%1: the encoder holds what is stored.</source>
        <translation>%1: Das Gerät hält, was gespeichert ist.</translation>
    </message>
    <message>
        <source>%1: fields that differ: %2</source>
        <translation>%1: abweichende Felder: %2</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>Stored</source>
        <translation>Gespeichert</translation>
    </message>
    <message>
        <source>Encoder</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Einheit</translation>
    </message>
</context>
<context>
    <name>q93::HistoryDialog</name>
    <message>
        <source>%1: first stored</source>
        <translation>%1: erstmals gespeichert</translation>
    </message>
    <message>
        <source>%1: removed</source>
        <translation>%1: entfernt</translation>
    </message>
    <message>
        <source>History of %1</source>
        <translation>Verlauf von %1</translation>
    </message>
    <message>
        <source>No backup has recorded a version of %1 yet.</source>
        <translation>Noch keine Sicherung hat eine Version von %1 aufgezeichnet.</translation>
    </message>
    <message>
        <source>Versions, newest first: %1</source>
        <translation>Versionen, die neueste zuerst: %1</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Author</source>
        <translation>Autor</translation>
    </message>
</context>
</TS>
