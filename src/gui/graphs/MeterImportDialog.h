#pragma once

#include "core/graphs/MeterFile.h"

#include <QDialog>
#include <optional>

class QButtonGroup;
class QComboBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace korvan {

class StepChart;

// "Импорт...": a daily load graph from a meter's or power analyser's interval file. The user picks
// the file, sees what was found in it (columns, units, interval, days, gaps), chooses the day and
// the period length, and sees the graph before taking it. Nothing is written: the caller puts
// the periods into the editor's table on OK.
class MeterImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit MeterImportDialog(QWidget *parent = nullptr);

    // Reads the file (also called by "Обзор..."); a file that cannot be read is reported.
    bool loadFile(const QString &path);
    // The graph to take, once one could be made.
    const QList<LoadPeriod> &periods() const { return m_periods; }

private slots:
    void browse();
    void reread();
    void rebuild();

private:
    MeterReadOptions options() const;
    MeterDayChoice dayChoice() const;
    double periodHours() const;
    void showDetection();

    QLineEdit *m_path;
    QString m_loaded; // the path last read, so leaving the field does not read it again
    QComboBox *m_units;
    QCheckBox *m_stampStart;
    QPlainTextEdit *m_found;
    QRadioButton *m_oneDay, *m_workdays, *m_maxDay;
    QComboBox *m_day, *m_period;
    QLabel *m_problem;
    StepChart *m_chart;
    QPushButton *m_ok;

    std::optional<MeterData> m_data;
    QList<LoadPeriod> m_periods;
};

} // namespace korvan
