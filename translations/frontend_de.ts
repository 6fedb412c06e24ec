<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>CommandManager</name>
    <message>
        <source>no error</source>
        <translation>kein Fehler</translation>
    </message>
    <message>
        <source>command text too long</source>
        <translation>Befehlstext zu lang</translation>
    </message>
    <message>
        <source>bad argument</source>
        <translation>ungültiges Argument</translation>
    </message>
    <message>
        <source>unexpected reply</source>
        <translation>unerwartete Antwort</translation>
    </message>
    <message>
        <source>value of the wrong type</source>
        <translation>Wert vom falschen Typ</translation>
    </message>
    <message>
        <source>operation not supported</source>
        <translation>Operation nicht unterstützt</translation>
    </message>
    <message>
        <source>controller error %1</source>
        <translation>Controller-Fehler %1</translation>
    </message>
    <message>
        <source>error %1</source>
        <translation>Fehler %1</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keiner</translation>
    </message>
</context>
<context>
    <name>ConnectionWatch</name>
    <message>
        <source>connected</source>
        <translation>verbunden</translation>
    </message>
    <message>
        <source>lost</source>
        <translation>verloren</translation>
    </message>
    <message>
        <source>reconnecting</source>
        <translation>Verbindung wird wiederhergestellt</translation>
    </message>
    <message>
        <source>Cannot connect to the controller at %1: %2; looking for it every %3 ms</source>
        <translation>Keine Verbindung zum Controller unter %1: %2; neuer Versuch alle %3 ms</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: not sent, the controller at %2 has not answered since %3</source>
        <translation>&quot;%1&quot;: nicht gesendet, der Controller unter %2 antwortet seit %3 nicht mehr</translation>
    </message>
    <message>
        <source>The measurement starts when the controller answers again</source>
        <translation>Die Messung startet, sobald der Controller wieder antwortet</translation>
    </message>
    <message>
        <source>The measurement will not start again when the controller answers</source>
        <translation>Die Messung startet nicht neu, wenn der Controller wieder antwortet</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2 (%3)</source>
        <translation>&quot;%1&quot;: %2 (%3)</translation>
    </message>
    <message>
        <source>Lost the controller at %1: %2. Commands fail until it answers again; looking for it every %3 ms</source>
        <translation>Verbindung zum Controller unter %1 verloren: %2. Befehle schlagen fehl, bis er wieder antwortet; neuer Versuch alle %3 ms</translation>
    </message>
    <message>
        <source>The controller at %1 no longer tracks (status &quot;%2&quot;)</source>
        <translation>Der Controller unter %1 trackt nicht mehr (Status &quot;%2&quot;)</translation>
    </message>
    <message>
        <source>the data output stopped and a check got %1</source>
        <translation>die Datenausgabe blieb aus und eine Prüfung ergab: %1</translation>
    </message>
    <message>
        <source>The controller at %1 answers again, after %2 s</source>
        <translation>Der Controller unter %1 antwortet wieder, nach %2 s</translation>
    </message>
    <message>
        <source>Cannot read the controller&apos;s versions: %1</source>
        <translation>Die Versionen des Controllers können nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Measurement started again</source>
        <translation>Messung erneut gestartet</translation>
    </message>
    <message>
        <source>Cannot start the measurement again: %1</source>
        <translation>Die Messung kann nicht erneut gestartet werden: %1</translation>
    </message>
    <message>
        <source>connecting</source>
        <translation>Verbindung wird aufgebaut</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: not sent, the controller at %2 has not answered yet</source>
        <translation>&quot;%1&quot;: nicht gesendet, der Controller unter %2 hat noch nicht geantwortet</translation>
    </message>
    <message>
        <source>The measurement starts when the controller answers</source>
        <translation>Die Messung startet, sobald der Controller antwortet</translation>
    </message>
    <message>
        <source>The measurement will not start when the controller answers</source>
        <translation>Die Messung startet nicht, wenn der Controller antwortet</translation>
    </message>
    <message>
        <source>it answered &quot;%1&quot;</source>
        <translation>er antwortete &quot;%1&quot;</translation>
    </message>
    <message>
        <source>a status query got %1</source>
        <translation>eine Statusabfrage ergab: %1</translation>
    </message>
    <message>
        <source>Connected to the controller at %1</source>
        <translation>Mit dem Controller unter %1 verbunden</translation>
    </message>
    <message>
        <source>Measurement started</source>
        <translation>Messung gestartet</translation>
    </message>
    <message>
        <source>Cannot start the measurement: %1</source>
        <translation>Die Messung kann nicht gestartet werden: %1</translation>
    </message>
</context>
<context>
    <name>ControllerTransport</name>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>no reply within the time-out</source>
        <translation>keine Antwort innerhalb der Wartezeit</translation>
    </message>
    <message>
        <source>connection lost</source>
        <translation>Verbindung verloren</translation>
    </message>
    <message>
        <source>not connected</source>
        <translation>nicht verbunden</translation>
    </message>
