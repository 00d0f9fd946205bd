#include "core/data/CatalogueHooks.h"
#include "core/data/Fields.h"

#include "core/calc/Limits.h"
#include "core/calc/Numbers.h"
#include "core/data/TDataModule1.h"
#include "core/Messages.h"

namespace korvan {

namespace {

// Refuses the post when any of the fields from `from` on, in field order, is null.
TTable::Hook requireFields(int from, QStringList except, QString message)
{
    return [from, except, message](TTable &t) {
        for (int i = from; i < t.fieldCount(); ++i)
            if (!except.contains(t.fieldName(i)) && t.isNull(i)) {
                Messages::error(message);
                throw Abort();
            }
    };
}

TTable::Hook requireField(QString field, QString message)
{
    return [field, message](TTable &t) {
        if (t.isNull(field)) {
            Messages::error(message);
            throw Abort();
        }
    };
}

} // namespace

void installCatalogueHooks(TDataModule1 &data)
{
    data.tblsKU0->beforePost = requireField(fld::Company, QStringLiteral("Заполнение поля \"Компания\" обязательно."));
    data.tblsKU1->beforePost =
        requireFields(2, {fld::Cena}, QStringLiteral("Заполнение всех полей, кроме поля \"Цена\", обязательно."));
    data.tblsKU2->beforePost = [required = requireFields(2, {}, QStringLiteral("Заполнение всех полей обязательно."))](
                                   TTable &t) {
        required(t);
        // Selection and the analysis go through the modules one by one: a count beyond the limit
        // would make them run for minutes.
        if (t.asFloat(fld::Kol_vo) > MaxModuleCount) {
            Messages::error(
                QStringLiteral("Количество модулей в группе должно быть не больше %1.").arg(MaxModuleCount));
            throw Abort();
        }
        if (t.asFloat(fld::Qstup) > MaxPower) {
            Messages::error(QStringLiteral("Мощность модуля должна быть не больше %1 кВАр.").arg(numberText(MaxPower)));
            throw Abort();
        }
    };
    data.tblSutGr0->beforePost =
        requireField(fld::Otrasl, QStringLiteral("Заполнение поля \"Отрасль промышленности\" обязательно."));
    data.tblSutGr1->beforePost =
        requireField(fld::Name, QStringLiteral("Заполнение поля \"Наименование предприятия\" обязательно."));
}

} // namespace korvan
