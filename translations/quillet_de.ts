<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>NewMailNotice</name>
    <message>
        <source>%1 new mails in %2 accounts</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TKeyring</name>
    <message>
        <source>Windows Credential Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the desktop keyring</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TKeyringSecrets</name>
    <message>
        <source>password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>access token</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>refresh token</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it has no such entry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no reason given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the %1 of the account &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>removing an entry failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillet.ini names no keyring entries for the account &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>reading %1 failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillet could not read the passwords of your accounts from %1: %2.

The accounts are kept without what could not be read, so their checks fail on login. Nothing was removed from the keyring: start Quillet again once it can be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 did not store %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 still holds the secrets of a removed account: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.

The account uses it until Quillet ends; the next save tries again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passwords stay in Quillet.ini: %1 did not store %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passwords stay in Quillet.ini, which could not be written without them: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

Taking back what %1 had already stored failed as well: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passwords stay in %1: %2 could not be read from it: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passwords stay in %1: Quillet.ini could not be written with them: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The passwords are back in Quillet.ini, but %1 still holds some of them: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillet icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Written by the Quillet developers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>e-mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WWW:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Credits</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmAskPassword</name>
    <message>
        <source>Password input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter a password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmOneAccount</name>
    <message>
        <source>One account</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Short description:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(e.g., &quot;Main account&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(e.g., mailuser)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(e.g., &quot;pop.example.org&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P&amp;ort:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(usu. 110)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;ecurity:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSL/TLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STARTTLS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(usu. SSL/TLS)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Without SSL/TLS or STARTTLS the password travels readable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Certificate:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>T&amp;rust this certificate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ac&amp;tive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Accept</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;utomatic check interval:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>min.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Retrieve no more than</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lines of each mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start &amp;minimized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Autostart with &amp;Windows?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize to &amp;tray?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize on c&amp;losing?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show a desktop notification for ne&amp;w mail?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Interface</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the background color of the mail list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grid background color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>G&amp;rid background color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the background color of the Message, Header and System panes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Panels background color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Panels background color</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sou&amp;nds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound &amp;enabled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This sound is acti&amp;ve</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play the sound as set here, saved or not</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play &amp;built-in sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep these settings for the selected event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play this .&amp;wav file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path of the .wav file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select your .wav file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Con&amp;firmations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There are no confirmations to set.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmSetupAccounts</name>
    <message>
        <source>Accounts setup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Accounts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add new</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillet::TCheckController</name>
    <message>
        <source>Mark for deletion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Which mails were announced could not be saved (%1): they may be announced again after a restart</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillet::TDesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quillet::TfrmAskPassword</name>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
