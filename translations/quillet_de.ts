<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AccountHealth</name>
    <message>
        <source>Last good check: %1</source>
        <translation>Letzte erfolgreiche Prüfung: %1</translation>
    </message>
    <message>
        <source>No good check yet</source>
        <translation>Noch keine erfolgreiche Prüfung</translation>
    </message>
    <message>
        <source>Last check failed at %1: %2</source>
        <translation>Letzte Prüfung um %1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>Last check failed: %1</source>
        <translation>Letzte Prüfung fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>%1 failed checks in a row</source>
        <translation>%1 fehlgeschlagene Prüfungen nacheinander</translation>
    </message>
    <message>
        <source>%1: last check failed at %2 (%3); last good check %4</source>
        <translation>%1: Letzte Prüfung um %2 fehlgeschlagen (%3); letzte erfolgreiche Prüfung %4</translation>
    </message>
    <message>
        <source>%1: last check failed (%2); last good check %3</source>
        <translation>%1: Letzte Prüfung fehlgeschlagen (%2); letzte erfolgreiche Prüfung %3</translation>
    </message>
    <message>
        <source>%1: last check failed at %2 (%3); no good check yet</source>
        <translation>%1: Letzte Prüfung um %2 fehlgeschlagen (%3); noch keine erfolgreiche Prüfung</translation>
    </message>
    <message>
        <source>%1: last check failed (%2); no good check yet</source>
        <translation>%1: Letzte Prüfung fehlgeschlagen (%2); noch keine erfolgreiche Prüfung</translation>
    </message>
</context>
<context>
    <name>CheckCycle</name>
    <message>
        <source>Aborted!</source>
        <translation>Abgebrochen!</translation>
    </message>
    <message>
        <source>Failed on quit: %1</source>
        <translation>Fehler beim Beenden der Sitzung: %1</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>No new mail</source>
        <translation>Keine neue E-Mail</translation>
    </message>
    <message>
        <source>Failed on connect</source>
        <translation>Fehler beim Verbinden</translation>
    </message>
    <message>
        <source>Failed on TLS: %1</source>
        <translation>Fehler bei TLS: %1</translation>
    </message>
    <message>
        <source>Failed on %1</source>
        <extracomment>%1 is the command and why it failed: &quot;LIST: the connection to the server closed&quot;.</extracomment>
        <translation>Fehler bei %1</translation>
    </message>
    <message>
        <source>%1 messages on server</source>
        <translation>%1 Nachrichten auf dem Server</translation>
    </message>
    <message>
        <source>Message %1 could not be fetched: %2</source>
        <translation>Nachricht %1 konnte nicht abgerufen werden: %2</translation>
    </message>
    <message>
        <source>Failed on TOP: %1</source>
        <translation>Fehler bei TOP: %1</translation>
    </message>
    <message>
        <source>Failed on DELE: %1</source>
        <translation>Fehler bei DELE: %1</translation>
    </message>
    <message>
        <source>message %1/%2 retrieved</source>
        <translation>Nachricht %1/%2 abgerufen</translation>
    </message>
    <message>
        <source>Dropped %1 bytes that the server sent unasked</source>
        <translation>%1 Bytes verworfen, die der Server ungefragt gesendet hat</translation>
    </message>
    <message>
        <source>DateSent error</source>
        <translation>Fehler im Sendedatum</translation>
    </message>
    <message>
        <source>Header error in message %1: %2</source>
        <translation>Fehler in den Kopfzeilen von Nachricht %1: %2</translation>
    </message>
    <message>
        <source>Not deleted: %1: %2; it stays marked</source>
        <translation>Nicht gelöscht: %1: %2; sie bleibt markiert</translation>
    </message>
    <message>
        <source>QUIT failed. Aborting...</source>
        <translation>QUIT fehlgeschlagen. Abbruch...</translation>
    </message>
    <message>
        <source>Failed on login: %1</source>
        <translation>Fehler bei der Anmeldung: %1</translation>
    </message>
    <message>
        <source>renewing the access token</source>
        <translation>Zugriffstoken wird erneuert</translation>
    </message>
    <message>
        <source>New access token, valid until %1</source>
        <translation>Neues Zugriffstoken, gültig bis %1</translation>
    </message>
    <message>
        <source>(not said)</source>
        <translation>(nicht angegeben)</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>Verbindung wird aufgebaut</translation>
    </message>
    <message>
        <source>signing in</source>
        <translation>Anmeldung läuft</translation>
    </message>
    <message>
        <source>sending name and password</source>
        <translation>Name und Passwort werden gesendet</translation>
    </message>
    <message>
        <source>The server refused the access token: %1</source>
        <translation>Der Server hat das Zugriffstoken abgelehnt: %1</translation>
    </message>
    <message>
        <source>Certificate: %1</source>
        <translation>Zertifikat: %1</translation>
    </message>
</context>
<context>
    <name>CheckPlan</name>
    <message>
        <source>it was not found on the server in this check</source>
        <translation>sie wurde bei dieser Prüfung nicht auf dem Server gefunden</translation>
    </message>
    <message>
        <source>its message number %1 is not in this listing</source>
        <translation>ihre Nachrichtennummer %1 steht nicht in dieser Liste</translation>
    </message>
    <message>
        <source>message %1 on the server has another unique id</source>
        <translation>Nachricht %1 auf dem Server hat eine andere eindeutige ID</translation>
    </message>
    <message>
        <source>message %1 on the server has another header</source>
        <translation>Nachricht %1 auf dem Server hat andere Kopfzeilen</translation>
    </message>
    <message>
        <source>message %1 on the server has another size</source>
        <translation>Nachricht %1 auf dem Server hat eine andere Größe</translation>
    </message>
</context>
<context>
    <name>EConvertError</name>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>„%1“ ist keine gültige Ganzzahl</translation>
    </message>
</context>
<context>
    <name>EMailFormatError</name>
    <message>
        <source>UUCODE message format error</source>
        <translation>Formatfehler in einer UUCODE-Nachricht</translation>
    </message>
    <message>
        <source>Date without month</source>
        <translation>Datum ohne Monat</translation>
    </message>
</context>
<context>
    <name>MailColumns</name>
    <message>
        <source>Stt</source>
        <translation>St.</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Konto</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>To</source>
        <translation>An</translation>
    </message>
    <message>
        <source>Subject</source>
        <translation>Betreff</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Date sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Date received</source>
        <translation>Empfangen</translation>
    </message>
</context>
<context>
    <name>MailProperties</name>
    <message>
        <source>Account:</source>
        <translation>Konto:</translation>
    </message>
    <message>
        <source>Number on the server:</source>
        <translation>Nummer auf dem Server:</translation>
    </message>
    <message>
        <source>Identity:</source>
        <translation>Identität:</translation>
    </message>
    <message>
        <source>Message ID:</source>
        <translation>Nachrichten-ID:</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>Von:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>An:</translation>
    </message>
    <message>
        <source>Cc:</source>
        <translation>Cc:</translation>
    </message>
    <message>
        <source>Bcc:</source>
        <translation>Bcc:</translation>
    </message>
    <message>
        <source>Sent:</source>
        <translation>Gesendet:</translation>
    </message>
    <message>
        <source>Received:</source>
        <translation>Empfangen:</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>not known</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Betreff:</translation>
    </message>
