#include "gui/dialogs/TabSelectDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvan {

TabSelectDialog::TabSelectDialog(const QStringList &captions, int selected, int tabWidth, QWidget *parent)
    : QDialog(parent), m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("TabSelectDialog"));
    setWindowTitle(QStringLiteral("Выбор закладки."));
    m_list->setObjectName(QStringLiteral("lstTabs"));
    m_list->setFixedWidth(441);
    m_list->setViewMode(QListView::ListMode);
    m_list->setFlow(QListView::LeftToRight);
    m_list->setWrapping(true);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setUniformItemSizes(true);
    const int cell = (441 - 2 * m_list->frameWidth() - 4) / columnsFor(tabWidth);
    m_list->setGridSize(QSize(cell, m_list->fontMetrics().height() + 6));
    m_list->addItems(captions);
    if (selected >= 0 && selected < m_list->count())
        m_list->setCurrentRow(selected);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Список закладок:"), this));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

int TabSelectDialog::selectedIndex() const { return m_list->currentRow(); }

} // namespace korvan
