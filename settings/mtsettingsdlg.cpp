#include "settings/mtsettingsdlg.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QResizeEvent>
#include <QTabBar>
#include <QTableWidget>
#include <QTableWidgetItem>
#include <climits>
#include <cmath>

#include "host/backendversions.h"
#include "host/cnumber.h"
#include "host/failurelog.h"
#include "host/iomanager.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"
#include "host/versiongate.h"
#include "settings/devicecolumnsfitter.h"
#include "settings/keyboardpick.h"
#include "ui_mtsettingsdlg.h"

namespace {

// Defaults of the point measurement parameters, shown while no tool exists
// or when the controller's value cannot be read.
constexpr double DefaultDuration = 1.0;
constexpr double DefaultTipTolerance = 1.5;
constexpr double DefaultStartAngle = 30.0;
constexpr double DefaultStartLeadTime = 0.2;

// The form's maximum of the tool count; the limit message names a kind
// "reached" at this count whatever the controller's maximum.
constexpr int LimitOfEachKind = 4;

constexpr int RowHeight = 28;
constexpr int ModelColumnExtraWidth = 85;
constexpr int SerialLength = 5;

// Versions (backend at least 1.N) of the features used here.
constexpr int LockQueryVersion = 9;
constexpr int AvailabilityVersion = 3;
constexpr int OutputFormatVersion = 13;
constexpr int TipRadiusVersion = 13;
constexpr int RadioDeviceVersion = 14;

// Tools table columns.
enum MeaBodyColumn { ColumnId = 0, ColumnTipDiameter = 1, ColumnReference = 2, ColumnModel = 3, ColumnSerial = 4 };
// Radio device list columns; the first three are hidden.
enum DeviceColumn { ColumnSortKey = 0, ColumnVendor = 1, ColumnModelIntern = 2, ColumnModelDesc = 3, ColumnDeviceSerial = 4 };

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

QTableWidgetItem *newItem(const QString &text, Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled)
{
    QTableWidgetItem *item = new QTableWidgetItem(text);
    item->setFlags(flags);
    return item;
}

// A stretched last section never gets narrower than it was when stretching
// began (at setup: the default section width, which pushes a serial out of
// view when room is short); begun again at the width of its text.
void restartLastSectionStretch(QTableWidget *table, int lastColumn)
{
    table->horizontalHeader()->setStretchLastSection(false);
    table->resizeColumnToContents(lastColumn);
    table->horizontalHeader()->setStretchLastSection(true);
}

// A body number in a message: two digits ("07").
QString twoDigits(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

// The start angle spin box holds whole degrees; truncated toward zero,
// bounded first so that no controller value overflows the conversion. "nan",
// no angle at all, shows as the box's minimum.
int wholeDegrees(double degrees)
{
    if (std::isnan(degrees))
        return INT_MIN;
    return int(std::trunc(qBound(-1.0e6, degrees, 1.0e6)));
}

// Reads a point measurement parameter of the first tool into *value when
// tools exist; a failure is logged and leaves *value alone. A value read is
// used as read, also "inf" or "nan": the spin box keeps it within its range.
void readFirstToolDouble(IOManager *commandManager, int numberOfTools, const char *parameter, double *value,
                         const QString &failure)
{
    if (numberOfTools <= 0)
        return;
    double read = 0.0;
    if (commandManager->getDoubleParameter(&read, "measurementtool %s b01", parameter) == 0)
        *value = read;
    else
        FailureLog::report(commandManager, failure);
}

} // namespace

MtSettingsDlg::MtSettingsDlg(IOManager *commandManager, QWidget *parent, BackendVersions *backendVersions)
    : QDialog(parent)
    , ui(new Ui::MtSettingsDlgClass)
    , pCommandManager(commandManager)
    , pBackendVersions(backendVersions)
    , pMainWindow(parent)
    , bLoaded(false)
    , iLoadedNumberOfMeaBodies(0)
    , iNumberOfMeaBodies(0)
    , iMaxNumberOfMeaBodies(0)
    , iLoadedNumberOfRefBodies(0)
    , iNumberOfRefBodies(0)
    , iMaxNumberOfRefBodies(0)
    , dDuration(DefaultDuration)
    , dTipTolerance(DefaultTipTolerance)
    , bStartSimulation(false)
    , dStartAngle(DefaultStartAngle)
    , dStartLeadTime(DefaultStartLeadTime)
    , iCurrentMeaBodyRow(0)
    , iCurrentSourceRow(0)
    , bLocked(false)
    , delegateTipDiameter(nullptr)
    , timerDevices(this)
{
    ui->setupUi(this);
    iconLock.addFile(QStringLiteral(":/lock.png"));

    // enableStartSimulationParameters(false) of an unlocked dialog
    ui->label_minAngularSpeed->setEnabled(false);
    ui->spinBox_startAngle->setEnabled(false);
    ui->label_meaStartDelay->setEnabled(false);
    ui->doubleSpinBox_startLeadTime->setEnabled(false);

    setupMeaBodiesTable();
    setupRefBodiesTable();
    setupAvailableMtTable();

    // Without scroll buttons the page tabs' width counts in the size hint, so
    // the layout gives both titles their room instead of eliding them.
    ui->tabWidget->setUsesScrollButtons(false);

    // The tools' single page has nothing to switch to: Tab goes straight into its table.
    if (QTabBar *bar = ui->tabWidget_mt->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly))
        bar->setFocusPolicy(Qt::NoFocus);
    // The form's Tab order leaves the tables and the page tabs to the end of
    // the round, after Cancel. Moving the cursor in a table changes neither
    // the remembered rows nor the buttons; Space on a cell picks it as a click would.
    for (QTableWidget *table : {ui->tableWidget_meaBodies, ui->tableWidget_refBodies, ui->tableWidget_availableMt})
        new KeyboardPick(table);

