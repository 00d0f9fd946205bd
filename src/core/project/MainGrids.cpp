#include "core/project/MainGrids.h"
#include "core/data/Fields.h"

namespace korvan {

namespace {

QList<GridColumn> columns(std::initializer_list<std::pair<QString, const char *>> list,
                          ColumnBlock block = ColumnBlock::Plain)
{
    QList<GridColumn> result;
    for (const auto &[field, title] : list)
        result.append({field, QString::fromUtf8(title), block});
    return result;
}

} // namespace

const QList<GridColumn> &loadPeriodColumns()
{
    static const QList<GridColumn> c = columns({
        {fld::T1, "T1, ч"},
        {fld::T2, "T2, ч"},
        {fld::P, "P, кВт"},
        {fld::Q, "Q, кВАр"},
        {fld::S, "S, кВА"},
        {fld::I, "I, А"},
        {fld::Cosf, "cos(f)"},
        {fld::Tgf, "tg(f)"},
        {fld::Wa, "Wp, кВтч"},
        {fld::Wq, "Wq, кВАрч"},
        {fld::Ws, "Ws, кВАч"},
        {fld::PayWa, "$Wp, грн."},
        {fld::PayWq, "$Wq, грн"},
        {fld::PayWs, "$Ws, грн"},
    });
    return c;
}

const QList<GridColumn> &variantColumns()
{
    static const QList<GridColumn> c = [] {
        QList<GridColumn> c;
        c += columns({
            {fld::VarNum, "Вариант"},
            {fld::TipKU, "Тип КУ"},
            {fld::Qk, "Qку, кВАр"},
            {fld::Pp, "Pп, кВт/кВАр"},
            {fld::Cena, "Цена, грн"},
            {fld::Wakp, "Wpп, кВтч"},
            {fld::Kp, "Kп"},
            {fld::Cosf_i, "cos(fк)"},
            {fld::Tgf_i, "tg(fк)"},
            {fld::Wak, "Wpк, кВтч"},
            {fld::Wqk, "Wqк, кВАрч"},
            {fld::Wsk, "Wsк, кВАч"},
            {fld::PayWak, "$Wpк, грн"},
            {fld::PayWqk, "$Wqк, грн"},
            {fld::PayWsk, "$Wsк, грн"},
            {fld::DWak, "dWpк, кВтч"},
            {fld::DWqk, "dWqк, кВАрч"},
            {fld::DWsk, "dWsк, кВАч"},
            {fld::DPayWak, "d$Wpк, грн."},
            {fld::DPayWqk, "d$Wqк, грн."},
            {fld::DPayWsk, "d$Wsк, грн."},
        });
        c += columns(
            {
                {fld::Wp_m, "Wpкм, кВтч"},
                {fld::Wq_m, "Wqкм, кВАрч"},
                {fld::Ws_m, "Wsкм, кВАч"},
                {fld::PayWp_m, "$Wpкм, грн"},
                {fld::PayWq_m, "$Wqкм, грн"},
                {fld::PayWs_m, "$Wsкм, грн"},
                {fld::DWp_m, "dWpкм, кВтч"},
                {fld::DWq_m, "dWqкм, кВАрч"},
                {fld::DWs_m, "dWsкм, кВАч"},
                {fld::DPayWp_m, "d$Wpкм, грн"},
                {fld::DPayWq_m, "d$Wqкм, грн"},
                {fld::DPayWs_m, "d$Wsкм, грн"},
            },
            ColumnBlock::Monthly);
        c += columns(
            {
                {fld::Wp_g, "Wpкг, кВтч"},
                {fld::Wq_g, "Wqкг, кВАрч"},
                {fld::Ws_g, "Wsкг, кВАч"},
                {fld::PayWp_g, "$Wpкг, грн"},
                {fld::PayWq_g, "$Wqкг, грн"},
                {fld::PayWs_g, "$Wsкг, грн"},
                {fld::DWp_g, "dWpкг, кВтч"},
                {fld::DWq_g, "dWqкг, кВАрч"},
                {fld::DWs_g, "dWsкг, кВАч"},
                {fld::DPayWp_g, "d$Wpкг, грн"},
                {fld::DPayWq_g, "d$Wqкг, грн"},
                {fld::DPayWs_g, "d$Wsкг, грн"},
                {fld::Srok, "Срок, лет"},
            },
            ColumnBlock::Yearly);
        c += columns({
            {fld::Rejim, "Режим подбора"},
            {fld::Cosf_min, "cos(f) мин"},
            {fld::Cosf_max, "cos(f) макс"},
            {fld::Cosf_tr, "cos(f) тр"},
        });
        return c;
    }();
    return c;
}

const QList<GridColumn> &compensatedPeriodColumns()
{
    static const QList<GridColumn> c = columns({
        {fld::T1, "T1, ч"},
        {fld::T2, "T2, ч"},
        {fld::P, "P, кВт"},
        {fld::Q, "Q, кВАр"},
        {fld::Qku, "Qку, кВАр"},
        {fld::Q1, "Qк, кВАр"},
        {fld::S, "Sк, кВА"},
        {fld::I, "Iк, А"},
        {fld::Cosf, "cos(fк)"},
        {fld::Tgf, "tg(fк)"},
        {fld::Wakp, "Wpп, кВтч"},
        {fld::Wak, "Wpк, кВтч"},
        {fld::Wqk, "Wqк, кВАрч"},
        {fld::Wsk, "Wsк, кВАч"},
        {fld::PayWak, "$Wpк, грн"},
        {fld::PayWqk, "$Wqк, грн"},
        {fld::PayWsk, "$Wsк, грн"},
    });
    return c;
}

const QList<GridColumn> &moduleColumns()
{
    static const QList<GridColumn> c = columns({{fld::Stup, "Qмод, кВАр"}, {fld::Kol_vo, "Кол-во, шт."}});
    return c;
}

const QList<GridColumn> &dailyCharacteristicColumns()
{
    static const QList<GridColumn> c = columns({
        {fld::Cosfe, "cos(f)"},
        {fld::Tgfe, "tg(f)"},
        {fld::Wa, "Wp, кВтч"},
        {fld::Wq, "Wq, кВАрч"},
        {fld::Ws, "Ws, кВАч"},
        {fld::Psr, "Рср, кВт"},
        {fld::Qsr, "Qср, кВАр"},
        {fld::Ssr, "Sср, кВА"},
        {fld::PayWa, "$Wр, грн"},
        {fld::PayWq, "$Wq, грн"},
        {fld::PayWs, "$Ws, грн"},
    });
    return c;
}

const QList<GridColumn> &monthlyCharacteristicColumns()
{
    static const QList<GridColumn> c = columns({
        {fld::Wa_m, "Wрм, кВтч"},
        {fld::Wq_m, "Wqм, кВАрч"},
        {fld::Ws_m, "Wsм, кВАч"},
        {fld::PayWa_m, "$Wрм, грн"},
        {fld::PayWq_m, "$Wqм, грн"},
        {fld::PayWs_m, "$Wsм, грн"},
    });
    return c;
}

const QList<GridColumn> &yearlyCharacteristicColumns()
{
    static const QList<GridColumn> c = columns({
        {fld::Wa_g, "Wрг, кВтч"},
        {fld::Wq_g, "Wqг, кВАрч"},
        {fld::Ws_g, "Wsг, кВАч"},
        {fld::PayWa_g, "$Wрг, грн"},
        {fld::PayWq_g, "$Wqг, грн"},
        {fld::PayWs_g, "$Wsг, грн"},
    });
    return c;
}

QList<GridColumn> gridColumnRange(const QList<GridColumn> &columns, const QString &first, const QString &last)
{
    qsizetype from = -1;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (from < 0 && columns[i].field == first)
            from = i;
        if (from >= 0 && columns[i].field == last)
            return columns.mid(from, i - from + 1);
    }
    return {};
}

QStringList gridColumnFields(const QList<GridColumn> &columns)
{
    QStringList fields;
    for (const GridColumn &c : columns)
        fields << c.field;
    return fields;
}

QStringList gridColumnTitles(const QList<GridColumn> &columns)
{
    QStringList titles;
    for (const GridColumn &c : columns)
        titles << c.title;
    return titles;
}

QString gridColumnTitle(const QList<GridColumn> &columns, const QString &field)
{
    for (const GridColumn &c : columns)
        if (c.field == field)
            return c.title;
    return {};
}

} // namespace korvan
