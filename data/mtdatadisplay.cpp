#include "data/mtdatadisplay.h"

#include <QBrush>
#include <QHeaderView>
#include <QTableWidget>
#include <QTableWidgetItem>
#include <QThread>
#include <climits>
#include <cstring>

#include "data/datalock.h"
#include "data/orvelparser.h"
#include "data/rotationangles.h"
#include "host/cnumber.h"
#include "host/controllerfacts.h"
#include "host/iomanager.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"
#include "host/versiongate.h"
#include "ui_mtdatadisplay.h"

namespace {

// The output types this display reads, in the order they are subscribed.
constexpr const char *OutputTypes[] = {"6dmt", "6dmt2", "6dmtr"};

constexpr int RefreshMs = 200;
constexpr int MinimumListSize = 4;
// No data line can carry more records than this, whatever the controller claims.
constexpr int MaximumListSize = qMax(OrvelParser::MaxTools, OrvelParser::MaxToolRefs);
constexpr double NotTracked = -1.0;

// Tool table columns.
constexpr int ToolIdColumn = 0;
constexpr int ToolRefColumn = 2;
constexpr int FirstButtonColumn = 4;
constexpr int ShownButtons = 4; // a tool may carry up to 16; the first four have a cell
constexpr int ToolPosColumn = 12;
constexpr int ToolColumns = 19;

// Reference table columns.
constexpr int RefIdColumn = 1;
constexpr int RefPosColumn = 3;
constexpr int RefColumns = 10;

constexpr Qt::Alignment IdAlignment = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment NumberAlignment = Qt::AlignRight | Qt::AlignVCenter;

struct Column
{
    const char *label;
    int width; // 0: the last column, which stretches
};

constexpr Column ToolTableColumns[ToolColumns] = {
    {"tool ID", 80}, {"", 10},       {"reference ID", 80}, {"", 10},         {"", 26},         {"", 10},
    {"b1", 26},      {"", 10},       {"b2", 26},           {"", 10},         {"b3", 26},       {"", 10},
    {"x [mm]", 80},  {"y [mm]", 80}, {"z [mm]", 80},       {"rx [deg]", 80}, {"ry [deg]", 80}, {"rz [deg]", 80},
    {"", 0},
};

constexpr Column RefTableColumns[RefColumns] = {
    {"", 90},       {"reference ID", 80}, {"", 36},         {"x [mm]", 80},   {"y [mm]", 80},
    {"z [mm]", 80}, {"rx [deg]", 80},     {"ry [deg]", 80}, {"rz [deg]", 80}, {"", 0},
};

template <int N>
void setupTable(QTableWidget *table, const Column (&columns)[N], int firstNumberColumn)
{
    table->setColumnCount(N);
    table->setRowCount(0);
    // The narrow gap columns must not be widened to the style's minimum.
    table->horizontalHeader()->setMinimumSectionSize(1);
    QStringList labels;
    for (const Column &column : columns)
        labels.append(QString::fromLatin1(column.label));
    table->setHorizontalHeaderLabels(labels);
    for (int c = 0; c < N; ++c) {
        if (columns[c].width > 0)
            table->setColumnWidth(c, columns[c].width);
        if (c >= firstNumberColumn)
            table->horizontalHeaderItem(c)->setTextAlignment(NumberAlignment);
    }
    QHeaderView *header = table->horizontalHeader();
    header->setMinimumHeight(28);
    header->setSectionResizeMode(N - 1, QHeaderView::Stretch);
    table->verticalHeader()->setDefaultSectionSize(20);
    table->verticalHeader()->hide();
}

QTableWidgetItem *newItem(const QString &text, Qt::Alignment alignment)
{
    QTableWidgetItem *item = new QTableWidgetItem(text);
    item->setTextAlignment(int(alignment));
    return item;
}

// The number cells show "-" until a calibrated body is first tracked, a blank otherwise.
void fillNumberCells(QTableWidget *table, int row, int firstColumn, bool calibrated)
{
    const QString filler = calibrated ? QStringLiteral("-") : QStringLiteral(" ");
    for (int c = firstColumn; c < table->columnCount(); ++c)
        table->setItem(row, c, newItem(filler, NumberAlignment));
}

// A state-coloured cell's state. Each comes with its colour and a word for
// tool tips and assistive technology; the cell keeps its state in StateRole,
// so a refresh touches it only when the state changes.
enum class CellState { Unset, NoState, Tracked, NotTracked, Pressed, NotPressed, NotCalibrated };
constexpr int StateRole = Qt::UserRole;

struct StateLook
{
    Qt::GlobalColor background;
    bool blackText;
    const char *word; // null: nothing to tell
};

constexpr StateLook StateLooks[] = {
    {Qt::transparent, false, nullptr}, // Unset: a new cell, never given a state
    {Qt::transparent, false, nullptr},
    {Qt::green, true, QT_TRANSLATE_NOOP("MtDataDisplay", "tracked")},
    {Qt::red, true, QT_TRANSLATE_NOOP("MtDataDisplay", "not tracked")},
    {Qt::blue, false, QT_TRANSLATE_NOOP("MtDataDisplay", "pressed")},
    {Qt::transparent, false, QT_TRANSLATE_NOOP("MtDataDisplay", "not pressed")},
    {Qt::transparent, false, QT_TRANSLATE_NOOP("MtDataDisplay", "not calibrated")},
};

// The word goes beside the cell's own text, which stays as it is drawn.
void setState(QTableWidget *table, int row, int column, CellState state)
{
    QTableWidgetItem *item = table->item(row, column);
    if (!item || item->data(StateRole).toInt() == int(state))
        return;
    const StateLook &look = StateLooks[int(state)];
    item->setData(StateRole, int(state));
    if (look.blackText)
        item->setForeground(QBrush(Qt::black));
    item->setBackground(QBrush(look.background));
    QVariant word, name;
    if (look.word) {
        const QString text = MtDataDisplay::tr(look.word);
        word = text;
        name = item->text().isEmpty() ? text : QStringLiteral("%1, %2").arg(item->text(), text);
    }
    item->setData(Qt::ToolTipRole, word);
    item->setData(Qt::AccessibleDescriptionRole, word);
    item->setData(Qt::AccessibleTextRole, name);
}

// Uncalibrated, or beyond the kept states and so not known.
CellState uncalibrated(const QList<bool> &calibrated, int index)
{
    return index >= 0 && index < calibrated.size() ? CellState::NotCalibrated : CellState::NoState;
}

void setNumber(QTableWidget *table, int row, int column, double value)
{
    if (QTableWidgetItem *item = table->item(row, column))
        item->setText(QString::fromLatin1(CNumber::Fixed(value, 2).c_str()));
}

// Position and the three angles into six consecutive cells.
void showPose(QTableWidget *table, int row, int firstColumn, const double (&pos)[3], const double (&rot)[9])
{
    const RotationAngles angles(rot);
    const double values[6] = {pos[0], pos[1], pos[2], angles.rx, angles.ry, angles.rz};
    for (int i = 0; i < 6; ++i)
        setNumber(table, row, firstColumn + i, values[i]);
}

// The id cell says whether the record is tracked; only a tracked one shows its pose.
template <typename Record>
void showTracking(QTableWidget *table, int row, int idColumn, int posColumn, const Record &record)
{
    const bool tracked = record.quality != NotTracked;
    setState(table, row, idColumn, tracked ? CellState::Tracked : CellState::NotTracked);
    if (tracked)
        showPose(table, row, posColumn, record.pos, record.rot);
}

// The record a row shows: only a calibrated body's, and none when a line
// during the rebuild had fewer records. Any other row's id cell says why it
// shows nothing; rows beyond the controller's maximum have no state to show.
template <typename Record>
const Record *recordToShow(QTableWidget *table, int row, int idColumn, const QList<bool> &calibrated,
                           const Record *record)
{
    if (calibrated.value(row, false))
        return record;
    setState(table, row, idColumn, uncalibrated(calibrated, row));
    return nullptr;
}

} // namespace