    timerDevices.setObjectName(QStringLiteral("timerDevices"));
    timerDevices.setInterval(DeviceRefreshMs);
    connect(&timerDevices, &QTimer::timeout, this, &MtSettingsDlg::updateTableDevices);
}

MtSettingsDlg::~MtSettingsDlg()
{
    // The delegate is a member and goes before the table (a child widget).
    ui->tableWidget_meaBodies->setItemDelegateForColumn(ColumnTipDiameter, nullptr);
}

int MtSettingsDlg::update_and_exec()
{
    loadSettings();
    // The dialog is kept between openings; each one starts at the first control
    // that the load left enabled, not where the last one was closed.
    for (QWidget *w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) {
            w->setFocus(Qt::TabFocusReason);
            break;
        }
    }
    return exec();
}

// ---------------------------------------------------------------------------
// Loading and enabling

bool MtSettingsDlg::backendAtLeast(int minor) const
{
    return VersionGate::backendAtLeast(pBackendVersions, minor);
}

int MtSettingsDlg::readCount(const char *parameter, int *value)
{
    int read = 0;
    const int result = pCommandManager->getIntParameter(&read, "measurementtool %s", parameter);
    if (result == 0)
        *value = qBound(0, read, MaxCount);
    return result;
}

QString MtSettingsDlg::noneText() const
{
    return tr("none");
}

bool MtSettingsDlg::checkLocked()
{
    if (!backendAtLeast(LockQueryVersion))
        return false;
    ReplyBuffer reply;
    return pCommandManager->getParameter(reply.data(), "config is_changeable") == 0 && reply.is(ReplyWord::No);
}

void MtSettingsDlg::loadSettings()
{
    bLocked = pCommandManager && checkLocked();
    if (bLocked) {
        setWindowIcon(iconLock);
        ui->spinBox_noOfMeaBodies->setEnabled(false);
        ui->spinBox_noOfRefBodies->setEnabled(false);
        ui->pushButton_select->setEnabled(false);
        ui->pushButton_deselect->setEnabled(false);
        ui->doubleSpinBox_duration->setEnabled(false);
        ui->doubleSpinBox_tipTolerance->setEnabled(false);
        ui->checkBox_startSimulation->setEnabled(false);
        ui->checkBox_useOldOutputFormat->setEnabled(false);
    } else {
        setWindowIcon(pMainWindow ? pMainWindow->windowIcon() : QIcon());
    }

    ReplyBuffer reply;
    if (!pCommandManager || !backendAtLeast(AvailabilityVersion)
        || pCommandManager->getParameter(reply.data(), "measurementtool available") != 0
        || !reply.is(ReplyWord::Yes)) {
        setAvailable(false);
        return;
    }

    bLoaded = false;
    setAvailable(true);

    int value = 0;
    if (readCount("max_number_of_tools", &value) == 0) {
        iMaxNumberOfMeaBodies = value;
        ui->spinBox_noOfMeaBodies->setMaximum(iMaxNumberOfMeaBodies);
    }
    if (readCount("number_of_tools", &value) == 0) {
        iNumberOfMeaBodies = value;
        ui->spinBox_noOfMeaBodies->setValue(iNumberOfMeaBodies);
        iLoadedNumberOfMeaBodies = iNumberOfMeaBodies;
    }
    updateLimitsLabel();

    if (readCount("max_number_of_references", &value) == 0) {
        iMaxNumberOfRefBodies = value;
        ui->spinBox_noOfRefBodies->setMaximum(iMaxNumberOfRefBodies);
    }
    iNumberOfRefBodies = 0;
    if (readCount("number_of_references", &value) == 0) {
        iNumberOfRefBodies = value;
        ui->spinBox_noOfRefBodies->setValue(iNumberOfRefBodies);
        iLoadedNumberOfRefBodies = iNumberOfRefBodies;
    }
    updateLimitsLabel();

    loadAssignments();
    loadTipDiameters();
    readMeasurementParameters();

    if (backendAtLeast(OutputFormatVersion)) {
        // An unreadable switch counts as the old format being on.
        ReplyBuffer format;
        const bool newFormat = pCommandManager->getParameter(format.data(), "measurementtool output_6dmt") == 0
                               && format.is(ReplyWord::No);
        ui->checkBox_useOldOutputFormat->setChecked(!newFormat);
    } else {
        ui->checkBox_useOldOutputFormat->setChecked(true);
        ui->checkBox_useOldOutputFormat->setEnabled(false);
    }

    enableMeasurementParameters(iNumberOfMeaBodies > 0);

    fillMeaBodiesTable();
    fillRefBodiesTable();
    updateTableDevices();

    if (ui->tableWidget_meaBodies->rowCount() > 0)
        restoreCurrentCell(ui->tableWidget_meaBodies, iCurrentMeaBodyRow);
    if (ui->tableWidget_refBodies->rowCount() > 0)
        restoreCurrentCell(ui->tableWidget_refBodies, iCurrentSourceRow);
    updateSelectButton();
    updateDeselectButton();

    timerDevices.start();
    bLoaded = true;
}

