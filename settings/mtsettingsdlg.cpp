#include "settings/mtsettingsdlg.h"

#include <QKeyEvent>
#include <QResizeEvent>
#include <QTableWidget>

#include "host/controllerfacts.h"
#include "host/iomanager.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"
#include "host/versiongate.h"
#include "settings/countlimits.h"
#include "settings/devicecolumnsfitter.h"
#include "settings/devicelisttable.h"
#include "settings/keyboardfocus.h"
#include "settings/referencestable.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"
#include "settings/toolassignments.h"
#include "settings/toolstable.h"
#include "ui_mtsettingsdlg.h"

namespace {

void setAllEnabled(std::initializer_list<QWidget *> widgets, bool enabled)
{
    for (QWidget *widget : widgets)
        widget->setEnabled(enabled);
}

} // namespace

MtSettingsDlg::MtSettingsDlg(IOManager *commandManager, QWidget *parent, BackendVersions *backendVersions)
    : QDialog(parent)
    , ui(new Ui::MtSettingsDlgClass)
    , pCommandManager(commandManager)
    , pBackendVersions(backendVersions)
    , pMainWindow(parent)
    , delegateTipDiameter(nullptr)
    , timerDevices(this)
{
    ui->setupUi(this);
    iconLock.addFile(QStringLiteral(":/lock.png"));

    enableStartSimulationParameters(false);

    setupMeaBodiesTable();
    ReferencesTable::setUp(ui->tableWidget_refBodies, ui->tab_refBodies);
    setupAvailableMtTable();

    // Without scroll buttons the page tabs' width counts in the size hint, so
    // the layout gives both titles their room instead of eliding them.
    ui->tabWidget->setUsesScrollButtons(false);
    KeyboardFocus::setUp(ui->tabWidget_mt,
                         {ui->tableWidget_meaBodies, ui->tableWidget_refBodies, ui->tableWidget_availableMt});

    timerDevices.setObjectName(QStringLiteral("timerDevices"));
    timerDevices.setInterval(DeviceRefreshMs);
    connect(&timerDevices, &QTimer::timeout, this, &MtSettingsDlg::updateTableDevices);
}

MtSettingsDlg::~MtSettingsDlg()
{
    // The delegate is a member and goes before the table (a child widget).
    ui->tableWidget_meaBodies->setItemDelegateForColumn(ToolsTable::TipDiameter, nullptr);
}

int MtSettingsDlg::update_and_exec()
{
    loadSettings();
    KeyboardFocus::focusFirstControl(this);
    return exec();
}

// ---------------------------------------------------------------------------
// Loading and enabling

SettingsReader MtSettingsDlg::reader() const
{
    return SettingsReader(pCommandManager, pBackendVersions);
}

// A controller limit, as the maximum of its spin box.
bool MtSettingsDlg::readMaximum(const char *parameter, int *maximum, QSpinBox *spinBox)
{
    if (!reader().readCount(parameter, MaxCount, maximum))
        return false;
    spinBox->setMaximum(*maximum);
    return true;
}

// A count as the load finds it: shown, and kept for Cancel to put back.
void MtSettingsDlg::readLoadedCount(const char *parameter, int *number, int *loaded, QSpinBox *spinBox)
{
    if (!reader().readCount(parameter, MaxCount, number))
        return;
    spinBox->setValue(*number);
    *loaded = *number;
}

