#pragma once

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace korvan {

class TTable;

// The content flags of a report settings record, in the order of their fields in report.DB.
enum class ReportFlag {
    ProjName,
    ProjHar,
    SutGr,
    SutGrPrim,
    SutGrFormula,
    SutGrScore,
    SutHar,
    SutFormula,
    SutScore,
    MonthHar,
    MonthFormula,
    MonthScore,
    YearHar,
    YearFormula,
    YearScore,
    KUHar,
    SutGrKomp,
    SutGrKompPrim,
    SutGrKompFormula,
    SutGrKompScore,
    SutHarKomp,
    SutKompPrim,
    SutKompFormula,
    SutKompScore,
    MonthHarKomp,
    MonthKompPrim,
    MonthKompFormula,
    MonthKompScore,
    YearHarKomp,
    YearKompPrim,
    YearKompFormula,
    YearKompScore,
};
inline constexpr int ReportFlagCount = 32;

// Where a flag's check box stands in the settings dialog.
enum class ReportFlagTab { Top, WithoutCompensation, WithCompensation };

struct ReportFlagInfo {
    ReportFlag flag;
    QString field;    // in report.DB
    QString checkBox; // the dialog's check box, also the name of its sample picture
    QString caption;
    ReportFlagTab tab;
    std::optional<ReportFlag> main; // the box that enables this one
};

// All 32 flags in field order.
const QList<ReportFlagInfo> &reportFlags();
const ReportFlagInfo &reportFlagInfo(ReportFlag flag);

using ReportFlagValues = std::array<bool, ReportFlagCount>;

// The page of the report document: what PrepareReportDocument applies. Texts as stored; margins
// and distances in whole millimetres, a null value as 0.
struct ReportPageSettings {
    QString wordDoc;
    QString paperSize;
    QString paperOrient;
    QString pageNum;
    int topMargin = 0;
    int bottomMargin = 0;
    int leftMargin = 0;
    int rightMargin = 0;
    int headerDistance = 0;
    int footerDistance = 0;
};

// One report.DB record. A null flag is off.
struct ReportSettings {
    QString name;
    ReportPageSettings page;
    ReportFlagValues flags{};

    bool on(ReportFlag flag) const { return flags[size_t(flag)]; }
    void set(ReportFlag flag, bool value) { flags[size_t(flag)] = value; }

    // The current record of a report.DB cursor, as it stands (posted or not); an empty table
    // gives empty texts, zero margins and every flag off.
    static ReportSettings fromCurrentRecord(const TTable &report);
};

// Enabling of the dialog's check boxes. A sub box is enabled only while its main box is checked
// and enabled itself (KUHar over SutGrKomp over its three); a disabled box shows unchecked.
struct ReportFlagBox {
    bool enabled = true;
    bool checked = false;
};
std::array<ReportFlagBox, ReportFlagCount> reportFlagBoxes(const ReportFlagValues &values);
// The sub boxes directly under a main box (empty for a box that is no main box).
QList<ReportFlag> subFlags(ReportFlag main);
// The flags that unchecking the main box clears while the record is being edited: its sub flags
// and theirs.
QList<ReportFlag> flagsClearedBy(ReportFlag main);
// The values after the main box was checked or unchecked: unchecking it while editing clears the
// flags under it; otherwise only the main flag changes.
ReportFlagValues afterMainFlagChange(ReportFlagValues values, ReportFlag main, bool checked, bool editing);

// The items of the dialog's radio groups: the caption shown and the value stored.
struct ReportChoice {
    QString caption;
    QString value;
};
const QList<ReportChoice> &wordDocChoices();
const QList<ReportChoice> &paperSizeChoices(); // "А4 (21 х 29,7 см)" stores "A4" in Latin letters
const QList<ReportChoice> &paperOrientChoices();
const QList<ReportChoice> &pageNumChoices();

// Sample pictures of the flag boxes, shipped in the program's resources.
QString reportSamplePath(const QString &checkBox);
bool reportSampleExists(const QString &checkBox);
// The note beside the sample: "см. подчеркнутое." for the project name, "см. фрагмент." for the
// other boxes, "файл не найден." when there is no picture.
QString reportSampleNote(const QString &checkBox, bool pictureFound);

} // namespace korvan
