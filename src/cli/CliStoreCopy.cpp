#include "cli/CliCommandList.h"

#include "cli/CliContext.h"
#include "core/data/Store.h"
#include "core/data/StoreCopy.h"
#include "core/Messages.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace korvan::cli {

QByteArray storeCopyCommand(Context &context)
{
    const QString from = context.takeOption(QStringLiteral("--from"));
    const QString to = context.takeOption(QStringLiteral("--to"));
    const bool merge = context.takeFlag(QStringLiteral("--merge"));
    context.requireNoArguments();
    if (from.isEmpty() || to.isEmpty())
        throw KorvanError(QStringLiteral("Укажите оба хранилища: --from КАТАЛОГ_ИЛИ_АДРЕС --to КАТАЛОГ_ИЛИ_АДРЕС."));
    const std::unique_ptr<Store> source =
        Store::open(from, Store::isServerAddress(from) ? Store::Access::ReadWrite : Store::Access::ReadOnly);
    const std::unique_ptr<Store> target = Store::open(to);
    if (source->identity() == target->identity())
        throw KorvanError(QStringLiteral("Хранилище нельзя скопировать само в себя: «%1».").arg(source->place()));
    const StoreCopyCounts counts = copyStore(*source, *target, merge);
    return QJsonDocument(
               QJsonObject{{QStringLiteral("projects"), counts.projects}, {QStringLiteral("rows"), counts.rows}})
        .toJson(QJsonDocument::Compact);
}

} // namespace korvan::cli