void MtSettingsDlg::loadSettings()
{
    bLocked = ControllerFacts::configurationLocked(pCommandManager, pBackendVersions);
    if (bLocked) {
        setWindowIcon(iconLock);
        disableForLock();
    } else {
        setWindowIcon(pMainWindow ? pMainWindow->windowIcon() : QIcon());
    }

    if (!ControllerFacts::measurementToolAvailable(pCommandManager, pBackendVersions)) {
        setAvailable(false);
        return;
    }

    bLoaded = false;
    setAvailable(true);

    readMaximum("max_number_of_tools", &iMaxNumberOfMeaBodies, ui->spinBox_noOfMeaBodies);
    readLoadedCount("number_of_tools", &iNumberOfMeaBodies, &iLoadedNumberOfMeaBodies, ui->spinBox_noOfMeaBodies);
    updateLimitsLabel();
    readMaximum("max_number_of_references", &iMaxNumberOfRefBodies, ui->spinBox_noOfRefBodies);
    iNumberOfRefBodies = 0;
    readLoadedCount("number_of_references", &iNumberOfRefBodies, &iLoadedNumberOfRefBodies, ui->spinBox_noOfRefBodies);
    updateLimitsLabel();

    loadAssignments();
    loadTipDiameters();
    readMeasurementParameters();

    if (VersionGate::supports(pBackendVersions, Feature::OutputFormat)) {
        ui->checkBox_useOldOutputFormat->setChecked(reader().oldOutputFormat());
    } else {
        ui->checkBox_useOldOutputFormat->setChecked(true);
        ui->checkBox_useOldOutputFormat->setEnabled(false);
    }

    enableMeasurementParameters(iNumberOfMeaBodies > 0);

    fillMeaBodiesTable();
    fillRefBodiesTable();
    updateTableDevices();
    restoreRowsAndUpdateButtons(Tables::ToolsAndReferences);

    timerDevices.start();
    bLoaded = true;
}

void MtSettingsDlg::setAvailable(bool available)
{
    ui->label_error->setText(available ? QString()
                                       : tr("<b><font color=red>Measurement Tool is not available!</font></b>"));
    ui->label_error->setVisible(!available);

    if (bLocked) {
        disableForLock();
        return;
    }
    setAllEnabled({ui->label_noOfMeaBodies, ui->spinBox_noOfMeaBodies, ui->label_noOfRefBodies,
                   ui->spinBox_noOfRefBodies, ui->pushButton_ok},
                  available);
    for (QTableWidget *table : {ui->tableWidget_meaBodies, ui->tableWidget_refBodies, ui->tableWidget_availableMt}) {
        table->setEnabled(available);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
    }
    updateSelectButton();
    updateDeselectButton();
    enableMeasurementParameters(available);
}

// Everything a locked configuration disables, whichever step finds the lock:
// the dialog then shows the controller's settings read-only and can only be
// cancelled. Nothing is enabled again until a load finds no lock.
void MtSettingsDlg::disableForLock()
{
    setAllEnabled({ui->spinBox_noOfMeaBodies, ui->spinBox_noOfRefBodies, ui->pushButton_select, ui->pushButton_deselect,
                   ui->label_pointMeasurement, ui->label_duration, ui->label_tipTolerance, ui->doubleSpinBox_duration,
                   ui->doubleSpinBox_tipTolerance, ui->checkBox_startSimulation, ui->spinBox_startAngle,
                   ui->doubleSpinBox_startLeadTime, ui->checkBox_useOldOutputFormat, ui->pushButton_ok},
                  false);
    for (QTableWidget *table : {ui->tableWidget_meaBodies, ui->tableWidget_refBodies, ui->tableWidget_availableMt}) {
        table->setEnabled(false);
        table->setSelectionMode(QAbstractItemView::NoSelection);
    }
}

void MtSettingsDlg::enableMeasurementParameters(bool enable)
{
    if (bLocked) {
        disableForLock();
        return;
    }
    setAllEnabled({ui->label_pointMeasurement, ui->label_duration, ui->label_tipTolerance, ui->doubleSpinBox_duration,
                   ui->doubleSpinBox_tipTolerance, ui->checkBox_startSimulation},
                  enable);
    enableStartSimulationParameters(enable);
    // An older backend has no switch: the load left it checked and disabled.
    if (VersionGate::supports(pBackendVersions, Feature::OutputFormat))
        ui->checkBox_useOldOutputFormat->setEnabled(enable);
}

void MtSettingsDlg::enableStartSimulationParameters(bool enable)
{
    if (bLocked) {
        disableForLock();
        return;
    }
    setAllEnabled(
        {ui->label_minAngularSpeed, ui->spinBox_startAngle, ui->label_meaStartDelay, ui->doubleSpinBox_startLeadTime},
        enable && ui->checkBox_startSimulation->isChecked());
}

// A point measurement parameter of the first tool where tools exist, else
// the default, which also stands for a value that cannot be read.
double MtSettingsDlg::readFirstToolParameter(const char *parameter, double defaultValue, const QString &failure)
{
    if (ui->spinBox_noOfMeaBodies->value() <= 0)
        return defaultValue;
    return reader().firstToolParameter(parameter, defaultValue, failure);
}

