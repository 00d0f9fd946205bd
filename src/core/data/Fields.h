#pragma once

// Written by scripts/gen-fields from Schema.cpp: do not edit by hand.
// Every field and table of the store named once, so that a misspelt name does not compile.

#include <QString>
#include <QStringList>

// clang-format off
#define KORVAN_FIELDS(X) \
    X(Kod, "Kod") \
    X(Name, "Name") \
    X(ProjOwner, "ProjOwner") \
    X(ProjDate, "ProjDate") \
    X(ProjTime, "ProjTime") \
    X(ProjMemo, "ProjMemo") \
    X(Tarif_a, "Tarif_a") \
    X(Tarif_q, "Tarif_q") \
    X(Cosfe, "Cosfe") \
    X(Tgfe, "Tgfe") \
    X(Wa, "Wa") \
    X(Wq, "Wq") \
    X(Ws, "Ws") \
    X(Psr, "Psr") \
    X(Qsr, "Qsr") \
    X(Ssr, "Ssr") \
    X(PayWa, "$Wa") \
    X(PayWq, "$Wq") \
    X(PayWs, "$Ws") \
    X(MonthDay, "MonthDay") \
    X(YearDay, "YearDay") \
    X(Wa_m, "Wa_m") \
    X(Wq_m, "Wq_m") \
    X(Ws_m, "Ws_m") \
    X(PayWa_m, "$Wa_m") \
    X(PayWq_m, "$Wq_m") \
    X(PayWs_m, "$Ws_m") \
    X(Wa_g, "Wa_g") \
    X(Wq_g, "Wq_g") \
    X(Ws_g, "Ws_g") \
    X(PayWa_g, "$Wa_g") \
    X(PayWq_g, "$Wq_g") \
    X(PayWs_g, "$Ws_g") \
    X(Qmin, "Qmin") \
    X(Qmax, "Qmax") \
    X(Kod0, "Kod0") \
    X(T1, "T1") \
    X(T2, "T2") \
    X(P, "P") \
    X(Q, "Q") \
    X(S, "S") \
    X(I, "I") \
    X(Cosf, "Cosf") \
    X(Tgf, "Tgf") \
    X(VarNum, "VarNum") \
    X(TipKU, "TipKU") \
    X(Qk, "Qk") \
    X(Pp, "Pp") \
    X(Wakp, "Wakp") \
    X(Kp, "Kp") \
    X(Cosf_i, "Cosf_i") \
    X(Tgf_i, "Tgf_i") \
    X(Wak, "Wak") \
    X(Wqk, "Wqk") \
    X(Wsk, "Wsk") \
    X(PayWak, "$Wak") \
    X(PayWqk, "$Wqk") \
    X(PayWsk, "$Wsk") \
    X(DWak, "DWak") \
    X(DWqk, "DWqk") \
    X(DWsk, "DWsk") \
    X(DPayWak, "D$Wak") \
    X(DPayWqk, "D$Wqk") \
    X(DPayWsk, "D$Wsk") \
    X(Wp_m, "Wp_m") \
    X(PayWp_m, "$Wp_m") \
    X(DWp_m, "DWp_m") \
    X(DWq_m, "DWq_m") \
    X(DWs_m, "DWs_m") \
    X(DPayWp_m, "D$Wp_m") \
    X(DPayWq_m, "D$Wq_m") \
    X(DPayWs_m, "D$Ws_m") \
    X(Wp_g, "Wp_g") \
    X(PayWp_g, "$Wp_g") \
    X(DWp_g, "DWp_g") \
    X(DWq_g, "DWq_g") \
    X(DWs_g, "DWs_g") \
    X(DPayWp_g, "D$Wp_g") \
    X(DPayWq_g, "D$Wq_g") \
    X(DPayWs_g, "D$Ws_g") \
    X(Srok, "Srok") \
    X(Cena, "Cena") \
    X(KodKU0, "KodKU0") \
    X(KodKU1, "KodKU1") \
    X(Cosf_tr, "Cosf_tr") \
    X(Cosf_max, "Cosf_max") \
    X(Cosf_min, "Cosf_min") \
    X(Rejim, "Rejim") \
    X(Qku, "Qku") \
    X(Q1, "Q1") \
    X(Stup, "Stup") \
    X(Kol_vo, "Kol_vo") \
    X(Company, "Company") \
    X(Unom, "Unom") \
    X(Qstup, "Qstup") \
    X(TableName, "TableName") \
    X(FieldName, "FieldName") \
    X(FieldHint, "FieldHint") \
    X(Otrasl, "Otrasl") \
    X(WordDoc, "WordDoc") \
    X(PaperSize, "PaperSize") \
    X(PaperOrient, "PaperOrient") \
    X(PageNum, "PageNum") \
    X(TopMargin, "TopMargin") \
    X(BottomMargin, "BottomMargin") \
    X(LeftMargin, "LeftMargin") \
    X(RightMargin, "RightMargin") \
    X(HeaderDistance, "HeaderDistance") \
    X(FooterDistance, "FooterDistance") \
    X(ProjName, "ProjName") \
    X(ProjHar, "ProjHar") \
    X(SutGr, "SutGr") \
    X(SutGrPrim, "SutGrPrim") \
    X(SutGrFormula, "SutGrFormula") \
    X(SutGrScore, "SutGrScore") \
    X(SutHar, "SutHar") \
    X(SutFormula, "SutFormula") \
    X(SutScore, "SutScore") \
    X(MonthHar, "MonthHar") \
    X(MonthFormula, "MonthFormula") \
    X(MonthScore, "MonthScore") \
    X(YearHar, "YearHar") \
    X(YearFormula, "YearFormula") \
    X(YearScore, "YearScore") \
    X(KUHar, "KUHar") \
    X(SutGrKomp, "SutGrKomp") \
    X(SutGrKompPrim, "SutGrKompPrim") \
    X(SutGrKompFormula, "SutGrKompFormula") \
    X(SutGrKompScore, "SutGrKompScore") \
    X(SutHarKomp, "SutHarKomp") \
    X(SutKompPrim, "SutKompPrim") \
    X(SutKompFormula, "SutKompFormula") \
    X(SutKompScore, "SutKompScore") \
    X(MonthHarKomp, "MonthHarKomp") \
    X(MonthKompPrim, "MonthKompPrim") \
    X(MonthKompFormula, "MonthKompFormula") \
    X(MonthKompScore, "MonthKompScore") \
    X(YearHarKomp, "YearHarKomp") \
    X(YearKompPrim, "YearKompPrim") \
    X(YearKompFormula, "YearKompFormula") \
    X(YearKompScore, "YearKompScore") \
    X(Qku_min, "Qku_min") \
    X(Qku_max, "Qku_max") \
    X(Cosf_sr, "Cosf_sr") \
    X(Tgf_sr, "Tgf_sr") \
    X(DSWsk, "DSWsk") \
    X(DSWskm, "DSWskm") \
    X(DSWskg, "DSWskg") \
    X(PCosf_min, "PCosf_min") \
    X(PCosf_max, "PCosf_max") \
    X(PCosf_tr, "PCosf_tr")