</context>
<context>
    <name>CsvExport</name>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1:1: not a recording: the first line is not &quot;%2&quot;</source>
        <translation>%1:1: keine Aufnahme: die erste Zeile ist nicht &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 rows from %2 tool and reference lines written to %3</source>
        <translation>%1 Zeilen aus %2 Werkzeug- und Referenzzeilen nach %3 geschrieben</translation>
    </message>
    <message>
        <source>%1 lines refused by the parser, left out</source>
        <translation>%1 Zeilen vom Parser abgelehnt und ausgelassen</translation>
    </message>
    <message>
        <source>%1:%2: the last line is cut short, left out</source>
        <translation>%1:%2: die letzte Zeile ist abgeschnitten und wurde ausgelassen</translation>
    </message>
</context>
<context>
    <name>DataDelivery</name>
    <message>
        <source>%1 data lines dropped while commands waited</source>
        <translation>%1 Datenzeilen verworfen, während Befehle warteten</translation>
    </message>
</context>
<context>
    <name>DataWatch</name>
    <message>
        <source>Data output from the controller at %1 comes in again</source>
        <translation>Die Datenausgabe des Controllers unter %1 kommt wieder an</translation>
    </message>
    <message>
        <source>No data output from the controller at %1 for %2 ms although the measurement runs. Likely causes: the data output does not reach %3, or another client switched the outputs off</source>
        <translation>Seit %2 ms keine Datenausgabe vom Controller unter %1, obwohl die Messung läuft. Wahrscheinliche Ursachen: die Datenausgabe erreicht %3 nicht, oder ein anderer Client hat die Ausgaben abgeschaltet</translation>
    </message>
</context>
<context>
    <name>EmbeddedTransport</name>
    <message>
        <source>embedded simulated controller</source>
        <translation>eingebetteter simulierter Controller</translation>
    </message>
    <message>
        <source>this process</source>
        <translation>diesen Prozess</translation>
    </message>