void MtSettingsDlg::readDuration()
{
    ui->doubleSpinBox_duration->setValue(readFirstToolParameter(
        "measurement_duration", PointMeasurement::DefaultDuration, tr("Error: Unable to get mea duration")));
}

void MtSettingsDlg::readTipTolerance()
{
    ui->doubleSpinBox_tipTolerance->setValue(readFirstToolParameter("measurement_tip_tolerance",
                                                                    PointMeasurement::DefaultTipTolerance,
                                                                    tr("Error: Unable to get mea tip tolerance")));
}

void MtSettingsDlg::readStartSimulation()
{
    if (ui->spinBox_noOfMeaBodies->value() > 0 && reader().firstToolStartSimulation()) {
        bLoaded = false;
        ui->checkBox_startSimulation->setChecked(true);
        bStartSimulation = true;
        bLoaded = true;
    } else {
        ui->checkBox_startSimulation->setChecked(false);
    }
}

void MtSettingsDlg::readStartAngle()
{
    ui->spinBox_startAngle->setValue(PointMeasurement::wholeDegrees(readFirstToolParameter(
        "measurement_start_angle", PointMeasurement::DefaultStartAngle, tr("Error: Unable to get mea angular speed"))));
}

void MtSettingsDlg::readStartLeadTime()
{
    ui->doubleSpinBox_startLeadTime->setValue(readFirstToolParameter("measurement_start_lead_time",
                                                                     PointMeasurement::DefaultStartLeadTime,
                                                                     tr("Error: Unable to get mea start lead time")));
}

void MtSettingsDlg::readMeasurementParameters()
{
    readDuration();
    readTipTolerance();
    readStartSimulation();
    readStartAngle();
    readStartLeadTime();
    // A read value equal to what a widget already showed changes nothing, so
    // the copies are taken here: a later tool count change puts them back.
    const PointMeasurement shown = shownParameters();
    dDuration = shown.duration;
    dTipTolerance = shown.tipTolerance;
    bStartSimulation = shown.startSimulation;
    dStartAngle = shown.startAngle;
    dStartLeadTime = shown.startLeadTime;
}

PointMeasurement MtSettingsDlg::shownParameters() const
{
    PointMeasurement shown;
    shown.duration = ui->doubleSpinBox_duration->value();
    shown.tipTolerance = ui->doubleSpinBox_tipTolerance->value();
    shown.startSimulation = ui->checkBox_startSimulation->isChecked();
    shown.startAngle = ui->spinBox_startAngle->value();
    shown.startLeadTime = ui->doubleSpinBox_startLeadTime->value();
    return shown;
}

// Puts values into the parameter widgets without the value-changed slots
// taking them as the operator's.
void MtSettingsDlg::showParametersQuietly(const PointMeasurement &values)
{
    bLoaded = false;
    ui->doubleSpinBox_duration->setValue(values.duration);
    ui->doubleSpinBox_tipTolerance->setValue(values.tipTolerance);
    ui->checkBox_startSimulation->setChecked(values.startSimulation);
    ui->spinBox_startAngle->setValue(PointMeasurement::wholeDegrees(values.startAngle));
    ui->doubleSpinBox_startLeadTime->setValue(values.startLeadTime);
    bLoaded = true;
}

void MtSettingsDlg::on_checkBox_startSimulation_stateChanged(int state)
{
    const bool checked = state == Qt::Checked;
    if (bLoaded)
        bStartSimulation = checked;
    enableStartSimulationParameters(checked);
}

void MtSettingsDlg::on_doubleSpinBox_duration_valueChanged(double value)
{
    if (bLoaded)
        dDuration = value;
}

void MtSettingsDlg::on_doubleSpinBox_tipTolerance_valueChanged(double value)
{
    if (bLoaded)
        dTipTolerance = value;
}

void MtSettingsDlg::on_spinBox_startAngle_valueChanged(int value)
{
    if (bLoaded)
        dStartAngle = value;
}

void MtSettingsDlg::on_doubleSpinBox_startLeadTime_valueChanged(double value)
{
    if (bLoaded)
        dStartLeadTime = value;
}

