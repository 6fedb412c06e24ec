<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>CalibrationProgressDialog</name>
    <message>
        <source>Calibration Progress</source>
        <translation>Kalibrierfortschritt</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>all</source>
        <translation>gesamt</translation>
    </message>
    <message>
        <source>step</source>
        <translation>Schritt</translation>
    </message>
    <message>
        <source>remaining time: </source>
        <translation>Restzeit: </translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CalibrationProgressDlg</name>
    <message>
        <source> is a %1 step calibration.</source>
        <translation> ist eine Kalibrierung in %1 Schritten.</translation>
    </message>
    <message>
        <source>cannot start calibration, waiting for sync signal</source>
        <translation>Kalibrierung kann nicht gestartet werden, warte auf Synchronisationssignal</translation>
    </message>
    <message>
        <source>remaining time: %1 seconds</source>
        <translation>Restzeit: %1 s</translation>
    </message>
    <message>
        <source>calculating...</source>
        <translation>Berechnung läuft...</translation>
    </message>
    <message>
        <source>Calibration Error</source>
        <translation>Kalibrierfehler</translation>
    </message>
</context>
<context>
    <name>CountdownDialog</name>
    <message>
        <source>Waiting</source>
        <translation>Warten</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>TextLabel</translation>
    </message>
    <message>
        <source>Start now</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>MeasurementToolModule</name>
    <message>
        <source>GUI Measurement Tool</source>
        <translation>GUI Messwerkzeug</translation>
    </message>
    <message>
        <source>&amp;Measurement Tool</source>
        <translation>&amp;Messwerkzeug</translation>
    </message>
    <message>
        <source>Open the Measurement Tool settings dialog</source>
        <translation>Öffnet die Einstellungen der Messwerkzeuge</translation>
    </message>
    <message>
        <source>Change the Measurement Tool settings</source>
        <translation>Einstellungen der Messwerkzeuge ändern</translation>
    </message>
    <message>
        <source>&amp;Tracking</source>
        <translation>&amp;Tracking</translation>
    </message>
    <message>
        <source>Measurement &amp;Tool tip calibration</source>
        <translation>Messwerkzeug-Spitzen&amp;kalibrierung</translation>
    </message>
    <message>
        <source>Open the Measurement Tool tip calibration</source>
        <translation>Öffnet die Spitzenkalibrierung des Messwerkzeugs</translation>
    </message>
    <message>
        <source>Perform Measurement Tool tip calibration</source>
        <translation>Spitzenkalibrierung des Messwerkzeugs durchführen</translation>
    </message>
    <message>
        <source>Measurement Tool Display</source>
        <translation>Messwerkzeug-Anzeige</translation>
    </message>
    <message>
        <source>Show the Measurement Tool tracking data</source>
        <translation>Zeigt die Tracking-Daten der Messwerkzeuge</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
</context>
<context>
    <name>MtCalibrationDlg</name>
    <message>
        <source>as shown in the picture with &lt;b&gt;fixed tip!&lt;/b&gt;</source>
        <translation>wie im Bild gezeigt, mit &lt;b&gt;feststehender Spitze!&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Error: Calibration mea tool</source>
        <translation>Fehler: Kalibrierung des Messwerkzeugs</translation>
    </message>
    <message>
        <source>Measurement Tool Calibration</source>
        <translation>Messwerkzeug-Kalibrierung</translation>
    </message>
    <message>
        <source>Measurement Tool calibration is not available</source>
        <translation>Die Kalibrierung des Messwerkzeugs ist nicht verfügbar</translation>
    </message>
    <message>
        <source>Measurement Tool calibration started</source>
        <translation>Kalibrierung des Messwerkzeugs gestartet</translation>
    </message>
    <message>
        <source>Measurement Tool calibration finished</source>
        <translation>Kalibrierung des Messwerkzeugs beendet</translation>
    </message>
    <message>
        <source>Measurement Tool calibration aborted</source>
        <translation>Kalibrierung des Messwerkzeugs abgebrochen</translation>
    </message>
    <message>
        <source>Error: Unable to get number of mea tools</source>
        <translation>Fehler: Anzahl der Messwerkzeuge kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get calibration info for Measurement Tool</source>
        <translation>Fehler: Kalibrierinformation des Messwerkzeugs kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get info calibration for Measurement Tool is available</source>
        <translation>Fehler: Kann nicht abfragen, ob die Kalibrierung des Messwerkzeugs verfügbar ist</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;Calibration Measurement Tool is not available!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Kalibrierung des Messwerkzeugs ist nicht verfügbar!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;Tracking is not available!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Tracking ist nicht verfügbar!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;No Measurement Tool is defined!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Kein Messwerkzeug definiert!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;No Measurement Tool is calibrated!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Kein Messwerkzeug kalibriert!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;Measurement Tool is not available!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Messwerkzeug ist nicht verfügbar!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
