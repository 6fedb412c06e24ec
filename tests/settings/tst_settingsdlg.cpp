#include <QtTest>
#include <QtWidgets>

#include "fakecommandmanager.h"
#include "modaldriver.h"
#include "pluginhost.h"
#include "settings/mtsettingsdlg.h"

namespace {

template <class T = QWidget>
T *w(QObject *parent, const char *name)
{
    if (T *found = parent->findChild<T *>(QLatin1String(name)))
        return found;
    qFatal("no child %s", name);
}

QStringList seq(const QString &script) // calls in short: "gi number_of_tools; s number_of_tools 3"
{
    static const QStringList shortNames{"gp", "gi", "gd", "gb", "s", "gk", "gc", "log"};
    static const QStringList meanings({"getParameter measurementtool ", "getIntParameter measurementtool ",
                                       "getDoubleParameter measurementtool ", "getBoolParameter measurementtool ",
                                       "setParameter measurementtool ", "getParameter kinwave ", "getParameter config ",
                                       "logMessage standard ORVEL3 1 Error: Unable to "});
    QStringList lines;
    for (const QString &call : script.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        lines << meanings.value(shortNames.indexOf(call.trimmed().section(' ', 0, 0))) + call.trimmed().section(' ', 1);
    return lines;
}

void answer(FakeCommandManager &f, const QString &script) // "text=reply; text=!result", "measurementtool " implied
{
    for (const QString &pair : script.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString text = pair.section('=', 0, 0).trimmed(), reply = pair.section('=', 1);
        f.answer((QRegularExpression("^(config|kinwave) ").match(text).hasMatch() ? "" : "measurementtool ")
                     + text.toLatin1(),
                 reply.startsWith('!') ? reply.mid(1).toInt() : 0, reply.startsWith('!') ? "" : reply.toLatin1());
    }
}

QString text(QDialog *d, const char *table) // cells joined by "|", rows by " / "
{
    const QTableWidget *t = w<QTableWidget>(d, table);
    QString all;
    for (int r = 0; r < t->rowCount(); ++r)
        for (int c = 0; c < t->columnCount(); ++c)
            all += (c ? "|" : r ? " / " : "") + t->model()->index(r, c).data().toString();
    return all;
}

void clickCell(QDialog *d, const char *table, int r, int c = 0)
{
    QTableWidget *t = w<QTableWidget>(d, table);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualRect(t->model()->index(r, c)).center());
}

QString parameters(QDialog *d) // the point measurement parameters and the output format switch, "!" if disabled
{
    QStringList shown;
    for (const char *name : {"doubleSpinBox_duration", "doubleSpinBox_tipTolerance", "checkBox_startSimulation",
                             "spinBox_startAngle", "doubleSpinBox_startLeadTime", "checkBox_useOldOutputFormat"})
        shown << w(d, name)->property(w(d, name)->inherits("QCheckBox") ? "checked" : "value").toString()
                + (w(d, name)->isEnabled() ? "" : "!");
    return shown.join(' ');
}

// Whether Select and Deselect are enabled, as "1 0".
QString buttons(QDialog *d)
{
    return QString("%1 %2").arg(w(d, "pushButton_select")->isEnabled()).arg(w(d, "pushButton_deselect")->isEnabled());
}

// The loaded plug-in, a main window and a controller: tool 1 on MR2 with a device, tool 2 bare.
struct Session
{
    explicit Session(int minor, int tools = 2, int refs = 3)
        : versions(PluginHost::versions("ORVEL 3", 3, 0, 0, 1, minor, 0))
    {
        answer(fake, QStringLiteral("number_of_tools=%1; number_of_references=%2").arg(tools).arg(refs));
        answer(fake,
               "config is_changeable=yes; available=yes; max_number_of_tools=4; max_number_of_references=4;"
               "reference_of_tool b01=b02; reference_of_tool b02=3x; reference_of_tool b03=b04;"
               "device b01=kinwave acme probe 7; device b02=none; device b03=none; tip_radius b01=1.234;"
               "tip_radius b02=0.5; output_6dmt=no; kinwave device_model_desc acme probe=\"Probe Mk II\";"
               "kinwave device_model_desc zeta wand=Wand; number_of_kinwave_devices=2;"
               "kinwave_device d01=zeta wand 123456; kinwave_device d02=acme probe 7");
        for (int i = 0; i <= 4; ++i)
            answer(fake,
                   QStringLiteral("measurement_duration b0%1=2.5; measurement_tip_tolerance b0%1=0.8;"
                                  "measurement_start_simulation b0%1=yes; measurement_start_angle b0%1=44;"
                                  "measurement_start_lead_time b0%1=0.5; number_of_tools %1=; number_of_references %1=")
                       .arg(i));
        if (host.load())
            host.configure(&fake, &mainWindow, &versions);
        if (host.module() && !host.module()->menuEntries().isEmpty())
            dialog = mainWindow.findChild<QDialog *>(QStringLiteral("MtSettingsDlgClass"));
    }

