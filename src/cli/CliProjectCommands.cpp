// Project commands of the command-line program: list, import, export, recalc, delete, copy.
#include "cli/CliCommandList.h"
#include "cli/CliContext.h"
#include "cli/CliEconomics.h"
#include "cli/CliSupply.h"
#include "cli/CliSupport.h"
#include "cli/Interrupt.h"
#include "cli/JsonShape.h"
#include "cli/JsonText.h"
#include "core/data/Fields.h"

#include "core/calc/ModuleSwitching.h"
#include "core/calc/Numbers.h"
#include "core/compensation/VariantCommands.h"
#include "core/data/Schema.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/graphs/GraphCommands.h"
#include "core/NumericChecks.h"
#include "core/project/ProjectCommands.h"

#include <QJsonArray>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

namespace korvan::cli {

namespace {

const QString GraphColumns[] = {fld::T1, fld::T2, fld::P, fld::Q};

// Adds where it happened below the message, which stays as the dialogs show it.
[[noreturn]] void rethrowAt(const KorvanError &e, const QString &where)
{
    throw KorvanError(e.message() + QLatin1Char('\n') + where);
}

ProjectParams projectParams(const TDataModule1 &data, const QJsonObject &in)
{
    ProjectParams p = newProjectParams(data);
    p.name = textOf(in, fld::Name, p.name);
    p.owner = textOf(in, fld::ProjOwner);
    p.memo = textOf(in, fld::ProjMemo);
    p.monthDay = numberText(in, fld::MonthDay, p.monthDay);
    p.yearDay = numberText(in, fld::YearDay, p.yearDay);
    p.tarifA = numberText(in, fld::Tarif_a, p.tarifA);
    p.tarifQ = numberText(in, fld::Tarif_q, p.tarifQ);
    return p;
}

QList<LoadPeriod> periodsFromJson(const QJsonArray &periods)
{
    QList<QStringList> rows;
    for (const QJsonValue &v : periods) {
        const QJsonObject o = v.toObject();
        QStringList row;
        for (const QString &c : GraphColumns)
            row << numberText(o, c);
        rows << row;
    }
    if (const auto problem = checkGraphTable(rows, false))
        throw KorvanError(
            problem->message +
            QStringLiteral("\nПериод %1, поле «%2».").arg(problem->row + 1).arg(GraphColumns[problem->column]));
    return graphPeriods(rows);
}

QList<LoadPeriod> typicalFromJson(TDataModule1 &data, const QJsonObject &typical)
{
    const QString industry = textOf(typical, fld::Otrasl);
    const QString enterprise = textOf(typical, fld::Name);
    if (!data.tblSutGr0->locate(fld::Otrasl, industry))
        throw KorvanError(QStringLiteral("Отрасль «%1» не найдена в справочнике суточных графиков.").arg(industry));
    if (!data.tblSutGr1->locate(fld::Name, enterprise))
        throw KorvanError(QStringLiteral("Предприятие «%1» не найдено в отрасли «%2».").arg(enterprise, industry));
    const QString pmax = numberText(typical, QStringLiteral("Pmax"), QStringLiteral("100"));
    const QString qmax = numberText(typical, fld::Qmax, QStringLiteral("100"));
    if (auto m = positiveNumberProblem(pmax, QStringLiteral("максимальной активной мощности")))
        throw KorvanError(*m);
    if (auto m = positiveNumberProblem(qmax, QStringLiteral("максимальной реактивной мощности")))
        throw KorvanError(*m);
    if (data.tblSutGr2->isEmpty())
        throw KorvanError(QStringLiteral("Заполнение таблицы суточного графика обязательно."));
    return scaledTypicalGraph(*data.tblSutGr2, numberValue(pmax), numberValue(qmax));
}

// Makes the installation type of the entry current in the catalogue.
void locateType(TDataModule1 &data, const QJsonObject &in)
{
    if (in.contains(fld::KodKU1)) {
        const qint64 kod = qint64(numberValue(numberText(in, fld::KodKU1)));
        // The type's company from its row alone: reading the whole catalogue for each variant
        // was most of an import's time with a large catalogue.
        const QVariant company =
            data.store().scalar(QStringLiteral("SELECT \"Kod0\" FROM \"sKU1.DB\" WHERE \"Kod\" = %1").arg(kod));
        if (company.isNull() || !data.tblsKU0->locate(fld::Kod, company) || !data.tblsKU1->locate(fld::Kod, kod))
            throw KorvanError(
                QStringLiteral("«KodKU1»: конденсаторная установка с кодом %1 не найдена в справочнике.").arg(kod));
        return;
    }
    const QString company = textOf(in, fld::Company), type = textOf(in, fld::TipKU);
    if (!data.tblsKU0->locate(fld::Company, company))
        throw KorvanError(
            QStringLiteral("«Company»: компания «%1» не найдена в справочнике конденсаторных установок.").arg(company));
    if (!data.tblsKU1->locate(fld::Name, type))
        throw KorvanError(
            QStringLiteral("«TipKU»: конденсаторная установка «%1» не найдена у компании «%2».").arg(type, company));
}

void addVariantFromJson(TDataModule1 &data, const QJsonObject &in)
{
    locateType(data, in);
    if (data.tblsKU2->isEmpty())
        throw KorvanError(
            QStringLiteral("У конденсаторной установки «%1» нет модулей.").arg(data.tblsKU1->asString(fld::Name)));
    VariantParams p;
    p.varNum = labelText(in, fld::VarNum, nextVariantNumber(data));
    p.kp = numberText(in, fld::Kp, p.kp);
    const QString rejim = textOf(in, fld::Rejim, selectionModeCaption(FullCompensation));
    const auto mode = selectionModeNumber(rejim);
    if (!mode)
        throw KorvanError(QStringLiteral("Неизвестный режим подбора модулей КУ: «%1».").arg(rejim));
    p.mode.mode = *mode;
    p.mode.cosfMin = numberText(in, fld::Cosf_min, p.mode.cosfMin);
    p.mode.cosfMax = numberText(in, fld::Cosf_max, p.mode.cosfMax);
    p.mode.cosfTr = numberText(in, fld::Cosf_tr, p.mode.cosfTr);
    addVariant(data, p);
}

QByteArray kodResult(qint64 kod) { return json::object({{fld::Kod, QByteArray::number(kod)}}); }

} // namespace

QByteArray listProjects(Context &context)
{
    context.requireNoArguments();
    TTable &projects = *context.data().tblProj0;
    QList<QByteArray> items;
    for (projects.first(); !projects.eof(); projects.next())
        items << json::object({{fld::Kod, QByteArray::number(projects.currentKod())},
                               {fld::Name, json::string(projects.asString(fld::Name))}});
    return json::array(items);
}

QByteArray importProject(Context &context)
{
    const QString path = context.takePositional(QStringLiteral("файл проекта"));
    context.requireNoArguments();
    const QJsonValue input = readJsonInput(path);
    checkJson(projectInput(), input);
    const QJsonObject in = input.toObject();
    TDataModule1 &data = context.data();
    Store::Transaction tx(data.store());
    createProject(data, projectParams(data, in));
    const qint64 kod = data.tblProj0->currentKod();
    importSupply(data, in.value(QStringLiteral("supply")));
    if (in.contains(QStringLiteral("typical")))
        replaceProjectGraph(data, typicalFromJson(data, in.value(QStringLiteral("typical")).toObject()));
    else if (in.contains(QStringLiteral("periods")))
        replaceProjectGraph(data, periodsFromJson(in.value(QStringLiteral("periods")).toArray()));
    if (in.contains(QStringLiteral("economics")))
        importEconomics(data, in.value(QStringLiteral("economics")));
    const QJsonArray variants = in.value(QStringLiteral("variants")).toArray();
    if (!variants.isEmpty() && data.tblProj1->isEmpty())
        throw KorvanError(QStringLiteral("Варианты компенсации нельзя добавить в проект без суточного графика."));
    for (int i = 0; i < variants.size(); ++i) {
        try {
            addVariantFromJson(data, variants[i].toObject());
        } catch (const KorvanError &e) {
            rethrowAt(e, QStringLiteral("Вариант %1 в файле.").arg(i + 1));
        }
    }
    throwIfInterrupted();
    tx.commit();
    return kodResult(kod);
}

// The export of a large project is many times the size of its rows in the store: it is written
// as it is read, one row at a time, so the program holds one row's text, never the whole. It goes
// to a temporary file first and to the standard output only once every row has been read: a
// store that fails halfway gives an error, not half a project.
QByteArray exportProject(Context &context)
{
    takeProject(context);
    context.requireNoArguments();
    TDataModule1 &d = context.data();
    // One transaction for the thousands of reads: without it the engine locks and checks the
    // file again for every statement. Nothing is written.
    Store::Transaction tx(d.store());
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> spool(std::tmpfile(), std::fclose);
    if (!spool)
        throw KorvanError(QStringLiteral("Не удалось создать временный файл для экспорта проекта: %1.")
                              .arg(QString::fromLocal8Bit(std::strerror(errno))));
    bool spoolFailed = false;
    const auto put = [&](const QByteArray &text) {
        spoolFailed =
            spoolFailed || std::fwrite(text.constData(), 1, size_t(text.size()), spool.get()) != size_t(text.size());
    };
    // Every row of the table, each followed by the members its details give it.
    std::function<void(TTable &, const std::function<void()> &)> rows = [&](TTable &t,
                                                                            const std::function<void()> &details) {
        put("[");
        for (t.first(); !t.eof(); t.next()) {
            if (t.recNo() > 0)
                put(",");
            QByteArray row = json::row(t);
            if (details) {
                row.chop(1); // the closing brace, written after the details
                put(row);
                details();
                put("}");
            } else {
                put(row);
            }
        }
        put("]");
    };
    const auto member = [&](const QString &name) { put("," + json::string(name) + ':'); };
    put("{" + json::string(tbl::project0) + ':' + json::row(*d.tblProj0));
    member(tbl::project1);
    rows(*d.tblProj1, {});
    member(tbl::project2);
    rows(*d.tblProj2, [&] {
        member(tbl::project5);
        rows(*d.tblProj5, {});
        member(tbl::project3);
        rows(*d.tblProj3, [&] {
            member(tbl::project4);
            rows(*d.tblProj4, {});
        });
        member("economics");
        put(currentVariantEconomicsJson(d));
        member("harmonics");
        put(variantHarmonicsJson(d.store(), d.tblProj2->currentKod()));
    });
    // The economics follow the tables, so readers of the tables see the export as before.
    member("economics");
    put(currentEconomicsJson(d));
    member("supply");
    put(supplyJson(d.store(), d.tblProj0->currentKod()));
    put("}");
    if (spoolFailed || std::fflush(spool.get()) != 0)
        throw KorvanError(QStringLiteral("Не удалось записать временный файл экспорта проекта: на диске "
                                         "недостаточно места?"));
    std::rewind(spool.get());
    char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, spool.get())) > 0;)
        std::fwrite(buffer, 1, n, stdout);
    return {};
}

