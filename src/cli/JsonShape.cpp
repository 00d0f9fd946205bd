#include "cli/JsonShape.h"
#include "cli/CliSupport.h"

#include "core/calc/Limits.h"
#include "core/calc/Numbers.h"
#include "core/data/Schema.h"
#include "core/InputLimits.h"
#include "core/Messages.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>

#include <cmath>

namespace korvan::cli {

namespace {

using K = JsonKind;

constexpr double MaxCode = 2147483647; // integer fields of the store

// clang-format off
const JsonShape Period{"Период суточного графика (элемент `periods`)", {
    {.name = "T1", .kind = K::Number, .required = true, .meaning = "начало периода, ч", .min = 0},
    {.name = "T2", .kind = K::Number, .required = true, .meaning = "конец периода, ч (не более 24)", .min = 0},
    {.name = "P", .kind = K::Number, .required = true, .meaning = "активная мощность, кВт", .min = 0, .max = MaxPower},
    {.name = "Q", .kind = K::Number, .required = true, .meaning = "реактивная мощность, квар", .min = 0, .max = MaxPower},
}};

const JsonShape Typical{"Типовой график (`typical`)", {
    {.name = "Otrasl", .kind = K::Text, .required = true, .meaning = "отрасль справочника типовых графиков", .storedIn = "sSutGraphic0.db.Otrasl"},
    {.name = "Name", .kind = K::Text, .required = true, .meaning = "предприятие отрасли", .storedIn = "sSutGraphic1.db.Name"},
    {.name = "Pmax", .kind = K::Number, .meaning = "максимальная активная мощность, кВт (100)", .max = MaxPower},
    {.name = "Qmax", .kind = K::Number, .meaning = "максимальная реактивная мощность, квар (100)", .max = MaxPower},
}};

const JsonShape Variant{"Вариант компенсации (элемент `variants`)", {
    {.name = "VarNum", .kind = K::Integer, .meaning = "номер варианта (следующий свободный)", .min = 1, .max = MaxCode},
    {.name = "KodKU1", .kind = K::Integer, .meaning = "код установки в справочнике (вместо Company и TipKU)", .min = 1, .max = MaxCode},
    {.name = "Company", .kind = K::Text, .meaning = "компания справочника", .storedIn = "sKU0.db.Company"},
    {.name = "TipKU", .kind = K::Text, .meaning = "установка компании", .storedIn = "sKU1.DB.Name"},
    {.name = "Kp", .kind = K::Number, .meaning = "коэффициент потерь, кВт/квар (0,12)", .max = 1},
    {.name = "Rejim", .kind = K::Text, .meaning = "режим подбора модулей, как в окне (полная компенсация)", .storedIn = "project2.db.Rejim"},
    {.name = "Cosf_min", .kind = K::Number, .meaning = "наименьший cos(f)", .min = 0, .max = 1},
    {.name = "Cosf_max", .kind = K::Number, .meaning = "наибольший cos(f)", .min = 0, .max = 1},
    {.name = "Cosf_tr", .kind = K::Number, .meaning = "требуемый cos(f)", .min = 0, .max = 1},
}};

const JsonShape Supply{"Питание и гармоники (`supply`)", {
    {.name = "Str", .kind = K::Number, .required = true, .meaning = "номинальная мощность трансформатора, кВА (> 0)", .max = MaxPower},
    {.name = "Uk", .kind = K::Number, .required = true, .meaning = "напряжение короткого замыкания, % (> 0, не более 20)"},
    {.name = "Ssc_net", .kind = K::Number, .meaning = "мощность короткого замыкания сети, МВА (null: бесконечная)", .max = MaxPower},
    {.name = "Harmonics", .kind = K::IntegerArray, .meaning = "порядки гармоник нагрузки (5, 7, 11, 13)", .min = 2, .max = 50},
}};

const JsonShape Economics{"Экономические параметры (`economics`)", {
    {.name = "Rate", .kind = K::Number, .meaning = "ставка дисконтирования, % в год, 0-100 (10)"},
    {.name = "Life", .kind = K::Number, .meaning = "срок службы, лет, целое 1-40 (15)"},
    {.name = "Maint", .kind = K::Number, .meaning = "обслуживание в год, % цены, 0-20 (1)"},
    {.name = "Mont", .kind = K::Number, .meaning = "монтаж и наладка, % цены, 0-100 (0)"},
}};

const JsonShape Project{"Проект (верхний уровень)", {
    {.name = "Name", .kind = K::Text, .meaning = "наименование проекта", .storedIn = "project0.db.Name"},
    {.name = "ProjOwner", .kind = K::Text, .meaning = "заказчик", .storedIn = "project0.db.ProjOwner"},
    {.name = "ProjMemo", .kind = K::Text, .meaning = "примечание (можно в несколько строк)", .storedIn = "project0.db.ProjMemo"},
    {.name = "MonthDay", .kind = K::Number, .meaning = "рабочих дней в месяце (1-31)"},
    {.name = "YearDay", .kind = K::Number, .meaning = "рабочих дней в году (1-366)"},
    {.name = "Tarif_a", .kind = K::Number, .meaning = "тариф за активную энергию", .max = MaxTariff},
    {.name = "Tarif_q", .kind = K::Number, .meaning = "тариф за реактивную энергию", .max = MaxTariff},
    {.name = "periods", .kind = K::Array, .meaning = "суточный график", .nested = &Period, .maxItems = MaxPeriods},
    {.name = "typical", .kind = K::Object, .meaning = "суточный график по типовому (вместо periods)", .nested = &Typical, .excludes = "periods"},
    {.name = "variants", .kind = K::Array, .meaning = "варианты компенсации", .nested = &Variant},
    {.name = "supply", .kind = K::Object, .meaning = "питание для проверки резонанса", .nested = &Supply},
    {.name = "economics", .kind = K::Object, .meaning = "экономические параметры", .nested = &Economics},
}};

const JsonShape Module{"Группа модулей (элемент `modules`)", {
    {.name = "Qstup", .kind = K::Number, .meaning = "мощность модуля, квар", .min = 0, .max = MaxPower},
    {.name = "Kol_vo", .kind = K::Integer, .meaning = "количество модулей", .min = 1, .max = MaxModuleCount},
}};

const JsonShape Type{"Конденсаторная установка (элемент `types`)", {
    {.name = "Name", .kind = K::Text, .meaning = "наименование", .storedIn = "sKU1.DB.Name"},
    {.name = "Q", .kind = K::Number, .meaning = "мощность, квар", .min = 0, .max = MaxPower},
    {.name = "Pp", .kind = K::Number, .meaning = "удельные потери, кВт/квар", .min = 0, .max = 1},
    {.name = "Unom", .kind = K::Integer, .meaning = "номинальное напряжение, В", .min = 0, .max = 1000},
    {.name = "Cena", .kind = K::Number, .meaning = "цена (может быть null)", .min = 0, .max = MaxPrice},
    {.name = "Detuning", .kind = K::Number, .meaning = "расстройка реактором p, % (0 или null: без реактора)"},
    {.name = "modules", .kind = K::Array, .meaning = "группы модулей", .nested = &Module},
}};

const JsonShape Company{"Компания (элемент массива верхнего уровня)", {
    {.name = "Company", .kind = K::Text, .required = true, .meaning = "наименование компании", .storedIn = "sKU0.db.Company"},
    {.name = "types", .kind = K::Array, .meaning = "установки компании", .nested = &Type},
}};

const JsonInput ProjectInput{"import", {.name = "", .kind = K::Object, .required = true, .nested = &Project}};
const JsonInput CatalogueInput{"catalogue-import", {.name = "", .kind = K::Array, .required = true, .nested = &Company}};
// clang-format on

QString kindName(JsonKind kind)
{
    switch (kind) {
    case K::Text:
        return QStringLiteral("строкой");
    case K::Number:
        return QStringLiteral("числом");
    case K::Integer:
        return QStringLiteral("целым числом");
    case K::Object:
        return QStringLiteral("объектом");
    case K::Array:
        return QStringLiteral("массивом");
    case K::IntegerArray:
        return QStringLiteral("массивом целых чисел");
    }
    return {};
}

// In the instrumental case: "должно быть массивом, а не объектом".
QString jsonTypeName(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("логическим значением");
    case QJsonValue::Double:
        return QStringLiteral("числом");
    case QJsonValue::String:
        return QStringLiteral("строкой");
    case QJsonValue::Array:
        return QStringLiteral("массивом");
    case QJsonValue::Object:
        return QStringLiteral("объектом");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("пустым значением");
}

const FieldDef *storedField(const JsonKey &key)
{
    if (!key.storedIn)
        return nullptr;
    const QString where = QString::fromLatin1(key.storedIn);
    const qsizetype dot = where.lastIndexOf(QLatin1Char('.'));
    const TableDef *table = tableDef(where.left(dot));
    const int i = table ? table->fieldIndex(where.mid(dot + 1)) : -1;
    return i < 0 ? nullptr : &table->fields[size_t(i)];
}

[[noreturn]] void refuse(const QString &path, const QString &what)
{
    throw KorvanError(
        QStringLiteral("Ошибка в «%1»: %2").arg(path.isEmpty() ? QStringLiteral("(верхний уровень)") : path, what));
}

void checkValue(const JsonKey &key, const QJsonValue &v, const QString &path);

void checkObject(const JsonShape &shape, const QJsonObject &object, const QString &path)
{
    const auto at = [&](const QString &name) { return path.isEmpty() ? name : path + QLatin1Char('.') + name; };
    for (auto it = object.begin(); it != object.end(); ++it) {
        const JsonKey *key = nullptr;
        for (const JsonKey &k : shape.keys)
            if (it.key() == QLatin1String(k.name))
                key = &k;
        if (!key) {
            QStringList known;
            for (const JsonKey &k : shape.keys)
                known << QLatin1String(k.name);
            refuse(at(it.key()),
                   QStringLiteral("неизвестный ключ. Допустимые ключи: %1.").arg(known.join(QStringLiteral(", "))));
        }
        checkValue(*key, it.value(), at(it.key()));
        if (key->excludes && object.contains(QLatin1String(key->excludes)))
            refuse(at(it.key()), QStringLiteral("ключи «%1» и «%2» не указываются вместе: задайте только один из них.")
                                     .arg(it.key(), QLatin1String(key->excludes)));
    }
    for (const JsonKey &k : shape.keys)
        if (k.required && !object.contains(QLatin1String(k.name)))
            refuse(at(QLatin1String(k.name)), QStringLiteral("обязательный ключ не указан."));
}

void checkNumber(const JsonKey &key, const QJsonValue &v, const QString &path)
{
    std::optional<double> x;
    if (v.isDouble())
        x = v.toDouble();
    else if (v.isString())
        x = parseNumber(decimalComma(v.toString()));
    if (!x || !std::isfinite(*x))
        refuse(path, QStringLiteral("значение должно быть %1, а не «%2».")
                         .arg(kindName(key.kind), v.isString() ? v.toString() : jsonTypeName(v)));
    if (key.kind == K::Integer && *x != std::floor(*x))
        refuse(path, QStringLiteral("значение должно быть целым числом, а не %1.").arg(korvan::numberText(*x)));
    if (*x < key.min)
        refuse(path, QStringLiteral("значение %1 меньше допустимого %2.")
                         .arg(korvan::numberText(*x), korvan::numberText(key.min)));
    if (*x > key.max)
        refuse(path, QStringLiteral("значение %1 больше допустимого %2.")
                         .arg(korvan::numberText(*x), korvan::numberText(key.max)));
}

void checkValue(const JsonKey &key, const QJsonValue &v, const QString &path)
{
    const bool scalar = key.kind == K::Text || key.kind == K::Number || key.kind == K::Integer;
    // null stands for an empty field, as an empty cell of a window does.
    if (v.isNull() && scalar && !key.required)
        return;
    const auto wrongType = [&] {
        refuse(path, QStringLiteral("значение должно быть %1, а не %2.").arg(kindName(key.kind), jsonTypeName(v)));
    };
    switch (key.kind) {
    case K::Text: {
        if (!v.isString())
            wrongType();
        const FieldDef *field = storedField(key);
        const QString problem = textProblem(v.toString(), field && field->type == FieldType::String ? field->size : 0,
                                            field && field->type == FieldType::Memo);
        if (!problem.isEmpty())
            refuse(path, problem);
        return;
    }
    case K::Number:
    case K::Integer:
        if (!v.isDouble() && !v.isString())
            wrongType();
        checkNumber(key, v, path);
        return;
    case K::Object:
        if (!v.isObject())
            wrongType();
        checkObject(*key.nested, v.toObject(), path);
        return;
    case K::Array: {
        if (!v.isArray())
            wrongType();
        const QJsonArray items = v.toArray();
        if (key.maxItems > 0 && items.size() > key.maxItems)
            refuse(path, QStringLiteral("%1 элементов, больше допустимых %2.").arg(items.size()).arg(key.maxItems));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QString itemPath = QStringLiteral("%1[%2]").arg(path).arg(i);
            if (!items[i].isObject())
                refuse(itemPath, QStringLiteral("элемент должен быть объектом, а не %1.").arg(jsonTypeName(items[i])));
            checkObject(*key.nested, items[i].toObject(), itemPath);
        }
        return;
    }
    case K::IntegerArray: {
        if (!v.isArray())
            wrongType();
        const QJsonArray items = v.toArray();
        const JsonKey element{.name = "", .kind = K::Integer, .min = key.min, .max = key.max};
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QString itemPath = QStringLiteral("%1[%2]").arg(path).arg(i);
            if (!items[i].isDouble() && !items[i].isString())
                refuse(itemPath,
                       QStringLiteral("элемент должен быть целым числом, а не %1.").arg(jsonTypeName(items[i])));
            checkNumber(element, items[i], itemPath);
        }
        return;
    }
    }
}