#define KORVAN_TABLES(X) \
    X(project0, "project0.db") \
    X(project1, "project1.db") \
    X(project2, "project2.db") \
    X(project3, "project3.DB") \
    X(project4, "project4.DB") \
    X(project5, "project5.DB") \
    X(sKU0, "sKU0.db") \
    X(sKU1, "sKU1.DB") \
    X(sKU2, "sKU2.DB") \
    X(Hints, "Hints.DB") \
    X(sSutGraphic0, "sSutGraphic0.db") \
    X(sSutGraphic1, "sSutGraphic1.db") \
    X(sSutGraphic2, "sSutGraphic2.db") \
    X(report, "report.DB") \
    X(sel_ku, "sel_ku.DB")
// clang-format on

namespace korvan {

// Field names: fld::Tarif_a is "Tarif_a", fld::PayWa is "$Wa". A field of the same name in
// several tables (T1, P, Q, ...) is one constant.
namespace fld {
#define KORVAN_FIELD(id, name) inline const QString id = QStringLiteral(name);
KORVAN_FIELDS(KORVAN_FIELD)
#undef KORVAN_FIELD

// Every field name above, in the order the tables first define them.
inline QStringList all()
{
#define KORVAN_FIELD(id, name) id,
    return {KORVAN_FIELDS(KORVAN_FIELD)};
#undef KORVAN_FIELD
}
} // namespace fld

// Table names: tbl::project0 is "project0.db".
namespace tbl {
#define KORVAN_TABLE(id, name) inline const QString id = QStringLiteral(name);
KORVAN_TABLES(KORVAN_TABLE)
#undef KORVAN_TABLE

inline QStringList all()
{
#define KORVAN_TABLE(id, name) id,
    return {KORVAN_TABLES(KORVAN_TABLE)};
#undef KORVAN_TABLE
}
} // namespace tbl

} // namespace korvan