void MtSettingsDlg::restoreCurrentCell(QTableWidget *table, int &iRememberedRow)
{
    const int rows = table->rowCount();
    if (rows < 1)
        return;
    // A row that no longer exists gives way to the last one.
    if (iRememberedRow >= rows)
        iRememberedRow = rows - 1;
    table->setCurrentCell(iRememberedRow, 0);
}

void MtSettingsDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        on_pushButton_cancel_clicked();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MtSettingsDlg::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
}

void MtSettingsDlg::reject()
{
    on_pushButton_cancel_clicked();
}

// ---------------------------------------------------------------------------
// Tools and references

void MtSettingsDlg::setupMeaBodiesTable()
{
    ToolsTable::setUp(ui->tableWidget_meaBodies, ui->tab_mt, &delegateTipDiameter);
}

int MtSettingsDlg::queryReferenceOfTool(int index)
{
    ReplyBuffer reply;
    if (pCommandManager->getParameter(reply.data(), "measurementtool reference_of_tool %s",
                                      NumberedItem::body(index).c_str())
            != 0
        || reply.is(ReplyWord::None))
        return -1;
    // "b03": the letter is not checked, the number is the reference's.
    int number = 0;
    return NumberedItem::readNumber(reply.text(), &number) && number >= 1 ? number - 1 : -1;
}

ToolAssignments MtSettingsDlg::assignments()
{
    return ToolAssignments(listRefOfMeaBody, listChosenRefOfMeaBody, listDeviceOfMeaBody);
}

// A tool's entry as the controller has it.
void MtSettingsDlg::appendTool(int index)
{
    const int reference = queryReferenceOfTool(index);
    RadioDevice device;
    readToolDevice(index, device);
    assignments().append(reference, device);
}

void MtSettingsDlg::loadAssignments()
{
    assignments().clear();
    for (int i = 0; i < iNumberOfMeaBodies; ++i)
        appendTool(i);
}

void MtSettingsDlg::fillMeaBodiesTable()
{
    ToolsTable::fill(ui->tableWidget_meaBodies, iNumberOfMeaBodies, listTipDiameter, listRefOfMeaBody,
                     listDeviceOfMeaBody);
    columnsFitter->fit();
}

void MtSettingsDlg::fillRefBodiesTable()
{
    ReferencesTable::fill(ui->tableWidget_refBodies, iNumberOfRefBodies);
}

void MtSettingsDlg::saveTipDiameters()
{
    ToolsTable::readTipDiameters(ui->tableWidget_meaBodies, listTipDiameter);
}

// Every rebuild after the load goes through here, so that diameters typed
// into the table survive it.
void MtSettingsDlg::rebuildTables(Tables rebuilt)
{
    saveTipDiameters();
    fillMeaBodiesTable();
    if (rebuilt == Tables::ToolsAndReferences)
        fillRefBodiesTable();
    restoreRowsAndUpdateButtons(rebuilt);
}

// After a rebuild the remembered rows are current again (the source row
// only where the references were rebuilt too), and the buttons follow.
void MtSettingsDlg::restoreRowsAndUpdateButtons(Tables rebuilt)
{
    if (ui->tableWidget_meaBodies->rowCount() > 0)
        restoreCurrentCell(ui->tableWidget_meaBodies, iCurrentMeaBodyRow);
    if (rebuilt == Tables::ToolsAndReferences && ui->tableWidget_refBodies->rowCount() > 0)
        restoreCurrentCell(ui->tableWidget_refBodies, iCurrentSourceRow);
    updateSelectButton();
    updateDeselectButton();
}

void MtSettingsDlg::on_spinBox_noOfMeaBodies_valueChanged(int iNewNumberOfMeaBodies)
{
    if (!bLoaded)
        return;
    const int n = iNewNumberOfMeaBodies;
    if (!SettingsWriter(pCommandManager).setCount(SettingsWriter::Count::Tools, n))
        return;
    // One count's change moves the other's limit on the controller.
    if (readMaximum("max_number_of_references", &iMaxNumberOfRefBodies, ui->spinBox_noOfRefBodies))
        updateLimitsLabel();

    while (assignments().size() < n)
        appendTool(assignments().size());

    if (n == 0)
        showParametersQuietly(PointMeasurement());
    else if (iNumberOfMeaBodies == 0)
        readMeasurementParameters();
    else
        showParametersQuietly({dDuration, dTipTolerance, bStartSimulation, dStartAngle, dStartLeadTime});
    enableMeasurementParameters(n > 0);

    if (n > iNumberOfMeaBodies)
        assignments().forgetReferencesFrom(iNumberOfRefBodies);
    iNumberOfMeaBodies = n;
    rebuildTables(Tables::Tools);
}