void MtSettingsDlg::setAvailable(bool available)
{
    if (available) {
        ui->label_error->clear();
        ui->label_error->hide();
    } else {
        ui->label_error->setText(tr("<b><font color=red>Measurement Tool is not available!</font></b>"));
        ui->label_error->show();
    }

    QTableWidget *tables[] = {ui->tableWidget_meaBodies, ui->tableWidget_refBodies, ui->tableWidget_availableMt};
    if (bLocked) {
        ui->spinBox_noOfMeaBodies->setEnabled(false);
        ui->spinBox_noOfRefBodies->setEnabled(false);
        for (QTableWidget *table : tables) {
            table->setEnabled(false);
            table->setSelectionMode(QAbstractItemView::NoSelection);
        }
        ui->label_pointMeasurement->setEnabled(false);
        ui->label_duration->setEnabled(false);
        ui->label_tipTolerance->setEnabled(false);
        enableMeasurementParameters(false);
        ui->pushButton_ok->setEnabled(false);
        return;
    }

    ui->label_noOfMeaBodies->setEnabled(available);
    ui->spinBox_noOfMeaBodies->setEnabled(available);
    ui->label_noOfRefBodies->setEnabled(available);
    ui->spinBox_noOfRefBodies->setEnabled(available);
    ui->tableWidget_meaBodies->setEnabled(available);
    ui->tableWidget_meaBodies->setSelectionMode(QAbstractItemView::SingleSelection);
    updateSelectButton();
    updateDeselectButton();
    for (QTableWidget *table : {ui->tableWidget_refBodies, ui->tableWidget_availableMt}) {
        table->setEnabled(available);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
    }
    ui->label_pointMeasurement->setEnabled(available);
    ui->label_duration->setEnabled(available);
    ui->label_tipTolerance->setEnabled(available);
    enableMeasurementParameters(available);
    ui->pushButton_ok->setEnabled(available);
}

void MtSettingsDlg::enableMeasurementParameters(bool enable)
{
    if (bLocked) {
        for (QWidget *widget : std::initializer_list<QWidget *>{
                 ui->label_pointMeasurement, ui->label_duration, ui->label_tipTolerance, ui->doubleSpinBox_duration,
                 ui->doubleSpinBox_tipTolerance, ui->checkBox_startSimulation, ui->spinBox_startAngle,
                 ui->doubleSpinBox_startLeadTime, ui->checkBox_useOldOutputFormat})
            widget->setEnabled(false);
        return;
    }
    for (QWidget *widget : std::initializer_list<QWidget *>{
             ui->label_pointMeasurement, ui->label_duration, ui->label_tipTolerance, ui->doubleSpinBox_duration,
             ui->doubleSpinBox_tipTolerance, ui->checkBox_startSimulation})
        widget->setEnabled(enable);
    enableStartSimulationParameters(enable);
    // An older backend has no switch: the load left it checked and disabled.
    if (backendAtLeast(OutputFormatVersion))
        ui->checkBox_useOldOutputFormat->setEnabled(enable);
}

void MtSettingsDlg::enableStartSimulationParameters(bool enable)
{
    if (bLocked) {
        ui->spinBox_startAngle->setEnabled(false);
        ui->doubleSpinBox_startLeadTime->setEnabled(false);
        return;
    }
    const bool on = enable && ui->checkBox_startSimulation->isChecked();
    ui->label_minAngularSpeed->setEnabled(on);
    ui->spinBox_startAngle->setEnabled(on);
    ui->label_meaStartDelay->setEnabled(on);
    ui->doubleSpinBox_startLeadTime->setEnabled(on);
}

void MtSettingsDlg::readDuration()
{
    double value = DefaultDuration;
    readFirstToolDouble(pCommandManager, ui->spinBox_noOfMeaBodies->value(),
                        "measurement_duration", &value, tr("Error: Unable to get mea duration"));
    ui->doubleSpinBox_duration->setValue(value);
}

void MtSettingsDlg::readTipTolerance()
{
    double value = DefaultTipTolerance;
    readFirstToolDouble(pCommandManager, ui->spinBox_noOfMeaBodies->value(),
                        "measurement_tip_tolerance", &value,
                        tr("Error: Unable to get mea tip tolerance"));
    ui->doubleSpinBox_tipTolerance->setValue(value);
}