</context>
<context>
    <name>MtCalibrationDlgClass</name>
    <message>
        <source>Measurement Tool Tip Calibration</source>
        <translation>Messwerkzeug-Spitzenkalibrierung</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;During the calibration process the Measurement Tool must be seesawed without moving the tool tip&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Während der Kalibrierung muss das Messwerkzeug geschwenkt werden, ohne die Werkzeugspitze zu bewegen&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>for the tool tip calibration follow these steps:</source>
        <translation>Für die Kalibrierung der Werkzeugspitze diese Schritte ausführen:</translation>
    </message>
    <message>
        <source>1. start the calibration process</source>
        <translation>1. Kalibrierung starten</translation>
    </message>
    <message>
        <source>2. during the calibration move the Measurement Tool</source>
        <translation>2. Während der Kalibrierung das Messwerkzeug bewegen,</translation>
    </message>
    <message>
        <source>as shown in the picture with fixed tip!</source>
        <translation>wie im Bild gezeigt, mit feststehender Spitze!</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Start the calibration process</source>
        <translation>Startet die Kalibrierung</translation>
    </message>
    <message>
        <source>&amp;Calibrate</source>
        <translation>&amp;Kalibrieren</translation>
    </message>
    <message>
        <source>Close the dialog</source>
        <translation>Schließt den Dialog</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>MtDataDisplay</name>
    <message>
        <source>tracked</source>
        <translation>erfasst</translation>
    </message>
    <message>
        <source>not tracked</source>
        <translation>nicht erfasst</translation>
    </message>
    <message>
        <source>pressed</source>
        <translation>gedrückt</translation>
    </message>
    <message>
        <source>not pressed</source>
        <translation>nicht gedrückt</translation>
    </message>
    <message>
        <source>not calibrated</source>
        <translation>nicht kalibriert</translation>
    </message>
</context>
<context>
    <name>MtDataDisplayClass</name>
    <message>
        <source>MtDataDisplay</source>
        <translation>Messwerkzeug-Daten</translation>
    </message>
    <message>
        <source>This is a list of all &apos;Measurement Tools&apos; and their current tracking status</source>
        <translation>Dies ist eine Liste aller &apos;Messwerkzeuge&apos; und ihres aktuellen Tracking-Status</translation>
    </message>
</context>
<context>
    <name>MtHelpDlgClass</name>
    <message>
        <source>Measurement Tool Tip Calibration Help</source>
        <translation>Hilfe zur Spitzenkalibrierung</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-size:8pt;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Result of the Measurement Tool Tip calibration:&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;The Measurement Tool Tip calibration changes the body&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;coordinate system according to the following rules:&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;1. The origin of the body coordinate system is moved&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;into the tip of the Measurement Tool.&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;2. The connection line between tip and the marker&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;with the biggest distance to it defines the z-axis.&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;The positive z-axis directs towards the tip.&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;3. The y-axis is defined by the perpendicular from the&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;marker with the smallest distance between&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;marker and tip to the z-axis.&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;4. The orientation of the x-axis results from the&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;definition of the right-hand rule.&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-size:8pt;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-weight:600;&quot;&gt;Ergebnis der Spitzenkalibrierung des Messwerkzeugs:&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Die Spitzenkalibrierung des Messwerkzeugs verändert das&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Körperkoordinatensystem nach folgenden Regeln:&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;1. Der Ursprung des Körperkoordinatensystems wird&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;in die Spitze des Messwerkzeugs verschoben.&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;2. Die Verbindungslinie zwischen der Spitze und dem Marker&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;mit dem größten Abstand zu ihr definiert die z-Achse.&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Die positive z-Achse zeigt zur Spitze.&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;3. Die y-Achse wird durch das Lot vom Marker mit dem&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;kleinsten Abstand zwischen Marker und Spitze&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;auf die z-Achse definiert.&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;4. Die Ausrichtung der x-Achse ergibt sich aus&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;der Rechte-Hand-Regel.&lt;/p&gt;