    // act runs on the modal dialog (closed after, as the close button does, if left open); true if exec gave 0.
    bool open(const std::function<void(QDialog *)> &act)
    {
        ModalDriver driver("MtSettingsDlg", [&](QWidget *) {
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        fake.calls.clear();
        int result = -1;
        return dialog && QMetaObject::invokeMethod(dialog, "update_and_exec", Q_RETURN_ARG(int, result))
            && driver.acted() && !driver.timedOut() && result == 0;
    }
    QStringList during(const std::function<void()> &action) // what it sent, not counting the device list refreshes
    {
        const int from = fake.calls.size();
        action();
        return fake.calls.mid(from).filter(QRegularExpression("^(?!.*(kinwave_dev|model_desc))"));
    }
    QStringList ok()
    {
        return during([this] { w<QPushButton>(dialog, "pushButton_ok")->click(); });
    }

    FakeCommandManager fake;
    QMainWindow mainWindow;
    BackendVersions versions;
    PluginHost host;
    QDialog *dialog = nullptr;
};

} // namespace

class TestSettingsDlg : public QObject
{
    Q_OBJECT

private slots:
    void loadTraffic_data()
    {
        QTest::addColumn<int>("minor");
        QTest::newRow("backend 1.12, before tip radii") << 12;
        QTest::newRow("backend 1.13, before devices") << 13;
        QTest::newRow("backend 1.14") << 14;
    }

    void loadTraffic()
    {
        QFETCH(int, minor);
        QStringList expected
            = seq("gc is_changeable; gp available; gi max_number_of_tools; gi number_of_tools;"
                  "gi max_number_of_references; gi number_of_references; gp reference_of_tool b01;"
                  "gp device b01; gk device_model_desc acme probe; gp reference_of_tool b02; gp device b02;"
                  "gd tip_radius b01; gd tip_radius b02; gd measurement_duration b01;"
                  "gd measurement_tip_tolerance b01; gp measurement_start_simulation b01;"
                  "gd measurement_start_angle b01; gd measurement_start_lead_time b01; gp output_6dmt;"
                  "gi number_of_kinwave_devices; gp kinwave_device d01; gk device_model_desc zeta wand;"
                  "gp kinwave_device d02; gk device_model_desc acme probe");
        // No calls for the features of a later backend: devices from 1.14, the format and tip radii from 1.13.
        if (minor < 14)
            expected = expected.filter(QRegularExpression("^(?!.*(device|kinwave))"));
        if (minor < 13)
            expected = expected.filter(QRegularExpression("^(?!.*(tip_radius|output))"));
        Session s(minor);
        QVERIFY(s.open([&](QDialog *d) {
            QCOMPARE(s.fake.calls, expected);
            QCOMPARE(text(d, "tableWidget_meaBodies"),
                     QString(minor >= 14       ? "M1|2.5|MR2|Probe Mk II|00007 / M2|1.0|none||"
                                 : minor >= 13 ? "M1|2.5|MR2|| / M2|1.0|none||"
                                               : "M1|0.0|MR2|| / M2|0.0|none||"));
            QCOMPARE(parameters(d), QString(minor >= 13 ? "2.5 0.8 true 44 0.5 false" : "2.5 0.8 true 44 0.5 true!"));
            const int sent = minor >= 14 ? 6 : minor >= 13 ? 4 : 0;
            QCOMPARE(s.ok().filter(QRegularExpression("Parameter .*(device|output_6dmt|tip_radius)")).size(), sent);
        }));
    }

    void availabilityAndLock_data()
    {
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("answers");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("isAvailable");
        QTest::newRow("locked from backend 1.9") << 9 << "config is_changeable=no" << true << true;
        QTest::newRow("backend 1.8 never locks") << 8 << "config is_changeable=no" << false << true;
        QTest::newRow("both queries failed") << 14 << "config is_changeable=!3; available=!3" << false << false;
    }

