// TStoreForm: the «Хранилище данных» dialog.
#pragma once

#include "gui/app/StoreChoice.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace korvan {

class Store;

// "Хранилище данных": where the program keeps its data from its next start, a data folder on this
// computer or a database on a PostgreSQL server. "Проверить соединение" opens the chosen store
// and says whether it can be used. The password typed stays in this window for the run and is
// never written anywhere; at start-up libpq takes it from ~/.pgpass or PGPASSWORD.
class TStoreForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 31;

    explicit TStoreForm(QWidget *parent = nullptr);

    // The remembered choice and the store the program has open now (named in the window).
    void setChoice(const StoreChoice &choice, const Store *current);
    StoreChoice choice() const;
    QString password() const;
    QWidget *fieldWidget(int field) const;

public slots:
    void accept() override;
    void checkConnection();

private:
    void browse();
    void enableFields();

    const Store *m_current = nullptr;
    QLabel *m_currentLabel;
    QRadioButton *m_folderKind;
    QRadioButton *m_serverKind;
    QLineEdit *m_folder;
    QPushButton *m_browse;
    QLineEdit *m_host;
    QSpinBox *m_port;
    QLineEdit *m_database;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QPushButton *m_check;
};

} // namespace korvan