&lt;p style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Schließen</translation>
    </message>
</context>
<context>
    <name>MtResultDlg</name>
    <message>
        <source>Measurement Tool ID</source>
        <translation>Messwerkzeug-ID</translation>
    </message>
    <message>
        <source>Reference ID</source>
        <translation>Referenz-ID</translation>
    </message>
    <message>
        <source>Tool tip residual [mm]</source>
        <translation>Restfehler Spitze [mm]</translation>
    </message>
    <message>
        <source>Error: Unable to get tool id</source>
        <translation>Fehler: ID des Messwerkzeugs kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get reference body id</source>
        <translation>Fehler: ID des Referenzkörpers kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get tool tip residual</source>
        <translation>Fehler: Restfehler der Werkzeugspitze kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to accept calibration</source>
        <translation>Fehler: Kalibrierung kann nicht übernommen werden</translation>
    </message>
</context>
<context>
    <name>MtResultDlgClass</name>
    <message>
        <source>Measurement Tool Tip Calibration Result</source>
        <translation>Ergebnis der Spitzenkalibrierung</translation>
    </message>
    <message>
        <source>Shows the Measurement Tool tip calibration result</source>
        <translation>Zeigt das Ergebnis der Spitzenkalibrierung des Messwerkzeugs</translation>
    </message>
    <message>
        <source>Accept the calibration result</source>
        <translation>Kalibrierergebnis übernehmen</translation>
    </message>
    <message>
        <source>&amp;Accept</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>Discard the calibration result</source>
        <translation>Kalibrierergebnis verwerfen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>MtSettingsDlg</name>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;Measurement Tool is not available!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Messwerkzeug ist nicht verfügbar!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Error: Unable to get mea duration</source>
        <translation>Fehler: Messdauer kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get mea tip tolerance</source>
        <translation>Fehler: Toleranz der Spitze kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get state of measurement start simulation</source>
        <translation>Fehler: Zustand der Messstart-Simulation kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get mea angular speed</source>
        <translation>Fehler: Winkelgeschwindigkeit der Messung kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get mea start lead time</source>
        <translation>Fehler: Vorlaufzeit des Messstarts kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Tip diameter [mm]</source>
        <translation>Spitzendurchmesser [mm]</translation>
    </message>
    <message>
        <source>Reference ID</source>
        <translation>Referenz-ID</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Seriennr.</translation>
    </message>
    <message>
        <source>Error: Unable to set number of mea tools = %1</source>
        <translation>Fehler: Anzahl der Messwerkzeuge = %1 kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Error: Unable to set number of mea references = %1</source>
        <translation>Fehler: Anzahl der Messreferenzen = %1 kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;Max. number of Measurement Tools and references are reached!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Maximale Anzahl an Messwerkzeugen und Referenzkörpern erreicht!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;Max. number of bodies is reached!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Maximale Anzahl an Körpern erreicht!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;Max. number of Measurement Tools is reached!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Maximale Anzahl an Messwerkzeugen erreicht!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;&lt;font color=red&gt;Max. number of references is reached!&lt;/font&gt;&lt;/b&gt;</source>
        <translation>&lt;b&gt;&lt;font color=red&gt;Maximale Anzahl an Referenzkörpern erreicht!&lt;/font&gt;&lt;/b&gt;</translation>
    </message>
    <message>
        <source>SortColumn_Key</source>
        <translation>Sortierschlüssel</translation>
    </message>
    <message>
        <source>Vendor</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Model_intern</source>
        <translation>Modell (intern)</translation>
    </message>
    <message>
        <source>Error: Unable to get model description of vendor %1 model %2</source>
        <translation>Fehler: Modellbeschreibung für Hersteller %1, Modell %2 kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get device info of MeasurementTool d0%1</source>
        <translation>Fehler: Geräteinformation des Messwerkzeugs d0%1 kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to get number of Measurementtools</source>
        <translation>Fehler: Anzahl der Messwerkzeuge kann nicht abgefragt werden</translation>
    </message>
    <message>
        <source>Error: Unable to set tip radius of mea tool b0%1</source>
        <translation>Fehler: Spitzenradius des Messwerkzeugs b0%1 kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Error: Unable to set ref. body</source>
        <translation>Fehler: Referenzkörper kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Error: Unable to set radio device</source>
        <translation>Fehler: Funkgerät kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Error: Unable to activate start simulation for body b%1</source>
        <translation>Fehler: Startsimulation für Körper b%1 kann nicht aktiviert werden</translation>
    </message>
    <message>
        <source>Error: Unable to set to old output format</source>
        <translation>Fehler: Altes Ausgabeformat kann nicht eingestellt werden</translation>
    </message>
    <message>
        <source>Error: Unable to (un)set to old output format</source>
        <translation>Fehler: Altes Ausgabeformat kann nicht ein- oder ausgeschaltet werden</translation>
    </message>
    <message>
        <source>Error: Unable to set mea duration for body b%1</source>
        <translation>Fehler: Messdauer für Körper b%1 kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Error: Unable to set tip tolerance for body b%1</source>
        <translation>Fehler: Toleranz der Spitze für Körper b%1 kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Error: Unable to set mea angular speed for body b%1</source>
        <translation>Fehler: Winkelgeschwindigkeit der Messung für Körper b%1 kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Error: Unable to set mea. start lead time for body b%1</source>
        <translation>Fehler: Vorlaufzeit des Messstarts für Körper b%1 kann nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Error: Unable to set number of references = %1</source>
        <translation>Fehler: Anzahl der Referenzkörper = %1 kann nicht gesetzt werden</translation>
    </message>
