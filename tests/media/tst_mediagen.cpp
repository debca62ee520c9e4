// The committed media are exactly what the generator makes from its sources, so a
// change to the generator that was not run and committed (or a hand edit of a file)
// is caught.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class MediaGeneratorTest : public QObject
{
    Q_OBJECT

private slots:
    void generatorReproducesTheCommittedFiles();
};

void MediaGeneratorTest::generatorReproducesTheCommittedFiles()
{
    // A fresh run into an empty folder writes every media file, window picture and
    // icon byte for byte as committed, and nothing that is not committed.
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QProcess generator;
    generator.start(QStringLiteral(MEDIAGEN_PATH), {out.path()});
    QVERIFY2(generator.waitForFinished(120000), qPrintable(generator.errorString()));
    QCOMPARE(generator.exitStatus(), QProcess::NormalExit);
    QCOMPARE(generator.exitCode(), 0);

    const QDir source(qEnvironmentVariable("SEABATTLE_SOURCE_DIR"));
    QStringList made;
    QDirIterator files(out.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        made << QDir(out.path()).relativeFilePath(files.next());
    made.sort();
    QVERIFY(made.size() >= 24);
    for (const QString &path : made) {
        QFile generated(QDir(out.path()).filePath(path));
        QFile committed(source.filePath(path));
        QVERIFY(generated.open(QIODevice::ReadOnly));
        QVERIFY2(committed.open(QIODevice::ReadOnly), qPrintable(path + " is not committed"));
        QVERIFY2(generated.readAll() == committed.readAll(),
                 qPrintable(path + " differs from the generator's output; run mediagen"));
    }
}

QTEST_MAIN(MediaGeneratorTest)
#include "tst_mediagen.moc"
