#include "files/UserFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString WriteTargetOf(const QString& path) {
    QFileInfo info(path);
    // A link is written through, as editors do; a dangling one names the
    // file it would create.
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

bool IsSameFile(const QString& a, const QString& b) {
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (!first.exists() || !second.exists())
        return false;
    return first.canonicalFilePath() == second.canonicalFilePath();
}

// Checks shared by every platform before anything is written.
void CheckWriteTarget(const QString& target, const QString& what) {
    const QFileInfo info(target);
    const QString shown = QDir::toNativeSeparators(target);
    if (info.exists() && !info.isFile())
        throw EUserFileError(
            EUserFileError::TKind::NotRegular,
            u"“%1”不是普通文件（而是文件夹、设备或管道），%2不能保存在这里。请换一个文件名。"_s.arg(
                shown, what));
    if (QCoreApplication::instance() == nullptr)
        return;
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& own :
         {QCoreApplication::applicationFilePath(), folder + u"/qxvoc.txt"_s})
        if (IsSameFile(target, own))
            throw EUserFileError(
                EUserFileError::TKind::Protected,
                u"“%1”是本程序自己的文件，不能被%2替换。请换一个文件名或文件夹。"_s.arg(shown,
                                                                                       what));
}
