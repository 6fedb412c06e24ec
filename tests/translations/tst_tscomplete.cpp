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
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return entries;
    }
    QXmlStreamReader xml(&file);
    Entry entry;
    bool numerus = false; // a plural message: each of its forms is an entry
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            entry.context = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        else if (xml.name() == QLatin1String("source"))
            entry.source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation"))
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
        if ((xml.name() == QLatin1String("translation") && !numerus) || xml.name() == QLatin1String("numerusform")) {
            entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            entries << entry;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return entries;
}

// Entries a translator still owes: new or changed texts, and empty translations.
QStringList untranslated(const QList<Entry> &entries)
{
    QStringList missing;
    for (const Entry &e : entries) {
        const bool gone = e.type == QLatin1String("vanished") || e.type == QLatin1String("obsolete");
        if (!gone && (e.type == QLatin1String("unfinished") || e.translation.isEmpty()))
            missing << QStringLiteral("%1: \"%2\"").arg(e.context, e.source.left(80));
    }
    return missing;
}

QStringList listOf(const char *list)
{
    return QString::fromUtf8(list).split(QLatin1Char(','), Qt::SkipEmptyParts);
}
QString committed(const QString &catalogue)
{
    return QStringLiteral(MT_TRANSLATIONS_DIR "/") + catalogue + ".ts";
}

// Runs lupdate as the update target does, on a copy: the committed catalogue is never touched.
QList<Entry> updatedCopy(const QString &catalogue, const QStringList &sources, QString *error)
{
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(catalogue + QStringLiteral(".ts"));
    if (!QFile::copy(committed(catalogue), copy)) {
        *error = QStringLiteral("cannot copy %1").arg(committed(catalogue));
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

// What a translation must keep of its source: the placeholders in any order, the number of accelerators
// ("&x", not "&&"), the tags in order.
QString form(const QString &text)
{
    const auto all = [&text](const char *pattern) {
        QStringList found;
        for (auto it = QRegularExpression(QLatin1String(pattern)).globalMatch(text); it.hasNext();)
            found << it.next().captured(1);
        return found;
    };
    QStringList placeholders = all("(%\\d+)");
    placeholders.sort();
    const QStringList accelerators = all("&(&|\\S)");
    return QStringLiteral("placeholders %1; %2 accelerator(s); tags %3")
        .arg(placeholders.join(QLatin1Char(' ')),
             QString::number(accelerators.size() - accelerators.count(QStringLiteral("&"))),
             all("<\\s*(/?\\s*[A-Za-z][A-Za-z0-9]*)").join(QLatin1Char(' ')));
}

} // namespace

// A text added to the sources without its German translation fails here.
class TestTsComplete : public QObject
{
    Q_OBJECT

private slots:
    void everyTextTranslated_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QStringList>("sources");
        QTest::newRow("module") << QStringLiteral("measurementtool_de") << listOf(MT_MODULE_TR_SOURCES);
        QTest::newRow("frontend") << QStringLiteral("frontend_de") << listOf(MT_FRONTEND_TR_SOURCES);
    }

    void everyTextTranslated()
    {
        QFETCH(QString, catalogue);
        QFETCH(QStringList, sources);
        QString error;
        const QList<Entry> entries = updatedCopy(catalogue, sources, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(!entries.isEmpty());
        const QStringList missing = untranslated(entries);
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("%1 text(s) without a German translation; run the target "
                                           "mt_update_translations and translate them in translations/%2.ts:\n  %3")
                                .arg(missing.size())
                                .arg(catalogue, missing.join(QStringLiteral("\n  ")))));
    }

    // The committed catalogues: each translation keeps its source's form; the module hands its log texts to the
    // command manager in Latin-1.
    void translationsFitTheirUse()
    {
        QStringList wrong;
        for (const QString &catalogue : {QStringLiteral("measurementtool_de"), QStringLiteral("frontend_de")}) {
            QString error;
            const QList<Entry> entries = readCatalogue(committed(catalogue), &error);
            QVERIFY2(error.isEmpty() && !entries.isEmpty(), qPrintable(catalogue + QLatin1Char(' ') + error));
            for (const Entry &e : entries) {
                const QString where = QStringLiteral("%1: \"%2\"").arg(e.context, e.source.left(60));
                if (form(e.source) != form(e.translation))
                    wrong << QStringLiteral("%1 has %2, its translation %3")
                                 .arg(where, form(e.source), form(e.translation));
                if (catalogue.startsWith(QLatin1String("measurementtool"))
                    && QString::fromLatin1(e.translation.toLatin1()) != e.translation)
                    wrong << where + QStringLiteral(" is not Latin-1 in translation");
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestTsComplete)
#include "tst_tscomplete.moc"
