<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>q93::LocationTree</name>
    <message>
        <source>New site</source>
        <translation>Neuer Standort</translation>
    </message>
    <message>
        <source>Name of the new site:</source>
        <translation>Name des neuen Standorts:</translation>
    </message>
    <message>
        <source>New encoder</source>
        <translation>Neuer Encoder</translation>
    </message>
    <message>
        <source>Name of the new encoder at '%1':</source>
        <translation>Name des neuen Encoders in '%1':</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>New name for '%1':</source>
        <translation>Neuer Name für '%1':</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove the site '%1'?
Its folder goes to the desktop's trash with everything in it (encoders: %2, stored files: %3).</source>
        <translation>Den Standort '%1' entfernen?
Sein Ordner kommt mit allem darin in den Papierkorb (Encoder: %2, gespeicherte Dateien: %3).</translation>
    </message>
    <message>
        <source>Remove the encoder '%1'?
Its folder goes to the desktop's trash with everything in it (stored files: %2).</source>
        <translation>Den Encoder '%1' entfernen?
Sein Ordner kommt mit allem darin in den Papierkorb (gespeicherte Dateien: %2).</translation>
    </message>
    <message>
        <source>The name '%1' %2; choose another.</source>
        <translation>Der Name '%1' %2; wählen Sie einen anderen.</translation>
    </message>
    <message>
        <source>'%1' was not made: %2.</source>
        <translation>'%1' wurde nicht angelegt: %2.</translation>
    </message>
    <message>
        <source>'%1' was not renamed: %2.</source>
        <translation>'%1' wurde nicht umbenannt: %2.</translation>
    </message>
    <message>
        <source>'%1' was not removed: %2.</source>
        <translation>'%1' wurde nicht entfernt: %2.</translation>
    </message>
    <message>
        <source>Cannot be read: %1</source>
        <translation>Nicht lesbar: %1</translation>
    </message>
    <message>
        <source>tcp.txt is doubtful: %1; no transfer takes it.</source>
        <translation>tcp.txt ist zweifelhaft: %1; keine Übertragung verwendet sie.</translation>
    </message>
    <message>
        <source>The sites cannot be shown: %1.</source>
        <translation>Die Standorte können nicht angezeigt werden: %1.</translation>
    </message>
    <message>
        <source>The connection settings cannot be read: %1; nothing was sent.</source>
        <translation>Die Verbindungseinstellungen sind nicht lesbar: %1; es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>'%1' is doubtful: %2; nothing was sent.</source>
        <translation>'%1' ist zweifelhaft: %2; es wurde nichts gesendet.</translation>
    </message>
</context>
<context>
    <name>q93::MainWindow</name>
    <message>
        <source>The file '%1' was not saved: %2.</source>
        <translation>Die Datei '%1' wurde nicht gespeichert: %2.</translation>
    </message>
    <message>
        <source>The clock was not set: %1; nothing was sent.</source>
        <translation>Die Uhr wurde nicht gestellt: %1; es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>Nothing is stored for '%1' and nothing was read into it, so there are no values to send; nothing was sent.
Press Read to take the encoder's values first.</source>
        <translation>Für '%1' ist nichts gespeichert und nichts ausgelesen, es gibt also keine Werte zu senden; es wurde nichts gesendet.
Holen Sie zuerst mit „Auslesen“ die Werte des Encoders.</translation>
    </message>
</context>
<context>
    <name>q93::SendAnywayBox</name>
    <message>
        <source>These values are outside what the pages allow, so nothing was sent:</source>
        <translation>Diese Werte liegen außerhalb dessen, was die Seiten erlauben; es wurde nichts gesendet:</translation>
    </message>
    <message>
        <source>Correct them on their pages and press Update again, or send them as they are.</source>
        <translation>Korrigieren Sie sie auf ihren Seiten und drücken Sie erneut „Senden“, oder senden Sie sie so, wie sie sind.</translation>
    </message>
    <message>
        <source>Send anyway</source>
        <translation>Trotzdem senden</translation>
    </message>
</context>
<context>
    <name>q93::RangeListing</name>
    <message>
        <source>not a number</source>
        <translation>keine Zahl</translation>
    </message>
    <message>
        <source>infinite</source>
        <translation>unendlich</translation>
    </message>
    <message>
        <source>%1, allowed: what shows as %2 to %3 dBu at a sensitivity from -18 to +18 dBu</source>
        <translation>%1, erlaubt: was bei einer Empfindlichkeit von -18 bis +18 dBu %2 bis %3 dBu ergibt</translation>
    </message>
    <message>
        <source>%1, allowed: %2 to %3 dBu</source>
        <translation>%1, erlaubt: %2 bis %3 dBu</translation>
    </message>
    <message>
        <source>%1, allowed: %2 to %3 kHz</source>
        <translation>%1, erlaubt: %2 bis %3 kHz</translation>
    </message>
    <message>
        <source>%1, allowed: list entry %2 to %3</source>
        <translation>%1, erlaubt: Listeneintrag %2 bis %3</translation>
    </message>
    <message>
        <source>%1, allowed: 0 (off) or 1 (on)</source>
        <translation>%1, erlaubt: 0 (aus) oder 1 (an)</translation>
    </message>
    <message>
        <source>%1, allowed: %2 to %3 %4</source>
        <translation>%1, erlaubt: %2 bis %3 %4</translation>
    </message>
</context>
<context>
    <name>q93::LockWaitDialog</name>
    <message>
        <source>Waiting for %1 (pid %2)...</source>
        <translation>Warte auf %1 (pid %2)...</translation>
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
    <name>q93::NameFault</name>
    <message>
        <source>is empty</source>
        <translation>ist leer</translation>
    </message>
    <message>
        <source>holds '/', which separates folders</source>
        <translation>enthält '/', das Ordner trennt</translation>
    </message>
    <message>
        <source>starts with a dot, which hides a folder</source>
        <translation>beginnt mit einem Punkt, der einen Ordner verbirgt</translation>
    </message>
    <message>
        <source>exists already</source>
        <translation>ist schon vergeben</translation>
    </message>
</context>
<context>
    <name>q93::CompareMenu</name>
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
