#ifndef SIMFAULTS_H
#define SIMFAULTS_H

#include <QByteArray>
#include <QList>
#include <QRandomGenerator>

// Injected faults for tests and demonstrations: a share of commands that
// fail, parameters that always fail, a reply delay and lost connections.
// "orvel2 simulate ..." itself is never faulted.
class SimFaults
{
public:
    static constexpr int MaxFailingParameters = 16;
    static constexpr int MaxFailingWords = 16; // of one failing parameter
    static constexpr int MaxDelayMs = 10000;

    SimFaults();

    void setFailRate(double rate); // 0..1
    // Every get, set or command whose text (after "orvel2 get|set" or
    // "orvel2") begins with these words (separated by single blanks) fails.
    // False when the list is full or the words are too many.
    bool addFailingParameter(const QByteArray &words);
    void clearFailingParameters();
    void setDelayMs(int ms);
    void setDropNext(int count); // the next count commands get no answer
    void setSeed(quint32 seed);

    double failRate() const { return rate; }
    int delayMs() const { return delay; }
    int dropsPending() const { return drops; }
    const QList<QByteArray> &failingParameters() const { return failing; }

    // Decides for one command: true when it must fail.
    bool shouldFail(const QByteArray &text);
    // Consumes one pending drop.
    bool takeDrop();

private:
    double rate;
    QList<QByteArray> failing;
    int delay;
    int drops;
    QRandomGenerator random;
};

#endif // SIMFAULTS_H
