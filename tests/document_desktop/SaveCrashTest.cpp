// A save killed at any moment (SIGKILL, as a power cut or a crash would end
// it) leaves the chart file with its old or its new content, never a mix.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <random>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(SaveCrash, AKilledSaveLeavesTheOldOrTheNewChart) {
    QTemporaryDir dir;
    const QString a = dir.filePath(u"a.rer"_s);
    const QString b = dir.filePath(u"b.rer"_s);
    ASSERT_EQ(QProcess::execute(QStringLiteral(DD_SAVE_LOOP), {u"--charts"_s, a, b}), 0);
    const QByteArray first = Bytes(a);
    const QByteArray second = Bytes(b);
    ASSERT_NE(first.size(), second.size());

    const QString target = dir.filePath(u"chart.rer"_s);
    ASSERT_TRUE(QFile::copy(a, target));
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> delay(0, 25);
    int seenFirst = 0;
    int seenSecond = 0;
    for (int i = 0; i < 200; ++i) {
        QProcess loop;
        loop.start(QStringLiteral(DD_SAVE_LOOP), {target});
        ASSERT_TRUE(loop.waitForReadyRead(30000));
        QThread::msleep(delay(random));
        ::kill(pid_t(loop.processId()), SIGKILL);
        ASSERT_TRUE(loop.waitForFinished(30000));
        const QByteArray now = Bytes(target);
        ASSERT_TRUE(now == first || now == second)
            << "kill " << i << " left " << now.size() << " bytes";
        (now == first ? seenFirst : seenSecond) += 1;
    }
    // The kills did land in the middle of the saving.
    EXPECT_GT(seenSecond, 0);
    std::printf("old or new every time: %d x first chart, %d x second chart\n", seenFirst,
                seenSecond);
}

} // namespace