MtDataDisplay::MtDataDisplay(IOManager *commandManager, QWidget *parent, BackendVersions *backendVersions)
    : QWidget(parent)
    , ui(new Ui::MtDataDisplayClass)
{
    ui->setupUi(this);

    pCommandManager = commandManager;
    pBackendVersions = backendVersions;
    bOutput6dmt = true;
    bOutputsActivated = false;
    bAvailable = isAvailable();
    lineBuffer.reset(new char[LineBufferSize]);

    if (pCommandManager)
        pCommandManager->addRequester(this);

    checkOutputFormat();
    activateOutputs();

    setupToolTable();
    setupRefTable();

    int maxTools = MinimumListSize;
    int maxRefs = MinimumListSize;
    if (VersionGate::supports(pBackendVersions, Feature::MeasurementTool)) {
        maxTools = readMaximum("measurementtool max_number_of_tools");
        maxRefs = readMaximum("measurementtool max_number_of_references");
    }
    const int size = qMin(qMax(maxTools, maxRefs), MaximumListSize);
    for (int i = 0; i < size; ++i) {
        listRefOfTool.append(-1);
        listToolCalibrated.append(false);
        listRefCalibrated.append(false);
    }

    timerUpdate.setInterval(RefreshMs);
    connect(&timerUpdate, &QTimer::timeout, this, &MtDataDisplay::onUpdateDataDisplay);
}