</context>
<context>
    <name>FrontendOptions</name>
    <message>
        <source>Stand-in host of the measurement tool module: loads the plug-in and drives it against a controller, by default the simulated one in-process.</source>
        <translation>Ersatz-Host des Messwerkzeug-Moduls: lädt das Plug-in und betreibt es an einem Controller, standardmäßig am simulierten im selben Prozess.</translation>
    </message>
    <message>
        <source>Module library to load (default: every module in the modules folder, %1).</source>
        <translation>Zu ladende Modulbibliothek (Standard: jedes Modul im Modulordner, %1).</translation>
    </message>
    <message>
        <source>Run the module in observer mode (no dialogs).</source>
        <translation>Das Modul im Beobachtermodus betreiben (keine Dialoge).</translation>
    </message>
    <message>
        <source>Controller to connect to over TCP: a host name, an IPv4 address or an IPv6 address in brackets, e.g. [::1]:5000 (default: none, the embedded simulated controller).</source>
        <translation>Controller, mit dem über TCP verbunden wird: ein Hostname, eine IPv4-Adresse oder eine IPv6-Adresse in eckigen Klammern, z. B. [::1]:5000 (Standard: keiner, der eingebaute simulierte Controller).</translation>
    </message>
    <message>
        <source>Local UDP port for the controller&apos;s data output (default %1).</source>
        <translation>Lokaler UDP-Port für die Datenausgabe des Controllers (Standard %1).</translation>
    </message>
    <message>
        <source>Time-out of one controller command in milliseconds (default %1).</source>
        <translation>Zeitlimit eines Controller-Befehls in Millisekunden (Standard %1).</translation>
    </message>
    <message>
        <source>Milliseconds the data output may pause during a measurement before the controller is checked (default %1).</source>
        <translation>Millisekunden, die die Datenausgabe während einer Messung aussetzen darf, bevor der Controller geprüft wird (Standard %1).</translation>
    </message>
    <message>
        <source>Language of the window: de or en (default: the system&apos;s).</source>
        <translation>Sprache des Fensters: de oder en (Standard: die des Systems).</translation>
    </message>
    <message>
        <source>Product name the simulated controller reports (default %1).</source>
        <translation>Produktname, den der simulierte Controller meldet (Standard %1).</translation>
    </message>
    <message>
        <source>Product version the simulated controller reports (default %1).</source>
        <translation>Produktversion, die der simulierte Controller meldet (Standard %1).</translation>
    </message>
    <message>
        <source>Backend version the simulated controller reports (default %1).</source>
        <translation>Backend-Version, die der simulierte Controller meldet (Standard %1).</translation>
    </message>
    <message>
        <source>Recording or raw capture of data lines for the embedded simulated controller to replay in place of its simulated motion (default: none).</source>
        <translation>Aufzeichnung oder Rohmitschnitt von Datenzeilen, die der eingebettete simulierte Controller anstelle seiner simulierten Bewegung abspielt (Standard: keine).</translation>
    </message>
    <message>
        <source>Replay speed, 0.01 to 100 (default 1).</source>
        <translation>Abspielgeschwindigkeit, 0.01 bis 100 (Standard 1).</translation>
    </message>
    <message>
        <source>--speed wants a number from 0.01 to 100, not &quot;%1&quot;</source>
        <translation>--speed erwartet eine Zahl von 0.01 bis 100, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Replay from the start again at the end.</source>
        <translation>Am Ende wieder von vorn abspielen.</translation>
    </message>
    <message>
        <source>Frames per second of the simulation and a raw capture (default %1).</source>
        <translation>Frames pro Sekunde der Simulation und eines Rohmitschnitts (Standard %1).</translation>
    </message>
    <message>
        <source>--rate wants 1 to 1000</source>
        <translation>--rate erwartet 1 bis 1000</translation>
    </message>
    <message>
        <source>Any simulation setting, sent as &quot;orvel2 simulate &lt;setting&gt; &lt;value&gt;&quot; (repeatable; default: none).</source>
        <translation>Beliebige Simulationseinstellung, gesendet als &quot;orvel2 simulate &lt;setting&gt; &lt;value&gt;&quot; (wiederholbar; Standard: keine).</translation>
    </message>
    <message>
        <source>Start a measurement right away.</source>
        <translation>Sofort eine Messung starten.</translation>
    </message>
    <message>
        <source>Save a picture of the window (or of the screen chosen with --show) to a PNG file and exit; exit status 1 when the screen cannot be reached (default: none, the window stays open).</source>
        <translation>Ein Bild des Fensters (oder des mit --show gewählten Bildschirms) als PNG-Datei speichern und beenden; Exit-Status 1, wenn der Bildschirm nicht erreichbar ist (Standard: keins, das Fenster bleibt offen).</translation>
    </message>
    <message>
        <source>Screen to open, or to picture with --screenshot: settings, devices, calibration, help, progress, countdown, result, error or display (the last four run a calibration; see --simulate and --delay; default: the main window).</source>
        <translation>Zu öffnender oder mit --screenshot abzubildender Bildschirm: settings, devices, calibration, help, progress, countdown, result, error oder display (die letzten vier führen eine Kalibrierung aus; siehe --simulate und --delay; Standard: das Hauptfenster).</translation>
    </message>
    <message>
        <source>Milliseconds to wait before the screenshot (default %1).</source>
        <translation>Millisekunden Wartezeit vor dem Bildschirmfoto (Standard %1).</translation>
    </message>
    <message>
        <source>Unexpected argument: %1</source>
        <translation>Unerwartetes Argument: %1</translation>
    </message>
    <message>
        <source>--controller wants host:port, not &quot;%1&quot;</source>
        <translation>--controller erwartet Host:Port, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--data-port wants a port number</source>
        <translation>--data-port erwartet eine Portnummer</translation>
    </message>
    <message>
        <source>--language wants de or en, not &quot;%1&quot;</source>
        <translation>--language erwartet de oder en, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--%1 wants major.minor.patch, not &quot;%2&quot;</source>
        <translation>--%1 erwartet Major.Minor.Patch, nicht &quot;%2&quot;</translation>
    </message>
    <message>
        <source>--simulate wants setting=value, not &quot;%1&quot;</source>
        <translation>--simulate erwartet Einstellung=Wert, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--show wants settings, devices, calibration, help, progress, countdown, result, error or display, not &quot;%1&quot;</source>
        <translation>--show erwartet settings, devices, calibration, help, progress, countdown, result, error oder display, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--timeout wants milliseconds above 0</source>
        <translation>--timeout erwartet Millisekunden über 0</translation>
    </message>
    <message>
        <source>--no-data wants milliseconds above 0</source>
        <translation>--no-data erwartet Millisekunden über 0</translation>
    </message>
    <message>
        <source>Milliseconds without a data line during a measurement before the window says &quot;no data&quot; (default %1).</source>
        <translation>Millisekunden ohne Datenzeile während einer Messung, bevor das Fenster &quot;keine Daten&quot; meldet (Standard %1).</translation>
    </message>
    <message>
        <source>--silence wants milliseconds above 0</source>
        <translation>--silence erwartet Millisekunden über 0</translation>
    </message>
    <message>
        <source>--screenshot wants a file in a folder that exists, not &quot;%1&quot;</source>
        <translation>--screenshot erwartet eine Datei in einem vorhandenen Ordner, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Usage: %1 [options]</source>
        <translation>Aufruf: %1 [Optionen]</translation>
    </message>
    <message>
        <source>--delay wants milliseconds</source>
        <translation>--delay erwartet Millisekunden</translation>
    </message>
    <message>
        <source>Record the session into a file from the start, as File &gt; Start recording does (default: none).</source>
        <translation>Die Sitzung von Beginn an in eine Datei aufnehmen, wie es Datei &gt; Aufnahme starten tut (Standard: keine).</translation>
    </message>
    <message>
        <source>--record wants a file in a folder that exists, not &quot;%1&quot;</source>
        <translation>--record erwartet eine Datei in einem vorhandenen Ordner, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Write the tools and references of the recording given after the options to a CSV file and exit, without a window (default: none).</source>
        <translation>Die Werkzeuge und Referenzen der nach den Optionen angegebenen Aufnahme in eine CSV-Datei schreiben und beenden, ohne Fenster (Standard: keine).</translation>
    </message>
    <message>
        <source>--export-csv wants a file in a folder that exists, not &quot;%1&quot;</source>
        <translation>--export-csv erwartet eine Datei in einem vorhandenen Ordner, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>With --export-csv: the recording to read.</source>
        <translation>Mit --export-csv: die zu lesende Aufnahme.</translation>
    </message>
    <message>
        <source>--export-csv wants the recording to read after the options</source>
        <translation>--export-csv erwartet die zu lesende Aufnahme nach den Optionen</translation>
    </message>