</context>
<context>
    <name>MtSettingsDlgClass</name>
    <message>
        <source>Measurement Tool Settings</source>
        <translation>Messwerkzeug-Einstellungen</translation>
    </message>
    <message>
        <source>Measurement Tool settings</source>
        <translation>Einstellungen der Messwerkzeuge</translation>
    </message>
    <message>
        <source>Adjust the number of Measurement Tools</source>
        <translation>Anzahl der Messwerkzeuge einstellen</translation>
    </message>
    <message>
        <source>&amp;number of Measurement Tools</source>
        <translation>Anzahl &amp;Messwerkzeuge</translation>
    </message>
    <message>
        <source>Adjust the number of references</source>
        <translation>Anzahl der Referenzkörper einstellen</translation>
    </message>
    <message>
        <source>number of &amp;references</source>
        <translation>Anzahl &amp;Referenzkörper</translation>
    </message>
    <message>
        <source>Measurement Tools</source>
        <translation>Messwerkzeuge</translation>
    </message>
    <message>
        <source>Assignments between Measurement Tools and references</source>
        <translation>Zuordnungen zwischen Messwerkzeugen und Referenzkörpern</translation>
    </message>
    <message>
        <source>Set assignment between Measurement Tool and reference</source>
        <translation>Zuordnung zwischen Messwerkzeug und Referenzkörper herstellen</translation>
    </message>
    <message>
        <source>&lt;&lt; &amp;Select    </source>
        <translation>&lt;&lt; &amp;Zuordnen</translation>
    </message>
    <message>
        <source>Dissolve assignment between Measurement Tool and reference</source>
        <translation>Zuordnung zwischen Messwerkzeug und Referenzkörper aufheben</translation>
    </message>
    <message>
        <source>&gt;&gt; &amp;Deselect</source>
        <translation>&gt;&gt; Auf&amp;heben</translation>
    </message>
    <message>
        <source>available Buttons</source>
        <translation>verfügbare Tasten</translation>
    </message>
    <message>
        <source>Available references</source>
        <translation>Verfügbare Referenzkörper</translation>
    </message>
    <message>
        <source>reference bodies</source>
        <translation>Referenzkörper</translation>
    </message>
    <message>
        <source>radio devices</source>
        <translation>Funkgeräte</translation>
    </message>
    <message>
        <source>Control is checked:
