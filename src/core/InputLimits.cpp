#include "core/InputLimits.h"

#include "core/Messages.h"

#include <QDir>

namespace korvan {

QByteArray readAllLimited(QIODevice &device, qint64 limit, const QString &shown)
{
    const auto tooLarge = [&] {
        return KorvanError(QStringLiteral("Файл «%1» слишком велик: программа читает не больше %2 МБ.")
                               .arg(QDir::toNativeSeparators(shown))
                               .arg(limit / (1024 * 1024)));
    };
    // A regular file says its size: nothing is read when it is too large.
    if (!device.isSequential() && device.size() > limit)
        throw tooLarge();
    QByteArray out;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = device.read(chunk.data(), chunk.size());
        if (n < 0)
            throw KorvanError(QStringLiteral("Не удалось прочитать файл «%1»: %2")
                                  .arg(QDir::toNativeSeparators(shown), device.errorString()));
        if (n == 0) // the end of a file or of a pipe
            break;
        if (out.size() + n > limit)
            throw tooLarge();
        out.append(chunk.constData(), n);
    }
    return out;
}

} // namespace korvan