</context>
<context>
    <name>IgtlClient</name>
    <message>
        <source>it has read nothing for %1 s</source>
        <translation>er hat %1 s lang nichts gelesen</translation>
    </message>
    <message>
        <source>it disconnected</source>
        <translation>er hat die Verbindung getrennt</translation>
    </message>
    <message>
        <source>it sent bytes that are no OpenIGTLink message</source>
        <translation>er hat Bytes gesendet, die keine OpenIGTLink-Nachricht sind</translation>
    </message>
    <message>
        <source>it sent a message of %1 bytes, more than %2</source>
        <translation>er hat eine Nachricht von %1 Bytes gesendet, mehr als %2</translation>
    </message>
    <message>
        <source>it sent a message whose checksum is wrong</source>
        <translation>er hat eine Nachricht mit falscher Prüfsumme gesendet</translation>
    </message>
</context>
<context>
    <name>IgtlServer</name>
    <message>
        <source>OpenIGTLink server: cannot listen on %1: %2</source>
        <translation>OpenIGTLink-Server: kann nicht auf %1 lauschen: %2</translation>
    </message>
    <message>
        <source>OpenIGTLink server listening on %1, for programs on this computer only</source>
        <translation>OpenIGTLink-Server lauscht auf %1, nur für Programme auf diesem Rechner</translation>
    </message>
    <message>
        <source>OpenIGTLink server listening on %1: any computer that reaches this one on port %2 may connect and receive the tracking data</source>
        <translation>OpenIGTLink-Server lauscht auf %1: jeder Rechner, der diesen auf Port %2 erreicht, kann sich verbinden und die Tracking-Daten empfangen</translation>
    </message>
    <message>
        <source>OpenIGTLink client %1 refused: %2 clients are connected already</source>
        <translation>OpenIGTLink-Client %1 abgewiesen: schon %2 Clients verbunden</translation>
    </message>
    <message>
        <source>OpenIGTLink client %1 connected (%2 connected)</source>
        <translation>OpenIGTLink-Client %1 verbunden (%2 verbunden)</translation>
    </message>
    <message>
        <source>OpenIGTLink client %1 closed: %2 (%3 connected)</source>
        <translation>OpenIGTLink-Client %1 geschlossen: %2 (%3 verbunden)</translation>
    </message>
    <message>
        <source>OpenIGTLink client %1 reads too slowly: %2 poses dropped</source>
        <translation>OpenIGTLink-Client %1 liest zu langsam: %2 Posen verworfen</translation>
    </message>
    <message>
        <source>OpenIGTLink server falls behind the data: %1 lines dropped</source>
        <translation>OpenIGTLink-Server kommt mit den Daten nicht nach: %1 Zeilen verworfen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Message Log</source>
        <translation>Meldungsprotokoll</translation>
    </message>
    <message>
        <source>Orvel Front-End</source>
        <translation>Orvel Front-End</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Leave the front-end</source>
        <translation>Front-End beenden</translation>
    </message>
    <message>
        <source>&amp;Start measurement</source>
        <translation>Messung &amp;starten</translation>
    </message>
    <message>
        <source>Start tracking on the controller</source>
        <translation>Tracking auf dem Controller starten</translation>
    </message>
    <message>
        <source>Stop tracking on the controller</source>
        <translation>Tracking auf dem Controller beenden</translation>
    </message>
    <message>
        <source>Message &amp;Log</source>
        <translation>Meldungs&amp;protokoll</translation>
    </message>
    <message>
        <source>Show the message log</source>
        <translation>Zeigt das Meldungsprotokoll</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Versions of the front-end, the module and the controller</source>
        <translation>Versionen von Front-End, Modul und Controller</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Tracking</source>
        <translation>&amp;Tracking</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Module entry &quot;%1&quot; is a dock without a dock widget</source>
        <translation>Moduleintrag &quot;%1&quot; ist ein Dock ohne Dock-Widget</translation>
    </message>
    <message>
        <source>%1 %2 offers nothing for this controller</source>
        <translation>%1 %2 bietet nichts für diesen Controller</translation>
    </message>
    <message>
        <source>Unable to start the measurement: %1</source>
        <translation>Messung kann nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>Unable to stop the measurement: %1</source>
        <translation>Messung kann nicht beendet werden: %1</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>no module loaded</source>
        <translation>kein Modul geladen</translation>
    </message>
    <message>
        <source>%1, product version %2, backend version %3</source>
        <translation>%1, Produktversion %2, Backend-Version %3</translation>
    </message>
    <message>
        <source>unknown product</source>
        <translation>unbekanntes Produkt</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Orvel Front-End %1&lt;/h3&gt;&lt;p&gt;A stand-in host for the controller&apos;s GUI modules.&lt;/p&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Module:&lt;/b&gt;&lt;/td&gt;&lt;td&gt;%2&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Controller:&lt;/b&gt;&lt;/td&gt;&lt;td&gt;%3&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Connection:&lt;/b&gt;&lt;/td&gt;&lt;td&gt;%4&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;</source>
        <translation>&lt;h3&gt;Orvel Front-End %1&lt;/h3&gt;&lt;p&gt;Ein Ersatz-Host für die GUI-Module des Controllers.&lt;/p&gt;&lt;table&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Modul:&lt;/b&gt;&lt;/td&gt;&lt;td&gt;%2&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Controller:&lt;/b&gt;&lt;/td&gt;&lt;td&gt;%3&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Verbindung:&lt;/b&gt;&lt;/td&gt;&lt;td&gt;%4&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;</translation>
    </message>
    <message>
        <source>About Orvel Front-End</source>
        <translation>Über Orvel Front-End</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Measurement:&lt;/b&gt; %1&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Messung:&lt;/b&gt; %1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>running</source>
        <translation>läuft</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>gestoppt</translation>
    </message>
    <message>
        <source>Sto&amp;p measurement</source>
        <translation>Messung &amp;beenden</translation>
    </message>
    <message>
        <source>%1, connected</source>
        <translation>%1, verbunden</translation>
    </message>
    <message>
        <source>%1, lost since %2 (%3), %4</source>
        <translation>%1, verloren seit %2 (%3), %4</translation>
    </message>
    <message>
        <source>reconnecting</source>
        <translation>Verbindung wird wiederhergestellt</translation>
    </message>
    <message>
        <source>waiting to reconnect</source>
        <translation>wartet auf neuen Versuch</translation>
    </message>
    <message>
        <source>stopped, starts again when the controller answers</source>
        <translation>gestoppt, startet neu, sobald der Controller antwortet</translation>
    </message>
    <message>
        <source>Controller: %1</source>
        <translation>Controller: %1</translation>
    </message>
    <message>
        <source>%1, connecting</source>
        <translation>%1, Verbindung wird aufgebaut</translation>
    </message>
    <message>
        <source>%1, connecting (%2)</source>
        <translation>%1, Verbindung wird aufgebaut (%2)</translation>
    </message>
    <message>
        <source>running, but no data comes in (see the message log)</source>
        <translation>läuft, aber es kommen keine Daten an (siehe Meldungsprotokoll)</translation>
    </message>
    <message>
        <source>stopped, starts when the controller answers</source>
        <translation>gestoppt, startet, sobald der Controller antwortet</translation>
    </message>
    <message>
        <source>Controller: %1, no data</source>
        <translation>Controller: %1, keine Daten</translation>
    </message>