</context>
<context>
    <name>MailRowTexts</name>
    <message>
        <source>New mail</source>
        <translation>Neue E-Mail</translation>
    </message>
    <message>
        <source>Mails: %1</source>
        <translation>E-Mails: %1</translation>
    </message>
    <message>
        <source>Mails: %1 (%2 marked)</source>
        <translation>E-Mails: %1 (%2 markiert)</translation>
    </message>
    <message>
        <source>%1 mails in the list; %2 are deleted from the server at the next check</source>
        <translation>%1 E-Mails in der Liste; %2 werden bei der nächsten Prüfung vom Server gelöscht</translation>
    </message>
    <message>
        <source>1 mail in the list; 1 is deleted from the server at the next check</source>
        <translation>1 E-Mail in der Liste; sie wird bei der nächsten Prüfung vom Server gelöscht</translation>
    </message>
    <message>
        <source>%1 mails in the list; 1 is deleted from the server at the next check</source>
        <translation>%1 E-Mails in der Liste; 1 wird bei der nächsten Prüfung vom Server gelöscht</translation>
    </message>
    <message>
        <source>1 mail in the list</source>
        <translation>1 E-Mail in der Liste</translation>
    </message>
    <message>
        <source>%1 mails in the list</source>
        <translation>%1 E-Mails in der Liste</translation>
    </message>
    <message>
        <source>Not checked yet</source>
        <translation>Noch nicht geprüft</translation>
    </message>
    <message>
        <source>Last check: %1</source>
        <translation>Letzte Prüfung: %1</translation>
    </message>
    <message>
        <source>Deleted from the server at the next check</source>
        <translation>Wird bei der nächsten Prüfung vom Server gelöscht</translation>
    </message>
</context>
<context>
    <name>MasterPassword</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Enter your existing password</source>
        <translation>Geben Sie Ihr bisheriges Passwort ein</translation>
    </message>
    <message>
        <source>Invalid password!</source>
        <translation>Falsches Passwort!</translation>
    </message>
    <message>
        <source>Enter a password that secures access to all your e-mail accounts, or leave the field empty to use the program without a password:</source>
        <translation>Geben Sie ein Passwort ein, das den Zugang zu all Ihren E-Mail-Konten schützt, oder lassen Sie das Feld leer, um das Programm ohne Passwort zu verwenden:</translation>
    </message>
    <message>
        <source>Retype your new password:</source>
        <translation>Geben Sie das neue Passwort noch einmal ein:</translation>
    </message>
    <message>
        <source>Both versions of the password do not match</source>
        <translation>Die beiden Eingaben des Passworts stimmen nicht überein</translation>
    </message>
    <message>
        <source>Your accounts are NOT password-protected.</source>
        <translation>Ihre Konten sind NICHT durch ein Passwort geschützt.</translation>
    </message>
    <message>
        <source>Your accounts ARE password-protected.</source>
        <translation>Ihre Konten SIND durch ein Passwort geschützt.</translation>
    </message>
    <message>
        <source>Invalid master password<byte value="xd"/>

The program will not run without a proper password.<byte value="xd"/>
If you can&apos;t recall it, delete the Quillet.ini file, restart the program and define accounts again.</source>
        <translation>Falsches Master-Passwort

Ohne das richtige Passwort läuft das Programm nicht.
Wenn Sie es vergessen haben, löschen Sie die Datei Quillet.ini, starten Sie das Programm neu und legen Sie die Konten erneut an.</translation>
    </message>
    <message>
        <source>Enter your master password:</source>
        <translation>Geben Sie Ihr Master-Passwort ein:</translation>
    </message>
    <message>
        <source>Invalid master password, try again...</source>
        <translation>Falsches Master-Passwort, bitte versuchen Sie es noch einmal...</translation>
    </message>
</context>
<context>
    <name>NewMailNotice</name>
    <message>
        <source>%1 new mails in %2 accounts</source>
        <translation>%1 neue E-Mails in %2 Konten</translation>
    </message>
    <message>
        <source>(unknown sender)</source>
        <translation>(unbekannter Absender)</translation>
    </message>
    <message>
        <source>New mail</source>
        <translation>Neue E-Mail</translation>
    </message>
    <message>
        <source>%1 new mails</source>
        <translation>%1 neue E-Mails</translation>
    </message>
    <message>
        <source>(no subject)</source>
        <translation>(kein Betreff)</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>und %1 weitere</translation>
    </message>
