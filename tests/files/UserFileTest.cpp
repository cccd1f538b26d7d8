// The user's files on a real file system: a full tmpfs, devices, pipes,
// folders, links and the program's own files.

#include "files/UserFile.h"
#include "tests/files/SmallDisk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

EUserFileError::TKind WriteFailure(const QString& path, const QByteArray& bytes,
                                   QString* message = nullptr) {
    try {
        WriteUserFile(path, bytes, u"流程图文件"_s);
    } catch (const EUserFileError& e) {
        if (message)
            *message = e.Message();
        return e.Kind;
    }
    ADD_FAILURE() << "written: " << path.toStdString();
    return EUserFileError::TKind::CannotWrite;
}

EUserFileError::TKind ReadFailure(const QString& path, qint64 limit = MaxUserFileSize) {
    try {
        ReadUserFile(path, u"流程图文件"_s, limit);
    } catch (const EUserFileError& e) {
        return e.Kind;
    }
    ADD_FAILURE() << "read: " << path.toStdString();
    return EUserFileError::TKind::CannotOpen;
}

TEST(UserFile, AFullDiskKeepsTheOldFileAndSaysSo) {
    // Completely full, and full only part of the way through the content
    // (which on a plain buffered write shows itself only when flushed).
    const struct {
        const char* Name;
        qint64 Leave;
        qsizetype Size;
    } cases[] = {{"full", 0, 100}, {"nearly full", 8192, 20000}, {"one page left", 4096, 5000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSmallDisk disk;
        if (!disk.IsMounted())
            GTEST_SKIP() << disk.Why.toStdString();
        const QString target = disk.FilePath(u"chart.rer"_s);
        Put(target, "old chart");
        disk.Fill(c.Leave);
        QString message;
        EXPECT_EQ(WriteFailure(target, QByteArray(c.Size, 'N'), &message),
                  EUserFileError::TKind::DiskFull);
        EXPECT_TRUE(message.startsWith(u"磁盘已满"_s)) << message.toStdString();
        EXPECT_EQ(Bytes(target), "old chart");
        EXPECT_EQ(disk.Names(), QStringList{u"chart.rer"_s});
    }
}

TEST(UserFile, DevicesPipesAndFoldersAreNeverReplaced) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QStringList targets{fifo, dir.filePath(u"folder"_s)};
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder"_s));
    // As root a rename over /dev/null would turn it into a plain file.
    targets << u"/dev/null"_s;
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        struct stat before {};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &before), 0);
        EXPECT_EQ(WriteFailure(target, "x"), EUserFileError::TKind::NotRegular);
        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &after), 0);
        EXPECT_EQ(before.st_mode, after.st_mode);
        EXPECT_EQ(before.st_ino, after.st_ino);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              (QStringList{u"folder"_s, u"pipe"_s}));
}

TEST(UserFile, ALinkIsWrittenThroughAndPermissionsStay) {
    QTemporaryDir dir;
    const QString target = dir.filePath(u"real.rer"_s);
    const QString link = dir.filePath(u"link.rer"_s);
    Put(target, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(target, link));
    WriteUserFile(link, "new", u"流程图文件"_s);
    EXPECT_EQ(Bytes(target), "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat kept {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &kept), 0);
    EXPECT_EQ(kept.st_mode & 0777, 0640u);
    EXPECT_TRUE(IsSameFile(link, target));
    EXPECT_FALSE(IsSameFile(link, dir.filePath(u"missing"_s)));
    // A new file is made with the usual permissions, not the temporary's 0600.
    const QString fresh = dir.filePath(u"fresh.rer"_s);
    WriteUserFile(fresh, "", u"流程图文件"_s);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
    EXPECT_EQ(Bytes(fresh), QByteArray());
}

TEST(UserFile, OnlyRegularFilesOfASaneSizeAreRead) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Without a writer the pipe would block the read for ever.
    EXPECT_EQ(ReadFailure(fifo), EUserFileError::TKind::NotRegular);
    EXPECT_EQ(ReadFailure(u"/dev/zero"_s), EUserFileError::TKind::NotRegular);
    EXPECT_EQ(ReadFailure(dir.path()), EUserFileError::TKind::NotRegular);
    EXPECT_EQ(ReadFailure(dir.filePath(u"missing.rer"_s)), EUserFileError::TKind::CannotOpen);
    // A sparse file costs no disk space.
    const QString huge = dir.filePath(u"huge.rer"_s);
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(MaxUserFileSize + 1));
    }
    EXPECT_EQ(ReadFailure(huge), EUserFileError::TKind::TooLarge);
    const QString exact = dir.filePath(u"exact.rer"_s);
    Put(exact, QByteArray(10, 'x'));
    EXPECT_EQ(ReadUserFile(exact, u"流程图文件"_s, 10), QByteArray(10, 'x'));
    EXPECT_EQ(ReadFailure(exact, 9), EUserFileError::TKind::TooLarge);
}

TEST(UserFile, TheProgramAndItsPhraseFileAreNeverReplaced) {
    int argc = 1;
    char name[] = "user_file_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    const QString program = QCoreApplication::applicationFilePath();
    const QByteArray before = Bytes(program);
    EXPECT_EQ(WriteFailure(program, "x"), EUserFileError::TKind::Protected);
    EXPECT_EQ(Bytes(program), before);

    const QString phrases = QCoreApplication::applicationDirPath() + u"/qxvoc.txt"_s;
    const bool made = !QFileInfo::exists(phrases);
    if (made)
        Put(phrases, "0.phrase\r\n");
    // Also when named through a link from elsewhere.
    QTemporaryDir dir;
    const QString link = dir.filePath(u"export.txt"_s);
    ASSERT_TRUE(QFile::link(phrases, link));
    EXPECT_EQ(WriteFailure(link, "listing"), EUserFileError::TKind::Protected);
    EXPECT_NE(Bytes(phrases), "listing");
    if (made)
        QFile::remove(phrases);
}

} // namespace
