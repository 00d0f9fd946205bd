// TzqDBListDlg: picking one distinct text of a table field from a list with letter tabs.
#include "gui/dialogs/DBListDlg.h"

#include "core/data/TTable.h"
#include "core/Messages.h"
#include "gui/dialogs/ModalDialog.h"
#include "gui/dialogs/TDBListDlg.h"

#include <QCollator>
#include <QLocale>

namespace korvan {

QStringList TzqDBListDlg::distinctValues(const TTable &table, const QString &field)
{
    const int position = table.fieldIndex(field);
    QStringList values;
    // Reading the rows leaves the cursor, and whatever shows it, where it stands.
    for (const TTable::Row &row : table.rows()) {
        const QString text = table.valueText(position, row[position]);
        const bool seen = std::any_of(values.cbegin(), values.cend(),
                                      [&](const QString &v) { return v.compare(text, Qt::CaseInsensitive) == 0; });
        if (!seen)
            values << text;
    }
    QCollator collator{QLocale(QLocale::Russian)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(values.begin(), values.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    return values;
}

void TzqDBListDlg::Execute(std::function<void(bool)> done)
{
    const QStringList values =
        m_table && m_table->active() && !m_dataField.isEmpty() ? distinctValues(*m_table, m_dataField) : QStringList();
    if (values.isEmpty()) {
        Messages::information(QStringLiteral("Список пуст."));
        if (done)
            done(false);
        return;
    }
    auto *dialog = new TDBListDlg(values, qobject_cast<QWidget *>(parent()));
    dialog->setParameters(m_multiLine, m_firstCharNo, m_charCount, m_colCount, m_listCase);
    m_dialog = dialog;
    openModal(dialog, [this, dialog, done = std::move(done)](int result) {
        const bool chosen = result == QDialog::Accepted;
        if (chosen)
            m_selectedText = dialog->selectedText();
        m_dialog = nullptr;
        dialog->deleteLater();
        if (done)
            done(chosen);
    });
}

} // namespace korvan
