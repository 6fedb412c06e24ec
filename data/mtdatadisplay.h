#ifndef MTDATADISPLAY_H
#define MTDATADISPLAY_H

#include <QList>
#include <QMutex>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "data/bodyrecord.h"
#include "data/meatoolrecord.h"
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
//
// The Requester calls may come from a thread of the host's: every use of
// the parser, from any thread, holds mutexData. The refresh holds it only to
// copy the records: its controller queries may run a nested event loop in
// which the host hands in the next line.
class MtDataDisplay : public QWidget, public Requester
{
    Q_OBJECT

public:
    // Longest data line taken, its NUL included.
    static constexpr int LineBufferSize = OrvelParser::MaxLineLength;

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
    bool isAvailable();
    void checkOutputFormat();
    void activateOutputs();
    int readMaximum(const char *parameter);

    void setupToolTable();
    void setupRefTable();
    void updateToolTable();
    void updateRefTable();
    void takeSnapshot();
    void rebuildToolRows(int count);
    void rebuildRefRows(int count);
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

    // The records as the last refresh copied them; capacity is kept, so a
    // steady stream costs no allocation.
    std::vector<MeaToolRecord> toolSnapshot;
    std::vector<BodyRecord> refSnapshot;
    bool bRefreshing = false;
    // A stop cancels a start that has not run yet.
    std::atomic<bool> bStartPending{false};
};

#endif // MTDATADISPLAY_H
