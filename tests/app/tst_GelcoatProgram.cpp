// The real program: it starts, stays up with its window, and ends cleanly
// when asked to; a second launch hands its files to it and ends.

#include "tests/qtsupport/TestSettings.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class GelcoatProgramTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(); }
    void startsAndKeepsRunningUntilAskedToEnd()
    {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        QDir(config.path()).mkpath(QStringLiteral("Gelcoat"));
        QFile conf(config.filePath(QStringLiteral("Gelcoat/Gelcoat.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[General]\nDoVersionCheck=NO\n");
        conf.close();

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(GELCOAT_BINARY), {});
        QVERIFY(program.waitForStarted(10000));
        // Still running after its start: not refused, not crashed.
        QVERIFY(!program.waitForFinished(1500));
        QCOMPARE(program.state(), QProcess::Running);

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(GELCOAT_BINARY), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(program.state(), QProcess::Running);

        program.terminate();
        QVERIFY(program.waitForFinished(10000));
    }
};

QTEST_MAIN(GelcoatProgramTest)
#include "tst_GelcoatProgram.moc"
