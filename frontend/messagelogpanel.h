#ifndef MESSAGELOGPANEL_H
#define MESSAGELOGPANEL_H

#include <QDateTime>
#include <QWidget>

class QTreeWidget;

// The host's message log: one row per message with its time, source and
// text, newest at the bottom. Holds a bounded number of rows.
class MessageLogPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxRows = 1000;

    explicit MessageLogPanel(QWidget *parent = nullptr);

    int rowCount() const;
    // "time\tsource\ttext" of a row, for tests and copies.
    QString rowText(int row) const;

public slots:
    void addMessage(const QDateTime &time, const QString &category, const QString &source, int level,
                    const QString &text);
    void clear();

private:
    QTreeWidget *tree;
};

#endif // MESSAGELOGPANEL_H
