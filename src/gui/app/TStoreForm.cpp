// TStoreForm: the «Хранилище данных» dialog.
#include "gui/app/TStoreForm.h"

#include "core/data/Store.h"
#include "core/Messages.h"
#include "gui/ui/CommandGuard.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/widgets/DialogButtons.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvan {

TStoreForm::TStoreForm(QWidget *parent)
    : QDialog(parent), m_currentLabel(new QLabel(this)),
      m_folderKind(new QRadioButton(QStringLiteral("&Каталог данных на этом компьютере"), this)),
      m_serverKind(new QRadioButton(QStringLiteral("&Сервер PostgreSQL (общее хранилище)"), this)),
      m_folder(new QLineEdit(this)), m_browse(new QPushButton(QStringLiteral("Обзор..."), this)),
      m_host(new QLineEdit(this)), m_port(new QSpinBox(this)), m_database(new QLineEdit(this)),
      m_user(new QLineEdit(this)), m_password(new QLineEdit(this)),
      m_check(new QPushButton(QStringLiteral("Проверить соединение"), this))
{
    setObjectName(QStringLiteral("StoreForm"));
    setWindowTitle(QStringLiteral("Хранилище данных."));

    m_currentLabel->setObjectName(QStringLiteral("lblCurrent"));
    m_currentLabel->setWordWrap(true);
    m_currentLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folderKind->setObjectName(QStringLiteral("rbFolder"));
    m_serverKind->setObjectName(QStringLiteral("rbServer"));
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_folderKind);
    kinds->addButton(m_serverKind);
    m_folder->setObjectName(QStringLiteral("EditFolder"));
    m_folder->setMinimumWidth(320);
    m_browse->setObjectName(QStringLiteral("btnBrowse"));
    m_host->setObjectName(QStringLiteral("EditHost"));
    m_host->setPlaceholderText(QStringLiteral("имя или IP-адрес"));
    m_port->setObjectName(QStringLiteral("SpinPort"));
    m_port->setRange(0, 65535);
    // 0 is libpq's own default: PGPORT, else 5432.
    m_port->setSpecialValueText(QStringLiteral("5432 (по умолчанию)"));
    m_port->setMinimumWidth(150);
    m_database->setObjectName(QStringLiteral("EditDatabase"));
    m_user->setObjectName(QStringLiteral("EditUser"));
    m_user->setPlaceholderText(QStringLiteral("имя пользователя системы"));
    m_password->setObjectName(QStringLiteral("EditPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setToolTip(
        QStringLiteral("Пароль не сохраняется: он нужен для проверки соединения в этом сеансе.\n"
                       "При запуске программа берет пароль из ~/.pgpass или переменной PGPASSWORD."));
    m_check->setObjectName(QStringLiteral("btnCheck"));
    for (QWidget *w : {static_cast<QWidget *>(m_host), static_cast<QWidget *>(m_database),
                       static_cast<QWidget *>(m_user), static_cast<QWidget *>(m_password)})
        w->setMinimumWidth(240);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_browse);

    auto *server = new QGridLayout;
    server->setContentsMargins(24, 0, 0, 0);
    int row = 0;
    auto addRow = [&](const QString &label, QWidget *field, const QString &note = {}) {
        auto *l = new QLabel(label, this);
        l->setBuddy(field);
        server->addWidget(l, row, 0);
        server->addWidget(field, row, 1);
        if (!note.isEmpty())
            server->addWidget(new QLabel(note, this), row, 2);
        ++row;
    };
    addRow(QStringLiteral("Се&рвер:"), m_host);
    addRow(QStringLiteral("П&орт:"), m_port);
    addRow(QStringLiteral("&База данных:"), m_database, QStringLiteral("( пусто - как имя пользователя )"));
    addRow(QStringLiteral("&Пользователь:"), m_user);
    addRow(QStringLiteral("Паро&ль:"), m_password, QStringLiteral("( не сохраняется )"));
    server->setColumnStretch(1, 1);

    auto *ok = new QPushButton(QStringLiteral("ОК"), this);
    QHBoxLayout *buttons = dialogButtonRow(this, ok, QStringLiteral("Справка"), HelpContext);
    buttons->insertWidget(0, m_check);

    auto *note = new QLabel(QStringLiteral("Выбранное хранилище программа использует со следующего запуска."), this);
    note->setObjectName(QStringLiteral("lblNote"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_currentLabel);
    layout->addSpacing(6);
    layout->addWidget(m_folderKind);
    auto *folderIndent = new QHBoxLayout;
    folderIndent->setContentsMargins(24, 0, 0, 0);
    folderIndent->addLayout(folderRow);
    layout->addLayout(folderIndent);
    layout->addSpacing(6);
    layout->addWidget(m_serverKind);
    layout->addLayout(server);
    layout->addSpacing(6);
    layout->addWidget(note);
    layout->addLayout(buttons);

    connect(m_folderKind, &QRadioButton::toggled, this, &TStoreForm::enableFields);
    connect(m_browse, &QPushButton::clicked, this, &TStoreForm::browse);
    connect(m_check, &QPushButton::clicked, this, &TStoreForm::checkConnection);

    QWidget *order[] = {m_folderKind,
                        m_folder,
                        m_browse,
                        m_serverKind,
                        m_host,
                        m_port,
                        m_database,
                        m_user,
                        m_password,
                        m_check,
                        ok,
                        findChild<QPushButton *>(QStringLiteral("btnCancel")),
                        findChild<QPushButton *>(QStringLiteral("btnHelp"))};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    m_folderKind->setChecked(true);
    enableFields();
}

