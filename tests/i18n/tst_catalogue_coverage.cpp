#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

// Runs lupdate over the pages and the native classes and holds what it finds
// against the catalogues' sources in i18n/, so the catalogues cannot fall
// behind the pages.
namespace {

// Folders whose texts the editor shows. The command-line tool and the
// simulator are not translated.
const char *const kSourceFolders[] = {"qml", "app", "model", "device", "firmware", "i18n"};

struct Message {
    QString context;
    QString source;
    QString translation;
    bool finished = false;
};

using Catalogue = QList<Message>;

bool readCatalogue(const QString &path, Catalogue *messages, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = Message();
            message.context = context;
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            message.translation = xml.readElementText();
            message.finished = type.isEmpty() && !message.translation.isEmpty();
            messages->append(message);
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("%1: %2").arg(path, xml.errorString());
        return false;
    }
    return true;
}

const Message *find(const Catalogue &catalogue, const Message &wanted)
{
    for (const Message &m : catalogue) {
        if (m.context == wanted.context && m.source == wanted.source)
            return &m;
    }
    return nullptr;
}

bool isChinese(const QString &text)
{
    static const QRegularExpression han(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    return han.match(text).hasMatch();
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%L?\\d+"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

// A missing message in the form it takes in the catalogue source, ready to fill in.
QString describe(const Message &m)
{
    return QStringLiteral("  context %1: <source>%2</source>").arg(m.context, m.source.toHtmlEscaped());
}

QString sourceDir()
{
    return qEnvironmentVariable("MAVU_TEST_SOURCE_DIR");
}

} // namespace

class TestCatalogueCoverage : public QObject
{
    Q_OBJECT

private:
    Catalogue m_used; // what the sources pass through the translation functions
    Catalogue m_zh;
    Catalogue m_en;

    // The used texts that the catalogue must carry but lacks or leaves unfinished.
    template <typename Wanted>
    QStringList lacking(const Catalogue &catalogue, Wanted wanted) const
    {
        QStringList missing;
        for (const Message &used : m_used) {
            if (!wanted(used))
                continue;
            const Message *entry = find(catalogue, used);
            if (!entry || !entry->finished)
                missing << describe(used);
        }
        return missing;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(!sourceDir().isEmpty(), "MAVU_TEST_SOURCE_DIR is not set");
        QTemporaryDir dir;
        const QString extracted = dir.filePath(QStringLiteral("used.ts"));
        QStringList args{QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                         QStringLiteral("-extensions"), QStringLiteral("cpp,h,qml,js"),
                         QStringLiteral("-I"), sourceDir()}; // resolves "app/..." includes
        for (const char *folder : kSourceFolders)
            args << QDir(sourceDir()).filePath(QLatin1String(folder));
        args << QStringLiteral("-ts") << extracted;
        QProcess lupdate;
        lupdate.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        lupdate.start(QStringLiteral(MAVU_LUPDATE_PATH), args);
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);

        QString error;
        QVERIFY2(readCatalogue(extracted, &m_used, &error), qPrintable(error));
        QVERIFY2(readCatalogue(sourceDir() + QStringLiteral("/i18n/i18n_zh.ts"), &m_zh, &error), qPrintable(error));
        QVERIFY2(readCatalogue(sourceDir() + QStringLiteral("/i18n/i18n_en.ts"), &m_en, &error), qPrintable(error));
        // The names the language menu and the stored choice go by.
        QVERIFY(find(m_used, {QStringLiteral("Trans"), QStringLiteral("TargetLanguage"), {}, false}));
        QVERIFY(m_used.size() > 50);
    }

    void everyTextHasItsChineseEntry()
    {
        const QStringList missing = lacking(m_zh, [](const Message &) { return true; });
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("%1 text(s) lack a finished translation in i18n/i18n_zh.ts:\n%2")
                                .arg(missing.size())
                                .arg(missing.join(QLatin1Char('\n')))));
    }

    // Texts written in Chinese need English for the English interface.
    void everyChineseTextHasItsEnglishEntry()
    {
        const QStringList missing = lacking(m_en, [](const Message &m) { return isChinese(m.source); });
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("%1 Chinese text(s) lack a finished translation in i18n/i18n_en.ts:\n%2")
                                .arg(missing.size())
                                .arg(missing.join(QLatin1Char('\n')))));
    }

    void entriesAreCompleteAndKeepTheirPlaceholders()
    {
        QStringList wrong;
        for (const Catalogue *catalogue : {&m_zh, &m_en}) {
            for (const Message &m : *catalogue) {
                if (!m.finished)
                    wrong << describe(m) + QStringLiteral(" is unfinished");
                else if (placeholders(m.source) != placeholders(m.translation))
                    wrong << describe(m) + QStringLiteral(" changes its %n markers");
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }

    // English texts show as they are in English: the English catalogue holds
    // only texts written in Chinese, and the language's name.
    void englishCatalogueTranslatesOnlyChinese()
    {
        QStringList extra;
        for (const Message &m : m_en) {
            if (!isChinese(m.source) && !(m.context == QLatin1String("Trans") && m.source == QLatin1String("TargetLanguage")))
                extra << describe(m);
        }
        QVERIFY2(extra.isEmpty(), qPrintable(extra.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestCatalogueCoverage)
#include "tst_catalogue_coverage.moc"