void MtSettingsDlg::readStartSimulation()
{
    bool on = false;
    if (ui->spinBox_noOfMeaBodies->value() > 0) {
        ReplyBuffer reply;
        if (pCommandManager->getParameter(reply.data(), "measurementtool measurement_start_simulation b01") == 0)
            on = reply.is(ReplyWord::Yes);
        else
            FailureLog::report(pCommandManager, tr("Error: Unable to get state of measurement start simulation"));
    }
    if (on) {
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
    double value = DefaultStartAngle;
    readFirstToolDouble(pCommandManager, ui->spinBox_noOfMeaBodies->value(),
                        "measurement_start_angle", &value,
                        tr("Error: Unable to get mea angular speed"));
    ui->spinBox_startAngle->setValue(wholeDegrees(value));
}

void MtSettingsDlg::readStartLeadTime()
{
    double value = DefaultStartLeadTime;
    readFirstToolDouble(pCommandManager, ui->spinBox_noOfMeaBodies->value(),
                        "measurement_start_lead_time", &value,
                        tr("Error: Unable to get mea start lead time"));
    ui->doubleSpinBox_startLeadTime->setValue(value);
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
    storeMeasurementParameters();
}

void MtSettingsDlg::storeMeasurementParameters()
{
    dDuration = ui->doubleSpinBox_duration->value();
    dTipTolerance = ui->doubleSpinBox_tipTolerance->value();
    bStartSimulation = ui->checkBox_startSimulation->isChecked();
    dStartAngle = ui->spinBox_startAngle->value();
    dStartLeadTime = ui->doubleSpinBox_startLeadTime->value();
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
    QTableWidget *table = ui->tableWidget_meaBodies;
    table->setColumnCount(5);
    table->setHorizontalHeaderLabels(
        {tr("ID"), tr("Tip diameter [mm]"), tr("Reference ID"), tr("Model"), tr("Serial")});
    table->setRowCount(0);
    ui->tab_mt->setContentsMargins(0, 0, 0, 0);
    ui->tab_mt->layout()->setContentsMargins(0, 0, 0, 0);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionsClickable(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setItemDelegateForColumn(ColumnTipDiameter, &delegateTipDiameter);
    table->resizeColumnsToContents();
    table->setColumnWidth(ColumnModel, table->columnWidth(ColumnModel) + ModelColumnExtraWidth);
    restartLastSectionStretch(table, ColumnSerial);
}

void MtSettingsDlg::setupRefBodiesTable()
{
    QTableWidget *table = ui->tableWidget_refBodies;
    ui->tab_refBodies->setContentsMargins(0, 0, 0, 0);
    ui->tab_refBodies->layout()->setContentsMargins(0, 0, 0, 0);
    table->setColumnCount(1);
    table->setHorizontalHeaderLabels({tr("Reference ID")});
    table->setRowCount(0);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionsClickable(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    const QString text = QString::fromLatin1(reply.text());
    bool ok = false;
    const int number = text.midRef(1).toInt(&ok);
    return ok && number >= 1 ? number - 1 : -1;
}

void MtSettingsDlg::appendTool(int index)
{
    const int reference = queryReferenceOfTool(index);
    listRefOfMeaBody.append(reference);
    listChosenRefOfMeaBody.append(reference);
    RadioDevice device;
    readToolDevice(index, device);
    listDeviceOfMeaBody.append(device);
}

void MtSettingsDlg::loadAssignments()
{
    listRefOfMeaBody.clear();
    listChosenRefOfMeaBody.clear();
    listDeviceOfMeaBody.clear();
    for (int i = 0; i < iNumberOfMeaBodies; ++i)
        appendTool(i);
}

void MtSettingsDlg::fillMeaBodiesTable()
{
    QTableWidget *table = ui->tableWidget_meaBodies;
    table->clearContents();
    table->setRowCount(qMax(0, iNumberOfMeaBodies));
    for (int i = 0; i < table->rowCount(); ++i) {
        table->setItem(i, ColumnId, newItem(QStringLiteral("M%1").arg(i + 1)));

        QTableWidgetItem *diameter = new QTableWidgetItem(QString::number(listTipDiameter.value(i, 0.0), 'f', 1));
        diameter->setTextAlignment(Qt::AlignCenter);
        table->setItem(i, ColumnTipDiameter, diameter);

        const int reference = listRefOfMeaBody.value(i, -1);
        table->setItem(i, ColumnReference, newItem(reference < 0 ? noneText() : QStringLiteral("MR%1").arg(reference + 1)));

        const RadioDevice device = listDeviceOfMeaBody.value(i);
        table->setItem(i, ColumnModel, newItem(device.modelDesc));
        QTableWidgetItem *serial = newItem(device.serial);
        serial->setTextAlignment(Qt::AlignCenter);
        table->setItem(i, ColumnSerial, serial);

        table->setRowHeight(i, RowHeight);
    }
    columnsFitter->fit();
}

void MtSettingsDlg::fillRefBodiesTable()
{
    QTableWidget *table = ui->tableWidget_refBodies;
    table->clearContents();
    table->setRowCount(qMax(0, iNumberOfRefBodies));
    for (int r = 0; r < table->rowCount(); ++r) {
        table->setItem(r, 0, new QTableWidgetItem(QStringLiteral("MR%1").arg(r + 1)));
        table->setRowHeight(r, RowHeight);
    }
}

void MtSettingsDlg::saveTipDiameters()
{
    const QTableWidget *table = ui->tableWidget_meaBodies;
    for (int r = 0; r < table->rowCount(); ++r) {
        bool ok = false;
        double diameter = cellText(table, r, ColumnTipDiameter).toDouble(&ok);
        if (!ok || !std::isfinite(diameter))
            diameter = 0.0;
        while (listTipDiameter.size() < r)
            listTipDiameter.append(0.0);
        if (r < listTipDiameter.size())
            listTipDiameter[r] = diameter;
        else
            listTipDiameter.append(diameter);
    }
}

// Every rebuild after the load goes through here, so diameters typed into
// the table survive it.
void MtSettingsDlg::refillMeaBodiesTable()
{
    saveTipDiameters();
    fillMeaBodiesTable();
}

void MtSettingsDlg::afterToolTableRebuilt()
{
    if (ui->tableWidget_meaBodies->rowCount() > 0)
        restoreCurrentCell(ui->tableWidget_meaBodies, iCurrentMeaBodyRow);
    updateSelectButton();
    updateDeselectButton();
}

// One count's change moves the other's limit on the controller.
void MtSettingsDlg::rereadMaximum(const char *parameter, int *maximum, QSpinBox *spinBox)
{
    int value = 0;
    if (readCount(parameter, &value) != 0)
        return;
    *maximum = value;
    spinBox->setMaximum(value);
    updateLimitsLabel();
}

// Puts values into the parameter widgets without the value-changed slots
// taking them as the operator's.
void MtSettingsDlg::showParametersQuietly(double duration, double tipTolerance, bool startSimulation,
                                          double startAngle, double startLeadTime)
{
    bLoaded = false;
    ui->doubleSpinBox_duration->setValue(duration);
    ui->doubleSpinBox_tipTolerance->setValue(tipTolerance);
    ui->checkBox_startSimulation->setChecked(startSimulation);
    ui->spinBox_startAngle->setValue(wholeDegrees(startAngle));
    ui->doubleSpinBox_startLeadTime->setValue(startLeadTime);
    bLoaded = true;
}

void MtSettingsDlg::on_spinBox_noOfMeaBodies_valueChanged(int iNewNumberOfMeaBodies)
{
    if (!bLoaded)
        return;
    const int n = iNewNumberOfMeaBodies;
    if (pCommandManager->setParameter("measurementtool number_of_tools %d", n) != 0) {
        FailureLog::report(pCommandManager, tr("Error: Unable to set number of mea tools = %1"), n);
        return;
    }
    rereadMaximum("max_number_of_references", &iMaxNumberOfRefBodies, ui->spinBox_noOfRefBodies);

    while (listRefOfMeaBody.size() < n)
        appendTool(listRefOfMeaBody.size());

    if (n == 0) {
        showParametersQuietly(DefaultDuration, DefaultTipTolerance, false, DefaultStartAngle, DefaultStartLeadTime);
        enableMeasurementParameters(false);
    } else if (iNumberOfMeaBodies == 0) {
        readMeasurementParameters();
        enableMeasurementParameters(true);
    } else {
        showParametersQuietly(dDuration, dTipTolerance, bStartSimulation, dStartAngle, dStartLeadTime);
        enableMeasurementParameters(true);
    }

    if (n > iNumberOfMeaBodies) {
        for (int &reference : listRefOfMeaBody)
            if (reference > iNumberOfRefBodies - 1)
                reference = -1;
    }
    iNumberOfMeaBodies = n;

    refillMeaBodiesTable();
    afterToolTableRebuilt();
}

void MtSettingsDlg::on_spinBox_noOfRefBodies_valueChanged(int iNewNumberOfRefBodies)
{
    if (!bLoaded)
        return;
    const int n = iNewNumberOfRefBodies;
    if (pCommandManager->setParameter("measurementtool number_of_references %d", n) != 0) {
        FailureLog::report(pCommandManager, tr("Error: Unable to set number of mea references = %1"), n);
        return;
    }
    rereadMaximum("max_number_of_tools", &iMaxNumberOfMeaBodies, ui->spinBox_noOfMeaBodies);

    if (n < iNumberOfRefBodies) {
        // Only the assignment goes; the choice comes back when the count grows again.
        for (int &reference : listRefOfMeaBody)
            if (reference > n - 1)
                reference = -1;
    } else {
        for (int i = 0; i < listRefOfMeaBody.size() && i < listChosenRefOfMeaBody.size(); ++i) {
            const int chosen = listChosenRefOfMeaBody.at(i);
            if (listRefOfMeaBody.at(i) != chosen && chosen < n)
                listRefOfMeaBody[i] = chosen;
        }
        for (int i = 0; i < listRefOfMeaBody.size() && i < listChosenRefOfMeaBody.size(); ++i) {
            if (listRefOfMeaBody.at(i) == -1 && i < iNumberOfMeaBodies) {
                const int reference = queryReferenceOfTool(i);
                listRefOfMeaBody[i] = reference;
                listChosenRefOfMeaBody[i] = reference;
            }
        }
    }
    iNumberOfRefBodies = n;

    refillMeaBodiesTable();
    fillRefBodiesTable();
    if (ui->tableWidget_meaBodies->rowCount() > 0)
        restoreCurrentCell(ui->tableWidget_meaBodies, iCurrentMeaBodyRow);
    if (ui->tableWidget_refBodies->rowCount() > 0)
        restoreCurrentCell(ui->tableWidget_refBodies, iCurrentSourceRow);
    updateSelectButton();
    updateDeselectButton();
}

void MtSettingsDlg::on_pushButton_select_clicked()
{
    const int t = ui->tableWidget_meaBodies->currentRow();
    if (t < 0)
        return;
    if (ui->tabWidget->currentIndex() == 0) {
        const int r = ui->tableWidget_refBodies->currentRow();
        if (r < 0 || t >= listRefOfMeaBody.size() || t >= listChosenRefOfMeaBody.size())
            return;
        listRefOfMeaBody[t] = r;
        listChosenRefOfMeaBody[t] = r;
    } else {
        const QTableWidget *devices = ui->tableWidget_availableMt;
        const int d = devices->currentRow();
        if (d < 0 || t >= listDeviceOfMeaBody.size())
            return;
        RadioDevice &device = listDeviceOfMeaBody[t];
        device.vendor = cellText(devices, d, ColumnVendor);
        device.model = cellText(devices, d, ColumnModelIntern);
        device.serial = cellText(devices, d, ColumnDeviceSerial);
        device.modelDesc = cellText(devices, d, ColumnModelDesc);
    }
    refillMeaBodiesTable(); // keeps its rows: t is one of them
    afterToolTableRebuilt();
}

void MtSettingsDlg::on_pushButton_deselect_clicked()
{
    const int t = ui->tableWidget_meaBodies->currentRow();
    if (t < 0)
        return;
    if (ui->tabWidget->currentIndex() == 0) {
        if (t < listRefOfMeaBody.size())
            listRefOfMeaBody[t] = -1;
        if (t < listChosenRefOfMeaBody.size())
            listChosenRefOfMeaBody[t] = -1;
    } else if (t < listDeviceOfMeaBody.size()) {
        listDeviceOfMeaBody[t].clear();
    }
    refillMeaBodiesTable();
    afterToolTableRebuilt();
}

void MtSettingsDlg::updateSelectButton()
{
    if (bLocked)
        return;
    const int t = ui->tableWidget_meaBodies->currentRow();
    const int r = ui->tableWidget_refBodies->currentRow();
    const QTableWidget *devices = ui->tableWidget_availableMt;
    const int d = devices->currentRow();
    const bool referencePage = ui->tabWidget->currentIndex() == 0;

    bool enable = false;
    if (t < 0) {
        enable = false;
    } else if (referencePage && r >= 0 && listRefOfMeaBody.value(t, -1) != r) {
        enable = true;
    } else if (d < 0 || referencePage) {
        enable = false;
    } else {
        // A device held by any tool, also one beyond the current count, is not offered again.
        const QString vendor = cellText(devices, d, ColumnVendor);
        const QString model = cellText(devices, d, ColumnModelIntern);
        const QString serial = cellText(devices, d, ColumnDeviceSerial);
        enable = true;
        for (const RadioDevice &device : qAsConst(listDeviceOfMeaBody))
            if (device.vendor == vendor && device.model == model && device.serial == serial)
                enable = false;
    }
    ui->pushButton_select->setEnabled(enable);
}

void MtSettingsDlg::updateDeselectButton()
{
    if (bLocked)
        return;
    const QTableWidget *table = ui->tableWidget_meaBodies;
    const int t = table->currentRow();
    bool enable = false;
    if (t < 0)
        enable = false;
    else if (ui->tabWidget->currentIndex() == 0)
        enable = cellText(table, t, ColumnReference) != noneText();
    else
        enable = !cellText(table, t, ColumnSerial).isEmpty();
    ui->pushButton_deselect->setEnabled(enable);
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
    const int t = ui->spinBox_noOfMeaBodies->value();
    const int tMax = ui->spinBox_noOfMeaBodies->maximum();
    const int r = ui->spinBox_noOfRefBodies->value();
    const int rMax = ui->spinBox_noOfRefBodies->maximum();
    const int limit = LimitOfEachKind;

    QString text;
    if (tMax == 0 && rMax == 0)
        text.clear();
    else if (t == limit && r == limit)
        text = tr("<b><font color=red>Max. number of Measurement Tools and references are reached!</font></b>");
    else if ((t == limit && r == rMax) || (t == tMax && r == limit))
        text = tr("<b><font color=red>Max. number of bodies is reached!</font></b>");
    else if (t == limit)
        text = tr("<b><font color=red>Max. number of Measurement Tools is reached!</font></b>");
    else if (r == limit)
        text = tr("<b><font color=red>Max. number of references is reached!</font></b>");
    else if (t == tMax || r == rMax)
        text = tr("<b><font color=red>Max. number of bodies is reached!</font></b>");
    ui->label_max_error->setText(text);
}

// ---------------------------------------------------------------------------
// Radio devices and tip radius

void MtSettingsDlg::setupAvailableMtTable()
{
    QTableWidget *table = ui->tableWidget_availableMt;
    ui->tab_availableMt->setContentsMargins(0, 0, 0, 0);
    ui->tab_availableMt->layout()->setContentsMargins(0, 0, 0, 0);
    table->setColumnCount(5);
    table->setHorizontalHeaderLabels({tr("SortColumn_Key"), tr("Vendor"), tr("Model_intern"), tr("Model"), tr("Serial")});
    table->setRowCount(0);
    table->setColumnHidden(ColumnSortKey, true);
    table->setColumnHidden(ColumnVendor, true);
    table->setColumnHidden(ColumnModelIntern, true);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionsClickable(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->resizeColumnsToContents();
    table->setColumnWidth(ColumnModelDesc, table->columnWidth(ColumnModelDesc) + ModelColumnExtraWidth);
    restartLastSectionStretch(table, ColumnDeviceSerial);
    columnsFitter = new DeviceColumnsFitter({ui->tableWidget_meaBodies, ColumnModel, ColumnSerial},
                                            {table, ColumnModelDesc, ColumnDeviceSerial}, table);
    columnsFitter->fit();
}

int MtSettingsDlg::readToolDevice(int index, RadioDevice &dev)
{
    if (!backendAtLeast(RadioDeviceVersion))
        return -1;
    ReplyBuffer reply;
    if (pCommandManager->getParameter(reply.data(), "measurementtool device %s", NumberedItem::body(index).c_str()) != 0
        || reply.is(ReplyWord::None))
        return -1;
    // "<family> <vendor> <model> <serial>"; the family is not kept.
    const QString text = QString::fromLatin1(reply.text());
    const QChar blank(QLatin1Char(' '));
    dev.vendor = text.section(blank, 1, 1);
    dev.model = text.section(blank, 2, 2);
    dev.serial = text.section(blank, 3, 3);
    while (dev.serial.size() < SerialLength)
        dev.serial.prepend(QLatin1Char('0'));
    readModelDescription(dev);
    return 0;
}

void MtSettingsDlg::readModelDescription(RadioDevice &dev)
{
    if (!backendAtLeast(RadioDeviceVersion)) {
        dev.modelDesc = dev.model;
        return;
    }
    ReplyBuffer reply;
    if (pCommandManager->getParameter(reply.data(), "kinwave device_model_desc %s %s", dev.vendor.toLatin1().constData(),
                                      dev.model.toLatin1().constData())
        == 0) {
        dev.modelDesc = QString::fromLatin1(reply.text()).remove(QLatin1Char('"'));
    } else {
        FailureLog::report(pCommandManager,
                           tr("Error: Unable to get model description of vendor %1 model %2").arg(dev.vendor, dev.model));
        dev.modelDesc = dev.model;
    }
}

void MtSettingsDlg::readRadioDevice(int index, RadioDevice &dev)
{
    dev.clear();
    if (!backendAtLeast(RadioDeviceVersion))
        return;
    ReplyBuffer reply;
    if (pCommandManager->getParameter(reply.data(), "measurementtool kinwave_device %s",
                                      NumberedItem::device(index).c_str())
        != 0) {
        FailureLog::report(pCommandManager, tr("Error: Unable to get device info of MeasurementTool d0%1"),
                           NumberedItem::number(index));
        return;
    }
    if (reply.is(ReplyWord::None))
        return;
    // "<vendor> <model> <serial>"
    const QString text = QString::fromLatin1(reply.text());
    const QChar blank(QLatin1Char(' '));
    dev.vendor = text.section(blank, 0, 0);
    dev.model = text.section(blank, 1, 1);
    // The list shows exactly five characters: padded in front, or cut.
    dev.serial = text.section(blank, 2, 2).rightJustified(SerialLength, QLatin1Char('0'), true);
    readModelDescription(dev);
}

void MtSettingsDlg::updateTableDevices()
{
    QTableWidget *table = ui->tableWidget_availableMt;
    const int remembered = table->currentRow();
    table->clearContents();
    if (!backendAtLeast(RadioDeviceVersion) || !pCommandManager)
        return;

    int count = 0;
    if (pCommandManager->getIntParameter(&count, "measurementtool number_of_kinwave_devices") != 0) {
        FailureLog::report(pCommandManager, tr("Error: Unable to get number of Measurementtools"));
        count = 0;
    }
    count = qBound(0, count, MaxCount);

    table->setRowCount(count);
    for (int i = 0; i < count; ++i) {
        RadioDevice dev;
        readRadioDevice(i, dev);
        table->setItem(i, ColumnSortKey, new QTableWidgetItem(dev.vendor + dev.model + dev.serial));
        table->setItem(i, ColumnVendor, new QTableWidgetItem(dev.vendor));
        table->setItem(i, ColumnModelIntern, new QTableWidgetItem(dev.model));
        table->setItem(i, ColumnModelDesc, new QTableWidgetItem(dev.modelDesc));
        QTableWidgetItem *serial = new QTableWidgetItem(dev.serial);
        serial->setTextAlignment(Qt::AlignCenter);
        table->setItem(i, ColumnDeviceSerial, serial);
        table->setRowHeight(i, RowHeight);
    }
    table->sortItems(ColumnSortKey, Qt::AscendingOrder);
    columnsFitter->fit();
    // The row number stays current, whichever device now fills it.
    table->setCurrentCell(remembered, ColumnModelIntern);
}

double MtSettingsDlg::readTipDiameter(int index)
{
    if (!backendAtLeast(TipRadiusVersion))
        return 0.0;
    double radius = 0.0;
    if (pCommandManager->getDoubleParameter(&radius, "measurementtool tip_radius %s", NumberedItem::body(index).c_str())
            != 0
        || !(radius >= 0.0))
        radius = 0.0;
    const double diameter = 2.0 * radius;
    return std::isfinite(diameter) ? diameter : 0.0;
}

void MtSettingsDlg::loadTipDiameters()
{
    listTipDiameter.clear();
    for (int i = 0; i < iNumberOfMeaBodies; ++i)
        listTipDiameter.append(readTipDiameter(i));
}

void MtSettingsDlg::applyTipRadii()
{
    saveTipDiameters();
    for (int r = 0; r < ui->tableWidget_meaBodies->rowCount(); ++r) {
        const double radius = 0.5 * listTipDiameter.value(r, 0.0);
        const double current = 0.5 * readTipDiameter(r);
        if (radius == current)
            continue;
        if (pCommandManager->setParameter("measurementtool tip_radius %s %s", NumberedItem::body(r).c_str(),
                                          CNumber::fixed3(radius).c_str())
            != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to set tip radius of mea tool b0%1"),
                               NumberedItem::number(r));
    }
}

// ---------------------------------------------------------------------------
// Applying

void MtSettingsDlg::applyCount(const char *parameter, int wanted, const QString &failure)
{
    // An unreadable count counts as different.
    int current = -1;
    if (pCommandManager->getIntParameter(&current, "measurementtool %s", parameter) != 0)
        current = -1;
    if (current != wanted && pCommandManager->setParameter("measurementtool %s %d", parameter, wanted) != 0)
        FailureLog::report(pCommandManager, failure, wanted);
}

void MtSettingsDlg::applyReferences()
{
    for (int i = 0; i < iNumberOfMeaBodies; ++i) {
        const int reference = listRefOfMeaBody.value(i, -1);
        const int result = reference < 0
                               ? pCommandManager->setParameter("measurementtool reference_of_tool %s none",
                                                               NumberedItem::body(i).c_str())
                               : pCommandManager->setParameter("measurementtool reference_of_tool %s %s",
                                                               NumberedItem::body(i).c_str(),
                                                               NumberedItem::body(reference).c_str());
        if (result != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to set ref. body"));
    }
}

void MtSettingsDlg::applyDevices()
{
    for (int i = 0; i < iNumberOfMeaBodies; ++i) {
        const RadioDevice device = listDeviceOfMeaBody.value(i);
        const int result = device.isNone()
                               ? pCommandManager->setParameter("measurementtool device %s none",
                                                               NumberedItem::body(i).c_str())
                               : pCommandManager->setParameter("measurementtool device %s kinwave %s %s %s",
                                                               NumberedItem::body(i).c_str(),
                                                               device.vendor.toUtf8().constData(),
                                                               device.model.toUtf8().constData(),
                                                               device.serial.toUtf8().constData());
        if (result != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to set radio device"));
    }
}

void MtSettingsDlg::applyDoubleParameter(const char *parameter, double wanted, const QString &failure)
{
    for (int i = 0; i < iNumberOfMeaBodies; ++i) {
        const NumberedItem body = NumberedItem::body(i);
        // An unreadable value counts as different.
        double current = -1.0;
        if (pCommandManager->getDoubleParameter(&current, "measurementtool %s %s", parameter, body.c_str()) != 0)
            current = -1.0;
        if (current == wanted)
            continue;
        if (pCommandManager->setParameter("measurementtool %s %s %s", parameter, body.c_str(),
                                          CNumber::fixed3(wanted).c_str())
            != 0)
            FailureLog::report(pCommandManager, failure, twoDigits(NumberedItem::number(i)));
    }
}

void MtSettingsDlg::applyStartSimulation()
{
    const bool wanted = ui->checkBox_startSimulation->isChecked();
    for (int i = 0; i < iNumberOfMeaBodies; ++i) {
        const NumberedItem body = NumberedItem::body(i);
        ReplyBuffer reply;
        // An unreadable state matches neither box state.
        if (pCommandManager->getParameter(reply.data(), "measurementtool measurement_start_simulation %s", body.c_str())
                == 0
            && reply.is(ReplyWord::Yes) == wanted)
            continue;
        if (pCommandManager->setParameter("measurementtool measurement_start_simulation %s %s", body.c_str(),
                                          wanted ? ReplyWord::Yes : ReplyWord::No)
            != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to activate start simulation for body b%1"),
                               twoDigits(NumberedItem::number(i)));
    }
}

void MtSettingsDlg::applyOutputFormat()
{
    // An unreadable switch counts as the old format being on.
    bool oldFormat = true;
    if (pCommandManager->getBoolParameter(&oldFormat, "measurementtool output_6dmt") != 0)
        oldFormat = true;
    const bool wanted = ui->checkBox_useOldOutputFormat->isChecked();
    if (wanted && !oldFormat) {
        if (pCommandManager->setParameter("measurementtool output_6dmt yes") != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to set to old output format"));
    } else if (!wanted && oldFormat) {
        if (pCommandManager->setParameter("measurementtool output_6dmt no") != 0)
            FailureLog::report(pCommandManager, tr("Error: Unable to (un)set to old output format"));
    }
}

void MtSettingsDlg::on_pushButton_ok_clicked()
{
    if (!pCommandManager) {
        closeDialog();
        return;
    }
    applyCount("number_of_tools", iNumberOfMeaBodies, tr("Error: Unable to set number of mea tools = %1"));
    applyCount("number_of_references", iNumberOfRefBodies, tr("Error: Unable to set number of mea references = %1"));
    applyReferences();
    if (backendAtLeast(RadioDeviceVersion))
        applyDevices();

    if (iNumberOfMeaBodies > 0) {
        // Every tool gets the one value shown, which the load read from the first tool.
        applyDoubleParameter("measurement_duration", ui->doubleSpinBox_duration->value(),
                             tr("Error: Unable to set mea duration for body b%1"));
        applyDoubleParameter("measurement_tip_tolerance", ui->doubleSpinBox_tipTolerance->value(),
                             tr("Error: Unable to set tip tolerance for body b%1"));
        applyStartSimulation();
        applyDoubleParameter("measurement_start_angle", double(ui->spinBox_startAngle->value()),
                             tr("Error: Unable to set mea angular speed for body b%1"));
        applyDoubleParameter("measurement_start_lead_time", ui->doubleSpinBox_startLeadTime->value(),
                             tr("Error: Unable to set mea. start lead time for body b%1"));
    }

    if (backendAtLeast(OutputFormatVersion)) {
        applyOutputFormat();
        applyTipRadii();
    }
    closeDialog();
}

void MtSettingsDlg::restoreToolCount()
{
    if (iNumberOfMeaBodies == iLoadedNumberOfMeaBodies)
        return;
    if (pCommandManager->setParameter("measurementtool number_of_tools %d", iLoadedNumberOfMeaBodies) != 0)
        FailureLog::report(pCommandManager, tr("Error: Unable to set number of mea tools = %1"),
                           iLoadedNumberOfMeaBodies);
}

void MtSettingsDlg::restoreRefCount()
{
    if (iNumberOfRefBodies == iLoadedNumberOfRefBodies)
        return;
    if (pCommandManager->setParameter("measurementtool number_of_references %d", iLoadedNumberOfRefBodies) != 0)
        FailureLog::report(pCommandManager, tr("Error: Unable to set number of references = %1"),
                           iLoadedNumberOfRefBodies);
}

void MtSettingsDlg::on_pushButton_cancel_clicked()
{
    if (pCommandManager) {
        // The controller derives each kind's maximum from the other count:
        // with tools removed, the references go back first so the tools fit.
        if (iLoadedNumberOfMeaBodies > iNumberOfMeaBodies) {
            restoreRefCount();
            restoreToolCount();
        } else {
            restoreToolCount();
            restoreRefCount();
        }
    }
    closeDialog();
}

void MtSettingsDlg::closeDialog()
{
    if (timerDevices.isActive())
        timerDevices.stop();
    done(0);
}
