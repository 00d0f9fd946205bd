#pragma once

#include "core/InputProblem.h"
#include "core/Progress.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

namespace korvan {

class TDataModule1;

// The nine values of the project parameters dialog, the numbers as typed.
struct ProjectParams {
    enum Field { Name, ProjOwner, ProjDate, ProjTime, ProjMemo, MonthDay, YearDay, Tarif_a, Tarif_q };

    QString name;
    QString owner;
    QDate date;
    QTime time;
    QString memo;
    QString monthDay = QStringLiteral("21");
    QString yearDay = QStringLiteral("260");
    QString tarifA = QStringLiteral("0,715");
    QString tarifQ = QStringLiteral("0,02");
};

// The acceptance checks of the parameters dialog, in their order; the first that fails.
std::optional<InputProblem> checkProjectParams(const ProjectParams &params);

// "Проект N" for the next project.
QString defaultProjectName(const TDataModule1 &data);
// The dialog's defaults for a new project: the next name, today, now.
ProjectParams newProjectParams(const TDataModule1 &data);
// The current project's values, as the dialog shows them for editing.
ProjectParams currentProjectParams(const TDataModule1 &data);

// Each command is one transaction and throws InputError or KorvanError, writing nothing then.
// A new project becomes the current one.
void createProject(TDataModule1 &data, const ProjectParams &params);
// Changes the current project's parameters; nothing is recomputed.
void editProject(TDataModule1 &data, const ProjectParams &params);
// Deletes the current project with everything of it (the caller asks first).
void deleteProject(TDataModule1 &data);
// Re-posts every load period and then every compensated period of the current project, so all
// values follow its current tariffs and day counts. The current period, variant and compensated
// period stay current.
void recalculateProject(TDataModule1 &data);
// Copies the current project with all its periods, variants and modules under a new name and
// makes the copy current. Returns the copy's Kod.
qint64 copyProject(TDataModule1 &data, const QString &name, const Progress &progress = {});

} // namespace korvan
