#include "core/OutputFile.h"

#include "core/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <sys/stat.h>

namespace korvan {

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("папка");
    if (S_ISFIFO(mode))
        return QStringLiteral("именованный канал");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("устройство");
    if (S_ISSOCK(mode))
        return QStringLiteral("сокет");
    return QStringLiteral("особый файл");
}

} // namespace

void checkOutputFile(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QByteArray name = QFile::encodeName(path);
    struct stat own {};
    if (::lstat(name.constData(), &own) != 0)
        return; // nothing there yet: the file is made new
    struct stat target {};
    if (::stat(name.constData(), &target) != 0) {
        if (S_ISLNK(own.st_mode))
            throw KorvanError(QStringLiteral("Файл «%1» является символической ссылкой на несуществующий файл «%2»: "
                                             "записывать через нее программа не будет. Укажите другое имя файла.")
                                  .arg(shown, QDir::toNativeSeparators(QFileInfo(path).symLinkTarget())));
        return;
    }
    if (!S_ISREG(target.st_mode))
        throw KorvanError(QStringLiteral("«%1» не является обычным файлом (это %2): записывать в него программа не "
                                         "будет. Укажите другое имя файла.")
                              .arg(shown, kindOf(target.st_mode)));
}

void writeOutputFile(const QString &path, const QByteArray &bytes)
{
    checkOutputFile(path);
    const QString shown = QDir::toNativeSeparators(path);
    // QSaveFile writes beside the file a link points to and renames over it, the link staying.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw KorvanError(QStringLiteral("Не удалось создать файл \"%1\". Проверьте, что папка существует и "
                                         "доступна для записи.")
                              .arg(shown));
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        throw KorvanError(QStringLiteral("Не удалось записать файл \"%1\". Возможно, он открыт в другой "
                                         "программе или на диске недостаточно места.")
                              .arg(shown));
    }
}

} // namespace korvan