Old output format 6dmt is activated.

Control is unchecked:
New output format 6dmt2 is activated.

See output settings.

</source>
        <translation>Option gesetzt:
Das alte Ausgabeformat 6dmt ist aktiv.

Option nicht gesetzt:
Das neue Ausgabeformat 6dmt2 ist aktiv.

Siehe Ausgabeeinstellungen.

</translation>
    </message>
    <message>
        <source>use &amp;old output format</source>
        <translation>&amp;Altes Ausgabeformat verwenden</translation>
    </message>
    <message>
        <source>point measurement</source>
        <translation>Punktmessung</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Measurement duration&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Valid rage: [0.2 ... 10.0 s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Default value: 1.0 s&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Messdauer&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Gültiger Bereich: [0.2 ... 10.0 s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Standardwert: 1.0 s&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>m&amp;easurement duration [s]</source>
        <translation>Mess&amp;dauer [s]</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Tolerance of the tool tip to be still considered as static&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Valid range: [0.1 ... 5.0 mm]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Default value: 1.5 mm&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Toleranz, innerhalb der die Werkzeugspitze noch als ruhend gilt&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Gültiger Bereich: [0.1 ... 5.0 mm]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Standardwert: 1.5 mm&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&amp;tool tip tolerance [mm]</source>
        <translation>Spitzen&amp;toleranz [mm]</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Tolerance that the tool tip is still considered as static&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Valid range: [0.1 ... 5.0 mm]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Default value: 1.5 mm&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Toleranz, innerhalb der die Werkzeugspitze noch als ruhend gilt&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Gültiger Bereich: [0.1 ... 5.0 mm]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Standardwert: 1.5 mm&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Activate start simulation&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Startsimulation aktivieren&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&amp;activate measurement start simulation</source>
        <translation>Messstart-&amp;Simulation aktivieren</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Minimal angular variation to start the measurement effected by seesawing of the Measurement Tool&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Valid range: [10 ... 120 degrees]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Default value: 40 degrees&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Minimale Winkeländerung durch Schwenken des Messwerkzeugs, mit der die Messung startet&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Gültiger Bereich: [10 ... 120 Grad]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Standardwert: 40 Grad&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>minimal angular &amp;variation [deg]</source>
        <translation>minimale &amp;Winkeländerung [Grad]</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Lead time before the measurement is started [s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Valid range: [0.2 ... 1.0s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Default value: 0.2s&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Vorlaufzeit, bevor die Messung startet [s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Gültiger Bereich: [0.2 ... 1.0 s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Standardwert: 0.2 s&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>maximum &amp;lead time for this angular variation [s]</source>
        <translation>maximale &amp;Vorlaufzeit für diese Winkeländerung [s]</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Lead time before the measurement is started [s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Valid range: [0.1 ... 1.0s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Default value: 0.2s&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS Shell Dlg 2&apos;; font-size:8.25pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Vorlaufzeit, bevor die Messung startet [s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Gültiger Bereich: [0.1 ... 1.0 s]&lt;/span&gt;&lt;/p&gt;
&lt;p style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;span style=&quot; font-size:8pt;&quot;&gt;Standardwert: 0.2 s&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Accept changes</source>
        <translation>Änderungen übernehmen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Discard changes and close dialog</source>
        <translation>Änderungen verwerfen und Dialog schließen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
</TS>