</context>
<context>
    <name>MessageLogPanel</name>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>%1, category %2, level %3</source>
        <translation>%1, Kategorie %2, Stufe %3</translation>
    </message>
</context>
<context>
    <name>ModuleDialogGuard</name>
    <message>
        <source>&quot;%1&quot; not opened: it loads its settings from the controller, and the controller at %2 has not answered yet. Choose it again once the controller answers.</source>
        <translation>&quot;%1&quot; nicht geöffnet: es lädt seine Einstellungen vom Controller, und der Controller unter %2 hat noch nicht geantwortet. Erneut wählen, sobald der Controller antwortet.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; not opened: it loads its settings from the controller, and the controller at %2 has not answered since %3. Choose it again once the controller answers.</source>
        <translation>&quot;%1&quot; nicht geöffnet: es lädt seine Einstellungen vom Controller, und der Controller unter %2 antwortet seit %3 nicht mehr. Erneut wählen, sobald der Controller antwortet.</translation>
    </message>
    <message>
        <source>The controller at %1 answers again; &quot;%2&quot; shows what it loaded before it was lost: close it and open it again to load afresh</source>
        <translation>Der Controller unter %1 antwortet wieder; &quot;%2&quot; zeigt, was es vor dem Verbindungsverlust geladen hat: schließen und erneut öffnen, um neu zu laden</translation>
    </message>
</context>
<context>
    <name>ModuleLoader</name>
    <message>
        <source>no module library at %1</source>
        <translation>keine Modulbibliothek unter %1</translation>
    </message>
    <message>
        <source>%1 is not a module (no %2 interface)</source>
        <translation>%1 ist kein Modul (keine Schnittstelle %2)</translation>
    </message>
    <message>
        <source>No modules folder at %1</source>
        <translation>Kein Modulordner unter %1</translation>
    </message>
    <message>
        <source>Skipped %1: not a Qt plug-in</source>
        <translation>%1 übersprungen: kein Qt-Plug-in</translation>
    </message>
    <message>
        <source>Skipped %1: a plug-in for %2</source>
        <translation>%1 übersprungen: ein Plug-in für %2</translation>
    </message>
    <message>
        <source>Cannot load %1: %2</source>
        <translation>%1 kann nicht geladen werden: %2</translation>
    </message>
    <message>
        <source>No module in %1</source>
        <translation>Kein Modul in %1</translation>
    </message>
    <message>
        <source>%1 is a folder, not a module library</source>
        <translation>%1 ist ein Ordner, keine Modulbibliothek</translation>
    </message>
    <message>
        <source>%1 cannot be read</source>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 is empty, not a module library</source>
        <translation>%1 ist leer, keine Modulbibliothek</translation>
    </message>
    <message>
        <source>%1 is not a Qt plug-in: %2</source>
        <translation>%1 ist kein Qt-Plug-in: %2</translation>
    </message>
    <message>
        <source>%1 is a plug-in for %2, not a module (%3)</source>
        <translation>%1 ist ein Plug-in für %2, kein Modul (%3)</translation>
    </message>
    <message>
        <source>Skipped %1: another copy of the module %2, which is loaded from %3</source>
        <translation>%1 übersprungen: eine weitere Kopie des Moduls %2, das aus %3 geladen ist</translation>
    </message>
