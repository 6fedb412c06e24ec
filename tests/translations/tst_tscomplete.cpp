#include <QtTest>

namespace {

QStringList listOf(const char *list)
{
    return QString::fromUtf8(list).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

// What a translation must keep of its source: the placeholders in any order
// and the number of accelerators ("&x", not "&&").
QString form(const QString &text)
{
    QStringList placeholders;
    for (auto it = QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text); it.hasNext();)
        placeholders << it.next().captured();
    placeholders.sort();
    const int accelerators = QString(text).remove("&&").count(QRegularExpression(QStringLiteral("&\\S")));
    return QStringLiteral("placeholders %1; %2 accelerator(s)").arg(placeholders.join(' ')).arg(accelerators);
}

// Runs lupdate as the update target does, on a copy (the committed catalogue is
// never touched), and tells what is wrong in the copy, one line each.
QStringList wrongIn(const QString &catalogue, const QStringList &sources)
{
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(catalogue + QStringLiteral(".ts"));
    const QString committed = QStringLiteral(MT_TRANSLATIONS_DIR "/") + catalogue + ".ts";
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(MT_SOURCE_DIR));
    if (QFile::copy(committed, copy))
        lupdate.start(QStringLiteral(MT_LUPDATE), listOf(MT_LUPDATE_OPTIONS) + sources + QStringList{"-ts", copy});
    if (!lupdate.waitForFinished(60000) || lupdate.exitStatus() != QProcess::NormalExit || lupdate.exitCode() != 0)
        return {QStringLiteral("lupdate failed on a copy of %1: %2").arg(committed, lupdate.readAllStandardError())};
    QFile file(copy);
    file.open(QIODevice::ReadOnly); // one that does not open reads as a broken document
    QXmlStreamReader xml(&file);
    QString context, source;
    QStringList wrong;
    int messages = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            // A plural message's forms read as one text: empty only if all are.
            const QString translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            const QString where = QStringLiteral("%1: \"%2\"").arg(context, source.left(80));
            if (type == QLatin1String("vanished") || type == QLatin1String("obsolete"))
                continue;
            ++messages;
            if (type == QLatin1String("unfinished") || translation.isEmpty())
                wrong << where + " untranslated: run mt_update_translations, translate in " + catalogue;
            else if (form(source) != form(translation))
                wrong << where + " has " + form(source) + ", its translation " + form(translation);
            else if (catalogue.startsWith("measurementtool")
                     && QString::fromLatin1(translation.toLatin1()) != translation)
                wrong << where + " is not Latin-1 in translation";
        }
    }
    if (xml.hasError() || messages == 0)
        wrong << catalogue + ": unreadable or empty after lupdate " + xml.errorString();
    return wrong;
}

} // namespace

// A text added to the sources without its German translation fails here, as does a translation that loses its
// source's form or, in the module, whose log texts reach the command manager in Latin-1, leaves Latin-1.
class TestTsComplete : public QObject
{
    Q_OBJECT

private slots:
    void everyTextTranslated()
    {
        for (const auto &catalogue : {qMakePair(QStringLiteral("measurementtool_de"), listOf(MT_MODULE_TR_SOURCES)),
                                      qMakePair(QStringLiteral("frontend_de"), listOf(MT_FRONTEND_TR_SOURCES))}) {
            const QStringList wrong = wrongIn(catalogue.first, catalogue.second);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
        }
    }
};

QTEST_GUILESS_MAIN(TestTsComplete)
#include "tst_tscomplete.moc"
