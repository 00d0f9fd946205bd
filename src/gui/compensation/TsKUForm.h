// TsKUForm: the «Конденсаторные установки» catalogue window.
#pragma once

#include "core/compensation/TypeCopyBuffer.h"

#include <QDialog>

class QPushButton;

namespace korvan {

class CursorGrid;
class DBNavigator;
class TDataModule1;

// "Конденсаторные установки.": the catalogue of companies, their installation types and the
// module groups of each type, edited in place on the shared cursors. The copy buffer of a type
// lives as long as the window, that is for the whole run.
class TsKUForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 10;

    explicit TsKUForm(TDataModule1 &data, QWidget *parent = nullptr);

    CursorGrid *grid(int level) const { return m_grids[level]; }
    DBNavigator *navigator(int level) const { return m_navigators[level]; }
    const TypeCopyBuffer &copyBuffer() const { return m_buffer; }

public slots:
    void btnCopyClick();
    void btnPasteClick();

    // What was typed into a grid and not yet stored is stored when the window closes.
    void done(int result) override;

private:
    void updateCopy();
    // The question before a delete on a level, naming the row; a company or type that variants
    // use is refused with their names.
    bool confirmDelete(int level);

    TDataModule1 &m_data;
    CursorGrid *m_grids[3] = {};
    DBNavigator *m_navigators[3] = {};
    QPushButton *m_copy = nullptr;
    QPushButton *m_paste = nullptr;
    TypeCopyBuffer m_buffer;
};

} // namespace korvan