</context>
<context>
    <name>RecordFormat</name>
    <message>
        <source>a data record wants &quot;D &lt;ms&gt; &lt;type&gt; &lt;line&gt;&quot;</source>
        <translation>ein Dateneintrag hat die Form &quot;D &lt;ms&gt; &lt;type&gt; &lt;line&gt;&quot;</translation>
    </message>
    <message>
        <source>the data line is not of the type its record gives</source>
        <translation>die Datenzeile hat nicht den Typ, den ihr Eintrag nennt</translation>
    </message>
    <message>
        <source>a command record wants &quot;C &lt;ms&gt; &lt;duration&gt; &lt;result&gt; &lt;command&gt;&lt;tab&gt;&lt;reply&gt;&quot;</source>
        <translation>ein Befehlseintrag hat die Form &quot;C &lt;ms&gt; &lt;duration&gt; &lt;result&gt; &lt;command&gt;&lt;tab&gt;&lt;reply&gt;&quot;</translation>
    </message>
    <message>
        <source>a record begins with &quot;D &quot;, &quot;C &quot; or &quot;#&quot;</source>
        <translation>ein Eintrag beginnt mit &quot;D &quot;, &quot;C &quot; oder &quot;#&quot;</translation>
    </message>
</context>
<context>
    <name>RecordingControls</name>
    <message>
        <source>Start &amp;recording...</source>
        <translation>&amp;Aufnahme starten...</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Aufnahme beenden</translation>
    </message>
    <message>
        <source>Record the controller&apos;s data lines and the commands into a file</source>
        <translation>Die Datenzeilen des Controllers und die Befehle in eine Datei aufnehmen</translation>
    </message>
    <message>
        <source>End the recording and close its file</source>
        <translation>Die Aufnahme beenden und ihre Datei schließen</translation>
    </message>
    <message>
        <source>Start recording</source>
        <translation>Aufnahme starten</translation>
    </message>
    <message>
        <source>Recordings (*.rec);;All files (*)</source>
        <translation>Aufnahmen (*.rec);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Recording waits for the controller</source>
        <translation>Aufnahme wartet auf den Controller</translation>
    </message>
    <message>
        <source>Recording %1, %2 lines</source>
        <translation>Aufnahme %1, %2 Zeilen</translation>
    </message>
    <message>
        <source>, %1 dropped</source>
        <translation>, %1 verworfen</translation>
    </message>
</context>
<context>
    <name>ScreenNavigator</name>
    <message>
        <source>the module offers no display here</source>
        <translation>das Modul bietet hier keine Anzeige</translation>
    </message>
    <message>
        <source>the module offers no dialog for &quot;%1&quot; here: no module is loaded, it runs in observer mode, or it refuses the controller&apos;s product</source>
        <translation>das Modul bietet hier keinen Dialog für &quot;%1&quot;: kein Modul ist geladen, es läuft im Beobachtermodus oder es lehnt das Produkt des Controllers ab</translation>
    </message>
    <message>
        <source>the settings dialog has no radio device page here</source>
        <translation>der Einstellungsdialog hat hier keine Seite für Funkgeräte</translation>
    </message>
    <message>
        <source>&quot;%1&quot; did not show, and nothing changed for %2 s</source>
        <translation>&quot;%1&quot; erschien nicht, und %2 s lang änderte sich nichts</translation>
    </message>
    <message>
        <source>the module&apos;s dialog did not open, or closed before &quot;%1&quot; showed</source>
        <translation>der Dialog des Moduls öffnete sich nicht oder schloss sich, bevor &quot;%1&quot; erschien</translation>
    </message>
    <message>
        <source>the tip calibration dialog has no button that leads to &quot;%1&quot;</source>
        <translation>der Dialog der Spitzenkalibrierung hat keine Schaltfläche, die zu &quot;%1&quot; führt</translation>
    </message>
    <message>
        <source>%1 is disabled in the tip calibration dialog</source>
        <translation>%1 ist im Dialog der Spitzenkalibrierung gesperrt</translation>
    </message>
    <message>
        <source>%1 is disabled in the tip calibration dialog: %2</source>
        <translation>%1 ist im Dialog der Spitzenkalibrierung gesperrt: %2</translation>
    </message>
    <message>
        <source>the tip calibration ended without showing &quot;%1&quot;; the message log may say why</source>
        <translation>die Spitzenkalibrierung endete, ohne &quot;%1&quot; zu zeigen; das Meldungsprotokoll nennt vielleicht den Grund</translation>
    </message>
    <message>
        <source>the calibration ended before its progress showed</source>
        <translation>die Kalibrierung endete, bevor ihr Fortschritt erschien</translation>
    </message>
    <message>
        <source>the calibration ended without a countdown: one shows only between the steps of a two-step calibration (--simulate cal_steps=2)</source>
        <translation>die Kalibrierung endete ohne Countdown: Er erscheint nur zwischen den Schritten einer zweistufigen Kalibrierung (--simulate cal_steps=2)</translation>
    </message>
    <message>
        <source>the calibration failed: %1</source>
        <translation>die Kalibrierung schlug fehl: %1</translation>
    </message>
    <message>
        <source>the calibration succeeded, so there is no error to show (make it fail with --simulate &quot;cal_fail=&lt;text&gt;&quot;)</source>
        <translation>die Kalibrierung gelang, es gibt also keinen Fehler zu zeigen (mit --simulate &quot;cal_fail=&lt;text&gt;&quot; schlägt sie fehl)</translation>
    </message>