    void availabilityAndLock()
    {
        QFETCH(int, minor);
        QFETCH(QString, answers);
        QFETCH(bool, locked);
        QFETCH(bool, isAvailable);
        Session s(minor);
        s.mainWindow.setWindowIcon(QIcon(QPixmap(16, 16)));
        answer(s.fake, answers);
        QVERIFY(s.open([&](QDialog *d) {
            QCOMPARE(d->windowIcon().cacheKey() == s.mainWindow.windowIcon().cacheKey(), !locked);
            QCOMPARE(w(d, "label_error")->isVisibleTo(d) ? w<QLabel>(d, "label_error")->text() : QString(),
                     isAvailable ? QString() : "<b><font color=red>Measurement Tool is not available!</font></b>");
            for (const char *name :
                 {"pushButton_ok", "spinBox_noOfMeaBodies", "spinBox_noOfRefBodies", "pushButton_select",
                  "tableWidget_meaBodies", "tableWidget_refBodies", "doubleSpinBox_duration"})
                QVERIFY2(w(d, name)->isEnabled() == (isAvailable && !locked), name);
            QCOMPARE(w<QTimer>(d, "timerDevices")->isActive(), isAvailable);
            QCOMPARE(text(d, "tableWidget_meaBodies").isEmpty(), !isAvailable); // locked: shown read-only
        }));
        QCOMPARE(s.fake.calls.mid(0, isAvailable ? 1 + int(minor >= 9) : -1), // not available: nothing after that
                 seq(QString(minor >= 9 ? "gc is_changeable;" : "") + "gp available"));
    }

    // With no tools the readers ask nothing and OK compares only the counts and the output format. The limit
    // message reaches its label (its texts: tst_settingsparts).
    void limitsAndNoTools()
    {
        Session s(14, 0, 0);
        answer(s.fake, "max_number_of_tools=0; max_number_of_references=3");
        QVERIFY(s.open([&](QDialog *d) {
            QCOMPARE(w<QLabel>(d, "label_max_error")->text(),
                     QStringLiteral("<b><font color=red>Max. number of bodies is reached!</font></b>"));
            QCOMPARE(parameters(d) + s.fake.calls.filter("measurement_").join(""), "1! 1.5! false! 30! 0.2! false!");
            QCOMPARE(s.ok(), seq("gi number_of_tools; gi number_of_references; gb output_6dmt"));
        }));
    }

    void countChanges()
    {
        Session s(14);
        answer(s.fake, "number_of_tools 4=!7");
        QVERIFY(s.open([&](QDialog *d) {
            QSpinBox *tools = w<QSpinBox>(d, "spinBox_noOfMeaBodies"), *refs = w<QSpinBox>(d, "spinBox_noOfRefBodies");
            QCOMPARE(s.during([&] { tools->setValue(3); }),
                     seq("s number_of_tools 3; gi max_number_of_references; gp reference_of_tool b03; gp device b03"));
            QCOMPARE(text(d, "tableWidget_meaBodies").section(" / ", 2), "M3|0.0|none||"); // b04 is beyond 3 references
            w<QDoubleSpinBox>(d, "doubleSpinBox_duration")->setValue(3.0); // held in the dialog until OK
            tools->setValue(2);
            QCOMPARE(parameters(d), QStringLiteral("3 0.8 true 44 0.5 false"));
            tools->setValue(0);
            QCOMPARE(s.during([&] { tools->setValue(1); }), // read again
                     seq("s number_of_tools 1; gi max_number_of_references; gd measurement_duration b01;"
                         "gd measurement_tip_tolerance b01; gp measurement_start_simulation b01;"
                         "gd measurement_start_angle b01; gd measurement_start_lead_time b01"));
            QCOMPARE(text(d, "tableWidget_meaBodies") + " " + parameters(d), // the tool kept its reference and device
                     QStringLiteral("M1|2.5|MR2|Probe Mk II|00007 2.5 0.8 true 44 0.5 false"));
            tools->setValue(4); // refused: nothing changes
            QCOMPARE(s.fake.logMessages().last(), seq("log set number of mea tools = 4")[0]);
            w<QTableWidget>(d, "tableWidget_meaBodies")->item(0, 1)->setText("4.0"); // typed: survives the rebuild
            refs->setValue(1);
            QCOMPARE(text(d, "tableWidget_meaBodies") + " " + text(d, "tableWidget_refBodies"),
                     QStringLiteral("M1|4.0|none|Probe Mk II|00007 MR1"));
            QCOMPARE(s.during([&] { refs->setValue(3); }), seq("s number_of_references 3; gi max_number_of_tools"));
            QVERIFY(text(d, "tableWidget_meaBodies").contains("|MR2|")); // the chosen reference, without asking
        }));
    }