QString kindColumn(const JsonKey &key)
{
    switch (key.kind) {
    case K::Text:
        return QStringLiteral("строка");
    case K::Number:
        return QStringLiteral("число");
    case K::Integer:
        return QStringLiteral("целое число");
    case K::Object:
        return QStringLiteral("объект");
    case K::Array:
        return QStringLiteral("массив объектов");
    case K::IntegerArray:
        return QStringLiteral("массив целых чисел");
    }
    return {};
}

QString limitsColumn(const JsonKey &key)
{
    QStringList parts;
    if (const FieldDef *f = storedField(key)) {
        if (f->type == FieldType::String)
            parts << QStringLiteral("не длиннее %1 символов").arg(f->size);
        else if (f->type == FieldType::Memo)
            parts << QStringLiteral("переводы строк допустимы");
    }
    if (std::isfinite(key.min))
        parts << QStringLiteral("не меньше %1").arg(korvan::numberText(key.min));
    if (std::isfinite(key.max))
        parts << QStringLiteral("не больше %1").arg(korvan::numberText(key.max));
    if (key.excludes)
        parts << QStringLiteral("не вместе с `%1`").arg(QLatin1String(key.excludes));
    if (key.maxItems > 0)
        parts << QStringLiteral("не больше %1 элементов").arg(key.maxItems);
    return parts.join(QStringLiteral("; "));
}

