#include "frontend/streaming/streamingmenu.h"

#include <QAction>
#include <QStatusBar>

#include "frontend/mainwindow.h"
#include "frontend/streaming/streamingservice.h"

namespace {
constexpr int StatusActionOrder = 10;
constexpr int StatusMessageMs = 15000;
} // namespace

StreamingMenu::StreamingMenu(MainWindow *window, StreamingService *streamingService)
    : QObject(window)
    , service(streamingService)
    , status(new QAction(window))
{
    status->setObjectName(QStringLiteral("action_igtlStatus"));
    status->setStatusTip(tr("The OpenIGTLink server for navigation software (--igtl-port, see the README)"));
    connect(status, &QAction::triggered, window,
            [this, window]() { window->statusBar()->showMessage(status->text(), StatusMessageMs); });
    connect(service, &StreamingService::statusChanged, this, &StreamingMenu::refresh);
    refresh();
    window->addOwnAction(tr("&Streaming"), MainWindow::StreamingMenuOrder, status, StatusActionOrder);
}

void StreamingMenu::refresh()
{
    status->setText(service->statusText());
}
