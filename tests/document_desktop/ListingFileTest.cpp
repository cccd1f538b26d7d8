#include "document/ListingFile.h"
#include "files/UserFile.h"
#include "tests/files/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(ListingFile, ExportWritesGbkWithCrLfAndImportReadsItBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"listing.txt"_s);
    const QStringList lines = {u"10 REM \"DEDEVAV\""_s, u"20 REM \"GOTO 标号\""_s, u""_s,
                               u"30 REM \"END\""_s};
    WriteListingFile(path, lines);
    EXPECT_EQ(FileBytes(path),
              QByteArray("10 REM \"DEDEVAV\"\r\n20 REM \"GOTO \xB1\xEA\xBA\xC5\"\r\n\r\n"
                         "30 REM \"END\"\r\n"));
    EXPECT_EQ(ReadListingFile(path), lines);
}

TEST(ListingFile, ImportSplitsAtEveryKindOfLineEnd) {
    EXPECT_EQ(SplitListingLines(u"a\r\nb\rc\nd"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    EXPECT_EQ(SplitListingLines(u"a\n\nb\r\n"_s), (QStringList{u"a"_s, u""_s, u"b"_s}));
    EXPECT_EQ(SplitListingLines(u""_s), QStringList{});
}

TEST(ListingFile, UnrepresentableCharacterWritesNothingAndNamesTheLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"listing.txt"_s);
    WriteListingFile(path, {u"old"_s});
    try {
        WriteListingFile(path, {u"10 REM \"A\""_s, u"20 REM \"😀\""_s});
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(QString::fromUtf8(e.what()).indexOf(u"第2行"_s), -1) << e.what();
    }
    EXPECT_EQ(FileBytes(path), QByteArray("old\r\n"));
}

TEST(ListingFile, WriteFailingMidwayKeepsTheOldFile) {
    // A file size limit makes the write fail part way, as a full disk would,
    // and works for root too.
    QTemporaryDir dir;
    const QString path = dir.filePath(u"listing.txt"_s);
    WriteListingFile(path, {u"old"_s});
    const QStringList big(2000, u"10 REM \"FD 100\""_s);
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(WriteListingFile(path, big), std::runtime_error);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(FileBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"listing.txt"_s});
}

} // namespace

namespace {

TEST(ListingFile, ExportToAFullDiskKeepsTheOldFileAndSaysSo) {
    TSmallDisk disk;
    if (!disk.IsMounted())
        GTEST_SKIP() << disk.Why.toStdString();
    const QString path = disk.FilePath(u"listing.txt"_s);
    WriteListingFile(path, {u"10 REM \"DEDEVAV\""_s});
    const QByteArray old = FileBytes(path);
    disk.Fill();
    try {
        WriteListingFile(path, QStringList(400, u"20 REM \"FD 100\""_s));
        ADD_FAILURE() << "written";
    } catch (const EUserFileError& e) {
        EXPECT_EQ(e.Kind, EUserFileError::TKind::DiskFull);
        EXPECT_TRUE(e.Message().contains(u"磁盘已满"_s));
    }
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(disk.Names(), QStringList{u"listing.txt"_s});
}

TEST(ListingFile, ImportSkipsAUtf8ByteOrderMark) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bom.txt"_s);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF" "10 REM \"DEDEVAV\"\r\n20 REM \"FD 1\"\r\n");
    f.close();
    EXPECT_EQ(ReadListingFile(path), (QStringList{u"10 REM \"DEDEVAV\""_s, u"20 REM \"FD 1\""_s}));
}

} // namespace