</context>
<context>
    <name>OAuth</name>
    <message>
        <source>the address is empty</source>
        <translation>die Adresse ist leer</translation>
    </message>
    <message>
        <source>this is not a web address</source>
        <translation>das ist keine Webadresse</translation>
    </message>
    <message>
        <source>the address may not hold a fragment (#...)</source>
        <translation>die Adresse darf kein Fragment (#...) enthalten</translation>
    </message>
    <message>
        <source>the address must start with https://</source>
        <translation>die Adresse muss mit https:// beginnen</translation>
    </message>
    <message>
        <source>cannot wait for the browser on this machine (%1)</source>
        <translation>auf diesem Rechner kann nicht auf den Browser gewartet werden (%1)</translation>
    </message>
    <message>
        <source>Bad request.</source>
        <translation>Ungültige Anfrage.</translation>
    </message>
    <message>
        <source>Not found.</source>
        <translation>Nicht gefunden.</translation>
    </message>
    <message>
        <source>the browser did not come back within %1 seconds</source>
        <translation>der Browser ist nicht innerhalb von %1 Sekunden zurückgekommen</translation>
    </message>
    <message>
        <source>the token address cannot be used: %1</source>
        <translation>die Token-Adresse ist nicht verwendbar: %1</translation>
    </message>
    <message>
        <source>the authorization address cannot be used: %1</source>
        <translation>die Autorisierungsadresse ist nicht verwendbar: %1</translation>
    </message>
    <message>
        <source>the client id is empty</source>
        <translation>die Client-ID ist leer</translation>
    </message>
    <message>
        <source>no web browser could be opened</source>
        <translation>es konnte kein Webbrowser geöffnet werden</translation>
    </message>
    <message>
        <source>the browser&apos;s answer does not belong to this sign-in</source>
        <translation>die Antwort des Browsers gehört nicht zu dieser Anmeldung</translation>
    </message>
    <message>
        <source>Quillet: this answer does not belong to the sign-in Quillet started. Nothing was signed in. You can close this page.</source>
        <translation>Quillet: Diese Antwort gehört nicht zu der Anmeldung, die Quillet begonnen hat. Es wurde nichts angemeldet. Sie können diese Seite schließen.</translation>
    </message>
    <message>
        <source>the sign-in was refused (%1)</source>
        <translation>die Anmeldung wurde abgelehnt (%1)</translation>
    </message>
    <message>
        <source>Quillet: the sign-in was refused (%1). You can close this page.</source>
        <translation>Quillet: Die Anmeldung wurde abgelehnt (%1). Sie können diese Seite schließen.</translation>
    </message>
    <message>
        <source>Quillet: signed in. You can close this page and go back to Quillet.</source>
        <translation>Quillet: angemeldet. Sie können diese Seite schließen und zu Quillet zurückkehren.</translation>
    </message>
    <message>
        <source>Quillet: the sign-in did not work: %1. You can close this page.</source>
        <translation>Quillet: Die Anmeldung hat nicht funktioniert: %1. Sie können diese Seite schließen.</translation>
    </message>
    <message>
        <source>the sign-in server did not answer within %1 seconds</source>
        <translation>der Anmeldeserver hat nicht innerhalb von %1 Sekunden geantwortet</translation>
    </message>
    <message>
        <source>the sign-in server&apos;s answer is too large</source>
        <translation>die Antwort des Anmeldeservers ist zu groß</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>the sign-in server could not be reached (%1)</source>
        <translation>der Anmeldeserver war nicht erreichbar (%1)</translation>
    </message>
    <message>
        <source>the sign-in server is in trouble (%1)</source>
        <translation>der Anmeldeserver hat Probleme (%1)</translation>
    </message>
    <message>
        <source>the sign-in server refused (%1)</source>
        <translation>der Anmeldeserver hat abgelehnt (%1)</translation>
    </message>
    <message>
        <source>the sign-in server answered HTTP %1</source>
        <translation>der Anmeldeserver hat mit HTTP %1 geantwortet</translation>
    </message>
    <message>
        <source>the sign-in server&apos;s answer is not readable</source>
        <translation>die Antwort des Anmeldeservers ist nicht lesbar</translation>
    </message>
    <message>
        <source>the sign-in server&apos;s answer holds no usable access token</source>
        <translation>die Antwort des Anmeldeservers enthält kein verwendbares Zugriffstoken</translation>
    </message>
    <message>
        <source>the sign-in server gave a token of another kind than Bearer</source>
        <translation>der Anmeldeserver hat ein Token einer anderen Art als Bearer ausgegeben</translation>
    </message>
    <message>
        <source>the sign-in server&apos;s answer holds a malformed refresh token</source>
        <translation>die Antwort des Anmeldeservers enthält ein fehlerhaftes Aktualisierungstoken</translation>
    </message>
</context>
<context>
    <name>OAuthLogin</name>
    <message>
        <source>Not checked: OAuth sign-in needs SSL/TLS or STARTTLS (edit the account)</source>
        <translation>Nicht geprüft: Die OAuth-Anmeldung braucht SSL/TLS oder STARTTLS (bearbeiten Sie das Konto)</translation>
    </message>
    <message>
        <source>Failed on login: not signed in yet (edit the account and choose Sign in)</source>
        <translation>Fehler bei der Anmeldung: noch nicht angemeldet (bearbeiten Sie das Konto und wählen Sie „Jetzt anmelden“)</translation>
    </message>
    <message>
        <source>Failed on login: sign in again</source>
        <translation>Fehler bei der Anmeldung: Melden Sie sich erneut an</translation>
    </message>
    <message>
        <source>Failed on login: no new access token (%1)</source>
        <translation>Fehler bei der Anmeldung: kein neues Zugriffstoken (%1)</translation>
    </message>
    <message>
        <source>Failed on login: the server refused the access token</source>
        <translation>Fehler bei der Anmeldung: Der Server hat das Zugriffstoken abgelehnt</translation>
    </message>
    <message>
        <source>Failed on login: the server refused the access token (%1)</source>
        <translation>Fehler bei der Anmeldung: Der Server hat das Zugriffstoken abgelehnt (%1)</translation>
    </message>
    <message>
        <source>This server may want OAuth sign-in: edit the account</source>
        <translation>Dieser Server verlangt vielleicht eine OAuth-Anmeldung: Bearbeiten Sie das Konto</translation>
    </message>
</context>
<context>
    <name>OAuthPresets</name>
    <message>
        <source>Microsoft (personal)</source>
        <translation>Microsoft (privat)</translation>
    </message>
    <message>
        <source>Microsoft (work or school)</source>
        <translation>Microsoft (Arbeit oder Schule)</translation>
    </message>
    <message>
        <source>Google</source>
        <translation>Google</translation>
    </message>
</context>
<context>
    <name>Pop3Text</name>
    <message>
        <source>the listing names message %1 where %2 was due</source>
        <translation>die Liste nennt Nachricht %1, wo %2 an der Reihe war</translation>
    </message>
</context>
<context>
    <name>StatusTexts</name>
    <message>
        <source>Mailbox busy (in use by another session); it will be tried again at the next check</source>
        <translation>Postfach belegt (von einer anderen Sitzung verwendet); bei der nächsten Prüfung wird es erneut versucht</translation>
    </message>
    <message>
        <source>Mailbox busy: the server allows log-ins only now and then; it will be tried again at the next check</source>
        <translation>Postfach belegt: Der Server erlaubt Anmeldungen nur ab und zu; bei der nächsten Prüfung wird es erneut versucht</translation>
    </message>
    <message>
        <source>Mailbox busy: the server allows log-ins only now and then; it may be tried again after %1</source>
        <translation>Postfach belegt: Der Server erlaubt Anmeldungen nur ab und zu; ein neuer Versuch ist nach %1 möglich</translation>
    </message>
    <message>
        <source>Mailbox busy (a temporary problem on the server); it will be tried again at the next check</source>
        <translation>Postfach belegt (ein vorübergehendes Problem auf dem Server); bei der nächsten Prüfung wird es erneut versucht</translation>
    </message>
    <message>
        <source>Failed on login: the user name or password was refused</source>
        <translation>Fehler bei der Anmeldung: Benutzername oder Passwort wurde abgelehnt</translation>
    </message>
    <message>
        <source>Failed on login: the server refuses this mailbox (a lasting problem on the server)</source>
        <translation>Fehler bei der Anmeldung: Der Server verweigert dieses Postfach (ein dauerhaftes Problem auf dem Server)</translation>
    </message>
    <message>
        <source>Failed on login</source>
        <translation>Fehler bei der Anmeldung</translation>
    </message>
    <message>
        <source>Not checked yet: the server allows a log-in every %1 seconds; next automatic check after %2</source>
        <translation>Noch nicht geprüft: Der Server erlaubt eine Anmeldung nur alle %1 Sekunden; nächste automatische Prüfung nach %2</translation>
    </message>
    <message>
        <source>done; %1 messages could not be fetched; %2 marked mails were not deleted (see the System pane)</source>
        <translation>fertig; %1 Nachrichten konnten nicht abgerufen werden; %2 markierte E-Mails wurden nicht gelöscht (siehe Systembereich)</translation>
    </message>
    <message>
        <source>done; %1 messages could not be fetched; %2 marked mail was not deleted (see the System pane)</source>
        <translation>fertig; %1 Nachrichten konnten nicht abgerufen werden; %2 markierte E-Mail wurde nicht gelöscht (siehe Systembereich)</translation>
    </message>
    <message>
        <source>done; %1 message could not be fetched; %2 marked mails were not deleted (see the System pane)</source>
        <translation>fertig; %1 Nachricht konnte nicht abgerufen werden; %2 markierte E-Mails wurden nicht gelöscht (siehe Systembereich)</translation>
    </message>
    <message>
        <source>done; %1 message could not be fetched; %2 marked mail was not deleted (see the System pane)</source>
        <translation>fertig; %1 Nachricht konnte nicht abgerufen werden; %2 markierte E-Mail wurde nicht gelöscht (siehe Systembereich)</translation>
    </message>
    <message>
        <source>done; %1 message could not be fetched (see the System pane)</source>
        <translation>fertig; %1 Nachricht konnte nicht abgerufen werden (siehe Systembereich)</translation>
    </message>
    <message>
        <source>done; %1 messages could not be fetched (see the System pane)</source>
        <translation>fertig; %1 Nachrichten konnten nicht abgerufen werden (siehe Systembereich)</translation>
    </message>
    <message>
        <source>done; %1 marked mail was not deleted (see the System pane)</source>
        <translation>fertig; %1 markierte E-Mail wurde nicht gelöscht (siehe Systembereich)</translation>
    </message>
    <message>
        <source>done; %1 marked mails were not deleted (see the System pane)</source>
        <translation>fertig; %1 markierte E-Mails wurden nicht gelöscht (siehe Systembereich)</translation>
    </message>
    <message>
        <source>done</source>
        <translation>fertig</translation>
    </message>
    <message>
        <source>The deletion did not take place: the server did not confirm the end of the session, so the marked mail stays on the server and marked</source>
        <translation>Das Löschen hat nicht stattgefunden: Der Server hat das Ende der Sitzung nicht bestätigt, daher bleibt die markierte E-Mail auf dem Server und markiert</translation>
    </message>
    <message>
        <source>The deletion did not take place: the server did not confirm the end of the session, so %1 marked mails stay on the server and marked</source>
        <translation>Das Löschen hat nicht stattgefunden: Der Server hat das Ende der Sitzung nicht bestätigt, daher bleiben %1 markierte E-Mails auf dem Server und markiert</translation>
    </message>
</context>
<context>
    <name>TAutoCheck</name>
    <message>
        <source>Auto checking is ON</source>
        <translation>Automatische Prüfung ist EIN</translation>
    </message>
    <message>
        <source>Auto checking is OFF</source>
        <translation>Automatische Prüfung ist AUS</translation>
    </message>
</context>
<context>
    <name>TIniFile</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>TKeyring</name>
    <message>
        <source>Windows Credential Manager</source>
        <translation>Windows-Anmeldeinformationsverwaltung</translation>
    </message>
    <message>
        <source>the desktop keyring</source>
        <translation>Schlüsselbund des Desktops</translation>
    </message>
</context>
<context>
    <name>TKeyringSecrets</name>
    <message>
        <source>password</source>
        <translation>das Passwort</translation>
    </message>
    <message>
        <source>access token</source>
        <translation>das Zugriffstoken</translation>
    </message>
    <message>
        <source>refresh token</source>
        <translation>das Aktualisierungstoken</translation>
    </message>
    <message>
        <source>it has no such entry</source>
        <translation>es gibt keinen solchen Eintrag</translation>
    </message>
    <message>
        <source>no reason given</source>
        <translation>kein Grund angegeben</translation>
    </message>
    <message>
        <source>the %1 of the account &quot;%2&quot;</source>
        <translation>%1 des Kontos „%2“</translation>
    </message>
    <message>
        <source>removing an entry failed: %1</source>
        <translation>das Entfernen eines Eintrags ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Quillet.ini names no keyring entries for the account &quot;%1&quot;</source>
        <translation>Quillet.ini nennt keine Schlüsselbund-Einträge für das Konto „%1“</translation>
    </message>
    <message>
        <source>reading %1 failed: %2</source>
        <translation>Lesen fehlgeschlagen (%1): %2</translation>
    </message>
    <message>
        <source>Quillet could not read the passwords of your accounts from %1: %2.

The accounts are kept without what could not be read, so their checks fail on login. Nothing was removed from the keyring: start Quillet again once it can be read.</source>
        <translation>Quillet konnte die Passwörter Ihrer Konten nicht aus dem Schlüsselspeicher (%1) lesen: %2.

Die Konten bleiben ohne das, was nicht gelesen werden konnte, daher schlagen ihre Prüfungen bei der Anmeldung fehl. Aus dem Schlüsselspeicher wurde nichts entfernt: Starten Sie Quillet erneut, sobald er lesbar ist.</translation>
    </message>
    <message>
        <source>The passwords stay in Quillet.ini: %1 did not store %2: %3</source>
        <translation>Die Passwörter bleiben in Quillet.ini: Der Schlüsselspeicher (%1) hat %2 nicht gespeichert: %3</translation>
    </message>
    <message>
        <source>The passwords stay in Quillet.ini, which could not be written without them: %1</source>
        <translation>Die Passwörter bleiben in Quillet.ini, die ohne sie nicht geschrieben werden konnte: %1</translation>
    </message>
    <message>
        <source>

Taking back what %1 had already stored failed as well: %2</source>
        <translation>

Auch das Zurücknehmen dessen, was der Schlüsselspeicher (%1) bereits gespeichert hatte, ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>The passwords stay in %1: %2 could not be read from it: %3</source>
        <translation>Die Passwörter bleiben im Schlüsselspeicher (%1): %2 konnte nicht daraus gelesen werden: %3</translation>
    </message>
    <message>
        <source>The passwords stay in %1: Quillet.ini could not be written with them: %2</source>
        <translation>Die Passwörter bleiben im Schlüsselspeicher (%1): Quillet.ini konnte nicht mit ihnen geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The passwords are back in Quillet.ini, but %1 still holds some of them: %2</source>
        <translation>Die Passwörter sind wieder in Quillet.ini, aber der Schlüsselspeicher (%1) enthält noch einige davon: %2</translation>
    </message>
    <message>
        <source>Quillet could not keep %1 in %2: %3.

The account uses it until Quillet ends; the next save tries again.</source>
        <translation>Quillet konnte %1 nicht im Schlüsselspeicher (%2) ablegen: %3.

Das Konto verwendet es, bis Quillet endet; beim nächsten Speichern wird es erneut versucht.</translation>
    </message>
    <message>
        <source>The secrets of a removed account stay in %1: %2</source>
        <translation>Die Geheimnisse eines entfernten Kontos bleiben im Schlüsselspeicher (%1): %2</translation>
    </message>
</context>
<context>
    <name>TMainActions</name>
    <message>
        <source>Set password...</source>
        <translation>Passwort festlegen...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Main toolbar</source>
        <translation>&amp;Hauptwerkzeugleiste</translation>
    </message>
    <message>
        <source>&amp;Accounts toolbar</source>
        <translation>&amp;Kontenleiste</translation>
    </message>
    <message>
        <source>&amp;Status bar</source>
        <translation>&amp;Statusleiste</translation>
    </message>
    <message>
        <source>Hide all</source>
        <translation>Alle ausblenden</translation>
    </message>
    <message>
        <source>Show all</source>
        <translation>Alle einblenden</translation>
    </message>
    <message>
        <source>&amp;Check all accounts now</source>
        <translation>Alle Konten jetzt &amp;prüfen</translation>
    </message>
    <message>
        <source>Check all accounts now</source>
        <translation>Alle Konten jetzt prüfen</translation>
    </message>
    <message>
        <source>A&amp;bort checking</source>
        <translation>Prüfung a&amp;bbrechen</translation>
    </message>
    <message>
        <source>Abort checking</source>
        <translation>Prüfung abbrechen</translation>
    </message>
    <message>
        <source>&amp;Auto checking</source>
        <translation>&amp;Automatisch prüfen</translation>
    </message>
    <message>
        <source>Mark for &amp;deleting/unmark</source>
        <translation>Zum &amp;Löschen markieren/Markierung aufheben</translation>
    </message>
    <message>
        <source>Mark/unmark mail for deleting</source>
        <translation>E-Mail zum Löschen markieren/Markierung aufheben</translation>
    </message>
    <message>
        <source>&amp;Show e-mail properties</source>
        <translation>E-Mail-&amp;Eigenschaften anzeigen</translation>
    </message>
    <message>
        <source>Show mail properties</source>
        <translation>E-Mail-Eigenschaften anzeigen</translation>
    </message>
    <message>
        <source>Setup &amp;accounts</source>
        <translation>&amp;Konten einrichten</translation>
    </message>
    <message>
        <source>Setup accounts</source>
        <translation>Konten einrichten</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Program options</source>
        <translation>Programmoptionen</translation>
    </message>
    <message>
        <source>Dump IDs</source>
        <translation>IDs ausgeben</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Über Quillet...</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>TlsPolicy</name>
    <message>
        <source>no certificate</source>
        <translation>kein Zertifikat</translation>
    </message>
    <message>
        <source>Subject: %1; issuer: %2; valid from %3 to %4; SHA-256: %5</source>
        <translation>Inhaber: %1; Aussteller: %2; gültig von %3 bis %4; SHA-256: %5</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation>Über Quillet</translation>
    </message>
    <message>
        <source>Quillet icon</source>
        <translation>Quillet-Symbol</translation>
    </message>
    <message>
        <source>Quillet</source>
        <translation>Quillet</translation>
    </message>
    <message>
        <source>Beta</source>
        <translation>Beta</translation>
    </message>
    <message>
        <source>Written by the Quillet developers.</source>
        <translation>Geschrieben von den Quillet-Entwicklern.</translation>
    </message>
    <message>
        <source>e-mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>WWW:</source>
        <translation>WWW:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Credits</source>
        <translation>&amp;Danksagung</translation>
    </message>
</context>
<context>
    <name>frmAskPassword</name>
    <message>
        <source>Password input</source>
        <translation>Passworteingabe</translation>
    </message>
    <message>
        <source>Enter a password:</source>
        <translation>Geben Sie ein Passwort ein:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>frmOneAccount</name>
    <message>
        <source>One account</source>
        <translation>Konto</translation>
    </message>
    <message>
        <source>&amp;Short description:</source>
        <translation>&amp;Kurzbeschreibung:</translation>
    </message>
    <message>
        <source>(e.g., &quot;Main account&quot;)</source>
        <translation>(z. B. „Hauptkonto“)</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>(e.g., mailuser)</source>
        <translation>(z. B. mailuser)</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>&amp;Server:</translation>
    </message>
    <message>
        <source>(e.g., &quot;pop.example.org&quot;)</source>
        <translation>(z. B. „pop.example.org“)</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation>P&amp;ort:</translation>
    </message>
    <message>
        <source>(usu. 110)</source>
        <translation>(meist 110)</translation>
    </message>
    <message>
        <source>S&amp;ecurity:</source>
        <translation>Si&amp;cherheit:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>SSL/TLS</source>
        <translation>SSL/TLS</translation>
    </message>
    <message>
        <source>STARTTLS</source>
        <translation>STARTTLS</translation>
    </message>
    <message>
        <source>(usu. SSL/TLS)</source>
        <translation>(meist SSL/TLS)</translation>
    </message>
    <message>
        <source>Without SSL/TLS or STARTTLS the password travels readable.</source>
        <translation>Ohne SSL/TLS oder STARTTLS wird das Passwort lesbar übertragen.</translation>
    </message>
    <message>
        <source>Certificate:</source>
        <translation>Zertifikat:</translation>
    </message>
    <message>
        <source>T&amp;rust this certificate</source>
        <translation>Diesem Zertifikat &amp;vertrauen</translation>
    </message>
    <message>
        <source>Ac&amp;tive</source>
        <translation>Ak&amp;tiv</translation>
    </message>
    <message>
        <source>&amp;Accept</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Sig&amp;n-in:</source>
        <translation>Anmel&amp;dung:</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>OAuth 2.0</source>
        <translation>OAuth 2.0</translation>
    </message>
    <message>
        <source>OAuth 2.0 sign-in</source>
        <translation>Anmeldung mit OAuth 2.0</translation>
    </message>
    <message>
        <source>Pro&amp;vider:</source>
        <translation>Anbiet&amp;er:</translation>
    </message>
    <message>
        <source>Authori&amp;zation URL:</source>
        <translation>Autorisierun&amp;gs-URL:</translation>
    </message>
    <message>
        <source>To&amp;ken URL:</source>
        <translation>Toke&amp;n-URL:</translation>
    </message>
    <message>
        <source>S&amp;cope:</source>
        <translation>&amp;Umfang (Scope):</translation>
    </message>
    <message>
        <source>Client &amp;ID:</source>
        <translation>Client-&amp;ID:</translation>
    </message>
    <message>
        <source>(from your registration with the provider; see the README)</source>
        <translation>(aus Ihrer Registrierung beim Anbieter; siehe README)</translation>
    </message>
    <message>
        <source>C&amp;lient secret:</source>
        <translation>C&amp;lient-Geheimnis:</translation>
    </message>
    <message>
        <source>(only when the provider issued one, as Google does; empty for Microsoft)</source>
        <translation>(nur wenn der Anbieter eines ausgegeben hat, wie Google; leer bei Microsoft)</translation>
    </message>
    <message>
        <source>Si&amp;gn in</source>
        <translation>Jetzt an&amp;melden</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation>All&amp;gemein</translation>
    </message>
    <message>
        <source>A&amp;utomatic check interval:</source>
        <translation>Automatisch &amp;prüfen alle:</translation>
    </message>
    <message>
        <source>min.</source>
        <translation>Min.</translation>
    </message>
    <message>
        <source>&amp;Retrieve no more than</source>
        <translation>&amp;Höchstens</translation>
    </message>
    <message>
        <source>lines of each mail</source>
        <translation>Zeilen jeder E-Mail abrufen</translation>
    </message>
    <message>
        <source>Start &amp;minimized</source>
        <translation>&amp;Minimiert starten</translation>
    </message>
    <message>
        <source>Autostart with &amp;Windows?</source>
        <translation>Mit &amp;Windows starten?</translation>
    </message>
    <message>
        <source>Minimize to &amp;tray?</source>
        <translation>In den &amp;Infobereich minimieren?</translation>
    </message>
    <message>
        <source>Minimize on c&amp;losing?</source>
        <translation>Beim Sch&amp;ließen minimieren?</translation>
    </message>
    <message>
        <source>Show a desktop notification for ne&amp;w mail?</source>
        <translation>Bei neuer E-Mail eine Desktop-Benachrichtigung &amp;zeigen?</translation>
    </message>
    <message>
        <source>&amp;Interface</source>
        <translation>&amp;Darstellung</translation>
    </message>
    <message>
        <source>Choose the background color of the mail list</source>
        <translation>Hintergrundfarbe der E-Mail-Liste wählen</translation>
    </message>
    <message>
        <source>Grid background color</source>
        <translation>Hintergrundfarbe der Liste</translation>
    </message>
    <message>
        <source>G&amp;rid background color</source>
        <translation>&amp;Hintergrundfarbe der Liste</translation>
    </message>
    <message>
        <source>Choose the background color of the Message, Header and System panes</source>
        <translation>Hintergrundfarbe der Bereiche Nachricht, Kopfzeilen und System wählen</translation>
    </message>
    <message>
        <source>Panels background color</source>
        <translation>Hintergrundfarbe der Bereiche</translation>
    </message>
    <message>
        <source>&amp;Panels background color</source>
        <translation>Hintergrundfarbe der Be&amp;reiche</translation>
    </message>
    <message>
        <source>Sou&amp;nds</source>
        <translation>&amp;Töne</translation>
    </message>
    <message>
        <source>Sound &amp;enabled</source>
        <translation>Töne &amp;eingeschaltet</translation>
    </message>
    <message>
        <source>Sound events</source>
        <translation>Ereignisse</translation>
    </message>
    <message>
        <source>This sound is acti&amp;ve</source>
        <translation>Dieser Ton ist a&amp;ktiv</translation>
    </message>
    <message>
        <source>Play the sound as set here, saved or not</source>
        <translation>Den Ton so abspielen, wie er hier eingestellt ist, ob gespeichert oder nicht</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>Anhö&amp;ren</translation>
    </message>
    <message>
        <source>Play &amp;built-in sound</source>
        <translation>&amp;Mitgelieferten Ton abspielen</translation>
    </message>
    <message>
        <source>Keep these settings for the selected event</source>
        <translation>Diese Einstellungen für das gewählte Ereignis übernehmen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Play this .&amp;wav file:</source>
        <translation>Diese .&amp;wav-Datei abspielen:</translation>
    </message>
    <message>
        <source>Path of the .wav file</source>
        <translation>Pfad der .wav-Datei</translation>
    </message>
    <message>
        <source>Select your .wav file</source>
        <translation>.wav-Datei auswählen</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Con&amp;firmations</source>
        <translation>&amp;Bestätigungen</translation>
    </message>
    <message>
        <source>There are no confirmations to set.</source>
        <translation>Es gibt keine Bestätigungen einzustellen.</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>The passwords and sign-in tokens of the accounts are kept by the desktop instead of Quillet.ini</source>
        <translation>Die Passwörter und Anmelde-Token der Konten verwahrt der Desktop statt Quillet.ini</translation>
    </message>
    <message>
        <source>Keep passwords in the desktop &amp;keyring</source>
        <translation>Passwörter im Schlüsselbund des Desktops &amp;verwahren</translation>
    </message>
</context>
<context>
    <name>frmSetupAccounts</name>
    <message>
        <source>Accounts setup</source>
        <translation>Konten einrichten</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Konten</translation>
    </message>
    <message>
        <source>&amp;Add new</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>quillet::TAccountMenus</name>
    <message>
        <source>Check %1</source>
        <translation>%1 prüfen</translation>
    </message>
    <message>
        <source>%1 is active</source>
        <translation>%1 ist aktiv</translation>
    </message>
    <message>
        <source>%1 is NOT active</source>
        <translation>%1 ist NICHT aktiv</translation>
    </message>
    <message>
        <source>All active</source>
        <translation>Alle aktiv</translation>
    </message>
    <message>
        <source>All inactive</source>
        <translation>Alle inaktiv</translation>
    </message>
</context>
<context>
    <name>quillet::TCheckController</name>
    <message>
        <source>Mark for deletion</source>
        <translation>Zum Löschen markieren</translation>
    </message>
    <message>
        <source>Which mails were announced could not be saved (%1): they may be announced again after a restart</source>
        <translation>Welche E-Mails bereits gemeldet wurden, konnte nicht gespeichert werden (%1): Sie werden nach einem Neustart vielleicht erneut gemeldet</translation>
    </message>
    <message>
        <source>The renewed sign-in could not be saved: %1</source>
        <translation>Die erneuerte Anmeldung konnte nicht gespeichert werden: %1</translation>
    </message>
</context>
<context>
    <name>quillet::TCheckSchedule</name>
    <message>
        <source>The network is down: no check until it is back</source>
        <translation>Das Netzwerk ist nicht verfügbar: keine Prüfung, bis es wieder da ist</translation>
    </message>
    <message>
        <source>checked less than a minute ago; next automatic check after %1</source>
        <translation>vor weniger als einer Minute geprüft; nächste automatische Prüfung nach %1</translation>
    </message>
    <message>
        <source>failed %1 times in a row; next automatic check at %2</source>
        <translation>%1-mal nacheinander fehlgeschlagen; nächste automatische Prüfung um %2</translation>
    </message>
    <message>
        <source>More time passed than the check interval (the computer slept?): checking in a moment</source>
        <translation>Es ist mehr Zeit vergangen als das Prüfintervall (hat der Computer geschlafen?): Prüfung in Kürze</translation>
    </message>
    <message>
        <source>The computer is going to sleep: checks stop until it wakes up</source>
        <translation>Der Computer geht in den Ruhezustand: Die Prüfungen ruhen, bis er aufwacht</translation>
    </message>
    <message>
        <source>The computer woke up: checking in a moment</source>
        <translation>Der Computer ist aufgewacht: Prüfung in Kürze</translation>
    </message>
    <message>
        <source>The network is back</source>
        <translation>Das Netzwerk ist wieder da</translation>
    </message>
    <message>
        <source>The network is back: checking in a moment</source>
        <translation>Das Netzwerk ist wieder da: Prüfung in Kürze</translation>
    </message>
</context>
<context>
    <name>quillet::TDesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>quillet::TPop3Client</name>
    <message>
        <source>Not sent: the %1 holds a line break or a zero byte, which would end the command early</source>
        <translation>Nicht gesendet: %1 enthält einen Zeilenumbruch oder ein Nullbyte, das den Befehl vorzeitig beenden würde</translation>
    </message>
    <message>
        <source>Not sent: the connection to the server is closed</source>
        <translation>Nicht gesendet: Die Verbindung zum Server ist geschlossen</translation>
    </message>
    <message>
        <source>Not sent: QUIT has already been sent</source>
        <translation>Nicht gesendet: QUIT wurde bereits gesendet</translation>
    </message>
    <message>
        <source>Not connected: %1 is not a TCP port</source>
        <translation>Nicht verbunden: %1 ist kein TCP-Port</translation>
    </message>
    <message>
        <source>user name</source>
        <translation>Der Benutzername</translation>
    </message>
    <message>
        <source>password</source>
        <translation>Das Passwort</translation>
    </message>
    <message>
        <source>the connection to the server closed</source>
        <translation>die Verbindung zum Server wurde geschlossen</translation>
    </message>
    <message>
        <source>the listing cannot be read: %1</source>
        <translation>die Liste ist nicht lesbar: %1</translation>
    </message>
    <message>
        <source>Not sent: the server offers no OAuth sign-in (SASL %1)</source>
        <translation>Nicht gesendet: Der Server bietet keine OAuth-Anmeldung an (SASL %1)</translation>
    </message>
    <message>
        <source>Not sent: the access token is missing, or it or the user name holds a control character</source>
        <translation>Nicht gesendet: Das Zugriffstoken fehlt, oder es oder der Benutzername enthält ein Steuerzeichen</translation>
    </message>
    <message>
        <source>%1 (the sign-in response of %2 characters may be too long for this server)</source>
        <translation>%1 (die Anmeldeantwort mit %2 Zeichen ist für diesen Server vielleicht zu lang)</translation>
    </message>
    <message>
        <source>The server refused the access token and closed the connection (%1)</source>
        <translation>Der Server hat das Zugriffstoken abgelehnt und die Verbindung geschlossen (%1)</translation>
    </message>
    <message>
        <source>the connection closed before TLS could start</source>
        <translation>die Verbindung wurde geschlossen, bevor TLS beginnen konnte</translation>
    </message>
    <message>
        <source>the server does not offer STLS</source>
        <translation>der Server bietet STLS nicht an</translation>
    </message>
    <message>
        <source>the server refused STLS: %1</source>
        <translation>der Server hat STLS abgelehnt: %1</translation>
    </message>
</context>
<context>
    <name>quillet::TQuilletApplication</name>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>quillet::TSocketConversation</name>
    <message>
        <source>The server&apos;s certificate is not the one trusted for this account</source>
        <translation>Das Zertifikat des Servers ist nicht das, dem für dieses Konto vertraut wird</translation>
    </message>
    <message>
        <source>TLS handshake failed: %1</source>
        <translation>TLS-Handshake fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>the server&apos;s greeting</source>
        <extracomment>What a wait is for, as in &quot;while waiting for the server&apos;s greeting&quot;.</extracomment>
        <translation>die Begrüßung des Servers</translation>
    </message>
    <message>
        <source>Not received: the connection to the server is closed</source>
        <translation>Nicht empfangen: Die Verbindung zum Server ist geschlossen</translation>
    </message>
    <message>
        <source>Cancelled: the program is ending</source>
        <translation>Abgebrochen: Das Programm wird beendet</translation>
    </message>
    <message>
        <source>Reply too long: more than %1 bytes arrived; the connection was dropped</source>
        <translation>Antwort zu lang: Mehr als %1 Bytes sind eingetroffen; die Verbindung wurde getrennt</translation>
    </message>
    <message>
        <source>Reply too long: more than %1 lines arrived; the connection was dropped</source>
        <translation>Antwort zu lang: Mehr als %1 Zeilen sind eingetroffen; die Verbindung wurde getrennt</translation>
    </message>
    <message>
        <source>Timed out: no data for %1 seconds while waiting for %2</source>
        <translation>Zeitüberschreitung: %1 Sekunden lang keine Daten beim Warten auf %2</translation>
    </message>
    <message>
        <source>Timed out: only %1 bytes in %2 seconds while waiting for %3</source>
        <translation>Zeitüberschreitung: nur %1 Bytes in %2 Sekunden beim Warten auf %3</translation>
    </message>
    <message>
        <source>%1 (while waiting for %2)</source>
        <translation>%1 (beim Warten auf %2)</translation>
    </message>
    <message>
        <source>Not sent: the connection did not take the data</source>
        <translation>Nicht gesendet: Die Verbindung hat die Daten nicht angenommen</translation>
    </message>
    <message>
        <source>Connection closed by the server while waiting for %1</source>
        <translation>Verbindung vom Server geschlossen beim Warten auf %1</translation>
    </message>
    <message>
        <source>Connection closed by the server while waiting for %1; it had sent: %2</source>
        <translation>Verbindung vom Server geschlossen beim Warten auf %1; bis dahin gesendet: %2</translation>
    </message>
    <message>
        <source>the reply to %1</source>
        <extracomment>What a wait is for, as in &quot;while waiting for the reply to LIST&quot;; %1 is the command.</extracomment>
        <translation>die Antwort auf %1</translation>
    </message>
</context>
<context>
    <name>quillet::TfrmAbout</name>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>Special thanks go to:

  the Qt project, for the toolkit that Quillet is built with
  the makers of the mail server that Quillet is tested against
  everyone who tried Quillet, for their testing and ideas</source>
        <translation>Besonderer Dank geht an:

  das Qt-Projekt, für das Toolkit, mit dem Quillet gebaut ist
  die Macher des Mailservers, mit dem Quillet getestet wird
  alle, die Quillet ausprobiert haben, für ihre Tests und Ideen</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Danksagung</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
</context>
<context>
    <name>quillet::TfrmAskPassword</name>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
</context>
<context>
    <name>quillet::TfrmMain</name>
    <message>
        <source>The accounts were not loaded, so their passwords stay where they are.</source>
        <translation>Die Konten wurden nicht geladen, daher bleiben ihre Passwörter, wo sie sind.</translation>
    </message>
    <message>
        <source>System messages</source>
        <translation>Systemmeldungen</translation>
    </message>
    <message>
        <source>&lt;No message&gt;</source>
        <translation>&lt;Keine Nachricht&gt;</translation>
    </message>
    <message>
        <source>&lt;No header&gt;</source>
        <translation>&lt;Keine Kopfzeilen&gt;</translation>
    </message>
    <message>
        <source>No mail yet — add an account with Tools › Setup accounts (F8)</source>
        <translation>Noch keine E-Mail — fügen Sie ein Konto hinzu unter Extras › Konten einrichten (F8)</translation>
    </message>
    <message>
        <source>No mail waiting — check now with Online › Check all accounts now (F5)</source>
        <translation>Keine E-Mail wartet — jetzt prüfen mit Online › Alle Konten jetzt prüfen (F5)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Check &amp;one account</source>
        <translation>&amp;Ein Konto prüfen</translation>
    </message>
    <message>
        <source>Switch an account o&amp;n or off</source>
        <translation>Ein Konto ein- oder a&amp;usschalten</translation>
    </message>
    <message>
        <source>&amp;Online</source>
        <translation>&amp;Online</translation>
    </message>
    <message>
        <source>&amp;E-mail</source>
        <translation>&amp;E-Mail</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;Diagnostics</source>
        <translation>Dia&amp;gnose</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Check this one</source>
        <translation>Dieses Konto prüfen</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Hauptleiste</translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation>Konten</translation>
    </message>
    <message>
        <source>Mail list</source>
        <translation>E-Mail-Liste</translation>
    </message>
    <message>
        <source>Message &lt;F2&gt;</source>
        <translation>Nachricht &lt;F2&gt;</translation>
    </message>
    <message>
        <source>Header &lt;F3&gt;</source>
        <translation>Kopfzeilen &lt;F3&gt;</translation>
    </message>
    <message>
        <source>System &lt;F4&gt;</source>
        <translation>System &lt;F4&gt;</translation>
    </message>
    <message>
        <source>Message pane</source>
        <translation>Nachrichtenbereich</translation>
    </message>
    <message>
        <source>Header pane</source>
        <translation>Kopfzeilenbereich</translation>
    </message>
    <message>
        <source>System pane</source>
        <translation>Systembereich</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Mails</source>
        <translation>E-Mails</translation>
    </message>
    <message>
        <source>Last check</source>
        <translation>Letzte Prüfung</translation>
    </message>
    <message>
        <source>Clock</source>
        <translation>Uhr</translation>
    </message>
    <message>
        <source>Mails in the list</source>
        <translation>E-Mails in der Liste</translation>
    </message>
    <message>
        <source>Time of the last check of all accounts</source>
        <translation>Zeit der letzten Prüfung aller Konten</translation>
    </message>
    <message>
        <source>Current time</source>
        <translation>Aktuelle Uhrzeit</translation>
    </message>
</context>
<context>
    <name>quillet::TfrmOneAccount</name>
    <message>
        <source>Short description</source>
        <translation>Kurzbeschreibung</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>(usu. 995)</source>
        <translation>(meist 995)</translation>
    </message>
    <message>
        <source>(usu. 110)</source>
        <translation>(meist 110)</translation>
    </message>
    <message>
        <source>Please fill in &quot;%1&quot;.</source>
        <translation>Bitte füllen Sie „%1“ aus.</translation>
    </message>
    <message>
        <source>Refused at the last check: %1
Trusted now: %2</source>
        <translation>Bei der letzten Prüfung abgelehnt: %1
Jetzt vertraut: %2</translation>
    </message>
    <message>
        <source>Refused at the last check: %1</source>
        <translation>Bei der letzten Prüfung abgelehnt: %1</translation>
    </message>
    <message>
        <source>&amp;Trust this certificate</source>
        <translation>Diesem Zertifikat &amp;vertrauen</translation>
    </message>
    <message>
        <source>Trusted (SHA-256): %1</source>
        <translation>Vertraut (SHA-256): %1</translation>
    </message>
    <message>
        <source>&amp;Forget the trusted certificate</source>
        <translation>Vertrautes Zertifikat &amp;vergessen</translation>
    </message>
    <message>
        <source>Authorization URL</source>
        <translation>Autorisierungs-URL</translation>
    </message>
    <message>
        <source>Token URL</source>
        <translation>Token-URL</translation>
    </message>
    <message>
        <source>Client ID</source>
        <translation>Client-ID</translation>
    </message>
    <message>
        <source>OAuth 2.0 sign-in needs SSL/TLS or STARTTLS: the access token would otherwise travel readable, and whoever reads it can read the mailbox.</source>
        <translation>Die Anmeldung mit OAuth 2.0 braucht SSL/TLS oder STARTTLS: Sonst würde das Zugriffstoken lesbar übertragen, und wer es liest, kann das Postfach lesen.</translation>
    </message>
    <message>
        <source>The authorization URL cannot be used: %1.</source>
        <translation>Die Autorisierungs-URL ist nicht verwendbar: %1.</translation>
    </message>
    <message>
        <source>The token URL cannot be used: %1.</source>
        <translation>Die Token-URL ist nicht verwendbar: %1.</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Andere</translation>
    </message>
    <message>
        <source>Not signed in: choose Sign in.</source>
        <translation>Nicht angemeldet: Wählen Sie „Jetzt anmelden“.</translation>
    </message>
    <message>
        <source>Signed in.</source>
        <translation>Angemeldet.</translation>
    </message>
    <message>
        <source>OAuth 2.0 sign-in needs SSL/TLS or STARTTLS.</source>
        <translation>Die Anmeldung mit OAuth 2.0 braucht SSL/TLS oder STARTTLS.</translation>
    </message>
    <message>
        <source>Without SSL/TLS or STARTTLS the password travels readable.</source>
        <translation>Ohne SSL/TLS oder STARTTLS wird das Passwort lesbar übertragen.</translation>
    </message>
    <message>
        <source>Sign-in failed: %1.</source>
        <translation>Anmeldung fehlgeschlagen: %1.</translation>
    </message>
    <message>
        <source>Waiting for the browser: sign in there, then come back here.</source>
        <translation>Warten auf den Browser: Melden Sie sich dort an und kehren Sie dann hierher zurück.</translation>
    </message>
    <message>
        <source>Sign-in refused: %1.</source>
        <translation>Anmeldung abgelehnt: %1.</translation>
    </message>
    <message>
        <source>Signed in, but without a refresh token: sign in again when the access token has expired.</source>
        <translation>Angemeldet, aber ohne Aktualisierungstoken: Melden Sie sich erneut an, wenn das Zugriffstoken abgelaufen ist.</translation>
    </message>
</context>
<context>
    <name>quillet::TfrmOptions</name>
    <message>
        <source>Autostart with &amp;Windows?</source>
        <translation>Mit &amp;Windows starten?</translation>
    </message>
    <message>
        <source>Start Quillet when I lo&amp;g in?</source>
        <translation>Quillet beim Anmelden &amp;starten?</translation>
    </message>
    <message>
        <source>&amp;Keep passwords in Windows Credential Manager</source>
        <translation>Passwörter in der Windows-Anmeldeinformationsverwaltung &amp;verwahren</translation>
    </message>
    <message>
        <source>Keep passwords in the desktop &amp;keyring</source>
        <translation>Passwörter im Schlüsselbund des Desktops &amp;verwahren</translation>
    </message>
    <message>
        <source>New mail arrived!</source>
        <translation>Neue E-Mail eingetroffen!</translation>
    </message>
    <message>
        <source>No new mail</source>
        <translation>Keine neue E-Mail</translation>
    </message>
    <message>
        <source>Mark mail for deleting</source>
        <translation>E-Mail zum Löschen markieren</translation>
    </message>
    <message>
        <source>Unmark mail marked for deleting</source>
        <translation>Löschmarkierung einer E-Mail aufheben</translation>
    </message>
    <message>
        <source>Automatic check interval in minutes</source>
        <translation>Abstand der automatischen Prüfung in Minuten</translation>
    </message>
    <message>
        <source>Lines retrieved of each mail</source>
        <translation>Abgerufene Zeilen je E-Mail</translation>
    </message>
    <message>
        <source>Select your .wav file</source>
        <translation>.wav-Datei auswählen</translation>
    </message>
    <message>
        <source>Sound files (*.wav)</source>
        <translation>Tondateien (*.wav)</translation>
    </message>
    <message>
        <source>Color selection dialog failed to load</source>
        <translation>Der Farbauswahldialog konnte nicht geladen werden</translation>
    </message>
</context>
<context>
    <name>quillet::TfrmSetupAccounts</name>
    <message>
        <source>Deleting</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Are you sure you want to remove account &quot;%1&quot;?</source>
        <translation>Möchten Sie das Konto „%1“ wirklich entfernen?</translation>
    </message>
    <message>
        <source>The account &quot;%1&quot; is being checked right now and cannot be removed. Try again when the check has ended.</source>
        <translation>Das Konto „%1“ wird gerade geprüft und kann nicht entfernt werden. Versuchen Sie es nach dem Ende der Prüfung erneut.</translation>
    </message>
</context>
</TS>
