#include "tipcalibration/mtresultdlg.h"

#include <QHeaderView>
#include <QLayout>
#include <QTableWidgetItem>
#include <climits>

#include "host/failurelog.h"
#include "host/iomanager.h"
#include "host/numbereditem.h"
#include "host/replybuffer.h"

namespace {

constexpr int ToolColumn = 0;
constexpr int ReferenceColumn = 1;
constexpr int ResidualColumn = 2;
constexpr int RowHeight = 28;

// A body id such as "b01" shown as the prefix and the plain number ("M1").
QString bodyText(const QString &prefix, const char *bodyId)
{
    int number = 0; // what cannot be read shows as 0
    NumberedItem::readNumber(bodyId, &number);
    return prefix + QString::number(number);
}

} // namespace

MtResultDlg::MtResultDlg(IOManager *commandManager, QWidget *parent)
    : QDialog(parent)
    , pCommandManager(commandManager)
{
    ui.setupUi(this);
    QTableWidget *table = ui.tableWidget;
    table->setColumnCount(3);
    table->setRowCount(1);
    table->setHorizontalHeaderLabels({tr("Measurement Tool ID"), tr("Reference ID"), tr("Tool tip residual [mm]")});
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionsClickable(false);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->resizeColumnsToContents();
}

int MtResultDlg::update_and_exec()
{
    QString toolText;
    QString referenceText;
    double residual = 0.0;

    if (pCommandManager) {
        ReplyBuffer toolId;
        if (pCommandManager->getParameter(toolId.data(), "measurementtool calibration_body_id") != 0) {
            FailureLog::report(pCommandManager, tr("Error: Unable to get tool id"));
        } else {
            toolText = bodyText(QStringLiteral("M"), toolId.text());
            ReplyBuffer reference;
            if (pCommandManager->getParameter(reference.data(), "measurementtool reference_of_tool %s", toolId.text())
                != 0)
                FailureLog::report(pCommandManager, tr("Error: Unable to get reference body id"));
            else if (!reference.is(ReplyWord::None))
                referenceText = bodyText(QStringLiteral("MR"), reference.text());
        }
        if (pCommandManager->getDoubleParameter(&residual, "measurementtool calibration_tip_residual") != 0) {
            FailureLog::report(pCommandManager, tr("Error: Unable to get tool tip residual"));
            residual = 0.0;
        }
    }

    QTableWidget *table = ui.tableWidget;
    table->setItem(0, ToolColumn, new QTableWidgetItem(toolText));
    table->setItem(0, ReferenceColumn, new QTableWidgetItem(referenceText));
    QTableWidgetItem *residualItem = new QTableWidgetItem(QString::number(residual, 'f', 2));
    residualItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(0, ResidualColumn, residualItem);
    table->setRowHeight(0, RowHeight);
    fitColumns();

    return exec();
}

// The form's width suits the fonts it was drawn with; with wider ones the
// dialog grows so that no heading or value is cut.
void MtResultDlg::fitColumns()
{
    QTableWidget *table = ui.tableWidget;
    QHeaderView *header = table->horizontalHeader();
    // What every column needs, the stretched last one included.
    header->setStretchLastSection(false);
    table->resizeColumnsToContents();
    const int needed = header->length();
    header->setStretchLastSection(true);

    layout()->activate();
    const int missing = needed - table->contentsRect().width();
    if (missing > 0)
        resize(width() + missing, height());
}

void MtResultDlg::on_pushButton_cancel_clicked()
{
    done(-1);
}

void MtResultDlg::on_pushButton_accept_clicked()
{
    ReplyBuffer reply;
    if (!pCommandManager
        || pCommandManager->sendCommand(reply.data(), "orvel2 measurementtool accept_new_calibration") != 0
        || !reply.is(ReplyWord::Ok)) {
        FailureLog::report(pCommandManager, tr("Error: Unable to accept calibration"));
        done(-1);
        return;
    }
    done(0);
}