    // Only a click, or Space standing for one, changes the remembered rows and the buttons (and so a page change):
    // neither the cursor moved by the keys nor the device list's refresh every second does.
    void picksOnly()
    {
        Session s(14);
        // Between two refreshes of the device list a device turns up that sorts before the others.
        s.fake.queue("measurementtool number_of_kinwave_devices", {{0, "2"}, {0, "3"}});
        answer(s.fake, "kinwave_device d03=aaa first 1; kinwave device_model_desc aaa first=First");
        QVERIFY(s.open([&](QDialog *d) {
            QTableWidget *tools = w<QTableWidget>(d, "tableWidget_meaBodies"),
                         *refs = w<QTableWidget>(d, "tableWidget_refBodies");
            clickCell(d, "tableWidget_meaBodies", 0);
            clickCell(d, "tableWidget_refBodies", 1);
            QCOMPARE(buttons(d), QStringLiteral("0 1")); // M1 is on MR2 already
            QTest::keyClick(tools, Qt::Key_Down);
            QTest::keyClick(refs, Qt::Key_Down);
            QCOMPARE(QString("%1 %2 ").arg(tools->currentRow()).arg(refs->currentRow()) + buttons(d),
                     QStringLiteral("1 2 0 1"));
            QTest::keyClick(tools, Qt::Key_Space); // picks M2, which has no reference
            QCOMPARE(buttons(d), QStringLiteral("1 0"));
            w<QPushButton>(d, "pushButton_select")->click();
            QCOMPARE(text(d, "tableWidget_meaBodies"), QStringLiteral("M1|2.5|MR2|Probe Mk II|00007 / M2|1.0|MR3||"));
            QCOMPARE(buttons(d), QStringLiteral("0 1"));
            // The devices' page (M2 has no device to deselect), then M2 and a device picked.
            w<QTabWidget>(d, "tabWidget")->setCurrentIndex(1);
            QCOMPARE(buttons(d), QStringLiteral("0 0"));
            clickCell(d, "tableWidget_meaBodies", 1);
            clickCell(d, "tableWidget_availableMt", 1, 3);
            QCOMPARE(text(d, "tableWidget_availableMt").section(" / ", 1),
                     QStringLiteral("zetawand12345|zeta|wand|Wand|12345"));
            QCOMPARE(buttons(d), QStringLiteral("1 0")); // nobody's device for a tool without one
            const QString refresh = seq("gi number_of_kinwave_devices")[0];
            const int refreshes = s.fake.calls.count(refresh);
            QTRY_VERIFY_WITH_TIMEOUT(s.fake.calls.count(refresh) >= refreshes + 2, 5000);
            // The row now holds the first tool's device; the buttons wait for the operator.
            QCOMPARE(text(d, "tableWidget_availableMt").section(" / ", 1, 1),
                     QStringLiteral("acmeprobe00007|acme|probe|Probe Mk II|00007"));
            QCOMPARE(w<QTableWidget>(d, "tableWidget_availableMt")->currentRow(), 1);
            QCOMPARE(buttons(d), QStringLiteral("1 0"));
        }));
    }

    // The dialog's slots in the order of its meta-object, the first public.
    void classAndForm()
    {
        Session s(14);
        QVERIFY(s.dialog && s.dialog->qt_metacast("Requester"));
        const QMetaObject *meta = s.dialog->metaObject();
        QStringList methods; // "not a slot: " for a method that is none
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            methods << QStringList{"private", "protected", "public"}.value(method.access())
                    + (method.methodType() == QMetaMethod::Slot ? " " : " not a slot: ") + method.typeName() + ' '
                    + method.methodSignature();
        }
        QStringList expected{"public int update_and_exec()"};
        for (const char *slot :
             {"on_tableWidget_refBodies_cellClicked(int,int)", "on_tableWidget_availableMt_cellClicked(int,int)",
              "on_tableWidget_meaBodies_cellClicked(int,int)", "on_tabWidget_currentChanged(int)",
              "on_pushButton_deselect_clicked()", "on_pushButton_select_clicked()",
              "on_doubleSpinBox_startLeadTime_valueChanged(double)", "on_spinBox_startAngle_valueChanged(int)",
              "on_doubleSpinBox_tipTolerance_valueChanged(double)", "on_doubleSpinBox_duration_valueChanged(double)",
              "on_spinBox_noOfRefBodies_valueChanged(int)", "on_spinBox_noOfMeaBodies_valueChanged(int)",
              "on_checkBox_startSimulation_stateChanged(int)", "on_pushButton_ok_clicked()",
              "on_pushButton_cancel_clicked()", "updateTableDevices()", "reject()", "keyPressEvent(QKeyEvent*)",
              "resizeEvent(QResizeEvent*)"})
            expected << QStringLiteral("private void ") + slot;
        QCOMPARE(methods, expected);
    }