void TStoreForm::setChoice(const StoreChoice &choice, const Store *current)
{
    m_current = current;
    QString now;
    if (!current)
        now = QStringLiteral("нет");
    else if (current->onServer())
        now = QStringLiteral("сервер «%1»").arg(current->place());
    else if (current->inMemory())
        now = QStringLiteral("в памяти");
    else
        now = QStringLiteral("каталог данных «%1»").arg(QDir::toNativeSeparators(current->dataDirectory()));
    m_currentLabel->setText(QStringLiteral("Сейчас открыто хранилище: %1.").arg(now));

    const bool server = choice.kind == StoreChoice::Kind::Server;
    (server ? m_serverKind : m_folderKind)->setChecked(true);
    m_folder->setText(QDir::toNativeSeparators(choice.folder));
    m_host->setText(choice.host);
    m_port->setValue(choice.port);
    m_database->setText(choice.database);
    m_user->setText(choice.user);
    // The password stays as typed earlier in this run.
    enableFields();
    QWidget *first = server ? static_cast<QWidget *>(m_host) : m_folder;
    first->setFocus();
}

StoreChoice TStoreForm::choice() const
{
    StoreChoice c;
    c.kind = m_serverKind->isChecked() ? StoreChoice::Kind::Server : StoreChoice::Kind::Folder;
    c.folder = QDir::fromNativeSeparators(m_folder->text().trimmed());
    c.host = m_host->text().trimmed();
    c.port = m_port->value();
    c.database = m_database->text().trimmed();
    c.user = m_user->text().trimmed();
    return c;
}

QString TStoreForm::password() const { return m_password->text(); }

QWidget *TStoreForm::fieldWidget(int field) const
{
    switch (field) {
    case StoreChoice::FolderField:
        return m_folder;
    case StoreChoice::HostField:
        return m_host;
    case StoreChoice::PortField:
        return m_port;
    case StoreChoice::DatabaseField:
        return m_database;
    case StoreChoice::UserField:
        return m_user;
    default:
        return nullptr;
    }
}

void TStoreForm::enableFields()
{
    const bool folder = m_folderKind->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(m_folder), static_cast<QWidget *>(m_browse)})
        w->setEnabled(folder);
    for (QWidget *w :
         {static_cast<QWidget *>(m_host), static_cast<QWidget *>(m_port), static_cast<QWidget *>(m_database),
          static_cast<QWidget *>(m_user), static_cast<QWidget *>(m_password)})
        w->setEnabled(!folder);
}

void TStoreForm::browse()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("Каталог данных"), m_folder->text());
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}

void TStoreForm::checkConnection()
{
    const StoreChoice c = choice();
    if (refuseInput(c.problem(), [this](int field) { return fieldWidget(field); }))
        return;
    QString result;
    if (runBusy([&] { result = checkStore(c, password(), m_current); }))
        Messages::information(result);
}

void TStoreForm::accept()
{
    if (refuseInput(choice().problem(), [this](int field) { return fieldWidget(field); }))
        return;
    QDialog::accept();
}

} // namespace korvan
