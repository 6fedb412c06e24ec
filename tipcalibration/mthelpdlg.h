#ifndef MTHELPDLG_H
#define MTHELPDLG_H

#include <QDialog>

#include "ui_mthelpdlg.h"

// Explains, beside a picture of the tool, how the tip calibration redefines
// the tool's body coordinate system. Fixed size, modal.
class MtHelpDlg : public QDialog
{
    Q_OBJECT

public:
    explicit MtHelpDlg(QWidget *parent);

private slots:
    void on_pushButton_exit_clicked();

private:
    Ui::MtHelpDlgClass ui;
};

#endif // MTHELPDLG_H
