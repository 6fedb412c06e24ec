#ifndef MTDATADISPLAY_H
#define MTDATADISPLAY_H

#include <QList>
#include <QMutex>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "data/datalock.h"
#include "data/orvelparser.h"
#include "host/requester.h"

namespace Ui {
class MtDataDisplayClass;
}

class IOManager;
class QHideEvent;
class QShowEvent;
class QTableWidget;
struct BackendVersions;

// Live view of the measurement tools and references, docked in the host's
// window. The host hands it the data lines of the subscribed outputs and
// tells it when a measurement starts and stops; a timer redraws the tables.
// Every state colour also comes as a word, in the cell's tool tip and
// accessible name and description, for those who cannot tell the colours.
//
// The refresh holds mutexData from its start to its end, its controller
// queries included. A host that runs events during a command may hand in a
// line, a start or a stop between two of those queries, on our thread and
// so without the lock (the refresh holds it further up the same stack): the
// refresh reads the parser afresh after each query and stops drawing once a
// stop came. A host that calls the Requester operations from a thread of its
// own is serialised with the refresh by lockForHostThread().
class MtDataDisplay : public QWidget, public Requester
{
    Q_OBJECT

public:
    // Longest data line taken, its NUL included.
    static constexpr int LineBufferSize = 10240;

    MtDataDisplay(IOManager *commandManager, QWidget *parent, BackendVersions *backendVersions);
    ~MtDataDisplay() override;

    // 0: the parser took the line; -1: refused (or too long); -2: no measurement runs.
    int handleDataLine(const char *outputType, const char *line) override;
    int measurementStarted() override;
    int measurementStopped() override;

    // Asks the host to register this display again as a receiver of data and start/stop.
    void renewRegistration();

private slots:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void onUpdateDataDisplay();
    void set_mea_started_deferred();

private:
    void runOnOwnThread(const std::function<void()> &work);
    std::optional<DataLock> lockForHostThread();
    bool stoppedDuringRefresh() const { return stopCount != stopCountAtRefresh; }
    bool isAvailable();
    void checkOutputFormat();
    void activateOutputs();
    int readMaximum(const char *parameter);

    void setupToolTable();
    void setupRefTable();
    void updateToolTable();
    void updateRefTable();
    void drawRows(QTableWidget *table, int count, bool (MtDataDisplay::*rebuildRow)(QTableWidget *, int),
                  void (MtDataDisplay::*drawRow)(QTableWidget *, int));
    bool rebuildToolRow(QTableWidget *table, int row);
    void drawToolRow(QTableWidget *table, int row);
    bool rebuildRefRow(QTableWidget *table, int row);
    void drawRefRow(QTableWidget *table, int row);
    QString refLabelOfTool(int row);
    void updateRefCellOfTool(int row);
    bool queryYes(const char *format, int index);

    std::unique_ptr<Ui::MtDataDisplayClass> ui;
    BackendVersions *pBackendVersions;
    IOManager *pCommandManager;
    QMutex mutexData;
    QTimer timerUpdate;
    std::unique_ptr<char[]> lineBuffer;
    QList<int> listRefOfTool;
    QList<bool> listToolCalibrated;
    QList<bool> listRefCalibrated;
    std::unique_ptr<OrvelParser> pParser;
    bool bOutput6dmt;
    bool bOutputsActivated;
    bool bAvailable;

    bool bRefreshing = false;
    // Stops so far, and at the start of the running refresh (our thread only).
    unsigned int stopCount = 0;
    unsigned int stopCountAtRefresh = 0;
};

#endif // MTDATADISPLAY_H