    void okOrderAndDifferences()
    {
        { // box unchecked, the controller's format unreadable at OK (counts as the old one): switched off
            Session s(13);
            s.fake.queue("measurementtool output_6dmt", {{0, "no"}, {FakeCommandManager::DefaultFailure, ""}});
            answer(s.fake, "output_6dmt no=!6");
            QVERIFY(s.open([&](QDialog *) {
                QCOMPARE(s.ok().filter("output"),
                         seq("gb output_6dmt; s output_6dmt no; log (un)set to old output format"));
            }));
        }
        Session s(14);
        answer(s.fake,
               "measurement_duration b02=2.5004; measurement_start_simulation b02=Yes;"
               "measurement_start_angle b01=44.9; measurement_start_lead_time b02=0.50001");
        QVERIFY(s.open([&](QDialog *d) {
            w<QCheckBox>(d, "checkBox_useOldOutputFormat")->setChecked(true);
            w<QTableWidget>(d, "tableWidget_meaBodies")->item(1, 1)->setText("0.0"); // tool 2's diameter, was 1.0
            s.fake.setDefaultResult(0);                                              // every command succeeds but one
            answer(s.fake, "measurement_duration b02 2.500=!9");
            // What OK sends, in order: only what differs from the controller's values, read first.
            QCOMPARE(
                s.ok(),
                seq("gi number_of_tools; gi number_of_references; s reference_of_tool b01 b02; s reference_of_tool b02 "
                    "none; s device b01 kinwave acme probe 00007; s device b02 none; gd measurement_duration b01;"
                    "gd measurement_duration b02; s measurement_duration b02 2.500; log set mea duration for body b02;"
                    "gd measurement_tip_tolerance b01; gd measurement_tip_tolerance b02;"
                    "gp measurement_start_simulation b01; gp measurement_start_simulation b02;"
                    "s measurement_start_simulation b02 yes; gd measurement_start_angle b01;"
                    "s measurement_start_angle b01 44.000; gd measurement_start_angle b02;"
                    "gd measurement_start_lead_time b01; gd measurement_start_lead_time b02;"
                    "s measurement_start_lead_time b02 0.500; gb output_6dmt; s output_6dmt yes; gd tip_radius b01;"
                    "s tip_radius b01 1.250; gd tip_radius b02; s tip_radius b02 0.000"));
            QVERIFY(!w<QTimer>(d, "timerDevices")->isActive()); // OK stops the device list's refresh
        }));
    }

    // Cancel or Escape restores the counts, the smaller first; a refused restore is logged and the other still sent.
    void cancelRestoresCounts()
    {
        for (const bool escape : {false, true}) {
            Session s(14, escape ? 3 : 2, escape ? 1 : 2);
            QVERIFY(s.open([&](QDialog *d) {
                if (escape) // both restores refused
                    answer(s.fake, "number_of_references 1=!6; number_of_tools 3=!6");
                w<QSpinBox>(d, "spinBox_noOfMeaBodies")->setValue(escape ? 1 : 3);
                w<QSpinBox>(d, "spinBox_noOfRefBodies")->setValue(escape ? 3 : 1);
                QWidget *target = escape ? d : w(d, "pushButton_cancel"); // Escape on the dialog, or Space on Cancel
                QCOMPARE(s.during([&] { QTest::keyClick(target, escape ? Qt::Key_Escape : Qt::Key_Space); }),
                         seq(escape ? "s number_of_references 1; log set number of references = 1; s number_of_tools 3;"
                                      "log set number of mea tools = 3"
                                    : "s number_of_tools 2; s number_of_references 2"));
                QVERIFY(!d->isVisible() && !w<QTimer>(d, "timerDevices")->isActive());
            }));
        }
    }
};

QTEST_MAIN(TestSettingsDlg)
#include "tst_settingsdlg.moc"