void MtSettingsDlg::on_spinBox_noOfRefBodies_valueChanged(int iNewNumberOfRefBodies)
{
    if (!bLoaded)
        return;
    const int n = iNewNumberOfRefBodies;
    if (!SettingsWriter(pCommandManager).setCount(SettingsWriter::Count::References, n))
        return;
    if (readMaximum("max_number_of_tools", &iMaxNumberOfMeaBodies, ui->spinBox_noOfMeaBodies))
        updateLimitsLabel();

    ToolAssignments tools = assignments();
    if (n < iNumberOfRefBodies) {
        tools.forgetReferencesFrom(n);
    } else {
        tools.restoreChosenReferencesBelow(n);
        // A tool still without a reference asks the controller.
        for (int i = 0; i < tools.size() && i < iNumberOfMeaBodies; ++i)
            if (listRefOfMeaBody.at(i) == -1)
                tools.assignReference(i, queryReferenceOfTool(i));
    }
    iNumberOfRefBodies = n;
    rebuildTables(Tables::ToolsAndReferences);
}

void MtSettingsDlg::on_pushButton_select_clicked()
{
    const int t = ui->tableWidget_meaBodies->currentRow();
    if (t < 0)
        return;
    bool assigned = false;
    if (ui->tabWidget->currentIndex() == 0) {
        const int r = ui->tableWidget_refBodies->currentRow();
        assigned = r >= 0 && assignments().assignReference(t, r);
    } else {
        const QTableWidget *devices = ui->tableWidget_availableMt;
        const int d = devices->currentRow();
        assigned = d >= 0 && assignments().assignDevice(t, DeviceListTable::deviceAt(devices, d));
    }
    if (assigned)
        rebuildTables(Tables::Tools);
}

void MtSettingsDlg::on_pushButton_deselect_clicked()
{
    const int t = ui->tableWidget_meaBodies->currentRow();
    if (t < 0)
        return;
    if (ui->tabWidget->currentIndex() == 0)
        assignments().assignReference(t, -1);
    else
        assignments().assignDevice(t, RadioDevice());
    rebuildTables(Tables::Tools);
}

void MtSettingsDlg::updateSelectButton()
{
    if (bLocked)
        return;
    const int t = ui->tableWidget_meaBodies->currentRow();
    const int r = ui->tableWidget_refBodies->currentRow();
    const int d = ui->tableWidget_availableMt->currentRow();
    bool enable = false;
    if (t >= 0 && ui->tabWidget->currentIndex() == 0) {
        enable = r >= 0 && listRefOfMeaBody.value(t, -1) != r;
    } else if (t >= 0 && d >= 0) {
        // A device held by any tool, also one beyond the current count, is not offered again.
        enable = !assignments().holdsDevice(DeviceListTable::deviceAt(ui->tableWidget_availableMt, d));
    }
    ui->pushButton_select->setEnabled(enable);
}

void MtSettingsDlg::updateDeselectButton()
{
    if (bLocked)
        return;
    const QTableWidget *table = ui->tableWidget_meaBodies;
    const int t = table->currentRow();
    const bool referencePage = ui->tabWidget->currentIndex() == 0;
    ui->pushButton_deselect->setEnabled(
        t >= 0 && (referencePage ? ToolsTable::hasReference(table, t) : ToolsTable::hasDevice(table, t)));
}

void MtSettingsDlg::on_tableWidget_meaBodies_cellClicked(int row, int column)
{
    Q_UNUSED(column);
    iCurrentMeaBodyRow = row;
    updateSelectButton();
    updateDeselectButton();
}

void MtSettingsDlg::on_tableWidget_refBodies_cellClicked(int row, int column)
{
    Q_UNUSED(column);
    iCurrentSourceRow = row;
    updateSelectButton();
}

void MtSettingsDlg::on_tableWidget_availableMt_cellClicked(int row, int column)
{
    on_tableWidget_refBodies_cellClicked(row, column);
}

