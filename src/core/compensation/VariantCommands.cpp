#include "core/compensation/VariantCommands.h"
#include "core/data/CommandScope.h"
#include "core/data/Fields.h"

#include "core/calc/Numbers.h"
#include "core/data/VariantPeriods.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/data/ProjectResults.h"
#include "core/NumericChecks.h"

namespace korvan {

namespace {

const QString CosDesc = QStringLiteral("коэффициента мощности");

struct CosField {
    int field;
    bool used;
    const QString *text;
};

QList<CosField> cosFields(const ModeInput &in)
{
    return {{VariantParams::CosfMin, ModeInput::usesMin(in.mode), &in.cosfMin},
            {VariantParams::CosfMax, ModeInput::usesMax(in.mode), &in.cosfMax},
            {VariantParams::CosfTr, ModeInput::usesTr(in.mode), &in.cosfTr}};
}

void requireProject(const TDataModule1 &data)
{
    if (data.tblProj0->isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
}

void requireVariant(const TDataModule1 &data)
{
    requireProject(data);
    if (data.tblProj2->isEmpty())
        throw KorvanError(QStringLiteral("У текущего проекта нет вариантов компенсации."));
}

void writeMode(TTable &variant, const ModeInput &in)
{
    variant.setValue(fld::Rejim, selectionModeCaption(in.mode));
    const ModeSettings s = in.settings();
    variant.setOptional(fld::Cosf_min, ModeInput::usesMin(in.mode) ? s.Cosf_min : std::nullopt);
    variant.setOptional(fld::Cosf_max, ModeInput::usesMax(in.mode) ? s.Cosf_max : std::nullopt);
    variant.setOptional(fld::Cosf_tr, ModeInput::usesTr(in.mode) ? s.Cosf_tr : std::nullopt);
}

// The variant's own fields from the dialog and the catalogue's current company and type.
void writeVariant(TDataModule1 &data, const VariantParams &params)
{
    TTable &v = *data.tblProj2, &type = *data.tblsKU1;
    v.setAsString(fld::VarNum, params.varNum.trimmed());
    v.setValue(fld::Kp, numberValue(params.kp));
    v.setValue(fld::KodKU0, data.tblsKU0->currentKod());
    v.setValue(fld::KodKU1, type.currentKod());
    v.setValue(fld::TipKU, type.value(fld::Name));
    v.setValue(fld::Qk, type.value(fld::Q));
    v.setValue(fld::Pp, type.value(fld::Pp));
    // A type without a price gives 0: the variant always has a price to show.
    v.setValue(fld::Cena, type.asFloat(fld::Cena));
    writeMode(v, params.mode);
}

void copyModuleSet(TDataModule1 &data)
{
    TTable &groups = *data.tblsKU2, &set = *data.tblProj5;
    for (groups.first(); !groups.eof(); groups.next()) {
        set.append();
        set.setValue(fld::Stup, groups.value(fld::Qstup));
        set.setValue(fld::Kol_vo, groups.value(fld::Kol_vo));
        set.post();
    }
}

void requireCatalogueType(const TDataModule1 &data)
{
    if (data.tblsKU1->isEmpty())
        throw KorvanError(QStringLiteral("Не выбрана конденсаторная установка."));
}

// Re-switches every compensated period of the current variant with the mode just stored.
void reselectCurrentVariant(TDataModule1 &data, const ModeInput &input)
{
    TTable &variant = *data.tblProj2, &compensated = *data.tblProj3;
    const ModuleList modules = variantModuleList(data);
    variant.edit();
    writeMode(variant, input);
    variant.post();
    const std::optional<ModeSettings> mode = input.settings();
    for (compensated.first(); !compensated.eof(); compensated.next())
        switchModules(data, modules, mode);
}

} // namespace

ModeSettings ModeInput::settings() const
{
    ModeSettings s;
    s.mode = mode;
    const auto number = [&](bool used, const QString &text) -> std::optional<double> {
        return used ? parseNumber(text) : std::nullopt;
    };
    s.Cosf_min = number(usesMin(mode), cosfMin);
    s.Cosf_max = number(usesMax(mode), cosfMax);
    s.Cosf_tr = number(usesTr(mode), cosfTr);
    return s;
}

std::optional<InputProblem> checkModeInput(const ModeInput &in)
{
    if (in.mode < 0 || in.mode >= kSelectionModeCount)
        return InputProblem{-1, QStringLiteral("Неизвестный режим подбора модулей КУ.")};
    for (const CosField &f : cosFields(in))
        if (f.used)
            if (auto message = positiveNumberProblem(*f.text, CosDesc))
                return InputProblem{f.field, *message};
    for (const CosField &f : cosFields(in))
        if (f.used && numberValue(*f.text) > 1)
            return InputProblem{f.field,
                                QStringLiteral("Значение коэффициента мощности должно быть меньше либо равно 1.")};
    if (in.mode == CosInRange && numberValue(in.cosfMax) < numberValue(in.cosfMin))
        return InputProblem{VariantParams::CosfMin,
                            QStringLiteral("Значение минимального значения коэффициента мощности должно быть меньше "
                                           "максимального значения коэффициента мощности.")};
    return std::nullopt;
}

std::optional<InputProblem> checkSelectionInput(const QString &kp, const ModeInput &input)
{
    if (auto message = positiveNumberProblem(kp, QStringLiteral("коэффициента потерь")))
        return InputProblem{VariantParams::Kp, *message};
    return checkModeInput(input);
}

std::optional<InputProblem> checkVariantParams(TDataModule1 &data, const VariantParams &params, bool adding)
{
    const QString number = params.varNum.trimmed();
    if (number.isEmpty())
        return InputProblem{VariantParams::VarNum,
                            QStringLiteral("Заполнение поля \"Вариант компенсации\" обязательно.")};
    if (auto p = checkSelectionInput(params.kp, params.mode))
        return p;
    const QString duplicate = QStringLiteral("Таблица конденсаторных установок уже содержит вариант компенсации с "
                                             "наименованием \"%1\". Введите другое наименование варианта компенсации.")
                                  .arg(params.varNum);
    TTable &variants = *data.tblProj2;
    bool ok = false;
    const qlonglong asNumber = number.toLongLong(&ok);
    if (!ok)
        return InputProblem{
            VariantParams::VarNum,
            QStringLiteral("Значение поля \"Вариант компенсации\" должно быть целым числом, а не \"%1\".")
                .arg(params.varNum)};
    if (adding) {
        if (variants.locate(fld::VarNum, asNumber))
            return InputProblem{VariantParams::VarNum, duplicate};
    } else {
        const qint64 editing = variants.currentKod();
        bool found = false;
        const auto mark = variants.bookmark();
        for (variants.first(); !variants.eof() && !found; variants.next())
            found = variants.currentKod() != editing && variants.asString(fld::VarNum) == number;
        variants.gotoBookmark(mark);
        if (found)
            return InputProblem{VariantParams::VarNum, duplicate};
    }
    return std::nullopt;
}

QString nextVariantNumber(const TDataModule1 &data)
{
    // One above the largest number in use: after a deletion the count of variants plus one
    // names a number that is still taken. Read from the file, so no cursor moves.
    const QVariant largest =
        data.store().scalar(QStringLiteral("SELECT MAX(\"VarNum\") FROM \"project2.db\" WHERE \"Kod0\" = %1")
                                .arg(data.tblProj0->currentKod()));
    return QString::number(largest.toLongLong() + 1);
}

void addVariant(TDataModule1 &data, const VariantParams &params)
{
    requireProject(data);
    throwIf(checkVariantParams(data, params, true));
    requireCatalogueType(data);
    CommandScope command(data.store(), {data.tblProj4, data.tblProj3, data.tblProj5, data.tblProj2});
    TTable &v = *data.tblProj2;
    v.append();
    writeVariant(data, params);
    v.post();
    copyModuleSet(data);
    buildVariantPeriods(data, params.mode.settings());
    refreshVariantResults(data.store(), data.tblProj0->currentKod(), v.currentKod());
    command.commit();
}

void editVariant(TDataModule1 &data, const VariantParams &params)
{
    requireVariant(data);
    throwIf(checkVariantParams(data, params, false));
    requireCatalogueType(data);
    CommandScope command(data.store(), {data.tblProj4, data.tblProj3, data.tblProj5, data.tblProj2});
    TTable &v = *data.tblProj2;
    v.edit();
    writeVariant(data, params);
    v.post();
    TDataModule1::deleteAllRows(*data.tblProj5);
    copyModuleSet(data);
    TDataModule1::deleteAllRows(*data.tblProj3);
    buildVariantPeriods(data, params.mode.settings());
    refreshVariantResults(data.store(), data.tblProj0->currentKod(), v.currentKod());
    command.commit();
}

void deleteVariant(TDataModule1 &data)
{
    requireVariant(data);
    Store::Transaction tx(data.store());
    data.tblProj2->remove();
    tx.commit();
}

void reselectModules(TDataModule1 &data, const ModeInput &input, bool allVariants)
{
    requireVariant(data);
    throwIf(checkModeInput(input));
    TTable &variants = *data.tblProj2, &compensated = *data.tblProj3;
    const auto variantMark = variants.bookmark();
    const auto periodMark = compensated.bookmark();
    CommandScope command(data.store(), {data.tblProj4, data.tblProj3, data.tblProj2});
    if (allVariants)
        for (variants.first(); !variants.eof(); variants.next())
            reselectCurrentVariant(data, input);
    else
        reselectCurrentVariant(data, input);
    refreshProjectResults(data.store(), data.tblProj0->currentKod());
    variants.gotoBookmark(variantMark);
    compensated.gotoBookmark(periodMark);
    command.commit();
}

} // namespace korvan
