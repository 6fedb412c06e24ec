#include <QtTest>

namespace {

struct Entry
{
    QString context, source, translation, type; // type: "unfinished", "vanished", "obsolete" or empty
};

QList<Entry> readCatalogue(const QString &path, QString *error)
{
    QList<Entry> entries;
    QFile file(path);
    file.open(QIODevice::ReadOnly); // one that does not open reads as a broken document
    QXmlStreamReader xml(&file);
    Entry entry;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            entry.context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            // A plural message's forms read as one text: empty only if all are.
            entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            entries << entry;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return entries;
}

QStringList listOf(const char *list)
{
    return QString::fromUtf8(list).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

// Runs lupdate as the update target does, on a copy: the committed catalogue is never touched.
QList<Entry> updatedCopy(const QString &catalogue, const QStringList &sources, QString *error)
{
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(catalogue + QStringLiteral(".ts"));
    const QString committed = QStringLiteral(MT_TRANSLATIONS_DIR "/") + catalogue + ".ts";
    if (!QFile::copy(committed, copy)) {
        *error = QStringLiteral("cannot copy %1").arg(committed);
        return {};
    }
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(MT_SOURCE_DIR));
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(MT_LUPDATE),
                  listOf(MT_LUPDATE_OPTIONS) + sources + QStringList{QStringLiteral("-ts"), copy});
    if (!lupdate.waitForFinished(60000) || lupdate.exitStatus() != QProcess::NormalExit || lupdate.exitCode() != 0) {
        *error = QStringLiteral("lupdate failed: %1").arg(QString::fromLocal8Bit(lupdate.readAll()));
        return {};
    }
    return readCatalogue(copy, error);
}

// What a translation must keep of its source: the placeholders in any order
// and the number of accelerators ("&x", not "&&").
QString form(const QString &text)
{
    QStringList placeholders;
    for (auto it = QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text); it.hasNext();)
        placeholders << it.next().captured();
    placeholders.sort();
    const int accelerators
        = QString(text).remove(QStringLiteral("&&")).count(QRegularExpression(QStringLiteral("&\\S")));
    return QStringLiteral("placeholders %1; %2 accelerator(s)")
        .arg(placeholders.join(QLatin1Char(' ')))
        .arg(accelerators);
}

} // namespace

// A text added to the sources without its German translation fails here, as
// does a translation that loses its source's form or, in the module, whose log
// texts reach the command manager in Latin-1, leaves Latin-1.
class TestTsComplete : public QObject
{
    Q_OBJECT

private slots:
    void everyTextTranslated()
    {
        for (const auto &catalogue : {qMakePair(QStringLiteral("measurementtool_de"), listOf(MT_MODULE_TR_SOURCES)),
                                      qMakePair(QStringLiteral("frontend_de"), listOf(MT_FRONTEND_TR_SOURCES))}) {
            QString error;
            const QList<Entry> entries = updatedCopy(catalogue.first, catalogue.second, &error);
            QVERIFY2(error.isEmpty() && !entries.isEmpty(), qPrintable(catalogue.first + ": " + error));
            QStringList wrong;
            for (const Entry &e : entries) {
                const QString where = QStringLiteral("%1: \"%2\"").arg(e.context, e.source.left(80));
                if (e.type == QLatin1String("vanished") || e.type == QLatin1String("obsolete"))
                    continue;
                if (e.type == QLatin1String("unfinished") || e.translation.isEmpty())
                    wrong << where + " untranslated: run mt_update_translations, translate in " + catalogue.first;
                else if (form(e.source) != form(e.translation))
                    wrong << QStringLiteral("%1 has %2, its translation %3")
                                 .arg(where, form(e.source), form(e.translation));
                else if (catalogue.first.startsWith(QLatin1String("measurementtool"))
                         && QString::fromLatin1(e.translation.toLatin1()) != e.translation)
                    wrong << where + QStringLiteral(" is not Latin-1 in translation");
            }
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
        }
    }
};

QTEST_GUILESS_MAIN(TestTsComplete)
#include "tst_tscomplete.moc"
