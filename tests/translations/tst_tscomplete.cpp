#include <QtTest>

namespace {

struct Entry
{
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty
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
    QString context;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            entry = Entry{context, QString(), QString(), QString()};
        } else if (xml.name() == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
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
        if (e.type == QLatin1String("vanished") || e.type == QLatin1String("obsolete"))
            continue;
        if (e.type == QLatin1String("unfinished") || e.translation.isEmpty())
            missing << QStringLiteral("%1: \"%2\"").arg(e.context, e.source.left(80));
    }
    return missing;
}

QStringList listOf(const char *commaSeparated)
{
    return QString::fromUtf8(commaSeparated).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

QString committed(const QString &catalogue)
{
    return QStringLiteral(MT_TRANSLATIONS_DIR "/") + catalogue + QStringLiteral(".ts");
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

QStringList placeholders(const QString &text)
{
    QStringList found;
    QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured();
    found.sort();
    return found;
}

// The accelerators of a text: "&x" but not "&&".
int mnemonics(const QString &text)
{
    int count = 0;
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&'))
            ++i;
        else if (!text[i + 1].isSpace())
            ++count;
    }
    return count;
}

QStringList tagsOf(const QString &text)
{
    QStringList tags;
    QRegularExpressionMatchIterator it =
        QRegularExpression(QStringLiteral("<\\s*(/?\\s*[A-Za-z][A-Za-z0-9]*)")).globalMatch(text);
    while (it.hasNext())
        tags << it.next().captured(1);
    return tags;
}

QString translationOf(const QList<Entry> &entries, const QString &context, const QString &source)
{
    for (const Entry &e : entries)
        if (e.context == context && e.source == source)
            return e.translation;
    return QString();
}

} // namespace

// A text added to the sources without its German translation fails here.
class TestTsComplete : public QObject
{
    Q_OBJECT

private slots:
    void everyTextTranslated_data();
    void everyTextTranslated();
    void newTextIsCaught();
    void placeholdersMnemonicsAndMarkupKept_data();
    void placeholdersMnemonicsAndMarkupKept();
    void logTextsFitLatin1();
    void sharedMenusMerge();
};

void TestTsComplete::everyTextTranslated_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<QStringList>("sources");
    QTest::newRow("module") << QStringLiteral("measurementtool_de") << listOf(MT_MODULE_TR_SOURCES);
    QTest::newRow("frontend") << QStringLiteral("frontend_de") << listOf(MT_FRONTEND_TR_SOURCES);
}

void TestTsComplete::everyTextTranslated()
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

// The check itself: one more tr() text among the sources shows up as untranslated.
void TestTsComplete::newTextIsCaught()
{
    QTemporaryDir extra;
    QFile source(extra.filePath(QStringLiteral("newtext.cpp")));
    QVERIFY(source.open(QIODevice::WriteOnly));
    source.write("#include <QCoreApplication>\n"
                 "QString f() { return QCoreApplication::translate(\"MtSettingsDlg\", \"A text nobody translated\"); }\n");
    source.close();
    QString error;
    const QList<Entry> entries =
        updatedCopy(QStringLiteral("measurementtool_de"), listOf(MT_MODULE_TR_SOURCES) << extra.path(), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(untranslated(entries), QStringList{QStringLiteral("MtSettingsDlg: \"A text nobody translated\"")});
}

void TestTsComplete::placeholdersMnemonicsAndMarkupKept_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::newRow("module") << QStringLiteral("measurementtool_de");
    QTest::newRow("frontend") << QStringLiteral("frontend_de");
}

void TestTsComplete::placeholdersMnemonicsAndMarkupKept()
{
    QFETCH(QString, catalogue);
    QString error;
    const QList<Entry> entries = readCatalogue(committed(catalogue), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList wrong;
    for (const Entry &e : entries) {
        const QString where = QStringLiteral("%1: \"%2\"").arg(e.context, e.source.left(60));
        if (placeholders(e.source) != placeholders(e.translation))
            wrong << where + QStringLiteral(" changes its placeholders");
        if (mnemonics(e.source) != mnemonics(e.translation))
            wrong << where + QStringLiteral(" changes its accelerators");
        if (tagsOf(e.source) != tagsOf(e.translation))
            wrong << where + QStringLiteral(" changes its markup");
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
}

// The module hands its log texts to the command manager in Latin-1.
void TestTsComplete::logTextsFitLatin1()
{
    QString error;
    const QList<Entry> entries = readCatalogue(committed(QStringLiteral("measurementtool_de")), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QStringList wrong;
    for (const Entry &e : entries)
        if (QString::fromLatin1(e.translation.toLatin1()) != e.translation)
            wrong << e.translation;
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
}

// The host merges menus of the same title; the module's and the front-end's must agree.
void TestTsComplete::sharedMenusMerge()
{
    QString error;
    const QList<Entry> module = readCatalogue(committed(QStringLiteral("measurementtool_de")), &error);
    const QList<Entry> frontend = readCatalogue(committed(QStringLiteral("frontend_de")), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    for (const char *title : {"&Tracking", "&View"}) {
        const QString fromModule = translationOf(module, QStringLiteral("MeasurementToolModule"), QLatin1String(title));
        const QString fromFrontend = translationOf(frontend, QStringLiteral("MainWindow"), QLatin1String(title));
        QVERIFY(!fromModule.isEmpty());
        QCOMPARE(QString(fromModule).remove(QLatin1Char('&')), QString(fromFrontend).remove(QLatin1Char('&')));
    }
}

QTEST_GUILESS_MAIN(TestTsComplete)
#include "tst_tscomplete.moc"