</context>
<context>
    <name>ScreenshotTaker</name>
    <message>
        <source>&quot;%1&quot; closed before the picture</source>
        <translation>&quot;%1&quot; schloss sich vor dem Bild</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Saved %1 (%2x%3)</source>
        <translation>%1 gespeichert (%2x%3)</translation>
    </message>
    <message>
        <source>Screenshot failed: %1</source>
        <translation>Bildschirmfoto fehlgeschlagen: %1</translation>
    </message>
</context>
<context>
    <name>SessionRecorder</name>
    <message>
        <source>Recording to %1 begins when the controller answers</source>
        <translation>Die Aufnahme nach %1 beginnt, sobald der Controller antwortet</translation>
    </message>
    <message>
        <source>Recording to %1</source>
        <translation>Aufnahme nach %1</translation>
    </message>
    <message>
        <source>Recording to %1 not begun: stopped before the controller answered</source>
        <translation>Aufnahme nach %1 nicht begonnen: beendet, bevor der Controller antwortete</translation>
    </message>
    <message>
        <source>Recording ended after %1 s: %2 lines in %3</source>
        <translation>Aufnahme nach %1 s beendet: %2 Zeilen in %3</translation>
    </message>
    <message>
        <source> (%1 lines dropped: the disk did not keep up)</source>
        <translation> (%1 Zeilen verworfen: der Datenträger kam nicht nach)</translation>
    </message>
    <message>
        <source>Recording stopped: cannot write %1: %2. The file holds the records up to the last whole one.</source>
        <translation>Aufnahme beendet: %1 kann nicht geschrieben werden: %2. Die Datei enthält die Einträge bis zum letzten vollständigen.</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Using the embedded simulated controller</source>
        <translation>Eingebetteter simulierter Controller wird verwendet</translation>
    </message>
    <message>
        <source>Ending on signal %1, as when the window closes</source>
        <translation>Beendet durch Signal %1, wie beim Schließen des Fensters</translation>
    </message>
    <message>
        <source>Receiving data output on UDP port %1</source>
        <translation>Datenausgabe wird auf UDP-Port %1 empfangen</translation>
    </message>
    <message>
        <source>Cannot receive data output on UDP port %1: %2</source>
        <translation>Datenausgabe auf UDP-Port %1 kann nicht empfangen werden: %2</translation>
    </message>
    <message>
        <source>Simulation setting &quot;%1&quot; refused: %2 %3</source>
        <translation>Simulationseinstellung &quot;%1&quot; abgelehnt: %2 %3</translation>
    </message>
    <message>
        <source>Cannot read the controller&apos;s versions: %1</source>
        <translation>Die Versionen des Controllers können nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Controller: %1, product version %2.%3.%4, backend version %5.%6.%7</source>
        <translation>Controller: %1, Produktversion %2.%3.%4, Backend-Version %5.%6.%7</translation>
    </message>
    <message>
        <source>Loaded %1 from %2</source>
        <translation>%1 aus %2 geladen</translation>
    </message>
    <message>
        <source>no module in %1</source>
        <translation>kein Modul in %1</translation>
    </message>
    <message>
        <source>the controller refuses the simulation setting &quot;%1&quot;: %2</source>
        <translation>der Controller lehnt die Simulationseinstellung &quot;%1&quot; ab: %2</translation>
    </message>
    <message>
        <source>Showing %1, as --show asks</source>
        <translation>%1 wird angezeigt, wie mit --show verlangt</translation>
    </message>
    <message>
        <source>Cannot show %1: %2</source>
        <translation>%1 kann nicht angezeigt werden: %2</translation>
    </message>
    <message>
        <source>no display (DISPLAY is not set). Run it in a desktop session, under xvfb-run, or with QT_QPA_PLATFORM=offscreen and --screenshot FILE.</source>
        <translation>keine Anzeige (DISPLAY ist nicht gesetzt). In einer Desktop-Sitzung, unter xvfb-run oder mit QT_QPA_PLATFORM=offscreen und --screenshot DATEI starten.</translation>
    </message>
    <message>
        <source>--speed and --loop go with --replay</source>
        <translation>--speed und --loop gehören zu --replay</translation>
    </message>
    <message>
        <source>--replay plays in the embedded simulated controller; for --controller start orvel-controller-sim --replay</source>
        <translation>--replay spielt im eingebetteten simulierten Controller ab; für --controller orvel-controller-sim --replay starten</translation>
    </message>
    <message>
        <source>Replay: the recording ended after %1 data lines; the data stops</source>
        <translation>Wiedergabe: die Aufzeichnung endete nach %1 Datenzeilen; die Daten hören auf</translation>
    </message>
    <message>
        <source>Replay: the recording ended; it starts over, and so at every end</source>
        <translation>Wiedergabe: die Aufzeichnung endete; sie beginnt von vorn, und so an jedem Ende</translation>
    </message>
    <message>
        <source>Replay: a new measurement plays the recording from its beginning</source>
        <translation>Wiedergabe: eine neue Messung spielt die Aufzeichnung von Anfang an ab</translation>
    </message>
    <message>
        <source>Replay stopped: %1</source>
        <translation>Wiedergabe abgebrochen: %1</translation>
    </message>
    <message>
        <source>Replaying the raw capture %1: %2 data lines, a frame at a time at --rate, at speed %L3</source>
        <translation>Rohmitschnitt %1 wird abgespielt: %2 Datenzeilen, Frame für Frame mit --rate, mit Geschwindigkeit %L3</translation>
    </message>
    <message>
        <source>Replaying %1: %2 data lines, at speed %L3</source>
        <translation>%1 wird abgespielt: %2 Datenzeilen, mit Geschwindigkeit %L3</translation>
    </message>
    <message>
        <source>%1:%2: the last line is cut off; it is skipped</source>
        <translation>%1:%2: die letzte Zeile ist abgeschnitten; sie wird übersprungen</translation>
    </message>
    <message>
        <source>The replay starts over at its end (--loop)</source>
        <translation>Die Wiedergabe beginnt an ihrem Ende von vorn (--loop)</translation>
    </message>
    <message>
        <source>The simulated controller refuses the recording&apos;s %1</source>
        <translation>Der simulierte Controller lehnt aus der Aufzeichnung ab: %1</translation>
    </message>
