#include "core/compensation/Analysis.h"
#include "core/data/CommandScope.h"
#include "core/data/Fields.h"

#include "core/calc/Numbers.h"
#include "core/data/AnalysisInputs.h"
#include "core/data/Records.h"
#include "core/data/ResonanceTables.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"

namespace korvan {

namespace {

double numberIn(const TTable::Row &row, int position)
{
    const QVariant &v = row[position];
    return v.isNull() ? 0.0 : v.toDouble();
}

ModuleList modulesOf(const TTable &groups, const QVector<TTable::Row> &rows)
{
    const int power = groups.fieldIndex(fld::Qstup), count = groups.fieldIndex(fld::Kol_vo);
    std::vector<ModuleGroup> list;
    for (const TTable::Row &row : rows)
        list.push_back({numberIn(row, power), int(numberIn(row, count))});
    ModuleList modules;
    BuildModuleList(list, modules);
    return modules;
}

QString hours(const LoadPeriod &p) { return numberText(p.T1) + QStringLiteral(" - ") + numberText(p.T2); }

} // namespace

CandidateProject candidateProject(const TDataModule1 &data)
{
    const TTable &project = *data.tblProj0, &periods = *data.tblProj1;
    CandidateProject out;
    out.tariff = tariffOf(project);
    out.PayWs = project.asFloat(fld::PayWs);
    out.PayWs_m = project.asFloat(fld::PayWs_m);
    out.PayWs_g = project.asFloat(fld::PayWs_g);
    const QList<LoadPeriod> graph = loadPeriodsOf(periods);
    out.periods.assign(graph.begin(), graph.end());
    out.supply = resonance_tables::supply(data.store(), project.currentKod());
    return out;
}

QHash<qint64, CandidateType> companyCandidateTypes(const TDataModule1 &data)
{
    const TTable &groups = *data.tblsKU2;
    const QHash<qint64, QVector<TTable::Row>> groupsOf = groups.rowsForEachMasterRow();
    const QHash<qint64, double> detunings = resonance_tables::detunings(data.store());
    QHash<qint64, CandidateType> out;
    for (const TTable::Row &type : data.tblsKU1->rows()) {
        const qint64 kod = type[0].toLongLong();
        CandidateType &t = out[kod];
        t.modules = modulesOf(groups, groupsOf.value(kod));
        if (const auto d = detunings.constFind(kod); d != detunings.constEnd())
            t.detuning = *d;
    }
    return out;
}

QString candidateFailureText(const CandidateFailure &failure, const CandidateProject &project, const QString &typeName)
{
    const auto period = [&] {
        return failure.period >= 0 && size_t(failure.period) < project.periods.size()
                   ? hours(project.periods[size_t(failure.period)])
                   : QString();
    };
    switch (failure.kind) {
    case CandidateFailure::NoPeriods:
        return QStringLiteral("Суточный график нагрузки текущего проекта не заполнен.");
    case CandidateFailure::MissingMode:
        return QStringLiteral("Неизвестный режим подбора модулей КУ.");
    case CandidateFailure::ZeroCurrent:
        return QStringLiteral("Ток периода %1 ч без компенсации равен 0: снижение потерь в подводящих кабелях "
                              "не определено.")
            .arg(period());
    case CandidateFailure::ZeroPeriodEnergy:
        return QStringLiteral("Полная энергия периода %1 ч с компенсацией для конденсаторной установки «%2» равна 0: "
                              "cos(f) периода не определен.")
            .arg(period(), typeName);
    case CandidateFailure::ZeroActiveEnergy:
        return QStringLiteral("Суточная активная энергия с компенсацией для конденсаторной установки «%1» равна 0: "
                              "tg(f) не определен.")
            .arg(typeName);
    }
    return {};
}

void EvaluateCandidate(TDataModule1 &data, const CandidateProject &project, double Kp, const ModeSettings &mode,
                       CandidateWrite write, const CandidateType *given)
{
    const TTable &company = *data.tblsKU0, &type = *data.tblsKU1;
    Store &store = data.store();
    const CandidateType read = given ? CandidateType{}
                                     : CandidateType{modulesOf(*data.tblsKU2, data.tblsKU2->rows()),
                                                     resonance_tables::detuning(store, type.currentKod())};
    const CandidateType &typeData = given ? *given : read;
    CandidateSettings settings;
    settings.modules = typeData.modules;
    settings.Pp = type.asFloat(fld::Pp);
    settings.Cena = type.asOptional(fld::Cena);
    settings.Kp = Kp;
    settings.mode = mode;
    const CandidateOutcome outcome = evaluateCandidate(project, settings);
    if (!outcome.values)
        throw UndefinedCandidate(candidateFailureText(outcome.failure, project, type.asString(fld::Name)));
    const CandidateValues &v = *outcome.values;

    TTable &table = *data.tblSel_KU;
    EditBuffers buffer{&table};
    if (write == CandidateWrite::Append)
        table.append();
    else
        table.edit();
    table.setValue(fld::Kod0, data.tblProj0->currentKod());
    table.setValue(fld::KodKU0, company.currentKod());
    table.setValue(fld::KodKU1, type.currentKod());
    table.setValue(fld::Company, company.value(fld::Company));
    table.setValue(fld::TipKU, type.value(fld::Name)); // cut to the field's 30
    table.setValue(fld::Qk, type.value(fld::Q));
    table.setValue(fld::Qku_min, v.Qku_min);
    table.setValue(fld::Qku_max, v.Qku_max);
    table.setValue(fld::Cosf_sr, v.Cosf_sr);
    table.setValue(fld::Cosf_min, v.Cosf_min);
    table.setValue(fld::Cosf_max, v.Cosf_max);
    table.setValue(fld::Tgf_sr, v.Tgf_sr);
    table.setValue(fld::DSWsk, v.DSWsk);
    table.setValue(fld::DSWskm, v.DSWskm);
    table.setValue(fld::DSWskg, v.DSWskg);
    table.setOptional(fld::Srok, v.Srok);
    table.setValue(fld::Rejim, selectionModeCaption(mode.mode));
    table.setOptional(fld::PCosf_min, mode.Cosf_min);
    table.setOptional(fld::PCosf_max, mode.Cosf_max);
    table.setOptional(fld::PCosf_tr, mode.Cosf_tr);
    table.post();
    // What the row was evaluated with, so that it can follow its project and its type.
    setCandidateKp(store, table.currentKod(), Kp);
    // The resonance check of the row, beside the table's own fields.
    resonance_tables::setCandidateValues(store, table.currentKod(),
                                         computeResonance(project.supply, typeData.detuning, v.periods));
    buffer.release();
}

} // namespace korvan
