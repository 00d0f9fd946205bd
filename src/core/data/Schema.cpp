// The fifteen tables of the store: names, fields in their stored order, types, sizes,
// display labels, master links and indexes. The order of fields is part of the format.
#include "core/data/Schema.h"

// clang-format off

namespace korvan {

namespace {

using F = FieldType;

const TableDef t_project0_db{
    "project0.db", "tblProj0", nullptr,
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Name", F::String, 50, ""},
        {"ProjOwner", F::String, 50, ""},
        {"ProjDate", F::Date, 0, ""},
        {"ProjTime", F::Time, 0, ""},
        {"ProjMemo", F::Memo, 0, ""},
        {"Tarif_a", F::Float, 0, ""},
        {"Tarif_q", F::Float, 0, ""},
        {"Cosfe", F::Float, 0, ""},
        {"Tgfe", F::Float, 0, ""},
        {"Wa", F::Float, 0, ""},
        {"Wq", F::Float, 0, ""},
        {"Ws", F::Float, 0, ""},
        {"Psr", F::Float, 0, ""},
        {"Qsr", F::Float, 0, ""},
        {"Ssr", F::Float, 0, ""},
        {"$Wa", F::Float, 0, ""},
        {"$Wq", F::Float, 0, ""},
        {"$Ws", F::Float, 0, ""},
        {"MonthDay", F::Integer, 0, ""},
        {"YearDay", F::Integer, 0, ""},
        {"Wa_m", F::Float, 0, "Wрм, кВтч"},
        {"Wq_m", F::Float, 0, "Wqм, кВАрч"},
        {"Ws_m", F::Float, 0, "Wsм, кВтч"},
        {"$Wa_m", F::Float, 0, "$Wрм, грн"},
        {"$Wq_m", F::Float, 0, "$Wqм, грн"},
        {"$Ws_m", F::Float, 0, "$Wsм, грн"},
        {"Wa_g", F::Float, 0, ""},
        {"Wq_g", F::Float, 0, ""},
        {"Ws_g", F::Float, 0, ""},
        {"$Wa_g", F::Float, 0, ""},
        {"$Wq_g", F::Float, 0, ""},
        {"$Ws_g", F::Float, 0, ""},
        {"Qmin", F::Float, 0, ""},
        {"Qmax", F::Float, 0, ""},
    },
    {},
};

const TableDef t_project1_db{
    "project1.db", "tblProj1", "project0.db",
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"T1", F::Float, 0, "T1, ч"},
        {"T2", F::Float, 0, "T2, ч"},
        {"P", F::Float, 0, "P, кВт"},
        {"Q", F::Float, 0, "Q, кВАр"},
        {"S", F::Float, 0, "S, кВА"},
        {"I", F::Float, 0, "I, А"},
        {"Cosf", F::Float, 0, "cos(f)"},
        {"Tgf", F::Float, 0, "tg(f)"},
        {"Wa", F::Float, 0, "Wр, кВтч"},
        {"Wq", F::Float, 0, "Wq, кВАрч"},
        {"Ws", F::Float, 0, "Ws, кВАч"},
        {"$Wa", F::Float, 0, "$Wр, грн"},
        {"$Wq", F::Float, 0, "$Wq, грн"},
        {"$Ws", F::Float, 0, "$Ws, грн"},
    },
    {{"Kod0", {{"Kod0", false}}}},
};