// The host keeps our registration and must not call us once we are gone:
// what it does with a destroyed requester is its own matter.
MtDataDisplay::~MtDataDisplay() = default;

int MtDataDisplay::handleDataLine(const char *, const char *line)
{
    const std::optional<DataLock> lock = lockForHostThread();
    if (!pParser)
        return -2;
    if (!line)
        return -1;
    // The parser takes a writable line; the host's is not ours to hand on.
    const size_t length = strnlen(line, LineBufferSize);
    if (length >= size_t(LineBufferSize))
        return -1;
    std::memcpy(lineBuffer.get(), line, length + 1);
    char *cursor = lineBuffer.get();
    return pParser->parseDataLine(&cursor) ? 0 : -1;
}

// The start runs outside the host's call, on our own thread.
int MtDataDisplay::measurementStarted()
{
    runOnOwnThread([this] { QTimer::singleShot(1, this, &MtDataDisplay::set_mea_started_deferred); });
    return 0;
}

// The parser goes at once, whichever thread the host calls from; the timer
// and the tables belong to our own thread, and a refresh running there (the
// host's events during one of its queries brought us here) sees the stop.
int MtDataDisplay::measurementStopped()
{
    runOnOwnThread([this] {
        ++stopCount;
        timerUpdate.stop();
        ui->tableWidget6dmt->setRowCount(0);
        ui->tableWidget6dmtref->setRowCount(0);
    });
    const std::optional<DataLock> lock = lockForHostThread();
    pParser.reset();
    return 0;
}

void MtDataDisplay::runOnOwnThread(const std::function<void()> &work)
{
    if (QThread::currentThread() == thread())
        work();
    else
        QMetaObject::invokeMethod(this, work, Qt::QueuedConnection);
}

// On our own thread the Requester calls take no lock: they come either
// between two refreshes or during one, from an event loop that the host runs
// in one of the refresh's queries, with the lock held further up this very
// stack. From a thread of the host's they must wait for the refresh, which
// holds the lock across its queries: such a host must not need that thread
// to answer a query of ours.
std::optional<DataLock> MtDataDisplay::lockForHostThread()
{
    if (QThread::currentThread() == thread())
        return std::nullopt;
    return std::optional<DataLock>(std::in_place, mutexData);
}

void MtDataDisplay::renewRegistration()
{
    if (pCommandManager)
        pCommandManager->renewRequester(this, nullptr, 0);
}

void MtDataDisplay::showEvent(QShowEvent *)
{
    if (!pCommandManager)
        return;
    for (const char *type : OutputTypes)
        pCommandManager->subscribeOutput(type, this);
}

void MtDataDisplay::hideEvent(QHideEvent *)
{
    if (!pCommandManager)
        return;
    for (const char *type : OutputTypes)
        pCommandManager->unsubscribeOutput(type, this);
}

