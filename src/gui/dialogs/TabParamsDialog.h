#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace korvan {

// The tab parameters of the filter tab control: the field, the number of leading characters
// and whether letter case is ignored.
class TabParamsDialog : public QDialog {
    Q_OBJECT
public:
    TabParamsDialog(const QStringList &fields, const QString &field, int charCount, bool caseInsensitive,
                    QWidget *parent = nullptr);

    QString field() const;
    int charCount() const;
    bool caseInsensitive() const;

private:
    QComboBox *m_field;
    QSpinBox *m_count;
    QCheckBox *m_case;
};

} // namespace korvan