void MtSettingsDlg::on_tabWidget_currentChanged(int index)
{
    Q_UNUSED(index);
    updateSelectButton();
    updateDeselectButton();
}

void MtSettingsDlg::updateLimitsLabel()
{
    ui->label_max_error->setText(
        CountLimits::message(ui->spinBox_noOfMeaBodies->value(), ui->spinBox_noOfMeaBodies->maximum(),
                             ui->spinBox_noOfRefBodies->value(), ui->spinBox_noOfRefBodies->maximum()));
}

// ---------------------------------------------------------------------------
// Radio devices and tip radius

void MtSettingsDlg::setupAvailableMtTable()
{
    QTableWidget *table = ui->tableWidget_availableMt;
    DeviceListTable::setUp(table, ui->tab_availableMt);
    columnsFitter = new DeviceColumnsFitter({ui->tableWidget_meaBodies, ToolsTable::Model, ToolsTable::Serial},
                                            {table, DeviceListTable::ModelDesc, DeviceListTable::Serial}, table);
    columnsFitter->fit();
}

int MtSettingsDlg::readToolDevice(int index, RadioDevice &dev)
{
    if (!reader().toolDevice(index, &dev))
        return -1;
    readModelDescription(dev);
    return 0;
}

void MtSettingsDlg::readModelDescription(RadioDevice &dev)
{
    dev.modelDesc = reader().modelDescription(dev);
}

void MtSettingsDlg::readRadioDevice(int index, RadioDevice &dev)
{
    dev.clear();
    if (reader().listedDevice(index, &dev))
        readModelDescription(dev);
}

void MtSettingsDlg::updateTableDevices()
{
    QTableWidget *table = ui->tableWidget_availableMt;
    const int remembered = table->currentRow();
    table->clearContents();
    if (!VersionGate::supports(pBackendVersions, Feature::RadioDevices) || !pCommandManager)
        return;
    QList<RadioDevice> devices;
    const int count = reader().deviceCount(MaxCount);
    for (int i = 0; i < count; ++i) {
        RadioDevice dev;
        readRadioDevice(i, dev);
        devices.append(dev);
    }
    DeviceListTable::fill(table, devices);
    columnsFitter->fit();
    // The row number stays current, whichever device now fills it.
    table->setCurrentCell(remembered, DeviceListTable::ModelIntern);
}

void MtSettingsDlg::loadTipDiameters()
{
    listTipDiameter.clear();
    for (int i = 0; i < iNumberOfMeaBodies; ++i)
        listTipDiameter.append(reader().tipDiameter(i));
}

void MtSettingsDlg::applyTipRadii()
{
    saveTipDiameters();
    SettingsWriter(pCommandManager).applyTipRadii(listTipDiameter, ui->tableWidget_meaBodies->rowCount(), reader());
}

// ---------------------------------------------------------------------------
// Applying

void MtSettingsDlg::on_pushButton_ok_clicked()
{
    if (!pCommandManager) {
        closeDialog();
        return;
    }
    SettingsWriter writer(pCommandManager);
    writer.applyCount(SettingsWriter::Count::Tools, iNumberOfMeaBodies);
    writer.applyCount(SettingsWriter::Count::References, iNumberOfRefBodies);
    writer.applyReferences(listRefOfMeaBody, iNumberOfMeaBodies);
    if (VersionGate::supports(pBackendVersions, Feature::RadioDevices))
        writer.applyDevices(listDeviceOfMeaBody, iNumberOfMeaBodies);

    // Every tool gets the one value shown, which the load read from the first tool.
    writer.applyPointMeasurement(shownParameters(), iNumberOfMeaBodies);

    if (VersionGate::supports(pBackendVersions, Feature::OutputFormat)) {
        writer.applyOutputFormat(ui->checkBox_useOldOutputFormat->isChecked());
        applyTipRadii();
    }
    closeDialog();
}

void MtSettingsDlg::on_pushButton_cancel_clicked()
{
    if (pCommandManager)
        SettingsWriter(pCommandManager)
            .restoreCounts(iNumberOfMeaBodies, iLoadedNumberOfMeaBodies, iNumberOfRefBodies, iLoadedNumberOfRefBodies);
    closeDialog();
}

void MtSettingsDlg::closeDialog()
{
    if (timerDevices.isActive())
        timerDevices.stop();
    done(0);
}
