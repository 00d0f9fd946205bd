// HintUnit: the dialog in which a field hint is typed.
#include "gui/ui/HintUnit.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "gui/dialogs/DBListDlg.h"
#include "gui/dialogs/HelpWindow.h"
#include "gui/dialogs/TDBListDlg.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace korvan {

THintForm::THintForm(TDataModule1 &data, QWidget *parent)
    : QDialog(parent), m_memo(new QPlainTextEdit(this)), m_ok(new QPushButton(QStringLiteral("ОК"), this)),
      m_listDlg(new TzqDBListDlg(this))
{
    setObjectName(QStringLiteral("HintForm"));
    setWindowTitle(QStringLiteral("Ввод подсказки."));

    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("Подсказка."), this);
    label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label);
    m_memo->setObjectName(QStringLiteral("MemoHint"));
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(m_memo, 1);

    auto *buttons = new QHBoxLayout;
    auto *hints = new QPushButton(QStringLiteral("Подсказки..."), this);
    hints->setObjectName(QStringLiteral("btnHints"));
    hints->setToolTip(QStringLiteral("Выбор подсказки из списка имеющихся подсказок"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *help = new QPushButton(QStringLiteral("Справка"), this);
    help->setObjectName(QStringLiteral("btnHelp"));
    buttons->addWidget(hints);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    layout->addLayout(buttons);

    connect(m_memo, &QPlainTextEdit::textChanged, this, &THintForm::updateOk);
    connect(hints, &QPushButton::clicked, this, &THintForm::btnHintsClick);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(HelpContext); });

    // The stored hints, offered to be used again.
    m_listDlg->setTable(data.TableHints);
    m_listDlg->setDataField(fld::FieldHint);
    m_listDlg->setMultiLine(false);
    m_listDlg->setFirstCharNo(1);
    m_listDlg->setCharCount(1);
    m_listDlg->setColCount(0);

    setFixedSize(440, 230);
    updateOk();
}

void THintForm::prime(const QString &caption, const QString &text)
{
    setWindowTitle(caption);
    m_memo->setPlainText(text);
    updateOk();
}

QString THintForm::hintText() const { return m_memo->toPlainText(); }

void THintForm::updateOk() { m_ok->setEnabled(!m_memo->toPlainText().isEmpty()); }

void THintForm::btnHintsClick()
{
    m_listDlg->Execute([this](bool chosen) {
        if (chosen)
            m_memo->setPlainText(m_listDlg->SelectedText());
        updateOk();
    });
}

void THintForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_memo->setFocus();
    updateOk();
}

} // namespace korvan
