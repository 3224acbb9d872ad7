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
<context>
    <name>q93::SendToEncoders</name>
    <message>
        <source>%1 was changed outside this tool: stored %2, the encoder holds %3</source>
        <translation>%1 wurde außerhalb dieses Programms geändert: gespeichert %2, der Encoder hat %3</translation>
    </message>
    <message>
        <source>would change</source>
        <translation>wird geändert</translation>
    </message>
    <message>
        <source>holds these values already</source>
        <translation>hat diese Werte bereits</translation>
    </message>
    <message>
        <source>changed, read back and stored</source>
        <translation>geändert, zurückgelesen und gespeichert</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>rolled back to its old values: %1</source>
        <translation>auf die alten Werte zurückgesetzt: %1</translation>
    </message>
    <message>
        <source>ROLL-BACK FAILED, check this encoder: %1</source>
        <translation>ZURÜCKSETZEN FEHLGESCHLAGEN, prüfen Sie diesen Encoder: %1</translation>
    </message>
    <message>
        <source>not attempted</source>
        <translation>nicht versucht</translation>
    </message>
    <message>
        <source>Send to other encoders</source>
        <translation>An andere Encoder senden</translation>
    </message>
    <message>
        <source>Values of %1 as stored. Check the fields to send and the encoders to send them to, and look at the plan: each encoder is read first, and nothing is sent before you confirm.</source>
        <translation>Werte von %1, wie gespeichert. Wählen Sie die zu sendenden Felder und die Encoder, an die sie gehen, und sehen Sie sich den Plan an: Jeder Encoder wird zuerst ausgelesen, und nichts wird gesendet, bevor Sie bestätigen.</translation>
    </message>
    <message>
        <source>Fields</source>
        <translation>Felder</translation>
    </message>
    <message>
        <source>Encoders</source>
        <translation>Encoder</translation>
    </message>
    <message>
        <source>Show plan</source>
        <translation>Plan anzeigen</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Encoder</source>
        <translation>Encoder</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Show the plan to see what would change.</source>
        <translation>Zeigen Sie den Plan an, um zu sehen, was sich ändern würde.</translation>
    </message>
    <message>
        <source>Check at least one field and one encoder.</source>
        <translation>Wählen Sie mindestens ein Feld und einen Encoder.</translation>
    </message>
    <message numerus="yes">
        <source>Send the checked fields to the %n encoder(s) the plan would change?</source>
        <translation>
            <numerusform>Die gewählten Felder an den %n Encoder senden, den der Plan ändern würde?</numerusform>
            <numerusform>Die gewählten Felder an die %n Encoder senden, die der Plan ändern würde?</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 goes first, alone; the others follow only when it holds every value. Each encoder is read back, and one that does not hold a value gets its old values back. The other checked encoders are left alone.</source>
        <translation>%1 kommt zuerst, allein; die anderen folgen nur, wenn er jeden Wert hält. Jeder Encoder wird zurückgelesen, und einer, der einen Wert nicht hält, bekommt seine alten Werte zurück. Die übrigen gewählten Encoder bleiben unberührt.</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>sending...</source>
        <translation>wird gesendet...</translation>
    </message>
    <message>
        <source>reading...</source>
        <translation>wird ausgelesen...</translation>
    </message>
    <message>
        <source>%1 of %2: %3/%4</source>
        <translation>%1 von %2: %3/%4</translation>
    </message>
    <message>
        <source>Sent: %1 changed, %2 unchanged, %3 not changed.</source>
        <translation>Gesendet: %1 geändert, %2 unverändert, %3 nicht geändert.</translation>
    </message>
    <message>
        <source>Plan: %1 would change, %2 unchanged, %3 could not be read. Send to go on.</source>
        <translation>Plan: %1 würden geändert, %2 unverändert, %3 nicht lesbar. „Senden“ führt ihn aus.</translation>
    </message>
    <message>
        <source>Plan: %1 unchanged, %2 could not be read; nothing to send.</source>
        <translation>Plan: %1 unverändert, %2 nicht lesbar; nichts zu senden.</translation>
    </message>
    <message>
        <source>Stopping after the encoder under way...</source>
        <translation>Wird nach dem laufenden Encoder angehalten...</translation>
    </message>
    <message>
        <source>%1 has no values to send: %2. Read it from the encoder or save it first.</source>
        <translation>%1 hat keine Werte zum Senden: %2. Lesen Sie ihn zuerst aus dem Encoder aus oder speichern Sie ihn.</translation>
    </message>
</context>

</TS>