void MtDataDisplay::onUpdateDataDisplay()
{
    // A call during a rebuild's queries (a direct one: Qt does not deliver
    // the timer's timeout again while its slot runs) would wait for the lock
    // this thread already holds; the refresh under way goes on instead.
    if (bRefreshing)
        return;
    bRefreshing = true;
    stopCountAtRefresh = stopCount;
    {
        DataLock lock(mutexData);
        updateToolTable();
        updateRefTable();
    }
    bRefreshing = false;
}

void MtDataDisplay::set_mea_started_deferred()
{
    if (!bAvailable)
        bAvailable = isAvailable();
    checkOutputFormat();
    activateOutputs();
    {
        // Serialised with a host thread's lines; inside a refresh (the host's
        // events during one of its queries) the lock is ours already.
        std::optional<DataLock> lock;
        if (!bRefreshing)
            lock.emplace(mutexData);
        if (!pParser)
            pParser.reset(new OrvelParser);
    }
    timerUpdate.start(RefreshMs);
}

bool MtDataDisplay::isAvailable()
{
    return ControllerFacts::measurementToolAvailable(pCommandManager, pBackendVersions);
}

void MtDataDisplay::checkOutputFormat()
{
    if (!bAvailable || !VersionGate::supports(pBackendVersions, Feature::OutputFormat))
        return;
    bool output6dmt = true;
    if (pCommandManager->getBoolParameter(&output6dmt, "measurementtool output_6dmt") != 0)
        output6dmt = true;
    if (output6dmt != bOutput6dmt) {
        bOutput6dmt = output6dmt;
        bOutputsActivated = false;
    }
}

// Once per format: the controller keeps an output on until told otherwise.
void MtDataDisplay::activateOutputs()
{
    if (!bAvailable || bOutputsActivated)
        return;
    pCommandManager->setParameter(bOutput6dmt ? "output active chmon 6dmt yes" : "output active chmon 6dmt2 yes");
    pCommandManager->setParameter("output active chmon 6dmtr yes");
    bOutputsActivated = true;
}

int MtDataDisplay::readMaximum(const char *parameter)
{
    int maximum = MinimumListSize;
    if (!pCommandManager || pCommandManager->getIntParameter(&maximum, "%s", parameter) != 0)
        maximum = MinimumListSize;
    return qMax(maximum, MinimumListSize);
}

void MtDataDisplay::setupToolTable()
{
    setupTable(ui->tableWidget6dmt, ToolTableColumns, ToolPosColumn);
}

void MtDataDisplay::setupRefTable()
{
    setupTable(ui->tableWidget6dmtref, RefTableColumns, RefPosColumn);
}

// The queries of a rebuild may run the host's events, and with them more
// lines or a stop. A table whose count of records changed is rebuilt row by
// row, each row's queries before its items: after a stop during one of them
// there is no row left to fill and nothing more is asked. The records are
// read after the last query, and nothing is drawn once a stop came.
void MtDataDisplay::drawRows(QTableWidget *table, int count, bool (MtDataDisplay::*rebuildRow)(QTableWidget *, int),
                             void (MtDataDisplay::*drawRow)(QTableWidget *, int))
{
    if (stoppedDuringRefresh())
        return;
    if (count != table->rowCount()) {
        table->clearContents();
        table->setRowCount(count);
        for (int r = 0; r < count; ++r) {
            if (!(this->*rebuildRow)(table, r))
                return;
        }
    }
    for (int r = 0; r < count; ++r)
        (this->*drawRow)(table, r);
}

void MtDataDisplay::updateToolTable()
{
    drawRows(ui->tableWidget6dmt, pParser ? pParser->toolCount() : 0, &MtDataDisplay::rebuildToolRow,
             &MtDataDisplay::drawToolRow);
}

// False when a stop came during the row's queries.
bool MtDataDisplay::rebuildToolRow(QTableWidget *table, int r)
{
    // Rows beyond the controller's maximum have no state to keep: not asked, not shown.
    const bool kept = r < listToolCalibrated.size();
    const QString refLabel = kept ? refLabelOfTool(r) : QString();
    const bool bodyCalibrated = kept && !stoppedDuringRefresh() && queryYes("body calibrated measurementtool %s", r);
    const bool calibrated
        = bodyCalibrated && !stoppedDuringRefresh() && queryYes("measurementtool tip_calibrated %s", r);
    if (stoppedDuringRefresh())
        return false;
    if (kept)
        listToolCalibrated[r] = calibrated;
    table->setItem(r, ToolIdColumn, newItem(QStringLiteral("M%1").arg(NumberedItem::number(r)), IdAlignment));
    table->setItem(r, ToolRefColumn, newItem(refLabel, IdAlignment));
    for (int i = 0; i < ShownButtons; ++i)
        table->setItem(r, FirstButtonColumn + 2 * i, newItem(QString(), NumberAlignment));
    fillNumberCells(table, r, ToolPosColumn, calibrated);
    return true;
}