const TableDef t_project2_db{
    "project2.db", "tblProj2", "project0.db",
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"VarNum", F::Integer, 0, ""},
        {"TipKU", F::String, 30, ""},
        {"Qk", F::Float, 0, ""},
        {"Pp", F::Float, 0, ""},
        {"Wakp", F::Float, 0, ""},
        {"Kp", F::Float, 0, "Kп"},
        {"Cosf_i", F::Float, 0, "cos(fк)"},
        {"Tgf_i", F::Float, 0, "tg(fк)"},
        {"Wak", F::Float, 0, "Wрк, кВтч"},
        {"Wqk", F::Float, 0, "Wqк, кВАрч"},
        {"Wsk", F::Float, 0, "Wsк, кВАч"},
        {"$Wak", F::Float, 0, "$Wрк, грн"},
        {"$Wqk", F::Float, 0, "$Wqк, грн"},
        {"$Wsk", F::Float, 0, "$Wsк, грн"},
        {"DWak", F::Float, 0, "dWрк, кВтч"},
        {"DWqk", F::Float, 0, "dWqк, кВАрч"},
        {"DWsk", F::Float, 0, "dWsк, кВАч"},
        {"D$Wak", F::Float, 0, "d$Wрк, грн"},
        {"D$Wqk", F::Float, 0, "d$Wqк, грн"},
        {"D$Wsk", F::Float, 0, "d$Wsк, грн"},
        {"Wp_m", F::Float, 0, "Wpкм, кВтч"},
        {"Wq_m", F::Float, 0, "Wqкм, кВАрч"},
        {"Ws_m", F::Float, 0, "Wsкм, кВАч"},
        {"$Wp_m", F::Float, 0, "$Wpкм, грн"},
        {"$Wq_m", F::Float, 0, "$Wqкм, грн"},
        {"$Ws_m", F::Float, 0, "$Wsкм, грн"},
        {"DWp_m", F::Float, 0, "dWpкм, кВтч"},
        {"DWq_m", F::Float, 0, "dWqкм, кВАрч"},
        {"DWs_m", F::Float, 0, "dWsкм, кВАч"},
        {"D$Wp_m", F::Float, 0, "d$Wpкм, грн"},
        {"D$Wq_m", F::Float, 0, "d$Wqкм, грн"},
        {"D$Ws_m", F::Float, 0, "d$Wsкм, грн"},
        {"Wp_g", F::Float, 0, "Wpкг, кВтч"},
        {"Wq_g", F::Float, 0, "Wqкг, кВАрч"},
        {"Ws_g", F::Float, 0, "Wsкг, кВАч"},
        {"$Wp_g", F::Float, 0, "$Wркг, грн"},
        {"$Wq_g", F::Float, 0, "$Wqкг, грн"},
        {"$Ws_g", F::Float, 0, "$Wsкг, грн"},
        {"DWp_g", F::Float, 0, "dWpкг, кВтч"},
        {"DWq_g", F::Float, 0, "dWqкг, кВАрч"},
        {"DWs_g", F::Float, 0, "dWsкг, кВАч"},
        {"D$Wp_g", F::Float, 0, "d$Wpкг, грн"},
        {"D$Wq_g", F::Float, 0, "d$Wqкг, грн"},
        {"D$Ws_g", F::Float, 0, "d$Wsкг, грн"},
        {"Srok", F::Float, 0, "Срок, лет"},
        {"Cena", F::Float, 0, ""},
        {"KodKU0", F::Integer, 0, ""},
        {"KodKU1", F::Integer, 0, ""},
        {"Cosf_tr", F::Float, 0, ""},
        {"Cosf_max", F::Float, 0, ""},
        {"Cosf_min", F::Float, 0, ""},
        {"Rejim", F::String, 80, ""},
    },
    {{"Kod0", {{"Kod0", false}}}},
};

const TableDef t_project3_DB{
    "project3.DB", "tblProj3", "project2.db",
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"T1", F::Float, 0, "T1, ч"},
        {"T2", F::Float, 0, "T2, ч"},
        {"P", F::Float, 0, "P, кВт"},
        {"Q", F::Float, 0, "Q, кВАр"},
        {"Qku", F::Float, 0, "Qку, кВАр"},
        {"Q1", F::Float, 0, "Qк, кВАр"},
        {"S", F::Float, 0, "Sк, кВА"},
        {"I", F::Float, 0, "Iк, А"},
        {"Cosf", F::Float, 0, "cos(fк)"},
        {"Tgf", F::Float, 0, "tg(fк)"},
        {"Wakp", F::Float, 0, "Wpп, кВтч"},
        {"Wak", F::Float, 0, "Wрк, кВтч"},
        {"Wqk", F::Float, 0, "Wqк, кВАрч"},
        {"Wsk", F::Float, 0, "Wsк, кВАч"},
        {"$Wak", F::Float, 0, "$Wрк, грн"},
        {"$Wqk", F::Float, 0, "$Wqк, грн"},
        {"$Wsk", F::Float, 0, "$Wsк, грн"},
    },
    {{"Kod0", {{"Kod0", false}}}},
};

