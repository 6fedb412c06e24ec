#ifndef MTSETTINGSDLG_H
#define MTSETTINGSDLG_H

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QTimer>
#include <memory>

#include "host/requester.h"
#include "settings/doublespinboxdelegate.h"
#include "settings/pointmeasurement.h"
#include "settings/radiodevice.h"

namespace Ui {
class MtSettingsDlgClass;
}

class DeviceColumnsFitter;
class IOManager;
class QKeyEvent;
class QResizeEvent;
class QSpinBox;
class QTableWidget;
class SettingsReader;
class ToolAssignments;
struct BackendVersions;

// The measurement tool settings. Each opening loads everything from the
// controller. The two counts go to the controller the moment they change,
// because the controller derives its limits from them, and Cancel puts them
// back; everything else is held here and written on OK, only where the
// controller's value differs. The dialog keeps the state and the order of
// things; SettingsReader and SettingsWriter hold its controller texts, the
// table classes how its tables look.
class MtSettingsDlg : public QDialog, public Requester
{
    Q_OBJECT

public:
    // Every count the controller reports (tools, references, their maxima,
    // radio devices) drives a loop of queries and table rows. No controller
    // comes near this many; a corrupt reply above it is read as this many
    // (and one below 0 as 0), so that it can neither hang the dialog, nor
    // exhaust its memory, nor overflow the arithmetic on rows.
    static constexpr int MaxCount = 100000;
    static constexpr int DeviceRefreshMs = 1000;

    MtSettingsDlg(IOManager *commandManager, QWidget *parent, BackendVersions *backendVersions);
    ~MtSettingsDlg() override;

public slots:
    // Loads the dialog's state from the controller, then runs it modally.
    int update_and_exec();

private slots:
    void on_tableWidget_refBodies_cellClicked(int row, int column);
    void on_tableWidget_availableMt_cellClicked(int row, int column);
    void on_tableWidget_meaBodies_cellClicked(int row, int column);
    void on_tabWidget_currentChanged(int index);
    void on_pushButton_deselect_clicked();
    void on_pushButton_select_clicked();
    void on_doubleSpinBox_startLeadTime_valueChanged(double value);
    void on_spinBox_startAngle_valueChanged(int value);
    void on_doubleSpinBox_tipTolerance_valueChanged(double value);
    void on_doubleSpinBox_duration_valueChanged(double value);
    void on_spinBox_noOfRefBodies_valueChanged(int iNewNumberOfRefBodies);
    void on_spinBox_noOfMeaBodies_valueChanged(int iNewNumberOfMeaBodies);
    void on_checkBox_startSimulation_stateChanged(int state);
    void on_pushButton_ok_clicked();
    void on_pushButton_cancel_clicked();
    void updateTableDevices();
    // Every way of closing without OK reverts like Cancel.
    void reject() override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Loading and enabling
    void loadSettings();
    SettingsReader reader() const;
    bool readMaximum(const char *parameter, int *maximum, QSpinBox *spinBox);
    void readLoadedCount(const char *parameter, int *number, int *loaded, QSpinBox *spinBox);
    void setAvailable(bool available);
    void disableForLock();
    void enableMeasurementParameters(bool enable);
    void enableStartSimulationParameters(bool enable);
    void readDuration();
    void readTipTolerance();
    void readStartSimulation();
    void readStartAngle();
    void readStartLeadTime();
    double readFirstToolParameter(const char *parameter, double defaultValue, const QString &failure);
    void readMeasurementParameters();
    PointMeasurement shownParameters() const;
    void showParametersQuietly(const PointMeasurement &values);
    void restoreCurrentCell(QTableWidget *table, int &iRememberedRow);

    // Tools and references
    void setupMeaBodiesTable();
    void loadAssignments();
    void appendTool(int index);
    int queryReferenceOfTool(int index);
    ToolAssignments assignments();
    void fillMeaBodiesTable();
    void fillRefBodiesTable();
    void saveTipDiameters();
    enum class Tables { Tools, ToolsAndReferences };
    void rebuildTables(Tables rebuilt);
    void restoreRowsAndUpdateButtons(Tables rebuilt);
    void updateSelectButton();
    void updateDeselectButton();
    void updateLimitsLabel();

    // Radio devices and tip radius
    void setupAvailableMtTable();
    int readToolDevice(int index, RadioDevice &dev);
    void readModelDescription(RadioDevice &dev);
    void readRadioDevice(int index, RadioDevice &dev);
    void loadTipDiameters();
    void applyTipRadii();

    void closeDialog();

    std::unique_ptr<Ui::MtSettingsDlgClass> ui;
    IOManager *pCommandManager;
    BackendVersions *pBackendVersions;
    QWidget *pMainWindow;
    bool bLoaded = false;
    int iLoadedNumberOfMeaBodies = 0;
    int iNumberOfMeaBodies = 0;
    int iMaxNumberOfMeaBodies = 0;
    int iLoadedNumberOfRefBodies = 0;
    int iNumberOfRefBodies = 0;
    int iMaxNumberOfRefBodies = 0;
    QList<int> listRefOfMeaBody;
    QList<int> listChosenRefOfMeaBody;
    QList<RadioDevice> listDeviceOfMeaBody;
    QList<double> listTipDiameter;
    double dDuration = PointMeasurement::DefaultDuration;
    double dTipTolerance = PointMeasurement::DefaultTipTolerance;
    bool bStartSimulation = false;
    double dStartAngle = PointMeasurement::DefaultStartAngle;
    double dStartLeadTime = PointMeasurement::DefaultStartLeadTime;
    int iCurrentMeaBodyRow = 0;
    int iCurrentSourceRow = 0;
    bool bLocked = false;
    QIcon iconLock;
    DoubleSpinboxDelegate delegateTipDiameter;
    // Owned by the device list; made with it, before the first load.
    DeviceColumnsFitter *columnsFitter = nullptr;
    QTimer timerDevices;
};

#endif // MTSETTINGSDLG_H