QByteArray recalcProject(Context &context)
{
    const qint64 kod = takeProject(context);
    context.requireNoArguments();
    recalculateProject(context.data());
    return kodResult(kod);
}

QByteArray editProjectCommand(Context &context)
{
    const QString name = context.takeOption(QStringLiteral("--name"));
    const QString owner = context.takeOption(QStringLiteral("--owner"));
    const QString tarifA = context.takeNumber(QStringLiteral("--tarif-a"));
    const QString tarifQ = context.takeNumber(QStringLiteral("--tarif-q"));
    const QString monthDay = context.takeNumber(QStringLiteral("--month-day"));
    const QString yearDay = context.takeNumber(QStringLiteral("--year-day"));
    takeProject(context);
    context.requireNoArguments();
    TDataModule1 &data = context.data();
    ProjectParams p = currentProjectParams(data);
    const auto given = [](QString &field, const QString &value) {
        if (!value.isNull())
            field = value;
    };
    given(p.name, name);
    given(p.owner, owner);
    given(p.tarifA, tarifA);
    given(p.tarifQ, tarifQ);
    given(p.monthDay, monthDay);
    given(p.yearDay, yearDay);
    editProject(data, p);
    return json::row(*data.tblProj0);
}

QByteArray deleteProjectCommand(Context &context)
{
    const qint64 kod = takeProject(context);
    context.requireNoArguments();
    deleteProject(context.data());
    return kodResult(kod);
}

QByteArray copyProjectCommand(Context &context)
{
    QString name = context.takeOption(QStringLiteral("--name"));
    const bool named = !name.isNull();
    takeProject(context);
    context.requireNoArguments();
    TDataModule1 &data = context.data();
    if (!named)
        name = data.tblProj0->asString(fld::Name) + QStringLiteral("_1");
    // The name a copy gets is checked as an imported project's name is.
    const TableDef &projects = *tableDef(tbl::project0);
    const QString problem = textProblem(name, projects.fields[size_t(projects.fieldIndex(fld::Name))].size, false);
    const QString what = named ? QStringLiteral("--name") : QStringLiteral("наименование копии «%1»").arg(name);
    if (!problem.isEmpty())
        throw KorvanError(QStringLiteral("Ошибка в «%1»: %2").arg(what, problem));
    if (name.trimmed().isEmpty())
        throw KorvanError(
            QStringLiteral("Ошибка в «%1»: заполнение поля \"Наименование проекта\" обязательно.").arg(what));
    return kodResult(copyProject(data, name, commandProgress("Копирование проекта")));
}

} // namespace korvan::cli
