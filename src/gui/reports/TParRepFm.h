// TParRepFm: the «Параметры отчета» window.
#pragma once

#include "core/reports/ReportSettings.h"

#include <QDialog>
#include <QHash>

#include <optional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace korvan {

class CursorGrid;
class TDataModule1;
class TTable;

// "Параметры отчета.": the report.DB records with their content flags and Word page values. Every
// control is bound to the current record; a change puts it into the edit state and the navigator's
// post button (or moving to another record) stores it. The record current on closing is the one
// the next report uses. No OK or Cancel: it closes with the window's close box.
class TParRepFm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 26;

    explicit TParRepFm(TDataModule1 &data, QWidget *parent = nullptr);

    QCheckBox *flagBox(ReportFlag flag) const { return m_boxes[size_t(flag)]; }
    // "Экономическая эффективность": stored at once, beside the record, for a stored record.
    QCheckBox *economicsBox() const { return m_econ; }
    // "Сводка по вариантам" and "Содержание": stored at once, beside the record.
    QCheckBox *summaryBox() const { return m_summary; }
    QCheckBox *contentsBox() const { return m_contents; }
    // «Исполнитель»: name, position, organisation; stored as typed.
    QLineEdit *engineerEdit(int part) const { return m_engineer[size_t(part)]; }
    QLabel *sampleNote() const { return m_note; }
    QLabel *samplePicture() const { return m_picture; }
    // The check box whose sample is shown, empty when none is.
    QString sampleShown() const { return m_sampleBox; }

    // The sample of a flag box: what the mouse over it shows.
    void showSample(const QString &checkBox);

    // Closing keeps what was changed: a record still being edited is stored first.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildNavigator();
    QWidget *buildContentsPage();
    QWidget *buildWordPage();
    QWidget *buildEconomicsBox(QWidget *parent);
    QWidget *buildResonanceBox(QWidget *parent);
    QWidget *buildFrontBoxes(QWidget *parent);
    void storeFront();
    void storeEngineer();
    // The Kod that what is kept beside the record goes under; 0 for a record not yet stored.
    qint64 savedKod() const;
    QWidget *flagBoxFor(ReportFlag flag, QWidget *parent, int indent);
    void flagClicked(ReportFlag flag, bool checked);
    void choiceClicked(const QString &field, const QList<ReportChoice> &choices, int id);
    void marginEdited(const QString &field, const QString &text);
    void stepMargin(const QString &field, bool up);
    // A margin (with its opposite one) or a header distance that leaves too little of the paper
    // for the text: the message naming the field.
    std::optional<QString> marginProblem(const QString &field) const;
    // Shows the problem and puts the focus in the field; true when there is none.
    bool checkMargin(const QString &field);
    void beginEdit();
    void loadRecord();
    void updateNavigator();
    void blankSample();
    void chkSampleClicked(bool checked);

    TDataModule1 &m_data;
    TTable &m_report;
    QCheckBox *m_chkResonance = nullptr; // kept beside the record: written at once
    CursorGrid *m_grid = nullptr;
    std::array<QCheckBox *, ReportFlagCount> m_boxes{};
    QHash<QString, QButtonGroup *> m_choiceGroups;
    QHash<QString, QLineEdit *> m_margins;
    QHash<QString, QToolButton *> m_navigator;
    QCheckBox *m_chkSample = nullptr;
    QCheckBox *m_econ = nullptr;
    QCheckBox *m_summary = nullptr;
    QCheckBox *m_contents = nullptr;
    std::array<QLineEdit *, 3> m_engineer{};
    QLabel *m_note = nullptr;
    QLabel *m_picture = nullptr;
    QString m_sampleBox;
    bool m_loading = false;
    bool m_checkingMargin = false;
};

} // namespace korvan
