#ifndef EMBEDDEDTRANSPORT_H
#define EMBEDDEDTRANSPORT_H

#include <QThread>

#include "frontend/controllertransport.h"

class SimController;

// The simulated controller in-process. It runs on a worker thread of its
// own, so that a reply it delays can be timed out like a real controller's,
// and its data lines are queued over to this object's thread.
class EmbeddedTransport : public ControllerTransport
{
    Q_OBJECT

public:
    explicit EmbeddedTransport(QObject *parent = nullptr);
    ~EmbeddedTransport() override;

    // Always there: the controller runs in this process.
    bool open(int timeoutMs, QString *error) override;
    Status exchange(const QByteArray &line, int timeoutMs, QByteArray *reply) override;
    QString description() const override;
    QString dataDescription() const override;

    // For configuration only; thread-safe as the simulator promises.
    SimController *controller() const { return simController; }

private:
    QThread worker;
    SimController *simController;
};

#endif // EMBEDDEDTRANSPORT_H
