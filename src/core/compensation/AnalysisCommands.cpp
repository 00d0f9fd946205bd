#include "core/compensation/AnalysisCommands.h"
#include "core/data/Fields.h"

#include "core/calc/AnalysisRules.h"
#include "core/compensation/Analysis.h"
#include "core/compensation/AnalysisTable.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/NumericChecks.h"
#include "core/project/EconomicsCommands.h"

#include <optional>

namespace korvan {

namespace {

void requireProject(const TDataModule1 &data)
{
    if (data.tblProj0->isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
}

void requireTypeWithModules(const TDataModule1 &data)
{
    if (data.tblsKU1->isEmpty())
        throw KorvanError(QStringLiteral("Не выбрана конденсаторная установка."));
    if (data.tblsKU2->isEmpty())
        throw KorvanError(
            QStringLiteral("У конденсаторной установки «%1» нет модулей.").arg(data.tblsKU1->asString(fld::Name)));
}

// The loss coefficient and the mode with the numbers of the fields it uses.
struct CheckedInput {
    double kp = 0;
    ModeSettings mode;
};

CheckedInput checkedInput(const SelectionInput &input)
{
    throwIf(checkSelectionInput(input.kp, input.mode));
    return {numberValue(input.kp), input.mode.settings()};
}

// The project as the evaluation reads it, refused as a whole when no candidate can have a result.
CandidateProject projectForCandidates(const TDataModule1 &data)
{
    CandidateProject project = candidateProject(data);
    CandidateFailure failure;
    if (project.periods.empty())
        failure.kind = CandidateFailure::NoPeriods;
    else if (const auto period = periodWithoutCurrent(project.periods))
        failure = {CandidateFailure::ZeroCurrent, *period};
    else
        return project;
    throw UndefinedCandidate(candidateFailureText(failure, project, {}));
}

void evaluateInTransaction(TDataModule1 &data, const SelectionInput &input, CandidateWrite write)
{
    requireProject(data);
    const CheckedInput in = checkedInput(input);
    requireTypeWithModules(data);
    ensureAnalysisRestricted(data);
    if (write == CandidateWrite::Replace && data.tblSel_KU->isEmpty())
        throw KorvanError(QStringLiteral("Таблица анализа выбора конденсаторной установки пуста."));
    const CandidateProject project = projectForCandidates(data);
    Store::Transaction tx(data.store());
    EvaluateCandidate(data, project, in.kp, in.mode, write);
    tx.commit();
}

// Rows for many catalogue types in one transaction: one progress over all of them and one
// warning naming the types left out.
class CandidateBatch {
public:
    CandidateBatch(TDataModule1 &data, const CandidateProject &project, const CheckedInput &in,
                   const Progress &progress, int count)
        : m_data(data), m_project(project), m_in(in), m_progress(progress), m_count(count), m_tx(data.store())
    {
        m_sort.emplace(*data.tblSel_KU);
        if (m_progress)
            m_progress(0, m_count);
    }

    // Every type of the catalogue's current company, leaving the catalogue on the last.
    void addTypesOfCompany()
    {
        TTable &types = *m_data.tblsKU1;
        // On a server the modules and detunings of all the company's types are read at once:
        // type by type they cost two round trips each. A file reads them faster by type.
        const QHash<qint64, CandidateType> typeData =
            m_data.store().onServer() ? companyCandidateTypes(m_data) : QHash<qint64, CandidateType>();
        for (types.first(); !types.eof(); types.next()) {
            try {
                const auto type = typeData.constFind(types.currentKod());
                EvaluateCandidate(m_data, m_project, m_in.kp, m_in.mode, CandidateWrite::Append,
                                  type == typeData.constEnd() ? nullptr : &*type);
                ++m_added;
            } catch (const UndefinedCandidate &e) {
                m_skipped << e.message();
            }
            if (m_progress)
                m_progress(++m_done, m_count);
        }
    }

    int finish()
    {
        m_sort.reset(); // in order before the windows hear of the rows
        m_tx.commit();
        if (!m_skipped.isEmpty())
            Messages::warning(QStringLiteral("Не добавлены в таблицу анализа:\n") + m_skipped.join(QLatin1Char('\n')));
        return m_added;
    }

private:
    TDataModule1 &m_data;
    const CandidateProject &m_project;
    const CheckedInput &m_in;
    const Progress &m_progress;
    const int m_count;
    Store::Transaction m_tx;
    std::optional<TTable::DeferredSort> m_sort; // the rows are sorted once, when the batch ends
    QStringList m_skipped;
    int m_added = 0, m_done = 0;
};

struct CosText {
    bool used;
    const QString *text;
    int field;
};

QList<CosText> cosTexts(const ModeInput &in)
{
    return {{ModeInput::usesMin(in.mode), &in.cosfMin, VariantParams::CosfMin},
            {ModeInput::usesMax(in.mode), &in.cosfMax, VariantParams::CosfMax},
            {ModeInput::usesTr(in.mode), &in.cosfTr, VariantParams::CosfTr}};
}

void step(const Progress &progress, int value, int maximum)
{
    if (progress)
        progress(value, maximum);
}

} // namespace

void restrictAnalysisToProject(TDataModule1 &data)
{
    TTable &table = *data.tblSel_KU;
    table.setFilter(analysisFilterOf(data));
    if (!table.filtered())
        table.setFiltered(true);
}

void addCandidate(TDataModule1 &data, const SelectionInput &input)
{
    evaluateInTransaction(data, input, CandidateWrite::Append);
}

void replaceCandidate(TDataModule1 &data, const SelectionInput &input)
{
    evaluateInTransaction(data, input, CandidateWrite::Replace);
}

int addCompanyCandidates(TDataModule1 &data, const SelectionInput &input, const Progress &progress)
{
    requireProject(data);
    const CheckedInput in = checkedInput(input);
    TTable &types = *data.tblsKU1;
    if (data.tblsKU0->isEmpty())
        throw KorvanError(QStringLiteral("Не выбрана компания."));
    if (types.isEmpty())
        throw KorvanError(
            QStringLiteral("У компании «%1» нет конденсаторных установок.").arg(data.tblsKU0->asString(fld::Company)));
    ensureAnalysisRestricted(data);
    const CandidateProject project = projectForCandidates(data);
    CandidateBatch batch(data, project, in, progress, types.recordCount());
    batch.addTypesOfCompany();
    return batch.finish();
}

int addCatalogueCandidates(TDataModule1 &data, const SelectionInput &input, const Progress &progress)
{
    requireProject(data);
    const CheckedInput in = checkedInput(input);
    ensureAnalysisRestricted(data);
    const CandidateProject project = projectForCandidates(data);
    const int count = data.store().scalar(QStringLiteral("SELECT count(*) FROM \"sKU1.DB\"")).toInt();
    if (count == 0)
        throw KorvanError(QStringLiteral("В справочнике нет конденсаторных установок."));
    CandidateBatch batch(data, project, in, progress, count);
    TTable &companies = *data.tblsKU0;
    for (companies.first(); !companies.eof(); companies.next())
        batch.addTypesOfCompany();
    return batch.finish();
}

void deleteCandidate(TDataModule1 &data)
{
    ensureAnalysisRestricted(data);
    Store::Transaction tx(data.store());
    data.tblSel_KU->remove();
    tx.commit();
}

void deleteAllCandidates(TDataModule1 &data, const Progress &progress)
{
    ensureAnalysisRestricted(data);
    TTable &table = *data.tblSel_KU;
    const int count = table.recordCount();
    Store::Transaction tx(data.store());
    step(progress, 0, count);
    int done = 0;
    for (table.first(); !table.isEmpty();) {
        table.remove();
        step(progress, ++done, count);
    }
    tx.commit();
}

QString candidateNotFoundMessage() { return QStringLiteral("Конденсаторная установка не найдена."); }

bool findCandidateInCatalogue(TDataModule1 &data)
{
    ensureAnalysisRestricted(data);
    const TTable &table = *data.tblSel_KU;
    const bool found = !table.isEmpty() && data.tblsKU0->locate(fld::Kod, table.value(fld::KodKU0)) &&
                       data.tblsKU1->locate(fld::Kod, table.value(fld::KodKU1));
    if (!found)
        Messages::information(candidateNotFoundMessage());
    return found;
}

bool findCandidateInTable(TDataModule1 &data)
{
    ensureAnalysisRestricted(data);
    const qint64 company = data.tblsKU0->currentKod(), type = data.tblsKU1->currentKod();
    const bool found = type != 0 && data.tblSel_KU->locate({fld::KodKU0, fld::KodKU1}, {company, type});
    if (!found)
        Messages::information(candidateNotFoundMessage());
    return found;
}

const QList<AnalysisSortOrder> &analysisSortOrders()
{
    static const QList<AnalysisSortOrder> orders = {
        {QStringLiteral("по коэффициенту мощности (cos(f))"), QStringLiteral("siCosf_sr")},
        {QStringLiteral("по суточной экономии на оплате (d$Wsk, грн)"), QStringLiteral("siDSWsk")},
        {QStringLiteral("по месячной экономии на оплате (d$Wskм, грн)"), QStringLiteral("siDSWskm")},
        {QStringLiteral("по годовой экономии на оплате (d$Wskг, грн)"), QStringLiteral("siDSWskg")},
        {QStringLiteral("по чистому дисконтированному доходу (ЧДД)"), QLatin1String(NpvSortIndex)},
        {QStringLiteral("по сроку окупаемости (Срок, лет)"), QStringLiteral("siSrok")},
    };
    return orders;
}

void sortAnalysis(TDataModule1 &data, const QString &indexName)
{
    for (const AnalysisSortOrder &o : analysisSortOrders())
        if (o.indexName == indexName) {
            if (indexName == QLatin1String(NpvSortIndex))
                installNpvOrder(data); // computed from each row, not stored in it
            data.tblSel_KU->setIndexName(indexName);
            return;
        }
    throw KorvanError(QStringLiteral("Неизвестный порядок сортировки «%1».").arg(indexName));
}

std::optional<qint64> gotoOptimum(TDataModule1 &data, const ModeInput &input)
{
    for (const CosText &c : cosTexts(input))
        if (c.used)
            if (auto message = numberProblem(*c.text, QStringLiteral("коэффициента мощности")))
                throw InputError({c.field, *message});
    ensureAnalysisRestricted(data);
    TTable &table = *data.tblSel_KU;
    const int cosf = table.fieldIndex(fld::Cosf_sr);
    std::vector<double> values;
    for (const TTable::Row &row : table.rows())
        values.push_back(row[cosf].toDouble());
    const auto best = optimumIndex(input.settings(), values);
    if (!best)
        return std::nullopt;
    const qint64 kod = table.rows()[*best][0].toLongLong();
    table.locate(fld::Kod, kod);
    return kod;
}

QString recommendedRangeText(const TDataModule1 &data, const ModeInput &input)
{
    // A field the mode uses without a number in (0, 1] leaves its value out, and the range empty:
    // above 1 tg has no value.
    ModeSettings mode = input.settings();
    for (std::optional<double> *c : {&mode.Cosf_min, &mode.Cosf_max, &mode.Cosf_tr})
        if (*c && !(**c > 0 && **c <= 1))
            c->reset();
    const TTable &project = *data.tblProj0;
    return recommendedRange(candidateProject(data).periods, mode, project.asString(fld::Qmin),
                            project.asString(fld::Qmax));
}

AnalysisButtons analysisButtons(const TDataModule1 &data, const SelectionInput &input, const QString &cosf)
{
    const bool typeHasModules = !data.tblsKU1->isEmpty() && !data.tblsKU2->isEmpty();
    const bool companyHasTypes = !data.tblsKU1->isEmpty();
    bool fieldsFilled = !input.kp.isEmpty();
    for (const CosText &c : cosTexts(input.mode))
        fieldsFilled = fieldsFilled && !(c.used && c.text->isEmpty());
    const bool rows = !data.tblSel_KU->isEmpty();
    AnalysisButtons b;
    b.add = b.addAll = typeHasModules && fieldsFilled;
    b.addCatalogue = fieldsFilled; // whatever the catalogue's current type
    b.replace = b.add && rows;
    b.remove = b.removeAll = b.findInCatalogue = b.optimum = b.criteriaFilters = b.parameterFilters = rows;
    b.findInTable = rows && companyHasTypes;
    b.valueFilters = rows && !cosf.isEmpty();
    b.ok = companyHasTypes && typeHasModules;
    return b;
}

} // namespace korvan
