// TOtrPromF: the «Данные предприятия» dialog (industry and enterprise of a graph).
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

namespace korvan {

class TDataModule1;

// "Данные предприятия.": the industry and the enterprise under which a project's graph goes into
// the catalogue; existing names are offered, new ones may be typed.
class TOtrPromF : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 9;

    explicit TOtrPromF(TDataModule1 &data, QWidget *parent = nullptr);

    QString industry() const;
    QString enterprise() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmbOtrChange(const QString &text);
    void updateOk();

    TDataModule1 &m_data;
    QComboBox *m_cmbOtr, *m_cmbName;
    QPushButton *m_ok;
};

} // namespace korvan