void collectShapes(const JsonShape *shape, QList<const JsonShape *> &out)
{
    if (!shape || out.contains(shape))
        return;
    out << shape;
    for (const JsonKey &k : shape->keys)
        collectShapes(k.nested, out);
}

} // namespace

const JsonInput &projectInput() { return ProjectInput; }
const JsonInput &catalogueInput() { return CatalogueInput; }

QString textProblem(const QString &text, int maxLength, bool multiline)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return QStringLiteral("непарный суррогат UTF-16 (\\u%1) в позиции %2: такой текст нельзя сохранить.")
                .arg(c.unicode(), 4, 16, QLatin1Char('0'))
                .arg(i + 1);
        const bool lineBreak = c == QLatin1Char('\n') || c == QLatin1Char('\r');
        if (c.category() == QChar::Other_Control && !(multiline && lineBreak))
            return QStringLiteral("управляющий символ (код %1) в позиции %2: в окнах его ввести нельзя.")
                .arg(c.unicode())
                .arg(i + 1);
    }
    if (maxLength > 0 && text.size() > maxLength)
        return QStringLiteral("текст длиной %1 символов не помещается в поле размером %2 символов.")
            .arg(text.size())
            .arg(maxLength);
    return {};
}

void checkJson(const JsonInput &input, const QJsonValue &value) { checkValue(input.root, value, QString()); }

QString markdownTables(const JsonInput &input)
{
    QList<const JsonShape *> shapes;
    collectShapes(input.root.nested, shapes);
    QString out;
    for (const JsonShape *shape : shapes) {
        out +=
            QStringLiteral("\n%1:\n\n| Ключ | Тип | Обязательный | Ограничения | Значение |\n|---|---|---|---|---|\n")
                .arg(QString::fromUtf8(shape->title));
        for (const JsonKey &k : shape->keys)
            out += QStringLiteral("| `%1` | %2 | %3 | %4 | %5 |\n")
                       .arg(QLatin1String(k.name), kindColumn(k),
                            k.required ? QStringLiteral("да") : QStringLiteral("нет"), limitsColumn(k),
                            QString::fromUtf8(k.meaning));
    }
    return out;
}

} // namespace korvan::cli
