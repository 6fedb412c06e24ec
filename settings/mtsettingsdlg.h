#ifndef MTSETTINGSDLG_H
#define MTSETTINGSDLG_H

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QTimer>
#include <memory>

#include "host/requester.h"
#include "settings/doublespinboxdelegate.h"
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
struct BackendVersions;

// The measurement tool settings. Each opening loads everything from the
// controller. The two counts go to the controller the moment they change,
// because the controller derives its limits from them, and Cancel puts them
// back; everything else is held here and written on OK, only where the
// controller's value differs.
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
    bool checkLocked();
    void setAvailable(bool available);
    void enableMeasurementParameters(bool enable);
    void enableStartSimulationParameters(bool enable);
    void readDuration();
    void readTipTolerance();
    void readStartSimulation();
    void readStartAngle();
    void readStartLeadTime();
    void readMeasurementParameters();
    void storeMeasurementParameters();
    void restoreCurrentCell(QTableWidget *table, int &iRememberedRow);

    // Tools and references
    void setupMeaBodiesTable();
    void setupRefBodiesTable();
    void loadAssignments();
    void appendTool(int index);
    int queryReferenceOfTool(int index);
    void fillMeaBodiesTable();
    void refillMeaBodiesTable();
    void fillRefBodiesTable();
    void saveTipDiameters();
    void updateSelectButton();
    void updateDeselectButton();
    void updateLimitsLabel();
    void afterToolTableRebuilt();
    void rereadMaximum(const char *parameter, int *maximum, QSpinBox *spinBox);
    void showParametersQuietly(double duration, double tipTolerance, bool startSimulation, double startAngle,
                               double startLeadTime);

    // Radio devices and tip radius
    void setupAvailableMtTable();
    int readToolDevice(int index, RadioDevice &dev);
    void readModelDescription(RadioDevice &dev);
    void readRadioDevice(int index, RadioDevice &dev);
    void loadTipDiameters();
    double readTipDiameter(int index);
    void applyTipRadii();

    // Applying
    void applyCount(const char *parameter, int wanted, const QString &failure);
    void applyReferences();
    void applyDevices();
    void applyDoubleParameter(const char *parameter, double wanted, const QString &failure);
    void applyStartSimulation();
    void applyOutputFormat();
    void restoreToolCount();
    void restoreRefCount();
    void closeDialog();

    bool backendAtLeast(int minor) const;
    int readCount(const char *parameter, int *value);
    QString noneText() const;

    std::unique_ptr<Ui::MtSettingsDlgClass> ui;
    IOManager *pCommandManager;
    BackendVersions *pBackendVersions;
    QWidget *pMainWindow;
    bool bLoaded;
    int iLoadedNumberOfMeaBodies;
    int iNumberOfMeaBodies;
    int iMaxNumberOfMeaBodies;
    int iLoadedNumberOfRefBodies;
    int iNumberOfRefBodies;
    int iMaxNumberOfRefBodies;
    QList<int> listRefOfMeaBody;
    QList<int> listChosenRefOfMeaBody;
    QList<RadioDevice> listDeviceOfMeaBody;
    QList<double> listTipDiameter;
    double dDuration;
    double dTipTolerance;
    bool bStartSimulation;
    double dStartAngle;
    double dStartLeadTime;
    int iCurrentMeaBodyRow;
    int iCurrentSourceRow;
    bool bLocked;
    QIcon iconLock;
    DoubleSpinboxDelegate delegateTipDiameter;
    // Owned by the device list; made with it, before the first load.
    DeviceColumnsFitter *columnsFitter = nullptr;
    QTimer timerDevices;
};

#endif // MTSETTINGSDLG_H
