#ifndef TOOLFACTS_H
#define TOOLFACTS_H

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>

// What the controller said of its measurement tools, gathered from the
// commands and their replies: the numbers of tools and references and each
// tool's reference, as a get read them or a set accepted them.
class ToolFacts
{
public:
    void noteCommand(const QByteArray &command, const QByteArray &reply, int result);
    // tool "b01", reference as the controller gives it ("b02", "none").
    void noteReference(const QByteArray &tool, const QByteArray &reference);

    int tools() const { return toolCount; }           // -1: not known
    int references() const { return referenceCount; } // -1: not known
    // The 1-based number of the tool's reference as the display reads it
    // (the value without its first character); 0 for none or not known.
    int referenceOf(int tool) const;
    // The values known, by tool name.
    QList<QPair<QByteArray, QByteArray>> referenceValues() const;

private:
    int toolCount = -1;
    int referenceCount = -1;
    QMap<int, QByteArray> referenceByTool;
};

#endif // TOOLFACTS_H
