#include "project/MainGrids.h"

namespace korvan {

namespace {

QList<GridColumn> columns(std::initializer_list<std::pair<const char *, const char *>> list,
                          ColumnBlock block = ColumnBlock::Plain)
{
    QList<GridColumn> result;
    for (const auto &[field, title] : list)
        result.append({QString::fromUtf8(field), QString::fromUtf8(title), block});
    return result;
}

} // namespace

const QList<GridColumn> &loadPeriodColumns()
{
    static const QList<GridColumn> c = columns({
        {"T1", "T1, ч"},
        {"T2", "T2, ч"},
        {"P", "P, кВт"},
        {"Q", "Q, кВАр"},
        {"S", "S, кВА"},
        {"I", "I, А"},
        {"Cosf", "cos(f)"},
        {"Tgf", "tg(f)"},
        {"Wa", "Wp, кВтч"},
        {"Wq", "Wq, кВАрч"},
        {"Ws", "Ws, кВАч"},
        {"$Wa", "$Wp, грн."},
        {"$Wq", "$Wq, грн"},
        {"$Ws", "$Ws, грн"},
    });
    return c;
}

const QList<GridColumn> &variantColumns()
{
    static const QList<GridColumn> c = [] {
        QList<GridColumn> c;
        c += columns({
            {"VarNum", "Вариант"},
            {"TipKU", "Тип КУ"},
            {"Qk", "Qку, кВАр"},
            {"Pp", "Pп, кВт/кВАр"},
            {"Cena", "Цена, грн"},
            {"Wakp", "Wpп, кВтч"},
            {"Kp", "Kп"},
            {"Cosf_i", "cos(fк)"},
            {"Tgf_i", "tg(fк)"},
            {"Wak", "Wpк, кВтч"},
            {"Wqk", "Wqк, кВАрч"},
            {"Wsk", "Wsк, кВАч"},
            {"$Wak", "$Wpк, грн"},
            {"$Wqk", "$Wqк, грн"},
            {"$Wsk", "$Wsк, грн"},
            {"DWak", "dWpк, кВтч"},
            {"DWqk", "dWqк, кВАрч"},
            {"DWsk", "dWsк, кВАч"},
            {"D$Wak", "d$Wpк, грн."},
            {"D$Wqk", "d$Wqк, грн."},
            {"D$Wsk", "d$Wsк, грн."},
        });
        c += columns(
            {
                {"Wp_m", "Wpкм, кВтч"},
                {"Wq_m", "Wqкм, кВАрч"},
                {"Ws_m", "Wsкм, кВАч"},
                {"$Wp_m", "$Wpкм, грн"},
                {"$Wq_m", "$Wqкм, грн"},
                {"$Ws_m", "$Wsкм, грн"},
                {"DWp_m", "dWpкм, кВтч"},
                {"DWq_m", "dWqкм, кВАрч"},
                {"DWs_m", "dWsкм, кВАч"},
                {"D$Wp_m", "d$Wpкм, грн"},
                {"D$Wq_m", "d$Wqкм, грн"},
                {"D$Ws_m", "d$Wsкм, грн"},
            },
            ColumnBlock::Monthly);
        c += columns(
            {
                {"Wp_g", "Wpкг, кВтч"},
                {"Wq_g", "Wqкг, кВАрч"},
                {"Ws_g", "Wsкг, кВАч"},
                {"$Wp_g", "$Wpкг, грн"},
                {"$Wq_g", "$Wqкг, грн"},
                {"$Ws_g", "$Wsкг, грн"},
                {"DWp_g", "dWpкг, кВтч"},
                {"DWq_g", "dWqкг, кВАрч"},
                {"DWs_g", "dWsкг, кВАч"},
                {"D$Wp_g", "d$Wpкг, грн"},
                {"D$Wq_g", "d$Wqкг, грн"},
                {"D$Ws_g", "d$Wsкг, грн"},
                {"Srok", "Срок, лет"},
            },
            ColumnBlock::Yearly);
        c += columns({
            {"Rejim", "Режим подбора"},
            {"Cosf_min", "cos(f) мин"},
            {"Cosf_max", "cos(f) макс"},
            {"Cosf_tr", "cos(f) тр"},
        });
        return c;
    }();
    return c;
}

const QList<GridColumn> &compensatedPeriodColumns()
{
    static const QList<GridColumn> c = columns({
        {"T1", "T1, ч"},
        {"T2", "T2, ч"},
        {"P", "P, кВт"},
        {"Q", "Q, кВАр"},
        {"Qku", "Qку, кВАр"},
        {"Q1", "Qк, кВАр"},
        {"S", "Sк, кВА"},
        {"I", "Iк, А"},
        {"Cosf", "cos(fк)"},
        {"Tgf", "tg(fк)"},
        {"Wakp", "Wpп, кВтч"},
        {"Wak", "Wpк, кВтч"},
        {"Wqk", "Wqк, кВАрч"},
        {"Wsk", "Wsк, кВАч"},
        {"$Wak", "$Wpк, грн"},
        {"$Wqk", "$Wqк, грн"},
        {"$Wsk", "$Wsк, грн"},
    });
    return c;
}

const QList<GridColumn> &moduleColumns()
{
    static const QList<GridColumn> c = columns({{"Stup", "Qмод, кВАр"}, {"Kol_vo", "Кол-во, шт."}});
    return c;
}

const QList<GridColumn> &dailyCharacteristicColumns()
{
    static const QList<GridColumn> c = columns({
        {"Cosfe", "cos(f)"},
        {"Tgfe", "tg(f)"},
        {"Wa", "Wp, кВтч"},
        {"Wq", "Wq, кВАрч"},
        {"Ws", "Ws, кВАч"},
        {"Psr", "Рср, кВт"},
        {"Qsr", "Qср, кВАр"},
        {"Ssr", "Sср, кВА"},
        {"$Wa", "$Wр, грн"},
        {"$Wq", "$Wq, грн"},
        {"$Ws", "$Ws, грн"},
    });
    return c;
}

const QList<GridColumn> &monthlyCharacteristicColumns()
{
    static const QList<GridColumn> c = columns({
        {"Wa_m", "Wрм, кВтч"},
        {"Wq_m", "Wqм, кВАрч"},
        {"Ws_m", "Wsм, кВАч"},
        {"$Wa_m", "$Wрм, грн"},
        {"$Wq_m", "$Wqм, грн"},
        {"$Ws_m", "$Wsм, грн"},
    });
    return c;
}

const QList<GridColumn> &yearlyCharacteristicColumns()
{
    static const QList<GridColumn> c = columns({
        {"Wa_g", "Wрг, кВтч"},
        {"Wq_g", "Wqг, кВАрч"},
        {"Ws_g", "Wsг, кВАч"},
        {"$Wa_g", "$Wрг, грн"},
        {"$Wq_g", "$Wqг, грн"},
        {"$Ws_g", "$Wsг, грн"},
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
