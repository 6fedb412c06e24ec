#ifndef STREAMINGMENU_H
#define STREAMINGMENU_H

#include <QObject>

class MainWindow;
class QAction;
class StreamingService;

// The Streaming menu: one entry that shows whether the OpenIGTLink server
// runs, on which port and for how many clients, kept current; choosing it
// puts the same in the status bar and the log.
class StreamingMenu : public QObject
{
    Q_OBJECT

public:
    StreamingMenu(MainWindow *window, StreamingService *service);

    QAction *statusAction() const { return status; }

private slots:
    void refresh();

private:
    StreamingService *service;
    QAction *status;
};

#endif // STREAMINGMENU_H