const TableDef t_project4_DB{
    "project4.DB", "tblProj4", "project3.DB",
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"Stup", F::Float, 0, ""},
        {"Kol_vo", F::Integer, 0, ""},
    },
    {{"Kod0", {{"Kod0", false}}}},
};

const TableDef t_project5_DB{
    "project5.DB", "tblProj5", "project2.db",
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"Stup", F::Float, 0, ""},
        {"Kol_vo", F::Integer, 0, ""},
    },
    {{"Kod0", {{"Kod0", false}}}},
};

const TableDef t_sKU0_db{
    "sKU0.db", "tblsKU0", nullptr,
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Company", F::String, 50, ""},
    },
    {},
};

const TableDef t_sKU1_DB{
    "sKU1.DB", "tblsKU1", "sKU0.db",
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"Name", F::String, 50, ""},
        {"Q", F::Float, 0, ""},
        {"Pp", F::Float, 0, ""},
        {"Unom", F::Integer, 0, ""},
        {"Cena", F::Float, 0, ""},
    },
    {{"Kod0", {{"Kod0", false}}}},
};

const TableDef t_sKU2_DB{
    "sKU2.DB", "tblsKU2", "sKU1.DB",
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"Qstup", F::Float, 0, ""},
        {"Kol_vo", F::Integer, 0, ""},
    },
    {{"Kod0", {{"Kod0", false}}}},
};

const TableDef t_Hints_DB{
    "Hints.DB", "TableHints", nullptr,
    {
        {"Kod", F::AutoInc, 0, ""},
        {"TableName", F::String, 20, ""},
        {"FieldName", F::String, 20, ""},
        {"FieldHint", F::String, 255, ""},
    },
    {},
};

const TableDef t_sSutGraphic0_db{
    "sSutGraphic0.db", "tblSutGr0", nullptr,
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Otrasl", F::String, 100, ""},
    },
    {},
};

const TableDef t_sSutGraphic1_db{
    "sSutGraphic1.db", "tblSutGr1", "sSutGraphic0.db",
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"Name", F::String, 100, ""},
    },
    {{"Kod0", {{"Kod0", false}}}},
};

const TableDef t_sSutGraphic2_db{
    "sSutGraphic2.db", "tblSutGr2", "sSutGraphic1.db",
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"T1", F::Float, 0, ""},
        {"T2", F::Float, 0, ""},
        {"P", F::Float, 0, ""},
        {"Q", F::Float, 0, ""},
    },
    {{"Kod0", {{"Kod0", false}}}},
};

