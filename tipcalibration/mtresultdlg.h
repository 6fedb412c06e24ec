#ifndef MTRESULTDLG_H
#define MTRESULTDLG_H

#include <QDialog>

#include "ui_mtresultdlg.h"

class IOManager;

// The outcome of a finished tip calibration (tool, its reference, the tip
// residual); "&Accept" makes the controller keep the new calibration.
class MtResultDlg : public QDialog
{
    Q_OBJECT

public:
    MtResultDlg(IOManager *commandManager, QWidget *parent);

public slots:
    // Reads the result from the controller and runs the dialog modally.
    int update_and_exec();

private slots:
    void on_pushButton_cancel_clicked();
    void on_pushButton_accept_clicked();

private:
    void fitColumns();

    Ui::MtResultDlgClass ui;
    IOManager *pCommandManager;
};

#endif // MTRESULTDLG_H