void MtDataDisplay::drawToolRow(QTableWidget *table, int r)
{
    const MeaToolRecord *tool
        = recordToShow(table, r, ToolIdColumn, listToolCalibrated, pParser ? pParser->toolAt(r) : nullptr);
    if (tool) {
        const int buttons = qMin(tool->buttonCount, ShownButtons);
        for (int i = 0; i < buttons; ++i) {
            const CellState button = tool->buttons[i] == 1 ? CellState::Pressed : CellState::NotPressed;
            setState(table, r, FirstButtonColumn + 2 * i, button);
        }
        showTracking(table, r, ToolIdColumn, ToolPosColumn, *tool);
    }
    updateRefCellOfTool(r);
}

void MtDataDisplay::updateRefTable()
{
    drawRows(ui->tableWidget6dmtref, pParser ? pParser->toolRefCount() : 0, &MtDataDisplay::rebuildRefRow,
             &MtDataDisplay::drawRefRow);
}

// As a tool row: the query first, the items only while no stop came.
bool MtDataDisplay::rebuildRefRow(QTableWidget *table, int r)
{
    const bool kept = r < listRefCalibrated.size();
    const bool calibrated = kept && queryYes("body calibrated measurementtool_reference %s", r);
    if (stoppedDuringRefresh())
        return false;
    if (kept)
        listRefCalibrated[r] = calibrated;
    table->setItem(r, RefIdColumn, newItem(QStringLiteral("MR%1").arg(NumberedItem::number(r)), IdAlignment));
    fillNumberCells(table, r, RefPosColumn, calibrated);
    return true;
}

void MtDataDisplay::drawRefRow(QTableWidget *table, int r)
{
    const BodyRecord *ref
        = recordToShow(table, r, RefIdColumn, listRefCalibrated, pParser ? pParser->toolRefAt(r) : nullptr);
    if (ref)
        showTracking(table, r, RefIdColumn, RefPosColumn, *ref);
}

QString MtDataDisplay::refLabelOfTool(int row)
{
    int refIndex = -1;
    QString label;
    ReplyBuffer reply;
    if (pCommandManager
        && pCommandManager->getParameter(reply.data(), "measurementtool reference_of_tool %s",
                                         NumberedItem::body(row).c_str())
            == 0
        && !reply.is(ReplyWord::None)) {
        int number = 0;
        if (NumberedItem::readNumber(reply.text(), &number) && number > INT_MIN) {
            refIndex = number - 1;
            label = QStringLiteral("MR%1").arg(number);
        }
    }
    if (row < listRefOfTool.size())
        listRefOfTool[row] = refIndex;
    return label;
}

void MtDataDisplay::updateRefCellOfTool(int row)
{
    QTableWidget *table = ui->tableWidget6dmt;
    const int k = listRefOfTool.value(row, -1);
    if (k < 0 || !listRefCalibrated.value(k, false)) {
        setState(table, row, ToolRefColumn, uncalibrated(listRefCalibrated, k));
        return;
    }
    // A reference without a record in the current data reads as not tracked.
    const BodyRecord *ref = pParser ? pParser->toolRefAt(k) : nullptr;
    const bool tracked = ref && ref->quality != NotTracked;
    setState(table, row, ToolRefColumn, tracked ? CellState::Tracked : CellState::NotTracked);
}

bool MtDataDisplay::queryYes(const char *format, int index)
{
    ReplyBuffer reply;
    return pCommandManager
        && pCommandManager->getParameter(reply.data(), format, NumberedItem::body(index).c_str()) == 0
        && reply.is(ReplyWord::Yes);
}