const TableDef t_report_DB{
    "report.DB", "TableReport", nullptr,
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Name", F::String, 100, ""},
        {"WordDoc", F::String, 10, ""},
        {"PaperSize", F::String, 15, ""},
        {"PaperOrient", F::String, 10, ""},
        {"PageNum", F::String, 30, ""},
        {"TopMargin", F::Integer, 0, ""},
        {"BottomMargin", F::Integer, 0, ""},
        {"LeftMargin", F::Integer, 0, ""},
        {"RightMargin", F::Integer, 0, ""},
        {"HeaderDistance", F::Integer, 0, ""},
        {"FooterDistance", F::Integer, 0, ""},
        {"ProjName", F::Boolean, 0, ""},
        {"ProjHar", F::Boolean, 0, ""},
        {"SutGr", F::Boolean, 0, ""},
        {"SutGrPrim", F::Boolean, 0, ""},
        {"SutGrFormula", F::Boolean, 0, ""},
        {"SutGrScore", F::Boolean, 0, ""},
        {"SutHar", F::Boolean, 0, ""},
        {"SutFormula", F::Boolean, 0, ""},
        {"SutScore", F::Boolean, 0, ""},
        {"MonthHar", F::Boolean, 0, ""},
        {"MonthFormula", F::Boolean, 0, ""},
        {"MonthScore", F::Boolean, 0, ""},
        {"YearHar", F::Boolean, 0, ""},
        {"YearFormula", F::Boolean, 0, ""},
        {"YearScore", F::Boolean, 0, ""},
        {"KUHar", F::Boolean, 0, ""},
        {"SutGrKomp", F::Boolean, 0, ""},
        {"SutGrKompPrim", F::Boolean, 0, ""},
        {"SutGrKompFormula", F::Boolean, 0, ""},
        {"SutGrKompScore", F::Boolean, 0, ""},
        {"SutHarKomp", F::Boolean, 0, ""},
        {"SutKompPrim", F::Boolean, 0, ""},
        {"SutKompFormula", F::Boolean, 0, ""},
        {"SutKompScore", F::Boolean, 0, ""},
        {"MonthHarKomp", F::Boolean, 0, ""},
        {"MonthKompPrim", F::Boolean, 0, ""},
        {"MonthKompFormula", F::Boolean, 0, ""},
        {"MonthKompScore", F::Boolean, 0, ""},
        {"YearHarKomp", F::Boolean, 0, ""},
        {"YearKompPrim", F::Boolean, 0, ""},
        {"YearKompFormula", F::Boolean, 0, ""},
        {"YearKompScore", F::Boolean, 0, ""},
    },
    {},
};

const TableDef t_sel_ku_DB{
    "sel_ku.DB", "tblSel_KU", nullptr,
    {
        {"Kod", F::AutoInc, 0, ""},
        {"Kod0", F::Integer, 0, ""},
        {"KodKU0", F::Integer, 0, ""},
        {"KodKU1", F::Integer, 0, ""},
        {"Company", F::String, 50, ""},
        {"TipKU", F::String, 30, ""},
        {"Qk", F::Float, 0, ""},
        {"Qku_min", F::Float, 0, ""},
        {"Qku_max", F::Float, 0, ""},
        {"Cosf_sr", F::Float, 0, ""},
        {"Cosf_min", F::Float, 0, ""},
        {"Cosf_max", F::Float, 0, ""},
        {"Tgf_sr", F::Float, 0, ""},
        {"DSWsk", F::Float, 0, ""},
        {"DSWskm", F::Float, 0, ""},
        {"DSWskg", F::Float, 0, ""},
        {"Srok", F::Float, 0, ""},
        {"Rejim", F::String, 80, ""},
        {"PCosf_min", F::Float, 0, ""},
        {"PCosf_max", F::Float, 0, ""},
        {"PCosf_tr", F::Float, 0, ""},
    },
    {
        {"tblSel_KUIndex1", {{"Kod", false}}},
        {"siCosf_sr", {{"Cosf_sr", true}}},
        {"siSrok", {{"Srok", false}}},
        {"siDSWskg", {{"DSWskg", true}}},
        {"siDSWskm", {{"DSWskm", true}}},
        {"siDSWsk", {{"DSWsk", true}}},
        {"Kod0", {{"Kod0", false}}},
        {"Kod0Cosf", {{"Kod0", false}, {"Cosf_sr", true}}},
    },
};

} // namespace

const std::vector<const TableDef *> &allTables()
{
    static const std::vector<const TableDef *> tables{
        &t_project0_db,
        &t_project1_db,
        &t_project2_db,
        &t_project3_DB,
        &t_project4_DB,
        &t_project5_DB,
        &t_sKU0_db,
        &t_sKU1_DB,
        &t_sKU2_DB,
        &t_Hints_DB,
        &t_sSutGraphic0_db,
        &t_sSutGraphic1_db,
        &t_sSutGraphic2_db,
        &t_report_DB,
        &t_sel_ku_DB,
    };
    return tables;
}

} // namespace korvan
// clang-format on