</context>
<context>
    <name>StreamingMenu</name>
    <message>
        <source>The OpenIGTLink server for navigation software (--igtl-port, see the README)</source>
        <translation>Der OpenIGTLink-Server für Navigationssoftware (--igtl-port, siehe README)</translation>
    </message>
    <message>
        <source>&amp;Streaming</source>
        <translation>&amp;Streaming</translation>
    </message>
</context>
<context>
    <name>StreamingOptions</name>
    <message>
        <source>Serve the tools&apos; poses over OpenIGTLink on this TCP port of the loopback interface, %1 by convention (default 0: no server).</source>
        <translation>Die Posen der Werkzeuge über OpenIGTLink auf diesem TCP-Port der Loopback-Schnittstelle anbieten, üblich ist %1 (Standard 0: kein Server).</translation>
    </message>
    <message>
        <source>Serve OpenIGTLink on this address and port instead, e.g. 0.0.0.0:%1 for every interface (default: none).</source>
        <translation>OpenIGTLink stattdessen auf dieser Adresse und diesem Port anbieten, z. B. 0.0.0.0:%1 für alle Schnittstellen (Standard: keine).</translation>
    </message>
    <message>
        <source>Most poses per second sent to one OpenIGTLink client (default 0: every data line).</source>
        <translation>Höchstens so viele Posen pro Sekunde an einen OpenIGTLink-Client (Standard 0: jede Datenzeile).</translation>
    </message>
    <message>
        <source>--igtl-port wants a port number</source>
        <translation>--igtl-port erwartet eine Portnummer</translation>
    </message>
    <message>
        <source>--igtl-listen wants an address of this machine and a port, not &quot;%1&quot;</source>
        <translation>--igtl-listen erwartet eine Adresse dieses Rechners und einen Port, nicht &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--igtl-max-rate wants poses per second, 0 to %1</source>
        <translation>--igtl-max-rate erwartet Posen pro Sekunde, 0 bis %1</translation>
    </message>
</context>
<context>
    <name>StreamingService</name>
    <message>
        <source>OpenIGTLink: cannot listen on %1: %2</source>
        <translation>OpenIGTLink: kann nicht auf %1 lauschen: %2</translation>
    </message>
    <message>
        <source>OpenIGTLink: at most %1 poses per second to each client</source>
        <translation>OpenIGTLink: höchstens %1 Posen pro Sekunde an jeden Client</translation>
    </message>
    <message>
        <source>OpenIGTLink: off</source>
        <translation>OpenIGTLink: aus</translation>
    </message>
    <message>
        <source>OpenIGTLink: %1, 1 client</source>
        <translation>OpenIGTLink: %1, 1 Client</translation>
    </message>
    <message>
        <source>OpenIGTLink: %1, %2 clients</source>
        <translation>OpenIGTLink: %1, %2 Clients</translation>
    </message>
    <message>
        <source>OpenIGTLink: the controller offers no measurement tools; nothing is streamed</source>
        <translation>OpenIGTLink: der Controller bietet keine Messwerkzeuge an; nichts wird gesendet</translation>
    </message>
    <message>
        <source>OpenIGTLink: cannot switch the measurement tool outputs on: %1</source>
        <translation>OpenIGTLink: die Ausgaben der Messwerkzeuge lassen sich nicht einschalten: %1</translation>
    </message>
</context>
<context>
    <name>TcpTransport</name>
    <message>
        <source>the controller closed the connection</source>
        <translation>der Controller hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>UDP port %1 of this computer (--data-port)</source>
        <translation>UDP-Port %1 dieses Computers (--data-port)</translation>
    </message>
    <message>
        <source>UDP port %1 of this computer, which could not be opened (--data-port)</source>
        <translation>UDP-Port %1 dieses Computers, der sich nicht öffnen ließ (--data-port)</translation>
    </message>
</context>
<context>
    <name>UiLanguage</name>
    <message>
        <source>Qt&apos;s German translation %1 is missing in %2</source>
        <translation>Qts deutsche Übersetzung %1 fehlt in %2</translation>
    </message>
    <message>
        <source>The German translation %1 is missing</source>
        <translation>Die deutsche Übersetzung %1 fehlt</translation>
    </message>
</context>
</TS>
